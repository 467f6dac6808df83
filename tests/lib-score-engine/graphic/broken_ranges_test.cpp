// Ranges cut by a line break, from \newSystem or from the line breaker, laid out and drawn: each
// line's piece still reads as part of the one tuplet, beam, tie, slur, hairpin, volta or text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::PlacingDevice;
using Segment = PlacingDevice::Segment;

constexpr int kOther = 2, kSystem = 7, kStaffLines = 5, kBeam = 14, kSlur = 17;
constexpr float kLineSpace = 50;

float Left(Segment const& s) {
  return std::min(s.x1, s.x2);
}
float Right(Segment const& s) {
  return std::max(s.x1, s.x2);
}
bool Vertical(Segment const& s) {
  return s.x1 == s.x2 && s.y1 != s.y2;
}

class BrokenRangeTest : public EngineTesting::DrawnScore {
 protected:
  // The lines of music of the first page, top down.
  std::vector<ScoreElementDesc> Lines() const {
    std::vector<ScoreElementDesc> lines = Records(kSystem, -1, 1);
    std::sort(lines.begin(), lines.end(), [](auto& a, auto& b) { return a.top < b.top; });
    return lines;
  }
  // The line nearest to a height or, for a mark standing over the music, the first below it.
  int LineAt(float y, bool over = false) const {
    std::vector<ScoreElementDesc> const lines = Lines();
    int found = 0;
    for (int i = 1; i < static_cast<int>(lines.size()); ++i) {
      bool const later =
          over ? lines[i - 1].bottom < y : y - lines[i - 1].bottom > lines[i].top - y;
      if (later) found = i;
    }
    return found;
  }
  std::vector<ScoreElementDesc> NotesOn(int line) const {
    std::vector<ScoreElementDesc> notes;
    for (auto const& note : NoteRecords())
      if (LineAt(note.desc.refY) == line) notes.push_back(note.desc);
    return notes;
  }
  // Where a line's staff ends (its staff lines are drawn slice by slice) and its clef ends.
  float StaffEnd(int line) const {
    float end = 0;
    for (ScoreElementDesc const& slice : Records(kOther, kStaffLines, 1))
      if (LineAt((slice.top + slice.bottom) / 2) == line) end = std::max(end, slice.right);
    return end;
  }
  float ClefEnd(int line) const {
    for (auto const& clef : Glyphs(38))
      if (LineAt(clef.y) == line) return clef.x + Width(38);
    return 0;
  }
  std::vector<PlacingDevice::Text> TextsOn(int line, std::string const& text,
                                           bool over = false) const {
    std::vector<PlacingDevice::Text> found;
    for (auto const& t : drawn.texts)
      if (t.page == 1 && t.text == text && LineAt(t.y, over) == line) found.push_back(t);
    return found;
  }
  // The black lines drawn on a line of music with a pen of that width, left to right.
  std::vector<Segment> PenLinesOn(int line, float width, bool over = false) const {
    std::vector<Segment> found;
    for (Segment const& s : drawn.lines)
      if (s.page == 1 && s.width == width && s.alpha == 255 &&
          LineAt((s.y1 + s.y2) / 2, over) == line)
        found.push_back(s);
    std::sort(found.begin(), found.end(), [](auto& a, auto& b) { return Left(a) < Left(b); });
    return found;
  }
  // Whether a bracket drawn with these lines has a hook at its left (right) end.
  static bool HookAtEnd(std::vector<Segment> const& bracket, bool right) {
    float end = right ? -1e9f : 1e9f;
    for (Segment const& s : bracket) end = right ? std::max(end, Right(s)) : std::min(end, Left(s));
    return std::any_of(bracket.begin(), bracket.end(),
                       [&](Segment const& s) { return Vertical(s) && s.x1 == end; });
  }
};

