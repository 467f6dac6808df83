#pragma once

#include "GRPTagARNotationElement.h"

// A range mark drawn once, where the first note of its range stands: trills, tremolos and the
// tempo changes. Texts and glyphs hang from that place by their left edge and top.
class GRFirstNoteMark : public GRPTagARNotationElement {
 public:
  GRFirstNoteMark(GRStaff* staff, ARMusicalObject* ar);

  void tellPosition(GObject* caller, NVPoint const& point) override;
  unsigned int getTextAlign() const override { return 20; }
  // On the system where the range begins only: a later piece has no first note to stand at. A
  // mark in error draws nothing.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const final;

 protected:
  virtual void drawMark(VGDevice& device, VScoreSymbolMap& map) const = 0;
  // The whole text at the mark's place.
  void drawText(VGDevice& device, char const* text) const { OnDrawText(device, text, -1); }
};
