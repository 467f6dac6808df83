#include "GRFirstNoteMark.h"

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
  if (list && list->GetCount() > 0 && caller == list->GetHead()) setPosition(point);
}

void GRFirstNoteMark::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (error) return;
  GRSystemStartEndStruct const* sse = getSystemStartEndStruct(gCurSystem);
  if (sse && sse->startflag == GRSystemStartEndStruct::BEGINS_HERE) drawMark(device, map);
}
