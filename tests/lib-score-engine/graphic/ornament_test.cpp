#include <gtest/gtest.h>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;

constexpr unsigned int kTrill = 109, kMordent = 77;

class OrnamentTest : public DrawnScore {};

// Ornaments stand over their first note, above the staff and above a note that reaches over it.
TEST_F(OrnamentTest, TheMordentHasItsOwnSignAndOrnamentsStandAboveTheStaff) {
  Draw("[ \\meter<\"4/4\"> \\trill(c2/2) \\turn(d2/4) \\mord(e2/4) \\mord(a2/4) \\mord(c3/4) ]");
  EXPECT_TRUE(Glyphs(kTrill).empty());
  auto const mordents = Glyphs(kMordent);
  ASSERT_EQ(mordents.size(), 3u);
  auto const staves = Records(2, 5);  // the staff lines
  ASSERT_FALSE(staves.empty());
  float const staffTop = staves[0].top;
  auto const notes = NoteRecords();
  ASSERT_EQ(notes.size(), 5u);
  ASSERT_EQ(drawn.texts.size(), 2u);
  EXPECT_EQ(drawn.texts[0].text, "trill");
  EXPECT_EQ(drawn.texts[1].text, "turn");
  for (size_t i = 0; i < notes.size(); ++i) {
    SCOPED_TRACE(i);
    float const x = i < 2 ? drawn.texts[i].x : mordents[i - 2].x;
    float const y = i < 2 ? drawn.texts[i].y : mordents[i - 2].y;
    EXPECT_FLOAT_EQ(x, notes[i].desc.headX);  // centred on the head (alignment 9)
    EXPECT_LE(y, staffTop - 25);
    EXPECT_LE(y, notes[i].desc.top - 25);
  }
}

}  // namespace
