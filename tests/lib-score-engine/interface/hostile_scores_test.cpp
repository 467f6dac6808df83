// Texts the product never writes but a user of the engine or a fuzzer may: each one is drawn or
// refused, through the engine's interface, without endless work and in bounded memory.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "GRMusic.h"
#include "Razid.h"
#include "VGDevice.h"
#include "engine_state.h"
#include "rendered_text.h"
#include "support/patience.h"
#include "support/sanitizers.h"
#include "tests/lib-score-engine/sample_scores.h"
#include "tools/layout/offline_engine.h"

namespace {

using EngineTesting::Repeated;

// The sanitizers slow the engine down a few times, ThreadSanitizer most.
constexpr double kSlowdown = Testing::UnderThreadSanitizer    ? 10
                             : Testing::UnderAddressSanitizer ? 4
                                                              : 1;
// Music at the engine's work limits takes a few seconds and some hundreds of megabytes in this
// build; a text that escaped them would take far more.
constexpr double kMostSeconds = Testing::EndlessWorkSeconds * kSlowdown;
constexpr double kMostMegabytes = 800;

std::string Numbered(int from, int to, std::function<std::string(int)> const& piece) {
  std::string text;
  for (int i = from; i <= to; ++i) text += piece(i);
  return text;
}

std::string PlainNotes(int bytes) {
  return "[ " + Repeated("c d e f g a h c2 d e f g a h c1 ", bytes / 32) + "]";
}

// So many beams around as many staccato ranges around 200 sixteenths: every beam sets every
// stem, and every note holds a staccato of each range.
std::string BeamsAroundMarks(int depth) {
  return Repeated("\\beam( ", depth) + Repeated("\\stacc( ", depth) +
         Repeated("c2/16 d2 e2 f2 g2 a2 h2 c3 ", 25) + Repeated(") ", 2 * depth);
}

using Outcome = EngineTesting::RenderedText;

class HostileScoresTest : public testing::Test {
 protected:
  void SetUp() override {
    RazidInitDesc desc{&engine.device(), nullptr, nullptr, nullptr};
    ASSERT_EQ(RazidInit(&desc), 0);
  }
  void TearDown() override { RazidShutdown(); }

  // Parses, lays out and draws every page of the text.
  Outcome Render(std::string const& text) {
    Outcome const outcome = EngineTesting::RenderText(text, engine.device().getVGSystem());
    if (outcome.pages > 0) {
      EXPECT_GT(outcome.deviceCalls, 0);
    }
    return outcome;
  }

  // Drawn or refused, with bounded work and memory; resident memory is left unchecked
  // under the sanitizers, whose quarantine and shadow it counts.
  static void ExpectBounded(Outcome const& outcome) {
    EXPECT_TRUE(outcome.drawn() || outcome.refused()) << "result " << outcome.result;
    EXPECT_LT(outcome.cpuSeconds, kMostSeconds);
    if (!Testing::UnderAddressSanitizer && !Testing::UnderThreadSanitizer) {
      EXPECT_LT(outcome.peakMegabytes, kMostMegabytes);
    }
  }

  Layout::OfflineEngine engine;
};

TEST_F(HostileScoresTest, TextsThatOnceAbortedAreDrawnOrRefused) {
  struct Case {
    char const* text;
    bool drawn;
  } const cases[] = {
      // A mark given a range it cannot have stays a mark, not an event of the break pass.
      {"{ [ \\meter<\"4/4\"> \\mark<\"A\">(c d e f g a h c d e f g a h c d) ], "
       "[ \\meter<\"4/4\"> c*4/1 ] }",
       true},
      {"{ [ \\meter<\"4/4\"> \\title<\"A\">(c d e f g a h c d e f g a h c d) ], "
       "[ \\meter<\"4/4\"> c*4/1 ] }",
       true},
      // Lengths shorter than any value drawn are read as 1/256, whose dates ints hold.
      {"[\\meter<\"3/8\">d/61811110c*32\\headsReverse]", true},
      {"[eeeeeeeed/999999d/99999e|ce\\cue|c]", true},
      {"[c*3/4777777777c*6d]", true},
      {"[ c#&#&2*3/4777777777 c*6 d/8. e777777777777777777777777777777777.. ]", true},
      // Dates that no fraction of ints holds exactly.
      {"[\\meter<\"3/8\"> d/251 c/241 d/239 c/233 \\headsReverse]", false},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.text);
    Outcome const outcome = Render(c.text);
    ExpectBounded(outcome);
    EXPECT_EQ(outcome.drawn(), c.drawn);
  }
}

