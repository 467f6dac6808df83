#include <gtest/gtest.h>

#include <memory>

#include "ARMusicalTag.h"
#include "ARPositionTag.h"
#include "GRGlue.h"
#include "GRPTagARNotationElement.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "NEPointerList.h"
#include "TagParameterFloat.h"
#include "graphic_fixture.h"
#include "lib-score-engine/assertion_pattern.h"

namespace {

using EngineTesting::GraphicFixture;
using SSE = GRSystemStartEndStruct;

class ARProbeRange : public ARMusicalTag, public ARPositionTag {
 public:
  void print() const override {}
  ARMusicalObject* Copy() const override { return nullptr; }
};

// A range tag as each concrete one is made: its first piece on the staff it starts on.
class ProbeRange : public GRPTagARNotationElement {
 public:
  ProbeRange(ARMusicalObject* ar, GRStaff const* staff) : GRPTagARNotationElement(ar) {
    addFirstStartEnd(staff);
  }
  void OnDraw(VGDevice&, VScoreSymbolMap&) const override {}
};

class Event : public GRNotationElement {
 public:
  explicit Event(GRStaff* staff = nullptr) { setGRStaff(staff); }
};

// Two systems of one staff each: the first ends with its end glue, the second begins with its
// second glue. Members go in reverse order, so the elements and glues die while the tag and the
// abstract tag still exist, as the layout deletes them.
class PositionTagTest : public GraphicFixture {
 protected:
  GRStaff* AddSystem(std::unique_ptr<GRSystem>& system) {
    system = std::make_unique<GRSystem>();
    auto* slice = new GRSystemSlice(nullptr, Frac_0);
    system->AddSystemSlice(slice);
    auto* staff = new GRStaff(slice);
    slice->addStaff(staff, 0);
    return staff;
  }
  void SetUp() override {
    GraphicFixture::SetUp();
    staff1 = AddSystem(system1);
    staff2 = AddSystem(system2);
    staff1->EndStaff(Frac_1_2);
    staff2->AddSecondGlue(new GRGlue(staff2, GRGlue::SECOND_GLUE));
  }

  ARProbeRange ar;
  std::unique_ptr<ProbeRange> tag;
  std::unique_ptr<GRSystem> system1;
  std::unique_ptr<GRSystem> system2;
  GRStaff* staff1 = nullptr;
  GRStaff* staff2 = nullptr;
  Event e1, e2, e3, e4;

