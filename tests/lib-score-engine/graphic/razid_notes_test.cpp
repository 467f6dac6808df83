// Notes, rests and chords on Razid2's real metrics: what the symbol map receives and what is
// drawn where, as the application relies on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ARNoteFormat.h"
#include "ARStaccato.h"
#include "GObject.h"
#include "GRSingleNote.h"
#include "GRSingleRest.h"
#include "GRStdNoteHead.h"
#include "GRStem.h"
#include "lib-score-engine/given_parameters.h"
#include "note_scene.h"

namespace {

using EngineTesting::Given;
using EngineTesting::RazidNotes;
using Strings = std::vector<std::string>;

void ExpectBox(ScoreElementDesc const& d, float l, float t, float r, float b) {
  EXPECT_FLOAT_EQ(d.left, l);
  EXPECT_FLOAT_EQ(d.top, t);
  EXPECT_FLOAT_EQ(d.right, r);
  EXPECT_FLOAT_EQ(d.bottom, b);
}

TEST_F(RazidNotes, HeadsMeasure60AndFollowTheLengthShown) {
  for (unsigned int code : {88u, 69u, 191u}) EXPECT_FLOAT_EQ(GObject::GetSymbolExtent(code), 60);
  struct Case {
    Fraction length;
    unsigned int head;
  } const cases[] = {
      {Frac_1_4, 88}, {Frac_1_2, 69}, {Frac_1, 119}, {Fraction(2, 1), 87}, {Fraction(4, 1), 88}};
  for (Case const& c : cases) {
    SCOPED_TRACE(c.length.getValue());
    EXPECT_EQ(Note({"g", 1}, c.length)->getNoteHead()->getSymbol(), c.head);
  }
}

TEST_F(RazidNotes, StemsAreAStartGlyphAndOverlappingSegmentsUpToTheirLength) {
  Note({"g", 1}, Frac_1_4);       // stem up from y 150
  Note({"h", 1}, Frac_1_4, 400);  // stem down from y 100
  Note({"g", 1}, Frac_1, 600);    // a whole note has no stem
  Draw();
  EXPECT_EQ(Symbols(),
            (Strings{"88@170,150", "219@170,150", "151@170,125", "151@170,100", "151@170,75",
                     "151@170,50", "151@170,25", "151@170,25", "88@370,100", "218@370,100",
                     "150@370,125", "150@370,150", "150@370,175", "150@370,200", "150@370,225",
                     "150@370,225", "119@550.5,150"}));
  EXPECT_EQ(Records(2, 10).size(), 2u);
}

TEST_F(RazidNotes, QuarterNoteReportsItsBoxReferenceAndHead) {
  Note({"g", 1}, Frac_1_4);
  Draw();
  Strings const symbols = Symbols();
  ASSERT_EQ(Records(1, 10).size(), 1u);
  ScoreElementDesc const note = Records(1, 10)[0];
  ExpectBox(note, 168.5f, -25, 233, 175);
  EXPECT_EQ(note.refX, 200);
  EXPECT_EQ(note.refY, 150);
  EXPECT_EQ(note.headX, 200);
  EXPECT_FLOAT_EQ(note.duration, 0.25f);
  ASSERT_EQ(Records(2, 10).size(), 1u);
  ScoreElementDesc const stem = Records(2, 10)[0];
  ExpectBox(stem, 230, -25, 230, 150);
  EXPECT_EQ(stem.refX, 230);
  EXPECT_EQ(stem.refY, 150);
}

TEST_F(RazidNotes, ColouredNoteDrawsItsLedgerLineBlackAndLeavesTheColourBlack) {
  ARNoteFormat format;
  format.setColor("red");  // 200, 0, 0 in the engine's colour names
  Note({"c", 1}, Frac_1_4, 200, &format);
  Draw();
  Strings const symbols = Symbols(true);
  ASSERT_EQ(symbols.size(), 9u);  // ledger line, head, stem start and six segments
  EXPECT_EQ(symbols[0].substr(0, symbols[0].find(' ')), "95@149,250");
  EXPECT_NE(symbols[0].find("color=rgba(0,0,0,255)"), std::string::npos) << symbols[0];
  for (size_t i = 1; i < symbols.size(); ++i)
    EXPECT_NE(symbols[i].find("color=rgba(200,0,0,255)"), std::string::npos) << symbols[i];
  EXPECT_EQ(device.GetFontColor(), kOpaqueBlack);
  EXPECT_EQ(Records(1, 10).size(), 1u);
}

TEST_F(RazidNotes, RestsDrawByTheirTableAndAlwaysReport) {
  Rest(Frac_1_4, 300);
  Rest(Frac_1, 600);
  Rest(Fraction(1, 512), 900);  // no glyph, a record all the same
  Draw();
  EXPECT_EQ(Symbols(true), (Strings{"165@300,100 font=Razid2@200 color=rgba(0,0,0,255) align=9"}));
  EXPECT_NE(std::find(device.calls.begin(), device.calls.end(), "Rectangle(575,50,625,75)"),
            device.calls.end());
  auto const records = Records(1, 11);
  ASSERT_EQ(records.size(), 3u);
  ExpectBox(records[0], 250, 50, 350, 150);
  ExpectBox(records[1], 525, 0, 675, 125);
  EXPECT_EQ(records[1].refX, 600);
  EXPECT_EQ(records[2].refX, 900);
}

TEST_F(RazidNotes, StaccatoStandsOutsideTheHeadAwayFromTheStem) {
  GRSingleNote* down = Note({"h", 1}, Frac_1_4, 200);
  GRSingleNote* up = Note({"g", 1}, Frac_1_4, 400);
  down->addArticulation(Own(new ARStaccato));
  up->addArticulation(Own(new ARStaccato));
  Draw();
  Strings dots;
  for (std::string const& symbol : Symbols())
    if (symbol.rfind("46@", 0) == 0) dots.push_back(symbol.substr(symbol.find(',')));
  EXPECT_EQ(dots, (Strings{",25", ",225"}));
  EXPECT_TRUE(up->hasArticulation(1));
}

}  // namespace
