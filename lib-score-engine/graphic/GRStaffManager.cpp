#include "GRStaffManager.h"

#include "ARMusicalVoice.h"
#include "GRForceRodEntry.h"
#include "GRMusic.h"
#include "GRPage.h"
#include "GRPageText.h"
#include "GRRod.h"
#include "GRSpaceForceFunction2.h"
#include "GRSpacingMatrix.h"
#include "GRSpring.h"
#include "GRStaff.h"
#include "GRStaffState.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "GRVoice.h"
#include "GRVoiceManager.h"
#include "src/common/assertion.h"

float GRStaffManager::sDefaultSystemDistance = 75;
int GRStaffManager::sSystemDistribution = 1;
float GRStaffManager::sSystemDistribLimit = 0.25f;
bool GRStaffManager::sNeedSpecialSpacing = false;
bool GRStaffManager::sOptPageFill = true;

GRStaffManager::GRStaffManager()
    : mStaves(new KF_IVector<GRStaff>(0)),
      mSimpleRods(new GRRodList),
      mComplexRods(new GRRodList),
      mSprings(new KF_IVector<GRSpring>(1)),
      mSpaceForceFunction(new GRSpaceForceFunction2) {}

GRStaffManager::GRStaffManager(GRMusic* music, ARPageFormat* pageFormat) : GRStaffManager() {
  mGrMusic = music;
  mArMusic = music ? music->getARMusic() : nullptr;
  mSpringID = 1;
  mLastSpringID = 0;
  mCurrentPage = new GRPage(music, this, mStartTime, nullptr);
  mCurrentPage->setPageFormat(pageFormat);
  if (music) music->addPage(mCurrentPage);
  mCurrentSlice = new GRSystemSlice(this, mStartTime);
  mCurrentSlice->setSpringIDs(0, -1);
  makeSpringZero();
}

void GRStaffManager::makeSpringZero() {
  auto* spring = new GRSpring(mStartTime, Frac_0);
  spring->setID(0);
  spring->change_const(50);
  mSprings->Set(0, spring);
}

GRStaffManager::~GRStaffManager() {
  // Slices no system took are still the manager's.
  mFinishedSlices.setOwnership(1);
  mFinishedSlices.RemoveAll();
  for (void* pos = mSyncTable.getList()->GetHeadPosition(); pos;)
    delete mSyncTable.getList()->GetNext(pos)->value.list;
  for (void* pos = mSystemTags.getList()->GetHeadPosition(); pos;)
    delete mSystemTags.getList()->GetNext(pos)->value;
  delete mBeginStaffStates;
  delete mStaves;
  delete mVoiceManagers;
  delete mSimpleRods;
  delete mComplexRods;
  delete mSprings;
  delete mSpaceForceFunction;
}

int rodpcomp(GRRod const* a, GRRod const* b) {
  return *a < *b;
}

int GRStaffManager::addSpring(GRSpring* spring) {
  const int id = mSpringID++;
  spring->setID(id);
  spring->setGRSpringID();
  mSprings->Set(id, spring);
  return id;
}

void GRStaffManager::addElementToSpring(GRNotationElement* element, int springid) {
  MELVARIN_ASSERT(springid == 0 || springid == -1);
  if (mSprings->GetCount() == 0) return;
  const int id = springid == 0 ? mSprings->GetMinimum() : mSprings->GetMaximum();
  GRSpring* spring = mSprings->Get(id);
  spring->addElement(element, nullptr);
  element->tellSpringID(id);
  if (springid == 0) spring->recalcConstant();
}

int GRStaffManager::addRod(GRRod* rod, bool mark, bool fromFront, int) {
  const int first = rod->getSpr1();
  const int end = rod->getSpr2();
  if (first < end && mark)
    for (int id = first; id < end; ++id)
      if (GRSpring* spring = mSprings->Get(id)) spring->setFrozen(1);
  (end == first + 1 ? mSimpleRods : mComplexRods)->insertFrom(rod, fromFront);
  return 0;
}

int GRStaffManager::deleteRod(GRRod* rod) {
  (rod->getSpr2() == rod->getSpr1() + 1 ? mSimpleRods : mComplexRods)->remove(rod);
  return 0;
}

