#include "GRBeam.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "ARBeam.h"
#include "GREvent.h"
#include "GRGlobalStem.h"
#include "GRSimpleBeam.h"
#include "GRSingleNote.h"
#include "GRSingleRest.h"
#include "GRStaff.h"
#include "GRSystemSlice.h"
#include "GRSystemTag.h"
#include "NEPointerList.h"
#include "ScoreElementDesc.h"
#include "TagParameterFloat.h"
#include "VGDevice.h"
#include "VScoreSymbolMap.h"
#include "engine_globals.h"
#include "graphic_globals.h"
#include "signs_under_beams.h"
#include "src/common/assertion.h"

using SSE = GRSystemStartEndStruct;

namespace {

// The box of a beam's four corners.
NVRect CornersBox(NVPoint const* p) {
  return NVRect{
      std::min({p[0].x, p[1].x, p[2].x, p[3].x}), std::min({p[0].y, p[1].y, p[2].y, p[3].y}),
      std::max({p[0].x, p[1].x, p[2].x, p[3].x}), std::max({p[0].y, p[1].y, p[2].y, p[3].y})};
}

// A corner parameter counts when the text gave it.
bool IsSet(TagParameterFloat const* parameter) {
  return parameter && parameter->mState != TagParameter::NOTSET;
}

float Value(TagParameterFloat const* parameter, float lineSpace) {
  return parameter->getValue(lineSpace);
}

float HalfSpaces(float count, float lineSpace) {
  return TagParameterFloat::convertValue(count, "hs", lineSpace);
}

// Half spaces of an event of the given size: its size already holds its staff's scale, so the
// half space is that of a staff of the usual size.
float HalfSpacesAtSize(float count, float size) {
  return HalfSpaces(count, 50) * size;
}

// Each further beam level stands three quarters of a space further in from the stem's end than
// the one before, and is 0.4 spaces thick.
constexpr float kLevelStep = 0.75f;
constexpr float kLevelThickness = 0.4f;

// How far the beams over an event reach from its stem's end towards its head.
float BeamsDepth(GREvent const* event, float thickness, float levelSpace) {
  int const levels = std::max(1, event->getNumFaehnchen());
  return std::max(thickness, ((levels - 1) * kLevelStep + kLevelThickness) * levelSpace);
}

// The left and right edges of an event's head.
std::pair<float, float> HeadEdges(GREvent const* event) {
  auto const* note = dynamic_cast<GRSingleNote const*>(event);
  float const half = note ? 0.5f * note->getHeadWidth() * event->getSize() : 0;
  float const x = event->getPosition().x + event->getOffset().x;
  return {x - half, x + half};
}

// Every element of the piece, its last one included.
template <class F>
void ForEachInPiece(NEPointerList const* list, SSE const* sse, F f) {
  if (!list) return;
  for (void* pos = sse->startpos ? sse->startpos : list->GetHeadPosition(); pos;) {
    void* const here = pos;
    GRNotationElement* element = list->GetNext(pos);
    if (!f(element, pos)) return;
    if (here == sse->endpos) return;
  }
}

// How far a beam from a to b (its edge at the stems' ends) moves away from the heads, up over
// stems up and down under stems down, to keep the room from the signs and ledger lines of an
// event's notes under it that it keeps from their heads: the depth of its levels and a little
// air. 0 where it keeps it already.
float InksUnderNeed(GREvent const& event, NVPoint a, NVPoint b, GDirection dir, float room,
                    float staffY) {
  float const side = dir == dirDOWN ? -1.0f : 1.0f;
  float const dx = b.x - a.x;
  float need = 0;
  std::vector<NVRect> inks = SignInks(event);
  for (NVRect const& line : LedgerLineInks(event)) inks.push_back(line);
  for (NVRect const& sign : inks) {
    if (sign.right < std::min(a.x, b.x) || sign.left > std::max(a.x, b.x)) continue;
    float const edge = staffY + (dir == dirDOWN ? sign.bottom : sign.top);
    for (float const x :
         {std::max(sign.left, std::min(a.x, b.x)), std::min(sign.right, std::max(a.x, b.x))}) {
      float const beam = dx == 0 ? a.y : a.y + (b.y - a.y) / dx * (x - a.x);
      need = std::max(need, room - side * (edge - beam));
    }
  }
  return need;
}

GREvent* AsEvent(GRNotationElement* element) {
  return element && element->isGREventClass() ? static_cast<GREvent*>(element) : nullptr;
}

// Whether the stems of the piece's events all go one way: a beam between stems up and stems
// down stays between them, and moving it away from the signs of one side takes it off the stems
// of the other.
bool StemsOneWay(NEPointerList const* list, SSE const* sse) {
  bool up = false, down = false;
  ForEachInPiece(list, sse, [&](GRNotationElement* element, void*) {
    GREvent const* event = AsEvent(element);
    if (event && event->getStemDirection() == dirUP) up = true;
    if (event && event->getStemDirection() == dirDOWN) down = true;
    return true;
  });
  return !(up && down);
}

// Whether a note or chord of the piece on the system carries a stem the beam ends: a line that
// holds only rests under the beam has none.
bool HoldsNote(NEPointerList const* list, SSE const* sse, GRSystem const* system) {
  bool found = false;
  ForEachInPiece(list, sse, [&](GRNotationElement* element, void*) {
    GRStaff const* staff = element->getGRStaff();
    found = AsEvent(element) && !dynamic_cast<GRSingleRest*>(element) && staff &&
            staff->getGRSystem() == system;
    return !found;
  });
  return found;
}

// Where an element's staff stands in the system: elements stand at their x in the system
// already, so only the staff's height counts.
NVPoint StaffPos(GRNotationElement const* element) {
  GRStaff const* staff = element ? element->getGRStaff() : nullptr;
  return staff ? NVPoint{0, staff->getPosition().y} : NVPoint{};
}

}  // namespace

