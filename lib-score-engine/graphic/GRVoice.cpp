#include "GRVoice.h"

#include <algorithm>
#include "ARCast.h"

#include "ARMusicalVoice.h"
#include "ARSpace.h"
#include "GRBar.h"
#include "GRClef.h"
#include "GRIntens.h"
#include "GRRod.h"
#include "GRSpace.h"
#include "GRSpacingMatrix.h"
#include "GRStaffManager.h"
#include "src/common/assertion.h"

GRVoice::GRVoice(ARMusicalObject* voice, bool ownsAR)
    : GRARCompositeNotationElement(voice, ownsAR) {
  mCompElements.setOwnership(0);
}

GRVoice::~GRVoice() = default;

ARMusicalVoice* GRVoice::getARMusicalVoice() const {
  return ar_cast<ARMusicalVoice>(const_cast<GRVoice*>(this)->getAbstractRepresentation());
}

void* GRVoice::AddTail(GRNotationElement* element) {
  void* pos = mCompElements.AddTail(element);
  if (mFirstElementPending) {
    mSystemStartPos = pos;
    mFirstElementPending = false;
  }
  return pos;
}

void GRVoice::resetForNewLine() {
  mSystemStartPos = nullptr;
  mFirstElementPending = true;
  mLastRodPos = nullptr;
  mLastRod = nullptr;
}

void GRVoice::startNewSystem(GRSystem* system) {
  mSystems.push_back(SystemNode{system, mCompElements.GetTailPosition()});
}

void* GRVoice::getSystemStartPos(GRSystem const* system) const {
  for (SystemNode const& node : mSystems) {
    if (node.system != system) continue;
    if (!node.lastBefore) return mCompElements.GetHeadPosition();
    void* after = node.lastBefore;
    mCompElements.GetNext(after);
    return after;
  }
  return nullptr;
}

void GRVoice::setPossibleNLinePosition(Fraction const& tp) {
  mNLinePos = mCompElements.GetTailPosition();
  mNLineTime = tp;
}

void GRVoice::rememberNLinePosition(Fraction const& tp) {
  MELVARIN_ASSERT(tp == mNLineTime);
  while (!mCompElements.IsEmpty() && mCompElements.GetTailPosition() != mNLinePos)
    mCompElements.RemoveElementAt(mCompElements.GetTailPosition());
}

// Where the rods and the matrix continue: after the last element used, else at the system's
// first element; null while the system has none.
void* GRVoice::firstToWalk() const {
  if (!mLastRodPos) return mSystemStartPos;
  void* pos = mLastRodPos;
  mCompElements.GetNext(pos);
  return pos;
}

int GRVoice::createNewRods(GRStaffManager* manager, int& startspr, int& endspr) {
  if (mLastRod) MELVARIN_ASSERT(mLastRod->getSpr2() == startspr);
  mLastRod = nullptr;
  mFirstRod = nullptr;
  if (!mLastRodPos && mFirstElementPending) return -1;
  const bool systemStart = !mLastRodPos;
  void* pos = firstToWalk();

  float extraSpace = 0;
  bool spacesSeen = false;
  GRNotationElement* previous = nullptr;
  auto hand = [&](GRRod* rod) {
    // A rod over written spaces is marked but leaves its springs free: frozen at the width the
    // first rod gave them, they could not make room for a later note's signs or another staff.
    if (spacesSeen) rod->setIsMarked(true);
    manager->addRod(rod, false, false, -1);
    extraSpace = 0;
    spacesSeen = false;
    if (rod->getSpr1() < startspr) startspr = rod->getSpr1();
    mLastRod = rod;
    if (!mFirstRod) mFirstRod = rod;
  };
  // A dynamic mark stands under its note but is often wider: it keeps its room up to the next
  // mark or bar line of the voice, which would otherwise stand over or before its end.
  GRIntens const* mark = nullptr;
  auto keepRoomFor = [&](int end, float beyond) {
    if (!mark) return;
    if (end > mark->getSpringID())
      manager->addRod(new GRRod(mark->roomAfter() + beyond, mark->getSpringID(), end), false, false,
                      -1);
    mark = nullptr;
  };
  while (pos) {
    mLastRodPos = pos;
    GRNotationElement* el = mCompElements.GetNext(pos);
    // Any number of spaces may stand between two notes: their widths add up.
    if (auto* space = ar_cast<GRSpace>(el)) {
      extraSpace += space->getARSpace()->getValue();
      spacesSeen = true;
      continue;
    }
    if (!el->getNeedsSpring()) continue;
    if (!previous && systemStart) {
      const float lead = ar_cast<GRClef>(el) ? 50 : 25;
      hand(new GRRod(el->getLeftSpace() + lead, el->getSpringID() - 1, el->getSpringID()));
    } else if (previous) {
      // A written space never draws the two closer than the room they need.
      const float needed = previous->getRightSpace() + el->getLeftSpace();
      hand(new GRRod(previous, el, 0, spacesSeen ? std::max(extraSpace, needed) : needed));
    }
    previous = el;
    bool const markOrBar = ar_cast<GRIntens>(el) || ar_cast<GRBar>(el);
    if (mark && markOrBar && el->getRelativeTimePosition() > mark->getRelativeTimePosition())
      keepRoomFor(el->getSpringID(), el->getLeftSpace());
    if (auto const* intens = ar_cast<GRIntens>(el); intens && intens->roomAfter() > 0)
      mark = intens;
  }
  keepRoomFor(endspr, 0);
  if (previous)
    hand(new GRRod(spacesSeen ? extraSpace : previous->getRightSpace(), previous->getSpringID(),
                   endspr));
  return 0;
}

