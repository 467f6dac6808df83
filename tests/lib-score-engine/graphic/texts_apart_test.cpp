// Words the staff shows with its notes: each is drawn as large as a text of the staff, where a
// reader looks for it, and none lies on a note or on another word.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "drawn_score.h"
#include "graphic_globals.h"

namespace {

using EngineTesting::DrawnScore;
using EngineTesting::Overlap;
using EngineTesting::PlacingDevice;

constexpr float kSpace = 50;

class TextsApartTest : public DrawnScore {
 protected:
  std::vector<PlacingDevice::Text> TextsReading(std::string const& words) const {
    std::vector<PlacingDevice::Text> found;
    for (auto const& text : drawn.texts)
      if (text.text == words) found.push_back(text);
    return found;
  }
  // No note lies on the text's letters.
  void ExpectClearOfTheNotes(PlacingDevice::Text const& text) {
    NVRect const ink = TextInk(text);
    for (auto const& note : NoteRecords()) {
      NVRect const box{note.desc.left, note.desc.top, note.desc.right, note.desc.bottom};
      EXPECT_FALSE(Overlap(ink, box)) << text.text << " on the note at " << note.desc.refX;
    }
  }
  // No two texts drawn lie on each other, nor on a note.
  void ExpectApart() {
    auto const& texts = drawn.texts;
    for (size_t i = 0; i < texts.size(); ++i) {
      ExpectClearOfTheNotes(texts[i]);
      for (size_t j = i + 1; j < texts.size(); ++j)
        EXPECT_FALSE(Overlap(TextInk(texts[i]), TextInk(texts[j])))
            << texts[i].text << " on " << texts[j].text;
    }
  }
};

// An octave up is marked with an 8 over the staff, an octave down with 8ba under it, in the
// staff's text font at a text's size, clear of the notes under or over them, however high or
// low those reach.
TEST_F(TextsApartTest, OctaveMarksAreTextsOverAndUnderTheMusic) {
  for (std::string const notes : {"e2 f2", "c4 d4"}) {
    SCOPED_TRACE(notes);
    Draw("[ \\meter<\"4/4\"> c2/4 \\oct<1>( " + notes + " ) g2 | \\oct<-1> c2 d2 e2 c-1 | " +
         "\\oct<0> c2/1 ]");
    auto const up = TextsReading("8"), down = TextsReading("8ba");
    ASSERT_EQ(up.size(), 1u);
    ASSERT_EQ(down.size(), 1u);
    auto const staff = Records(2, 5).at(0);
    for (auto const& mark : {up[0], down[0]}) {
      ASSERT_EQ(mark.face, gFontDefs.text.font);
      EXPECT_EQ(mark.face->GetSize(), 75);
      ExpectClearOfTheNotes(mark);
    }
    EXPECT_LE(TextInk(up[0]).bottom, staff.top);
    EXPECT_GE(TextInk(down[0]).top, staff.bottom);
  }
}

// The fingerings of a chord stand one under the other in the order of its notes, the highest
// note's on top; texts at one time, and a text and a fingering on one note, stand apart.
TEST_F(TextsApartTest, TextsAtOneTimeStackInTheOrderOfTheirNotes) {
  Draw(
      "[ \\meter<\"4/4\"> { \\fingering<\"1\">( c1/4 ), \\fingering<\"3\">( e1 ), "
      "\\fingering<\"5\">( g1 ) } { \\text<\"a\">( c2 ), \\text<\"b\">( e2 ) } c2/2 ]");
  ASSERT_EQ(drawn.texts.size(), 5u);
  ExpectApart();
  float const five = TextsReading("5").at(0).y, three = TextsReading("3").at(0).y;
  EXPECT_LT(five, three);
  EXPECT_LT(three, TextsReading("1").at(0).y);
  EXPECT_LT(TextsReading("b").at(0).y, TextsReading("a").at(0).y);

  Draw("[ \\meter<\"4/4\"> \\text<\"dolce\">( \\fingering<\"3\">( c2/4 ) ) d2 e2 f2 ]");
  ASSERT_EQ(drawn.texts.size(), 2u);
  ExpectApart();
}

// Lyrics and fingerings of two voices on one staff: the upper voice's line over the lower's.
TEST_F(TextsApartTest, TextsOfTwoVoicesOnOneStaffStandApart) {
  for (char const* texts : {"\\lyrics<\"la la la la\">", "\\fingering<\"1\">"}) {
    SCOPED_TRACE(texts);
    std::string const lower = std::string(texts) == "\\fingering<\"1\">"
                                  ? "\\fingering<\"5\">"
                                  : "\\lyrics<\"lo lo lo lo\">";
    Draw(std::string("{ [ \\staff<1> \\meter<\"4/4\"> \\stemsUp ") + texts +
         "( c2/4 d2 e2 f2 ) ], [ \\staff<1> \\meter<\"4/4\"> \\stemsDown " + lower +
         "( a1/4 g1 f1 e1 ) ] }");
    ASSERT_EQ(drawn.texts.size(), std::string(texts).find("lyrics") != std::string::npos ? 8u : 2u);
    ExpectApart();
  }
}

// Unless the score places them, a text hangs half a space under the staff and a fingering a
// space under it, where the notes leave them room.
TEST_F(TextsApartTest, TextsAndFingeringsKeepTheirOwnHeights) {
  Draw("[ \\meter<\"4/4\"> \\stemsUp \\text<\"t\">( g1/4 ) \\fingering<\"2\">( a1 ) h1 c2 ]");
  auto const staff = Records(2, 5).at(0);
  ASSERT_EQ(TextsReading("t").size(), 1u);
  ASSERT_EQ(TextsReading("2").size(), 1u);
  EXPECT_FLOAT_EQ(TextInk(TextsReading("t")[0]).top, staff.bottom + kSpace / 2);
  EXPECT_FLOAT_EQ(TextInk(TextsReading("2")[0]).top, staff.bottom + kSpace);
}

// A dynamic mark and a text on one note: the text stands under the mark, not beside it.
TEST_F(TextsApartTest, ATextStandsUnderTheDynamicOfItsNote) {
  Draw(
      "[ \\meter<\"4/4\"> \\intens<\"p\"> \\text<\"dolce\">( c2/4 ) d2 e2 f2 | "
      "\\intens<\"mf\"> \\text<\"espressivo\">( g1/4 ) a1 h1 c2 ]");
  ASSERT_EQ(drawn.texts.size(), 2u);
  for (unsigned int code : {112u, 70u}) {
    auto const marks = Glyphs(code);
    ASSERT_EQ(marks.size(), 1u);
    for (auto const& text : drawn.texts)
      EXPECT_FALSE(Overlap(TextInk(text), marks[0].ink)) << text.text << " on " << code;
  }
  ExpectApart();
}

}  // namespace
