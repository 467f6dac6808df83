#include "drawn_text_extent.h"

#include <cstring>

#include "GObject.h"
#include "GRSpecial.h"
#include "VGFont.h"
#include "engine_globals.h"
#include "graphic_globals.h"

bool MeasureDrawnText(GObject const& element, char const* text, float* width, float* height) {
  VGFont const* font = gFontDefs.text.font;
  if (NVstring const* name = element.getFont())
    font = GRSpecial::FindOrCreateFont(element.getFontSize(), name, element.getFontAttrib());
  VGDevice* device = gGlobalSettings.gDevice;
  if (!text || !font || !device) return false;
  font->GetExtent(text, static_cast<int>(std::strlen(text)), width, height, device);
  return true;
}
