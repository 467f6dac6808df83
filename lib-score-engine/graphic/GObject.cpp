#include "GObject.h"

#include <cmath>

#include "VGColor.h"
#include "VGDevice.h"
#include "VGFont.h"
#include "engine_globals.h"
#include "graphic_globals.h"

NVPoint const GObject::sRefposNone{};
float GObject::sSymbolExtentMap[256];
int GObject::sInstanceCount = 0;

namespace {
// Before any object exists nothing is measured.
bool const kExtentsStartUnmeasured = (GObject::ResetSymbolExtents(), true);
}  // namespace

GObject::GObject() : mId(this) {
  NotifyNewInstance();
}

GObject::GObject(GObject const& other)
    : mPosition(other.mPosition), mBoundingBox(other.mBoundingBox), mId(this) {
  NotifyNewInstance();
}

GObject::~GObject() {
  --sInstanceCount;
}

void GObject::NotifyNewInstance() {
  if (sInstanceCount++ == 0) ResetSymbolExtents();
}

void GObject::ResetSymbolExtents() {
  for (float& width : sSymbolExtentMap) width = -1;
}

float GObject::GetSymbolExtent(unsigned int symbol) {
  // Glyph codes are bytes of the music font; a larger code measures its low byte and must not
  // reach past the table.
  unsigned char const glyph = symbol & 255;
  float& cached = sSymbolExtentMap[glyph];
  if (cached > -1) return cached;
  float width = 0;
  float height = 0;
  VGDevice* device = gGlobalSettings.gDevice;
  if (device && gFontDefs.music.font)
    gFontDefs.music.font->GetExtent(glyph, &width, &height, device);
  cached = width;
  return cached;
}

bool GObject::positionIsOnStaffLine(float pos, float lineSpace) {
  return static_cast<int>(pos / (lineSpace / 2)) % 2 == 0;
}

int GObject::StaffStepsApart(float y1, float y2, float lineSpace) {
  return lineSpace > 0 ? static_cast<int>(std::lround(std::fabs(y1 - y2) / (lineSpace / 2))) : 0;
}

void GObject::DrawBoundingBox(VGDevice& device, VGColor const& color) const {
  device.PushPen(color, 4);
  NVRect box = mBoundingBox + mPosition + getOffset();
  device.MoveTo(box.left, box.top);
  device.LineTo(box.right, box.top);
  device.LineTo(box.right, box.bottom);
  device.LineTo(box.left, box.bottom);
  device.LineTo(box.left, box.top);
  device.PopPen();
}
