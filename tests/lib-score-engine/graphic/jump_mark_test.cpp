#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;

constexpr unsigned int kCoda = 230, kSegno = 37;

class JumpMarkTest : public DrawnScore {
 protected:
  // How far a text reaches up from its base line, in its font.
  float Height(EngineTesting::PlacingDevice::Text const& text) {
    float width = 0, height = 0;
    if (text.face)
      text.face->GetExtent(text.text.c_str(), static_cast<int>(text.text.size()), &width, &height,
                           &drawn);
    return height;
  }
  // The room between a text and a box: the larger of the gaps beside and over or under it.
  float Apart(EngineTesting::PlacingDevice::Text const& text, NVRect const& box) {
    float const right = text.x + Width(text);
    float const top = text.y - Height(text);
    return std::max({box.left - right, text.x - box.right, box.top - text.y, top - box.bottom});
  }
};

// The words of jump marks are in the serif face's bold italic, stand over the staff and the
// notes under them, keep apart from the marks of the bars beside them, and a coda sign after
// "to Coda" follows the words.
TEST_F(JumpMarkTest, JumpWordsAreBoldItalicAboveTheMusicAndApart) {
  Draw(
      "[ \\meter<\"4/4\"> \\segno c2/4 d e f | g1/4 a h c2 \\fine | \\coda d2/4 e f g | "
      "c2/4 d e f \\daCapo | c2/1 \\dalSegno | c2/1 \\daCapoAlFine | c2/1 \\daCoda | "
      "c2/1 \\dalSegnoAlFine ]");
  auto const lines = Records(2, 5);  // the staff lines of each slice
  auto const notes = NoteRecords();
  ASSERT_EQ(drawn.texts.size(), 7u);  // the segno has no words
  for (size_t i = 0; i < drawn.texts.size(); ++i) {
    auto const& text = drawn.texts[i];
    SCOPED_TRACE(text.text);
    EXPECT_EQ(text.font, "Times New Roman@110");
    EXPECT_EQ(text.properties, 3);
    float const right = text.x + Width(text);
    for (auto const& staff : lines) {
      if (staff.left <= text.x && text.x <= staff.right && std::abs(staff.top - text.y) < 400) {
        EXPECT_LT(text.y, staff.top);
      }
    }
    for (auto const& note : notes) {
      if (note.desc.right > text.x && note.desc.left < right &&
          std::abs(note.desc.refY - text.y) < 400) {
        EXPECT_LT(text.y, note.desc.top) << "over the note at " << note.desc.refX;
      }
    }
    if (i + 1 < drawn.texts.size() && drawn.texts[i + 1].page == text.page &&
        std::abs(drawn.texts[i + 1].y - text.y) < 300 && drawn.texts[i + 1].x > text.x) {
      EXPECT_LT(right, drawn.texts[i + 1].x) << "runs into " << drawn.texts[i + 1].text;
    }
  }
  auto const codas = Glyphs(kCoda);
  ASSERT_EQ(codas.size(), 2u);
  auto const toCoda = std::find_if(drawn.texts.begin(), drawn.texts.end(),
                                   [](auto const& t) { return t.text == "to Coda "; });
  ASSERT_NE(toCoda, drawn.texts.end());
  EXPECT_GE(codas[1].x, toCoda->x + Width(*toCoda));
}

// A mark stands over the notes under it only: the high notes of the middle measure raise the
// mark there and leave those before and after them where a mark over low notes stands.
TEST_F(JumpMarkTest, AMarkRisesOverTheNotesUnderItOnly) {
  Draw("[ \\meter<\"4/4\"> c1/4 \\fine d e f | a3/4 \\fine h3 c4 d4 | c1/4 \\fine d e f ]");
  ASSERT_EQ(drawn.texts.size(), 3u);
  EXPECT_EQ(drawn.texts[0].y, drawn.texts[2].y);
  auto const& raised = drawn.texts[1];
  EXPECT_LT(raised.y, drawn.texts[0].y);
  for (auto const& note : NoteRecords()) {
    if (note.desc.right > raised.x && note.desc.left < raised.x + Width(raised)) {
      EXPECT_LT(raised.y, note.desc.top) << "over the note at " << note.desc.refX;
    }
  }
}

