#include "GRClef.h"

#include <algorithm>
#include <cstring>

#include "ARClef.h"
#include "GRSpecial.h"
#include "GRStaff.h"
#include "ScoreElementDesc.h"
#include "VGDevice.h"
#include "VScoreSymbolMap.h"
#include "graphic_globals.h"
#include "src/common/assertion.h"

NVPoint GRClef::refposTreble;
NVPoint GRClef::refposBass;
NVPoint GRClef::refposAlto;
unsigned int GRClef::sClefTextAlign = 17;

namespace {
constexpr unsigned int kTrebleGlyph = 38;
constexpr unsigned int kBassGlyph = 63;
constexpr unsigned int kAltoGlyph = 66;
// The room an octave mark takes above or below the glyph.
constexpr float kOctaveMarkHeight = 75;

float LineSpaceOf(GRStaff const* staff) {
  return staff ? staff->getLineSpace() : 50;
}
}  // namespace

GRClef::GRClef(ARClef* clef, GRStaff* staff, bool ownsAR)
    : GRTagARNotationElement(clef, LineSpaceOf(staff), ownsAR) {
  MELVARIN_ASSERT(clef);
  float const lineSpace = LineSpaceOf(staff);
  int const lines = staff ? staff->getNumlines() : 5;
  int const octava = clef->getOctava();
  mClefStaffLine = std::max(0, lines - clef->getLine());
  mNeedsSpring = 1;
  sconst = 100;

  float const y = mClefStaffLine * lineSpace;
  float refY = 50;
  NVPoint* refpos = &refposTreble;
  switch (clef->getClefType()) {
    case ARClef::NOCLEF:
      mSymbol = 0;
      mClefPitch = 6;
      mClefOctave = octava + 1;
      mBoundingBox.top = 0;
      mBoundingBox.bottom = 0;
      break;
    case ARClef::FCLEF:
      mSymbol = kBassGlyph;
      mClefPitch = 5;
      mClefOctave = octava;
      mPosition.y = y;
      mBoundingBox.top = -lineSpace;
      mBoundingBox.bottom = 3 * lineSpace;
      refpos = &refposBass;
      refY = 150;
      break;
    case ARClef::CCLEF:
      mSymbol = kAltoGlyph;
      mClefPitch = 2;
      mClefOctave = octava + 1;
      mPosition.y = y;
      mBoundingBox.top = -2 * lineSpace;
      mBoundingBox.bottom = 2 * lineSpace;
      refpos = &refposAlto;
      refY = 100;
      break;
    default:  // treble, double treble, percussion
      mSymbol = kTrebleGlyph;
      mDoubleTreble = clef->getClefType() == ARClef::DOUBLEGCLEF;
      mClefPitch = 6;
      mClefOctave = octava + 1;
      mPosition.y = y;
      // The music font's G clef reaches 4.8 line spaces above the line it marks.
      mBoundingBox.top = -24 * lineSpace / 5;
      mBoundingBox.bottom = 2.7f * lineSpace;
      break;
  }

  if (octava == 1 || octava == 2) {
    mOctaveStr = octava == 1 ? "8" : "15";
    mTextOffset.y = mBoundingBox.top;
    mBoundingBox.top -= kOctaveMarkHeight;
  } else if (octava == -1 || octava == -2) {
    mOctaveStr = octava == -1 ? "8" : "15";
    mBoundingBox.bottom += kOctaveMarkHeight;
    mTextOffset.y = mBoundingBox.bottom;
  }

  float const glyphWidth = mSymbol ? GetSymbolExtent(mSymbol) : 0;
  mLeftSpace = mRightSpace = (0.5f * glyphWidth + 10) * size;
  if (mDoubleTreble) mRightSpace += glyphWidth;
  mSecondTrebleDx = (mLeftSpace + mRightSpace) * 0.5f - 10;
  mBoundingBox.left = -mLeftSpace;
  mBoundingBox.right = mRightSpace;
  size = lineSpace / 50 * size;

  *refpos = NVPoint{-0.5f * glyphWidth - 10, refY};
  sClefTextAlign = 17;
  mGrStaff = staff;
}

float GRClef::inkRight() const {
  float const glyph = mSymbol ? GetSymbolExtent(mSymbol) * size : 0;
  float const first = getReferencePosition().x * size + glyph;
  return mDoubleTreble ? first + mSecondTrebleDx : first;
}

void GRClef::moveInk(float dx) {
  GRTagARNotationElement::moveInk(dx);
  mTextOffset.x += dx;
}

ARClef* GRClef::getARClef() const {
  return static_cast<ARClef*>(const_cast<GRClef*>(this)->getAbstractRepresentation());
}

bool GRClef::operator==(GRClef const& other) const {
  return mClefPitch == other.mClefPitch && mClefOctave == other.mClefOctave &&
         mClefStaffLine == other.mClefStaffLine && mOctaveStr == other.mOctaveStr &&
         mTextOffset.x == other.mTextOffset.x && mTextOffset.y == other.mTextOffset.y &&
         mDoubleTreble == other.mDoubleTreble && mSymbol == other.mSymbol;
}

bool GRClef::operator==(GRTag const& other) const {
  auto const* clef = dynamic_cast<GRClef const*>(&other);
  return clef && *this == *clef;
}

NVPoint const& GRClef::getReferencePosition() const {
  if (mSymbol == kBassGlyph) return refposBass;
  if (mSymbol == kAltoGlyph) return refposAlto;
  return refposTreble;
}

void GRClef::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (error) return;
  GRNotationElement::OnDraw(device, map);
  if (mDoubleTreble) {
    OnDrawSymbol(device, mSymbol, mSecondTrebleDx, 0, size);
  } else if (mOctaveStr) {
    device.SetTextFont(GRSpecial::FindOrCreateFont(75, &gFontDefs.text.name));
    device.SetFontAlign(10);
    device.DrawString(mPosition.x + mTextOffset.x, mPosition.y + mTextOffset.y, mOctaveStr,
                      static_cast<int>(std::strlen(mOctaveStr)));
  }
  ScoreElementDesc desc;
  desc.kind = 2;
  desc.subtype = 13;
  desc.left = mPosition.x + mBoundingBox.left;
  desc.top = mPosition.y + mBoundingBox.top;
  desc.right = mPosition.x + mBoundingBox.right;
  desc.bottom = mPosition.y + mBoundingBox.bottom;
  desc.refX = mPosition.x;
  desc.refY = mPosition.y;
  map.AddElement(device, desc);
}