  void Make() {
    tag = std::make_unique<ProbeRange>(&ar, staff1);
    e1.setGRStaff(staff1);
    e2.setGRStaff(staff1);
    e3.setGRStaff(staff2);
    e4.setGRStaff(staff2);
  }
  SSE* Piece(GRStaff* staff) const { return tag->getSystemStartEndStruct(staff->getGRSystem()); }
  static bool Knows(GRNotationElement const& element, GRNotationElement* other) {
    return element.getAssociations() && element.getAssociations()->GetElementPos(other);
  }
};

TEST_F(PositionTagTest, RangeOverTwoSystemsIsDrawnInTwoPieces) {
  Make();
  tag->addAssociation(&e1);
  tag->addAssociation(&e2);
  void* pos = tag->getAssociations()->GetTailPosition();
  void* const breakPos = pos;
  tag->BreakTag(staff1, pos);
  tag->StaffBegin(staff2);
  tag->addAssociation(&e3);
  tag->addAssociation(&e4);
  tag->RangeEnd(staff2);

  ASSERT_EQ(tag->getStartEndCount(), 2);
  SSE const* first = Piece(staff1);
  EXPECT_EQ(first->startflag, SSE::BEGINS_HERE);
  EXPECT_EQ(first->startElement, &e1);
  EXPECT_EQ(first->endflag, SSE::CONTINUES_ON_NEXT);
  EXPECT_EQ(first->endElement, staff1->getEndGlue());
  EXPECT_EQ(first->endpos, breakPos);
  SSE const* second = Piece(staff2);
  EXPECT_EQ(second->startflag, SSE::CONTINUES_FROM_LAST);
  EXPECT_EQ(second->startElement, staff2->getSecondGlue());
  ASSERT_NE(second->startpos, nullptr);
  EXPECT_EQ(tag->getAssociations()->GetAt(second->startpos), &e3);
  EXPECT_EQ(second->endflag, SSE::ENDS_HERE);
  EXPECT_EQ(second->endElement, &e4);
  GRNotationElement const* const ends[] = {&e1, &e4, staff1->getEndGlue(), staff2->getSecondGlue()};
  for (GRNotationElement const* end : ends)
    EXPECT_TRUE(Knows(*end, tag.get())) << "each end knows the tag";
  EXPECT_FALSE(Knows(e2, tag.get()));

  EXPECT_FALSE(tag->DeleteStaff(staff1));
  EXPECT_FALSE(Knows(e1, tag.get()));
  EXPECT_FALSE(Knows(*staff1->getEndGlue(), tag.get()));
  EXPECT_TRUE(tag->DeleteStaff(staff2));
}

TEST_F(PositionTagTest, RangeWithinOneSystemAndRemovedEnds) {
  Make();
  tag->addAssociation(&e1);
  tag->addAssociation(&e2);
  tag->RangeEnd(staff1);
  ASSERT_EQ(tag->getStartEndCount(), 1);
  SSE const* piece = Piece(staff1);
  EXPECT_EQ(piece->startElement, &e1);
  EXPECT_EQ(piece->endflag, SSE::ENDS_HERE);
  EXPECT_EQ(piece->endElement, &e2);

  tag->removeAssociation(&e1);
  EXPECT_EQ(piece->startflag, SSE::NO_ELEMENT);
  EXPECT_EQ(piece->startpos, nullptr);
  EXPECT_EQ(piece->endElement, &e2);
  EXPECT_EQ(tag->getAssociations()->GetCount(), 1);

  // One element that is both ends; its deletion clears both.
  tag->setStartElement(staff1, &e2);
  {
    Event only(staff1);
    tag->setStartElement(staff1, &only);
    tag->setEndElement(staff1, &only);
    EXPECT_FALSE(Knows(e2, tag.get())) << "a replaced end forgets the tag";
  }
  EXPECT_EQ(piece->startElement, nullptr);
  EXPECT_EQ(piece->endElement, nullptr);
  EXPECT_EQ(piece->endflag, SSE::NO_ELEMENT);
}

TEST_F(PositionTagTest, TagInErrorKeepsEveryPieceWithoutEnds) {
  ar.setError(1);
  Make();
  tag->addAssociation(&e1);
  void* pos = nullptr;
  tag->BreakTag(staff1, pos);
  tag->StaffBegin(staff2);
  tag->addAssociation(&e3);
  tag->RangeEnd(staff2);
  for (GRStaff* staff : {staff1, staff2})
    EXPECT_EQ(Piece(staff)->startElement, Piece(staff)->endElement) << "both null";
  EXPECT_EQ(Piece(staff1)->startElement, nullptr);
  EXPECT_FALSE(Knows(*staff2->getSecondGlue(), tag.get()));
}

TEST_F(PositionTagTest, APieceOfNoKnownSystemAnswersForAny) {
  tag = std::make_unique<ProbeRange>(&ar, nullptr);
  EXPECT_NE(Piece(staff1), nullptr);
  EXPECT_EQ(Piece(staff1), Piece(staff2));
  Event stray(nullptr);
  EXPECT_DEATH(tag->addAssociation(&stray),
               EngineTesting::AssertionPattern("pstaff", "addAssociation",
                                               "lib-score-engine/graphic/GRPositionTag.cpp"));
}

TEST_F(PositionTagTest, TagSettingsAnswerAlikeThroughEitherBase) {
  ar.setColor("0x102030");
  ar.setSize(0.5f);
  auto* dx = new TagParameterFloat(0);
  dx->setValue("2hs");
  ar.setDX(dx);
  auto* dy = new TagParameterFloat(0);
  dy->setValue("1hs");
  ar.setDY(dy);
  Make();
  GRNotationElement const* element = tag.get();
  auto const* asTag = dynamic_cast<GRTag const*>(element);
  ASSERT_NE(asTag, nullptr) << "the layout reaches the tag side by cross cast";
  EXPECT_EQ(element->getColRef(), asTag->getColRef());
  EXPECT_EQ(VGColor(element->getColRef()), VGColor(0x10, 0x20, 0x30));
  EXPECT_EQ(element->getSize(), 0.5f);
  EXPECT_EQ(&element->getOffset(), &asTag->getOffset());
  EXPECT_EQ(element->getOffset(), (NVPoint{50, -25}));
}

}  // namespace
