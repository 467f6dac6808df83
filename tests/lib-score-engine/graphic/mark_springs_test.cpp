// A dynamic or a text written between two events of a staff stands in a spring of its own:
// the events around it keep their columns and their room, laid out and drawn on the real music
// font.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::IsAccidental;
using EngineTesting::Overlaps;

// Two staves in A major, unbarred from the second line on, whose third line opens with a text
// over the end of a tie, and a dynamic between two chords of the lower staff.
std::string HymnLine(std::string const& meter, std::string const& text) {
  std::string const format = "\\pageFormat<w=8cm, h=17cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> ";
  return "{ [ \\staff<1> " + format + "\\key<3> \\meter<" + meter +
         "> c#2/4 h1 a1 | e2/2 d2/4 | \\newSystem c#2/4 h1/8 a1/8 g#1/4 a1/2 e1/4 | a1/2. ], "
         "[ \\staff<2> \\clef<\"f4\"> \\key<3> \\meter<" +
         meter + "> a-1/2. | {a-1/2, c#0/2, e0/2} \\tie( g#-1/4 | \\newSystem " + text +
         "g#-1/8 ) {d#0/8, f#0/8, a0/8} \\intens<\"ff\"> {h-1/4, d0/4, f#0/4} f0/4 "
         "\\intens<\"f\"> a-1/2 {f#0/4, a0/4, c#1/4} | a-1/2. ] }";
}

std::string const kUnbarred = "\"3/4\", autoBarlines=\"off\"";
std::string const kSempre = "\\text<\"sempre\"> ";

class MarkSpringsTest : public EngineTesting::DrawnScore {
 protected:
  // Where each event stands, by the staff it stands on (the index of its staff record) and its
  // date; a chord stands for its notes.
  std::map<std::pair<int, float>, float> Columns() const {
    std::vector<ScoreElementDesc> const staves = Records(5);
    std::map<std::pair<int, float>, float> columns;
    for (ScoreElementDesc const& event : Records(1)) {
      if (event.subtype == 11 || !(event.duration > 0)) continue;  // rests; notes of a chord
      float const y = (event.top + event.bottom) / 2;
      auto const nearest = std::min_element(
          staves.begin(), staves.end(), [&](ScoreElementDesc const& a, ScoreElementDesc const& b) {
            return std::fabs((a.top + a.bottom) / 2 - y) < std::fabs((b.top + b.bottom) / 2 - y);
          });
      columns.emplace(std::pair{int(nearest - staves.begin()), event.date}, event.refX);
    }
    return columns;
  }
};

// The events of a staff stand in the order of their dates, each date a column of its own, and
// no sign stands in the heads of the column before it, a dynamic between them or not.
TEST_F(MarkSpringsTest, EventsKeepTheirColumnsAndTheirSignsClearOfTheColumnBefore) {
  for (std::string const& score : {
           HymnLine(kUnbarred, kSempre),
           HymnLine("\"3/4\"", kSempre),
           HymnLine(kUnbarred, ""),
           std::string("[ \\key<3> \\meter<\"2/4\"> {d#1/16, f#1, a1} \\intens<\"ff\"> "
                       "{h0/16, d1, f#1} {c#1/16, e1} \\intens<\"p\"> {d1/16, f1, a1} ]"),
       }) {
    SCOPED_TRACE(score);
    Draw(score);
    auto const columns = Columns();
    ASSERT_GE(columns.size(), 4u);
    for (auto at = columns.begin(), next = std::next(at); next != columns.end(); ++at, ++next)
      if (at->first.first == next->first.first) {
        EXPECT_GT(next->second, at->second + 40)
            << "staff " << at->first.first << " at " << next->first.second;
      }
    std::vector<NVRect> signs, heads;
    for (auto const& glyph : drawn.glyphs) {
      if (IsAccidental(glyph.code)) signs.push_back(glyph.ink);
      if (glyph.code == 88 || glyph.code == 69 || glyph.code == 119) heads.push_back(glyph.ink);
    }
    EXPECT_EQ(Overlaps(signs, heads), 0);
  }
}

// A text stands at the event after it and reaches on under the events that follow: they stand
// where they stand without it, also at the start of a line or in a loose line, however wide the
// text.
TEST_F(MarkSpringsTest, ATextTakesNoRoomFromTheEventsAfterIt) {
  std::string const longText = "\\text<\"sempre molto legato\"> ";
  for (auto const& [with, without] : {
           std::pair{HymnLine(kUnbarred, kSempre), HymnLine(kUnbarred, "")},
           {HymnLine("\"3/4\"", kSempre), HymnLine("\"3/4\"", "")},
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
    for (auto const& [event, x] : columns) {
      ASSERT_EQ(plain.count(event), 1u);
      // The text's spring is at most as wide as the room its event keeps on its left.
      EXPECT_NEAR(x, plain.at(event), 35) << "staff " << event.first << " at " << event.second;
    }
  }
}

}  // namespace
