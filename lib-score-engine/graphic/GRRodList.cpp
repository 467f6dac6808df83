#include "GRRodList.h"

#include <algorithm>
#include <climits>

#include "GRRod.h"

namespace {

constexpr int kNoRod = INT_MIN;

}  // namespace

void GRRodList::insert(GRRod* rod, bool firstOfItsId) {
  const int id = rod->getSpr1();
  void* node;
  if (auto found = mRuns.find(id); found != mRuns.end()) {
    Run& run = found->second;
    if (firstOfItsId) {
      node = mRods.AddElementAt(run.first, rod);
      run.first = node;
    } else {
      node = mRods.AddElementAfter(run.last, rod);
      run.last = node;
    }
  } else {
    node = placeNewRun(id, rod);
  }
  // The tree is made by the first question about reaching rods, and kept from then on.
  if (id < 0 || mTreeSize == 0) return;
  if (id >= mTreeSize) {
    growTree(id);
    return;
  }
  // An added rod can only push its run's end further.
  for (int slot = mTreeSize + id; slot >= 1 && mTree[slot] < rod->getSpr2(); slot /= 2)
    mTree[slot] = rod->getSpr2();
}

void GRRodList::insertFrom(GRRod* rod, bool fromFront) {
  const int id = rod->getSpr1();
  if (fromFront)
    insert(rod, mRuns.empty() || mRuns.begin()->first >= id);
  else
    insert(rod, !mRuns.empty() && mRuns.rbegin()->first > id);
}

void* GRRodList::placeNewRun(int id, GRRod* rod) {
  auto const next = mRuns.upper_bound(id);
  void* node =
      next == mRuns.end() ? mRods.AddTail(rod) : mRods.AddElementAt(next->second.first, rod);
  mRuns.emplace(id, Run{node, node});
  return node;
}

bool GRRodList::remove(GRRod* rod) {
  auto const found = mRuns.find(rod->getSpr1());
  if (found == mRuns.end()) return false;
  for (void* pos = found->second.first; pos;) {
    void* here = pos;
    if (mRods.GetNext(pos) == rod) {
      removeAt(here);
      return true;
    }
    if (here == found->second.last) break;
  }
  return false;
}

void GRRodList::removeAt(void* node) {
  const int id = mRods.GetAt(node)->getSpr1();
  auto const found = mRuns.find(id);
  Run& run = found->second;
  if (run.first == node && run.last == node) {
    mRuns.erase(found);
  } else if (run.first == node) {
    void* next = node;
    mRods.GetNext(next);
    run.first = next;
  } else if (run.last == node) {
    void* previous = node;
    mRods.GetPrev(previous);
    run.last = previous;
  }
  mRods.RemoveElementAt(node);
  updateTree(id);
}

void GRRodList::removeStartingIn(int from, int to) {
  auto run = mRuns.lower_bound(from);
  while (run != mRuns.end() && run->first < to) {
    const int id = run->first;
    void* pos = run->second.first;
    void* const last = run->second.last;
    run = mRuns.erase(run);
    for (bool more = true; more;) {
      void* here = pos;
      more = here != last;
      mRods.GetNext(pos);
      mRods.RemoveElementAt(here);
    }
    updateTree(id);
  }
}

void GRRodList::collectStartingIn(int from, int to, std::vector<GRRod*>& out) const {
  for (auto run = mRuns.lower_bound(from); run != mRuns.end() && run->first < to; ++run) {
    void* pos = run->second.first;
    for (bool more = true; more;) {
      more = pos != run->second.last;
      out.push_back(mRods.GetNext(pos));
    }
  }
}

void GRRodList::collectReaching(int before, int beyond, std::vector<GRRod*>& out) const {
  std::vector<int> ids;
  // Rods of negative first ids stand outside the tree; there are none in a sound layout.
  for (auto run = mRuns.begin(); run != mRuns.end() && run->first < 0 && run->first < before; ++run)
    ids.push_back(run->first);
  if (mTreeSize == 0 && !mRuns.empty() && mRuns.rbegin()->first >= 0)
    growTree(mRuns.rbegin()->first);
  if (mTreeSize > 0) collectTree(1, 0, mTreeSize, before, beyond, ids);
  for (int id : ids) {
    Run const& run = mRuns.at(id);
    void* pos = run.first;
    for (bool more = true; more;) {
      more = pos != run.last;
      GRRod* rod = mRods.GetNext(pos);
      if (rod->getSpr2() > beyond) out.push_back(rod);
    }
  }
}

int GRRodList::furthestEnd(Run const& run) const {
  int end = kNoRod;
  void* pos = run.first;
  for (bool more = true; more;) {
    more = pos != run.last;
    end = std::max(end, mRods.GetNext(pos)->getSpr2());
  }
  return end;
}

void GRRodList::updateTree(int id) {
  if (id < 0 || id >= mTreeSize) return;
  auto const run = mRuns.find(id);
  int slot = mTreeSize + id;
  mTree[slot] = run == mRuns.end() ? kNoRod : furthestEnd(run->second);
  for (slot /= 2; slot >= 1; slot /= 2)
    mTree[slot] = std::max(mTree[2 * slot], mTree[2 * slot + 1]);
}

void GRRodList::growTree(int id) const {
  int size = std::max(mTreeSize, 64);
  while (size <= id) size *= 2;
  mTreeSize = size;
  mTree.assign(2 * static_cast<size_t>(size), kNoRod);
  for (auto const& [runId, run] : mRuns)
    if (runId >= 0) mTree[size + runId] = furthestEnd(run);
  for (int slot = size - 1; slot >= 1; --slot)
    mTree[slot] = std::max(mTree[2 * slot], mTree[2 * slot + 1]);
}

void GRRodList::collectTree(int node, int low, int high, int before, int beyond,
                            std::vector<int>& ids) const {
  if (low >= before || mTree[node] <= beyond) return;
  if (high - low == 1) {
    ids.push_back(low);
    return;
  }
  const int middle = low + (high - low) / 2;
  collectTree(2 * node, low, middle, before, beyond, ids);
  collectTree(2 * node + 1, middle, high, before, beyond, ids);
}
