// Lines broken by the score or by the layout, laid out and drawn: each opens as after a new-system
// tag, stays within the page, the lines of a page are about equally full, and a range cut by a
// break still reads as one tuplet, beam, tie, slur, hairpin, volta or text on every line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "GRPage.h"
#include "drawn_score.h"

namespace {

using EngineTesting::IsAccidental;
using EngineTesting::Overlaps;
using EngineTesting::Repeated;

constexpr float kSpace = 50;

class LineBreakTest : public EngineTesting::DrawnScore {
 protected:
  size_t CountOn(int line, std::string const& words) const {
    return std::ranges::count_if(Texts(words), [&](auto& t) { return LineAt(t.y) == line; });
  }
  // The boxes of the black lines drawn on a line with a pen of that width, left to right.
  std::vector<NVRect> PenLinesOn(int line, float width, bool over = false) const {
    std::vector<NVRect> found;
    for (auto const& s : drawn.lines)
      if (s.width == width && s.alpha == 255 && LineAt((s.y1 + s.y2) / 2, over) == line)
        found.push_back({std::min(s.x1, s.x2), std::min(s.y1, s.y2), std::max(s.x1, s.x2),
                         std::max(s.y1, s.y2)});
    std::ranges::sort(found, {}, &NVRect::left);
    return found;
  }
  static float RightEnd(std::vector<NVRect> const& lines) {
    return std::ranges::max(lines, {}, &NVRect::right).right;
  }
  // Whether a bracket has a hook at its left or right end.
  static bool Hook(std::vector<NVRect> const& bracket, bool right) {
    float const end = right ? RightEnd(bracket) : bracket.at(0).left;
    return std::ranges::any_of(bracket, [&](auto& s) { return s.left == end && s.right == end; });
  }
};

// Each bar opens with a chord of signs: on every line the layout breaks, the chord's signs stand
// clear of the clef and key that open the line, as after a new-system tag.
TEST_F(LineBreakTest, AChordOpeningABrokenLineKeepsItsSignsClearOfTheClefAndKey) {
  for (std::string const& bars : {Repeated("{c#2/4, e&2, g#2} c2 d2 e2 |", 10),
                                  "\\key<\"A\"> " + Repeated("{c2/4, d2} c2 d2 e2 |", 10)}) {
    Draw("[ \\meter<\"4/4\"> " + bars + "]");
    ASSERT_GT(DrawnLines().size(), 1u);
    std::vector<NVRect> signs;
    for (auto const& glyph : drawn.glyphs)
      if (glyph.code == 38 || IsAccidental(glyph.code)) signs.push_back(glyph.ink);
    EXPECT_EQ(Overlaps(signs), 0) << bars;
  }
}

// Six bars that may not break, or one 24/4 bar of eighths, among others: the stretch is set as
// tight as it must be to stay on the page, and the lines break before and after it.
TEST_F(LineBreakTest, AStretchThatCannotBreakIsSqueezedOntoThePageBetweenBreaks) {
  std::string const eighths = "c2/8 d2 e2 f2 g2 a2 h2 c3 ",
                    quarters = Repeated("c2/4 d2 e2 f2 |", 4);
  for (std::string const& stretch :
       {"\\set<systemBreak=\"off\"> " + Repeated(eighths + "|", 6) + "\\set<systemBreak=\"on\"> ",
        "\\meter<\"24/4\"> " + Repeated(eighths, 6) + "| \\meter<\"4/4\"> "}) {
    SCOPED_TRACE(stretch);
    Draw("[ \\meter<\"4/4\"> " + quarters + stretch + quarters + "]");
    GRPage const* sheet = music->getPage(1);
    float right = 0;
    for (auto const& glyph : drawn.glyphs) right = std::max(right, glyph.ink.right);
    EXPECT_LE(right, sheet->getPageWidth() - sheet->getMarginRight() + 1);
    auto const lineOf = [&](float date) {  // of the note starting then
      for (auto const& [page, note] : NoteRecords())
        if (std::abs(note.date - date) < 1e-4f) return LineAt(note.refY);
      return -1;
    };
    EXPECT_LT(lineOf(0), lineOf(5));
    EXPECT_LT(lineOf(5), lineOf(13));
  }
}

// Thirty-two bars in two hands, with ledger lines and sharps: the lines of each page hold about
// as many bars, the last not crammed to fill the page.
TEST_F(LineBreakTest, ThePageSharesItsBarsEvenlyAmongItsLines) {
  Draw("{ [ \\staff<1> \\meter<\"2/4\"> " + Repeated("a2/16 h2 c#3 d3 e3/8 c#3 |", 32) +
       "], [ \\staff<2> \\clef<\"f\"> \\meter<\"2/4\"> " + Repeated("a0/8 e1 c#1 e1 |", 32) +
       "] }");
  auto const lines = DrawnLines();
  ASSERT_GT(lines.size(), 2u);
  for (int page = 1; page <= Pages(); ++page) {
    size_t fewest = 1000, most = 0;  // notes on a line, ten to a bar
    for (auto const& line : lines)
      if (line.page == page)
        fewest = std::min(fewest, line.notes.size()), most = std::max(most, line.notes.size());
    EXPECT_LE(most - fewest, 10u) << "page " << page;
  }
}

// Each piece of a tuplet shows its number, the left hook only where the tuplet begins and the
// right hook only where it ends. Each bar line of the last score lies in a triplet: wherever the
// line breaker breaks, both pieces show the number.
TEST_F(LineBreakTest, EachPieceOfABrokenTupletShowsItsNumber) {
  for (char const* tuplet : {"a1/6 h1 \\newSystem c2", "\\tuplet<\"-3-\">(a1/6 h1 \\newSystem c2)",
                             "\\tuplet<\"-3-\",dy1=2,dy2=2>(a1/6 h1 \\newSystem c2)"}) {
    Draw(std::string("[ \\meter<\"4/4\"> c2/4 ") + tuplet + " e2/4 ]");
    for (int line : {0, 1}) {
      EXPECT_EQ(CountOn(line, "3"), 1u) << tuplet << " " << line;
      EXPECT_EQ(Hook(PenLinesOn(line, 4), false), line == 0) << tuplet << " " << line;
      EXPECT_EQ(Hook(PenLinesOn(line, 4), true), line == 1) << tuplet << " " << line;
    }
  }
  Draw("[ \\meter<\"4/4\"> c2/4 " + Repeated("c2/2 \\tuplet<\"-3-\">(e2/6 f2 g2)", 10) + "c2/2. ]");
  ASSERT_GT(DrawnLines().size(), 1u);
  EXPECT_EQ(Texts("3").size(), 10 + DrawnLines().size() - 1);
}

// A second beam level starting after the break starts at its first note; one running at the
// break goes on from the line's start.
TEST_F(LineBreakTest, ABeamLevelStartsAtItsFirstNoteUnlessItRanAtTheBreak) {
  for (auto const& [beam, fromTheStart] : {std::pair{"c2/8 d2 \\newSystem e2/8 f2/16 g2/16", 1},
                                           std::pair{"c2/16 d2 \\newSystem e2/16 f2/16 g2/8", 2}}) {
    Draw(std::string("[ \\meter<\"4/4\"> c2/2. \\beam( ") + beam + " ) c2/2. ]");
    float const first = DrawnLines().at(1).notes.at(0).left;
    EXPECT_EQ(
        std::ranges::count_if(
            drawn.shapes,
            [&](auto& s) { return s.xs.size() == 4 && LineAt(s.top) == 1 && s.left < first; }),
        fromTheStart)
        << beam;
  }
}

// A further level that ends before the break stays a stub at its note: run on to the line's end
// it would pass the stems of the notes after it and shorten them for the reader.
TEST_F(LineBreakTest, ABeamLevelEndingBeforeTheBreakStaysAtItsNote) {
  for (char const* beam :
       {"e2/16 _/16 d2/8 \\newSystem e2/8 f2/8", "c2/16 d2/8. \\newSystem e2/8",
        "c2/8. d2/16 e2/8 \\newSystem f2/8", "c2/8 d2/32 e2/16. f2/8 \\newSystem g2/8"}) {
    Draw(std::string("[ \\meter<\"4/4\"> c2/2 \\beam( ") + beam + " ) c2/4 ]");
    float const last = DrawnLines().at(0).notes.back().left;
    // Only the main level goes on past the line's last note.
    EXPECT_EQ(
        std::ranges::count_if(
            drawn.shapes,
            [&](auto& s) { return s.xs.size() == 4 && LineAt(s.top) == 0 && s.right > last; }),
        1)
        << beam;
  }
}

// A beam whose notes all stand after the break draws nothing on the line that holds only its
// rests: drawn along that line, it would be taken for the beam of the stems it reaches.
TEST_F(LineBreakTest, ABeamDrawsNothingOnALineOfOnlyItsRests) {
  for (char const* music : {"c2/4 d2/8 _/8 \\newSystem e2/8 f2/8 | c2/2.",
                            "c2/4 d2/8 \\beam( _/8 \\newSystem e2/8 f2/8 ) | c2/2.",
                            "c2/4 d2/8 \\beam( _/16 _/16 \\newSystem {e2/8, g2/8} f2/8 ) | c2/2.",
                            "c2/4. \\beam( _/8 _/8 \\newSystem e2/8 ) | c2/2."}) {
    Draw(std::string("[ \\meter<\"6/8\"> ") + music + " ]");
    ASSERT_EQ(DrawnLines().size(), 2u) << music;
    EXPECT_EQ(std::ranges::count_if(
                  drawn.shapes, [&](auto& s) { return s.xs.size() == 4 && LineAt(s.top) == 0; }),
              0)
        << music;
  }
}

// Each note of a tied chord goes on at the next line's start with a tie of its own, on the side
// its tie took on the line before.
TEST_F(LineBreakTest, TiesOfAChordGoOnToTheirOwnNotesOnTheSideTheyBeganOn) {
  for (char const* tie :
       {"{c2/2, e2} \\newSystem {c2, e2}", "\\stemsUp {c2/2, e2, g2} \\newSystem {c2, e2, g2}"}) {
    SCOPED_TRACE(tie);
    Draw(std::string("[ \\meter<\"4/4\"> c2/2 \\tie( ") + tie + " ) c2/2 ]");
    auto const lines = DrawnLines();
    ASSERT_EQ(lines.size(), 2u);
    std::vector<float> notes[2], ties[2];  // the heights of the chord's notes and ties, top down
    for (int line : {0, 1}) {
      float const x = line == 0 ? lines[0].notes.back().refX : lines[1].notes.front().refX;
      for (auto const& note : lines[line].notes)
        if (note.refX == x) notes[line].push_back(note.refY);
      for (auto const& s : drawn.shapes)
        if (s.xs.size() > 4 && LineAt(s.top) == line) ties[line].push_back((s.top + s.bottom) / 2);
      std::ranges::sort(notes[line]);
      std::ranges::sort(ties[line]);
      ASSERT_EQ(ties[line].size(), notes[line].size());
    }
    for (size_t i = 0; i < ties[1].size(); ++i) {
      EXPECT_NEAR(ties[1][i], notes[1][i], kSpace) << i;
      EXPECT_EQ(ties[1][i] < notes[1][i], ties[0][i] < notes[0][i]) << i;
    }
  }
}

// A slur cut by a break stays above the notes on both lines, and so clear of the diminuendo.
TEST_F(LineBreakTest, ABrokenSlurStaysOnItsSide) {
  Draw(
      "[ \\key<\"F\"> \\meter<\"4/4\"> \\dim( \\slur( a2/4 g2 f2 e2 \\newSystem d2/4 c2 h&1 a1 ) "
      ") | c2/1 ]");
  auto const lines = DrawnLines();
  ASSERT_EQ(Records(2, 17).size(), 2u);
  for (ScoreElementDesc const& slur : Records(2, 17))
    for (auto const& note : lines.at(LineAt(slur.top)).notes) EXPECT_LT(slur.top, note.top);
}

// A hairpin cut by a break runs to the end of its line and goes on from the next line's start,
// after its clef, to its last note: a piece over one note does not shrink to an accent.
TEST_F(LineBreakTest, AHairpinRunsToTheLineEndAndGoesOnFromTheNextLineStart) {
  Draw(
      "[ \\meter<\"4/4\"> c2/4 d2 \\cresc( e2 f2 \\newSystem g2/4 ) a2 h2 c3 | c3/4 h2 \\dim( a2 "
      "g2 \\newSystem f2/4 ) e2 d2 c2 ]");
  auto const lines = DrawnLines();
  ASSERT_EQ(lines.size(), 3u);
  for (int line : {0, 1})
    EXPECT_NEAR(RightEnd(PenLinesOn(line, 6)), lines[line].system.right, kSpace) << line;
  for (int line : {1, 2}) {
    NVRect const leg = PenLinesOn(line, 6).at(0);
    auto const& notes = lines[line].notes;
    EXPECT_GE(leg.left, Glyphs(38).at(line).ink.right) << line;  // the clef's
    EXPECT_LT(leg.left, notes[0].left - kSpace / 2) << line;
    EXPECT_GE(leg.right, notes[0].right - 1) << line;
    EXPECT_LE(leg.right, notes[1].left) << line;
  }
}

// A volta draws one piece on each line it spans, over its own notes: the first opens with its
// hook and number, the middle ones only carry the line on, the last closes before the second
// ending; also when the line breaker makes the lines.
TEST_F(LineBreakTest, AVoltaDrawsOnePieceOnEachLineOverItsNotes) {
  for (std::string const& notes :
       {std::string("d2/1 \\newSystem e2/1 | f2/1 \\newSystem g2/1 | a2/1"),
        Repeated("c2/4 d2 e2 f2 |", 6) + "c2/4 d2 e2 f2",
        std::string("e3/1 | a3/1 \\newSystem c1/1")}) {
    SCOPED_TRACE(notes);
    Draw("[ \\meter<\"4/4\"> c2/1 | \\volta<\"1.\",\"1.\">( " + notes +
         " ) \\volta<\"2.\",\"2.\">( d1/1 ) ]");
    auto const lines = DrawnLines();
    int const last = static_cast<int>(lines.size()) - 1;
    ASSERT_GT(last, 0);
    EXPECT_EQ(Texts("1.").size(), 1u);
    for (int line = 0; line <= last; ++line) {
      std::vector<NVRect> piece = PenLinesOn(line, 4, true);
      std::erase_if(piece, [&](auto& s) { return line == last && s.left > Texts("2.")[0].x - 26; });
      ASSERT_FALSE(piece.empty()) << line;
      EXPECT_EQ(Hook(piece, false), line == 0) << line;
      EXPECT_EQ(Hook(piece, true), line == last) << line;
      EXPECT_TRUE(line == last || std::abs(RightEnd(piece) - lines[line].system.right) < kSpace);
      for (NVRect const& s : piece)
        for (auto const& note : lines[line].notes) EXPECT_LT(s.top, note.top - kSpace) << line;
    }
  }
}

// A text over a range that goes on on the next line shows a hyphen before the range's first
// note there, not the text again; also where the line breaker breaks the range.
TEST_F(LineBreakTest, ATextRangeGoesOnWithAHyphenOnTheNextLine) {
  for (auto const& [before, range] :
       {std::pair<std::string, std::string>{"", "c2/4 d2 e2 f2 \\newSystem g2 a2 h2 c3 |"},
        {Repeated("c2/4 d2 e2 f2 |", 4), Repeated("c2/8 d2 e2 f2 g2 a2 h2 c3 |", 3)}}) {
    SCOPED_TRACE(range);
    Draw("[ \\meter<\"4/4\"> " + before + "\\text<\"range text\">( " + range + ") c2/1 ]");
    ASSERT_EQ(Texts("range text").size(), 1u);
    int const next = LineAt(Texts("range text")[0].y) + 1;
    ScoreElementDesc const first = DrawnLines().at(next).notes.at(0);
    ASSERT_EQ(CountOn(next, "-"), 1u);
    float const x = Texts("-")[0].x;
    EXPECT_TRUE(x < first.right && x > first.left - 2 * kSpace) << x;
  }
}

// Unbarred music too long for a line breaks between its events, at a bar line where one is near,
// and just before a stretch whose breaks are switched off; bars of a long meter that fit a line
// break only at their bar lines.
TEST_F(LineBreakTest, MusicWithoutBarLinesBreaksBetweenItsEvents) {
  std::string const scale = "c1/4 d e f g a h c2 ", quarters = Repeated("c2/4 d2 e2 f2 |", 4);
  struct Case {
    std::string text;
    bool broken;
    float lineStart;  // a date on which a line must start, or -1
    float bar;        // the length of the bars every line must start at, or 0
  } const cases[] = {
      {"[ " + Repeated(scale, 8) + "]", true, -1, 0},
      {"[ \\meter<\"4/4\", autoBarlines=\"off\"> " + Repeated(scale, 8) + "]", true, -1, 0},
      {"[ " + Repeated("c1/4 d e f g a h c2 d e f g | ", 6) + "]", true, -1, 3},
      {"[ " + Repeated(Repeated("c2/32 d2 e2 f2 ", 16) + "| ", 3) + "]", true, -1, 0},
      {"[ c1/4 d e f g a ]", false, -1, 0},
      {"[ \\meter<\"24/4\"> " + Repeated("c2/4 d2 e2 f2 g2 a2 h2 c3 d3/2 c3 h2 a2 g2/1 f2 |", 8) +
           "]",
       true, -1, 6},
      {"[ \\meter<\"4/4\"> " + quarters + "\\set<systemBreak=\"off\"> " +
           Repeated("c2/8 d2 e2 f2 g2 a2 h2 c3 |", 6) + "\\set<systemBreak=\"on\"> " + quarters +
           "]",
       true, 4, 0},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.text);
    Draw(c.text);
    auto const lines = DrawnLines();
    EXPECT_EQ(lines.size() > 1, c.broken);
    bool startsALine = c.lineStart < 0;
    for (auto const& line : lines) {
      auto const& notes = line.notes;
      ASSERT_FALSE(notes.empty());
      startsALine |= std::abs(notes.front().date - c.lineStart) < 1e-4f;
      if (c.bar > 0) {
        EXPECT_EQ(std::fmod(notes.front().date, c.bar), 0) << notes.front().date;
      }
      // Heads keep their own spacing (but in the stretch that may not break).
      for (size_t n = 1; n < notes.size() && c.lineStart < 0; ++n)
        EXPECT_GT(notes[n].left, notes[n - 1].right + kSpace / 2) << n;
    }
    EXPECT_TRUE(startsALine);
  }
}

