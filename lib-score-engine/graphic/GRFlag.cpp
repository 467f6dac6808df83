#include "GRFlag.h"

#include "GRGlobalStem.h"

NVPoint const GRFlag::sRefpos{-30, 0};

unsigned int GRFlag::SymbolFor(Fraction const& duration, GDirection direction, float* extra) {
  *extra = 0;
  if (direction != dirUP && direction != dirDOWN) return 0;
  bool const down = direction == dirDOWN;
  double const d = duration.getValue();
  // Flags of a down stem stack up towards the head: its stem grows by half a space for every
  // flag after the first, so that they keep clear of it.
  if (d == 1.0 / 8 || d == 3.0 / 16 || d == 7.0 / 32) return down ? 74 : 106;
  if (d == 1.0 / 16 || d == 3.0 / 32 || d == 7.0 / 64)
    return *extra = down ? 25 : 0, down ? 75 : 107;
  if (d == 1.0 / 32) return *extra = down ? 50 : 25, down ? 222 : 221;
  if (d == 1.0 / 64) return *extra = down ? 75 : 50, down ? 83 : 115;
  return 0;
}

GRFlag::GRFlag(GREvent* event, Fraction const& duration, GDirection direction, float stemLength,
               float headWidth) {
  mColor.set(event->getColRef());
  mSize = event->getSize();
  float extra = 0;
  mSymbol = SymbolFor(duration, direction, &extra);
  if (extra != 0) stemLength = event->changeStemLength(stemLength + extra);
  calcFlagExtent(headWidth);
  PlaceAtStemEnd(event->getOffset(), stemLength, direction);
}

GRFlag::GRFlag(GRGlobalStem* globalStem, Fraction const& duration, GDirection direction,
               float stemLength) {
  mColor.set(globalStem->getColRef());
  mSize = globalStem->getSize();
  float extra = 0;
  mSymbol = SymbolFor(duration, direction, &extra);
  if (extra != 0) stemLength = globalStem->changeStemLength(stemLength + extra);
  calcFlagExtent(60);
  PlaceAtStemEnd(globalStem->getOffset(), stemLength, direction);
}

bool GRFlag::PointsDown() const {
  return mSymbol == 74 || mSymbol == 75 || mSymbol == 83 || mSymbol == 222;
}

bool GRFlag::PointsUp() const {
  return mSymbol == 106 || mSymbol == 107 || mSymbol == 115 || mSymbol == 221;
}

void GRFlag::SetSpaces(float downLeft, float upRight) {
  mLeftSpace = PointsDown() ? downLeft : 0;
  mRightSpace = PointsUp() ? upRight : 0;
}

void GRFlag::calcFlagExtent(float headWidth) {
  SetSpaces(headWidth * 0.5f * mSize, headWidth * 1.5f * mSize);
}

void GRFlag::PlaceAtStemEnd(NVPoint const& offset, float stemLength, GDirection direction) {
  mOffset = offset;
  if (direction == dirDOWN) mOffset.y += stemLength;
  if (direction == dirUP) mOffset.y -= stemLength;
}

void GRFlag::changeStemLength(GREvent* event, float length, GDirection direction) {
  mOffset.y = event->getOffset().y;
  if (direction == dirDOWN) mOffset.y += length;
  if (direction == dirUP) mOffset.y -= length;
}

int GRFlag::getNumFaehnchen() const {
  return CountOf(mSymbol);
}

int GRFlag::CountFor(Fraction const& duration) {
  float extra;
  return CountOf(SymbolFor(duration, dirUP, &extra));
}

int GRFlag::CountOf(unsigned int symbol) {
  switch (symbol) {
    case 74:
    case 106:
      return 1;
    case 75:
    case 107:
      return 2;
    case 221:
    case 222:
      return 3;
    case 83:
    case 115:
      return 4;
    default:
      return 0;
  }
}

void GRFlag::setFlagOnOff(bool on) {
  mFlagOn = on;
  if (on) {
    float const width = -2 * sRefpos.x;
    SetSpaces(width * 0.5f * mSize, width * 1.5f * mSize);
  } else {
    mLeftSpace = mRightSpace = 0;
  }
}

void GRFlag::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (mSymbol != 0 && mFlagOn) GRNotationElement::OnDraw(device, map);
}