GRBeam::GRBeam(GRStaff* staff, ARBeam* ar) : GRPTagARNotationElement(ar) {
  setGRStaff(staff);
  addFirstStartEnd(staff);
}

GRBeam::GRBeamSaveStruct::GRBeamSaveStruct() = default;
GRBeam::GRBeamSaveStruct::~GRBeamSaveStruct() = default;

GRPositionTag::GRSaveStruct* GRBeam::getNewGRSaveStruct() {
  return new GRBeamSaveStruct;
}

GRBeam::~GRBeam() = default;

ARBeam const* GRBeam::getARBeam() const {
  return dynamic_cast<ARBeam const*>(getAbstractRepresentation());
}

GRBeam::GRBeamSaveStruct* GRBeam::saveOf(SSE const* sse) const {
  return sse ? static_cast<GRBeamSaveStruct*>(sse->p) : nullptr;
}

GDirection GRBeam::pieceDirection(SSE const* sse) const {
  // A piece that goes on from the line before starts at a glue: its notes tell the side.
  GDirection direction = dirUP;
  ForEachInPiece(getAssociations(), sse, [&](GRNotationElement* element, void*) {
    GREvent const* event = AsEvent(element);
    if (event) direction = event->getStemDirection();
    return !event;
  });
  return direction;
}

float GRBeam::levelSpace() const {
  return mGrStaff ? mGrStaff->getLineSpace() : 50;
}

void GRBeam::addAssociation(GRNotationElement* element) {
  if (error || !element || !element->getGRStaff()) return;
  GREvent* event = AsEvent(element);
  if (element->getDuration() == Frac_0 && !(event && event->getGlobalStem())) return;
  if (event && element->getDuration() == Frac_0) {
    // One stem for the notes of a chord: its first note stands for it.
    GREvent* last = getAssociations() && getAssociations()->GetCount()
                        ? AsEvent(getAssociations()->GetTail())
                        : nullptr;
    if (last && (!last->getGlobalStem() || last->getGlobalStem() == event->getGlobalStem())) return;
  }
  // A rest inside the beat stands under the beam, which goes on to the notes after it.
  if (auto* rest = dynamic_cast<GRSingleRest*>(element)) {
    mRestsUnder.push_back(rest);
    return;
  }
  if (event && event->getNumFaehnchen() > 0) {
    SSE* sse = getSystemStartEndStruct(element->getGRStaff()->getGRSystem());
    if (!sse) return;
    GRBeamSaveStruct* st = saveOf(sse);
    if (event->getStemDirSet()) {
      st->dirset = 1;
    } else if (event->getStemDirection() == dirUP) {
      ++st->direction;
    } else if (event->getStemDirection() == dirDOWN) {
      --st->direction;
    }
    GRPTagARNotationElement::addAssociation(element);
    event->setFlagOnOff(false);
    event->incBeamCount();
    return;
  }
  setError(element->getGRStaff(), 1);
}

void GRBeam::setError(GRStaff const*, int code) {
  GRTag::setError(code);
  NEPointerList* list = getAssociations();
  if (code && list) {
    for (void* pos = list->GetHeadPosition(); pos;)
      if (GREvent* event = AsEvent(list->GetNext(pos))) event->setFlagOnOff(true);
  }
  DeleteAllSSEs();
  if (list) FreeAssociatedList();
  mRestsUnder.clear();
}

