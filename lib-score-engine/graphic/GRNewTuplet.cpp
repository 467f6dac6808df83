#include "GRNewTuplet.h"

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "ARCast.h"
#include "ARTuplet.h"
#include "GREvent.h"
#include "GRNoteDot.h"
#include "GRSingleNote.h"
#include "GRSingleRest.h"
#include "GRStaff.h"
#include "GRSystemSlice.h"
#include "NEPointerList.h"
#include "VGDevice.h"
#include "VGFont.h"
#include "engine_globals.h"
#include "graphic_globals.h"
#include "src/common/assertion.h"
#include "tuplet_ink.h"

using SSE = GRSystemStartEndStruct;
using Save = GRNewTuplet::GRNewTupletSaveStruct;

namespace {

constexpr float kOverhang = 32.5f;   // the bracket reaches this far beyond the outer notes
constexpr float kClearance = 62.5f;  // between the notes and the bracket
constexpr float kHook = 25;
constexpr float kPenWidth = 4;
constexpr float kNumberDrop = 50;  // the number's foot stands this far below the bracket
constexpr float kAir = 12.5f;      // at the least between the bracket or number and the notes' ink
// Below stems that go down the bracket ends this far right of the last stem's line: a stem's
// width and the 2.5 units by which it begins before the first stem.
constexpr float kPastLastStem = 6.5f;

GREvent* AsEvent(GRNotationElement* element) {
  return element && element->isGREventClass() ? static_cast<GREvent*>(element) : nullptr;
}

// How far an event reaches up and down: its box, and its stem, at whose tip a beam stands.
float StemTip(GRNotationElement const* e, GDirection direction, float outside) {
  auto const* event = e->isGREventClass() ? static_cast<GREvent const*>(e) : nullptr;
  if (!event || event->getStemDirection() != direction) return outside;
  float const tip = event->getStemStartPos().y;
  return direction == dirUP ? std::min(outside, tip) : std::max(outside, tip);
}
// A stem up counts one for a bracket above, a stem down one for a bracket below.
int StemVote(GREvent const* e) {
  return e->getStemDirection() == dirUP ? 1 : e->getStemDirection() == dirDOWN ? -1 : 0;
}
float Top(GRNotationElement const* e) {
  return StemTip(e, dirUP, e->getPosition().y + e->getBoundingBox().top);
}
float Bottom(GRNotationElement const* e) {
  return StemTip(e, dirDOWN, e->getPosition().y + e->getBoundingBox().bottom);
}

// The line through the outer notes' edges, bent over the farthest note in between (above: the
// highest; below: the lowest). left and right are the line's heights at the bracket's ends.
void BendOver(float& left, float& right, float x1, float x2, GRNotationElement const* obstacle,
              bool above) {
  if (!obstacle) return;
  float const ox = obstacle->getPosition().x;
  float const oy = above ? Top(obstacle) : Bottom(obstacle);
  auto beyond = [above](float a, float b) { return above ? a < b : a > b; };
  float const dx = x2 - x1;
  if (!beyond(left, oy) && !beyond(right, oy)) {
    left = right = oy;
  } else if (!beyond(right, oy)) {
    right = left + (oy - left) / (ox - x1) * dx;  // from the start through the obstacle
  } else {
    left = right - (right - oy) / (x2 - ox) * dx;  // from the end back through it
  }
}

// The line moved, as it slants, past the rests of the staff under it (above: over them; below:
// under them), of any voice: a rest another voice moved out of the notes' way may stand there.
// A rest beside the outer notes still reaches under the line's end with its glyph or its dots.
void ClearRests(GRStaff const* staff, float x1, float x2, float& left, float& right, bool above) {
  if (!staff) return;
  NEPointerList const& elements = staff->getElements();
  float shift = 0;
  for (void* pos = elements.GetHeadPosition(); pos;) {
    auto const* rest = ar_cast<GRSingleRest const>(elements.GetNext(pos));
    if (!rest) continue;
    float const x = rest->getPosition().x + rest->getOffset().x;
    float const from = std::max(x1, x - rest->getLeftSpace());
    float const to = std::min(x2, x + rest->getRightSpace());
    if (from > to) continue;
    float top, bottom;
    rest->getInkExtent(&top, &bottom);
    if (GRNoteDot const* dot = rest->getDot()) {
      NVRect const dots = dot->getBoundingBox() + dot->getPosition() + dot->getOffset();
      top = std::min(top, dots.top);
      bottom = std::max(bottom, dots.bottom);
    }
    for (float const at : {from, to}) {
      float const line = left + (right - left) * (at - x1) / (x2 - x1);
      shift = above ? std::max(shift, line - top) : std::max(shift, bottom - line);
    }
  }
  left += above ? -shift : shift;
  right += above ? -shift : shift;
}

// The number drawn: the numerator, with the denominator after a colon when it has one; none
// below 1.
std::string NumberOf(ARTuplet const* tuplet) {
  int const numerator = tuplet->getNumerator();
  if (numerator < 1) return {};
  int const denominator = tuplet->getDenominator();
  return denominator >= 1 ? std::to_string(numerator) + ":" + std::to_string(denominator)
                          : std::to_string(numerator);
}

// The width and height of the number as drawn, its white ground; none without a drawing device.
NVPoint ExtentOf(std::string const& number) {
  float width = 0, height = 0;
  if (!number.empty() && gGlobalSettings.gDevice && gFontDefs.text.font)
    gFontDefs.text.font->GetExtent(number.c_str(), static_cast<int>(number.size()), &width, &height,
                                   gGlobalSettings.gDevice);
  return NVPoint{width, height};
}

// How far each half of the bracket stays from the middle: room for the number.
float GapOf(std::string const& number) {
  return number.empty() ? 12.5f : (static_cast<float>(number.size()) + 0.5f) * 50 * 0.5f;
}

// The staves whose notes may stand beside a piece from start to end: its own, and at either end
// that of the slice before or after on the line, which holds the neighbours of a tuplet at the
// edge of its slice.
std::vector<GRStaff const*> StavesBeside(GREvent const* start, GREvent const* end) {
  std::vector<GRStaff const*> staves;
  auto take = [&staves](GRStaff const* staff) {
    if (staff && std::find(staves.begin(), staves.end(), staff) == staves.end())
      staves.push_back(staff);
  };
  auto neighbour = [](GRStaff const* staff, bool before) -> GRStaff const* {
    GRSystemSlice const* slice = staff ? staff->getGRSystemSlice() : nullptr;
    if (!slice) return nullptr;
    GRSystemSlice const* other = before ? slice->getPreviousOnLine() : slice->getNextOnLine();
    int const number = slice->getStaffNumber(staff);
    return other && number >= 0 ? other->getStaff(number) : nullptr;
  };
  take(neighbour(start->getGRStaff(), true));
  take(start->getGRStaff());
  take(end->getGRStaff());
  take(neighbour(end->getGRStaff(), false));
  return staves;
}

}  // namespace

