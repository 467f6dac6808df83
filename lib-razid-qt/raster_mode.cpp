#include "lib-razid-qt/raster_mode.h"

#include <cstdio>

QPainter::CompositionMode rasterMode2CompositionMode(VGDevice::VRasterOpMode mode) {
  switch (mode) {
    case VGDevice::kOpAnd:
      return QPainter::CompositionMode_Darken;
    case VGDevice::kOpXOr:
      return QPainter::CompositionMode_Difference;
    case VGDevice::kOpInvert:
      std::puts(
          "GDeviceQt::SetRasterOpMode(kOpInvert) : not supported. Paint with white with "
          "VRasterOpMode=kOpXOr to invert the dest color.");
      return QPainter::CompositionMode_Clear;
    case VGDevice::kOpOr:
      return QPainter::CompositionMode_Lighten;
    default:
      return QPainter::CompositionMode_SourceOver;
  }
}

VGDevice::VRasterOpMode compositionMode2RasterMode(QPainter::CompositionMode mode) {
  switch (mode) {
    case QPainter::CompositionMode_SourceOver:
      return VGDevice::kOpCopy;
    case QPainter::CompositionMode_Clear:
      return VGDevice::kOpInvert;
    case QPainter::CompositionMode_Darken:
      return VGDevice::kOpAnd;
    case QPainter::CompositionMode_Lighten:
      return VGDevice::kOpOr;
    case QPainter::CompositionMode_Difference:
      return VGDevice::kOpXOr;
    default:
      return VGDevice::kUnknown;
  }
}
