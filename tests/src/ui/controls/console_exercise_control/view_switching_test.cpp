// The view machine on the real window: the end geometry of each view, animated against quick
// switches, requests for the current view, the reference visits of the usage record, and the
// section buttons' wiring.

#include <QAnimationGroup>
#include <QElapsedTimer>
#include <QSignalSpy>

#include <numeric>

#include "src/core/catalog/exercise_catalog.h"
#include "src/core/exercise/exercise.h"
#include "src/core/telemetry/telemetry.h"
#include "src/ui/console.h"
#include "src/ui/play_dialog.h"
#include "views_fixture.h"

namespace Testing {
namespace {

// The number of connections to one signal of an object.
struct Receivers : QObject {
  static int Of(const QObject* object, const char* signal) {
    return (object->*(&Receivers::receivers))(signal);
  }
};

class ViewSwitchingTest : public ExerciseViewsTest {
 protected:
  // Geometry the machine was built from.
  struct Built {
    int screenHeight, sliderHeight, keysHeight;
    QRect keys, frame;
  };
  Built Measure() const {
    return {Screen()->height(), Form().SliderBar->height(), Form().GkcLayoutWidget->height(),
            Form().GkcLayoutWidget->geometry(), Form().ProgressFrameInternal->geometry()};
  }
  void MoveToSection(int section) const {
    Exercise()->SetPosition(int(Exercise()->GetTimeline().GetSectionStartPosition(section)));
  }
  int ReferenceVisits() const {
    const auto usage = App()->GetExerciseCatalog()->GetTelemetry();
    const auto& counts = usage->GetData().refLaunchCount;
    return std::accumulate(std::begin(counts), std::end(counts), 0);
  }
};

TEST_F(ViewSwitchingTest, StatisticsOpenExtendedForTempoAndSymbolsAndPlainOtherwise) {
  struct Case {
    int trainer;
    std::vector<std::pair<int, bool>> sectionsExtended;
  };
  for (const Case& c :
       {Case{0, {{0, false}, {2, false}}}, Case{1, {{3, false}, {4, true}, {0, false}}},
        Case{2, {{0, true}, {2, true}, {4, true}}}}) {
    Open(c.trainer, false);
    const Built built = Measure();
    const int panelHeight = built.screenHeight - 50 - built.sliderHeight;
    for (const auto& [section, extended] : c.sectionsExtended) {
      SCOPED_TRACE(QString("trainer %1 section %2").arg(c.trainer).arg(section).toStdString());
      MoveToSection(section);
      Click(Toolbar().Statistics);
      ASSERT_TRUE(Settled());
      EXPECT_EQ(MachineState(), extended ? "extendedStatistics" : "statistics");
      EXPECT_EQ(Form().ProgressFrameInternal->geometry(),
                QRect((1440 - 750) / 2, 25, 750,
                      extended ? panelHeight : panelHeight - built.keysHeight));
      EXPECT_EQ(Form().GkcLayoutWidget->geometry(),
                extended ? built.keys.translated(0, built.keysHeight) : built.keys);
      EXPECT_EQ(Form().NotestavePictureWidget->y(), built.screenHeight);
      EXPECT_TRUE(Form().viewHistory->isVisible());

      Click(Toolbar().Exercise);
      ASSERT_TRUE(Settled());
      EXPECT_EQ(MachineState(), "exercise");
      EXPECT_EQ(Form().ProgressFrameInternal->geometry(), built.frame);
      EXPECT_EQ(Form().GkcLayoutWidget->geometry(), built.keys);
      EXPECT_FALSE(Form().viewHistory->isVisible());
    }
    CloseConsole();
  }
}

TEST_F(ViewSwitchingTest, AnAnimatedSwitchTakesItsTimeThenRepaintsTheFrame) {
  Open(0, false);
  const QRect frameBuilt = Form().ProgressFrameInternal->geometry();
  QAbstractAnimation* frameAnimation = Probe().ViewAnimation();
  ASSERT_TRUE(frameAnimation);
  QSignalSpy finished(static_cast<QAbstractAnimation*>(frameAnimation->group()),
                      &QAbstractAnimation::finished);
  int paints = 0;
  int paintsAtEnd = -1;
  struct PaintCounter : QObject {
    int* count;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) ++*count;
      return false;
    }
  } counter;
  counter.count = &paints;
  Form().ProgressFrameWidget->installEventFilter(&counter);
  QObject::connect(frameAnimation, &QAbstractAnimation::finished, &counter,
                   [&] { paintsAtEnd = paints; });

