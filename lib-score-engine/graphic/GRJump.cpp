#include "GRJump.h"

#include <cstring>

#include "ARJump.h"
#include "GRSpecial.h"
#include "NVstring.h"
#include "VGDevice.h"
#include "VGFont.h"
#include "engine_globals.h"

std::map<std::string, unsigned int> GRJump::mSymbols;
VGFont const* GRJump::mFont = nullptr;

namespace {
constexpr unsigned int kCodaGlyph = 230;

bool IsSymbolPart(std::pair<std::string, int> const& part) {
  return part.second == 1;
}

void Measure(VGFont const* font, char const* text, VGDevice* device, float* width, float* height) {
  *width = *height = 0;
  if (font && device)
    font->GetExtent(text, static_cast<int>(std::strlen(text)), width, height, device);
}
}  // namespace

void GRJump::ResetClassState() {
  mSymbols.clear();
  mFont = nullptr;
}

unsigned int GRJump::GlyphOf(std::string const& name) {
  auto const found = mSymbols.find(name);
  return found == mSymbols.end() ? 0 : found->second;
}

GRJump::GRJump(ARJump* jump, bool rightJustified)
    : GRTagARNotationElement(jump, 50), mRightJustified(rightJustified) {
  if (mSymbols.empty()) {
    mSymbols = {{"coda", kCodaGlyph}, {"segno", 37}};
    NVstring const face("Times New Roman Bold Italic");
    NVstring const attributes("bi");
    mFont = GRSpecial::FindOrCreateFont(110, &face, &attributes);
  }
  mNeedsSpring = 1;
  sconst = 100;
  mPosition.y = -100;
  float const codaWidth = GetSymbolExtent(kCodaGlyph);
  mBoundingBox = NVRect{0, -0.5f * codaWidth, 0, 0.5f * codaWidth};
  for (auto const& part : jump->getMark()) {
    if (IsSymbolPart(part)) {
      // Called while the mark is still a plain jump: symbols take their plain size here.
      if (unsigned int glyph = GlyphOf(part.first))
        mBoundingBox.right += GetSymbolExtent(glyph) * getSymbolSize();
    } else {
      float width = 0;
      float height = 0;
      Measure(mFont, part.first.c_str(), gGlobalSettings.gDevice, &width, &height);
      mBoundingBox.right += width;
    }
  }
  float const width = mBoundingBox.right - mBoundingBox.left;
  if (mRightJustified) {
    mBoundingBox.right = mBoundingBox.left;
    mBoundingBox.left -= width;
  } else {
    mBoundingBox.left -= 50;
    mBoundingBox.right -= 50;
  }
  mLeftSpace = 0;
  mRightSpace = mBoundingBox.left - mBoundingBox.right;
}

ARJump const* GRJump::getARJump() const {
  return dynamic_cast<ARJump const*>(getAbstractRepresentation());
}

VGFont const* GRJump::SelectTextFont(VGDevice& device) const {
  device.SetTextFont(mFont);
  device.SetFontAlign(17);
  return mFont;
}

void GRJump::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  ARJump const* jump = getARJump();
  if (!jump || jump->getMark().empty()) return;
  float x = mPosition.x + mBoundingBox.left;
  float const height = mBoundingBox.bottom - mBoundingBox.top;
  float const base = mPosition.y + mBoundingBox.bottom;
  NVPoint const& offset = getOffset();
  for (auto const& part : jump->getMark()) {
    if (IsSymbolPart(part)) {
      unsigned int const glyph = GlyphOf(part.first);
      if (!glyph) continue;
      OnDrawSymbol(device, glyph, x - mPosition.x, 0, getSymbolSize());
      x += GetSymbolExtent(glyph) * getSymbolSize();
    } else {
      VGFont const* font = SelectTextFont(device);
      float width = 0;
      float letterHeight = 0;
      Measure(font, "a", &device, &width, &letterHeight);
      char const* text = part.first.c_str();
      device.DrawString(offset.x + x, offset.y + base + (height - letterHeight) * 0.5f, text,
                        static_cast<int>(part.first.size()));
      float textHeight = 0;
      Measure(font, text, &device, &width, &textHeight);
      x += width + 25;
    }
  }
}
