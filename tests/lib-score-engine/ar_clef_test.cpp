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
  const ClefCase cases[] = {
      {"treble-8", ARClef::GCLEF, 2, -1},
      {"bass+15", ARClef::FCLEF, 4, 2},
      {"g-7", ARClef::GCLEF, 2, 0},  // no octave mark of that number
      {"alto", ARClef::CCLEF, 3, 0},
      {"tenor", ARClef::CCLEF, 4, 0},
      {"c1", ARClef::CCLEF, 1, 0},
      {"c9", ARClef::CCLEF, 3, 0},
      {"f", ARClef::FCLEF, 4, 0},
      {"perc", ARClef::PERCUSSIONCLEF, 2, 0},
      {"gg", ARClef::DOUBLEGCLEF, 2, 0},
      {"gg3", ARClef::DOUBLEGCLEF, 3, 0},
      {"G2", ARClef::GCLEF, 2, 0},  // no name, and the line is read from "G2"
      {"g 1", ARClef::GCLEF, 1, 0},
      {"off", ARClef::NOCLEF, 2, 0},
      {"-8", ARClef::NOCLEF, 2, -1},
      // Numbers beyond the int range are read as its ends, which are no lines and no marks.
      {"g99999999999999999999", ARClef::GCLEF, 2, 0},
      {"g2-99999999999999999999", ARClef::GCLEF, 2, 0},
      // Only the first 71 characters are read: the mark after them is not.
      {"g" + std::string(75, 'x') + "-8", ARClef::GCLEF, 2, 0},
      {std::string(5000, 'c'), ARClef::CCLEF, 3, 0},
  };
  for (ClefCase const& c : cases) {
    ARClef clef;
    EXPECT_EQ(Bind(clef, Given().Text(c.text.c_str())).warnings, "");
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
  EXPECT_EQ(Bind(octaveDown, Given().Int(3)).warnings,
            "Razid Warning: Named Parameter has wrong type:  \n"
            "Razid Warning: Required tag parameter was not set:  type\n");
  EXPECT_EQ(octaveDown.getOctava(), -1);
}

}  // namespace
