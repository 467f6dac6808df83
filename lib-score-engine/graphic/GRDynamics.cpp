#include "GRDynamics.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "ARCast.h"
#include "ARDynamics.h"
#include "GREmpty.h"
#include "GREvent.h"
#include "GRIntens.h"
#include "GRSpring.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "NEPointerList.h"
#include "VGColor.h"
#include "graphic_globals.h"
#include "music_ink.h"
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
// The air a wedge keeps beside ink at its ends, in line spaces.
constexpr float kInkAir = 0.25f;
// Wider than the letters of any dynamic mark.
constexpr float kWidestMark = 500;

int StaffNumberOf(GRNotationElement const* element) {
  GRStaff const* staff = element->getGRStaff();
  GRSystemSlice const* slice = staff ? staff->getGRSystemSlice() : nullptr;
  return slice ? slice->getStaffNumber(staff) : -1;
}

// Where an element of a staff line begins across it: a dynamic mark where its letters do.
float LeftOf(GRNotationElement const* element) {
  if (auto const* mark = ar_cast<GRIntens const>(element)) return mark->letters().left;
  return element->getPosition().x + element->getBoundingBox().left;
}

// Whether the element stands on the staff line: on that line's staff of its own slice. Asked of
// every element of every voice on the springs a wedge crosses, so it looks the staff up by its
// number instead of looking for the number among the slice's staves.
bool OnStaffLine(GRNotationElement const* element, int line) {
  GRStaff const* staff = element->getGRStaff();
  GRSystemSlice const* slice = staff ? staff->getGRSystemSlice() : nullptr;
  return slice && slice->getStaff(line) == staff;
}

// Calls visit(element) for each element on the staff line of `on` (of any voice) whose spring
// is `from` or a later one, spring after spring, for as long as visit returns true. Position
// tags and placeholders stand nowhere and are left out.
template <class Visit>
void WalkStaffLine(GRNotationElement const* on, int from, Visit&& visit) {
  GRStaff const* staff = on->getGRStaff();
  GRSystem const* system = staff ? staff->getGRSystem() : nullptr;
  KF_IVector<GRSpring> const* springs = system ? system->getSprings() : nullptr;
  int const line = StaffNumberOf(on);
  if (!springs || line < 0 || from < 0) return;
  for (int id = std::max(from, springs->GetMinimum()); id <= springs->GetMaximum(); ++id) {
    GRSpring const* spring = system->getGRSpring(id);
    if (!spring) continue;
    for (void* pos = spring->getFirstGROPosition(); pos;) {
      GRNotationElement const* next = spring->getNextGRO(pos);
      // The other staves' elements, most of a spring's under many staves, are passed over first.
      if (!OnStaffLine(next, line) || ar_cast<GRPositionTag const>(next) ||
          ar_cast<GREmpty const>(next))
        continue;
      if (!visit(next)) return;
    }
  }
}

// Where the next thing on the element's staff line begins, of any voice: a note or rest, a bar
// line, a clef, a dynamic mark, the line's end. None while the element has no spring on the
// line.
std::optional<float> NextOnStaffLine(GRNotationElement const* element) {
  int const id = element->getSpringID();
  if (id < 0) return std::nullopt;
  std::optional<float> left;
  int spring = -1;
  WalkStaffLine(element, id + 1, [&](GRNotationElement const* next) {
    if (left && next->getSpringID() != spring) return false;
    float const x = LeftOf(next);
    left = left ? std::min(*left, x) : x;
    spring = next->getSpringID();
    return true;
  });
  return left;
}

// Whether the spring holds an element of the date.
bool HoldsDate(GRSpring const* spring, Fraction const& date) {
  for (void* pos = spring ? spring->getFirstGROPosition() : nullptr; pos;)
    if (spring->getNextGRO(pos)->getRelativeTimePosition() == date) return true;
  return false;
}

// The first spring of the element's date, where tags written before it (a bar line, a dynamic
// mark) stand on springs of their own, or an earlier one near enough to x for the letters of a
// mark under an earlier note to reach past it.
int FirstSpringFrom(GRNotationElement const* element, float x) {
  GRStaff const* staff = element->getGRStaff();
  GRSystem const* system = staff ? staff->getGRSystem() : nullptr;
  int id = element->getSpringID();
  if (!system || id < 0) return id;
  while (HoldsDate(system->getGRSpring(id - 1), element->getRelativeTimePosition())) --id;
  for (GRSpring const* before = system->getGRSpring(id - 1);
       before && before->getX() + kWidestMark > x; before = system->getGRSpring(id - 1))
    --id;
  return id;
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
  return place(staff, nullptr, nullptr);
}

void GRDynamics::standClearOf(MusicInk const& ink, GRStaff const* staff, MoveDown const& down) {
  if (!error && staff && getSystemStartEndStruct(staff->getGRSystem())) place(staff, &ink, &down);
}

