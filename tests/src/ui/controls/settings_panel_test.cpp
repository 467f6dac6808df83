// The settings panel base and the general page, driven through a small panel over the real
// settings manager and sound controller, with the settings file read back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QRadioButton>
#include <QTest>

#include <memory>
#include <vector>

#include "../../core/midi/platform/jack_test_support.h"
#include "../shell_fixture.h"
#include "../shown_text.h"
#include "src/core/midi/platform/sound_controller.h"
#include "src/core/settings/instrument_table.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/controls/device_box_view.h"
#include "src/ui/controls/settings_locked.h"
#include "test_panel.h"
#include "ui_GeneralSettingsTab.h"

namespace {

const QString Policy = "Excersises/NoteTrainer/OnWrongAnswerPolicy/";

class SettingsPanelTest : public Testing::ShellTest {
 protected:
  void SetUp() override {
    Testing::ShellTest::SetUp();
    m_stack = std::make_unique<UI::WindowStackManager>();
    App()->setWindowStackManager(m_stack.get());
  }
  void TearDown() override {
    panel.reset();
    App()->setWindowStackManager(nullptr);
    Testing::ShellTest::TearDown();
  }
  // Opens the panel as the main window does: page first, then the quiz flag, then the show.
  void Open(int page, bool quiz) {
    App()->SetQuizMode(quiz);
    if (!panel) {
      panel = std::make_unique<Testing::TestPanel>();
      panel->resize(1440, 900);
    }
    panel->SetPage(page);
    panel->setQuizMode(quiz);
    m_stack->Show(panel.get(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
  }
  // The main window opens a panel on a trainer page; the learner then picks the general tab,
  // which commits the trainer pages.
  void OpenGeneral(bool quiz) {
    Open(0, quiz);
    Click(panel->generalTab);
  }
  // Leaves the panel as the main window does.
  void Leave() {
    panel->hide();
    panel->Gui2Data();
  }
  Ui_GeneralSettingsTab& page() { return panel->general->form(); }
  // The colour of the tab strip's top-left area, as it is painted.
  QRgb TabColour() {
    return panel->grab().toImage().pixel(panel->tabs->mapTo(panel.get(), QPoint(40, 10)));
  }

  std::unique_ptr<Testing::TestPanel> panel;
};

TEST_F(SettingsPanelTest, AQuizLocksTheTrainerPagesAndLeavesTheGeneralPageOpen) {
  Open(0, false);
  const QRgb open = TabColour();
  panel->hide();
  EXPECT_EQ(panel->lockOverlay(), nullptr);  // outside a quiz no overlay is ever made

  Open(0, true);
  UI::SettingsLocked* overlay = panel->lockOverlay();
  ASSERT_NE(overlay, nullptr);
  EXPECT_TRUE(overlay->isVisible());
  EXPECT_EQ(overlay->message()->text(), "Settings cannot be changed in a quiz mode.");
  EXPECT_EQ(overlay->geometry(), panel->pages->geometry());
  EXPECT_FALSE(overlay->isWindow());
  const QRgb dark = TabColour();
  EXPECT_LT(qGray(dark), qGray(open));

  Click(panel->generalTab);
  EXPECT_FALSE(overlay->isVisible());
  EXPECT_EQ(TabColour(), open);
  Click(panel->trainerTab);
  EXPECT_TRUE(overlay->isVisible());
  EXPECT_EQ(TabColour(), dark);
  panel->hide();

  Open(0, false);
  EXPECT_FALSE(overlay->isVisible());
  EXPECT_EQ(TabColour(), open);
}

TEST_F(SettingsPanelTest, APanelHandsBackTheWholeRecordAndAQuizCopyIsNeverStored) {
  Core::ExcersisesSettings settings = App()->GetSettings()->GetExcersiseSettings();
  settings.noteTrainer.singleNotes.duration = {0, 7};
  settings.noteTrainer.chord.diapason.minimum = 30;
  settings.noteTrainer.onWrongAnswer.delay = 2000;  // not one of the waits offered
  App()->SetExcerciseSettings(settings);

  Open(0, false);
  EXPECT_EQ(page().delayTime->currentIndex(), -1);
  EXPECT_EQ(panel->duration->timeoutBox()->text(), "Untimed");
  panel->range->SetGkcRange(3, 88);
  Leave();
  EXPECT_EQ(Stored("Excersises/NoteTrainer/SingleNotes/Duration/Duration.SecondsValue").toInt(), 0);
  EXPECT_EQ(Stored("Excersises/NoteTrainer/SingleNotes/Diapason/Diapason.Maximum").toInt(), 88);
  EXPECT_EQ(Stored("Excersises/NoteTrainer/SingleNotes/Diapason/Diapason.Minimum").toInt(), 3);
  EXPECT_EQ(Stored("Excersises/NoteTrainer/Chord/Diapason/Diapason.Minimum").toInt(), 30);
  EXPECT_EQ(Stored(Policy + "Settings.WrongAnswerPolicy.Delay").toInt(), 2000);

  Open(0, true);
  panel->duration->scrollToQuestionValue(42);
  Leave();
  EXPECT_EQ(App()->GetSettings()->GetExcersiseSettings().noteTrainer.singleNotes.duration.questions,
            42);
  EXPECT_EQ(Stored("Excersises/NoteTrainer/SingleNotes/Duration/Duration.QuestionsValue").toInt(),
            7);
}

TEST_F(SettingsPanelTest, TheGeneralPageStoresTheWrongAnswerPolicyAndTheInstrument) {
  OpenGeneral(false);
  Click(page().pauseAfterMistake);
  EXPECT_FALSE(page().delayTime->isEnabled());
  Click(page().autoContinue);
  EXPECT_TRUE(page().delayTime->isEnabled());
  page().delayTime->setCurrentIndex(1);
  page().playbackInstrument->setCurrentIndex(21);
  EXPECT_EQ(page().playbackInstrument->currentText(), "Violin");
  Leave();
  EXPECT_EQ(Stored(Policy + "Settings.WrongAnswerPolicy.Delay").toInt(), 3000);
  EXPECT_TRUE(Stored(Policy + "Settings.WrongAnswerPolicy.Continue").toBool());
  EXPECT_EQ(Stored("GlobalSetting/Settings.MidiInstrument").toInt(), 21);
  EXPECT_EQ(Core::InstrumentProgram(App()->GetSettings()->globalSettings.midiInstrument), 40);

  // Both answer flags off show the buttons, and storing sets only their flag.
  Core::GlobalSettings global = App()->GetSettings()->globalSettings;
  global.answerGkc = global.answerMultipleChoice = false;
  App()->SetGlobalSettings(global);
  OpenGeneral(false);
  EXPECT_TRUE(page().useMultiChoiceNotes_2->isChecked());
  Click(page().pauseAfterMistake);
  Leave();
  EXPECT_FALSE(Stored(Policy + "Settings.WrongAnswerPolicy.Continue").toBool());
  EXPECT_FALSE(Stored("GlobalSetting/Settings.Answer.GKC").toBool());
  EXPECT_TRUE(Stored("GlobalSetting/Settings.Answer.MultipleChoice").toBool());
}

TEST_F(SettingsPanelTest, RowsFollowTheTrainerAndTheQuiz) {
  Core::GlobalSettings global = App()->GetSettings()->globalSettings;
  global.showDifficultyDialog = true;
  App()->SetGlobalSettings(global);
  OpenGeneral(true);
  EXPECT_FALSE(page().DifficultyLevelRow->isVisible());
  EXPECT_FALSE(page().DifficultyOnStartup->isVisible());
  EXPECT_TRUE(page().MidiDeviceRow->isVisible());
  EXPECT_TRUE(page().AnswerTypeRow->isVisible());
  page().DifficultyOnStartup->setChecked(false);
  Leave();
  EXPECT_TRUE(Stored("GlobalSetting/Settings.ShowDifficultyDialog").toBool());

  panel->general->setExerciseType(Core::SheetMusicSymbolsExercise);
  OpenGeneral(false);
  EXPECT_TRUE(page().DifficultyLevelRow->isVisible());
  EXPECT_FALSE(page().MidiDeviceRow->isVisible());
  EXPECT_FALSE(page().MidiDeviceUnderline->isVisible());
  EXPECT_FALSE(page().AnswerTypeRow->isVisible());
  EXPECT_FALSE(page().AnswerTypeUnderline->isVisible());
}

TEST_F(SettingsPanelTest, ALevelIsAppliedToEveryPageAtOnce) {
  OpenGeneral(false);
  Click(page().Level3);
  EXPECT_TRUE(page().Level3->isChecked());
  EXPECT_FALSE(page().Level1->isChecked());
  EXPECT_EQ(App()->GetSettings()->GetDifficultyLevel(Core::NoteTrainerExercise), Core::Level3);
  int low = 0;
  int high = 0;
  panel->range->GetGkcRange(low, high);
  const Core::NotesDiapason& preset =
      App()->GetSettings()->GetExcersiseSettings().noteTrainer.singleNotes.diapason;
  EXPECT_EQ(std::make_pair(low, high), std::make_pair(preset.minimum, preset.maximum));
  // Edited by hand so that no preset matches: no level is shown at the next show.
  panel->duration->scrollToQuestionValue(1);
  panel->range->SetGkcRange(0, 88);
  Leave();
  OpenGeneral(false);
  for (QToolButton* level :
       {page().Level1, page().Level2, page().Level3, page().Level4, page().Level5})
    EXPECT_FALSE(level->isChecked());
}

class DeviceBoxTest : public SettingsPanelTest {
 protected:
  // Three MIDI sources on the JACK server, which the sound controller finds as input devices.
  void PlugKeyboards() {
    MELVARIN_REQUIRE_JACK();
    Restart();
    auto controller = App()->GetSoundController();
    if (!Testing::WaitUntil([&] { return !controller->UpdateDevices(); }, Testing::PatienceMs) ||
        controller->GetInputMidiDeviceCount() != 0)
      GTEST_SKIP() << "The JACK server has MIDI sources of other programs.";
    for (const char* name : {"Melvarin Keys A", "Melvarin Keys B", "Melvarin Keys C"}) {
      keyboards.push_back(std::make_unique<Testing::JackKeyboard>(name));
      ASSERT_TRUE(keyboards.back()->IsOpen());
    }
    ASSERT_TRUE(Testing::WaitUntil([&] {
      controller->UpdateDevices();
      return controller->GetInputMidiDeviceCount() == 3;
    }));
    for (unsigned long i = 0; i < 3; ++i) names << controller->GetInputMidiDevice(i)->GetName();
  }
  QString Shown(int i) const { return "Using the " + names[i] + " keyboard device."; }
  UI::DeviceBoxView* box() { return page().DeviceBox; }
  static QString Says(const UI::DeviceBoxView* box) {
    return Testing::ShownIn(box->findChild<QLabel*>("lblMidiDevice")).all;
  }

  std::vector<std::unique_ptr<Testing::JackKeyboard>> keyboards;
  QStringList names;
};

TEST_F(DeviceBoxTest, ArrowsStepThroughTheDevicesAndLeavingSelectsTheOneShown) {
  PlugKeyboards();
  if (IsSkipped() || HasFatalFailure()) return;
  App()->GetSoundController()->SelectInputMidiDevice(names[1]);
  OpenGeneral(false);
  EXPECT_EQ(Says(box()), Shown(1));
  EXPECT_TRUE(box()->arrowsShown());
  box()->on_nextMidiDeviceUp_clicked();
  EXPECT_EQ(Says(box()), Shown(2));
  box()->on_nextMidiDeviceUp_clicked();
  EXPECT_EQ(Says(box()), Shown(0));
  box()->on_nextMidiDeviceDown_clicked();
  EXPECT_EQ(Says(box()), Shown(2));
  // The boxes of the other panels show the same device.
  UI::DeviceBoxView other;
  other.show();
  EXPECT_EQ(Says(&other), Shown(2));
  Leave();
  EXPECT_EQ(Stored("GlobalSetting/Settings.InputDevice").toString(), names[2]);
  EXPECT_EQ(App()->GetSoundController()->GetSelectedInputMidiDevice(), 2u);
}

// A device's name is its own: the box shows every character of it as the device gives it, in
// bold, whatever markup or spacing it holds; from a keyboard on the server as from the list.
TEST_F(DeviceBoxTest, ADevicesNameIsShownAsTheDeviceGivesIt) {
  MELVARIN_REQUIRE_JACK();
  Restart();
  auto controller = App()->GetSoundController();
  Testing::JackKeyboard keyboard("Gam<i>ma</i> & Co");
  ASSERT_TRUE(keyboard.IsOpen());
  const QString port = QString::fromStdString(keyboard.Name());
  ASSERT_TRUE(Testing::WaitUntil([&] {
    controller->UpdateDevices();
    return controller->SelectInputMidiDevice(port);
  }));
  OpenGeneral(false);
  const QLabel* label = box()->findChild<QLabel*>("lblMidiDevice");
  const Testing::ShownText onPage = Testing::ShownIn(label);
  EXPECT_EQ(onPage.all, "Using the " + port + " keyboard device.");
  EXPECT_EQ(onPage.bold, port);
  EXPECT_EQ(onPage.italic, "");
  // Longer than the box is wide, the words go on in the next line instead of being cut off.
  QCoreApplication::processEvents();
  EXPECT_LE(label->heightForWidth(label->width()), label->height());
  EXPECT_LE(label->minimumSizeHint().width(), label->width());

  const QString names[] = {"Gam<i>ma</i> & Co",
                           "Keys  with   runs of spaces",
                           "&lt;b&gt; &amp; <br> <!-- -->",
                           "Two\nlines",
                           " edges ",
                           "%1 %2"};
  for (const QString& name : names) {
    QVector<QString> list{name};
    box()->fillDeviceList(list, 0);
    const Testing::ShownText shown = Testing::ShownIn(box()->findChild<QLabel*>("lblMidiDevice"));
    EXPECT_EQ(shown.all, "Using the " + name + " keyboard device.") << name.toStdString();
    EXPECT_EQ(shown.bold, name) << name.toStdString();
    EXPECT_EQ(UI::DeviceBoxView::DeviceName, name);
  }
}

TEST_F(SettingsPanelTest, WithoutDevicesTheBoxSaysSoAndHasNoArrows) {
  UI::DeviceBoxView box;
  QVector<QString> none;
  box.fillDeviceList(none, -1);
  EXPECT_EQ(box.shownText(), "No MIDI device plugged in.");
  EXPECT_FALSE(box.arrowsShown());
  EXPECT_TRUE(UI::DeviceBoxView::DeviceName.isEmpty());
}

}  // namespace
