#include "GRDynamics.h"

#include <algorithm>
#include <optional>

#include "ARCast.h"
#include "ARDynamics.h"
#include "GREmpty.h"
#include "GREvent.h"
#include "GRSpring.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
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

// How far an element reaches below the staff (above it for `above`).
float Reach(GRNotationElement const* element, bool above) {
  return above ? element->getPosition().y - element->getBoundingBox().top
               : element->getPosition().y + element->getBoundingBox().bottom;
}

// The y of a wedge beside elements reaching y: two line spaces above the top line or one below
// the bottom line, or as far beyond the notes.
float Clear(float y, bool above) {
  if (above) return y > 0 ? -100 : y - 100;
  return y > 200 ? y + 50 : 250;
}

// The shortest wedge, in line spaces: shorter, its open end reads as an accent.
constexpr float kShortestWedge = 3;
// The air between a wedge that runs on after its last note and what comes next, in line spaces.
constexpr float kRunOnGap = 0.5f;

int StaffNumberOf(GRNotationElement const* element) {
  GRStaff const* staff = element->getGRStaff();
  GRSystemSlice const* slice = staff ? staff->getGRSystemSlice() : nullptr;
  return slice ? slice->getStaffNumber(staff) : -1;
}

// Where the next thing on the element's staff line begins, of any voice: a note or rest, a bar
// line, a clef, the line's end. None while the element has no spring on the line.
std::optional<float> NextOnStaffLine(GRNotationElement const* element) {
  GRStaff const* staff = element->getGRStaff();
  GRSystem const* system = staff ? staff->getGRSystem() : nullptr;
  KF_IVector<GRSpring> const* springs = system ? system->getSprings() : nullptr;
  int const line = StaffNumberOf(element);
  if (!springs || line < 0 || element->getSpringID() < 0) return std::nullopt;
  for (int id = element->getSpringID() + 1; id <= springs->GetMaximum(); ++id) {
    GRSpring const* spring = system->getGRSpring(id);
    if (!spring) continue;
    std::optional<float> left;
    for (void* pos = spring->getFirstGROPosition(); pos;) {
      GRNotationElement const* next = spring->getNextGRO(pos);
      if (ar_cast<GRPositionTag const>(next) || ar_cast<GREmpty const>(next) ||
          StaffNumberOf(next) != line)
        continue;
      float const x = next->getPosition().x + next->getBoundingBox().left;
      left = left ? std::min(*left, x) : x;
    }
    if (left) return left;
  }
  return std::nullopt;
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
  GRNotationElement* const first = list->GetAt(startPos);
  save->point.x = CrescPoint(first, true).x;
  bool const above = save->placement == 1;
  float y = Reach(first, above);
  GRNotationElement* last = first;
  for (void* pos = startPos; pos;) {
    void* const here = pos;
    last = list->GetNext(pos);
    y = above ? std::min(y, Reach(last, above)) : std::max(y, Reach(last, above));
    if (here == sse->endpos) break;
  }
  float const endX = CrescPoint(last, false).x;
  float const lineSpace = staff->getLineSpace();
  save->point.y = Clear(y, above);
  save->reserved = 0;
  // The wedge opens to one line space, so that the open end can be told from the point.
  save->upperOpening = save->lowerOpening = 0.5f * lineSpace;
  save->length = last->getBoundingBox().right + endX - save->point.x;
  // Cut by a line break, the wedge runs on to the end of its line and goes on after the next
  // line's clef and key: a piece that stopped at its notes would read as a wedge, or an accent,
  // of its own.
  if (sse->startflag == SSE::CONTINUES_FROM_LAST && sse->startElement) {
    float const right = save->point.x + save->length;
    save->point.x = std::min(save->point.x, sse->startElement->getPosition().x);
    save->length = right - save->point.x;
  }
  if (sse->endflag == SSE::CONTINUES_ON_NEXT && sse->endElement) {
    save->length = std::max(save->length, sse->endElement->getPosition().x - save->point.x);
    return 1;
  }
  // Ending at its last note, the wedge runs on towards what follows it, and is never so short
  // that it reads as an accent.
  if (std::optional<float> const next = NextOnStaffLine(last))
    save->length = std::max(save->length, *next - kRunOnGap * lineSpace - save->point.x);
  save->length = std::max(save->length, kShortestWedge * lineSpace);
  return 1;
}

