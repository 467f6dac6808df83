#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ARClef.h"
#include "ARKey.h"
#include "ARTempo.h"
#include "GRClef.h"
#include "GRKey.h"
#include "GRPassResult.h"
#include "GRPossibleBreakState.h"
#include "GRStaffManager.h"
#include "GRTempo.h"
#include "GRVoiceManager.h"
#include "spacing_fixture.h"

namespace {

using EngineTesting::SpacingFixture;

class StaffManagerSyncTest : public SpacingFixture {
 protected:
  GRClef* Clef(int staff, char const* name = "g2") {
    auto* clef = new ARClef;
    clef->setName(NVstring(name));
    auto* element = new GRClef(clef, staves[staff], true);
    staves[staff]->AddTail(element);
    return element;
  }
  GRKey* Key(int staff, int number, bool automatic) {
    auto* key = new ARKey(number);
    key->setIsAuto(automatic);
    auto* element = new GRKey(staves[staff], key, 0, true);
    staves[staff]->AddTail(element);
    return element;
  }
  // The spring ids of the elements, in the order given.
  static std::vector<int> SpringIds(std::vector<GRNotationElement*> const& elements) {
    std::vector<int> ids;
    for (GRNotationElement* element : elements) ids.push_back(element->getSpringID());
    return ids;
  }

  GRStaffManager manager;
};

TEST_F(StaffManagerSyncTest, LikeElementsOfDifferentVoicesShareASpringAndOneVoiceOpensAnother) {
  GRClef* first = Clef(0);
  GRClef* second = Clef(1, "f4");
  manager.AddGRSyncElement(first, staves[0], 0, nullptr);
  manager.AddGRSyncElement(second, staves[1], 1, nullptr);
  manager.FinishSyncSlice(Fraction(0, 1));
  EXPECT_EQ(manager.getSpringID(), 1);
  EXPECT_EQ(SpringIds({first, second}), (std::vector<int>{0, 0}));
  EXPECT_EQ(manager.getSprings()->Get(0)->getElements().GetCount(), 2);

  // A second clef of voice 0 at the same time comes after the first, a key of voice 1 between.
  GRClef* again = Clef(0);
  GRClef* later = Clef(0, "c3");
  GRKey* key = Key(1, 2, false);
  manager.AddGRSyncElement(again, staves[0], 0, nullptr);
  manager.AddGRSyncElement(key, staves[1], 1, nullptr);
  manager.AddGRSyncElement(later, staves[0], 0, nullptr);
  manager.FinishSyncSlice(Fraction(1, 4));
  EXPECT_EQ(SpringIds({again, key, later}), (std::vector<int>{1, 2, 3}));
}

TEST_F(StaffManagerSyncTest, AWrittenTagBeatsAnAutomaticOneAndOfTwoWrittenTheFirstStays) {
  struct Case {
    bool firstAuto, secondAuto;
    int firstError, secondError;
  } const cases[] = {{true, false, 1, 0}, {false, false, 0, 1}, {false, true, 0, 1}};
  for (Case const& c : cases) {
    GRKey* first = Key(0, 1, c.firstAuto);
    GRKey* second = Key(0, -2, c.secondAuto);
    // The second key comes from another voice on the same staff, so both join one spring.
    manager.AddGRSyncElement(first, staves[0], 0, nullptr);
    manager.AddGRSyncElement(second, staves[0], 1, nullptr);
    manager.FinishSyncSlice(Fraction(0, 1));
    EXPECT_EQ(first->getError(), c.firstError);
    EXPECT_EQ(second->getError(), c.secondError);
  }
}

TEST_F(StaffManagerSyncTest, ASecondTempoAtOneTimeIsDeletedWithAWarning) {
  StartEngine();
  ARTempo tempo;
  // Without a note to stand over the mark waits, and goes with the manager: before its tag.
  GRStaffManager waiting;
  testing::internal::CaptureStderr();
  waiting.AddSystemTag(new GRTempo(staves[0], &tempo), staves[0], 0);
  waiting.AddSystemTag(new GRTempo(staves[1], &tempo), staves[1], 1);
  const std::string written = testing::internal::GetCapturedStderr();
  EXPECT_NE(written.find("Razid Warning: Another SystemTag of the same type is already used"),
            std::string::npos)
      << written;
  EXPECT_NE(written.find("Razid Trace: SYSTEM-Tag collision"), std::string::npos) << written;
  waiting.FinishSyncSlice(Fraction(0, 1));
}

TEST_F(StaffManagerSyncTest, StaffNumbersOutsideTheLayoutsRangeAreIgnored) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(manager.getStaff(256), nullptr);
  EXPECT_EQ(manager.getStaff(-1), nullptr);
  EXPECT_FALSE(manager.setStaffStateTag(nullptr, 100000));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Razid Warning: "), std::string::npos);
  EXPECT_EQ(manager.getStaves()->GetCount(), 0);
}

