#include <gtest/gtest.h>

#include <algorithm>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;

constexpr unsigned int kTrill = 109, kMordent = 77;

class OrnamentTest : public DrawnScore {};

// Ornaments stand over their first note, centred on its head: a space clear of the staff, and of
// the note and its stem where they reach over it. The mordent's ink ends at its base line.
TEST_F(OrnamentTest, TheMordentHasItsOwnSignAndOrnamentsStandAboveTheStaff) {
  Draw(
      "[ \\meter<\"4/4\"> \\trill(c2/2) \\turn(d2/4) \\mord(e2/4) | \\mord(a2/4) \\mord(c3/4) "
      "\\mord(a1/4) \\mord(h1/4) ]");
  EXPECT_TRUE(Glyphs(kTrill).empty());
  auto const mordents = Glyphs(kMordent);
  ASSERT_EQ(mordents.size(), 5u);
  auto const staves = Records(2, 5);  // the staff lines
  ASSERT_FALSE(staves.empty());
  float const staffTop = staves[0].top;
  auto const notes = NoteRecords();
  auto const stems = Records(2, 10);
  ASSERT_EQ(notes.size(), 7u);
  ASSERT_EQ(drawn.texts.size(), 2u);
  EXPECT_EQ(drawn.texts[0].text, "trill");
  EXPECT_EQ(drawn.texts[1].text, "turn");
  for (size_t i = 0; i < notes.size(); ++i) {
    SCOPED_TRACE(i);
    ScoreElementDesc const& note = notes[i].desc;
    float const x = i < 2 ? drawn.texts[i].x : mordents[i - 2].x;
    float const y = i < 2 ? drawn.texts[i].y : mordents[i - 2].y;
    EXPECT_FLOAT_EQ(x, note.headX);  // centred on the head (alignment 9)
    float top = std::min(staffTop, note.top);
    for (auto const& stem : stems)
      if (stem.right >= note.left - 1 && stem.left <= note.right + 1) top = std::min(top, stem.top);
    EXPECT_LE(y, top - 50);
    EXPECT_GE(y, top - 60) << "far from its note";
  }
}

// The words of tremolos and tempo changes stand over their first note as the ornaments do:
// centred on it, over the staff, and over the note and its stem where they reach higher.
TEST_F(OrnamentTest, TremoloAndTempoChangeWordsStandOverTheStaffAndTheirNote) {
  Draw(
      "[ \\meter<\"4/4\"> \\trem( c2/4 ) \\accel( d2/4 e2 ) \\rit( f2/4 ) | \\trem( a1/4 ) "
      "\\accel( e1/4 ) \\rit( h2/4 ) \\trem( a2/4 ) ]");
  ASSERT_EQ(drawn.texts.size(), 7u);
  auto const staves = Records(2, 5);
  ASSERT_FALSE(staves.empty());
  float const staffTop = staves[0].top;
  auto const notes = NoteRecords();
  for (auto const& text : drawn.texts) {
    SCOPED_TRACE(text.text);
    EXPECT_EQ(text.align, 9u);  // centred on x, standing on y
    EXPECT_LT(text.y, staffTop);
    float const half = Width(text) / 2;
    int under = 0;
    for (auto const& note : notes) {
      if (note.desc.right <= text.x - half || note.desc.left >= text.x + half) continue;
      ++under;
      EXPECT_LT(text.y, note.desc.top) << "on the note at " << note.desc.refX;
    }
    EXPECT_GT(under, 0) << "over no note";
  }
}

// Words reach wider than their note and are placed before its beam is: over beamed notes with
// stems up, and beside neighbours that reach higher, they stand over every stem, head and beam
// under their whole width.
TEST_F(OrnamentTest, WordsStandOverTheStemsAndHeadsUnderTheirWidth) {
  char const* const pieces[] = {
      "[ \\meter<\"4/4\"> \\trill( d1/8 ) h1/8 \\turn( e1/8 ) c2/8 \\rit( f1/8 ) a2/8 "
      "\\accel( g1/8 ) e2/8 ]",
      "[ \\meter<\"4/4\"> \\trill( c1/16 ) g1/16 h1/16 d2/16 \\accel( e1/16 ) a1/16 c2/16 "
      "f2/16 \\turn( c1/8 ) c2/8 ]",
      "[ \\meter<\"4/4\"> \\accel( d1/4 ) c3/16 a2/16 \\rit( e1/8 ) e3/4 \\trill( c1/4 ) ]",
  };
  for (char const* piece : pieces) {
    SCOPED_TRACE(piece);
    Draw(piece);
    ASSERT_FALSE(drawn.texts.empty());
    auto const notes = NoteRecords();
    auto const stems = Records(2, 10);
    for (auto const& text : drawn.texts) {
      SCOPED_TRACE(text.text);
      float const left = text.x - Width(text) / 2;
      float const right = text.x + Width(text) / 2;
      for (auto const& stem : stems) {
        if (stem.right > left && stem.left < right) {
          EXPECT_LT(text.y, stem.top);
        }
      }
      for (auto const& note : notes) {
        if (note.desc.right > left && note.desc.left < right) {
          EXPECT_LT(text.y, note.desc.top) << "on the note at " << note.desc.refX;
        }
      }
    }
  }
}

}  // namespace
