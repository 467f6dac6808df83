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
using EngineTesting::PlacingDevice;

constexpr float kSpace = 50;

bool Overlap(NVRect const& a, NVRect const& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

class TextsApartTest : public DrawnScore {
 protected:
  // Where a text puts its letters, by the alignment it was drawn with.
  NVRect InkOf(PlacingDevice::Text const& text) {
    float width = 0, height = 0;
    text.face->GetExtent(text.text.c_str(), static_cast<int>(text.text.size()), &width, &height,
                         &drawn);
    float left = text.x;
    if (text.align & 8) left -= width / 2;
    if (text.align & 32) left -= width;
    float top = text.y - height;  // on its base line
    if (text.align & 4) top = text.y;
    if (text.align & 2) top = text.y - height;
    return NVRect{left, top, left + width, top + height};
  }
  std::vector<PlacingDevice::Text> TextsReading(std::string const& words) const {
    std::vector<PlacingDevice::Text> found;
    for (auto const& text : drawn.texts)
      if (text.text == words) found.push_back(text);
    return found;
  }
  // No note lies on the text's letters.
  void ExpectClearOfTheNotes(PlacingDevice::Text const& text) {
    NVRect const ink = InkOf(text);
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
    EXPECT_LE(InkOf(up[0]).bottom, staff.top);
    EXPECT_GE(InkOf(down[0]).top, staff.bottom);
  }
}

}  // namespace
