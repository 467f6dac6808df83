// Range tags that place themselves by their notes and notes that follow the tags spanning them
// tell each other their place. Nested over the same notes, inside chords or around them, every
// such pair must still come to rest: each note drawn once, at one place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;

class PositionNoticesTest : public DrawnScore {
 protected:
  // Draws the text and expects every one of its notes drawn, each at a place of its own date.
  void ExpectNotesDrawn(std::string const& text, size_t notes) {
    SCOPED_TRACE(text);
    Draw(text);
    if (HasFatalFailure()) return;
    auto const drawnNotes = NoteRecords();
    EXPECT_EQ(drawnNotes.size(), notes);
    for (auto const& note : drawnNotes) {
      EXPECT_TRUE(std::isfinite(note.desc.headX) && std::isfinite(note.desc.refY));
      EXPECT_GT(note.desc.headX, 0);
    }
  }

  // The x of the notes drawn, left to right.
  std::vector<float> NoteXs() const {
    std::vector<float> xs;
    for (auto const& note : NoteRecords()) xs.push_back(note.desc.headX);
    std::sort(xs.begin(), xs.end());
    return xs;
  }

  // Where a text was drawn; fails the test when it was not drawn once.
  float TextX(std::string const& words) const {
    std::vector<float> found;
    for (auto const& text : drawn.texts)
      if (text.text == words) found.push_back(text.x);
    EXPECT_EQ(found.size(), 1u) << words;
    return found.empty() ? 0 : found.front();
  }
};

// The tags that draw one mark at the first note of their range, and the text each draws.
struct Mark {
  char const* tag;
  char const* text;  // null for a glyph
};
constexpr Mark kMarks[] = {{"rit", "rit"},     {"accel", "accel"}, {"trem", "trem."},
                           {"trill", nullptr}, {"turn", "turn"},   {"mord", nullptr}};

TEST_F(PositionNoticesTest, AMarkAndASharedLocationOverOneChordNoteStandAtThatNote) {
  for (Mark const& mark : kMarks) {
    std::string const tag = std::string("\\") + mark.tag;
    for (std::string const& chord :
         {"{ " + tag + "( \\shareLocation( c ) ) }", "{ \\shareLocation( " + tag + "( c ) ) }",
          "{ " + tag + "( \\shareLocation( c ) ), e, g }",
          "{ e, \\shareLocation( " + tag + "( c ) ), g }"}) {
      std::string const text = "[ " + chord + " d ]";
      size_t const notes = 1 + std::count(chord.begin(), chord.end(), ',') + 1;
      ExpectNotesDrawn(text, notes);
      if (HasFatalFailure()) return;
      // The chord's notes share one place, before the note after it.
      std::vector<float> const xs = NoteXs();
      ASSERT_EQ(xs.size(), notes) << text;
      EXPECT_LT(xs.front(), xs.back()) << text;
      EXPECT_EQ(std::count(xs.begin(), xs.end(), xs.front()), static_cast<long>(notes - 1)) << text;
      if (mark.text) {
        EXPECT_NEAR(TextX(mark.text), xs.front(), 60) << text;
      }
    }
  }
}

TEST_F(PositionNoticesTest, ChordTagsOverASharedLocationInAChordKeepTheChordTogether) {
  for (char const* tag : {"chord", "splitChord"}) {
    for (std::string const& chord : {std::string("{ \\") + tag + "( \\shareLocation( c ) ) }",
                                     std::string("{ \\shareLocation( \\") + tag + "( c ) ) }",
                                     std::string("{ \\") + tag + "( \\shareLocation( c ) ), e }"}) {
      std::string const text = "[ " + chord + " d ]";
      size_t const notes = 1 + std::count(chord.begin(), chord.end(), ',') + 1;
      ExpectNotesDrawn(text, notes);
      if (HasFatalFailure()) return;
      std::vector<float> const xs = NoteXs();
      EXPECT_EQ(std::count(xs.begin(), xs.end(), xs.front()), static_cast<long>(notes - 1)) << text;
    }
  }
}

