#include "ARPageFormat.h"

#include <algorithm>
#include <cstdio>

#include "TagParameterFloat.h"
#include "TagParameterRanges.h"
#include "TagParameterString.h"

namespace {

// Layout units at a line space of 50: 237.10631 to the centimetre.
constexpr float kLineSpace = 50.0f;
using TagParameterRanges::kMaxPageHeight;
using TagParameterRanges::kMaxPageWidth;
using TagParameterRanges::kMinPageHeight;
using TagParameterRanges::kMinPageWidth;
constexpr float kA4Width = 4979.2324f;    // 21 cm
constexpr float kA4Height = 7042.0576f;   // 29.7 cm
constexpr float kTwoCm = 474.2126f;

struct NamedFormat {
  char const* name;
  float width;
  float height;
};

constexpr NamedFormat kNamedFormats[] = {
    {"A4", kA4Width, kA4Height},
    {"A3", 7042.0576f, 9958.465f},       // 29.7 x 42 cm
    {"letter", 4267.9136f, 7350.2954f},  // 18 x 31 cm
};

float LayoutUnits(TagParameter const* parameter) {
  return static_cast<TagParameterFloat const*>(parameter)->getValue(kLineSpace);
}

// Both margins of one direction when they leave less than least of length between them.
void FitMargins(float length, float least, float& first, float& second, bool shareOut) {
  if (!(length - first - second < least)) return;
  first = second = shareOut ? 0.5f * (length - least) : 0.0f;
}

}  // namespace

ARPageFormat::ARPageFormat()
    : mWidth(kA4Width),
      mHeight(kA4Height),
      mLeftMargin(kTwoCm),
      mTopMargin(kTwoCm),
      mRightMargin(kTwoCm),
      mBottomMargin(kTwoCm) {}

ARPageFormat::ARPageFormat(float width, float height, float leftMargin, float topMargin,
                           float rightMargin, float bottomMargin)
    : mWidth(width),
      mHeight(height),
      mLeftMargin(leftMargin),
      mTopMargin(topMargin),
      mRightMargin(rightMargin),
      mBottomMargin(bottomMargin) {
  ApplyLimits(MarginRule::kShareOut);
}

ARPageFormat::ARPageFormat(ARPageFormat const& other)
    : ARMTParameter(other.getRelativeTimePosition(), &other),
      mWidth(other.mWidth),
      mHeight(other.mHeight),
      mLeftMargin(other.mLeftMargin),
      mTopMargin(other.mTopMargin),
      mRightMargin(other.mRightMargin),
      mBottomMargin(other.mBottomMargin),
      mFormat(other.mFormat) {
  ApplyLimits(MarginRule::kShareOut);
}

void ARPageFormat::print() const {
  std::printf("ARPageFormat: %s %g x %g, margins %g %g %g %g\n", mFormat.c_str(), mWidth, mHeight,
              mLeftMargin, mTopMargin, mRightMargin, mBottomMargin);
}

void ARPageFormat::setTagParameterList(TagParameterList& given) {
  static ListOfTPLs ltpls;
  std::unique_ptr<TagParameterList> own;
  const int matched =
      BindTagParameters(ltpls,
                        {"U,w,,r;U,h,,r;U,lm,2cm,o;U,tm,5cm,o;U,rm,2cm,o;U,bm,3cm,o",
                         "S,type,,r;U,lm,2cm,o;U,tm,5cm,o;U,rm,2cm,o;U,bm,3cm,o"},
                        given, own);
  if (matched < 0 || !own) return;
  int margins = 0;
  if (matched == 0) {
    mWidth = LayoutUnits(ParameterAt(*own, 0));
    mHeight = LayoutUnits(ParameterAt(*own, 1));
    mFormat = "";
    margins = 2;
  } else {
    mFormat = static_cast<TagParameterString const*>(ParameterAt(*own, 0))->getValue();
    for (NamedFormat const& format : kNamedFormats) {
      if (mFormat.equal(format.name)) {
        mWidth = format.width;
        mHeight = format.height;
      }
    }
    margins = 1;
  }
  mLeftMargin = LayoutUnits(ParameterAt(*own, margins));
  mTopMargin = LayoutUnits(ParameterAt(*own, margins + 1));
  mRightMargin = LayoutUnits(ParameterAt(*own, margins + 2));
  mBottomMargin = LayoutUnits(ParameterAt(*own, margins + 3));
  ApplyLimits(MarginRule::kDrop);
}

void ARPageFormat::getPageFormat(float* width, float* height, float* leftMargin, float* topMargin,
                                 float* rightMargin, float* bottomMargin) const {
  *width = mWidth;
  *height = mHeight;
  *leftMargin = mLeftMargin;
  *topMargin = mTopMargin;
  *rightMargin = mRightMargin;
  *bottomMargin = mBottomMargin;
}

void ARPageFormat::ApplyLimits(MarginRule rule) {
  mWidth = std::clamp(mWidth, kMinPageWidth, kMaxPageWidth);
  mHeight = std::clamp(mHeight, kMinPageHeight, kMaxPageHeight);
  const bool shareOut = rule == MarginRule::kShareOut;
  FitMargins(mWidth, kMinPageWidth, mLeftMargin, mRightMargin, shareOut);
  FitMargins(mHeight, kMinPageHeight, mTopMargin, mBottomMargin, shareOut);
}
