// Spanners open at a line break end on the line's last staff and go on on the next line, as the
// music root lays a parsed score out.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ARMusic.h"
#include "GRDummy.h"
#include "GRMusic.h"
#include "GRPage.h"
#include "GRPositionTag.h"
#include "GRSlur.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "GRTie.h"
#include "GRVoice.h"
#include "graphic_fixture.h"
#include "parse_music.h"

namespace {

class VoiceBreakTest : public EngineTesting::GraphicFixture {
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
    music.reset();
    parsed = ParseMusicText(text).music;
    ASSERT_TRUE(parsed) << text;
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
  // The elements of type T on staff 1 of every slice of the system.
  template <class T>
  std::vector<T*> OnSystem(GRSystem const* system) const {
    std::vector<T*> found;
    for (void* s = system->getSlices().GetHeadPosition(); s;) {
      GRStaff* staff = system->getSlices().GetNext(s)->getStaff(1);
      if (!staff) continue;
      for (void* pos = staff->getElements().GetHeadPosition(); pos;)
        if (auto* element = dynamic_cast<T*>(staff->getElements().GetNext(pos)))
          found.push_back(element);
    }
    return found;
  }

  std::unique_ptr<ARMusic> parsed;
  std::unique_ptr<GRMusic> music;
};

template <class Spanner>
void ExpectContinuedOnTheNextLine(std::vector<Spanner*> const& first,
                                  std::vector<GRDummy*> const& dummies) {
  ASSERT_EQ(first.size(), 1u);
  // One piece on each line; on the second line a dummy stands for it.
  EXPECT_EQ(first[0]->getStartEndCount(), 2);
  ASSERT_EQ(dummies.size(), 1u);
  EXPECT_EQ(dummies[0]->getTag(), first[0]);
}

TEST_F(VoiceBreakTest, ASlurAndATieOpenAtANewSystemGoOnOnTheNextLine) {
  LayOut(R"([ \slur(c d \newSystem e f) ])");
  std::vector<GRSystem*> systems = Systems();
  ASSERT_EQ(systems.size(), 2u);
  ExpectContinuedOnTheNextLine(OnSystem<GRSlur>(systems[0]), OnSystem<GRDummy>(systems[1]));
  EXPECT_TRUE(OnSystem<GRSlur>(systems[1]).empty());

  LayOut(R"([ c/2 \tie(d/2 \newSystem d/2) ])");
  systems = Systems();
  ASSERT_EQ(systems.size(), 2u);
  ExpectContinuedOnTheNextLine(OnSystem<GRTie>(systems[0]), OnSystem<GRDummy>(systems[1]));
}

TEST_F(VoiceBreakTest, TheVoiceKnowsThePagesOfItsEvents) {
  LayOut(R"([ c d \newPage e f ])");
  ASSERT_EQ(music->getNumPages(), 2);
  GRVoice* voice = music->getVoice(0);
  ASSERT_NE(voice, nullptr);
  EXPECT_EQ(music->getPageIndex(voice->getPageNum(0, 1)), 1);
  EXPECT_EQ(music->getPageIndex(voice->getPageNum(1, 2)), 2);
  EXPECT_EQ(music->getPageIndex(voice->getPageForTimePos(3, 4)), 2);
  EXPECT_EQ(voice->getPageNum(1, 8), nullptr);  // no event starts there
  EXPECT_EQ(music->getPageIndex(voice->getPageForTimePos(1, 8)), 1);
  EXPECT_EQ(voice->getPageForTimePos(-1, 4), nullptr);  // before the first event
  EXPECT_EQ(voice->getPageNum(1, 0), nullptr);          // a date from outside, no denominator
  EXPECT_EQ(voice->getPageForTimePos(1, 0), nullptr);
}

}  // namespace
