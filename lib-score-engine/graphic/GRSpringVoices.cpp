// Two voices on one staff at one time. A head a second away from a head of the other voice
// stands beside it, the note whose stem goes up on the right, so that neither stem crosses a
// head; so does a head in unison with one of another kind or without a stem, which one shared
// head would misread, and, where the voices cross, a head that the other voice's stem would run
// through. The dots of the left head stand between the two.
// A rest of the voice with stems up moves up, and of the voice with stems down moves down, step
// by step until it clears what the other voices hold there: their heads and their stems. A rest
// of a voice whose stems are left to the engine moves away from the other voices' notes.

#include <algorithm>
#include <cmath>
#include <vector>

#include "ARCast.h"
#include "ARNote.h"
#include "GRGlobalStem.h"
#include "GRNoteDot.h"
#include "GRSingleNote.h"
#include "GRSingleRest.h"
#include "GRSpring.h"
#include "GRStdNoteHead.h"

namespace {

// A rest keeps this much of a line space from the other voices.
constexpr float kClearance = 0.25f;
// The dots of a head beside another voice's keep this much of a line space from that head: a
// quarter space of air past the ink of the dot, which reaches a little past the dot's box.
constexpr float kDotsAir = 0.35f;
// A rest moves at most this many steps: far enough past any head of the staff.
constexpr int kMostRestSteps = 40;

struct VoiceEvent {
  GRNotationElement* element;
  GRVoice const* voice;
  GRSingleNote* note;  // with a head
  GRSingleRest* rest;
  bool chord;    // the note shares its stem with others: it stays where its chord puts it
  bool movable;  // a rest that moves out of the other voices' way here
};

struct Extent {
  float top, bottom;
};

Extent ExtentOf(VoiceEvent const& event) {
  if (event.rest) {
    Extent extent{};
    event.rest->getInkExtent(&extent.top, &extent.bottom);
    return extent;
  }
  // A head is a line space high at size 1; its stem reaches on from it, up or down.
  GRSingleNote const* note = event.note;
  float const y = note->getPosition().y + note->getOffset().y;
  float const half = 25 * note->getSize();
  Extent extent{y - half, y + half};
  GRGlobalStem const* shared = note->getGlobalStem();
  GDirection const direction = note->getStemDirection();
  if ((direction == dirUP || direction == dirDOWN) && (shared || note->getStem())) {
    float const end = shared ? shared->getStemStartPos().y : note->getStemStartPos().y;
    extent.top = std::min(extent.top, end);
    extent.bottom = std::max(extent.bottom, end);
  }
  return extent;
}

bool IsWritten(GDirection direction) {
  return direction == dirUP || direction == dirDOWN;
}

// Of two notes of different voices a second apart, the one to stand on the right: the one whose
// stem goes up, else the later one.
GRSingleNote* RightOfTwo(GRSingleNote* first, GRSingleNote* second) {
  GDirection const a = first->getStemDirection(), b = second->getStemDirection();
  if (a == dirUP && b != dirUP) return first;
  return second;
}

bool SamePitch(GRSingleNote const* a, GRSingleNote const* b) {
  ARNote const* first = a->getARNote();
  ARNote const* second = b->getARNote();
  if (!first || !second) return true;
  return first->getPitch() == second->getPitch() && first->getOctave() == second->getOctave() &&
         first->getAccidentals() == second->getAccidentals();
}

// Whether two notes at one pitch can show one head: a hollow, a filled and a whole head, or a
// dotted and a plain one, each read a length of their own. A shared head shows each voice by its
// stem; a whole note's or a breve's has none, and one head would read as one note.
// Nor can two notes of different pitches on one step, an a flat and an a natural: one head
// would show one pitch, the other voice's sound lost or its sign read for both.
bool ShareOneHead(GRSingleNote const* a, GRSingleNote const* b) {
  constexpr unsigned int kWholeHead = 119, kBreveHead = 87;
  if (!SamePitch(a, b)) return false;
  unsigned int const symbol = a->getNoteHead()->getSymbol();
  if (symbol == kWholeHead || symbol == kBreveHead) return false;
  return symbol == b->getNoteHead()->getSymbol() &&
         GRNoteDot::DurationToDotCount(a->getDurTemplate()) ==
             GRNoteDot::DurationToDotCount(b->getDurTemplate());
}

// Whether, the voices crossing, the stem of one of two notes runs through the other's head: a
// head on a stem reads as one more note of a chord, holding the stem's length.
bool StemCrossesHead(VoiceEvent const& a, VoiceEvent const& b) {
  GDirection const first = a.note->getStemDirection(), second = b.note->getStemDirection();
  if (!IsWritten(first) || !IsWritten(second) || first == second) return false;
  VoiceEvent const& up = first == dirUP ? a : b;
  VoiceEvent const& down = first == dirUP ? b : a;
  float const upY = up.note->getPosition().y, downY = down.note->getPosition().y;
  if (upY <= downY) return false;
  Extent const upReach = ExtentOf(up), downReach = ExtentOf(down);
  return upReach.top < downY || downReach.bottom > upY;
}

void PlaceHeadsBeside(std::vector<VoiceEvent> const& events) {
  for (size_t i = 0; i < events.size(); ++i) {
    GRSingleNote* a = events[i].note;
    if (!a || events[i].chord) continue;
    for (size_t j = i + 1; j < events.size(); ++j) {
      GRSingleNote* b = events[j].note;
      if (!b || events[j].chord || events[j].voice == events[i].voice) continue;
      int const steps =
          GObject::StaffStepsApart(a->getPosition().y, b->getPosition().y, a->getLineSpace());
      if (steps == 0 ? ShareOneHead(a, b) : steps >= 2 && !StemCrossesHead(events[i], events[j]))
        continue;
      GRSingleNote* right = RightOfTwo(a, b);
      GRSingleNote* left = right == a ? b : a;
      if (left->getBesideShift() > 0) continue;  // already beside another head
      // A whole note's head is wider than the others: the two heads touch edge to edge at
      // most. The dots of the left head stand between the two heads: after both, they would read
      // as the right head's.
      GRStdNoteHead const* leftHead = left->getNoteHead();
      GRStdNoteHead const* rightHead = right->getNoteHead();
      float const dots = left->dotsReach();
      // On one step at two pitches, the right head's signs stand between the two heads, clear
      // of the left head and its dots. At one pitch a sign before both holds for both.
      bool const signsBetween = steps == 0 && !SamePitch(a, b) && right->signsWidth() > 0;
      float const signs = signsBetween ? right->signsWidth() + 10 * left->getSize() : 0;
      float shift = leftHead->getRightSpace() + signs + rightHead->getLeftSpace();
      if (dots > 0) {
        float const headLeft = -rightHead->getBoundingBox().left * right->getSize();
        shift = std::max(shift, dots + kDotsAir * left->getLineSpace() + signs + headLeft);
      }
      if (signsBetween) right->keepSignsAtHead();
      right->standBeside(shift);
      left->keepDotsBeside(dots > 0 ? 0 : shift);
    }
  }
}

// Of two notes of two voices a step apart, the upper one in a space and the lower on the line under
// it, the lower note's dot would stand in that space, in the upper head's row: beside that head or
// the upper note's own dot it reads as the upper note's. The lower note's dot stands in the space
// under its line instead. The notes of a chord keep their dots, which stand in the spaces of their
// own chord.
void KeepDotsApart(std::vector<VoiceEvent> const& events) {
  for (VoiceEvent const& lowerEvent : events) {
    GRSingleNote* lower = lowerEvent.note;
    GRNoteDot* lowerDot = lower && !lowerEvent.chord ? lower->getDot() : nullptr;
    if (!lowerDot) continue;
    float const space = lower->getLineSpace();
    float const lowerY = lower->getPosition().y;
    if (!GObject::positionIsOnStaffLine(lowerY, space)) continue;
    // Moved already, for a head of a third voice.
    if (lowerDot->getOffset().y > lower->getOffset().y) continue;
    float const dotY = lowerY + lowerDot->getOffset().y;
    bool const upperInTheDotsRow =
        std::any_of(events.begin(), events.end(), [&](VoiceEvent const& upperEvent) {
          GRSingleNote const* upper = upperEvent.note;
          if (!upper || upperEvent.voice == lowerEvent.voice) return false;
          float const upperY = upper->getPosition().y;
          return upperY < lowerY && GObject::StaffStepsApart(upperY, lowerY, space) == 1 &&
                 std::fabs(upperY - dotY) < 0.5f * space;
        });
    if (upperInTheDotsRow) lowerDot->setOffset(lowerDot->getOffset() + NVPoint{0, 0.8f * space});
  }
}

bool Overlaps(Extent const& a, Extent const& b, float gap) {
  return a.top < b.bottom + gap && a.bottom > b.top - gap;
}

// Whether the rest of event moves out of other's way: a rest of a voice whose stems were written
// keeps clear of all the other voices hold; one of a voice with automatic stems keeps clear of
// their notes, and may stand on a rest of theirs as one rest of both.
bool Blocks(VoiceEvent const& event, VoiceEvent const& other) {
  if (other.voice == event.voice) return false;
  if (!other.note && !IsWritten(event.rest->getVoiceStem())) return false;
  float const gap = kClearance * event.rest->getLineSpace();
  return Overlaps(ExtentOf(event), ExtentOf(other), gap);
}

// The way a rest moves out of the other voices' way: that of its voice's stems where they were
// written; else away from the notes of the other voices, up where they reach further down than
// the rest and down where they reach further up. Facing only rests, or notes centred on it, the
// rest of the voice that comes first on the staff goes up.
GDirection SideOf(VoiceEvent const& event, std::vector<VoiceEvent> const& events) {
  GDirection const written = event.rest->getVoiceStem();
  if (IsWritten(written)) return written;
  bool anyNote = false;
  Extent others{0, 0};
  for (VoiceEvent const& other : events) {
    if (other.voice == event.voice || !other.note) continue;
    Extent const extent = ExtentOf(other);
    others = anyNote
                 ? Extent{std::min(others.top, extent.top), std::max(others.bottom, extent.bottom)}
                 : extent;
    anyNote = true;
  }
  Extent const own = ExtentOf(event);
  float const apart = (others.top + others.bottom) - (own.top + own.bottom);
  if (anyNote && apart != 0) return apart > 0 ? dirUP : dirDOWN;
  auto const first = std::find_if(events.begin(), events.end(),
                                  [](VoiceEvent const& any) { return any.voice != nullptr; });
  return first == events.end() || first->voice == event.voice ? dirUP : dirDOWN;
}

// Moves the rests that may move until they clear what the other voices hold; whether any moved.
bool MoveRestsApart(std::vector<VoiceEvent> const& events) {
  std::vector<std::pair<GRSingleRest*, GDirection>> sides;
  for (VoiceEvent const& event : events)
    if (event.rest && event.movable && !event.rest->isPlacedByScore())
      sides.emplace_back(event.rest, SideOf(event, events));
  bool movedAny = false;
  for (int round = 0; round < kMostRestSteps; ++round) {
    std::vector<std::pair<GRSingleRest*, GDirection>> moving;
    for (VoiceEvent const& event : events) {
      auto const side = std::find_if(sides.begin(), sides.end(),
                                     [&](auto const& entry) { return entry.first == event.rest; });
      if (side == sides.end()) continue;
      if (std::any_of(events.begin(), events.end(),
                      [&](VoiceEvent const& other) { return Blocks(event, other); }))
        moving.push_back(*side);
    }
    if (moving.empty()) break;
    // Rests of both voices in each other's way move apart together.
    // A line space at a time, as engravers move rests: the rest keeps to the lines as it stood.
    for (auto const& [rest, side] : moving) {
      float const step = rest->getLineSpace();
      rest->moveVertically(side == dirUP ? -step : step);
      rest->setSideOfVoices(side);
    }
    movedAny = true;
  }
  return movedAny;
}

VoiceEvent EventOf(GRNotationElement* element, GRVoice const* voice) {
  auto* note = ar_cast<GRSingleNote>(element);
  if (note && !note->getNoteHead()) note = nullptr;
  // The notes of a chord share one stem: they stay together, and a rest keeps clear of them.
  bool const chord = note && note->getGlobalStem();
  auto* rest = ar_cast<GRSingleRest>(element);
  // A rest filling its bar stands in the bar's middle, not at this spring's place: it keeps
  // clear of the whole bar (keepBarRestsClear).
  bool const movable = rest && !rest->getFillsBar();
  return {element, voice, note, rest, chord, movable};
}

}  // namespace

