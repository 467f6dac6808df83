// Each head reads its own length where voices meet or stems were written: its dots stand after it
// and before any other head on their row, no stem of one voice runs through the other's head, and
// every stem under a beam reaches it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "GRNoteDot.h"
#include "drawn_score.h"

namespace {

using EngineTesting::TwoVoices;

constexpr float kSpace = 50;
constexpr unsigned int kHead = 88, kDot = 46;

class VoiceHeadsReadTest : public EngineTesting::DrawnScore {};

// A dot is read as the dot of the nearest head on its left on its row (or the row under it: the
// dot of a head on a line stands in the space above; or the row over it, where another voice's
// head at the same time takes that space).
TEST_F(VoiceHeadsReadTest, EachHeadShowsItsOwnDots) {
  for (auto const& [upper, lower] : {
           std::pair{"g1/4. e2/4.", "g1/2."},  // both dotted, of different heads
           {"a1/8 a1/4.", "a1/4. a1/8"},       // the dotted head of the voice with stems down
           {"c2/2 c2/4", "c2/4. c2/8 c2/4"},
           {"f1/2", "e1/4. e1/8"},              // a second, the lower note on a line
           {"e2/2. d2/4", "e2/4 c2/2 h1/4"},    // a hymn's voices meeting on different values
           {"f2/4.. f2/16", "f2/8 f2/4 f2/8"},  // two dots
           {"e1/2.", "f1/8 f1/8 f1/2"},         // crossed: the dot after the right head
           {"f1/4. f1/4.", "e1/4. e1/8 e1/8"},  // a step apart, dotted or not
       }) {
    SCOPED_TRACE(std::string(upper) + " over " + lower);
    Draw(TwoVoices(upper, lower));
    auto const notes = NoteRecords();
    std::vector<int> dots(notes.size(), 0);
    for (auto const& dot : Glyphs(kDot)) {
      float const y = (dot.ink.top + dot.ink.bottom) / 2;
      int owner = -1;
      for (size_t i = 0; i < notes.size(); ++i) {
        ScoreElementDesc const& head = notes[i].desc;
        bool const spaceOverTaken = std::any_of(notes.begin(), notes.end(), [&](auto const& other) {
          return other.desc.date == head.date &&
                 std::abs(head.refY - kSpace / 2 - other.desc.refY) < kSpace / 4;
        });
        float const lowest = (spaceOverTaken ? 0.75f : 0.3f) * kSpace;
        bool const onRow = y - head.refY > -0.75f * kSpace && y - head.refY < lowest;
        if (onRow && head.headX < dot.ink.left &&
            (owner < 0 || head.headX > notes[size_t(owner)].desc.headX))
          owner = int(i);
      }
      // A head of another note in the dot's own space, left of it, takes it before a head on
      // the line beside.
      for (size_t i = 0; i < notes.size(); ++i) {
        ScoreElementDesc const& head = notes[i].desc;
        if (owner >= 0 && head.headX < dot.ink.left && std::abs(y - head.refY) < kSpace / 4 &&
            std::abs(notes[size_t(owner)].desc.refY - head.refY) > kSpace / 4)
          owner = int(i);
      }
      ASSERT_GE(owner, 0) << "a dot of no head at " << dot.ink.left;
      ++dots[size_t(owner)];
    }
    for (size_t i = 0; i < notes.size(); ++i) {
      ScoreElementDesc const& note = notes[i].desc;
      // The second of two dots is drawn as a glyph of its own.
      int const written =
          GRNoteDot::DurationToDotCount(Fraction(int(std::lround(note.duration * 64)), 64));
      EXPECT_EQ(dots[i], written) << "the note at " << note.date << ", y " << note.refY;
    }
  }
}

// Where the voices cross, the note with its stem up stands right of the other: neither stem runs
// through a head of the other voice, which would read as a chord holding that stem's length.
TEST_F(VoiceHeadsReadTest, NoStemRunsThroughTheOtherVoicesHead) {
  for (auto const& [upper, lower] : {
           std::pair{"f1/2", "a1/2"},
           {"c2/4 e1/4", "e2/4 g1/4"},
           {"h1/8 c2/8", "d2/4"},
           {"e1/2", "c2/2"},  // a sixth: the stems reach past the heads
       }) {
    SCOPED_TRACE(std::string(upper) + " over " + lower);
    Draw(TwoVoices(upper, lower));
    auto const notes = NoteRecords();
    for (auto const& stem : Records(2, 10)) {
      int heads = 0;
      for (auto const& [page, note] : notes) {
        float const half = (note.right - note.left) / 2;
        bool const atSide = std::abs(stem.left - note.left) < 0.3f * half + 3 ||
                            std::abs(stem.right - note.right) < 0.3f * half + 3;
        if (atSide && note.refY > stem.top - 1 && note.refY < stem.bottom + 1) ++heads;
      }
      EXPECT_EQ(heads, 1) << "the stem at " << stem.left;
    }
  }
}

// A direction written for some notes of a beam holds for those whose stems were left to the
// engine: stems both ways on one staff would leave the beam running through heads, away from the
// tips of some stems.
TEST_F(VoiceHeadsReadTest, StemsUnderABeamPointTheWayWrittenForSomeOfThem) {
  for (char const* text : {
           "[ \\beam( d2/16 c2/16 \\stemsUp e2/16 d2/16 ) ]",
           "[ \\meter<\"1/4\"> c2/16 h1/16 \\stemsDown a1/16 d2/16 ]",
           "[ \\beam( g1/8 \\stemsDown a1/8 h1/8 ) ]",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    ScoreElementDesc const beam = Records(2, 14).at(0);
    auto const stems = LeftToRight(Records(2, 10));
    auto const heads = Glyphs(kHead);
    ASSERT_EQ(heads.size(), stems.size());
    for (size_t i = 0; i < stems.size(); ++i) {
      bool const down = stems[i].bottom > heads[i].y + 1;
      EXPECT_EQ(down, stems[0].bottom > heads[0].y + 1) << i;
      float const tip = down ? stems[i].bottom : stems[i].top;
      EXPECT_TRUE(tip >= beam.top - 0.5f && tip <= beam.bottom + 0.5f) << i;
    }
  }
}

// Where the notes stand close, a partial beam stops half way to the stem it points to: reaching
// that stem, it would read as a level of that note too.
TEST_F(VoiceHeadsReadTest, EachStemCrossesAsManyBeamsAsItsNoteHasFlags) {
  for (std::string const notes : {"h&1/8 d2/16 _/16 ", "d2/16 h&1/8 _/16 "}) {
    SCOPED_TRACE(notes);
    Draw(
        "[ \\pageFormat<w=6cm, h=10cm, lm=0.3cm, tm=0.5cm, rm=0.3cm, bm=0.5cm> "
        "\\meter<\"4/4\"> \\stemsUp " +
        EngineTesting::Repeated(notes, 4) + "]");
    auto const stems = LeftToRight(Records(2, 10));
    auto const heads = LeftToRight([&] {
      std::vector<ScoreElementDesc> descs;
      for (auto const& [page, note] : NoteRecords()) descs.push_back(note);
      return descs;
    }());
    ASSERT_EQ(stems.size(), heads.size());
    // The map puts a stem a few units off its ink; the next stem stands a space away. The bar
    // may break over lines: a beam counts only on its stem's line.
    constexpr float kNear = 10;
    for (size_t i = 0; i < stems.size(); ++i) {
      int beams = 0;
      for (auto const& shape : drawn.shapes)
        if (!shape.xs.empty() && shape.left < stems[i].right + kNear &&
            shape.right > stems[i].left - kNear && shape.top < stems[i].bottom + kNear &&
            shape.bottom > stems[i].top - kNear)
          ++beams;
      EXPECT_EQ(beams, heads[i].duration < 0.1f ? 2 : 1) << "the note at " << heads[i].date;
    }
  }
}

// The staves of a line stand apart by the music they hold as it ends: a stem rising from a staff
// stops short of a beam under the staff above, where reaching it would read as one beam more.
TEST_F(VoiceHeadsReadTest, NoStemReachesABeamOfTheStaffAbove) {
  // A title and a narrow page bring the staves of the last line close together.
  std::string const upper =
      "[ \\title<\"Etude\"> \\staff<1> \\pageFormat<w=7cm, h=21cm, lm=0.5cm, tm=1cm, rm=0.5cm, "
      "bm=1cm> \\key<5> \\meter<\"3/8\", autoBarlines=\"off\"> c#2/4 c#2/8 \\bar _/8 d#2/8 g#2/8 "
      "\\bar _/4 d#2/8 e2/4 f#2/8 a#2/4. ";
  std::string const lower =
      "[ \\staff<2> \\clef<\"f4\"> \\key<5> \\meter<\"3/8\", autoBarlines=\"off\"> h-1/4. | e0/4. "
      "\\bar e0/4. g#-1/4 a#-1/8 a#-1/8 h-1/8 c#0/8 ";
  struct Case {
    std::string upperEnd, lowerEnd;
    int stemsOnBeams;  // the beamed stems the map records on these lines
  };
  for (auto const& [upperEnd, lowerEnd, stemsOnBeams] : {
           Case{"f#2/8 e&2/8 d#2/8 _/8 {c#2/8, a#1/8, f#1/8} _/8 ]",
                "{h-1/4, d#0/4, f#0/4} a#-1/8 e-1/4. ]", 3},
           Case{"f#2/8 e&2/8 d#2/8 _/8 {c#2/8, a#1/8, f#1/8} _/8 ]",
                "{a#-1/4, c#0/4, e0/4} a#-1/8 e-1/4. ]", 3},
       }) {
    std::string const text = "{ " + upper + upperEnd + ", " + lower + lowerEnd + " }";
    SCOPED_TRACE(text);
    Draw(text);
    int reached = 0;
    for (auto const& stem : Records(2, 10))
      for (auto const& shape : drawn.shapes)
        if (!shape.xs.empty() && shape.left < stem.right && shape.right > stem.left &&
            shape.top < stem.bottom && shape.bottom > stem.top)
          ++reached;
    EXPECT_EQ(reached, stemsOnBeams);
  }
}

}  // namespace