// A bar wider than a narrow page, of sixteenths, of triplets or without bar lines: its lines
// break between its beats, and each event keeps its own place, clear of the one before. A bar
// that fits a line still breaks only at its bar line.
TEST_F(LineBreakTest, ABarWiderThanTheLineBreaksBetweenItsBeats) {
  std::string const narrow =
      "\\pageFormat<w=7cm, h=20cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\key<-5> ";
  struct Case {
    std::string text;
    float bar;  // the length of a bar, or of a stretch between the breaks of unbarred music
    bool betweenBeats;
  } const cases[] = {
      {"[ " + narrow + "\\meter<\"4/4\"> " + Repeated("f&2/16 e&2 f2 g&2 ", 8) + "]", 1, true},
      {"[ " + narrow + "\\meter<\"3/4\"> " + Repeated("\\tuplet<\"-3-\">( h&1/24 c2 d&2 ) ", 12) +
           "]",
       0.75f, true},
      {"[ " + narrow + "\\meter<\"4/4\", autoBarlines=\"off\"> " +
           Repeated("a&1/16 h&1 c2 d&2 ", 8) + "]",
       1, true},
      {"[ \\meter<\"4/4\"> " + Repeated("f&2/16 e&2 f2 g&2 ", 8) + "]", 1, false},
      // Another voice of the staff rests through the bar: its rests part at the break.
      {"{ [ " + narrow + "\\meter<\"4/4\"> " + Repeated("f&2/16 e&2 f2 g&2 ", 8) +
           "], [ \\meter<\"4/4\"> _/1 _/1 ] }",
       1, true},
      {"{ [ " + narrow + "\\meter<\"4/4\"> " + Repeated("f&2/16 e&2 f2 g&2 ", 8) +
           "], [ \\meter<\"4/4\"> _/2. _/4 _/4 _/2. ] }",
       1, true},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.text);
    Draw(c.text);
    bool betweenBeats = false;
    for (auto const& line : DrawnLines()) {
      auto const& notes = line.notes;
      ASSERT_FALSE(notes.empty());
      betweenBeats |= std::abs(std::remainder(notes.front().date, c.bar)) > 1e-4f;
      for (size_t n = 1; n < notes.size(); ++n)
        EXPECT_GT(notes[n].left, notes[n - 1].right) << notes[n].date;
    }
    EXPECT_EQ(betweenBeats, c.betweenBeats);
  }
}

