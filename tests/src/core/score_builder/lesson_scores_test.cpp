#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "Razid.h"
#include "engine_test_fixture.h"
#include "src/core/midi/error.h"
#include "src/core/score_builder/lesson_score_provider.h"
#include "src/core/score_builder/score_manager.h"

namespace {

using Core::LessonScoreProvider;

const std::string TwoVoices = "{ [ \\staff<1> c ], [ \\staff<2> e ] }";

TEST(LessonScoreProvider, CutsTheTextByHand) {
  LessonScoreProvider provider;
  provider.rmn = TwoVoices;
  EXPECT_EQ(provider.GetRazidScores(0), "{ [ \\staff<1> c ] }");
  EXPECT_EQ(provider.GetRazidScores(1), "{ [ \\staff<1> e ] }");
  EXPECT_EQ(provider.GetRazidScores(7), "{ [ \\staff<1> e ] }");
  EXPECT_EQ(provider.GetRazidScores(2), TwoVoices);
  provider.rmn = "{ [ c ] }";  // one voice: nothing to cut
  EXPECT_EQ(provider.GetRazidScores(1), provider.rmn);
}

TEST(LessonScoreProvider, MeasureSizeInWholePulses) {
  struct Case {
    int factor, divisor;
    double size;
  };
  for (const Case c : {Case{3, 4, 288.0}, Case{5, 8, 240.0}, Case{1, 3, 128.0}, Case{2, 0, 0}}) {
    LessonScoreProvider provider;
    provider.measureFactor = c.factor;
    provider.measureDivisor = c.divisor;
    EXPECT_EQ(provider.GetMeasureSize(), c.size) << c.factor << "/" << c.divisor;
  }
}

class LessonScoresTest : public EngineTest {};

TEST_F(LessonScoresTest, StoredNotesTakeTheMapPositionsLeftToRightLowestHeadFirst) {
  QRazidPainter* painter = QRazidPainter::createRazidPainter();
  ASSERT_TRUE(painter->setRMNCode("{ [ \\staff<1> \\clef<\"g2\"> { c1, e1, g1 } d1 ] }"));
  QImage image(1000, 400, QImage::Format_ARGB32_Premultiplied);
  {
    QPainter canvas(&image);
    painter->draw(&canvas, 1, image.rect(), image.rect());
  }
  void* root = RazidMapGetRootElement(painter->grHandle(), 1);
  ASSERT_NE(root, nullptr);

  LessonScoreProvider provider;
  QVector<Core::NoteDesc> part;
  for (int i = 0; i < 5; ++i) {
    Core::NoteDesc note;
    note.id = 4 - i;  // ids run against the order of the part: the output is sorted by id
    note.time = i < 3 ? 0 : i;
    part.append(note);
  }
  provider.voiceNotes = {{QVector<Core::NoteDesc>(), part}};

  QVector<Core::NoteDesc> out;
  provider.MapRazidNotePositions(root, 0, 1, 3, out);
  ASSERT_EQ(out.size(), 4);  // five stored notes, four in the map
  // Sorted by time then id: the chord's notes come as ids 2, 3, 4 = stored 2, 1, 0.
  EXPECT_EQ(out[0].id, 2);
  EXPECT_EQ(out[3].id, 1);
  EXPECT_EQ(out[0].x, out[2].x);
  EXPECT_LT(out[0].y, out[1].y);  // id 2 is the chord's top note, id 4 its lowest
  EXPECT_LT(out[1].y, out[2].y);
  EXPECT_GT(out[3].x, out[2].x);
  for (const Core::NoteDesc& note : out) EXPECT_EQ(note.page, 3);

  // Missing parts, voices and maps leave out alone.
  for (auto [voice, part_] : {std::pair{1, 0}, {0, 2}, {-1, 0}}) {
    provider.MapRazidNotePositions(root, voice, part_, 1, out);
    EXPECT_EQ(out.size(), 4);
  }
  provider.MapRazidNotePositions(nullptr, 0, 1, 1, out);
  EXPECT_EQ(out.size(), 4);
  QRazidPainter::destroyRazidPainter(painter);
}

TEST_F(LessonScoresTest, ManagerRendersEachNameOnceForThreeHandsInTwoRowSizes) {
  Core::ScoreManager manager;
  auto provider = std::make_shared<LessonScoreProvider>();
  provider->rmn = "{ [ \\staff<1> \\clef<\"g2\"> c1 d1 ], [ \\staff<2> \\clef<\"f4\"> c0 ] }";
  manager.AddScore("scale", provider);
  ASSERT_EQ(manager.GetScoreCount(), 1u);
  const auto score = manager.GetScore(0);
  EXPECT_EQ(score->name, "scale");
  ASSERT_EQ(score->thirdSet->size(), 3);
  ASSERT_EQ(score->quarterSet->size(), 3);
  for (int hand = 0; hand < 3; ++hand) {
    EXPECT_EQ((*score->thirdSet)[hand].rowHeight, 300);
    EXPECT_EQ((*score->quarterSet)[hand].rowHeight, 225);
    EXPECT_EQ((*score->thirdSet)[hand].pages.size(), 1);
  }

  provider->rmn = "{ [ c";
  manager.AddScore("scale", provider);  // present already: not built again
  EXPECT_EQ(manager.GetScore(0), score);
  EXPECT_THROW(manager.AddScore("broken", provider), Error);
  EXPECT_EQ(manager.GetScoreCount(), 1u);
  EXPECT_EQ(manager.GetScoreIndex("scale"), 0u);
  EXPECT_EQ(manager.GetScoreIndex("broken"), static_cast<unsigned long>(-1));
}

}  // namespace
