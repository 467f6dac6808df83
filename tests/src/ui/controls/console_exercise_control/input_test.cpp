// The screen's event filter: the space bar and clicks pause and resume in the exercise view only,
// the section buttons leave the focus on the screen, hiding pauses, the spacebar hint and its
// place under the question card, a wrong note played far off the staff shown whole in the answer
// score, and the seek slider dragged with the mouse, also from the Play overlay.

#include <QCursor>
#include <QDir>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <functional>

#include "src/core/settings/settings_manager.h"
#include "src/ui/action_hint_dialog.h"
#include "src/ui/button_slider.h"
#include "src/ui/controls/console_exercise_control/screen_fixture.h"
#include "src/ui/fader_widget.h"
#include "src/ui/play_dialog.h"
#include "src/ui/score_board/score_board.h"

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
  // A lesson of `trainer` (the music-symbols trainer unless said), started from the Play overlay
  // and showing its first question.
  Core::Exercise* StartFromOverlay(unsigned long trainer = 2) {
    m_console->OpenExercise(trainer, false, false);
    EXPECT_TRUE(WaitUntil([&] { return FadeDone() && screen->isVisible(); }));
    screen->GetPlayDialog()->clickAreaClicked();
    Core::Exercise* exercise = screen->CurrentExercise();
    EXPECT_TRUE(WaitUntil([&] {
      return exercise->GetState() == Core::ES_AWAITING_ANSWER && !probe.fader()->isFading() &&
             probe.ui().rootWidget->isVisible();
    }));
    return exercise;
  }
  // Brings the hint up as the pointer does, entering the question area's bottom rows.
  void EnterQuestionAreaFromBelow() {
    UI::FaderWidget* fader = probe.fader();
    const QPoint pointer = fader->mapToGlobal(QPoint(fader->width() / 2, fader->height() - 5));
    QCursor::setPos(pointer);
    QEnterEvent enter(fader->mapFromGlobal(QPointF(pointer)),
                      fader->mapFromGlobal(QPointF(pointer)), QPointF(pointer));
    QApplication::sendEvent(fader, &enter);
  }
  // The hint taken down with the pointer away from the question area, so that it stays down.
  void TakeHintDown() {
    QCursor::setPos(screen->mapToGlobal(QPoint(5, 5)));
    probe.hint()->HideHint();
    ASSERT_FALSE(probe.hint()->isVisible());
  }
  // The bounds of the pixels of the question area, hint down, that `shows` picks, in the screen's
  // coordinates.
  QRect ShownInQuestionArea(const std::function<bool(QRgb)>& shows) {
    const QRect area(probe.fader()->mapTo(m_console.get(), QPoint()), probe.fader()->size());
    const QImage shown = m_console->grab(area).toImage();
    QRect found;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x)
        if (shows(shown.pixel(x, y))) found |= QRect(x, y, 1, 1);
    return found.translated(probe.fader()->mapTo(screen, QPoint()));
  }
  // A picture of the window for review, beside the test program.
  void Snap(const QString& name) {
    const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
    QDir().mkpath(folder);
    EXPECT_TRUE(m_console->grab().save(folder + "/" + name + ".png"));
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

// In the music-symbols lesson the hint stands under the question card, clear of it and of the
// answer buttons, centred as before, for cards of every height that the first questions bring;
// it used to lie over the card's lower part.
TEST_F(ScreenInputTest, TheSpacebarHintStandsClearOfTheQuestionCard) {
  Core::Exercise* exercise = StartFromOverlay();
  UI::ActionHintDialog* hint = probe.hint();
  for (int question = 0; question < 5; ++question) {
    // The card is the white that the question area shows, without the hint's white words.
    TakeHintDown();
    const QRect card = ShownInQuestionArea([](QRgb pixel) { return qGray(pixel) >= 250; });
    ASSERT_GT(card.height(), 100);

    EnterQuestionAreaFromBelow();
    ASSERT_TRUE(hint->isVisible());
    if (question == 0) Snap("spacebar-hint-music-symbols");
    const QRect bubble = hint->geometry();
    EXPECT_FALSE(bubble.intersects(card)) << "bubble " << bubble.y() << ".." << bubble.bottom()
                                          << ", card " << card.y() << ".." << card.bottom();
    EXPECT_LT(bubble.bottom(), probe.ui().Answer1->mapTo(screen, QPoint()).y());
    EXPECT_EQ(bubble.x(), screen->width() / 2 - bubble.width() / 2);

    // A right answer brings the next question.
    const Core::Question asked = exercise->GetCurrentQuestion();
    QToolButton* right =
        screen->findChild<QToolButton*>(QString("Answer%1").arg(asked.CorrectVariant + 1));
    QTest::mouseClick(right, Qt::LeftButton);
    ASSERT_NE(exercise->GetState(), Core::ES_AWAITING_ANSWER);
    ASSERT_TRUE(WaitUntil([&] {
      return exercise->GetState() == Core::ES_AWAITING_ANSWER && !probe.fader()->isFading();
    }));
  }
}

// In the note trainer the hint stands clear of the whole score, of notes far under the staff
// with their ledger lines and accidentals too, and above the keys; it used to lie over the low
// notes.
TEST_F(ScreenInputTest, TheSpacebarHintStandsClearOfLowNotesOfTheScore) {
  const struct {
    int key;  // the one key asked
    bool trebleClef;
  } lowNotes[] = {{35, true}, {25, true}, {3, false}};
  // No warning about a missing MIDI keyboard waits for the learner.
  Core::GlobalSettings global = App()->GetSettings()->globalSettings;
  global.hideMidiDialog = true;
  global.showDifficultyDialog = false;
  App()->SetGlobalSettings(global);
  for (const auto& low : lowNotes) {
    Core::ExcersisesSettings settings = App()->GetSettings()->GetExcersiseSettings();
    Core::SingleNotesSettings& notes = settings.noteTrainer.singleNotes;
    notes.diapason.minimum = low.key;
    notes.diapason.maximum = low.key + 1;
    notes.cleff = {low.trebleClef, !low.trebleClef};
    notes.duration = {0, 2};
    App()->SetExcerciseSettings(settings);
    StartFromOverlay(0);
    ASSERT_EQ(screen->CurrentExercise()->GetCurrentQuestion().Type, Core::QT_NOTE);

    TakeHintDown();
    // The score's ink, black on the area's grey.
    const QRect score = ShownInQuestionArea([](QRgb pixel) { return qGray(pixel) < 60; });
    ASSERT_GT(score.height(), 40) << low.key;
    EnterQuestionAreaFromBelow();
    Snap(QString("spacebar-hint-low-note-%1").arg(low.key));
    ASSERT_TRUE(probe.hint()->isVisible()) << low.key;
    const QRect bubble = probe.hint()->geometry();
    EXPECT_FALSE(bubble.intersects(score))
        << low.key << ": bubble " << bubble.y() << ".." << bubble.bottom() << ", score "
        << score.y() << ".." << score.bottom();
    EXPECT_LT(bubble.bottom(), probe.ui().Gkc->mapTo(screen, QPoint()).y()) << low.key;
    screen->StopExercise();
  }
}

// After a wrong answer the lesson waits with the hint up, and the answer score that follows
// shows the note played: the hint moves out of its way, however far below the staff it lies. It
// used to stay where the question's score had left room and hide a low wrong note.
TEST_F(ScreenInputTest, TheHintAfterAWrongAnswerStandsClearOfTheAnswerScore) {
  Core::GlobalSettings global = App()->GetSettings()->globalSettings;
  global.hideMidiDialog = true;
  global.showDifficultyDialog = false;
  App()->SetGlobalSettings(global);
  for (const bool trebleClef : {false, true}) {
    Core::ExcersisesSettings settings = App()->GetSettings()->GetExcersiseSettings();
    settings.noteTrainer.onWrongAnswer.autoContinue = false;
    Core::SingleNotesSettings& notes = settings.noteTrainer.singleNotes;
    notes.diapason.minimum = 38;  // around middle C
    notes.diapason.maximum = 39;
    notes.cleff = {trebleClef, !trebleClef};
    notes.duration = {0, 2};
    App()->SetExcerciseSettings(settings);
    StartFromOverlay(0);
    auto* board = screen->findChild<UI::ScoreBoard*>();
    const Core::ScoresDescription* question = board->GetScore(0);

    QMetaObject::invokeMethod(screen, "GKCNotePressed", Q_ARG(int, 0));  // A0, wrong
    ASSERT_TRUE(WaitUntil([&] { return board->GetScore(0) != question; })) << trebleClef;
    UI::ActionHintDialog* hint = probe.hint();
    ASSERT_TRUE(hint->isVisible()) << trebleClef;
    ASSERT_TRUE(hint->label()->text().startsWith("Press spacebar for next question,"));
    const QRect bubble = hint->geometry();
    Snap(QString("hint-after-wrong-a0-%1").arg(trebleClef ? "treble" : "bass"));

    TakeHintDown();
    // The answer score's ink: black, the wrong note red and the missed one blue.
    const QRect score = ShownInQuestionArea([](QRgb pixel) {
      return qGray(pixel) < 60 || (qRed(pixel) > 150 && qGreen(pixel) < 90) ||
             (qBlue(pixel) > 150 && qRed(pixel) < 90);
    });
    ASSERT_GT(score.height(), 100) << trebleClef;
    EXPECT_FALSE(bubble.intersects(score))
        << (trebleClef ? "treble" : "bass") << ": bubble " << bubble.y() << ".." << bubble.bottom()
        << ", score " << score.y() << ".." << score.bottom();
    screen->StopExercise();
  }
}

// A wrong note is drawn in the answer score when its clef can show it, however far from the staff
// it lies, and the score it widens stays whole inside the question area: the lowest and highest
// such keys of each clef, on the piano as the learner plays them.
TEST_F(ScreenInputTest, TheFarthestWrongNotesOfEachClefShowWholeInTheAnswerScore) {
  Core::GlobalSettings global = App()->GetSettings()->globalSettings;
  global.hideMidiDialog = true;
  global.showDifficultyDialog = false;
  App()->SetGlobalSettings(global);
  struct Case {
    bool trebleClef;
    int wrongKey;
  };
  // A0 and D♯5 in the bass clef; A♯2 and C8 in the treble clef.
  for (const Case c : {Case{false, 0}, Case{false, 54}, Case{true, 25}, Case{true, 87}}) {
    SCOPED_TRACE(testing::Message() << (c.trebleClef ? "treble" : "bass") << " " << c.wrongKey);
    Core::ExcersisesSettings settings = App()->GetSettings()->GetExcersiseSettings();
    settings.noteTrainer.onWrongAnswer.autoContinue = false;
    Core::SingleNotesSettings& notes = settings.noteTrainer.singleNotes;
    notes.diapason.minimum = 38;  // around middle C
    notes.diapason.maximum = 39;
    notes.cleff = {c.trebleClef, !c.trebleClef};
    notes.duration = {0, 2};
    App()->SetExcerciseSettings(settings);
    StartFromOverlay(0);
    auto* board = screen->findChild<UI::ScoreBoard*>();
    const Core::ScoresDescription* question = board->GetScore(0);

    QMetaObject::invokeMethod(screen, "GKCNotePressed", Q_ARG(int, c.wrongKey));
    ASSERT_TRUE(WaitUntil([&] { return board->GetScore(0) != question; }));
    ASSERT_TRUE(WaitUntil([&] { return !probe.fader()->isFading(); }));
    TakeHintDown();
    const QRect red = ShownInQuestionArea(
        [](QRgb pixel) { return qRed(pixel) > 150 && qGreen(pixel) < 90 && qBlue(pixel) < 90; });
    EXPECT_GT(red.height(), 10);
    const QRect area(probe.fader()->mapTo(screen, QPoint()), probe.fader()->size());
    const QRect score = board->shownRect().translated(board->mapTo(screen, QPoint()));
    ASSERT_FALSE(score.isEmpty());
    EXPECT_TRUE(area.contains(score)) << "area " << area.y() << ".." << area.bottom() << ", score "
                                      << score.y() << ".." << score.bottom();
    EXPECT_TRUE(area.contains(red));
    screen->StopExercise();
  }
}

// The Play overlay's dimmed picture shows the answer controls that Play brings: the piano for the
// note trainer opened after a music-symbols quiz, and the buttons on coming back from the
// music-symbols statistics. It used to show the ones the screen had had before.
TEST_F(ScreenInputTest, ThePlayOverlayShowsTheAnswerControlsThatPlayBrings) {
  Core::GlobalSettings global = App()->GetSettings()->globalSettings;
  global.hideMidiDialog = true;
  App()->SetGlobalSettings(global);
  UI::PlayDialog* overlay = screen->GetPlayDialog();
  QWidget* root = probe.ui().rootWidget;
  // Whether the picture under the overlay, and then the screen that Play brings, show the piano
  // at the answer controls' place: its white keys fill a good part of it, the buttons none.
  const auto pianoShown = [&](const QImage& image) {
    const QRect place(probe.ui().GkcLayoutWidget->mapTo(root, QPoint()),
                      probe.ui().GkcLayoutWidget->size());
    int white = 0, all = 0;
    for (int y = place.top(); y <= place.bottom(); y += 2)
      for (int x = place.left(); x <= place.right(); x += 2, ++all)
        white += qGray(image.pixel(x, y)) > 225;
    return white > all / 4;
  };
  const auto pictureAndPlay = [&](Core::Exercise* exercise) {
    EXPECT_TRUE(WaitUntil([&] { return overlay->isVisible() && overlay->covered() == root; }));
    const bool inPicture = pianoShown(overlay->picture().toImage());
    overlay->clickAreaClicked();
    EXPECT_TRUE(WaitUntil([&] {
      return exercise->GetState() == Core::ES_AWAITING_ANSWER && !probe.fader()->isFading() &&
             root->isVisible();
    }));
    return std::pair{inPicture, pianoShown(root->grab().toImage())};
  };

  App()->SetQuizMode(true);
  StartFromOverlay(2);
  ASSERT_TRUE(probe.ui().MultipleChoiceWidget->isVisible());
  App()->SetQuizMode(false);
  m_console->OpenExercise(0, false);
  ASSERT_TRUE(WaitUntil([&] { return FadeDone() && screen->isVisible(); }));
  EXPECT_EQ(pictureAndPlay(screen->CurrentExercise()), std::pair(true, true))
      << "note trainer after a quiz";

  Core::Exercise* symbols = StartFromOverlay(2);
  screen->ShowStatistics(UI::SpeedImmediate);
  ASSERT_TRUE(WaitUntil([&] { return probe.ui().Gkc->isVisible(); }));
  QMetaObject::invokeMethod(screen, "showExercise", Q_ARG(UI::Speed, UI::SpeedImmediate));
  EXPECT_EQ(pictureAndPlay(symbols), std::pair(false, false)) << "back from the statistics";
}

// The hint that goes down from under a pointer resting in the question area's bottom rows stays
// down, though Qt then tells the area that the pointer enters it; it used to come straight back.
// A pointer that leaves and comes in again brings it up.
TEST_F(ScreenInputTest, TheSpacebarHintTakenDownUnderTheRestingPointerStaysDown) {
  Core::Exercise* exercise = StartFromOverlay();
  UI::ActionHintDialog* hint = probe.hint();
  // A card tall enough puts the bubble over the bottom rows; right answers bring such a card.
  for (int question = 0;; ++question) {
    ASSERT_LT(question, 20);
    TakeHintDown();
    EnterQuestionAreaFromBelow();
    ASSERT_TRUE(hint->isVisible());
    if (hint->geometry().contains(screen->mapFromGlobal(QCursor::pos()))) break;
    const Core::Question asked = exercise->GetCurrentQuestion();
    QTest::mouseClick(
        screen->findChild<QToolButton*>(QString("Answer%1").arg(asked.CorrectVariant + 1)),
        Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] {
      return exercise->GetState() == Core::ES_AWAITING_ANSWER && !probe.fader()->isFading();
    }));
  }
  const QPoint resting = QCursor::pos();
  // Qt drops a move to where it saw the pointer last: it comes from a little aside.
  QWindow* window = m_console->windowHandle();
  QTest::mouseMove(window, m_console->mapFromGlobal(resting) + QPoint(30, 0));
  QTest::mouseMove(window, m_console->mapFromGlobal(resting));
  ASSERT_TRUE(WaitUntil([&] { return hint->underMouse(); }));

  hint->HideHint();
  EXPECT_TRUE(WaitUntil([&] { return probe.fader()->underMouse(); }));
  EXPECT_FALSE(hint->isVisible());

  // Down to the answer buttons and up again.
  QWidget* answers = probe.ui().MultipleChoiceWidget;
  const QPoint keys = answers->mapTo(m_console.get(), answers->rect().center());
  QCursor::setPos(m_console->mapToGlobal(keys));
  QTest::mouseMove(window, keys);
  ASSERT_TRUE(WaitUntil([&] { return !probe.fader()->underMouse(); }));
  EnterQuestionAreaFromBelow();
  EXPECT_TRUE(hint->isVisible());
}

