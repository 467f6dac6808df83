#include "ARRangeTagList.h"

#include "engine_work.h"

void ARRangeTagList::CopyTags(ARRangeTagList const& other) {
  mIndex.reset();
  if (other.mCount == other.mSlots.size()) {
    // No holes: the usual short list is copied whole.
    mSlots.assign(other.mSlots.begin(), other.mSlots.end());
  } else {
    mSlots.clear();
    if (mSlots.capacity() < other.mCount) mSlots.reserve(other.mCount);
    for (ARPositionTag* tag : other) mSlots.push_back(tag);
  }
  mCount = other.mCount;
  EngineWork::tListSteps += mCount;
}

void ARRangeTagList::Indexed(ARPositionTag* tag) {
  auto const [place, added] = mIndex->try_emplace(tag, Place{mSlots.size() - 1, 1});
  if (!added) ++place->second.count;
}

std::size_t ARRangeTagList::SlotOf(ARPositionTag const* tag) const {
  // Made on the first search of a long list: most copies of one, kept to come back to, are
  // never searched.
  if (!mIndex) BuildIndex();
  auto const place = mIndex->find(tag);
  return place == mIndex->end() ? mSlots.size() : place->second.slot;
}

bool ARRangeTagList::RemoveFirstFromLong(ARPositionTag const* tag) {
  if (!tag) return false;
  std::size_t const slot = SlotOf(tag);
  if (slot >= mSlots.size()) return false;
  --mCount;
  mSlots[slot] = nullptr;
  auto const place = mIndex->find(tag);
  if (--place->second.count == 0) {
    mIndex->erase(place);
  } else {
    // The same tag twice is rare: only then is the next occurrence looked for.
    std::size_t next = slot + 1;
    while (mSlots[next] != tag) ++next;
    EngineWork::tListSteps += next - slot;
    place->second.slot = next;
  }
  Settle();
  return true;
}

void ARRangeTagList::BuildIndex() const {
  mIndex = std::make_unique<Index>();
  mIndex->reserve(mSlots.size());
  for (std::size_t slot = 0; slot < mSlots.size(); ++slot)
    if (ARPositionTag* tag = mSlots[slot]) {
      auto const [place, added] = mIndex->try_emplace(tag, Place{slot, 1});
      if (!added) ++place->second.count;
    }
  EngineWork::tListSteps += mSlots.size();
}

void ARRangeTagList::Settle() {
  // Holes at the end cost nothing to drop: ranges closing last-opened first never squeeze, and
  // the last slot always holds a tag.
  while (!mSlots.empty() && mSlots.back() == nullptr) mSlots.pop_back();
  std::size_t const holes = mSlots.size() - mCount;
  if (holes <= mCount) return;
  // Each hole squeezed out was made by one removal since the last squeeze, which pays for it.
  EngineWork::tListSteps += mSlots.size();
  if (mCount < kIndexedFrom) {
    mSlots.erase(std::remove(mSlots.begin(), mSlots.end(), nullptr), mSlots.end());
    mIndex.reset();
    return;
  }
  // The tags move to the front; each first occurrence takes its new slot into the index.
  std::size_t kept = 0;
  for (std::size_t slot = 0; slot < mSlots.size(); ++slot) {
    ARPositionTag* tag = mSlots[slot];
    if (!tag) continue;
    Place& place = mIndex->find(tag)->second;
    if (place.slot == slot) place.slot = kept;
    mSlots[kept++] = tag;
  }
  mSlots.resize(kept);
}

bool operator==(ARRangeTagList const& a, ARRangeTagList const& b) {
  return a.mCount == b.mCount && std::equal(a.begin(), a.end(), b.begin());
}
