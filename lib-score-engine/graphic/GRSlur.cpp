#include "GRSlur.h"

#include <algorithm>
#include <cmath>

#include "ARSlur.h"
#include "GRNote.h"
#include "GRRest.h"
#include "GRSingleRest.h"
#include "GRStaff.h"
#include "GRStdNoteHead.h"
#include "NEPointerList.h"
#include "curve_ink.h"
#include "curve_tips_past_stems.h"

namespace {

NVRect PageBox(GRNotationElement const* element) {
  NVRect box = element->getBoundingBox();
  NVPoint const& at = element->getPosition();
  box.left += at.x;
  box.right += at.x;
  box.top += at.y;
  box.bottom += at.y;
  // A rest's box is the room it keeps on the line; its glyph reaches further up and down.
  if (auto const* rest = dynamic_cast<GRSingleRest const*>(element))
    rest->getInkExtent(&box.top, &box.bottom);
  return box;
}

// Where the slur meets one end: beside or under the head on the side away from the stem.
NVPoint Anchor(GRNotationElement const* element, bool below, GDirection stem) {
  NVRect const box = PageBox(element);
  float const centre = (box.left + box.right) / 2;
  float x;
  if (below) {
    x = stem == dirUP ? centre : box.left;
  } else {
    x = stem == dirUP ? box.right : centre;
  }
  return NVPoint{x, below ? box.bottom + 37.5f : box.top - 37.5f};
}

bool IsRest(GRNotationElement const* element) {
  return dynamic_cast<GRRest const*>(element) != nullptr;
}

// A note or chord that takes time: grace notes may be drawn at the head of the next line though
// they come before its bar, so a slur is not moved onto them.
bool IsTimedNote(GRNotationElement const* element) {
  return !IsRest(element) && element->getDuration() > Fraction(0);
}

}  // namespace

void GRSlur::setStartElement(GRStaff const* staff, GRNotationElement* element) {
  NEPointerList* list = getAssociations();
  if (list && IsRest(element) && element == list->GetHead()) {
    // Moved only where another note follows: a slur needs two ends.
    GRNotationElement* first = nullptr;
    for (void* pos = list->GetHeadPosition(); pos;) {
      GRNotationElement* next = list->GetNext(pos);
      if (next->getGRStaff() != element->getGRStaff()) break;
      if (!IsTimedNote(next)) continue;
      if (first) {
        element = first;
        break;
      }
      first = next;
    }
  }
  GRBowing::setStartElement(staff, element);
}

void GRSlur::setEndElement(GRStaff const* staff, GRNotationElement* element) {
  NEPointerList* list = getAssociations();
  GRSystemStartEndStruct const* sse =
      staff ? getSystemStartEndStruct(staff->getGRSystem()) : nullptr;
  if (sse && list && IsRest(element) && element == list->GetTail() && !IsRest(sse->startElement)) {
    // Back to the last note of this line's piece, never onto its start or the lines before; a
    // start left on a rest had no two notes to bind.
    int index = list->GetCount();
    for (void* pos = list->GetTailPosition(); pos && --index >= sse->elementsBefore;) {
      GRNotationElement* note = list->GetPrev(pos);
      if (note == sse->startElement || note->getGRStaff() != element->getGRStaff()) break;
      if (IsTimedNote(note)) {
        element = note;
        break;
      }
    }
  }
  GRBowing::setEndElement(staff, element);
}

GRSlur::GRSlur(GRStaff* staff, ARSlur* ar) : GRBowing(staff, ar) {}

GRSlur::GRSlur(GRStaff* staff) : GRBowing(staff, new ARSlur, true) {}

void GRSlur::automaticCurveDirection(GRBowingContext& context, GRSystemStartEndStruct* sse) {
  // Where voices share the staff, a slur keeps to its voice's side.
  if (voiceCurveDirection(context, sse)) return;
  // A long slur goes over the music.
  if (getAssociations() && getAssociations()->GetCount() >= 17) {
    context.curveDir = 1;
    return;
  }
  auto* start = dynamic_cast<GRNote*>(sse->startElement);
  auto* end = dynamic_cast<GRNote*>(sse->endElement);
  if (start && end) {
    int p1, o1, a1, p2, o2, a2;
    start->getPitchAndOctave(&p1, &o1, &a1);
    end->getPitchAndOctave(&p2, &o2, &a2);
    if (p1 == p2 && o1 == o2 && a1 == a2) {
      context.curveDir = start->getThroatDirection();
      return;
    }
  }
  GRBowing::automaticCurveDirection(context, sse);
}

