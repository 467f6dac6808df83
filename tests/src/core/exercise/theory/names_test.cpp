#include <gtest/gtest.h>

#include "src/core/exercise/theory/names.h"

namespace Core {
namespace {

const QString kSharp = QStringLiteral("\u266F");
const QString kFlat = QStringLiteral("\u266D");

TEST(NoteNames, PitchClassAndOctave) {
  EXPECT_EQ(GetNoteString(0, false), "A0");
  EXPECT_EQ(GetNoteString(1, true), "B" + kFlat + "0");
  EXPECT_EQ(GetNoteString(2, true), "B0");
  EXPECT_EQ(GetNoteString(3, false), "C1");
  EXPECT_EQ(GetNoteString(40, false), "C" + kSharp + "4");
  EXPECT_EQ(GetNoteString(40, true), QStringLiteral("D\u266D4"));
  EXPECT_EQ(GetNoteString(87, false), "C8");
  EXPECT_EQ(GetNoteString(87, true), "C8");
}

TEST(NoteNames, ByPitchClass) {
  EXPECT_EQ(GetNoteStringByType(10, false), "A" + kSharp);
  EXPECT_EQ(GetNoteStringByType(10, true), "B" + kFlat);
  EXPECT_EQ(GetNoteStringByType(12, false), "note error");
  EXPECT_EQ(GetNoteStringByType(0xFFFFFFFFu, true), "note error");
}

TEST(IntervalNames, InRangeAndOut) {
  EXPECT_EQ(GetIntervalStringByType(0), "Perfect Unison");
  EXPECT_EQ(GetIntervalStringByType(12), "Perfect octave");
  EXPECT_EQ(GetIntervalStringByType(13), "interval error");
  EXPECT_EQ(GetIntervalStringByType(-1), "interval error");
  EXPECT_EQ(GetIntervalString(4, 39, false), "C4 Major third");
  EXPECT_EQ(GetIntervalString(10, 40, true), "D" + kFlat + "4 Minor seventh");
  EXPECT_EQ(GetIntervalString(13, 39, false), "interval error");
}

TEST(ChordNames, TypeInversionAndOctaveTail) {
  EXPECT_EQ(GetChordStringType(0), "maj");
  EXPECT_EQ(GetChordStringType(17), "dim7");
  EXPECT_EQ(GetChordStringType(18), "chord error");

  EXPECT_EQ(GetChordString(0, 39, 1, false), "Cmaj inv1\n(oct 4)");
  EXPECT_EQ(GetChordString(17, 40, 0, true), "D" + kFlat + "dim7\n(oct 4)");
  EXPECT_EQ(GetChordString(1, 0, 2, false), "Amin inv2\n(oct 0)");
  EXPECT_EQ(GetChordString(4, 87, 2, false), "Cmaj7 inv2\n(oct 8)");
  EXPECT_EQ(GetChordString(18, 39, 0, false), "chord error");
}

TEST(ScaleNames, TypeAndRoot) {
  EXPECT_EQ(GetScaleStringType(9), "Whole Tone");
  EXPECT_EQ(GetScaleStringType(10), "scale error");
  EXPECT_EQ(GetScaleString(2, 36, false), "A3 Harmonic m");
  EXPECT_EQ(GetScaleString(3, 3, false), "C1 Melodic m");
  EXPECT_EQ(GetScaleString(10, 36, false), "scale error");
}

}  // namespace
}  // namespace Core
