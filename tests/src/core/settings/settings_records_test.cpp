#include <gtest/gtest.h>

#include "src/core/settings/exercise_settings.h"
#include "src/core/settings/global_settings.h"

namespace {

using namespace Core;

void ExpectDefaultRange(const NotesDiapason& range) {
  EXPECT_EQ(range.minimum, 15);
  EXPECT_EQ(range.maximum, 55);
  EXPECT_TRUE(range.chromatic.white);
  EXPECT_TRUE(range.chromatic.black);
}

void ExpectDefaultSection(const ExerciseDuration& duration) {
  EXPECT_EQ(duration.seconds, 30);
  EXPECT_EQ(duration.questions, 10);
}

void ExpectBothClefs(const CleffSettings& cleff) {
  EXPECT_TRUE(cleff.gClef);
  EXPECT_TRUE(cleff.fClef);
}

void ExpectDefaultChords(const ChordSettings& chord) {
  EXPECT_TRUE(chord.MajorTriad && chord.MinorTriad && chord.MajorSixth && chord.MinorSixth &&
              chord.MajorSeventh && chord.MinorSeventh && chord.DominantSeventh &&
              chord.Suspended2 && chord.Suspended4 && chord.SuspendedSixth2 &&
              chord.SuspendedSixth4 && chord.SuspendedSeventh2 && chord.SuspendedSeventh4 &&
              chord.Augmented && chord.AugmentedSixth && chord.AugmentedSeventh &&
              chord.Diminished && chord.DiminishedSeventh && chord.FirstInversion &&
              chord.SecondInversion);
  EXPECT_FALSE(chord.Arpeggiated);
  EXPECT_FALSE(chord.ChordNotation);
  ExpectDefaultRange(chord.diapason);
  ExpectDefaultSection(chord.duration);
  ExpectBothClefs(chord.cleff);
}

void ExpectDefaultIntervals(const IntervalSettings& interval) {
  EXPECT_EQ(interval.intervalStart, 0);
  EXPECT_EQ(interval.intervalEnd, 12);
  EXPECT_TRUE(interval.arpeggiated);
  ExpectDefaultRange(interval.diapason);
  ExpectDefaultSection(interval.duration);
  ExpectBothClefs(interval.cleff);
}

TEST(SettingsRecords, DefaultTrainerSettingsAskEverythingInTheMiddleRange) {
  const ExcersisesSettings settings;

  const NoteTrainerSettings& notes = settings.noteTrainer;
  ExpectDefaultRange(notes.singleNotes.diapason);
  ExpectDefaultSection(notes.singleNotes.duration);
  ExpectBothClefs(notes.singleNotes.cleff);
  ExpectDefaultIntervals(notes.interval);
  ExpectDefaultChords(notes.chord);
  EXPECT_TRUE(notes.onWrongAnswer.autoContinue);
  EXPECT_EQ(notes.onWrongAnswer.delay, 5000);

  const EarTrainerSettings& ear = settings.earTrainer;
  ExpectDefaultRange(ear.singleNotes.diapason);
  ExpectDefaultIntervals(ear.interval);
  ExpectDefaultChords(ear.chord);
  const ScalesSettings& scales = ear.scales;
  EXPECT_TRUE(scales.NaturalMaj && scales.NaturalMin && scales.PentatonicMaj &&
              scales.PentatonicMin && scales.Harmonic && scales.MelodicMin && scales.Diminished &&
              scales.Blues && scales.Augmented && scales.WholeTone && scales.Ascending &&
              scales.Descending);
  EXPECT_FALSE(scales.ApplyDifferentScaleModes);
  ExpectDefaultRange(scales.diapason);
  ExpectDefaultSection(scales.duration);
  const TempoSettings& tempo = ear.tempo;
  EXPECT_TRUE(tempo.Largo && tempo.Adagio && tempo.Andante && tempo.Allegro && tempo.Moderato &&
              tempo.Presto && tempo.Prestissimo && tempo.Vivace);
  ExpectDefaultSection(tempo.duration);

  const SheetMusicSymbolsSettings& symbols = settings.sheetMusicSymbols;
  const LengthSettings& length = symbols.length;
  EXPECT_TRUE(length.Whole && length.Half && length.Quarter && length.Eights && length.Sixteenth &&
              length.ThirtySecond && length.SixtyFourth && length.HundredTwentyEight &&
              length.Rests);
  const KeySignaturesSettings& keys = symbols.signatures;
  EXPECT_TRUE(keys.CMaj && keys.AMaj && keys.GMaj && keys.EMaj && keys.DMaj && keys.BMaj &&
              keys.FMaj && keys.GbMaj && keys.EbMaj && keys.DbMaj && keys.BbMaj && keys.AbMaj);
  const LoudnessSettings& loud = symbols.loudness;
  EXPECT_TRUE(loud.Pianississimo && loud.Pianissimo && loud.Piano && loud.MezzoPiano &&
              loud.MezzoForte && loud.Forte && loud.Fortissimo && loud.Fortississimo &&
              loud.Sforzando && loud.Crescendo && loud.Diminuendo);
  const NoteModifiersSettings& mods = symbols.noteModifiers;
  EXPECT_TRUE(mods.Stacatto && mods.Fermata && mods.Tremolo && mods.Stacattissimo && mods.Trill &&
              mods.EngagePedal && mods.ReleasePedal && mods.Acent && mods.Tie && mods.OttavaAlto &&
              mods.Marcato && mods.OttavaBasso && mods.Natural && mods.Flat && mods.Sharp &&
              mods.RepeatSigns && mods.VoltaBracket && mods.Appogiatura && mods.DoubleFlat &&
              mods.DoubleSharp && mods.Arpeggio && mods.Tenuto && mods.Slur && mods.Acciaccatura);
  for (const ExerciseDuration* section :
       {&length.duration, &keys.duration, &symbols.tempo.duration, &loud.duration, &mods.duration})
    ExpectDefaultSection(*section);
}

TEST(SettingsRecords, GeneralAndResumeDefaults) {
  const GlobalSettings global;
  EXPECT_TRUE(global.inputDevice.isEmpty());
  EXPECT_EQ(global.appearance, 7u);
  EXPECT_FALSE(global.showNoteFingers || global.showNoteLetters || global.showMistakes ||
               global.hideMidiDialog || global.answerMultipleChoice);
  EXPECT_EQ(global.newsId, 0);
  EXPECT_EQ(global.midiInstrument, 0);
  EXPECT_TRUE(global.showDifficultyDialog);
  EXPECT_TRUE(global.answerGkc);

  const VAvaroState state;
  EXPECT_EQ(state.lastState, 3);
  EXPECT_EQ(state.lessonId, 0u);
  EXPECT_EQ(state.exerciseId, -1);
  EXPECT_EQ(state.lessonPosition, 0);
  EXPECT_EQ(state.exercisePosition, 0);
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
  EXPECT_FALSE(range.Holds(38));
  EXPECT_TRUE(range.Holds(39));
  EXPECT_TRUE(range.Holds(51));
  EXPECT_FALSE(range.Holds(52));

  // A hand-edited inverted range holds nothing rather than everything.
  range.minimum = 60;
  range.maximum = 20;
  EXPECT_FALSE(range.Holds(40));

  EXPECT_TRUE(NotesDiapason::FitsTrebleClef(87));
  EXPECT_TRUE(NotesDiapason::FitsTrebleClef(25));
  EXPECT_FALSE(NotesDiapason::FitsTrebleClef(24));
  EXPECT_TRUE(NotesDiapason::FitsBassClef(0));
  EXPECT_TRUE(NotesDiapason::FitsBassClef(54));
  EXPECT_FALSE(NotesDiapason::FitsBassClef(55));
}

// The level comparison covers only what a level defines; a change elsewhere must not turn a
// learner's level into custom settings, and a change of material must.
TEST(SettingsRecords, LevelComparisonIgnoresSectionLengthsAndLearnerChoices) {
  const ExcersisesSettings base;

  ExcersisesSettings changed = base;
  changed.noteTrainer.singleNotes.duration = {5, 99};
  changed.noteTrainer.interval.duration.seconds = 1;
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
  EXPECT_TRUE(noteDiffers([](auto& s) { s.singleNotes.diapason.minimum = 16; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.singleNotes.diapason.maximum = 54; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.singleNotes.diapason.chromatic.black = false; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.singleNotes.cleff.fClef = false; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.interval.intervalStart = 1; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.interval.intervalEnd = 7; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.interval.arpeggiated = false; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.interval.diapason.chromatic.white = false; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.interval.cleff.gClef = false; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.chord.ChordNotation = true; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.chord.DiminishedSeventh = false; }));
  EXPECT_TRUE(noteDiffers([](auto& s) { s.chord.diapason.maximum = 40; }));

  EarTrainerSettings ear = base.earTrainer;
  ear.scales.WholeTone = false;
  EXPECT_FALSE(ear == base.earTrainer);
  ear = base.earTrainer;
  ear.scales.diapason.minimum = 3;
  EXPECT_FALSE(ear == base.earTrainer);

  SheetMusicSymbolsSettings symbols = base.sheetMusicSymbols;
  symbols.loudness.Sforzando = false;
  EXPECT_FALSE(symbols == base.sheetMusicSymbols);
  symbols = base.sheetMusicSymbols;
  symbols.noteModifiers.Acciaccatura = false;
  EXPECT_FALSE(symbols == base.sheetMusicSymbols);
  symbols = base.sheetMusicSymbols;
  symbols.signatures.AbMaj = false;
  EXPECT_FALSE(symbols == base.sheetMusicSymbols);
  symbols = base.sheetMusicSymbols;
  symbols.length.Rests = false;
  EXPECT_FALSE(symbols == base.sheetMusicSymbols);
}

}  // namespace
