// The exercise screen's widget tree, its sizes, and the section buttons of the timeline.

#include <QToolButton>

#include <algorithm>

#include "src/core/midi/timeline.h"
#include "src/ui/controls/console_exercise_control/screen_fixture.h"
#include "src/ui/play_dialog.h"

namespace {

using Testing::ScreenTest;
using Info = UI::ConsoleExerciseControl::TimelineButtonInfo;
constexpr unsigned long None = static_cast<unsigned long>(-1);

TEST_F(ScreenTest, TheScreenFillsTheScreenWidthAndThePianoSharesItsPlaceWithTheAnswers) {
  EXPECT_EQ(screen->size(), QSize(1440, 840));
  Ui_console_exercise_control& ui = probe.ui();
  EXPECT_EQ(ui.Gkc->size(), ui.MultipleChoiceWidget->size());
  EXPECT_EQ(ui.Gkc->height(), int(ui.Gkc->width() / 10.64));
  EXPECT_EQ(ui.MultipleChoiceWidget->parentWidget(), ui.GkcLayoutWidget);
  EXPECT_EQ(screen->GetPlayDialog(), screen->GetPlayDialog());

  // Left to right the buttons read 1, 4, 5, 2, 6, 3, and each answers the variant of its "Id".
  std::vector<QToolButton*> buttons = {ui.Answer1, ui.Answer2, ui.Answer3,
                                       ui.Answer4, ui.Answer5, ui.Answer6};
  std::sort(buttons.begin(), buttons.end(),
            [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
  QStringList order;
  for (QToolButton* button : buttons) {
    order << button->objectName();
    EXPECT_EQ(button->property("Id").toInt(), button->objectName().back().digitValue());
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
  }
  EXPECT_EQ(order, (QStringList{"Answer1", "Answer4", "Answer5", "Answer2", "Answer6", "Answer3"}));
}

// The screen is made after the window has shown, and laid out then as the window's show lays out
// the screens it holds: once, so that showing it later moves nothing (the shadow strip across the
// top of the score frame was moved into the frame's middle by a second layout).
TEST_F(ScreenTest, AScreenMadeAfterTheWindowShowedIsLaidOutOnceAsOneMadeWithIt) {
  QWidget* strip = probe.frameShadowStrip();
  ASSERT_NE(strip, nullptr);
  const QRect laidOut = strip->geometry();
  EXPECT_EQ(laidOut.topLeft(), QPoint(0, 0));
  m_console->OpenExercise(2, false, false);
  ASSERT_TRUE(Testing::WaitUntil([&] { return FadeDone() && screen->isVisible(); }));
  EXPECT_EQ(strip->geometry(), laidOut);
}

TEST_F(ScreenTest, ShowingTheScreenCoversItWithThePlayOverlayInTheExerciseViewOnly) {
  m_console->OpenExercise(2, false, false);
  ASSERT_TRUE(Testing::WaitUntil([&] { return screen->isVisible(); }));
  EXPECT_TRUE(screen->GetPlayDialog()->isVisible());
  EXPECT_FALSE(probe.ui().rootWidget->isVisible());

  screen->hide();
  EXPECT_FALSE(screen->GetPlayDialog()->isVisible());
  probe.currentView() = 1;
  screen->show();
  EXPECT_FALSE(screen->GetPlayDialog()->isVisible());
}

struct TimelineCase {
  const char* name;
  std::vector<int> sections;  // ticks
  int barWidth;
  std::vector<Info> records;  // the first records; the rest hold no section
  std::vector<int> buttonX;
};

const TimelineCase TimelineCases[] = {
    {"two sections share the range by the logarithm of their share",
     {600, 60},
     1014,
     {{0, 0, 602, 600}, {1, 602, 397, 60}},
     {7, 609}},
    {"one section takes the whole range", {900}, 514, {{0, 0, 500, 900}}, {7}},
    {"a tiny section keeps the weight 2",
     {100000, 1},
     1014,
     {{0, 0, 775, 100000}, {1, 775, 224, 1}},
     {7, 782}},
    {"a section of no length gets no button",
     {0, 50},
     514,
     {{None, 0, 0, 0}, {1, 0, 500, 50}},
     {0, 7}},
    {"sections all of no length leave every button hidden",
     {0, 0},
     514,
     {{None, 0, 0, 0}, {None, 0, 0, 0}},
     {}},
    {"a bar narrower than its insets has range 0",
     {600, 60},
     10,
     {{0, 0, 0, 600}, {1, 0, 0, 60}},
     {7, 7}},
};

TEST_F(ScreenTest, SectionButtonsFillTheSliderRange) {
  Core::Exercise* exercise = Open(0);
  ASSERT_NE(exercise, nullptr);
  Ui_console_exercise_control& ui = probe.ui();
  QToolButton* const buttons[] = {ui.TimelineButton1, ui.TimelineButton2, ui.TimelineButton3,
                                  ui.TimelineButton4, ui.TimelineButton5};
  for (const TimelineCase& c : TimelineCases) {
    SCOPED_TRACE(c.name);
    Core::TimeLine& timeline = exercise->GetTimeline();
    timeline.Clear();
    for (int ticks : c.sections) timeline.AddSection(QStringLiteral("S%1").arg(ticks), ticks);
    ui.SliderBar->resize(c.barWidth, ui.SliderBar->height());
    screen->LayoutTimeline();

    EXPECT_EQ(ui.TimeSlider->maximum(), std::max(0, c.barWidth - 14));
    const std::vector<Info>& records = screen->TimelineButtons();
    ASSERT_EQ(records.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
      SCOPED_TRACE(i);
      if (i < c.records.size()) {
        EXPECT_EQ(records[i].section, c.records[i].section);
        if (c.records[i].section == None) {
          EXPECT_TRUE(buttons[i]->isHidden());
          continue;
        }
        EXPECT_EQ(records[i].left, c.records[i].left);
        EXPECT_EQ(records[i].width, c.records[i].width);
        EXPECT_EQ(records[i].duration, c.records[i].duration);
        EXPECT_EQ(buttons[i]->x(), c.buttonX[i]);
        EXPECT_FALSE(buttons[i]->isHidden());
      } else {
        EXPECT_EQ(records[i].section, None);
        EXPECT_TRUE(buttons[i]->isHidden());
      }
    }
  }

  screen->StopExercise();
  screen->LayoutTimeline();
  for (QToolButton* button : buttons) EXPECT_TRUE(button->isHidden());
}

}  // namespace
