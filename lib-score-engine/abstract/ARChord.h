#pragma once

#include "ARMusicalEvent.h"
#include "kf_ilist.h"

// A chord written as one event: its members (owned) stand at the chord's time, and the chord
// lasts as long as its longest member. The voice builds chords as event groups instead; this
// form is drawn by its own graphical chord.
class ARChord : public ARMusicalEvent, public KF_IPointerList<ARMusicalObject> {
 public:
  ARChord();

  // The member takes the chord's time; a longer member lengthens the chord.
  virtual void* AddTail(ARMusicalObject* member);
  // Passed on to the members.
  void setRelativeTimePosition(Fraction const& time) override;
  void setDuration(Fraction const& duration) override;
};
