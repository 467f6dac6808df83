// The largest texts of plain shapes that the engine's limits still let through: each is drawn in
// the memory a trainer's machine can spare, or the limits refuse it.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ARMusic.h"
#include "GRLayoutWork.h"
#include "GRMusic.h"
#include "Razid.h"
#include "VGDevice.h"
#include "engine_state.h"
#include "handle_registry.h"
#include "rendered_text.h"
#include "support/sanitizers.h"
#include "tests/lib-score-engine/sample_scores.h"
#include "tools/layout/offline_engine.h"

namespace {

using EngineTesting::Repeated;

constexpr double kMostMegabytes = 300;

struct Shape {
  char const* what;
  std::function<std::string(int)> text;  // the text of so many pieces
  int piecesForSure;                     // a count the limits let through
};

class LayoutMemoryTest : public testing::Test {
 protected:
  void SetUp() override {
    RazidInitDesc desc{&engine.device(), nullptr, nullptr, nullptr};
    ASSERT_EQ(RazidInit(&desc), 0);
  }
  void TearDown() override { RazidShutdown(); }

  // The layout work the limits see in the text, or -1 when the parse refuses it.
  static double WorkOf(std::string const& text) {
    ARHandle ar = nullptr;
    if (RazidParseString(text.c_str(), &ar) != 0) {
      RazidFreeAR(ar);
      return -1;
    }
    double const work = EstimatedLayoutWork(*EngineState().scores.Find(HandleId(ar))->object);
    RazidFreeAR(ar);
    return work;
  }

  static bool Accepted(Shape const& shape, int pieces) {
    double const work = WorkOf(shape.text(pieces));
    return work >= 0 && work <= GRMusic::sMaxLayoutWork;
  }

  // The most pieces the limits let through: the work grows with the pieces, so it is found from
  // two small counts and then made sure of at its edge.
  static int LargestAccepted(Shape const& shape) {
    int const small = shape.piecesForSure / 8;
    double const w1 = WorkOf(shape.text(small));
    double const w2 = WorkOf(shape.text(2 * small));
    EXPECT_GT(w2, w1);
    int pieces = small + static_cast<int>((GRMusic::sMaxLayoutWork - w1) / (w2 - w1) * small);
    int const step = std::max(1, pieces / 200);
    while (pieces > step && !Accepted(shape, pieces)) pieces -= step;
    while (Accepted(shape, pieces + step)) pieces += step;
    return pieces;
  }

  Layout::OfflineEngine engine;
};

TEST_F(LayoutMemoryTest, TheLargestAcceptedTextOfEachShapeIsDrawnInBoundedMemory) {
  if (Testing::UnderAddressSanitizer || Testing::UnderThreadSanitizer)
    GTEST_SKIP() << "resident memory counts the sanitizers' shadow and quarantine";
  Shape const shapes[] = {
      {"sixteenths in 4/4",
       [](int n) { return "[ \\meter<\"4/4\"> " + Repeated("c/16 ", n) + "]"; }, 40000},
      {"sixteenths without a meter", [](int n) { return "[ " + Repeated("c/16 ", n) + "]"; },
       40000},
      {"measures of eighths on two staves", SampleScores::PlainEighthsOnTwoStaves, 2000},
      {"slurred pairs with lyrics and staccato",
       [](int n) {
         return "[ " + Repeated("\\lyrics<\"la la\">( \\slur( \\stacc( c/8 d ) ) ) ", n) + "]";
       },
       8000},
      // Each range puts a mark on every note it covers.
      {"tenuto ranges nested over four thousand notes",
       [](int n) {
         return "[ " + Repeated("\\ten( ", n) + "c/32 " + Repeated("c ", 3999) + Repeated(") ", n) +
                "]";
       },
       150},
  };
  for (Shape const& shape : shapes) {
    SCOPED_TRACE(shape.what);
    int const pieces = LargestAccepted(shape);
    EXPECT_GE(pieces, shape.piecesForSure);
    EngineTesting::RenderedText const outcome =
        EngineTesting::RenderText(shape.text(pieces), engine.device().getVGSystem());
    // The step limit may still refuse what the estimate let through.
    EXPECT_TRUE(outcome.drawn() || outcome.refused()) << "result " << outcome.result;
    if (outcome.drawn()) {
      EXPECT_LT(outcome.peakMegabytes, kMostMegabytes);
    }
    std::cout << shape.what << ": " << pieces << " drawn in " << outcome.cpuSeconds << " s, peak "
              << outcome.peakMegabytes << " MB\n";
  }
}

}  // namespace