TEST_F(PositionNoticesTest, ASharedLocationOverANoteAndAChordTagPlacesBoth) {
  struct Case {
    char const* before;
    size_t notes;  // with the chord tag's and the one after
  };
  for (char const* tag : {"chord", "splitChord"}) {
    for (Case const& written : {Case{"c", 3}, Case{"{ e/8, f/4 }", 4}, Case{"c { e/8, f/4 }", 5}}) {
      ExpectNotesDrawn(
          std::string("[ \\shareLocation( ") + written.before + " \\" + tag + "( { f } ) ) g ]",
          written.notes);
      if (HasFatalFailure()) return;
    }
  }
}

// The line breaker splits the last note of the group: its second half starts the next line,
// where the group's first note has no place to share: it takes a place of its own there.
TEST_F(PositionNoticesTest, ASharedLocationRunningOverALineBreakLetsTheNextLineStandAlone) {
  // 64 eighths in bars of 5/40 fill four lines; the first break falls between two quarters of
  // the group, whose voice has no bar lines.
  ExpectNotesDrawn("{ [ ], [ \\meter<\"5/40\"> c*8 ], [ \\shareLocation( f f f f f f f d a ) ] }",
                   64 + 9);
}

// A long note in a group is cut at each bar into tied pieces: each piece stands in its own
// measure, not on the group's first note with the bar lines between them.
TEST_F(PositionNoticesTest, PiecesOfALongNoteInASharedLocationKeepTheirMeasures) {
  // A quarter and a whole in bars of an eighth: ten pieces, in ten measures.
  ExpectNotesDrawn("[ \\meter<\"1/8\"> \\shareLocation( c c*1 ) ]", 2 + 8);
  if (HasFatalFailure()) return;
  std::vector<float> xs = NoteXs();
  EXPECT_EQ(std::unique(xs.begin(), xs.end()) - xs.begin(), 2 + 8);
}

// Every range tag that places itself by its notes or that its notes follow, nested in either
// order over one note, over two, over a chord, inside a chord, and over notes followed by a chord
// tag.
TEST_F(PositionNoticesTest, EveryNestingOfTwoPlaceTellingTagsIsDrawn) {
  std::vector<std::string> const tags = {
      "\\shareLocation", "\\rit",         "\\accel", "\\trill",      "\\turn",
      "\\mord",          "\\trem",        "\\chord", "\\splitChord", "\\tuplet<\"-3-\">",
      "\\stacc",         "\\accent",      "\\ten",   "\\marcato",    "\\fermata",
      "\\beam",          "\\slur",        "\\tie",   "\\grace",      "\\cresc",
      "\\text<\"t\">",   "\\volta<\"1\">"};
  struct Shape {
    char const* text;  // @ opens both tags, $ closes them
    size_t notes;
  };
  Shape const shapes[] = {
      {"@ c/8 $", 1},
      {"@ c/8 d/8 $", 2},
      {"@ { c/8, e } $", 2},
      {"{ @ c/8 $, e }", 2},
      {"{ e/8, @ c/8 $, g }", 3},
      {"@ c/8 \\chord( { f } ) $", 2},
      {"@ { e/8, f/4 } \\splitChord( { g } ) $", 3},
  };
  int drawnTexts = 0;
  for (std::string const& outer : tags) {
    for (std::string const& inner : tags) {
      for (Shape const& shape : shapes) {
        std::string nested = shape.text;
        nested.replace(nested.find('@'), 1, outer + "( " + inner + "(");
        nested.replace(nested.find('$'), 1, ") )");
        std::string const text = "[ " + nested + " e/8 ]";
        ExpectNotesDrawn(text, shape.notes + 1);
        if (HasFatalFailure()) return;
        ++drawnTexts;
      }
    }
  }
  EXPECT_EQ(drawnTexts, static_cast<int>(tags.size() * tags.size() * std::size(shapes)));
}

}  // namespace
