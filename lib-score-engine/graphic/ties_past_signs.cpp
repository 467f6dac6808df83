#include "ties_past_signs.h"

#include <algorithm>

#include "ARCast.h"
#include "ARNote.h"
#include "GRSingleNote.h"
#include "GRSpring.h"
#include "GRStdNoteHead.h"
#include "notes_on_one_staff.h"
#include "signs_under_beams.h"

namespace {

// On a staff of line space 50: the room a tie takes from its first head to a sign it passes,
// enough to rise over a sign reaching half a space above the tied heads' middle, and how far
// above or below that middle a sign's ink stands in the tie's way.
constexpr float kTieBeforeSign = 75;
constexpr float kInTheWay = 30;

// Where the note's head begins and ends, from the note's x.
float HeadLeft(GRSingleNote const& note) {
  GRStdNoteHead const* head = note.getNoteHead();
  float const offset = head ? head->getOffset().x : 0;
  return offset - 0.5f * note.getHeadWidth() * note.getSize();
}

float HeadRight(GRSingleNote const& note) {
  GRStdNoteHead const* head = note.getNoteHead();
  float const offset = head ? head->getOffset().x : 0;
  return offset + 0.5f * note.getHeadWidth() * note.getSize();
}

// The leftmost sign of another note of the spring standing left of the held note's head at its
// height, from the notes' x; 0 without any.
float SignBefore(GRSpring const& spring, GRSingleNote const& held) {
  float const middle = held.getPosition().y;
  float const reach = kInTheWay * held.getSize();
  float const headLeft = HeadLeft(held);
  float left = 0;
  KF_IPointerList<GRNotationElement> const& elements = spring.getElements();
  for (void* pos = elements.GetHeadPosition(); pos;) {
    auto const* note = ar_cast<GRSingleNote const>(elements.GetNext(pos));
    if (!note || note == &held || !OnOneStaff(*note, held)) continue;
    for (NVRect const& sign : NoteSignInks(*note)) {
      float const from = sign.left - note->getPosition().x;
      float const to = sign.right - note->getPosition().x;
      if (to <= headLeft && sign.top < middle + reach && sign.bottom > middle - reach)
        left = std::min(left, from);
    }
  }
  return left;
}

// The note of the spring the held note is tied from: one of its staff at its pitch.
GRSingleNote const* TiedFrom(GRSpring const& spring, GRSingleNote const& held) {
  KF_IPointerList<GRNotationElement> const& elements = spring.getElements();
  for (void* pos = elements.GetHeadPosition(); pos;) {
    auto const* note = ar_cast<GRSingleNote const>(elements.GetNext(pos));
    if (note && note->getARNote() && OnOneStaff(*note, held) &&
        note->getARNote()->CompareNameOctavePitch(*held.getARNote()))
      return note;
  }
  return nullptr;
}

}  // namespace

float TiesPastSigns(GRSpring const& before, GRSpring const& after) {
  float distance = 0;
  KF_IPointerList<GRNotationElement> const& elements = after.getElements();
  for (void* pos = elements.GetHeadPosition(); pos;) {
    auto const* held = ar_cast<GRSingleNote const>(elements.GetNext(pos));
    if (!held || !held->isTiedOver() || !held->getARNote()) continue;
    float const sign = SignBefore(after, *held);
    if (sign >= 0) continue;
    GRSingleNote const* from = TiedFrom(before, *held);
    if (!from) continue;
    distance = std::max(distance, HeadRight(*from) + kTieBeforeSign * held->getSize() - sign);
  }
  return distance;
}
