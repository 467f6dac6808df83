#include "GRNote.h"

#include "ARNote.h"
#include "GRStaff.h"
#include "src/common/assertion.h"

namespace {
ARNote* RequireNote(ARNote* note) {
  MELVARIN_ASSERT(note);
  return note;
}
}  // namespace

GRNote::GRNote(GRStaff* staff, ARNote* note) : GREvent(staff, RequireNote(note), false) {}

GRNote::GRNote(GRStaff* staff, ARNote* note, Fraction const& relativeTimePosition,
               Fraction const& duration)
    : GREvent(staff, RequireNote(note), relativeTimePosition, duration) {}

GRNote::GRNote(GRStaff* staff, Fraction const& duration)
    : GREvent(staff, new ARNote(duration), true) {}

ARNote* GRNote::getARNote() {
  return static_cast<ARNote*>(getAbstractRepresentation());
}

ARNote const* GRNote::getARNote() const {
  return static_cast<ARNote const*>(getAbstractRepresentation());
}

void GRNote::getPitchAndOctave(int* pitch, int* octave, int* accidentals) const {
  ARNote const* note = getARNote();
  *pitch = note->getPitch();
  *octave = note->getOctave();
  *accidentals = note->getAccidentals();
}

GDirection GRNote::getDefaultThroatDirection() const {
  if (!mGrStaff) return dirOFF;
  int pitch, octave, accidentals;
  getPitchAndOctave(&pitch, &octave, &accidentals);
  return mGrStaff->getDefaultThroatDirection(pitch, octave);
}

GDirection GRNote::getThroatDirection() const {
  GDirection const direction = getStemDirection();
  return direction == dirUP || direction == dirDOWN ? direction : getDefaultThroatDirection();
}

bool GRNote::isSplit() const {
  return getARNote()->getRelativeTimePosition() != mRelativeTimePositionOfGR;
}
