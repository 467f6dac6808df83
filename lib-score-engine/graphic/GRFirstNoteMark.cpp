#include "GRFirstNoteMark.h"

#include <algorithm>

#include <cstring>

#include "GRBowing.h"
#include "GRSpecial.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "GRSystemStartEndStruct.h"
#include "NEPointerList.h"
#include "VGDevice.h"
#include "VGFont.h"
#include "engine_globals.h"
#include "graphic_globals.h"
#include "line_marks.h"
#include "music_top.h"
#include "src/common/assertion.h"

namespace {
// How high an ornament drawn as a glyph reaches over its base line, in line spaces.
constexpr float kGlyphHeight = 1.35f;
}  // namespace

GRFirstNoteMark::GRFirstNoteMark(GRStaff* staff, ARMusicalObject* ar)
    : GRPTagARNotationElement(ar) {
  MELVARIN_ASSERT(staff);
  setGRStaff(staff);
  addFirstStartEnd(staff);
}

void GRFirstNoteMark::tellPosition(GObject* caller, NVPoint const& point) {
  NEPointerList const* list = getAssociations();
  if (!list || list->GetCount() == 0 || caller != list->GetHead()) return;
  // The mark's base line: a space over the top line, or over the note and its stem.
  auto const* note = static_cast<GRNotationElement const*>(caller);
  float const space = mGrStaff ? mGrStaff->getLineSpace() : 50;
  float const top = std::min(0.f, note->getPosition().y + note->getBoundingBox().top);
  setPosition(NVPoint{point.x, top - space});
}

void GRFirstNoteMark::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (error) return;
  GRSystemStartEndStruct const* sse = getSystemStartEndStruct(gCurSystem);
  if (sse && sse->startflag == GRSystemStartEndStruct::BEGINS_HERE) drawMark(device, map);
}

void GRFirstNoteMark::drawMark(VGDevice& device, VScoreSymbolMap&) const {
  if (char const* text = words()) drawText(device, text);
}

void GRFirstNoteMark::drawText(VGDevice& device, char const* text) const {
  float width = 0;
  float height = 0;
  float const rise = (measureWords(text, &width, &height) ? riseOn(gCurSystem, width) : 0) +
                     stackRiseOn(gCurSystem);
  device.OffsetOrigin(0, rise);
  OnDrawText(device, text, -1);
  device.OffsetOrigin(0, -rise);
}

std::optional<NVRect> GRFirstNoteMark::wordsBoxOn(GRSystem const* system) const {
  return words() ? boxOn(system) : std::nullopt;
}

std::optional<NVRect> GRFirstNoteMark::boxOn(GRSystem const* system) const {
  std::optional<NVRect> box = ownBoxOn(system);
  if (!box) return std::nullopt;
  float const rise = stackRiseOn(system);
  box->top += rise;
  box->bottom += rise;
  return box;
}

std::optional<NVRect> GRFirstNoteMark::ownBoxOn(GRSystem const* system) const {
  char const* text = words();
  unsigned int const glyph = getSymbol();
  GRSystemStartEndStruct const* sse = getSystemStartEndStruct(system);
  if (error || (!text && !glyph) || !sse || sse->startflag != GRSystemStartEndStruct::BEGINS_HERE)
    return std::nullopt;
  float width = 0;
  float height = 0;
  float rise = 0;
  if (text) {
    if (!measureWords(text, &width, &height)) return std::nullopt;
    rise = riseOn(system, width);
  } else {
    VGFont const* font = gFontDefs.music.font;
    VGDevice* device = gGlobalSettings.gDevice;
    if (!font || !device) return std::nullopt;
    // The font tells the glyph's width; its height is the face's, far over the ornament's ink,
    // which stands on the base line.
    font->GetExtent(static_cast<unsigned char>(glyph), &width, &height, device);
    height = kGlyphHeight * (mGrStaff ? mGrStaff->getLineSpace() : 50) * getSize();
  }
  // Centred on its x, standing on its y.
  NVPoint const& offset = getOffset();
  float const x = mPosition.x + offset.x;
  float const y = mPosition.y + offset.y + rise;
  return NVRect{x - width / 2, y - height, x + width / 2, y};
}

float GRFirstNoteMark::stackRiseOn(GRSystem const* system) const {
  GRSystemSlice const* slice = mGrStaff ? mGrStaff->getGRSystemSlice() : nullptr;
  if (!system || !slice) return 0;
  return system->lineMarks(slice->getStaffNumber(mGrStaff)).noteMarkRise(this);
}

bool GRFirstNoteMark::measureWords(char const* text, float* width, float* height) const {
  // Measured in the face drawText draws with, as the page measures its texts.
  VGFont const* font = gFontDefs.text.font;
  if (NVstring const* name = getFont())
    font = GRSpecial::FindOrCreateFont(getFontSize(), name, getFontAttrib());
  VGDevice* device = gGlobalSettings.gDevice;
  if (!text || !font || !device) return false;
  font->GetExtent(text, static_cast<int>(std::strlen(text)), width, height, device);
  return true;
}

float GRFirstNoteMark::riseOn(GRSystem const* system, float width) const {
  GRSystemSlice const* slice = mGrStaff ? mGrStaff->getGRSystemSlice() : nullptr;
  if (!system || !slice) return 0;
  // Where the note stood when the mark was placed its beam was not yet set, and the words
  // reach over the neighbours: half a space over the highest of what stands under them.
  float const x = mPosition.x + getOffset().x;
  float const highest =
      HighestMusicOver(*system, slice->getStaffNumber(mGrStaff), x - width / 2, x + width / 2);
  float top = highest - mGrStaff->getLineSpace() / 2;
  // A slur or tie arching over the music under the words is passed over as well.
  int const line = slice->getStaffNumber(mGrStaff);
  system->forEachElementOnLine(line, [&](GRNotationElement const* element, GRStaff const*) {
    auto const* bow = dynamic_cast<GRBowing const*>(element);
    NVRect box;
    if (bow && bow->pieceBox(system, box) && box.right > x - width / 2 &&
        box.left < x + width / 2 && box.bottom > top && box.top < 0)
      top = std::min(top, box.top - mGrStaff->getLineSpace() / 4);
  });
  float const y = mPosition.y + getOffset().y;
  return std::min(0.f, top - y);
}
