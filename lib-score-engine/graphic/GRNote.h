#pragma once

#include "GREvent.h"

class ARNote;
class ARNoteFormat;

// A graphical note: an event of an abstract note, with the stem directions its pitch asks for.
class GRNote : public GREvent {
 public:
  GRNote(GRStaff* staff, ARNote* note);
  GRNote(GRStaff* staff, ARNote* note, Fraction const& relativeTimePosition,
         Fraction const& duration);
  // Makes and owns an empty note of that length.
  GRNote(GRStaff* staff, Fraction const& duration);

  virtual void setNoteFormat(ARNoteFormat const*) {}
  virtual void drawStemOnly(int) = 0;
  virtual void getPitchAndOctave(int* pitch, int* octave, int* accidentals) const;
  // The staff's choice for the pitch; 0 without a staff.
  virtual GDirection getDefaultThroatDirection() const;
  // The stem's direction when it is up or down, else the staff's choice.
  virtual GDirection getThroatDirection() const;
  // True for an element that shows a later piece of a split note.
  virtual bool isSplit() const;

  ARNote* getARNote();
  ARNote const* getARNote() const;
};
