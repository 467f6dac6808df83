#pragma once

#include <fstream>

#include "GRRod.h"
#include "GRSpring.h"
#include "kf_ilist.h"
#include "kf_ivect.h"
#include "kf_list.h"

class GRNotationElement;
class GRSpaceForceFunction2;
class GRSpacingMatrix;
class GRVoice;

// Builds the systems of a piece from its voices. So far it holds what the spacing of one slice
// needs: the springs numbered by id, the rods between them in rod order, and the voices that
// add their rods and note frequencies.
class GRStaffManager {
 public:
  GRStaffManager() = default;
  GRStaffManager(GRStaffManager const&) = delete;
  GRStaffManager& operator=(GRStaffManager const&) = delete;
  virtual ~GRStaffManager() = default;

  // Spacing of the open slice: durations and constants of its springs, the rods of its voices
  // and of neighbouring springs, stretched to satisfy every rod. The caller owns the result.
  GRSpaceForceFunction2* BuildSFF();
  void createNewSystemRods(int startid, int endid);
  // Stretches springs first .. end-1 so that the simple rods, then the complex ones by force,
  // reach their lengths; flagged complex rods go first.
  static void InitialSpringStretch(int startid, int endid, KF_IPointerList<GRRod>* tmpsimplerods,
                                   KF_IPointerList<GRRod>* tmpcomplexrods,
                                   KF_IVector<GRSpring>* tmpsprvect,
                                   std::ofstream* unused = nullptr);
  // Takes the rod; marking sets the frozen flag of the springs it covers.
  int addRod(GRRod* rod, bool mark, bool fromFront, int unused);
  int deleteRod(GRRod* rod);
  // 0: the lowest spring, whose constant follows; -1: the highest.
  void addElementToSpring(GRNotationElement* element, int springid);

  // A new spring at the next id; the manager owns it.
  int addSpring(GRSpring* spring);
  // The voices that take part in the spacing, in voice order; not owned.
  void addVoice(GRVoice* voice) { mVoices.AddTail(voice); }
  // Closes the open slice: its springs are those from here on.
  void closeSlice() { mLastSpringID = mSpringID; }

  KF_IVector<GRSpring>* getSprings() { return &mSprings; }
  KF_IPointerList<GRRod> const& getSimpleRods() const { return mSimpleRods; }
  KF_IPointerList<GRRod> const& getComplexRods() const { return mComplexRods; }
  GRRod* getFirstSystemRod() const { return mFirstSystemRod; }
  GRRod* getLastSystemRod() const { return mLastSystemRod; }
  int getSpringID() const { return mSpringID; }
  int getLastSpringID() const { return mLastSpringID; }

  // Evens out runs of equal notes; a layout setting.
  static bool sNeedSpecialSpacing;
  // Layout settings of the pages: the distance between systems, how they spread over a page
  // (1 auto, 2 always, 3 never), the largest gap auto spreading accepts as a share of the inner
  // height, and whether line breaking also fills pages well.
  static float sDefaultSystemDistance;
  static int sSystemDistribution;
  static float sSystemDistribLimit;
  static bool sOptPageFill;

 private:
  void setSpringConstants(GRSpacingMatrix const& matrix);

  int mSpringID = 0;
  int mLastSpringID = 0;
  KF_IVector<GRSpring> mSprings{1};
  KF_IPointerList<GRRod> mSimpleRods{1};
  KF_IPointerList<GRRod> mComplexRods{1};
  GRRod* mFirstSystemRod = nullptr;
  GRRod* mLastSystemRod = nullptr;
  KF_List<GRVoice*> mVoices;
};

// Rod order: -1, 0 or 1.
int rodpcomp(GRRod const* a, GRRod const* b);
