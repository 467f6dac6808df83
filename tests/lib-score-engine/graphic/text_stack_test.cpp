// Texts stacked under a staff, drawn on the real music font, in written order and given room.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::Overlaps;

class TextStackTest : public EngineTesting::DrawnScore {
 protected:
  std::vector<NVRect> TextInks() {
    std::vector<NVRect> inks;
    for (auto const& text : drawn.texts) inks.push_back(TextInk(text));
    return inks;
  }
  // Glyphs, notes and every line drawn.
  std::vector<NVRect> Music() const {
    std::vector<NVRect> music;
    for (auto const& glyph : drawn.glyphs) music.push_back(glyph.ink);
    for (auto const& [page, note] : NoteRecords())
      music.push_back({note.left, note.top, note.right, note.bottom});
    for (auto const& line : drawn.lines)
      music.push_back({std::min(line.x1, line.x2), std::min(line.y1, line.y2),
                       std::max(line.x1, line.x2), std::max(line.y1, line.y2)});
    // Beams, slurs and ties.
    for (auto const& shape : drawn.shapes)
      music.push_back({shape.left, shape.top, shape.right, shape.bottom});
    return music;
  }
};

// Rows of texts on one line of music, from the top: every text of a row at one height, above
// every text of the next row.
using Stack = std::vector<std::vector<std::string>>;

// A written dy is kept, under texts written higher; a verse is one row, over the next verse; a
// continued text's hyphen and a wedge take their room.
TEST_F(TextStackTest, TextsStandInTheOrderWrittenAndEachVerseKeepsOneRow) {
  struct Case {
    char const* text;
    std::vector<Stack> stacks;
  };
  for (Case const& c : std::vector<Case>{
           {"[ \\meter<\"4/4\"> \\text<\"upper\">( \\text<\"lower\", dy=-8>( c2/4 ) ) d2 e2 f2 | "
            "\\fingering<\"2\">( \\text<\"dolce\", dy=-8>( g1/4 ) ) a1 h1 c2 ]",
            {{{"upper", "2"}, {"lower", "dolce"}}}},
           {"[ \\meter<\"4/4\"> \\lyrics<\"one two three four\">( \\lyrics<\"five six se-ven\", "
            "dy=-6>( c2/4 d2 e2 f2 ) ) | c2/1 ]",
            {{{"one", "two", "three", "four"}, {"five", "six", "se-", "ven"}}}},
           {"[ \\meter<\"4/4\"> \\lyrics<\"one two three four\">( \\lyrics<\"five six se-ven\">( "
            "\\text<\"dolce e legato\">( c2/4 d2 ) e2 f2 ) ) | g2/1 ]",
            {{{"dolce e legato"}, {"one", "two", "three", "four"}, {"five", "six", "se-", "ven"}}}},
           {"[ \\meter<\"4/4\"> \\text<\"legato e cantabile sempre\">( \\lyrics<\"La le li lo "
            "lu\">( c2/4 d2 e2 f2 \\newSystem g2/2 ) ) a2/2 ]",
            {{{"legato e cantabile sempre"}, {"La", "le", "li", "lo"}}, {{"-"}, {"lu"}}}},
           {"[ \\meter<\"4/4\"> \\cresc( \\text<\"sempre legato\">( c2/4 d2 e2 f2 ) ) | g2/1 ]",
            {{{"sempre legato"}}}},
       }) {
    SCOPED_TRACE(c.text);
    Draw(c.text);
    // Texts with each other are counted on both sides: what is left is texts on the music.
    EXPECT_EQ(Overlaps(TextInks(), Music()), Overlaps(TextInks()));
    for (Stack const& stack : c.stacks) {
      for (size_t row = 0; row < stack.size(); ++row) {
        float const y = Texts(stack[row].front()).at(0).y;
        for (std::string const& words : stack[row]) {
          ASSERT_EQ(Texts(words).size(), 1u) << words;
          EXPECT_FLOAT_EQ(Texts(words)[0].y, y) << words;
          if (row + 1 == stack.size()) continue;
          for (std::string const& below : stack[row + 1]) {
            EXPECT_LE(TextInk(Texts(words)[0]).bottom, TextInk(Texts(below).at(0)).top + 1.5f)
                << words << " over " << below;
          }
        }
      }
    }
  }
}

