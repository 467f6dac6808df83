#include "GRSingleRest.h"

#include <algorithm>

#include "ARDotFormat.h"
#include "ARRest.h"
#include "ARRestFormat.h"
#include "GRGlue.h"
#include "GRNoteDot.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "ScoreElementDesc.h"
#include "TagParameterFloat.h"
#include "TagParameterString.h"
#include "VGDevice.h"
#include "VScoreSymbolMap.h"
#include "src/common/assertion.h"

namespace {
// The rows of the rest table, longest first; heights count in line spaces from the top line,
// except the reach of the ink above and below the rest's own height.
struct RestRow {
  double atLeast;
  int symbol;
  float boxTop, boxBottom, y, dotY;
  float inkAbove, inkBelow;
};
constexpr RestRow kRestRows[] = {
    {1.0, GRSingleRest::kWholeBar, 1, 1.5f, 1, 2, 0, 0.5f},
    {1.0 / 2, GRSingleRest::kHalfBar, 1.5f, 2, 1.5f, 1.5f, 0, 0.5f},
    {1.0 / 4, 165, -2, 2, 2, 2, 1.6f, 1.3f},
    {1.0 / 8, 97, 1.5f, 3, 1.25f, 2, 0.1f, 1.8f},
    {1.0 / 16, 64, 1.5f, 4, 2.25f, 2, 1.1f, 1.8f},
    {1.0 / 32, 174, 1.5f, 4, 2.25f, 1, 2.1f, 1.8f},
    {1.0 / 64, 108, 0.5f, 4, 3.25f, 1, 3.1f, 1.8f},
    {1.0 / 128, 47, 0.5f, 4, 4.25f, 1, 5.1f, 0.8f},
    {1.0 / 256, 249, 0.5f, 4, 5.25f, 1, 6.1f, 0.8f},
};
// The black note head, whose dots a rest's dots stand as.
constexpr unsigned int kFilledHeadSymbol = 88;
// A bar rest is half a space high and one space wide at size 1; the rest's size holds its
// staff's scale.
constexpr float kBarRestHeight = 25;
constexpr float kBarRestHalfWidth = 25;
// The symbol-map box reaches this far around a rest.
constexpr float kRecordMargin = 50;

// Where the music of a staff's line begins: after its clef and key, at its second glue. A line
// that opens with a slice of its own for them keeps that glue in its first slice: from the
// line's edge, a rest filling the line's first bar would stand in the key.
GRGlue const* OpeningGlue(GRStaff const* staff) {
  if (!staff) return nullptr;
  if (GRGlue const* glue = staff->getSecondGlue()) return glue;
  GRSystemSlice const* slice = staff->getGRSystemSlice();
  GRSystem const* system = staff->getGRSystem();
  GRSystemSlice const* first = system ? system->getFirstGRSystemSlice() : nullptr;
  if (!slice || !first || first == slice) return nullptr;
  GRStaff const* opening = first->getStaff(slice->getStaffNumber(staff));
  return opening ? opening->getSecondGlue() : nullptr;
}

}  // namespace

GRSingleRest::GRSingleRest(GRStaff* staff, ARRest* rest, Fraction const& relativeTimePosition,
                           Fraction const& duration, Fraction displayLength)
    : GRRest(staff, rest, relativeTimePosition, duration) {
  createRest(displayLength > Frac_0 ? displayLength : duration);
  if (duration.getValue() == 0) mNeedsSpring = 0;
}

GRSingleRest::GRSingleRest(GRStaff* staff, ARRest* rest) : GRRest(staff, rest) {
  createRest(Frac_1);
}

GRSingleRest::GRSingleRest(GRStaff* staff, Fraction const& duration) : GRRest(staff, duration) {
  MELVARIN_ASSERT(staff);
  createRest(duration);
}

void GRSingleRest::createRest(Fraction const& duration) {
  float const ls = mCurLSPACE;
  mDurationTemplate = duration;
  mRestSymbol = 0;
  mInkAbove = mInkBelow = 0;
  mBoundingBox = NVRect{};
  mLeftSpace = mRightSpace = 0;
  NVPoint dotPosition{0, 2 * ls};
  mBoundingBox.bottom = 2 * ls;
  for (RestRow const& row : kRestRows) {
    if (duration.getValue() < row.atLeast) continue;
    mRestSymbol = row.symbol;
    mBoundingBox.top = row.boxTop * ls;
    mBoundingBox.bottom = row.boxBottom * ls;
    mPosition.y = row.y * ls;
    dotPosition.y = row.dotY * ls;
    mInkAbove = row.inkAbove * 50;
    mInkBelow = row.inkBelow * 50;
    float const halfWidth = mRestSymbol == kWholeBar || mRestSymbol == kHalfBar
                                ? kBarRestHalfWidth
                                : GetSymbolExtent(mRestSymbol) / 2;
    mLeftSpace = mRightSpace = halfWidth * mSize;
    mBarHalfWidth = mRightSpace;
    break;
  }
  // The dots stand after a rest as after a black note head whose right edge is the rest's.
  float const headWidth = GetSymbolExtent(kFilledHeadSymbol);
  createDots(duration, headWidth, dotPosition);
  if (GRNoteDot* dot = getDot())
    dot->setOffset(dot->getOffset() + NVPoint{mRightSpace - 0.5f * headWidth * mSize, 0});
  keepRoomForDots();
}