void GRDynamics::RangeEnd(GRStaff* staff) {
  GRPTagARNotationElement::RangeEnd(staff);
  NEPointerList* list = getAssociations();
  if (error || !list || list->GetCount() == 0) return;
  auto* first = dynamic_cast<GREvent*>(list->GetHead());
  auto* last = dynamic_cast<GREvent*>(list->GetTail());
  if (!first || !last || first->getRelativeTimePosition() != last->getRelativeTimePosition())
    return;
  // A wedge over the notes of one time keeps the room of the shortest wedge and its air after
  // them, so that it does not run into the next note.
  float const lineSpace = staff ? staff->getLineSpace() : 50;
  float const start = first->getCrescStart().x - first->getPosition().x;
  last->reserveSpace(0, start + (kShortestWedge + kRunOnGap) * lineSpace);
}

void GRDynamics::FinishPTag(GRStaff* staff) {
  NEPointerList const* list = getAssociations();
  if (error || !staff || !list || list->GetCount() == 0) return;
  SSE const* sse = getSystemStartEndStruct(staff->getGRSystem());
  // The line is placed now: the wedge learns where what follows its last note stands.
  if (sse && sse->p) updateDynamic(staff);
}

void GRDynamics::addAssociation(GRNotationElement* element) {
  GRPTagARNotationElement::addAssociation(element);
  if (!error && element->getGRStaff()) element->getGRStaff()->keepRoomFor(this);
}

NVRect GRDynamics::roomBeside(GRStaff const* staff) const {
  NEPointerList* list = getAssociations();
  if (error || !list || list->GetCount() == 0 || mStartEndList.GetCount() == 0) return {};
  auto const* first = static_cast<Save const*>(mStartEndList.GetHead()->p);
  bool const above = first && first->placement == 1;
  // The notes so far, also those of the staves before on the line: the wedge is drawn straight
  // at the height of its lowest (highest) note.
  float const y = Clear(reachOfNotesSoFar(above), above);
  // The width stands in for the wedge's length, which comes with the springs.
  float const opening = 0.5f * staff->getLineSpace();
  return NVRect{0, y - opening, 2 * opening, y + opening};
}

float GRDynamics::reachOfNotesSoFar(bool above) const {
  NEPointerList const* list = getAssociations();
  if (list->GetCount() <= kMeasuredAgainUpTo || above != mReachAbove) mReachFold.forget();
  mReachAbove = above;
  mReachFold.update(
      *list, [&] { mReach = Reach(list->GetHead(), above); },
      [&](GRNotationElement const* note) {
        mReach =
            above ? std::min(mReach, Reach(note, above)) : std::max(mReach, Reach(note, above));
      });
  return mReach;
}

GRDynamics::GRDynamicsSaveStruct const& GRDynamics::currentPiece() const {
  SSE const* sse = getSystemStartEndStruct(gCurSystem);
  MELVARIN_ASSERT(sse && sse->p);
  return *static_cast<Save const*>(sse->p);
}

float GRDynamics::narrowOpening(bool atStart) const {
  SSE const* sse = getSystemStartEndStruct(gCurSystem);
  MELVARIN_ASSERT(sse && sse->p);
  bool const broken =
      atStart ? sse->startflag == SSE::CONTINUES_FROM_LAST : sse->endflag == SSE::CONTINUES_ON_NEXT;
  auto const* piece = static_cast<Save const*>(sse->p);
  return broken ? 0.5f * std::min(piece->upperOpening, piece->lowerOpening) : 0;
}

VGColor GRDynamics::colour() const {
  return getColRef() ? VGColor(getColRef()) : kOpaqueBlack;
}
