#include "GRPageText.h"

#include "ARMusicalTag.h"
#include "GRPage.h"
#include "GRSpecial.h"
#include "GRText.h"
#include "VGFont.h"
#include "engine_globals.h"
#include "graphic_globals.h"

namespace {
constexpr float kUnitsPerCm = 237.10631f;

// Where letter puts a coordinate along a page of the given extent and margins (in cm); the
// coordinate is kept for a letter that does not belong to that direction.
float Place(char letter, char first, char last, float extent, float nearMarginCm, float farMarginCm,
            float current) {
  float const nearMargin = nearMarginCm * kUnitsPerCm;
  float const farMargin = farMarginCm * kUnitsPerCm;
  if (letter == first || letter == '1') return 0;
  if (letter == 'c' || letter == '4') return extent / 2;
  if (letter == last || letter == '7') return extent;
  if (letter == '2') return nearMargin / 2;
  if (letter == '3') return nearMargin;
  if (letter == '5') return extent - farMargin;
  if (letter == '6') return extent - farMargin / 2;
  return current;
}
}  // namespace

GRPageText::GRPageText(ARMusicalTag* tag, GRPage* page, NVstring const* text,
                       NVstring const* pageFormat, NVstring const* textFormat,
                       NVstring const* fontName, int size, NVstring const* attributes)
    : GRTagARNotationElement(tag, 50),
      mGRPage(page),
      mPageText(text ? *text : NVstring("")),
      mPageFormat(pageFormat ? *pageFormat : NVstring("")),
      mTextFormat(textFormat ? *textFormat : NVstring("lt")) {
  tagType = PAGETAG;
  if (fontName) font = new NVstring(*fontName);
  if (attributes) fontAttrib = new NVstring(*attributes);
  fontSize = size;
  VGFont const* measuring = gFontDefs.text.font;
  if (font && font->length() > 0)
    measuring = GRSpecial::FindOrCreateFont(fontSize, font, fontAttrib);
  mTextAlign = GRText::AlignmentOf(mTextFormat.c_str());

  float width = 0;
  float height = 0;
  if (gGlobalSettings.gDevice && measuring)
    measuring->GetExtent(mPageText.c_str(), static_cast<int>(mPageText.length()), &width, &height,
                         gGlobalSettings.gDevice);
  if (mTextAlign & 8)
    mBoundingBox.left = -0.5f * width, mBoundingBox.right = 0.5f * width;
  else if (mTextAlign & 32)
    mBoundingBox.left = -width, mBoundingBox.right = 0;
  else
    mBoundingBox.left = 0, mBoundingBox.right = width;
  if (mTextAlign & 1)
    mBoundingBox.top = -height, mBoundingBox.bottom = 100;
  else if (mTextAlign & 2)
    mBoundingBox.top = -height, mBoundingBox.bottom = 0;
  else
    mBoundingBox.top = 0, mBoundingBox.bottom = height;
}

void GRPageText::calcPosition() {
  if (!mGRPage || mPageFormat.length() != 2) return;
  float left = 0;
  float top = 0;
  float right = 0;
  float bottom = 0;
  mGRPage->getMarginsCm(&left, &top, &right, &bottom);
  NVPoint position = mPosition;
  char const* format = mPageFormat.c_str();
  position.x = Place(format[0], 'l', 'r', mGRPage->getPageWidth(), left, right, position.x);
  position.y = Place(format[1], 't', 'b', mGRPage->getPageHeight(), top, bottom, position.y);
  // A narrow top margin leaves less room than the text is high: the text moves down to stay on
  // the page rather than be cut by its top edge.
  if (position.y + mBoundingBox.top < 0) position.y = -mBoundingBox.top;
  setPosition(position);
}

void GRPageText::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  OnDrawText(device, mPageText.c_str(), static_cast<int>(mPageText.length()));
}
