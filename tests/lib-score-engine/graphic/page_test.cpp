#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "CScoreElement.h"
#include "GRPage.h"
#include "GRStaffManager.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "RazidDrawTypes.h"
#include "ScoreSymbolMap.h"
#include "graphic_fixture.h"
#include "scaling_device.h"

namespace {

using EngineTesting::GraphicFixture;
using EngineTesting::ScalingDevice;

// A4 with margins of 2 cm, in layout units.
constexpr float kWidth = 4979.2324f;
constexpr float kHeight = 7042.0576f;
constexpr float kInnerHeight = kHeight - 2 * 474.21262f;

// Pages of systems of given heights, with the page settings back at their defaults afterwards.
class PageTest : public GraphicFixture {
 protected:
  void TearDown() override {
    GRStaffManager::sDefaultSystemDistance = 75;
    GRStaffManager::sSystemDistribution = 1;
    GRStaffManager::sSystemDistribLimit = 0.25f;
    GRStaffManager::sOptPageFill = true;
    gClipRect.Set(-1e9f, -1e9f, 1e9f, 1e9f);
    GraphicFixture::TearDown();
  }

  // A system whose box reaches from top to bottom, starting at date.
  GRSystem* AddSystem(float top, float bottom, float* distance = nullptr,
                      Fraction const& date = Frac_0) {
    auto* system = new GRSystem;
    system->AddSystemSlice(new GRSystemSlice(nullptr, date));
    system->setGRPage(page.get());
    system->setBoundingBox(NVRect{0, top, 3000, bottom});
    page->addSystem(system, distance);
    return system;
  }

  std::vector<float> Ys() const {
    std::vector<float> ys;
    void* pos = page->getSystems().GetHeadPosition();
    while (pos) ys.push_back(page->getSystems().GetNext(pos)->getPosition().y);
    return ys;
  }

  std::unique_ptr<GRPage> page = std::make_unique<GRPage>(nullptr, nullptr, Frac_0, nullptr);
};

TEST_F(PageTest, SystemsStackFromTheTopAtTheDefaultDistanceOrAOneShotOne) {
  EXPECT_FLOAT_EQ(page->getPageWidth(), kWidth);
  EXPECT_FLOAT_EQ(page->getInnerHeight(), kInnerHeight);
  float distance = -1;
  AddSystem(-100, 300, &distance, Fraction(1, 2));
  EXPECT_EQ(page->getStartDate(), Fraction(1, 2));
  AddSystem(-50, 250, &distance, Fraction(3, 2));
  distance = 500;
  AddSystem(0, 200, &distance);
  EXPECT_EQ(distance, -1);
  AddSystem(0, 200, &distance);
  EXPECT_EQ(Ys(), (std::vector<float>{100, 525, 1025, 1300}));
  EXPECT_FLOAT_EQ(page->getUsedHeight(), 400 + 300 + 200 + 200);
  EXPECT_EQ(page->getStartDate(), Fraction(1, 2));

  // The page's box is its systems' grown by the margins; adjusting the size makes it that box.
  page->adjustPageSize();
  EXPECT_FLOAT_EQ(page->getPageWidth(), 3000 + 2 * 474.21262f);
  EXPECT_FLOAT_EQ(page->getPageHeight(), 1500 + 2 * 474.21262f);
}

TEST_F(PageTest, FinishingSpreadsTheSystemsAsTheDistributionSays) {
  float const auto75 = 0.075f * kInnerHeight;
  float const even = (kInnerHeight - 3000) / 2;
  struct Case {
    int mode;
    bool optFill;
    bool last;
    float height;  // of each of the three systems
    std::vector<float> ys;
  } const cases[] = {
      // Auto: a gap above a quarter of the inner height shrinks to 7.5 % of it.
      {1, true, false, 1000, {0, 1000 + auto75, 2000 + 2 * auto75}},
      {1, true, true, 1000, {0, 1000 + auto75, 2000 + 2 * auto75}},
      {2, true, false, 1000, {0, 1000 + even, 2000 + 2 * even}},
      // Never: the systems stay where they were stacked.
      {3, true, false, 1000, {0, 1075, 2150}},
      // A nearly empty last page keeps them together unless the page is to be filled.
      {1, false, true, 1000, {0, 1075, 2150}},
      {1, false, false, 1000, {0, 1000 + auto75, 2000 + 2 * auto75}},
      {2, false, true, 1000, {0, 1000 + even, 2000 + 2 * even}},
      // Systems that overfill the page are not pulled together.
      {2, true, false, 2500, {0, 2575, 5150}},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " fill " << c.optFill << " last "
                                    << c.last << " height " << c.height);
    GRStaffManager::sSystemDistribution = c.mode;
    GRStaffManager::sOptPageFill = c.optFill;
    page = std::make_unique<GRPage>(nullptr, nullptr, Frac_0, nullptr);
    for (int i = 0; i < 3; ++i) AddSystem(0, c.height);
    page->finishPage(c.last);
    std::vector<float> const ys = Ys();
    ASSERT_EQ(ys.size(), c.ys.size());
    for (size_t i = 0; i < ys.size(); ++i) EXPECT_NEAR(ys[i], c.ys[i], 0.01f) << i;
  }
}

TEST_F(PageTest, DrawingScalesThePageAndLeavesOutSystemsBeyondTheUpdateRegion) {
  ScalingDevice scaled(&system);
  AddSystem(0, 1000);
  AddSystem(0, 1000);
  RazidOnDrawDesc desc;
  desc.sizex = static_cast<int>(kWidth / 10);
  desc.sizey = static_cast<int>(kHeight / 5);
  float const scale = static_cast<float>(desc.sizex) / kWidth;

  page->OnDraw(scaled, desc);
  ScoreSymbolMap const& map = page->getSymbolMap();
  CScoreElement const* root = map.GetRootElement();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->kind, 8);
  EXPECT_FLOAT_EQ(root->right, kWidth * scale);
  EXPECT_FLOAT_EQ(root->bottom, kHeight * scale);
  ASSERT_EQ(root->children().size(), 2u);
  // Systems stand in the inner area.
  EXPECT_FLOAT_EQ(root->children()[1]->top, (474.21262f + 1075) * scale);

  // An update region above the second system leaves it out of the map.
  desc.updateRegion = {false, 0, 0, 3000, 1500};
  page->OnDraw(scaled, desc);
  EXPECT_EQ(map.ElementCountForType(7), 1);
}

}  // namespace