// A tuplet cut by a break shows its number on each line over the events it has there, the left
// hook only where it begins and the right hook only where it ends; also at heights of its own.
TEST_F(BrokenRangeTest, EachLineOfABrokenTupletShowsItsNumberOverItsOwnNotes) {
  for (char const* tuplet : {"a1/6 h1 \\newSystem c2", "\\tuplet<\"-3-\">(a1/6 h1 \\newSystem c2)",
                             "\\tuplet<\"-3-\",dy1=2,dy2=2>(a1/6 h1 \\newSystem c2)"}) {
    SCOPED_TRACE(tuplet);
    Draw(std::string("[ \\meter<\"4/4\"> c2/4 ") + tuplet + " e2/4 ]");
    ASSERT_EQ(Lines().size(), 2u);
    // The triplet's notes: the last two of the first line, the first of the second.
    std::pair<float, float> const spans[] = {{NotesOn(0).at(1).left, NotesOn(0).at(2).right},
                                             {NotesOn(1).at(0).left, NotesOn(1).at(0).right}};
    for (int line : {0, 1}) {
      SCOPED_TRACE(line);
      auto const numbers = TextsOn(line, "3");
      ASSERT_EQ(numbers.size(), 1u);
      EXPECT_GT(numbers[0].x, std::max(spans[line].first - 2 * kLineSpace, ClefEnd(line)));
      EXPECT_LT(numbers[0].x, spans[line].second + 2 * kLineSpace);
      EXPECT_EQ(HookAtEnd(PenLinesOn(line, 4), false), line == 0);
      EXPECT_EQ(HookAtEnd(PenLinesOn(line, 4), true), line == 1);
    }
  }
}

// Ten triplets, each over a bar line: wherever the line breaker breaks, each line shows a number
// for each triplet that has notes on it.
TEST_F(BrokenRangeTest, TheLineBreakerBreakingInsideATripletLeavesANumberOnEachLine) {
  std::string score = "[ \\meter<\"4/4\"> c2/4 ";
  for (int bar = 0; bar < 10; ++bar) score += "c2/2 \\tuplet<\"-3-\">(e2/6 f2 g2) ";
  Draw(score + "c2/2. ]");
  // Triplet k takes half a whole from 3/4 + k on: every bar line, and so every place where the
  // line may break, lies inside one.
  std::set<std::pair<int, int>> piecesOnLines;
  size_t numbers = 0;
  for (int line = 0; line < static_cast<int>(Lines().size()); ++line) {
    for (ScoreElementDesc const& note : NotesOn(line)) {
      float const since = note.date - 0.75f;
      int const group = static_cast<int>(std::floor(since + 0.01f));
      if (since > -0.01f && since - group < 0.49f) piecesOnLines.emplace(line, group);
    }
    numbers += TextsOn(line, "3").size();
  }
  ASSERT_GT(piecesOnLines.size(), 10u) << "no triplet is cut: the score no longer tests a break";
  EXPECT_EQ(numbers, piecesOnLines.size());
}

// A second beam level starting after the break starts at its first note; one running at the
// break goes on from the line's start.
TEST_F(BrokenRangeTest, ABeamLevelOnTheNextLineStartsAtItsFirstNoteUnlessItRanAtTheBreak) {
  for (auto const& [beam, fromTheStart] : {std::pair{"c2/8 d2 \\newSystem e2/8 f2/16 g2/16", 1},
                                           std::pair{"c2/16 d2 \\newSystem e2/16 f2/16 g2/8", 2}}) {
    SCOPED_TRACE(beam);
    Draw(std::string("[ \\meter<\"4/4\"> c2/2. \\beam( ") + beam + " ) c2/2. ]");
    ASSERT_EQ(Records(kOther, kBeam, 1).size(), 2u);
    ScoreElementDesc const first = NotesOn(1).at(0);
    int reaching = 0;
    for (auto const& shape : drawn.shapes)
      if (shape.xs.size() == 4 && LineAt(shape.top) == 1 && shape.left < first.left) ++reaching;
    EXPECT_EQ(reaching, fromTheStart);
  }
}