TEST(StaffManagerPassTest, ANewPageBeatsANewSystemWhichBeatsAPossibleBreak) {
  using VM = GRVoiceManager;
  struct Case {
    std::vector<int> codes;
    int kind;
    float value;
  } const cases[] = {
      {{VM::kPossibleBreak, VM::kNewSystem}, 1, 1},
      {{VM::kNewSystem, VM::kPossibleBreak}, 1, 0},
      {{VM::kNewSystem, VM::kNewPage}, 2, 0},
      {{VM::kNewPage, VM::kNewSystem, VM::kPossibleBreak}, 2, 0},
      {{VM::kDurationNext, VM::kPossibleBreak, VM::kPossibleBreak}, 3, 2},
      {{VM::kFinished, VM::kDurationNext}, 0, 0},
  };
  for (Case const& c : cases) {
    GRPassResult pass{VM::kTagPass};
    float value = 0;
    for (int code : c.codes) pass.take(code, Fraction(0, 1), ++value);
    EXPECT_EQ(pass.breakKind, c.kind);
    EXPECT_EQ(pass.breakValue, c.value);
    EXPECT_FALSE(pass.allFinished);
  }
}

TEST(StaffManagerPassTest, TheEventPassOffersTheEarliestNextTime) {
  using VM = GRVoiceManager;
  GRPassResult pass{VM::kEventPass};
  pass.take(VM::kLaterEvent, Fraction(1, 2), 0);
  pass.take(VM::kEventNext, Fraction(3, 8), 0);
  pass.take(VM::kLaterZeroDuration, Fraction(3, 4), 0);
  pass.take(VM::kFinished, Fraction(1, 8), 0);
  EXPECT_EQ(pass.nextTime, Fraction(3, 8));
  EXPECT_EQ(pass.zeroDurationMinimum, Fraction(3, 4));
  EXPECT_FALSE(pass.allFinished);

  EXPECT_FALSE(pass.isStuck());

  GRPassResult done{VM::kEventPass};
  done.take(VM::kFinished, Fraction(1, 8), 0);
  EXPECT_TRUE(done.allFinished);
  EXPECT_FALSE(done.isStuck());

  // A voice that neither finishes nor offers a time would hold the walk for ever.
  GRPassResult stuck{VM::kEventPass};
  stuck.take(VM::kDurationNext, Fraction(1, 8), 0);
  EXPECT_TRUE(stuck.isStuck());
}

TEST_F(StaffManagerSyncTest, ABreakStateKeepsEachStaffAndAnEmptyTagListPerVoice) {
  GRPossibleBreakState state;
  KF_IVector<GRStaff> present(0);
  present.Set(1, staves[1]);
  state.SaveState(&present, nullptr, &manager, Fraction(1, 2), 0, 7);
  EXPECT_EQ(state.getStaffAndState(0), nullptr);
  ASSERT_NE(state.getStaffAndState(1), nullptr);
  EXPECT_EQ(state.getStaffAndState(1)->pstaff, staves[1]);
  EXPECT_EQ(state.tp, Fraction(1, 2));
  EXPECT_EQ(state.value, 7);

  GRPossibleBreakState::GRVoiceTagsAndStaff voice;
  voice.SaveGRTags(nullptr);
  ASSERT_NE(voice.grtags, nullptr);
  EXPECT_TRUE(voice.grtags->IsEmpty());
  voice.BeginAfterBreak(nullptr, nullptr);
}

}  // namespace

namespace {

TEST(StaffManagerDeathTest, MergingNeedsAFirstStateAtTheOpenSlice) {
  GRStaffManager manager;
  EXPECT_DEATH(manager.MergeSPFs(nullptr, nullptr), "pbs1");
  GRPossibleBreakState state;
  state.springID = 4;
  EXPECT_DEATH(manager.MergeSPFs(&state, nullptr), "mLastSpringID == pbs1->springID");
  EXPECT_DEATH(manager.BreakAtPBS(nullptr), "false");
}

}  // namespace
