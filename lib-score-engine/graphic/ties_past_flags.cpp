#include "ties_past_flags.h"

#include <algorithm>

#include "ARCast.h"
#include "GRFlag.h"
#include "GRSingleNote.h"
#include "GRSpring.h"
#include "GRSpringCollider.h"
#include "GRStaff.h"

namespace {

// The gap a tie keeps from a head or flag at each end, on a staff of line space 50.
constexpr float kGap = 7.5f;
// The shortest tie that still reads as one, in spaces.
constexpr float kLeast = 0.4f;

// Whether the note begins a tie where its voice shares the staff, with a flag drawn beside its
// head (a beam, drawn instead, turns the flag off).
bool FlagBesideTiedHead(GRNotationElement const* element) {
  auto const* note = ar_cast<GRSingleNote const>(element);
  if (!note || !note->beginsTie() || note->isGrace()) return false;
  GRStaff const* staff = note->getGRStaff();
  GRFlag const* flag = note->getFlag();
  return staff && staff->isSharedByVoices() && note->getStemDirection() == dirUP && flag &&
         flag->isDrawnUp();
}

}  // namespace

float TiesPastFlags(GRSpring const& before, GRSpring const& after) {
  // A tie over a bar line has the bar's room and more.
  if (after.containsBar()) return 0;
  float distance = 0;
  before.forEachElementOfVoice([&](GRNotationElement const* mine, GRVoice const*) {
    if (!FlagBesideTiedHead(mine)) return;
    int const staff = staffNumberOf(mine);
    float const space = mine->getGRStaff()->getLineSpace();
    float const scale = space / 50;
    float left = 0;
    after.forEachElementOfVoice([&](GRNotationElement const* theirs, GRVoice const*) {
      if (staffNumberOf(theirs) == staff) left = std::max(left, theirs->getLeftSpace());
    });
    distance = std::max(distance, mine->getRightSpace() + 2 * kGap * scale + kLeast * space + left);
  });
  return distance;
}
