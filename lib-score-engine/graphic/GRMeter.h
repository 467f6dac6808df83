#pragma once

#include "GRTagARNotationElement.h"

class ARMeter;

// A time signature: two stacked numbers of digit glyphs, or the common-time or cut-time glyph.
class GRMeter : public GRTagARNotationElement {
 public:
  GRMeter(ARMeter* meter, GRStaff* staff, bool ownsAR);

  ARMeter* getARMeter() const;
  bool operator==(GRMeter const& other) const;
  bool operator==(GRTag const& other) const override;
  NVPoint const& getReferencePosition() const override;
  // Numbers show at most their first two digits. Nothing is reported to the map.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  // A numeric meter as its two numbers, one above the other; C and cut time as their glyph.
  void GGSOutput() const override;
  // Where the first digit of the longer number begins, and where the last digit of either ends.
  float inkLead() const override;
  float inkRight() const override;

 private:
  void DrawNumber(VGDevice& device, int number, float dy) const;

  int mtype;
  int numerator = 0;
  int denominator = 1;
  NVPoint meterRefpos;
  float curLSPACE;
  // The size the meter tag gives the meter itself.
  float mScale = 1;

  static NVPoint refposC;
  static NVPoint refposC2;
};
