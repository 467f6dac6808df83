#include "GRStaffManager.h"

#include <algorithm>
#include <vector>

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
#include "engine_work.h"
#include "room_across_marks.h"
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

namespace {

// How many springs back a note keeps its room from notes across the springs between.
constexpr int kMostSpringsAcross = 4;

}  // namespace

// Within a slice, a note keeps its room from the notes a few springs back with rods across the
// springs between; the slice's first note has only the rod from the spring just before it, which
// the line breaker carries over the slice's start. That rod takes in the room across too, less
// what the springs between already hold: the signs of the first note would stand on the ledger
// lines of the slice's last note where another staff's note falls between them.
float GRStaffManager::RoomFromSliceBefore(int startid) const {
  GRSpring const* first = mSprings->Get(startid);
  if (!first || !first->holdsEvent()) return 0;
  float room = 0;
  float held = 0;  // what the springs between hold already
  for (int id = startid - 2; id >= std::max(0, startid - kMostSpringsAcross); --id) {
    GRSpring const* earlier = mSprings->Get(id);
    if (!earlier) break;
    held += earlier->getExtent();
    if (earlier->holdsEvent() || earlier->containsBar())
      room = std::max(room, RoomBetween(*earlier, *first) - held);
    if (earlier->containsBar()) break;
  }
  return room;
}

void GRStaffManager::createNewSystemRods(int startid, int endid) {
  mFirstSystemRod = nullptr;
  mLastSystemRod = nullptr;
  // Every spring settles its own elements first: a spring's room on the left (accidentals of
  // its notes) counts in the rod from the spring before it.
  for (int k = startid; k < endid; ++k)
    if (GRSpring* spring = mSprings->Get(k)) spring->checkLocalCollisions();
  for (int k = startid; k < endid; ++k)
    if (GRSpring* spring = mSprings->Get(k)) spring->keepBarRestsClear(*mSprings, endid);
  keepRoomForGraceNotes(startid, endid);
  // The slice's first spring keeps its room from the last one of the slice before (a chord's
  // signs after a bar line), and the events on either side of the slice's start keep theirs
  // across marks standing between them.
  GRSpring* before = startid > 0 ? mSprings->Get(startid - 1) : nullptr;
  GRSpring* first = startid < endid ? mSprings->Get(startid) : nullptr;
  // Each spring's heads are measured once, for the spring before it and the one after it.
  mHeads.measure(first);
  if (before && first) {
    mNextHeads.measure(before);
    before->setHeadsApart(mNextHeads.distanceTo(mHeads));
    const float distance =
        std::max({RoomBetween(*before, *first), RoomAcrossSliceStart(*mSprings, startid, endid),
                  RoomFromSliceBefore(startid)});
    if (distance > 0) addRod(new GRRod(distance, startid - 1, startid), false, false, 0);
  }
  // The last spring with an event before the one looked at, while only marks stand between.
  GRSpring* lastEvent = nullptr;
  int lastEventID = -1;
  for (int k = startid; k < endid; ++k) {
    GRSpring* spring = mSprings->Get(k);
    GRSpring* next = k + 1 < endid ? mSprings->Get(k + 1) : nullptr;
    mNextHeads.measure(next);
    if (spring && next) spring->setHeadsApart(mHeads.distanceTo(mNextHeads));
    std::swap(mHeads, mNextHeads);
    if (spring && spring->holdsEvent()) {
      lastEvent = spring;
      lastEventID = k;
    } else if (!spring || spring->containsBar()) {
      lastEvent = nullptr;
    }
    if (!spring || !next) continue;
    // A dynamic or a text standing between two events has a spring of its own, which holds
    // nothing at the heads' height: the later event's signs keep clear of the earlier one's
    // heads across it.
    if (lastEvent && lastEventID < k && next->holdsEvent()) {
      const float across = RoomBetween(*lastEvent, *next);
      if (across > 0) addRod(new GRRod(across, lastEventID, k + 1), false, false, 0);
    }
    // So do springs holding only the notes of other staves or voices, which fall between two
    // notes of a staff in time: the later note's signs keep clear of the earlier one's heads
    // across them, the springs just before it looked at. A key, clef or meter changed within the
    // line reaches over the staff as a bar line does: a chord's signs behind a dynamic would
    // stand on its sharps.
    if (next->holdsEvent())
      for (int id = std::max(startid, k - kMostSpringsAcross); id < k; ++id) {
        GRSpring* earlier = mSprings->Get(id);
        if (!earlier || id == lastEventID ||
            !(earlier->holdsEvent() || earlier->containsBar() || earlier->holdsStaffSign()))
          continue;
        const float across = RoomBetween(*earlier, *next);
        if (across > 0) addRod(new GRRod(across, id, k + 1), false, false, 0);
      }
    const float distance = RoomBetween(*spring, *next);
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
    spring->change_const(static_cast<float>(constant) / spring->staffScale());
  }
}