// Outside quizzes the slider's grip drags the slider: while the lesson plays, and under the Play
// overlay of a paused lesson, where a press on the grip's picture used to take the section button
// under it and restart that section; there play goes on from where the grip is let go.
TEST_F(ScreenInputTest, TheSeekSliderDragsWithTheMouseAlsoUnderThePlayOverlay) {
  Core::Exercise* exercise = StartFromOverlay();
  ButtonSlider* slider = probe.ui().TimeSlider;
  // Through the window, as the pointer's events come, to whatever lies on top there.
  QWindow* window = m_console->windowHandle();
  auto dragTo = [&](QAbstractButton* section) {
    const QPoint from = slider->mapTo(m_console.get(), slider->handleRect().center());
    const QPoint to(slider->mapTo(m_console.get(), section->geometry().center()).x(), from.y());
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    QTest::mouseMove(window, (from + to) / 2);
    QTest::mouseMove(window, to);
    QTest::mouseRelease(window, Qt::LeftButton, {}, to);
    return section->geometry().center().x() - slider->handleRect().width() / 2;
  };
  const struct {
    bool paused;
    QAbstractButton* section;
    int index;
  } drags[] = {{false, probe.ui().TimelineButton2, 1}, {true, probe.ui().TimelineButton4, 3}};
  for (const auto& drag : drags) {
    if (drag.paused) {
      ASSERT_TRUE(SendShortcutOverride(Qt::Key_Space));
      ASSERT_TRUE(WaitUntil([&] { return !screen->GetPlayDialog()->animating(); }));
      ASSERT_TRUE(screen->GetPlayDialog()->isVisible());
      Snap("seek-slider-under-overlay");
    }
    const int dropped = dragTo(drag.section);
    if (drag.paused) Snap("seek-slider-dragged-under-overlay");
    EXPECT_NEAR(slider->value(), dropped, 20) << drag.paused;
    EXPECT_FALSE(slider->isSliderDown());
    EXPECT_EQ(screen->GetExerciseSectionIndex(), drag.index) << drag.paused;
    EXPECT_TRUE(WaitUntil([&] {
      return exercise->GetPlaybackState() == Core::PS_PLAYING &&
             !screen->GetPlayDialog()->isVisible();
    })) << drag.paused;
  }
  // The slider holds the mouse no longer: a click on a section button reaches it.
  QTest::mouseClick(
      window, Qt::LeftButton, {},
      slider->mapTo(m_console.get(), probe.ui().TimelineButton1->geometry().center()));
  EXPECT_TRUE(WaitUntil([&] { return screen->GetExerciseSectionIndex() == 0; }));
}

}  // namespace
