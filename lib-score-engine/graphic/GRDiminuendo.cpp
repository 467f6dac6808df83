#include "GRDiminuendo.h"

#include "VGDevice.h"

void GRDiminuendo::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  GRDynamicsSaveStruct const& piece = currentPiece();
  NVPoint const& p = piece.point;
  device.PushPen(colour(), 1.0f);
  device.MoveTo(p.x, p.y - piece.upperOpening);
  device.LineTo(p.x + piece.length, p.y);
  device.MoveTo(p.x, p.y + piece.lowerOpening);
  device.LineTo(p.x + piece.length, p.y);
  device.PopPen();
}
