#include <gtest/gtest.h>

#include <memory>

#include "ARClef.h"
#include "ARKey.h"
#include "GRClef.h"
#include "GRKey.h"
#include "GRPage.h"
#include "GRSpaceForceFunction2.h"
#include "GRStaff.h"
#include "GRStaffManager.h"
#include "graphic_fixture.h"

namespace {

// A staff manager without music, whose first slice takes the clefs and keys of staff 0.
class BeginSpacingTest : public EngineTesting::GraphicFixture {
 protected:
  void SetUp() override {
    GraphicFixture::SetUp();
    StartEngine();
    manager = std::make_unique<GRStaffManager>(nullptr, nullptr);
    page.reset(manager->getCurrentPage());
    staff = manager->getStaff(0);
  }
  void TearDown() override {
    // Without a music root the open slice and the first page are nobody's.
    delete manager->getCurrentSlice();
    manager.reset();
    page.reset();
    GraphicFixture::TearDown();
  }

  // Writes the clef on the staff and records it in the staff's state.
  void PutClef(char const* name) {
    auto* clef = new ARClef;
    clef->setName(NVstring(name));
    staff->AddTail(new GRClef(clef, staff, true));
    manager->setStaffStateTag(clef, 0);
  }
  void PutKey(int number) {
    auto* key = new ARKey(number);
    staff->AddTail(new GRKey(staff, key, 0, true));
    manager->setStaffStateTag(key, 0);
  }

  std::unique_ptr<GRPage> page;
  std::unique_ptr<GRStaffManager> manager;
  GRStaff* staff = nullptr;
};

TEST_F(BeginSpacingTest, TheBeginFunctionFollowsTheWidestClefAndKey) {
  PutClef("g2");
  EXPECT_EQ(manager->getCurrentBegSFF(), nullptr) << "a clef alone opens no line";
  PutKey(2);
  GRBeginSpaceForceFunction2* first = manager->getCurrentBegSFF();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->getRecords().GetCount(), 4);
  EXPECT_LT(first->getFirstVector().Get(0), 0) << "the clef reaches above the staff";
  EXPECT_GT(first->getSecondVector().Get(0), 0);

  PutKey(1);
  EXPECT_EQ(manager->getCurrentBegSFF(), first) << "a narrower key keeps the function";
  PutKey(5);
  EXPECT_NE(manager->getCurrentBegSFF(), first);
  EXPECT_GT(manager->getCurrentBegSFF()->getXminSum(), first->getXminSum());
}

}  // namespace
