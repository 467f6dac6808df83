// Texts over the staff keep clear of the music under them: an instrument's name stands in the
// margin before its line, and the words of jumps and of ornaments and tempo changes over the
// notes stand over every head, stem, sign, articulation, breath mark, rest and ledger line
// under them; an octava's figure stands over the notes' own marks as well.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lib-razid-qt/engine_fixture.h"
#include "tests/src/core/score_builder/collision_rules.h"
#include "tests/src/core/score_builder/drawn_marks.h"
#include "tests/src/core/score_builder/generated_music.h"

namespace ScoreOverlaps {
namespace {

class TextsClearOfMusicTest : public RazidQtTesting::EngineFixture {
 protected:
  // Every collision of a text with a mark of the music on the piece's pages, and the texts
  // drawn.
  void Draw(const char* rmn) {
    score = NewPainter();
    score->setResizePageToMusic(false);
    ASSERT_TRUE(score->setRMNCode(QString::fromUtf8(rmn)))
        << score->getLastErrorMessage().toStdString();
    meetings.clear();
    texts.clear();
    for (int page = 1; page <= score->pageCount(); ++page) {
      const std::vector<DrawnMark> marks = DrawnMarks(*score, page);
      for (const DrawnMark& mark : marks)
        if (mark.kind == Mark::Text) texts.push_back(mark);
      for (const Found& found : Collisions(marks)) {
        const bool withText = found.first == Mark::Text || found.second == Mark::Text;
        const bool textsOnly = found.first == Mark::Text && found.second == Mark::Text;
        if (withText && !textsOnly) meetings.push_back(found.what);
      }
    }
  }

  std::string Meetings() const {
    std::string all;
    for (const std::string& what : meetings) all += what + "\n";
    return all;
  }

  Painter score;
  std::vector<std::string> meetings;
  std::vector<DrawnMark> texts;
};

// On the base line of the top staff the name ran into the first notes' stems, beams, heads and
// signs; it stands left of the line's staves now, clear of the brace.
TEST_F(TextsClearOfMusicTest, AnInstrumentNameStandsInTheMarginBeforeItsLine) {
  const char* const pieces[] = {
      // Beamed notes with stems up right after the meter.
      R"({ [ \instr<"Piano"> \pageFormat<w=7cm, h=19cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm>
         \clef<"g2"> \meter<"2/4"> d2/16 h2/16 f#2/16 g2/16 f#2/4 | c#2/4 a1/4 | d2/2 ] })",
      // A name on each staff of a piano system, the first notes high with signs.
      R"({ [ \instr<"Piano"> \staff<1> \clef<"g2"> \meter<"4/4"> c#3/4 h&2/4 a2/2 ],
         [ \instr<"Violoncello"> \staff<2> \clef<"f4"> \meter<"4/4"> e#0/2 c1/2 ] })",
      // A long name on a narrow page, whose line is indented the more.
      R"({ [ \instr<"Pianoforte solo"> \pageFormat<w=9cm, h=12cm, lm=0.5cm, tm=1cm, rm=0.5cm,
         bm=1cm> \meter<"2/4"> a2/8 c3/8 e3/8 c3/8 | g2/4 g2/4 ] })",
  };
  for (const char* rmn : pieces) {
    SCOPED_TRACE(rmn);
    Draw(rmn);
    EXPECT_TRUE(meetings.empty()) << Meetings();
    const std::vector<StaffBand> staves = StaffBands(*score, 1);
    ASSERT_FALSE(staves.empty());
    // The first line's staves begin where its top staff does.
    const qreal lineStart = staves.front().left;
    int names = 0;
    for (const DrawnMark& text : texts) {
      if (text.text == "Piano" || text.text == "Violoncello" || text.text == "Pianoforte solo") {
        ++names;
        EXPECT_LT(text.box.right(), lineStart - 50) << text.text;
        EXPECT_GE(text.box.left(), 0) << text.text << " off the page";
      }
    }
    EXPECT_GT(names, 0);
  }
}

// A jump's words stood over the boxes of the notes under them, which leave out the ink of a
// flat or sharp above the head, of a rest and of a beam.
TEST_F(TextsClearOfMusicTest, JumpWordsStandOverTheSignsAndRestsUnderThem) {
  const char* const pieces[] = {
      R"([ \clef<"g2"> \meter<"4/4"> c2/2 d2/2 \newSystem \fine e&2/8 g#2/8 a#2/4 _/8 f#2/8
         g#2/16 c#2/16 d#2/16 c#2/16 ])",
      R"([ \clef<"g2"> \meter<"4/4"> c2/1 \newSystem \daCapoAlFine f#2/8 h&2/8 e&2/4 a2/2 ])",
      R"([ \clef<"g2"> \meter<"4/4"> e2/4 f2/4 g2/4 a2/4 | \dalSegno _/4 d2/4 h&2/2 ])",
  };
  for (const char* rmn : pieces) {
    SCOPED_TRACE(rmn);
    Draw(rmn);
    EXPECT_FALSE(texts.empty());
    EXPECT_TRUE(meetings.empty()) << Meetings();
  }
}

// The words of ornaments and tempo changes rose over the stems, heads and beams under them, but
// not over the articulations, signs, dots, ledger lines, rests and breath marks.
TEST_F(TextsClearOfMusicTest, OrnamentWordsStandOverTheMarksOfTheNotesUnderThem) {
  const char* const pieces[] = {
      R"([ \clef<"g2"> \meter<"4/4"> e2/8 {d&2/8, h1/8} e2/8 \breathMark \accel( a1/4 g1/8 )
         f1/4 ])",
      R"([ \clef<"g2"> \meter<"4/4"> f2/2 c&3/8 h#2/8 f2/8. \turn( e2/16 ) a2/8. g2/16 ])",
      R"([ \clef<"g2"> \meter<"4/4"> \stacc( a2/8 ) \marcato( h2/8 ) \trill( d2/4 )
         \accent( c3/8 ) e2/8 \rit( g1/4 ) ])",
  };
  for (const char* rmn : pieces) {
    SCOPED_TRACE(rmn);
    Draw(rmn);
    EXPECT_FALSE(texts.empty());
    EXPECT_TRUE(meetings.empty()) << Meetings();
  }
}

// An octava's figure rose over the heads, stems and beams under it, but not over the notes' own
// marks: the breath mark before the first note of a line the octava went on into stood in the
// figure. Generated pieces where it did; the curves under a figure are left to their own rules.
TEST_F(TextsClearOfMusicTest, OctavaFiguresStandOverTheMarksOfTheNotesUnderThem) {
  const unsigned seeds[] = {52, 176};
  for (unsigned seed : seeds) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Draw(GenerateMusic(seed, EveryFeature()).rmn.c_str());
    for (const std::string& what : meetings)
      if (what.find("(text \"8\")") != std::string::npos &&
          what.find("tie or slur") == std::string::npos)
        ADD_FAILURE() << what;
  }
}

}  // namespace
}  // namespace ScoreOverlaps