GRNewTuplet::GRNewTuplet(GRStaff* staff, ARTuplet* ar) : GRPTagARNotationElement(ar), mTuplet(ar) {
  MELVARIN_ASSERT(ar);
  MELVARIN_ASSERT(staff);
  setGRStaff(staff);
  addFirstStartEnd(staff);
}

void GRNewTuplet::tellPosition(GObject* caller, NVPoint const& point) {
  auto* element = dynamic_cast<GRNotationElement*>(caller);
  if (!element || !element->getGRStaff()) return;
  // Without heights of its own the bracket stands clear of the notes, stems and beams on its
  // side; a format only says which hooks it has.
  if (!mTuplet->isDy1Set() && !mTuplet->isDy2Set()) {
    automaticPosition(element);
  } else {
    manualPosition(element, point);
  }
}

void GRNewTuplet::FinishPTag(GRStaff* staff) {
  if (!staff || mTuplet->isDy1Set() || mTuplet->isDy2Set()) return;
  SSE* sse = getSystemStartEndStruct(staff->getGRSystem());
  // The piece may end on the staff of a later slice of the system, which does not hold it.
  GRNotationElement* end = sse ? sse->endElement : nullptr;
  if (end) tellPosition(end, end->getPosition());
}

void GRNewTuplet::automaticPosition(GRNotationElement* element) {
  GRStaff* staff = element->getGRStaff();
  SSE* sse = getSystemStartEndStruct(staff->getGRSystem());
  if (!sse || !sse->p || element != sse->endElement) return;
  // A piece cut by a break spans the events of its own line; the glue it ends at is placed
  // after them.
  GREvent* start = firstEventOfPiece(sse);
  GREvent* end = lastEventOfPiece(sse);
  if (!start || !end) return;
  auto* save = static_cast<Save*>(sse->p);
  leftBrace = rightBrace = start->getBeamCount() < 1 || end->getBeamCount() < 1;
  if (mTuplet->isFormatSet()) {
    leftBrace = mTuplet->getLeftBrace();
    rightBrace = mTuplet->getRightBrace();
  }
  // A tuplet over one place has no bracket to place: the piece stays unplaced. A piece of a
  // longer tuplet still shows its number over the one note it has on its line.
  bool const broken =
      sse->startflag == SSE::CONTINUES_FROM_LAST || sse->endflag == SSE::CONTINUES_ON_NEXT;
  if (!broken && start->getPosition().x == end->getPosition().x) return;

  NEPointerList* list = getAssociations();
  const bool folds = foldsItsNotes();
  int stems = folds ? mStemVote : 0;
  for (void* pos = list && !folds ? list->GetHeadPosition() : nullptr; pos;) {
    GREvent* e = AsEvent(list->GetNext(pos));
    if (e) stems += StemVote(e);
  }
  bool const below = goesBelow(stems, staff);
  float const x1 = start->getPosition().x - kOverhang;
  float x2 = end->getPosition().x + kOverhang;
  // On the stems' side the bracket spans them: past the last head it would run on towards the
  // next note's stem.
  if (below && end->getStemDirection() == dirDOWN)
    x2 = std::max(x1 + 1, std::min(x2, end->getStemStartPos().x + kPastLastStem));
  float topLeft = Top(start), topRight = Top(end);
  float bottomLeft = Bottom(start), bottomRight = Bottom(end);
  GREvent const* topObstacle = nullptr;
  GREvent const* bottomObstacle = nullptr;
  // The obstacles are the notes of this piece only.
  bool const ownLine = folds || broken;
  void* const first = ownLine && sse->startpos ? sse->startpos
                      : list                   ? list->GetHeadPosition()
                                               : nullptr;
  for (void* pos = first; pos;) {
    void* const here = pos;
    GREvent* e = AsEvent(list->GetNext(pos));
    if (ownLine && here == sse->endpos) pos = nullptr;
    if (!e || e == start || e == end) continue;
    float const at = (e->getPosition().x - x1) / (x2 - x1);
    if (topLeft + (topRight - topLeft) * at > Top(e)) topObstacle = e;
    if (bottomLeft + (bottomRight - bottomLeft) * at < Bottom(e)) bottomObstacle = e;
  }
  BendOver(topLeft, topRight, x1, x2, topObstacle, true);
  BendOver(bottomLeft, bottomRight, x1, x2, bottomObstacle, false);
  ClearRests(start->getGRStaff(), x1, x2, topLeft, topRight, true);
  ClearRests(start->getGRStaff(), x1, x2, bottomLeft, bottomRight, false);
  if (end->getGRStaff() != start->getGRStaff()) {
    ClearRests(end->getGRStaff(), x1, x2, topLeft, topRight, true);
    ClearRests(end->getGRStaff(), x1, x2, bottomLeft, bottomRight, false);
  }

  float left, right;
  if (below) {
    float const h = staff->getDredgeSize();
    left = std::max(h, bottomLeft + kClearance);
    right = std::max(h, bottomRight + kClearance);
    direction = -1;
  } else {
    left = topLeft > 0 ? -kClearance : topLeft - kClearance;
    right = topRight > 0 ? -kClearance : topRight - kClearance;
    direction = 1;
  }
  save->p1 = NVPoint{x1, left};
  save->p2 = NVPoint{x2, right};
  save->textPos = NVPoint{(x1 + x2) / 2, (left + right) / 2 + kNumberDrop};
  save->placed = true;
  if (broken) roomForNumber(sse);

  // Placed by the outer notes and the farthest between, the bracket may still pass through signs,
  // ledger lines, beams or notes it bent past; it moves out until none reaches it.
  TupletInk ink;
  for (void* pos = first; pos;) {
    void* const here = pos;
    ink.add(AsEvent(list->GetNext(pos)));
    if (ownLine && here == sse->endpos) pos = nullptr;
  }
  float const air = kAir * staff->getLineSpace() / 50;
  float shift = ink.shiftClear(markOf(*save), air);
  // On a tight line the notes beside the tuplet come close: its ends draw in from their stems,
  // beams and signs, as far as to the outer heads, and where that is not enough it moves out.
  if (!broken) {
    TupletInk beside, brackets;
    float const reach = 4 * staff->getLineSpace();
    for (GRStaff const* on : StavesBeside(start, end)) {
      for (void* pos = on->getElements().GetHeadPosition(); pos;) {
        GRNotationElement const* neighbour = on->getElements().GetNext(pos);
        // A neighbouring tuplet's bracket as it stands so far; the later placed one draws in.
        if (auto const* other = dynamic_cast<GRNewTuplet const*>(neighbour);
            other && other != this) {
          NVRect const box = other->drawnBox(staff->getGRSystem());
          if (box.right > box.left && box.right > x1 - reach && box.left < x2 + reach)
            brackets.addBox(box);
          continue;
        }
        auto const* note = dynamic_cast<GRSingleNote const*>(neighbour);
        if (!note) continue;
        float const x = note->getPosition().x;
        if ((x < start->getPosition().x && x > x1 - reach) ||
            (x > end->getPosition().x && x < x2 + reach))
          beside.addBeside(note);
      }
    }
    TupletInk::Mark mark = markOf(*save);
    float const inset = kOverhang / 2;
    beside.trimEnds(mark, air, start->getPosition().x - inset, end->getPosition().x + inset);
    // Side by side, brackets only draw in: one out of the other's way would stand off its notes.
    brackets.trimEnds(mark, air, start->getPosition().x - inset, end->getPosition().x + inset);
    if (mark.p1.x != save->p1.x || mark.p2.x != save->p2.x) {
      save->p1 = mark.p1;
      save->p2 = mark.p2;
      save->textPos =
          NVPoint{(mark.p1.x + mark.p2.x) / 2, (mark.p1.y + mark.p2.y) / 2 + kNumberDrop};
      shift = ink.shiftClear(markOf(*save), air);
    }
    shift = std::max(shift, beside.shiftClear(markOf(*save), air));
  }
  save->p1.y -= direction * shift;
  save->p2.y -= direction * shift;
  save->textPos.y -= direction * shift;
}