void GRBeam::RangeEnd(GRStaff* staff) {
  MELVARIN_ASSERT(staff);
  GRPTagARNotationElement::RangeEnd(staff);
  NEPointerList* list = getAssociations();
  if (error || !list || list->GetCount() == 0) return;
  SSE* sse = getSystemStartEndStruct(staff->getGRSystem());
  MELVARIN_ASSERT(sse);
  GRBeamSaveStruct* st = saveOf(sse);

  // An automatic beam over one note is no beam: the note keeps its flag; its ends forget the
  // beam as the error lets go of everything.
  if (isAutoBeam() && list->GetCount() == 1) {
    if (GREvent* event = AsEvent(list->GetHead())) event->decBeamCount();
    setError(staff, 1);
    return;
  }

  int firstStaff = -1;
  ForEachInPiece(list, sse, [&](GRNotationElement* element, void*) {
    if (firstStaff < 0) {
      firstStaff = element->getStaffNumber();
    } else if (element->getStaffNumber() != firstStaff && tagType != SYSTEMTAG) {
      tagType = SYSTEMTAG;
      if (GRSystemSlice* slice = element->getGRSystemSlice())
        slice->addSystemTag(new GRSystemTag(this));
      return false;
    }
    return true;
  });

  if (st->dirset) {
    // A direction written for some of the notes holds for the beam's others: with stems both
    // ways on one staff, the beam would run through the heads of some.
    if (!betweenStaves()) followWrittenDirection(list, sse);
    return;
  }
  if (betweenStaves()) {
    // The notes of the upper staff reach down to the beam, those of the lower staves up.
    int upper = -1;
    ForEachInPiece(list, sse, [&](GRNotationElement* element, void*) {
      if (AsEvent(element) && (upper < 0 || element->getStaffNumber() < upper))
        upper = element->getStaffNumber();
      return true;
    });
    ForEachInPiece(list, sse, [&](GRNotationElement* element, void*) {
      if (GREvent* event = AsEvent(element)) {
        event->setStemDirection(element->getStaffNumber() == upper ? dirDOWN : dirUP);
        event->setFlagOnOff(false);
      }
      return true;
    });
    return;
  }
  GDirection common = dirOFF;
  bool first = true;
  ForEachInPiece(list, sse, [&](GRNotationElement* element, void*) {
    GREvent* event = AsEvent(element);
    if (!event) return true;
    if (first) {
      first = false;
      common = event->getStemDirection();
      if (common == dirOFF) common = st->direction >= 0 ? dirUP : dirDOWN;
    }
    event->setStemDirection(common);
    event->setFlagOnOff(false);
    return true;
  });
}

void GRBeam::followWrittenDirection(NEPointerList* list, SSE* sse) {
  GDirection written = dirOFF;
  bool agree = true;
  ForEachInPiece(list, sse, [&](GRNotationElement* element, void*) {
    GREvent const* event = AsEvent(element);
    if (!event || !event->getStemDirSet()) return true;
    GDirection const direction = event->getStemDirection();
    if (written == dirOFF) written = direction;
    agree = agree && direction == written;
    return true;
  });
  // Directions written both ways are the writer's: the beam keeps them.
  if (!agree || (written != dirUP && written != dirDOWN)) return;
  ForEachInPiece(list, sse, [&](GRNotationElement* element, void*) {
    GREvent* event = AsEvent(element);
    if (event && !event->getStemDirSet() && event->getStemDirection() != written) {
      event->setStemDirection(written);
      event->setFlagOnOff(false);
    }
    return true;
  });
}

void GRBeam::StaffBegin(GRStaff* staff) {
  MELVARIN_ASSERT(staff);
  GRPTagARNotationElement::StaffBegin(staff);
}

void GRBeam::StaffFinished(GRStaff*) {
  // The layout breaks a beam through BreakTag only.
  MELVARIN_ASSERT(false);
}

void GRBeam::ResumeTag(GRStaff* staff, void* pos) {
  if (staff) GRPTagARNotationElement::ResumeTag(staff, pos);
}

void GRBeam::BreakTag(GRStaff* staff, void*& pos) {
  if (staff) GRPTagARNotationElement::BreakTag(staff, pos);
}

void GRBeam::checkNotes(GRStaff* staff) {
  SSE* sse = getSystemStartEndStruct(staff->getGRSystem());
  if (!sse || !getAssociations()) return;
  bool allEvents = true;
  ForEachInPiece(getAssociations(), sse, [&](GRNotationElement* element, void*) {
    allEvents = allEvents && element->isGREventClass();
    return true;
  });
  if (!allEvents) setError(staff, 1);
}

void GRBeam::checkPosition(GRSystem const* system) {
  SSE* sse = getSystemStartEndStruct(system);
  MELVARIN_ASSERT(sse);
  if (!sse->endElement) return;
  isSystemCall = true;
  tellPosition(sse->endElement, sse->endElement->getPosition());
  isSystemCall = false;
}

void GRBeam::tellPosition(GObject* caller, NVPoint const&) {
  if (error || !getAssociations() || getAssociations()->GetCount() == 0) return;
  if (tagType == SYSTEMTAG && !isSystemCall) return;
  auto* element = dynamic_cast<GRNotationElement*>(caller);
  if (!element || !element->getGRStaff()) return;
  SSE* sse = getSystemStartEndStruct(element->getGRStaff()->getGRSystem());
  MELVARIN_ASSERT(sse);
  if (sse->endElement != element) return;
  GRBeamSaveStruct* st = saveOf(sse);
  st->simpleBeams.reset();
  st->holdsNote = HoldsNote(getAssociations(), sse, element->getGRStaff()->getGRSystem());
  if (!st->holdsNote) return;
  if (piecePlacedBetweenStaves(sse, st)) {
    placeBetweenStaves(sse, st);
  } else {
    placeCorners(sse, st);
    bool const adjust = limitSlope(sse, st);
    correctStems(sse, st, adjust);
  }
  // The levels count themselves on the notes: placed anew, they are taken off first.
  std::vector<std::pair<GREvent*, int>> counts;
  ForEachInPiece(getAssociations(), sse, [&](GRNotationElement* member, void*) {
    if (GREvent* event = AsEvent(member)) counts.emplace_back(event, event->getBeamCount());
    return true;
  });
  addLevels(sse, st);
  if (float const room = tagType != SYSTEMTAG ? roomForRests(sse, st) : 0; room != 0) {
    for (NVPoint& corner : st->p) corner.y += room;
    st->simpleBeams.reset();
    for (auto const& [event, count] : counts)
      while (event->getBeamCount() > count) event->decBeamCount();
    correctStems(sse, st, false);
    addLevels(sse, st);
  }
  if (tagType != SYSTEMTAG) clearRests(sse, st);
}

