// The main window end to end: first start, the home screen's buttons, bars and the difficulty
// dialog, the toolbar in both states, the resume record across a restart, and the screens made
// when first opened.

#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QWindow>

#include <functional>
#include <utility>

#include <algorithm>
#include <climits>

#include "shell_fixture.h"
#include "src/core/catalog/exercise_catalog.h"
#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "src/core/settings/difficulty_presets.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/block_view_control.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/controls/settings_control.h"
#include "src/ui/controls/settings_ear_control.h"
#include "src/ui/difficulty_level_dialog.h"
#include "src/ui/fader_widget.h"
#include "src/ui/message_dialogs.h"
#include "src/ui/progress.h"

namespace {

using Testing::WaitUntil;

// Calls `seen` once, when the window is first put on the screen, before it paints.
class FirstExposure : public QObject {
 public:
  FirstExposure(QWindow* window, std::function<void()> seen)
      : QObject(window), m_seen(std::move(seen)) {
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Expose && m_seen) std::exchange(m_seen, nullptr)();
    return false;
  }

 private:
  std::function<void()> m_seen;
};

class ConsoleTest : public Testing::ShellTest {
 protected:
  // What the window's first paint shows: the screen on the stack and the toolbar's page buttons.
  struct FirstPaint {
    bool seen = false;
    QWidget* screen = nullptr;
    QStringList buttons;
  };

  FirstPaint StartNotingFirstPaint() {
    FirstPaint first;
    StartConsole([&](UI::Console* console) {
      new FirstExposure(console->windowHandle(), [&] {
        first = {true, m_stack->GetCurrentWindow(), ShownPageButtons()};
      });
    });
    return first;
  }
  bool ExerciseScreenMade() const {
    return !m_console->findChildren<UI::ConsoleExerciseControl*>().isEmpty();
  }

  UI::BlockViewControl* Home() const { return m_console->GetBlockViewControl(); }
  UI::ConsoleExerciseControl* ExerciseScreen() const { return m_console->GetExerciseControl(); }
  QPushButton* HomeButton(const char* name) const { return Home()->findChild<QPushButton*>(name); }
  UI::DifficultyLevelDialog* Difficulty() const { return Home()->GetDifficultyLevelDialog(); }
  QAbstractButton* DifficultyButton(const char* name) const {
    return Difficulty()->findChild<QAbstractButton*>(name);
  }
  void SetDifficultyDialog(bool show) const {
    Core::GlobalSettings settings = App()->GetSettings()->globalSettings;
    settings.showDifficultyDialog = show;
    App()->SetGlobalSettings(settings);
  }
  bool DialogShown() const { return Difficulty()->isVisible() && Difficulty()->opacity() == 1.0; }
  bool OnExerciseScreen() const { return FadeDone() && ExerciseScreen()->isVisible(); }

  // The toolbar's buttons that are shown, in toolbar order.
  QStringList ShownPageButtons() const {
    QStringList shown;
    const Ui_Console& ui = m_console->form();
    for (QWidget* button :
         {static_cast<QWidget*>(ui.Home), static_cast<QWidget*>(ui.Exercise),
          static_cast<QWidget*>(ui.Reference), static_cast<QWidget*>(ui.Statistics),
          static_cast<QWidget*>(ui.Settings), static_cast<QWidget*>(ui.Help),
          static_cast<QWidget*>(ui.About)})
      if (button->isVisibleTo(m_console.get())) shown << button->objectName();
    return shown;
  }
};

TEST_F(ConsoleTest, FirstStartFadesInTheHomeScreenWithOnlyHelpAndAbout) {
  // The window is painted first, empty under the home toolbar; the home screen fades in after.
  const FirstPaint first = StartNotingFirstPaint();
  ASSERT_TRUE(first.seen);
  EXPECT_EQ(first.screen, nullptr);
  EXPECT_EQ(first.buttons, (QStringList{"Help", "About"}));
  EXPECT_FALSE(ExerciseScreenMade());
  EXPECT_TRUE(Home()->isVisible());
  EXPECT_TRUE(WaitUntil([&] {
    return ShownPageButtons() == QStringList{"Help", "About"};
  })) << ShownPageButtons().join(",").toStdString();
  EXPECT_FALSE(m_console->form().Mail->isVisible());
  EXPECT_EQ(m_console->size(), QSize(1440, 900));
}

