#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "ARKey.h"
#include "ARNaturalKey.h"
#include "bound_tag.h"

namespace {

using EngineTesting::Bind;
using EngineTesting::Given;
using EngineTesting::Rmn;

// The first seven entries, c d e f g a h.
using Entries = std::array<int, 7>;

Entries FirstSeven(int const (&all)[ARKey::kEntries]) {
  Entries entries;
  std::copy_n(all, 7, entries.begin());
  return entries;
}

TEST(ARKeyTest, KeyNamesAndNumbersGiveTheNumberOfSharpsOrFlats) {
  struct Case {
    Given given;
    int keyNumber;
  };
  const Case cases[] = {
      {Given().Text("G"), 1},       {Given().Text("e"), 1},  {Given().Text("F#"), 6},
      {Given().Text("B&"), -2},     {Given().Text("c#"), 4}, {Given().Text("H"), 5},
      {Given().Text("b"), 2},       {Given().Text("A"), 3},  {Given().Text("3"), 0},
      {Given().Text("x"), -3},      {Given().Text("Cb"), 0}, {Given().Int(3), 3},
      {Given().Int(-4, "key"), -4},
  };
  for (Case const& c : cases) {
    ARKey key;
    Bind(key, c.given);
    EXPECT_EQ(key.getKeyNumber(), c.keyNumber) << Rmn(key);
    EXPECT_FALSE(key.isFree());
  }
}

TEST(ARKeyTest, FreeKeysSetAnAccidentalAndAnOctavePerNoteUntilAGroupCannotBeRead) {
  struct Case {
    char const* text;
    Entries accidentals;
    Entries octaves;
    bool unknownName;
  };
  const Case cases[] = {
      {"free=f#c#", {1, 0, 0, 1, 0, 0, 0}, {}, false},
      {"free=b&&e&", {0, 0, -1, 0, 0, 0, -2}, {}, false},
      {"free=f#-1d&2", {0, -1, 0, 1, 0, 0, 0}, {0, 2, 0, -1, 0, 0, 0}, false},
      {"free=f#5c#", {0, 0, 0, 1, 0, 0, 0}, {}, false},
      {"free=f#+3c#", {0, 0, 0, 1, 0, 0, 0}, {}, false},
      {"free=f#&c#", {}, {}, false},
      {"free=c###", {}, {}, false},
      // A raised name has no entry: neither its accidental nor its octave is kept.
      {"free=cis#+1d#", {0, 1, 0, 0, 0, 0, 0}, {}, false},
      {"free=g#F#", {0, 0, 0, 0, 1, 0, 0}, {}, true},
  };
  for (Case const& c : cases) {
    ARKey key(2);
    const std::string errors = Bind(key, Given().Text(c.text)).errors;
    EXPECT_EQ(errors.rfind("Razid error: Unknown notename, replaced by rest. (line ", 0) == 0,
              c.unknownName)
        << c.text << ": " << errors;
    EXPECT_TRUE(key.isFree());
    EXPECT_EQ(key.getKeyNumber(), 2) << "a free key keeps the number";
    int accidentals[ARKey::kEntries];
    int octaves[ARKey::kEntries];
    key.getFreeKeyArray(accidentals);
    key.getOctArray(octaves);
    EXPECT_EQ(FirstSeven(accidentals), c.accidentals) << c.text;
    EXPECT_EQ(FirstSeven(octaves), c.octaves) << c.text;
  }
}

TEST(ARKeyTest, ComparesCopiesAndWritesTheNumber) {
  ARKey free, same, d;
  Bind(free, Given().Text("free=f#-1"));
  Bind(same, Given().Text("free=f#-1"));
  Bind(d, Given().Text("D"));
  EXPECT_TRUE(free == same);
  EXPECT_FALSE(free == ARKey());
  EXPECT_TRUE(d == ARKey(2)) << "written as a key name or as a number";
  std::unique_ptr<ARMusicalObject> copy(free.Copy());
  EXPECT_TRUE(static_cast<ARKey&>(*copy) == free);

  EXPECT_EQ(Rmn(d), "\\key<2> ");
  EXPECT_EQ(Rmn(free), "\\key<0> ");
  ARNaturalKey natural;
  Bind(natural, Given().Text("E"));
  EXPECT_EQ(Rmn(natural), "\\natkey ");
  EXPECT_EQ(natural.getKeyNumber(), 4);
}

}  // namespace
