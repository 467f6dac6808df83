// The section-end dialog: the count-up stepped through its own ticks for each kind of score, the
// keys that continue while it runs, and its stepping aside for other screens.

#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "src/ui/application.h"
#include "src/ui/progress.h"
#include "src/ui/section_end_dialog.h"
#include "src/ui/window_stack_manager.h"
#include "support/patience.h"

namespace {

class SectionEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application::instance()->setWindowStackManager(&m_stack);
    m_screen.resize(1440, 900);
    m_screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_screen));
    m_dialog = std::make_unique<UI::SectionEndDialog>(&m_screen, m_screen.rect(), 0.0, 0.96, false);
  }
  void TearDown() override {
    m_dialog.reset();
    Application::instance()->setWindowStackManager(nullptr);
  }
  QString Score() const { return m_dialog->findChild<QLabel*>("CountDown")->text(); }
  Progress* Bar() const { return m_dialog->findChild<Progress*>("progress"); }
  // The panel's and the number's looks by the names of their style properties.
  bool Looks(const char* panel, const char* number) const {
    const QWidget* widget = m_dialog->findChild<QWidget*>("widget");
    return widget->styleSheet() == widget->property(panel).toString() &&
           m_dialog->findChild<QLabel*>("CountDown")->styleSheet() ==
               m_dialog->property(number).toString();
  }
  // Runs the count-up to its end; the number of ticks it took.
  int CountUp(QStringList* shown = nullptr) {
    int ticks = 0;
    while (m_dialog->countingUp() && ticks < 100) {
      m_dialog->countUpTick();
      ++ticks;
      if (shown) *shown << Score();
    }
    return ticks;
  }
  bool FadedIn() const { return m_dialog->isVisible() && m_dialog->opacity() > 0.95; }

  UI::WindowStackManager m_stack;
  QWidget m_screen;
  std::unique_ptr<UI::SectionEndDialog> m_dialog;
};

TEST_F(SectionEndTest, CountsUpToTheScoreAndColoursIt) {
  const struct {
    int wrong, correct;
    const char *score, *halfway;
    const char* panel;
    const char* number;
  } cases[] = {
      {3, 7, "70%", "35%", "red", "WrongNumberStyle"},
      {1, 9, "90%", "45%", "green", "CorrectNumberStyle"},
      {2, 18, "90%", "45%", "green", "CorrectNumberStyle"},
      {1, 8, "88%", "44%", "red", "WrongNumberStyle"},
      {0, 0, "0%", "0%", "white", "RegularNumberStyle"},
  };
  for (const auto& c : cases) {
    m_dialog->setScore(c.wrong, c.correct);
    EXPECT_EQ(Bar()->maximum(), std::max(c.wrong, c.correct) * 1000);
    m_dialog->showAnimated();
    EXPECT_EQ(Score(), "0%");
    EXPECT_TRUE(Looks("white", "RegularNumberStyle"));
    QStringList shown;
    EXPECT_EQ(CountUp(&shown), 21) << c.score;
    EXPECT_EQ(shown.back(), c.score);
    EXPECT_TRUE(Looks(c.panel, c.number)) << c.score;
    EXPECT_EQ(Bar()->leftValue(), c.wrong * 1000);
    EXPECT_EQ(Bar()->value(), c.correct * 1000);
    EXPECT_EQ(shown[10], c.halfway);
  }
}

TEST_F(SectionEndTest, EscapeContinuesAtOnceWhileTheCountUpEndsBehind) {
  QSignalSpy continued(m_dialog.get(), &UI::SectionEndDialog::Continue);
  QSignalSpy timeout(m_dialog.get(), &UI::SectionEndDialog::SectionEndTimeout);
  QSignalSpy closed(m_dialog.get(), &UI::BaseDialog::DialogClosed);
  m_dialog->setScore(3, 7);
  m_dialog->showAnimated();
  for (int tick = 0; tick < 5; ++tick) m_dialog->countUpTick();
  QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
  EXPECT_EQ(continued.size(), 1);
  EXPECT_EQ(Score(), "0%");
  EXPECT_EQ(CountUp(), 16);
  EXPECT_EQ(timeout.size(), 1);
  m_dialog->postponedFadeSlot();  // Continue's own fade, due while Escape's fade-out runs
  EXPECT_EQ(closed.size(), 0);
  ASSERT_TRUE(closed.wait(Testing::PatienceMs));
  EXPECT_FALSE(m_dialog->isVisible());
  EXPECT_EQ(closed.size(), 1) << "closed once";
}

TEST_F(SectionEndTest, StepsAsideForOtherScreensAndReturnsOnlyFromSettings) {
  QSignalSpy closed(m_dialog.get(), &UI::BaseDialog::DialogClosed);
  const QString exercise = "console_exercise_control";
  m_dialog->setScore(1, 9);
  m_dialog->showAnimated();
  CountUp();
  ASSERT_TRUE(QTest::qWaitFor([&] { return FadedIn(); }, Testing::PatienceMs));
  emit m_stack.screenChange("note_settings_panel", exercise);
  ASSERT_TRUE(closed.wait(Testing::PatienceMs));
  emit m_stack.screenChange(exercise, "note_settings_panel");
  EXPECT_TRUE(m_dialog->isVisible());
  EXPECT_EQ(Score(), "90%") << "the last score, not a new count-up";
  EXPECT_FALSE(m_dialog->countingUp());
  ASSERT_TRUE(QTest::qWaitFor([&] { return FadedIn(); }, Testing::PatienceMs));

  emit m_stack.screenChange("ex_block_view_control", exercise);
  ASSERT_TRUE(closed.wait(Testing::PatienceMs));
  emit m_stack.screenChange(exercise, "ex_block_view_control");
  EXPECT_FALSE(m_dialog->isVisible()) << "not back from the home screen";

  m_dialog->show();
  m_dialog->hide();
  ASSERT_TRUE(closed.wait(Testing::PatienceMs));
  emit m_stack.screenChange(exercise, "note_settings_panel");
  EXPECT_FALSE(m_dialog->isVisible()) << "taken down for good";
}

}  // namespace
