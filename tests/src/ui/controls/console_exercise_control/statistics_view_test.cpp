// The statistics panel on the real window: rows and key colours from the trainer's own groups and
// the database's records, the octave hover, and the lesson and all-time figures with clearing.

#include <QAbstractTextDocumentLayout>
#include <QAnimationGroup>
#include <QDir>
#include <QFile>
#include <QGlyphRun>
#include <QLabel>
#include <QRawFont>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <QWheelEvent>

#include <algorithm>
#include <thread>

#include <gmock/gmock.h>

#include "src/core/exercise/exercise.h"
#include "src/core/exercise/theory/key_geometry.h"
#include "src/core/midi/timer.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/button_slider.h"
#include "src/ui/controls/console_exercise_control/statistics_data_set.h"
#include "src/ui/gkc_initializer.h"
#include "src/ui/keyboard.h"
#include "src/ui/play_dialog.h"
#include "views_fixture.h"

namespace Testing {
namespace {

using ::testing::UnorderedElementsAre;

constexpr int C4 = 39, D4 = 41, E4 = 43;

class StatisticsViewTest : public ExerciseViewsTest {
 protected:
  void OpenStatistics(int trainer, bool quiz, const std::function<void()>& record) {
    Open(trainer, quiz);
    record();
    Click(Toolbar().Statistics);
    ASSERT_TRUE(Settled());
  }
  void HoverOver(int key) const {
    const GKCKeyPositon& at = GKCinitializer::Keys()[size_t(key)];
    QTest::mouseMove(Form().Gkc, Form().Gkc->scaleKeyRect(at.white ? at.lower : at.upper).center());
  }
  // Runs the view machine's move to its end at once, after it took its queued transition signal.
  void FinishMove() const {
    QCoreApplication::processEvents();
    QAbstractAnimation* move = Probe().ViewAnimation()->group();
    if (move->state() == QAbstractAnimation::Running) move->setCurrentTime(move->totalDuration());
  }
  // Play on the overlay, its fade run to its end at once as its timer would.
  void PlayFromOverlay() const {
    UI::PlayDialog* overlay = Screen()->GetPlayDialog();
    overlay->clickAreaClicked();
    for (int step = 0; step <= UI::PlayDialog::LastStep && overlay->animating(); ++step)
      overlay->advance();
  }
  QStringList Answered() const {
    QStringList rows = ShownRows();
    rows.removeIf([](const QString& row) { return row.endsWith(" 0/0"); });
    return rows;
  }
};

TEST_F(StatisticsViewTest, KeysAndRowsFollowTheRecordsAndAHoveredOctaveNarrowsTheRows) {
  QString kind4, kind2;
  OpenStatistics(0, false, [&] {
    Record(0, C4, 9, 1);
    Record(0, D4, 8, 1);
    Record(0, E4, 3, 0);
    Record(0, E4 + 12, 0, 2);  // the same row as E4
    Record(0, 100000, 5, 5);   // an id of no question: neither row nor key
    const int inOctave4 = FindId(1, [](int key, const QString&) { return Core::octave(key) == 4; });
    kind4 = Exercise()->GetGroupTextById(1, inOctave4);
    const int inOctave2 = FindId(
        1, [&](int key, const QString& kind) { return Core::octave(key) == 2 && kind != kind4; });
    kind2 = Exercise()->GetGroupTextById(1, inOctave2);
    Record(1, inOctave4, 4, 1);
    Record(1, inOctave2, 2, 3);
  });
  std::map<int, int> marked;
  for (int key = 0; key < 88; ++key)
    if (const int colour = Form().Gkc->keyState(key).highlight) marked[key] = colour;
  EXPECT_EQ(marked, (std::map<int, int>{{C4, KeyState::Green},
                                        {D4, KeyState::Red},
                                        {E4, KeyState::Green},
                                        {E4 + 12, KeyState::Red}}));
  EXPECT_EQ(Form().Gkc->mode(), Keyboard::HoverOctaves);
  EXPECT_EQ(ShownRows().size(), 12);
  auto group = [&](int key) { return Exercise()->GetGroupTextById(0, key); };
  EXPECT_EQ(Answered(), (QStringList{group(C4) + " 1/9", group(D4) + " 1/8", group(E4) + " 2/3"}));
  EXPECT_EQ(Form().StatisticsHeaderLbl->text(),
            "This is your score for notes.\nFor details, hover over a keyboard note below.");
  Snap("statistics-plain");

  Form().TimelineButton2->click();
  EXPECT_EQ(Form().StatisticsHeaderLbl->text(),
            "This is your score for intervals.\nFor details, hover over a keyboard note below.");
  EXPECT_THAT(Answered(), UnorderedElementsAre(kind4 + " 1/4", kind2 + " 3/2"));
  const qsizetype groups = ShownRows().size();
  Form().TimelineButton1->click();
  Form().TimelineButton2->click();
  EXPECT_EQ(Receivers::Of(Form().Gkc, SIGNAL(hover(int))), 1);
  HoverOver(C4 + 2);
  EXPECT_EQ(Answered(), QStringList{kind4 + " 1/4"});
  EXPECT_EQ(ShownRows().size(), groups);
  EXPECT_TRUE(
      Form().StatisticsHeaderLbl->text().contains("octave <b style='color:blue; "
                                                  "font-size:18px;'>4</b>"));
  HoverOver(C4 + 5);  // the same octave
  EXPECT_EQ(Answered(), QStringList{kind4 + " 1/4"});
  HoverOver(1);  // below the octaves
  EXPECT_THAT(Answered(), UnorderedElementsAre(kind4 + " 1/4", kind2 + " 3/2"));
}

// In a quiz, as in a lesson, the statistics view's section buttons show each section's figures;
// in the exercise view they take no press, which would jump ahead, also once the settings have
// reached the quiz again.
TEST_F(StatisticsViewTest, AQuizsSectionButtonsChooseItsStatisticsButNeverJumpAhead) {
  OpenStatistics(1, true, [] {});
  // A press goes through the slider that lies over the buttons, as the learner's does.
  QTest::mouseClick(Form().TimeSlider, Qt::LeftButton, {},
                    Form().TimelineButton2->geometry().center());
  EXPECT_EQ(Form().StatisticsHeaderLbl->text(),
            "This is your score for intervals.\nFor details, hover over a keyboard note below.");

  Click(Toolbar().Exercise);
  ASSERT_TRUE(Settled());
  Screen()->ApplySettings();  // as on the way back from the settings
  for (QToolButton* button : {Form().TimelineButton1, Form().TimelineButton3})
    EXPECT_FALSE(button->isEnabled());
  Click(Toolbar().Statistics);
  EXPECT_TRUE(Form().TimelineButton3->isEnabled());
}

// Back from the statistics or the reference views, a quiz's slider stays off: a drag of its grip
// from the Play overlay, to the far end, skips nothing.
TEST_F(StatisticsViewTest, BackFromAnotherViewAQuizCannotBeSkippedFromTheOverlay) {
  Core::ManualTimer clock;  // the quiz stands still but for what the screen does
  Core::GlobalSettings global = App()->GetSettings()->globalSettings;
  global.hideMidiDialog = true;
  App()->SetGlobalSettings(global);
  Open(1, true);
  PlayFromOverlay();
  const Core::TimeLine& timeline = Exercise()->GetTimeline();
  ButtonSlider* slider = Form().TimeSlider;
  QWindow* window = m_console->windowHandle();
  for (QToolButton* away : {Toolbar().Statistics, Toolbar().Reference}) {
    SCOPED_TRACE(away->objectName().toStdString());
    Click(away);
    ASSERT_TRUE(Settled());
    Click(Toolbar().Exercise);
    ASSERT_TRUE(Settled());
    UI::PlayDialog* overlay = Screen()->GetPlayDialog();
    ASSERT_TRUE(WaitUntil([&] { return overlay->isVisible() && !overlay->animating(); }));
    const int position = timeline.GetPosition();
    const unsigned long section = timeline.GetCurrentSectionIndex();
    EXPECT_FALSE(slider->isEnabled());

    const QPoint from = slider->mapTo(m_console.get(), slider->handleRect().center());
    const QPoint to(slider->mapTo(m_console.get(), QPoint(slider->width() - 1, 0)).x(), from.y());
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    QTest::mouseMove(window, (from + to) / 2);
    QTest::mouseMove(window, to);
    QTest::mouseRelease(window, Qt::LeftButton, {}, to);
    QCoreApplication::processEvents();
    EXPECT_EQ(timeline.GetCurrentSectionIndex(), section);
    EXPECT_LE(timeline.GetPosition(), position + 1);  // at most a question asked anew
  }
}

// A quiz moves on by its own questions only. From its statistics view, a press of either button
// anywhere on the section bar (the slider's groove, its handle, the rows above and below the
// groove, where the slider itself takes the press) and a drag of the handle leave the quiz where
// it stood, in every trainer, and Play goes on there. In a lesson's exercise view the same middle
// press still seeks to the section under it.
TEST_F(StatisticsViewTest, NoPressOnTheSectionBarMovesAQuizFromItsStatistics) {
  Core::ManualTimer clock;  // the exercise stands still but for what the screen does
  Core::GlobalSettings global = App()->GetSettings()->globalSettings;
  global.hideMidiDialog = true;
  App()->SetGlobalSettings(global);
  for (const int trainer : {0, 1, 2}) {
    for (const bool quiz : {true, false}) {
      SCOPED_TRACE(testing::Message() << "trainer " << trainer << (quiz ? " quiz" : " lesson"));
      CloseConsole();
      Open(trainer, quiz);
      PlayFromOverlay();
      const Core::TimeLine& timeline = Exercise()->GetTimeline();
      QWindow* window = m_console->windowHandle();
      const QWidget* bar = Form().SliderBar;
      ButtonSlider* slider = Form().TimeSlider;
      auto press = [&](Qt::MouseButton button, QPoint inBar) {
        const QPoint at = bar->mapTo(m_console.get(), inBar);
        QTest::mousePress(window, button, {}, at);
        QTest::mouseRelease(window, button, {}, at);
        FinishMove();
      };
      if (!quiz) {
        // The last section the trainer has, as far from the first as the bar goes.
        const auto& buttons = Screen()->TimelineButtons();
        const auto last = std::find_if(buttons.rbegin(), buttons.rend(), [](const auto& button) {
          return button.section != static_cast<unsigned long>(-1);
        });
        ASSERT_NE(last, buttons.rend());
        ASSERT_GT(last->section, 0u);
        const int middle = slider->mapTo(bar, QPoint()).x() + last->left + last->width / 2;
        press(Qt::MiddleButton, QPoint(middle, 1));
        EXPECT_EQ(timeline.GetCurrentSectionIndex(), last->section);
        continue;
      }
      const int position = timeline.GetPosition();
      const unsigned long section = timeline.GetCurrentSectionIndex();
      const int value = slider->value();
      Click(Toolbar().Statistics);
      ASSERT_TRUE(Settled());
      Snap(QString("quiz-statistics-%1").arg(trainer));
      // The bar's last row lies below the window.
      const int bottom =
          std::min(bar->height(), m_console->height() - bar->mapTo(m_console.get(), QPoint()).y()) -
          1;
      const int rows[] = {0, 2, bottom / 2, bottom - 2, bottom};
      for (const int y : rows) {
        for (int x = 0; x < bar->width(); x += 24) {
          for (const Qt::MouseButton button : {Qt::MiddleButton, Qt::LeftButton}) {
            press(button, QPoint(x, y));
            ASSERT_EQ(timeline.GetPosition(), position)
                << "button " << button << " at " << x << ", " << y;
          }
        }
      }
      const QPoint grip = slider->mapTo(m_console.get(), slider->handleRect().center());
      const QPoint end(slider->mapTo(m_console.get(), QPoint(slider->width() - 1, 0)).x(),
                       grip.y());
      QTest::mousePress(window, Qt::LeftButton, {}, grip);
      QTest::mouseMove(window, end);
      QTest::mouseRelease(window, Qt::LeftButton, {}, end);
      const QPointF onGrip = slider->handleRect().center();
      QWheelEvent wheel(onGrip, slider->mapToGlobal(onGrip), {}, QPoint(0, 120), Qt::NoButton, {},
                        Qt::NoScrollPhase, false);
      QCoreApplication::sendEvent(slider, &wheel);
      EXPECT_EQ(timeline.GetPosition(), position);
      EXPECT_EQ(slider->value(), value);

      Click(Toolbar().Exercise);
      ASSERT_TRUE(Settled());
      EXPECT_EQ(timeline.GetPosition(), position);
      EXPECT_EQ(timeline.GetCurrentSectionIndex(), section);
      PlayFromOverlay();
      EXPECT_EQ(timeline.GetCurrentSectionIndex(), section);
      EXPECT_EQ(Exercise()->GetPlaybackState(), Core::PS_PLAYING);
    }
  }
}

// Statistics asked for while the quiz clock's latest tick still waits in the queue: at every
// moment of a question, each press on a section button there shows that section's figures.
TEST_F(StatisticsViewTest, AQuizsSectionButtonsFollowEveryPressWhateverItsClockSentLast) {
  Core::ManualTimer clock;
  Core::GlobalSettings global = App()->GetSettings()->globalSettings;
  global.hideMidiDialog = true;
  App()->SetGlobalSettings(global);
  Open(1, true);
  const QToolButton* const buttons[] = {Form().TimelineButton1, Form().TimelineButton2,
                                        Form().TimelineButton3, Form().TimelineButton4,
                                        Form().TimelineButton5};
  const char* const scoreFor[] = {"notes", "intervals", "chords", "scales", "tempo"};
  for (int ms = 0; ms <= 3000; ms += 250) {
    SCOPED_TRACE(testing::Message() << ms << " ms into the question");
    PlayFromOverlay();
    clock.Run(ms);
    // The tick comes from the timer's own thread, as in the program, queued behind the press.
    clock.Advance(Exercise()->GetTimeline().GetInterval());
    std::thread([&clock] { clock.Pass(); }).join();
    Click(Toolbar().Statistics);
    FinishMove();
    for (const int section : {1, 4, 3, 0}) {
      QTest::mouseClick(Form().TimeSlider, Qt::LeftButton, {},
                        buttons[section]->geometry().center());
      FinishMove();
      EXPECT_TRUE(Form().StatisticsHeaderLbl->text().startsWith(
          QString("This is your score for %1.").arg(scoreFor[section])));
    }
    Click(Toolbar().Exercise);
    FinishMove();
  }
}

// The sharp and flat signs of the rows stand in a face that has them, as tall and bold as the
// letters, not in whatever face Qt falls back on for a sign the text face lacks.
TEST_F(StatisticsViewTest, SharpsAndFlatsComeFromTheFaceMadeForThem) {
  OpenStatistics(0, false, [&] { Record(0, C4 + 1, 1, 0); });
  const QLabel* sharp = nullptr;
  for (const auto& row : Probe().Rows())
    if (QTextDocumentFragment::fromHtml(row.label->text()).toPlainText() ==
        Exercise()->GetGroupTextById(0, C4 + 1))
      sharp = row.label;
  ASSERT_NE(sharp, nullptr);
  QTextDocument shown;
  shown.setDefaultFont(sharp->font());
  shown.setHtml(sharp->text());
  shown.documentLayout();  // lays the text out
  QTextLayout* line = shown.firstBlock().layout();
  ASSERT_EQ(shown.toPlainText(), QString("C") + QChar(0x266F));
  const QList<QGlyphRun> letter = line->glyphRuns(0, 1);
  const QList<QGlyphRun> sign = line->glyphRuns(1, 1);
  ASSERT_EQ(letter.size(), 1);
  ASSERT_EQ(sign.size(), 1);
  EXPECT_EQ(sign[0].rawFont().familyName(), UI::StatisticsData::AccidentalFace);
  EXPECT_EQ(letter[0].rawFont().weight(), sharp->font().weight());
  EXPECT_NE(letter[0].rawFont().familyName(), UI::StatisticsData::AccidentalFace);
}

TEST_F(StatisticsViewTest, OnlyAllTimeFiguresClearAndAFileThatCannotBeWrittenKeepsThem) {
  OpenStatistics(0, false, [] {});
  EXPECT_EQ(Form().viewHistory->text(), "View History");
  EXPECT_EQ(Form().clearHistory->text(), "");
  EXPECT_FALSE(Form().clearHistory->isEnabled());
  QTest::mouseClick(Form().viewHistory, Qt::LeftButton);  // a lesson's empty history
  EXPECT_EQ(Form().viewHistory->text(), "View lesson statistics");
  EXPECT_FALSE(Form().clearHistory->isEnabled());
  CloseConsole();

  OpenStatistics(0, true, [&] { Record(0, C4, 3, 2); });
  QTest::mouseClick(Form().viewHistory, Qt::LeftButton);
  EXPECT_EQ(Form().viewHistory->text(), "View quiz statistics");
  EXPECT_EQ(Form().clearHistory->text(), "Clear History");
  ASSERT_TRUE(Form().clearHistory->isEnabled());
  const QStringList before = ShownRows();
  ASSERT_EQ(Answered().size(), 1);

  // A folder in the all-time file's place: the file cannot be replaced.
  const QString file = m_env.DataHome() + "/Quorvale/MelvarinStudio/stats.xml";
  ASSERT_TRUE(QFile::remove(file));
  ASSERT_TRUE(QDir().mkpath(file + "/blocked"));
  QTest::mouseClick(Form().clearHistory, Qt::LeftButton);
  EXPECT_TRUE(NoticeWords("clearHistoryFailure")
                  .startsWith("Clear History\nThe history could not be cleared: "))
      << NoticeWords("clearHistoryFailure").toStdString();
  EXPECT_EQ(ShownRows(), before);
  EXPECT_TRUE(Form().clearHistory->isEnabled());
  ASSERT_TRUE(CloseNotice("clearHistoryFailure"));

  ASSERT_TRUE(QDir(file).removeRecursively());
  QTest::mouseClick(Form().clearHistory, Qt::LeftButton);
  EXPECT_TRUE(Answered().isEmpty());
  EXPECT_EQ(ShownRows().size(), 12);
  EXPECT_FALSE(Form().clearHistory->isEnabled());
}

}  // namespace
}  // namespace Testing
