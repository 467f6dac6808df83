#include "GRCrescendo.h"

#include "ARDynamics.h"
#include "VGDevice.h"
#include "src/common/assertion.h"

GRCrescendo::GRCrescendo(GRStaff* staff) : GRDynamics(staff, new ARDynamics, true) {
  MELVARIN_ASSERT(staff);
}

void GRCrescendo::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  GRDynamicsSaveStruct const& piece = currentPiece();
  if (piece.length <= 0) return;
  NVPoint const& p = piece.point;
  float const narrow = narrowOpening(true);
  device.PushPen(colour(), kPenWidth);
  device.MoveTo(p.x, p.y - narrow);
  device.LineTo(p.x + piece.length, p.y - piece.upperOpening);
  device.MoveTo(p.x, p.y + narrow);
  device.LineTo(p.x + piece.length, p.y + piece.lowerOpening);
  device.PopPen();
}
