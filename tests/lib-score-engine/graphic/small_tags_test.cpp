#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "ARDrPild.h"
#include "ARDrVesk.h"
#include "ARGrace.h"
#include "ARIntens.h"
#include "ARSpecial.h"
#include "GRDrPild.h"
#include "GRDrVesk.h"
#include "GRDummy.h"
#include "GRGrace.h"
#include "GRIntens.h"
#include "GRSpecial.h"
#include "lib-score-engine/bound_tag.h"
#include "marks_fixture.h"

namespace {

using EngineTesting::Bind;
using EngineTesting::Given;
using EngineTesting::MarksFixture;
using EngineTesting::RecordingDevice;
using testing::ElementsAre;

// An event placed by its own spring, as the layout places events.
class Note : public GRNotationElement {
 public:
  Note(GRStaff* staff, unsigned int glyph) {
    setGRStaff(staff);
    setSymbol(glyph);
    setNeedsSpring(1);
  }
};

class SmallTagTest : public MarksFixture {};

// Every mark of the table has a glyph of its own, without a warning; the box holds its letters,
// from two line spaces above the base line to less than one below it.
TEST_F(SmallTagTest, DynamicMarksTakeTheirOwnGlyph) {
  struct Case {
    char const* text;
    unsigned int glyph;
    NVRect box;
  } const cases[] = {
      {"p", 112, {12.5, -100, 100, 37.5}},    {"mf", 70, {12.5, -100, 100, 37.5}},
      {"ppp", 240, {12.5, -100, 100, 37.5}},  {"pppp", 241, {12.5, -100, 100, 37.5}},
      {"ffff", 242, {12.5, -100, 100, 37.5}}, {"sf", 243, {12.5, -100, 100, 37.5}},
      {"sfz", 244, {12.5, -100, 100, 37.5}},  {"mezzo", 0, {0, 0, 0, 0}},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.text);
    ARIntens intens(c.text, -1);
    testing::internal::CaptureStderr();
    GRIntens grIntens(staff, &intens);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(grIntens.getSymbol(), c.glyph);
    EXPECT_EQ(grIntens.getBoundingBox(), c.box);
    EXPECT_EQ(grIntens.getPosition().y, 300);
  }
}

TEST_F(SmallTagTest, SpecialGlyphAtItsScaleAndOffsetUnlessInError) {
  ARSpecial special;
  // Offsets in half spaces: 1 and 2 are 25 and 50 units.
  Bind(special, Given().Text("a").Float(1, "dx").Float(2, "dy").Float(0.5f, "scale"));
  GRSpecial grSpecial(&special, false);
  grSpecial.setPosition(NVPoint{100, 100});
  grSpecial.OnDraw(device, map);
  special.setError(1);
  grSpecial.OnDraw(device, map);
  EXPECT_THAT(device.calls, ElementsAre("SetMusicFont(Razid2@100)", "SetFontAlign(17)",
                                        "DrawMusicSymbol(125,150,97) font=Razid2@100 "
                                        "color=rgba(0,0,0,255) align=17"));
}

TEST_F(SmallTagTest, GraceNotesStandBeforeTheirOneEventOnly) {
  // The events outlive the group, as on a staff.
  Note event(staff, 0);
  Note second(staff, 0);
  ARGrace arGrace;
  GRGrace grace(staff, &arGrace);
  auto* graceNote = new Note(staff, 88);
  grace.addAssociation(&event);
  grace.addAssociation(graceNote);
  // The grace note joins the group and is no longer one of its events.
  grace.AddTail(graceNote);
  event.addAssociation(&grace);
  event.setPosition(NVPoint{200, 0});
  GRDummy dummy(&grace);
  dummy.OnDraw(device, map);
  GRDummy(nullptr).OnDraw(device, map);
  EXPECT_THAT(Drawn(), ElementsAre("DrawMusicSymbol(140,0,88)"));

  grace.addAssociation(&second);
  testing::internal::CaptureStderr();
  dummy.tellPosition(&event, NVPoint{500, 0});
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Razid Warning: More than one association for GRGrace\n");
  device.calls.clear();
  grace.OnDraw(device, map);
  EXPECT_TRUE(device.calls.empty());
  EXPECT_EQ(graceNote->getPosition().x, 140);
}

// A drawing system that holds every picture as 400 x 300 pixels.
class PictureSystem : public EngineTesting::HalfWidthSystem {
 public:
  class Picture : public RecordingDevice {
   public:
    using RecordingDevice::RecordingDevice;
    int GetWidth() const override { return 400; }
    int GetHeight() const override { return 300; }
  };
  std::vector<std::string> pictures;

  VGDevice* CreateMemoryDevice(char const* name) override {
    pictures.push_back(name);
    return new Picture(this);
  }
};

// A page that records where pictures are copied.
class CopyingDevice : public RecordingDevice {
 public:
  using RecordingDevice::CopyPixels;
  using RecordingDevice::RecordingDevice;
  bool CopyPixels(int x, int y, int width, int height, VGDevice*, float alpha) override {
    calls.push_back(EngineTesting::Call("CopyPixels", x, y, width, height, alpha));
    return true;
  }
};

TEST_F(SmallTagTest, PicturesAre200UnitsHighAndMirroredWhenInverse) {
  PictureSystem pictures;
  device.setVGSystem(&pictures);
  CopyingDevice page(&pictures);
  ARDrVesk vesk;
  ARDrPild mirrored(-1);
  GRDrVesk grVesk(&vesk);
  GRDrPild grPild(&mirrored);
  EXPECT_THAT(pictures.pictures, ElementsAre(GRDrVesk::kImageName, GRDrPild::kImageName));
  EXPECT_FLOAT_EQ(grVesk.getRightSpace(), 800 / 3.0f);
  EXPECT_FLOAT_EQ(grPild.getBoundingBox().right, 800 / 3.0f);
  EXPECT_EQ(grPild.getBoundingBox().bottom, 200);
  grVesk.setPosition(NVPoint{10, 20});
  grPild.setPosition(NVPoint{10, 20});
  grVesk.OnDraw(page, map);
  grPild.OnDraw(page, map);
  EXPECT_THAT(page.calls, ElementsAre("SetRasterOpMode(2)", "CopyPixels(10,20,266,200,-1)",
                                      "SetRasterOpMode(2)", "CopyPixels(276,20,-266,200,-1)"));

  // The Qt system has no pictures: no room and nothing drawn.
  device.setVGSystem(&halfWidth);
  GRDrVesk missing(&vesk);
  EXPECT_EQ(missing.getBoundingBox(), (NVRect{0, 0, 0, 200}));
  EXPECT_EQ(missing.getRightSpace(), 0);
  device.calls.clear();
  missing.OnDraw(device, map);
  EXPECT_TRUE(device.calls.empty());
}

}  // namespace
