#include "GRMeter.h"

#include <algorithm>
#include <string>

#include "ARMeter.h"
#include "GRStaff.h"
#include "VGDevice.h"
#include "VGFont.h"
#include "engine_globals.h"
#include "graphic_globals.h"
#include "src/common/assertion.h"

NVPoint GRMeter::refposC;
NVPoint GRMeter::refposC2;

namespace {
constexpr unsigned int kCommonTimeGlyph = 99;
constexpr unsigned int kCutTimeGlyph = 67;
// The distance between the digits of a number.
constexpr float kDigitStep = 60;

float LineSpaceOf(GRStaff const* staff) {
  return staff ? staff->getLineSpace() : 50;
}

// The width of a number in digit glyphs of the start-up music font; 0 without a device.
float NumberWidth(int number) {
  VGDevice* device = gGlobalSettings.gDevice;
  if (!device || !gFontDefs.music.font) return 0;
  std::string const text = std::to_string(number);
  float width = 0;
  float height = 0;
  gFontDefs.music.font->GetExtent(text.c_str(), static_cast<int>(text.size()), &width, &height,
                                  device);
  return width;
}
}  // namespace

GRMeter::GRMeter(ARMeter* meter, GRStaff* staff, bool ownsAR)
    : GRTagARNotationElement(meter, LineSpaceOf(staff), ownsAR),
      mtype(meter ? meter->getMeterType() : ARMeter::NONE),
      curLSPACE(LineSpaceOf(staff)) {
  MELVARIN_ASSERT(meter);
  mGrStaff = staff;
  if (mtype == ARMeter::NUMERIC) {
    numerator = meter->getNumerator();
    denominator = meter->getDenominator();
  }
  mNeedsSpring = 1;
  sconst = 100;
  mBoundingBox.left = 0;
  mBoundingBox.top = 0;

  float width = 0;
  if (mtype == ARMeter::C || mtype == ARMeter::C2)
    width = GetSymbolExtent(kCommonTimeGlyph);
  else if (mtype == ARMeter::NUMERIC)
    width = std::max(NumberWidth(numerator), NumberWidth(denominator));
  bool const drawn = mtype >= ARMeter::NUMERIC && mtype <= ARMeter::C2;
  if (drawn) {
    mBoundingBox.left = -0.5f * width - 10;
    mBoundingBox.right = 0.5f * width + 50;
  }
  if (mtype == ARMeter::NUMERIC) {
    // The digits stand closer than their glyphs are wide, around a middle left of where the
    // number's width puts it, so a long number reaches further left than its width: the room
    // before it takes all of its first digit from three digits on.
    std::size_t const digits =
        std::max(std::to_string(numerator).size(), std::to_string(denominator).size());
    if (digits > 2) mBoundingBox.left -= 0.5f * kDigitStep * static_cast<float>(digits - 1);
  }
  // The meter's own size scales it on top of the staff's; a size the score gives it that is no
  // scale at all leaves it as it is.
  if (meter->getMeterSize() > 0) mScale = meter->getMeterSize();
  size = curLSPACE / 50 * size * mScale;
  mBoundingBox.bottom = std::max(5 * curLSPACE, 2 * curLSPACE * (1 + mScale));
  mBoundingBox.top = std::min(0.0f, 2 * curLSPACE * (1 - mScale));
  mLeftSpace = -mBoundingBox.left * size;
  mRightSpace = mBoundingBox.right * size;

  NVPoint const reference{-0.5f * width - 10, 100};
  if (mtype == ARMeter::NUMERIC) {
    meterRefpos = NVPoint{reference.x, 0};
  } else if (mtype == ARMeter::C) {
    refposC = reference;
    refposC2 = reference;
  } else if (mtype == ARMeter::C2) {
    refposC2 = reference;
  }
}

ARMeter* GRMeter::getARMeter() const {
  return static_cast<ARMeter*>(const_cast<GRMeter*>(this)->getAbstractRepresentation());
}

bool GRMeter::operator==(GRMeter const& other) const {
  return mtype == other.mtype && numerator == other.numerator && denominator == other.denominator;
}

bool GRMeter::operator==(GRTag const& other) const {
  auto const* meter = dynamic_cast<GRMeter const*>(&other);
  return meter && *this == *meter;
}

NVPoint const& GRMeter::getReferencePosition() const {
  if (mtype == ARMeter::C) return refposC;
  if (mtype == ARMeter::C2) return refposC2;
  return meterRefpos;
}

void GRMeter::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  if (error) return;
  // The numbers stand a space above and below the staff's middle: on the second and fourth
  // line of five, around the line of a one-line staff.
  float const middle = mGrStaff ? mGrStaff->getDredgeSize() / 2 : 2 * curLSPACE;
  // A larger meter grows from the staff's middle: its glyph stands on a reference point that
  // grows with it, and its numbers stand further apart.
  float const shift = middle - 2 * curLSPACE + 2 * curLSPACE * (1 - mScale);
  if (mtype == ARMeter::C) {
    OnDrawSymbol(device, kCommonTimeGlyph, 0, shift, size);
  } else if (mtype == ARMeter::C2) {
    OnDrawSymbol(device, kCutTimeGlyph, 0, shift, size);
  } else if (mtype == ARMeter::NUMERIC) {
    DrawNumber(device, numerator, middle - curLSPACE * mScale);
    DrawNumber(device, denominator, middle + curLSPACE * mScale);
  }
}

float GRMeter::inkLead() const {
  if (mtype != ARMeter::NUMERIC) return mLeftSpace;
  // Where DrawNumber puts the first digit of the longer number.
  std::size_t const digits =
      std::max(std::to_string(numerator).size(), std::to_string(denominator).size());
  return -meterRefpos.x * size + 0.5f * kDigitStep * mScale * static_cast<float>(digits - 1);
}

float GRMeter::inkRight() const {
  float const glyph =
      mtype == ARMeter::C2 ? GetSymbolExtent(kCutTimeGlyph) : GetSymbolExtent(kCommonTimeGlyph);
  if (mtype != ARMeter::NUMERIC) return (getReferencePosition().x + glyph) * size;
  float right = 0;
  for (int number : {numerator, denominator}) {
    std::string const digits = std::to_string(number);
    float const last = 0.5f * kDigitStep * mScale * static_cast<float>(digits.size() - 1);
    right = std::max(right, meterRefpos.x * size + last +
                                GetSymbolExtent(static_cast<unsigned char>(digits.back())) * size);
  }
  return right;
}

void GRMeter::DrawNumber(VGDevice& device, int number, float dy) const {
  std::string const digits = std::to_string(number);
  // The digits stand a step apart around the same middle, so numbers of any length stand
  // centred over each other. A digit's glyph is its character code.
  float const step = kDigitStep * mScale;
  float const first = -0.5f * step * static_cast<float>(digits.size() - 1);
  for (std::size_t i = 0; i < digits.size(); ++i)
    OnDrawSymbol(device, static_cast<unsigned char>(digits[i]),
                 first + step * static_cast<float>(i), dy, size);
}