bool GRBeam::piecePlacedBetweenStaves(SSE const* sse, GRBeamSaveStruct const* st) const {
  return betweenStaves() && !st->dirset && AsEvent(sse->startElement) && AsEvent(sse->endElement);
}

bool GRBeam::placedByHand() const {
  ARBeam const* ar = getARBeam();
  if (!ar) return false;
  if (ar->isRazidSpecBeam()) return true;
  for (auto get : {&ARBeam::getDX1, &ARBeam::getDY1, &ARBeam::getDX2, &ARBeam::getDY2,
                   &ARBeam::getDX3, &ARBeam::getDY3, &ARBeam::getDX4, &ARBeam::getDY4})
    if (IsSet((ar->*get)())) return true;
  return false;
}

void GRBeam::placeBetweenStaves(SSE* sse, GRBeamSaveStruct* st) {
  GREvent* start = AsEvent(sse->startElement);
  GREvent* end = AsEvent(sse->endElement);
  GRStaff const* startStaff = start->getGRStaff();
  float const ls = startStaff ? startStaff->getLineSpace() : mGrStaff->getLineSpace();
  float const thickness = HalfSpacesAtSize(0.9f, start->getSize());
  float const shortest = 2.5f * ls;
  // From the edge where the first stem ends towards the further levels.
  float const side = start->getStemDirection() == dirDOWN ? -1.0f : 1.0f;

  struct Stem {
    GREvent* event;
    float x;
    float head;
  };
  std::vector<Stem> stems;
  ForEachInPiece(getAssociations(), sse, [&](GRNotationElement* element, void*) {
    if (GREvent* event = AsEvent(element)) {
      NVPoint const tip = event->getStemStartPos() + StaffPos(event);
      float const length = event->getStemLength();
      float const head = event->getStemDirection() == dirUP     ? tip.y + length
                         : event->getStemDirection() == dirDOWN ? tip.y - length
                                                                : tip.y;
      stems.push_back({event, tip.x, head});
    }
    return true;
  });
  if (stems.empty()) return;
  NVPoint* p = st->p;
  p[0].x = (start->getStemStartPos() + StaffPos(start)).x;
  p[2].x = (end->getStemEndPos() + StaffPos(end)).x;
  float const dx = p[2].x - p[0].x;
  // The beam follows the notes from the first to the last, no steeper than on one staff.
  float const slope =
      dx > 0 ? std::clamp((stems.back().head - stems.front().head) / dx, -0.1f, 0.1f) : 0;

  // Its middle keeps a stem's shortest length below the heads of the stems down and above those
  // of the stems up, halfway between the two where it can.
  bool down = false, up = false;
  float low = 0, high = 0;
  for (Stem const& stem : stems) {
    float const along = slope * (stem.x - p[0].x);
    GDirection const dir = stem.event->getStemDirection();
    if (dir == dirDOWN) {
      float const bound = stem.head + shortest - thickness / 2 - along;
      low = down ? std::max(low, bound) : bound;
      down = true;
    } else if (dir == dirUP) {
      float const bound = stem.head - shortest + thickness / 2 - along;
      high = up ? std::min(high, bound) : bound;
      up = true;
    }
  }
  float const middle = down && up ? (low + high) / 2 : down ? low : high;
  p[0].y = middle - side * thickness / 2;
  p[1] = NVPoint{p[0].x, p[0].y + side * thickness};
  p[2].y = p[0].y + slope * dx;
  p[3] = NVPoint{p[2].x, p[2].y + side * thickness};

  // Stems on the first stem's side end at the beam's near edge; the others cross it and the
  // further levels they carry.
  for (Stem const& stem : stems) {
    float edge = p[0].y + slope * (stem.x - p[0].x);
    bool const crossing = (stem.event->getStemDirection() == dirUP) != (side > 0);
    if (crossing) edge += side * BeamsDepth(stem.event, thickness, ls);
    stem.event->changeStemLength(std::max(0.0f, std::fabs(edge - stem.head)));
  }
}

