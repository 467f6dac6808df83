#pragma once

#include <map>
#include <string>

#include "GRTagARNotationElement.h"

class ARJump;
class GRStaff;
class GRSystem;
class VGFont;

// A navigation mark above the staff (da capo, dal segno, fine and the like): a row of words in
// the jump font and of named glyphs.
class GRJump : public GRTagARNotationElement {
 public:
  // A right-justified mark ends at its position; others start 50 units before it.
  GRJump(ARJump* jump, bool rightJustified);

  // The glyph map and the font are made again after the engine is reset: the font points into
  // the font cache.
  static void ResetClassState();

  ARJump const* getARJump() const;
  // The mark stands first on a line the line breaker opened: no bar line stands before it to
  // take its room over, so it starts at its place and the line's notes go on under it.
  void openLine();
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  NVPoint const& getReferencePosition() const override { return sRefposNone; }
  virtual float getSymbolSize() const { return 1.0f; }
  VGFont const* SelectTextFont(VGDevice& device) const;
  // The top of the row drawn on the staff, in the staff's coordinates: the system keeps it in
  // its box.
  float topOn(GRStaff const* staff) const;

 protected:
  // The glyph of a symbol part's name; 0 for a name without one.
  static unsigned int GlyphOf(std::string const& name);
  // The box and room of the row of parts, with the symbols at getSymbolSize(): a subclass
  // that draws its symbols at another size measures again.
  void measure();
  // How far the row reaches up from its base line, its texts measured on the device given.
  float rowHeight(VGDevice* measuring) const;
  // The base line of the row on the staff, for a row that high drawn shift right of its place.
  float markBase(GRStaff const* staff, float rowHeight, float shift) const;
  // The highest point of the tempo marks over [left, right] of the system, in its coordinates;
  // infinity where none stands.
  static float tempoMarksTop(GRSystem const& system, float left, float right);
  // How far right of its place the mark stands, beside the marks written before it at its date
  // on the staff's line.
  float sideShift(GRStaff const* staff) const;

  bool mRightJustified;

 private:
  static std::map<std::string, unsigned int> mSymbols;
  static VGFont const* mFont;
};
