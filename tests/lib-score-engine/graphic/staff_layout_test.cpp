#include <gtest/gtest.h>

#include <memory>

#include "ARBar.h"
#include "ARClef.h"
#include "ARInstrument.h"
#include "ARKey.h"
#include "ARMeter.h"
#include "ARNaturalKey.h"
#include "AROctava.h"
#include "ARStaffFormat.h"
#include "GRBar.h"
#include "GRClef.h"
#include "GRGlue.h"
#include "GRStaffManager.h"
#include "lib-score-engine/bound_tag.h"
#include "lib-score-engine/given_parameters.h"
#include "spacing_fixture.h"

namespace {

using EngineTesting::Bind;
using EngineTesting::Given;
using StaffLayoutTest = EngineTesting::SpacingFixture;

TEST_F(StaffLayoutTest, StaffFormatsSetLineSpaceAndLines) {
  struct Case {
    Given given;
    float lineSpace;
    int lines;
  } const cases[] = {
      {Given().Text("3-line").Float(6, "size", "pt"), 100, 3},
      {Given().Text("1-line"), 50, 1},
      {Given().Text("9-line"), 50, 5},  // eight lines or more keep the count
      {Given().Text("3-lines"), 50, 3},
      {Given().Text("x-line"), 50, 5},
      {Given().Float(0, "size"), 50, 5},  // a size that lays nothing out counts as none
      {Given().Float(-3, "size", "pt"), 50, 5},
  };
  for (Case const& c : cases) {
    ARStaffFormat format;
    Bind(format, c.given);
    GRStaff staff(slice);
    staff.setStaffFormat(&format);
    EXPECT_NEAR(staff.getLineSpace(), c.lineSpace, 0.5f);
    EXPECT_EQ(staff.getNumlines(), c.lines);
    // A carried state keeps the line space it holds, which a format without a size left.
    GRStaffState copy;
    staff.getStaffState().lineSpace = 7;
    copy = staff.getStaffState();
    EXPECT_EQ(copy.lineSpace, 7);
  }
}

TEST_F(StaffLayoutTest, BarsCountMeasuresAndRestartTheKey) {
  ARBar numbered, plain;
  auto staff = std::make_unique<GRStaff>(slice);  // its bars go before their tags
  staff->getStaffState().KeyArray[4] = 1;         // fis
  staff->getStaffState().MeasureAccidentals[4] = -1;
  Bind(numbered, Given().Int(5, "number"));
  staff->AddBar(&numbered, Fraction(1, 1));
  EXPECT_EQ(staff->getStaffState().curmeasurenum, 5);
  EXPECT_EQ(staff->getStaffState().MeasureAccidentals[4], 1);
  staff->AddBar(&plain, Fraction(2, 1));
  EXPECT_EQ(staff->getStaffState().curmeasurenum, 6);
  EXPECT_EQ(staff->getElements().GetCount(), 2);
  EXPECT_DEATH(staff->AddBar(&plain, Fraction(1, 2)), "Assertion failed: false");
}

// Elements sharing a spring form a group that keeps its widest room on either side.
TEST_F(StaffLayoutTest, RodsJoinTheGroupsOfSharedSprings) {
  GRStaff* staff = staves[0];
  struct Placed {
    int spring;
    float left, right;
  } const placed[] = {{1, 10, 20}, {1, 30, 5}, {2, 15, 0}, {4, 0, 40}, {6, 50, 50}};
  for (Placed const& p : placed) {
    GRNotationElement* el = Element(0, 0, p.left, p.right);
    el->setNeedsSpring(1);
    el->tellSpringID(p.spring);
    staff->addNotationElement(el);
    elements.back().release();  // the staff owns it now
  }
  GRStaffManager manager;
  int first = 0, end = 6;
  staff->createNewRods(&manager, first, end);
  struct Rod {
    int first, end;
    float length;
  } const expected[] = {{0, 1, 30}, {1, 2, 35}, {4, 5, 40}, {2, 4, 0}};
  std::vector<Rod> made;
  for (auto const* list : {&manager.getSimpleRods(), &manager.getComplexRods()})
    for (void* pos = list->GetHeadPosition(); pos;) {
      GRRod const* rod = list->GetNext(pos);
      made.push_back({rod->getSpr1(), rod->getSpr2(), rod->getLength()});
    }
  ASSERT_EQ(made.size(), 3u);  // 2 .. 4 has no room to keep
  for (size_t i = 0; i < made.size(); ++i) {
    EXPECT_EQ(made[i].first, expected[i].first);
    EXPECT_EQ(made[i].end, expected[i].end);
    EXPECT_EQ(made[i].length, expected[i].length);
  }
  EXPECT_EQ(staff->getLastRod()->getSpr1(), 4);
}

// An instrument sounding in D, higher than written, moves the next clef's notes a step; an
// octava moves them an octave, under a clef written within it too.
TEST_F(StaffLayoutTest, TranspositionAndOctavaMoveTheNotes) {
  ARInstrument instrument, plain;
  ARClef treble;
  AROctava octava;
  auto staff = std::make_unique<GRStaff>(slice);
  Bind(instrument, Given().Text("horn").Text("D+", "transp"));
  treble.setName(NVstring("g2"));
  staff->AddInstrument(&instrument);
  EXPECT_EQ(staff->getStaffState().transposeOffset, 1);
  EXPECT_EQ(staff->getStaffState().instrKeyNumber, 2);
  EXPECT_EQ(staff->getStaffState().MeasureAccidentals[0], -1);  // c against the instrument's cis
  staff->AddClef(&treble);
  EXPECT_EQ(staff->getNotePosition(6, 1), 175);

  Bind(octava, Given().Int(1, "i"));
  staff->AddOctava(&octava);
  EXPECT_EQ(staff->getNotePosition(6, 1), 350);  // written an octave below where it sounds
  staff->AddClef(&treble);
  EXPECT_EQ(staff->getNotePosition(6, 1), 350);
  EXPECT_EQ(staff->getStaffState().clefset, GRStaffState::CLEFEXPLICIT);

  Bind(plain, Given().Text("piano"));
  staff->AddInstrument(&plain);
  EXPECT_EQ(staff->getStaffState().transposeOffset, 0);
  EXPECT_EQ(staff->getLastNote(), nullptr);
}

TEST_F(StaffLayoutTest, GluesTieTheStaffToItsFirstAndLastSprings) {
  GRStaffManager manager;
  manager.addSpring(new GRSpring(Fraction(0, 1), Fraction(1, 4)));
  manager.addSpring(new GRSpring(Fraction(1, 4), Fraction(1, 4)));
  GRStaff* staff = staves[0];
  staff->BeginStaff(&manager);
  staff->BeginStaff(&manager);  // glues are made once
  EXPECT_EQ(staff->getElements().GetCount(), 2);
  EXPECT_EQ(staff->getElements().GetHead(), staff->getStartGlue());
  EXPECT_EQ(staff->getStartGlue()->getSpringID(), 0);
  EXPECT_NE(staff->getSecondGlue(), nullptr);
  staff->EndStaff(Fraction(1, 2), &manager, nullptr, 0);
  EXPECT_EQ(staff->getEndGlue()->getSpringID(), 1);
  EXPECT_EQ(staff->getRelativeEndTimePosition(), Fraction(1, 2));
  EXPECT_DEATH(staff->EndStaff(Fraction(1, 2)), "!mEndGlue");

  // The elements after the given place belong to the next line.
  GRStaff* other = staves[1];
  other->BeginStaff(&manager);
  void* keep = other->getElements().GetTailPosition();
  GRNotationElement* moved = Element(1, 0, 0, 0);
  moved->setRelativeTimePosition(Fraction(1, 4));
  other->addNotationElement(moved);
  other->EndStaff(Fraction(1, 4), &manager, keep, 0);
  EXPECT_EQ(other->getElements().GetCount(), 3);                  // two glues and the end glue
  EXPECT_EQ(other->getElements().GetElementPos(moved), nullptr);  // the fixture still owns it
}

TEST_F(StaffLayoutTest, KeysAndClefsCarryToTheNextLine) {
  ARKey dMajor(2);
  ARNaturalKey natural;
  ARMeter untyped;
  auto staff = std::make_unique<GRStaff>(slice);
  staff->AddKey(&dMajor);
  staff->AddMeter(&untyped);
  staff->AddKey(&natural);  // cancels on paper only
  EXPECT_EQ(staff->getStaffState().numkeys, 2);
  EXPECT_EQ(staff->getStaffState().curkey, &dMajor);
  EXPECT_EQ(staff->getStaffState().meterset, 0);
  staff->getStaffState().basepit = 4;

  GRStaff* next = staves[1];
  next->setStaffState(&staff->getStaffState());
  EXPECT_EQ(next->getStaffState().numkeys, 2);
  EXPECT_EQ(next->getStaffState().basepit, 4);
  next->UpdateStaffState(nullptr);  // nothing on it yet
  staff->UpdateStaffState(nullptr);
  EXPECT_EQ(staff->getStaffState().numkeys, 2);  // the natural key names the key it cancels
}

}  // namespace

