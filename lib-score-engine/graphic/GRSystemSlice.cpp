#include "GRSystemSlice.h"
#include "ARCast.h"

#include <algorithm>

#include "ARBar.h"
#include "ARFinishBar.h"
#include "ARMusicalEvent.h"
#include "GRBar.h"
#include "GRFinishBar.h"
#include "GRGlue.h"
#include "GRIntens.h"
#include "GRPossibleBreakState.h"
#include "GRSpaceForceFunction2.h"
#include "GRSpring.h"
#include "GRStaff.h"
#include "GRStaffManager.h"
#include "GRSystem.h"
#include "NEPointerList.h"
#include "ScoreElementDesc.h"
#include "VScoreSymbolMap.h"
#include "graphic_globals.h"
#include "src/common/assertion.h"

GRSystemSlice::GRSystemSlice(GRStaffManager* manager, Fraction const& tp)
    : GREvent(nullptr, new ARMusicalEvent(tp, Frac_0), true),
      mBeginSFF(manager ? manager->getCurrentBegSFF() : nullptr),
      mStaffs(new KF_IVector<GRStaff>(1)) {}

GRSystemSlice::~GRSystemSlice() {
  // The line closes up behind a slice that goes before its neighbours.
  if (mPreviousOnLine) mPreviousOnLine->mNextOnLine = mNextOnLine;
  if (mNextOnLine) mNextOnLine->mPreviousOnLine = mPreviousOnLine;
  delete mSpaceForceFunction;
  delete mStartGlue;
  delete mEndGlue;
  delete mStaffs;
  delete mPossibleBreakState;
}

void GRSystemSlice::followOnLine(GRSystemSlice* previous) {
  mPreviousOnLine = previous;
  if (previous) previous->mNextOnLine = this;
}

void GRSystemSlice::addPossibleBreakState(GRPossibleBreakState* state) {
  delete mPossibleBreakState;
  mPossibleBreakState = state;
}

GRStaff* GRSystemSlice::getStaff(int number) const {
  return mStaffs->Get(number);
}

void GRSystemSlice::addStaff(GRStaff* newStaff, int number) {
  MELVARIN_ASSERT(newStaff);
  mStaffs->Set(number, newStaff);
}

void GRSystemSlice::getStaffRange(int& lowest, int& highest) const {
  lowest = 0;
  highest = -1;
  if (mStaffs->GetCount() == 0) return;
  lowest = mStaffs->GetMinimum();
  highest = mStaffs->GetMaximum();
}

int GRSystemSlice::getStaffNumber(GRStaff const* staff) const {
  if (mStaffs->GetCount() == 0) return -1;
  for (int i = mStaffs->GetMinimum(); i <= mStaffs->GetMaximum(); ++i)
    if (mStaffs->Get(i) == staff) return i;
  return -1;
}

void GRSystemSlice::setSpaceForceFunction(GRSpaceForceFunction2* sff) {
  if (sff != mSpaceForceFunction) delete mSpaceForceFunction;
  mSpaceForceFunction = sff;
}

GRSpaceForceFunction2* GRSystemSlice::getSpacing() const {
  if (mSpaceForceFunction) return mSpaceForceFunction;
  return mPossibleBreakState ? mPossibleBreakState->getSpaceForceFunction() : nullptr;
}

void GRSystemSlice::setStartGlue(GRGlue* glue) {
  if (glue != mStartGlue) delete mStartGlue;
  mStartGlue = glue;
}

void GRSystemSlice::setEndGlue(GRGlue* glue) {
  if (glue != mEndGlue) delete mEndGlue;
  mEndGlue = glue;
}

void GRSystemSlice::addBar(GRBar* bar, int, GRStaff* staff) {
  ARBar* arbar = bar->getARBar();
  MELVARIN_ASSERT(arbar);
  auto* systemBar = new GRBar(arbar, nullptr, staff, bar->getRelativeTimePosition());
  bar->addAssociation(systemBar);
  mElements.AddTail(systemBar);
}

