#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "src/core/exercise/questions/variant_providers.h"

namespace Core {
namespace {

// The ids the provider offers for question `id` over many draws; empty when it offers none.
std::set<int> Offered(QVariantProvider& provider, unsigned long id) {
  std::set<int> offered;
  std::srand(7);
  for (int draw = 0; draw < 400; ++draw) {
    int candidate = -1;
    if (provider.ProvideSimilarVariant(id, candidate))
      offered.insert(candidate);
    else
      EXPECT_EQ(candidate, -1) << "an unused offer must leave the candidate alone";
  }
  return offered;
}

std::set<int> AsSet(const std::vector<int>& ids) {
  return {ids.begin(), ids.end()};
}

TEST(RootNoteProvider, OffersEntriesOnTheSameLowestKey) {
  GetIntervalPool();  // the by-root lists are filled as the pools are built
  GetScalePool();
  GetChordPool();
  EXPECT_EQ(Offered(IntervalRootNoteProvider, IntervalsBegin[4] + 39),
            AsSet(IntervalQuestionsByRootNote[39]));
  EXPECT_EQ(Offered(ScaleRootNoteProvider, 2 * 76 + 10), AsSet(ScaleQuestionsByRootNote[10]));
  // C major in first inversion starts on E: its similar chords are rooted on E.
  const unsigned long inverted = ChordInversionBegin[1] + 39;
  ASSERT_EQ(GetChordPool()[inverted].Keys.front(), 43u);
  EXPECT_EQ(Offered(ChordRootNoteProvider, inverted), AsSet(ChordQuestionsByRootNote[43]));
  // At the top of the keyboard: C8 has only its unison, B7 two intervals.
  EXPECT_TRUE(Offered(IntervalRootNoteProvider, 87).empty());
  EXPECT_EQ(Offered(IntervalRootNoteProvider, 86), (std::set<int>{86, 88 + 86}));
}

TEST(TempoProvider, PiecesOfOneClassAreOneAnswerAndNothingIsSimilar) {
  EXPECT_TRUE(Offered(TempoVariantProvider, 70).empty());
  EXPECT_TRUE(TempoVariantProvider.CompareVariants(64, 127));
  EXPECT_FALSE(TempoVariantProvider.CompareVariants(63, 64));
}

TEST(ChordProvider, ChordsWithTheSameKeysAreOneAnswer) {
  auto find = [](unsigned root, unsigned type, unsigned inversion) {
    for (const QuestionChordData& chord : GetChordPool())
      if (chord.Root == root && chord.Kind == type && chord.Inversion == inversion)
        return static_cast<unsigned long>(chord.Id);
    ADD_FAILURE() << "no chord " << root << " " << type << " " << inversion;
    return 0ul;
  };
  // Augmented on C, first inversion, holds the keys of augmented on E; C major sixth those of
  // A minor seventh in first inversion.
  EXPECT_TRUE(ChordRootNoteProvider.CompareVariants(find(39, 13, 1), find(43, 13, 0)));
  EXPECT_TRUE(ChordRootNoteProvider.CompareVariants(find(39, 2, 0), find(36, 5, 1)));
  EXPECT_TRUE(ChordRootNoteProvider.CompareVariants(5, 5));
  EXPECT_FALSE(ChordRootNoteProvider.CompareVariants(find(39, 0, 0), find(39, 0, 1)));
}

// Played downwards the melodic minor is the natural minor note for note; upwards they differ, as
// the harmonic minor does from both in either direction.
TEST(ScaleProvider, ScalesPlayingTheSameNotesInTheDirectionAskedAreOneAnswer) {
  auto scale = [](unsigned type, unsigned root) {
    return static_cast<unsigned long>(type * ScaleRootCount + root);
  };
  const unsigned long melodic = scale(MelodicMinorScale, 39), natural = scale(1, 39);
  ASSERT_EQ(GetScalePool()[melodic].DescendingKeys, GetScalePool()[natural].DescendingKeys);
  EXPECT_TRUE(DescendingScaleRootNoteProvider.CompareVariants(melodic, natural));
  EXPECT_TRUE(DescendingScaleRootNoteProvider.CompareVariants(natural, melodic));
  EXPECT_FALSE(ScaleRootNoteProvider.CompareVariants(melodic, natural));
  EXPECT_FALSE(DescendingScaleRootNoteProvider.CompareVariants(scale(2, 39), natural));
  EXPECT_FALSE(DescendingScaleRootNoteProvider.CompareVariants(melodic, scale(1, 40)));
  EXPECT_TRUE(ScaleRootNoteProvider.CompareVariants(melodic, melodic));
  // Both offer the scales on the question's root.
  EXPECT_EQ(Offered(DescendingScaleRootNoteProvider, melodic), AsSet(ScaleQuestionsByRootNote[39]));
}

}  // namespace
}  // namespace Core