TEST_F(ConsoleTest, AQuizGoesThroughTheDifficultyDialogAndShowsItsToolbar) {
  StartConsole();
  QSignalSpy opened(Home(), &UI::BlockViewControl::OpenExercise);
  Click(HomeButton("Quiz2"));
  ASSERT_TRUE(WaitUntil([&] { return DialogShown(); }));
  EXPECT_TRUE(App()->IsQuizMode());
  EXPECT_FALSE(DifficultyButton("Custom")->isVisible());
  Click(DifficultyButton("Level3"));

  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened[0][0].value<size_t>(), 1u);
  EXPECT_TRUE(opened[0][1].toBool());
  // The quiz copy of the ear trainer's settings is now the third level.
  EXPECT_EQ(Core::MatchDifficultyLevel(App()->GetSettings()->GetExcersiseSettings(),
                                       Core::EarTrainerExercise),
            Core::Level3);
  ASSERT_TRUE(WaitUntil([&] { return OnExerciseScreen() && !Difficulty()->isVisible(); }));
  EXPECT_EQ(ShownPageButtons(),
            (QStringList{"Home", "Exercise", "Statistics", "Settings", "Help", "About"}));
  EXPECT_EQ(m_console->form().Exercise->text(), "Quiz");
  EXPECT_EQ(m_console->form().CaptionText->property("captionStyle").toString(), "earTrainerQuiz");
  EXPECT_EQ(m_console->form().CaptionText->styleSheet(),
            m_console->form().CaptionText->property("earTrainerQuiz").toString());

  // Home hides the page buttons again and stops the quiz.
  Click(m_console->form().Home);
  ASSERT_TRUE(WaitUntil([&] { return FadeDone() && Home()->isVisible(); }));
  EXPECT_TRUE(WaitUntil([&] { return ShownPageButtons() == QStringList{"Help", "About"}; }));
  EXPECT_FALSE(ExerciseScreen()->HasExercise());
}

TEST_F(ConsoleTest, LearnOpensAtOnceWithoutTheDialogAndCloseOpensNothing) {
  StartConsole();
  QSignalSpy opened(Home(), &UI::BlockViewControl::OpenExercise);

  // With the dialog asked for, Close dismisses it and starts nothing.
  Click(HomeButton("Learn1"));
  ASSERT_TRUE(WaitUntil([&] { return DialogShown(); }));
  Click(DifficultyButton("Close"));
  EXPECT_TRUE(WaitUntil([&] { return !Difficulty()->isVisible(); }));
  EXPECT_EQ(opened.size(), 0);
  EXPECT_FALSE(ExerciseScreen()->HasExercise());

  SetDifficultyDialog(false);
  Click(HomeButton("Learn1"));
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened[0][0].value<size_t>(), 0u);
  EXPECT_FALSE(opened[0][1].toBool());
  EXPECT_FALSE(Difficulty()->isVisible());
  ASSERT_TRUE(WaitUntil([&] { return OnExerciseScreen(); }));
  EXPECT_EQ(ShownPageButtons(), (QStringList{"Home", "Exercise", "Reference", "Statistics",
                                             "Settings", "Help", "About"}));
  EXPECT_EQ(m_console->form().Exercise->text(), "Exercise");
}

// A lesson's statistics file may hold counts up to the largest int: the home screen's bars show
// them, all their digits inside the bar.
TEST_F(ConsoleTest, TheHomeBarsShowCountsOfAnySize) {
  const auto statistics = App()->GetExerciseCatalog()->GetExerciseStatistics();
  statistics->AddEntry({1, 0, 0, INT_MAX, INT_MAX});
  statistics->AddEntry({1, 1, 0, 12345, 3});
  StartConsole();
  const struct {
    int trainer, wrong, right;
  } expected[] = {{0, INT_MAX, INT_MAX}, {1, 3, 12345}, {2, 0, 0}};
  // At the design size and in a window half as large.
  for (const char* picture : {"home-large-counts.png", "home-large-counts-small.png"}) {
    for (const auto& e : expected) {
      const Progress* bar = Home()->progressBar(e.trainer);
      EXPECT_EQ(bar->leftValue(), e.wrong) << e.trainer;
      EXPECT_EQ(bar->value(), e.right) << e.trainer;
      const QString number = QString::number(std::max(e.wrong, e.right));
      const Progress::NumberBoxes boxes = Progress::FitNumbers(bar->font(), bar->size(), number);
      EXPECT_LE(2 * boxes.width, bar->width()) << picture << " " << e.trainer;
      EXPECT_LE(QFontMetrics(boxes.font).horizontalAdvance(number), boxes.width) << picture;
      EXPECT_GE(QFontInfo(boxes.font).pixelSize(), 7) << picture;
    }
    const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
    QDir().mkpath(folder);
    EXPECT_TRUE(Home()->grab().save(folder + "/" + picture));
    Home()->resize(Home()->size() / 2);
  }
}