namespace {

// A run of equal notes being collected for the spacing matrix.
class NeighbourRun {
 public:
  explicit NeighbourRun(GRSpacingMatrix* matrix) : mMatrix(matrix) {}
  ~NeighbourRun() { delete mIds; }

  bool isOpen() const { return mIds != nullptr; }
  float frequency() const { return mFrequency; }
  void open(int first, float frequency) {
    mIds = new KF_List<int>;
    mIds->AddTail(first);
    mFrequency = frequency;
  }
  void extend(int id) { mIds->AddTail(id); }
  void close() {
    if (!mIds) return;
    mMatrix->AddNeighbourList(mIds);
    mIds = nullptr;
  }

 private:
  GRSpacingMatrix* mMatrix;
  KF_List<int>* mIds = nullptr;
  float mFrequency = 0;
};

void raiseFrequency(GRSpacingMatrix* matrix, int from, int to, float frequency) {
  for (int s = from; s < to; ++s)
    if (matrix->getMSCMatrix(s, GRSpacingMatrix::kFrequencyRow) < frequency)
      matrix->setMSCMatrix(s, GRSpacingMatrix::kFrequencyRow, frequency);
}

}  // namespace

int GRVoice::updateMSCMatrix(GRSpaceForceFunction2*, GRSpacingMatrix* matrix, GRStaffManager*,
                             KF_IVector<GRSpring>*, int, int endspr) {
  if (!mLastRodPos && mFirstElementPending) return -1;
  NeighbourRun run(matrix);
  GRNotationElement* previous = nullptr;
  for (void* pos = firstToWalk(); pos;) {
    GRNotationElement* el = mCompElements.GetNext(pos);
    if (!el->getNeedsSpring()) continue;
    if (previous) {
      const double d = previous->getDuration().getValue();
      if (d > 0) {
        const float c = static_cast<float>(1.0 / d);
        raiseFrequency(matrix, previous->getSpringID(), el->getSpringID(), c);
        if (run.isOpen() && run.frequency() != c) run.close();
        if (!run.isOpen()) run.open(previous->getSpringID(), c);
        run.extend(el->getSpringID());
      } else {
        run.close();
      }
    }
    previous = el;
  }
  if (previous && previous->getDuration().getValue() > 0) {
    const float c = static_cast<float>(1.0 / previous->getDuration().getValue());
    raiseFrequency(matrix, previous->getSpringID(), endspr, c);
    if (run.isOpen() && run.frequency() == c) {
      run.extend(endspr);
    } else if (!run.isOpen()) {
      run.open(previous->getSpringID(), c);
      run.extend(endspr);
    }
  }
  run.close();
  return 0;
}
