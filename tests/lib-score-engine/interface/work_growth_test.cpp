// Texts that pile thousands of tags onto one date or one line start: the work the engine does
// for each must grow with the text, not with its square, or a text of a few hundred kilobytes
// would keep the engine busy for minutes within its work limits. The work is counted in steps
// through the engine's lists, never timed.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "Razid.h"
#include "VGDevice.h"
#include "engine_state.h"
#include "engine_work.h"
#include "rendered_text.h"
#include "tools/layout/offline_engine.h"

namespace {

using EngineTesting::Repeated;

// A text eight times as long may take eight times the work, and a little more for what grows
// with the pages and systems it fills; work growing with the square of the text would take
// sixty-four times.
constexpr double kMostGrowth = 9;

// Pieces taken in turn, times in all.
std::string Alternating(std::initializer_list<char const*> pieces, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += pieces.begin()[i % pieces.size()];
  return text;
}

class WorkGrowthTest : public testing::Test {
 protected:
  void SetUp() override {
    RazidInitDesc desc{&engine.device(), nullptr, nullptr, nullptr};
    ASSERT_EQ(RazidInit(&desc), 0);
  }
  void TearDown() override { RazidShutdown(); }

  // The list steps that parsing, laying out and drawing every page of the text took; the text
  // must be drawn, not refused.
  std::uint64_t WorkFor(std::string const& text) {
    std::uint64_t const before = EngineWork::ListSteps();
    EngineTesting::RenderedText const outcome =
        EngineTesting::RenderText(text, engine.device().getVGSystem());
    EXPECT_TRUE(outcome.drawn()) << "result " << outcome.result << "\n" << outcome.warnings;
    return EngineWork::ListSteps() - before;
  }

  // The text built with count pieces, at a count and at eight times that.
  void ExpectLinear(std::function<std::string(int)> const& text, int count) {
    double const small = static_cast<double>(WorkFor(text(count)));
    double const large = static_cast<double>(WorkFor(text(8 * count)));
    EXPECT_GT(small, 0);
    EXPECT_LE(large, kMostGrowth * small) << "grew " << large / small << "-fold";
  }

