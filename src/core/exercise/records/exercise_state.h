#pragma once

// States and counters of a running exercise, and the sections a trainer declares.

#include <QString>

namespace Core {

// Passed to observers as an unsigned int.
enum ExerciseState : unsigned int {
  ES_STOPPED = 0,  // no section with questions left
  ES_READY = 1,    // between questions, waiting to be asked for the next one
  ES_PLAYING = 2,  // the question is being played
  ES_AWAITING_ANSWER = 3,
  ES_FINISHED = 4,
};

enum PlaybackState : unsigned int {
  PS_STOPPED = 0,
  PS_PLAYING = 1,
  PS_PAUSED = 2,
};

// The counters the exercise screen shows. A default-constructed record is the reset state.
struct ExerciseProgress {
  int QuestionsAsked = 0;
  int RightAnswers = 0;
  int Answered = 0;
  int SectionQuestions = 0;  // the current section's question count from the settings
  int SectionAsked = 0;
  int SectionRight = 0;
};

// One section as a trainer declares it; the name is also the timeline's section name.
struct SectionInfo {
  QString Name;
  QString Description;
};

}  // namespace Core
