#pragma once

#include "Fraction.h"
#include "NEPointerList.h"
#include "kf_ivect.h"

class GRStaff;
class GRStaffManager;
class GRSystem;

// The piece of a system between two possible line breaks: one staff per staff number, and the
// system-wide elements of that piece.
class GRSystemSlice {
 public:
  GRSystemSlice(GRStaffManager* manager, Fraction const& tp);
  GRSystemSlice(GRSystemSlice const&) = delete;
  GRSystemSlice& operator=(GRSystemSlice const&) = delete;
  virtual ~GRSystemSlice();

  // The slice owns the staff from now on.
  void addStaff(GRStaff* newStaff, int number);
  GRStaff* getStaff(int number) const;
  // The staff's number in this slice, -1 when it is not here.
  int getStaffNumber(GRStaff const* staff) const;
  // A system-level element; the slice owns it and lets it check its position once its staves
  // are placed.
  void addSystemTag(GRNotationElement* element) { mElements.AddTail(element); }

  GRSystem* getGRSystem() const { return mGrSystem; }
  void setGRSystem(GRSystem* system) { mGrSystem = system; }
  Fraction const& getRelativeTimePosition() const { return mRelativeTimePosition; }

 private:
  Fraction mRelativeTimePosition;
  KF_IVector<GRStaff>* mStaffs;
  GRSystem* mGrSystem = nullptr;
  NEPointerList mElements{1};
};
