#pragma once

#include "Fraction.h"
#include "GREvent.h"
#include "kf_ilist.h"

class GRSpring;
class GRStaff;
class GRSystemSlice;

// One line of music on a page: a run of consecutive system slices. It is an event of the
// piece, starting with its first slice; its elements draw in order.
class GRSystem : public GREvent {
 public:
  GRSystem();
  ~GRSystem() override;

  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override {
    DrawSubElements(device, map);
  }

  // The system owns the slice; the first one gives the system its start date.
  void AddSystemSlice(GRSystemSlice* slice);
  GRSystemSlice* getFirstGRSystemSlice() const { return mSystemSlices.GetHead(); }
  // The slice before slice in this system, null for the first or a stranger.
  GRSystemSlice* getPreviousSlice(GRSystemSlice const* slice) const;
  using GREvent::getStaffNumber;
  // The number the first slice that knows the staff gives it; -1 when none does.
  int getStaffNumber(GRStaff const* staff) const;
  // Null while the system has no springs.
  GRSpring* getGRSpring(int id) const;
  Fraction const& getStartDate() const { return mStartDate; }

 private:
  Fraction mStartDate;
  KF_IPointerList<GRSystemSlice> mSystemSlices{1};
};
