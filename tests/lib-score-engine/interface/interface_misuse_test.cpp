// Every entry point of the engine's interface called as a caller may get it wrong: with a null, an
// empty, a folder or an out-of-range argument. Each answers with its code, a null or a 0 and
// leaves the caller's values alone; nothing crashes and nothing throws.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "CScoreElement.h"
#include "Razid.h"
#include "engine_state.h"
#include "lib-score-engine/graphic/scaling_device.h"
#include "lib-score-engine/sample_scores.h"
#include "tools/layout/fixed_width_fonts.h"

namespace {

namespace fs = std::filesystem;

// The question chord parsed from a file, laid out and its first page drawn, beside a folder.
class InterfaceMisuseTest : public testing::Test {
 protected:
  void SetUp() override {
    RazidShutdown();
    RazidInitDesc init{&device, nullptr, nullptr, nullptr};
    ASSERT_EQ(RazidInit(&init), 0);
    folder = fs::temp_directory_path() / ("interface-misuse-" + std::to_string(::getpid()));
    fs::create_directories(folder / "score.rmn");  // a folder under a score's name
    score = (folder / "question.rmn").string();
    std::ofstream(score) << SampleScores::QuestionScore();
    ASSERT_EQ(RazidParseFile(score.c_str(), &ar), 0);
    ASSERT_EQ(RazidAR2GR(ar, nullptr, &gr), 0);
    RazidOnDrawDesc desc;
    desc.handle = gr;
    desc.hdc = &device;
    desc.sizex = 1000;
    desc.sizey = 1414;
    ASSERT_EQ(RazidOnDraw(&desc), 0);
    root = RazidMapGetRootElement(gr, 1);
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(RazidMapChildCount(root), 1);
  }
  void TearDown() override {
    RazidFreeGR(gr);
    RazidFreeAR(ar);
    RazidShutdown();
    fs::remove_all(folder);
  }

