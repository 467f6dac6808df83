#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ARCoda.h"
#include "ARJump.h"
#include "ARSegno.h"
#include "ARTempo.h"
#include "GRCoda.h"
#include "GRJump.h"
#include "GRSegno.h"
#include "GRTempo.h"
#include "engine_reset.h"
#include "lib-score-engine/bound_tag.h"
#include "marks_fixture.h"
#include "razid_font_system.h"

namespace {

using EngineTesting::Bind;
using EngineTesting::Given;
using EngineTesting::MarksFixture;
using testing::Contains;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::HasSubstr;

class TempoTest : public MarksFixture {
 protected:
  // The calls of a tempo mark with the given text, standing at (130, -90): a note head 100 wide
  // then stands at (200, -200) in the device's units at 0.65.
  std::vector<std::string> Draw(char const* mark) {
    ARTempo tempo;
    Bind(tempo, Given().Text(mark));
    GRTempo grTempo(staff, &tempo);
    grTempo.setPosition(NVPoint{130, -90});
    device.calls.clear();
    grTempo.OnDraw(device, map);
    return device.calls;
  }
  static std::vector<std::string> Note(std::vector<unsigned int> const& heads) {
    std::vector<std::string> calls = {"SetScale(0.65,0.65)", "SetMusicFont(Razid2@200)"};
    for (unsigned int head : heads) calls.push_back(Symbol(200, -200, head));
    return calls;
  }
  static std::vector<std::string> Stem() {
    std::vector<std::string> calls = {Symbol(200, -200, 219)};
    for (int y : {-225, -250, -275, -300, -300}) calls.push_back(Symbol(200, y, 151));
    return calls;
  }
  static std::string Symbol(float x, float y, unsigned int glyph) {
    return EngineTesting::Call("DrawMusicSymbol", x, y, glyph) +
           " font=Razid2@200 color=rgba(0,0,0,255) align=17";
  }
  static std::vector<std::string> Join(std::vector<std::vector<std::string>> const& parts) {
    std::vector<std::string> all;
    for (auto const& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  }
};

TEST_F(TempoTest, NoteValuesAreSmallNotesFollowedByTheWords) {
  device.SetFontColor(kOpaqueBlack);
  std::vector<std::string> const end = {"SetScale(1,1)"};
  EXPECT_EQ(Draw("[1/4] Allegro"), Join({Note({88}),
                                         Stem(),
                                         end,
                                         {"SetTextFont(Times New Roman@90)", "SetFontAlign(17)",
                                          "DrawString(195,-90, Allegro,8) font=Times New Roman@90 "
                                          "color=rgba(0,0,0,255) align=17"}}));
  // A dotted quarter has its dot 100 to the right and is 50 wider.
  EXPECT_EQ(Draw("[3/8]"), Join({Note({88}), Stem(), {Symbol(300, -200, 46)}, end}));
  EXPECT_EQ(Draw("[1/8]"), Join({Note({88}), Stem(), {Symbol(200, -400, 106)}, end}));
  EXPECT_EQ(Draw("[1/2]"), Join({Note({69}), Stem(), end}));
  EXPECT_EQ(Draw("[1/1]"), Join({Note({119}), end}));
  // A part that is no note value, even one over nothing, draws a plain filled head.
  for (char const* broken : {"[1/0]", "[3/-4]", "[x]"})
    EXPECT_EQ(Draw(broken), Join({Note({88}), Stem(), end})) << broken;
}

TEST_F(TempoTest, TheMarkIsAsWideAsItsNotesAndWords) {
  ARTempo tempo;
  Bind(tempo, Given().Text("Andante [3/8] [1/0]"));
  GRTempo grTempo(staff, &tempo);
  // Words at 45 a letter, 100 a head, 50 for the dot.
  EXPECT_EQ(grTempo.getBoundingBox(), (NVRect{0, -100, 8 * 45 + 100 + 50 + 1 * 45 + 100, 0}));
  EXPECT_EQ(grTempo.getPosition().y, -100);
  EXPECT_EQ(grTempo.getTagType(), GRTag::SYSTEMTAG);
  EXPECT_EQ(grTempo.getDuration("6/8"), Fraction(3, 4));
}

class JumpTest : public MarksFixture {};

TEST_F(JumpTest, JumpMarksAreRowsOfWordsAndNamedGlyphs) {
  ARJump fine("Fine");
  ARJump unknown("[xyz]");
  ARCoda coda;
  ARSegno segno;
  GRJump grFine(&fine, true);
  GRJump grUnknown(&unknown, true);
  GRCoda grCoda(&coda);
  GRSegno grSegno(&segno);
  // Words at 55 a letter; the coda glyph, 100 wide, sets the height.
  EXPECT_EQ(grFine.getBoundingBox(), (NVRect{-220, -50, 0, 50}));
  EXPECT_EQ(grFine.getRightSpace(), -220);
  EXPECT_EQ(grUnknown.getBoundingBox(), (NVRect{0, -50, 0, 50}));
  EXPECT_EQ(grCoda.getBoundingBox(), (NVRect{-50, -50, 100 + 5 * 55 - 50, 50}));
  EXPECT_EQ(grSegno.getBoundingBox(), (NVRect{-50, -50, 50, 50}));

  for (GRJump* jump : std::vector<GRJump*>{&grFine, &grUnknown, &grCoda, &grSegno}) {
    jump->setHPosition(1000);
    jump->OnDraw(device, map);
  }
  // The word's middle sits on the box's middle, its "a" height taken as the word's.
  EXPECT_THAT(Drawn(),
              ElementsAre("DrawString(780,-55,Fine,4)", "DrawMusicSymbol(950,-100,230)",
                          "DrawString(1083.33,-55, Coda,5)", "DrawMusicSymbol(950,-100,37)"));
  EXPECT_THAT(device.calls, Contains(HasSubstr("DrawMusicSymbol(950,-100,230) font=Razid2@267")));
  EXPECT_THAT(device.calls, Contains(HasSubstr("font=Times New Roman Bold Italic@110")));
}

TEST_F(JumpTest, AResetEngineMakesTheJumpAndTempoFontsAgain) {
  ARJump fine("Fine");
  ARTempo tempo;
  Bind(tempo, Given().Text("Largo"));
  delete new GRJump(&fine, true);
  delete new GRTempo(staff, &tempo);
  RazidResetEngineState();
  StartEngine();
  halfWidth.requests.clear();
  GRJump again(&fine, true);
  GRTempo tempoAgain(staff, &tempo);
  EXPECT_THAT(halfWidth.requests, ElementsAre("CreateVGFont(Times New Roman Bold Italic,110,3)",
                                              "CreateVGFont(Times New Roman,90,0)"));
  // Drawn with the fonts made now, not the ones the reset released.
  again.OnDraw(device, map);
  tempoAgain.OnDraw(device, map);
  EXPECT_THAT(device.calls, Contains("SetTextFont(Times New Roman Bold Italic@110)"));
  EXPECT_THAT(device.calls, Contains("SetTextFont(Times New Roman@90)"));
}

}  // namespace

namespace {

class RazidTempoTest : public EngineTesting::RazidFontFixture {};

// The words follow a quarter note at 0.65 of the real head's width.
TEST_F(RazidTempoTest, WordsFollowTheSmallNoteByItsScaledHeadWidth) {
  StartEngine();
  ARTempo tempo;
  Bind(tempo, Given().Text("[1/4] Allegro"));
  GRTempo grTempo(nullptr, &tempo);
  grTempo.setHPosition(100);
  grTempo.OnDraw(device, map);
  EXPECT_NEAR(GObject::GetSymbolExtent(88), 60, 0.5);
  EXPECT_THAT(device.calls, Contains(HasSubstr("DrawString(139,-100, Allegro,8)")));
}

}  // namespace
