#include "src/core/settings/settings_ranges.h"

#include <algorithm>

#include "src/core/settings/exercise_settings.h"

namespace Core {

namespace {

constexpr int PianoKeys = 88;

void Keep(ExerciseDuration& duration) {
  duration.questions = std::clamp(duration.questions, 1, MaxQuestionsPerSection);
  duration.seconds = std::clamp(duration.seconds, 0, MaxSecondsPerQuestion);
}

void Keep(NotesDiapason& range) {
  range.maximum = std::clamp(range.maximum, 1, PianoKeys);
  range.minimum = std::clamp(range.minimum, 0, range.maximum - 1);
}

template <class Section>
void KeepKeysAndLength(Section& section) {
  Keep(section.diapason);
  Keep(section.duration);
}

void Keep(IntervalSettings& interval) {
  KeepKeysAndLength(interval);
  interval.intervalEnd = std::clamp(interval.intervalEnd, 0, MaxIntervalSize);
  interval.intervalStart = std::clamp(interval.intervalStart, 0, interval.intervalEnd);
}

}  // namespace

void KeepInOfferedRanges(ExcersisesSettings& settings) {
  NoteTrainerSettings& notes = settings.noteTrainer;
  KeepKeysAndLength(notes.singleNotes);
  Keep(notes.interval);
  KeepKeysAndLength(notes.chord);
  notes.onWrongAnswer.delay =
      std::clamp(notes.onWrongAnswer.delay, ShortestWrongAnswerDelay, LongestWrongAnswerDelay);

  EarTrainerSettings& ear = settings.earTrainer;
  KeepKeysAndLength(ear.singleNotes);
  Keep(ear.interval);
  KeepKeysAndLength(ear.chord);
  KeepKeysAndLength(ear.scales);
  Keep(ear.tempo.duration);

  SheetMusicSymbolsSettings& symbols = settings.sheetMusicSymbols;
  for (ExerciseDuration* duration :
       {&symbols.length.duration, &symbols.signatures.duration, &symbols.tempo.duration,
        &symbols.loudness.duration, &symbols.noteModifiers.duration})
    Keep(*duration);
}

}  // namespace Core
