#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "ARText.h"
#include "ARTitle.h"
#include "GRGlue.h"
#include "GRPage.h"
#include "GRPageText.h"
#include "GRSText.h"
#include "GRText.h"
#include "graphic_globals.h"
#include "lib-score-engine/bound_tag.h"
#include "marks_fixture.h"

namespace {

using EngineTesting::Bind;
using EngineTesting::Given;
using EngineTesting::MarksFixture;
using testing::ElementsAre;
using testing::HasSubstr;

class Event : public GRNotationElement {
 public:
  explicit Event(GRStaff* staff) { setGRStaff(staff); }
};

// Texts are drawn on the fixture's system and staff.
class TextTest : public MarksFixture {
 protected:
  void SetUp() override {
    MarksFixture::SetUp();
    gCurSystem = &grSystem;
    gCurStaff = staff;
  }
  // The text attached to the event, as the layout attaches a range's first element.
  static void Attach(GRText& text, Event& event) {
    text.addAssociation(&event);
    event.addAssociation(&text);
  }
};

TEST_F(TextTest, TextUnderTheStaffAtItsEventWithItsFormatFontAndColour) {
  ARText plain;
  Bind(plain, Given().Text("Allegro"));
  ARText formatted;
  Bind(formatted, Given()
                      .Text("Allegro")
                      .Text("rc", "textformat")
                      .Text("Courier", "font")
                      .Text("red", "color"));
  // Texts are written in Times at 12 points unless they say otherwise, half a space down.
  device.SetFontColor(VGColor(0, 0, 255));
  for (ARText* ar : {&plain, &formatted}) {
    GRText text(staff, ar);
    Event note(staff);
    Attach(text, note);
    note.setPosition(NVPoint{100, 150});
    EXPECT_EQ(text.getRightSpace(), 7 * 50);
    text.OnDraw(device, map);
  }
  EXPECT_THAT(
      CallsFrom("DrawString"),
      ElementsAre("DrawString(100,225,Allegro,7) font=Times@100 color=rgba(0,0,255,255) align=20",
                  "SetTextFont(Courier@100)", "SetFontColor(rgba(200,0,0,255))", "SetFontAlign(33)",
                  "DrawString(100,225,Allegro,7) font=Courier@100 color=rgba(200,0,0,255) "
                  "align=33",
                  "SetFontColor(rgba(0,0,255,255))"));  // the colour in force before
}

TEST_F(TextTest, ARangeContinuedOnTheNextSystemShowsAHyphenOnce) {
  // The text outlives the staves and their glues, as the layout deletes them.
  ARText lyric;
  Bind(lyric, Given().Text("la"));
  GRText text(staff, &lyric);
  GRSystem nextSystem;
  auto* slice = new GRSystemSlice(nullptr, Frac_1);
  nextSystem.AddSystemSlice(slice);
  auto* nextStaff = new GRStaff(slice);
  slice->addStaff(nextStaff, 0);
  nextStaff->AddSecondGlue(new GRGlue(nextStaff, GRGlue::SECOND_GLUE));
  Event first(staff);
  Event second(nextStaff);
  Event third(nextStaff);
  Attach(text, first);
  first.setPosition(NVPoint{100, 0});
  text.StaffBegin(nextStaff);
  Attach(text, second);
  Attach(text, third);
  second.setPosition(NVPoint{300, 150});
  third.setPosition(NVPoint{400, 150});
  // Moving the text itself moves the piece of its own system only.
  text.setHPosition(120);
  EXPECT_EQ(text.getStartEndCount(), 2);

  text.OnDraw(device, map);
  gCurSystem = &nextSystem;
  text.OnDraw(device, map);
  EXPECT_THAT(Drawn(), ElementsAre("DrawString(120,225,la,2)", "DrawString(275,225,-,1)"));
  // A system without a piece draws nothing.
  GRSystem stranger;
  gCurSystem = &stranger;
  device.calls.clear();
  text.OnDraw(device, map);
  EXPECT_TRUE(device.calls.empty());
}

TEST_F(TextTest, PageTextsArePlacedByTheirPageFormatAndAlignedByTheirTextFormat) {
  // Margins of 1 cm left, 2 cm top, 3 cm right, 4 cm bottom.
  float const cm = 237.10631f;
  GRPage page(2000, 3000, 1 * cm, 2 * cm, 3 * cm, 4 * cm);
  NVstring const title("Title");
  ARTitle arTitle;
  struct Case {
    char const* pageFormat;
    char const* textFormat;
    float x, y;
    NVRect box;
  } const cases[] = {
      {"c2", "ct", 1000, 1 * cm, {-93.75, 0, 93.75, 75}},
      {"lb", "rc", 0, 3000, {-187.5, -75, 0, 100}},
      {"57", "lb", 2000 - 3 * cm, 3000, {0, -75, 187.5, 0}},
      // Letters of the other direction, or a format of another length, keep the coordinate.
      {"tr", nullptr, 7, 7, {0, 0, 187.5, 75}},
      {"c", "lt", 7, 7, {0, 0, 187.5, 75}},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.pageFormat);
    NVstring const pageFormat(c.pageFormat);
    std::unique_ptr<NVstring> textFormat(c.textFormat ? new NVstring(c.textFormat) : nullptr);
    GRPageText text(&arTitle, &page, &title, &pageFormat, textFormat.get(), nullptr, 75, nullptr);
    text.setPosition(NVPoint{7, 7});
    text.calcPosition();
    EXPECT_NEAR(text.getPosition().x, c.x, 0.01);
    EXPECT_NEAR(text.getPosition().y, c.y, 0.01);
    EXPECT_EQ(text.getBoundingBox(), c.box);
    EXPECT_EQ(text.getTagType(), GRTag::PAGETAG);
  }
}

TEST_F(TextTest, StaffTextFollowsItsFirstEventAndLetsItGo) {
  auto event = std::make_unique<Event>(staff);
  Event other(staff);
  GRSText octava(staff, NVstring("8va"), 3);
  EXPECT_EQ(octava.getBoundingBox(), (NVRect{-12.5, 75, 112.5, 200}));
  octava.addAssociation(event.get());
  octava.addAssociation(&other);
  event->setPosition(NVPoint{40, 0});
  other.setPosition(NVPoint{90, 0});
  octava.OnDraw(device, map);
  EXPECT_THAT(Drawn(), ElementsAre("DrawString(27.5,150,8va,3)"));
  EXPECT_THAT(device.calls.back(), HasSubstr("align=20"));
  // The event goes first; the text must not reach back to it when it goes.
  event.reset();
}

}  // namespace
