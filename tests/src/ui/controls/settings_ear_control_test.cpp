// The ear trainer's settings panel in the real main window over the real settings store: every
// control against its key in the settings file, lessons and quizzes, pages, the lock and levels.
#include <QCheckBox>
#include <QDir>
#include <QRadioButton>
#include <QTemporaryFile>

#include "../shell_fixture.h"
#include "src/core/settings/settings_manager.h"
#include "src/core/settings/settings_store.h"
#include "src/ui/block_view_control.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/controls/ear_settings_binding.h"
#include "src/ui/controls/settings_ear_control.h"
#include "src/ui/controls/settings_locked.h"
#include "ui_GeneralSettingsTab.h"
#include "ui_settings_ear_control.h"

namespace {

using Testing::WaitUntil;
using Keys = std::map<std::string, std::string>;

class EarSettingsTest : public Testing::ShellTest {
 protected:
  void SetUp() override {
    Testing::ShellTest::SetUp();
    StartConsole();
    // Made on first use, so it costs the start-up nothing.
    EXPECT_EQ(m_console->findChild<UI::SettingsEarControl*>(), nullptr);
    panel = m_console->GetSettingsEarControl(0);
  }
  Ui_settings_ear_trainer_control& ui() { return panel->form(); }
  Core::EarTrainerSettings Record() const {
    return App()->GetSettings()->GetExcersiseSettings().earTrainer;
  }
  void SetRecord(const Core::EarTrainerSettings& ear) {
    Core::ExcersisesSettings all = App()->GetSettings()->GetExcersiseSettings();
    all.earTrainer = ear;
    App()->SetExcerciseSettings(all);
  }
  bool Shown(QWidget* screen) {
    return WaitUntil([&] { return FadeDone() && screen->isVisible(); });
  }
  // Opens the settings from a running ear-trainer exercise, as the learner does.
  void OpenSettings(bool quiz) {
    App()->SetQuizMode(quiz);
    m_console->OpenExercise(1, quiz);
    ASSERT_TRUE(Shown(m_console->GetExerciseControl()));
    Click(m_console->form().Settings);
    ASSERT_TRUE(Shown(panel));
  }
  void LeaveByHome() {
    Click(m_console->form().Home);
    ASSERT_TRUE(Shown(m_console->GetBlockViewControl()));
  }
  // The trainer and general keys of a settings file: the user's store, or the active records
  // written the way the store writes them.
  Keys Dump(bool active) {
    Stored("ROZazod.LastState");  // makes the next handle read the file
    QSettings user(QSettings::UserScope, "Quorvale", "MelvarinStudio");
    QTemporaryFile file(QDir::tempPath() + "/active-XXXXXX.ini");
    QSettings copy((file.open(), file.fileName()), QSettings::IniFormat);
    Core::SaveSettings(copy, App()->GetSettings()->globalSettings,
                       App()->GetSettings()->GetExcersiseSettings());
    Keys keys;
    QSettings& store = active ? copy : user;
    for (const QString& key : store.allKeys())
      if (key.startsWith("Excersises/") || key.startsWith("GlobalSetting/"))
        keys[key.toStdString()] = store.value(key).toString().toStdString();
    return keys;
  }
  void Set(const QString& key, const QVariant& value) {
    expect["Excersises/" + key.toStdString()] = value.toString().toStdString();
  }
  static void ClickButton(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
  }
  // Clicks the boxes "<prefix><name>", each flipping "<group><key>" (the keys default to the
  // names); the clear ones first, so no check group holds one back.
  void FlipAll(const QString& prefix, const QString& group, const QString& names,
               const QString& keys = QString()) {
    const QStringList boxes = names.split(' ');
    const QStringList flags = (keys.isNull() ? names : keys).split(' ');
    std::vector<QCheckBox*> checked;
    for (int i = 0; i < boxes.size(); ++i) {
      auto* box = panel->findChild<QCheckBox*>(prefix + boxes[i]);
      Set(group + flags[i], !box->isChecked());
      box->isChecked() ? checked.push_back(box) : ClickButton(box);
    }
    for (QCheckBox* box : checked) ClickButton(box);
  }
  void EditDuration(const QString& group, UI::DurationControl* duration, int n) {
    duration->scrollToQuestionValue(n + offset);
    duration->scrollToTimeoutValue(n + offset + 10);
    Set(group + "/Duration/Duration.QuestionsValue", n + offset);
    Set(group + "/Duration/Duration.SecondsValue", n + offset + 10);
  }
  // A page with a key range: the range (from a white key to before a black one, also after
  // `offset` 2), a key-colour radio and the section length.
  void EditRangePage(QToolButton* tab, const QString& group, int page, int low, int high,
                     QRadioButton* colour, bool white, bool black, UI::DurationControl* duration) {
    Click(tab);
    UI::EarKeyRanges(ui())[size_t(page)].selector->SetGkcRange(low + offset, high + offset);
    ClickButton(colour);
    Set(group + "/Diapason/Diapason.Minimum", low + offset);
    Set(group + "/Diapason/Diapason.Maximum", high + offset);
    Set(group + "/Diapason/Chromatic/chromatics.White", white);
    Set(group + "/Diapason/Chromatic/chromatics.Black", black);
    EditDuration(group, duration, 10 + page);
  }
  // Changes every control of the five pages and sets `expect` to the keys that must change.
  void EditEveryControl() {
    EditRangePage(ui().earExTabNotes, "EarTrainer/SingleNotes", 0, 20, 57,
                  ui().notesWhiteKeysRadioButton, true, false, ui().earExNotesDuration);
    EditRangePage(ui().earExTabIntervals, "EarTrainer/Interval", 1, 27, 45,
                  ui().intervalsBlackKeysRadioButton, false, true, ui().earExIntervalsDuration);
    ui().IntervalRange->SetIntervalRange(0, 1);  // unison alone
    Set("EarTrainer/Interval/Interval.IntervalStart", 0);
    Set("EarTrainer/Interval/Interval.IntervalEnd", 0);
    ClickButton(ui().simultaneousIntervalSound);
    Set("EarTrainer/Interval/Interval.Arpeggiated", false);

    EditRangePage(ui().earExTabChords, "EarTrainer/Chord", 2, 15, 52,
                  ui().chordsWhiteKeysRadioButton, true, false, ui().earExChordsDuration);
    FlipAll("earExChords", "EarTrainer/Chord/Chord.",
            "MajorTriad MinorTriad MajorSixth MinorSixth MajorSeventh MinorSeventh "
            "DominantSeventh Suspended2 Suspended4 SuspendedSixth2 SuspendedSixth4 "
            "SuspendedSeventh2 SuspendedSeventh4 Augmented AugmentedSixth AugmentedSeventh "
            "Diminished DiminishedSeventh FirstInversion SecondInversion");
    ClickButton(ui().arpeggiatedChordSound);
    Set("EarTrainer/Chord/Chord.Arpeggiated", true);

    EditRangePage(ui().earExTabScales, "EarTrainer/Scales", 3, 32, 57,
                  ui().scalesBlackAndWhiteKeysRadioButton, true, true, ui().earExScalesDuration);
    FlipAll("earExScales", "EarTrainer/Scales/Scales.",
            "Major NaturalMinor PentatonicMajor PentatonicMinor HormanicMinor MelodicMinor "
            "Diminished Blues Augmented Wholetone",
            "NaturalMaj NaturalMin PentatonicMaj PentatonicMin Harmonic MelodicMin Diminished "
            "Blues Augmented WholeTone");
    ClickButton(ui().earExScalesDescending);
    Set("EarTrainer/Scales/Scales.Ascending", false);
    Set("EarTrainer/Scales/Scales.Descending", true);

    Click(ui().earExTabTempo);
    FlipAll("earExTempo", "EarTrainer/Tempo/Tempo.",
            "Largo Adagio Andante Allegro Moderato Presto Vivace");
    EditDuration("EarTrainer/Tempo", ui().earExTempoDuration, 20);

    // The wrong-answer policy is the one record that all three trainers share.
    Click(ui().earExTabGeneral);
    ClickButton(ui().exEarGeneralArea->form().pauseAfterMistake);
    Set("NoteTrainer/OnWrongAnswerPolicy/Settings.WrongAnswerPolicy.Continue", false);
  }
  // Fields without a control, set away from every level so that a write would show.
  void SetUnshownFields() {
    Core::EarTrainerSettings ear = Record();
    ear.chord.ChordNotation = true;
    ear.scales.ApplyDifferentScaleModes = !ear.scales.ApplyDifferentScaleModes;
    ear.tempo.Prestissimo = !ear.tempo.Prestissimo;
    ear.singleNotes.cleff.gClef = ear.interval.cleff.fClef = false;
    ear.chord.cleff.gClef = ear.scales.cleff.fClef = false;
    SetRecord(ear);
  }
  // Every key keeps its value unless `changes` gives it a new one.
  static void ExpectChanged(Keys before, const Keys& after, const Keys& changes) {
    for (const auto& [key, value] : changes) before[key] = value;
    EXPECT_EQ(after, before);
  }
  bool Screenshot(const QString& name) {
    return QDir().mkpath("screenshots") && m_console->grab().save("screenshots/" + name + ".png");
  }

