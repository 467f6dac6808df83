#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using EngineTesting::PlacingDevice;

constexpr unsigned int kStaccato = 46, kTenuto = 45, kAccent = 62, kMarcatoUp = 94,
                       kMarcatoDown = 118;

class ChordArticulationTest : public DrawnScore {};

// A chord carries one mark, as a single note does: beyond its head away from the stem, above a
// chord whose stem goes down and below one whose stem goes up.
TEST_F(ChordArticulationTest, AChordCarriesOneMarkAtItsHeadAwayFromTheStem) {
  Draw(
      "[ \\meter<\"4/4\"> \\stacc( {d2/4, f2} ) \\stacc( {c1/4, e1, g1} ) \\accent( {h1/4, d2, "
      "f2} ) \\ten( {h1/4, d2, f2} ) | \\stacc( {d2/2, f2} ) \\ten( {c1/2, e1, g1} ) | "
      "\\marcato( {h1/4, d2, f2} ) \\marcato( {c1/4, e1} ) \\stacc( \\accent( {e1/4, g1} ) ) _/4 "
      "]");
  std::vector<PlacingDevice::Glyph> marks;
  for (auto [code, count] : {std::pair{kStaccato, 4u},
                             {kTenuto, 2u},
                             {kAccent, 2u},
                             {kMarcatoUp, 1u},
                             {kMarcatoDown, 1u}}) {
    auto const drawnMarks = Glyphs(code);
    EXPECT_EQ(drawnMarks.size(), count) << "glyph " << code;
    marks.insert(marks.end(), drawnMarks.begin(), drawnMarks.end());
  }
  for (auto const& mark : marks) {
    float const centre = (mark.ink.left + mark.ink.right) / 2;
    float highest = 1e9f, lowest = -1e9f;
    for (auto const& note : NoteRecords()) {
      if (std::abs(note.desc.headX - centre) > 40) continue;
      highest = std::min(highest, note.desc.refY);
      lowest = std::max(lowest, note.desc.refY);
    }
    bool stemUp = false;
    for (auto const& stem : Records(2, 10))
      if (std::abs(stem.left - centre) < 40 && stem.top <= lowest && stem.bottom >= highest)
        stemUp = stem.top < highest - 50;
    // Heads are 50 high.
    if (stemUp) {
      EXPECT_GT(mark.ink.top, lowest + 20) << "glyph " << mark.code << " at " << centre;
    } else {
      EXPECT_LT(mark.ink.bottom, highest - 20) << "glyph " << mark.code << " at " << centre;
    }
  }
}

}  // namespace
