// The marks written over the notes of one line (ornaments' and tempo changes' words, mordents,
// octava figures, volta numbers, jump marks and tempo marks) drawn on the real fonts: where two
// would meet, one stands over the other instead of on it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::Overlaps;

constexpr unsigned int kMordent = 77;

class MarksOverNotesStackTest : public EngineTesting::DrawnScore {
 protected:
  std::vector<NVRect> TextBoxes() {
    std::vector<NVRect> boxes;
    for (auto const& text : drawn.texts) boxes.push_back(TextInk(text));
    return boxes;
  }
  std::vector<NVRect> MordentInks() const {
    std::vector<NVRect> inks;
    for (auto const& glyph : Glyphs(kMordent)) inks.push_back(glyph.ink);
    return inks;
  }
};

// Words at one note: two ornaments' or tempo changes' words, an octava's figure over them, a
// volta's number over them and a tempo mark over that, and the words over a staff under a text
// of the staff above.
TEST_F(MarksOverNotesStackTest, TextsOverTheNotesStandOneOverTheOther) {
  for (char const* score : {
           "[ \\meter<\"4/4\"> \\accel( \\trill( c2/4 ) d2 ) \\rit( \\turn( e2/4 ) ) f2 ]",
           "[ \\meter<\"4/4\"> \\oct<1> \\rit( \\turn( a1/4 ) ) h1 c2 d2 ]",
           "[ \\meter<\"4/4\"> \\repeatBegin c2/4 d2 e2 f2 \\volta<\"1.\", \"1.\">( "
           "\\trill( g2/4 ) f2 e2 d2 \\repeatEnd ) \\volta<\"2.\", \"2.\">( c2/1 ) ]",
           "[ \\meter<\"4/4\"> \\tempo<\"Adagio\"> \\volta<\"1.\", \"1.\">( c2/4 d2 e2 f2 "
           "\\repeatEnd ) \\volta<\"2.\", \"2.\">( g2/1 ) ]",
           "[ \\meter<\"4/4\"> \\tempo<\"Presto\"> \\volta<\"1.\", \"1.\">( a2/4 h2 c3 d3 "
           "\\repeatEnd ) \\volta<\"2.\", \"2.\">( g2/1 ) ]",
           "{ [ \\staff<1> \\meter<\"4/4\"> \\text<\"sempre\">( c1/4 ) d1 e1 f1 ], [ \\staff<2> "
           "\\meter<\"4/4\"> \\rit( \\turn( h2/4 ) ) a2 g2 f2 ] }",
       }) {
    SCOPED_TRACE(score);
    Draw(score);
    ASSERT_EQ(Pages(), 1);
    EXPECT_EQ(Overlaps(TextBoxes()), 0);
  }
}

// A mordent among the words: under a tempo change's words, and under a tempo mark or a jump
// mark over it.
TEST_F(MarksOverNotesStackTest, AMordentAndTheWordsOverItKeepApart) {
  for (char const* score : {
           "[ \\meter<\"4/4\"> \\accel( \\mord( c2/4 ) d2 ) \\rit( \\mord( e2/4 ) ) f2 ]",
           "[ \\meter<\"4/4\"> \\tempo<\"Andante\"> \\mord( a2/4 ) "
           "\\accel( \\mord( h2/4 ) ) c3 d3 ]",
           "[ \\meter<\"4/4\"> c2/4 d2 \\rit( \\mord( e2/4 ) ) \\mord( f2/4 ) \\fine ]",
       }) {
    SCOPED_TRACE(score);
    Draw(score);
    ASSERT_EQ(Pages(), 1);
    ASSERT_FALSE(MordentInks().empty());
    EXPECT_EQ(Overlaps(TextBoxes(), MordentInks()), 0);
  }
}

// A jump mark opening a line over the number of a tuplet set over the notes there.
TEST_F(MarksOverNotesStackTest, AJumpMarkStandsOverATupletsNumber) {
  for (char const* score : {
           "[ \\key<5> \\meter<\"C\"> c#2/1 | \\newSystem \\i<\"mf\"> \\text<\"dolce\"> "
           "\\dalSegnoAlFine \\tuplet<\"-3-\">( c#2/12 g#1/12 a#1/12 ) \\beamBegin f#2/16 a#2/16 "
           "h2/16 g#2/16 \\beamEnd g#2/4 e2/4 ]",
       }) {
    SCOPED_TRACE(score);
    Draw(score);
    ASSERT_EQ(Pages(), 1);
    ASSERT_FALSE(Texts("3").empty());
    EXPECT_EQ(Overlaps(TextBoxes()), 0);
  }
}

}  // namespace
