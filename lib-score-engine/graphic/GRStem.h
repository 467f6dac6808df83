#pragma once

#include "GREvent.h"
#include "GRNotationElement.h"
#include "OwnedColor.h"

class GRGlobalStem;

// A note's stem: the start glyph and overlapping one-space segments up or down from the head.
// It reports itself to the symbol map.
class GRStem : public GRNotationElement {
 public:
  // A duration of a whole note or more has no stem (direction 0).
  GRStem(GREvent* event, Fraction const& duration, GDirection direction, float stemLength,
         float headWidth);
  explicit GRStem(GRGlobalStem* globalStem);

  void addToOffset(NVPoint const& offset) override { mOffset += offset; }
  NVPoint const& getOffset() const override { return mOffset; }
  unsigned char const* getColRef() const override { return mColor.get(); }
  float getSize() const override { return mSize; }
  NVPoint const& getReferencePosition() const override { return mRefpos; }
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;

  virtual void setStemLength(float length);
  virtual void setStemDir(GDirection direction);
  virtual GDirection getStemDir() const { return mStemDir; }
  virtual float getStemLength() const { return mStemLength; }
  virtual void setColRef(unsigned char const* rgba) { mColor.set(rgba); }
  // Where the stem puts ink: along the record's line, as wide as the stroke on either side.
  NVRect inkBox() const;

 private:
  void UpdateBox();
  void NotifyNewScoreElement(VGDevice& device, VScoreSymbolMap& map) const;

  float mStemLength;
  GDirection mStemDir;
  float mSize = 1;
  OwnedColor mColor;
  NVPoint mOffset;
  // Half the head's width to the left: each stem keeps its own, since heads differ in width.
  NVPoint mRefpos;
};