// The segno and the coda stand with their foot clear over the staff and the notes under them (a
// fifth of a space at least), after a bar and at a line's start alike. One written just before a
// bar takes the place of no bar line: the written bar is the one the full measure asks for.
TEST_F(JumpMarkTest, SegnoAndCodaStandClearOverTheStaffAndTheNotesAndAddNoBar) {
  Draw(
      "[ \\meter<\"3/4\"> c2/4 a1 f1 | \\segno f2/4 e2 d2 \\newLine \\coda g1/4 a1 h1 \\segno | "
      "\\coda a2/4 h2 c3 ]");
  EXPECT_EQ(Records(3, 0).size(), 4u);  // three bar lines and the end bar
  auto signs = Glyphs(kCoda);
  for (auto const& segno : Glyphs(kSegno)) signs.push_back(segno);
  ASSERT_EQ(signs.size(), 4u);
  auto const lines = Records(2, 5);
  auto const notes = NoteRecords();
  for (auto const& sign : signs) {
    SCOPED_TRACE(sign.code);
    NVRect const& ink = sign.ink;
    auto const near = [&](float left, float right, float top) {
      return right > ink.left && left < ink.right && std::abs(top - ink.bottom) < 400;
    };
    int staves = 0;
    for (auto const& staff : lines) {
      if (!near(staff.left, staff.right, staff.top)) continue;
      ++staves;
      EXPECT_LE(ink.bottom + 10, staff.top);
    }
    EXPECT_GT(staves, 0);
    for (auto const& note : notes) {
      if (near(note.desc.left, note.desc.right, note.desc.refY)) {
        EXPECT_LE(ink.bottom + 10, note.desc.top) << "on the note at " << note.desc.refX;
      }
    }
  }
}

// A jump mark that opens a measure starts there, clear of a mark that ends the measure before.
// One written at the end of a measure without a bar still ends there, in front of the automatic
// bar: at a line's end it stays over the staff.
TEST_F(JumpMarkTest, AMarkOpeningAMeasureKeepsClearOfTheMarkBeforeTheBar) {
  Draw("[ \\meter<\"4/4\"> c2/4 d e f \\fine \\newLine c2/1 ]");
  ASSERT_EQ(drawn.texts.size(), 1u);
  EXPECT_LE(drawn.texts[0].x + Width(drawn.texts[0]), Records(2, 5).at(0).right);

  Draw("[ \\meter<\"4/4\"> c2/4 d2 e2 c2 \\fine | \\dalSegno c2/1 ]");
  ASSERT_EQ(drawn.texts.size(), 2u);
  auto const& fine = drawn.texts[0];
  auto const& dalSegno = drawn.texts[1];
  EXPECT_EQ(fine.text, "Fine");
  EXPECT_EQ(dalSegno.text, "D.S.");
  EXPECT_LT(fine.x + Width(fine), dalSegno.x);
  auto const bars = LeftToRight(Records(3, 0));
  ASSERT_EQ(bars.size(), 2u);
  EXPECT_LE(fine.x + Width(fine), bars[0].left);
}

// A mark that sends the reader back stands over the bar line that ends its measure, also when a
// written break follows it: the line ends at that bar line, with no bit of staff after it.
TEST_F(JumpMarkTest, AMarkBeforeABreakEndsTheLineAtItsBar) {
  Draw("[ \\meter<\"3/4\"> c2/2. | f1/2. \\dalSegno \\newSystem c2/2. ]");
  ASSERT_EQ(drawn.texts.size(), 1u);
  auto const& mark = drawn.texts[0];
  float const firstTop = Records(2, 5).at(0).top;
  float lineEnd = 0;
  for (auto const& staff : Records(2, 5))
    if (staff.top == firstTop) lineEnd = std::max(lineEnd, staff.right);
  float lastBar = 0;
  for (auto const& bar : Records(3, 0))
    if (std::abs(bar.top - firstTop) < 1) lastBar = std::max(lastBar, bar.left);
  EXPECT_NEAR(lineEnd, lastBar, 5);  // the staff lines reach over the bar line's pen
  EXPECT_LE(mark.x + Width(mark), lastBar + 5);
  EXPECT_GT(mark.x + Width(mark), lastBar - 100);
}

