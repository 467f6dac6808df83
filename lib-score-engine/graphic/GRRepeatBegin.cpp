#include "GRRepeatBegin.h"

#include "ARRepeatBegin.h"
#include "GRBar.h"

NVPoint const GRRepeatBegin::sRefPos{0, 200};

GRRepeatBegin::GRRepeatBegin(ARRepeatBegin* repeat, bool ownsAR)
    : GRTagARNotationElement(repeat, 50, ownsAR) {
  mSymbol = 93;
  mNeedsSpring = 1;
  sconst = 5;
  float const width = GetSymbolExtent(mSymbol);
  mBoundingBox = NVRect{-0.5f * width, 0, 0.5f * width, 200};
  // Drawn centred on its x, it takes its room as a repeat end does.
  mLeftSpace = 0.5f * width;
  mRightSpace = 0.5f * width;
}

void GRRepeatBegin::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  // Another voice of the staff wrote the same sign here: it is drawn and listed once.
  if (error) return;
  GRNotationElement::OnDraw(device, map);
  GRBar::ReportBarLine(device, map, *this);
}