void GRStaffManager::keepHeadsAirOfShortSprings(int startid, int endid) {
  // A line is set no tighter than its heads keep their air at (see the line breaker), but a
  // spring so short that only a force beyond the optimum would stretch it that far is left to
  // its rods: a triplet's note and another voice's eighth just after it would stand rim to rim.
  // The spring before the slice's first keeps its rod from this slice.
  const float optimum = GRSpaceForceFunction2::getOptForce();
  for (int k = std::max(startid - 1, 0); k < endid; ++k) {
    GRSpring* spring = mSprings->Get(k);
    if (!spring || !mSprings->Get(k + 1)) continue;
    const float wanted = HeadsApartWithAir(*spring);
    if (wanted > 0 && wanted * spring->getConstant() > optimum)
      addRod(new GRRod(wanted, k, k + 1), false, false, 0);
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
  keepHeadsAirOfShortSprings(mLastSpringID, mSpringID);
  InitialSpringStretch(mLastSpringID, mSpringID, mSimpleRods, mComplexRods, mSprings);
  for (int k = mLastSpringID; k < mSpringID; ++k)
    if (GRSpring* spring = mSprings->Get(k)) sff->addSpring(spring);
  return sff;
}

namespace {

// An entry and its place in the order before the forces changed.
struct PlacedEntry {
  GRForceRodEntry entry;
  std::size_t place;
};

// Whether a goes before b in a stable sort by force: by comp, and in their former order when
// comp finds them equal.
bool GoesBefore(PlacedEntry const& a, PlacedEntry const& b) {
  const int order = GRForceRodEntry::comp(&a.entry, &b.entry);
  return order != 0 ? order < 0 : a.place < b.place;
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
  // The entries stay sorted by force, stably: after each stretch the entries whose force
  // changed are sorted again among themselves and merged back among the others, which were in
  // order already. Sorting all of them again after every rod cost a slice of some thousand rods
  // seconds.
  std::vector<GRForceRodEntry> entries;
  for (GRRod* rod : rods) {
    const float force = rod->calcforce(tmpsprvect);
    if (force > 0) entries.push_back({force, rod});
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](GRForceRodEntry const& a, GRForceRodEntry const& b) {
                     return GRForceRodEntry::comp(&a, &b) < 0;
                   });
  std::vector<PlacedEntry> kept;
  std::vector<PlacedEntry> changed;
  while (!entries.empty()) {
    const GRForceRodEntry last = entries.back();
    entries.pop_back();
    if (last.force == 0) break;
    GRRod* stretched = last.rod;
    if (stretched->getSpr1() >= startid && stretched->getSpr2() <= endid)
      stretched->stretchsprings(last.force, tmpsprvect);
    kept.clear();
    changed.clear();
    for (std::size_t place = 0; place < entries.size(); ++place) {
      ++EngineWork::tListSteps;
      GRForceRodEntry entry = entries[place];
      if (!entry.rod->resetForce(*stretched)) {
        kept.push_back({entry, place});
        continue;
      }
      entry.force = entry.rod->calcforce(tmpsprvect);
      if (entry.force != 0) changed.push_back({entry, place});
    }
    if (kept.size() == entries.size()) continue;
    std::stable_sort(changed.begin(), changed.end(), GoesBefore);
    entries.clear();
    std::size_t k = 0;
    std::size_t c = 0;
    while (k < kept.size() || c < changed.size()) {
      const bool takeChanged =
          k == kept.size() || (c < changed.size() && GoesBefore(changed[c], kept[k]));
      entries.push_back(takeChanged ? changed[c++].entry : kept[k++].entry);
    }
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
