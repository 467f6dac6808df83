#pragma once

#include <vector>

#include "Fraction.h"
#include "GRARCompositeNotationElement.h"
#include "kf_ivect.h"
#include "kf_list.h"

class ARMusicalVoice;
class GRPage;
class GRRod;
class GRSpaceForceFunction2;
class GRSpacingMatrix;
class GRSpring;
class GRStaffManager;
class GRSystem;

// Every graphical element of one voice in time order, across staves and systems; the staves own
// the elements. Per system being built it adds the rods between its consecutive springs and the
// frequency of its notes to the spacing matrix.
class GRVoice : public GRARCompositeNotationElement {
 public:
  GRVoice(ARMusicalObject* voice, bool ownsAR);
  ~GRVoice() override;

  void OnDraw(VGDevice&, VScoreSymbolMap&) const override {}
  void GGSOutput() const override {}
  void print() const override {}

  ARMusicalVoice* getARMusicalVoice() const;
  // The first element after a line start opens the system.
  virtual void* AddTail(GRNotationElement* element);
  // A line starts: the next element opens the system and the rods start over.
  void resetForNewLine();
  void startNewSystem(GRSystem* system);
  void* getSystemStartPos(GRSystem const* system) const;
  virtual void setPossibleNLinePosition(Fraction const& tp);
  // Drops the elements added since the possible new line at tp (they are not deleted).
  virtual void rememberNLinePosition(Fraction const& tp);

  // The page of the first event at num/denom; null when a later event comes first or none is.
  GRPage* getPageNum(int num, int denom) const;
  // The page of the last event not later than num/denom; null when none is.
  GRPage* getPageForTimePos(int num, int denom) const;

  // Rods between the voice's consecutive springs since the last call; -1 before the system has
  // an element.
  int createNewRods(GRStaffManager* manager, int& startspr, int& endspr);
  // Raises row 3 of the matrix to the frequency of the shortest note spanning each spring and
  // hands it the runs of equal notes.
  int updateMSCMatrix(GRSpaceForceFunction2* sff, GRSpacingMatrix* matrix, GRStaffManager* manager,
                      KF_IVector<GRSpring>* springs, int startspr, int endspr);

  GRRod* getLastRod() const { return mLastRod; }
  GRRod* getFirstRod() const { return mFirstRod; }

 private:
  struct SystemNode {
    GRSystem* system;
    void* lastBefore;
  };
  void* firstToWalk() const;

  void* mSystemStartPos = nullptr;
  bool mFirstElementPending = true;
  void* mLastRodPos = nullptr;
  GRRod* mLastRod = nullptr;
  GRRod* mFirstRod = nullptr;
  Fraction mNLineTime{0, 1};
  void* mNLinePos = nullptr;
  std::vector<SystemNode> mSystems;
};
