#include <gtest/gtest.h>

#include <algorithm>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using EngineTesting::IsAccidental;
using Glyph = EngineTesting::PlacingDevice::Glyph;

bool IsHead(unsigned int code) {
  return code == 88 || code == 69 || code == 119;
}
bool IsMeterDigit(unsigned int code) {
  return code >= 48 && code <= 57;
}
constexpr unsigned int kBar = 139;

struct Ink {
  float left, top, right, bottom;
};

// Where a glyph puts its ink, near enough: signs reach 1.5 spaces up and down (flats less
// down), heads half a space, bar lines the staff above their base line.
Ink InkOf(Glyph const& g) {
  float const w = DrawnScore::Width(g.code);
  if (g.code == 98 || g.code == 134) return {g.x, g.y - 85, g.x + w, g.y + 20};
  if (IsAccidental(g.code)) return {g.x, g.y - 65, g.x + w, g.y + 65};
  if (IsHead(g.code)) return {g.x, g.y - 22, g.x + w, g.y + 22};
  if (g.code == kBar) return {g.x, g.y - 200, g.x + w, g.y};
  return {g.x, g.y - 45, g.x + w, g.y + 45};  // a meter digit
}

bool Meet(Ink const& a, Ink const& b) {
  return std::min(a.right, b.right) - std::max(a.left, b.left) > 1 &&
         std::min(a.bottom, b.bottom) - std::max(a.top, b.top) > 1;
}

class ChordAccidentalsTest : public DrawnScore {
 protected:
  // Every sign keeps clear of every other sign, of the heads and of bar lines and meters, and
  // stands after the bar line before its chord and before its own chord's leftmost head.
  void ExpectSignsInTheirPlace() {
    std::vector<Glyph> signs, others;
    for (Glyph const& g : drawn.glyphs) {
      if (IsAccidental(g.code))
        signs.push_back(g);
      else if (IsHead(g.code) || g.code == kBar || IsMeterDigit(g.code))
        others.push_back(g);
    }
    ASSERT_FALSE(signs.empty());
    auto const notes = NoteRecords();
    for (size_t i = 0; i < signs.size(); ++i) {
      Glyph const& sign = signs[i];
      SCOPED_TRACE(testing::Message()
                   << "sign " << sign.code << " at " << sign.x << ", " << sign.y);
      for (size_t j = i + 1; j < signs.size(); ++j)
        EXPECT_FALSE(Meet(InkOf(sign), InkOf(signs[j])))
            << "meets sign " << signs[j].code << " at " << signs[j].x << ", " << signs[j].y;
      for (Glyph const& other : others)
        EXPECT_FALSE(Meet(InkOf(sign), InkOf(other)))
            << "meets glyph " << other.code << " at " << other.x << ", " << other.y;
      // Its note: the nearest one to the right at its height.
      auto note = std::find_if(notes.begin(), notes.end(), [&](auto const& r) {
        return std::abs(r.desc.refY - sign.y) < 1 && r.desc.refX > sign.x;
      });
      ASSERT_NE(note, notes.end());
      float headsLeft = note->desc.headX;
      for (auto const& r : notes)
        if (r.desc.refX == note->desc.refX) headsLeft = std::min(headsLeft, r.desc.headX);
      EXPECT_LE(sign.x + Width(sign.code), headsLeft - 30) << "not left of its chord";
      EXPECT_GT(sign.x + Width(sign.code), headsLeft - 300) << "far from its chord";
      for (Glyph const& bar : Glyphs(kBar))
        EXPECT_FALSE(bar.x > sign.x && bar.x < note->desc.refX) << "a bar line between";
    }
  }
};

TEST_F(ChordAccidentalsTest, SignsOfChordsStandInColumnsLeftOfTheHeadsAndTakeTheirRoom) {
  for (char const* score : {
           // Whole notes, seconds, a chord just after the meter.
           "[ \\meter<\"4/4\"> {c#1/1, e#1, g#1, h#1} | {c1/1, d#1} | {c#1/1, d1} | "
           "{d#1/1, f#1, g1} | c1/2 {f1/2, g#1} ]",
           // Quarter chords one after the other, with seconds on either side of the stem.
           "[ \\meter<\"4/4\"> {c#1/4, e&1, g#1} {f#1, g#1, a#1} {c1, d#1, e1, f#1} "
           "{e&2, f2, g&2, a2} ]",
           // Two signs on one note.
           "[ \\meter<\"4/4\"> {cis1/4, e1} ]",
       }) {
    SCOPED_TRACE(score);
    Draw(score);
    ExpectSignsInTheirPlace();
  }
}

// A single note's sign keeps the place it always had: a fifth of a space before the head.
TEST_F(ChordAccidentalsTest, ASingleNotesSignStandsAFifthOfASpaceBeforeItsHead) {
  Draw("[ c#1/4 d&1 e1 ]");
  auto const notes = NoteRecords();
  auto const sharp = Glyphs(35), flat = Glyphs(98);
  ASSERT_EQ(sharp.size(), 1u);
  ASSERT_EQ(flat.size(), 1u);
  EXPECT_NEAR(sharp[0].x + Width(35), notes[0].desc.headX - 30 - 10, 0.01);
  EXPECT_NEAR(flat[0].x + Width(98), notes[1].desc.headX - 30 - 10, 0.01);
}

}  // namespace
