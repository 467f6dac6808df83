#include <gtest/gtest.h>

#include <set>

#include "src/core/settings/instrument_table.h"

namespace {

using namespace Core;

TEST(InstrumentTable, NamesAndProgramsFollowTheListOrder) {
  EXPECT_EQ(InstrumentName(0), "Acoustic Grand Piano");
  EXPECT_EQ(InstrumentProgram(0), 0);
  EXPECT_EQ(InstrumentName(7), "Clavi");
  EXPECT_EQ(InstrumentProgram(7), 7);
  EXPECT_EQ(InstrumentName(8), "Drawbar Organ");
  EXPECT_EQ(InstrumentProgram(8), 16);
  EXPECT_EQ(InstrumentName(21), "Violin");
  EXPECT_EQ(InstrumentProgram(21), 40);
  EXPECT_EQ(InstrumentName(24), "Trumpet");
  EXPECT_EQ(InstrumentProgram(24), 56);
  EXPECT_EQ(InstrumentName(35), "Baritone Sax");
  EXPECT_EQ(InstrumentProgram(35), 67);

  // Every entry is a distinct, valid General MIDI program in rising order, with a name.
  std::set<QString> names;
  for (int index = 0; index < InstrumentCount; ++index) {
    EXPECT_FALSE(InstrumentName(index).isEmpty());
    EXPECT_EQ(InstrumentDisplayName(index), InstrumentName(index)) << "no translation loaded";
    names.insert(InstrumentName(index));
    EXPECT_GE(InstrumentProgram(index), 0);
    EXPECT_LE(InstrumentProgram(index), 127);
    if (index > 0) {
      EXPECT_GT(InstrumentProgram(index), InstrumentProgram(index - 1));
    }
  }
  EXPECT_EQ(names.size(), static_cast<std::size_t>(InstrumentCount));
}

// The stored index is a signed byte from a user-editable file.
TEST(InstrumentTable, IndicesOutsideTheListPlayThePiano) {
  for (int index : {-128, -1, 36, 44, 127, 100000}) {
    EXPECT_EQ(InstrumentProgram(index), 0) << index;
    EXPECT_TRUE(InstrumentName(index).isEmpty()) << index;
    EXPECT_TRUE(InstrumentDisplayName(index).isEmpty()) << index;
  }
}

}  // namespace
