#pragma once

#include <atomic>
#include <cstdint>
#include <ostream>
#include <vector>

#include "ScoreElementDesc.h"

class VGDevice;

// One record of the score symbol map, placed in the map's tree: page > system > slice > staff >
// events and bars. Children and parent point into the map's own storage.
class CScoreElement : public ScoreElementDesc {
 public:
  CScoreElement() = default;
  explicit CScoreElement(ScoreElementDesc const& desc) : ScoreElementDesc(desc) {}
  CScoreElement(CScoreElement const&) = default;
  CScoreElement& operator=(CScoreElement const&) = delete;
  ~CScoreElement() { TreesChanged(); }

  // False for null.
  bool AddChild(CScoreElement* child);
  std::vector<CScoreElement*> const& children() const { return mChildren; }
  // For changing the children in place; a search that kept its place in a tree starts again.
  std::vector<CScoreElement*>& mutableChildren() {
    TreesChanged();
    return mChildren;
  }
  // Changes with every change to any tree of elements, and with every element freed.
  static std::uint64_t TreesVersion() { return sTreesVersion.load(std::memory_order_relaxed); }
  CScoreElement* parent() const { return mParent; }
  int index() const { return mIndex; }

  // The span of the children (other than kind 2) becomes the element's date and duration.
  void AdjustDeepDurations();
  // Boxes of the children (other than kind 2) widen the element's box.
  void AdjustDeepBoundindBox();
  void UpdateDeepChildNums();

  // Debug drawing: the box in the colour of the kind; DeepDraw draws the children first.
  void Draw(VGDevice& device) const;
  void DeepDraw(VGDevice& device) const;
  void Print(std::ostream& os, int indent) const;

  // Searches below the element, in child order; an "event" is an element of kind 1.
  // The deepest element whose box holds the point, descending from this one (never null).
  CScoreElement* FindDeepSubElementHitBy(float x, float y);
  // The n-th element of the kind in drawing order, from 1, not looking inside matches.
  CScoreElement* FindDeepNthElementOfType(int kind, int n);
  // Descends to the child nearest the point until one of the kind is reached.
  CScoreElement* FindNearestSubElement(int kind, float x, float y);
  // The event whose horizontal centre is nearest x.
  CScoreElement* FindNearestEventX(float x);
  // The event starting nearest at or before x, else the nearest one after it.
  CScoreElement* FindEventRangeX(float x);
  // Narrows previous (starting at or before x) and next (ending at or after x); never clears.
  void FindPreviousAndNextEvent(float x, CScoreElement** previous, CScoreElement** next);
  // The latest event not after the date (the leftmost of equal dates).
  CScoreElement* FindEventBeforeDate(float date);
  // The earliest event at or after the date (the first of equal dates).
  CScoreElement* FindEventAfterDate(float date);
  // The deepest element whose time range holds the date; null when this one does not.
  CScoreElement* FindDeepestElementForDate(float date);
  // The first element of the kind whose time range holds the date.
  CScoreElement* FindChildForDate(int kind, float date);
  // This element or its nearest ancestor of the kind.
  CScoreElement* GetTopParentForType(int kind);

 private:
  static void TreesChanged() { sTreesVersion.fetch_add(1, std::memory_order_relaxed); }

  static inline std::atomic<std::uint64_t> sTreesVersion{0};
  std::vector<CScoreElement*> mChildren;
  CScoreElement* mParent = nullptr;
  int mIndex = 0;
};
