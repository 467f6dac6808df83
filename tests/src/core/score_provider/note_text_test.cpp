#include <gtest/gtest.h>

#include "src/core/score_provider/note_text.h"
#include "src/core/score_provider/rmn_fragments.h"

namespace Core {
namespace {

std::string Name(int key, bool flat, const std::vector<unsigned int>& chord = {}) {
  std::string text;
  noteToRazid(text, key, flat, chord);
  return text;
}

TEST(RazidNoteNames, OctavesAcrossTheKeyboard) {
  EXPECT_EQ(Name(0, false), "a-3");
  EXPECT_EQ(Name(1, false), "a#-3");
  EXPECT_EQ(Name(1, true), "b&-3");
  EXPECT_EQ(Name(2, false), "b-3");
  EXPECT_EQ(Name(3, false), "c-2");
  EXPECT_EQ(Name(38, false), "b0");
  EXPECT_EQ(Name(39, false), "c1");
  EXPECT_EQ(Name(40, false), "c#1");
  EXPECT_EQ(Name(40, true), "d&1");
  EXPECT_EQ(Name(87, true), "c5");
  EXPECT_EQ(Name(88, false), "c#5");  // the treble clef reaches one key above the piano
  EXPECT_EQ(Name(98, false), "b5");   // the highest key the octave numbers can spell
}

TEST(RazidNoteNames, OnlyTheWhiteNeighbourOnTheLettersSideChangesTheSpelling) {
  // C sharp next to D stays sharp when sharps are preferred; D flat next to C stays flat.
  EXPECT_EQ(Name(40, false, {40, 41}), "c#1");
  EXPECT_EQ(Name(40, true, {39, 40}), "d&1");
  // White keys are never affected.
  EXPECT_EQ(Name(41, true, {40, 41, 42}), "d1");
}

TEST(RazidNoteNamesDeathTest, KeyOutsideTheTable) {
  EXPECT_DEATH(Name(99, false), "Assertion failed: HasRazidName\\(key\\)");
}

TEST(RazidNoteColors, UnknownColoursAreBlack) {
  std::string text;
  noteColor(text, 7);
  EXPECT_EQ(text, blackFormat);
}

TEST(ClefRange, BoundsAreInclusive) {
  EXPECT_FALSE(validate5Bars(true, 24));
  EXPECT_TRUE(validate5Bars(true, 25));
  EXPECT_TRUE(validate5Bars(true, 88));
  EXPECT_FALSE(validate5Bars(true, 89));
  EXPECT_FALSE(validate5Bars(false, -1));
  EXPECT_TRUE(validate5Bars(false, 0));
  EXPECT_TRUE(validate5Bars(false, 54));
  EXPECT_FALSE(validate5Bars(false, 55));
}

}  // namespace
}  // namespace Core
