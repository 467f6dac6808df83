#include "GRDiminuendo.h"

#include "ARDynamics.h"
#include "VGDevice.h"
#include "src/common/assertion.h"

GRDiminuendo::GRDiminuendo(GRStaff* staff) : GRDynamics(staff, new ARDynamics, true) {
  MELVARIN_ASSERT(staff);
}

void GRDiminuendo::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  GRDynamicsSaveStruct const& piece = currentPiece();
  if (piece.length <= 0) return;
  NVPoint const& p = piece.point;
  float const narrow = narrowOpening(false);
  device.PushPen(colour(), kPenWidth);
  device.MoveTo(p.x, p.y - piece.upperOpening);
  device.LineTo(p.x + piece.length, p.y - narrow);
  device.MoveTo(p.x, p.y + piece.lowerOpening);
  device.LineTo(p.x + piece.length, p.y + narrow);
  device.PopPen();
}
