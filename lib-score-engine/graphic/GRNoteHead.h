#pragma once

#include "GRNotationElement.h"
#include "OwnedColor.h"

// A note head: a glyph with its own offset, size and colour, taken from its event.
class GRNoteHead : public GRNotationElement {
 public:
  void addToOffset(NVPoint const& offset) override { mOffset += offset; }
  NVPoint const& getOffset() const override { return mOffset; }
  unsigned char const* getColRef() const override { return mColor.get(); }
  float getSize() const override { return mSize; }
  virtual void setOffset(NVPoint const& offset) { mOffset = offset; }

 protected:
  NVPoint mOffset;
  float mSize = 1;
  OwnedColor mColor;
};