int GRDynamics::place(GRStaff const* staff, MusicInk const* ink, MoveDown const* down) {
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
  // The staves the notes stand on, each once.
  std::vector<GRStaff const*> staves;
  for (void* pos = startPos; pos;) {
    void* const here = pos;
    last = list->GetNext(pos);
    y = above ? std::min(y, Reach(last, above)) : std::max(y, Reach(last, above));
    if (last->getGRStaff() && (staves.empty() || staves.back() != last->getGRStaff()))
      staves.push_back(last->getGRStaff());
    if (here == sse->endpos) break;
  }
  // Below the tuplet brackets kept under the notes.
  for (GRStaff const* on : above ? std::vector<GRStaff const*>{} : staves)
    y = std::max(y, on->bracketsReachUnderBetween(first->getRelativeTimePosition(),
                                                  last->getRelativeEndTimePosition()));
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
  } else {
    // Ending at its last note, the wedge runs on towards what follows it, and is never so
    // short that it reads as an accent.
    if (std::optional<float> const next = NextOnStaffLine(last))
      save->length = std::max(save->length, *next - kRunOnGap * lineSpace - save->point.x);
    save->length = std::max(save->length, kShortestWedge * lineSpace);
  }
  // The boxes of its own notes leave out the stems of their chords, the beams, slurs and ledger
  // lines, and the other voices' notes: the wedge stands beyond all of them, and below the texts
  // written under the staff. The legs' pen reaches past the ends, and the ink beside them
  // keeps some air from it.
  float const beside = 0.5f * kPenWidth + kInkAir * lineSpace;
  auto standBeyondInk = [&] {
    float const left = save->point.x - beside;
    float const right = save->point.x + save->length + beside;
    float const reach = !ink    ? MusicInk::kNone
                        : above ? ink->highestOver(left, right)
                                : ink->lowestUnder(left, right);
    if (std::isfinite(reach))
      save->point.y = above ? std::min(save->point.y, Clear(reach, above))
                            : std::max(save->point.y, Clear(reach, above));
    if (down && !above)
      save->point.y += (*down)(NVRect{left, save->point.y - save->upperOpening, right,
                                      save->point.y + save->lowerOpening});
  };
  standBeyondInk();
  float const checkedLeft = save->point.x;
  float const checkedRight = save->point.x + save->length;
  bool const endsHere = sse->endflag != SSE::CONTINUES_ON_NEXT || !sse->endElement;
  keepClearOfMarks(first, *save, endsHere ? kShortestWedge * lineSpace : 0, lineSpace);
  // Moved on past a mark's letters and kept at its shortest, the wedge may now reach under notes
  // after its own, whose stems and heads it must pass beyond too.
  if (save->length > 0 &&
      (save->point.x < checkedLeft || save->point.x + save->length > checkedRight))
    standBeyondInk();
  return 1;
}

void GRDynamics::keepClearOfMarks(GRNotationElement const* first, GRDynamicsSaveStruct& piece,
                                  float shortest, float lineSpace) {
  float const gap = kRunOnGap * lineSpace;
  // Only letters at the wedge's height are in its way.
  auto inTheWay = [&](NVRect const& letters) {
    return letters.right > letters.left && letters.top < piece.point.y + piece.lowerOpening + gap &&
           piece.point.y - piece.upperOpening - gap < letters.bottom;
  };
  float left = piece.point.x;
  float right = piece.point.x + piece.length;
  Fraction const& begins = first->getRelativeTimePosition();
  // A mark at the first note of the piece stands before it, also where the wedge runs on from
  // the line before, and one under an earlier note may reach past that note: the piece starts
  // after their letters, no shorter than before. The first mark after them ends it.
  std::optional<float> next;
  WalkStaffLine(first, FirstSpringFrom(first, left), [&](GRNotationElement const* element) {
    auto const* mark = ar_cast<GRIntens const>(element);
    NVRect const letters = mark ? mark->letters() : NVRect{};
    if (!mark || !inTheWay(letters)) return element->getPosition().x < right + gap;
    bool const before = mark->getRelativeTimePosition() < begins;
    if (mark->getRelativeTimePosition() == begins || (before && letters.right + gap > left)) {
      left = std::max(left, letters.right + gap);
      right = std::max(right, left + shortest);
      return true;
    }
    if (before) return true;
    // A later mark ends the piece, also one that stands right after the letters the piece
    // starts after: with no room left, the piece is left out rather than drawn through it.
    next = letters.left;
    return false;
  });
  if (next) right = std::min(right, *next - gap);
  piece.point.x = left;
  // Between two marks with no room for it the wedge has no length, and draws nothing.
  piece.length = std::max(0.0f, right - left);
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
  // at the height of its lowest (highest) note, or below the brackets kept under them.
  float reach = reachOfNotesSoFar(above);
  if (!above)
    reach = std::max(
        reach, staff->bracketsReachUnderBetween(list->GetHead()->getRelativeTimePosition(),
                                                list->GetTail()->getRelativeEndTimePosition()));
  float const y = Clear(reach, above);
  // The width stands in for the wedge's length, which comes with the springs.
  float const opening = 0.5f * staff->getLineSpace();
  return NVRect{0, y - opening, 2 * opening, y + opening};
}

bool GRDynamics::standsUnderBetween(Fraction const& from, Fraction const& to) const {
  NEPointerList const* list = getAssociations();
  if (error || !list || list->GetCount() == 0 || mStartEndList.GetCount() == 0) return false;
  auto const* first = static_cast<Save const*>(mStartEndList.GetHead()->p);
  if (first && first->placement == 1) return false;
  return list->GetHead()->getRelativeTimePosition() <= to &&
         from < list->GetTail()->getRelativeEndTimePosition();
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
