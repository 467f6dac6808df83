#pragma once

#include <climits>
#include <span>
#include <vector>

#include "GRArenaObject.h"

class GRNotationElement;

// The element's staff number in its slice, else in its system, else 0: the staves of each slice
// are objects of their own.
int staffNumberOf(GRNotationElement const* el);

// Sorts the elements of one spring into horizontal bands 25 units high, each staff number 20
// bands further down, so that neighbouring springs need room only where their elements meet.
// A band holds positions in the spring's element list.
class GRSpringCollider : public GRArenaObject {
 public:
  using Band = std::span<void* const>;
  static constexpr int kNoBand = INT_MIN;
  // Bands lie 25 units apart: no element of a page stands this far out or is this tall.
  static constexpr float kFarthestBand = 1.0e6f;
  static constexpr float kMostBands = 4096;

  GRSpringCollider() = default;
  GRSpringCollider(GRSpringCollider const&) = delete;
  GRSpringCollider& operator=(GRSpringCollider const&) = delete;
  virtual ~GRSpringCollider() = default;

  virtual void AddElement(GRNotationElement* el, void* pos);
  // Puts the element in the bands of [top, bottom] (on its staff) as well: room it needs beyond
  // its own box, such as the stem a chord's notes share.
  void AddExtent(GRNotationElement* el, void* pos, float top, float bottom);
  virtual void RemoveElement(GRNotationElement* el, void* pos);
  // Forgets every element and keeps the room they took, for the elements sorted in again.
  void Clear();
  // Walks the bands both colliders occupy, starting at this one's lowest when index is kNoBand;
  // returns the first pair found and leaves index at this collider's next band. Both bands are
  // empty once the walk has ended (index back at kNoBand).
  virtual void GetMatchingPoslists(int& index, GRSpringCollider const* other, Band* mine,
                                   Band* theirs) const;

  // The positions in the band, in the order they came; empty for a band no element occupies.
  Band getBand(int band) const;
  // Calls visit(band, position) for every entry, from the lowest band, each band's positions in
  // the order they came.
  template <class Visit>
  void ForEachEntry(Visit&& visit) const {
    int const* const bands = mBandOf.data();
    void* const* const positions = mPositions.data();
    const std::size_t count = mBandOf.size();
    for (std::size_t i = 0; i < count; ++i) visit(bands[i], positions[i]);
  }
  // Calls visit(mine, theirs) for every band both colliders occupy, from the lowest: the walk
  // of GetMatchingPoslists in one pass over both.
  template <class Visit>
  void ForEachSharedBand(GRSpringCollider const& other, Visit&& visit) const {
    std::size_t mine = 0;
    std::size_t theirs = 0;
    while (mine < mBandOf.size() && theirs < other.mBandOf.size()) {
      const int band = mBandOf[mine];
      const int otherBand = other.mBandOf[theirs];
      if (band < otherBand) {
        mine = BandEnd(mine);
      } else if (otherBand < band) {
        theirs = other.BandEnd(theirs);
      } else {
        const std::size_t mineEnd = BandEnd(mine);
        const std::size_t theirsEnd = other.BandEnd(theirs);
        visit(Band(mPositions.data() + mine, mineEnd - mine),
              Band(other.mPositions.data() + theirs, theirsEnd - theirs));
        mine = mineEnd;
        theirs = theirsEnd;
      }
    }
  }

 private:
  // The first entry of the band, or of the next band above it.
  std::size_t LowerBound(int band) const;
  // The first entry after the band of the entry at.
  std::size_t BandEnd(std::size_t at) const {
    const int band = mBandOf[at];
    while (at < mBandOf.size() && mBandOf[at] == band) ++at;
    return at;
  }

  // Only the bands an element occupies, a few per spring, as one list sorted by band: the band
  // of each entry and its position side by side, so that a band's positions lie together.
  std::vector<int, GRArenaAllocator<int>> mBandOf;
  std::vector<void*, GRArenaAllocator<void*>> mPositions;
};
