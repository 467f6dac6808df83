// Every number a tag can be given, at and far beyond the ends of what it may hold, in a text of
// its own: each is drawn or refused, never aborts or runs away. The parameters come from the
// engine's own tag table, so a new tag or parameter is covered as soon as it exists.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "ARMTParameter.h"
#include "ARTagNames.h"
#include "ARUnits.h"
#include "Razid.h"
#include "TagParameterFloat.h"
#include "TagParameterString.h"
#include "VGDevice.h"
#include "engine_state.h"
#include "rendered_text.h"
#include "tools/layout/offline_engine.h"

namespace {

// Far more than any of these texts draws: a runaway loop asks for millions.
constexpr long kMostDeviceCalls = 200000;

// 0, -1, 1e-30, 1e-8, 1e30, 3.4e38, 2^31, 2^63 and a number of 400 digits, as an int token
// (none for the fractions) and as a float token.
struct Extreme {
  std::string asInt;
  std::string asFloat;
};

std::vector<Extreme> const& Extremes() {
  static std::vector<Extreme> const extremes = {
      {"0", "0.0"},
      {"-1", "-1.0"},
      {"", "." + std::string(29, '0') + "1"},
      {"", ".00000001"},
      {"1" + std::string(30, '0'), "1" + std::string(30, '0') + ".0"},
      {"34" + std::string(37, '0'), "34" + std::string(37, '0') + ".0"},
      {"2147483648", "2147483648.0"},
      {"9223372036854775808", "9223372036854775808.0"},
      {std::string(400, '9'), std::string(400, '9') + ".0"},
  };
  return extremes;
}

// A value for a required parameter beside the one under test: the template's own default, else
// a plain one of its kind.
std::string Filler(TagParameter const& parameter) {
  if (parameter.isString()) {
    char const* text = static_cast<TagParameterString const&>(parameter).getValue();
    return std::string("\"") + (text && *text ? text : "1") + "\"";
  }
  return "1";
}

struct ParameterCase {
  std::string tag;
  std::string others;  // the required parameters beside it, each followed by ", "
  std::string name;
  bool isInt;
};

// Every numeric parameter of every template of every tag, once per template list (names that
// share a class share its list), with the other required parameters filled in.
std::vector<ParameterCase> NumericParameters() {
  std::vector<ParameterCase> cases;
  std::set<std::tuple<ListOfTPLs const*, int, std::string>> seen;
  for (TagName const& entry : AllTagNames()) {
    std::unique_ptr<ARMusicalTag> tag(entry.make(PreviousStateTags{}));
    auto* parametered = dynamic_cast<ARMTParameter*>(tag.get());
    if (!parametered) continue;
    testing::internal::CaptureStderr();
    ListOfTPLs const* templates = ARMTParameter::TemplatesOf(*parametered);
    testing::internal::GetCapturedStderr();
    if (!templates) continue;
    int index = 0;
    for (void* pos = templates->GetHeadPosition(); pos; ++index) {
      TagParameterList const* templ = templates->GetNext(pos);
      for (void* at = templ->GetHeadPosition(); at;) {
        TagParameter const* tested = templ->GetNext(at);
        if (!tested->isFloat()) continue;
        if (!seen.emplace(templates, index, tested->mName.c_str()).second) continue;
        // Required parameters lead their templates: by position they need no name, which the
        // text cannot always write (a unit such as "m" is no name).
        std::string others;
        int position = 0;
        int positional = 0;
        for (void* other = templ->GetHeadPosition(); other; ++position) {
          TagParameter const* filled = templ->GetNext(other);
          if (filled == tested || !filled->mRequired) continue;
          if (position == positional)
            ++positional;
          else
            others += std::string(filled->mName.c_str()) + "=";
          others += Filler(*filled) + ", ";
        }
        cases.push_back({entry.name, others, tested->mName.c_str(), tested->isInt()});
      }
    }
  }
  return cases;
}

class ExtremeParametersTest : public testing::Test {
 protected:
  void SetUp() override {
    RazidInitDesc desc{&engine.device(), nullptr, nullptr, nullptr};
    ASSERT_EQ(RazidInit(&desc), 0);
  }
  void TearDown() override { RazidShutdown(); }