// Each note of a tied chord goes on at the next line's start with a tie of its own, on the side
// its tie took on the line before.
TEST_F(BrokenRangeTest, TiesOfAChordGoOnToTheirOwnNotesOnTheSideTheyBeganOn) {
  for (auto const& [chord, next] :
       {std::pair{"{c2/2, e2}", "{c2, e2}"}, std::pair{"{c2/2, e2, g2}", "{c2, e2, g2}"},
        std::pair{"\\stemsUp {c2/2, e2, g2}", "{c2, e2, g2}"}}) {
    SCOPED_TRACE(chord);
    Draw(std::string("[ \\meter<\"4/4\"> c2/2 \\tie( ") + chord + " \\newSystem " + next +
         " ) c2/2 ]");
    ASSERT_EQ(Lines().size(), 2u);
    // Per line, top down: the chord's notes and the ties beside them.
    auto chordOn = [&](int line) {
      std::vector<ScoreElementDesc> notes = NotesOn(line), chordNotes;
      float const x = line == 0 ? notes.back().refX : notes.front().refX;
      std::copy_if(notes.begin(), notes.end(), std::back_inserter(chordNotes),
                   [&](auto& note) { return note.refX == x; });
      std::sort(chordNotes.begin(), chordNotes.end(),
                [](auto& a, auto& b) { return a.refY < b.refY; });
      return chordNotes;
    };
    auto tiesOn = [&](int line) {
      std::vector<PlacingDevice::Shape> ties;
      std::copy_if(
          drawn.shapes.begin(), drawn.shapes.end(), std::back_inserter(ties),
          [&](auto& s) { return s.xs.size() > 4 && LineAt((s.top + s.bottom) / 2) == line; });
      std::sort(ties.begin(), ties.end(), [](auto& a, auto& b) { return a.top < b.top; });
      return ties;
    };
    auto const before = chordOn(0), after = chordOn(1);
    auto const opening = tiesOn(0), closing = tiesOn(1);
    ASSERT_EQ(opening.size(), before.size());
    ASSERT_EQ(closing.size(), before.size());
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
      SCOPED_TRACE(i);
      bool const up = opening[i].bottom < before[i].refY;
      EXPECT_EQ(closing[i].bottom < after[i].refY, up) << "the continuation changes side";
      EXPECT_EQ(closing[i].top > after[i].refY, !up) << "the continuation changes side";
      EXPECT_LT(std::abs((closing[i].top + closing[i].bottom) / 2 - after[i].refY), kLineSpace);
      EXPECT_LE(closing[i].right, after[i].left + 1);
      EXPECT_GE(closing[i].left, ClefEnd(1));
    }
  }
}

// A slur cut by a break stays above, the side it began on, and so clear of the diminuendo under
// the notes of both lines.
TEST_F(BrokenRangeTest, ABrokenSlurStaysOnItsSideAndClearOfTheHairpin) {
  Draw(
      "[ \\key<\"F\"> \\meter<\"4/4\"> \\dim( \\slur( a2/4 g2 f2 e2 \\newSystem d2/4 c2 h&1 a1 ) "
      ") | c2/1 ]");
  std::vector<ScoreElementDesc> const slurs = Records(kOther, kSlur, 1);
  ASSERT_EQ(slurs.size(), 2u);
  for (ScoreElementDesc const& slur : slurs) {
    int const line = LineAt((slur.top + slur.bottom) / 2);
    SCOPED_TRACE(line);
    std::vector<ScoreElementDesc> const notes = NotesOn(line);
    EXPECT_LT(slur.top, notes.back().top) << "not above its notes";
    for (Segment const& leg : PenLinesOn(line, 6))
      EXPECT_TRUE(std::min(leg.y1, leg.y2) > slur.bottom || Right(leg) < slur.left ||
                  Left(leg) > slur.right)
          << "the slur crosses the hairpin";
  }
}

// A hairpin cut by a break runs to the end of its line and goes on from the start of the next,
// after its clef, to its last note: a piece over one note does not shrink to an accent.
TEST_F(BrokenRangeTest, AHairpinRunsToTheLineEndAndGoesOnFromTheNextLineStart) {
  Draw(
      "[ \\meter<\"4/4\"> c2/4 d2 \\cresc( e2 f2 \\newSystem g2/4 ) a2 h2 c3 | c3/4 h2 \\dim( a2 "
      "g2 \\newSystem f2/4 ) e2 d2 c2 ]");
  ASSERT_EQ(Lines().size(), 3u);
  // Line 1 holds the crescendo's first piece, line 2 its last and the diminuendo's first, line 3
  // the diminuendo's last: two legs each.
  ASSERT_EQ(PenLinesOn(0, 6).size(), 2u);
  ASSERT_EQ(PenLinesOn(1, 6).size(), 4u);
  ASSERT_EQ(PenLinesOn(2, 6).size(), 2u);
  EXPECT_NEAR(Right(PenLinesOn(0, 6)[0]), StaffEnd(0), kLineSpace);
  EXPECT_NEAR(Right(PenLinesOn(1, 6)[3]), StaffEnd(1), kLineSpace);
  for (int line : {1, 2}) {
    SCOPED_TRACE(line);
    Segment const leg = PenLinesOn(line, 6)[0];
    std::vector<ScoreElementDesc> const notes = NotesOn(line);
    EXPECT_LT(Left(leg), notes[0].left - kLineSpace / 2);
    EXPECT_GE(Left(leg), ClefEnd(line));
    EXPECT_GE(Right(leg), notes[0].right - 1) << "it reaches its last note";
    EXPECT_LE(Right(leg), notes[1].left) << "and no further";
  }
}

