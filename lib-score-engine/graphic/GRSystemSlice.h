#pragma once

#include "Fraction.h"
#include "GREvent.h"
#include "NEPointerList.h"
#include "kf_ivect.h"

class GRBar;
class GRBeginSpaceForceFunction2;
class GRFinishBar;
class GRGlue;
class GRPossibleBreakState;
class GRSpaceForceFunction2;
class GRStaff;
class GRStaffManager;
class GRSystem;

// The piece of a system between two possible line breaks: one staff per staff number, and the
// system-wide elements of that piece. It is an event of the piece starting at tp; it stacks its
// staves, takes its horizontal place from its glues and reports itself to the map.
class GRSystemSlice : public GREvent {
 public:
  GRSystemSlice(GRStaffManager* manager, Fraction const& tp);
  ~GRSystemSlice() override;

  // Reports itself, then draws its staves from the lowest number, each as the current staff.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  // The start glue moves every staff to its x; the end glue sets every staff's length to reach
  // the end of the glue's spring.
  void tellPosition(GObject* obj, NVPoint const& point) override;

  // The slice owns the staff from now on.
  void addStaff(GRStaff* newStaff, int number);
  GRStaff* getStaff(int number) const;
  using GREvent::getStaffNumber;
  // The lowest and highest staff numbers; lowest > highest when the slice has no staff.
  void getStaffRange(int& lowest, int& highest) const;
  // The staff's number in this slice, -1 when it is not here.
  int getStaffNumber(GRStaff const* staff) const;
  // A system-level element; the slice owns it and lets it check its position once its staves
  // are placed.
  void addSystemTag(GRNotationElement* element) { mElements.AddTail(element); }
  // A system-wide copy of a staff's bar, told where that bar stands.
  void addBar(GRBar* bar, int, GRStaff* staff);
  void addFinishBar(GRFinishBar* bar, int, GRStaff* staff);
  // Moves the system-level elements and those of the slice's own list (tempo marks) to the end
  // of to, whose owner draws and deletes them from now on.
  void handOverElements(NEPointerList& to) {
    to.DumpListAtTail(&mElements);
    to.DumpListAtTail(&mCompElements);
  }

  // Stacks the staves top to bottom.
  void Finish();
  // Lets every staff finish and takes their boxes in.
  void FinishSlice();

  GRSystem* getGRSystem() const { return mGrSystem; }
  void setGRSystem(GRSystem* system) { mGrSystem = system; }
  // The slices before and after this one on its system's line, known from when the system takes
  // the slice, so that a staff finds the staves beside it without walking the line.
  GRSystemSlice* getPreviousOnLine() const { return mPreviousOnLine; }
  GRSystemSlice* getNextOnLine() const { return mNextOnLine; }
  // Joins the line behind previous (none for the line's first slice).
  void followOnLine(GRSystemSlice* previous);
  GRBeginSpaceForceFunction2* getBeginSpaceForceFunction() const { return mBeginSFF; }
  void setBeginSpaceForceFunction(GRBeginSpaceForceFunction2* sff) { mBeginSFF = sff; }
  GRSpaceForceFunction2* getSpaceForceFunction() const { return mSpaceForceFunction; }
  // The function the slice's springs are measured by: its own, else its break state's.
  GRSpaceForceFunction2* getSpacing() const;
  // The state of the break that ends the slice; the slice owns it.
  void addPossibleBreakState(GRPossibleBreakState* state);
  GRPossibleBreakState* getPossibleBreakState() const { return mPossibleBreakState; }
  // The slice owns it.
  void setSpaceForceFunction(GRSpaceForceFunction2* sff);
  GRGlue* getStartGlue() const { return mStartGlue; }
  GRGlue* getEndGlue() const { return mEndGlue; }
  // The slice owns them.
  void setStartGlue(GRGlue* glue);
  void setEndGlue(GRGlue* glue);
  int getNumber() const { return mNumber; }
  void setNumber(int number) { mNumber = number; }
  int getStartSpringID() const { return mStartSpringID; }
  int getEndSpringID() const { return mEndSpringID; }
  void setSpringIDs(int start, int end) {
    mStartSpringID = start;
    mEndSpringID = end;
  }

 private:
  void NotifyNewScoreElement(VGDevice& device, VScoreSymbolMap& map) const;

  GRBeginSpaceForceFunction2* mBeginSFF = nullptr;
  GRSpaceForceFunction2* mSpaceForceFunction = nullptr;
  KF_IVector<GRStaff>* mStaffs;
  GRSystem* mGrSystem = nullptr;
  GRSystemSlice* mPreviousOnLine = nullptr;
  GRSystemSlice* mNextOnLine = nullptr;
  GRPossibleBreakState* mPossibleBreakState = nullptr;
  int mNumber = 0;
  GRGlue* mStartGlue = nullptr;
  GRGlue* mEndGlue = nullptr;
  int mStartSpringID = -1;
  int mEndSpringID = -1;
  NEPointerList mElements{1};
};
