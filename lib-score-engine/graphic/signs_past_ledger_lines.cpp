#include "signs_past_ledger_lines.h"

#include <algorithm>

#include "ARCast.h"
#include "GRAccidental.h"
#include "GRSingleNote.h"
#include "GRSpring.h"
#include "notes_on_one_staff.h"

namespace {

// How far the ink of a sign reaches above and below its note's middle, and half the height of
// a ledger line, on a staff of line space 50: a flat's stem reaches higher than a sharp's.
constexpr float kSignAbove = 100;
constexpr float kSignBelow = 75;
constexpr float kLineHalfHeight = 2;

}  // namespace

float SignsPastLedgerLines(GRSingleNote const& before, GRSingleNote const& after) {
  if (before.getNumHelplines() == 0 || !OnOneStaff(before, after)) return 0;
  KF_IPointerList<GRAccidental> signs(0);
  after.extractAccidentals(&signs);
  if (signs.GetCount() == 0) return 0;
  const float y = after.getPosition().y;
  const float size = after.getSize();
  float top = 0, bottom = 0;
  bool any = false;
  for (void* pos = signs.GetHeadPosition(); pos;) {
    const float sign = y + signs.GetNext(pos)->getOffset().y;
    top = any ? std::min(top, sign - kSignAbove * size) : sign - kSignAbove * size;
    bottom = any ? std::max(bottom, sign + kSignBelow * size) : sign + kSignBelow * size;
    any = true;
  }
  GRSingleNote::LedgerLines const lines = before.ledgerLines();
  for (int n = 0; n < lines.count; ++n) {
    const float height = lines.first + n * lines.step;
    if (height + kLineHalfHeight > top && height - kLineHalfHeight < bottom)
      return before.ledgerLinesReach(true) + after.getLeftSpace();
  }
  return 0;
}

float SignsPastLedgerLines(GRSpring const& before, GRSpring const& after) {
  float distance = 0;
  KF_IPointerList<GRNotationElement> const& mine = before.getElements();
  KF_IPointerList<GRNotationElement> const& theirs = after.getElements();
  for (void* pos = mine.GetHeadPosition(); pos;) {
    auto const* note = ar_cast<GRSingleNote const>(mine.GetNext(pos));
    if (!note || note->getNumHelplines() == 0) continue;
    for (void* at = theirs.GetHeadPosition(); at;)
      if (auto const* next = ar_cast<GRSingleNote const>(theirs.GetNext(at)))
        distance = std::max(distance, SignsPastLedgerLines(*note, *next));
  }
  return distance;
}
