#pragma once

// The general options and the resume record. Both are read field by field and replaced whole by
// the application shell and the screens.

#include <QString>

#include <cstdint>

namespace Core {

struct GlobalSettings {
  QString inputDevice;                // MIDI input chosen by name; empty = the first input
  std::uint32_t appearance = 7;       // stored and restored only
  bool showNoteFingers = false;       // stored and restored only
  bool showNoteLetters = false;       // stored and restored only
  bool showMistakes = false;          // stored and restored only
  bool hideMidiDialog = false;        // no warning when no MIDI input is present
  int newsId = 0;                     // last news item read
  std::int8_t midiInstrument = 0;     // index in the playback instrument list
  bool showDifficultyDialog = true;   // ask for a level before an exercise starts
  bool answerGkc = true;              // answers on the keys
  bool answerMultipleChoice = false;  // answers with the multiple-choice buttons
};

// Lets the learner return to the exercise that was open when the program was left.
struct VAvaroState {
  static constexpr int ExerciseOpen = 2;
  static constexpr int NoExerciseOpen = 3;

  int lastState = NoExerciseOpen;
  std::uint32_t lessonId = 0;  // stored and restored only
  int exerciseId = -1;         // trainer of the open exercise (ExerciseType); -1 = none
  int lessonPosition = 0;      // stored and restored only
  int exercisePosition = 0;    // timeline position in 50 ms ticks

  bool ResumesExercise() const { return lastState == ExerciseOpen && exerciseId != -1; }
};

}  // namespace Core