void GRSingleRest::setDotFormat(ARDotFormat const* format) {
  GRRest::setDotFormat(format);
  // The format's default distance keeps a dot clear of a note's flag; a rest has none, and its
  // dots already stand after its ink. A distance the text gives moves them on from there.
  GRNoteDot* dot = getDot();
  TagParameterFloat const* dx = format ? format->getDX() : nullptr;
  if (dot && dx && !ARMTParameter::IsSet(dx))
    dot->setOffset(dot->getOffset() - NVPoint{dx->getValue(mCurLSPACE), 0});
  keepRoomForDots();
}

bool GRSingleRest::adjustLength(Fraction const& duration) {
  mDurationOfGR = duration;
  RemoveAllSubElements();
  createRest(duration);
  setPosition(mPosition);
  return mRestSymbol != 0;
}

int GRSingleRest::getNumFaehnchen() const {
  switch (mRestSymbol) {
    case 97:
      return 1;
    case 64:
      return 2;
    case 174:
      return 3;
    case 108:
      return 4;
    case 47:
      return 5;
    case 249:
      return 6;
    default:
      return 0;
  }
}

void GRSingleRest::setFillsBar(bool fills, GRNotationElement* start, GRNotationElement* end) {
  mFillsBar = fills;
  if (!fills) return;
  mFirstBar = start;
  mLastBar = end;
}

void GRSingleRest::setRestFormat(ARRestFormat* format) {
  if (!format) return;
  MELVARIN_ASSERT(mGrStaff);
  float const ls = mGrStaff->getLineSpace();
  if (format->getPosy()) mPosition.y = -format->getPosy()->getValue(ls);
  NVPoint const before = mOffset;
  if (format->getDX()) mOffset.x = format->getDX()->getValue(ls);
  if (format->getDY()) mOffset.y = format->getDY()->getValue(ls);
  // The dots go where the rest goes.
  if (GRNoteDot* dot = getDot()) dot->setOffset(dot->getOffset() + (mOffset - before));
  mPlacedByScore = mPlacedByScore || format->getPosy() || format->getDY();
  if (format->getSize()) mSize = format->getSize()->getValue(ls);
  if (TagParameterString const* color = format->getColor()) {
    if (!color->getRGB(mColor.make())) mColor.reset();
  }
}

void GRSingleRest::setPosition(NVPoint const& point) {
  GREvent::setPosition(point);
}

void GRSingleRest::getInkExtent(float* top, float* bottom) const {
  float const y = mPosition.y + mOffset.y;
  *top = y - mInkAbove * mSize;
  *bottom = y + mInkBelow * mSize;
}

float GRSingleRest::verticalStep() const {
  bool const bar = mRestSymbol == kWholeBar || mRestSymbol == kHalfBar;
  return bar ? mCurLSPACE : mCurLSPACE / 2;
}

void GRSingleRest::moveVertically(float dy) {
  mPosition.y += dy;
  for (void* pos = First(); pos;) {
    GRNotationElement* element = GetNext(pos);
    element->setPosition(element->getPosition() + NVPoint{0, dy});
  }
  updateBoundingBox();
}

float GRSingleRest::BarFillingCentre(GRNotationElement const* end) const {
  float startX = -1;
  GRStaff const* endStaff = end->getGRStaff();
  GRStaff const* startStaff = mFirstBar ? mFirstBar->getGRStaff() : nullptr;
  if (mFirstBar && startStaff && endStaff && startStaff->getGRSystem() == endStaff->getGRSystem() &&
      mFirstBar->getPosition().x >= 0) {
    startX = mFirstBar->getPosition().x;
  } else if (GRGlue const* glue = OpeningGlue(mGrStaff)) {
    startX = glue->getPosition().x;
  }
  return startX + (end->getPosition().x - startX) / 2;
}

void GRSingleRest::tellPosition(GObject* caller, NVPoint const& point) {
  if (mFillsBar && mLastBar && caller == mLastBar) {
    setHPosition(BarFillingCentre(mLastBar));
  } else if (mNeedsSpring == 0 && mSpringID == -1) {
    setHPosition(point.x);
  }
}

void GRSingleRest::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  VGColor const color = mColor.get() ? VGColor(mColor.get()) : kOpaqueBlack;
  NVPoint const at = mPosition + mOffset;
  ScoreElementDesc desc;
  desc.left = at.x - kRecordMargin;
  desc.top = at.y - kRecordMargin;
  desc.right = at.x + kRecordMargin;
  desc.bottom = at.y + kRecordMargin;
  switch (mRestSymbol) {
    case 47:
    case 64:
    case 97:
    case 108:
    case 165:
    case 174:
    case 249:
      OnDrawSymbol(device, mRestSymbol, 0, 0, 0);
      break;
    case kWholeBar:
    case kHalfBar: {
      device.PushFillColor(color);
      device.PushPen(color, 1);
      float const left = mPosition.x - mBarHalfWidth + mOffset.x;
      float const top = mPosition.y + mOffset.y;
      float const right = mPosition.x + mBarHalfWidth + mOffset.x;
      float const bottom = top + kBarRestHeight * mSize;
      device.Rectangle(left, top, right, bottom);
      device.PopPen();
      device.PopFillColor();
      desc.left = left - kRecordMargin;
      desc.top = top - kRecordMargin;
      desc.right = right + kRecordMargin;
      desc.bottom = bottom + kRecordMargin;
      break;
    }
    default:
      break;
  }
  DrawSubElements(device, map);
  drawArticulations(device, map);
  desc.kind = 1;
  desc.subtype = 11;
  desc.refX = (desc.left + desc.right) / 2;
  desc.refY = (desc.top + desc.bottom) / 2;
  desc.date = static_cast<float>(mRelativeTimePositionOfGR.getValue());
  desc.duration = static_cast<float>(mDurationOfGR.getValue());
  map.AddElement(device, desc);
}
