// The signs of a line the line breaker opens inside a measure or an unbarred stretch. Its notes
// were given their signs against the notes before them, some of which now stand on the line
// before; a reader takes no sign across a line break. So up to the first bar line or key of each
// staff the notes show what the key and the line's own notes leave them needing, as after a
// written new system, and the springs before the notes that gained a sign make room for it.

#include <algorithm>
#include <set>
#include <vector>

#include "ARCast.h"
#include "GRBar.h"
#include "GRKey.h"
#include "GRPossibleBreakState.h"
#include "GRRepeatBegin.h"
#include "GRSText.h"
#include "GRSingleNote.h"
#include "GRSpaceForceFunction2.h"
#include "GRSpring.h"
#include "GRStaff.h"
#include "GRStaffManager.h"
#include "GRSystemSlice.h"
#include "NEPointerList.h"
#include "room_across_marks.h"

namespace {

// Whether the element starts the measure over on its staff, as the staff's own state does.
bool StartsMeasure(GRNotationElement const* element) {
  if (ar_cast<GRBar const>(element) || ar_cast<GRRepeatBegin const>(element)) return true;
  auto const* key = ar_cast<GRKey const>(element);
  return key && !key->isNatural();
}

// A spring a note stands on looks back this many springs for what stands before it.
constexpr int kSpringsBack = 8;

}  // namespace

void GRStaffManager::ShowSignsAgainOnLine(GRSystemSlice const* last, GRSystemSlice* begin,
                                          int count) {
  GRPossibleBreakState const* breakState = last ? last->getPossibleBreakState() : nullptr;
  if (!begin || !breakState) return;
  std::vector<GRSystemSlice*> line{begin};
  void* pos = mFinishedSlices.GetHeadPosition();
  for (int k = 0; k < count && pos; ++k) line.push_back(mFinishedSlices.GetNext(pos));

  std::set<int> changed;  // the springs of notes whose signs changed
  int lowest = 0;
  int highest = -1;
  begin->getStaffRange(lowest, highest);
  for (int n = lowest; n <= highest; ++n) {
    GRStaff const* opening = begin->getStaff(n);
    GRPossibleBreakState::GRStaffAndState const* carried = breakState->getStaffAndState(n);
    if (!opening || !carried || !carried->staffstate) continue;
    // The key the line opens with, the octava going on into it, no note of the measure yet.
    GRStaffState state = opening->getStaffState();
    state.octava = carried->staffstate->octava;
    state.startMeasure();
    bool measureStarted = false;
    for (size_t s = 1; s < line.size() && !measureStarted; ++s) {
      GRStaff const* staff = line[s]->getStaff(n);
      if (!staff) continue;
      NEPointerList const& elements = staff->getElements();
      for (void* at = elements.GetHeadPosition(); at && !measureStarted;) {
        GRNotationElement* element = elements.GetNext(at);
        if (StartsMeasure(element)) {
          measureStarted = true;
          continue;
        }
        if (auto const* mark = ar_cast<GRSText const>(element)) {
          state.octava = GRStaff::OctavaShiftOf(*mark);
          continue;
        }
        auto* note = ar_cast<GRSingleNote>(element);
        if (!note || !note->getNoteHead()) continue;
        state.writeHeldAccidentalsBefore(note->getRelativeTimePosition());
        int pitch, octave, accidentals;
        note->getPitchAndOctave(&pitch, &octave, &accidentals);
        if (note->isTiedOver()) {
          state.holdAccidentals(note->getRelativeTimePosition(), pitch, octave - state.octava,
                                accidentals);
          continue;
        }
        if (note->showSigns(GRStaff::AccidentalsIn(state, pitch, octave, accidentals)))
          changed.insert(note->getSpringID());
        state.writeAccidentals(note->getRelativeTimePosition(), pitch, octave - state.octava,
                               accidentals);
      }
    }
  }

  for (int id : changed) {
    GRSpring* spring = mSprings->Get(id);
    if (!spring) continue;
    spring->settleChangedSigns();
    // The springs before the note together keep at least the room that what stands on each of
    // them needs from it, its new signs clear of the heads and of the ledger lines reaching on
    // from them; the one just before it takes what is missing.
    GRSpring* before = mSprings->Get(id - 1);
    if (!before || id - 1 < begin->getStartSpringID()) continue;
    float missing = 0;
    float have = 0;
    for (int k = id - 1; k >= std::max(begin->getStartSpringID(), id - kSpringsBack); --k) {
      GRSpring const* other = mSprings->Get(k);
      if (!other) break;
      have += other->getExtent();
      missing = std::max(missing, RoomBetween(*other, *spring) - have);
    }
    if (missing <= 0) continue;
    for (GRSystemSlice* slice : line) {
      GRSpaceForceFunction2* sff = slice->getSpacing();
      if (!sff || id - 1 < slice->getStartSpringID() || id - 1 > slice->getEndSpringID()) continue;
      sff->deleteSpring(before);
      before->change_x(before->getExtent() + missing);
      sff->addSpring(before);
      break;
    }
  }
}
