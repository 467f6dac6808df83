// Staff lines as drawn: each line once, however many slices the line of music has, and staff
// formats that change the lines where a measure begins and hold until the next format.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::PlacingDevice;

constexpr int kStaffLineAlpha = 122;
constexpr int kOther = 2, kStaffLines = 5, kBar = 3;
constexpr unsigned int kFinishBar = 92;

// The area a straight stroke of a square-ended pen covers.
struct Covered {
  float left, top, right, bottom;
};

Covered CoveredBy(PlacingDevice::Segment const& s) {
  float const half = s.width / 2;
  return {std::min(s.x1, s.x2) - half, std::min(s.y1, s.y2) - half, std::max(s.x1, s.x2) + half,
          std::max(s.y1, s.y2) + half};
}

bool Overlap(Covered const& a, Covered const& b) {
  float const tolerance = 0.01f;
  return a.left < b.right - tolerance && b.left < a.right - tolerance &&
         a.top < b.bottom - tolerance && b.top < a.bottom - tolerance;
}

class StaffLinesTest : public EngineTesting::DrawnScore {
 protected:
  std::vector<PlacingDevice::Segment> StaffStrokes() const {
    std::vector<PlacingDevice::Segment> strokes;
    for (PlacingDevice::Segment const& s : drawn.lines)
      if (s.alpha == kStaffLineAlpha) strokes.push_back(s);
    return strokes;
  }

  // What the strokes along height y of the page cover.
  std::vector<Covered> AlongLine(int page, float y) const {
    std::vector<Covered> along;
    for (PlacingDevice::Segment const& s : StaffStrokes())
      if (s.page == page && s.y1 == s.y2 && std::abs(s.y1 - y) < 0.01f)
        along.push_back(CoveredBy(s));
    return along;
  }

  // No two strokes overlap, and the top and bottom lines of each staff the map holds are covered
  // from its start to its end.
  void ExpectEveryLineDrawnOnce() {
    std::vector<PlacingDevice::Segment> const strokes = StaffStrokes();
    for (size_t i = 0; i < strokes.size(); ++i) {
      for (size_t j = i + 1; j < strokes.size(); ++j) {
        if (strokes[i].page == strokes[j].page) {
          EXPECT_FALSE(Overlap(CoveredBy(strokes[i]), CoveredBy(strokes[j])))
              << "strokes " << i << " and " << j << " at " << strokes[j].x1 << "," << strokes[j].y1;
        }
      }
    }
    for (auto const& [page, staff] : placed.records) {
      if (staff.kind != kOther || staff.subtype != kStaffLines) continue;
      for (float y : {staff.top, staff.bottom}) {
        bool covered = false;
        for (Covered const& c : AlongLine(page, y))
          covered = covered || (c.left <= staff.left + 0.01f && c.right >= staff.right - 0.01f);
        EXPECT_TRUE(covered) << "the line at " << y << " from " << staff.left << " to "
                             << staff.right;
      }
    }
  }
};

// Slices of a line meet where their springs meet; a line of music is stroked once, its closing
// line stands between the lines, and two staves and two lines of music are no different.
TEST_F(StaffLinesTest, EveryLineIsStrokedOnceAcrossTheSlices) {
  for (char const* score :
       {"[ c1/4 d e f \\bar g a h c2 ]",
        "[ \\meter<\"4/4\"> c2/4 d e f | g a h c3 | c2/4 d e f | e2/4 f g a | h c3 d e | "
        "e2/4 f g a | c2/1 | d2/1 ]",
        "{ [ \\meter<\"3/4\"> c2/4 d e | f g a ], [ \\staff<2> \\clef<\"f\"> \\meter<\"3/4\"> "
        "c0/2. | f0/2. ] }"}) {
    SCOPED_TRACE(score);
    Draw(score);
    ExpectEveryLineDrawnOnce();
  }
}

// A format that changes the lines at the start of a measure takes over at its bar line: the old
// lines end there, and the notes after it stand where the same notes stand on the next line.
TEST_F(StaffLinesTest, AFormatChangesTheLinesAtTheBarLine) {
  Draw(
      "[ \\meter<\"4/4\"> c2/4 d e f | \\staffFormat<\"3-line\"> c2/4 d e f | g a h c3 "
      "\\newSystem c3/1 | c3/1 ]");
  ExpectEveryLineDrawnOnce();
  float barAtOne = -1;
  for (auto const& [page, bar] : placed.records)
    if (bar.kind == kBar && bar.date == 1) barAtOne = bar.left;
  ASSERT_GT(barAtOne, 0);
  std::vector<ScoreElementDesc> const staves = Records(kOther, kStaffLines);
  ASSERT_FALSE(staves.empty());
  float const top = staves[0].top;
  // The fourth and fifth lines of the first measure end at its bar line.
  for (float y : {top + 150, top + 200}) {
    std::vector<Covered> const along = AlongLine(1, y);
    ASSERT_EQ(along.size(), 1u);
    EXPECT_NEAR(along[0].right, barAtOne, 0.01f);
  }
  // Each c3 stands as high above the top line of its staff: bar 3 on the first line, and the two
  // of the second line.
  std::vector<float> heights;
  for (auto const& [page, note] : NoteRecords()) {
    if (note.date != 2.75f && note.date < 3) continue;
    ScoreElementDesc const* own = nullptr;
    for (ScoreElementDesc const& staff : staves)
      if (note.headX >= staff.left && note.headX <= staff.right &&
          (!own || std::abs(staff.top - note.refY) < std::abs(own->top - note.refY)))
        own = &staff;
    ASSERT_NE(own, nullptr);
    heights.push_back(own->top - note.refY);
  }
  ASSERT_EQ(heights.size(), 3u);
  EXPECT_FLOAT_EQ(heights[1], heights[0]);
  EXPECT_FLOAT_EQ(heights[2], heights[0]);
}

// A format without a size keeps the size the last one gave, on the next measures and lines.
TEST_F(StaffLinesTest, ASizeHoldsUntilAFormatChangesIt) {
  // 2 half spaces, 50 units, give line spaces of 100.
  Draw(
      "[ \\meter<\"4/4\"> c2/4 d e f | \\staffFormat<\"5-line\", size=2hs> c2/4 d e f | "
      "\\staffFormat<\"5-line\"> c2/4 d e f | c2/4 d e f \\newSystem c2/4 d e f ]");
  std::vector<ScoreElementDesc> const staves = Records(kOther, kStaffLines);
  ASSERT_GE(staves.size(), 5u);
  EXPECT_NEAR(staves[0].bottom - staves[0].top, 200, 0.01);
  for (size_t i = 1; i < staves.size(); ++i)
    EXPECT_NEAR(staves[i].bottom - staves[i].top, 4 * 100, 0.01) << "staff " << i;
  ExpectEveryLineDrawnOnce();

  // The finish bar of a staff of another size reaches from its top line to its bottom line.
  Draw("[ \\staffFormat<\"5-line\", size=3hs> c2/4 d e f ]");
  std::vector<PlacingDevice::Glyph> const finish = Glyphs(kFinishBar);
  std::vector<ScoreElementDesc> const staff = Records(kOther, kStaffLines);
  ASSERT_EQ(finish.size(), 1u);
  ASSERT_EQ(staff.size(), 1u);
  EXPECT_NEAR(finish[0].y, staff[0].bottom, 0.01);
}

}  // namespace
