#include "GRInstrument.h"

#include <cstring>

#include "ARInstrument.h"

GRInstrument::GRInstrument(ARInstrument* instrument) : GRTagARNotationElement(instrument, 50) {
  mNeedsSpring = 1;
  mBoundingBox = NVRect{0, 0, 100, 150};
}

void GRInstrument::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  char const* name = static_cast<ARInstrument const*>(getAbstractRepresentation())->getName();
  if (name) OnDrawText(device, name, static_cast<int>(std::strlen(name)));
}
