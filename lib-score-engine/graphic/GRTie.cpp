#include "GRTie.h"

#include <algorithm>
#include <vector>

#include "ARTie.h"
#include "GRGlobalStem.h"
#include "GRGlue.h"
#include "GRRest.h"
#include "GRSingleNote.h"
#include "GRStaff.h"
#include "GRStdNoteHead.h"
#include "NEPointerList.h"

namespace {
// Just over 7.5, the gap between a head and the tie's end.
constexpr float kGap = 7.5000005f;
}  // namespace

GRTie::GRTie(GRStaff* staff, ARTie* ar) : GRBowing(staff, ar) {}

GRTie::GRTie(GRStaff* staff) : GRBowing(staff, new ARTie, true) {}

GRTie::GRTie(GRStaff* staff, GRNotationElement* start, GRNotationElement* end) : GRTie(staff) {
  GRSystemStartEndStruct* sse = mStartEndList.GetHead();
  setStartElement(staff, start ? start : staff->getSecondGlue());
  sse->startflag =
      start ? GRSystemStartEndStruct::BEGINS_HERE : GRSystemStartEndStruct::CONTINUES_FROM_LAST;
  setEndElement(staff, end ? end : staff->getEndGlue());
  sse->endflag =
      end ? GRSystemStartEndStruct::ENDS_HERE : GRSystemStartEndStruct::CONTINUES_ON_NEXT;
  if (GRNotationElement* at = end ? end : start)
    setRelativeTimePosition(at->getRelativeTimePosition());
  mBoundingBox = NVRect{};
}

void GRTie::addAssociation(GRNotationElement* element) {
  if (dynamic_cast<GRRest*>(element)) {
    error = 1;
    return;
  }
  GRBowing::addAssociation(element);
}

void GRTie::automaticAnchorPoints(GRBowingContext& context, GRSystemStartEndStruct* sse) {
  bool const above = context.curveDir == 1;
  GRStdNoteHead* startHead = above ? context.topLeftHead : context.bottomLeftHead;
  GRStdNoteHead* endHead = above ? context.topRightHead : context.bottomRightHead;
  GRNotationElement const* startAt =
      startHead ? static_cast<GRNotationElement*>(startHead) : sse->startElement;
  GRNotationElement const* endAt =
      endHead ? static_cast<GRNotationElement*>(endHead) : sse->endElement;
  NVPoint start = startHead ? startHead->getNoteHeadPosition() : startAt->getPosition();
  start.x += startAt->getRightSpace() + kGap;
  NVPoint end = endHead ? endHead->getNoteHeadPosition() : endAt->getPosition();
  end.x -= endAt->getLeftSpace() + kGap;
  float const space = context.staff->getLineSpace();
  // Heads too close for a tie between them (short notes set tight) are tied from the middle of
  // one to the middle of the other, clear over or under them.
  bool const close =
      startHead && endHead && !context.openLeft && !context.openRight && end.x - start.x < space;
  if (close) {
    start.x = startHead->getNoteHeadPosition().x;
    end.x = endHead->getNoteHeadPosition().x;
  }
  if (context.openLeft) {
    start.y = end.y;
    start.x = std::min(start.x, end.x - 75);
  }
  if (context.openRight) {
    end.y = start.y;
    end.x = std::max(end.x, start.x + 75);
  }
  // Off the line or out of the middle of the space the notes stand on.
  float away = GObject::positionIsOnStaffLine(start.y, space) ? 12.5f : 37.5f;
  if (close) away = std::max(away, 0.75f * space);
  float const move = above ? -away : away;
  start.y += move;
  end.y += move;
  setAnchors(context, sse, start, end);
}

void GRTie::automaticControlPoints(GRBowingContext& context, GRSystemStartEndStruct* sse) {
  GRBowingSaveStruct* save = saveOf(sse);
  float const dx = save->offsets[2].x - save->offsets[0].x;
  float const h = context.staff->getLineSpace() * (dx >= 600 ? 1.25f : 0.5f);
  save->offsets[1].x = save->offsets[0].x + dx / 2;
  save->offsets[1].y = save->offsets[0].y - context.curveDir * h;
}

void GRTie::automaticCurveDirection(GRBowingContext& context, GRSystemStartEndStruct* sse) {
  GRBowing::automaticCurveDirection(context, sse);
  auto const* note = dynamic_cast<GRSingleNote const*>(sse->startElement);
  GRGlobalStem const* chord = note ? note->getGlobalStem() : nullptr;
  if (!chord) return;
  std::vector<float> heights;
  auto add = [&heights](GRNotationElement const* element) {
    if (auto const* member = dynamic_cast<GRSingleNote const*>(element))
      heights.push_back(member->getPosition().y);
  };
  add(chord->getFirstEl());
  if (NEPointerList const* members = chord->getAssociations())
    for (void* pos = members->GetHeadPosition(); pos;) add(members->GetNext(pos));
  if (heights.size() < 2) return;
  auto const [highest, lowest] = std::minmax_element(heights.begin(), heights.end());
  float const y = note->getPosition().y;
  float const middle = (*highest + *lowest) / 2;
  if (y == *highest || y < middle)
    context.curveDir = 1;
  else if (y == *lowest || y > middle)
    context.curveDir = -1;
  else
    context.curveDir = chord->getStemDir() == dirDOWN ? 1 : -1;
}
