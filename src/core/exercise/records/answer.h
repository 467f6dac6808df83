#pragma once

// One answer to a question: nothing (time ran out), notes played, or a multiple-choice pick.

#include "src/core/midi/midi.h"

namespace Core {

enum AnswerKind : unsigned int {
  AK_NONE = 0,      // the time of a timed question ran out
  AK_NOTES = 1,     // notes from a MIDI keyboard or the on-screen piano
  AK_INTERVAL = 2,  // an interval number picked on the screen
  AK_VARIANT = 4,   // a multiple-choice variant
};

struct Answer {
  unsigned int Kind = AK_NONE;
  MidiStream Notes;                 // AK_NOTES: every event received for the question, in order
  int IntervalNumber = 0;           // AK_INTERVAL only
  unsigned long ChosenVariant = 0;  // AK_VARIANT only: index into the question's variants
};

}  // namespace Core
