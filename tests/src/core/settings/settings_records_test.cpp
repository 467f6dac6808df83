#include <gtest/gtest.h>

#include "src/core/settings/exercise_settings.h"
#include "src/core/settings/global_settings.h"

namespace {

using namespace Core;

// A quiz started before any level is chosen runs with these values.
TEST(SettingsRecords, DefaultsAskEverythingInTheMiddleRange) {
  const ExcersisesSettings settings;
  const NotesDiapason& range = settings.earTrainer.scales.diapason;
  EXPECT_EQ(range.minimum, 15);
  EXPECT_EQ(range.maximum, 55);
  EXPECT_TRUE(range.chromatic.white && range.chromatic.black);
  EXPECT_EQ(settings.sheetMusicSymbols.noteModifiers.duration.seconds, 30);
  EXPECT_EQ(settings.noteTrainer.chord.duration.questions, 10);
  EXPECT_EQ(settings.earTrainer.interval.intervalEnd, 12);
  EXPECT_TRUE(settings.earTrainer.interval.arpeggiated);
  EXPECT_FALSE(settings.noteTrainer.chord.Arpeggiated || settings.noteTrainer.chord.ChordNotation);
  EXPECT_FALSE(settings.earTrainer.scales.ApplyDifferentScaleModes);
  EXPECT_TRUE(settings.noteTrainer.onWrongAnswer.autoContinue);
  EXPECT_EQ(settings.noteTrainer.onWrongAnswer.delay, 5000);

  const VAvaroState state;
  EXPECT_EQ(state.lastState, 3);
  EXPECT_EQ(state.exerciseId, -1);
  EXPECT_FALSE(state.ResumesExercise());
  VAvaroState open;
  open.lastState = VAvaroState::ExerciseOpen;
  EXPECT_FALSE(open.ResumesExercise()) << "no trainer recorded";
  open.exerciseId = EarTrainerExercise;
  EXPECT_TRUE(open.ResumesExercise());
}

TEST(SettingsRecords, KeyRangeExcludesItsMaximumAndClefBoundsAreInclusive) {
  NotesDiapason range;
  range.minimum = 39;
  range.maximum = 52;
  EXPECT_TRUE(range.Holds(51));
  EXPECT_FALSE(range.Holds(52));

  // A hand-edited inverted range holds nothing rather than everything.
  range.minimum = 60;
  range.maximum = 20;
  EXPECT_FALSE(range.Holds(40));

  EXPECT_TRUE(NotesDiapason::FitsTrebleClef(87));
  EXPECT_TRUE(NotesDiapason::FitsTrebleClef(25));
  EXPECT_FALSE(NotesDiapason::FitsTrebleClef(24));
  EXPECT_TRUE(NotesDiapason::FitsBassClef(54));
  EXPECT_FALSE(NotesDiapason::FitsBassClef(55));
}

// The level comparison covers only what a level defines; a change elsewhere must not turn a
// learner's level into custom settings, and a change of material must.
TEST(SettingsRecords, LevelComparisonIgnoresSectionLengthsAndLearnerChoices) {
  const ExcersisesSettings base;

  ExcersisesSettings changed = base;
  changed.noteTrainer.singleNotes.duration = {5, 99};
  changed.noteTrainer.chord.duration.questions = 1;
  changed.noteTrainer.onWrongAnswer = {false, 1000};
  EXPECT_TRUE(changed.noteTrainer == base.noteTrainer);

  changed.earTrainer.scales.duration = {0, 1};
  changed.earTrainer.tempo.duration = {0, 1};
  EXPECT_TRUE(changed.earTrainer == base.earTrainer);

  SheetMusicSymbolsSettings& symbols = changed.sheetMusicSymbols;
  symbols.loudness.Piano = false;
  symbols.loudness.Pianississimo = false;
  symbols.noteModifiers.Stacatto = false;
  symbols.tempo.Largo = false;
  symbols.tempo.Prestissimo = false;
  symbols.length.duration = {1, 1};
  EXPECT_TRUE(symbols == base.sheetMusicSymbols);

  // Prestissimo counts for the ear trainer, though no question uses it.
  changed.earTrainer.tempo.Prestissimo = false;
  EXPECT_FALSE(changed.earTrainer == base.earTrainer);
}

TEST(SettingsRecords, LevelComparisonSeesEveryDefinedMember) {
  const ExcersisesSettings base;
  auto noteDiffers = [&](auto change) {
    NoteTrainerSettings other = base.noteTrainer;
    change(other);
    return !(other == base.noteTrainer);
  };
  EXPECT_TRUE(noteDiffers([](auto& s) { s.singleNotes.diapason.maximum = 54; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.singleNotes.diapason.chromatic.black = false; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.singleNotes.cleff.fClef = false; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.interval.intervalStart = 1; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.interval.arpeggiated = false; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.interval.cleff.gClef = false; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.chord.ChordNotation = true; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.chord.DiminishedSeventh = false; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.chord.diapason.minimum = 40; }));

  EarTrainerSettings ear = base.earTrainer;
  ear.scales.WholeTone = false;
  EXPECT_FALSE(ear == base.earTrainer);

  SheetMusicSymbolsSettings symbols = base.sheetMusicSymbols;
  symbols.loudness.Sforzando = false;
  EXPECT_FALSE(symbols == base.sheetMusicSymbols);
  symbols = base.sheetMusicSymbols;
  symbols.noteModifiers.Acciaccatura = false;
  EXPECT_FALSE(symbols == base.sheetMusicSymbols);
}

}  // namespace
