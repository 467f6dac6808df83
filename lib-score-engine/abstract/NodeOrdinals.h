#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The places of list positions in their list: the n-th position added has ordinal n. The passes
// ask it for the order of thousands of positions, so the positions go into one table addressed
// by their address, with no node per position and no sorting.
class NodeOrdinals {
 public:
  explicit NodeOrdinals(std::size_t expected = 0) {
    std::size_t size = 16;
    while (size < 2 * expected) size *= 2;
    mSlots.resize(size);
  }

  void Add(void const* node) {
    if (2 * (mCount + 1) > mSlots.size()) Grow();
    Put(node, static_cast<int>(mCount++));
  }

  // -1 for a position never added.
  int IndexOf(void const* node) const {
    if (!node) return -1;
    for (std::size_t at = SlotOf(node);; at = (at + 1) & (mSlots.size() - 1)) {
      if (mSlots[at].node == node) return mSlots[at].ordinal;
      if (!mSlots[at].node) return -1;
    }
  }

 private:
  struct Slot {
    void const* node = nullptr;
    int ordinal = -1;
  };

  std::size_t SlotOf(void const* node) const {
    const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(node));
    return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> 32) & (mSlots.size() - 1);
  }

  void Put(void const* node, int ordinal) {
    std::size_t at = SlotOf(node);
    while (mSlots[at].node) at = (at + 1) & (mSlots.size() - 1);
    mSlots[at] = {node, ordinal};
  }

  void Grow() {
    std::vector<Slot> old(mSlots.size() * 2);
    old.swap(mSlots);
    for (Slot const& slot : old)
      if (slot.node) Put(slot.node, slot.ordinal);
  }

  std::vector<Slot> mSlots;
  std::size_t mCount = 0;
};
