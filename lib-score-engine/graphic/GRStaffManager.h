#pragma once

#include <cstdint>
#include <map>
#include <typeindex>
#include <unordered_map>

#include <fstream>

#include "Fraction.h"
#include "GRRod.h"
#include "GRRodList.h"
#include "GRSpaceForceFunction2.h"
#include "GRSpring.h"
#include "GRStaffState.h"
#include "GRSystemSlice.h"
#include "NVstring.h"
#include "head_bands.h"
#include "kf_ilist.h"
#include "kf_ivect.h"
#include "kf_list.h"
#include "kf_vect.h"
#include "kr_hashtable.h"

class ARABreak;
class ARAccol;
class ARAuto;
class ARBarFormat;
class ARMusic;
class ARMusicalTag;
class ARMusicalVoice;
class ARPageFormat;
class ARSystemFormat;
class GRBeginSpaceForceFunction2;
class GRGrace;
class GRClef;
class GRGlobalStem;
class GRKey;
class GRMusic;
class GRNotationElement;
class GRPage;
class GRPossibleBreakState;
class GRSpaceForceFunction2;
class GRSpacingMatrix;
class GRStaff;
class GRStaffState;
class GRSystem;
class GRSystemSlice;
class GRVoice;
class GRVoiceManager;

// The layout driver: walks all voices together in time through their voice managers, gathers
// the elements of each time position into springs, closes system slices at the possible breaks
// and hands them to the line breaker, which makes the systems and pages.
class GRStaffManager {
 public:
  // A manager for the spacing of loose slices, without music or pages.
  GRStaffManager();
  // Opens the first page of music with the page format.
  GRStaffManager(GRMusic* music, ARPageFormat* pageFormat);
  GRStaffManager(GRStaffManager const&) = delete;
  GRStaffManager& operator=(GRStaffManager const&) = delete;
  virtual ~GRStaffManager();

  // Records a clef, key or meter in the staff's state; false for any other tag.
  virtual bool setStaffStateTag(ARMusicalTag* tag, int staffnum);
  virtual float getSystemWidthCm();
  virtual void EndPage(ARMusicalVoice* voice, void* position);
  virtual void EndSystem(ARMusicalVoice* voice, void* position);
  virtual void setRelativeEndTimePosition(Fraction const& tp);
  virtual Fraction const& getRelativeTimePositionOfGR() const { return mStartTime; }
  // The staff of the open slice with that number, made when missing; null outside 0..255.
  virtual GRStaff* getStaff(int staffnum);
  virtual void prepareStaff(int staffnum);

  // The whole layout run. It stops at the first time position after the engine's list steps
  // (EngineWork) have passed stepLimit, and ranOutOfWork then tells so.
  void createStaves(std::uint64_t stepLimit = UINT64_MAX);
  bool ranOutOfWork() const { return mRanOutOfWork; }
  // Turns the elements gathered at tp into springs; 0.
  int FinishSyncSlice(Fraction const& tp);
  // Registers an element for the current time position; n is the voice number, or a spring id
  // for an element that shares a spring. -1 when the element took no new place, else 0.
  int AddGRSyncElement(GRNotationElement* element, GRStaff* staff, int n, GRVoice* voice,
                       GRNotationElement* beside = nullptr);
  // At most one system tag of a class per time position; a second one is deleted. 0.
  int AddSystemTag(GRNotationElement* element, GRStaff* staff, int voicenum);
  int AddPageTag(GRNotationElement* element, GRStaff* staff, int voicenum);

  // The clef, key and meter that open the system after last; the caller owns it.
  // next is the first slice of the new line; a clef or key it opens with opens the line
  // instead, and the naturals of a key change there go.
  GRSystemSlice* CreateBeginSlice(GRSystemSlice const* last, GRSystemSlice* next = nullptr);
  void ResumeOpenTags(GRSystemSlice const* last, GRSystemSlice* begin);
  // The notes of the line that begin opens after last, on the count slices waiting first, show
  // the signs a reader of that line needs: none is read from the line before.
  void ShowSignsAgainOnLine(GRSystemSlice const* last, GRSystemSlice* begin, int count);
  void TakeCareOfBreakAt(GRSystem* system);
  GRGlobalStem* getOtherGlobalStem(GRSystemSlice* slice, GRVoiceManager* asking,
                                   NVstring const& label);
  void EndStaves(Fraction const& tp, int lastSlice);

