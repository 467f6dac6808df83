#include "GRTie.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "ARTie.h"
#include "GRGlobalStem.h"
#include "GRGlue.h"
#include "GRRest.h"
#include "GRSingleNote.h"
#include "GRStaff.h"
#include "GRStdNoteHead.h"
#include "NEPointerList.h"
#include "curve_band.h"
#include "curve_ink.h"

namespace {
// Just over 7.5, the gap between a head and the tie's end.
constexpr float kGap = 7.5000005f;
// The least length of a piece continued from or on another line.
constexpr float kOpenLength = 75;
// A tie shorter than some 0.4 space, in spaces, would not read as one.
constexpr float kLeast = 0.4f;
// How far from an end, in spaces, ink stands beside it rather than in the tie's way.
constexpr float kBeside = 1.5f;
// How far an end may be cut back from its head, in spaces, and still join it.
constexpr float kReach = 0.25f;
// How far, in spaces, a low piece going on from the line before still bends at its middle: from
// the first to the least, then deeper, under a sign of another voice that stands in front of its
// head with room left to rise into the head after it.
constexpr float kLowBends[] = {0.35f, 0.25f, 0.7f, 1.0f};
// How many times a tie bends clear of the ink it meets at the most.
constexpr int kBendings = 4;
// The fullness a tie meeting notes is tried at, fuller and fuller (the drawn default is 6), and
// where along its length its deepest point is tried, from the middle outwards.
constexpr float kFuller[] = {6, 3, 1.5f};
constexpr float kDeepest[] = {0.5f, 0.35f, 0.65f};

// Whether a note of another voice stands at the head's pitch at its time, on that head or beside
// it. Ties that leave (reach) such a place in both voices cross unless each keeps to its
// voice's side.
bool SharedWithAnotherVoice(CurveInk const& ink, GRNotationElement const* element, float space) {
  auto const* note = dynamic_cast<GRSingleNote const*>(element);
  GRStdNoteHead const* head = note ? note->getNoteHead() : nullptr;
  if (!head) return false;
  NVRect const own = head->getBoundingBox() + head->getNoteHeadPosition();
  float const near = 0.25f * space;
  float const middle = (own.top + own.bottom) / 2;
  bool shared = false;
  ink.forEachBetween(own.left - near, own.right + near, [&](CurveInk::Ink const& other) {
    if (other.kind != CurveInk::Kind::Head || !other.event || other.event == note ||
        other.event->getRelativeTimePosition() != note->getRelativeTimePosition())
      return;
    shared = shared || std::fabs((other.box.top + other.box.bottom) / 2 - middle) < near;
  });
  return shared;
}

// Whether the note is drawn with a stem, which gives its voice's side: a whole note has none.
bool DrawsStem(GRNotationElement const* element) {
  auto const* note = dynamic_cast<GRSingleNote const*>(element);
  return !note || note->getDurTemplate() < Frac_1;
}

// Whether the ink is the flag of a note at an end of the tie drawn on the far side of its heads:
// the heads stand between it and the tie, however far down (up) its box reaches.
bool FlagBeyondHeads(CurveInk::Ink const& ink, GRSystemStartEndStruct const* sse, NVPoint start,
                     NVPoint end, bool above) {
  auto of = [&](GRNotationElement const* element) {
    auto const* event = dynamic_cast<GREvent const*>(element);
    return event && ink.event &&
           (ink.event == event ||
            (event->getGlobalStem() && ink.event->getGlobalStem() == event->getGlobalStem()));
  };
  float const middle = (ink.box.top + ink.box.bottom) / 2;
  auto beyond = [&](NVPoint const& tip) { return above ? middle > tip.y : middle < tip.y; };
  return (of(sse->startElement) && beyond(start)) || (of(sse->endElement) && beyond(end));
}
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
  NEPointerList const* held = getAssociations();
  if (auto* note = dynamic_cast<GRSingleNote*>(element); note && (!held || held->GetCount() == 0))
    note->setBeginsTie(true);
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
  // Heads too close for a tie between them (short notes set tight), or either side of a sign the
  // tie must pass, are tied from the middle of one to the middle of the other, clear over or
  // under them.
  bool const close = startHead && endHead && !context.openLeft && !context.openRight &&
                     (mOverHeads || end.x - start.x < space);
  if (close) {
    start.x = startHead->getNoteHeadPosition().x;
    end.x = endHead->getNoteHeadPosition().x;
  }
  bool const overEnd = !close && mOverEnd && endHead && !context.openRight;
  if (overEnd) end.x = endHead->getNoteHeadPosition().x;
  if (context.openLeft) {
    start.y = end.y;
    start.x = std::min(start.x, end.x - kOpenLength);
  }
  if (context.openRight) {
    end.y = start.y;
    end.x = std::max(end.x, start.x + kOpenLength);
  }
  // Off the line (or in the middle of the space beyond it) or out of the middle of the space the
  // notes stand on.
  float away = !GObject::positionIsOnStaffLine(start.y, space) ? 37.5f
               : mMidSpace                                     ? 0.5f * space
                                                               : 12.5f;
  if (close) away = std::max(away, 0.75f * space);
  float const move = above ? -away : away;
  start.y += move;
  end.y += move;
  if (overEnd) end.y += (above ? -1 : 1) * (std::max(away, 0.75f * space) - away);
  setAnchors(context, sse, start, end);
}

