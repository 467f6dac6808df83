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
  // The sign is drawn centred on its x and takes its room: a repeat begin right after it, or a
  // note before it, keeps clear of its dots and lines.
  mLeftSpace = 0.5f * width * size;
  mRightSpace = 0.5f * width * size;
}
