#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The places of list positions in their list: the n-th position added has ordinal n. The passes
// ask it for the order of thousands of positions, so the positions go into one table addressed
// by their address, with no node per position and no sorting. The table holds ordinals only, a
// quarter of the room of positions and ordinals together. Every chord asks it about its handful
// of positions: up to kScanned positions there is no table, and a look-up reads them in turn.
class NodeOrdinals {
 public:
  explicit NodeOrdinals(std::size_t expected = 0) {
    mNodes.reserve(expected);
    if (expected > kScanned) MakeTable(expected);
  }

  void Add(void const* node) {
    mNodes.push_back(node);
    if (mSlots.empty()) {
      if (mNodes.size() > kScanned) MakeTable(mNodes.size());
    } else if (2 * mNodes.size() > mSlots.size()) {
      MakeTable(mNodes.size());
    } else {
      Put(node, static_cast<std::uint32_t>(mNodes.size()));
    }
  }

  // -1 for a position never added.
  int IndexOf(void const* node) const {
    if (!node) return -1;
    if (mSlots.empty()) {
      for (std::size_t i = 0; i < mNodes.size(); ++i)
        if (mNodes[i] == node) return static_cast<int>(i);
      return -1;
    }
    for (std::size_t at = SlotOf(node);; at = (at + 1) & (mSlots.size() - 1)) {
      const std::uint32_t slot = mSlots[at];
      if (slot == kEmpty) return -1;
      if (mNodes[slot - 1] == node) return static_cast<int>(slot - 1);
    }
  }

 private:
  static constexpr std::size_t kScanned = 16;
  // A slot holds its position's ordinal plus one.
  static constexpr std::uint32_t kEmpty = 0;

  std::size_t SlotOf(void const* node) const {
    const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(node));
    return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> 32) & (mSlots.size() - 1);
  }

  void Put(void const* node, std::uint32_t slot) {
    std::size_t at = SlotOf(node);
    while (mSlots[at] != kEmpty) at = (at + 1) & (mSlots.size() - 1);
    mSlots[at] = slot;
  }

  // A table at most half full with room for count positions, holding those added so far.
  void MakeTable(std::size_t count) {
    std::size_t size = mSlots.empty() ? 16 : mSlots.size();
    while (size < 2 * count) size *= 2;
    mSlots.assign(size, kEmpty);
    for (std::size_t i = 0; i < mNodes.size(); ++i)
      Put(mNodes[i], static_cast<std::uint32_t>(i + 1));
  }

  std::vector<std::uint32_t> mSlots;
  std::vector<void const*> mNodes;
};