  Layout::FixedWidthSystem system;
  EngineTesting::ScalingDevice device{&system};
  fs::path folder;
  std::string score;
  ARHandle ar = nullptr;
  GRHandle gr = nullptr;
  CScoreElement* root = nullptr;
};

// What a caller left in an out value, which a refused call must not change.
constexpr float kLeft = 7;
constexpr CScoreElement* kNone = nullptr;

TEST_F(InterfaceMisuseTest, EachEntryPointAnswersAMistakenArgumentWithoutHarm) {
  std::string const folderScore = (folder / "score.rmn").string();
  ARHandle parsed = HandleFromId<ARHandle>(99);
  GRHandle laid = HandleFromId<GRHandle>(99);
  float a = kLeft, b = kLeft, c = kLeft, d = kLeft;
  auto const untouched = [&] { return a == kLeft && b == kLeft && c == kLeft && d == kLeft; };
  RazidDate date{5, 7};
  RazidPageFormat format{1, 2, 3, 4, 5, 6};
  std::vector<std::vector<TRect<float>>> envelopes;
  CScoreElement *previous = root, *next = root;
  RazidOnDrawDesc draw;
  draw.handle = gr;
  draw.hdc = &device;
  draw.sizex = 1000;
  draw.sizey = 1414;

  struct Call {
    char const* what;
    std::function<bool()> sound;
  };
  std::vector<Call> const calls = {
      {"Init, null", [&] { return RazidInit(nullptr) == -7; }},
      {"ParseFile, null path", [&] { return RazidParseFile(nullptr, &parsed) == -7; }},
      {"ParseFile, empty path",
       [&] { return RazidParseFile("", &parsed) == -3 && parsed == nullptr; }},
      {"ParseFile, folder",
       [&] { return RazidParseFile(folderScore.c_str(), &parsed) == -3 && parsed == nullptr; }},
      {"ParseFile, folder of the temporary files",
       [&] { return RazidParseFile(folder.c_str(), &parsed) == -3 && parsed == nullptr; }},
      {"ParseFile, null handle", [&] { return RazidParseFile(score.c_str(), nullptr) == -7; }},
      {"ParseString, null", [&] { return RazidParseString(nullptr, &parsed) == -7; }},
      {"ParseString, empty", [&] { return RazidParseString("", &parsed) == -1 && !parsed; }},
      {"ParseString, null handle", [&] { return RazidParseString("[ c ]", nullptr) == -7; }},
      {"GetErrorString, out of range",
       [&] {
         return RazidGetErrorString(-11) == std::string("Unknown internal error") &&
                RazidGetErrorString(1) == std::string("Unknown internal error");
       }},
      {"GetVersionNums, null",
       [&] { return RazidGetVersionNums(nullptr, nullptr, nullptr), true; }},
      {"AR2GR, null score", [&] { return RazidAR2GR(nullptr, nullptr, &laid) == -8 && !laid; }},
      {"AR2GR, null handle", [&] { return RazidAR2GR(ar, nullptr, nullptr) == -7; }},
      {"UpdateGR, null", [&] { return RazidUpdateGR(nullptr, nullptr) == -8; }},
      {"FreeAR and FreeGR, null", [&] { return RazidFreeAR(nullptr), RazidFreeGR(nullptr), true; }},
      {"GetDefaultLayoutSettings, null",
       [&] { return RazidGetDefaultLayoutSettings(nullptr), true; }},
      {"applySettings, null", [&] { return razid_applySettings(nullptr), true; }},
      {"MarkVoice, null score", [&] { return RazidMarkVoice(nullptr, 1, date, date) == -8; }},
      {"MarkVoice, voice and dates out of range",
       [&] {
         return RazidMarkVoice(ar, 99, date, date) == 0 &&
                RazidMarkVoice(ar, 1, {1, 0}, {-1, 0}) == 0;
       }},
      {"GetPageCount, null", [&] { return RazidGetPageCount(nullptr) == 0; }},
      {"Duration, null",
       [&] { return RazidDuration(nullptr, &date) == -8 && RazidDuration(gr, nullptr) == -7; }},
      {"FindEventPage, null and dates out of range",
       [&] {
         return RazidFindEventPage(nullptr, {0, 1}) == 0 &&
                RazidFindEventPage(gr, {99, 1}) == -10 && RazidFindEventPage(gr, {1, 0}) == -10 &&
                RazidFindEventPage(gr, {-1, 4}) == -10;
       }},
      {"FindPageAt, null and dates out of range",
       [&] {
         return RazidFindPageAt(nullptr, {0, 1}) == 0 && RazidFindPageAt(gr, {99, 1}) == 0 &&
                RazidFindPageAt(gr, {1, 0}) == 0;
       }},
      {"GetPageDate, null and pages out of range",
       [&] {
         return RazidGetPageDate(nullptr, 1, &date) == -8 &&
                RazidGetPageDate(gr, 1, nullptr) == -7 && RazidGetPageDate(gr, 0, &date) == -7 &&
                RazidGetPageDate(gr, 99, &date) == -7 && RazidGetPageDate(gr, -1, &date) == -7;
       }},
      {"OnDraw, null", [&] { return RazidOnDraw(nullptr) == -7; }},
      {"OnDraw, pages and sizes out of range",
       [&] {
         RazidOnDrawDesc wrong = draw;
         bool sound = true;
         for (int page : {0, -1}) {
           wrong.page = page;
           sound = sound && RazidOnDraw(&wrong) == -7;
         }
         wrong = draw;
         wrong.sizex = 0;
         sound = sound && RazidOnDraw(&wrong) == -7;
         wrong = draw;
         wrong.handle = nullptr;
         sound = sound && RazidOnDraw(&wrong) == -8;
         wrong = draw;
         wrong.hdc = nullptr;
         return sound && RazidOnDraw(&wrong) == -7;
       }},
      {"GetPageFormat, null and pages out of range",
       [&] {
         RazidGetPageFormat(gr, 1, nullptr);
         RazidGetPageFormat(gr, 99, &format);
         bool const zero = format.width == 0 && format.height == 0;
         format = {1, 2, 3, 4, 5, 6};
         RazidGetPageFormat(nullptr, 1, &format);
         return zero && format.width == 0;
       }},
      {"GetDefaultPageFormat, null", [&] { return RazidGetDefaultPageFormat(nullptr), true; }},
      {"ResizePageToMusic, null", [&] { return RazidResizePageToMusic(nullptr) == -8; }},
      {"GetPagesEnvelopes, null",
       [&] {
         return RazidGetPagesEnvelopes(nullptr, gr) == -7 &&
                RazidGetPagesEnvelopes(&envelopes, nullptr) == -8;
       }},
      {"output hooks, null", [&] { return AddGGSOutput(nullptr), AddRazidOutput(nullptr), true; }},
      {"GetRootElement, null and pages out of range",
       [&] {
         return RazidMapGetRootElement(nullptr, 1) == kNone &&
                RazidMapGetRootElement(gr, 0) == kNone && RazidMapGetRootElement(gr, -1) == kNone &&
                RazidMapGetRootElement(gr, 99) == kNone;
       }},
      {"Min and MaxDate, pages out of range",
       [&] {
         return RazidMapGetMinDate(gr, 99) == 0 && RazidMapGetMaxDate(gr, -1) == 0 &&
                RazidMapGetMinDate(nullptr, 1) == 0;
       }},
      {"FindEventHitBy, null and pages out of range",
       [&] {
         return RazidMapFindEventHitBy(nullptr, 1, 0, 0) == kNone &&
                RazidMapFindEventHitBy(gr, 99, 0, 0) == kNone;
       }},
      {"GetElementCountForType, kinds out of range",
       [&] {
         return RazidMapGetElementCountForType(gr, 1, -1) == 0 &&
                RazidMapGetElementCountForType(gr, 1, 99) == 0 &&
                RazidMapGetElementCountForType(nullptr, 1, 1) == 0;
       }},
      {"field accessors, null",
       [&] {
         return RazidMapGetElementType(nullptr) == 0 && RazidMapGetElementSubType(nullptr) == 0 &&
                RazidMapGetElementDate(nullptr) == 0 && RazidMapGetElementDuration(nullptr) == 0;
       }},
      {"BoundingBox, null",
       [&] {
         RazidMapGetElementBoundingBox(nullptr, &a, &b, &c, &d);
         RazidMapGetElementBoundingBox(root, nullptr, nullptr, nullptr, nullptr);
         return untouched();
       }},
      {"points, null",
       [&] {
         RazidMapGetElementPosition(nullptr, &a, &b);
         RazidMapGetElementRefPoint(nullptr, &a, &b);
         RazidMapGetHeadPoint(nullptr, &c, &d);
         RazidMapGetHeadPoint(root, nullptr, nullptr);
         RazidMapGetElementRefPoint(root, nullptr, nullptr);
         return untouched();
       }},
      {"tree walking, null and indices out of range",
       [&] {
         return RazidMapChildCount(nullptr) == 0 && RazidMapGetChild(nullptr, 0) == kNone &&
                RazidMapGetChild(root, -1) == kNone && RazidMapGetChild(root, 1) == kNone &&
                RazidMapGetChild(root, 99) == kNone && RazidMapGetChild(root, 0) != kNone &&
                RazidMapGetParent(nullptr) == kNone && RazidMapGetIndexInParentList(nullptr) == 0;
       }},
      {"FindDeepNthElementOfType, kinds and counts out of range",
       [&] {
         return RazidMapFindDeepNthElementOfType(root, 1, 0) == kNone &&
                RazidMapFindDeepNthElementOfType(root, 1, -1) == kNone &&
                RazidMapFindDeepNthElementOfType(root, 99, 1) == kNone &&
                RazidMapFindDeepNthElementOfType(root, 1, 99) == kNone &&
                RazidMapFindDeepNthElementOfType(nullptr, 1, 1) == kNone;
       }},
      {"searches, null",
       [&] {
         return RazidMapFindDeepSubElementHitBy(nullptr, 0, 0) == kNone &&
                RazidMapFindNearestSubElement(nullptr, 1, 0, 0) == kNone &&
                RazidMapFindNearestEventX(nullptr, 0) == kNone &&
                RazidMapFindEventRangeX(nullptr, 0) == kNone &&
                RazidMapFindEventBeforeDate(nullptr, 0) == kNone &&
                RazidMapFindEventAfterDate(nullptr, 0) == kNone &&
                RazidMapFindDeepElementForDate(nullptr, 0) == kNone &&
                RazidMapFindElementForTypeAndDate(nullptr, 1, 0) == kNone &&
                RazidMapFindParentWithType(nullptr, 1) == kNone;
       }},
      {"searches, kinds and dates out of range",
       [&] {
         return RazidMapFindNearestSubElement(root, 99, 0, 0) == kNone &&
                RazidMapFindEventBeforeDate(root, -1) == kNone &&
                RazidMapFindEventAfterDate(root, 99) == kNone &&
                RazidMapFindDeepElementForDate(root, 99) == kNone &&
                RazidMapFindElementForTypeAndDate(root, 99, 0) == kNone &&
                RazidMapFindParentWithType(root, 99) == kNone;
       }},
      {"FindPreviousAndNextEvent, null",
       [&] {
         RazidMapFindPreviousAndNextEvent(root, 0, nullptr, nullptr);
         RazidMapFindPreviousAndNextEvent(nullptr, 0, &previous, &next);
         return previous == kNone && next == kNone;
       }},
      {"DrawElement, null",
       [&] {
         RazidMapDrawElement(nullptr, &device);
         RazidMapDrawElement(root, nullptr);
         return true;
       }},
  };
  for (Call const& call : calls) EXPECT_TRUE(call.sound()) << call.what;
  // The score and its layout are as they were.
  EXPECT_EQ(RazidGetPageCount(gr), 1);
  EXPECT_EQ(RazidOnDraw(&draw), 0);
}

}  // namespace
