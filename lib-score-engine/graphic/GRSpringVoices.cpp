// Two voices on one staff at one time. A head a second away from a head of the other voice
// stands beside it, the note whose stem goes up on the right, so that neither stem crosses a
// head; so does a head in unison with one of another kind, which one shared head would misread. A rest of the voice with stems up moves up, and of the voice with stems down moves down,
// step by step until it clears what the other voices hold there: their heads and their stems.

#include <algorithm>
#include <cmath>
#include <vector>

#include "ARCast.h"
#include "GRGlobalStem.h"
#include "GRNoteDot.h"
#include "GRSingleNote.h"
#include "GRSingleRest.h"
#include "GRStdNoteHead.h"
#include "GRSpring.h"

namespace {

// A rest keeps this much of a line space from the other voices.
constexpr float kClearance = 0.25f;
// A rest moves at most this many steps: far enough past any head of the staff.
constexpr int kMostRestSteps = 40;

struct VoiceEvent {
  GRNotationElement* element;
  GRVoice const* voice;
  GRSingleNote* note;  // with a head
  GRSingleRest* rest;
  bool chord;  // the note shares its stem with others: it stays where its chord puts it
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

// Of two notes of different voices a second apart, the one to stand on the right: the one whose
// stem goes up, else the later one.
GRSingleNote* RightOfTwo(GRSingleNote* first, GRSingleNote* second) {
  GDirection const a = first->getStemDirection(), b = second->getStemDirection();
  if (a == dirUP && b != dirUP) return first;
  return second;
}

// Whether two notes at one pitch can show one head: a hollow, a filled and a whole head, or a
// dotted and a plain one, each read a length of their own.
bool ShareOneHead(GRSingleNote const* a, GRSingleNote const* b) {
  return a->getNoteHead()->getSymbol() == b->getNoteHead()->getSymbol() &&
         GRNoteDot::DurationToDotCount(a->getDurTemplate()) ==
             GRNoteDot::DurationToDotCount(b->getDurTemplate());
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
      if (steps >= 2 || (steps == 0 && ShareOneHead(a, b))) continue;
      GRSingleNote* right = RightOfTwo(a, b);
      GRSingleNote* left = right == a ? b : a;
      if (left->getBesideShift() > 0) continue;  // already beside another head
      float const shift = left->getHeadWidth() * left->getSize();
      right->standBeside(shift);
      left->keepDotsBeside(shift);
    }
  }
}

bool Overlaps(Extent const& a, Extent const& b, float gap) {
  return a.top < b.bottom + gap && a.bottom > b.top - gap;
}

// Whether any rest moved.
bool MoveRestsApart(std::vector<VoiceEvent> const& events) {
  bool movedAny = false;
  for (int round = 0; round < kMostRestSteps; ++round) {
    std::vector<GRSingleRest*> moving;
    for (VoiceEvent const& event : events) {
      GRSingleRest* rest = event.rest;
      if (!rest || rest->isPlacedByScore()) continue;
      GDirection const side = rest->getVoiceStem();
      if (side != dirUP && side != dirDOWN) continue;
      float const gap = kClearance * rest->getLineSpace();
      Extent const own = ExtentOf(event);
      bool const blocked = std::any_of(events.begin(), events.end(), [&](VoiceEvent const& other) {
        return other.voice != event.voice && Overlaps(own, ExtentOf(other), gap);
      });
      if (blocked) moving.push_back(rest);
    }
    if (moving.empty()) break;
    // Rests of both voices in each other's way move apart together.
    for (GRSingleRest* rest : moving) {
      float const step = rest->verticalStep();
      rest->moveVertically(rest->getVoiceStem() == dirUP ? -step : step);
    }
    movedAny = true;
  }
  return movedAny;
}

}  // namespace

void GRSpring::checkVoiceCollisions() {
  std::vector<VoiceEvent> events;
  void* voicePos = mVoices.GetHeadPosition();
  for (void* pos = mElements.GetHeadPosition(); pos;) {
    GRNotationElement* element = mElements.GetNext(pos);
    GRVoice const* voice = voicePos ? mVoices.GetNext(voicePos) : nullptr;
    if (!element->getGRStaff()) continue;
    auto* note = ar_cast<GRSingleNote>(element);
    if (note && !note->getNoteHead()) note = nullptr;
    // The notes of a chord share one stem: they stay together, and a rest keeps clear of them.
    bool const chord = note && note->getGlobalStem();
    auto* rest = ar_cast<GRSingleRest>(element);
    if (note || rest) events.push_back({element, voice, note, rest, chord});
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
    moved = MoveRestsApart(staff) || moved;
  }
  if (moved) refreshCollider();
}
