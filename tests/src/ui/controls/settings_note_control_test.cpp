// The note trainer's settings panel on the real main window and settings store.

#include <QCheckBox>
#include <QRadioButton>
#include <QStackedWidget>

#include "src/ui/controls/settings_note_control.h"
#include "src/ui/range_selectors.h"
#include "trainer_panel_fixture.h"
#include "ui_settings_note_trainer_control.h"

namespace {

const QString Note = "Excersises/NoteTrainer/";

class SettingsNoteControlTest : public Testing::TrainerPanelTest {
 protected:
  UI::SettingsNoteControl* Open(bool quiz = false) {
    panel = qobject_cast<UI::SettingsNoteControl*>(OpenSettings(0, quiz));
    EXPECT_NE(panel, nullptr);
    return panel;
  }
  Ui_settings_note_trainer_control& ui() { return panel->form(); }
  static std::pair<int, int> Range(UI::GkcRangeSelectorControl* selector) {
    int low = 0;
    int high = 0;
    selector->GetGkcRange(low, high);
    return {low, high};
  }
  // The keys a selector offers: its range pushed to both ends of the piano.
  static std::pair<int, int> Bounds(UI::GkcRangeSelectorControl* selector) {
    const auto range = Range(selector);
    selector->SetGkcRange(0, 88);
    const auto bounds = Range(selector);
    selector->SetGkcRange(range.first, range.second);
    return bounds;
  }

