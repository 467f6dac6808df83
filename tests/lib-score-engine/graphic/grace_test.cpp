#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using EngineTesting::IsAccidental;
using EngineTesting::PlacingDevice;
using testing::HasSubstr;
using testing::Not;

class GraceTest : public DrawnScore {};

// Grace notes come in time before the note they lean on and take no time of their own: they are
// the notes drawn with no length at its date.
TEST_F(GraceTest, GraceNotesStandSideBySideBeforeTheirNoteClearOfIt) {
  for (char const* score : {
           "[ \\meter<\"4/4\"> c2/4 \\grace(d2/16) c2/4 e2/2 ]",
           "[ \\meter<\"4/4\"> \\grace(e2/8 d2/8) c2/4 \\grace(g1/16 a1 h1) c2/2 | "
           "\\grace(c#2/8) d2/4 e f g ]",
       }) {
    SCOPED_TRACE(score);
    Draw(score);
    EXPECT_THAT(warnings, Not(HasSubstr("GRGrace")));
    auto const notes = NoteRecords();
    int groups = 0;
    for (size_t i = 0; i < notes.size(); ++i) {
      ScoreElementDesc const& main = notes[i].desc;
      if (main.duration <= 0) continue;
      std::vector<ScoreElementDesc> graces;
      for (auto const& r : notes)
        if (r.desc.duration == 0 && r.desc.date == main.date) graces.push_back(r.desc);
      if (graces.empty()) continue;
      ++groups;
      // Heads (60 units wide at full size) a gap apart, the last one clear of the note's head
      // and of the signs before it.
      float limit = main.headX - 30;
      for (auto const& glyph : drawn.glyphs)
        if (IsAccidental(glyph.code) && glyph.x < main.headX && glyph.x > main.headX - 150 &&
            std::abs(glyph.y - main.refY) < 1)
          limit = std::min(limit, glyph.x);
      for (size_t g = graces.size(); g-- > 0;) {
        SCOPED_TRACE(testing::Message() << "grace " << g << " at " << graces[g].headX);
        EXPECT_LE(graces[g].headX + 30, limit - 10);
        EXPECT_GT(graces[g].headX + 30, limit - 200) << "far from what follows";
        limit = graces[g].headX - 30;
      }
    }
    EXPECT_GT(groups, 0);
  }
}

// A grace note is small in all its parts, the note it leans on full size: five notes of a 2/4 bar
// with graces before two of them read as two.
TEST_F(GraceTest, GraceNotesAreDrawnSmallInAllTheirParts) {
  Draw(
      "[ \\meter<\"2/4\"> \\grace( a2/8 ) g2/4 \\grace( c2/16 h1/16 ) a1/4 | "
      "\\grace( c#2/8. ) d2/2 ]");
  constexpr int kFull = 200, kGrace = 150;
  constexpr unsigned int kBlackHead = 88, kHalfHead = 69, kSharp = 35, kDot = 46, kLedger = 95;
  // Heads, the flags of an eighth and a sixteenth (stems up) and the pieces of a stem up.
  auto count = [&](unsigned int code, int size) {
    auto const glyphs = Glyphs(code);
    return std::count_if(glyphs.begin(), glyphs.end(),
                         [&](auto const& glyph) { return FontSize(glyph) == size; });
  };
  EXPECT_EQ(count(kBlackHead, kGrace), 4);
  EXPECT_EQ(count(kBlackHead, kFull), 2);
  EXPECT_EQ(count(kHalfHead, kFull), 1);
  EXPECT_EQ(count(106, kGrace), 2);
  EXPECT_EQ(count(107, kGrace), 2);
  EXPECT_GT(count(219, kGrace), 0);
  EXPECT_EQ(count(kSharp, kGrace), 1);
  EXPECT_EQ(count(kDot, kGrace), 1);
  EXPECT_EQ(count(kLedger, kGrace), 1);
  for (unsigned int code : {kSharp, kDot, kLedger, 106u, 107u}) EXPECT_EQ(count(code, kFull), 0);
  // A grace stem is three quarters of a full one (3.5 line spaces): its flag stands that much
  // above its head.
  std::vector<PlacingDevice::Glyph> heads, flags;
  for (auto const& glyph : drawn.glyphs) {
    if (FontSize(glyph) != kGrace) continue;
    if (glyph.code == kBlackHead) heads.push_back(glyph);
    if (glyph.code == 106 || glyph.code == 107) flags.push_back(glyph);
  }
  ASSERT_EQ(heads.size(), flags.size());
  for (size_t i = 0; i < heads.size(); ++i)
    EXPECT_NEAR(heads[i].y - flags[i].y, 0.75f * 175, 1) << "grace note " << i;
}

}  // namespace
