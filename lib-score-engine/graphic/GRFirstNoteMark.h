#pragma once

#include <optional>

#include "GRPTagARNotationElement.h"
#include "NVRect.h"

class GRSystem;

// A range mark drawn once, over the first note of its range: trills, tremolos and the tempo
// changes. Texts and glyphs stand centred on the note, a space over the staff, or over the note
// and its stem when they reach higher, clear of the staff lines and of the head. Words reach
// wider than the note: once the line is laid out they rise over whatever music stands under
// their whole width, the note's beam and its neighbours' stems, heads, signs, articulations,
// rests and ledger lines.
class GRFirstNoteMark : public GRPTagARNotationElement {
 public:
  GRFirstNoteMark(GRStaff* staff, ARMusicalObject* ar);

  void tellPosition(GObject* caller, NVPoint const& point) override;
  // Centred on the note's x, standing on the mark's y.
  unsigned int getTextAlign() const override { return 9; }
  // On the system where the range begins only: a later piece has no first note to stand at. A
  // mark in error draws nothing.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const final;
  // The box of the words drawn on the system, in the staff's coordinates: none for a mark drawn
  // as a glyph or standing on another system. Marks placed beside the note's words keep clear
  // of it.
  std::optional<NVRect> wordsBoxOn(GRSystem const* system) const;

 protected:
  // Its words, or null for a mark drawn otherwise.
  virtual char const* words() const { return nullptr; }
  virtual void drawMark(VGDevice& device, VScoreSymbolMap& map) const;
  // The whole text at the mark's place, raised over the music under it on the system drawn.
  void drawText(VGDevice& device, char const* text) const;

 private:
  // How far the words of that width rise over their place to clear the music of the line under
  // them: 0 or less.
  float riseOn(GRSystem const* system, float width) const;
};
