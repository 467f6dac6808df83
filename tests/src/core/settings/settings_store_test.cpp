#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>

#include <map>

#include "src/core/settings/difficulty_presets.h"
#include "src/core/settings/settings_manager.h"
#include "src/core/settings/settings_store.h"
#include "store_fixture.h"

namespace {

using namespace Core;
using StoreLayout = Testing::SettingsStoreTest;

// The keys and values a first run leaves in the store, as the text the file holds. Written out
// from the store's documented layout rather than from the code's tables, so a misspelt key, a
// flag under the wrong name or a value of the wrong type shows up as a difference.
struct ExpectedStore {
  void Text(const QString& key, const QString& text) { values[key] = text; }
  void Number(const QString& key, int value) { Text(key, QString::number(value)); }
  void Flag(const QString& key, bool on) { Text(key, on ? "true" : "false"); }

  // A flag family in its order; a leading '-' marks a flag that is off.
  void Flags(const QString& group, const QString& family, const QString& names) {
    for (const QString& name : names.split(' ', Qt::SkipEmptyParts))
      Flag(group + family + "." + name.mid(name.startsWith('-')), !name.startsWith('-'));
  }
  void Length(const QString& group, int seconds, int questions) {
    Number(group + "Duration/Duration.SecondsValue", seconds);
    Number(group + "Duration/Duration.QuestionsValue", questions);
  }
  // A key range with both colours, a section length and both clefs.
  void RangeBlock(const QString& group, int minimum, int maximum, int seconds, int questions) {
    Number(group + "Diapason/Diapason.Minimum", minimum);
    Number(group + "Diapason/Diapason.Maximum", maximum);
    Flag(group + "Diapason/Chromatic/chromatics.White", true);
    Flag(group + "Diapason/Chromatic/chromatics.Black", true);
    Length(group, seconds, questions);
    Flag(group + "Cleff/cleff.GClef", true);
    Flag(group + "Cleff/cleff.FClef", true);
  }

