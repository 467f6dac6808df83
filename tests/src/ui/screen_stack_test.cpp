// The screen stack and the cross-fader: the order of the screen-change signal, a fade of 700 ms
// that hides both screens and paints each only once, the picture taken again after a resize, and
// the focus on the new screen at the end.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "src/ui/fader_widget.h"
#include "src/ui/window_stack_manager.h"
#include "support/patience.h"

namespace {

// A screen that counts how often it is painted.
class CountingScreen : public QWidget {
 public:
  explicit CountingScreen(const char* name) {
    setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet("background: rgb(40, 80, 120);");
  }
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent* event) override {
    ++paints;
    QWidget::paintEvent(event);
  }
};

class ScreenStackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_window.resize(1440, 900);
    auto* layout = new QVBoxLayout(&m_window);
    layout->setContentsMargins(0, 0, 0, 0);
    m_fader = new UI::FaderWidget(nullptr);
    layout->addWidget(m_fader);
    for (CountingScreen* screen : {&m_a, &m_b}) {
      screen->setParent(&m_window);
      screen->hide();
    }
    m_window.show();
    QApplication::setActiveWindow(&m_window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
  }
  bool Done() const { return !m_fader->isFading(); }
  bool WaitForFade() {
    return QTest::qWaitFor([this] { return Done(); }, Testing::PatienceMs);
  }

  QWidget m_window;
  UI::FaderWidget* m_fader = nullptr;
  CountingScreen m_a{"A"};
  CountingScreen m_b{"B"};
  UI::WindowStackManager m_stack;
};

TEST_F(ScreenStackTest, AFadeHidesBothScreensFor700MsAndFocusesTheNewOne) {
  QSignalSpy changes(&m_stack, &UI::WindowStackManager::screenChange);
  m_stack.Show(&m_a, m_fader);
  EXPECT_EQ(changes.size(), 0);
  ASSERT_TRUE(WaitForFade());
  EXPECT_TRUE(m_a.isVisible());

  const int paintsBefore = m_a.paints + m_b.paints;
  QElapsedTimer clock;
  clock.start();
  m_stack.Show(&m_b, m_fader);
  ASSERT_EQ(changes.size(), 1);
  EXPECT_EQ(changes[0][0].toString(), "B");
  EXPECT_EQ(changes[0][1].toString(), "A");
  // Each screen is pictured once as the fade starts; while it runs only the fader paints.
  EXPECT_EQ(m_a.paints + m_b.paints, paintsBefore + 2);
  bool bothHidden = true;
  while (!Done() && clock.elapsed() < Testing::PatienceMs) {
    bothHidden = bothHidden && !m_a.isVisible() && !m_b.isVisible();
    QTest::qWait(20);
  }
  EXPECT_TRUE(bothHidden);
  // Never shorter than its length; a busy machine may make it longer.
  EXPECT_EQ(m_fader->fadeDuration(), 700);
  EXPECT_GE(clock.elapsed(), 700);
  EXPECT_TRUE(m_b.isVisible());
  EXPECT_FALSE(m_a.isVisible());
  EXPECT_TRUE(m_b.hasFocus());
  EXPECT_EQ(m_stack.GetCurrentWindow(), &m_b);
  EXPECT_EQ(m_stack.GetPreviousWindow(), &m_a);
}

TEST_F(ScreenStackTest, ThePicturesOfAFadeAreLetGoWhenItEnds) {
  m_stack.Show(&m_a, m_fader);
  EXPECT_TRUE(m_fader->holdsPictures());
  ASSERT_TRUE(WaitForFade());
  EXPECT_FALSE(m_fader->holdsPictures());
  m_fader->fadeToWidgetWOSnapshot(&m_b);  // from nothing
  EXPECT_TRUE(m_fader->holdsPictures());
  m_fader->switchToWidget(&m_a);  // an end at once
  EXPECT_FALSE(m_fader->holdsPictures());
  EXPECT_TRUE(m_a.isVisible());
}

TEST_F(ScreenStackTest, AResizeDuringAFadeTakesThePicturesAgain) {
  m_stack.Show(&m_a, m_fader);
  ASSERT_TRUE(WaitForFade());
  m_stack.Show(&m_b, m_fader);
  const int paints = m_b.paints;
  m_window.resize(1200, 800);
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_b.paints > paints; }, Testing::PatienceMs));
  EXPECT_EQ(m_b.paints, paints + 1);
  ASSERT_TRUE(WaitForFade());
  EXPECT_EQ(m_b.size(), m_fader->size());
}

TEST_F(ScreenStackTest, TheRefreshFlagPicturesTheIncomingScreenEveryFrame) {
  m_fader->refreshSnapshotEachFrame = true;
  m_stack.Show(&m_a, m_fader);
  const int paints = m_a.paints;
  ASSERT_TRUE(WaitForFade());
  EXPECT_GT(m_a.paints, paints + 3);
}

TEST_F(ScreenStackTest, ShowingTheShownScreenAgainNamesItTwiceAndStacksIt) {
  QSignalSpy changes(&m_stack, &UI::WindowStackManager::screenChange);
  m_stack.Show(&m_a, m_fader);
  ASSERT_TRUE(WaitForFade());
  m_stack.Show(&m_a, nullptr);  // the fader given before is kept
  ASSERT_EQ(changes.size(), 1);
  EXPECT_EQ(changes[0][0].toString(), changes[0][1].toString());
  EXPECT_TRUE(m_fader->isFading());
  ASSERT_TRUE(WaitForFade());
  EXPECT_EQ(m_stack.Depth(), 2);
  EXPECT_TRUE(m_a.isVisible());
}

TEST_F(ScreenStackTest, AMainWindowThatIsGoneLeavesNothingOfItsOwnOnTheStack) {
  // As when a second main window is built in the same process after the first one: its fader
  // took its screens into its layout, and they go with it.
  auto* fader = new UI::FaderWidget(&m_window);
  m_stack.Show(new CountingScreen("Home"), fader);
  m_stack.Show(new CountingScreen("Exercise"), nullptr);
  ASSERT_TRUE(WaitForFade());
  delete fader;
  EXPECT_EQ(m_stack.Depth(), 0);

  QSignalSpy changes(&m_stack, &UI::WindowStackManager::screenChange);
  m_stack.Show(&m_a, nullptr);  // no fader left: the screen is simply shown
  m_stack.Show(&m_b, m_fader);
  ASSERT_EQ(changes.size(), 1);
  EXPECT_EQ(changes[0][1].toString(), "A");
  EXPECT_TRUE(m_a.isVisible());
}

TEST(GrabWidget, PicturesOnlyWhatMeetsTheWidget) {
  QWidget widget;
  widget.resize(200, 100);
  EXPECT_TRUE(UI::grabwgt(nullptr, QRect(0, 0, 10, 10)).isNull());
  EXPECT_TRUE(UI::grabwgt(&widget, QRect(300, 0, 10, 10)).isNull());
  EXPECT_EQ(UI::grabwgt(&widget, QRect(50, 20, -1, -1)).size(), QSize(150, 80));
}

}  // namespace
