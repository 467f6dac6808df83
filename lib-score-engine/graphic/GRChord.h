#pragma once

#include "GREvent.h"

class ARChord;
class ARNote;
class GRFlag;
class GRStem;

// A chord written as one event: the heads of its notes at their heights, their dots and
// accidentals, one stem and flag, and the ledger lines its outer notes need. Heads a second
// apart or in unison go to the other side of the stem. It reports nothing of its own to the
// symbol map; its stem and accidentals do.
class GRChord : public GREvent {
 public:
  // displayLength is kept for rests inside the chord, which draw nothing here.
  GRChord(GRStaff* staff, ARChord* chord, Fraction const& relativeTimePosition,
          Fraction const& duration, Fraction const& displayLength);

  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  NVPoint getTieStart() const override { return NVPoint{}; }
  NVPoint getTieEnd() const override { return NVPoint{}; }
  // Spaces and box of the sub-elements where their offsets put them.
  void updateBoundingBox() override;
  bool adjustLength(Fraction const& duration) override;
  GDirection getStemDirection() const override { return mStemDir; }
  void setStemDirection(GDirection direction) override;
  void setFlagOnOff(bool on) override;
  NVPoint getStemStartPos() const override;
  NVPoint getStemEndPos() const override;
  float changeStemLength(float length) override;
  int getNumFaehnchen() const override;
  using GREvent::setDotFormat;
  void setDotFormat(ARDotFormat const* format) override;

  GRStem* getStem() const;
  GRFlag* getGRFlag() const;
  // The largest and the smallest note y, 0 without notes.
  float getLowestPosition() const { return mLowestPos; }
  float getHighestPosition() const { return mHighestPos; }

 private:
  void AddNote(ARNote const* note, Fraction const& duration, bool first);
  void MoveSeconds();
  // Where the stem stands: on the lowest note for a stem up, else on the highest.
  float StemY() const;

  float mStemLength = 0;
  GDirection mStemDir = dirOFF;
  float mLowestPos = 0;
  float mHighestPos = 0;
};
