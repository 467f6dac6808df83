#pragma once

#include "GRRest.h"

// A rest of a voice: its glyph from the length shown, at its height on the staff; the whole and
// half rests are bars hanging from or resting on a line, and a rest that fills its bar stands
// in the bar's middle. It reports itself to the symbol map, also without a glyph.
class GRSingleRest : public GRRest {
 public:
  // Symbols other than glyph codes.
  enum { kWholeBar = 1, kHalfBar = 2 };

  // The glyph is built for displayLength when it is positive, else for duration.
  GRSingleRest(GRStaff* staff, ARRest* rest, Fraction const& relativeTimePosition,
               Fraction const& duration, Fraction displayLength = Fraction());
  // A whole rest.
  GRSingleRest(GRStaff* staff, ARRest* rest);
  // Owns a new rest of that length; the staff must be given.
  GRSingleRest(GRStaff* staff, Fraction const& duration);

  virtual Fraction const& getDurTemplate() const { return mDurationTemplate; }
  // Centred on its x.
  unsigned int getTextAlign() const override { return 9; }
  NVPoint const& getReferencePosition() const override { return sRefposNone; }
  void updateBoundingBox() override {}
  bool adjustLength(Fraction const& duration) override;
  int getNumFaehnchen() const override;
  void setFillsBar(bool fills, GRNotationElement* start, GRNotationElement* end) override;
  void setRestFormat(ARRestFormat* format) override;
  // The dots move as the format says, and the rest keeps room for them where they stand.
  void setDotFormat(ARDotFormat const* format) override;
  void setPosition(NVPoint const& point) override;
  void tellPosition(GObject* caller, NVPoint const& point) override;
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;

  int getRestSymbol() const { return mRestSymbol; }
  // How far its ink reaches up and down on the staff where it stands now.
  void getInkExtent(float* top, float* bottom) const;
  // Moves it down (up for a negative dy) on its staff, its dots with it.
  void moveVertically(float dy);
  // How far it moves at a time out of another symbol's way: a whole or half rest hangs from or
  // rests on a line and keeps to the lines; the others move by half line spaces.
  float verticalStep() const;
  // Its format placed it: the layout leaves its height alone.
  bool isPlacedByScore() const { return mPlacedByScore; }
  // The stems its voice was given: where another voice shares the staff, a rest of the voice
  // with stems up stands above it, of the voice with stems down below it.
  void setVoiceStem(GDirection direction) { mVoiceStem = direction; }
  GDirection getVoiceStem() const { return mVoiceStem; }
  // The way it moved out of another voice's way, where it did: it goes on that way.
  void setSideOfVoices(GDirection side) { mSideOfVoices = side; }
  GDirection getSideOfVoices() const { return mSideOfVoices; }

 private:
  void createRest(Fraction const& duration);
  float BarFillingCentre(GRNotationElement const* end) const;

  int mRestSymbol = 0;
  // Half the width of a whole or half rest's bar.
  float mBarHalfWidth = 0;
  Fraction mDurationTemplate;
  GRNotationElement* mFirstBar = nullptr;
  GRNotationElement* mLastBar = nullptr;
  // The glyph's reach above and below the rest's height, at size 1.
  float mInkAbove = 0;
  float mInkBelow = 0;
  bool mPlacedByScore = false;
  GDirection mVoiceStem = dirAUTO;
  GDirection mSideOfVoices = dirAUTO;
};
