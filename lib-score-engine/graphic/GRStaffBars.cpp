// The bar lines, repeat signs and dynamics a voice writes on a staff, and the elements a
// resumed spanner places at a given point of the list; and the staff's listing.

#include <cstdio>

#include "ARBar.h"
#include "ARBarFormat.h"
#include "ARDoubleBar.h"
#include "ARFinishBar.h"
#include "ARIntens.h"
#include "ARRepeatBegin.h"
#include "ARRepeatEnd.h"
#include "GRBar.h"
#include "GRDoubleBar.h"
#include "GRFinishBar.h"
#include "GRIntens.h"
#include "GRRepeatBegin.h"
#include "GRRepeatEnd.h"
#include "GRStaff.h"
#include "GRSystemSlice.h"
#include "TagParameterString.h"

void GRStaff::startBarMeasure(ARBar const* bar) {
  startMeasure();
  const int number = bar->getBarNumber();
  mStaffState.curmeasurenum = number != -1 ? number : mStaffState.curmeasurenum + 1;
}

bool GRStaff::barsAcrossSystem() const {
  ARBarFormat const* format = mStaffState.curbarfrmt;
  TagParameterString const* style = format ? format->getStyle() : nullptr;
  return style && *style == "system";
}

GRNotationElement* GRStaff::AddBar(ARBar* bar, Fraction const& tp) {
  startBarMeasure(bar);
  auto* grbar = new GRBar(bar, this, tp);
  addNotationElement(grbar);
  if (mGrSystemSlice && barsAcrossSystem()) mGrSystemSlice->addBar(grbar, 0, this);
  return grbar;
}

GRNotationElement* GRStaff::AddDoubleBar(ARDoubleBar* bar, Fraction const& tp) {
  startBarMeasure(bar);
  auto* grbar = new GRDoubleBar(bar, this, tp);
  addNotationElement(grbar);
  return grbar;
}

GRNotationElement* GRStaff::AddFinishBar(ARFinishBar* bar, Fraction const& tp) {
  startBarMeasure(bar);
  auto* grbar = new GRFinishBar(bar, this, tp);
  addNotationElement(grbar);
  if (mGrSystemSlice && barsAcrossSystem()) mGrSystemSlice->addFinishBar(grbar, 0, this);
  return grbar;
}

GRNotationElement* GRStaff::AddRepeatBegin(ARRepeatBegin* repeat) {
  // It opens a measure, either after a bar line or in place of one: the accidentals start over,
  // the count of measures goes on with the bar line's.
  startMeasure();
  auto* grrepeat = new GRRepeatBegin(repeat, false);
  // It stands on this staff as a bar line does, so the notes after it, on the next slice too,
  // keep their signs clear of its dots.
  grrepeat->setGRStaff(this);
  addNotationElement(grrepeat);
  return grrepeat;
}

GRNotationElement* GRStaff::AddRepeatEnd(ARRepeatEnd* repeat) {
  if (repeat->getNumRepeat() != 0 && repeat->getRange()) return nullptr;
  // The repeat sign stands where a bar line would and ends the measure as one does.
  startBarMeasure(repeat);
  auto* grrepeat = new GRRepeatEnd(repeat, this, repeat->getRelativeTimePosition());
  addNotationElement(grrepeat);
  return grrepeat;
}

GRNotationElement* GRStaff::AddIntens(ARIntens* intens) {
  auto* grintens = new GRIntens(this, intens);
  addNotationElement(grintens);
  mHoldsDynamicMarks = true;
  mDynamicMarks.push_back(grintens);
  return grintens;
}

void GRStaff::AddElementAt(void* position, GRNotationElement* element) {
  if (!position || position == mCompElements.GetHeadPosition())
    mCompElements.AddHead(element);
  else
    mCompElements.AddElementAt(position, element);
  noteText(element);
}

void GRStaff::print() const {
  std::fprintf(stderr, "GRStaff::print(): %.2f-%.2f ", mRelativeTimePositionOfGR.getValue(),
               getRelativeEndTimePosition().getValue());
  for (void* pos = mCompElements.GetHeadPosition(); pos;) mCompElements.GetNext(pos)->print();
  std::fprintf(stderr, "\n");
}