TupletInk::Mark GRNewTuplet::markOf(Save const& save) const {
  TupletInk::Mark mark;
  mark.p1 = save.p1;
  mark.p2 = save.p2;
  mark.direction = direction;
  if (leftBrace || rightBrace) {
    mark.hook = kHook;
    mark.pen = kPenWidth;
  }
  if (NVPoint const number = ExtentOf(NumberOf(mTuplet)); number.x > 0)
    mark.number = NVRect{save.textPos.x - number.x / 2, save.textPos.y - number.y,
                         save.textPos.x + number.x / 2, save.textPos.y};
  return mark;
}

void GRNewTuplet::roomForNumber(SSE const* sse) const {
  auto* save = static_cast<Save*>(sse->p);
  float const needed = 2 * (GapOf(NumberOf(mTuplet)) + kHook);
  float missing = needed - (save->p2.x - save->p1.x);
  if (missing <= 0) return;
  // Towards the break first, as far as the line reaches there; the rest on the other side.
  if (sse->endflag == SSE::CONTINUES_ON_NEXT && sse->endElement) {
    float const reach = std::clamp(sse->endElement->getPosition().x - save->p2.x, 0.0f, missing);
    save->p2.x += reach;
    save->p1.x -= missing - reach;
  } else if (sse->startflag == SSE::CONTINUES_FROM_LAST && sse->startElement) {
    float const reach = std::clamp(save->p1.x - sse->startElement->getPosition().x, 0.0f, missing);
    save->p1.x -= reach;
    save->p2.x += missing - reach;
  } else {
    save->p1.x -= missing / 2;
    save->p2.x += missing / 2;
  }
  save->textPos.x = (save->p1.x + save->p2.x) / 2;
}

