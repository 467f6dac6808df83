#include "src/core/score_builder/score_builder.h"

#include <gtest/gtest.h>

#include <QImage>

#include "engine_test_fixture.h"
#include "src/core/midi/error.h"
#include "src/core/score_provider/score_provider.h"

namespace {

using Core::ScoreBuilder;

class ScoreBuilderTest : public EngineTest {
 protected:
  static std::string Chord(std::vector<unsigned int> keys) {
    return Core::ScoreProvider::GetQuestionScoreNotes(keys, true, false,
                                                      Core::ScoreProvider::ST_CHORD);
  }
};

TEST_F(ScoreBuilderTest, ExerciseScoreOfAChordHasOneBoxPerNoteOnOnePage) {
  Core::ScoresDescription score;
  ScoreBuilder().BuildScores(Chord({39, 43, 46}), score, ScoreBuilder::ExerciseScore);

  ASSERT_EQ(score.pages.size(), 1);
  const Core::ScorePageDescription& page = score.pages.first();
  EXPECT_EQ(page.score->size(), QSize(1050, 350));
  EXPECT_EQ(page.score->devicePixelRatio(), 1.0);
  EXPECT_EQ(score.usedWidth, 0);
  EXPECT_EQ(score.usedHeight, 0);

  // C, E and G: three boxes stacked in one column, C lowest.
  ASSERT_EQ(score.noteRects.size(), 3);
  std::vector<QRectF> boxes(score.noteRects.begin(), score.noteRects.end());
  std::sort(boxes.begin(), boxes.end(), [](auto& a, auto& b) { return a.y() > b.y(); });
  for (const QRectF& box : boxes) {
    EXPECT_GT(box.width(), 0);
    EXPECT_NEAR(box.center().x(), boxes[0].center().x(), box.width());
  }
  EXPECT_GT(boxes[0].y(), boxes[1].y());
  EXPECT_GT(boxes[1].y(), boxes[2].y());

  // The page geometry is the first system and bar line: a staff inside the pixmap, with the
  // note heads near it.
  EXPECT_GT(page.width, boxes[0].right());
  EXPECT_LE(page.width, 1050);
  EXPECT_GT(page.height, 10);
  EXPECT_GT(page.staffTop, 0);
  EXPECT_LT(page.staffTop + page.height, 350);
  EXPECT_GT(boxes[0].bottom(), page.staffTop + page.height);  // C sits on a ledger line
  EXPECT_GT(boxes[2].top(), page.staffTop);

  // Ink was drawn where the boxes say.
  const QImage image = page.score->toImage();
  const QPoint head = boxes[1].center().toPoint();
  EXPECT_GT(qAlpha(image.pixel(head)), 0);
}

TEST_F(ScoreBuilderTest, InvalidTextThrowsAndLeavesTheTargetAlone) {
  Core::ScoresDescription score;
  score.imageWidth = 77;
  score.noteRects.append(QRectF(1, 2, 3, 4));
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
  EXPECT_EQ(score.noteRects.size(), 1);

  // The painter was released: the builder serves the next build.
  builder.BuildScores(Chord({39}), score, ScoreBuilder::ExerciseScore);
  EXPECT_EQ(score.pages.size(), 1);
}

// Lesson rows on a 1440 x 900 screen; the music keeps the engine page's aspect (image width x
// 800 / image height units wide, 800 high), so its used size shows the page format.
TEST_F(ScoreBuilderTest, LessonRowsFollowTheScreen) {
  struct Case {
    ScoreBuilder::ScoreMode mode;
    int row, imageHeight, pageWidth;
  };
  for (const Case& c : {Case{ScoreBuilder::ThirdScreen, 300, 260, 4406},
                        Case{ScoreBuilder::QuarterScreen, 225, 185, 6192}}) {
    SCOPED_TRACE(c.row);
    Core::ScoresDescription score;
    ScoreBuilder(nullptr, 0).BuildScores(Chord({39, 43}), score, c.mode);
    EXPECT_EQ(score.rowHeight, c.row);
    EXPECT_EQ(score.imageHeight, c.imageHeight);
    EXPECT_EQ(score.imageWidth, 1432);
    ASSERT_EQ(score.pages.size(), 1);
    EXPECT_EQ(score.pages[0].score->size(), QSize(1432, c.imageHeight));
    EXPECT_EQ(score.pages[0].fingers->size(), QSize(1432, c.row));
    const float aspect = float(1000 * 800 / c.pageWidth) / 1000;
    EXPECT_EQ(score.usedWidth, 1432);
    EXPECT_EQ(score.usedHeight, int(1432 * aspect));
    EXPECT_EQ(score.pages[0].height, score.usedHeight);
    EXPECT_TRUE(score.noteRects.isEmpty());
  }
}

TEST(RazidBegin, OpensAOneStaffVoice) {
  std::string text;
  EXPECT_EQ(Core::getRazidBegin(text, true), 36u);
  EXPECT_EQ(text, "[ \\staff<1> \\clef<\"g2\">  \\stemsAuto ");
  text = "x";
  Core::getRazidBegin(text, false);
  EXPECT_EQ(text, "x[ \\staff<1> \\clef<\"f4\">  \\stemsAuto ");
}

}  // namespace
