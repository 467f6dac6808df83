#include "GRStem.h"

#include <cmath>

#include "GRGlobalStem.h"
#include "ScoreElementDesc.h"
#include "VGDevice.h"
#include "VScoreSymbolMap.h"

namespace {
constexpr unsigned int kStemDownStart = 218;
constexpr unsigned int kStemDownSegment = 150;
constexpr unsigned int kStemUpStart = 219;
constexpr unsigned int kStemUpSegment = 151;
// Far more than the longest stem a tag may ask for at the smallest size.
constexpr int kMaxSegments = 10000;
}  // namespace

GRStem::GRStem(GREvent* event, Fraction const& duration, GDirection direction, float stemLength,
               float headWidth)
    : mStemLength(stemLength), mStemDir(direction) {
  mRefpos.x = -0.5f * headWidth;
  if (duration.getValue() >= 1) {
    mStemDir = dirOFF;
    return;
  }
  mColor.set(event->getColRef());
  mOffset = event->getOffset();
  mSize = event->getSize();
  UpdateBox();
}

GRStem::GRStem(GRGlobalStem* globalStem) : mStemLength(0), mStemDir(dirOFF) {
  mColor.set(globalStem->getColRef());
  mOffset = globalStem->getOffset();
  mSize = globalStem->getSize();
  mRefpos.x = -30;
}

void GRStem::UpdateBox() {
  mBoundingBox.top = mStemDir == dirUP ? -mStemLength : 0;
  mBoundingBox.bottom = mStemDir == dirDOWN ? mStemLength : 0;
}

void GRStem::setStemLength(float length) {
  mStemLength = length;
  UpdateBox();
}

void GRStem::setStemDir(GDirection direction) {
  mStemDir = direction;
  UpdateBox();
}

void GRStem::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (mStemDir != dirUP && mStemDir != dirDOWN) return;
  if (mColor.get()) device.SetFontColor(VGColor(mColor.get()));
  device.SetFontAlign(getTextAlign());
  float const segment = mSize * 50;
  float const half = segment / 2;
  // A length the text made endless (or a size of 0) would never reach its end: only the start
  // glyph is drawn then. A length far beyond its size stops at kMaxSegments, before the steps
  // become too small to move a float position on.
  bool const segments = std::isfinite(mStemLength) && half > 0;
  int drawn = 0;
  if (mStemDir == dirDOWN) {
    DrawSymbol(device, kStemDownStart, 0, 0, 0);
    for (float y = half; segments && mStemLength > half && y < mStemLength && drawn < kMaxSegments;
         y += half, ++drawn) {
      if (segment + y > mStemLength) {
        DrawSymbol(device, kStemDownSegment, 0, mStemLength - segment, 0);
        break;
      }
      DrawSymbol(device, kStemDownSegment, 0, y, 0);
    }
  } else {
    DrawSymbol(device, kStemUpStart, 0, 0, 0);
    for (float y = -half;
         segments && mStemLength > half && -y < mStemLength && drawn < kMaxSegments;
         y -= half, ++drawn) {
      if (segment - y > mStemLength) {
        DrawSymbol(device, kStemUpSegment, 0, segment - mStemLength, 0);
        break;
      }
      DrawSymbol(device, kStemUpSegment, 0, y, 0);
    }
  }
  if (mColor.get()) device.SetFontColor(kOpaqueBlack);
  NotifyNewScoreElement(device, map);
}

NVRect GRStem::inkBox() const {
  constexpr float kStroke = 5;
  float const reach = mRefpos.x * mSize;
  float const x = mPosition.x + mOffset.x + (mStemDir == dirDOWN ? reach : -reach);
  float const y = mPosition.y + mOffset.y + mRefpos.y * mSize;
  return NVRect{x - kStroke * mSize, y + mBoundingBox.top, x + kStroke * mSize,
                y + mBoundingBox.bottom};
}

void GRStem::NotifyNewScoreElement(VGDevice& device, VScoreSymbolMap& map) const {
  ScoreElementDesc desc;
  desc.kind = 2;
  desc.subtype = 10;
  // The glyphs are drawn with the reference scaled to the stem's size (a grace note's is
  // smaller): the record takes the same place, on the head's left edge or, pointing up, its right.
  float const reach = mRefpos.x * mSize;
  float const x = mPosition.x + mOffset.x + (mStemDir == dirDOWN ? reach : -reach);
  float const y = mPosition.y + mOffset.y + mRefpos.y * mSize;
  desc.left = mBoundingBox.left + x;
  desc.top = mBoundingBox.top + y;
  desc.right = mBoundingBox.right + x;
  desc.bottom = mBoundingBox.bottom + y;
  desc.refX = x;
  desc.refY = y;
  map.AddElement(device, desc);
}