// The words of a coda sign written at a measure's end reach over the bar line: they keep clear
// of the high notes they reach in the next measure.
TEST_F(JumpMarkTest, CodaWordsKeepClearOfTheNotesAfterTheBar) {
  Draw("[ \\meter<\"3/4\"> c2/2. \\coda | e2/4 f2 g2 ]");
  ASSERT_EQ(drawn.texts.size(), 1u);
  auto const& words = drawn.texts[0];
  auto const bars = Records(3, 0);
  ASSERT_FALSE(bars.empty());
  ASSERT_GT(words.x + Width(words), bars[0].left);  // the words reach into the next measure
  int under = 0;
  for (auto const& note : NoteRecords()) {
    if (note.desc.right <= words.x || note.desc.left >= words.x + Width(words)) continue;
    ++under;
    EXPECT_LE(words.y + 10, note.desc.top) << "on the note at " << note.desc.refX;
  }
  EXPECT_EQ(under, 2);  // e2 and f2
}

// Words set after a dotted note at the height of its head stand clear of the head, its dot and
// its ledger lines: over them or apart from them. The bars stay on one line, set tight.
TEST_F(JumpMarkTest, WordsStandClearOfTheNotesAndDotsBesideThem) {
  Draw(
      "[ \\set<systemBreak=\"off\"> \\meter<\"3/4\"> \\segno c2/2. | d2/2. \\fine | "
      "e2/2. \\daCapo | f2/2. \\daCapoAlFine | g2/2. \\dalSegnoAlFine | a2/2. \\daCoda | "
      "h2/2. \\dalSegno ]");
  ASSERT_EQ(drawn.texts.size(), 6u);
  int beside = 0;
  for (auto const& text : drawn.texts) {
    SCOPED_TRACE(text.text);
    for (auto const& glyph : drawn.glyphs) {
      if (glyph.page != text.page || (glyph.code != 69 && glyph.code != 46 && glyph.code != 95))
        continue;
      if (std::abs(glyph.ink.top - text.y) > 300) continue;
      if (glyph.ink.right < text.x && glyph.ink.right > text.x - 100) ++beside;
      EXPECT_GE(Apart(text, glyph.ink), 10) << "glyph " << glyph.code << " at " << glyph.x;
    }
  }
  EXPECT_GT(beside, 0);  // the notes come close before the words
}

// "Fine" at the end of a second ending keeps clear of the bracket's line and hooks, however
// high the notes under the bracket reach.
TEST_F(JumpMarkTest, FineInAnEndingKeepsClearOfItsBracket) {
  for (char const* last : {"d2/2.", "c4/2.", "a3/4 h3 c4"}) {
    SCOPED_TRACE(last);
    Draw(std::string("[ \\meter<\"3/4\"> c2/4 d e | \\volta<\"1.\",\"1\">( f2/4 g a | "
                     "h2/2. \\repeatEnd ) \\volta<\"2.\",\"2\">( c3/4 e3 g3 | ") +
         last + " \\fine ) | d2/2. \\daCapoAlFine ]");
    ASSERT_EQ(drawn.texts.size(), 4u);  // the two endings' numbers and the two marks
    auto const fine = std::find_if(drawn.texts.begin(), drawn.texts.end(),
                                   [](auto const& t) { return t.text == "Fine"; });
    ASSERT_NE(fine, drawn.texts.end());
    int bracket = 0;
    for (auto const& line : drawn.lines) {
      if (line.width != 4) continue;  // the staff lines and stems
      ++bracket;
      NVRect const box{std::min(line.x1, line.x2) - 2, std::min(line.y1, line.y2) - 2,
                       std::max(line.x1, line.x2) + 2, std::max(line.y1, line.y2) + 2};
      EXPECT_GE(Apart(*fine, box), 10) << "the line at " << box.left << "," << box.top;
    }
    EXPECT_GE(bracket, 6);
  }
}