  UI::SettingsNoteControl* panel = nullptr;
};

TEST_F(SettingsNoteControlTest, EveryControlReachesItsOwnKeyAndNoOtherTrainersKey) {
  Open();
  const Store before = Snapshot();
  Click(ui().noteExTabNotes);
  Tick(ui().showInTrebleNotes);
  ui().Gkc->SetGkcRange(27, 64);
  Tick(ui().notesBlackKeysRadioButton);
  ui().noteDuration->scrollToQuestionValue(5);
  ui().noteDuration->scrollToTimeoutValue(7);

  Click(ui().noteExTabIntervals);
  ui().IntervalRange->SetIntervalRange(2, 9);
  Tick(ui().showInBassIntervals);
  ui().GkcInterval->SetGkcRange(17, 52);
  Tick(ui().intervalsWhiteKeysRadioButton);
  Tick(ui().simultaneousIntervalSound);
  ui().intervalDuration->scrollToQuestionValue(6);
  ui().intervalDuration->scrollToTimeoutValue(8);

  Click(ui().noteExTabChords);
  const QList<QCheckBox*> types = ui().chordTypesGrid->findChildren<QCheckBox*>();
  ASSERT_EQ(types.size(), 18);
  for (QCheckBox* type : types)
    if (!type->isChecked()) Tick(type);
  Tick(ui().noteExChordsMajorTriad);  // one of the two set at level 1
  Tick(ui().chordsFirstInversion);
  Tick(ui().chordsSecondInversion);
  Tick(ui().noteExChordsNotaitionChord);
  Tick(ui().showInBassChords);
  ui().GkcChord->SetGkcRange(17, 52);
  Tick(ui().chordsWhiteKeysRadioButton);
  Tick(ui().arpeggiatedChordSound);
  ui().chordDuration->scrollToQuestionValue(3);
  ui().chordDuration->scrollToTimeoutValue(9);
  LeaveByHome();

  const Store after = Snapshot();
  EXPECT_EQ(Keys(Changed(before, after, "Excersises/")), Keys(Changed(before, after, Note)));
  QStringList expected;
  for (const char* key : {"SingleNotes/Cleff/cleff.FClef",
                          "SingleNotes/Diapason/Diapason.Minimum",
                          "SingleNotes/Diapason/Diapason.Maximum",
                          "SingleNotes/Diapason/Chromatic/chromatics.White",
                          "SingleNotes/Duration/Duration.QuestionsValue",
                          "SingleNotes/Duration/Duration.SecondsValue",
                          "Interval/Interval.IntervalStart",
                          "Interval/Interval.IntervalEnd",
                          "Interval/Interval.Arpeggiated",
                          "Interval/Cleff/cleff.GClef",
                          "Interval/Diapason/Diapason.Minimum",
                          "Interval/Diapason/Diapason.Maximum",
                          "Interval/Diapason/Chromatic/chromatics.Black",
                          "Interval/Duration/Duration.QuestionsValue",
                          "Interval/Duration/Duration.SecondsValue",
                          "Chord/Chord.MajorTriad",
                          "Chord/Chord.FirstInversion",
                          "Chord/Chord.SecondInversion",
                          "Chord/Chord.Arpeggiated",
                          "Chord/Chord.ChordNotation",
                          "Chord/Cleff/cleff.GClef",
                          "Chord/Diapason/Diapason.Minimum",
                          "Chord/Diapason/Diapason.Maximum",
                          "Chord/Diapason/Chromatic/chromatics.Black",
                          "Chord/Duration/Duration.QuestionsValue",
                          "Chord/Duration/Duration.SecondsValue"})
    expected << Note + key;
  for (QCheckBox* type : types)
    if (type != ui().noteExChordsMajorTriad && type != ui().noteExChordsMinorTriad)
      expected << Note + "Chord/Chord." + type->objectName().mid(12);
  expected.sort();
  EXPECT_EQ(Keys(Changed(before, after, Note)), Keys(expected));
  EXPECT_EQ(after.value(Note + "SingleNotes/Diapason/Diapason.Minimum").toInt(), 27);
  EXPECT_EQ(after.value(Note + "Interval/Interval.IntervalEnd").toInt(), 8);
  EXPECT_EQ(after.value(Note + "Chord/Chord.MajorTriad").toBool(), false);
}

TEST_F(SettingsNoteControlTest, QuizEditsGoToTheQuizCopyOnly) {
  Open(true);
  ASSERT_NE(panel->lockOverlay(), nullptr);
  EXPECT_TRUE(panel->lockOverlay()->isVisible());
  const Store before = Snapshot();
  ui().noteDuration->scrollToQuestionValue(42);
  Click(ui().noteExTabGeneral);  // the general page is never locked
  EXPECT_FALSE(panel->lockOverlay()->isVisible());
  LeaveByHome();
  EXPECT_EQ(Keys(Changed(before, Snapshot(), "Excersises/")), "");
  EXPECT_EQ(Record().noteTrainer.singleNotes.duration.questions, 42);
}

TEST_F(SettingsNoteControlTest, ClefRadiosBoundTheRangeAtOnceAndReachTheRecordOnLeaving) {
  Open();
  Click(ui().noteExTabChords);
  ui().GkcChord->SetGkcRange(27, 76);
  Tick(ui().showInBassChords);
  const auto range = Range(ui().GkcChord);
  EXPECT_EQ(Bounds(ui().GkcChord), std::make_pair(3, 54));  // the limited bass keys, up to E5
  EXPECT_EQ(range.first, 27);
  EXPECT_LE(range.second, 54);
  EXPECT_TRUE(Record().noteTrainer.chord.cleff.gClef);
  Tick(ui().showInTrebleChords);
  EXPECT_EQ(Bounds(ui().GkcChord), std::make_pair(26, 75));
  Click(ui().noteExTabNotes);
  Tick(ui().showInTrebleNotes);
  EXPECT_EQ(Bounds(ui().Gkc), std::make_pair(26, 88));  // single notes reach the top key
  LeaveByHome();
  EXPECT_FALSE(Record().noteTrainer.chord.cleff.fClef);
  EXPECT_FALSE(Record().noteTrainer.singleNotes.cleff.fClef);
}

// The range used to be set under the clef shown before, which cut it to the old bounds: a
// treble-only page turned level 5's 5..75 into 26..75, stored it, and the level was lost.
TEST_F(SettingsNoteControlTest, ALevelsRangeIsShownWholeWhateverClefThePageShowedBefore) {
  Open();
  Tick(ui().showInTrebleNotes);
  Click(ui().noteExTabGeneral);
  Click(ui().exNoteGeneralArea->findChild<QToolButton*>("Level5"));
  Click(ui().noteExTabNotes);
  EXPECT_TRUE(ui().showInTrebleBassNotes->isChecked());
  EXPECT_EQ(Range(ui().Gkc), std::make_pair(5, 75));
  LeaveByHome();
  EXPECT_EQ(Stored(Note + "SingleNotes/Diapason/Diapason.Minimum").toInt(), 5);
  EXPECT_EQ(Stored(Note + "SingleNotes/Diapason/Diapason.Maximum").toInt(), 75);
  EXPECT_EQ(App()->GetSettings()->GetDifficultyLevel(Core::NoteTrainerExercise), Core::Level5);
}

TEST_F(SettingsNoteControlTest, ARecordOutsideThePresetsIsShownAndStoredBackUnchanged) {
  Open();
  LeaveByHome();  // the panel has shown a clef before
  Core::ExcersisesSettings settings = Record();
  Core::NoteTrainerSettings& note = settings.noteTrainer;
  note.singleNotes.cleff = {false, false};
  note.interval.intervalStart = 0;
  note.interval.intervalEnd = 12;
  note.chord.MinorTriad = false;
  note.chord.Diminished = true;
  note.chord.FirstInversion = note.chord.SecondInversion = false;
  SetRecord(settings);
  Open();

  for (QRadioButton* clef :
       {ui().showInTrebleNotes, ui().showInBassNotes, ui().showInTrebleBassNotes})
    EXPECT_FALSE(clef->isChecked()) << clef->objectName().toStdString();
  EXPECT_EQ(Bounds(ui().Gkc), std::make_pair(26, 54));  // neither clef: treble low to bass high
  int start = 0;
  int end = 0;
  ui().IntervalRange->GetIntervalRange(start, end);
  EXPECT_EQ(std::make_pair(start, end), std::make_pair(0, 13));
  ui().noteDuration->scrollToQuestionValue(note.singleNotes.duration.questions);
  LeaveByHome();
  const Core::NoteTrainerSettings stored = Record().noteTrainer;
  EXPECT_FALSE(stored.singleNotes.cleff.gClef || stored.singleNotes.cleff.fClef);
  EXPECT_EQ(stored.interval.intervalEnd, 12);
  EXPECT_FALSE(stored.chord.FirstInversion || stored.chord.SecondInversion);
  EXPECT_TRUE(stored.chord == note.chord);
}

TEST_F(SettingsNoteControlTest, TheLastChordTypeCannotBeCleared) {
  Core::ExcersisesSettings settings = Record();
  Core::ChordSettings& chord = settings.noteTrainer.chord;
  chord.MajorTriad = chord.MinorTriad = false;
  chord.Diminished = true;
  SetRecord(settings);
  Open();
  Click(ui().noteExTabChords);
  for (QCheckBox* type : ui().chordTypesGrid->findChildren<QCheckBox*>())
    EXPECT_EQ(type->isEnabled(), type != ui().noteExChordsDiminished)
        << type->objectName().toStdString();
  Tick(ui().noteExChordsAugmented);
  EXPECT_TRUE(ui().noteExChordsDiminished->isEnabled());
  Tick(ui().noteExChordsDiminished);
  EXPECT_FALSE(ui().noteExChordsAugmented->isEnabled());
}

TEST_F(SettingsNoteControlTest, TheWindowOpensThePanelOnTheSectionsPageAndShowsItsTab) {
  Open();
  EXPECT_EQ(ui().notesTabStack->currentIndex(), Exercise()->GetExerciseSectionIndex());
  EXPECT_TRUE(ui().noteExTabNotes->isChecked());
  EXPECT_EQ(m_console->GetSettingsNoteControl(2), panel);
  EXPECT_EQ(ui().notesTabStack->currentIndex(), 2);
  EXPECT_TRUE(ui().noteExTabChords->isChecked());
  EXPECT_FALSE(ui().noteExTabNotes->isChecked());
  EXPECT_EQ(panel->CurrentGKC(), ui().GkcChord);
  EXPECT_FALSE(ui().Apply->isVisible());
  Screenshot("note_trainer_chords");
  LeaveByHome();
  Open(true);
  Screenshot("note_trainer_locked_in_quiz");
}

}  // namespace
