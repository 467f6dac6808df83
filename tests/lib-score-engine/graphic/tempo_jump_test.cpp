#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <algorithm>

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
using testing::HasSubstr;

class TempoTest : public MarksFixture {};

// Marks stand at (130, -90): a note head 100 wide then stands at (200, -200) in the device's
// units at 0.65, its stem rising from there.
TEST_F(TempoTest, NoteValuesAreSmallNotesFollowedByTheWords) {
  auto symbol = [](float y, unsigned int glyph, float x = 200) {
    return EngineTesting::Call("DrawMusicSymbol", x, y, glyph);
  };
  std::vector<std::string> const stem = {symbol(-200, 219), symbol(-225, 151), symbol(-250, 151),
                                         symbol(-275, 151), symbol(-300, 151), symbol(-300, 151)};
  struct Case {
    char const* mark;
    unsigned int head;
    bool stem;
    std::vector<std::string> more;
  } const cases[] = {
      {"[1/4] Allegro", 88, true, {"DrawString(195,-90, Allegro,8)"}},
      // A dotted quarter has its dot's glyph right after its head.
      {"[3/8]", 88, true, {symbol(-200, 46, 300)}},
      {"[1/8]", 88, true, {symbol(-400, 106)}},
      {"[1/2]", 69, true, {}},
      {"[1/1]", 119, false, {}},
      // A part that is no note value, even one over nothing, draws a plain filled head.
      {"[1/0]", 88, true, {}},
      {"[3/-4]", 88, true, {}},
      {"[x]", 88, true, {}},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.mark);
    ARTempo tempo;
    Bind(tempo, Given().Text(c.mark));
    GRTempo grTempo(staff, &tempo);
    grTempo.setPosition(NVPoint{130, -90});
    device.calls.clear();
    grTempo.OnDraw(device, map);
    std::vector<std::string> expected = {symbol(-200, c.head)};
    if (c.stem) expected.insert(expected.end(), stem.begin(), stem.end());
    expected.insert(expected.end(), c.more.begin(), c.more.end());
    EXPECT_EQ(Drawn(), expected);
    // The note is drawn at 0.65 inside a saved state, which gives the device its scale back.
    ASSERT_GE(device.calls.size(), 3u);
    EXPECT_EQ(device.calls[0], "BeginDraw()");
    EXPECT_EQ(device.calls[1], "SetScale(0.65,0.65)");
    EXPECT_EQ(std::count_if(device.calls.begin(), device.calls.end(),
                            [](std::string const& call) { return call.rfind("SetScale", 0) == 0; }),
              1);
    EXPECT_THAT(device.calls, Contains("EndDraw()"));
  }
  EXPECT_THAT(device.calls, Contains(HasSubstr("font=Razid2@200")));
}

// The device keeps the alignment the mark drawn before it asked for (a centred number, a text
// hung from its top): the small note still stands on its base line, from its left edge, or a
// mark that opens with a note hangs it down into the staff.
TEST_F(TempoTest, TheSmallNoteStandsOnItsBaseLineWhateverWasDrawnBefore) {
  for (unsigned int const before :
       {VGDevice::kAlignTop | VGDevice::kAlignLeft, VGDevice::kAlignBottom | VGDevice::kAlignCenter,
        VGDevice::kAlignBase | VGDevice::kAlignRight}) {
    for (char const* mark : {"[1/8] = 120", "Moderato [3/8] = 96"}) {
      SCOPED_TRACE(std::string(mark) + " after alignment " + std::to_string(before));
      ARTempo tempo;
      Bind(tempo, Given().Text(mark));
      GRTempo grTempo(staff, &tempo);
      grTempo.setPosition(NVPoint{130, -90});
      device.SetFontAlign(before);
      device.calls.clear();
      grTempo.OnDraw(device, map);
      int symbols = 0;
      for (std::string const& call : device.calls) {
        if (call.rfind("DrawMusicSymbol", 0) != 0) continue;
        ++symbols;
        EXPECT_THAT(call, HasSubstr("align=17"));
      }
      EXPECT_GT(symbols, 0);
    }
  }
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
  // Words at 55 a letter and the 25 units left after each; the coda glyph, 100 wide, sets the
  // height. A mark that ends at its place (at a bar's end) takes its room before it; one that
  // starts there takes none.
  EXPECT_EQ(grFine.getBoundingBox(), (NVRect{-245, -50, 0, 50}));
  EXPECT_EQ(grFine.getLeftSpace(), 245);
  EXPECT_EQ(grFine.getRightSpace(), 0);
  EXPECT_EQ(grUnknown.getBoundingBox(), (NVRect{0, -50, 0, 50}));
  // The coda glyph at a third larger.
  EXPECT_FLOAT_EQ(grCoda.getBoundingBox().right, 100 * 1.3333f + 5 * 55 + 25 - 50);
  EXPECT_EQ(grCoda.getBoundingBox().left, -50);
  EXPECT_EQ(grCoda.getLeftSpace(), 0);
  EXPECT_EQ(grSegno.getBoundingBox(), (NVRect{-50, -50, 50, 50}));

  for (GRJump* jump : std::vector<GRJump*>{&grFine, &grUnknown, &grCoda, &grSegno}) {
    jump->setHPosition(1000);
    jump->OnDraw(device, map);
  }
  // With no note over the top line, words stand on a base line half a space above it and the
  // signs, drawn centred on their own base line, with their foot on it: the music font's coda
  // reaches 71 above and below its line (a third more at its size), the segno 75.
  EXPECT_THAT(Drawn(),
              ElementsAre("DrawString(755,-25,Fine,4)", "DrawMusicSymbol(950,-119.664,230)",
                          "DrawString(1083.33,-25, Coda,5)", "DrawMusicSymbol(950,-100,37)"));
  EXPECT_THAT(device.calls,
              Contains(HasSubstr("DrawMusicSymbol(950,-119.664,230) font=Razid2@267")));
  // The bold italic of the serif face.
  EXPECT_THAT(device.calls, Contains(HasSubstr("font=Times New Roman@110")));
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
  EXPECT_THAT(halfWidth.requests, ElementsAre("CreateVGFont(Times New Roman,110,3)",
                                              "CreateVGFont(Times New Roman,90,0)"));
  // Drawn with the fonts made now, not the ones the reset released.
  again.OnDraw(device, map);
  tempoAgain.OnDraw(device, map);
  EXPECT_THAT(device.calls, Contains("SetTextFont(Times New Roman@110)"));
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
  EXPECT_THAT(device.calls,
              Contains(HasSubstr("DrawString(139,-100, Allegro,8) font=Times New Roman@90 "
                                 "color=rgba(0,0,0,255) align=17")));
}

}  // namespace