void GRSpring::checkVoiceCollisions() {
  std::vector<VoiceEvent> events;
  void* voicePos = mVoices.GetHeadPosition();
  for (void* pos = mElements.GetHeadPosition(); pos;) {
    GRNotationElement* element = mElements.GetNext(pos);
    GRVoice const* voice = voicePos ? mVoices.GetNext(voicePos) : nullptr;
    if (!element->getGRStaff()) continue;
    VoiceEvent const event = EventOf(element, voice);
    if (event.note || event.rest) events.push_back(event);
  }
  bool moved = false;
  // Staff by staff, each only where more than one voice stands on it.
  std::vector<VoiceEvent> staff;
  for (size_t first = 0; first < events.size(); ++first) {
    GRStaff const* const at = events[first].element->getGRStaff();
    bool seen = false;
    for (size_t before = 0; before < first && !seen; ++before)
      seen = events[before].element->getGRStaff() == at;
    if (seen) continue;
    staff.clear();
    for (size_t i = first; i < events.size(); ++i)
      if (events[i].element->getGRStaff() == at) staff.push_back(events[i]);
    bool const voices = std::any_of(staff.begin(), staff.end(), [&](VoiceEvent const& event) {
      return event.voice != staff.front().voice;
    });
    if (!voices) continue;
    PlaceHeadsBeside(staff);
    KeepDotsApart(staff);
    moved = MoveRestsApart(staff) || moved;
  }
  if (moved) refreshCollider();
}

