// Notes on fonts of known widths, for exact arithmetic of accidentals, heads and stems.
#include <gtest/gtest.h>

#include "ARNoteFormat.h"
#include "GRAccidental.h"
#include "GRSingleNote.h"
#include "GRStdNoteHead.h"
#include "lib-score-engine/given_parameters.h"
#include "note_scene.h"

namespace {

using EngineTesting::FakeFontNotes;
using EngineTesting::Given;
using EngineTesting::GlyphWidthSystem;

// Heads (88) are 60 wide, the sharp (35) 40 and the half-note head (69) 80.
class NoteArithmetic : public FakeFontNotes {
 protected:
  void SetUp() override {
    glyphs.widths = {{35, 40}, {69, 80}};
    device.setVGSystem(&glyphs);
    FakeFontNotes::SetUp();
  }
  GlyphWidthSystem glyphs;
};

TEST_F(NoteArithmetic, SharpStandsLeftOfTheHeadAndWidensTheNote) {
  GRSingleNote* note = Note({"g", 1, 1}, Frac_1_4);
  KF_IPointerList<GRAccidental> accidentals(0);
  note->extractAccidentals(&accidentals);
  ASSERT_EQ(accidentals.GetCount(), 1);
  GRAccidental const* sharp = accidentals.GetHead();
  EXPECT_EQ(sharp->getPosition().x, 160);
  EXPECT_EQ(sharp->getOffset().x, -60);
  EXPECT_EQ(note->getLeftSpace(), 90);
  Draw();
  EXPECT_NE(std::find(device.calls.begin(), device.calls.end(),
                      "DrawMusicSymbol(80,150,35) font=Razid2@200 color=rgba(0,0,0,255) align=17"),
            device.calls.end());
  auto const records = Records(2, 13);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].left, 10);
  EXPECT_EQ(records[0].top, 100);
  EXPECT_EQ(records[0].right, 120);
  EXPECT_EQ(records[0].bottom, 200);
}

}  // namespace
