#include "GRSpaceForceFunction2.h"

#include <cmath>
#include <limits>

#include "GRSpring.h"
#include "spacing_rounding.h"
#include "src/common/assertion.h"

float GRSpaceForceFunction2::optforce = 750;

GRSpaceForceFunction2::GRSpaceForceFunction2(GRSpaceForceFunction2 const& other) {
  addSFF(other);
}

void* GRSpaceForceFunction2::findRecord(GRSpring const* spring) const {
  for (void* pos = mRecords.GetHeadPosition(); pos;) {
    void* here = pos;
    if (mRecords.GetNext(pos)->spring == spring) return here;
  }
  return nullptr;
}

namespace {

constexpr int kIndexedLength = 64;

}  // namespace

GRSpaceForceFunction2::~GRSpaceForceFunction2() = default;

void GRSpaceForceFunction2::insertByForce(GRSpringForceIndex* record) {
  if (std::isnan(record->force)) {
    mUnordered = true;
    mByForce.reset();
  }
  if (!mByForce && !mUnordered && mRecords.GetCount() >= kIndexedLength) indexByForce();
  if (mByForce) {
    insertIndexed(record);
    return;
  }
  for (void* pos = mRecords.GetHeadPosition(); pos;) {
    void* here = pos;
    if (mRecords.GetNext(pos)->force > record->force) {
      mRecords.AddElementAt(here, record);
      return;
    }
  }
  mRecords.AddTail(record);
}

void GRSpaceForceFunction2::indexByForce() {
  if (mByForce) return;
  mByForce = std::make_unique<std::multimap<float, void*>>();
  for (void* pos = mRecords.GetHeadPosition(); pos;) {
    void* node = pos;
    mByForce->emplace_hint(mByForce->end(), mRecords.GetNext(pos)->force, node);
  }
}

void GRSpaceForceFunction2::insertIndexed(GRSpringForceIndex* record) {
  // Before the first record with a greater force; equal forces keep the order they came in.
  auto const after = mByForce->upper_bound(record->force);
  void* node = after == mByForce->end() ? mRecords.AddTail(record)
                                        : mRecords.AddElementAt(after->second, record);
  mByForce->emplace_hint(after, record->force, node);
}

bool GRSpaceForceFunction2::isSortedByForce() const {
  if (mUnordered || mOutOfOrder) return false;
  float last = -std::numeric_limits<float>::infinity();
  for (void* pos = mRecords.GetHeadPosition(); pos;) {
    float const force = mRecords.GetNext(pos)->force;
    if (!(force >= last)) return false;
    last = force;
  }
  return true;
}

GRSpringForceIndex* GRSpaceForceFunction2::takeOut(void* pos) {
  GRSpringForceIndex* record = mRecords.GetAt(pos);
  if (mByForce) {
    auto [from, to] = mByForce->equal_range(record->force);
    for (; from != to; ++from) {
      if (from->second != pos) continue;
      mByForce->erase(from);
      break;
    }
  }
  mRecords.SetAt(pos, nullptr);
  mRecords.RemoveElementAt(pos);
  return record;
}

void GRSpaceForceFunction2::addToOptConstant(float c) {
  mOptConstant = mOptConstant == -1 ? c : seriesCombine(mOptConstant, c);
}

void GRSpaceForceFunction2::removeFromOptConstant(float c) {
  mOptConstant = mOptConstant == c ? -1 : seriesRemove(mOptConstant, c);
}

void GRSpaceForceFunction2::addSpring(GRSpring* spring) {
  const float c = spring->getConstant();
  mXmin += spring->getExtent();
  mTotalConstant = mRecords.IsEmpty() ? c : seriesCombine(mTotalConstant, c);
  if (spring->getForce() <= optforce)
    addToOptConstant(c);
  else
    mOverOptExtent += spring->getExtent();
  insertByForce(new GRSpringForceIndex{spring, spring->getForce(), mRecords.GetCount() + 1});
}

void GRSpaceForceFunction2::deleteSpring(GRSpring* spring) {
  void* pos = findRecord(spring);
  if (!pos) return;
  GRSpringForceIndex* const removed = takeOut(pos);
  const int index = removed->index;
  delete removed;
  for (void* at = mRecords.GetHeadPosition(); at;) {
    GRSpringForceIndex* record = mRecords.GetNext(at);
    if (record->index > index) --record->index;
  }
  const float c = spring->getConstant();
  mXmin -= spring->getExtent();
  mTotalConstant = mRecords.IsEmpty() ? 0 : seriesRemove(mTotalConstant, c);
  if (spring->getForce() <= optforce)
    removeFromOptConstant(c);
  else
    mOverOptExtent -= spring->getExtent();
}

void GRSpaceForceFunction2::FreezeSpring(GRSpring* spr) {
  MELVARIN_ASSERT(spr);
  if (void* pos = findRecord(spr)) {
    GRSpringForceIndex* record = takeOut(pos);
    record->force = GRSpringForceIndex::kFrozenForce;
    if (!mRecords.IsEmpty() && mRecords.GetTail()->force > record->force) mOutOfOrder = true;
    void* node = mRecords.AddTail(record);
    if (mByForce) mByForce->emplace_hint(mByForce->end(), record->force, node);
  }
  if (spr->getForce() <= optforce) {
    removeFromOptConstant(spr->getConstant());
    mOverOptExtent += spr->getExtent();
  }
  spr->setFrozen(1);
}