void GRBeam::placeCorners(SSE* sse, GRBeamSaveStruct* st) {
  ARBeam const* ar = getARBeam();
  bool const explicitEnds = ar && ar->isRazidSpecBeam();
  auto given = [&](TagParameterFloat const* (ARBeam::*get)() const) {
    return ar && IsSet((ar->*get)()) ? (ar->*get)() : nullptr;
  };
  bool const system = tagType == SYSTEMTAG;
  GREvent* start = AsEvent(sse->startElement);
  GREvent* end = AsEvent(sse->endElement);
  NVPoint* p = st->p;
  GRStaff const* startStaff = sse->startElement->getGRStaff();
  float const ls = startStaff ? startStaff->getLineSpace() : mGrStaff->getLineSpace();
  // A piece that goes on from the line before starts at a glue: it takes its staff's scale.
  float size = ls / 50;
  GDirection dir = pieceDirection(sse);
  if (start) {
    p[0] = start->getStemStartPos();
    if (explicitEnds) p[0].y = start->getPosition().y;
    dir = start->getStemDirection();
    size = start->getSize();
  } else {
    p[0] = sse->startElement->getPosition();
  }
  if (system) p[0] += StaffPos(sse->startElement);
  p[1] = p[0];
  bool const single = start && start == end;
  if (auto* dx1 = given(&ARBeam::getDX1)) {
    p[0].x += Value(dx1, ls);
  } else if (single) {
    p[0].x -= HalfSpacesAtSize(2, size);
  }
  // Offsets count upwards from the stems' ends; where the text gives the stems' lengths instead,
  // the ends that are notes are placed from their heads below.
  if (auto* dy1 = given(&ARBeam::getDY1); dy1 && !(explicitEnds && start)) p[0].y -= Value(dy1, ls);
  if (auto* dx2 = given(&ARBeam::getDX2)) {
    p[1].x += Value(dx2, ls);
  } else if (single) {
    p[1].x -= HalfSpacesAtSize(2, size);
  }
  float const thickness = HalfSpacesAtSize(0.9f, size);
  if (auto* dy2 = given(&ARBeam::getDY2)) {
    p[1].y -= Value(dy2, ls);
  } else {
    p[1].y = dir == dirDOWN ? p[0].y - thickness : p[0].y + thickness;
  }

  if (end) {
    p[2] = end->getStemEndPos();
    if (explicitEnds) p[2].y = end->getPosition().y;
  } else {
    p[2] = sse->endElement->getPosition();
  }
  if (system) p[2] += StaffPos(sse->endElement);
  p[3] = p[2];
  float const endLs =
      sse->endElement->getGRStaff() ? sse->endElement->getGRStaff()->getLineSpace() : ls;
  if (auto* dx3 = given(&ARBeam::getDX3)) p[2].x += Value(dx3, endLs);
  if (!(explicitEnds && end)) {
    if (auto* dy3 = given(&ARBeam::getDY3)) {
      p[2].y -= Value(dy3, endLs);
    } else if (auto* dy1 = given(&ARBeam::getDY1)) {
      p[2].y -= Value(dy1, endLs);
    }
  }
  if (auto* dx4 = given(&ARBeam::getDX4)) p[3].x += Value(dx4, endLs);
  if (auto* dy4 = given(&ARBeam::getDY4)) {
    p[3].y -= Value(dy4, endLs);
  } else {
    p[3].y = dir == dirDOWN ? p[2].y - thickness : p[2].y + thickness;
  }

  if (explicitEnds) placeAtWrittenLengths(sse, st, thickness);
}

