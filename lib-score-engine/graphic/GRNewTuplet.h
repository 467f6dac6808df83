#pragma once

#include <unordered_map>

#include "GRPTagARNotationElement.h"
#include "GRRoomBeside.h"
#include "appended_fold.h"
#include "tuplet_ink.h"

class ARTuplet;

// The number of a tuplet over or under its notes, with a bracket whose halves leave room for it.
// The bracket is placed clear of the notes, or where the tag's format or offsets put it.
class GRNewTuplet : public GRPTagARNotationElement, public GRRoomBeside {
 public:
  struct GRNewTupletSaveStruct : GRPositionTag::GRSaveStruct {
    NVPoint p1;       // left end of the bracket
    NVPoint p2;       // right end
    NVPoint textPos;  // where the number stands
    // A piece whose ends stand at one x has no bracket to place; it draws nothing.
    bool placed = false;
  };

  GRNewTuplet(GRStaff* staff, ARTuplet* ar);

  GRSaveStruct* getNewGRSaveStruct() override { return new GRNewTupletSaveStruct; }
  ARTuplet const* getARTuplet() const { return mTuplet; }
  void tellPosition(GObject* caller, NVPoint const& point) override;
  // The staff of each note keeps room for the bracket and the number: the staves are stacked
  // before the bracket learns its line.
  void addAssociation(GRNotationElement* element) override;
  using GRPTagARNotationElement::removeAssociation;
  // Where a bracket placed clear of the notes stands beside the staff's notes so far, number
  // included; empty for a bracket at the tag's own heights.
  NVRect roomBeside(GRStaff const* staff) const override;
  // Where the bracket and number stand under the staff: where the staff is shared by voices the
  // bracket stays on the stems' side, and the marks under the staff stand below it.
  float reachUnderBetween(Fraction const& from, Fraction const& to,
                          GRStaff const* staff) const override;
  // The beams of the notes set their stems after the bracket was placed with the notes: once the
  // system is spaced, the bracket of its piece is placed again over the stems as drawn.
  void FinishPTag(GRStaff* staff) override;
  // Where the bracket and the number of the piece on that system are drawn, the number's white
  // ground included; empty for a piece that draws nothing.
  NVRect drawnBox(GRSystem const* system) const;
  // The same ink in its parts, for a curve to pass clear of: the number's box, and the bracket's
  // line as its two ends with the pen's width and the hooks' reach; no ends where none is drawn.
  struct Parts {
    NVRect number;
    NVPoint left, right;
    float top = 0, bottom = 0;  // how far the line's ink reaches over and under it
    bool bracket = false;
  };
  Parts drawnParts(GRSystem const* system) const;
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;

 private:
  // How far a staff's notes reach up and down.
  struct Extent {
    float top;
    float bottom;
  };
  void automaticPosition(GRNotationElement* element);
  void manualPosition(GRNotationElement* element, NVPoint const& point);
  // A piece cut by a break may hold one note only: its bracket still leaves room on both sides
  // of the number, reaching on towards the break as far as the line goes.
  void roomForNumber(GRSystemStartEndStruct const* sse) const;
  // The bracket and number as placed, for keeping them clear of the notes.
  TupletInk::Mark markOf(GRNewTupletSaveStruct const& save) const;
  // Below the notes when their stems mostly go down, unless dynamic marks or wedges stand under
  // the staff at its times: the bracket then goes above, out of their way. On a staff shared by
  // voices the other voice stands above, and the bracket stays below.
  bool goesBelow(int stems, GRStaff const* staff) const;
  // Whether the tuplet holds so many notes that it folds them rather than measure them all at
  // every question; it has then taken in the notes so far.
  bool foldsItsNotes() const;

  ARTuplet* mTuplet;
  int direction = 1;  // 1 above the notes, -1 below
  bool leftBrace = false;
  bool rightBrace = false;
  // The notes taken in: the stems' vote (up counts 1, down -1) and each staff's extent.
  mutable AppendedFold mNoteFold;
  mutable int mStemVote = 0;
  mutable std::unordered_map<GRStaff const*, Extent> mExtents;
};
