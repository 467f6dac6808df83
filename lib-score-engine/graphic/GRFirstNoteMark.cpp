#include "GRFirstNoteMark.h"

#include <algorithm>

#include "GRStaff.h"
#include "GRSystemStartEndStruct.h"
#include "NEPointerList.h"
#include "graphic_globals.h"
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
