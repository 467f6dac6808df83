#pragma once

#include <map>
#include <string>
#include <vector>

#include "GRPTagARNotationElement.h"

class ARVolta;
class NEPointerList;
class GRSystem;

// The bracket with its text over the bars of an ending. It starts at its first element (or at
// the bar before it when the ending opens a staff slice), ends before the next bar, note or
// rest, stands above its notes, goes on over line breaks as one piece per line, and lines up
// with the volta just before it on the same staff.
class GRVolta : public GRPTagARNotationElement {
 public:
  GRVolta(GRStaff* staff, ARVolta* ar);
  // Takes itself out of the table of last voltas.
  ~GRVolta() override;

  void tellPosition(GObject* caller, NVPoint const& point) override;
  void FinishPTag(GRStaff* staff) override;
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  NVPoint const& getReferencePosition() const override { return refpos; }

  // The box of the piece drawn on a system, from its line down to the ends of its hooks, where
  // the staff's elements stand; false when no piece is drawn there.
  bool pieceOn(GRSystem const* on, NVRect* box) const;

  // The last volta finished on a staff number, null for none.
  static GRVolta* getPrevious(int staffNumber);
  // Forgets every volta: a new score starts without any.
  static void ResetClassState() {
    mPrevious.clear();
    ForgetNoteOrRestAnswer();
  }

 private:
  enum Shape { BOTH_HOOKS = 0, LEFT_HOOK = 1, RIGHT_HOOK = 2, NO_HOOKS = 3 };

  // Whether a note or rest comes before the element in the list. Voltas stacked over one note
  // all ask this of the same element, and the walk back passes all the others: the last answer
  // is kept for the list as long as the list does not change.
  static bool NoteOrRestBefore(NEPointerList& list, GRNotationElement* element);
  static void ForgetNoteOrRestAnswer();
  GRNotationElement* getBegElt(GRNotationElement* element) const;
  GRNotationElement* getEndElt(GRNotationElement* element) const;
  void adjustPrevious(GRStaff* staff);
  void adjustRight(GRNotationElement* element);
  float pageRight() const { return mPosition.x + mBoundingBox.right; }
  void drawPiece(VGDevice& device, NVRect box, int shape, bool withText) const;

  // A piece on a line the volta has gone on from.
  struct Piece {
    GRSystem const* system;
    NVRect box;
    NVPoint position;
  };
  // The piece on a system: its box moved to where it stands, and its place among the pieces
  // (0 the first; the current piece, in mBoundingBox and mPosition, is the last). False when
  // the volta has no piece there.
  bool placedPiece(GRSystem const* on, NVRect* box, size_t* index) const;
  // How far the piece must rise for the slurs and ties, the words and ornaments at the notes and
  // the octava figures under it to stay below its line, and below its number when it carries it:
  // they were placed after the volta.
  float liftOverMarksUnder(GRSystem const* on, NVRect const& box, bool withText) const;
  // Takes the current piece over its elements on its line: it reaches to the last of them and,
  // unless the text gives its height, stands above them.
  void clearElementsOfPiece();
  // Every piece of a broken volta stands at the height of the highest.
  void levelPieces();
  bool broken() const { return !mEarlierPieces.empty(); }

  std::vector<Piece> mEarlierPieces;
  GRSystem const* system = nullptr;  // of the current piece
  GRNotationElement* endElt = nullptr;
  GRNotationElement* begElt = nullptr;
  int shape = BOTH_HOOKS;
  std::string mark;

  static inline std::map<int, GRVolta*> mPrevious;
  static inline NVPoint const refpos{};
};