void GRNewTuplet::addAssociation(GRNotationElement* element) {
  GRPTagARNotationElement::addAssociation(element);
  if (element && element->getGRStaff()) element->getGRStaff()->keepRoomFor(this);
}

NVRect GRNewTuplet::roomBeside(GRStaff const* staff) const {
  NEPointerList* list = getAssociations();
  if (!list || mTuplet->isDy1Set() || mTuplet->isDy2Set()) return {};
  // The side the stems choose, and the farthest reach of the staff's notes on it; the bracket
  // stands clear of them, the number hangs from it.
  int stems = 0;
  float top = 0, bottom = 0;
  bool any = false;
  const bool folds = foldsItsNotes();
  if (folds) {
    stems = mStemVote;
    auto const found = mExtents.find(staff);
    any = found != mExtents.end();
    if (any) {
      top = found->second.top;
      bottom = found->second.bottom;
    }
  }
  for (void* pos = folds ? nullptr : list->GetHeadPosition(); pos;) {
    GREvent const* e = AsEvent(list->GetNext(pos));
    if (!e) continue;
    stems += StemVote(e);
    if (e->getGRStaff() != staff) continue;
    top = any ? std::min(top, Top(e)) : Top(e);
    bottom = any ? std::max(bottom, Bottom(e)) : Bottom(e);
    any = true;
  }
  if (!any) return {};
  float const y = goesBelow(stems, staff) ? std::max(staff->getDredgeSize(), bottom + kClearance)
                                          : std::min(-kClearance, top - kClearance);
  return NVRect{0, y - kHook, staff->getLineSpace(), y + kNumberDrop};
}

