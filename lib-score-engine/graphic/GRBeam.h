#pragma once

#include <memory>
#include <vector>

#include "GDirection.h"
#include "GRPTagARNotationElement.h"
#include "GRSystemTagInterface.h"
#include "kf_ilist.h"

class ARBeam;
class GREvent;
class GRSimpleBeam;
class GRSingleRest;

// The beam over a run of flagged events of a voice: one stem direction for all, the main beam's
// corners per system piece, every stem made to reach it, and one GRSimpleBeam per further
// level. A beam whose events lie on two staves is placed by its system once both are placed.
class GRBeam : public GRPTagARNotationElement, public GRSystemTagInterface {
 public:
  struct GRBeamSaveStruct : GRPositionTag::GRSaveStruct {
    // Both made where the simple beams are complete, so that deleting them runs their
    // destructors.
    GRBeamSaveStruct();
    ~GRBeamSaveStruct() override;
    int dirset = 0;     // some event has its stem direction set
    int direction = 0;  // events with stems up minus those with stems down
    // Start at the stem, start away from it, end at the stem, end away from it.
    NVPoint p[4];
    std::unique_ptr<KF_IPointerList<GRSimpleBeam>> simpleBeams;
    // A line may hold only rests of a beam whose notes stand on other lines: no beam is drawn
    // there, as no stem would end on it.
    bool holdsNote = true;
  };

  GRBeam(GRStaff* staff, ARBeam* ar);
  ~GRBeam() override;

  GRSaveStruct* getNewGRSaveStruct() override;
  ARBeam const* getARBeam() const;
  virtual bool isAutoBeam() const { return false; }

  void addAssociation(GRNotationElement* element) override;
  void RangeEnd(GRStaff* staff) override;
  void StaffBegin(GRStaff* staff) override;
  void StaffFinished(GRStaff* staff) override;
  void ResumeTag(GRStaff* staff, void* pos) override;
  void BreakTag(GRStaff* staff, void*& pos) override;

  bool setsStems() const override { return true; }
  // Works out the piece of the element's system once its last element is placed.
  void tellPosition(GObject* caller, NVPoint const& point) override;
  void checkPosition(GRSystem const* system) override;
  using GRTag::setError;
  // A non-zero code gives the events their flags back; the beam then lets go of everything.
  virtual void setError(GRStaff const* staff, int code);
  // Every element of the piece on the staff's system must be an event.
  virtual void checkNotes(GRStaff* staff);
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  // The box of the main beam's piece on the system, in its staff's coordinates; false when the
  // beam has none there.
  bool getPieceBox(GRSystem const* system, NVRect& box) const;
  // How high and how low the piece on the system, all its levels, reaches over the stretch
  // from left to right, in its staff's coordinates; false where it does not run over the stretch,
  // and for a beam between staves.
  bool coverOver(GRSystem const* system, float left, float right, float* top, float* bottom) const;
  // The piece of the beam drawn on the system; null where none is, as on a line that holds
  // only rests under a beam whose notes stand on other lines.
  GRBeamSaveStruct const* drawnPiece(GRSystem const* system) const;

 private:
  GRBeamSaveStruct* saveOf(GRSystemStartEndStruct const* sse) const;
  void placeCorners(GRSystemStartEndStruct* sse, GRBeamSaveStruct* st);
  // Where the text gives the stems' lengths: the beam stands that far from the heads along the
  // stems, and the stems at its ends take those lengths.
  void placeAtWrittenLengths(GRSystemStartEndStruct* sse, GRBeamSaveStruct* st, float thickness);
  // Returns true when stem needs count (the slope was left to the layout).
  bool limitSlope(GRSystemStartEndStruct* sse, GRBeamSaveStruct* st);
  void correctStems(GRSystemStartEndStruct* sse, GRBeamSaveStruct* st, bool adjust);
  void addLevels(GRSystemStartEndStruct* sse, GRBeamSaveStruct* st);
  // The rests under the piece move away from the beam, by half line spaces, until it clears
  // them.
  void clearRests(GRSystemStartEndStruct const* sse, GRBeamSaveStruct const* st);
  // How far the beam moves, down where positive, to clear the rests that the other voices moved
  // toward it; 0 where none needs it.
  float roomForRests(GRSystemStartEndStruct const* sse, GRBeamSaveStruct const* st) const;
  // The text gives corners or stem lengths of its own.
  bool placedByHand() const;
  // A beam across staves lies between them and every stem reaches it.
  void placeBetweenStaves(GRSystemStartEndStruct* sse, GRBeamSaveStruct* st);
  bool betweenStaves() const { return tagType == SYSTEMTAG && !placedByHand(); }
  // The notes of the piece whose stems were left to the engine point the way the others' were
  // written, where those agree.
  void followWrittenDirection(NEPointerList* list, GRSystemStartEndStruct* sse);
  // The piece is placed between the staves: its stems were left to the beam and both its ends
  // are events.
  bool piecePlacedBetweenStaves(GRSystemStartEndStruct const* sse,
                                GRBeamSaveStruct const* st) const;

  // The stem direction of the piece's first note, up where it has none.
  GDirection pieceDirection(GRSystemStartEndStruct const* sse) const;
  // The line space the further beam levels are spaced by.
  float levelSpace() const;

  bool isSystemCall = false;
  // The rests between the beam's events; they belong to their staves.
  std::vector<GRSingleRest*> mRestsUnder;
};