void GRSpaceForceFunction2::UnfreezeSpring(GRSpring* spr) {
  MELVARIN_ASSERT(spr);
  if (void* pos = findRecord(spr)) {
    GRSpringForceIndex* record = takeOut(pos);
    record->force = spr->getForce();
    insertByForce(record);
  }
  if (spr->getForce() <= optforce) {
    addToOptConstant(spr->getConstant());
    mOverOptExtent -= spr->getExtent();
  }
  spr->setFrozen(0);
}

float GRSpaceForceFunction2::getExtent(float force) const {
  if (mRecords.IsEmpty()) return 0;
  if (force >= mRecords.GetTail()->force && mTotalConstant > 0) return force / mTotalConstant;
  if (mRecords.GetHead()->spring->getForce() > force) return mXmin;
  float rest = mXmin;
  float c = 0;
  bool passed = false;
  for (void* pos = mRecords.GetHeadPosition(); pos;) {
    GRSpringForceIndex const* record = mRecords.GetNext(pos);
    if (record->force >= force) return passed ? rest + force / c : rest;
    rest -= record->spring->getExtent();
    c = passed ? seriesCombine(c, record->spring->getConstant()) : record->spring->getConstant();
    passed = true;
  }
  // Only a function whose springs all stand above the force with a zero total gets here.
  return rest;
}

float GRSpaceForceFunction2::getForce(float width) const {
  if (width <= mXmin || mRecords.IsEmpty()) return 0;
  float rest = mXmin;
  void* pos = mRecords.GetHeadPosition();
  GRSpringForceIndex const* record = mRecords.GetNext(pos);
  float c = record->spring->getConstant();
  while (pos) {
    rest -= record->spring->getExtent();
    const float force = (width - rest) * c;
    GRSpringForceIndex const* next = mRecords.GetNext(pos);
    if (next->force >= force) return force;
    c = seriesCombine(c, next->spring->getConstant());
    record = next;
  }
  return c * width;
}

float GRSpaceForceFunction2::EvaluateBreak(float width) const {
  if (width <= mXmin) return 0;
  const float force = getForce(width);
  if (force <= 0) return 0;
  if (force <= 600) return 600 / force;
  if (force >= 1200) return 0;
  return 2 - force / 600;
}

void GRSpaceForceFunction2::addSFF(GRSpaceForceFunction2 const& other) {
  if (other.mUnordered) {
    mUnordered = true;
    mByForce.reset();
  }
  const int offset = mRecords.GetCount();
  const bool wasEmpty = mRecords.IsEmpty();
  bool const bothSorted = !mUnordered && !mOutOfOrder && other.isSortedByForce();
  if (bothSorted && offset + other.mRecords.GetCount() >= kIndexedLength) {
    // A line of many slices takes in one function after another: each record finds its place
    // through the index, instead of a walk over all the records taken in before it. In two
    // sorted lists that place is the one the merge below finds.
    indexByForce();
    for (void* pos = other.mRecords.GetHeadPosition(); pos;) {
      GRSpringForceIndex const* theirs = other.mRecords.GetNext(pos);
      insertIndexed(new GRSpringForceIndex{theirs->spring, theirs->force, theirs->index + offset});
    }
  } else {
    // The merge walks both lists anyway; the index is made again when next needed.
    mByForce.reset();
    if (!bothSorted) mOutOfOrder = true;
    void* mine = mRecords.GetHeadPosition();
    for (void* pos = other.mRecords.GetHeadPosition(); pos;) {
      GRSpringForceIndex const* theirs = other.mRecords.GetNext(pos);
      auto* copy = new GRSpringForceIndex{theirs->spring, theirs->force, theirs->index + offset};
      while (mine && mRecords.GetAt(mine)->force <= copy->force) mRecords.GetNext(mine);
      if (mine)
        mRecords.AddElementAt(mine, copy);
      else
        mRecords.AddTail(copy);
    }
  }
  mXmin += other.mXmin;
  mOverOptExtent += other.mOverOptExtent;
  if (wasEmpty) {
    mTotalConstant = other.mTotalConstant;
    mOptConstant = other.mOptConstant;
  } else if (!other.mRecords.IsEmpty()) {
    mTotalConstant = seriesCombine(mTotalConstant, other.mTotalConstant);
    mOptConstant = seriesCombine(mOptConstant, other.mOptConstant);
  }
}

void GRSpaceForceFunction2::ResetSprings() {
  for (void* pos = mRecords.GetHeadPosition(); pos;) {
    GRSpringForceIndex const* record = mRecords.GetNext(pos);
    if (!record->spring->isFrozen()) record->spring->change_force(record->force);
  }
}

void GRSpaceForceFunction2::writeAllExtents(std::ostream& os) const {
  os << "xmin: " << mXmin << "\n";
  float rest = mXmin;
  float c = 0;
  bool first = true;
  for (void* pos = mRecords.GetHeadPosition(); pos;) {
    GRSpringForceIndex const* record = mRecords.GetNext(pos);
    GRSpring const* spring = record->spring;
    rest -= spring->getExtent();
    c = first ? spring->getConstant() : seriesCombine(c, spring->getConstant());
    first = false;
    os << record->force << "\t" << rest + record->force / c << "\t" << spring->getID() << "\t"
       << spring->getConstant() << "\t" << spring->getExtent() << "\t" << spring->getForce() << "\t"
       << c << "\t" << rest << "\n";
  }
}
