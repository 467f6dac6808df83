#include <gtest/gtest.h>

#include <algorithm>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using EngineTesting::PlacingDevice;

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

// A mordent reaches wider than its note and is placed before the line is laid out: drawn, it
// stands clear of whatever ink is under its whole width, its own note's beam and a chord's stem,
// its neighbours' ledger lines, a tuplet's number, and a slur over its note: an ornament is
// written outside the slur, which keeps its course.
TEST_F(OrnamentTest, TheMordentKeepsClearOfTheMusicUnderItsWidth) {
  struct Case {
    char const* what;
    char const* piece;
  };
  Case const cases[] = {
      {"its beam", "[ \\meter<\"4/4\"> g1/16 \\mord( c1/16 ) a1/16 c2/16 ]"},
      {"a chord's stem", "[ \\meter<\"4/4\"> \\mord( {f1/4, a1/4, c2/4} ) c1/4 ]"},
      {"a tuplet's number", "[ \\meter<\"4/4\"> \\tuplet<\"-3-\">( c1/8 \\mord( d1/8 ) e1/8 ) ]"},
      {"its neighbours' ledger lines",
       "[ \\meter<\"4/4\"> \\mord( g1/16 ) c3/16 \\mord( a2/16 ) e3/16 ]"},
      {"a slur's start", "[ \\meter<\"4/4\"> \\slur( \\mord( e2/4 ) d2/4 c2/4 ) ]"},
      {"a slur's end", "[ \\meter<\"4/4\"> \\slur( c2/4 d2/4 \\mord( e2/4 ) ) ]"},
      {"a slur over its note", "[ \\meter<\"4/4\"> \\slur( c2/4 \\mord( e2/4 ) d2/4 c2/4 ) ]"},
  };
  for (Case const& test : cases) {
    SCOPED_TRACE(test.what);
    Draw(test.piece);
    auto const mordents = Glyphs(kMordent);
    ASSERT_FALSE(mordents.empty());
    // The ink of the music: glyphs, filled shapes (a beam's box), texts and lines drawn opaque
    // (the staff lines are not).
    std::vector<NVRect> music;
    for (PlacingDevice::Glyph const& glyph : drawn.glyphs)
      if (glyph.code != kMordent) music.push_back(glyph.ink);
    for (PlacingDevice::Text const& text : drawn.texts) music.push_back(TextInk(text));
    for (PlacingDevice::Segment const& line : drawn.lines)
      if (line.alpha == 255) music.push_back(LineBox(line));
    for (PlacingDevice::Shape const& shape : drawn.shapes)
      if (shape.xs.size() <= 4) music.push_back({shape.left, shape.top, shape.right, shape.bottom});
    for (PlacingDevice::Glyph const& mordent : mordents) {
      SCOPED_TRACE(mordent.x);
      EXPECT_EQ(EngineTesting::Overlaps({mordent.ink}, music), 0);
      // A curve's outline, by the points along it.
      for (PlacingDevice::Shape const& curve : drawn.shapes) {
        for (size_t i = 0; curve.xs.size() > 4 && i < curve.xs.size(); ++i) {
          EXPECT_FALSE(curve.xs[i] > mordent.ink.left && curve.xs[i] < mordent.ink.right &&
                       curve.ys[i] > mordent.ink.top && curve.ys[i] < mordent.ink.bottom)
              << "the curve at " << curve.xs[i] << ", " << curve.ys[i];
        }
      }
    }
  }
}

}  // namespace