void GRSystemSlice::addFinishBar(GRFinishBar* bar, int, GRStaff* staff) {
  auto* arbar = ar_cast<ARFinishBar>(bar->getARBar());
  MELVARIN_ASSERT(arbar);
  auto* systemBar = new GRFinishBar(arbar, nullptr, staff, bar->getRelativeTimePosition());
  bar->addAssociation(systemBar);
  mElements.AddTail(systemBar);
}

void GRSystemSlice::tellPosition(GObject* obj, NVPoint const& point) {
  if (!obj || mStaffs->GetCount() == 0) return;
  const int first = mStaffs->GetMinimum();
  const int last = mStaffs->GetMaximum();
  if (obj == mStartGlue) {
    for (int i = first; i <= last; ++i)
      if (GRStaff* staff = mStaffs->Get(i)) staff->setHPosition(point.x);
  } else if (obj == mEndGlue) {
    float width = 0;
    if (mGrSystem)
      if (GRSpring const* spring = mGrSystem->getGRSpring(mEndGlue->getSpringID()))
        width = spring->getExtent();
    for (int i = first; i <= last; ++i)
      if (GRStaff* staff = mStaffs->Get(i))
        staff->setLength(point.x + width - staff->getPosition().x);
  }
}

void GRSystemSlice::Finish() {
  if (mStaffs->GetCount() == 0) return;
  float y = 0;
  GRStaff const* previous = nullptr;
  const int highest = mStaffs->GetMaximum();
  for (int i = mStaffs->GetMinimum(); i <= highest; ++i) {
    GRStaff* staff = mStaffs->Get(i);
    if (!staff) continue;
    // Dynamic marks go below the notes at their date before the staff takes their room; most
    // staves hold none, and the walk over their notes would find nothing to move.
    if (staff->holdsDynamicMarks()) GRIntens::StandBelowEvents(*staff);
    staff->updateBoundingBox();
    float top = staff->getBoundingBox().top;
    float bottom = staff->getBoundingBox().bottom;
    if (mBeginSFF) {
      top = std::min(top, mBeginSFF->getFirstVector().Get(i));
      bottom = std::max(bottom, mBeginSFF->getSecondVector().Get(i));
    }
    if (i != highest) bottom += staff->getLineSpace();
    if (previous && !previous->getStaffState().distanceset) y -= top;
    staff->setPosition(NVPoint{0, y});
    if (!previous) mBoundingBox.top = staff->getBoundingBox().top;
    GRStaffState const& state = staff->getStaffState();
    y += state.distanceset ? staff->getDredgeSize() + state.distance : bottom;
    previous = staff;
  }
  mBoundingBox.bottom = y;
}

void GRSystemSlice::FinishSlice() {
  if (mStaffs->GetCount() == 0) return;
  NVRect staves;
  for (int i = mStaffs->GetMinimum(); i <= mStaffs->GetMaximum(); ++i) {
    GRStaff* staff = mStaffs->Get(i);
    if (!staff) continue;
    staff->FinishStaff();
    NVRect box = staff->getBoundingBox();
    box += NVPoint{staff->getPosition().x - mPosition.x, staff->getPosition().y};
    staves.Merge(box);
  }
  mBoundingBox.Merge(staves);
}

void GRSystemSlice::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  NotifyNewScoreElement(device, map);
  if (mStaffs->GetCount() == 0) return;
  for (int i = mStaffs->GetMinimum(); i <= mStaffs->GetMaximum(); ++i) {
    GRStaff const* staff = mStaffs->Get(i);
    if (!staff) continue;
    gCurStaff = staff;
    staff->OnDraw(device, map);
  }
}

void GRSystemSlice::NotifyNewScoreElement(VGDevice& device, VScoreSymbolMap& map) const {
  ScoreElementDesc desc = PlacedElementDesc(6, 0);
  desc.refX = desc.refY = 0;
  map.AddElement(device, desc);
}