float GRNewTuplet::reachUnderBetween(Fraction const& from, Fraction const& to,
                                     GRStaff const* staff) const {
  constexpr float none = -std::numeric_limits<float>::infinity();
  NEPointerList const* list = getAssociations();
  if (!staff || !list || list->GetCount() == 0 || mTuplet->isDy1Set() || mTuplet->isDy2Set())
    return none;
  if (to < list->GetHead()->getRelativeTimePosition() ||
      list->GetTail()->getRelativeEndTimePosition() < from)
    return none;
  // The room kept beside the notes, or the bracket where it was placed last, whichever is lower.
  NVRect const room = roomBeside(staff);
  if (room.bottom <= room.top || room.top < 0) return none;
  NVRect const placed = drawnBox(staff->getGRSystem());
  return placed.bottom > placed.top && placed.top >= 0 ? std::max(room.bottom, placed.bottom)
                                                       : room.bottom;
}

bool GRNewTuplet::goesBelow(int stems, GRStaff const* staff) const {
  NEPointerList const* list = getAssociations();
  if (stems >= 0 || !list || list->GetCount() == 0) return stems < 0;
  GRNotationElement const* first = list->GetHead();
  GRNotationElement const* last = list->GetTail();
  Fraction const& from = first->getRelativeTimePosition();
  // A mark at the note after the last one stands under the bracket's right hook.
  Fraction const& to = last->getRelativeEndTimePosition();
  // The notes may stand on the staves of several slices; the marks stand on those of their
  // dates, at the ends of the tuplet or under the staff asked about.
  for (GRStaff const* on : {staff, static_cast<GRStaff const*>(first->getGRStaff()),
                            static_cast<GRStaff const*>(last->getGRStaff())}) {
    if (!on) continue;
    if (on->isSharedByVoices()) return true;
    if (on->holdsMarksUnderBetween(from, to)) return false;
  }
  return true;
}

bool GRNewTuplet::foldsItsNotes() const {
  NEPointerList const* list = getAssociations();
  if (!list || list->GetCount() <= kMeasuredAgainUpTo) {
    mNoteFold.forget();
    return false;
  }
  mNoteFold.update(
      *list,
      [this] {
        mStemVote = 0;
        mExtents.clear();
      },
      [this](GRNotationElement* element) {
        GREvent const* e = AsEvent(element);
        if (!e) return;
        mStemVote += StemVote(e);
        auto at = mExtents.try_emplace(e->getGRStaff(), Extent{Top(e), Bottom(e)}).first;
        at->second.top = std::min(at->second.top, Top(e));
        at->second.bottom = std::max(at->second.bottom, Bottom(e));
      });
  return true;
}

void GRNewTuplet::manualPosition(GRNotationElement* element, NVPoint const& point) {
  SSE* sse = getSystemStartEndStruct(element->getGRStaff()->getGRSystem());
  if (!sse || !sse->p) return;
  auto* save = static_cast<Save*>(sse->p);
  float d1 = 62.5f, d2 = 62.5f;
  if (mTuplet->isDy1Set()) {
    d1 = mTuplet->getDy1();
    d2 = mTuplet->getDy2();
  } else if (mTuplet->isDy2Set()) {
    d1 = mTuplet->getDy1();
    d2 = mTuplet->getDy2();
  }
  if (d1 > 0 || d2 > 0 || (!mTuplet->isDy1Set() && !mTuplet->isDy2Set())) direction = 1;
  // The piece is placed when its end tells where it stands, by then its events stand too. Cut
  // by a break, it reaches from the first to the last event of its own line.
  if (element == sse->endElement || (!sse->endElement && element == sse->startElement)) {
    GREvent* first = firstEventOfPiece(sse);
    GREvent* last = lastEventOfPiece(sse);
    if (first) save->p1 = NVPoint{first->getPosition().x - kOverhang, first->getPosition().y - d1};
    if (last) save->p2 = NVPoint{last->getPosition().x + kOverhang, last->getPosition().y - d2};
    if (sse->startElement && sse->endElement && first && last) {
      save->textPos = NVPoint{(save->p1.x + save->p2.x) / 2, std::max(save->p1.y, save->p2.y)};
      if (sse->startflag == SSE::CONTINUES_FROM_LAST || sse->endflag == SSE::CONTINUES_ON_NEXT)
        roomForNumber(sse);
    } else {
      save->textPos = point;
    }
    save->placed = true;
  }
  leftBrace = mTuplet->getLeftBrace();
  rightBrace = mTuplet->getRightBrace();
}

