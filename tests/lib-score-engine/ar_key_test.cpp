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
using Entries = std::array<int, ARKey::kEntries>;

TEST(ARKeyTest, KeyNamesAndNumbersGiveTheNumberOfSharpsOrFlats) {
  const std::pair<Given, int> cases[] = {
      {Given().Text("G"), 1},   {Given().Text("e"), 1},  {Given().Text("F#"), 6},
      {Given().Text("B&"), -2}, {Given().Text("c#"), 4}, {Given().Text("H"), 5},
      {Given().Text("b"), 2},   {Given().Text("A"), 3},  {Given().Text("3"), 0},
      {Given().Text("x"), -3},  {Given().Text("Cb"), 0}, {Given().Int(3), 3},
  };
  for (auto const& [given, keyNumber] : cases) {
    ARKey key;
    // A number fits the second form: the first form's complaint about it is not given.
    EXPECT_EQ(Bind(key, given), "");
    EXPECT_EQ(key.getKeyNumber(), keyNumber) << Rmn(key);
    EXPECT_FALSE(key.isFree());
  }
}

TEST(ARKeyTest, FreeKeysSetAnAccidentalAndAnOctavePerNoteUntilAGroupCannotBeRead) {
  struct Case {
    char const* text;
    Entries accidentals;  // c d e f g a h
    Entries octaves;
    bool unknownName;
  };
  const Case cases[] = {
      {"free=f#c#", {1, 0, 0, 1}, {}, false},
      {"free=b&&e&", {0, 0, -1, 0, 0, 0, -2}, {}, false},
      {"free=f#-1d&2", {0, -1, 0, 1}, {0, 2, 0, -1}, false},
      {"free=f#5c#", {0, 0, 0, 1}, {}, false},
      {"free=f#+3c#", {0, 0, 0, 1}, {}, false},
      {"free=f#&c#", {}, {}, false},
      {"free=c###", {}, {}, false},
      // A raised name has no entry: neither its accidental nor its octave is kept.
      {"free=cis#+1d#", {0, 1}, {}, false},
      {"free=g#F#", {0, 0, 0, 0, 1}, {}, true},
  };
  for (Case const& c : cases) {
    ARKey key(2);
    testing::internal::CaptureStdout();
    Bind(key, Given().Text(c.text));
    const std::string errors = testing::internal::GetCapturedStdout();
    EXPECT_EQ(errors.rfind("Razid error: Unknown notename, replaced by rest. (line ", 0) == 0,
              c.unknownName)
        << c.text << ": " << errors;
    EXPECT_TRUE(key.isFree());
    EXPECT_EQ(key.getKeyNumber(), 2) << "a free key keeps the number";
    Entries accidentals, octaves;
    key.getFreeKeyArray(accidentals.data());
    key.getOctArray(octaves.data());
    EXPECT_EQ(accidentals, c.accidentals) << c.text;
    EXPECT_EQ(octaves, c.octaves) << c.text;
  }
}

TEST(ARKeyTest, ComparesCopiesAndWritesTheNumber) {
  ARKey free, d;
  Bind(free, Given().Text("free=f#-1"));
  Bind(d, Given().Text("D"));
  std::unique_ptr<ARMusicalObject> copy(free.Copy());
  EXPECT_TRUE(static_cast<ARKey&>(*copy) == free);
  EXPECT_FALSE(free == ARKey());
  EXPECT_TRUE(d == ARKey(2)) << "written as a key name or as a number";
  EXPECT_EQ(Rmn(d) + Rmn(free) + Rmn(ARNaturalKey()), "\\key<2> \\key<0> \\natkey ");
}

}  // namespace
