// The staff manager's time walk: all voice managers advance together, a tag pass and an event
// pass at each time, and the breaks the voices ask for close slices and run the line breaker.

#include "ARABreak.h"
#include "ARAuto.h"
#include "ARMusic.h"
#include "ARMusicalVoice.h"
#include "GRChordTag.h"
#include "GRMusic.h"
#include "GRPage.h"
#include "GRPassResult.h"
#include "GRPossibleBreakState.h"
#include "GRSpring.h"
#include "GRStaff.h"
#include "GRStaffManager.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "GRVoiceManager.h"
#include "engine_globals.h"
#include "engine_work.h"
#include "src/common/assertion.h"

void GRStaffManager::createStaves(std::uint64_t stepLimit) {
  delete mVoiceManagers;
  mVoiceManagers = new KF_IVector<GRVoiceManager>(1);
  if (mArMusic) {
    int index = 0;
    for (void* pos = mArMusic->GetHeadPosition(); pos; ++index)
      mVoiceManagers->Set(index, new GRVoiceManager(this, mArMusic->GetNext(pos), index));
  }
  for (int i = 0; i < getNumVoices(); ++i) {
    GRVoiceManager* manager = mVoiceManagers->Get(i);
    if (!manager) continue;
    manager->BeginManageVoice();
    // The voices give each slice its rods between their own elements, the first of them
    // keeping a line's opening clef clear of the staff's start.
    if (GRVoice* voice = manager->getGRVoice()) addVoice(voice);
  }

  Fraction now = mStartTime;
  int mode = GRVoiceManager::kTagPass;
  float usedHeight = 0;
  float breakValue = 0;
  bool musicBegun = false;
  while (true) {
    if (EngineWork::ListSteps() > stepLimit) {
      mRanOutOfWork = true;
      FinishSyncSlice(now);
      break;
    }
    GRPassResult pass{mode};
    for (int i = 0; i < getNumVoices(); ++i) {
      GRVoiceManager* manager = mVoiceManagers->Get(i);
      if (!manager) continue;
      Fraction t = now;
      const int code = manager->Iterate(t, mode);
      pass.take(code, t, manager->getPossibleBreakValue());
    }
    breakValue = pass.breakValue;

    if (mode == GRVoiceManager::kTagPass) {
      if (pass.tagPassAgain) continue;
      FinishSyncSlice(now);
      const bool musicOver = mArMusic && now >= mArMusic->getDuration();
      if ((!musicBegun || musicOver) && (pass.breakKind == 1 || pass.breakKind == 2)) {
        // A new system or page before the first event or after the last would only leave a
        // line or a page without music: the voices pass over the break, and its distance goes
        // with it.
        for (int i = 0; i < getNumVoices(); ++i)
          if (GRVoiceManager* manager = mVoiceManagers->Get(i)) manager->DoBreak(now, 0);
        mPendingSystemDistance = -1;
        mode = GRVoiceManager::kTagPass;
      } else {
        if (pass.breakKind != 0) handleBreak(pass.breakKind, now, usedHeight, breakValue);
        mode = pass.breakKind != 0 ? GRVoiceManager::kTagPass : GRVoiceManager::kEventPass;
      }
    } else {
      musicBegun = true;
      // The springs of this pass hold the events that began at now.
      const Fraction handled = now;
      if (pass.isStuck()) {
        RidevUzuze("No voice offers a next time while one is unfinished: the layout ends here");
        FinishSyncSlice(handled);
        break;
      }
      if (pass.nextTime != Frac_Max) now = pass.nextTime;
      mode =
          pass.zeroDurationMinimum == now ? GRVoiceManager::kTagPass : GRVoiceManager::kEventPass;
      FinishSyncSlice(handled);
    }
    if (pass.allFinished) break;
  }

  if (mSprings->GetCount() > 0 && mSpringID > mLastSpringID) closeSliceAtBreak(now, breakValue);
  FindOptimumBreaks(0, usedHeight);
  // A walk that stopped for want of work right after a break leaves the slice opened there
  // unclosed: no system takes it.
  if (mRanOutOfWork) {
    delete mCurrentSlice;
    mCurrentSlice = nullptr;
  }
}