NVRect GRNewTuplet::drawnBox(GRSystem const* system) const {
  SSE const* sse = getSystemStartEndStruct(system);
  auto const* save = sse ? static_cast<Save const*>(sse->p) : nullptr;
  if (!save || !save->placed) return {};
  NVRect box;
  if (NVPoint const number = ExtentOf(NumberOf(mTuplet)); number.x > 0) {
    // Centred on its place, standing on it.
    box = NVRect{save->textPos.x - number.x / 2, save->textPos.y - number.y,
                 save->textPos.x + number.x / 2, save->textPos.y};
  }
  if (leftBrace || rightBrace) {
    float const high = std::min(save->p1.y, save->p2.y);
    float const low = std::max(save->p1.y, save->p2.y);
    // The hooks point towards the notes.
    float const hook = direction * kHook;
    box.Merge(NVRect{save->p1.x - kPenWidth / 2, std::min(high, high + hook) - kPenWidth / 2,
                     save->p2.x + kPenWidth / 2, std::max(low, low + hook) + kPenWidth / 2});
  }
  return box;
}

GRNewTuplet::Parts GRNewTuplet::drawnParts(GRSystem const* system) const {
  SSE const* sse = getSystemStartEndStruct(system);
  auto const* save = sse ? static_cast<Save const*>(sse->p) : nullptr;
  Parts parts;
  if (!save || !save->placed) return parts;
  if (NVPoint const number = ExtentOf(NumberOf(mTuplet)); number.x > 0)
    parts.number = NVRect{save->textPos.x - number.x / 2, save->textPos.y - number.y,
                          save->textPos.x + number.x / 2, save->textPos.y};
  if (leftBrace || rightBrace) {
    float const hook = direction * kHook;
    parts.bracket = true;
    parts.left = save->p1;
    parts.right = save->p2;
    parts.top = std::min(0.f, hook) - kPenWidth / 2;
    parts.bottom = std::max(0.f, hook) + kPenWidth / 2;
  }
  return parts;
}

void GRNewTuplet::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  MELVARIN_ASSERT(gCurSystem);
  SSE* sse = getSystemStartEndStruct(gCurSystem);
  if (!sse || !sse->p) return;
  auto const* save = static_cast<Save const*>(sse->p);
  if (!save->placed) return;

  std::string const number = NumberOf(mTuplet);
  float const gap = GapOf(number);
  if (!number.empty()) {
    device.SetTextFont(gFontDefs.text.font);
    VGColor const background = device.GetFontBackgroundColor();
    device.SetFontBackgroundColor(VGColor(255, 255, 255, 255));
    device.SetFontAlign(10);  // centred, on the bottom
    device.DrawString(save->textPos.x, save->textPos.y, number.c_str(),
                      static_cast<int>(number.size()));
    device.SetFontBackgroundColor(background);
  }

  if (!leftBrace && !rightBrace) return;
  NVPoint const& p1 = save->p1;
  NVPoint const& p2 = save->p2;
  NVPoint const m{(p1.x + p2.x) / 2, (p1.y + p2.y) / 2};
  float const slope = (p2.y - p1.y) / (p2.x - p1.x);
  device.PushPen(VGColor(0, 0, 0, 255), kPenWidth);
  if (sse->startflag == SSE::BEGINS_HERE) device.Line(p1.x, p1.y + direction * kHook, p1.x, p1.y);
  device.Line(p1.x, p1.y, m.x - gap, m.y - gap * slope);
  device.Line(m.x + gap, m.y + slope * gap, p2.x, p2.y);
  // The last piece closes the tuplet, also one the music ends in before the tuplet does.
  if (sse->endflag == SSE::ENDS_HERE || sse == mStartEndList.GetTail())
    device.Line(p2.x, p2.y, p2.x, p2.y + direction * kHook);
  device.PopPen();
}
