#include <gtest/gtest.h>

#include <map>

#include "src/core/exercise/questions/tempo_pool.h"

namespace Core {
namespace {

using Streams = std::vector<std::shared_ptr<MidiStream>>;

TEST(TempoPool, FallbackPlaysElevenBeatsAndStopsEveryNote) {
  std::vector<QuestionTempoData> pool;
  GenerateTempoPool(pool);
  ASSERT_EQ(pool.size(), 448u);
  EXPECT_EQ(pool[6 * 64 + 5].Text, "Vivace");
  EXPECT_EQ(pool[6 * 64 + 5].Id, 6 * 64 + 5);
  EXPECT_EQ(pool[6 * 64 + 5].Description, GetTempoDescr(TEMPO_VIVACE));
  EXPECT_EQ(pool[6 * 64 + 5].Picture, GetTempoResource(TEMPO_VIVACE));
  EXPECT_EQ(pool[6 * 64 + 5].Stream, pool[6 * 64].Stream);

  const double beat = 60.0 / 70.0;  // adagio's typical speed
  std::map<int, double> sounding;   // MIDI note -> start
  int ons = 0;
  for (const MidiEvent& event : pool[0].Stream->GetEvents()) {
    const MidiMessage& m = event.GetMessage();
    EXPECT_EQ(m.GetVelocity(), 96);
    if (m.IsNoteOn()) {
      EXPECT_EQ(m.GetNote(), 77 + ons);
      EXPECT_NEAR(event.GetTime(), ons * beat, 1e-9);
      sounding[m.GetNote()] = event.GetTime();
      ++ons;
    } else {
      ASSERT_EQ(sounding.count(m.GetNote()), 1u);
      EXPECT_NEAR(event.GetTime() - sounding[m.GetNote()], beat, 1e-9);
      sounding.erase(m.GetNote());
    }
  }
  EXPECT_EQ(ons, 11);
  EXPECT_TRUE(sounding.empty()) << "a note is left hanging";
}

TEST(TempoPool, PiecesOfAClassAreSharedAndRepeatedToSixtyFourEntries) {
  std::map<unsigned, Streams> bank;
  for (int k = 0; k < 3; ++k) bank[TEMPO_ANDANTE].push_back(std::make_shared<MidiStream>());
  for (int k = 0; k < 70; ++k) bank[TEMPO_PRESTO].push_back(std::make_shared<MidiStream>());
  bank[TEMPO_LARGO] = {nullptr};  // a piece that could not be read

  std::vector<QuestionTempoData> pool;
  GenerateTempoPool(pool, [&](TempoTypes tempo) { return bank[tempo]; });
  ASSERT_EQ(pool.size(), 448u);
  for (unsigned k = 0; k < 64; ++k) {
    EXPECT_EQ(pool[2 * 64 + k].Stream, bank[TEMPO_ANDANTE][k % 3]);
    EXPECT_EQ(pool[2 * 64 + k].Id, static_cast<int>(2 * 64 + k));
    EXPECT_EQ(pool[5 * 64 + k].Stream, bank[TEMPO_PRESTO][k]);  // only the first 64 pieces
  }
  EXPECT_EQ(pool[0].Stream->GetEvents().size(), 22);  // no adagio piece: fallback notes
  ASSERT_NE(pool[3 * 64 + 63].Stream, nullptr);
  EXPECT_EQ(pool[3 * 64 + 63].Stream->GetEvents().size(), 22);

  // A pool that holds anything is left as it is.
  bool asked = false;
  GenerateTempoPool(pool, [&](TempoTypes) {
    asked = true;
    return Streams{};
  });
  EXPECT_FALSE(asked);
  EXPECT_EQ(pool.size(), 448u);
}

}  // namespace
}  // namespace Core