  // The text drawn or refused, with a bounded count of drawing.
  EngineTesting::RenderedText ExpectBounded(std::string const& text) {
    SCOPED_TRACE(text.substr(0, 200));
    EngineTesting::RenderedText const outcome =
        EngineTesting::RenderText(text, engine.device().getVGSystem());
    EXPECT_TRUE(outcome.drawn() || outcome.refused()) << "result " << outcome.result;
    EXPECT_LT(outcome.deviceCalls, kMostDeviceCalls);
    // A units tag of one text must not carry into the next.
    ARUnits::sType = "hs";
    return outcome;
  }

  Layout::OfflineEngine engine;
};

TEST_F(ExtremeParametersTest, EveryNumericParameterOfEveryTagIsDrawnOrRefused) {
  std::vector<ParameterCase> const cases = NumericParameters();
  // The common parameters of every tag, and each tag's own.
  ASSERT_GT(cases.size(), 200u);
  for (ParameterCase const& c : cases) {
    for (Extreme const& extreme : Extremes()) {
      // An int parameter refuses a float by its type, and a float one takes ints as well.
      std::vector<std::string> values;
      if (!c.isInt || extreme.asInt.empty()) values.push_back(extreme.asFloat);
      if (!extreme.asInt.empty()) values.push_back(extreme.asInt);
      for (std::string const& value : values) {
        std::string const tag = "\\" + c.tag + "<" + c.others + c.name + "=" + value + ">";
        ExpectBounded("[ " + tag + " e f ]");
        ExpectBounded("[ " + tag + "( e f ) ]");
      }
    }
  }
}

// Texts that once aborted on a spring's negative force, or never ended drawing a stem or adding
// up dots.
TEST_F(ExtremeParametersTest, NumbersThatOnceAbortedOrNeverEndedAreBroughtToTheirRanges) {
  struct Case {
    char const* text;
    char const* warning;
  } const cases[] = {
      {"[ \\noteFormat<size=100000000000000000000.0>( e f ) ]",
       "Razid Warning: Tag parameter out of range:  size\n"},
      {"[ \\noteFormat<size=.00000001>( e ) ]",
       "Razid Warning: Tag parameter out of range:  size\n"},
      {"[ \\dispDur<2147483648,2147483648,2147483648>( e ) ]",
       "Razid Warning: Tag parameter out of range:  n\n"
       "Razid Warning: Tag parameter out of range:  d\n"
       "Razid Warning: Tag parameter out of range:  ndots\n"},
      {"[ \\dispDur<1,4,100000000>( e ) ]", "Razid Warning: Tag parameter out of range:  ndots\n"},
  };
  for (Case const& c : cases) {
    EngineTesting::RenderedText const outcome = ExpectBounded(c.text);
    EXPECT_TRUE(outcome.drawn()) << c.text;
    EXPECT_EQ(outcome.warnings, c.warning) << c.text;
  }
}

// Numbers written inside the texts of meters, tuplets and tempo marks, and as note values and
// octaves.
TEST_F(ExtremeParametersTest, NumbersInsideTextsAndNotesAreDrawnOrRefused) {
  for (Extreme const& extreme : Extremes()) {
    if (extreme.asInt.empty()) continue;
    std::string const n = extreme.asInt;
    std::vector<std::string> texts = {
        "[ \\meter<\"" + n + "/4\"> c d ]",
        "[ \\meter<\"4/" + n + "\"> c d ]",
        "[ \\tuplet<\"-" + n + "-\">( c/8 d e ) ]",
        "[ \\tuplet<\"" + n + ":" + n + "\">( c/8 d e ) ]",
        "[ \\tempo<\"Lento\",\"1/4=" + n + "\"> c ]",
        "[ \\key<" + n + "> c ]",
        "[ \\staff<" + n + "> c ]",
        "[ \\oct<" + n + ">( c d ) ]",
        "[ c" + n + " d ]",
    };
    // The grammar writes note values and tag ids without a sign.
    if (n[0] != '-') {
      texts.push_back("[ \\meter<\"" + n + "/" + n + "\"> c*" + n + " ]");
      texts.push_back("[ c*" + n + "/" + n + " e/" + n + ". ]");
      texts.push_back("[ \\slurBegin:" + n + " d e \\slurEnd:" + n + " ]");
    }
    for (std::string const& text : texts) ExpectBounded(text);
  }
}

}  // namespace
