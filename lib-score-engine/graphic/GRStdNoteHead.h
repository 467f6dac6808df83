#pragma once

#include "GRNoteHead.h"
#include "NVstring.h"

class GREvent;

// The head of a note in its event's style, centred on the note's x.
class GRStdNoteHead : public GRNoteHead {
 public:
  GRStdNoteHead(GREvent* event, Fraction const& duration);

  virtual NVPoint getNoteHeadPosition() const { return mPosition + mOffset; }
  virtual NVPoint const& getPosition() const { return mPosition; }
  virtual unsigned int durationToHeadSymbol(Fraction const& duration) const;
  NVPoint const& getReferencePosition() const override;
  // A head without glyph draws nothing.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  void print() const override {}

 private:
  unsigned int SymbolForStyle(Fraction const& duration) const;

  NVstring mStyle;
  // Half the glyph's width: the head is drawn this far left of its x.
  NVPoint mRefpos;
};
