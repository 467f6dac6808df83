#include "GRFlag.h"

#include <algorithm>
#include <iterator>

#include "GRGlobalStem.h"

NVPoint const GRFlag::sRefpos{-30, 0};

namespace {
// The glyphs of one to six flags (1/8 to 1/256), for a down and an up stem.
constexpr unsigned int kDownFlags[] = {74, 75, 222, 83, 245, 247};
constexpr unsigned int kUpFlags[] = {106, 107, 221, 115, 246, 248};
// How much longer than usual a stem with one to six flags is. Flags of a down stem stack up
// towards the head: its stem grows with them so that they keep clear of it. An up stem's flags
// hang beside the head and grow from the third on, to keep in proportion.
constexpr float kDownStemExtra[] = {0, 25, 50, 75, 125, 175};
constexpr float kUpStemExtra[] = {0, 0, 25, 50, 100, 150};
constexpr int kMostFlags = 6;

// The flags of a value: those of its undotted part, so that 3/64 shows the flags of 1/32. A
// value that is no note value with up to two dots has none.
int FlagsOfValue(Fraction const& duration) {
  Fraction value = duration;
  value.normalize();
  int const numerator = value.getNumerator();
  long long denominator = value.getDenominator();
  if (denominator <= 0 || (denominator & (denominator - 1)) != 0) return 0;
  if (numerator == 3)
    denominator /= 2;
  else if (numerator == 7)
    denominator /= 4;
  else if (numerator != 1)
    return 0;
  int flags = 0;
  for (long long shorter = 8; shorter <= denominator; shorter *= 2) ++flags;
  return flags;
}
}  // namespace

unsigned int GRFlag::SymbolFor(Fraction const& duration, GDirection direction, float* extra) {
  *extra = 0;
  if (direction != dirUP && direction != dirDOWN) return 0;
  bool const down = direction == dirDOWN;
  int const flags = FlagsOfValue(duration);
  if (flags < 1 || flags > kMostFlags) return 0;
  *extra = (down ? kDownStemExtra : kUpStemExtra)[flags - 1];
  return (down ? kDownFlags : kUpFlags)[flags - 1];
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
  return std::find(std::begin(kDownFlags), std::end(kDownFlags), mSymbol) != std::end(kDownFlags);
}

bool GRFlag::PointsUp() const {
  return std::find(std::begin(kUpFlags), std::end(kUpFlags), mSymbol) != std::end(kUpFlags);
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
  for (int flags = 1; flags <= kMostFlags; ++flags)
    if (symbol == kDownFlags[flags - 1] || symbol == kUpFlags[flags - 1]) return flags;
  return 0;
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

NVRect GRFlag::inkBox() const {
  constexpr float kSpace = 50;
  float const x = mPosition.x + mOffset.x + sRefpos.x * mSize;
  float const tip = mPosition.y + mOffset.y + sRefpos.y * mSize;
  float const reach = (3 + 0.75f * static_cast<float>(getNumFaehnchen() - 1)) * kSpace * mSize;
  float const width = GetSymbolExtent(mSymbol) * mSize;
  if (PointsDown()) return NVRect{x, tip - reach, x + width, tip};
  return NVRect{x, tip, x + width, tip + reach};
}

void GRFlag::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (mSymbol != 0 && mFlagOn) GRNotationElement::OnDraw(device, map);
}