void GRSpring::keepBarRestsClear(KF_IVector<GRSpring> const& springs, int end) {
  bool moved = false;
  void* voicePos = mVoices.GetHeadPosition();
  for (void* pos = mElements.GetHeadPosition(); pos;) {
    GRNotationElement* element = mElements.GetNext(pos);
    GRVoice const* voice = voicePos ? mVoices.GetNext(voicePos) : nullptr;
    auto* rest = ar_cast<GRSingleRest>(element);
    GRStaff const* staff = element->getGRStaff();
    if (!rest || !rest->getFillsBar() || !staff || rest->isPlacedByScore()) continue;
    std::vector<VoiceEvent> events{EventOf(element, voice)};
    events.front().movable = true;
    Fraction const barEnd = rest->getRelativeTimePosition() + rest->getDuration();
    for (int id = mID; id >= 0 && id < end; ++id) {
      GRSpring const* spring = springs.Get(id);
      if (!spring) continue;
      if (!(spring->getTimePosition() < barEnd)) break;
      void* otherVoice = spring->mVoices.GetHeadPosition();
      for (void* at = spring->mElements.GetHeadPosition(); at;) {
        GRNotationElement* other = spring->mElements.GetNext(at);
        GRVoice const* owner = otherVoice ? spring->mVoices.GetNext(otherVoice) : nullptr;
        if (other == element || owner == voice || other->getGRStaff() != staff) continue;
        VoiceEvent event = EventOf(other, owner);
        event.movable = false;
        if (event.note || event.rest) events.push_back(event);
      }
    }
    moved = MoveRestsApart(events) || moved;
  }
  if (moved) refreshCollider();
}
