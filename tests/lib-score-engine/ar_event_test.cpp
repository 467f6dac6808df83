#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "ARNote.h"
#include "ARRest.h"
#include "assertion_pattern.h"
#include "engine_globals.h"

namespace {

// The length as stored, "numerator/denominator".
std::string Length(ARMusicalObject const& object) {
  return std::to_string(object.getDuration().getNumerator()) + "/" +
         std::to_string(object.getDuration().getDenominator());
}

std::string Rmn(ARMusicalObject const& object) {
  std::ostringstream os;
  os << object;
  return os.str();
}

ARNote Note(char const* name, int octave, int accidentals = 0) {
  return ARNote(NVstring(name), accidentals, octave, 1, 4, 80);
}

TEST(ARMusicalEventTest, WrittenLengthsStayWithinLimitsAndDotsSkipLengthsOfZero) {
  EXPECT_EQ(Length(ARMusicalEvent(40000, 0)), "32767/1");
  EXPECT_EQ(Length(ARMusicalEvent(-3, 4)), "0/4");
  ARMusicalEvent event(1, 4);
  event.setNumerator(70000);
  testing::internal::CaptureStderr();
  event.setDenominator(0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Razid Warning: Denominator is too small\n");
  EXPECT_EQ(Length(event), "32767/1");
  // No length shorter than 1/256 is drawn: such a length is reported and read as 1/256.
  for (auto [numerator, denominator, kept, warned] : {std::tuple{1, 256, "1/256", false},
                                                      {1, 512, "1/256", true},
                                                      {3, 1024, "3/768", true},
                                                      {3, 768, "3/768", false},
                                                      {32767, 2147483647, "32767/8388352", true},
                                                      {0, 512, "0/512", false}}) {
    ARMusicalEvent written(1, 4);
    written.setNumerator(numerator);
    testing::internal::CaptureStderr();
    written.setDenominator(denominator);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              warned ? "Razid Warning: Length is too short to be drawn\n" : "");
    EXPECT_EQ(Length(written), kept);
  }

  for (auto [numerator, denominator, dots, dotted] :
       {std::tuple{1, 4, 1, "3/8"}, {1, 2, 3, "15/16"}, {0, 1, 2, "0/1"}}) {
    ARMusicalEvent written(numerator, denominator);
    written.setPoints(dots);
    EXPECT_EQ(Length(written), dotted);
    EXPECT_EQ(written.getPoints(), numerator ? dots : 0);
  }
}

TEST(ARMusicalEventTest, CopiesMergingAndRepresentations) {
  struct Other : ARMusicalEvent {
    using ARMusicalEvent::ARMusicalEvent;
  };
  ARMusicalEvent event(Fraction(1, 2), Fraction(1, 4));
  event.setPoints(1);
  std::unique_ptr<ARMusicalObject> copy(event.Copy());
  EXPECT_EQ(static_cast<ARMusicalEvent&>(*copy).getPoints(), 1);
  EXPECT_EQ(copy->getRelativeEndTimePosition(), Fraction(7, 8));
  EXPECT_TRUE(event.CanBeMerged(static_cast<ARMusicalEvent*>(copy.get())));
  EXPECT_FALSE(event.CanBeMerged(std::make_unique<Other>(1, 4).get()));
  EXPECT_FALSE(ARMusicalObject::IsPowerOfTwoDenom(Fraction(1, 12)));

  // The elements are listed, never owned: the list is forgotten with its elements alive.
  auto* element = reinterpret_cast<GObject*>(0x10);
  event.addGRRepresentation(element);
  EXPECT_EQ(event.getLastGRRepresentation(), element);
  event.resetGRRepresentation();
  EXPECT_EQ(event.getFirstGRRepresentation(), nullptr);
  event.addGRRepresentation(element);

  testing::internal::CaptureStdout();
  ARMusicalObject(Fraction(3, 4)).print();
  event.print();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "ARMusicalObject: duration: 0/1 time pos: 3/4\n");
  EXPECT_EQ(gGlobalSettings.gAutoBarlines, 1) << "bar lines are inserted unless switched off";
}

TEST(ARMusicalObjectDeathTest, BrokenInvariantsStopWithTheirExpression) {
  using EngineTesting::AssertionPattern;
  constexpr char kObject[] = "lib-score-engine/abstract/ARMusicalObject.cpp";
  ARMusicalObject object;
  EXPECT_DEATH(
      object.setRelativeTimePosition(Fraction(-1, 4)),
      AssertionPattern("newRelativeTimePosition>=DURATION_0", "setRelativeTimePosition", kObject));
  object.addGRRepresentation(nullptr);
  EXPECT_DEATH(delete object.Copy(),
               AssertionPattern("armo.mGrObject == NULL", "ARMusicalObject", kObject));
}

TEST(ARNoteTest, NamesOctavesAndSteps) {
  ARNote upper = Note("C", 25);
  EXPECT_STREQ(upper.getName().c_str(), "c");
  EXPECT_EQ(upper.getPitch(), 2);
  EXPECT_EQ(upper.getOctave(), MAX_REGISTER) << "octaves from the text stay in range";
  upper.setRegister(-11);
  EXPECT_EQ(upper.getOctave(), MIN_REGISTER);
  upper.setPitch(11);
  EXPECT_STREQ(upper.getName().c_str(), "fis");
  EXPECT_TRUE(ARNote(Fraction(1, 2)).getName().equal(ARNoteName::empty.c_str()));

  for (auto [name, octave, steps, moved] : {std::tuple{"a", 1, 3, "d2*1/4 "},
                                            {"c", 1, -1, "h0*1/4 "},
                                            {"e", 0, 7, "e1*1/4 "},
                                            {"c", 0, -15, "h-3*1/4 "},
                                            {"cis", 1, 2, "cis1*1/4 "}}) {
    ARNote note = Note(name, octave);
    note.offsetpitch(steps);
    EXPECT_EQ(Rmn(note), moved) << name << steps;
  }
}

TEST(ARNoteTest, MergingComparesPitchClassAndOctaveOnly) {
  ARNote c1 = Note("c", 1);
  ARNote sharpC1 = Note("c", 1, 1);
  EXPECT_TRUE(c1.CanBeMerged(&sharpC1));
  EXPECT_FALSE(c1.CompareNameOctavePitch(sharpC1));
  for (ARNote other : {Note("cis", 1), Note("c", 2)}) EXPECT_FALSE(c1.CanBeMerged(&other));
  EXPECT_FALSE(c1.CanBeMerged(std::make_unique<ARRest>(1, 4).get()));
  EXPECT_TRUE(ARRest(1, 4).CanBeMerged(std::make_unique<ARRest>(1, 8).get()));
}

TEST(ARNoteTest, DotsAndDebugOutput) {
  ARNote note = Note("e", 2, -2);
  note.setPoints(2);
  std::unique_ptr<ARMusicalObject> copy(note.Copy());
  EXPECT_EQ(Rmn(*copy), "e&&2*1/4.. ");
  note.setDuration(Frac_0);
  EXPECT_EQ(note.getPoints(), 0);

  ARRest rest(3, 8);
  rest.setPoints(1);
  EXPECT_EQ(Rmn(rest), "_*9/16 ");
  testing::internal::CaptureStdout();
  Note("g", -1).print();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "ARNote: name: 'g' pitch: 6 oct: -1 accidental: 0 duration: 1/4\n");
}

}  // namespace
