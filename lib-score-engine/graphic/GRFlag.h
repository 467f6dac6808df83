#pragma once

#include "GREvent.h"
#include "GRNotationElement.h"
#include "OwnedColor.h"

class GRGlobalStem;

// The flags at the end of a stem of an eighth or shorter.
class GRFlag : public GRNotationElement {
 public:
  GRFlag(GREvent* event, Fraction const& duration, GDirection direction, float stemLength,
         float headWidth);
  GRFlag(GRGlobalStem* globalStem, Fraction const& duration, GDirection direction,
         float stemLength);

  NVPoint const& getOffset() const override { return mOffset; }
  unsigned char const* getColRef() const override { return mColor.get(); }
  float getSize() const override { return mSize; }
  NVPoint const& getReferencePosition() const override { return sRefpos; }
  // Only a flag that is on draws.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;

  // Moves the flag to the end of a stem of length from the event.
  virtual void changeStemLength(GREvent* event, float length, GDirection direction);
  virtual int getNumFaehnchen() const;
  virtual void setColRef(unsigned char const* rgba) { mColor.set(rgba); }

  // Flags a stem of that length shows, whichever way it points.
  static int CountFor(Fraction const& duration);

  void calcFlagExtent(float headWidth);
  void setFlagOnOff(bool on);
  bool isOn() const { return mFlagOn; }
  // Drawn, hanging right of a stem that goes up.
  bool isDrawnUp() const { return mFlagOn && PointsUp(); }
  bool isDrawn() const { return mFlagOn && mSymbol != 0; }
  // Where the flags put ink: from the stem's end towards the head, three spaces for the first
  // flag and three quarters of one for each further.
  NVRect inkBox() const;
  void addToOffset(NVPoint const& offset) override { mOffset += offset; }

 private:
  // The glyph for duration and direction; three flags and more need a longer stem, returned in
  // extra.
  static unsigned int SymbolFor(Fraction const& duration, GDirection direction, float* extra);
  static int CountOf(unsigned int symbol);
  bool PointsDown() const;
  bool PointsUp() const;
  void SetSpaces(float downLeft, float upRight);
  void PlaceAtStemEnd(NVPoint const& offset, float stemLength, GDirection direction);

  float mSize = 1;
  OwnedColor mColor;
  NVPoint mOffset;
  bool mFlagOn = true;

  static NVPoint const sRefpos;
};
