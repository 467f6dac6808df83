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

}  // namespace
