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
}

TEST(RazidNoteNames, BlackKeysInAChordAvoidTheirWhiteNeighboursLetter) {
  // C with C sharp: the black key is written as D flat.
  EXPECT_EQ(Name(40, false, {39, 40}), "d&1");
  // D flat with D: the black key is written as C sharp.
  EXPECT_EQ(Name(40, true, {40, 41}), "c#1");
  // The neighbour on the other side changes nothing.
  EXPECT_EQ(Name(40, false, {40, 41}), "c#1");
  EXPECT_EQ(Name(40, true, {39, 40}), "d&1");
  // White keys are never affected.
  EXPECT_EQ(Name(41, true, {40, 41, 42}), "d1");
}

TEST(RazidNoteNames, KeysWithoutAName) {
  EXPECT_TRUE(HasRazidName(0));
  EXPECT_TRUE(HasRazidName(98));
  EXPECT_FALSE(HasRazidName(-1));
  EXPECT_FALSE(HasRazidName(99));
}

TEST(RazidNoteNamesDeathTest, KeyOutsideTheTable) {
  EXPECT_DEATH(Name(99, false), "Assertion failed: HasRazidName\\(key\\)");
}

TEST(RazidNoteColors, ColourTags) {
  std::string text;
  noteColor(text, NoteWAnalysis::CL_RIGHT);
  noteColor(text, NoteWAnalysis::CL_WRONG);
  noteColor(text, NoteWAnalysis::CL_NOT_PLAYED);
  noteColor(text, 7);
  EXPECT_EQ(text,
            "  \\noteFormat<color=\"0x00996c\">   \\noteFormat<color=\"0xdc4040\"> "
            "  \\noteFormat<color=\"0x2789dd\">   \\noteFormat<color=\"black\"> ");
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
