#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "src/core/exercise/questions/variant_providers.h"

namespace Core {
namespace {

// The ids the provider offers for question `id` over many draws; empty when it offers none.
template <class Provider>
std::set<int> Offered(Provider& provider, unsigned long id) {
  std::set<int> offered;
  std::srand(7);
  for (int draw = 0; draw < 400; ++draw) {
    int candidate = -1;
    if (!provider.ProvideSimilarVariant(id, candidate)) {
      EXPECT_EQ(candidate, -1) << "an unused offer must leave the candidate alone";
      continue;
    }
    offered.insert(candidate);
  }
  return offered;
}

std::set<int> AsSet(const std::vector<int>& ids) {
  return {ids.begin(), ids.end()};
}

TEST(RootNoteProvider, OffersEntriesOnTheSameRoot) {
  GetIntervalPool();  // the by-root lists are filled as the pools are built
  GetScalePool();
  const unsigned long third = IntervalsBegin[4] + 39;
  EXPECT_EQ(Offered(IntervalRootNoteProvider, third), AsSet(IntervalQuestionsByRootNote[39]));

  const unsigned long scale = 2 * 76 + 10;
  EXPECT_EQ(Offered(ScaleRootNoteProvider, scale), AsSet(ScaleQuestionsByRootNote[10]));
}

TEST(RootNoteProvider, IntervalsAtTheTopOfTheKeyboardHaveFewOrNone) {
  EXPECT_TRUE(Offered(IntervalRootNoteProvider, 87).empty());  // only the unison of C8
  EXPECT_EQ(Offered(IntervalRootNoteProvider, 86), (std::set<int>{86, 88 + 86}));
}

TEST(RootNoteProvider, InvertedChordsUseTheirLowestKey) {
  // C major in first inversion starts on E: its similar chords are rooted on E.
  unsigned long id = 0;
  while (!(GetChordPool()[id].Root == 39 && GetChordPool()[id].Inversion == 1)) ++id;
  ASSERT_EQ(GetChordPool()[id].Keys.front(), 43u);
  EXPECT_EQ(Offered(ChordRootNoteProvider, id), AsSet(ChordQuestionsByRootNote[43]));
}

TEST(TempoProvider, PiecesOfOneClassAreOneAnswerAndNothingIsSimilar) {
  EXPECT_TRUE(Offered(TempoVariantProvider, 70).empty());
  EXPECT_TRUE(TempoVariantProvider.CompareVariants(64, 127));
  EXPECT_FALSE(TempoVariantProvider.CompareVariants(63, 64));
  EXPECT_TRUE(TempoVariantProvider.CompareVariants(384, 447));
}

TEST(ChordProvider, ChordsWithTheSameKeysAreOneAnswer) {
  const auto& pool = GetChordPool();
  auto find = [&](unsigned root, unsigned type, unsigned inversion) {
    for (const QuestionChordData& chord : pool)
      if (chord.Root == root && chord.Kind == type && chord.Inversion == inversion)
        return static_cast<unsigned long>(chord.Id);
    ADD_FAILURE() << "no chord " << root << " " << type << " " << inversion;
    return 0ul;
  };
  // Augmented on C, first inversion, holds the keys of augmented on E.
  EXPECT_TRUE(ChordRootNoteProvider.CompareVariants(find(39, 13, 1), find(43, 13, 0)));
  // C major sixth holds the keys of A minor seventh in first inversion.
  EXPECT_TRUE(ChordRootNoteProvider.CompareVariants(find(39, 2, 0), find(36, 5, 1)));
  EXPECT_TRUE(ChordRootNoteProvider.CompareVariants(5, 5));
  EXPECT_FALSE(ChordRootNoteProvider.CompareVariants(find(39, 0, 0), find(39, 1, 0)));
  EXPECT_FALSE(ChordRootNoteProvider.CompareVariants(find(39, 0, 0), find(39, 0, 1)));
  EXPECT_FALSE(IntervalRootNoteProvider.CompareVariants(3, 4));
}

}  // namespace
}  // namespace Core
