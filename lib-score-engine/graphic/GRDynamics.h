#pragma once

#include <functional>

#include "GRPTagARNotationElement.h"
#include "GRRoomBeside.h"
#include "appended_fold.h"

class ARDynamics;
class MusicInk;

// What crescendo and diminuendo wedges share: per system piece the wedge's start and end x and
// a height clear of the notes, below or above the staff.
class GRDynamics : public GRPTagARNotationElement, public GRRoomBeside {
 public:
  struct GRDynamicsSaveStruct : GRPositionTag::GRSaveStruct {
    int placement = 0;  // 0 below the staff, 1 above
    NVPoint point;      // the pointed end at the left, staff coordinates
    float reserved = 0;
    float upperOpening = 0;  // how far the upper leg ends above point.y
    float length = 0;
    float lowerOpening = 0;  // how far the lower leg ends below point.y
  };

  // ownsAR for a wedge the engine makes without a tag of the text.
  GRDynamics(GRStaff* staff, ARDynamics* ar, bool ownsAR = false);

  // Later pieces stand where the first one does.
  GRSaveStruct* getNewGRSaveStruct() override;
  void tellPosition(GObject* caller, NVPoint const& point) override;
  void OnDraw(VGDevice&, VScoreSymbolMap&) const override {}
  // -1 without a staff.
  virtual int updateDynamic(GRStaff const* staff);
  // How far a piece below the staff, standing in the box, moves down to keep clear of what
  // stays where it is.
  using MoveDown = std::function<float(NVRect const&)>;
  // Once the line is placed: the piece of the staff's system stands beyond all the ink of the
  // music under (over) it, of every voice, not only beyond its own notes' boxes, and a piece
  // below the staff as far further down as `down` asks.
  void standClearOf(MusicInk const& ink, GRStaff const* staff, MoveDown const& down);
  // A wedge over one time keeps room after it for its shortest length.
  void RangeEnd(GRStaff* staff) override;
  // Once the line is placed, a wedge ending at a note runs on towards what follows.
  void FinishPTag(GRStaff* staff) override;
  // The staff of each note under the wedge keeps room for it: the staves are stacked before the
  // wedge learns its line.
  void addAssociation(GRNotationElement* element) override;
  // Where the wedge stands beside its notes so far.
  NVRect roomBeside(GRStaff const* staff) const override;
  // A wedge below the staff, over notes of those times.
  bool standsUnderBetween(Fraction const& from, Fraction const& to) const override;

 protected:
  // The piece of the system being drawn.
  GRDynamicsSaveStruct const& currentPiece() const;
  // How far each leg of that piece stands from its middle at the narrow end: none where the
  // wedge begins or ends on the system, part of the opening where it goes on over a line break
  // (a crescendo's continuation, a diminuendo before its last piece), so that the piece reads
  // as part of one wedge rather than as a wedge of its own. The side is the narrow end's:
  // `atStart` for a crescendo, the end for a diminuendo.
  float narrowOpening(bool atStart) const;
  VGColor colour() const;
  // The legs are drawn heavier than staff lines, so that they read on small pictures.
  static constexpr float kPenWidth = 6;

 private:
  // The piece keeps half a space from the letters of the dynamic marks at its height: it starts
  // after a mark at its first note, keeping the shortest length it may have, and ends before
  // the next one.
  static void keepClearOfMarks(GRNotationElement const* first, GRDynamicsSaveStruct& piece,
                               float shortest, float lineSpace);
  // As updateDynamic, beyond the ink when given, and moved down as `down` asks.
  int place(GRStaff const* staff, MusicInk const* ink, MoveDown const* down);
  // The farthest reach of the notes so far, below the staff or above it.
  float reachOfNotesSoFar(bool above) const;
  mutable AppendedFold mReachFold;
  mutable bool mReachAbove = false;
  mutable float mReach = 0;
};