  Layout::OfflineEngine engine;
};

TEST_F(WorkGrowthTest, DynamicMarksOnOneNote) {
  ExpectLinear([](int n) { return "[ " + Repeated("\\intens<\"p\"> ", n) + "c ]"; }, 2000);
}

TEST_F(WorkGrowthTest, MarksOfManyKindsOnOneNote) {
  ExpectLinear(
      [](int n) {
        return "[ " +
               Alternating({"\\intens<\"f\"> ", "\\text<\"a\"> ", "\\fermata ", "\\mark<\"A\"> ",
                            "\\coda ", "\\intens<\"pp\"> ", "\\space<1> ", "\\breathMark "},
                           n) +
               "c ]";
      },
      1000);
}

TEST_F(WorkGrowthTest, ClefAndKeyChangesBeforeTheFirstNote) {
  ExpectLinear(
      [](int n) {
        return "[ " +
               Alternating({"\\clef<\"treble\"> ", "\\key<\"D\"> ", "\\meter<\"3/4\"> "}, n) +
               "c d ]";
      },
      500);
}

TEST_F(WorkGrowthTest, EmptyRepeatsAtOneDate) {
  ExpectLinear([](int n) { return "[ " + Repeated("\\repeatBegin \\repeatEnd ", n) + "c ]"; },
               5000);
}

TEST_F(WorkGrowthTest, BreaksWithNothingBetweenThem) {
  ExpectLinear([](int n) { return "[ c " + Repeated("\\newPage ", n) + "d ]"; }, 1250);
  ExpectLinear(
      [](int n) {
        return "[ c " + Alternating({"\\newPage ", "\\newSystem ", "\\newLine "}, n) + "d ]";
      },
      1250);
}

// Each end tag looks only at the ranges still open, not at every range tag before it; ends that
// close nothing, and ranges closed right after they open, leave none behind.
TEST_F(WorkGrowthTest, EndTagsWithoutBegins) {
  ExpectLinear(
      [](int n) {
        return "[ c " +
               Alternating({"\\beamEnd ", "\\crescEnd ", "\\dimEnd ", "\\accelEnd ", "\\slurEnd ",
                            "\\ritEnd "},
                           n) +
               "d ]";
      },
      2000);
  ExpectLinear(
      [](int n) {
        return "[ \\slurBegin c " +
               Alternating({"\\crescBegin d \\crescEnd ", "\\beamEnd e ", "\\dimEnd "}, n) +
               "\\slurEnd c ]";
      },
      1000);
  // Begins that never close are passed by kind: one look tells a kind of begin fits none.
  ExpectLinear(
      [](int n) {
        return "[ " + Repeated("\\beamBegin ", n) + "c " +
               Alternating({"\\crescEnd ", "\\dimEnd d "}, n) + "e ]";
      },
      500);
}

// A note longer than a measure is cut at every bar line, or whole by whole without a meter, and
// the pieces tied: the work grows with the notes' length, not with the text. The notes here are
// too long for a line at either count, so that both texts are laid out twice alike: once
// squeezed, once broken between the pieces.
TEST_F(WorkGrowthTest, PiecesOfLongNotes) {
  for (char const* meter : {"", "\\meter<\"3/4\"> "}) {
    SCOPED_TRACE(meter);
    ExpectLinear(
        [meter](int wholes) {
          std::string const length = std::to_string(wholes);
          return std::string("[ ") + meter + "c*" + length + " _*" + length + " d*" + length + " ]";
        },
        120);
  }
}

// A long chord is cut into tied pieces, each a copy of the chord; a mark inside it, which the
// copies leave out, must not leave a piece's shared stem open over all the pieces after it. As
// above, too long for a line at either count.
TEST_F(WorkGrowthTest, PiecesOfALongChordWithAMarkInside) {
  ExpectLinear(
      [](int wholes) {
        std::string const length = std::to_string(wholes);
        return "[ { c*" + length + ", c*" + length + ", e/4, \\intens<\"p\"> g. } ]";
      },
      60);
}

// A line break inside a long chord: the shared stems that end at the break end on its line, so
// the stems of the pieces after it, with the same pitches, are not gathered into one.
TEST_F(WorkGrowthTest, PiecesOfALongChordWithABreakInside) {
  ExpectLinear(
      [](int wholes) {
        return "[ { c*" + std::to_string(wholes) + ", e7/1, e7/8, \\newSystem e7/1, e7/8, e0. } ]";
      },
      60);
}

// A wedge or a tuplet bracket over hundreds of measures: each staff they cross keeps room for them
// beside its notes, without measuring every note of the mark again.
TEST_F(WorkGrowthTest, MarksOverManyMeasures) {
  ExpectLinear(
      [](int wholes) { return "[ \\meter<\"1/4\"> \\cresc( c*" + std::to_string(wholes) + " ) ]"; },
      100);
  ExpectLinear(
      [](int wholes) {
        return "[ \\meter<\"1/6\"> \\tuplet<\"-3-\">( c*" + std::to_string(wholes) + " ) ]";
      },
      60);
}

// A slur over hundreds of systems keeps a piece on each and rises over the notes it passes there.
// Each system finds its own piece and its own notes, without a walk over the pieces and notes of
// all the others: what the slur adds to the music under it grows with its length.
TEST_F(WorkGrowthTest, ASlurOverManySystems) {
  auto const slurWork = [&](int wholes) {
    std::string const music = "c*" + std::to_string(wholes) + " d";
    double const slurred = WorkFor("[ \\meter<\"1/4\"> \\slur( " + music + " ) ]");
    return slurred - WorkFor("[ \\meter<\"1/4\"> " + music + " ]");
  };
  double const small = slurWork(100);
  double const large = slurWork(800);
  EXPECT_GT(small, 0);
  EXPECT_LE(large, kMostGrowth * small) << "grew " << large / small << "-fold";
}

// A long note without a meter is cut whole by whole, with no bar line where the line could break:
// its pieces and those that follow the meter make one line of many slices. Each staff finds the
// staves beside it on the line, and the line takes in the spacing of each slice, without a walk
// over the slices before it.
TEST_F(WorkGrowthTest, OneLineOfManySlices) {
  ExpectLinear(
      [](int wholes) {
        std::string const length = std::to_string(wholes);
        return "[ c*" + length + " \\meter<\"4/4\"> c*" + length + " ]";
      },
      100);
}

// Every tempo mark stands clear of the music under it: it asks about its own stretch of the line,
// not about all the music on it.
TEST_F(WorkGrowthTest, TempoMarksAlongOneLine) {
  ExpectLinear([](int n) { return "[ " + Repeated("\\tempo<\"Lento\"> c*8 ", n) + "]"; }, 40);
}

// Range tags numbered one by one, all opened at one place and closed at another.
std::string NumberedRanges(char const* kind, char const* parameters, int count,
                           std::string const& inside) {
  std::string text;
  for (int i = 1; i <= count; ++i)
    text += "\\" + std::string(kind) + "Begin:" + std::to_string(i) + parameters + " ";
  text += inside;
  for (int i = 1; i <= count; ++i)
    text += "\\" + std::string(kind) + "End:" + std::to_string(i) + " ";
  return text;
}

// Endings stacked over one note: each finds whether a note comes before its first one in the
// staff once for all of them, not once for each over all the others.
TEST_F(WorkGrowthTest, EndingsStackedOverOneNote) {
  ExpectLinear([](int n) { return "[ c " + NumberedRanges("volta", "<\"1.\">", n, "d ") + "e ]"; },
               250);
  ExpectLinear([](int n) { return "[ " + NumberedRanges("volta", "", n, "d ") + "e ]"; }, 250);
}

// Display durations that open and close under thousands of open ranges: the one in force again
// when one closes is found at once, not by a walk back over every range still open.
TEST_F(WorkGrowthTest, DisplayDurationsUnderManyOpenRanges) {
  ExpectLinear(
      [](int n) {
        return "[ " + Repeated("\\tieBegin ", n) + "c " + Repeated("\\dispDur() ", n) + "d ]";
      },
      500);
  ExpectLinear(
      [](int n) {
        return "[ " + NumberedRanges("stacc", "", n, "c " + Repeated("\\dispDur<1,8>() ", n)) +
               "d ]";
      },
      500);
}

// Marks stacked on notes by ranges: a note takes each mark in, and moves with all of them,
// without going over all its other marks for each.
TEST_F(WorkGrowthTest, MarksStackedOnNotesByRanges) {
  ExpectLinear([](int n) { return "[ " + NumberedRanges("stacc", "", n, "c ") + "]"; }, 250);
  ExpectLinear(
      [](int n) {
        return "[ " + Repeated("\\accent( ", n) + Repeated("c/16 ", 20) + Repeated(") ", n) + "]";
      },
      50);
  // Under as many nested beams, each of which sets every stem: marks that stand past a stem, as
  // where two voices share the staff, follow it once the last beam has set it.
  auto const beamsOverMarks = [](int n, char const* notes) {
    return Repeated("\\beam( ", n) + Repeated("\\stacc( ", n) + Repeated(notes, 10) +
           Repeated(") ", 2 * n);
  };
  ExpectLinear(
      [&](int n) {
        return "{ [ \\staff<1> \\stemsUp " + beamsOverMarks(n, "e2/16 f2 ") +
               "], [ \\staff<1> \\stemsDown " + beamsOverMarks(n, "c1/16 d1 ") + "] }";
      },
      40);
  // Marks of four kinds, which stack in their order outside one another.
  ExpectLinear(
      [](int n) {
        return "[ " + Alternating({"\\stacc( ", "\\ten( ", "\\accent( ", "\\fermata( "}, n) +
               "c d e f g a " + Repeated(") ", n) + "h ]";
      },
      100);
}

// Thousands of ranges opened over one note and closed after it, in the order the ends' numbers
// give: closing one costs the same however many are still open, whether the first opened, the
// last opened or any one between them closes first.
TEST_F(WorkGrowthTest, OpenRangesClosedInAnyOrder) {
  using Order = std::function<int(int, int)>;  // the number the k-th end closes, of n
  auto const closingIn = [](Order const& order) {
    return [order](int n) {
      std::string text = "[ ";
      for (int i = 1; i <= n; ++i) text += "\\staccBegin:" + std::to_string(i) + " ";
      text += "c ";
      for (int k = 0; k < n; ++k) text += "\\staccEnd:" + std::to_string(order(k, n)) + " ";
      return text + "]";
    };
  };
  std::pair<char const*, Order> const orders[] = {
      {"first opened first", [](int k, int) { return k + 1; }},
      {"last opened first", [](int k, int n) { return n - k; }},
      {"from both ends inward", [](int k, int n) { return k % 2 ? n - k / 2 : k / 2 + 1; }},
      // 37 shares no factor with the counts, so every range is closed once, in a scattered order.
      {"scattered", [](int k, int n) { return (k * 37) % n + 1; }},
  };
  for (auto const& [name, order] : orders) {
    SCOPED_TRACE(name);
    ExpectLinear(closingIn(order), 500);
  }
}

}  // namespace
