#include "GRTremolo.h"

#include "ARTremolo.h"

GRTremolo::GRTremolo(GRStaff* staff, ARTremolo* ar) : GRFirstNoteMark(staff, ar) {}

void GRTremolo::drawMark(VGDevice& device, VScoreSymbolMap&) const {
  drawText(device, "trem.");
}
