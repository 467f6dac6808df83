#include "GRNoteDot.h"

#include "GREvent.h"

namespace {
constexpr unsigned int kDotSymbol = 46;
}

NVPoint const GRNoteDot::sRefpos{};

GRNoteDot::GRNoteDot(GREvent* event, float dotOffset, int numberOfDots) : mNumDots(numberOfDots) {
  GRNoteDotInit(event, dotOffset);
}

GRNoteDot::GRNoteDot(GREvent* event, Fraction const& duration, float dotOffset)
    : mNumDots(DurationToDotCount(duration)) {
  GRNoteDotInit(event, dotOffset);
}

void GRNoteDot::GRNoteDotInit(GREvent* event, float dotOffset) {
  float const left = 0.5f * dotOffset + 16.5f;
  mBoundingBox.Set(left, 6.25f, left + 12.5f, 16.5f);
  mSize = event->getSize();
  mColor.set(event->getColRef());
  mOffset = event->getOffset();
  mLeftSpace = 0;
  mRightSpace = mNumDots == 1 ? dotOffset * mSize : mNumDots == 2 ? dotOffset * 1.5f * mSize : 0;
  mSymbol = kDotSymbol;
}

void GRNoteDot::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (mNumDots <= 0) return;
  GRNotationElement::OnDraw(device, map);
  if (mNumDots >= 2) OnDrawSymbol(device, kDotSymbol, 25, 0, 0);
}

int GRNoteDot::DurationToDotCount(Fraction const& duration) {
  // Dots lengthen the values from the breve's half down to the shortest one with flags, 1/256.
  double const d = duration.getValue();
  for (int denominator = 2; denominator <= 512; denominator *= 2)
    if (d == 3.0 / denominator) return 1;
  for (int denominator = 4; denominator <= 1024; denominator *= 2)
    if (d == 7.0 / denominator) return 2;
  return 0;
}