TEST_F(ConsoleTest, LeavingALessonIsResumedAtTheNextStart) {
  StartConsole();
  SetDifficultyDialog(false);
  Click(HomeButton("Learn3"));
  ASSERT_TRUE(WaitUntil([&] { return OnExerciseScreen(); }));
  // Opening the exercise stored "no exercise": a run that ends without the exit starts at home.
  EXPECT_EQ(Stored("ROZazod.LastState").toInt(), 3);

  ExitConsole();
  EXPECT_FALSE(m_console->isVisible());
  EXPECT_EQ(Stored("ROZazod.LastState").toInt(), 2);
  EXPECT_EQ(Stored("ROZazod.ExerciseID").toInt(), 2);

  Restart();
  // The resumed exercise is on the stack before the window's first paint, with its toolbar.
  const FirstPaint first = StartNotingFirstPaint();
  ASSERT_TRUE(first.seen);
  EXPECT_EQ(first.screen, ExerciseScreen());
  EXPECT_EQ(first.buttons, (QStringList{"Home", "Exercise", "Reference", "Statistics", "Settings",
                                        "Help", "About"}));
  ASSERT_TRUE(WaitUntil([&] { return OnExerciseScreen(); }));
  EXPECT_TRUE(ExerciseScreen()->HasExercise());
  EXPECT_EQ(ExerciseScreen()->GetCurrentExerciseId(), 2);
  EXPECT_FALSE(ExerciseScreen()->IsQuiz());
  EXPECT_TRUE(WaitUntil([&] {
    return ShownPageButtons() ==
           QStringList{"Home", "Exercise", "Reference", "Statistics", "Settings", "Help", "About"};
  }));
}

TEST_F(ConsoleTest, AResumeRecordOfNoTrainerStartsAtHome) {
  for (int exerciseId : {3, -2, 1000}) {
    Store("ROZazod.LastState", 2);
    Store("ROZazod.ExerciseID", exerciseId);
    Restart();
    StartConsole();
    EXPECT_TRUE(Home()->isVisible()) << exerciseId;
    EXPECT_FALSE(ExerciseScreen()->HasExercise()) << exerciseId;
  }
}

TEST_F(ConsoleTest, LeavingAQuizStoresNoExercise) {
  StartConsole();
  m_console->OpenExercise(0, true);
  ASSERT_TRUE(WaitUntil([&] { return OnExerciseScreen(); }));
  ExitConsole();
  EXPECT_EQ(Stored("ROZazod.LastState").toInt(), 3);
}

TEST_F(ConsoleTest, PageButtonsSwitchTheExerciseScreensViewOrFadeBackToIt) {
  StartConsole();
  m_console->OpenExercise(1, false);
  ASSERT_TRUE(WaitUntil([&] { return OnExerciseScreen(); }));
  const Ui_Console& ui = m_console->form();
  const QString selected = ui.ToolBar->property("selectedStyle").toString();
  QSignalSpy statistics(m_console.get(), qOverload<UI::Speed>(&UI::Console::showStatistics));
  QSignalSpy reference(m_console.get(), qOverload<UI::Speed>(&UI::Console::showReference));

  Click(ui.Statistics);
  ASSERT_EQ(statistics.size(), 1);
  EXPECT_EQ(statistics[0][0].toInt(), UI::SpeedAnimated);
  EXPECT_FALSE(m_console->Fader()->isFading());
  EXPECT_EQ(ui.Statistics->styleSheet(), selected);

  Click(ui.Settings);
  EXPECT_TRUE(ExerciseScreen()->IsPaused());
  QWidget* panel = m_console->GetSettingsEarControl(0);
  ASSERT_TRUE(WaitUntil([&] { return FadeDone() && panel->isVisible(); }));
  EXPECT_EQ(ui.Settings->styleSheet(), selected);

  Click(ui.Reference);
  ASSERT_EQ(reference.size(), 1);
  EXPECT_EQ(reference[0][0].toInt(), UI::SpeedImmediate);
  ASSERT_TRUE(WaitUntil([&] { return OnExerciseScreen(); }));
  EXPECT_EQ(ui.Reference->styleSheet(), selected);
  EXPECT_NE(ui.Exercise->styleSheet(), selected);
}

