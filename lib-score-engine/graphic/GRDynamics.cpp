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

namespace {
// Where a wedge starts or ends at an element of its range.
NVPoint CrescPoint(GRNotationElement* element, bool start) {
  auto* event = element->isGREventClass() ? static_cast<GREvent*>(element) : nullptr;
  return event ? (start ? event->getCrescStart() : event->getCrescEnd()) : element->getPosition();
}

// The y of a wedge clear of the elements of the list from `from` up to `to` (to the list's end
// when null): two line spaces above the top line or one below the bottom line, or as far beyond
// the notes.
float ClearOf(NEPointerList* list, void* from, void* to, bool above) {
  GRNotationElement* first = list->GetAt(from);
  float const start = CrescPoint(first, true).y;
  float y = above ? start - first->getBoundingBox().top : start + first->getBoundingBox().bottom;
  for (void* pos = from; pos;) {
    void* const here = pos;
    GRNotationElement const* e = list->GetNext(pos);
    float const edge = above ? e->getPosition().y - e->getBoundingBox().top
                             : e->getPosition().y + e->getBoundingBox().bottom;
    y = above ? std::min(y, edge) : std::max(y, edge);
    if (here == to) break;
  }
  if (above) return y > 0 ? -100 : y - 100;
  return y > 200 ? y + 50 : 250;
}
}  // namespace

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
  save->point.x = CrescPoint(list->GetAt(startPos), true).x;
  GRNotationElement* last = nullptr;
  for (void* pos = startPos; pos;) {
    void* const here = pos;
    last = list->GetNext(pos);
    if (here == sse->endpos) break;
  }
  float const endX = CrescPoint(last, false).x;
  save->point.y = ClearOf(list, startPos, sse->endpos, save->placement == 1);
  save->reserved = 0;
  // The wedge opens to one line space, so that the open end can be told from the point.
  save->upperOpening = save->lowerOpening = 0.5f * staff->getLineSpace();
  save->length = last->getBoundingBox().right + endX - save->point.x;
  return 1;
}

void GRDynamics::RangeEnd(GRStaff* staff) {
  GRPTagARNotationElement::RangeEnd(staff);
  // The staves are stacked before a wedge learns its line: its box takes the height the wedge
  // needs beside the whole range, so that the next staff keeps clear of it. Its width is a
  // stand-in (the wedge's length comes with the springs), kept above zero so that the box counts.
  NEPointerList* list = getAssociations();
  if (error || !mGrStaff || !list || list->GetCount() == 0 || mStartEndList.GetCount() == 0) return;
  auto const* first = static_cast<Save const*>(mStartEndList.GetHead()->p);
  bool const above = first && first->placement == 1;
  float const y = ClearOf(list, list->GetHeadPosition(), nullptr, above);
  float const opening = 0.5f * mGrStaff->getLineSpace();
  mBoundingBox = NVRect{0, y - opening, 2 * opening, y + opening};
}

GRDynamics::GRDynamicsSaveStruct const& GRDynamics::currentPiece() const {
  SSE const* sse = getSystemStartEndStruct(gCurSystem);
  MELVARIN_ASSERT(sse && sse->p);
  return *static_cast<Save const*>(sse->p);
}

VGColor GRDynamics::colour() const {
  return getColRef() ? VGColor(getColRef()) : kOpaqueBlack;
}
