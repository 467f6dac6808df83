#include <gtest/gtest.h>

#include <array>
#include <string>

#include "Razid.h"
#include "engine_state.h"

namespace {

constexpr char kChord[] = "{ [ \\staff<1> \\clef<\"g2\"> \\stemsAuto { c1 , e1 , g1 } ] }";

// Every case starts from an engine that was never started, with no default page format.
class RazidInterfaceTest : public testing::Test {
 protected:
  void SetUp() override { RazidShutdown(); }
  void TearDown() override { RazidShutdown(); }
  static void Start() {
    RazidInitDesc desc{nullptr, nullptr, nullptr, nullptr};
    ASSERT_EQ(RazidInit(&desc), 0);
  }
};

TEST_F(RazidInterfaceTest, ErrorTextsCoverTheCodesAndNothingElse) {
  const std::pair<int, std::string> cases[] = {{0, "No error"},
                                               {-9, "Razid was not initialized before parse"},
                                               {-10, "Action failed"},
                                               {1, "Unknown internal error"},
                                               {-11, "Unknown internal error"}};
  for (auto const& [code, text] : cases) EXPECT_EQ(RazidGetErrorString(code), text) << code;
}

TEST_F(RazidInterfaceTest, VersionsUpToTheEnginesOwnAreAccepted) {
  const struct {
    int major, minor, sub, result;
  } cases[] = {{1, 3, 2, 0},   {1, 2, 9, 0},   {0, 9, 9, 0},
               {1, 3, 3, -10}, {1, 4, 0, -10}, {2, 0, 0, -10}};
  for (auto const& c : cases)
    EXPECT_EQ(RazidCheckVersionNums(c.major, c.minor, c.sub), c.result)
        << c.major << "." << c.minor << "." << c.sub;
}

auto Fields(RazidPageFormat const& f) {
  return std::array{f.width, f.height, f.marginleft, f.margintop, f.marginright, f.marginbottom};
}

TEST_F(RazidInterfaceTest, DefaultsOfLayoutAndPage) {
  RazidLayoutSettings s{};
  RazidGetDefaultLayoutSettings(&s);
  EXPECT_EQ((std::array{s.systemsDistance, float(s.systemsDistribution), s.systemsDistribLimit,
                        s.optimumForce, s.springParameter, float(s.specialSpacing),
                        float(s.optPageFill)}),
            (std::array{75.f, 1.f, 0.25f, 750.f, 1.1f, 0.f, 1.f}));
  const RazidPageFormat a4{4979.2324f, 7042.0576f, 474.21262f, 474.21262f, 474.21262f, 474.21262f};
  const RazidPageFormat wide{3000, 1000, 20, 70, 20, 70};
  RazidPageFormat format{};
  for (RazidPageFormat const* set : {static_cast<RazidPageFormat const*>(nullptr), &wide}) {
    RazidSetDefaultPageFormat(set);
    RazidGetDefaultPageFormat(&format);
    EXPECT_EQ(Fields(format), Fields(set ? *set : a4));
  }
}

TEST_F(RazidInterfaceTest, ParsingNeedsAStartedEngineAndSoundInput) {
  ARHandle ar = HandleFromId<ARHandle>(99);
  EXPECT_EQ(RazidParseString(kChord, &ar), -9);
  EXPECT_EQ(ar, nullptr);
  EXPECT_EQ(RazidInit(nullptr), -7);
  Start();
  EXPECT_EQ(RazidParseString(nullptr, &ar), -7);
  EXPECT_EQ(RazidParseString(kChord, nullptr), -7);
  EXPECT_EQ(RazidParseFile("/nonexistent/score.rmn", &ar), -3);
  EXPECT_EQ(ar, nullptr);
  testing::internal::CaptureStdout();
  EXPECT_EQ(RazidParseString("{ [ c1 \n d1 ( ] }", &ar), -1);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("Razid error: "), std::string::npos);
  EXPECT_EQ(RazidGetParseErrorLine(), 2);
  EXPECT_EQ(ar, nullptr);
  ASSERT_EQ(RazidParseString(kChord, &ar), 0);
  EXPECT_NE(ar, nullptr);
  RazidFreeAR(ar);
}

TEST_F(RazidInterfaceTest, FreedAndUnknownHandlesAreRefusedAndNeverReused) {
  Start();
  const int held = EngineState().scores.size();
  ARHandle first = nullptr, second = nullptr;
  ASSERT_EQ(RazidParseString(kChord, &first), 0);
  RazidFreeAR(first);
  EXPECT_EQ(EngineState().scores.size(), held);
  ASSERT_EQ(RazidParseString(kChord, &second), 0);
  EXPECT_NE(second, first);

  const RazidDate date{0, 1}, length{1, 4};
  EXPECT_EQ(
      (std::array{RazidMarkVoice(first, 1, date, length), RazidMarkVoice(nullptr, 1, date, length),
                  RazidMarkVoice(second, 1, date, length)}),
      (std::array{-8, -8, 0}));
  RazidFreeAR(first);  // stale: frees nothing
  EXPECT_EQ(EngineState().scores.size(), held + 1);
  RazidFreeAR(second);
  EXPECT_EQ(EngineState().scores.size(), held);
}

}  // namespace