void GRSlur::automaticAnchorPoints(GRBowingContext& context, GRSystemStartEndStruct* sse) {
  bool const below = context.curveDir != 1;
  auto endOf = [below](GRStdNoteHead* top, GRStdNoteHead* bottom,
                       GRNotationElement* element) -> GRNotationElement* {
    if (top == bottom) return element;
    return below ? bottom : top;
  };
  GRNotationElement const* first =
      endOf(context.topLeftHead, context.bottomLeftHead, sse->startElement);
  GRNotationElement const* last =
      endOf(context.topRightHead, context.bottomRightHead, sse->endElement);
  NVPoint start = Anchor(first, below, context.stemDirLeft);
  NVPoint end = Anchor(last, below, context.stemDirRight);
  float const open = below ? 50.0f : -50.0f;
  if (context.openLeft) {
    start.y = end.y + open;
    start.x = std::min(start.x, end.x - 75);
  }
  if (context.openRight) {
    end.y = start.y + open;
    end.x = std::max(end.x, start.x + 75);
  }
  setAnchors(context, sse, start, end);
}

std::vector<GRSlur::TimedElement>::const_iterator GRSlur::passedFrom(Fraction const& after) const {
  NEPointerList const* list = getAssociations();
  if (list != mByTimeOf || list->GetVersion() != mByTimeVersion) {
    mByTime.clear();
    for (void* pos = list->GetHeadPosition(); pos;) {
      GRNotationElement const* element = list->GetNext(pos);
      mByTime.push_back({element->getRelativeTimePosition(), element});
    }
    std::stable_sort(mByTime.begin(), mByTime.end(),
                     [](TimedElement const& a, TimedElement const& b) { return a.time < b.time; });
    mByTimeOf = list;
    mByTimeVersion = list->GetVersion();
  }
  return std::upper_bound(mByTime.begin(), mByTime.end(), after,
                          [](Fraction const& t, TimedElement const& e) { return t < e.time; });
}

void GRSlur::automaticControlPoints(GRBowingContext& context, GRSystemStartEndStruct* sse) {
  NEPointerList const* list = getAssociations();
  if (!list) return;
  GRBowingSaveStruct* save = saveOf(sse);
  bool const above = context.curveDir == 1;
  float const x0 = save->position.x + save->offsets[0].x;
  float const y0 = save->position.y + save->offsets[0].y;
  float const x1 = save->position.x + save->offsets[2].x;
  float const y1 = save->position.y + save->offsets[2].y;
  Fraction const& t0 = sse->startElement->getRelativeTimePosition();
  Fraction const& t1 = sse->endElement->getRelativeTimePosition();
  // "Farther" is higher above the notes, lower below them.
  auto farther = [above](float a, float b) { return above ? a < b : a > b; };

  float extreme = farther(y0, y1) ? y0 : y1;
  float s1 = above ? -0.03f : 0.03f;
  float s2 = above ? 0.03f : -0.03f;
  // Each obstacle moves the extremes only farther, so the order they are looked at in is free.
  auto pass = [&](NVRect const& box) {
    if (!(box.left > x0 && box.right < x1)) return;
    float const ey = above ? box.top : box.bottom;
    if (farther(ey, extreme)) extreme = ey;
    float const rise = (ey - y0) / (box.left - x0);
    if (above ? rise < s1 : rise > s1) s1 = rise;
    float const fall = (y1 - ey) / (x1 - box.right);
    if (above ? fall > s2 : fall < s2) s2 = fall;
  };
  if (CurveInk const* ink = passedInk()) {
    // Placed once the line stands: all that is drawn between the ends, of any voice; the
    // dynamic marks and wedges stand further off instead.
    ink->forEachBetween(x0, x1, [&](CurveInk::Ink const& passed) {
      if (passed.kind == CurveInk::Kind::Mark || passed.kind == CurveInk::Kind::Figure) return;
      if (passed.kind == CurveInk::Kind::Words && CurveInk::WordsNearAnEnd(passed.box, x0, x1))
        return;
      pass(passed.box);
    });
  } else {
    for (auto it = passedFrom(t0); it != mByTime.end() && it->time < t1; ++it) {
      GRNotationElement const* element = it->element;
      NVRect const& own = element->getBoundingBox();
      if (own.right - own.left == 0 && own.bottom - own.top == 0) continue;
      pass(PageBox(element));
    }
  }

  // The line leaving the start and the one reaching the end, neither passing more than 20
  // beyond the other end.
  float const b1 = y0 - s1 * x0;
  float const b2 = y1 - s2 * x1;
  float const margin = above ? -20.0f : 20.0f;
  if (farther(y1 + margin, s1 * x1 + b1)) s1 = ((y1 + margin) - b1) / x1;
  if (farther(y0 + margin, s2 * x0 + b2)) s2 = ((y0 + margin) - b2) / x0;

  float xi = 0, yi = 0;
  if (s1 != s2) {
    xi = (b2 - b1) / (s1 - s2);
    yi = s1 * xi + b1;
  }
  if (xi <= x0 + 5 || xi >= x1 - 5) {
    xi = (x0 + x1) / 2;
    yi = extreme;
  }
  // Over all the ink of the line, a peak near an end would hook the curve back over its note:
  // the peak keeps to the middle part of the curve.
  if (passedInk()) xi = std::clamp(xi, x0 + 0.3f * (x1 - x0), x1 - 0.3f * (x1 - x0));
  float const d = std::fabs(yi - extreme);
  float const c = std::clamp(0.35f * d, 40.0f, 160.0f);
  float const controlY = above ? extreme - c : extreme + c;
  // A curve that must rise far over its notes is drawn fuller.
  if (d > c) save->inflexion = 1 / (1 / save->inflexion + (d - c) * 0.0028f);
  save->offsets[1] = NVPoint{xi, controlY} - save->position;
}

