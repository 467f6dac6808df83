#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ARMusic.h"
#include "GRClef.h"
#include "GRMusic.h"
#include "GRPage.h"
#include "GRSlur.h"
#include "GRSpring.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "laid_out_fixture.h"

namespace {

// The staves of the slice from the lowest number.
std::vector<GRStaff*> StavesOf(GRSystemSlice const* slice) {
  std::vector<GRStaff*> staves;
  int lowest = 0;
  int highest = -1;
  slice->getStaffRange(lowest, highest);
  for (int n = lowest; n <= highest; ++n)
    if (GRStaff* staff = slice->getStaff(n)) staves.push_back(staff);
  return staves;
}

template <class Kind>
Kind* FirstOn(GRStaff const* staff) {
  for (void* pos = staff->getElements().GetHeadPosition(); pos;)
    if (auto* element = dynamic_cast<Kind*>(staff->getElements().GetNext(pos))) return element;
  return nullptr;
}

bool SystemHolds(GRSystem const* system, GRNotationElement const* element) {
  for (void* at = system->getSlices().GetHeadPosition(); at;)
    for (GRStaff const* staff : StavesOf(system->getSlices().GetNext(at)))
      for (void* pos = staff->getElements().GetHeadPosition(); pos;)
        if (staff->getElements().GetNext(pos) == element) return true;
  return false;
}

// A piece of one voice: clef and meter, then the measure count times.
std::string Measures(int count, char const* measure) {
  std::string text = "{ [ \\clef<\"g2\"> \\meter<\"4/4\"> ";
  for (int m = 0; m < count; ++m) text += std::string(measure) + (m + 1 < count ? " \\bar " : "");
  return text + " ] }";
}

using StaffManagerWalkTest = EngineTesting::LaidOutFixture;

TEST_F(StaffManagerWalkTest, ClefsOfTwoVoicesAtOneTimeShareASpring) {
  LayOut("{ [ \\clef<\"g2\"> c d e f ], [ \\staff<2> \\clef<\"f4\"> c0 d e f ] }");
  std::vector<int> ids;
  for (GRStaff* staff : StavesOf(Systems().front()->getFirstGRSystemSlice()))
    if (GRClef* clef = FirstOn<GRClef>(staff)) ids.push_back(clef->getSpringID());
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_EQ(ids[0], ids[1]);
}

// The spring of the events handled at a time stands at that time, not at the time the walk
// moves on to.
TEST_F(StaffManagerWalkTest, EventsStandOnTheSpringOfTheirTime) {
  LayOut("{ [ c/4 d/8 e f/2 ], [ \\staff<2> g/2 a/4 h ] }");
  GRSystem const* system = Systems().front();
  int events = 0;
  for (void* at = system->getSlices().GetHeadPosition(); at;)
    for (GRStaff const* staff : StavesOf(system->getSlices().GetNext(at)))
      for (void* pos = staff->getElements().GetHeadPosition(); pos;) {
        auto const* event = dynamic_cast<GREvent const*>(staff->getElements().GetNext(pos));
        if (!event || event->getDuration() <= Frac_0) continue;
        ++events;
        GRSpring const* spring = system->getGRSpring(event->getSpringID());
        ASSERT_NE(spring, nullptr);
        EXPECT_EQ(spring->getTimePosition(), event->getRelativeTimePosition());
      }
  EXPECT_EQ(events, 7);
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

// A new page in any voice beats a new system; voices without anything end the walk at once.
TEST_F(StaffManagerWalkTest, ExplicitBreaksMakeSystemsAndPages) {
  struct Case {
    char const* text;
    int pages, systems;
  } const cases[] = {
      {"{ [ c d \\newSystem e f ], [ c d \\newPage e f ] }", 2, 2},
      {"{ [ c d \\newSystem e f ], [ c d \\newSystem e f ] }", 1, 2},
      {"{ [ c d e f ] }", 1, 1},
      {"{ [ ], [ ] }", 1, 1},
      {"{ [ \\staff<300> c d ], [ \\staff<-4> e f ] }", 1, 1},
  };
  for (Case const& c : cases) {
    LayOut(c.text);
    EXPECT_EQ(music->getNumPages(), c.pages) << c.text;
    EXPECT_EQ(Systems().size(), static_cast<size_t>(c.systems)) << c.text;
  }
}

// Four hundred measures fill more than one page; every system after a break opens with the
// clef in force.
TEST_F(StaffManagerWalkTest, ALongPieceBreaksIntoSystemsAndPagesThatOpenWithTheClefInForce) {
  LayOut(Measures(400, "c/4 d e f"));
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
    const std::vector<GRStaff*> opening = StavesOf(systems[n]->getFirstGRSystemSlice());
    ASSERT_FALSE(opening.empty());
    EXPECT_NE(FirstOn<GRClef>(opening.front()), nullptr);
  }
}

// A slur over the whole piece stays open at every break the line breaker picks and goes on on
// the staff of every following system.
TEST_F(StaffManagerWalkTest, ASlurOpenAtChosenBreaksGoesOnOnEverySystem) {
  std::string text = Measures(100, "c/4 d e f");
  text.replace(text.find("c/4"), 3, "\\slur( c/4");
  text.replace(text.rfind(" ]"), 2, " ) ]");
  LayOut(text);
  const std::vector<GRSystem*> systems = Systems();
  ASSERT_GT(systems.size(), 2u);
  GRSlur const* slur = FirstOn<GRSlur>(StavesOf(systems[0]->getFirstGRSystemSlice()).front());
  ASSERT_NE(slur, nullptr);
  for (GRSystem const* system : systems) EXPECT_TRUE(SystemHolds(system, slur));
}

}  // namespace
