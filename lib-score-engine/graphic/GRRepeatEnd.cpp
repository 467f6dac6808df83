#include "GRRepeatEnd.h"

#include "ARRepeatEnd.h"

NVPoint const GRRepeatEnd::sRefPos{0, 200};

GRRepeatEnd::GRRepeatEnd(ARRepeatEnd* repeat, GRStaff* staff, Fraction const& time)
    : GRBar(repeat, staff, time) {
  InitRepeatEnd();
}

void GRRepeatEnd::InitRepeatEnd() {
  mSymbol = 125;
  mNeedsSpring = 1;
  sconst = 5;
  float const width = GetSymbolExtent(mSymbol);
  mBoundingBox = NVRect{-0.5f * width, 0, 0.5f * width, 200};
  mLeftSpace = 0;
  mRightSpace = 0;
}
