// The key-range and interval-range selectors: clamping, the bounds of each clef mode, the round
// trip through piano keys, mouse drags and the interval names.
#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include <utility>

#include "src/ui/range_selectors.h"

namespace {

std::pair<int, int> Range(const UI::RangeControlBase& selector) {
  int left = 0;
  int right = 0;
  selector.GetRange(left, right);
  return {left, right};
}

TEST(RangeSelectorTest, ClampsRangesIntoTheCellsWithOneSelectedAtLeast) {
  struct Case {
    int left, right, expectedLeft, expectedRight;
  };
  for (const Case& c : {Case{5, 5, 4, 5}, Case{5, 3, 2, 3}, Case{-4, 3, 0, 3}, Case{0, -2, 0, 1},
                        Case{20, 30, 12, 13}, Case{0, 0, 0, 1}}) {
    UI::IntervalRangeSelectorControl selector;
    selector.SetRange(c.left, c.right);
    EXPECT_EQ(Range(selector), std::make_pair(c.expectedLeft, c.expectedRight))
        << c.left << ".." << c.right;
  }
}

TEST(RangeSelectorTest, ClefModesBoundTheKeyRange) {
  struct Case {
    bool treble, bass, limited;
    int lowest, highest;
  };
  for (const Case& c : {Case{true, true, false, 0, 52}, Case{true, false, false, 15, 52},
                        Case{false, true, false, 0, 32}, Case{true, true, true, 2, 44},
                        Case{true, false, true, 15, 44}, Case{false, true, true, 2, 32}}) {
    UI::GkcRangeSelectorControl selector;
    selector.SetLimited(c.limited);
    selector.SetGKeyMode(c.treble, c.bass);
    selector.SetRange(0, 52);
    EXPECT_EQ(Range(selector), std::make_pair(c.lowest, c.highest))
        << c.treble << c.bass << c.limited;
  }
}

TEST(RangeSelectorTest, KeyRangesReadBackAsSetAndFollowTheClefMode) {
  UI::GkcRangeSelectorControl selector;
  struct Case {
    int low, high;
  };
  // The maximum is exclusive: a range reaching C8 reads 88; a range ending on a black key's
  // white key above reads the black key.
  for (const Case& c : {Case{0, 88}, Case{15, 54}, Case{3, 8}, Case{39, 40}}) {
    selector.SetGkcRange(c.low, c.high);
    int low = -1;
    int high = -1;
    selector.GetGkcRange(low, high);
    EXPECT_EQ(std::make_pair(low, high), std::make_pair(c.low, c.high));
  }
  // Keys from a hand-edited file beyond the piano land on its ends.
  selector.SetGkcRange(-30, 400);
  EXPECT_EQ(Range(selector), std::make_pair(0, 52));

  selector.SetRange(20, 40);
  selector.SetGKeyMode(false, true);
  EXPECT_EQ(Range(selector), std::make_pair(20, 32));
}

// A range shown and stored unchanged stays the same, whatever key either end is on; a top key
// whose key below is black (D, E, G, A, B) takes that black key in whole, so its own white key is
// shown too.
TEST(RangeSelectorTest, EveryTopAndBottomKeyReadsBackAsSetAndIsShownWhole) {
  UI::GkcRangeSelectorControl selector;
  for (int low = 0; low < 88; ++low) {
    for (int high = low + 1; high <= 88; ++high) {
      selector.SetGkcRange(low, high);
      int readLow = -1;
      int readHigh = -1;
      selector.GetGkcRange(readLow, readHigh);
      ASSERT_EQ(std::make_pair(readLow, readHigh), std::make_pair(low, high));
    }
  }
  struct Case {
    int low, high, left, right;
  };
  // 55 is E5, white key 32; 54 is D#5; 16 is C#2, above white key 9 (C2).
  for (const Case& c : {Case{15, 55, 9, 33}, Case{15, 54, 9, 32}, Case{16, 56, 9, 33}}) {
    selector.SetGkcRange(c.low, c.high);
    EXPECT_EQ(Range(selector), std::make_pair(c.left, c.right)) << c.low << ".." << c.high;
  }
  // A handle moved reads the key where it stands; the other end keeps its key.
  selector.SetGkcRange(16, 55);
  selector.SetRange(9, 32);
  int low = -1;
  int high = -1;
  selector.GetGkcRange(low, high);
  EXPECT_EQ(std::make_pair(low, high), std::make_pair(16, 54));
}

class RangeDragTest : public ::testing::Test {
 protected:
  // An x that the selector maps to position `p`: it rounds to the nearest of 52 cells across its
  // whole width of 650 pixels.
  static int Boundary(int p) { return p * 25 / 2 - 3; }
  void Drag(int fromX, int toX) {
    const int y = 50;
    QTest::mousePress(&selector, Qt::LeftButton, {}, QPoint(fromX, y));
    QMouseEvent move(QEvent::MouseMove, QPointF(toX, y), selector.mapToGlobal(QPointF(toX, y)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&selector, &move);
    QTest::mouseRelease(&selector, Qt::LeftButton, {}, QPoint(toX, y));
  }
  UI::GkcRangeSelectorControl selector;
};

TEST_F(RangeDragTest, HandlesAndTheWholeRangeFollowTheMouse) {
  selector.SetRange(10, 20);
  Drag(selector.selectionRect().right(), Boundary(25));
  EXPECT_EQ(Range(selector), std::make_pair(10, 25));
  Drag(selector.selectionRect().left(), Boundary(5));
  EXPECT_EQ(Range(selector), std::make_pair(5, 25));
  // Dragged onto the left handle the right one keeps a key selected.
  Drag(selector.selectionRect().right(), Boundary(2));
  EXPECT_EQ(Range(selector), std::make_pair(5, 6));

  selector.SetRange(10, 20);
  const int middle = selector.selectionRect().center().x();
  Drag(middle, middle + 3 * 12);
  EXPECT_EQ(Range(selector), std::make_pair(13, 23));
  // Against the upper bound only that end is clamped, so the range shrinks.
  Drag(selector.selectionRect().center().x(), selector.selectionRect().center().x() + 40 * 12);
  EXPECT_EQ(Range(selector), std::make_pair(51, 52));
  EXPECT_EQ(selector.dragMode(), UI::RangeControlBase::NoDrag);
}

TEST(RangeSelectorTest, TheIntervalSelectorNamesThePositionUnderThePointer) {
  UI::IntervalRangeSelectorControl intervals;
  intervals.resize(650, 109);
  intervals.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&intervals));
  const QPoint tritone(10 + 6 * 631 / 13 + 10, 40);
  QHelpEvent help(QEvent::ToolTip, tritone, intervals.mapToGlobal(tritone));
  EXPECT_TRUE(QApplication::sendEvent(&intervals, &help));
  EXPECT_EQ(QToolTip::text(), "Tritone");

  UI::GkcRangeSelectorControl keys;
  QHelpEvent none(QEvent::ToolTip, QPoint(100, 40), QPoint(100, 40));
  EXPECT_FALSE(QApplication::sendEvent(&keys, &none));
  QToolTip::hideText();
}

}  // namespace
