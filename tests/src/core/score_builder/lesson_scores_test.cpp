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

TEST(LessonScoreProvider, CutsTheTextByHandAndSizesMeasures) {
  LessonScoreProvider provider;
  provider.rmn = "{ [ \\staff<1> c ], [ \\staff<2> e ] }";
  EXPECT_EQ(provider.GetRazidScores(0), "{ [ \\staff<1> c ] }");
  EXPECT_EQ(provider.GetRazidScores(1), "{ [ \\staff<1> e ] }");
  EXPECT_EQ(provider.GetRazidScores(2), provider.rmn);
  provider.rmn = "{ [ c ] }";  // one voice: nothing to cut
  EXPECT_EQ(provider.GetRazidScores(1), provider.rmn);

  for (auto [factor, divisor, size] : {std::tuple{3, 4, 288.0}, {5, 8, 240.0}, {2, 0, 0.0}}) {
    provider.measureFactor = factor;
    provider.measureDivisor = divisor;
    EXPECT_EQ(provider.GetMeasureSize(), size) << factor << "/" << divisor;
  }
}

class LessonScoresTest : public EngineTest {};

TEST_F(LessonScoresTest, StoredNotesTakeTheMapPositionsLeftToRightLowestHeadFirst) {
  QRazidPainter* painter = QRazidPainter::createRazidPainter();
  ASSERT_TRUE(painter->setRMNCode("{ [ \\staff<1> \\clef<\"g2\"> { c1, e1, g1 } d1 ] }"));
  QImage image(1000, 400, QImage::Format_ARGB32_Premultiplied);
  painter->draw(std::make_unique<QPainter>(&image).get(), 1, image.rect(), image.rect());
  void* root = RazidMapGetRootElement(painter->grHandle(), 1);

  LessonScoreProvider provider;
  QVector<Core::NoteDesc> part(5);  // five stored notes, four in the map
  for (int i = 0; i < 5; ++i) {
    part[i].id = 4 - i;  // against the part's order: the output is sorted by time, then id
    part[i].time = i < 3 ? 0 : i;
  }
  provider.voiceNotes = {{QVector<Core::NoteDesc>(), part}};
  QVector<Core::NoteDesc> out;
  provider.MapRazidNotePositions(root, 0, 1, 3, out);
  ASSERT_EQ(out.size(), 4);
  // The chord's lowest head went to the part's first note (id 4), its top one to id 2.
  EXPECT_EQ(out[0].id, 2);
  EXPECT_EQ(out[3].id, 1);
  EXPECT_EQ(out[0].x, out[2].x);
  EXPECT_LT(out[0].y, out[1].y);
  EXPECT_LT(out[1].y, out[2].y);
  EXPECT_GT(out[3].x, out[2].x);
  for (const Core::NoteDesc& note : out) EXPECT_EQ(note.page, 3);

  for (auto [map, voice, index] :
       {std::tuple{root, 1, 0}, {root, 0, 2}, {root, -1, 0}, {nullptr, 0, 1}})
    provider.MapRazidNotePositions(map, voice, index, 1, out);
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
  ASSERT_EQ(score->thirdSet->size(), 3);
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
  EXPECT_EQ(manager.GetScoreIndex("broken"), static_cast<unsigned long>(-1));
}

}  // namespace
