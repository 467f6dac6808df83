#pragma once

#include "GRARNotationElement.h"
#include "NEPointerList.h"

// An element of the abstract representation made of sub-elements, which it owns, positions and
// draws in order. Its box and spaces are those of its sub-elements together.
class GRARCompositeNotationElement : public GRARNotationElement {
 public:
  using GRARNotationElement::GRARNotationElement;
  ~GRARCompositeNotationElement() override;

  // The composite has no offset of its own: the sub-elements take it.
  void addToOffset(NVPoint const& offset) override;
  void setPosition(NVPoint const& point) override;
  void setHPosition(float x) override;
  void setGRStaff(GRStaff* staff) override;
  virtual void updateBoundingBox();

  void AddTail(GRNotationElement* element) { mCompElements.AddTail(element); }
  // Removes and deletes it.
  void RemoveElement(GRNotationElement* element) { mCompElements.RemoveElement(element); }
  void RemoveAllSubElements() { mCompElements.RemoveAll(); }
  void* First() const { return mCompElements.GetHeadPosition(); }
  void* Last() const { return mCompElements.GetTailPosition(); }
  GRNotationElement* GetNext(void*& pos) const { return mCompElements.GetNext(pos); }
  GRNotationElement* GetTail() const { return mCompElements.GetTail(); }
  // Cuts the sub-elements after pos, which must be reachable from the head; those cut off are
  // neither deleted nor counted any more.
  void SetTailPosition(void* pos) { mCompElements.SetTailPosition(pos); }
  void DrawSubElements(VGDevice& device, VScoreSymbolMap& map) const;

 protected:
  NEPointerList mCompElements{1};
};