// A first ending over three lines draws one piece on each: the first opens with its hook and
// number, the middle one only carries the line on, the last closes before the second ending;
// also when the line breaker makes the lines.
TEST_F(BrokenRangeTest, AVoltaOverThreeLinesDrawsOnePieceOnEach) {
  std::string automatic = "[ \\meter<\"4/4\"> c2/1 | \\volta<\"1.\",\"1.\">( c2/4 d2 e2 f2 ";
  for (int bar = 1; bar < 7; ++bar) automatic += "| c2/4 d2 e2 f2 ";
  for (std::string const& score :
       {std::string("[ \\meter<\"4/4\"> c2/1 | \\volta<\"1.\",\"1.\">( d2/1 \\newSystem e2/1 | "
                    "f2/1 \\newSystem g2/1 | a2/1 ) \\volta<\"2.\",\"2.\">( h2/1 ) ]"),
        automatic + ") \\volta<\"2.\",\"2.\">( g2/1 ) ]"}) {
    SCOPED_TRACE(score);
    Draw(score);
    ASSERT_EQ(Lines().size(), 3u);
    for (int line = 0; line < 3; ++line) {
      SCOPED_TRACE(line);
      EXPECT_EQ(TextsOn(line, "1.", true).size(), line == 0 ? 1u : 0u);
      // The first ending's piece: on the last line, before the second ending's bracket.
      float const second = line == 2 ? TextsOn(2, "2.", true).at(0).x - 25 : 1e9f;
      std::vector<Segment> piece;
      for (Segment const& s : PenLinesOn(line, 4, true))
        if (Left(s) < second - 1) piece.push_back(s);
      ASSERT_FALSE(piece.empty());
      EXPECT_EQ(HookAtEnd(piece, false), line == 0);
      EXPECT_EQ(HookAtEnd(piece, true), line == 2);
      float end = 0;
      for (Segment const& s : piece) end = std::max(end, Right(s));
      if (line < 2) EXPECT_NEAR(end, StaffEnd(line), kLineSpace);
    }
  }
}

// The first piece of a broken volta stands over its own notes, ledger lines included.
TEST_F(BrokenRangeTest, TheFirstPieceOfABrokenVoltaClearsItsNotes) {
  Draw(
      "[ \\meter<\"4/4\"> c2/1 | \\volta<\"1.\",\"1.\">( e3/1 | a3/1 \\newSystem c1/1 ) "
      "\\volta<\"2.\",\"2.\">( d1/1 ) ]");
  float highest = 1e9f;
  for (ScoreElementDesc const& note : NotesOn(0)) highest = std::min(highest, note.top);
  std::vector<Segment> const bracket = PenLinesOn(0, 4, true);
  ASSERT_FALSE(bracket.empty());
  for (Segment const& s : bracket) EXPECT_LT(std::min(s.y1, s.y2), highest - kLineSpace);
}

// A text over a range that goes on on the next line shows a hyphen there, before the range's
// first note on that line, not the text again; also when the line breaker breaks the range.
TEST_F(BrokenRangeTest, ATextRangeGoesOnWithAHyphenBeforeItsFirstNoteOnTheNextLine) {
  std::string automatic = "[ \\meter<\"4/4\"> ";
  for (int bar = 0; bar < 4; ++bar) automatic += "c2/4 d2 e2 f2 | ";
  automatic += "\\text<\"range text\">( ";
  for (int bar = 0; bar < 3; ++bar) automatic += "c2/8 d2 e2 f2 g2 a2 h2 c3 | ";
  for (std::string const& score :
       {std::string("[ \\meter<\"4/4\"> \\text<\"range text\">( c2/4 d2 e2 f2 \\newSystem g2 a2 ) "
                    "h2 c3 ]"),
        automatic + ") c2/1 ]"}) {
    SCOPED_TRACE(score);
    Draw(score);
    std::vector<int> withText;
    for (int line = 0; line < static_cast<int>(Lines().size()); ++line)
      for (size_t n = TextsOn(line, "range text").size(); n > 0; --n) withText.push_back(line);
    ASSERT_EQ(withText.size(), 1u) << "the text stands once";
    auto const hyphens = TextsOn(withText[0] + 1, "-");
    ASSERT_EQ(hyphens.size(), 1u);
    ScoreElementDesc const first = NotesOn(withText[0] + 1).at(0);
    EXPECT_LT(hyphens[0].x, first.right);
    EXPECT_GT(hyphens[0].x, first.left - 2 * kLineSpace);
  }
}

}  // namespace
