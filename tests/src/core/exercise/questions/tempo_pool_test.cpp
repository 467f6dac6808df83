#include <gtest/gtest.h>

#include <map>

#include "src/core/exercise/questions/question_shapes.h"
#include "src/core/exercise/questions/tempo_pool.h"

namespace Core {
namespace {

TEST(TempoPool, WithoutPiecesEveryClassPlaysItsFallbackNotes) {
  std::vector<QuestionTempoData> pool;
  GenerateTempoPool(pool);
  ASSERT_EQ(pool.size(), 448u);
  for (std::size_t i = 0; i < pool.size(); ++i) {
    const unsigned tempo = static_cast<unsigned>(i / 64);
    ASSERT_EQ(pool[i].Id, static_cast<int>(i));
    EXPECT_EQ(pool[i].Text, GetTempoString(tempo));
    EXPECT_EQ(pool[i].Picture, GetTempoResource(tempo));
    EXPECT_EQ(pool[i].Description, GetTempoDescr(tempo));
    EXPECT_EQ(pool[i].Stream, pool[tempo * 64].Stream);  // one stream per class, shared
  }
  EXPECT_EQ(pool[6 * 64].Text, "Vivace");
}

TEST(TempoPool, FallbackPlaysElevenBeatsAndStopsEveryNote) {
  std::vector<QuestionTempoData> pool;
  GenerateTempoPool(pool);
  const MidiStream& adagio = *pool[0].Stream;  // 70 bpm
  const double beat = 60.0 / 70.0;

  std::map<int, double> sounding;  // MIDI note -> start
  int ons = 0, offs = 0;
  double previousTime = 0.0;
  for (const MidiEvent& event : adagio.GetEvents()) {
    const MidiMessage& m = event.GetMessage();
    EXPECT_GE(event.GetTime(), previousTime);
    previousTime = event.GetTime();
    EXPECT_EQ(m.GetVelocity(), 96);
    EXPECT_EQ(m.GetChannel(), 0);
    if (m.IsNoteOn()) {
      EXPECT_DOUBLE_EQ(event.GetTime(), ons * beat);
      EXPECT_EQ(m.GetNote(), 77 + ons);
      sounding[m.GetNote()] = event.GetTime();
      ++ons;
    } else {
      ASSERT_TRUE(m.IsNoteOff());
      ASSERT_EQ(sounding.count(m.GetNote()), 1u);
      EXPECT_NEAR(event.GetTime() - sounding[m.GetNote()], beat, 1e-9);
      sounding.erase(m.GetNote());
      ++offs;
    }
  }
  EXPECT_EQ(ons, 11);
  EXPECT_EQ(offs, 11);
  EXPECT_TRUE(sounding.empty()) << "a note is left hanging";

  // Largo's typical speed is 50 bpm.
  EXPECT_DOUBLE_EQ(pool[3 * 64].Stream->GetEvents().constLast().GetTime(), 11 * 60.0 / 50.0);
}

TEST(TempoPool, PiecesOfAClassAreSharedAndRepeatedToSixtyFourEntries) {
  std::map<unsigned, std::vector<std::shared_ptr<MidiStream>>> bank;
  for (int k = 0; k < 3; ++k) bank[TEMPO_ANDANTE].push_back(std::make_shared<MidiStream>());
  for (int k = 0; k < 70; ++k) bank[TEMPO_PRESTO].push_back(std::make_shared<MidiStream>());
  std::vector<TempoTypes> asked;

  std::vector<QuestionTempoData> pool;
  GenerateTempoPool(pool, [&](TempoTypes tempo) {
    asked.push_back(tempo);
    return bank[tempo];
  });
  ASSERT_EQ(pool.size(), 448u);
  EXPECT_EQ(asked, (std::vector<TempoTypes>{TEMPO_ADAGIO, TEMPO_ALLEGRO, TEMPO_ANDANTE, TEMPO_LARGO,
                                            TEMPO_MODERATO, TEMPO_PRESTO, TEMPO_VIVACE}));
  for (unsigned k = 0; k < 64; ++k) {
    EXPECT_EQ(pool[2 * 64 + k].Stream, bank[TEMPO_ANDANTE][k % 3]);
    EXPECT_EQ(pool[2 * 64 + k].Id, static_cast<int>(2 * 64 + k));
    EXPECT_EQ(pool[2 * 64 + k].Text, "Andante");
    EXPECT_EQ(pool[5 * 64 + k].Stream, bank[TEMPO_PRESTO][k]);  // only the first 64 pieces
  }
  // Classes without pieces still fall back.
  EXPECT_EQ(pool[0].Stream->GetEvents().size(), 22);
}

TEST(TempoPool, AFilledPoolIsLeftAlone) {
  std::vector<QuestionTempoData> pool(1);
  pool[0].Id = 42;
  bool asked = false;
  GenerateTempoPool(pool, [&](TempoTypes) {
    asked = true;
    return std::vector<std::shared_ptr<MidiStream>>{};
  });
  ASSERT_EQ(pool.size(), 1u);
  EXPECT_EQ(pool[0].Id, 42);
  EXPECT_FALSE(asked);
}

}  // namespace
}  // namespace Core
