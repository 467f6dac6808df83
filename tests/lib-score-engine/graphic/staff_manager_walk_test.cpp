#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ARMusic.h"
#include "GRClef.h"
#include "GRMusic.h"
#include "GRPage.h"
#include "GRSlur.h"
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

namespace {

std::string Measures(int count, char const* measure) {
  std::string text = "{ [ \\clef<\"g2\"> \\meter<\"4/4\"> ";
  for (int m = 0; m < count; ++m) text += std::string(measure) + (m + 1 < count ? " \\bar " : "");
  return text + " ] }";
}

// Four hundred measures fill more than one page; every system after a break opens with the
// clef in force.
TEST_F(StaffManagerWalkTest, ALongPieceBreaksIntoSystemsAndPagesThatOpenWithTheClefInForce) {
  LayOut(Measures(400, "c/4 d e f").c_str());
  const std::vector<GRSystem*> systems = Systems();
  ASSERT_GT(systems.size(), 2u);
  ASSERT_GT(music->getNumPages(), 1);
  for (int n = 2; n <= music->getNumPages(); ++n)
    EXPECT_GT(music->getPage(n)->getRelativeTimePosition(),
              music->getPage(n - 1)->getRelativeTimePosition());
  Fraction previous(-1, 1);
  for (size_t n = 0; n < systems.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_GT(systems[n]->getStartDate(), previous);
    previous = systems[n]->getStartDate();
    GRSystemSlice* opening = systems[n]->getFirstGRSystemSlice();
    int lowest = 0;
    int highest = -1;
    opening->getStaffRange(lowest, highest);
    GRStaff* first = opening->getStaff(lowest);
    ASSERT_NE(first, nullptr);
    bool clef = false;
    for (void* pos = first->getElements().GetHeadPosition(); pos && !clef;)
      clef = dynamic_cast<GRClef*>(first->getElements().GetNext(pos)) != nullptr;
    EXPECT_TRUE(clef);
  }
}

}  // namespace

namespace {

template <class Kind>
bool StaffHolds(GRSystem const* system, Kind const* element) {
  for (void* at = system->getSlices().GetHeadPosition(); at;) {
    GRSystemSlice* slice = system->getSlices().GetNext(at);
    int lowest = 0;
    int highest = -1;
    slice->getStaffRange(lowest, highest);
    for (int n = lowest; n <= highest; ++n) {
      GRStaff* staff = slice->getStaff(n);
      if (!staff) continue;
      for (void* pos = staff->getElements().GetHeadPosition(); pos;)
        if (staff->getElements().GetNext(pos) == element) return true;
    }
  }
  return false;
}

// A slur over the whole piece stays open at every break the line breaker picks and goes on on
// the staff of every following system.
TEST_F(StaffManagerWalkTest, ASlurOpenAtChosenBreaksGoesOnOnEverySystem) {
  std::string text = Measures(100, "c/4 d e f");
  text.replace(text.find("c/4"), 3, "\\slur( c/4");
  text.replace(text.rfind(" ]"), 2, " ) ]");
  LayOut(text.c_str());
  const std::vector<GRSystem*> systems = Systems();
  ASSERT_GT(systems.size(), 2u);
  GRSlur const* slur = nullptr;
  GRSystemSlice* first = systems[0]->getFirstGRSystemSlice();
  int lowest = 0;
  int highest = -1;
  first->getStaffRange(lowest, highest);
  for (void* pos = first->getStaff(lowest)->getElements().GetHeadPosition(); pos && !slur;)
    slur = dynamic_cast<GRSlur*>(first->getStaff(lowest)->getElements().GetNext(pos));
  ASSERT_NE(slur, nullptr);
  for (GRSystem const* system : systems) EXPECT_TRUE(StaffHolds(system, slur));
}

}  // namespace
