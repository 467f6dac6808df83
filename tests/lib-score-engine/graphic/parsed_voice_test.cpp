// Texts as the application writes them, parsed and turned into elements: what the symbol map
// and the device receive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "note_scene.h"

namespace {

using EngineTesting::RazidNotes;

std::vector<float> HeadsX(std::vector<ScoreElementDesc> const& notes) {
  std::vector<float> heads;
  for (ScoreElementDesc const& note : notes) heads.push_back(note.headX);
  return heads;
}

TEST_F(RazidNotes, ParsedChordDrawsOneStemAndReportsEveryNote) {
  // The second stem goes up, the third down: a second's upper head goes right of the one, the
  // lower head left of the other.
  Voice("[ { c1, e1, g1 } { c1, d1 } { c2, h1 } ]", {200, 500, 800});
  Draw();
  auto const stems = Records(2, 10);
  ASSERT_EQ(stems.size(), 3u);
  EXPECT_EQ(stems[0].refX, 230);
  EXPECT_EQ(stems[0].refY, 250);
  EXPECT_EQ(stems[0].top, -25);  // 275 long
  std::vector<std::string> const symbols = Symbols();
  EXPECT_EQ(std::count(symbols.begin(), symbols.end(), "219@170,250"), 1);
  EXPECT_EQ(HeadsX(Records(1, 10)), (std::vector<float>{200, 200, 200, 500, 560, 800, 740}));
  // The placeholders that carry each chord's length are empty events.
  EXPECT_FALSE(Records(1, 12).empty());
}

TEST_F(RazidNotes, ParsedNotesFollowOneAnother100Apart) {
  Voice("[ g1/4 _/4 c1/2 ]", {});
  Draw();
  auto const notes = Records(1, 10);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].refX, 100);
  EXPECT_EQ(notes[1].refX, 300);
  EXPECT_EQ(notes[1].refY, 250);
  ASSERT_EQ(Records(1, 11).size(), 1u);
  EXPECT_EQ(Records(1, 11)[0].refX, 200);
}

}  // namespace