TEST_F(ConsoleTest, NoScreenChangesWhileMinimisedAndTheRestoreIsFullScreen) {
  StartConsole();
  QSignalSpy minimized(m_console.get(), &UI::Console::windowMinimized);
  m_console->userMinimizeScreenRequest();
  EXPECT_EQ(minimized.size(), 1);
  const int depth = m_stack->Depth();
  m_console->Show(Home(), true);
  EXPECT_EQ(m_stack->Depth(), depth);
  m_console->setWindowState(Qt::WindowNoState);
  EXPECT_TRUE(WaitUntil([&] { return m_console->isFullScreen(); }));
  m_console->Show(Home(), true);
  EXPECT_EQ(m_stack->Depth(), depth + 1);
}

}  // namespace

namespace {

// The exercise screen and the settings panels are made when the learner first opens one, not with
// the home screen; what the window does before that needs neither.
TEST_F(ConsoleTest, TheExerciseScreenAndASettingsPanelAreMadeWhenFirstOpened) {
  StartConsole();
  m_console->NavigateHome();
  m_console->HideSettings();
  m_console->showMail();
  emit m_console->deviceChange();
  ASSERT_TRUE(WaitUntil([&] { return FadeDone() && Home()->isVisible(); }));
  EXPECT_FALSE(ExerciseScreenMade());
  EXPECT_TRUE(m_console->findChildren<UI::SettingsControl*>().isEmpty());

  m_console->OpenExercise(1, false);
  EXPECT_TRUE(ExerciseScreenMade());
  ASSERT_TRUE(WaitUntil([&] { return OnExerciseScreen(); }));
  m_console->showSettings();
  const QList<UI::SettingsControl*> made = m_console->findChildren<UI::SettingsControl*>();
  ASSERT_EQ(made.size(), 1);
  EXPECT_EQ(made[0], m_console->GetSettingsEarControl(0));
}

// Started with -nofs the full-screen button offers full screen, and it stays where it is when
// full screen hides Minimize, so a second click at the same place leaves full screen again.
TEST_F(ConsoleTest, TheFullScreenButtonShowsTheWayItGoesAndStaysUnderThePointer) {
  StartConsole();
  QToolButton* toggle = m_console->form().FullScreenToggle;
  // The window gives the button its look as it paints, and shows or hides Minimize.
  const auto looks = [toggle](const char* look) {
    return WaitUntil([=] { return toggle->styleSheet() == toggle->property(look).toString(); });
  };
  ASSERT_FALSE(m_console->isFullScreen());
  EXPECT_TRUE(looks("notFullScreenStyle"));
  const QPoint centre = toggle->mapTo(m_console.get(), toggle->rect().center());
  const int fromRight = m_console->width() - centre.x();

  for (bool fullScreen : {true, false}) {
    // The test platform's full screen is narrower than the window; the toolbar keeps to the right.
    const QPoint place(m_console->width() - fromRight, centre.y());
    QWidget* under = m_console->childAt(place);
    ASSERT_EQ(under, toggle) << (under ? qPrintable(under->objectName()) : "nothing");
    QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(m_console.get(), place));
    ASSERT_TRUE(WaitUntil([&] { return m_console->isFullScreen() == fullScreen; }));
    EXPECT_TRUE(looks(fullScreen ? "fullScreenStyle" : "notFullScreenStyle"));
    QCoreApplication::processEvents();  // the toolbar is laid out again
  }
  EXPECT_FALSE(m_console->findChild<UI::AboutDialog*>());
}

}  // namespace
