#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <unordered_map>
#include <vector>

class ARPositionTag;

// A walk's list of range tags (those open now, or those the last step opened or closed), in the
// order they came. Nearly always it holds a few tags and behaves as a plain vector. A text may
// open tens of thousands of ranges over one note and close them in any order, though: once the
// list is long, a closed range leaves a hole, found through an index of where each tag is, and the
// holes are squeezed out when they outnumber the tags, so that closing a range costs no more than
// its share however long the list and whichever ranges close first.
class ARRangeTagList {
 public:
  // Walks the tags in order, passing over the holes.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = ARPositionTag*;
    using difference_type = std::ptrdiff_t;
    using pointer = ARPositionTag* const*;
    using reference = ARPositionTag* const&;

    const_iterator() = default;
    reference operator*() const { return *mAt; }
    const_iterator& operator++() {
      ++mAt;
      SkipHoles();
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const_iterator const& other) const { return mAt == other.mAt; }

   private:
    friend class ARRangeTagList;
    const_iterator(ARPositionTag* const* at, ARPositionTag* const* end) : mAt(at), mEnd(end) {
      SkipHoles();
    }
    void SkipHoles() {
      while (mAt != mEnd && *mAt == nullptr) ++mAt;
    }
    ARPositionTag* const* mAt = nullptr;
    ARPositionTag* const* mEnd = nullptr;
  };
  using iterator = const_iterator;
  using value_type = ARPositionTag*;

  ARRangeTagList() = default;
  // A copy holds the tags without the holes.
  ARRangeTagList(ARRangeTagList const& other) { *this = other; }
  // Most lists copied are empty or short, and copied at every chord a walk passes.
  ARRangeTagList& operator=(ARRangeTagList const& other) {
    if (other.mSlots.empty()) {
      clear();
    } else if (this != &other) {
      CopyTags(other);
    }
    return *this;
  }
  ARRangeTagList(ARRangeTagList&&) noexcept = default;
  ARRangeTagList& operator=(ARRangeTagList&&) noexcept = default;

  const_iterator begin() const { return {mSlots.data(), mSlots.data() + mSlots.size()}; }
  const_iterator end() const {
    return {mSlots.data() + mSlots.size(), mSlots.data() + mSlots.size()};
  }
  bool empty() const { return mCount == 0; }
  std::size_t size() const { return mCount; }
  ARPositionTag* front() const { return *begin(); }
  // The last tag, or null: a hole is never left at the end.
  ARPositionTag* back() const { return mSlots.empty() ? nullptr : mSlots.back(); }

  // The short list is a plain vector, which every step of every walk changes: those paths stay
  // inline, and only a long list goes through the index.
  void push_back(ARPositionTag* tag) {
    mSlots.push_back(tag);
    ++mCount;
    if (mIndex) Indexed(tag);
  }
  // Takes the first occurrence of the tag out of the list; whether there was one.
  bool RemoveFirst(ARPositionTag const* tag) {
    if (mSlots.empty()) return false;
    if (!IsShort()) return RemoveFirstFromLong(tag);
    // A short list is searched and closed up by hand: at most a few dozen slots, so no step is
    // counted, and most removals find the list empty or the tag at its end.
    std::size_t const size = mSlots.size();
    for (std::size_t slot = 0; slot < size; ++slot) {
      if (mSlots[slot] != tag) continue;
      for (std::size_t after = slot + 1; after < size; ++after) mSlots[after - 1] = mSlots[after];
      mSlots.pop_back();
      --mCount;
      return true;
    }
    return false;
  }
  bool Contains(ARPositionTag const* tag) const {
    if (!IsShort()) return tag && SlotOf(tag) < mSlots.size();
    return tag && std::find(mSlots.begin(), mSlots.end(), tag) != mSlots.end();
  }
  // Empties the list and keeps its room, since the next step fills it again.
  void clear() {
    mSlots.clear();
    mIndex.reset();
    mCount = 0;
  }

  friend bool operator==(ARRangeTagList const& a, ARRangeTagList const& b);

 private:
  struct Place {
    std::size_t slot;   // of the first occurrence
    std::size_t count;  // occurrences
  };
  using Index = std::unordered_map<ARPositionTag const*, Place>;
  // Below this many slots a search from the front and a move of the tags behind are cheaper
  // than keeping an index.
  static constexpr std::size_t kIndexedFrom = 32;

  // Without an index and without holes.
  bool IsShort() const { return !mIndex && mSlots.size() < kIndexedFrom; }
  void CopyTags(ARRangeTagList const& other);
  void Indexed(ARPositionTag* tag);
  bool RemoveFirstFromLong(ARPositionTag const* tag);
  // The slot of the first occurrence of the tag, or the number of slots.
  std::size_t SlotOf(ARPositionTag const* tag) const;
  void BuildIndex() const;
  // Squeezes the holes out once they outnumber the tags, and drops the index once the list is
  // short again.
  void Settle();

  std::vector<ARPositionTag*> mSlots;  // null where a tag was taken out
  std::size_t mCount = 0;              // tags, not holes
  // Holes are left only while indexed; most lists never are, and carry no more than a null.
  mutable std::unique_ptr<Index> mIndex;
};
