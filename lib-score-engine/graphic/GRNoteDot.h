#pragma once

#include "GRNotationElement.h"
#include "OwnedColor.h"

class GREvent;

// The augmentation dots of an event: one or two dot glyphs right of the head.
class GRNoteDot : public GRNotationElement {
 public:
  // dotOffset is the head width the dots keep clear of.
  GRNoteDot(GREvent* event, float dotOffset, int numberOfDots);
  GRNoteDot(GREvent* event, Fraction const& duration, float dotOffset);

  NVPoint const& getOffset() const override { return mOffset; }
  unsigned char const* getColRef() const override { return mColor.get(); }
  float getSize() const override { return mSize; }
  NVPoint const& getReferencePosition() const override { return sRefpos; }
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;

  virtual int getNumDots() const { return mNumDots; }
  void setOffset(NVPoint const& offset) { mOffset = offset; }
  void setSize(float size) { mSize = size; }

  // 1 for 3/2 .. 3/32, 2 for 7/4 .. 7/64, else 0.
  static int DurationToDotCount(Fraction const& duration);

 private:
  void GRNoteDotInit(GREvent* event, float dotOffset);

  int mNumDots;
  NVPoint mOffset;
  OwnedColor mColor;
  float mSize = 1;

  static NVPoint const sRefpos;
};
