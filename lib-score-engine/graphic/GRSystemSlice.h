#pragma once

#include "Fraction.h"
#include "GREvent.h"
#include "NEPointerList.h"
#include "kf_ivect.h"

class GRStaff;
class GRStaffManager;
class GRSystem;

// The piece of a system between two possible line breaks: one staff per staff number, and the
// system-wide elements of that piece. It is an event of the piece starting at tp; its elements
// draw in order.
class GRSystemSlice : public GREvent {
 public:
  GRSystemSlice(GRStaffManager* manager, Fraction const& tp);
  ~GRSystemSlice() override;

  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override {
    DrawSubElements(device, map);
  }

  // The slice owns the staff from now on.
  void addStaff(GRStaff* newStaff, int number);
  GRStaff* getStaff(int number) const;
  using GREvent::getStaffNumber;
  // The staff's number in this slice, -1 when it is not here.
  int getStaffNumber(GRStaff const* staff) const;
  // A system-level element; the slice owns it and lets it check its position once its staves
  // are placed.
  void addSystemTag(GRNotationElement* element) { mElements.AddTail(element); }

  GRSystem* getGRSystem() const { return mGrSystem; }
  void setGRSystem(GRSystem* system) { mGrSystem = system; }

 private:
  KF_IVector<GRStaff>* mStaffs;
  GRSystem* mGrSystem = nullptr;
  NEPointerList mElements{1};
};