void GRBeam::placeAtWrittenLengths(SSE* sse, GRBeamSaveStruct* st, float thickness) {
  ARBeam const* ar = getARBeam();
  GREvent* start = AsEvent(sse->startElement);
  GREvent* end = AsEvent(sse->endElement);
  NVPoint* p = st->p;
  bool const system = tagType == SYSTEMTAG;
  GRStaff const* startStaff = sse->startElement->getGRStaff();
  GRStaff const* endStaff = sse->endElement->getGRStaff();
  float const ls = startStaff ? startStaff->getLineSpace() : mGrStaff->getLineSpace();
  float const endLs = endStaff ? endStaff->getLineSpace() : ls;
  // The automatic beams' shortest stem.
  float const shortest = 3.5f * endLs;
  GDirection const dir = start ? start->getStemDirection() : end ? end->getStemDirection() : dirUP;
  // Upwards from the heads to a beam over stems up, downwards to one under stems down.
  float const side = dir == dirDOWN ? -1.0f : 1.0f;
  // The head nearest the beam, and how far the stem runs on from it to the chord's far head.
  auto const head = [&](GREvent const* event) {
    float y = event->getPosition().y;
    if (GRGlobalStem const* chord = event->getGlobalStem())
      y = dir == dirDOWN ? chord->getHighestY() : chord->getLowestY();
    return y + (system ? StaffPos(event).y : 0);
  };
  auto const span = [](GREvent const* event) {
    GRGlobalStem const* chord = event->getGlobalStem();
    return chord ? chord->getHighestY() - chord->getLowestY() : 0;
  };
  // A beam nearer a head than half the head and the depth of the beams over it runs into it.
  auto const clear = [&](GREvent const* event) {
    return HalfSpacesAtSize(1, event->getSize()) + BeamsDepth(event, thickness, levelSpace());
  };
  // A written length that would take the beam into the head, or past it, gives way to the
  // automatic beams' shortest stem.
  auto const written = [&](GREvent const* event, TagParameterFloat const* length, float space) {
    float const value = length ? Value(length, space) : shortest;
    return value < clear(event) ? shortest : value;
  };
  TagParameterFloat const* dy1 = ar->getDY1();
  TagParameterFloat const* dy3 = IsSet(ar->getDY3()) ? ar->getDY3() : dy1;
  float startLength = start ? written(start, dy1, ls) : 0;
  float endLength = end ? written(end, dy3, endLs) : 0;
  auto const place = [&] {
    if (start) p[0].y = head(start) - side * startLength;
    if (end) p[2].y = head(end) - side * endLength;
    // A piece cut by a line break runs level from its notes to the break.
    if (!start) p[0].y = p[2].y;
    if (!end) p[2].y = p[0].y;
    p[1].y = p[0].y + side * thickness;
    p[3].y = p[2].y + side * thickness;
  };
  place();
  // A note whose head the beams would run into moves them away from the heads, until that note's
  // stem is the shortest. A sloping beam comes nearest the head at one of its edges.
  float const dx = p[2].x - p[0].x;
  auto const beamAt = [&](float x) {
    x = std::clamp(x, std::min(p[0].x, p[2].x), std::max(p[0].x, p[2].x));
    return dx == 0 ? p[0].y : p[0].y + (p[2].y - p[0].y) / dx * (x - p[0].x);
  };
  float need = 0;
  bool const oneWay = StemsOneWay(getAssociations(), sse);
  ForEachInPiece(getAssociations(), sse, [&](GRNotationElement* element, void*) {
    GREvent* event = AsEvent(element);
    if (!event || event->getStemDirection() != dir) return true;
    float const atStem = side * (head(event) - beamAt(event->getStemStartPos().x));
    auto const [left, right] = HeadEdges(event);
    float const nearest = std::min(
        {atStem, side * (head(event) - beamAt(left)), side * (head(event) - beamAt(right))});
    if (nearest < clear(event)) need = std::max({need, shortest - atStem, clear(event) - nearest});
    if (oneWay)
      need = std::max(need, InksUnderNeed(*event, p[0], p[2], dir,
                                          BeamsDepth(event, thickness, levelSpace()) + 0.25f * ls,
                                          system ? StaffPos(event).y : 0));
    return true;
  });
  if (need > 0) {
    startLength += need;
    endLength += need;
    place();
  }
  // The notes at the ends take their stems from the lengths the beam stands at; a chord's stem
  // reaches over all its heads.
  auto const setLength = [&](GREvent* event, float length) {
    auto* note = dynamic_cast<GRSingleNote*>(event);
    if (note && !note->getStemLengthSet()) note->setStemLength(length + span(note));
  };
  setLength(start, startLength);
  if (end != start) setLength(end, endLength);
}

bool GRBeam::limitSlope(SSE* sse, GRBeamSaveStruct* st) {
  ARBeam const* ar = getARBeam();
  GREvent* start = AsEvent(sse->startElement);
  GREvent* end = AsEvent(sse->endElement);
  NVPoint* p = st->p;
  if ((start && end && start->getStemLengthSet() && end->getStemLengthSet()) ||
      tagType == SYSTEMTAG || (ar && ar->isRazidSpecBeam()))
    return false;
  if (start && end) {
    GDirection const dir = start->getStemDirection();
    float const dx = p[2].x - p[0].x;
    if (end->getStemDirection() != dir || dx == 0) return true;
    float const slope = (p[2].y - p[0].y) / dx;
    auto moveStart = [&](float y) {
      p[1].y += y - p[0].y;
      p[0].y = y;
    };
    auto moveEnd = [&](float y) {
      p[3].y += y - p[2].y;
      p[2].y = y;
    };
    // The end moved is always the one whose move takes the beam away from the heads.
    if (slope > 0.1f) {
      if (dir == dirDOWN)
        moveStart(p[2].y - 0.1f * dx);
      else
        moveEnd(p[0].y + 0.1f * dx);
    } else if (slope < -0.1f) {
      if (dir == dirDOWN)
        moveEnd(p[0].y - 0.1f * dx);
      else
        moveStart(p[2].y + 0.1f * dx);
    }
  } else if (end) {
    p[0].y = p[2].y;
    p[1].y = p[3].y;
  } else {
    p[2].y = p[0].y;
    p[3].y = p[1].y;
  }
  return true;
}

