#include "ledger_lines_past_stems.h"

#include <algorithm>
#include <limits>

#include "ARCast.h"
#include "GRGlobalStem.h"
#include "GRSingleNote.h"
#include "GRSpring.h"
#include "notes_on_one_staff.h"

namespace {

// The air between a ledger line and a stem, and a stem's width, on a staff of line space 50.
constexpr float kAir = 10;
constexpr float kStemWidth = 5;

// A stem of a note: how far its far side stands from the note's middle, towards the side it
// stands on (right for a stem up, left for one down), and the heights it runs between.
struct Stem {
  bool up;
  float reach;
  float top, bottom;
};

bool StemOf(GRSingleNote const& note, Stem* stem) {
  GDirection const direction = note.getStemDirection();
  GRGlobalStem const* shared = note.getGlobalStem();
  if ((direction != dirUP && direction != dirDOWN) || (!shared && !note.getStem())) return false;
  NVPoint const start = shared ? shared->getStemStartPos() : note.getStemStartPos();
  float const x = note.getPosition().x;
  float const y = note.getPosition().y;
  stem->up = direction == dirUP;
  stem->reach = stem->up ? start.x + kStemWidth * note.getSize() - x : x - start.x;
  stem->top = std::min(y, start.y);
  stem->bottom = std::max(y, start.y);
  return true;
}

// Whether a ledger line of the note runs at a height the stem passes.
bool LinesMeet(GRSingleNote const& note, Stem const& stem) {
  GRSingleNote::LedgerLines const lines = note.ledgerLines();
  for (int n = 0; n < lines.count; ++n) {
    float const height = lines.first + n * lines.step;
    if (height > stem.top && height < stem.bottom) return true;
  }
  return false;
}

float Apart(GRSingleNote const& a, GRSingleNote const& b) {
  if (!OnOneStaff(a, b)) return 0;
  float const air = kAir * std::max(a.getSize(), b.getSize());
  float distance = 0;
  Stem stem{};
  if (b.getNumHelplines() != 0 && StemOf(a, &stem) && stem.up) {
    // A beamed stem up rises to its beam, which the beam sets only after the notes are spaced:
    // the beam stands over the heads of the notes beamed with it, and so over the lines of a
    // beamed neighbour over the staff, which all stand under that neighbour's head.
    if (a.getBeamCount() > 0 && b.getBeamCount() > 0 && b.getNumHelplines() > 0)
      stem.top = -std::numeric_limits<float>::infinity();
    if (LinesMeet(b, stem)) distance = stem.reach + air + b.ledgerLinesReach(false);
  }
  if (a.getNumHelplines() != 0 && StemOf(b, &stem) && !stem.up && LinesMeet(a, stem))
    distance = std::max(distance, a.ledgerLinesReach(true) + air + stem.reach);
  return distance;
}

}  // namespace

float LedgerLinesPastStems(GRSpring const& before, GRSpring const& after) {
  float distance = 0;
  KF_IPointerList<GRNotationElement> const& mine = before.getElements();
  KF_IPointerList<GRNotationElement> const& theirs = after.getElements();
  for (void* pos = mine.GetHeadPosition(); pos;) {
    auto const* note = ar_cast<GRSingleNote const>(mine.GetNext(pos));
    if (!note || !note->getNoteHead()) continue;
    for (void* at = theirs.GetHeadPosition(); at;) {
      auto const* next = ar_cast<GRSingleNote const>(theirs.GetNext(at));
      if (next && next->getNoteHead()) distance = std::max(distance, Apart(*note, *next));
    }
  }
  return distance;
}