void GRTie::automaticControlPoints(GRBowingContext& context, GRSystemStartEndStruct* sse) {
  GRBowingSaveStruct* save = saveOf(sse);
  float const dx = save->offsets[2].x - save->offsets[0].x;
  // A short tie (one begun after a flag or ended before a sign) keeps low, so that it still
  // reads as a tie rather than as a mark of its own.
  float const h =
      std::min(context.staff->getLineSpace() * (dx >= 600 ? 1.25f : 0.5f), std::abs(dx) / 3);
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

void GRTie::keepClear(GRBowingContext& context, GRSystemStartEndStruct* sse, bool sideFree) {
  saveOf(sse)->inflexion = GRBowingSaveStruct{}.inflexion;
  placeClear(context, sse, sideFree);
  overHeadsPastSign(context, sse, sideFree);
  endOverHeadPastSign(context, sse);
  fullerPastNotes(context, sse);
}

void GRTie::fullerPastNotes(GRBowingContext& context, GRSystemStartEndStruct* sse) {
  if (intrusion(context, sse) <= 0) return;
  GRBowingSaveStruct* save = saveOf(sse);
  NVPoint const middle = save->offsets[1];
  float const inflexion = save->inflexion;
  float const length = save->offsets[2].x - save->offsets[0].x;
  for (float const deepest : kDeepest) {
    for (float const fuller : kFuller) {
      save->inflexion = fuller;
      automaticControlPoints(context, sse);
      save->offsets[1].x = save->offsets[0].x + deepest * length;
      riseClear(context, sse, mostRise(context, sse));
      if (intrusion(context, sse, true) <= 0) return;
    }
  }
  save->inflexion = inflexion;
  save->offsets[1] = middle;
}

void GRTie::endOverHeadPastSign(GRBowingContext& context, GRSystemStartEndStruct* sse) {
  GRStdNoteHead const* endHead =
      context.curveDir == 1 ? context.topRightHead : context.bottomRightHead;
  if (context.openLeft || context.openRight || !endHead || context.curveDir == context.stemDirRight)
    return;
  GRBowingSaveStruct* save = saveOf(sse);
  NVPoint const start = save->position + save->offsets[0];
  NVPoint const end = save->position + save->offsets[2];
  NVPoint const middle = save->offsets[1];
  auto restore = [&] {
    setAnchors(context, sse, start, end);
    save->offsets[1] = middle;
  };
  // Only a tie cut back from its last head, which a sign left uncut would stand in the way of.
  automaticAnchorPoints(context, sse);
  automaticControlPoints(context, sse);
  float const cut = save->position.x + save->offsets[2].x - end.x;
  if (cut <= kReach * context.staff->getLineSpace() || !signInTheWay(context, sse)) {
    restore();
    return;
  }
  mOverEnd = true;
  automaticAnchorPoints(context, sse);
  automaticControlPoints(context, sse);
  mOverEnd = false;
  riseClear(context, sse, mostRise(context, sse));
  if (intrusion(context, sse, true) > 0) restore();
}

bool GRTie::signInTheWay(GRBowingContext const& context, GRSystemStartEndStruct const* sse) const {
  return intrusionInto(context, sse, CurveInk::Kind::Accidental) > 0;
}

void GRTie::overHeadsPastSign(GRBowingContext& context, GRSystemStartEndStruct* sse,
                              bool sideFree) {
  if (context.openLeft || context.openRight || !context.topLeftHead || !context.topRightHead ||
      !context.bottomLeftHead || !context.bottomRightHead || !signInTheWay(context, sse))
    return;
  GRBowingSaveStruct* save = saveOf(sse);
  int const side = context.curveDir;
  NVPoint const start = save->position + save->offsets[0];
  NVPoint const end = save->position + save->offsets[2];
  NVPoint const middle = save->offsets[1];
  bool const free = sideFree && !inUnison(context, sse);
  mOverHeads = true;
  for (int const tried : {side, -side}) {
    // Over (under) a head on its stem's side the tie would cross that stem.
    if ((tried != side && !free) || tried == context.stemDirLeft || tried == context.stemDirRight)
      continue;
    context.curveDir = tried;
    automaticAnchorPoints(context, sse);
    automaticControlPoints(context, sse);
    riseClear(context, sse, mostRise(context, sse));
    if (intrusion(context, sse, true) <= 0) {
      mOverHeads = false;
      return;
    }
  }
  mOverHeads = false;
  context.curveDir = side;
  setAnchors(context, sse, start, end);
  save->offsets[1] = middle;
}

void GRTie::placeClear(GRBowingContext& context, GRSystemStartEndStruct* sse, bool sideFree) {
  bool const reaches = endBesideSigns(context, sse);
  auto most = [&] { return mostRise(context, sse); };
  // How a side does: whether the tie meets notes there, and how far it meets anything.
  struct Meeting {
    bool notes;
    float all;
  };
  auto meeting = [&] {
    return Meeting{intrusion(context, sse) > 0, intrusion(context, sse, true)};
  };
  if (sideFree && !context.openLeft && inUnison(context, sse)) {
    GRBowingContext voice = context;
    if (voiceCurveDirection(voice, sse) && voice.curveDir != context.curveDir) {
      context.curveDir = voice.curveDir;
      placeOnSide(context, sse);
    }
    riseClear(context, sse, most());
    return;
  }
  // The side of a piece going on from the line before was chosen on that line, before the signs
  // of this one stood anywhere: it keeps that side, passing low by them where it can.
  if (context.openLeft && !reaches && passLowBesideSigns(context, sse)) return;
  if (!sideFree) {
    riseClear(context, sse, most());
    return;
  }
  if (context.openLeft) {
    // A piece going on from the line before keeps the side it began on, unless its end lies there
    // in the head of another voice beside its own, or it meets other notes there (the piece
    // before left its voice's side to a flag), and the other side is clear: hidden, it would not
    // read at all; crossing notes, it would be read as theirs.
    riseClear(context, sse, most());
    if (!endHidden(context, sse) && !meeting().notes) return;
    int const side = context.curveDir;
    context.curveDir = -side;
    placeOnSide(context, sse);
    riseClear(context, sse, most());
    if (meeting().all <= 0 && !endHidden(context, sse)) return;
    context.curveDir = side;
    placeOnSide(context, sse);
    riseClear(context, sse, most());
    return;
  }
  // A tie going on to the next line keeps its side there, among notes this line cannot see:
  // where voices share the staff it takes its voice's side, away from the other voice, wherever
  // that side is clear here once it sinks (rises) as far as it may, past a rest of the other
  // voice reaching down (up) to it. A tie of notes without stems keeps the side it was given.
  if (context.openRight && DrawsStem(sse->startElement)) {
    GRBowingContext voice = context;
    if (voiceCurveDirection(voice, sse) && voice.curveDir != context.curveDir) {
      int const side = context.curveDir;
      context.curveDir = voice.curveDir;
      if (placeOnSide(context, sse)) {
        riseClear(context, sse, most());
        if (meeting().all <= 0) return;
      }
      context.curveDir = side;
      placeOnSide(context, sse);
    }
  }
  // A side where the tie meets nothing keeps it, unless a sign or flag beside a head leaves it no
  // room to join that head (it would read as a note struck anew) and the other side is clear.
  bool const clear = meeting().all <= 0;
  if (clear && reaches) {
    riseClear(context, sse, most());
    return;
  }
  int const side = context.curveDir;
  context.curveDir = -side;
  bool const otherReaches = placeOnSide(context, sse);
  if (meeting().all <= 0 && (otherReaches || !clear)) {
    riseClear(context, sse, most());
    return;
  }
  // A side clear only because an end was cut back from its head does not join that head: the
  // other side joining both, where it meets no notes, is the better one, as the marks under or
  // over the music keep clear of the ties placed before them.
  if (clear && (reaches || !otherReaches || meeting().notes)) {
    context.curveDir = side;
    placeOnSide(context, sse);
    return;
  }
  if (clear) {
    riseClear(context, sse, most());
    return;
  }
  // Neither side is clear as it stands: each is judged as it stands once it rises as far as it
  // may, so that ink a little rise clears (the box of a flag beside the head) does not send the
  // tie across its stem. A side clear of all, else one clear of notes (a dynamic mark may stand
  // further off), else its voice's side where voices share the staff, else the side that meets
  // less.
  riseClear(context, sse, most());
  Meeting const other = meeting();
  context.curveDir = side;
  placeOnSide(context, sse);
  riseClear(context, sse, most());
  Meeting const met = meeting();
  GRBowingContext voice = context;
  bool const voiceSide = voiceCurveDirection(voice, sse);
  bool better = met.all > 0 && (other.all <= 0 || (met.notes && !other.notes));
  if (!better && met.all > 0 && met.notes == other.notes)
    better = voiceSide ? voice.curveDir == -side : other.all < met.all;
  if (!better) return;
  context.curveDir = -side;
  placeOnSide(context, sse);
  riseClear(context, sse, most());
}

void GRTie::riseClear(GRBowingContext const& context, GRSystemStartEndStruct* sse, float most) {
  // Each bending moves the middle by what the deepest ink asks in a few steps; ink near an end,
  // which the curve beside it clears slowly, may ask for more bendings, up to the most.
  GRBowingSaveStruct const* save = saveOf(sse);
  float const unbent = save->offsets[1].y;
  for (int round = 0; round < kBendings; ++round) {
    float const bent = std::abs(save->offsets[1].y - unbent);
    if (bent >= most || intrusion(context, sse) <= 0) return;
    bendClear(context, sse, most - bent);
  }
}

bool GRTie::endHidden(GRBowingContext const& context, GRSystemStartEndStruct const* sse) const {
  GRBowingSaveStruct const* save = saveOf(sse);
  NVPoint const end = save->position + save->offsets[2];
  auto const* own = dynamic_cast<GREvent const*>(sse->endElement);
  GRGlobalStem const* chord = own ? own->getGlobalStem() : nullptr;
  float const near = 0.25f * context.staff->getLineSpace();
  bool hidden = false;
  passedInk()->forEachBetween(end.x - near, end.x + near, [&](CurveInk::Ink const& ink) {
    if (ink.kind != CurveInk::Kind::Head || !ink.event || ink.event == own ||
        (chord && ink.event->getGlobalStem() == chord))
      return;
    hidden = hidden || (end.x >= ink.box.left && end.x <= ink.box.right && end.y >= ink.box.top &&
                        end.y <= ink.box.bottom);
  });
  return hidden;
}

bool GRTie::inUnison(GRBowingContext const& context, GRSystemStartEndStruct const* sse) const {
  float const space = context.staff->getLineSpace();
  return SharedWithAnotherVoice(*passedInk(), sse->startElement, space) ||
         SharedWithAnotherVoice(*passedInk(), sse->endElement, space);
}

bool GRTie::placeOnSide(GRBowingContext& context, GRSystemStartEndStruct* sse) {
  automaticAnchorPoints(context, sse);
  automaticControlPoints(context, sse);
  return endBesideSigns(context, sse);
}

bool GRTie::endBesideSigns(GRBowingContext& context, GRSystemStartEndStruct* sse) {
  if (cutBesideSigns(context, sse)) return true;
  if (context.openLeft || context.openRight || mOverHeads || mOverEnd) return false;
  GRBowingSaveStruct* save = saveOf(sse);
  NVPoint const start = save->position + save->offsets[0];
  NVPoint const end = save->position + save->offsets[2];
  NVPoint const middle = save->offsets[1];
  float const inflexion = save->inflexion;
  mMidSpace = true;
  automaticAnchorPoints(context, sse);
  mMidSpace = false;
  automaticControlPoints(context, sse);
  bool const offTheLine = (save->position + save->offsets[0]).y != start.y;
  if (offTheLine && cutBesideSigns(context, sse)) return true;
  setAnchors(context, sse, start, end);
  save->offsets[1] = middle;
  save->inflexion = inflexion;
  return false;
}

bool GRTie::cutBesideSigns(GRBowingContext& context, GRSystemStartEndStruct* sse) {
  GRBowingSaveStruct const* save = saveOf(sse);
  NVPoint const start = save->position + save->offsets[0];
  NVPoint const end = save->position + save->offsets[2];
  // Ink beside an end stands between the tie and its head; what stands further in (the notes a
  // long tie or a piece going on to the next line passes) the tie rises over where it can, so
  // that it still joins its heads. Where it cannot, it ends before that ink as well.
  std::pair<float, float> const beside = cutEnds(context, sse, true);
  std::pair<float, float> const all = cutEnds(context, sse, false);
  if (beside != all) {
    bool const reaches = placeEnds(context, sse, start, end, beside);
    riseClear(context, sse, mostRise(context, sse));
    if (intrusion(context, sse) <= 0) return reaches;
    setAnchors(context, sse, start, end);
    automaticControlPoints(context, sse);
  }
  return placeEnds(context, sse, start, end, all);
}

std::pair<float, float> GRTie::cutEnds(GRBowingContext const& context,
                                       GRSystemStartEndStruct const* sse, bool besideOnly) const {
  GRBowingSaveStruct const* save = saveOf(sse);
  NVPoint const start = save->position + save->offsets[0];
  NVPoint const end = save->position + save->offsets[2];
  CurveBand const band(start, save->position + save->offsets[1], end, save->inflexion);
  bool const above = context.curveDir == 1;
  float const air = Air(context);
  float const middle = (start.x + end.x) / 2;
  float from = start.x;
  float to = end.x;
  // A flag is passed by where the tie keeps its least length after it, rather than being drawn
  // through the flag. A piece going on from or to another line keeps a space after it: only its
  // end at a head tells which note it holds.
  float flagFrom = from;
  float flagTo = to;
  float const space = context.staff->getLineSpace();
  float const beside = besideOnly ? kBeside * space : end.x - start.x;
  passedInk()->forEachBetween(start.x, end.x, [&](CurveInk::Ink const& ink) {
    using Kind = CurveInk::Kind;
    if (ink.kind != Kind::Accidental && ink.kind != Kind::Sign && ink.kind != Kind::Flag) return;
    if (ink.kind == Kind::Flag && FlagBeyondHeads(ink, sse, start, end, above)) return;
    if (band.intrusion(ink.box, above, air) <= 0) return;
    float& first = ink.kind == Kind::Flag ? flagFrom : from;
    float& last = ink.kind == Kind::Flag ? flagTo : to;
    if ((ink.box.left + ink.box.right) / 2 > middle) {
      if (ink.box.right >= end.x - beside) last = std::min(last, ink.box.left - kGap);
    } else if (ink.box.left <= start.x + beside) {
      first = std::max(first, ink.box.right + kGap);
    }
  });
  float const room = context.openLeft || context.openRight ? space : kLeast * space;
  if (std::min(to, flagTo) - std::max(from, flagFrom) >= room) {
    from = std::max(from, flagFrom);
    to = std::min(to, flagTo);
  }
  if (context.openLeft) {
    // A piece continued from the line before begins after the signs that open the line, and
    // keeps its length where they leave room. Where it would pass over notes before its own
    // (grace notes, another voice's) or another curve, it begins after them as well, so long as
    // it still reads as a tie: it does not rise over them, as it is bound to the side it began
    // on.
    float const earliest = std::min(from, to - kOpenLength);
    float afterSigns = earliest - kGap;
    float afterAll = afterSigns;
    passedInk()->forEachBetween(earliest, to, [&](CurveInk::Ink const& ink) {
      using Kind = CurveInk::Kind;
      if (ink.box.right > to || ink.kind == Kind::Mark) return;
      if (ink.kind == Kind::Sign) {
        afterSigns = std::max(afterSigns, ink.box.right);
        afterAll = std::max(afterAll, ink.box.right);
      } else if (band.intrusion(ink.box, above, air) > 0) {
        afterAll = std::max(afterAll, ink.box.right);
      }
    });
    float const opens = to - (afterAll + kGap) >= kLeast * space ? afterAll : afterSigns;
    from = std::max(earliest, opens + kGap);
  }
  return {from, to};
}

bool GRTie::placeEnds(GRBowingContext& context, GRSystemStartEndStruct* sse, NVPoint start,
                      NVPoint end, std::pair<float, float> ends) {
  auto const [from, to] = ends;
  float const space = context.staff->getLineSpace();
  // An end cut back further than a quarter space from its head no longer joins it. A piece
  // going on to the next line cut back from the line's end ends at whatever note stands there
  // instead, as a tie into it.
  float const reach = kReach * space;
  bool const reaches = (context.openLeft || from <= start.x + reach) && to >= end.x - reach;
  // A tie left shorter than some 0.4 space would not read as one: it keeps its ends.
  if (to - from < kLeast * space) return true;
  if (from == start.x && to == end.x) return reaches;
  start.x = from;
  end.x = to;
  setAnchors(context, sse, start, end);
  automaticControlPoints(context, sse);
  return reaches;
}

bool GRTie::passLowBesideSigns(GRBowingContext& context, GRSystemStartEndStruct* sse) {
  GRBowingSaveStruct* save = saveOf(sse);
  float const space = context.staff->getLineSpace();
  float const reach = kReach * space;
  auto bendLow = [&](float bend) {
    save->offsets[1].y = save->offsets[0].y - static_cast<float>(context.curveDir) * bend * space;
  };
  for (float const bend : kLowBends) {
    automaticAnchorPoints(context, sse);
    automaticControlPoints(context, sse);
    NVPoint const start = save->position + save->offsets[0];
    NVPoint const end = save->position + save->offsets[2];
    bendLow(bend);
    std::pair<float, float> const ends = cutEnds(context, sse, false);
    if (ends.second < end.x - reach) continue;
    placeEnds(context, sse, start, end, ends);
    bendLow(bend);
    if (intrusion(context, sse) <= 0 && cutEnds(context, sse, false).second >= end.x - reach)
      return true;
  }
  placeOnSide(context, sse);
  return false;
}

float GRTie::mostRise(GRBowingContext const& context, GRSystemStartEndStruct const* sse) {
  // A tie stays by its heads: it rises a space and a half at the most, a long one (that passes
  // other notes) as far as a quarter of its length, up to three spaces.
  float const space = context.staff->getLineSpace();
  GRBowingSaveStruct const* save = saveOf(sse);
  float const length = save->offsets[2].x - save->offsets[0].x;
  return std::clamp(length / 4, 1.5f * space, 3 * space);
}
