#include "GRBreathMark.h"

#include "ARMusicalTag.h"

GRBreathMark::GRBreathMark(ARMusicalTag* tag) : GRTagARNotationElement(tag, 50) {
  mSymbol = sBreathMarkSymbol;
  mNeedsSpring = 1;
  mPosition.y = -75;
  mRefpos = NVPoint{-12.5f - GetSymbolExtent(mSymbol), 0};
}
