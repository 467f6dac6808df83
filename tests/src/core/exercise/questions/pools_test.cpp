#include <gtest/gtest.h>

#include <set>

#include "src/core/exercise/questions/question_pools.h"

namespace Core {
namespace {

using Keys = std::vector<unsigned int>;

struct Note {
  bool on;
  int midiNote;
  double time;
};

std::vector<Note> NotesOf(const MidiStream& stream) {
  std::vector<Note> notes;
  for (const MidiEvent& event : stream.GetEvents()) {
    const MidiMessage& m = event.GetMessage();
    EXPECT_TRUE(m.IsNoteOn() || m.IsNoteOff());
    EXPECT_EQ(m.GetChannel(), 0);
    EXPECT_EQ(m.GetVelocity(), 96);
    EXPECT_EQ(event.GetTimePulses(), 0u);
    notes.push_back({m.IsNoteOn(), m.GetNote(), event.GetTime()});
  }
  return notes;
}

// Keys played one after the other, half a second each.
void ExpectLegato(const MidiStream& stream, const Keys& keys) {
  const std::vector<Note> notes = NotesOf(stream);
  ASSERT_EQ(notes.size(), 2 * keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const Note& on = notes[2 * i];
    const Note& off = notes[2 * i + 1];
    EXPECT_TRUE(on.on);
    EXPECT_FALSE(off.on);
    EXPECT_EQ(on.midiNote, static_cast<int>(keys[i]) + 21);
    EXPECT_EQ(off.midiNote, static_cast<int>(keys[i]) + 21);
    EXPECT_DOUBLE_EQ(on.time, 0.5 * static_cast<double>(i));
    EXPECT_DOUBLE_EQ(off.time, 0.5 * static_cast<double>(i + 1));
  }
}

template <class Pool>
void ExpectIdsAreIndices(const Pool& pool) {
  for (std::size_t i = 0; i < pool.size(); ++i) ASSERT_EQ(pool[i].Id, static_cast<int>(i));
}

TEST(QuestionPools, SizesAndIdsFollowThePoolLayouts) {
  EXPECT_EQ(GetNotesPoolSharp().size(), 88u);
  EXPECT_EQ(GetNotesPoolSustained().size(), 88u);
  EXPECT_EQ(GetIntervalPool().size(), 1066u);
  EXPECT_EQ(GetChordPool().size(), 4099u);
  EXPECT_EQ(GetScalePool().size(), 760u);
  ExpectIdsAreIndices(GetNotesPoolSharp());
  ExpectIdsAreIndices(GetNotesPoolSustained());
  ExpectIdsAreIndices(GetIntervalPool());
  ExpectIdsAreIndices(GetChordPool());
  ExpectIdsAreIndices(GetScalePool());
  EXPECT_EQ(&GetChordPool(), &GetChordPool());  // built once
}

TEST(QuestionPools, NotesSoundForHalfASecondUnlessSustained) {
  const QuestionNoteData& sharp = GetNotesPoolSharp()[40];
  EXPECT_EQ(sharp.Key, 40u);
  EXPECT_EQ(sharp.Text, QString::fromUtf8("C\u266F4"));
  ExpectLegato(*sharp.Stream, {40});

  const QuestionNoteData& sustained = GetNotesPoolSustained()[87];
  EXPECT_EQ(sustained.Text, "C8");
  const std::vector<Note> notes = NotesOf(*sustained.Stream);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_TRUE(notes[0].on);
  EXPECT_EQ(notes[0].midiNote, 108);
  EXPECT_DOUBLE_EQ(notes[0].time, 0.0);
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
  EXPECT_EQ(third.Keys, (Keys{39, 43}));
  EXPECT_EQ(third.Kind, 4u);
  EXPECT_EQ(third.Root, 39u);
  EXPECT_EQ(third.Inversion, 0u);
  EXPECT_EQ(third.Text, "C4 Major third");
  ExpectLegato(*third.Stream, {39, 43});

  std::vector<int> groups = {-7};
  GetIntervalGroups(groups);
  ASSERT_EQ(groups.size(), 14u);
  EXPECT_EQ(groups[0], -7);
  EXPECT_EQ(groups[1], 1);
  EXPECT_EQ(groups[2], 89);
  EXPECT_EQ(groups[3], 176);
  EXPECT_EQ(groups[13], 991);
}

TEST(QuestionPools, ChordPoolHoldsEveryChordThatFitsTheKeyboard) {
  const auto& pool = GetChordPool();
  EXPECT_EQ(pool[0].Keys, (Keys{0, 4, 7}));
  EXPECT_EQ(pool[0].Kind, 0u);
  EXPECT_EQ(pool[0].Inversion, 0u);
  EXPECT_EQ(ChordInversionBegin[1], 1427u);
  EXPECT_EQ(ChordInversionBegin[2] - ChordInversionBegin[1], 1368u);
  EXPECT_EQ(ChordInversionBegin[3] - ChordInversionBegin[2], 1304u);

  // Some rows of the highest-root table.
  EXPECT_EQ(MaxChordNote[0][0], 80u);
  EXPECT_EQ(MaxChordNote[0][2], 71u);
  EXPECT_EQ(MaxChordNote[4][0], 76u);
  EXPECT_EQ(MaxChordNote[8][2], 70u);
  EXPECT_EQ(MaxChordNote[9][2], 73u);
  EXPECT_EQ(MaxChordNote[16][0], 81u);
  EXPECT_EQ(MaxChordNote[17][1], 75u);

  // Every chord stays on the keyboard, and every highest root puts its top note on C8.
  std::set<std::tuple<unsigned, unsigned, unsigned>> seen;
  for (const QuestionChordData& chord : pool) {
    ASSERT_TRUE(std::is_sorted(chord.Keys.begin(), chord.Keys.end()));
    ASSERT_LE(chord.Keys.back(), 87u);
    ASSERT_TRUE(seen.insert({chord.Root, chord.Kind, chord.Inversion}).second);
    if (chord.Root == MaxChordNote[chord.Kind][chord.Inversion]) {
      ASSERT_EQ(chord.Keys.back(), 87u);
    }
  }
  EXPECT_EQ(seen.size(), pool.size());
}

TEST(QuestionPools, InversionsRaiseTheLowestNotesByAnOctave) {
  const QuestionChordData first = GenerateChord(39, 0, 1);
  EXPECT_EQ(first.Keys, (Keys{43, 46, 51}));
  EXPECT_EQ(first.Root, 39u);
  EXPECT_EQ(first.Inversion, 1u);
  EXPECT_EQ(first.Text, "Cmaj inv1\n(oct 4)");
  ExpectLegato(*first.Stream, {43, 46, 51});

  EXPECT_EQ(GenerateChord(39, 4, 2).Keys,
            (Keys{46, 50, 51, 55}));                            // maj7: fifth, seventh, root, third
  EXPECT_EQ(GenerateChord(39, 8, 2).Keys, (Keys{46, 51, 56}));  // sus4
}

TEST(QuestionPools, ChordGroupsNameTheFirstRootPositionChordOfEachType) {
  std::vector<int> groups;
  GetChordGroups(groups);
  ASSERT_EQ(groups.size(), 18u);
  EXPECT_EQ(groups[0], 1);
  EXPECT_EQ(groups[1], 82);
  EXPECT_EQ(groups[2], 163);
  for (unsigned type = 0; type < 18; ++type) {
    const QuestionChordData& chord = GetChordPool()[static_cast<std::size_t>(groups[type] - 1)];
    EXPECT_EQ(chord.Kind, type);
    EXPECT_EQ(chord.Root, 0u);
    EXPECT_EQ(chord.Inversion, 0u);
  }
}

TEST(QuestionPools, ScalesPlayBothWays) {
  const QuestionScaleData& melodic = GetScalePool()[3 * 76 + 3];
  EXPECT_EQ(melodic.Keys, (Keys{3, 5, 6, 8, 10, 12, 14, 15}));
  EXPECT_EQ(melodic.DescendingKeys, (Keys{15, 13, 11, 10, 8, 6, 5, 3}));
  EXPECT_EQ(melodic.Kind, 3u);
  EXPECT_EQ(melodic.Root, 3u);
  ExpectLegato(*melodic.Stream, melodic.Keys);
  ExpectLegato(*melodic.DescendingStream, melodic.DescendingKeys);

  const QuestionScaleData harmonic = GenerateScale(36, 2);
  EXPECT_EQ(harmonic.Text, "A3 Harmonic m");
  EXPECT_EQ(harmonic.Keys, (Keys{36, 38, 39, 41, 43, 44, 47, 48}));
  EXPECT_EQ(harmonic.DescendingKeys, (Keys{48, 47, 44, 43, 41, 39, 38, 36}));

  const QuestionScaleData& top = GetScalePool().back();
  EXPECT_EQ(top.Keys, (Keys{75, 77, 79, 81, 83, 85, 87}));  // whole tone on C7 up to C8
}

TEST(QuestionPools, ByRootListsHoldTheIdsOfEachRootInPoolOrder) {
  GetIntervalPool();
  GetChordPool();
  GetScalePool();
  EXPECT_EQ(IntervalQuestionsByRootNote[87], std::vector<int>{87});
  EXPECT_EQ(IntervalQuestionsByRootNote[86], (std::vector<int>{86, 88 + 86}));
  EXPECT_EQ(IntervalQuestionsByRootNote[0].size(), 13u);
  EXPECT_EQ(ScaleQuestionsByRootNote[5].size(), 10u);
  EXPECT_EQ(ScaleQuestionsByRootNote[5][9], 9 * 76 + 5);
  EXPECT_TRUE(ScaleQuestionsByRootNote[76].empty());
  EXPECT_EQ(ChordQuestionsByRootNote[0].size(), 54u);  // every type and inversion
  EXPECT_TRUE(ChordQuestionsByRootNote[82].empty());

  std::size_t total = 0;
  for (unsigned root = 0; root < 88; ++root) {
    const std::vector<int>& ids = ChordQuestionsByRootNote[root];
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    for (int id : ids) EXPECT_EQ(GetChordPool()[static_cast<std::size_t>(id)].Root, root);
    total += ids.size();
  }
  EXPECT_EQ(total, 4099u);
}

TEST(QuestionPoolsDeathTest, AChordAboveTheKeyboardIsAProgrammingError) {
  EXPECT_DEATH(GenerateChord(81, 0, 0), "root <= MaxChordNote\\[type\\]\\[inversion\\]");
}

}  // namespace
}  // namespace Core
