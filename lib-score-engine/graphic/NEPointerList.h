#pragma once

#include <memory>
#include <unordered_map>

#include "Fraction.h"
#include "GRArenaObject.h"
#include "NVPoint.h"
#include "kf_ilist.h"

class GObject;
class GRNotationElement;
class VGDevice;
class VScoreSymbolMap;

// A list of notation elements that passes drawing and positions on to every element, head to
// tail. With ownership 1 it deletes its elements.
class NEPointerList : public KF_IPointerList<GRNotationElement>, public GRArenaObject {
 public:
  explicit NEPointerList(int ownership = 0);
  // The same element pointers in the same order; the elements are not copied.
  NEPointerList(NEPointerList const& other, int ownership);
  ~NEPointerList() override;

  virtual void setHPosition(float x);
  virtual void OnDraw(VGDevice& device, VScoreSymbolMap& map) const;
  virtual void setPosition(NVPoint const& point);

  void tellPosition(GObject* caller, NVPoint const& point);

  // The node of the first occurrence, as in any list; a long list answers from an index made at
  // the first question after a change, so that the elements of a long staff are found without
  // walking it each time.
  void* GetElementPos(GRNotationElement* element) override;
  void print() const {}

  // New non-owning lists, for the caller to delete, of the elements with the shortest duration:
  // of all durations, or of those above 0 only (empty when none is). The list must not be empty.
  NEPointerList* getElementsWithShortestDuration() const;
  NEPointerList* getElementsWithShortestDurationNotNull() const;

  // Inserts after every element that is not later than tp, so equal times keep the order in
  // which they came. Returns the new node.
  void* AddAtTimePosition(Fraction const& tp, GRNotationElement* element);
  void* AddAtCorrectTimePosition(GRNotationElement* element);

 private:
  NEPointerList* ElementsWithShortestDuration(bool positiveOnly) const;

  struct PositionIndex {
    unsigned version;
    std::unordered_map<GRNotationElement const*, void*> nodes;
  };
  std::unique_ptr<PositionIndex> mIndex;
};
