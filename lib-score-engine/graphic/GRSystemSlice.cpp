#include "GRSystemSlice.h"

#include "ARMusicalEvent.h"
#include "GRStaff.h"
#include "src/common/assertion.h"

GRSystemSlice::GRSystemSlice(GRStaffManager*, Fraction const& tp)
    : GREvent(nullptr, new ARMusicalEvent(tp, Frac_0), true), mStaffs(new KF_IVector<GRStaff>(1)) {}

GRSystemSlice::~GRSystemSlice() {
  delete mStaffs;
}

GRStaff* GRSystemSlice::getStaff(int number) const {
  return mStaffs->Get(number);
}

void GRSystemSlice::addStaff(GRStaff* newStaff, int number) {
  MELVARIN_ASSERT(newStaff);
  mStaffs->Set(number, newStaff);
}

int GRSystemSlice::getStaffNumber(GRStaff const* staff) const {
  if (mStaffs->GetCount() == 0) return -1;
  for (int i = mStaffs->GetMinimum(); i <= mStaffs->GetMaximum(); ++i)
    if (mStaffs->Get(i) == staff) return i;
  return -1;
}
