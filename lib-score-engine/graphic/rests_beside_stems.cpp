#include "rests_beside_stems.h"

#include <algorithm>
#include <limits>

#include "ARCast.h"
#include "GRGlobalStem.h"
#include "GRSingleNote.h"
#include "GRSingleRest.h"
#include "GRSpring.h"
#include "GRSpringCollider.h"

namespace {

// The air between a rest and a stem, and a stem's width, on a staff of line space 50.
constexpr float kAir = 10;
constexpr float kStemWidth = 5;

// A note's stem on the side the rest stands: how far its far side reaches from the note's
// middle, and the heights it runs between. A beamed stem grows on towards its beam once the
// line is spaced: it is taken to run on without end.
bool StemToward(GRSingleNote const& note, bool restAfter, float* reach, float* top, float* bottom) {
  GDirection const direction = note.getStemDirection();
  GRGlobalStem const* shared = note.getGlobalStem();
  if (direction != (restAfter ? dirUP : dirDOWN) || (!shared && !note.getStem())) return false;
  NVPoint const start = shared ? shared->getStemStartPos() : note.getStemStartPos();
  float const x = note.getPosition().x;
  float const y = note.getPosition().y;
  *reach = restAfter ? start.x + kStemWidth * note.getSize() - x : x - start.x;
  float const endless = std::numeric_limits<float>::max();
  bool const beamed = note.getBeamCount() > 0;
  *top = restAfter ? (beamed ? -endless : std::min(y, start.y)) : y;
  *bottom = restAfter ? y : (beamed ? endless : std::max(y, start.y));
  return true;
}

float Apart(GRNotationElement const* a, GRNotationElement const* b) {
  auto const* rest = ar_cast<GRSingleRest const>(b);
  auto const* note = ar_cast<GRSingleNote const>(a);
  bool const restAfter = rest && note;
  if (!restAfter) {
    rest = ar_cast<GRSingleRest const>(a);
    note = ar_cast<GRSingleNote const>(b);
  }
  if (!rest || !note || !note->getNoteHead() || staffNumberOf(rest) != staffNumberOf(note))
    return 0;
  float reach = 0, top = 0, bottom = 0;
  if (!StemToward(*note, restAfter, &reach, &top, &bottom)) return 0;
  float inkTop = 0, inkBottom = 0;
  rest->getInkExtent(&inkTop, &inkBottom);
  if (inkBottom <= top || inkTop >= bottom) return 0;
  float const air = kAir * std::max(note->getSize(), rest->getSize());
  return reach + air + (restAfter ? rest->getLeftSpace() : rest->getRightSpace());
}

}  // namespace

float RestsBesideStems(GRSpring const& before, GRSpring const& after) {
  float distance = 0;
  before.forEachElementOfVoice([&](GRNotationElement const* mine, GRVoice const* voice) {
    if (!voice) return;
    after.forEachElementOfVoice([&](GRNotationElement const* theirs, GRVoice const* other) {
      if (other == voice) distance = std::max(distance, Apart(mine, theirs));
    });
  });
  return distance;
}
