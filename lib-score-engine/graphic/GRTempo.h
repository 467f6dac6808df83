#pragma once

#include "Fraction.h"
#include "GRTagARNotationElement.h"

class ARTempo;
class GRSystem;
class VGFont;

// A tempo mark above the staff: its words in the tempo font, its note values as small notes.
class GRTempo : public GRTagARNotationElement {
 public:
  GRTempo(GRStaff* staff, ARTempo* tempo);

  // The font points into the font cache, so it is made again after the engine is reset.
  static void ResetClassState() { mFont = nullptr; }

  unsigned int getTextAlign() const override { return 17; }
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  // Draws the note value as a note at 0.65 of its size; returns the width it takes.
  float DrawNote(VGDevice& device, Fraction const& value, float x, float y) const;
  void DrawText(VGDevice& device, char const* text, float x, float y, float* width) const;
  // The note value of a symbol part such as "1/4", reduced; 0/1 unless it is two numbers with
  // a positive denominator.
  Fraction getDuration(char const* text) const;
  using GRNotationElement::getDuration;
  // How high the mark reaches as it is drawn over that system (the system's coordinates): the
  // system takes it into its box, so that the system above stands clear of it.
  float topIn(GRSystem const& system) const;

 private:
  // How far the mark moves up from its place to stand clear above the notes, stems and beams
  // of the system's top staff under it: 0 or less.
  float liftOverMusic(GRSystem const* system) const;
  // Where its base line stands over its own place, as written or lifted over the music.
  float shiftIn(GRSystem const* system) const;

  static VGFont const* mFont;
};
