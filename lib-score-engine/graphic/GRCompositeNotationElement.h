#pragma once

#include "GRNotationElement.h"
#include "NEPointerList.h"

// An element made of an owned list of elements that stand on the same staff: the staff itself.
class GRCompositeNotationElement : virtual public GRNotationElement {
 public:
  GRCompositeNotationElement() = default;
  ~GRCompositeNotationElement() override;

  // Sets the staff of every element of the list as well.
  void setGRStaff(GRStaff* staff) override;
  virtual void updateBoundingBox() {}
  virtual void AddTail(GRNotationElement* element) { mCompElements.AddTail(element); }

  void* First() const { return mCompElements.GetHeadPosition(); }
  void* Last() const { return mCompElements.GetTailPosition(); }
  GRNotationElement* GetNext(void*& pos) const { return mCompElements.GetNext(pos); }
  NEPointerList& getElements() { return mCompElements; }
  NEPointerList const& getElements() const { return mCompElements; }
  void setOwnership(int ownership) { mCompElements.setOwnership(ownership); }

 protected:
  NEPointerList mCompElements{1};
};