void GRBeam::correctStems(SSE* sse, GRBeamSaveStruct* st, bool adjust) {
  GRStaff const* endStaff = sse->endElement->getGRStaff();
  float const ls = endStaff ? endStaff->getLineSpace() : mGrStaff->getLineSpace();
  float const m = 3.5f * ls;
  bool const system = tagType == SYSTEMTAG;
  NVPoint* p = st->p;
  GREvent* start = AsEvent(sse->startElement);
  GREvent* end = AsEvent(sse->endElement);
  float const thickness = HalfSpacesAtSize(0.9f, start ? start->getSize() : 1);
  bool const oneWay = StemsOneWay(getAssociations(), sse);
  for (int pass = 0; pass < 2; ++pass) {
    float need = 0;
    ForEachInPiece(getAssociations(), sse, [&](GRNotationElement* element, void*) {
      GREvent* event = AsEvent(element);
      if (!event) return true;
      NVPoint const stemStart = event->getStemStartPos();
      float const x = stemStart.x + (system ? StaffPos(event).x : 0);
      float const dx = p[2].x - p[0].x;
      float const y = dx == 0 ? p[0].y : p[0].y + (p[2].y - p[0].y) / dx * (x - p[0].x);
      GDirection const dir = event->getStemDirection();
      float head = stemStart.y;
      if (dir == dirUP) head += event->getStemLength();
      if (dir == dirDOWN) head -= event->getStemLength();
      float const d = y - head - (system ? StaffPos(event).y : 0);
      float shift = 0;
      bool wrongSide = false;
      if (dir == dirDOWN && d >= 0 && d < m) shift = d - m;
      if (dir == dirUP && d < 0 && d > -m) shift = m + d;
      if (dir == dirUP && d >= 0) shift = d + m, wrongSide = true;
      if (dir == dirDOWN && d < 0) shift = d - m, wrongSide = true;
      if (oneWay && (dir == dirUP || dir == dirDOWN)) {
        float const signs = InksUnderNeed(*event, p[0], p[2], dir,
                                          BeamsDepth(event, thickness, levelSpace()) + 0.25f * ls,
                                          system ? StaffPos(event).y : 0);
        shift = dir == dirUP ? std::max(shift, signs) : std::min(shift, -signs);
      }
      if (adjust && shift != 0) {
        if (need == 0 || (need > 0 && shift > need) || (need < 0 && shift < need)) {
          if (need != 0 && (need > 0) != (shift > 0)) {
            RidevUzuze("WARNING: different beam adjustments!");
          } else {
            need = shift;
          }
        } else if ((need > 0) != (shift > 0)) {
          RidevUzuze("WARNING: different beam adjustments!");
        }
      }
      event->changeStemLength(wrongSide ? m : std::fabs(d));
      return true;
    });
    bool const fixed = (start && start->getStemLengthSet()) || (end && end->getStemLengthSet());
    if (pass > 0 || need == 0 || fixed) return;
    for (NVPoint& corner : st->p) corner.y -= need;
  }
}

