#include "GRBembel.h"

#include "ARMusicalTag.h"

GRBembel::GRBembel(ARMusicalTag* tag) : GRTagARNotationElement(tag, 50) {
  mSymbol = sBembelSymbol;
  mNeedsSpring = 1;
  float const width = GetSymbolExtent(mSymbol);
  mBoundingBox.Set(0, 0, width, 150);
  mLeftSpace = mRightSpace = 0.5f * width;
  mRefpos = NVPoint{-0.5f * width, 0};
}
