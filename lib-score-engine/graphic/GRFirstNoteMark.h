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
  // The box of the words or glyph drawn on the system, where it stands among the marks of its
  // line: none where it draws nothing.
  std::optional<NVRect> boxOn(GRSystem const* system) const;
  // The box of the words or glyph drawn on the system where the mark would stand alone, over the
  // music under it, before it stands over the marks of its line that it would meet: none where
  // it draws nothing.
  std::optional<NVRect> ownBoxOn(GRSystem const* system) const;
  // Whether the mark draws words, which a curve passes round; a curve passes under a glyph.
  bool drawsWords() const { return words() != nullptr; }

 protected:
  // Whether the mark is drawn on the system: where its range begins, and not in error.
  bool drawnOn(GRSystem const* system) const;
  // Its words, or null for a mark drawn otherwise.
  virtual char const* words() const { return nullptr; }
  virtual void drawMark(VGDevice& device, VScoreSymbolMap& map) const;
  // The width and height of what the mark draws, centred on its x and standing on its y: its
  // words by default; false for a mark that draws nothing.
  virtual bool measureMark(float* width, float* height) const;
  // How far the mark rises over its place on the system drawn: 0 or less.
  float riseHere() const;
  // How far the mark rises on the system over the marks at notes before it on its line that it
  // would meet: 0 or less.
  float stackRiseOn(GRSystem const* system) const;

 private:
  // How far the mark of that width and height rises over its place to clear the music of the
  // line under it and the curves it would meet: 0 or less.
  float riseOn(GRSystem const* system, float width, float height) const;
};
