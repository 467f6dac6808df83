#pragma once

#include "make_curve.h"

class VGDevice;

// The outline of a slur or tie from (x1, y1) over the middle point (x2, y2) to (x3, y3): a
// forward curve and a return curve 10 units off it, pointed at both ends. inflexion is the
// curve's fullness: the smaller, the fuller. Nothing when both ends stand at one x.
CurvePoints slurOutline(float x1, float y1, float x2, float y2, float x3, float y3,
                        float inflexion);
// Fills the outline as one polygon with the device's pen and fill.
void drawSlur(VGDevice& device, float x1, float y1, float x2, float y2, float x3, float y3,
              float inflexion);