  std::map<QString, QString> values;
};

// The easiest level, with the fixed fallbacks of the wrong-answer record.
ExpectedStore FirstRunStore() {
  ExpectedStore expected;
  for (const char* key : {"ROZazod.LessonID", "ROZazod.ExerciseID", "ROZazod.LessonPosition",
                          "ROZazod.ExercisePosition"})
    expected.Number(key, 0);
  expected.Number("ROZazod.LastState", 3);

  const QString global = "GlobalSetting/Settings.";
  expected.Text(global + "InputDevice", "");
  expected.Number(global + "Appearance", 7);
  expected.Number(global + "NewsId", 0);
  expected.Number(global + "MidiInstrument", 0);
  expected.Flags("GlobalSetting/", "Settings",
                 "-ShowNoteFingers -ShowNoteLetters -ShowMistakes -HideMidiDialog "
                 "ShowDifficultyDialog Answer.GKC -Answer.MultipleChoice");

  for (const QString trainer : {"Excersises/NoteTrainer/", "Excersises/EarTrainer/"}) {
    expected.RangeBlock(trainer + "SingleNotes/", 39, 52, 10, 20);
    const QString interval = trainer + "Interval/";
    expected.Number(interval + "Interval.IntervalStart", 0);
    expected.Number(interval + "Interval.IntervalEnd", 4);
    expected.Flag(interval + "Interval.Arpeggiated", true);
    expected.RangeBlock(interval, 39, 40, 10, 20);
    expected.RangeBlock(trainer + "Chord/", 39, 40, 10, 20);
    expected.Flags(trainer + "Chord/", "Chord",
                   "MajorTriad MinorTriad -MajorSixth -MinorSixth -MajorSeventh -MinorSeventh "
                   "-DominantSeventh -Suspended2 -Suspended4 -SuspendedSixth2 -SuspendedSixth4 "
                   "-SuspendedSeventh2 -SuspendedSeventh4 -Augmented -AugmentedSixth "
                   "-AugmentedSeventh -Diminished -DiminishedSeventh FirstInversion "
                   "SecondInversion -Arpeggiated -ChordNotation");
  }
  expected.Flags("Excersises/NoteTrainer/OnWrongAnswerPolicy/", "Settings.WrongAnswerPolicy",
                 "Continue");
  expected.Number("Excersises/NoteTrainer/OnWrongAnswerPolicy/Settings.WrongAnswerPolicy.Delay",
                  3000);

  const QString scales = "Excersises/EarTrainer/Scales/";
  expected.RangeBlock(scales, 39, 40, 0, 4);
  expected.Flags(scales, "Scales",
                 "NaturalMaj -NaturalMin -PentatonicMaj -PentatonicMin -Harmonic MelodicMin "
                 "-Diminished -Blues -Augmented -WholeTone -ApplyDifferentScaleModes Ascending "
                 "Descending");

  const QString symbols = "Excersises/SheetMusicSymbol/";
  for (const QString& tempo : {QString("Excersises/EarTrainer/Tempo/"), symbols + "Tempo/"}) {
    expected.Length(tempo, 10, 20);
    expected.Flags(tempo, "Tempo",
                   "-Largo Adagio -Andante Allegro Moderato -Presto Prestissimo -Vivace");
  }
  const std::pair<QString, QString> families[] = {
      {"Length",
       "Whole Half Quarter -Eights -Sixteenth -ThirtySecond -SixtyFourth -HundredTwentyEight "
       "Rests"},
      {"Signatures", "CMaj -AMaj GMaj -EMaj -DMaj -BMaj FMaj -GbMaj -EbMaj -DbMaj -BbMaj -AbMaj"},
      {"Loudness",
       "-Pianississimo -Pianissimo Piano -MezzoPiano -MezzoForte Forte -Fortissimo "
       "-Fortississimo -Sforzando Crescendo Diminuendo"},
      {"NoteModifiers",
       "Stacatto -Fermata -Tremolo -Stacattissimo -Trill -EngagePedal -ReleasePedal -Acent -Tie "
       "-OttavaAlto -Marcato -OttavaBasso Natural Flat -Sharp -RepeatSigns -VoltaBracket "
       "-Appogiatura -DoubleFlat -DoubleSharp -Arpeggio Tenuto Slur -Acciaccatura"},
  };
  for (const auto& [family, names] : families) {
    expected.Length(symbols + family + "/", 10, 20);
    expected.Flags(symbols + family + "/", family, names);
  }
  return expected;
}

TEST_F(StoreLayout, FirstSaveWritesTheWholeKeySetWithItsStartingValues) {
  {
    SettingsManager manager([] { return false; });
    manager.SaveState();
    manager.SaveSettings();
  }
  ASSERT_TRUE(QFile::exists(StoreFile()));
  const std::map<QString, QString> expected = FirstRunStore().values;
  ASSERT_EQ(expected.size(), 221u);

  auto store = OpenStore();
  ASSERT_EQ(store->value("GlobalSetting/Settings.Appearance").typeId(), QMetaType::QString)
      << "values must come from the file's text, not from Qt's memory of the last handle";
  const QStringList keys = store->allKeys();
  EXPECT_EQ(keys.size(), 221);
  for (const QString& key : keys)
    EXPECT_TRUE(expected.count(key)) << "unexpected key " << key.toStdString();
  for (const auto& [key, text] : expected) {
    const QVariant value = store->value(key);
    EXPECT_TRUE(value.isValid()) << "missing key " << key.toStdString();
    EXPECT_EQ(value.toString().toStdString(), text.toStdString()) << key.toStdString();
  }
}

// Flags whose level values break the pattern tell a key wired to the wrong member.
TEST_F(StoreLayout, IrregularLevelFlagsLandUnderTheirOwnKeys) {
  ExcersisesSettings settings;
  ApplyDifficultyLevel(settings, EarTrainerExercise, Level3);
  ApplyDifficultyLevel(settings, SheetMusicSymbolsExercise, Level4);
  {
    auto store = OpenStore();
    SaveSettings(*store, GlobalSettings(), settings);
  }
  auto store = OpenStore();
  const QString ear = "Excersises/EarTrainer/";
  EXPECT_FALSE(store->value(ear + "Tempo/Tempo.Prestissimo").toBool());
  EXPECT_TRUE(store->value(ear + "Tempo/Tempo.Andante").toBool());
  EXPECT_FALSE(store->value(ear + "Tempo/Tempo.Largo").toBool());
  EXPECT_EQ(store->value(ear + "Chord/Diapason/Diapason.Minimum").toInt(), 34);
  EXPECT_EQ(store->value(ear + "Scales/Diapason/Diapason.Maximum").toInt(), 47);
  EXPECT_EQ(store->value(ear + "Interval/Diapason/Diapason.Minimum").toInt(), 27);
  const QString symbols = "Excersises/SheetMusicSymbol/";
  EXPECT_FALSE(store->value(symbols + "NoteModifiers/NoteModifiers.EngagePedal").toBool());
  EXPECT_FALSE(store->value(symbols + "NoteModifiers/NoteModifiers.ReleasePedal").toBool());
  EXPECT_TRUE(store->value(symbols + "NoteModifiers/NoteModifiers.Appogiatura").toBool());
  EXPECT_FALSE(store->value(symbols + "NoteModifiers/NoteModifiers.Arpeggio").toBool());
  EXPECT_TRUE(store->value(symbols + "Tempo/Tempo.Largo").toBool());
  EXPECT_TRUE(store->value(symbols + "Signatures/Signatures.AbMaj").toBool());
  EXPECT_FALSE(store->value(symbols + "Signatures/Signatures.DbMaj").toBool());
}

TEST_F(StoreLayout, EveryRecordComesBackAsItWasSaved) {
  ExcersisesSettings saved;
  ApplyDifficultyLevel(saved, NoteTrainerExercise, Level4);
  ApplyDifficultyLevel(saved, EarTrainerExercise, Level3);
  ApplyDifficultyLevel(saved, SheetMusicSymbolsExercise, Level3);
  saved.noteTrainer.onWrongAnswer = {false, 1000};
  saved.noteTrainer.chord.ChordNotation = true;
  saved.noteTrainer.interval.intervalStart = 3;
  saved.noteTrainer.singleNotes.diapason.chromatic = {false, true};
  saved.earTrainer.interval.cleff = {true, false};
  saved.earTrainer.scales.duration = {45, 7};
  saved.earTrainer.tempo.duration = {0, 3};
  saved.sheetMusicSymbols.loudness.Piano = false;
  saved.sheetMusicSymbols.noteModifiers.Stacatto = false;
  saved.sheetMusicSymbols.tempo.Vivace = true;
  saved.sheetMusicSymbols.noteModifiers.duration = {2, 1000};

  GlobalSettings global;
  global.inputDevice = "USB Keyboard: Port 1 / ü";
  global.appearance = 4000000000u;
  global.showNoteFingers = global.showNoteLetters = global.showMistakes = true;
  global.hideMidiDialog = true;
  global.newsId = 1234;
  global.midiInstrument = -1;
  global.showDifficultyDialog = false;
  global.answerGkc = false;
  global.answerMultipleChoice = true;

  VAvaroState state;
  state.lastState = VAvaroState::ExerciseOpen;
  state.lessonId = 3000000000u;
  state.exerciseId = EarTrainerExercise;
  state.lessonPosition = -4;
  state.exercisePosition = 1234567;
  {
    auto store = OpenStore();
    SaveSettings(*store, global, saved);
    SaveResumeState(*store, state);
  }
  auto store = OpenStore();
  EXPECT_EQ(store->value("GlobalSetting/Settings.MidiInstrument").toInt(), -1);

  ExcersisesSettings loaded;
  GlobalSettings loadedGlobal;
  VAvaroState loadedState;
  LoadSettings(*store, loadedGlobal, loaded);
  LoadResumeState(*store, loadedState);

  EXPECT_TRUE(loaded.noteTrainer == saved.noteTrainer);
  EXPECT_TRUE(loaded.earTrainer == saved.earTrainer);
  EXPECT_TRUE(loaded.sheetMusicSymbols == saved.sheetMusicSymbols);
  // Members the level comparison leaves out.
  EXPECT_FALSE(loaded.noteTrainer.onWrongAnswer.autoContinue);
  EXPECT_EQ(loaded.noteTrainer.onWrongAnswer.delay, 1000);
  EXPECT_EQ(loaded.earTrainer.scales.duration.seconds, 45);
  EXPECT_EQ(loaded.earTrainer.scales.duration.questions, 7);
  EXPECT_EQ(loaded.earTrainer.tempo.duration.questions, 3);
  EXPECT_FALSE(loaded.sheetMusicSymbols.loudness.Piano);
  EXPECT_FALSE(loaded.sheetMusicSymbols.noteModifiers.Stacatto);
  EXPECT_TRUE(loaded.sheetMusicSymbols.tempo.Vivace);
  EXPECT_EQ(loaded.sheetMusicSymbols.noteModifiers.duration.questions, 1000);
  EXPECT_EQ(loaded.noteTrainer.singleNotes.duration.seconds, 10);

  EXPECT_EQ(loadedGlobal.inputDevice, global.inputDevice);
  EXPECT_EQ(loadedGlobal.appearance, 4000000000u);
  EXPECT_TRUE(loadedGlobal.showNoteFingers && loadedGlobal.showNoteLetters &&
              loadedGlobal.showMistakes && loadedGlobal.hideMidiDialog);
  EXPECT_EQ(loadedGlobal.newsId, 1234);
  EXPECT_EQ(loadedGlobal.midiInstrument, -1);
  EXPECT_FALSE(loadedGlobal.showDifficultyDialog);
  EXPECT_FALSE(loadedGlobal.answerGkc);
  EXPECT_TRUE(loadedGlobal.answerMultipleChoice);

  EXPECT_EQ(loadedState.lastState, VAvaroState::ExerciseOpen);
  EXPECT_EQ(loadedState.lessonId, 3000000000u);
  EXPECT_EQ(loadedState.exerciseId, EarTrainerExercise);
  EXPECT_EQ(loadedState.lessonPosition, -4);
  EXPECT_EQ(loadedState.exercisePosition, 1234567);
  EXPECT_TRUE(loadedState.ResumesExercise());
}

TEST_F(StoreLayout, MissingKeysKeepTheValueInMemoryExceptTheFixedOnes) {
  Store("Excersises/EarTrainer/Chord/Chord.MajorTriad", false);

  ExcersisesSettings settings = DifficultyPreset(Level5);
  settings.earTrainer.interval.intervalEnd = 9;
  GlobalSettings global;
  global.appearance = 99;
  global.newsId = 5;
  global.midiInstrument = 21;
  {
    auto store = OpenStore();
    LoadSettings(*store, global, settings);
  }
  EXPECT_FALSE(settings.earTrainer.chord.MajorTriad);
  EXPECT_EQ(settings.earTrainer.interval.intervalEnd, 9);
  EXPECT_TRUE(settings.noteTrainer.chord.Augmented);
  EXPECT_EQ(settings.noteTrainer.singleNotes.diapason.maximum, 75);
  EXPECT_EQ(settings.noteTrainer.onWrongAnswer.delay, 3000);
  EXPECT_TRUE(settings.noteTrainer.onWrongAnswer.autoContinue);
  EXPECT_EQ(global.appearance, 99u) << "appearance falls back to the value in memory";
  EXPECT_EQ(global.newsId, 0);
  EXPECT_EQ(global.midiInstrument, 0);

  VAvaroState state;
  state.exerciseId = 2;
  state.lastState = 2;
  {
    auto store = OpenStore();
    LoadResumeState(*store, state);
  }
  EXPECT_EQ(state.lastState, 3);
  EXPECT_EQ(state.exerciseId, 0);
  EXPECT_FALSE(state.ResumesExercise());
}

// The store is a text file the learner can edit: odd values load as Qt converts them, the trainer
// settings' numbers brought into the ranges the settings screens offer, and the readers of this
// area stay well-behaved.
TEST_F(StoreLayout, HandEditedValuesLoadAsTheSettingsScreensShowThem) {
  Store("GlobalSetting/Settings.MidiInstrument", 300);
  Store("Excersises/NoteTrainer/SingleNotes/Diapason/Diapason.Minimum", 70);
  Store("Excersises/NoteTrainer/SingleNotes/Diapason/Diapason.Maximum", 20);
  Store("Excersises/EarTrainer/Interval/Interval.IntervalEnd", 4000);
  Store("Excersises/EarTrainer/Chord/Duration/Duration.QuestionsValue", "many");
  Store("Excersises/SheetMusicSymbol/Length/Duration/Duration.SecondsValue", -5);
  Store("ROZazod.ExercisePosition", "");

  ForgetCachedStore();
  SettingsManager manager([] { return false; });
  EXPECT_EQ(manager.globalSettings.midiInstrument, 44);
  const ExcersisesSettings& settings = manager.GetExcersiseSettings();
  // An inverted range keeps its top and holds the key below it.
  EXPECT_EQ(settings.noteTrainer.singleNotes.diapason.minimum, 19);
  EXPECT_EQ(settings.noteTrainer.singleNotes.diapason.maximum, 20);
  EXPECT_EQ(settings.earTrainer.interval.intervalEnd, 12);
  EXPECT_EQ(settings.earTrainer.chord.duration.questions, 1) << "unconvertible text: 0, then 1";
  EXPECT_EQ(settings.sheetMusicSymbols.length.duration.seconds, 0);
  EXPECT_EQ(manager.state.exercisePosition, 0);

  EXPECT_EQ(manager.GetDifficultyLevel(NoteTrainerExercise), CustomLevel);
  EXPECT_EQ(manager.GetDifficultyLevel(EarTrainerExercise), CustomLevel);
  EXPECT_EQ(manager.GetDifficultyLevel(SheetMusicSymbolsExercise), Level1);
}

}  // namespace
