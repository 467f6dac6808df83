// Ledger lines of chords on the real music font: a head pushed to the other side of the stem
// keeps its ledger lines, and each line runs under every head at or beyond it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "drawn_score.h"
#include "ledger_line_check.h"

namespace {

using EngineTesting::MissingLedgerLine;
using EngineTesting::MissingLedgerLines;
using EngineTesting::PlacingDevice;
using EngineTesting::StaffLines;

// The pen of the staff lines is half transparent, and no other stroke is.
constexpr int kStaffLineAlpha = 122;
constexpr unsigned int kLedgerLine = 95;

class LedgerLinesTest : public EngineTesting::DrawnScore {
 protected:
  // The one staff drawn, from its lines.
  StaffLines Staff() const {
    std::set<float> heights;
    for (PlacingDevice::Segment const& line : drawn.lines)
      if (line.alpha == kStaffLineAlpha && line.y1 == line.y2) heights.insert(line.y1);
    if (heights.size() < 2) return {0, 0, int(heights.size())};
    float const top = *heights.begin(), bottom = *heights.rbegin();
    return {top, (bottom - top) / float(heights.size() - 1), int(heights.size())};
  }
  std::vector<NVRect> Heads() const {
    std::vector<NVRect> heads;
    for (unsigned int code : {88u, 69u, 119u})
      for (PlacingDevice::Glyph const& head : Glyphs(code)) heads.push_back(head.ink);
    return heads;
  }
  std::vector<NVRect> Lines() const {
    std::vector<NVRect> lines;
    for (PlacingDevice::Glyph const& line : Glyphs(kLedgerLine)) lines.push_back(line.ink);
    return lines;
  }
  // How many heads stand beyond a line of the staff, where they need ledger lines.
  int HeadsOutside(StaffLines const& staff) const {
    std::vector<NVRect> const heads = Heads();
    return int(std::count_if(heads.begin(), heads.end(), [&](NVRect const& head) {
      float const middle = 0.5f * (head.top + head.bottom);
      return middle <= staff.top - 0.75f * staff.space ||
             middle >= staff.bottom() + 0.75f * staff.space;
    }));
  }
};

TEST_F(LedgerLinesTest, ChordsWithSecondsHaveTheirLedgerLinesUnderEveryHead) {
  char const* const scores[] = {
      "[ \\meter<\"4/4\"> {h0/4, c1} {a2/4, h2} {c3/4, d3} {c-1/4, d-1} ]",
      "[ \\clef<\"f4\"> \\meter<\"4/4\"> {d-1/4, e-1} {c1/4, d1} {e1/4, f1} ]",
      "{ [ \\staff<1> \\clef<\"g2\"> \\stemsAuto { b0 , c1 } ], "
      "[ \\staff<1> \\clef<\"g2\"> \\stemsAuto ] }",
      // Stems the other way round push the other head of each second.
      "[ \\stemsUp {c3/4, d3} {a2/4, h2} \\stemsDown {h0/4, c1} {c-1/4, d-1} ]",
      // Inverted seventh chords, with a second inside, beyond either side of the staff.
      "[ {a0/4, h0, d1, f1} {c3/4, d3, f3, a3} {h2/4, c3, e3, g3} {e-1/4, f-1, a-1, c0} ]",
      // Wider heads take their lines along as far.
      "[ \\meter<\"4/4\"> {h0/2, c1} {c3/2, d3} | {h0/1, c1} | {c3/1, d3} ]",
      "[ \\clef<\"f4\"> {c-2/4, d-2} {e-2/2, f-2, a-2} {h1/4, c2, e2} ]",
  };
  for (char const* score : scores) {
    Draw(score);
    StaffLines const staff = Staff();
    ASSERT_EQ(staff.count, 5) << score;
    EXPECT_GE(HeadsOutside(staff), 2) << score;
    for (MissingLedgerLine const& missing : MissingLedgerLines(staff, Heads(), Lines()))
      ADD_FAILURE() << score << ": no ledger line at " << missing.y << " across the head at "
                    << missing.head.left << ", " << missing.head.top;
  }
}

// The check finds a head whose line lies under another head only, and two heads side by side
// whose lines leave a gap between them.
TEST(LedgerLineCheck, FindsLinesMissingUnderAHeadOrBetweenHeads) {
  StaffLines const staff{0, 50, 5};
  // A head on the first line above, another a second higher beside it, and one two lines
  // below the staff.
  NVRect const onLine{100, -60, 160, -40}, beside{160, -85, 220, -65}, below{400, 290, 460, 310};
  std::vector<NVRect> const heads = {onLine, beside, below};
  std::vector<NVRect> const all = {{80, -52, 240, -48}, {380, 248, 480, 252}, {380, 298, 480, 302}};
  EXPECT_TRUE(MissingLedgerLines(staff, heads, all).empty());

  std::vector<NVRect> const underOneHead = {{80, -52, 180, -48}, all[1], all[2]};
  std::vector<MissingLedgerLine> missing = MissingLedgerLines(staff, heads, underOneHead);
  ASSERT_EQ(missing.size(), 1u);
  EXPECT_EQ(missing[0].y, -50);

  std::vector<NVRect> const apart = {{80, -52, 170, -48}, {180, -52, 240, -48}, all[1]};
  missing = MissingLedgerLines(staff, heads, apart);
  ASSERT_EQ(missing.size(), 2u);
  EXPECT_EQ(missing[0].y, -50);
  EXPECT_EQ(missing[1].y, 300);
  EXPECT_EQ(missing[1].head.left, 400);
}

}  // namespace
