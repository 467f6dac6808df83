#pragma once

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

  // False for null.
  bool AddChild(CScoreElement* child);
  std::vector<CScoreElement*>& children() { return mChildren; }
  std::vector<CScoreElement*> const& children() const { return mChildren; }
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

 private:
  std::vector<CScoreElement*> mChildren;
  CScoreElement* mParent = nullptr;
  int mIndex = 0;
};
