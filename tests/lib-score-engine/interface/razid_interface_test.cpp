#include <gtest/gtest.h>

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
  const std::pair<int, std::string> cases[] = {
      {0, "No error"},
      {-1, "Parse error"},
      {-3, "File error"},
      {-7, "Invalid parameter"},
      {-9, "Razid was not initialized before parse"},
      {-10, "Action failed"},
      {1, "Unknown internal error"},
      {-11, "Unknown internal error"},
  };
  for (auto const& [code, text] : cases) EXPECT_EQ(RazidGetErrorString(code), text) << code;
}

TEST_F(RazidInterfaceTest, VersionsUpToTheEnginesOwnAreAccepted) {
  int major = 0, minor = 0, sub = 0;
  RazidGetVersionNums(&major, &minor, &sub);
  EXPECT_EQ(major * 100 + minor * 10 + sub, 132);
  const struct {
    int major, minor, sub, result;
  } cases[] = {{1, 3, 2, 0},   {1, 2, 9, 0},   {0, 9, 9, 0},
               {1, 3, 3, -10}, {1, 4, 0, -10}, {2, 0, 0, -10}};
  for (auto const& c : cases)
    EXPECT_EQ(RazidCheckVersionNums(c.major, c.minor, c.sub), c.result)
        << c.major << "." << c.minor << "." << c.sub;
}

TEST_F(RazidInterfaceTest, DefaultsAndUnits) {
  RazidLayoutSettings settings{};
  RazidGetDefaultLayoutSettings(&settings);
  EXPECT_FLOAT_EQ(settings.systemsDistance, 75);
  EXPECT_EQ(settings.systemsDistribution, 1);
  EXPECT_FLOAT_EQ(settings.systemsDistribLimit, 0.25f);
  EXPECT_FLOAT_EQ(settings.optimumForce, 750);
  EXPECT_FLOAT_EQ(settings.springParameter, 1.1f);
  EXPECT_EQ(settings.specialSpacing, 0);
  EXPECT_EQ(settings.optPageFill, 1);

  RazidPageFormat format{};
  RazidGetDefaultPageFormat(&format);
  EXPECT_FLOAT_EQ(format.width, 4979.2324f);
  EXPECT_FLOAT_EQ(format.height, 7042.0576f);
  for (float margin :
       {format.marginleft, format.margintop, format.marginright, format.marginbottom})
    EXPECT_FLOAT_EQ(margin, 474.21262f);

  const RazidPageFormat wide{3000, 1000, 20, 70, 20, 70};
  RazidSetDefaultPageFormat(&wide);
  RazidGetDefaultPageFormat(&format);
  EXPECT_FLOAT_EQ(format.width, 3000);
  EXPECT_FLOAT_EQ(format.margintop, 70);
  RazidSetDefaultPageFormat(nullptr);
  RazidGetDefaultPageFormat(&format);
  EXPECT_FLOAT_EQ(format.width, 4979.2324f);

  EXPECT_NEAR(RazidUnit2CM(RazidCM2Unit(2)), 2, 1e-5);
  EXPECT_NEAR(RazidInches2Unit(1), 602.25, 1e-3);
  EXPECT_NEAR(RazidUnit2Inches(602.25f), 1, 1e-4);
  EXPECT_EQ(RazidGetLineSpace(), 50);
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
  EXPECT_EQ(RazidMarkVoice(first, 1, date, length), -8);
  EXPECT_EQ(RazidMarkVoice(nullptr, 1, date, length), -8);
  EXPECT_EQ(RazidMarkVoice(second, 1, date, length), 0);
  RazidFreeAR(first);  // stale: frees nothing
  RazidFreeAR(nullptr);
  EXPECT_EQ(EngineState().scores.size(), held + 1);
  RazidFreeAR(second);
  EXPECT_EQ(EngineState().scores.size(), held);
}

TEST_F(RazidInterfaceTest, StoppingForgetsTheDefaultPageFormatAndTheStart) {
  Start();
  const RazidPageFormat wide{3000, 1000, 20, 70, 20, 70};
  RazidSetDefaultPageFormat(&wide);
  RazidShutdown();
  RazidPageFormat format{};
  RazidGetDefaultPageFormat(&format);
  EXPECT_FLOAT_EQ(format.width, 4979.2324f);
  ARHandle ar = nullptr;
  EXPECT_EQ(RazidParseString(kChord, &ar), -9);
}

}  // namespace