  QElapsedTimer clock;
  clock.start();
  Click(Toolbar().Statistics);
  EXPECT_EQ(frameAnimation->state(), QAbstractAnimation::Running);
  EXPECT_EQ(Form().ProgressFrameInternal->geometry(), frameBuilt) << "the frame starts in place";
  ASSERT_TRUE(WaitUntil([&] { return finished.size() == 1; }));
  EXPECT_GE(clock.elapsed(), 210);
  EXPECT_EQ(Form().ProgressFrameInternal->width(), 750);
  EXPECT_TRUE(WaitUntil([&] { return paints > paintsAtEnd; })) << "repainted after the move";

  // Asking for the view that is shown changes nothing.
  Click(Toolbar().Statistics);
  EXPECT_EQ(frameAnimation->state(), QAbstractAnimation::Stopped);
  Click(Toolbar().Exercise);
  ASSERT_TRUE(Settled());
  const bool overlay = Screen()->GetPlayDialog()->isVisible();
  Click(Toolbar().Exercise);
  EXPECT_EQ(frameAnimation->state(), QAbstractAnimation::Stopped);
  EXPECT_EQ(Screen()->GetPlayDialog()->isVisible(), overlay);
  EXPECT_EQ(finished.size(), 2);
}

TEST_F(ViewSwitchingTest, ReferenceFromASettingsPanelComesAtOnceAndEachVisitCountsOnce) {
  Open(1, false);
  const Built built = Measure();
  Click(Toolbar().Settings);
  ASSERT_TRUE(WaitUntil([&] { return FadeDone() && !Screen()->isVisible(); }));

  Click(Toolbar().Reference);
  EXPECT_EQ(MachineState(), "reference");
  EXPECT_EQ(Probe().ViewAnimation()->state(), QAbstractAnimation::Stopped);
  EXPECT_EQ(Form().ProgressFrameInternal->geometry(),
            QRect((1440 - 800) / 2, 25, 800, built.screenHeight - 50 - built.sliderHeight));
  EXPECT_EQ(Form().GkcLayoutWidget->geometry(), built.keys.translated(0, built.keysHeight));
  EXPECT_TRUE(Screen()->isReferenceEnabled());
  ASSERT_TRUE(WaitUntil([&] { return FadeDone() && Screen()->isVisible(); }));
  EXPECT_FALSE(Form().StatisticsHeaderLbl->isVisible());
  EXPECT_TRUE(Form().referenceArea->isVisible());

  const int visits = ReferenceVisits();
  Click(Toolbar().Exercise);
  ASSERT_TRUE(Settled());
  EXPECT_EQ(ReferenceVisits(), visits + 1);
  Click(Toolbar().Reference);
  ASSERT_TRUE(Settled());
  Click(Toolbar().Reference);
  Click(Toolbar().Statistics);
  ASSERT_TRUE(Settled());
  EXPECT_EQ(MachineState(), "statistics");
  EXPECT_EQ(ReferenceVisits(), visits + 2);
}

TEST_F(ViewSwitchingTest, EachViewWiresTheSectionButtonsOnceToItsOwnSlots) {
  Open(1, false);
  QSignalSpy toPlain(Screen(), &UI::ConsoleExerciseControl::extendedStatisticsToStatisticsTrans);
  QSignalSpy toExtended(Screen(), &UI::ConsoleExerciseControl::statisticsToExtendedStatisticsTrans);
  for (int round = 0; round < 2; ++round) {
    for (QAbstractButton* view :
         {Toolbar().Statistics, Toolbar().Reference, Toolbar().Exercise, Toolbar().Statistics}) {
      Click(view);
      ASSERT_TRUE(Settled());
    }
  }
  for (QWidget* button : {Form().TimelineButton1, Form().TimelineButton2, Form().TimelineButton3,
                          Form().TimelineButton4, Form().TimelineButton5})
    EXPECT_EQ(Receivers::Of(button, SIGNAL(clicked(bool))), 1)
        << button->objectName().toStdString();

  // In the statistics view a section button shows that section's figures, nothing else.
  const unsigned long section = Exercise()->GetTimeline().GetCurrentSectionIndex();
  Form().TimelineButton5->click();
  ASSERT_TRUE(Settled());
  EXPECT_EQ(toExtended.size(), 1);
  EXPECT_EQ(MachineState(), "extendedStatistics");
  EXPECT_EQ(Form().StatisticsHeaderLbl->text(), "This is your score for tempo.");
  Form().TimelineButton2->click();
  ASSERT_TRUE(Settled());
  EXPECT_EQ(toPlain.size(), 1);
  EXPECT_EQ(MachineState(), "statistics");
  EXPECT_EQ(Exercise()->GetTimeline().GetCurrentSectionIndex(), section);

  // Back in the exercise view the extended layout is left by its own transition.
  Form().TimelineButton5->click();
  ASSERT_TRUE(Settled());
  Click(Toolbar().Exercise);
  ASSERT_TRUE(Settled());
  EXPECT_EQ(MachineState(), "exercise");
}

}  // namespace
}  // namespace Testing
