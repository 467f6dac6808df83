#include <gtest/gtest.h>

#include "src/core/exercise/theory/key_geometry.h"
#include "src/core/midi/midi.h"

namespace Core {
namespace {

TEST(KeyGeometry, WhiteIndexRoundTripsOverTheWholeKeyboard) {
  unsigned int white = 0;
  for (unsigned int key = 0; key < PianoKeyCount; ++key) {
    const bool black = IsMidiChromatic(static_cast<unsigned char>(key + 21));
    if (!black) {
      EXPECT_EQ(NoteToWhiteIndex(key), white) << key;
      EXPECT_EQ(NoteToNextWhiteIndex(key), white) << key;
      EXPECT_EQ(WhiteIndexToNote(white), key) << white;
      ++white;
    } else {
      // A black key lies between the white key below and the one above.
      EXPECT_EQ(NoteToWhiteIndex(key), white - 1) << key;
      EXPECT_EQ(NoteToNextWhiteIndex(key), white) << key;
      EXPECT_EQ(WhiteIndexToPrevNote(white), key) << white;
    }
  }
  EXPECT_EQ(white, WhiteKeyCount);
  EXPECT_EQ(WhiteIndexToNote(51), 87u);
}

TEST(KeyGeometry, WhiteKeysWithoutABlackKeyBelow) {
  EXPECT_EQ(WhiteIndexToPrevNote(0), static_cast<unsigned int>(-1));  // nothing below A0
  EXPECT_EQ(WhiteIndexToPrevNote(2), 3u);                             // C1 itself
  EXPECT_EQ(WhiteIndexToPrevNote(5), 8u);                             // F1 itself
}

TEST(KeyGeometry, OctaveAndPitchClass) {
  EXPECT_EQ(octave(-5), 0u);
  EXPECT_EQ(octave(2), 0u);
  EXPECT_EQ(octave(3), 1u);
  EXPECT_EQ(octave(39), 4u);
  EXPECT_EQ(octave(86), 7u);
  EXPECT_EQ(octave(87), 8u);

  EXPECT_EQ(GetNoteType(0), 9u);
  EXPECT_EQ(GetNoteType(87), 0u);
  EXPECT_EQ(GetNoteType(200), 0u);
  for (unsigned int key = 0; key < PianoKeyCount; ++key)
    EXPECT_EQ(GetNoteType(static_cast<unsigned char>(key)), (key + 9) % 12) << key;
}

TEST(KeyGeometry, ChromaticsAreTheBlackKeys) {
  unsigned int next = 0;
  for (unsigned int key = 0; key < PianoKeyCount; ++key) {
    if (IsMidiChromatic(static_cast<unsigned char>(key + 21))) {
      ASSERT_LT(next, Chromatics.size());
      EXPECT_EQ(Chromatics[next++], key);
    }
  }
  EXPECT_EQ(next, Chromatics.size());
  EXPECT_EQ(Chromatics.back(), 85u);
}

TEST(KeyGeometry, GuitarPositionTakesTheHighestStringThatReaches) {
  const GuitarPosition lowE(19);
  EXPECT_EQ(lowE.string, 5u);
  EXPECT_EQ(lowE.fret, 0u);
  const GuitarPosition high(50);
  EXPECT_EQ(high.string, 0u);
  EXPECT_EQ(high.fret, 7u);
  const GuitarPosition middle(37);  // under B3 (38), on the G string (34)
  EXPECT_EQ(middle.string, 2u);
  EXPECT_EQ(middle.fret, 3u);
  for (unsigned int key = 19; key < PianoKeyCount; ++key)
    EXPECT_EQ(GuitarPosition(key).Note(), key);
}

TEST(KeyGeometryDeathTest, GuitarPositionBelowTheLowestString) {
  EXPECT_DEATH(GuitarPosition(18), "Assertion failed: key >= 19");
}

}  // namespace
}  // namespace Core
