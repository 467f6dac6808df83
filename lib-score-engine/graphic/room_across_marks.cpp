#include "room_across_marks.h"

#include <algorithm>

#include "GRSpring.h"
#include "ledger_lines_past_stems.h"
#include "rests_beside_stems.h"
#include "signs_past_ledger_lines.h"
#include "ties_past_flags.h"
#include "ties_past_signs.h"

namespace {

// Marks stand on at most this many springs in a row between two events.
constexpr int kMostMarkSprings = 8;

bool OnlyMarks(GRSpring const* spring) {
  return spring && !spring->holdsEvent() && !spring->containsBar();
}

}  // namespace

float RoomBetween(GRSpring const& before, GRSpring const& after) {
  return std::max({before.GetMaxDistance(&after), SignsPastLedgerLines(before, after),
                   LedgerLinesPastStems(before, after), RestsBesideStems(before, after),
                   TiesPastSigns(before, after), TiesPastFlags(before, after)});
}

float RoomAcrossSliceStart(KF_IVector<GRSpring> const& springs, int startid, int endid) {
  GRSpring const* before = startid > 0 ? springs.Get(startid - 1) : nullptr;
  // A bar line closing the slice before reaches over the whole staff: the signs of a chord
  // opening the measure behind a dynamic would stand on it.
  if (!before || !(before->holdsEvent() || before->containsBar())) return 0;
  // The first event of the slice, the room the slice's springs up to it keep.
  int next = startid;
  float kept = 0;
  while (OnlyMarks(springs.Get(next)) && next + 1 < endid && next < startid + kMostMarkSprings) {
    kept += RoomBetween(*springs.Get(next), *springs.Get(next + 1));
    ++next;
  }
  GRSpring const* after = springs.Get(next);
  if (next == startid || !after || !after->holdsEvent()) return 0;
  return RoomBetween(*before, *after) - kept;
}
