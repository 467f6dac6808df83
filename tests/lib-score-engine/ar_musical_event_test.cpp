#include <gtest/gtest.h>

#include <memory>

#include "ARMusicalEvent.h"
#include "ARNote.h"
#include "assertion_pattern.h"
#include "engine_globals.h"

namespace {

struct Length {
  int numerator;
  int denominator;
};

void ExpectLength(ARMusicalObject const& object, Length expected) {
  EXPECT_EQ(object.getDuration().getNumerator(), expected.numerator);
  EXPECT_EQ(object.getDuration().getDenominator(), expected.denominator);
}

TEST(ARMusicalEventTest, WrittenLengthsAreKeptWithinTheirLimits) {
  struct Case {
    Length written, kept;
  };
  for (Case c : {Case{{40000, 0}, {32767, 1}}, {{-3, 4}, {0, 4}}, {{2, 8}, {2, 8}}}) {
    ARMusicalEvent event(c.written.numerator, c.written.denominator);
    ExpectLength(event, c.kept);
    EXPECT_EQ(event.getRelativeTimePosition(), Frac_0);
  }

  ARMusicalEvent event(1, 4);
  event.setNumerator(-1);
  event.setDenominator(16);
  ExpectLength(event, {0, 16});
  event.setNumerator(70000);
  testing::internal::CaptureStderr();
  event.setDenominator(0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Razid Warning: Denominator is too small\n");
  ExpectLength(event, {32767, 1});
}

TEST(ARMusicalEventTest, DotsLengthenByHalvesAndSkipLengthsOfZero) {
  struct Case {
    Length base;
    int dots;
    Length dotted;
  };
  for (Case c : {Case{{1, 4}, 1, {3, 8}},
                 {{1, 2}, 3, {15, 16}},
                 {{1, 8}, 2, {7, 32}},
                 {{0, 4}, 1, {0, 4}},
                 {{0, 1}, 2, {0, 1}}}) {
    ARMusicalEvent event(c.base.numerator, c.base.denominator);
    event.setPoints(c.dots);
    ExpectLength(event, c.dotted);
    EXPECT_EQ(event.getPoints(), c.base.numerator ? c.dots : 0);
  }
}

TEST(ARMusicalEventTest, CopiesAndMergingLookAtTheExactClass) {
  struct Other : ARMusicalEvent {
    using ARMusicalEvent::ARMusicalEvent;
  };
  ARMusicalEvent event(Fraction(1, 2), Fraction(1, 4));
  event.setPoints(1);
  std::unique_ptr<ARMusicalObject> copy(event.Copy());
  auto* copied = static_cast<ARMusicalEvent*>(copy.get());
  EXPECT_EQ(copied->getPoints(), 1);
  EXPECT_EQ(copied->getRelativeTimePosition(), Fraction(1, 2));
  EXPECT_EQ(copied->getRelativeEndTimePosition(), Fraction(7, 8));
  EXPECT_TRUE(copied->isEventClass());
  EXPECT_TRUE(event.CanBeMerged(copied));
  EXPECT_FALSE(event.CanBeMerged(std::make_unique<Other>(1, 4).get()));

  ARMusicalObject object(Fraction(1, 4));
  object.setRelativeEndTimePosition(Fraction(1, 1));
  EXPECT_EQ(object.getDuration(), Fraction(3, 4));
  EXPECT_FALSE(object.isEventClass());
}

TEST(ARMusicalObjectTest, RepresentationsAreListedButNeverOwned) {
  ARMusicalObject object;
  EXPECT_EQ(object.getFirstGRRepresentation(), nullptr);
  auto* first = reinterpret_cast<GObject*>(0x10);
  auto* second = reinterpret_cast<GObject*>(0x20);
  object.addGRRepresentation(first);
  object.addGRRepresentation(second);
  EXPECT_EQ(object.getFirstGRRepresentation(), first);
  EXPECT_EQ(object.getLastGRRepresentation(), second);
  object.removeGRRepresentation(second);
  EXPECT_EQ(object.getGRRepresentation()->GetCount(), 1);
  object.resetGRRepresentation();
  EXPECT_EQ(object.getFirstGRRepresentation(), nullptr);
  object.addGRRepresentation(first);  // left for the destructor to forget
}

TEST(ARMusicalObjectTest, DebugDumpAndEngineStartState) {
  ARMusicalObject object(Fraction(3, 4));
  object.setDuration(Fraction(1, 8));
  testing::internal::CaptureStdout();
  object.print();
  ARMusicalEvent(1, 4).print();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "ARMusicalObject: duration: 1/8 time pos: 3/4\n");

  EXPECT_EQ(gGlobalSettings.gDevice, nullptr);
  EXPECT_EQ(gGlobalSettings.gAutoBarlines, 1) << "bar lines are inserted unless switched off";
  EXPECT_EQ(gGlobalFactory, nullptr);
  EXPECT_EQ(gCurArMusic, nullptr);
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
  ARNote note(NVstring("c"), 2, 1, 1, 4, 80);
  EXPECT_DEATH(note.addSharp(), AssertionPattern("accidentals<=MAX_ACCIDENTALS", "addSharp",
                                                 "lib-score-engine/abstract/ARNote.cpp"));
}

TEST(ARMusicalObjectTest, PowerOfTwoDenominators) {
  EXPECT_TRUE(ARMusicalObject::IsPowerOfTwoDenom(Fraction(3, 8)));
  EXPECT_TRUE(ARMusicalObject::IsPowerOfTwoDenom(Frac_1));
  EXPECT_FALSE(ARMusicalObject::IsPowerOfTwoDenom(Fraction(1, 12)));
}

}  // namespace
