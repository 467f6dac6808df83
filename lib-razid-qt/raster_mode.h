#pragma once

#include <QPainter>

#include "VGDevice.h"

// The engine's raster modes and the painter's composition modes they stand for. Modes without a
// painter counterpart draw as a copy; composition modes the engine has no name for read back as
// kUnknown.
QPainter::CompositionMode rasterMode2CompositionMode(VGDevice::VRasterOpMode mode);
VGDevice::VRasterOpMode compositionMode2RasterMode(QPainter::CompositionMode mode);