void GRStaffManager::closeSliceAtBreak(Fraction const& tp, float breakValue) {
  if (!mCurrentSlice) return;
  auto* state = new GRPossibleBreakState;
  state->setSpaceForceFunction(BuildSFF());
  state->SaveState(mStaves, mVoiceManagers, this, tp, 0, breakValue);
  mCurrentSlice->addPossibleBreakState(state);
  mCurrentSlice->setNumber(mFinishedSlices.GetCount() + 1);
  mCurrentSlice->setSpringIDs(mCurrentSlice->getStartSpringID(), mSpringID - 1);
  mCurrentSlice->Finish();
  mFinishedSlices.AddTail(mCurrentSlice);
  mCurrentSlice = nullptr;
  mLastSpringID = mSpringID;
}

void GRStaffManager::resetSpacing() {
  delete mSimpleRods;
  delete mComplexRods;
  delete mSprings;
  mSimpleRods = new GRRodList;
  mComplexRods = new GRRodList;
  mSprings = new KF_IVector<GRSpring>(1);
  mFirstSystemRod = nullptr;
  mLastSystemRod = nullptr;
  makeSpringZero();
  mSyncCounter = 1;
  mSpringID = 1;
  mLastSpringID = 0;
}

void GRStaffManager::handleBreak(int kind, Fraction const& tp, float& usedHeight,
                                 float breakValue) {
  closeSliceAtBreak(tp, breakValue);
  if (kind == 1 || kind == 2) {
    usedHeight = FindOptimumBreaks(kind, usedHeight);
    resetSpacing();
  }
  if (kind == 2) {
    NewPage(new GRPage(mGrMusic, this, tp, mCurrentPage));
    usedHeight = 0;
  }
  mCurrentSlice = new GRSystemSlice(this, tp);
  mCurrentSlice->setSpringIDs(kind == 3 ? mSpringID : 0, -1);
  // The staves of the next slice go on from where these end: clef, key, octava and the signs
  // of the bar, which a break inside a bar does not end.
  for (int i = mStaves->GetMinimum(); i <= mStaves->GetMaximum(); ++i)
    if (GRStaff* staff = mStaves->Get(i)) mBeginStaffStates[i] = staff->getStaffState();
  delete mStaves;
  mStaves = new KF_IVector<GRStaff>(0);
  for (int i = 0; i < getNumVoices(); ++i)
    if (GRVoiceManager* manager = mVoiceManagers->Get(i)) manager->DoBreak(tp, kind);
}

void GRStaffManager::EndStaves(Fraction const& tp, int lastSlice) {
  auto* spring = new GRSpring(tp, Frac_0);
  spring->setFrozen(1);
  addSpring(spring);
  for (int i = mStaves->GetMinimum(); i <= mStaves->GetMaximum(); ++i)
    if (GRStaff* staff = mStaves->Get(i)) staff->EndStaff(tp, this, nullptr, lastSlice);
  for (int i = 0; i < getNumVoices(); ++i)
    if (GRVoiceManager* manager = mVoiceManagers->Get(i)) manager->closeOpenTags();
}

int GRStaffManager::getNumVoices() const {
  return mVoiceManagers ? mVoiceManagers->GetCount() : 0;
}

void GRStaffManager::NewPage(GRPage* page) {
  mCurrentPage = page;
  if (mGrMusic) mGrMusic->addPage(page);
}

void GRStaffManager::setPageFormat(ARPageFormat* format) {
  if (mCurrentPage) mCurrentPage->setPageFormat(format);
}

void GRStaffManager::setBarFormat(ARBarFormat* format, GRStaff* staff) {
  if (staff) staff->setBarFormat(format);
}

bool GRStaffManager::IsAutoPageBreak() const {
  if (mAutoTag) return mAutoTag->getPageBreak() != ARAuto::OFF;
  if (mAutoBreakTag) return mAutoBreakTag->getPageBreakState() != ARABreak::OFF;
  return true;
}

GRGlobalStem* GRStaffManager::getOtherGlobalStem(GRSystemSlice*, GRVoiceManager* asking,
                                                 NVstring const& label) {
  if (!mVoiceManagers || !asking) return nullptr;
  for (int i = 0; i < getNumVoices(); ++i) {
    GRVoiceManager* other = mVoiceManagers->Get(i);
    if (!other || other == asking || !other->getCurChordTag() || !other->getCurGlobalStem())
      continue;
    if (!other->getCurChordTag()->getLabel().equal(label.c_str())) continue;
    const bool eitherIdle = !other->getCurrentObject() || !asking->getCurrentObject();
    if (eitherIdle || other->getCurTimePosition() == asking->getCurTimePosition())
      return other->getCurGlobalStem();
  }
  return nullptr;
}
