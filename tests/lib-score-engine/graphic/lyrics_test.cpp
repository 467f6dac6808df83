#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using EngineTesting::PlacingDevice;
using EngineTesting::Repeated;

class LyricsTest : public DrawnScore {};

// Syllables hang on their notes left to right, a word space apart or more so that two words do
// not read as one, on one line below the lowest note (a c below the staff, on its ledger line)
// whatever the length of the notes.
TEST_F(LyricsTest, SyllablesTakeRoomAndHangBelowTheLowestNote) {
  Draw(
      "[ \\meter<\"3/4\"> \\lyrics<\"Hap-py birth-day to you, hap-py birth-day to you\">("
      "c1/8. c1/16 d1/4 c1 f1 e1/2 c1/8. c1/16 d1/4 c1 g1 f1/2) ]");
  ASSERT_EQ(drawn.texts.size(), 12u);
  EXPECT_EQ(drawn.texts[0].text, "Hap-");
  EXPECT_EQ(drawn.texts[11].text, "you");
  float const wordSpace = Width(drawn.texts[0], " ");
  EXPECT_GT(wordSpace, 15);
  float lowestHead = 0;
  for (auto const& note : NoteRecords()) lowestHead = std::max(lowestHead, note.desc.refY + 25);
  for (size_t i = 0; i < drawn.texts.size(); ++i) {
    auto const& text = drawn.texts[i];
    SCOPED_TRACE(text.text);
    EXPECT_EQ(text.align, 8u | 4u);  // centred on x, y its top
    EXPECT_GT(text.y, lowestHead);
    EXPECT_EQ(text.y, drawn.texts[0].y);
    if (i + 1 < drawn.texts.size()) {
      auto const& next = drawn.texts[i + 1];
      EXPECT_LE(text.x + Width(text) / 2 + wordSpace, next.x - Width(next) / 2);
    }
  }
}

// A text placed by the score keeps its place under the staff.
TEST_F(LyricsTest, ATextTheScorePlacesKeepsItsPlace) {
  Draw("[ \\text<\"low\", dy=-2>(g1/4) \\text<\"high\", dy=0>(g1/4) ]");
  ASSERT_EQ(drawn.texts.size(), 2u);
  EXPECT_FLOAT_EQ(drawn.texts[1].y - drawn.texts[0].y, -50);  // two half spaces
}

// A text under a line keeps clear of the lowest note of its own line only: a low note on the
// next line moves the text there, not the one above it.
TEST_F(LyricsTest, ATextKeepsClearOfTheLowestNoteOfItsOwnLine) {
  Draw("[ \\text<\"a\"> e1/4 f g a ]");
  ASSERT_EQ(drawn.texts.size(), 1u);
  float const alone = drawn.texts[0].y - NoteRecords()[0].desc.refY;
  Draw("[ \\text<\"a\"> e1/4 f g a \\newLine \\text<\"b\"> e1/4 f g c0 ]");
  ASSERT_EQ(drawn.texts.size(), 2u);
  auto const notes = NoteRecords();
  ASSERT_EQ(notes.size(), 8u);
  EXPECT_FLOAT_EQ(drawn.texts[0].y - notes[0].desc.refY, alone);
  EXPECT_GT(drawn.texts[1].y - notes[4].desc.refY, alone);
  EXPECT_GT(drawn.texts[1].y, notes[7].desc.bottom);
}

// Each note takes one syllable of each verse, and each verse reads on a line of its own: the
// second under the first, syllable under syllable.
TEST_F(LyricsTest, EveryNoteTakesASyllableOfEachVerseOnALineOfItsOwn) {
  Draw(
      "[ \\meter<\"4/4\"> \\lyrics<\"one two three four\">( \\lyrics<\"five six sev-en\">( "
      "c2/4 d2 e2 f2 ) ) ]");
  EXPECT_EQ(warnings.find("not handled"), std::string::npos) << warnings;
  auto const notes = NoteRecords();
  ASSERT_EQ(notes.size(), 4u);
  ASSERT_EQ(drawn.texts.size(), 8u);
  char const* const verses[4][2] = {
      {"one", "five"}, {"two", "six"}, {"three", "sev-"}, {"four", "en"}};
  float const firstLine = drawn.texts[0].y;
  for (size_t i = 0; i < notes.size(); ++i) {
    SCOPED_TRACE(i);
    std::vector<PlacingDevice::Text> under;
    for (auto const& text : drawn.texts)
      if (std::abs(text.x - notes[i].desc.refX) < 1) under.push_back(text);
    ASSERT_EQ(under.size(), 2u);
    std::sort(under.begin(), under.end(), [](auto const& a, auto const& b) { return a.y < b.y; });
    EXPECT_EQ(under[0].text, verses[i][0]);
    EXPECT_EQ(under[1].text, verses[i][1]);
    EXPECT_EQ(under[0].y, firstLine);
    // Texts hang from their y: the first verse's line ends above the second's.
    float width = 0, height = 0;
    under[0].face->GetExtent(under[0].text.c_str(), static_cast<int>(under[0].text.size()), &width,
                             &height, &drawn);
    EXPECT_GE(under[1].y, under[0].y + height);
  }
}

// Words at the end of a line that would reach past it end with the line, their first letters
// moved left under the notes before: drawn past the margin they would be cut off at the page's
// edge, or read into the margin, on a narrow page above all.
TEST_F(LyricsTest, WordsAtALinesEndEndWithTheLine) {
  std::string const narrow =
      "\\pageFormat<w=7cm, h=12cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\meter<\"4/4\"> ";
  for (std::string const& text : {
           // At the last note of the piece and, centred, of a line the engine ends.
           "[ " + narrow + "c1/4 d1 e1 f1 | g1 a1 h1 \\text<\"a tempo e molto espressivo\"> c2 ]",
           "[ " + narrow + "c1/4 d1 e1 \\text<\"poco a poco crescendo\", textformat=\"lc\"> f1 | " +
               Repeated("g1/4 a1 h1 c2 |", 3) + " ]",
           // A syllable of a verse.
           "[ " + narrow + "\\lyrics<\"la la la Constantinopolitanisch\">( c1/4 d1 e1 f1 ) ]",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    float lineEnd = 0;
    for (auto const& line : drawn.lines) lineEnd = std::max({lineEnd, line.x1, line.x2});
    ASSERT_FALSE(drawn.texts.empty());
    for (auto const& word : drawn.texts) {
      SCOPED_TRACE(word.text);
      NVRect const ink = TextInk(word);
      EXPECT_LE(ink.right, lineEnd + 1);
      EXPECT_GE(ink.left, 0);
    }
  }
}

}  // namespace
