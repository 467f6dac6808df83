#pragma once

#include "Fraction.h"
#include "GRArenaObject.h"
#include "GRStaffState.h"
#include "kf_ilist.h"
#include "kf_ivect.h"

class GRRod;
class GRSpaceForceFunction2;
class GRStaff;
class GRStaffManager;
class GRTag;
class GRVoiceManager;

// What a new system would need if the line were broken here: per staff its state and rods, per
// voice the spanners still open, and the spacing of the music since the previous such place.
// The system slice that ends here owns it.
class GRPossibleBreakState : public GRArenaObject {
 public:
  // One staff at the break.
  class GRStaffAndState {
   public:
    GRStaffAndState() = default;
    GRStaffAndState(GRStaffAndState const&) = delete;
    GRStaffAndState& operator=(GRStaffAndState const&) = delete;
    virtual ~GRStaffAndState();

    // Keeps a copy; a null rod leaves the held one.
    void setLastRod(GRRod* rod);
    void setFirstRod(GRRod* rod);

    GRStaff* pstaff = nullptr;
    GRRod* lastrod = nullptr;
    GRRod* firstrod = nullptr;
    void* pos = nullptr;  // tail of the staff's element list
    GRStaffState* staffstate = nullptr;
  };

  // One voice at the break: the spanners it has open and where they stand.
  class GRVoiceTagsAndStaff {
   public:
    struct GRTagAndPosition {
      GRTag* tag;  // not owned
      void* pos;   // tail of the tag's association list, null without one
    };

    GRVoiceTagsAndStaff() = default;
    GRVoiceTagsAndStaff(GRVoiceTagsAndStaff const&) = delete;
    GRVoiceTagsAndStaff& operator=(GRVoiceTagsAndStaff const&) = delete;
    virtual ~GRVoiceTagsAndStaff();

    void SaveGRTags(KF_IPointerList<GRTag> const* tags);
    // Ends every open spanner on the staff it was written on.
    void EndAtBreak();
    // Carries the spanners over to newStaff; elements join that staff at pos, else its tail.
    void BeginAfterBreak(GRStaff* newStaff, void* pos);
    // Replace the held copy, or clear it for a null rod.
    void setLastRod(GRRod* rod);
    void setFirstRod(GRRod* rod);

    GRVoiceManager* vm = nullptr;
    int staffnum = -1;
    KF_IPointerList<GRTagAndPosition>* grtags = nullptr;
    GRStaff* curstaff = nullptr;
    GRRod* lastrod = nullptr;
    GRRod* firstrod = nullptr;
  };

  GRPossibleBreakState();
  GRPossibleBreakState(GRPossibleBreakState const&) = delete;
  GRPossibleBreakState& operator=(GRPossibleBreakState const&) = delete;
  virtual ~GRPossibleBreakState();

  void SaveState(KF_IVector<GRStaff>* staves, KF_IVector<GRVoiceManager>* managers,
                 GRStaffManager* manager, Fraction const& tp, float value2, float breakValue);
  // Points the snapshot at the staves of a new system.
  void ChangeStaffPointers(KF_IVector<GRStaff>* newStaves, GRPossibleBreakState* other);

  // The state owns the function.
  void setSpaceForceFunction(GRSpaceForceFunction2* sff) { sff_ = sff; }
  GRSpaceForceFunction2* getSpaceForceFunction() const { return sff_; }
  GRStaffAndState* getStaffAndState(int number) const { return sttfrmts->Get(number); }
  GRVoiceTagsAndStaff* getVoiceTagsAndStaff(int number) const { return vtsvect->Get(number); }
  KF_IVector<GRStaffAndState>* getStaffParts() const { return sttfrmts; }
  KF_IVector<GRVoiceTagsAndStaff>* getVoiceParts() const { return vtsvect; }

 private:
  void saveVoiceParts(KF_IVector<GRVoiceManager>* managers);

 public:
  float value = 0;
  GRSpaceForceFunction2* sff_ = nullptr;
  GRSpaceForceFunction2* sff2 = nullptr;  // owned, kept for the line breaker
  KF_IVector<GRStaffAndState>* sttfrmts;
  KF_IVector<GRVoiceTagsAndStaff>* vtsvect;
  int springID = 0;
  void* simplerodspos = nullptr;
  void* complexrodspos = nullptr;
  Fraction tp;
  float value2 = 0;
  // The staff manager's system rods at the break; not owned.
  GRRod* lastsystemrod = nullptr;
  GRRod* firstsystemrod = nullptr;
};
