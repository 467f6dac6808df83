#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "src/core/exercise/questions/question_pools.h"

namespace Core {
namespace {

using Keys = std::vector<unsigned int>;

// Keys played one after the other, half a second each, on channel 0 at velocity 96.
void ExpectLegato(const MidiStream& stream, const Keys& keys) {
  const auto& events = stream.GetEvents();
  ASSERT_EQ(events.size(), static_cast<qsizetype>(2 * keys.size()));
  for (qsizetype i = 0; i < events.size(); ++i) {
    const MidiMessage& m = events[i].GetMessage();
    const auto note = static_cast<std::size_t>(i / 2);
    EXPECT_EQ(m.GetCommand(), i % 2 ? MidiNoteOff : MidiNoteOn);
    EXPECT_EQ(m.GetNote(), keys[note] + 21);
    EXPECT_EQ(m.GetChannel(), 0);
    EXPECT_EQ(m.GetVelocity(), 96);
    EXPECT_EQ(events[i].GetTimePulses(), 0u);
    EXPECT_DOUBLE_EQ(events[i].GetTime(), 0.5 * static_cast<double>(note + i % 2));
  }
}

template <class Pool>
void ExpectIdsAreIndices(const Pool& pool, std::size_t size) {
  ASSERT_EQ(pool.size(), size);
  for (std::size_t i = 0; i < pool.size(); ++i) ASSERT_EQ(pool[i].Id, static_cast<int>(i));
}

TEST(QuestionPools, SizesAndIdsFollowThePoolLayouts) {
  ExpectIdsAreIndices(GetNotesPoolSharp(), 88);
  ExpectIdsAreIndices(GetNotesPoolSustained(), 88);
  ExpectIdsAreIndices(GetIntervalPool(), 1066);
  ExpectIdsAreIndices(GetChordPool(), 4099);
  ExpectIdsAreIndices(GetScalePool(), 760);
  EXPECT_EQ(&GetChordPool(), &GetChordPool());  // built once
}

TEST(QuestionPools, NotesSoundForHalfASecondUnlessSustained) {
  const QuestionNoteData& sharp = GetNotesPoolSharp()[40];
  EXPECT_EQ(sharp.Key, 40u);
  EXPECT_EQ(sharp.Text, QString::fromUtf8("C\u266F4"));
  ExpectLegato(*sharp.Stream, {40});

  const QuestionNoteData& sustained = GetNotesPoolSustained()[87];
  EXPECT_EQ(sustained.Text, "C8");
  ASSERT_EQ(sustained.Stream->GetEvents().size(), 1);
  EXPECT_TRUE(sustained.Stream->GetEvents()[0].GetMessage().IsNoteOn());
}

TEST(QuestionPools, IntervalsStartEachSizeWhereTheSmallerSizesEnd) {
  const std::vector<unsigned long> expected = {0,   88,  175, 261, 346, 430, 513,
                                               595, 676, 756, 835, 913, 990, 1066};
  EXPECT_EQ(std::vector<unsigned long>(IntervalsBegin.begin(), IntervalsBegin.end()), expected);

  const auto& pool = GetIntervalPool();
  EXPECT_EQ(pool[87].Keys, (Keys{87, 87}));  // the unison of C8 closes the unisons
  EXPECT_EQ(pool[88].Keys, (Keys{0, 1}));
  EXPECT_EQ(pool[1065].Keys, (Keys{75, 87}));  // the last octave reaches C8
  const QuestionChordData& third = pool[IntervalsBegin[4] + 39];
  EXPECT_EQ(std::tie(third.Kind, third.Root, third.Inversion), std::make_tuple(4u, 39u, 0u));
  EXPECT_EQ(third.Text, "C4 Major third");
  ExpectLegato(*third.Stream, {39, 43});

  std::vector<int> groups = {-7};
  GetIntervalGroups(groups);
  EXPECT_EQ(groups.size(), 14u);
  EXPECT_EQ((std::vector<int>(groups.begin(), groups.begin() + 4)),
            (std::vector<int>{-7, 1, 89, 176}));
}

TEST(QuestionPools, ChordPoolHoldsEveryChordThatFitsTheKeyboard) {
  const auto& pool = GetChordPool();
  EXPECT_EQ(pool[0].Keys, (Keys{0, 4, 7}));
  EXPECT_EQ(ChordInversionBegin[1], 1427u);
  EXPECT_EQ(ChordInversionBegin[2] - ChordInversionBegin[1], 1368u);
  EXPECT_EQ(ChordInversionBegin[3] - ChordInversionBegin[2], 1304u);
  EXPECT_EQ(MaxChordNote[0][2], 71u);
  EXPECT_EQ(MaxChordNote[8][2], 70u);
  EXPECT_EQ(MaxChordNote[16][0], 81u);

  // Each chord once, on the keyboard, and each highest root puts its top note on C8.
  std::set<std::tuple<unsigned, unsigned, unsigned>> seen;
  for (const QuestionChordData& chord : pool) {
    ASSERT_TRUE(std::is_sorted(chord.Keys.begin(), chord.Keys.end()));
    ASSERT_LE(chord.Keys.back(), 87u);
    ASSERT_TRUE(seen.insert({chord.Root, chord.Kind, chord.Inversion}).second);
    if (chord.Root == MaxChordNote[chord.Kind][chord.Inversion]) {
      ASSERT_EQ(chord.Keys.back(), 87u);
    }
  }

  std::vector<int> groups;
  GetChordGroups(groups);
  ASSERT_EQ(groups.size(), 18u);
  EXPECT_EQ((std::vector<int>(groups.begin(), groups.begin() + 3)), (std::vector<int>{1, 82, 163}));
  EXPECT_EQ(pool[static_cast<std::size_t>(groups[17] - 1)].Kind, 17u);
}

TEST(QuestionPools, InversionsRaiseTheLowestNotesByAnOctave) {
  const QuestionChordData first = GenerateChord(39, 0, 1);
  EXPECT_EQ(first.Keys, (Keys{43, 46, 51}));
  EXPECT_EQ(first.Root, 39u);
  EXPECT_EQ(first.Text, "Cmaj inv1\n(oct 4)");
  ExpectLegato(*first.Stream, {43, 46, 51});
  EXPECT_EQ(GenerateChord(39, 4, 2).Keys, (Keys{46, 50, 51, 55}));  // maj7
  EXPECT_EQ(GenerateChord(39, 8, 2).Keys, (Keys{46, 51, 56}));      // sus4
}

TEST(QuestionPools, ScalesPlayBothWays) {
  const QuestionScaleData& melodic = GetScalePool()[3 * 76 + 3];
  EXPECT_EQ(melodic.Keys, (Keys{3, 5, 6, 8, 10, 12, 14, 15}));
  EXPECT_EQ(melodic.DescendingKeys, (Keys{15, 13, 11, 10, 8, 6, 5, 3}));
  ExpectLegato(*melodic.Stream, melodic.Keys);
  ExpectLegato(*melodic.DescendingStream, melodic.DescendingKeys);

  const QuestionScaleData harmonic = GenerateScale(36, 2);
  EXPECT_EQ(harmonic.Text, "A3 Harmonic m");
  EXPECT_EQ(harmonic.DescendingKeys, (Keys{48, 47, 44, 43, 41, 39, 38, 36}));
  EXPECT_EQ(GetScalePool().back().Keys, (Keys{75, 77, 79, 81, 83, 85, 87}));  // whole tone to C8
}

TEST(QuestionPools, ByRootListsHoldTheIdsOfEachRootInPoolOrder) {
  GetIntervalPool();
  GetChordPool();
  GetScalePool();
  EXPECT_EQ(IntervalQuestionsByRootNote[87], std::vector<int>{87});
  EXPECT_EQ(IntervalQuestionsByRootNote[86], (std::vector<int>{86, 88 + 86}));
  EXPECT_EQ(ScaleQuestionsByRootNote[5].size(), 10u);
  EXPECT_TRUE(ScaleQuestionsByRootNote[76].empty());
  EXPECT_EQ(ChordQuestionsByRootNote[0].size(), 54u);  // every type and inversion
  std::size_t total = 0;
  for (unsigned root = 0; root < 88; ++root) {
    const std::vector<int>& ids = ChordQuestionsByRootNote[root];
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    for (int id : ids) EXPECT_EQ(GetChordPool()[static_cast<std::size_t>(id)].Root, root);
    total += ids.size();
  }
  EXPECT_EQ(total, 4099u);
}

}  // namespace
}  // namespace Core
