#include "GRDynamics.h"

#include <algorithm>

#include "ARDynamics.h"
#include "GREvent.h"
#include "GRStaff.h"
#include "NEPointerList.h"
#include "VGColor.h"
#include "graphic_globals.h"
#include "src/common/assertion.h"

using SSE = GRSystemStartEndStruct;
using Save = GRDynamics::GRDynamicsSaveStruct;

GRDynamics::GRDynamics(GRStaff* staff, ARDynamics* ar, bool ownsAR)
    : GRPTagARNotationElement(ar, ownsAR) {
  MELVARIN_ASSERT(ar);
  setGRStaff(staff);
  // The abstract hairpin has no placement of its own: wedges stand below the staff.
  addFirstStartEnd(staff);
}

GRPositionTag::GRSaveStruct* GRDynamics::getNewGRSaveStruct() {
  auto* save = new Save;
  if (mStartEndList.GetCount() > 0)
    if (auto const* first = dynamic_cast<Save const*>(mStartEndList.GetHead()->p))
      save->placement = first->placement;
  return save;
}

void GRDynamics::tellPosition(GObject* caller, NVPoint const&) {
  auto* element = dynamic_cast<GRNotationElement*>(caller);
  GRStaff* staff = element ? element->getGRStaff() : nullptr;
  if (!staff) return;
  SSE* sse = getSystemStartEndStruct(staff->getGRSystem());
  if (!sse) return;
  if (sse->endElement == element || (!sse->endElement && sse->startElement == element))
    updateDynamic(staff);
}

int GRDynamics::updateDynamic(GRStaff const* staff) {
  if (!staff) return -1;
  SSE* sse = getSystemStartEndStruct(staff->getGRSystem());
  MELVARIN_ASSERT(sse);
  auto* save = static_cast<Save*>(sse->p);
  MELVARIN_ASSERT(save);
  NEPointerList* list = getAssociations();
  void* startPos = sse->startpos ? sse->startpos : (list ? list->GetHeadPosition() : nullptr);
  if (!startPos) return -1;
  GRNotationElement* first = list->GetAt(startPos);
  auto cresc = [](GRNotationElement* e, bool start) {
    auto* event = e->isGREventClass() ? static_cast<GREvent*>(e) : nullptr;
    return event ? (start ? event->getCrescStart() : event->getCrescEnd()) : e->getPosition();
  };
  NVPoint const start = cresc(first, true);
  save->point.x = start.x;

  bool const above = save->placement == 1;
  float y =
      above ? start.y - first->getBoundingBox().top : start.y + first->getBoundingBox().bottom;
  GRNotationElement* last = first;
  for (void* pos = startPos; pos;) {
    void* const here = pos;
    GRNotationElement* e = list->GetNext(pos);
    last = e;
    float const edge = above ? e->getPosition().y - e->getBoundingBox().top
                             : e->getPosition().y + e->getBoundingBox().bottom;
    y = above ? std::min(y, edge) : std::max(y, edge);
    if (here == sse->endpos) break;
  }
  float const endX = cresc(last, false).x;
  // Two line spaces above the top line or one below the bottom line, or as far beyond the notes.
  if (above) {
    y = y > 0 ? -100 : y - 100;
  } else {
    y = y > 200 ? y + 50 : 250;
  }
  save->point.y = y;
  save->reserved = 0;
  // The wedge opens to one line space, so that the open end can be told from the point.
  save->upperOpening = save->lowerOpening = 0.5f * staff->getLineSpace();
  save->length = last->getBoundingBox().right + endX - save->point.x;
  return 1;
}

GRDynamics::GRDynamicsSaveStruct const& GRDynamics::currentPiece() const {
  SSE const* sse = getSystemStartEndStruct(gCurSystem);
  MELVARIN_ASSERT(sse && sse->p);
  return *static_cast<Save const*>(sse->p);
}

VGColor GRDynamics::colour() const {
  return getColRef() ? VGColor(getColRef()) : kOpaqueBlack;
}