// Words written on the staff or among the notes, and words and octava figures hung under a
// line of chords, beams and low notes, stand clear of all the music's ink and of each other.
TEST_F(TextStackTest, TextsStandClearOfTheMusicAndOfEachOther) {
  for (char const* text : {
           // Written into the staff, through the stems of notes high in it.
           "[ \\meter<\"4/4\"> f2/4 g2 \\text<\"cantabile\", dy=5> \\stacc( f2/4 ) "
           "\\text<\"sempre\", dy=7> f2/4 ]",
           // Written just under the staff, on low notes with their signs.
           "[ \\meter<\"4/4\"> \\text<\"cantabile\", dy=0> {c#1/2, e1/2} \\text<\"espr.\", "
           "dy=-1> a0/2 ]",
           // Written under the staff, where stems down reach.
           "[ \\meter<\"4/4\"> \\stemsDown \\text<\"espr.\", dy=-6> c1/4 d1 e1 f1 ]",
           // Under beamed notes and chords whose stems go down.
           "[ \\meter<\"4/4\"> \\text<\"dolce\"> \\beam( {c2/8, e2/8} h1/8 ) {a1/4, c2/4, e2/4} "
           "\\text<\"legato\"> \\beam( d2/16 c2 h1 a1 ) g1/4 ]",
           // A text written under the notes, where the verses over it move down to.
           "[ \\meter<\"4/4\"> \\lyrics<\"ve mi ve-mi\">( \\lyrics<\"la-lu mo zo\", dy=-6>( "
           "\\text<\"dolce\", dy=-8>( c1/4 ) a0 e1 f1 ) ) ]",
           // The verses of two voices, each written at its own height.
           "{ [ \\staff<1> \\stemsUp \\meter<\"4/4\"> \\lyrics<\"la la la la\">( \\lyrics<\"mo "
           "mo mo mo\", dy=-5>( c2/4 d2 e2 f2 ) ) ], [ \\staff<1> \\stemsDown \\meter<\"4/4\"> "
           "\\lyrics<\"ka ka ka ka\">( \\lyrics<\"sa sa sa sa\", dy=-5>( a1/4 h1 c1 d1 ) ) ] }",
           // Written under the staff, its end under a rest of the lower voice hanging there.
           "{ [ \\staff<1> \\key<-3> \\stacc( \\beam( f#1/8 g1/8 ) \\text<\"dolce\", dy=-6, dx=4> "
           "f1/4 g1/4 ) g1/16 a&1/16 _/16 _/16 f1/8 ], [ \\staff<1> \\key<-3> _/4 _/4 _/4 _/4 ] }",
           // Under an octava's figure.
           "[ \\meter<\"4/4\"> \\oct<-1> \\text<\"legato\"> c0/4 h-1 a-1 g-1 | \\oct<0> "
           "\\text<\"dolce\"> c1/1 ]",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<NVRect> music = Music();
    for (auto const& shape : drawn.shapes)
      music.push_back({shape.left, shape.top, shape.right, shape.bottom});
    EXPECT_EQ(Overlaps(TextInks(), music), 0);
    EXPECT_EQ(Overlaps(TextInks()), 0);
  }
}

// A tempo mark stands over the signs and the music of the top staff under it and over the tempo
// marks written before it that it would meet, and its system's
// box takes it in, so that the system above keeps clear of it however high it stands.
TEST_F(TextStackTest, TempoMarksStandClearOfTheMusicAroundThem) {
  for (char const* text : {
           "[ \\key<5> \\meter<\"4/4\"> \\tempo<\"Adagio\"> e&2/8 d#2/8 _/8 f#2/8 e2/2 ]",
           "[ \\meter<\"2/4\"> \\tempo<\"Andante\"> \\stemsUp a2/4 c3 | c2/2 ]",
           // Two marks written close together.
           "[ \\meter<\"2/4\"> \\tempo<\"Moderato assai\"> c2/16 \\tempo<\"Adagio\"> d2/16 e2/8 "
           "f2/4 ]",
           // Over an octava's figure.
           "[ \\meter<\"4/4\"> \\tempo<\"Moderato assai\"> c2/8 d2 \\oct<1> e2 f2 g2/2 ]",
           // Over a slur.
           "[ \\meter<\"4/4\"> \\tempo<\"Adagio\"> \\stemsDown \\slur( h2/8 d3/8 ) e3/4 d3/2 ]",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    EXPECT_EQ(Overlaps(TextInks(), Music()), 0);
    EXPECT_EQ(Overlaps(TextInks()), 0);
    std::vector<ScoreElementDesc> const systems = Records(7);
    for (auto const& drawnText : drawn.texts) {
      NVRect const ink = TextInk(drawnText);
      EXPECT_TRUE(std::ranges::any_of(systems, [&](ScoreElementDesc const& system) {
        return ink.top >= system.top && ink.bottom <= system.bottom + 1;
      })) << drawnText.text;
    }
  }
}

// However deep the stack, no text touches the next staff's or system's lines or notes, and each
// system's box takes in the texts under its staves.
TEST_F(TextStackTest, TheNextStaffAndSystemMakeRoomForTheTextsUnderAStaff) {
  for (char const* text : {
           "{ [ \\staff<1> \\meter<\"4/4\"> \\intens<\"f\"> \\text<\"cantabile\">( { "
           "\\fingering<\"1\">( c1/4 ), \\fingering<\"3\">( e1 ), \\fingering<\"5\">( g1 ) } ) a1 "
           "h1 "
           "c2 ], [ \\staff<2> \\clef<\"bass\"> \\meter<\"4/4\"> c0/1 ] }",
           "[ \\meter<\"4/4\"> \\intens<\"mf\"> \\text<\"dolce\">( \\lyrics<\"Ah\">( { "
           "\\fingering<\"1\">( c1/4 ), \\fingering<\"3\">( e1 ), \\fingering<\"5\">( g1 ) } ) ) "
           "d1 "
           "e1 f1 | g1/1 \\newSystem c2/4 d2 e2 f2 | g2/1 ]",
           "{ [ \\staff<1> \\meter<\"2/4\"> \\lyrics<\"one two three four five six\">( "
           "\\text<\"molto espressivo\">( c1/4 ) d1 | e1 \\lyrics<\"x y\">( f1 | g1 ) a1 ) ], "
           "[ \\staff<2> \\clef<\"bass\"> \\meter<\"2/4\"> c1/2 | c1/2 | c1/2 ] }",
           // A text running on to the next line stands there only as the placeholder that
           // draws its hyphen.
           "[ \\meter<\"4/4\"> \\text<\"cresc. poco a poco\">( c1/4 d1 e1 f1 \\newSystem c1/4 ) "
           "d1 e1 f1 ]",
           // An octava's mark stands under the lowest note of its line, on every line.
           "[ \\meter<\"4/4\"> \\oct<-1> c0/4 h-1 a-1 g-1 | f-1/1 \\newSystem c1/4 d1 e1 f1 | "
           "g1/1 ]",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<NVRect> music = Music();
    for (ScoreElementDesc const& staff : Records(2, 5))
      music.push_back({staff.left, staff.top, staff.right, staff.bottom});
    EXPECT_EQ(Overlaps(TextInks(), music), 0);
    std::vector<ScoreElementDesc> const systems = Records(7);
    for (auto const& drawnText : drawn.texts) {
      NVRect const ink = TextInk(drawnText);
      EXPECT_TRUE(std::ranges::any_of(systems, [&](ScoreElementDesc const& system) {
        return ink.top >= system.top && ink.bottom <= system.bottom + 1;
      })) << drawnText.text;
    }
  }
}

}  // namespace
