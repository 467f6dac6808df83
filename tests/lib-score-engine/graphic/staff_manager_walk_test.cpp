#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ARMusic.h"
#include "GRClef.h"
#include "GRMusic.h"
#include "GRPage.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "graphic_fixture.h"
#include "parse_music.h"

namespace {

// Parses a score and lays it out on the default page.
class StaffManagerWalkTest : public EngineTesting::GraphicFixture {
 protected:
  void SetUp() override {
    GraphicFixture::SetUp();
    StartEngine();
  }
  void TearDown() override {
    music.reset();
    parsed.reset();
    GraphicFixture::TearDown();
  }

  void LayOut(char const* text) {
    ParsedMusic result = ParseMusicText(text);
    ASSERT_EQ(result.result, 0) << text;
    music.reset();
    parsed = std::move(result.music);
    parsed->doAutoStuff();
    music = std::make_unique<GRMusic>(parsed.get(), nullptr);
  }

  std::vector<GRSystem*> Systems() const {
    std::vector<GRSystem*> systems;
    for (int n = 1; n <= music->getNumPages(); ++n) {
      KF_IPointerList<GRSystem> const& onPage = music->getPage(n)->getSystems();
      for (void* pos = onPage.GetHeadPosition(); pos;) systems.push_back(onPage.GetNext(pos));
    }
    return systems;
  }

  // The spring ids of the clefs on the staves of the first slice, staff by staff.
  std::vector<int> FirstClefSprings() const {
    std::vector<int> ids;
    GRSystemSlice* slice = Systems().front()->getFirstGRSystemSlice();
    int lowest = 0;
    int highest = -1;
    slice->getStaffRange(lowest, highest);
    for (int n = lowest; n <= highest; ++n) {
      NEPointerList const& elements = slice->getStaff(n)->getElements();
      for (void* pos = elements.GetHeadPosition(); pos;) {
        auto* clef = dynamic_cast<GRClef*>(elements.GetNext(pos));
        if (!clef) continue;
        ids.push_back(clef->getSpringID());
        break;
      }
    }
    return ids;
  }

  std::unique_ptr<ARMusic> parsed;
  std::unique_ptr<GRMusic> music;
};

TEST_F(StaffManagerWalkTest, ClefsOfTwoVoicesAtOneTimeShareASpring) {
  LayOut("{ [ \\clef<\"g2\"> c d e f ], [ \\staff<2> \\clef<\"f4\"> c0 d e f ] }");
  const std::vector<int> ids = FirstClefSprings();
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_EQ(ids[0], ids[1]);
}

TEST_F(StaffManagerWalkTest, TwoTempoMarksAtOneTimeKeepTheFirst) {
  testing::internal::CaptureStderr();
  LayOut("{ [ \\tempo<\"Allegro\"> c d ], [ \\tempo<\"Presto\"> e f ] }");
  const std::string written = testing::internal::GetCapturedStderr();
  EXPECT_NE(written.find("Razid Warning: Another SystemTag of the same type is already used"),
            std::string::npos)
      << written;
  EXPECT_NE(written.find("Razid Trace: SYSTEM-Tag collision"), std::string::npos) << written;
}

TEST_F(StaffManagerWalkTest, ANewPageInAnyVoiceBeatsANewSystem) {
  struct Case {
    char const* text;
    int pages, systems;
  } const cases[] = {
      {"{ [ c d \\newSystem e f ], [ c d \\newPage e f ] }", 2, 2},
      {"{ [ c d \\newSystem e f ], [ c d \\newSystem e f ] }", 1, 2},
      {"{ [ c d e f ] }", 1, 1},
  };
  for (Case const& c : cases) {
    LayOut(c.text);
    EXPECT_EQ(music->getNumPages(), c.pages) << c.text;
    EXPECT_EQ(Systems().size(), static_cast<size_t>(c.systems)) << c.text;
  }
}

TEST_F(StaffManagerWalkTest, TheWalkEndsOnVoicesThatAreEmpty) {
  LayOut("{ [ ], [ ] }");
  EXPECT_EQ(music->getNumPages(), 1);
}

}  // namespace