void GRSlur::keepClear(GRBowingContext& context, GRSystemStartEndStruct* sse, bool sideFree) {
  placeClear(context, sse);
  if (sideFree) sideClearOfRests(context, sse);
}

void GRSlur::placeClear(GRBowingContext& context, GRSystemStartEndStruct* sse) {
  GRBowingSaveStruct const* save = saveOf(sse);
  NVPoint start = save->position + save->offsets[0];
  NVPoint end = save->position + save->offsets[2];
  bool const above = context.curveDir == 1;
  float const space = context.staff->getLineSpace();
  float const air = 2 * Air(context);
  // Beyond the curves the end stands over and, at an open end, beyond all ink up to a space
  // and a half inwards. Beyond the articulations on the slur's side of the end's note within half a
  // space of the end, or of any note over the end, however far out they stand: the slur holds them.
  auto beyond = [&](NVPoint& at, GRNotationElement const* note, bool open) {
    float const was = at.y;
    float const reach = open ? 1.5f * space : 0;
    float const from = at.x - (&at == &end ? reach : 0);
    float const to = at.x + (&at == &start ? reach : 0);
    auto const marks = [&](CurveInk::Ink const& ink) {
      return ink.kind == CurveInk::Kind::Articulation &&
             (ink.of(note) || (ink.box.left <= at.x && ink.box.right >= at.x)) &&
             (above ? ink.box.bottom < at.y + space : ink.box.top > at.y - space);
    };
    passedInk()->forEachBetween(from - space / 2, to + space / 2, [&](CurveInk::Ink const& ink) {
      bool const held = marks(ink);
      if (!held && (ink.box.right < from || ink.box.left > to)) return;
      if (ink.kind == CurveInk::Kind::Mark || ink.kind == CurveInk::Kind::Figure ||
          (!open && !held && ink.kind != CurveInk::Kind::Curve))
        return;
      if (!held && (above ? ink.box.bottom < at.y - air : ink.box.top > at.y + air)) return;
      at.y = above ? std::min(at.y, ink.box.top - air) : std::max(at.y, ink.box.bottom + air);
    });
    return at.y != was;
  };
  bool moved = beyond(start, sse->startElement, context.openLeft);
  moved = beyond(end, sse->endElement, context.openRight) || moved;
  // An end on the stem side of its note stands at the stem's end, past its flag or beam; then
  // beyond a curve met there. A beamed note's stem may reach far out to its beam.
  float const stemLength = 8 * space;
  if (!context.openLeft && TipPastStems(*passedInk(), start, above, air, stemLength)) {
    beyond(start, sse->startElement, false);
    moved = true;
  }
  if (!context.openRight && TipPastStems(*passedInk(), end, above, air, stemLength)) {
    beyond(end, sse->endElement, false);
    moved = true;
  }
  if (moved) {
    setAnchors(context, sse, start, end);
    automaticControlPoints(context, sse);
  }
  bendClear(context, sse, 5 * space);
}
