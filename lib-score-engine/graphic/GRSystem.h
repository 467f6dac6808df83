#pragma once

#include "Fraction.h"
#include "kf_ilist.h"

class GRSpring;
class GRStaff;
class GRSystemSlice;

// One line of music on a page: a run of consecutive system slices.
class GRSystem {
 public:
  GRSystem() = default;
  GRSystem(GRSystem const&) = delete;
  GRSystem& operator=(GRSystem const&) = delete;
  virtual ~GRSystem();

  // The system owns the slice; the first one gives the system its start date.
  void AddSystemSlice(GRSystemSlice* slice);
  GRSystemSlice* getFirstGRSystemSlice() const { return mSystemSlices.GetHead(); }
  // The slice before slice in this system, null for the first or a stranger.
  GRSystemSlice* getPreviousSlice(GRSystemSlice const* slice) const;
  // The number the first slice that knows the staff gives it; -1 when none does.
  int getStaffNumber(GRStaff const* staff) const;
  // Null while the system has no springs.
  GRSpring* getGRSpring(int id) const;
  Fraction const& getStartDate() const { return mStartDate; }

 private:
  Fraction mStartDate;
  KF_IPointerList<GRSystemSlice> mSystemSlices{1};
};
