// The small pieces of the settings pages: check groups, the duration control with its binders,
// the check-box binders and the key-colour binders.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QTest>

#include <array>

#include "src/core/settings/exercise_settings.h"
#include "src/ui/controls/check_group.h"
#include "src/ui/controls/duration_control.h"
#include "src/ui/controls/key_colour_binders.h"
#include "src/ui/controls/settings_binders.h"
#include "src/ui/range_selectors.h"

namespace {

TEST(CheckGroupTest, TheLastCheckedBoxCannotBeUnchecked) {
  QWidget page;
  std::array<QCheckBox*, 3> boxes{new QCheckBox(&page), new QCheckBox(&page), new QCheckBox(&page)};
  UI::CheckGroup group;
  for (QCheckBox* box : boxes) group.AddCheck(box);
  auto enabled = [&] {
    return std::array<bool, 3>{boxes[0]->isEnabled(), boxes[1]->isEnabled(), boxes[2]->isEnabled()};
  };
  // As a stored record may have it: nothing checked, so every box stays open.
  group.onChange();
  EXPECT_EQ(enabled(), (std::array<bool, 3>{true, true, true}));
  boxes[1]->setChecked(true);
  group.onChange();
  EXPECT_EQ(enabled(), (std::array<bool, 3>{true, false, true}));
  page.show();
  QTest::mouseClick(boxes[2], Qt::LeftButton);
  EXPECT_EQ(enabled(), (std::array<bool, 3>{true, true, true}));
  QTest::mouseClick(boxes[2], Qt::LeftButton);
  EXPECT_EQ(enabled(), (std::array<bool, 3>{true, false, true}));
}

// Whether the arrow of `step` is drawn enabled: with the style's disable-on-bounds hint the spin
// box draws an arrow disabled when it cannot step that way.
bool StepEnabled(UI::DurationSpinBox* box, int step) {
  const bool atBound = step > 0 ? box->value() == box->maximum() : box->value() == box->minimum();
  return !(atBound &&
           box->style()->styleHint(QStyle::SH_SpinControls_DisableOnBounds, nullptr, box));
}

TEST(DurationControlTest, StoredZerosAndBoundsOfTheSpinBoxes) {
  UI::DurationControl control;
  Core::ExerciseDuration stored{0, 0};
  UI::Data2durationUI(stored, &control);
  EXPECT_EQ(control.questionBox()->text(), "1");
  EXPECT_EQ(control.timeoutBox()->text(), "Untimed");
  // Shown and left again: the count becomes 1, the section stays untimed.
  UI::durationUI2Data(stored, &control);
  EXPECT_EQ(stored.questions, 1);
  EXPECT_EQ(stored.seconds, 0);
  UI::Data2durationUI(stored, &control);
  UI::durationUI2Data(stored, &control);
  EXPECT_EQ(stored.seconds, 0);
  // A step picks a time; from then on the box runs from 1 again.
  control.timeoutBox()->stepUp();
  UI::durationUI2Data(stored, &control);
  EXPECT_EQ(stored.seconds, 1);
  EXPECT_EQ(control.timeoutBox()->minimum(), 1);
  control.timeoutBox()->stepDown();
  EXPECT_EQ(control.selectedTimeoutIndex(), 1);

  EXPECT_EQ(control.questionListSize(), 1000);
  EXPECT_EQ(control.timeoutListSize(), 60);
  stored = {75, 1000};
  UI::Data2durationUI(stored, &control);
  EXPECT_EQ(control.selectedTimeoutIndex(), 60);
  EXPECT_FALSE(StepEnabled(control.timeoutBox(), +1));
  EXPECT_TRUE(StepEnabled(control.timeoutBox(), -1));
  EXPECT_FALSE(StepEnabled(control.questionBox(), +1));
  control.scrollToQuestionValue(1);
  EXPECT_FALSE(StepEnabled(control.questionBox(), -1));
  EXPECT_TRUE(control.questionBox()->findChild<QLineEdit*>()->isReadOnly());
}

TEST(BinderTest, CheckBoxesStoreTrueOnlyWhenFullyChecked) {
  QCheckBox box;
  box.setTristate(true);
  struct Case {
    Qt::CheckState state;
    bool stored;
  };
  for (const Case& c :
       {Case{Qt::Checked, true}, Case{Qt::PartiallyChecked, false}, Case{Qt::Unchecked, false}}) {
    box.setCheckState(c.state);
    bool flag = !c.stored;
    UI::boolUi2Data(flag, &box);
    EXPECT_EQ(flag, c.stored) << c.state;
    UI::Data2boolUi(flag, &box);
    EXPECT_EQ(box.checkState(), c.stored ? Qt::Checked : Qt::Unchecked);
  }
}

TEST(KeyColourBinderTest, ThreeRadiosStandForTwoFlags) {
  QWidget page;
  auto* white = new QRadioButton(&page);
  auto* black = new QRadioButton(&page);
  auto* both = new QRadioButton(&page);
  UI::GkcRangeSelectorControl selector;
  struct Case {
    bool white, black;
    QRadioButton* radio;
  };
  for (const Case& c :
       {Case{true, false, white}, Case{false, true, black}, Case{true, true, both}}) {
    Core::ChromaticSettings colours{c.white, c.black};
    UI::Data2Chromatic(colours, white, black, both, &selector);
    EXPECT_TRUE(c.radio->isChecked());
    Core::ChromaticSettings back{!c.white, !c.black};
    UI::Chromatic2Data(back, white, black, both);
    EXPECT_EQ(back.white, c.white);
    EXPECT_EQ(back.black, c.black);
  }
  // Neither flag: no radio is set by the record, so the one selected before stays.
  Core::ChromaticSettings none{false, false};
  UI::Data2Chromatic(none, white, black, both, &selector);
  EXPECT_TRUE(both->isChecked());
}

}  // namespace
