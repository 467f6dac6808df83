// A voice tells which page shows a time: the page of the system its event at that time lies in.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ARMusicalVoice.h"
#include "ARNote.h"
#include "GREvent.h"
#include "GRPage.h"
#include "GRSystem.h"
#include "GRVoice.h"
#include "graphic_fixture.h"

namespace {

// Events at 0, 1/4, 1/2 and 3/4 with a tag between; the first two on a system of page 1, the
// others on a system of page 2.
class VoicePagesTest : public EngineTesting::GraphicFixture {
 protected:
  void SetUp() override {
    GraphicFixture::SetUp();
    for (int page = 0; page < 2; ++page) {
      pages[page] = std::make_unique<GRPage>(2000, 3000, 0, 0, 0, 0);
      systems[page] = std::make_unique<GRSystem>();
      systems[page]->setGRPage(pages[page].get());
    }
    voice.startNewSystem(systems[0].get());
    Event(0);
    Event(1);
    Tag(Fraction(2, 4));
    voice.startNewSystem(systems[1].get());
    Event(2);
    Event(3);
  }
  void Event(int quarter) {
    notes.push_back(std::make_unique<ARNote>(Fraction(quarter, 4), Frac_1_4));
    elements.push_back(
        std::make_unique<GREvent>(nullptr, notes.back().get(), Fraction(quarter, 4), Frac_1_4));
    voice.AddTail(elements.back().get());
  }
  void Tag(Fraction const& tp) {
    elements.push_back(std::make_unique<GRNotationElement>());
    elements.back()->setRelativeTimePosition(tp);
    voice.AddTail(elements.back().get());
  }

  std::unique_ptr<GRPage> pages[2];
  std::unique_ptr<GRSystem> systems[2];
  std::vector<std::unique_ptr<ARNote>> notes;
  std::vector<std::unique_ptr<GRNotationElement>> elements;
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
