#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ARRest.h"
#include "GREmpty.h"
#include "GRGlue.h"
#include "GRRest.h"
#include "GRSingleRest.h"
#include "GRSpring.h"
#include "GRSpringCollider.h"
#include "lib-score-engine/assertion_pattern.h"
#include "spacing_fixture.h"

namespace {

using EngineTesting::AssertionPattern;
using SpringTest = EngineTesting::SpacingFixture;

TEST_F(SpringTest, ConstantsFollowTheShortestDuration) {
  struct Case {
    int num, denom;
    float constant;
  } const cases[] = {{1, 64, 9.024f}, {1, 32, 7.931f}, {1, 16, 6.413f},
                     {1, 8, 4.693f},  {1, 4, 3.14f},   {1, 2, 1.997f},
                     {1, 1, 1.268f},  {2, 1, 0.838f},  {0, 1, 20}};
  for (Case const& c : cases) {
    SCOPED_TRACE(testing::Message() << c.num << "/" << c.denom);
    EXPECT_FLOAT_EQ(GRSpring::defconst(Fraction(c.num, c.denom)), c.constant);
    EXPECT_FLOAT_EQ(GRSpring::defconst(static_cast<float>(c.num) / c.denom), c.constant);
    EXPECT_FLOAT_EQ(GRSpring(Fraction(0, 1), Fraction(c.num, c.denom)).getConstant(), c.constant);
  }
  // The parameter enters every constant.
  GRSpring::setFunctionParameter(1.5f);
  EXPECT_FLOAT_EQ(GRSpring::defconst(Fraction(1, 4)), 1.591f);
}

TEST_F(SpringTest, ElementsBringTheirOwnConstants) {
  GRRest halfRest(staves[0], Fraction(1, 2));
  GRRest eighthRest(staves[0], Fraction(1, 8));
  ARRest silence(Fraction(0, 1));
  GREmpty empty(staves[0], &silence, Fraction(0, 1), Fraction(0, 1));
  GRGlue startGlue(staves[0], GRGlue::START_GLUE);
  GRGlue endGlue(staves[0], GRGlue::END_GLUE);
  GRNotationElement plain;
  struct Case {
    GRNotationElement* element;
    float constant;
  } const cases[] = {
      {&halfRest, 3.14f},  // spaced as a quarter
      {&eighthRest, 4.693f}, {&empty, 200}, {&startGlue, 50}, {&endGlue, 100}, {&plain, 20},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(typeid(*c.element).name());
    EXPECT_FLOAT_EQ(GRSpring(c.element, nullptr).getConstant(), c.constant);
    EXPECT_FLOAT_EQ(GRSpring::onlycalcconst(c.element), c.constant);
  }
}

TEST_F(SpringTest, StretchingKeepsForceAndExtentInStep) {
  GRSpring spring(Fraction(0, 1), Fraction(1, 4));
  EXPECT_FLOAT_EQ(spring.change_x(100), 314);
  EXPECT_FLOAT_EQ(spring.change_force(314), 100);
  EXPECT_FLOAT_EQ(spring.change_force(100), 31.847f);  // 3 decimals
  EXPECT_FLOAT_EQ(spring.setlength(20), 100);          // shorter: nothing changes
  EXPECT_FLOAT_EQ(spring.getExtent(), 31.847f);
  EXPECT_FLOAT_EQ(spring.setlength(50), 157);
  EXPECT_FLOAT_EQ(spring.apply_force(628), 200);
  EXPECT_FLOAT_EQ(spring.stretchWithForce(100), 50);  // already under more force
  spring.setFrozen(1);
  EXPECT_FLOAT_EQ(spring.apply_force(628), 50);
  EXPECT_FLOAT_EQ(spring.stretchWithForce(1000), 50);
  spring.setFrozen(0);
  EXPECT_FLOAT_EQ(spring.change_const(2.000004f), 2.0f);  // 5 decimals
  EXPECT_FLOAT_EQ(spring.getExtent(), 78.5f);
  EXPECT_FLOAT_EQ(spring.change_dur(Fraction(1, 4)), 2.0f);  // same duration: kept
  EXPECT_FLOAT_EQ(spring.change_dur(Fraction(-1, 4)), 2.0f);
  EXPECT_FLOAT_EQ(spring.change_dur(Fraction(1, 8)), 4.693f);
  spring.set_const(10);
  EXPECT_FLOAT_EQ(spring.getForce(), 785);
}

TEST_F(SpringTest, ElementsAreFoundTypedAndPlaced) {
  GRGlue glue(staves[0], GRGlue::START_GLUE);
  glue.setBoundingBox(NVRect{-5, -5, 5, 5});
  GRNotationElement* note = Element(0, 100, 10, 10);
  GRSpring spring(&glue, nullptr);
  spring.addElement(note, nullptr);
  spring.setID(7);
  spring.setGRSpringID();
  spring.setGRPositionX(300);
  EXPECT_EQ(note->getSpringID(), 7);
  EXPECT_EQ(note->getPosition().x, 300);
  EXPECT_TRUE(spring.hasType(typeid(GRGlue)));
  spring.setNoExtent();
  EXPECT_EQ(glue.getBoundingBox().left, 0);
  EXPECT_EQ(glue.getBoundingBox().right, 0);
  EXPECT_EQ(note->getBoundingBox().right, 10);

  // Two voiceless entries make a shared spring; an empty one is nobody's.
  EXPECT_TRUE(spring.isCommonSpring(2));
  GRSpring lone(Fraction(0, 1), Fraction(1, 4));
  EXPECT_FALSE(lone.isCommonSpring(2));
  EXPECT_TRUE(lone.isCommonSpring(1));

  EXPECT_TRUE(spring.removeElement(note));
  EXPECT_FALSE(spring.removeElement(note));
  EXPECT_EQ(spring.getElements().GetCount(), 1);
}

// Room between neighbours is needed only where their elements share a band.
TEST_F(SpringTest, NeighboursNeedRoomOnlyWhereTheyMeet) {
  // The element a spring is made from stays out of its bands; added ones go in.
  GRSpring left(Element(0, 100, 10, 200), nullptr);
  GRSpring right(Fraction(1, 4), Fraction(1, 4));
  GRSpring apart(Fraction(1, 4), Fraction(1, 4));
  EXPECT_EQ(left.GetMaxDistance(&right), 0);  // no bands yet
  left.addElement(Element(0, 100, 10, 40), nullptr);
  left.addElement(Element(0, 300, 5, 80), nullptr);
  right.addElement(Element(0, 110, 30, 5), nullptr);
  apart.addElement(Element(1, 110, 90, 5), nullptr);  // the same height, a staff lower
  EXPECT_EQ(left.GetMaxDistance(&right), 70);         // 40 + 30 at y 100, not 80 + 30
  EXPECT_EQ(left.GetMaxDistance(&apart), 0);

  GRGlue glue(staves[0], GRGlue::START_GLUE);
  glue.setRightSpace(0);
  GRSpring glued(&glue, nullptr);
  EXPECT_EQ(glued.GetMaxDistance(&right), 30);
  EXPECT_EQ(left.GetMaxDistance(&glued), 200);  // every element counts next to a glue
}

// A rest's glyph reaches above the box its dots hang from: the note beside it needs room from
// the rest wherever the glyph reaches, or its stem, head or sign stands in the glyph.
TEST_F(SpringTest, RestsNeedRoomWhereverTheirGlyphsReach) {
  for (int const denominator : {4, 8, 16, 32}) {
    SCOPED_TRACE(denominator);
    GRSingleRest rest(staves[0], Fraction(1, denominator));
    float top = 0, bottom = 0;
    rest.getInkExtent(&top, &bottom);
    for (float const y : {top + 5, (top + bottom) / 2, bottom - 5}) {
      GRSpring left(Fraction(0, 1), Fraction(1, denominator));
      GRSpring right(Fraction(1, denominator), Fraction(1, 4));
      left.addElement(&rest, nullptr);
      right.addElement(Element(0, y, 30, 30, 10), nullptr);
      EXPECT_FLOAT_EQ(left.GetMaxDistance(&right), rest.getRightSpace() + 30) << "at " << y;
    }
  }
}

TEST_F(SpringTest, CollidersSortPositionsIntoBands) {
  GRSpringCollider collider;
  GRNotationElement* tall = Element(0, 100, 0, 0, 60);  // 70 .. 130: bands 2 .. 5
  GRNotationElement* low = Element(1, 10, 0, 0, 10);    // band 20 on the second staff
  int first = 0, second = 0;
  collider.AddElement(tall, &first);
  collider.AddElement(low, &second);
  for (int band = 2; band <= 5; ++band)
    EXPECT_THAT(collider.getBand(band), testing::ElementsAre(&first));
  EXPECT_TRUE(collider.getBand(6).empty());
  EXPECT_THAT(collider.getBand(20), testing::ElementsAre(&second));
  int third = 0;
  collider.AddExtent(tall, &third, 120, 170);  // bands 4 .. 6, after the positions they hold
  EXPECT_THAT(collider.getBand(3), testing::ElementsAre(&first));
  EXPECT_THAT(collider.getBand(5), testing::ElementsAre(&first, &third));
  EXPECT_THAT(collider.getBand(6), testing::ElementsAre(&third));
  collider.RemoveElement(tall, &third);

  GRSpringCollider other;
  other.AddElement(low, &first);
  int index = GRSpringCollider::kNoBand;
  GRSpringCollider::Band mine;
  GRSpringCollider::Band theirs;
  collider.GetMatchingPoslists(index, &other, &mine, &theirs);
  EXPECT_THAT(mine, testing::ElementsAre(&second));
  EXPECT_THAT(theirs, testing::ElementsAre(&first));
  EXPECT_EQ(index, GRSpringCollider::kNoBand);

  collider.RemoveElement(tall, &first);
  EXPECT_TRUE(collider.getBand(3).empty());
  EXPECT_FALSE(collider.getBand(20).empty());
}

TEST_F(SpringTest, BrokenPreconditionsStop) {
  GRSpring spring(Fraction(0, 1), Fraction(1, 4));
  auto pattern = [](char const* expression, char const* function) {
    return AssertionPattern(expression, function, "lib-score-engine/graphic/GRSpring.cpp");
  };
  EXPECT_DEATH(spring.set_const(0), pattern("dc > 0", "set_const"));
  EXPECT_DEATH(spring.change_x(-1), pattern("dx >= 0.0", "change_x"));
  EXPECT_DEATH(spring.change_force(-1), pattern("df >= 0.0", "change_force"));
}

}  // namespace
