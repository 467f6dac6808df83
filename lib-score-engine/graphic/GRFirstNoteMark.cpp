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
#include "drawn_text_extent.h"
#include "engine_globals.h"
#include "graphic_globals.h"
#include "music_ink.h"
#include "music_top.h"
#include "src/common/assertion.h"

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
  float const rise = MeasureDrawnText(*this, text, &width, &height) ? riseOn(gCurSystem, width) : 0;
  device.OffsetOrigin(0, rise);
  OnDrawText(device, text, -1);
  device.OffsetOrigin(0, -rise);
}

std::optional<NVRect> GRFirstNoteMark::wordsBoxOn(GRSystem const* system) const {
  char const* text = words();
  GRSystemStartEndStruct const* sse = getSystemStartEndStruct(system);
  if (error || !text || !sse || sse->startflag != GRSystemStartEndStruct::BEGINS_HERE)
    return std::nullopt;
  float width = 0;
  float height = 0;
  if (!MeasureDrawnText(*this, text, &width, &height)) return std::nullopt;
  // Centred on its x, standing on its y.
  NVPoint const& offset = getOffset();
  float const x = mPosition.x + offset.x;
  float const y = mPosition.y + offset.y + riseOn(system, width);
  return NVRect{x - width / 2, y - height, x + width / 2, y};
}

float GRFirstNoteMark::riseOn(GRSystem const* system, float width) const {
  GRSystemSlice const* slice = mGrStaff ? mGrStaff->getGRSystemSlice() : nullptr;
  if (!system || !slice) return 0;
  // Where the note stood when the mark was placed its beam was not yet set, and the words
  // reach over the neighbours: half a space over the highest ink of the music under them,
  // their signs, articulations, dots, rests and ledger lines as well.
  float const x = mPosition.x + getOffset().x;
  int const number = slice->getStaffNumber(mGrStaff);
  float const highest =
      std::min(HighestMusicOver(*system, number, x - width / 2, x + width / 2),
               HighestNotesInkOver(*system, number, x - width / 2, x + width / 2));
  float top = highest - mGrStaff->getLineSpace() / 2;
  // A slur or tie arching over the music under the words is passed over as well.
  system->forEachElementOnLine(number, [&](GRNotationElement const* element, GRStaff const*) {
    auto const* bow = dynamic_cast<GRBowing const*>(element);
    NVRect box;
    if (bow && bow->pieceBox(system, box) && box.right > x - width / 2 &&
        box.left < x + width / 2 && box.bottom > top && box.top < 0)
      top = std::min(top, box.top - mGrStaff->getLineSpace() / 4);
  });
  float const y = mPosition.y + getOffset().y;
  return std::min(0.f, top - y);
}