void GRBeam::addLevels(SSE* sse, GRBeamSaveStruct* st) {
  NEPointerList* list = getAssociations();
  GDirection dir = pieceDirection(sse);
  if (st->dirset)
    if (GREvent* first = AsEvent(list->GetHead())) dir = first->getStemDirection();
  float const ls = levelSpace();
  float const thick = kLevelThickness * dir * ls;
  NVPoint* p = st->p;
  float const slope = p[2].x != p[0].x ? (p[2].y - p[0].y) / (p[2].x - p[0].x) : 0;
  bool const system = tagType == SYSTEMTAG;
  NVPoint const startStaff = system ? StaffPos(sse->startElement) : NVPoint{};
  // Between staves the stems end on either side of the beam: the levels follow the main beam's
  // edge where the first stem ends.
  bool const between = piecePlacedBetweenStaves(sse, st);
  auto onBeam = [&](NVPoint at) {
    if (between) at.y = p[0].y + slope * (at.x - p[0].x);
    return at;
  };
  auto stemStart = [&](GREvent* e) {
    return onBeam(e->getStemStartPos() + (system ? StaffPos(e) : NVPoint{}));
  };
  auto stemEnd = [&](GREvent* e) {
    return onBeam(e->getStemEndPos() + (system ? StaffPos(e) : NVPoint{}));
  };
  std::vector<GREvent*> events;
  ForEachInPiece(list, sse, [&](GRNotationElement* element, void*) {
    if (GREvent* event = AsEvent(element)) events.push_back(event);
    return true;
  });
  GREvent* const firstOfPiece = events.empty() ? nullptr : events.front();
  GREvent* const lastOfPiece = events.empty() ? nullptr : events.back();

  // The levels running at the break into a piece that goes on from the line before: those of
  // the last event before it. Only they go on from the line's start; any other level starts at
  // its first event, as within a line.
  int levelsAtBreak = 0;
  bool const continued = sse->startflag == SSE::CONTINUES_FROM_LAST;
  if (continued && sse->startpos) {
    void* pos = sse->startpos;
    list->GetPrev(pos);
    while (pos) {
      if (GREvent* before = AsEvent(list->GetPrev(pos))) {
        levelsAtBreak = before->getNumFaehnchen();
        break;
      }
    }
  }

  for (;;) {
    std::vector<GREvent*> run;
    bool reachedEnd = false;
    int level = 0;
    ForEachInPiece(list, sse, [&](GRNotationElement* element, void*) {
      GREvent* event = AsEvent(element);
      if (!event) return true;
      bool const needs = event->getBeamCount() < event->getNumFaehnchen();
      if (run.empty()) {
        if (!needs) return true;
        level = event->getBeamCount();
      } else if (!needs) {
        return false;
      }
      event->incBeamCount();
      run.push_back(event);
      reachedEnd = event == lastOfPiece;
      return true;
    });
    if (run.empty()) break;

    NVPoint const offset{0, level * kLevelStep * dir * ls};
    NVPoint left, right;
    bool const broken = sse->endflag == SSE::CONTINUES_ON_NEXT;
    NVPoint const endAt =
        sse->endElement->getPosition() + (system ? StaffPos(sse->endElement) : NVPoint{});
    if (continued && run.front() == firstOfPiece && level < levelsAtBreak) {
      right = stemEnd(run.back()) + offset;
      if (run.size() > 1 && broken && reachedEnd) right.x = endAt.x;
      left = NVPoint{sse->startElement->getPosition().x + (system ? startStaff.x : 0), right.y};
    } else if (run.size() > 1) {
      left = stemStart(run.front()) + offset;
      right = stemEnd(run.back()) + offset;
      if (broken && reachedEnd) right = NVPoint{endAt.x, left.y};
    } else if (broken && reachedEnd) {
      // Only a level that reaches the piece's last event goes on into the next line; one that
      // ends before it over the line's end would read as the level of the notes it passes.
      left = stemEnd(run.front()) + offset;
      right = NVPoint{endAt.x, left.y};
    } else {
      GREvent* event = run.front();
      bool const pointsRight =
          event != lastOfPiece && (event->isSyncopated() || event == firstOfPiece);
      // A line space long, but at most half way to the stem it points to: reaching that stem
      // it would read as that note's level too.
      auto const at = std::find(events.begin(), events.end(), event);
      GREvent* const neighbour = pointsRight ? (at + 1 < events.end() ? *(at + 1) : nullptr)
                                             : (at > events.begin() ? *(at - 1) : nullptr);
      float length = ls;
      if (neighbour)
        length = std::min(length, 0.5f * std::fabs(stemStart(neighbour).x - stemStart(event).x));
      NVPoint const stub{length, slope * length};
      if (pointsRight) {
        left = stemStart(event) + offset;
        right = left + stub;
      } else {
        right = stemEnd(event) + offset;
        left = right - stub;
      }
    }
    NVPoint corners[4] = {left, left + NVPoint{0, thick}, right, right + NVPoint{0, thick}};
    if (system)
      for (NVPoint& corner : corners) corner -= startStaff;
    if (!st->simpleBeams) st->simpleBeams = std::make_unique<KF_IPointerList<GRSimpleBeam>>(1);
    st->simpleBeams->AddTail(new GRSimpleBeam(this, corners));
  }
  if (system)
    for (NVPoint& corner : st->p) corner -= startStaff;
}

GRBeam::GRBeamSaveStruct const* GRBeam::drawnPiece(GRSystem const* system) const {
  if (error) return nullptr;
  SSE const* sse = getSystemStartEndStruct(system);
  GRBeamSaveStruct const* st = sse ? saveOf(sse) : nullptr;
  if (!st || !st->holdsNote) return nullptr;
  // A piece not yet bound to a system is found on every one: it belongs where it ends.
  GRStaff const* staff = sse->endElement ? sse->endElement->getGRStaff() : nullptr;
  GRSystem const* ends = staff ? staff->getGRSystem() : nullptr;
  if (ends && ends != system) return nullptr;
  return st;
}

bool GRBeam::getPieceBox(GRSystem const* system, NVRect& box) const {
  GRBeamSaveStruct const* st = drawnPiece(system);
  if (!st) return false;
  box = CornersBox(st->p);
  return true;
}

void GRBeam::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  GRBeamSaveStruct const* st = drawnPiece(gCurSystem);
  if (!st) return;
  VGColor const colour = getColRef() ? VGColor(getColRef()) : VGColor(0, 0, 0, 255);
  device.PushFillColor(colour);
  device.PushPen(colour, 1.0f);
  NVPoint const* p = st->p;
  float const xs[] = {p[0].x, p[1].x, p[3].x, p[2].x};
  float const ys[] = {p[0].y, p[1].y, p[3].y, p[2].y};
  device.Polygon(xs, ys, 4);
  if (st->simpleBeams) {
    for (void* pos = st->simpleBeams->GetHeadPosition(); pos;)
      st->simpleBeams->GetNext(pos)->OnDraw(device, map);
  }
  device.PopPen();
  device.PopFillColor();

  ScoreElementDesc desc;
  desc.kind = 2;
  desc.subtype = 14;
  NVRect const box = CornersBox(p);
  desc.left = box.left;
  desc.top = box.top;
  desc.right = box.right;
  desc.bottom = box.bottom;
  desc.refX = mPosition.x;
  desc.refY = mPosition.y;
  map.AddElement(device, desc);
}