// A bar wider than a narrow page while another voice, of its staff or of the other, holds a note
// or a chord across its beats: the bar breaks between beats all the same, the held note parted
// in two notes tied over the break, and each event keeps its own place, clear of those before
// it. On a page the bar fits the held note stays whole.
TEST_F(LineBreakTest, ABarWiderThanTheLinePartsANoteHeldAcrossItsBeats) {
  std::string const narrow = "\\pageFormat<w=7cm, h=20cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> ",
                    sixteenths = "\\meter<\"4/4\"> " + Repeated("f&2/16 e&2 f2 g&2 ", 8),
                    // Half a bar of these is still wider than a narrow line with six flats.
      thirtySeconds = "\\key<-6> \\meter<\"4/4\"> " + Repeated("f2/32 e&2 f2 g&2 ", 16);
  struct Case {
    std::string text;
    float held;  // the date the held note begins
    bool parted;
  } const cases[] = {
      {"{ [ \\staff<1> " + narrow + "\\stemsUp " + sixteenths +
           "], [ \\staff<1> \\meter<\"4/4\"> \\stemsDown c1/1 c1/1 ] }",
       0, true},
      {"{ [ \\staff<1> " + narrow + "\\stemsUp " + sixteenths +
           "], [ \\staff<1> \\meter<\"4/4\"> \\stemsDown c1/4 d1/2. c1/1 ] }",
       0.25f, true},
      {"{ [ \\staff<1> " + narrow + sixteenths +
           "], [ \\staff<2> \\clef<\"f\"> \\meter<\"4/4\"> c0/2 c0/2 c0/1 ] }",
       0, true},
      {"{ [ \\staff<1> " + narrow + sixteenths +
           "], [ \\staff<2> \\clef<\"f\"> \\meter<\"4/4\"> {c0/1, e0/1, g0/1} c0/1 ] }",
       0, true},
      {"{ [ \\staff<1> " + narrow + "\\stemsUp " + sixteenths +
           "], [ \\staff<1> \\meter<\"4/4\"> \\stemsDown c1/4 {a0/2., c1/2.} c1/1 ] }",
       0.25f, true},
      // The parts of a note parted once, alone on their staff, still hold across the beats of a
      // squeezed line: they are parted again, also where the note is tied on.
      {"{ [ \\staff<1> " + narrow + thirtySeconds +
           "], [ \\staff<2> \\clef<\"f\"> \\key<-6> \\meter<\"4/4\"> \\tie( c0/1 c0/4 ) c0/2. ] }",
       0, true},
      {"{ [ \\staff<1> " + narrow + thirtySeconds +
           "], [ \\staff<2> \\clef<\"f\"> \\key<-6> \\meter<\"4/4\"> c0/1 c0/1 ] }",
       0, true},
      {"{ [ \\staff<1> \\stemsUp " + sixteenths +
           "], [ \\staff<1> \\meter<\"4/4\"> \\stemsDown c1/1 c1/1 ] }",
       0, false},
      {"{ [ \\staff<1> " + sixteenths +
           "], [ \\staff<2> \\clef<\"f\"> \\meter<\"4/4\"> {c0/1, e0/1, g0/1} c0/1 ] }",
       0, false},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.text);
    Draw(c.text);
    std::set<float>
        heldDates;  // where the held note or chord, or each of its parts, begins or ends
    int lineOfTie = -1;
    for (auto const& line : DrawnLines()) {
      auto const& notes = line.notes;
      for (auto const& note : notes) {
        // The heads of a chord are told at the chord's end, without a length.
        if (note.duration <= 0) {
          if (note.date > c.held + 1e-4f && note.date < 1 + 1e-4f) heldDates.insert(note.date);
          continue;
        }
        bool const held =
            note.date >= c.held - 1e-4f && note.date < 1 - 1e-4f && note.duration >= 0.25f - 1e-4f;
        if (held) heldDates.insert(note.date);
        for (auto const& before : notes) {
          if (before.duration > 0 && before.date < note.date - 1e-4f) {
            EXPECT_GT(note.left, before.right) << note.date;
          }
        }
      }
    }
    for (auto const& shape : drawn.shapes)
      if (shape.xs.size() > 4) lineOfTie = std::max(lineOfTie, LineAt(shape.top));
    EXPECT_TRUE(c.parted ? heldDates.size() >= 2 : heldDates.size() == 1) << heldDates.size();
    EXPECT_EQ(lineOfTie > 0, c.parted);
  }
}

}  // namespace