TEST_F(HostileScoresTest, LayoutsOfAnySizeAreDrawnOrRefusedQuickly) {
  struct Case {
    char const* what;
    std::string text;
  } const cases[] = {
      {"a long note in a tiny meter", "[ \\meter<\"1/800\"> c*100/1 ]"},
      {"12 quarters in a tiny meter", "[ \\meter<\"1/800\"> c*12/4 ]"},
      {"24 quarters in a tiny meter", "[ \\meter<\"1/800\"> c*24/4 ]"},
      {"48 quarters in a tiny meter", "[ \\meter<\"1/800\"> c*48/4 ]"},
      {"120 quarters in a tiny meter", "[ \\meter<\"1/800\"> c*120/4 ]"},
      {"20000 numbered beams opened, then closed",
       "[ " +
           Numbered(1, 20000, [](int i) { return "\\beamBegin:" + std::to_string(i) + " c/8 "; }) +
           Numbered(1, 20000, [](int i) { return "\\beamEnd:" + std::to_string(i) + " "; }) + "]"},
      {"10000 voltas", "[ " + Repeated("\\volta<\"1.\">( c ) ", 10000) + "]"},
      {"20000 voltas", "[ " + Repeated("\\volta<\"1.\">( c ) ", 20000) + "]"},
      // Each text under a line once looked through the whole line for its lowest note.
      {"4000 texts on one line", "[ " + Repeated("\\text<\"a\"> c ", 4000) + "]"},
      {"20000 texts with ranges", "[ " + Repeated("\\text<\"a\">( c ) ", 20000) + "]"},
      // Every line break once finished every system of the page again, and every jump mark
      // looked through the whole staff for the notes under it.
      {"2000 forced line breaks", "[ " + Repeated("\\newLine c ", 2000) + "]"},
      {"3000 coda marks", "[ " + Repeated("\\coda c ", 3000) + "]"},
      {"20000 staves", "{ " +
                           Numbered(1, 20000,
                                    [](int i) {
                                      return (i > 1 ? ", [ \\staff<" : "[ \\staff<") +
                                             std::to_string(i) + "> c ]";
                                    }) +
                           " }"},
      {"20000 staves in one voice",
       "[ " + Numbered(1, 20000, [](int i) { return "\\staff<" + std::to_string(i) + "> c "; }) +
           "]"},
      {"5000 voices", "{ " + Repeated("[ c d e f ], ", 4999) + "[ c d e f ] }"},
      // Each wedge once looked for the staff of every element of every voice it passed.
      {"400 voices under wedges", "{ " +
                                      Repeated("[ \\cresc( c d e f ) \\dim( g a h c2 ) ], ", 399) +
                                      "[ \\cresc( c d e f ) \\dim( g a h c2 ) ] }"},
      // Each display duration closing under the ranges still open looks for the one in force.
      {"140000 display durations under as many numbered ranges",
       "[ " + Numbered(1, 140000, [](int i) { return "\\staccBegin:" + std::to_string(i) + " "; }) +
           "c " + Repeated("\\dispDur<1,8>() ", 140000) +
           Numbered(1, 140000, [](int i) { return "\\staccEnd:" + std::to_string(i) + " "; }) +
           "d ]"},
      // The marks once followed each stem as every beam over it set it.
      {"1000 beams around 1000 staccato ranges, twice",
       "[ " + BeamsAroundMarks(1000) + BeamsAroundMarks(1000) + "]"},
      {"100 KB of plain notes", PlainNotes(100000)},
      {"100 KB of plain notes on two staves", SampleScores::PlainTwoStaves(100000)},
      {"250 KB of plain notes", PlainNotes(250000)},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.what);
    Outcome const outcome = Render(c.text);
    ExpectBounded(outcome);
    std::cout << c.what << ": " << (outcome.drawn() ? "drawn" : "refused") << " in "
              << outcome.cpuSeconds << " s, peak " << outcome.peakMegabytes << " MB\n";
  }
}