  void NewPage(GRPage* page);
  void setPageFormat(ARPageFormat* format);
  void setSystemFormat(ARSystemFormat* format) { mSystemFormat = format; }
  void setAutoBreak(ARABreak* tag) { mAutoBreakTag = tag; }
  void setAutoTag(ARAuto* tag) { mAutoTag = tag; }
  void notifyAccoladeTag(ARAccol* tag) { mAccoladeTag = tag; }
  void setSystemDistance(float distance, GRVoiceManager const&) {
    mPendingSystemDistance = distance;
  }
  void setBarFormat(ARBarFormat* format, GRStaff* staff);
  bool IsAutoPageBreak() const;
  int getNumVoices() const;
  GRBeginSpaceForceFunction2* getCurrentBegSFF() const;
  // Breaking at a saved state is not supported.
  void BreakAtPBS(void*);

  // Picks the line breaks over the finished slices and builds the systems and pages. mode 0 at
  // the end of the piece, 1 at a new-system tag, 2 at a new-page tag; returns the height used
  // on the current page.
  float FindOptimumBreaks(int mode, float usedHeight);

  // Spacing of the open slice: durations and constants of its springs, the rods of its voices
  // and of neighbouring springs, stretched to satisfy every rod. The caller owns the result.
  GRSpaceForceFunction2* BuildSFF();
  void createNewSystemRods(int startid, int endid);
  // The room the slice's first event keeps from the last events of the slice before, past the
  // springs between them (notes of other voices), beyond what those springs hold already.
  float RoomFromSliceBefore(int startid) const;
  // Rods from each grace note's spring to the spring of the note its group leans on.
  void keepRoomForGraceNotes(int startid, int endid);
  // A rod from the last spring that holds something of the group's staff to the group's first
  // spring, across springs of other staves.
  void keepClearOfTheStaffBefore(GRGrace const& grace, int first, int startid);
  // Stretches springs first .. end-1 so that the simple rods, then the complex ones by force,
  // reach their lengths; flagged complex rods go first.
  static void InitialSpringStretch(int startid, int endid, GRRodList* tmpsimplerods,
                                   GRRodList* tmpcomplexrods, KF_IVector<GRSpring>* tmpsprvect,
                                   std::ofstream* unused = nullptr);
  // Takes the rod; marking sets the frozen flag of the springs it covers.
  int addRod(GRRod* rod, bool mark, bool fromFront, int unused);
  int deleteRod(GRRod* rod);
  // 0: the lowest spring, whose constant follows; -1: the highest.
  void addElementToSpring(GRNotationElement* element, int springid);
  // Keeps the widest begin clef and key and rebuilds the begin function when one grew.
  void UpdateBeginningSFF(int staffnum);
  // Joins the spacing of two neighbouring slices; no layout path uses it.
  void MergeSPFs(GRPossibleBreakState* pbs1, GRPossibleBreakState* pbs2);

  // A new spring at the next id; the manager owns it.
  int addSpring(GRSpring* spring);
  // The voices that take part in the spacing, in voice order; not owned.
  void addVoice(GRVoice* voice) { mVoices.AddTail(voice); }
  // Closes the open slice: its springs are those from here on.
  void closeSlice() { mLastSpringID = mSpringID; }

  KF_IVector<GRSpring>* getSprings() { return mSprings; }
  KF_IPointerList<GRRod> const& getSimpleRods() const { return mSimpleRods->rods(); }
  KF_IPointerList<GRRod> const& getComplexRods() const { return mComplexRods->rods(); }
  GRRodList* getSimpleRodList() { return mSimpleRods; }
  GRRodList* getComplexRodList() { return mComplexRods; }
  GRRod* getFirstSystemRod() const { return mFirstSystemRod; }
  GRRod* getLastSystemRod() const { return mLastSystemRod; }
  int getSpringID() const { return mSpringID; }
  int getLastSpringID() const { return mLastSpringID; }
  GRSystemSlice* getCurrentSlice() const { return mCurrentSlice; }
  GRPage* getCurrentPage() const { return mCurrentPage; }
  GRSystem* getCurrentSystem() const { return mCurrentSystem; }
  KF_IPointerList<GRSystemSlice>& getFinishedSlices() { return mFinishedSlices; }
  KF_IVector<GRStaff>* getStaves() const { return mStaves; }

  // Layout settings of the pages: the distance between systems, how they spread over a page
  // (1 auto, 2 always, 3 never), the largest gap auto spreading accepts as a share of the inner
  // height, and whether line breaking also fills pages well.
  static float sDefaultSystemDistance;
  static int sSystemDistribution;
  static float sSystemDistribLimit;
  // Evens out runs of equal notes; a layout setting.
  static bool sNeedSpecialSpacing;
  static bool sOptPageFill;

