// The lines of a staff. The staves of one number in the slices of a line draw them as one stroke
// per line for as long as their lines agree: strokes meeting end to end would darken the line
// where their antialiased ends overlap. Where a staff format changes the lines, the new ones
// take over at the bar line that closes the last measure of the old ones.

#include "GRBar.h"
#include "GRGlue.h"
#include "GRPositionTag.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "VGColor.h"
#include "VGDevice.h"

namespace {

constexpr float kPenWidth = 4;

bool SameLines(GRStaff const& a, GRStaff const& b) {
  return a.getNumlines() == b.getNumlines() && a.getLineSpace() == b.getLineSpace();
}

}  // namespace

GRStaff::LineNeighbours GRStaff::lineNeighbours() const {
  LineNeighbours found;
  GRSystem const* system = getGRSystem();
  if (!system || !mGrSystemSlice || mGrSystemSlice->getGRSystem() != system) return found;
  int const number = mGrSystemSlice->getStaffNumber(this);
  GRSystemSlice const* previous = mGrSystemSlice->getPreviousOnLine();
  GRSystemSlice const* next = mGrSystemSlice->getNextOnLine();
  found.opensSystem = !previous;
  found.before = previous ? previous->getStaff(number) : nullptr;
  found.after = next ? next->getStaff(number) : nullptr;
  return found;
}

float GRStaff::linesGiveWayAt(GRStaff const& next) const {
  for (void* pos = mCompElements.GetTailPosition(); pos;) {
    GRNotationElement const* element = mCompElements.GetPrev(pos);
    if (dynamic_cast<GRGlue const*>(element) || dynamic_cast<GRPositionTag const*>(element))
      continue;
    auto const* bar = dynamic_cast<GRBar const*>(element);
    if (bar && bar->getRelativeTimePosition() == next.getRelativeTimePosition())
      return bar->getPosition().x;
    break;
  }
  return next.getPosition().x;
}

float GRStaff::linesLeft(LineNeighbours const& around) const {
  if (around.before && !SameLines(*around.before, *this))
    return around.before->linesGiveWayAt(*this);
  return mPosition.x;
}

float GRStaff::linesRight(LineNeighbours const& around) const {
  if (around.after && !SameLines(*this, *around.after)) return linesGiveWayAt(*around.after);
  return mPosition.x + mLength;
}

void GRStaff::drawLines(VGDevice& device) const {
  LineNeighbours const around = lineNeighbours();
  // The staff before on the line drew these lines on.
  if (around.before && SameLines(*around.before, *this)) return;
  // The run goes on over the staves of this number in the next slices while their lines agree.
  GRStaff const* last = this;
  LineNeighbours atLast = around;
  if (around.after) {
    int const number = mGrSystemSlice->getStaffNumber(this);
    for (GRSystemSlice const* slice = mGrSystemSlice->getNextOnLine(); slice;
         slice = slice->getNextOnLine()) {
      GRStaff const* next = slice->getStaff(number);
      atLast.after = next;
      if (!next || !SameLines(*this, *next)) break;
      last = next;
      atLast.after = nullptr;
    }
  }
  float left = linesLeft(around);
  float right = last->linesRight(atLast);
  // The pen's square ends reach half its width past a line's ends: lines of two formats meet
  // end to end where they change.
  float const half = kPenWidth / 2;
  if (around.before) left += half;
  if (atLast.after) right -= half;

  device.PushPen(VGColor(0, 0, 0, 122), kPenWidth);
  float const space = getLineSpace();
  for (int i = 0; i < getNumlines(); ++i) {
    float const y = mPosition.y + i * space;
    device.Line(left, y, right, y);
  }
  // Where the system begins the lines close with a vertical one, drawn between them so that it
  // crosses none.
  if (around.opensSystem && space > 2 * kPenWidth)
    for (int i = 0; i + 1 < getNumlines(); ++i) {
      float const y = mPosition.y + i * space;
      device.Line(mPosition.x, y + space - kPenWidth, mPosition.x, y + kPenWidth);
    }
  device.PopPen();
}
