#pragma once

#include "GRNotationElement.h"
#include "OwnedColor.h"

class GREvent;

// An accidental sign (natural -10, flat -1, double flat -2, sharp 1, double sharp 2) left of a
// note head or in a key signature. It reports itself to the symbol map.
class GRAccidental : public GRNotationElement {
 public:
  // With an event the staff, size, offset and colour are the event's and size is not used.
  // noteWidth is the head width the sign keeps clear of (0 in a key signature).
  GRAccidental(GREvent* event, float noteWidth, int code, float size = 1, float lineSpace = 50);

  // Moves the sign and widens its room on the left by as much.
  void addToOffset(NVPoint const& offset) override;
  NVPoint const& getOffset() const override { return mOffset; }
  unsigned char const* getColRef() const override { return mColor.get(); }
  float getSize() const override { return mSize; }
  NVPoint const& getReferencePosition() const override { return mRefpos; }
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  // Where the sign puts ink: a flat reaches higher over its note than under it, a sharp or a
  // natural a space and a half either way.
  NVRect inkBox() const;

  virtual void setAccidental(int code, float noteWidth, float lineSpace);
  virtual void setOffsetX(float x);
  virtual void setOffsetY(float y);
  virtual void setOffset(NVPoint const& offset);
  virtual void setSize(float size) { mSize = size; }
  void setColRef(unsigned char const* rgba) { mColor.set(rgba); }
  // Places the sign so that it ends at x (relative to its note) and takes the room from there
  // to its left edge and a gap beyond.
  void placeRightEdgeAt(float x);

  bool getOffsetSet() const { return mOffsetSet; }

  static unsigned int CodeToSymbol(int code);

 private:
  bool mOffsetSet = false;
  NVPoint mOffset;
  OwnedColor mColor;
  float mSize = 1;
  // Half the sign's width to the left, so the sign is centred on its x.
  NVPoint mRefpos;
};

// Vertical order of accidentals, the staff number weighing 1000 units.
int compaccposy(GRAccidental const* el1, GRAccidental const* el2);
