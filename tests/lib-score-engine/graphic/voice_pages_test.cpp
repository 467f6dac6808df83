// A voice tells which page shows a time: the page of the system its event at that time lies in.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ARMusicalVoice.h"
#include "ARNote.h"
#include "GREvent.h"
#include "GRPage.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "GRVoice.h"
#include "graphic_fixture.h"

namespace {

// Events at 0, 1/4, 1/2 and 3/4 with a tag between; the first two on a staff of a system on
// page 1, the others on a system of page 2.
class VoicePagesTest : public EngineTesting::GraphicFixture {
 protected:
  void SetUp() override {
    GraphicFixture::SetUp();
    for (int page = 0; page < 2; ++page) {
      pages[page] = std::make_unique<GRPage>(2000, 3000, 0, 0, 0, 0);
      systems[page] = std::make_unique<GRSystem>();
      systems[page]->setGRPage(pages[page].get());
      auto* slice = new GRSystemSlice(nullptr, Fraction(page, 2));
      systems[page]->AddSystemSlice(slice);
      staves[page] = new GRStaff(slice);
      slice->addStaff(staves[page], 1);
    }
    Event(0, 0);
    Event(0, 1);
    Tag(Fraction(2, 4));
    Event(1, 2);
    Event(1, 3);
  }
  // The systems delete the events while their notes are still there.
  void TearDown() override {
    for (auto& system : systems) system.reset();
    GraphicFixture::TearDown();
  }
  void Event(int system, int quarter) {
    notes.push_back(std::make_unique<ARNote>(Fraction(quarter, 4), Frac_1_4));
    auto* event = new GREvent(staves[system], notes.back().get(), Fraction(quarter, 4), Frac_1_4);
    staves[system]->AddTail(event);
    voice.AddTail(event);
  }
  void Tag(Fraction const& tp) {
    tag.setRelativeTimePosition(tp);
    voice.AddTail(&tag);
  }

  std::unique_ptr<GRPage> pages[2];
  std::unique_ptr<GRSystem> systems[2];
  GRStaff* staves[2] = {};
  std::vector<std::unique_ptr<ARNote>> notes;
  GRNotationElement tag;
  ARMusicalVoice arVoice;
  GRVoice voice{&arVoice, false};
};

TEST_F(VoicePagesTest, EventsFindThePageOfTheirSystem) {
  struct Case {
    int num, denom;
    int exact;  // page of the event at that time: 1, 2 or 0 for none
    int atOrBefore;
  } const cases[] = {
      {0, 1, 1, 1},  {1, 4, 1, 1}, {3, 8, 0, 1},  // between events: none at, the last before
      {1, 2, 2, 2},  {3, 4, 2, 2}, {2, 1, 0, 2},  // past the end
      {-1, 4, 0, 0},                              // before the first event
      {1, 0, 0, 0},                               // a date from outside with no denominator
  };
  auto number = [&](GRPage const* page) {
    return page == pages[0].get() ? 1 : page == pages[1].get() ? 2 : page ? -1 : 0;
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(testing::Message() << c.num << "/" << c.denom);
    EXPECT_EQ(number(voice.getPageNum(c.num, c.denom)), c.exact);
    EXPECT_EQ(number(voice.getPageForTimePos(c.num, c.denom)), c.atOrBefore);
  }
}

}  // namespace