TEST_F(HostileScoresTest, MusicBeyondTheLayoutLimitIsRefusedWithAWarning) {
  Outcome const outcome = Render("[ \\meter<\"1/800\"> c*120/4 ]");
  EXPECT_TRUE(outcome.refused());
  EXPECT_NE(outcome.warnings.find("Razid Warning: Music too large for one layout - ignored"),
            std::string::npos);
  // Within the limit the same music lays out.
  double const limit = GRMusic::sMaxLayoutWork;
  GRMusic::sMaxLayoutWork = 1.0e8;
  EXPECT_TRUE(Render("[ \\meter<\"1/800\"> c*120/4 ]").drawn());
  GRMusic::sMaxLayoutWork = limit;
}

// Work the estimate does not see, such as a search over every earlier element for each one,
// still ends the layout once it has taken more steps than the limit allows.
TEST_F(HostileScoresTest, LayoutsTakingMoreStepsThanTheLimitAllowsAreRefusedWithAWarning) {
  std::string const text = PlainNotes(20000);
  double const steps = GRMusic::sListStepsPerWorkUnit;
  GRMusic::sListStepsPerWorkUnit = 0.001;
  Outcome const outcome = Render(text);
  GRMusic::sListStepsPerWorkUnit = steps;
  EXPECT_TRUE(outcome.refused());
  EXPECT_NE(outcome.warnings.find("Razid Warning: Music too large for one layout - ignored"),
            std::string::npos);
  EXPECT_TRUE(Render(text).drawn());
}

// A piece of a thousand measures on two staves, some thirty-five pages, was once refused as too
// large.
TEST_F(HostileScoresTest, AThousandMeasuresOfPlainMusicAreDrawnToTheLastPage) {
  Outcome const outcome = Render(SampleScores::PlainEighthsOnTwoStaves(1000));
  EXPECT_TRUE(outcome.drawn());
  EXPECT_GT(outcome.pages, 30);
  EXPECT_EQ(outcome.warnings, "");
  ExpectBounded(outcome);
}

// Ten megabytes of text once held about a gigabyte before the parse refused them.
TEST_F(HostileScoresTest, HugeTextsAreRefusedBeforeTheyFillMemory) {
  struct Case {
    char const* what;
    std::string text;
  } const cases[] = {
      {"notes", PlainNotes(10000000)},
      {"notes on two staves", SampleScores::PlainTwoStaves(10000000)},
      {"range tags", "[ " + Repeated("\\beamBegin ", 1000000) + "c ]"},
      {"tag parameters", "[ \\text<" + Repeated("\"a\", ", 2000000) + "\"a\"> c ]"},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.what);
    testing::internal::CaptureStdout();
    Outcome const outcome = Render(c.text);
    // The parse ends as too large, not with a syntax error at the point where it stopped.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(outcome.refused());
    EXPECT_EQ(RazidGetParseErrorLine(), 0);
    EXPECT_NE(outcome.warnings.find("Razid Warning: Music too large for one parse - ignored"),
              std::string::npos);
    ExpectBounded(outcome);
  }
}

// A long note costs the passes and the layout as much as the measures it is cut into, or its
// wholes without a meter; a few of them, a few dozen bytes, once passed the parse and kept the
// engine busy for seconds before the layout refused them.
TEST_F(HostileScoresTest, LongNotesBeyondTheParseLimitAreRefusedByTheParse) {
  struct Case {
    char const* what;
    std::string text;
  } const cases[] = {
      {"two of the longest notes", "[ c*32767 c*32767 ]"},
      {"long notes without a meter", "[ " + Repeated("c*8000 ", 5) + "]"},
      {"long rests", "[ _*20000 _*20000 ]"},
      {"measures longer than a whole", "[ \\meter<\"3/1\"> c*20000 d*20000 ]"},
      {"a meter after the first long note", "[ c*20000 \\meter<\"4/4\"> c*20000 ]"},
      {"long notes in a short voice", "{ [ c ], [ c*20000 d*20000 ] }"},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.what);
    Outcome const outcome = Render(c.text);
    EXPECT_TRUE(outcome.refused());
    EXPECT_NE(outcome.warnings.find("Razid Warning: Music too large for one parse - ignored"),
              std::string::npos);
    ExpectBounded(outcome);
  }
  // Long notes well within the limit are drawn as before.
  EXPECT_TRUE(Render("[ c*1000 _*1000 \\meter<\"3/1\"> d*1000 ]").drawn());
}

}  // namespace
