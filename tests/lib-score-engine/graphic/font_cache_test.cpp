#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GRSpecial.h"
#include "NVstring.h"
#include "engine_globals.h"
#include "engine_reset.h"
#include "graphic_fixture.h"
#include "graphic_globals.h"

namespace {

using EngineTesting::GraphicFixture;
using Calls = std::vector<std::string>;

class FontCacheTest : public GraphicFixture {
 protected:
  static VGFont const* Find(int size, char const* name, char const* attributes = nullptr) {
    NVstring const n(name ? name : "");
    NVstring const a(attributes ? attributes : "");
    return GRSpecial::FindOrCreateFont(size, name ? &n : nullptr, attributes ? &a : nullptr);
  }
};

TEST_F(FontCacheTest, EachSizeNameAndStyleIsMadeOnce) {
  gGlobalSettings.gDevice = &device;
  VGFont const* bold = Find(75, "Times", "b");
  EXPECT_EQ(Find(75, "Times", "b"), bold);
  EXPECT_EQ(GRSpecial::CachedFontCount(), 1);
  EXPECT_NE(Find(75, "Times"), bold) << "no attributes is another font";
  EXPECT_NE(Find(75, "Times", "bi"), bold);
  EXPECT_NE(Find(76, "Times", "b"), bold);
  EXPECT_EQ(Find(150, nullptr), Find(150, "Razid2")) << "no name is the music font's";
  Find(75, "Times", "iu");
  EXPECT_EQ(system.requests, (Calls{"CreateVGFont(Times,75,1)", "CreateVGFont(Times,75,0)",
                                    "CreateVGFont(Times,75,3)", "CreateVGFont(Times,76,1)",
                                    "CreateVGFont(Razid2,150,0)", "CreateVGFont(Times,75,6)"}));
  EXPECT_EQ(GRSpecial::CachedFontCount(), 6);
}

TEST_F(FontCacheTest, AFontThatCannotBeMadeIsReportedOnceAndCachedAsNull) {
  struct Case {
    bool withDevice;
    char const* face;
  } const cases[] = {{false, nullptr}, {true, "Missing"}};
  system.missingFaces = {"Missing"};
  for (Case const& c : cases) {
    RazidResetEngineState();
    if (c.withDevice) gGlobalSettings.gDevice = &device;
    testing::internal::CaptureStdout();
    EXPECT_EQ(Find(75, c.face), nullptr);
    EXPECT_EQ(Find(75, c.face), nullptr);
    std::string const name = c.face ? c.face : "Razid2";
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Razid error: \"" + name + "\" font creation failed !\n");
    EXPECT_EQ(GRSpecial::CachedFontCount(), 1);
  }
}

TEST_F(FontCacheTest, ResetReleasesTheCacheWithTheStartUpFonts) {
  StartEngine();
  EXPECT_NE(gFontDefs.music.font, nullptr);
  EXPECT_EQ(GRSpecial::CachedFontCount(), 2);
  RazidResetEngineState();
  EXPECT_EQ(GRSpecial::CachedFontCount(), 0);
  EXPECT_EQ(gFontDefs.music.font, nullptr);
  EXPECT_EQ(gFontDefs.text.font, nullptr);
  EXPECT_EQ(gGlobalSettings.gDevice, nullptr);
}

}  // namespace
