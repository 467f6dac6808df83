#include "GRCrescendo.h"

#include "VGDevice.h"

void GRCrescendo::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  GRDynamicsSaveStruct const& piece = currentPiece();
  NVPoint const& p = piece.point;
  device.PushPen(colour(), 1.0f);
  device.MoveTo(p.x, p.y);
  device.LineTo(p.x + piece.length, p.y - piece.upperOpening);
  device.MoveTo(p.x, p.y);
  device.LineTo(p.x + piece.length, p.y + piece.lowerOpening);
  device.PopPen();
}
