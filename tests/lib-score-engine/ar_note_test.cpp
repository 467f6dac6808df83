#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "ARNote.h"
#include "ARRest.h"

namespace {

std::string Rmn(ARMusicalObject const& object) {
  std::ostringstream os;
  os << object;
  return os.str();
}

ARNote Note(char const* name, int octave, int accidentals = 0) {
  return ARNote(NVstring(name), accidentals, octave, 1, 4, 80);
}

TEST(ARNoteTest, NamesArePitchClassesInLowerCase) {
  ARNote upper = Note("C", 1);
  EXPECT_STREQ(upper.getName().c_str(), "c");
  EXPECT_EQ(upper.getPitch(), 2);
  EXPECT_EQ(upper.getIntensity(), 80);

  ARNote cis = Note("cis", 1, 1);
  EXPECT_EQ(cis.getPitch(), 9);
  EXPECT_EQ(cis.getAccidentals(), 1);

  ARNote placeholder(Fraction(1, 2));
  EXPECT_TRUE(placeholder.getName().equal(ARNoteName::empty.c_str()));
  EXPECT_EQ(placeholder.getPitch(), 0);
  EXPECT_EQ(placeholder.getOctave(), MIN_REGISTER);
  EXPECT_TRUE(ARNote(1, 4).getName().equal("noname"));

  ARNote note = Note("c", 1);
  note.setPitch(11);
  EXPECT_STREQ(note.getName().c_str(), "fis");
}

TEST(ARNoteTest, OctavesFromTheTextStayWithinTheRegisters) {
  EXPECT_EQ(Note("c", 25).getOctave(), MAX_REGISTER);
  ARNote note = Note("c", -30);
  EXPECT_EQ(note.getOctave(), MIN_REGISTER);
  note.setRegister(11);
  EXPECT_EQ(note.getOctave(), MAX_REGISTER);
  note.setRegister(-2);
  EXPECT_EQ(note.getOctave(), -2);
  note.setAccidentals(5);  // the text can write more than two sharps
  EXPECT_EQ(note.getAccidentals(), 5);
}

TEST(ARNoteTest, OffsetpitchMovesNaturalNotesAlongTheScale) {
  struct Case {
    char const* name;
    int octave, steps;
    char const* movedName;
    int movedOctave;
  };
  for (Case c : {Case{"a", 1, 3, "d", 2},
                 {"c", 1, -1, "h", 0},
                 {"e", 0, 7, "e", 1},
                 {"c", 0, -15, "h", -3},
                 {"cis", 1, 2, "cis", 1},
                 {"_", 1, 2, "_", 1}}) {
    ARNote note = Note(c.name, c.octave);
    note.offsetpitch(c.steps);
    EXPECT_STREQ(note.getName().c_str(), c.movedName) << c.name << c.steps;
    EXPECT_EQ(note.getOctave(), c.movedOctave) << c.name << c.steps;
  }
}

TEST(ARNoteTest, MergingComparesPitchClassAndOctaveOnly) {
  ARNote c1 = Note("c", 1);
  ARNote sharpC1 = Note("c", 1, 1);
  EXPECT_TRUE(c1.CanBeMerged(&sharpC1));
  EXPECT_FALSE(c1.CompareNameOctavePitch(sharpC1));
  EXPECT_FALSE(c1.CanBeMerged(std::make_unique<ARNote>(Note("cis", 1)).get()));
  EXPECT_FALSE(c1.CanBeMerged(std::make_unique<ARNote>(Note("c", 2)).get()));
  EXPECT_FALSE(c1.CanBeMerged(std::make_unique<ARRest>(1, 4).get()));
  EXPECT_TRUE(ARRest(1, 4).CanBeMerged(std::make_unique<ARRest>(1, 8).get()));
  EXPECT_TRUE(c1.CompareNameOctavePitch(*std::unique_ptr<ARNote>(static_cast<ARNote*>(c1.Copy()))));
}

TEST(ARNoteTest, DotsAndTheirRmnText) {
  ARNote note = Note("e", 2, -2);
  note.setPoints(2);
  EXPECT_EQ(note.getDuration(), Fraction(7, 16));
  EXPECT_EQ(Rmn(note), "e&&2*1/4.. ");
  note.setDuration(Fraction(1, 2));
  EXPECT_EQ(note.getPoints(), 2);
  note.setDuration(Frac_0);
  EXPECT_EQ(note.getPoints(), 0);

  ARRest rest(3, 8);
  rest.setPoints(1);
  EXPECT_EQ(Rmn(rest), "_*9/16 ");
  EXPECT_EQ(Rmn(Note("fis", 1, 1)), "fis#1*1/4 ");

  testing::internal::CaptureStdout();
  Note("g", -1).print();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "ARNote: name: 'g' pitch: 6 oct: -1 accidental: 0 duration: 1/4\n");
}

}  // namespace