TEST_F(StaffLayoutTest, ANewLineOpensWithTheCarriedClefKeyAndSecondGlue) {
  ARClef bass;
  bass.setName(NVstring("f"));
  ARKey dMajor(2);
  GRStaffState carried;
  carried.curclef = &bass;
  carried.curkey = &dMajor;
  carried.transposeOffset = 0;
  GRStaffManager manager;
  auto staff = std::make_unique<GRStaff>(slice);
  staff->CreateBeginElements(&manager, carried, 1);
  auto const& elements = staff->getElements();
  ASSERT_EQ(elements.GetCount(), 3);
  auto* clef = dynamic_cast<GRClef*>(elements.GetHead());
  ASSERT_NE(clef, nullptr);
  EXPECT_NE(clef->getAbstractRepresentation(), &bass);  // a copy of its own at the line's time
  EXPECT_EQ(staff->getStaffState().clefset, GRStaffState::CLEFEXPLICIT);
  EXPECT_EQ(staff->getStaffState().basepit, 5);
  EXPECT_EQ(staff->getStaffState().numkeys, 2);
  EXPECT_EQ(staff->getSecondGlue(), elements.GetTail());

  // Without a key, a transposing instrument's key still sets the measure's accidentals.
  GRStaffState transposing;
  transposing.instrKeyNumber = 1;
  auto plain = std::make_unique<GRStaff>(slice);
  plain->CreateBeginElements(&manager, transposing, 1);
  EXPECT_EQ(plain->getElements().GetCount(), 1);
  EXPECT_EQ(plain->getStaffState().instrKeyArray[5 - 2], 1);        // fis
  EXPECT_EQ(plain->getStaffState().MeasureAccidentals[5 - 2], -1);  // against the instrument
}
