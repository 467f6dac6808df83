// The screen's event filter: the space bar and clicks pause and resume in the exercise view only,
// the section buttons leave the focus on the screen, hiding pauses, and the spacebar hint.

#include <QCursor>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include "src/ui/action_hint_dialog.h"
#include "src/ui/controls/console_exercise_control/screen_fixture.h"
#include "src/ui/fader_widget.h"
#include "src/ui/play_dialog.h"

namespace {

using Testing::ScreenTest;
using Testing::WaitUntil;

class ScreenInputTest : public ScreenTest {
 protected:
  // A lesson of the music-symbols trainer, shown and playing.
  Core::Exercise* OpenPlaying() {
    m_console->OpenExercise(2, false, false);
    EXPECT_TRUE(WaitUntil([&] { return FadeDone() && screen->isVisible(); }));
    Core::Exercise* exercise = screen->CurrentExercise();
    exercise->Start();
    return exercise;
  }
};

TEST_F(ScreenInputTest, SpacePausesAndResumesInTheExerciseViewOnly) {
  Core::Exercise* exercise = OpenPlaying();
  ASSERT_EQ(exercise->GetPlaybackState(), Core::PS_PLAYING);

  probe.currentView() = 1;
  EXPECT_FALSE(SendShortcutOverride(Qt::Key_Space));
  EXPECT_EQ(exercise->GetPlaybackState(), Core::PS_PLAYING);
  probe.currentView() = 0;
  EXPECT_FALSE(SendShortcutOverride(Qt::Key_Enter));
  EXPECT_EQ(exercise->GetPlaybackState(), Core::PS_PLAYING);

  EXPECT_TRUE(SendShortcutOverride(Qt::Key_Space));
  EXPECT_EQ(exercise->GetPlaybackState(), Core::PS_PAUSED);
  UI::PlayDialog* overlay = screen->GetPlayDialog();
  EXPECT_TRUE(overlay->isVisible());

  // From the overlay the space bar fades it out, and its end asks the screen to play.
  ASSERT_TRUE(WaitUntil([&] { return !overlay->animating(); }));
  QSignalSpy play(overlay, &UI::PlayDialog::Play);
  EXPECT_TRUE(SendShortcutOverride(Qt::Key_Space));
  EXPECT_TRUE(WaitUntil([&] { return play.count() == 1; }));
}

TEST_F(ScreenInputTest, AClickOnTheQuestionAreaPausesAndAnyPressHidesTheHint) {
  Core::Exercise* exercise = OpenPlaying();
  UI::ActionHintDialog* hint = probe.hint();
  UI::FaderWidget* fader = probe.fader();

  // Entering from above the bottom rows shows no hint; entering within them does.
  const QPoint bottom = fader->mapToGlobal(QPoint(fader->width() / 2, fader->height() - 5));
  for (const auto& [pointer, shown] :
       {std::pair{bottom - QPoint(0, 40), false}, std::pair{bottom, true}}) {
    QCursor::setPos(pointer);
    QEnterEvent enter(fader->mapFromGlobal(QPointF(pointer)),
                      fader->mapFromGlobal(QPointF(pointer)), QPointF(pointer));
    QApplication::sendEvent(fader, &enter);
    EXPECT_EQ(hint->isVisible(), shown) << pointer.y();
  }

  QTest::mouseClick(fader, Qt::LeftButton);
  EXPECT_FALSE(hint->isVisible());
  EXPECT_EQ(exercise->GetPlaybackState(), Core::PS_PAUSED);
}

TEST_F(ScreenInputTest, SectionButtonsLeaveTheFocusOnTheScreenAndHidingPauses) {
  Core::Exercise* exercise = OpenPlaying();
  probe.ui().TimelineButton1->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(WaitUntil([&] { return screen->hasFocus(); }));

  // Hidden in another view, the exercise plays on; hidden in the exercise view, it pauses.
  probe.currentView() = 2;
  screen->hide();
  EXPECT_EQ(exercise->GetPlaybackState(), Core::PS_PLAYING);
  probe.currentView() = 0;
  screen->show();
  screen->hide();
  EXPECT_EQ(exercise->GetPlaybackState(), Core::PS_PAUSED);
}

}  // namespace
