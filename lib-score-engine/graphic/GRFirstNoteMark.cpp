#include "GRFirstNoteMark.h"

#include <algorithm>

#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "GRSystemStartEndStruct.h"
#include "NEPointerList.h"
#include "VGDevice.h"
#include "curves_on_line.h"
#include "drawn_text_extent.h"
#include "graphic_globals.h"
#include "line_marks.h"
#include "music_ink.h"
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
  char const* text = words();
  if (!text) return;
  float const rise = riseHere();
  device.OffsetOrigin(0, rise);
  OnDrawText(device, text, -1);
  device.OffsetOrigin(0, -rise);
}

bool GRFirstNoteMark::measureMark(float* width, float* height) const {
  char const* text = words();
  return text && MeasureDrawnText(*this, text, width, height);
}

float GRFirstNoteMark::riseHere() const {
  float width = 0;
  float height = 0;
  float const overMusic = measureMark(&width, &height) ? riseOn(gCurSystem, width, height) : 0;
  return overMusic + stackRiseOn(gCurSystem);
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
  if (!drawnOn(system)) return std::nullopt;
  float width = 0;
  float height = 0;
  if (!measureMark(&width, &height)) return std::nullopt;
  // Centred on its x, standing on its y.
  NVPoint const& offset = getOffset();
  float const x = mPosition.x + offset.x;
  float const y = mPosition.y + offset.y + riseOn(system, width, height);
  return NVRect{x - width / 2, y - height, x + width / 2, y};
}

bool GRFirstNoteMark::drawnOn(GRSystem const* system) const {
  GRSystemStartEndStruct const* sse = getSystemStartEndStruct(system);
  return !error && sse && sse->startflag == GRSystemStartEndStruct::BEGINS_HERE;
}

float GRFirstNoteMark::stackRiseOn(GRSystem const* system) const {
  GRSystemSlice const* slice = mGrStaff ? mGrStaff->getGRSystemSlice() : nullptr;
  if (!system || !slice) return 0;
  return system->lineMarks(slice->getStaffNumber(mGrStaff)).noteMarkRise(this);
}

float GRFirstNoteMark::riseOn(GRSystem const* system, float width, float height) const {
  GRSystemSlice const* slice = mGrStaff ? mGrStaff->getGRSystemSlice() : nullptr;
  if (!system || !slice) return 0;
  // Where the note stood when the mark was placed its beam was not yet set, and the mark
  // reaches over the neighbours: half a space over the highest ink of the music under it, their
  // signs, articulations, dots, rests and ledger lines as well.
  float const x = mPosition.x + getOffset().x;
  int const line = slice->getStaffNumber(mGrStaff);
  float const space = mGrStaff->getLineSpace();
  float const highest = std::min(HighestMusicOver(*system, line, x - width / 2, x + width / 2),
                                 HighestNotesInkOver(*system, line, x - width / 2, x + width / 2));
  float const foot = highest - space / 2;
  // A slur or tie whose ink the mark would meet is passed over where it runs under it: a curve's
  // tip by its note stays by the note, and one bent over words keeps over them. No curve bends
  // round a glyph, so an ornament stands outside the slur over its note.
  float const rise = RiseOverCurves(
      *system, line, NVRect{x - width / 2, foot - height, x + width / 2, foot}, space / 4);
  float const y = mPosition.y + getOffset().y;
  return std::min(0.f, foot - rise - y);
}