void GRStaffManager::createNewSystemRods(int startid, int endid) {
  mFirstSystemRod = nullptr;
  mLastSystemRod = nullptr;
  // Every spring settles its own elements first: a spring's room on the left (accidentals of
  // its notes) counts in the rod from the spring before it.
  for (int k = startid; k < endid; ++k)
    if (GRSpring* spring = mSprings->Get(k)) spring->checkLocalCollisions();
  // The slice's first spring keeps its room from the last one of the slice before (a chord's
  // signs after a bar line).
  GRSpring* before = startid > 0 ? mSprings->Get(startid - 1) : nullptr;
  GRSpring* first = startid < endid ? mSprings->Get(startid) : nullptr;
  if (before && first) {
    const float distance = before->GetMaxDistance(first);
    if (distance > 0) addRod(new GRRod(distance, startid - 1, startid), false, false, 0);
  }
  for (int k = startid; k < endid; ++k) {
    GRSpring* spring = mSprings->Get(k);
    if (!spring) continue;
    GRSpring* next = k + 1 < endid ? mSprings->Get(k + 1) : nullptr;
    if (!next) continue;
    const float distance = spring->GetMaxDistance(next);
    if (distance <= 0) continue;
    mLastSystemRod = new GRRod(distance, k, k + 1);
    if (!mFirstSystemRod) mFirstSystemRod = mLastSystemRod;
    addRod(mLastSystemRod, false, false, 0);
  }
}

// Each gap gets the stiffness of the shortest note that spans it, scaled by how much of that
// note the gap holds.
void GRStaffManager::setSpringConstants(GRSpacingMatrix const& matrix) {
  for (int k = mLastSpringID; k < mSpringID; ++k) {
    GRSpring* spring = mSprings->Get(k);
    GRSpring* next = mSprings->Get(k + 1);
    if (!spring || !next) continue;
    const double d = (next->getTimePosition() - spring->getTimePosition()).getValue();
    if (d <= 0) continue;
    const double m0 = matrix.getMSCMatrix(k, 0);
    const double m3 = matrix.getMSCMatrix(k, 3);
    const double m4 = matrix.getMSCMatrix(k, 4);
    double constant = 0;
    if (sNeedSpecialSpacing && d * m4 > 0) {
      const double x = 1 / m4;
      constant = x / d * GRSpring::defconst(static_cast<float>(x));
    } else if (m0 * d > 0) {
      Fraction f;
      f.set(static_cast<int>(matrix.getMSCMatrix(k, 1)),
            static_cast<int>(matrix.getMSCMatrix(k, 2)));
      if (f.getDenominator() == 0) continue;
      constant = f.getValue() / d * GRSpring::defconst(f);
    } else if (d * m3 > 0) {
      const Fraction frequency(m3);
      Fraction f;
      f.set(frequency.getDenominator(), frequency.getNumerator());
      constant = f.getValue() / d * GRSpring::defconst(f);
    } else {
      continue;
    }
    spring->change_const(static_cast<float>(constant));
  }
}

GRSpaceForceFunction2* GRStaffManager::BuildSFF() {
  auto* sff = new GRSpaceForceFunction2;
  GRSpacingMatrix matrix(mLastSpringID);
  if (matrix.getMSCMatrixRealSize() < mSpringID) matrix.resizeMSCMatrix(mSpringID);
  for (int k = mLastSpringID; k < mSpringID; ++k) {
    GRSpring* spring = mSprings->Get(k);
    GRSpring* next = mSprings->Get(k + 1);
    if (spring && next) spring->change_dur(next->getTimePosition() - spring->getTimePosition());
  }
  for (void* pos = mVoices.GetHeadPosition(); pos;) {
    GRVoice* voice = mVoices.GetNext(pos);
    voice->updateMSCMatrix(sff, &matrix, this, mSprings, mLastSpringID, mSpringID);
    int first = mLastSpringID;
    int end = mSpringID;
    voice->createNewRods(this, first, end);
  }
  if (sNeedSpecialSpacing) matrix.CheckNeighbours(mSprings);
  createNewSystemRods(mLastSpringID, mSpringID);
  setSpringConstants(matrix);
  InitialSpringStretch(mLastSpringID, mSpringID, mSimpleRods, mComplexRods, mSprings);
  for (int k = mLastSpringID; k < mSpringID; ++k)
    if (GRSpring* spring = mSprings->Get(k)) sff->addSpring(spring);
  return sff;
}

