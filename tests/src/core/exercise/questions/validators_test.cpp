#include <gtest/gtest.h>

#include <climits>

#include "src/core/exercise/questions/question_pools.h"
#include "src/core/exercise/questions/validators.h"

namespace Core {
namespace {

using KeyList = std::vector<unsigned long>;

KeyList AcceptedKeys(int minimum, int maximum, bool white = true, bool black = true) {
  NotesDiapason range;
  range.minimum = minimum;
  range.maximum = maximum;
  range.chromatic = {white, black};
  KeyList keys;
  for (unsigned long key = 0; key <= 88; ++key)
    if (ValidateNoteQuestion(key, &range)) keys.push_back(key);
  return keys;
}

TEST(NoteValidator, AcceptsTheRangeInItsAllowedColours) {
  EXPECT_EQ(AcceptedKeys(39, 52).size(), 13u);  // C4..C5, maximum exclusive
  EXPECT_EQ(AcceptedKeys(39, 52, true, false), (KeyList{39, 41, 43, 44, 46, 48, 50, 51}));
  EXPECT_EQ(AcceptedKeys(39, 52, false, false), KeyList{});
  // The black key just below the minimum belongs to the range.
  EXPECT_EQ(AcceptedKeys(5, 7), (KeyList{4, 5, 6}));
  EXPECT_EQ(AcceptedKeys(5, 7, true, false), (KeyList{5}));
  EXPECT_EQ(AcceptedKeys(3, 5), (KeyList{3, 4}));  // B0 below C1 is white
}

TEST(NoteValidator, ABlackOnlyRangeWithoutBlackKeysIsWidened) {
  EXPECT_EQ(AcceptedKeys(3, 6, false, true), (KeyList{4}));     // already holds C♯1
  EXPECT_EQ(AcceptedKeys(8, 9, false, true), (KeyList{9}));     // F1 alone grows to F♯1
  EXPECT_EQ(AcceptedKeys(87, 88, false, true), (KeyList{85}));  // C8 alone grows down to A♯7
}

TEST(NoteValidator, StoredValuesOutOfRangeNeverFailOrHang) {
  EXPECT_EQ(AcceptedKeys(80, 88).back(), 87u);  // maximum 88 holds C8
  EXPECT_EQ(AcceptedKeys(80, 500).back(), 87u);
  EXPECT_EQ(AcceptedKeys(-20, 2), (KeyList{0, 1}));
  EXPECT_EQ(AcceptedKeys(50, 40), KeyList{});  // minimum above maximum
  EXPECT_EQ(AcceptedKeys(INT_MAX, INT_MIN), KeyList{});
  EXPECT_EQ(AcceptedKeys(INT_MIN, INT_MAX).size(), 88u);
  // Black keys only, with no room at all: the widening still finds a black key and ends.
  EXPECT_EQ(AcceptedKeys(INT_MAX, INT_MAX, false, true), (KeyList{85}));
  EXPECT_EQ(AcceptedKeys(-5, -5, false, true), (KeyList{1}));
  // Minimum above maximum: the maximum climbs until G♯5, just below the minimum, is in.
  EXPECT_EQ(AcceptedKeys(60, 10, false, true), (KeyList{59}));
}

TEST(IntervalValidator, AcceptsSizesInRangeRootedInTheKeyRange) {
  IntervalSettings thirds;
  thirds.intervalStart = thirds.intervalEnd = 3;
  thirds.diapason.minimum = 39;
  thirds.diapason.maximum = 52;
  for (unsigned long id = 0; id <= IntervalPoolSize; ++id) {
    // The upper note is not held to the range.
    const bool expected = id >= IntervalsBegin[3] + 39 && id <= IntervalsBegin[3] + 51;
    ASSERT_EQ(ValidateIntervalQuestion(id, &thirds), expected) << id;
  }
  IntervalSettings inverted;
  inverted.intervalStart = 12;
  inverted.intervalEnd = -4;
  for (unsigned long id = 0; id < IntervalPoolSize; ++id)
    ASSERT_FALSE(ValidateIntervalQuestion(id, &inverted));
}

TEST(ChordValidator, NeedsTheTypeTheInversionAndTheRootInRange) {
  ChordSettings settings;
  settings.FirstInversion = false;
  settings.Augmented = false;
  settings.diapason = {39, 41, {true, false}};  // C4 is asked, C♯4 is not
  for (unsigned long id = 0; id <= ChordPoolSize; ++id) {
    const bool expected = id < ChordPoolSize && GetChordPool()[id].Inversion != 1 &&
                          GetChordPool()[id].Kind != 13 && GetChordPool()[id].Root == 39;
    ASSERT_EQ(ValidateChordQuestion(id, &settings), expected) << id;
  }
  EXPECT_FALSE(isOn(13, &settings));
  EXPECT_TRUE(isOn(17, &settings));
  EXPECT_FALSE(isOn(18, &settings));
  EXPECT_TRUE(ChordValid(80, 0, 0));
  EXPECT_FALSE(ChordValid(81, 0, 0));
  EXPECT_FALSE(ChordValid(0, 0, 3));
}

TEST(ScaleValidator, FlagsStoredInTheirOwnOrderSelectTheirScaleType) {
  ScalesSettings settings;
  settings.diapason = {0, 88, {true, true}};
  settings.Harmonic = false;    // type 2
  settings.MelodicMin = false;  // type 3
  for (unsigned long id = 0; id <= ScalePoolSize; ++id) {
    const unsigned long type = id / 76;
    ASSERT_EQ(ValidateScaleQuestion(id, &settings), type != 2 && type != 3 && type < 10) << id;
  }
}

TEST(TempoValidator, EachClassFollowsItsFlagAndPrestissimoSelectsNothing) {
  TempoSettings settings;
  settings.Largo = settings.Adagio = settings.Andante = settings.Moderato = false;
  settings.Presto = settings.Vivace = false;  // Allegro and Prestissimo on
  for (unsigned long id = 0; id <= 448; ++id)
    ASSERT_EQ(ValidateTempoQuestion(id, &settings), id >= 64 && id < 128) << id;

  TempoValidator validator(&settings);  // reads the settings as they are now
  settings.Allegro = false;
  EXPECT_FALSE(validator.Validate(64));
  settings.Largo = true;
  EXPECT_TRUE(validator.Validate(3 * 64));
}

}  // namespace
}  // namespace Core
