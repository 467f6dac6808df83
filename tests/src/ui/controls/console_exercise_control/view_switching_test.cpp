// The view machine on the real window: each view's end geometry, animated against quick switches,
// requests for the current view, reference visits, and the section buttons' wiring.

#include <QElapsedTimer>

#include <numeric>

#include "src/core/catalog/exercise_catalog.h"
#include "src/core/exercise/exercise.h"
#include "src/core/telemetry/telemetry.h"
#include "src/ui/console.h"
#include "src/ui/play_dialog.h"
#include "views_fixture.h"

namespace Testing {
namespace {

class ViewSwitchingTest : public ExerciseViewsTest {
 protected:
  int ReferenceVisits() const {
    const auto& counts = App()->GetExerciseCatalog()->GetTelemetry()->GetData().refLaunchCount;
    return std::accumulate(std::begin(counts), std::end(counts), 0);
  }
};

TEST_F(ViewSwitchingTest, StatisticsOpenExtendedForTempoAndSymbolsPlainOtherwiseAnimatedOnce) {
  const std::vector<std::vector<std::pair<int, bool>>> sectionsByTrainer = {
      {{0, false}, {2, false}}, {{3, false}, {4, true}, {0, false}}, {{0, true}, {4, true}}};
  for (int trainer = 0; trainer < 3; ++trainer) {
    Open(trainer, false);
    const int height = Screen()->height(), slider = Form().SliderBar->height();
    const QRect keys = Form().GkcLayoutWidget->geometry();
    const QRect frame = Form().ProgressFrameInternal->geometry();
    QAbstractAnimation* move = Probe().ViewAnimation();
    for (const auto& [section, extended] : sectionsByTrainer[size_t(trainer)]) {
      SCOPED_TRACE(testing::Message() << "trainer " << trainer << " section " << section);
      Exercise()->SetPosition(int(Exercise()->GetTimeline().GetSectionStartPosition(section)));
      QElapsedTimer clock;
      clock.start();
      Click(Toolbar().Statistics);
      EXPECT_EQ(move->state(), QAbstractAnimation::Running);
      EXPECT_EQ(Form().ProgressFrameInternal->geometry(), frame) << "the frame starts in place";
      ASSERT_TRUE(Settled());
      EXPECT_GE(clock.elapsed(), 210);
      EXPECT_EQ(MachineState(), extended ? "extendedStatistics" : "statistics");
      const int panel = height - 50 - slider - (extended ? 0 : keys.height());
      EXPECT_EQ(Form().ProgressFrameInternal->geometry(), QRect(345, 25, 750, panel));
      EXPECT_EQ(Form().GkcLayoutWidget->geometry(),
                keys.translated(0, extended ? keys.height() : 0));
      EXPECT_EQ(Form().NotestavePictureWidget->y(), height);
      EXPECT_TRUE(Form().viewHistory->isVisible());
      if (trainer == 2 && section == 0) Snap("statistics-extended");
      Click(Toolbar().Statistics);  // the view shown: nothing moves
      EXPECT_EQ(move->state(), QAbstractAnimation::Stopped);

      Click(Toolbar().Exercise);
      ASSERT_TRUE(Settled());
      EXPECT_EQ(MachineState(), "exercise");
      EXPECT_EQ(Form().ProgressFrameInternal->geometry(), frame);
      EXPECT_EQ(Form().GkcLayoutWidget->geometry(), keys);
      EXPECT_FALSE(Form().viewHistory->isVisible());
      const bool overlay = Screen()->GetPlayDialog()->isVisible();
      Click(Toolbar().Exercise);
      EXPECT_EQ(move->state(), QAbstractAnimation::Stopped);
      EXPECT_EQ(Screen()->GetPlayDialog()->isVisible(), overlay);
    }
    CloseConsole();
  }
}

TEST_F(ViewSwitchingTest, ReferenceFromSettingsComesAtOnceVisitsCountAndButtonsAreWiredOnce) {
  Open(1, false);
  const QRect keys = Form().GkcLayoutWidget->geometry();
  const int panel = Screen()->height() - 50 - Form().SliderBar->height();
  Click(Toolbar().Settings);
  ASSERT_TRUE(WaitUntil([&] { return FadeDone() && !Screen()->isVisible(); }));
  Click(Toolbar().Reference);
  EXPECT_EQ(MachineState(), "reference");
  EXPECT_EQ(Probe().ViewAnimation()->state(), QAbstractAnimation::Stopped);
  EXPECT_EQ(Form().ProgressFrameInternal->geometry(), QRect(320, 25, 800, panel));
  EXPECT_EQ(Form().GkcLayoutWidget->geometry(), keys.translated(0, keys.height()));
  ASSERT_TRUE(WaitUntil([&] { return FadeDone() && Screen()->isVisible(); }));
  EXPECT_FALSE(Form().StatisticsHeaderLbl->isVisible());
  EXPECT_TRUE(Form().referenceArea->isVisible());

  const int visits = ReferenceVisits();
  for (QAbstractButton* view : {Toolbar().Exercise, Toolbar().Reference, Toolbar().Reference,
                                Toolbar().Statistics, Toolbar().Exercise, Toolbar().Statistics}) {
    Click(view);
    ASSERT_TRUE(Settled());
  }
  EXPECT_EQ(ReferenceVisits(), visits + 2);
  for (QWidget* button : {Form().TimelineButton1, Form().TimelineButton2, Form().TimelineButton3,
                          Form().TimelineButton4, Form().TimelineButton5})
    EXPECT_EQ(Receivers::Of(button, SIGNAL(clicked(bool))), 1)
        << button->objectName().toStdString();

  // A section button of the statistics view shows that section's figures and nothing else.
  const unsigned long section = Exercise()->GetTimeline().GetCurrentSectionIndex();
  Form().TimelineButton5->click();
  ASSERT_TRUE(Settled());
  EXPECT_EQ(MachineState(), "extendedStatistics");
  EXPECT_EQ(Form().StatisticsHeaderLbl->text(), "This is your score for tempo.");
  Form().TimelineButton2->click();
  ASSERT_TRUE(Settled());
  EXPECT_EQ(MachineState(), "statistics");
  EXPECT_EQ(Exercise()->GetTimeline().GetCurrentSectionIndex(), section);

  // The statistics view needs the piano; the answer buttons come back with the exercise view.
  Click(Toolbar().Exercise);
  ASSERT_TRUE(Settled());
  Form().Gkc->hide();
  Form().MultipleChoiceWidget->show();
  Click(Toolbar().Statistics);
  EXPECT_TRUE(Form().Gkc->isVisible());
  EXPECT_FALSE(Form().MultipleChoiceWidget->isVisible());
  Click(Toolbar().Exercise);
  EXPECT_FALSE(Form().Gkc->isVisible());
  EXPECT_TRUE(Form().MultipleChoiceWidget->isVisible());

  // A section picked after one run is no choice for the next.
  Probe().StatisticsSection() = 2;
  m_console->OpenExercise(1, false);
  EXPECT_EQ(Probe().StatisticsSection(), -1);
}

}  // namespace
}  // namespace Testing