  // The stored keys are compared whole, the input device's name among them: no keyboard.
  Testing::NoMidiSources noKeyboard;
  UI::SettingsEarControl* panel = nullptr;
  Keys expect;
  int offset = 0;
};

TEST_F(EarSettingsTest, LeavingALessonStoresExactlyTheEarTrainersKeys) {
  SetUnshownFields();
  const Keys before = Dump(false);
  OpenSettings(false);
  EXPECT_EQ(ui().earStackedTabs->currentWidget(), ui().exEarSingleNotesArea);  // section 0
  EditEveryControl();
  for (QWidget* selector : panel->findChildren<UI::RangeControlBase*>())  // laid out, on show
    EXPECT_GT(selector->height(), 100) << selector->objectName().toStdString();
  Click(ui().earExTabScales);
  EXPECT_TRUE(Screenshot("ear_settings_scales"));
  LeaveByHome();
  ExpectChanged(before, Dump(false), expect);
  EXPECT_EQ(m_console->GetSettingsEarControl(3), panel);  // the main window's path for section 3
  EXPECT_EQ(ui().earStackedTabs->currentWidget(), ui().exEarScales);
}

// The program closed from the panel keeps what was set on it, as leaving the panel for another
// screen does: a trainer page's question count, and the general page's answer input.
TEST_F(EarSettingsTest, ClosingTheProgramFromThePanelKeepsItsChanges) {
  OpenSettings(false);
  ASSERT_EQ(ui().earStackedTabs->currentWidget(), ui().exEarSingleNotesArea);
  const int questions = Record().singleNotes.duration.questions - 5;
  ASSERT_TRUE(ui().earExNotesDuration->scrollToQuestionValue(questions));
  Click(ui().earExTabGeneral);
  ClickButton(panel->findChild<QRadioButton*>("useMultiChoiceNotes_3"));  // "Use Both"
  ExitConsole();
  EXPECT_EQ(Stored("Excersises/EarTrainer/SingleNotes/Duration/Duration.QuestionsValue").toInt(),
            questions);
  EXPECT_TRUE(Stored("GlobalSetting/Settings.Answer.GKC").toBool());
  EXPECT_TRUE(Stored("GlobalSetting/Settings.Answer.MultipleChoice").toBool());
}

TEST_F(EarSettingsTest, LeavingAQuizChangesOnlyTheQuizCopy) {
  SetUnshownFields();  // the lesson copy, stored
  App()->SetQuizMode(true);
  App()->GetSettings()->SetDifficultyLevel(Core::EarTrainerExercise, Core::Level1);
  SetUnshownFields();  // the quiz copy
  const Keys stored = Dump(false);
  const Keys active = Dump(true);
  OpenSettings(true);
  offset = 2;
  EditEveryControl();
  Click(ui().earExTabChords);
  EXPECT_TRUE(Screenshot("ear_settings_locked_quiz"));
  LeaveByHome();
  ExpectChanged(stored, Dump(false), Keys());
  ExpectChanged(active, Dump(true), expect);
}

TEST_F(EarSettingsTest, APageChecksOnlyItsTabAndTheLockCoversTrainerPagesOnly) {
  OpenSettings(true);
  QToolButton* tabs[] = {ui().earExTabNotes,  ui().earExTabIntervals, ui().earExTabChords,
                         ui().earExTabScales, ui().earExTabTempo,     ui().earExTabGeneral};
  // Pages the stack does not have open the nearest one, so the lock always matches the page.
  for (int page : {4, 5, 0, 3, -1, 9}) {
    panel->SetPage(page);
    const int shown = std::clamp(page, 0, 5);
    EXPECT_EQ(ui().earStackedTabs->currentIndex(), shown) << page;
    for (int tab = 0; tab < 6; ++tab) EXPECT_EQ(tabs[tab]->isChecked(), tab == shown) << page;
    EXPECT_EQ(panel->lockOverlay()->isVisible(), shown != 5) << page;
  }
  // A panel built for a later main window opens on Single Notes and is locked like the first.
  UI::SettingsEarControl second(nullptr);
  EXPECT_TRUE(second.form().earExTabNotes->isChecked());
  second.setQuizMode(true);
  second.show();
  ASSERT_NE(second.lockOverlay(), nullptr);
  EXPECT_TRUE(second.lockOverlay()->isVisible());
}

TEST_F(EarSettingsTest, RecordsShowAsTheyAreAndUnshownFieldsComeBackWhole) {
  Core::EarTrainerSettings ear = Record();
  ear.interval.intervalStart = 0;
  ear.interval.intervalEnd = 12;
  for (const auto& entry : UI::ChordTypeBoxes(ui()))  // one chord type left
    ear.chord.*(entry.flag) = entry.box == ui().earExChordsMinorTriad;
  for (const auto& entry : UI::TempoBoxes(ui())) ear.tempo.*(entry.flag) = false;
  ear.tempo.Prestissimo = true;
  // Key colours and directions (white or ascending, black or descending) to the radio shown.
  for (auto [first, second, colour, direction] :
       {std::tuple(true, false, ui().notesWhiteKeysRadioButton, ui().earExScalesAscending),
        std::tuple(false, true, ui().notesBlackKeysRadioButton, ui().earExScalesDescending),
        std::tuple(true, true, ui().notesBlackAndWhiteKeysRadioButton,
                   ui().earExScalesAscendingDescending)}) {
    ear.singleNotes.diapason.chromatic = {first, second};
    ear.scales.Ascending = first;
    ear.scales.Descending = second;
    SetRecord(ear);
    panel->Data2Gui();
    EXPECT_TRUE(colour->isChecked() && direction->isChecked()) << first << second;
  }
  int start = 0, end = 0;
  ui().IntervalRange->GetIntervalRange(start, end);
  EXPECT_EQ(std::make_pair(start, end), std::make_pair(0, 13));
  for (const auto& entry : UI::ChordTypeBoxes(ui()))
    EXPECT_EQ(entry.box->isEnabled(), entry.box != ui().earExChordsMinorTriad);
  for (const auto& entry : UI::TempoBoxes(ui())) EXPECT_TRUE(entry.box->isEnabled());

  ear.scales.Ascending = ear.scales.Descending = false;  // no radio: the one shown stays
  SetRecord(ear);
  panel->Data2Gui();
  panel->Gui2Data();
  EXPECT_TRUE(Record().scales.Ascending && Record().scales.Descending);
}

TEST_F(EarSettingsTest, ALevelRedrawsEveryPage) {
  OpenSettings(false);
  Click(ui().earExTabGeneral);
  Click(ui().exEarGeneralArea->form().Level5);
  EXPECT_TRUE(ui().earExTempoVivace->isChecked() && ui().earExChordsDiminishedSeventh->isChecked());
  EXPECT_EQ(ui().earExScalesDuration->selectedTimeoutIndex(), 0);  // untimed
  LeaveByHome();  // stores what the pages show: all of level 5
  EXPECT_EQ(App()->GetSettings()->GetDifficultyLevel(Core::EarTrainerExercise), Core::Level5);
}

}  // namespace
