#include "GRSpecial.h"

#include <cstdio>
#include <cstring>

#include "ARSpecial.h"
#include "GRFontInfo.h"
#include "NVstring.h"
#include "VGDevice.h"
#include "VGSystem.h"
#include "engine_globals.h"
#include "graphic_globals.h"

KF_IPointerList<GRFontInfo> GRSpecial::sFontList(1);

namespace {
int StyleOf(char const* attributes) {
  if (!attributes) return 0;
  int style = 0;
  if (std::strchr(attributes, 'b')) style = 1;
  if (std::strchr(attributes, 'i')) style += 2;
  if (std::strchr(attributes, 'u')) style |= 4;
  return style;
}
}  // namespace

GRSpecial::GRSpecial(ARSpecial* special, bool ownsAR)
    : GRARNotationElement(special, ownsAR), GRTag(nullptr, 50) {
  mNeedsSpring = 1;
}

void GRSpecial::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  auto const* special = static_cast<ARSpecial const*>(getAbstractRepresentation());
  if (special->getError()) return;
  int const pointSize = static_cast<int>(special->getScale() * 4 * 50 + 0.5f);
  device.SetMusicFont(FindOrCreateFont(pointSize));
  device.SetFontAlign(17);
  device.DrawMusicSymbol(mPosition.x + special->getOffsetX(), mPosition.y + special->getOffsetY(),
                         special->getChar());
}

VGFont const* GRSpecial::FindOrCreateFont(int size, NVstring const* name,
                                          NVstring const* attributes) {
  NVstring const& fontName = name ? *name : gFontDefs.music.name;
  char const* attributeText = attributes ? attributes->c_str() : nullptr;
  void* pos = sFontList.GetHeadPosition();
  while (pos) {
    GRFontInfo const* entry = sFontList.GetNext(pos);
    if (entry->Compare(size, fontName.c_str(), attributeText)) return entry->getFont();
  }
  VGFont const* font = nullptr;
  if (VGDevice* device = gGlobalSettings.gDevice; device && device->getVGSystem())
    font = device->getVGSystem()->CreateVGFont(fontName.c_str(), size, StyleOf(attributeText));
  if (!font) {
    std::printf("Razid error: \"%s\" font creation failed !\n", fontName.c_str());
    std::fflush(stdout);
  }
  sFontList.AddTail(new GRFontInfo(font, size, &fontName, attributes));
  return font;
}

void GRSpecial::ReleaseAllFonts() {
  sFontList.RemoveAll();
}

int GRSpecial::CachedFontCount() {
  return sFontList.GetCount();
}