  // Highest staff number a score may use; the per-staff vectors are indexed by it.
  static constexpr int kMaxStaffNumber = 255;

  // One element of a sync group.
  struct SubHash {
    GRNotationElement* grel;
    GRStaff* grstaff;
    int voicenum;  // -1 beside another element
    GRVoice* voice;
  };
  // The zero-duration elements of one class at the current time, and the group's sync number.
  struct HashEntry {
    KF_IPointerList<SubHash>* list;
    int number;
  };
  struct VoiceEvent {
    GRNotationElement* grel;
    GRVoice* voice;
  };

 private:
  void setSpringConstants(GRSpacingMatrix const& matrix);
  // Rods that keep the heads of neighbouring events their air where a spring is too short for
  // the force of a line at its optimum to give it them (see HeadsApartWithAir).
  void keepHeadsAirOfShortSprings(int startid, int endid);
  void makeSpringZero();
  void resetSpacing();
  bool isValidStaffNumber(int staffnum, char const* what) const;
  // The springs a sync slice made that a tempo mark may stand on; -1 for none.
  struct SyncSprings {
    int firstWithMeter = -1;
    int firstWithEvent = -1;
  };
  // The springs of the elements gathered at tp, without the system tags, which stay waiting.
  SyncSprings makeSyncSprings(Fraction const& tp);
  GRSpring* springForEvents(Fraction const& tp);
  void springsForSyncGroups(Fraction const& tp, SyncSprings& made);
  void placeSystemTags(int springId);
  // The marks written after the last event stand on the last spring made.
  void placeWaitingSystemTags();
  void closeSliceAtBreak(Fraction const& tp, float breakValue);
  void handleBreak(int kind, Fraction const& tp, float& usedHeight, float breakValue);
  // The springs at the start of a line's first slice that hold only tags its begin slice took
  // over take no room.
  void closeUpHiddenOpening(GRSystemSlice& slice);

  float mCurrentSystemDistance = -1;
  float mPendingSystemDistance = -1;
  GRClef* mBeginClef = nullptr;
  GRKey* mBeginKey = nullptr;
  KF_IVector<GRStaff>* mStaves;
  KF_Vector<void*> mStaffPositions{nullptr};
  KF_IVector<GRVoiceManager>* mVoiceManagers = nullptr;
  GRSystemSlice* mCurrentSlice = nullptr;
  GRSystem* mCurrentSystem = nullptr;
  GRMusic* mGrMusic = nullptr;
  GRPage* mCurrentPage = nullptr;
  ARSystemFormat* mSystemFormat = nullptr;
  KF_IPointerList<GRSystemSlice> mFinishedSlices{0};
  KF_IPointerList<GRBeginSpaceForceFunction2> mBeginSFFs{1};
  KF_IPointerList<GRSpring> mBeginSprings{1};
  KF_Vector<float> mBeginTops{0.0f};
  KF_Vector<float> mBeginBottoms{0.0f};
  GRRod* mLastSystemRod = nullptr;
  GRRod* mFirstSystemRod = nullptr;
  // The heads of a spring and of the one after it as the system rods are made, kept for their
  // room from one slice to the next.
  HeadBands mHeads;
  HeadBands mNextHeads;
  Fraction mStartTime;
  Fraction mDuration;
  ARMusic* mArMusic = nullptr;
  KR_HashTable<NVstring, GRNotationElement*> mSystemTags;
  KR_HashTable<NVstring, HashEntry> mSyncTable;
  // The group of the table each class's key names now, so that a time with thousands of tags
  // finds a tag's group in one step.
  std::unordered_map<std::type_index, KR_HashTable<NVstring, HashEntry>::KeyType*> mSyncGroups;
  KF_Vector<int> mVoiceSyncNumbers{-1};
  int mSyncCounter = 1;
  bool mRanOutOfWork = false;
  int mSpringID = 0;
  int mLastSpringID = 0;
  GRRodList* mSimpleRods;
  GRRodList* mComplexRods;
  KF_IVector<GRSpring>* mSprings;
  // Per staff number, the state a new staff starts with: a copy of the one the staff of that
  // number had where the last slice holding it ended.
  std::map<int, GRStaffState> mBeginStaffStates;
  GRSpaceForceFunction2* mSpaceForceFunction;
  KF_IPointerList<VoiceEvent> mVoiceEvents{1};
  ARABreak* mAutoBreakTag = nullptr;
  ARAuto* mAutoTag = nullptr;
  ARAccol* mAccoladeTag = nullptr;
  KF_List<GRVoice*> mVoices;
};

// Rod order: -1, 0 or 1.
int rodpcomp(GRRod const* a, GRRod const* b);