// A mark written after a repeat sign ends over it; where the line breaker opens a line with the
// mark, no bar line stands before it there: the mark starts over the line's first note, which
// keeps its place after the key rather than giving room to the words.
TEST_F(JumpMarkTest, AMarkOpeningALineTheBreakerMadeStandsOverItsFirstNote) {
  for (char const* mark : {"\\daCapoAlFine", "\\dalSegno", "\\fine"}) {
    SCOPED_TRACE(mark);
    Draw(std::string("[ \\pageFormat<w=7cm, h=16cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> "
                     "\\key<3> \\meter<\"4/4\"> c2/4 d2 e2 f2 | g1/1 \\repeatEnd ") +
         mark + " a1/4. a1/8 _/4 h1/8 _/8 | c2/1 ]");
    ASSERT_EQ(drawn.texts.size(), 1u);
    auto const& words = drawn.texts[0];
    auto const lines = DrawnLines();
    int const line = LineAt(words.y, true);
    ASSERT_GE(line, 1);  // the breaker opened a line with the mark
    ASSERT_FALSE(lines[line].notes.empty());
    ScoreElementDesc const& first = lines[line].notes.front();
    EXPECT_LT(first.left, words.x + Width(words));
    EXPECT_GT(first.right, words.x);
  }
}

// A jump mark at a line's start stands over the words of a tempo change or an ornament at the
// line's first note, over an octava's figure, and over a tempo mark written there, which stands
// over those words in turn; the line before keeps clear of the mark.
TEST_F(JumpMarkTest, AMarkAtALineStartStandsOverTheWordsAtItsFirstNote) {
  struct Case {
    char const* mark;
    char const* music;  // of the line the mark opens
  } const cases[] = {
      {"\\dalSegnoAlFine", "\\ritBegin a2/4 g2 \\ritEnd f2 e2"},
      {"\\daCapo", "\\accelBegin c2/4 d2 \\accelEnd e2 f2"},
      {"\\fine", "\\trill( c3/4 ) d2 e2 f2"},
      {"\\dalSegno", "\\tempo<\"Adagio\"> a1/4 g1 f1 e1"},
      {"\\daCapoAlFine", "\\tempo<\"Allegro\"> \\accelBegin c2/4 d2 \\accelEnd e2 f2"},
      {"\\daCapo", "\\oct<1> c2/4 d2 e2 f2"},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.mark + std::string(" ") + c.music);
    Draw(std::string("[ \\pageFormat<w=7cm, h=21cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> "
                     "\\meter<\"4/4\"> a0/4 h0 c1 d1 \\newSystem ") +
         c.mark + " " + c.music + " ]");
    auto const jump = std::find_if(drawn.texts.begin(), drawn.texts.end(),
                                   [](auto const& t) { return t.properties == 3; });
    ASSERT_NE(jump, drawn.texts.end());
    NVRect const row = TextInk(*jump);
    int others = 0;
    for (auto const& text : drawn.texts) {
      if (&text == &*jump) continue;
      ++others;
      NVRect const words = TextInk(text);
      EXPECT_GE(words.top - row.bottom, 10) << text.text;
      for (auto const& more : drawn.texts)
        if (&more != &text && &more != &*jump && more.y < text.y) {
          EXPECT_GE(words.top - TextInk(more).bottom, 10) << more.text << " over " << text.text;
        }
    }
    EXPECT_GE(others, 1);
    for (auto const& glyph : drawn.glyphs) {
      if (glyph.ink.top < row.top) {
        EXPECT_LE(glyph.ink.bottom + 10, row.top) << glyph.code;
      }
    }
  }
}

}  // namespace
