#include <gtest/gtest.h>

#include <climits>

#include "src/core/exercise/questions/question_pools.h"
#include "src/core/exercise/questions/validators.h"

namespace Core {
namespace {

NotesDiapason Range(int minimum, int maximum, bool white = true, bool black = true) {
  NotesDiapason range;
  range.minimum = minimum;
  range.maximum = maximum;
  range.chromatic.white = white;
  range.chromatic.black = black;
  return range;
}

std::vector<unsigned long> AcceptedKeys(const NotesDiapason& range) {
  std::vector<unsigned long> keys;
  for (unsigned long key = 0; key < 88; ++key)
    if (ValidateNoteQuestion(key, &range)) keys.push_back(key);
  return keys;
}

using KeyList = std::vector<unsigned long>;

// By chord type.
bool ChordSettings::*const ChordFlags[18] = {
    &ChordSettings::MajorTriad,        &ChordSettings::MinorTriad,
    &ChordSettings::MajorSixth,        &ChordSettings::MinorSixth,
    &ChordSettings::MajorSeventh,      &ChordSettings::MinorSeventh,
    &ChordSettings::DominantSeventh,   &ChordSettings::Suspended2,
    &ChordSettings::Suspended4,        &ChordSettings::SuspendedSixth2,
    &ChordSettings::SuspendedSixth4,   &ChordSettings::SuspendedSeventh2,
    &ChordSettings::SuspendedSeventh4, &ChordSettings::Augmented,
    &ChordSettings::AugmentedSixth,    &ChordSettings::AugmentedSeventh,
    &ChordSettings::Diminished,        &ChordSettings::DiminishedSeventh};

TEST(NoteValidator, AcceptsTheRangeInItsAllowedColours) {
  const NotesDiapason middle = Range(39, 52);  // C4..C5, maximum exclusive
  const KeyList all = AcceptedKeys(middle);
  ASSERT_FALSE(all.empty());
  EXPECT_EQ(all.front(), 39u);
  EXPECT_EQ(all.back(), 51u);
  EXPECT_EQ(all.size(), 13u);

  EXPECT_EQ(AcceptedKeys(Range(39, 52, true, false)), (KeyList{39, 41, 43, 44, 46, 48, 50, 51}));
  EXPECT_EQ(AcceptedKeys(Range(39, 52, false, false)), KeyList{});
}

TEST(NoteValidator, TheBlackKeyJustBelowTheMinimumBelongsToTheRange) {
  EXPECT_EQ(AcceptedKeys(Range(5, 7)), (KeyList{4, 5, 6}));  // C♯1 below D1
  EXPECT_EQ(AcceptedKeys(Range(5, 7, true, false)), (KeyList{5}));
  EXPECT_EQ(AcceptedKeys(Range(3, 5)), (KeyList{3, 4}));  // B0 below C1 is white
}

TEST(NoteValidator, ABlackOnlyRangeWithoutBlackKeysIsWidened) {
  EXPECT_EQ(AcceptedKeys(Range(3, 6, false, true)), (KeyList{4}));  // already holds C♯1
  EXPECT_EQ(AcceptedKeys(Range(8, 9, false, true)), (KeyList{9}));  // F1 alone grows to F♯1
  // At the top the range can only grow downwards: C8 alone reaches down to A♯7.
  EXPECT_EQ(AcceptedKeys(Range(87, 88, false, true)), (KeyList{85}));
}

TEST(NoteValidator, StoredValuesOutOfRangeNeverFailOrHang) {
  EXPECT_EQ(AcceptedKeys(Range(80, 88)).back(), 87u);  // maximum 88 holds C8
  EXPECT_EQ(AcceptedKeys(Range(80, 500)).back(), 87u);
  EXPECT_EQ(AcceptedKeys(Range(-20, 2)), (KeyList{0, 1}));
  EXPECT_EQ(AcceptedKeys(Range(50, 40)), KeyList{});  // minimum above maximum
  EXPECT_EQ(AcceptedKeys(Range(88, 88)), KeyList{});
  EXPECT_EQ(AcceptedKeys(Range(INT_MAX, INT_MIN)), KeyList{});
  EXPECT_EQ(AcceptedKeys(Range(INT_MIN, INT_MAX)).size(), 88u);
  // Black keys only, and no room at all: the range still finds a black key and ends.
  EXPECT_EQ(AcceptedKeys(Range(INT_MAX, INT_MAX, false, true)), (KeyList{85}));
  // Minimum above maximum, black only: the maximum climbs until the black key G♯5 below the
  // minimum is in.
  EXPECT_EQ(AcceptedKeys(Range(60, 10, false, true)), (KeyList{59}));
  EXPECT_EQ(AcceptedKeys(Range(-5, -5, false, true)), (KeyList{1}));
  const NotesDiapason everything = Range(0, 88);
  EXPECT_FALSE(ValidateNoteQuestion(88, &everything));
}

TEST(IntervalValidator, AcceptsSizesInRangeRootedInTheKeyRange) {
  IntervalSettings thirds;
  thirds.intervalStart = thirds.intervalEnd = 3;
  thirds.diapason = Range(39, 52);
  for (unsigned long id = 0; id < IntervalPoolSize; ++id) {
    const QuestionChordData& interval = GetIntervalPool()[id];
    const bool expected = interval.Kind == 3 && interval.Root >= 39 && interval.Root < 52;
    ASSERT_EQ(ValidateIntervalQuestion(id, &thirds), expected) << id;
  }
  // The upper note is not held to the range.
  EXPECT_TRUE(ValidateIntervalQuestion(IntervalsBegin[3] + 51, &thirds));

  IntervalSettings inverted;
  inverted.intervalStart = 12;
  inverted.intervalEnd = -4;
  IntervalSettings wide;
  wide.intervalStart = -100;
  wide.intervalEnd = 100;
  wide.diapason = Range(0, 88);
  for (unsigned long id = 0; id < IntervalPoolSize; ++id) {
    ASSERT_FALSE(ValidateIntervalQuestion(id, &inverted));
    ASSERT_TRUE(ValidateIntervalQuestion(id, &wide));
  }
  EXPECT_FALSE(ValidateIntervalQuestion(IntervalPoolSize, &wide));
}

TEST(ChordValidator, NeedsTheTypeTheInversionAndTheRootInRange) {
  ChordSettings settings;
  settings.diapason = Range(0, 88);
  settings.FirstInversion = false;
  settings.Augmented = false;
  for (unsigned long id = 0; id < ChordPoolSize; ++id) {
    const QuestionChordData& chord = GetChordPool()[id];
    const bool expected = chord.Inversion != 1 && chord.Kind != 13;
    ASSERT_EQ(ValidateChordQuestion(id, &settings), expected) << id;
  }

  // Root range, white keys only: C4 is asked, C♯4 is not.
  settings.diapason = Range(39, 41, true, false);
  for (unsigned long id = 0; id < ChordPoolSize; ++id) {
    const QuestionChordData& chord = GetChordPool()[id];
    const bool expected = chord.Inversion != 1 && chord.Kind != 13 && chord.Root == 39;
    ASSERT_EQ(ValidateChordQuestion(id, &settings), expected) << id;
  }
  EXPECT_FALSE(ValidateChordQuestion(ChordPoolSize, &settings));
}

TEST(ChordValidator, TypeFlagsAndFittingRoots) {
  for (unsigned type = 0; type < 18; ++type) {
    ChordSettings settings;
    EXPECT_TRUE(isOn(type, &settings));
    settings.*ChordFlags[type] = false;
    for (unsigned other = 0; other < 18; ++other) EXPECT_EQ(isOn(other, &settings), other != type);
  }
  const ChordSettings defaults;
  EXPECT_FALSE(isOn(18, &defaults));

  EXPECT_TRUE(ChordValid(80, 0, 0));
  EXPECT_FALSE(ChordValid(81, 0, 0));
  EXPECT_TRUE(ChordValid(81, 16, 0));
  EXPECT_FALSE(ChordValid(0, 18, 0));
  EXPECT_FALSE(ChordValid(0, 0, 3));
}

TEST(ScaleValidator, EachFlagSelectsItsScaleType) {
  // Flags in their stored order, and the scale type each one selects.
  bool ScalesSettings::*const flags[] = {
      &ScalesSettings::NaturalMaj,    &ScalesSettings::NaturalMin, &ScalesSettings::PentatonicMaj,
      &ScalesSettings::PentatonicMin, &ScalesSettings::Harmonic,   &ScalesSettings::MelodicMin,
      &ScalesSettings::Diminished,    &ScalesSettings::Blues,      &ScalesSettings::Augmented,
      &ScalesSettings::WholeTone};
  const unsigned types[] = {0, 1, 4, 5, 2, 3, 6, 7, 8, 9};
  for (int f = 0; f < 10; ++f) {
    ScalesSettings settings;
    for (auto flag : flags) settings.*flag = false;
    settings.*flags[f] = true;
    settings.diapason = Range(0, 88);
    for (unsigned long id = 0; id < ScalePoolSize; ++id)
      ASSERT_EQ(ValidateScaleQuestion(id, &settings), id / 76 == types[f]) << f << " " << id;
  }
  ScalesSettings settings;
  settings.diapason = Range(70, 80);
  EXPECT_TRUE(ValidateScaleQuestion(75, &settings));
  EXPECT_FALSE(ValidateScaleQuestion(76, &settings));  // root 0 of the next type
  EXPECT_FALSE(ValidateScaleQuestion(ScalePoolSize, &settings));
}

TEST(TempoValidator, EachClassFollowsItsFlagAndPrestissimoSelectsNothing) {
  bool TempoSettings::*const byClass[] = {&TempoSettings::Adagio,   &TempoSettings::Allegro,
                                          &TempoSettings::Andante,  &TempoSettings::Largo,
                                          &TempoSettings::Moderato, &TempoSettings::Presto,
                                          &TempoSettings::Vivace};
  for (int cls = 0; cls < 7; ++cls) {
    TempoSettings settings;
    for (auto flag : byClass) settings.*flag = false;
    settings.*byClass[cls] = true;
    for (unsigned long id = 0; id < 448; ++id)
      ASSERT_EQ(ValidateTempoQuestion(id, &settings), id / 64 == static_cast<unsigned>(cls));
  }
  TempoSettings onlyPrestissimo;
  for (auto flag : byClass) onlyPrestissimo.*flag = false;
  for (unsigned long id = 0; id < 448; ++id)
    EXPECT_FALSE(ValidateTempoQuestion(id, &onlyPrestissimo));
  const TempoSettings all;
  EXPECT_FALSE(ValidateTempoQuestion(448, &all));
}

TEST(SimpleValidator, ReadsTheSettingsAsTheyAreNow) {
  TempoSettings settings;
  TempoValidator validator(&settings);
  EXPECT_TRUE(validator.Validate(64));
  settings.Allegro = false;
  EXPECT_FALSE(validator.Validate(64));
}

}  // namespace
}  // namespace Core
