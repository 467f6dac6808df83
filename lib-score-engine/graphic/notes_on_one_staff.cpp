#include "notes_on_one_staff.h"

#include "GRSingleNote.h"
#include "GRStaff.h"
#include "GRSystemSlice.h"

bool OnOneStaff(GRSingleNote const& a, GRSingleNote const& b) {
  GRStaff* const one = a.getGRStaff();
  GRStaff* const other = b.getGRStaff();
  if (one == other) return true;
  if (!one || !other) return false;
  GRSystemSlice const* oneSlice = one->getGRSystemSlice();
  GRSystemSlice const* otherSlice = other->getGRSystemSlice();
  if (!oneSlice || !otherSlice) return false;
  int const number = oneSlice->getStaffNumber(one);
  return number >= 0 && number == otherSlice->getStaffNumber(other);
}
