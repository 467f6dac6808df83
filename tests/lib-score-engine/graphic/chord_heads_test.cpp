// The heads of a chord a second apart stand side by side on the real music font, whatever the
// width of their head.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "drawn_score.h"

namespace {

using Glyph = EngineTesting::PlacingDevice::Glyph;

class ChordHeadsTest : public EngineTesting::DrawnScore {};

TEST_F(ChordHeadsTest, HeadsASecondApartStandSideBySide) {
  for (unsigned int head : {119u, 69u, 88u}) {
    char const* length = head == 119 ? "1" : head == 69 ? "2" : "4";
    Draw(std::string("[ {c1/") + length + ", d1, g1, a1} {f2/" + length + ", g2} ]");
    std::vector<Glyph> const heads = Glyphs(head);
    ASSERT_EQ(heads.size(), 6u) << head;
    int seconds = 0;
    for (size_t i = 0; i < heads.size(); ++i) {
      for (size_t j = i + 1; j < heads.size(); ++j) {
        float const apart = std::fabs(heads[i].x - heads[j].x);
        if (std::fabs(heads[i].y - heads[j].y) != 25 || apart > 3 * Width(head)) continue;
        ++seconds;
        EXPECT_NEAR(apart, std::max(60.0f, Width(head)), 0.01) << head << " at " << heads[i].y;
      }
    }
    EXPECT_EQ(seconds, 3) << head;
  }
}

// Chords in thirds, and heads of two voices a third apart, stand in one straight column on a
// staff of any size, while a second still puts its heads side by side: whether two heads touch
// counts in the staff's own steps, which on a small staff are no whole number of units.
TEST_F(ChordHeadsTest, ThirdsStayInOneColumnOnAStaffOfAnySize) {
  // For each date in turn, whether its heads stand side by side.
  auto const sideBySide = [&] {
    std::map<float, std::vector<float>> columns;
    for (auto const& [page, note] : NoteRecords()) columns[note.date].push_back(note.headX);
    std::vector<bool> apart;
    for (auto const& [date, xs] : columns)
      apart.push_back(std::ranges::max(xs) - std::ranges::min(xs) > 1);
    return apart;
  };
  for (std::string const size : {"1.5pt", "2pt", "2.5pt", "3pt", "4pt"}) {
    SCOPED_TRACE(size);
    std::string const staff = "\\staffFormat<size=" + size + "> ";
    Draw("[ " + staff +
         "\\meter<\"4/4\"> {c2/4, e2, g2} {e1, g1, h1} {c1/2, e1, g1, c2} | {c2/4, d2} ]");
    EXPECT_EQ(sideBySide(), (std::vector<bool>{false, false, false, true}));
    Draw(EngineTesting::TwoVoices(staff + "e2/4 g2", "c2/4 f2"));
    EXPECT_EQ(sideBySide(), (std::vector<bool>{false, true}));
  }
}

// In a line of sixteenths, a head pushed to the other side of its chord's stem and the ledger
// lines under it keep clear of the notes before and after, above the treble staff (stems down,
// heads pushed left) and below the bass staff (stems up, heads pushed right).
TEST_F(ChordHeadsTest, APushedHeadAndItsLedgerLinesKeepClearOfTheNextColumns) {
  for (char const* text :
       {"[ \\meter<\"2/4\"> g2/16 {a2, h2} g2 {a2, h2} f2/16 {g2, a2} e2 {f#2, g2} | "
        "{c3/16, d3} h2 {c3, d3} h2 {a2/8, h2} _/8 ]",
        "[ \\clef<\"bass\"> \\meter<\"2/4\"> f-1/16 {e-1, d-1} f-1 {e-1, d-1} g-1/16 {f-1, e-1} "
        "a-1 {g-1, f#-1} | {c-1/16, h-2} d-1 {c-1, h-2} d-1 {e-1/8, d-1} _/8 ]"}) {
    SCOPED_TRACE(text);
    Draw(text);
    // Each head and ledger line with the column (the x of its note's place) it belongs to: a
    // head is drawn centred on the note's head x, a ledger line from 51 left of it.
    std::vector<std::pair<float, NVRect>> inks;
    int pushed = 0;
    for (auto const& note : NoteRecords()) {
      float const headX = note.desc.headX;
      if (std::fabs(headX - note.desc.refX) > 1) ++pushed;
      for (Glyph const& head : Glyphs(88))
        if (std::fabs(head.ink.left + 30 - headX) < 1 && std::fabs(head.y - note.desc.refY) < 1)
          inks.emplace_back(note.desc.refX, head.ink);
      for (Glyph const& line : Glyphs(95))
        if (std::fabs(line.x + 51 - headX) < 1 && std::fabs(line.y - note.desc.refY) <= 50)
          inks.emplace_back(note.desc.refX, line.ink);
    }
    EXPECT_EQ(pushed, 7);
    ASSERT_GT(inks.size(), 30u);
    for (auto const& [column, ink] : inks) {
      for (auto const& [other, near] : inks) {
        if (std::fabs(column - other) < 1 || ink.bottom <= near.top || near.bottom <= ink.top)
          continue;
        float const gap = std::max(near.left - ink.right, ink.left - near.right);
        EXPECT_GE(gap, 7.5f) << "column " << column << " at " << ink.left << ", " << ink.top
                             << " against column " << other << " at " << near.left;
      }
    }
  }
}

// A mark of optional range (a fermata, a text) written around a chord note of another length
// than the one before it is taken out of the chord again once its range is known. The notes of
// the length before it still end where they ended, so the chord's heads, stems and flags are
// drawn as without the mark, at the same places from the note after the chord (a fermata may move
// the staff down).
TEST_F(ChordHeadsTest, AMarkAroundANoteOfAnotherLengthLeavesTheChordAsItWas) {
  using Placed = std::tuple<unsigned int, float, float>;
  auto const drawnGlyphs = [this] {
    auto const from = NoteRecords().back().desc;
    std::vector<Placed> placed;
    for (Glyph const& glyph : drawn.glyphs)
      placed.emplace_back(glyph.code, std::round(glyph.x - from.headX),
                          std::round(glyph.y - from.refY));
    std::sort(placed.begin(), placed.end());
    return placed;
  };
  for (std::string const note : {"c/4", "c/16", "\\grace( c/8 )"}) {
    for (std::string const mark : {"\\fermata", "\\text<\"t\">"}) {
      Draw("[ { e/8, " + note + ", g } e/8 ]");
      std::vector<Placed> const plain = drawnGlyphs();
      auto const plainLines = drawn.lines.size();
      std::string const marked = "[ { e/8, " + mark + "( " + note + " ), g } e/8 ]";
      Draw(marked);
      ASSERT_EQ(NoteRecords().size(), 4u) << marked;
      std::vector<Placed> const withMark = drawnGlyphs();
      EXPECT_TRUE(std::includes(withMark.begin(), withMark.end(), plain.begin(), plain.end()))
          << marked;
      EXPECT_LE(withMark.size(), plain.size() + 1) << marked;
      EXPECT_EQ(drawn.lines.size(), plainLines) << marked;
    }
  }
}

}  // namespace
