// A dynamic or a text written between two events of a staff stands in a spring of its own, laid
// out and drawn on the real music font.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "drawn_score.h"

namespace {

// Two staves in A major, unbarred from the second line on, whose third line opens with a text
// over the end of a tie, and a dynamic between two chords of the lower staff.
std::string HymnLine(std::string const& text) {
  std::string const meter = "\\meter<\"3/4\", autoBarlines=\"off\"> ";
  return "{ [ \\staff<1> \\pageFormat<w=8cm, h=17cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> "
         "\\key<3> " +
         meter +
         "c#2/4 h1 a1 | e2/2 d2/4 | \\newSystem c#2/4 h1/8 a1/8 g#1/4 a1/2 e1/4 | a1/2. ], " +
         "[ \\staff<2> \\clef<\"f4\"> \\key<3> " + meter +
         "a-1/2. | {a-1/2, c#0/2, e0/2} \\tie( g#-1/4 | \\newSystem " + text +
         "g#-1/8 ) {d#0/8, f#0/8, a0/8} \\intens<\"ff\"> {h-1/4, d0/4, f#0/4} f0/4 \\intens<\"f\"> "
         "a-1/2 {f#0/4, a0/4, c#1/4} | a-1/2. ] }";
}

class MarkSpringsTest : public EngineTesting::DrawnScore {
 protected:
  // Where each event stands, by its staff (the index of the staff's record) and its date; a
  // chord stands for its notes.
  std::map<std::pair<int, float>, float> Columns() const {
    std::vector<ScoreElementDesc> const staves = Records(5);
    std::map<std::pair<int, float>, float> columns;
    for (ScoreElementDesc const& event : Records(1)) {
      if (event.subtype == 11 || !(event.duration > 0)) continue;  // rests; notes of a chord
      auto middle = [](ScoreElementDesc const& box) { return (box.top + box.bottom) / 2; };
      auto const staff = std::min_element(staves.begin(), staves.end(), [&](auto& a, auto& b) {
        return std::fabs(middle(a) - middle(event)) < std::fabs(middle(b) - middle(event));
      });
      columns.emplace(std::pair{int(staff - staves.begin()), event.date}, event.refX);
    }
    return columns;
  }
};

// The events of a staff stand in the order of their dates, a column for each date, with no sign
// in the heads of the column before, a mark between them or not. A text stands at its event and
// reaches on under the events after it, which stand where they stand without it, also at the
// start of a line or in a loose line: its spring is at most as wide as its event's room on the
// left.
TEST_F(MarkSpringsTest, EventsKeepTheirColumnsAndTheirRoomAroundAMark) {
  std::string const longText = "\\text<\"sempre molto legato\"> ";
  for (auto const& [with, without] : {
           std::pair{HymnLine("\\text<\"sempre\"> "), HymnLine("")},
           {"[ \\key<3> \\meter<\"2/4\"> {d#1/16, f#1, a1} \\intens<\"ff\"> {h0/16, d1, f#1} ]",
            std::string("[ \\key<3> \\meter<\"2/4\"> {d#1/16, f#1, a1} {h0/16, d1, f#1} ]")},
           {"[ \\meter<\"4/4\"> c d " + longText + "e f g a h c2 ]",
            std::string("[ \\meter<\"4/4\"> c d e f g a h c2 ]")},
           {"[ \\meter<\"4/4\"> c d e f \\newSystem " + longText + "g a h c2 ]",
            std::string("[ \\meter<\"4/4\"> c d e f \\newSystem g a h c2 ]")},
       }) {
    SCOPED_TRACE(with);
    Draw(without);
    auto const plain = Columns();
    Draw(with);
    auto const columns = Columns();
    ASSERT_EQ(columns.size(), plain.size());
    for (auto at = columns.begin(); at != columns.end(); ++at) {
      auto const next = std::next(at);
      if (next != columns.end() && next->first.first == at->first.first) {
        EXPECT_GT(next->second, at->second + 40) << "at " << next->first.second;
      }
      if (with.find("text") != std::string::npos) {
        EXPECT_NEAR(at->second, plain.at(at->first), 35) << "at " << at->first.second;
      }
    }
    std::vector<NVRect> signs, heads;
    for (auto const& glyph : drawn.glyphs) {
      if (EngineTesting::IsAccidental(glyph.code)) signs.push_back(glyph.ink);
      if (glyph.code == 88 || glyph.code == 69 || glyph.code == 119) heads.push_back(glyph.ink);
    }
    EXPECT_EQ(EngineTesting::Overlaps(signs, heads), 0);
  }
}

}  // namespace