namespace {

void bubbleSort(KF_IPointerList<GRForceRodEntry>& entries) {
  entries.sort(GRForceRodEntry::comp);
}

}  // namespace

void GRStaffManager::InitialSpringStretch(int startid, int endid, GRRodList* tmpsimplerods,
                                          GRRodList* tmpcomplexrods,
                                          KF_IVector<GRSpring>* tmpsprvect, std::ofstream*) {
  MELVARIN_ASSERT(tmpsimplerods);
  MELVARIN_ASSERT(tmpcomplexrods);
  MELVARIN_ASSERT(tmpsprvect);
  std::vector<GRRod*> rods;
  // A simple rod lies inside the springs when it starts there; a spring takes the longest rod.
  tmpsimplerods->collectStartingIn(startid, endid, rods);
  for (GRRod* rod : rods)
    if (GRSpring* spring = tmpsprvect->Get(rod->getSpr1())) spring->setlength(rod->getLength());

  // The complex rods that touch the springs, in list order: those reaching in from before, then
  // those starting inside (with no springs, those reaching over the place).
  rods.clear();
  if (startid < endid) {
    tmpcomplexrods->collectReaching(startid, startid, rods);
    tmpcomplexrods->collectStartingIn(startid, endid, rods);
  } else {
    tmpcomplexrods->collectReaching(startid + 1, endid - 1, rods);
  }
  KF_IPointerList<GRForceRodEntry> entries(1);
  for (GRRod* rod : rods) {
    const float force = rod->calcforce(tmpsprvect);
    if (force > 0) entries.AddTail(new GRForceRodEntry{force, rod});
  }
  bubbleSort(entries);

  while (!entries.IsEmpty()) {
    GRForceRodEntry* last = entries.GetTail();
    const float force = last->force;
    GRRod* stretched = last->rod;
    entries.RemoveElementAt(entries.GetTailPosition());
    if (force == 0) break;
    if (stretched->getSpr1() >= startid && stretched->getSpr2() <= endid)
      stretched->stretchsprings(force, tmpsprvect);
    bool changed = false;
    for (void* pos = entries.GetHeadPosition(); pos;) {
      void* here = pos;
      GRForceRodEntry* entry = entries.GetNext(pos);
      if (!entry->rod->resetForce(*stretched)) continue;
      entry->force = entry->rod->calcforce(tmpsprvect);
      changed = true;
      if (entry->force == 0) entries.RemoveElementAt(here);
    }
    if (changed) bubbleSort(entries);
  }
}

float GRStaffManager::getSystemWidthCm() {
  return mCurrentSystem ? mCurrentSystem->getSystemWidthCm() : 0;
}

namespace {

Fraction timeAt(ARMusicalVoice* voice, void* position) {
  void* at = position;
  ARMusicalObject* object =
      voice && at ? static_cast<KF_IPointerList<ARMusicalObject>*>(voice)->GetNext(at) : nullptr;
  return object ? object->getRelativeTimePosition() : Frac_0;
}

}  // namespace

void GRStaffManager::EndPage(ARMusicalVoice* voice, void* position) {
  setRelativeEndTimePosition(timeAt(voice, position));
}

void GRStaffManager::EndSystem(ARMusicalVoice* voice, void* position) {
  setRelativeEndTimePosition(timeAt(voice, position));
}

void GRStaffManager::setRelativeEndTimePosition(Fraction const& tp) {
  mDuration = tp - mStartTime;
}

int GRStaffManager::AddPageTag(GRNotationElement* element, GRStaff*, int) {
  if (!element || !mCurrentPage) return 0;
  if (auto* text = dynamic_cast<GRPageText*>(element)) {
    text->setGRPage(mCurrentPage);
    text->calcPosition();
  }
  mCurrentPage->AddTail(element);
  return 0;
}
