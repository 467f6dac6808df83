#include "GRAccelerando.h"

#include "ARAccelerando.h"

GRAccelerando::GRAccelerando(GRStaff* staff, ARAccelerando* ar) : GRFirstNoteMark(staff, ar) {}

void GRAccelerando::drawMark(VGDevice& device, VScoreSymbolMap&) const {
  drawText(device, "accel");
}
