#include "src/core/score_builder/score_builder.h"

#include <gtest/gtest.h>

#include <QImage>

#include "engine_test_fixture.h"
#include "src/core/midi/error.h"
#include "src/core/score_provider/score_provider.h"

namespace {

using Core::ScoreBuilder;

std::string Chord(std::vector<unsigned int> keys) {
  return Core::ScoreProvider::GetQuestionScoreNotes(keys, true, false,
                                                    Core::ScoreProvider::ST_CHORD);
}

class ScoreBuilderTest : public EngineTest {};

TEST_F(ScoreBuilderTest, ExerciseScoreOfAChordHasOneBoxPerNoteOnOnePage) {
  Core::ScoresDescription score;
  ScoreBuilder().BuildScores(Chord({39, 43, 46}), score, ScoreBuilder::ExerciseScore);
  ASSERT_EQ(score.pages.size(), 1);
  const Core::ScorePageDescription& page = score.pages.first();
  EXPECT_EQ(page.score->size(), QSize(1050, 350));
  EXPECT_EQ(page.score->devicePixelRatio(), 1.0);
  EXPECT_EQ(std::pair(score.usedWidth, score.usedHeight), std::pair(0, 0));

  // C, E and G in one column, in drawing order, C lowest (C sits on a ledger line below the
  // staff that the first bar line spans, G inside it); ink where the boxes are.
  ASSERT_EQ(score.noteRects.size(), 3);
  QVector<QRectF> boxes = score.noteRects;
  std::sort(boxes.begin(), boxes.end(), [](auto& a, auto& b) { return a.y() > b.y(); });
  EXPECT_GT(boxes[0].y(), boxes[1].y());
  EXPECT_GT(boxes[1].y(), boxes[2].y());
  for (const QRectF& box : boxes) {
    EXPECT_NEAR(box.center().x(), boxes[0].center().x(), 1);
    EXPECT_GT(qAlpha(page.score->toImage().pixel(box.center().toPoint())), 0);
  }
  EXPECT_GT(boxes[0].bottom(), page.staffTop + page.height);
  EXPECT_GT(boxes[2].top(), page.staffTop);
  EXPECT_GT(page.width, boxes[0].right());
  EXPECT_LT(page.staffTop + page.height, 350);
}

TEST_F(ScoreBuilderTest, InvalidTextThrowsLeavesTheTargetAloneAndReleasesThePainter) {
  Core::ScoresDescription score;
  score.imageWidth = 77;
  ScoreBuilder builder;
  try {
    builder.BuildScores("{ [ c1 ", score, ScoreBuilder::ExerciseScore);
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.GetCode(), 0x500);
    EXPECT_EQ(error.GetMessage(), "bad rmn code");
    EXPECT_STREQ(error.GetFunction(), "InitializePainter");
  }
  EXPECT_EQ(score.imageWidth, 77);
  EXPECT_TRUE(score.pages.isEmpty());
  builder.BuildScores(Chord({39}), score, ScoreBuilder::ExerciseScore);
  EXPECT_EQ(score.pages.size(), 1);
}

// Lesson rows on a 1440 x 900 screen. The music keeps the engine page's aspect (image width x
// 800 / image height units wide, 800 high), so its used height shows the page format.
TEST_F(ScoreBuilderTest, LessonRowsFollowTheScreen) {
  for (auto [mode, row, imageHeight, pageWidth] :
       {std::tuple{ScoreBuilder::ThirdScreen, 300, 260, 4406},
        {ScoreBuilder::QuarterScreen, 225, 185, 6192}}) {
    Core::ScoresDescription score;
    ScoreBuilder(nullptr, 0).BuildScores(Chord({39, 43}), score, mode);
    EXPECT_EQ(std::tuple(score.rowHeight, score.imageHeight, score.imageWidth),
              std::tuple(row, imageHeight, 1432));
    ASSERT_EQ(score.pages.size(), 1);
    EXPECT_EQ(score.pages[0].fingers->size(), QSize(1432, row));
    EXPECT_EQ(score.usedWidth, 1432);
    EXPECT_EQ(score.usedHeight, int(1432 * (float(1000 * 800 / pageWidth) / 1000)));
    EXPECT_TRUE(score.noteRects.isEmpty());
  }
}

}  // namespace
