#include <gtest/gtest.h>

#include <memory>

#include "ARAccol.h"
#include "GRAccolade.h"
#include "GRGlue.h"
#include "GRPage.h"
#include "GRSpaceForceFunction2.h"
#include "GRSpring.h"
#include "GRStaffManager.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "TagParameterList.h"
#include "TagParameterString.h"
#include "graphic_fixture.h"

namespace {

using EngineTesting::GraphicFixture;

// A4's inner width, with margins of 2 cm.
constexpr float kInnerWidth = 4979.2324f - 2 * 474.21262f;

// One slice over springs 0 .. 3 of constant 2, each standing at 10 under its own force, with
// two more springs after it that belong to the next line, made into a system.
struct Line {
  Line(GRStaffManager* manager, GRPage* page, bool last) {
    auto* sff = new GRSpaceForceFunction2;
    for (int id = 0; id <= 5; ++id) {
      auto* spring = new GRSpring(Fraction(id, 4), Fraction(1, 4));
      spring->set_const(2);
      spring->change_x(10);
      spring->setID(id);
      springs.Set(id, spring);
      if (id <= 3) sff->addSpring(spring);
    }
    slice = new GRSystemSlice(nullptr, Frac_0);
    slice->setSpringIDs(0, 3);
    slice->setSpaceForceFunction(sff);
    pending.AddTail(slice);
    system = std::make_unique<GRSystem>(manager, page, Frac_0, pending, 1, nullptr, springs,
                                        nullptr, last);
  }

  KF_IVector<GRSpring> springs{1};
  KF_IPointerList<GRSystemSlice> pending{0};
  GRSystemSlice* slice = nullptr;
  std::unique_ptr<GRSystem> system;
};

class SystemTest : public GraphicFixture {
 protected:
  void SetUp() override {
    GraphicFixture::SetUp();
    GRSpaceForceFunction2::setOptForce(750);
  }

  GRStaffManager manager;
  GRPage page{nullptr, &manager, Frac_0, nullptr};
};

TEST_F(SystemTest, ALineFillsTheInnerWidthUnlessItHoldsTheWholeScore) {
  // The whole score on one line stands at the optimum force, each spring at 750 / 2.
  for (bool const last : {true, false}) {
    SCOPED_TRACE(last ? "whole score" : "line before others");
    Line line(&manager, &page, last);
    GRSystem const& system = *line.system;
    EXPECT_TRUE(line.pending.IsEmpty());
    EXPECT_EQ(system.getFirstGRSystemSlice(), line.slice);
    EXPECT_NEAR(system.getForce(), last ? 750 : 2 * kInnerWidth / 4, 1);
    EXPECT_NEAR(system.getBoundingBox().right, last ? 4 * 375 : kInnerWidth, 1);
    EXPECT_NEAR(system.getGRSpring(3)->getX(), system.getBoundingBox().right * 3 / 4, 1);
    // The end of the line takes no room; the springs after it stay with the caller.
    ASSERT_NE(system.getGRSpring(4), nullptr);
    EXPECT_EQ(system.getGRSpring(4)->getExtent(), 0);
    EXPECT_EQ(system.getGRSpring(5), nullptr);
    EXPECT_EQ(line.springs.GetMinimum(), 4);
    EXPECT_EQ(line.springs.GetCount(), 2);
    // Both glues of the slice stand on its springs.
    ASSERT_NE(line.slice->getStartGlue(), nullptr);
    EXPECT_EQ(line.slice->getEndGlue()->getSpringID(), 3);
  }
}

TEST_F(SystemTest, AccoladeTypesFollowTheTagsTypeName) {
  struct Case {
    char const* type;
    int accolade;
  } const cases[] = {{"straightBrace", 1}, {"standard", 1}, {"curlyBrace", 2},
                     {"thinBrace", 3},     {"none", 0},     {"zigzag", 2}};
  GRSystem bare;
  EXPECT_EQ(bare.getAccolade()->getAccoladeType(), 2);
  for (Case const& c : cases) {
    SCOPED_TRACE(c.type);
    ARAccol tag;
    // An accolade names its id and its staves, then its type.
    TagParameterList given(1);
    for (char const* value : {"1", "1-2", c.type}) {
      auto* parameter = new TagParameterString(value);
      parameter->mState = TagParameter::SETBYPOSITION;
      given.AddTail(parameter);
    }
    tag.setTagParameterList(given);
    bare.notifyAccoladeTag(&tag);
    EXPECT_EQ(bare.getAccolade()->getAccoladeType(), c.accolade);
  }
}

}  // namespace
