#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ARClef.h"
#include "bound_tag.h"

namespace {

using EngineTesting::Bind;
using EngineTesting::Given;
using EngineTesting::Rmn;

struct ClefCase {
  std::string text;
  int clef;
  int line;
  int octava;
};

TEST(ARClefTest, ReadsKindLineAndOctaveMarkFromTheText) {
  // Kinds: 0 none, 2 G, 3 F, 4 C, 5 percussion, 6 double G. Numbers beyond the int range are no
  // lines and no marks. Only the first 71 characters are read: the mark after them is not.
  const std::string tooLong = "g" + std::string(75, 'x') + "-8";
  const ClefCase cases[] = {
      {"treble-8", 2, 2, -1},   {"bass+15", 3, 4, 2},
      {"g-7", 2, 2, 0},         {"alto", 4, 3, 0},
      {"c1", 4, 1, 0},          {"c9", 4, 3, 0},
      {"f", 3, 4, 0},           {"perc", 5, 2, 0},
      {"gg", 6, 2, 0},          {"G2", 2, 2, 0},
      {"off", 0, 2, 0},         {tooLong, 2, 2, 0},
      {"g9999999999", 2, 2, 0}, {"g2-9999999999", 2, 2, 0},
  };
  for (ClefCase const& c : cases) {
    ARClef clef;
    EXPECT_EQ(Bind(clef, Given().Text(c.text.c_str())), "");
    EXPECT_EQ(clef.getClefType(), c.clef) << c.text;
    EXPECT_EQ(clef.getLine(), c.line) << c.text;
    EXPECT_EQ(clef.getOctava(), c.octava) << c.text;
    EXPECT_EQ(clef.getName().c_str(), c.text) << "the name keeps the whole text";
  }
}

TEST(ARClefTest, ComparesTheClefNotTheTextAndWritesTheTextBack) {
  ARClef treble, g2, octaveDown;
  Bind(treble, Given().Text("treble", "type"));
  g2.setName("g2");
  Bind(octaveDown, Given().Text("treble-8").Text("red", "color"));
  EXPECT_TRUE(treble == g2);
  EXPECT_FALSE(treble == octaveDown);
  EXPECT_TRUE(ARClef() == treble) << "a new clef is a treble clef";
  EXPECT_EQ(Rmn(octaveDown), "\\clef<\"treble-8\",color=\"red\"> ");
  EXPECT_EQ(Rmn(ARClef()), "\\clef ");

  std::unique_ptr<ARMusicalObject> copy(octaveDown.Copy());
  EXPECT_EQ(Rmn(*copy), Rmn(octaveDown));
  EXPECT_TRUE(static_cast<ARClef&>(*copy) == octaveDown);

  // Without a string the template does not match and the clef stays as it was.
  EXPECT_EQ(Bind(octaveDown, Given().Int(3)),
            "Razid Warning: Named Parameter has wrong type:  \n"
            "Razid Warning: Required tag parameter was not set:  type\n");
  EXPECT_EQ(octaveDown.getOctava(), -1);
}

}  // namespace
