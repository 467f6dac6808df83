// The exercise screen's overlays, stepped through their own ticks instead of waiting: the play
// overlay's fade-out and its picture of the covered part, the hint bubble's size, place and fade,
// and the loading cover's darkening.

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QMovie>
#include <QSignalSpy>
#include <QTest>

#include "src/ui/action_hint_dialog.h"
#include "src/ui/custom_property_animation.h"
#include "src/ui/loading_dialog.h"
#include "src/ui/play_dialog.h"

namespace {

// A shown window of the design size that counts the keys reaching it.
class Screen : public QWidget {
 public:
  Screen() {
    resize(1000, 700);
    setStyleSheet("background: white");
    show();
  }
  int keys = 0;

 protected:
  void keyPressEvent(QKeyEvent*) override { ++keys; }
};

class OverlayTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_screen)); }
  Screen m_screen;
};

TEST_F(OverlayTest, PlayOverlayStandsInForItsWidgetAndTwoSpacesPlayOnce) {
  QWidget covered(&m_screen);
  covered.setGeometry(100, 100, 300, 200);
  covered.setAutoFillBackground(true);
  covered.setStyleSheet("background: red");
  covered.show();
  UI::PlayDialog overlay(&m_screen);
  QSignalSpy play(&overlay, &UI::PlayDialog::Play);
  overlay.doShow(UI::FadeNone, &covered);
  EXPECT_EQ(overlay.geometry(), m_screen.rect()) << "its parent's rectangle, not the screen's";
  EXPECT_FALSE(covered.isVisible());
  const QImage rest = overlay.grab().toImage();
  EXPECT_EQ(rest.pixelColor(500, 600), QColor(Qt::black));
  EXPECT_NEAR(rest.pixelColor(150, 150).red(), 51, 2) << "the picture at 20 %";
  const QImage symbol(":/PIX/pixmap/play.png");
  ASSERT_FALSE(symbol.isNull());
  const QPoint middle(500, 350 - 24);
  EXPECT_EQ(rest.pixelColor(middle), symbol.pixelColor(symbol.width() / 2, symbol.height() / 2));

  QTest::keyClick(&overlay, Qt::Key_Space);
  QTest::keyClick(&overlay, Qt::Key_Space);
  EXPECT_EQ(m_screen.keys, 0) << "the space bar is the overlay's";
  int ticks = 0;
  for (; overlay.animating() && ticks < 100; ++ticks) overlay.advance();
  EXPECT_EQ(ticks, UI::PlayDialog::LastStep);
  EXPECT_EQ(play.size(), 1);
  EXPECT_FALSE(overlay.isVisible());
  EXPECT_TRUE(covered.isVisible());

  // Coming up animated, clicks are ignored until it rests.
  overlay.doShow(UI::FadeAnimated, nullptr);
  QTest::mouseClick(&overlay, Qt::LeftButton);
  for (int tick = 0; tick < UI::PlayDialog::LastStep; ++tick) overlay.advance();
  EXPECT_FALSE(overlay.animating());
  EXPECT_EQ(overlay.step(), 0);
  overlay.hide();
  EXPECT_TRUE(covered.isVisible()) << "nothing was covered this time";
  EXPECT_EQ(play.size(), 1);
}

TEST_F(OverlayTest, HintStandsOnItsPointAndFadesOverTheLastFifthOfItsTime) {
  UI::ActionHintDialog hint(&m_screen);
  EXPECT_EQ(hint.size(), QSize(450, 78)) << "sized by the 1440 x 900 screen";
  EXPECT_TRUE(hint.label()->styleSheet().contains("border-radius: 39px"));
  EXPECT_TRUE(hint.label()->styleSheet().contains("font-size: 21px"));
  const QPoint point(200, 500);
  for (bool afterError : {true, false}) {
    hint.SetPauseAfterErrorMode(afterError);
    hint.move(0, 0);
    hint.ShowHint(point, 3500, 60000);  // the test stands in for the delay
    EXPECT_EQ(hint.pos(), QPoint(200, 500 - 78)) << afterError;
    EXPECT_EQ(hint.label()->text().contains('\n'), afterError);
  }
  auto* fade = hint.fadeAnimation();
  hint.Show();
  // The bubble's dark ground over the white screen, beside the text.
  auto ground = [&] { return m_screen.grab(hint.geometry()).toImage().pixelColor(40, 39).red(); };
  const int full = ground();
  const struct {
    int ms;
    float opacity;
  } regular[] = {{0, 1}, {2800, 1}, {3150, 0.5f}};
  for (const auto& at : regular) {
    fade->setCurrentTime(at.ms);
    EXPECT_NEAR(hint.newOpacity(), at.opacity, 1e-3) << at.ms;
  }
  EXPECT_FALSE(hint.label()->isVisible()) << "a snapshot fades, not the label";
  EXPECT_GT(ground(), full + 30) << "half as dark";
  fade->setCurrentTime(3500);
  EXPECT_FLOAT_EQ(hint.newOpacity(), 0.0f);

  // A second hint 1000 ms into the first keeps it up until 3500 ms after the second.
  hint.ShowHint(point, 3500, 60000);
  hint.Show();
  fade->setCurrentTime(1000);
  hint.Show();
  EXPECT_EQ(fade->duration(), 4500);
  fade->setCurrentTime(1000 + 2600);
  EXPECT_FLOAT_EQ(hint.newOpacity(), 1.0f);
  fade->setCurrentTime(1000 + 3500);
  EXPECT_FLOAT_EQ(hint.newOpacity(), 0.0f);

  hint.HideHint();
  EXPECT_FALSE(hint.isVisible());
  EXPECT_TRUE(hint.label()->isVisibleTo(&hint));
  EXPECT_FLOAT_EQ(hint.newOpacity(), 1.0f);
}

TEST_F(OverlayTest, LoadingCoverDarkensFromHalfAndPlaysTheEqualiser) {
  UI::LoadingDialog loading(&m_screen);
  QSignalSpy closed(&loading, &UI::LoadingDialog::CloseDialog);
  loading.show();
  EXPECT_EQ(loading.geometry(), m_screen.rect());
  EXPECT_EQ(loading.movie()->state(), QMovie::Running);
  EXPECT_GT(loading.movie()->frameCount(), 1);
  int ticks = 0;
  for (; loading.darkening() && ticks < 100; ++ticks) loading.darken();
  EXPECT_EQ(ticks, 56);
  EXPECT_NEAR(loading.opacity(), UI::LoadingDialog::FinalOpacity, 1e-9);
  loading.setVisible(true);
  EXPECT_DOUBLE_EQ(loading.opacity(), UI::LoadingDialog::StartOpacity) << "showing again restarts";

  loading.setResult(7);
  loading.done(1);
  EXPECT_FALSE(loading.isVisible());
  EXPECT_EQ(closed.size(), 1);
  EXPECT_EQ(loading.result(), 7);
  loading.setFadeOptions(UI::LoadingDialog::AtOnce);
  loading.show();
  EXPECT_DOUBLE_EQ(loading.opacity(), UI::LoadingDialog::FinalOpacity);
  EXPECT_FALSE(loading.darkening());
}

}  // namespace
