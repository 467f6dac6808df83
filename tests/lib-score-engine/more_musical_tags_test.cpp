#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>
#include <vector>

#include "ARCast.h"
#include "ARChordTag.h"
#include "ARClef.h"
#include "ARNote.h"
#include "ARTie.h"
#include "ARUserChordTag.h"
#include "MoreMusicalTags.h"
#include "assertion_pattern.h"
#include "bound_tag.h"

namespace {

using EngineTesting::Rmn;

TEST(MoreMusicalTagsTest, EachTagWritesItsName) {
  ARDummyRangeEnd plainEnd(nullptr);
  ARDummyRangeEnd tieEnd("\\tieEnd");
  ARPossibleBreak possibleBreak(0.5f);
  ARBeamState beamsAuto(ARBeamState::AUTO), beamsOff(ARBeamState::OFF);
  ARNewPage newPage;
  ARSecondGlue glue;
  ARAutoBeam autoBeam;
  ARAutoBeamEnd autoBeamEnd;
  ARStaffOn staffOn;
  ARStaffOff staffOff;
  ARRepeatEndRangeEnd repeatEnd(nullptr);
  ARRangeEnd rangeEnd(&newPage);
  const std::pair<ARMusicalObject const*, char const*> cases[] = {
      {&plainEnd, ") "},
      {&tieEnd, "\\tieEnd "},
      {&possibleBreak, "\\pBreak<0.5> "},
      {&beamsAuto, "\\beamsAuto "},
      {&beamsOff, "\\beamsOff "},
      {&newPage, "\\newPage "},
      {&glue, "\\secGlue "},
      {&autoBeam, "\\autobeamBegin "},
      {&autoBeamEnd, "\\autobeamEnd "},
      {&staffOn, "\\staffOn "},
      {&staffOff, "\\staffOff "},
      {&repeatEnd, ""},
      {&rangeEnd, ") "},
  };
  for (auto [object, text] : cases) EXPECT_EQ(Rmn(*object), text);

  std::unique_ptr<ARMusicalObject> copy(static_cast<ARMusicalTag&>(tieEnd).Copy());
  EXPECT_EQ(Rmn(*copy), "\\tieEnd ");
  EXPECT_EQ(repeatEnd.getNumRepeat(), -1);
}

TEST(MoreMusicalTagsTest, EndMarkersHaveAPositionOnly) {
  ARDummyRangeEnd end("\\slurEnd");
  EXPECT_TRUE(end.isEndTagClass());
  EXPECT_EQ(static_cast<ARMusicalTag&&>(ARAutoBeamEnd()).Copy(), nullptr);
  EngineTesting::Given given;
  EngineTesting::Bind(end, given.Int(3, "dx"));
  EXPECT_EQ(end.getDX(), nullptr) << "an end marker takes no parameters";
  EXPECT_DEATH(end.getEndPosition(), EngineTesting::AssertionPattern(
                                         "!\"an end marker has no end position\"", "getEndPosition",
                                         "lib-score-engine/abstract/MoreMusicalTags.cpp"));
}

TEST(MoreMusicalTagsTest, BaseSumsItsEventsAndAFaultyMergeMarksBothEnds) {
  ARBase base;
  base.setBase(Fraction(3, 2));
  ARNote eighth(1, 8);
  base.addEvent(&eighth);
  base.addEvent(&eighth);
  EXPECT_EQ(base.getSumDuration(), Fraction(1, 4));
  EXPECT_EQ(base.getAssociation(), 1);
  EXPECT_EQ(Rmn(base), "\\baseBegin<3,2,1,4> ");

  ARMerge merge;
  ARDummyRangeEnd end(nullptr);
  merge.setCorrespondence(&end);
  EXPECT_EQ(merge.getRangeSetting(), ARMusicalTag::ONLYRANGE);
  merge.setError(0);
  EXPECT_EQ(merge.getAssociation(), 2);
  merge.setError(1);
  EXPECT_EQ(merge.getError(), 1);
  EXPECT_EQ(merge.getAssociation(), 4);
  EXPECT_EQ(end.getAssociation(), 3);
}

}  // namespace

// The passes ask ar_cast in place of dynamic_cast; it must give the same subobject, also for the
// classes with two bases, and give it again when the answer comes from its table. A range tag's
// kind and place read directly are those its virtual queries give.
TEST(ArCast, AnswersAsDynamicCastForEveryClassAndBothBases) {
  std::vector<std::unique_ptr<ARMusicalObject>> objects;
  objects.emplace_back(new ARNote(Frac_1_4));
  objects.emplace_back(new ARTie);
  objects.emplace_back(new ARDummyRangeEnd("\\tieEnd"));
  objects.emplace_back(new ARChordTag);
  objects.emplace_back(new ARUserChordTag);
  objects.emplace_back(new ARAutoBeam);
  objects.emplace_back(new ARClef);
  for (int round = 0; round < 2; ++round) {
    for (auto const& owned : objects) {
      ARMusicalObject* object = owned.get();
      SCOPED_TRACE(typeid(*object).name());
      EXPECT_EQ(ar_cast<ARMusicalTag>(object), dynamic_cast<ARMusicalTag*>(object));
      EXPECT_EQ(ar_cast<ARMusicalEvent const>(static_cast<ARMusicalObject const*>(object)),
                dynamic_cast<ARMusicalEvent const*>(object));
      EXPECT_EQ(ar_cast<ARTagEnd>(object), dynamic_cast<ARTagEnd*>(object));
      EXPECT_EQ(ar_cast<ARBeam>(object), dynamic_cast<ARBeam*>(object));
      ARPositionTag* range = ar_cast<ARPositionTag>(object);
      EXPECT_EQ(range, dynamic_cast<ARPositionTag*>(object));
      if (!range) continue;
      // The walks read these without a call.
      EXPECT_EQ(range->isEndMarker(), range->isEndTagClass());
      EXPECT_EQ(range->placedAt(), range->getPosition());
      EXPECT_EQ(ar_cast<ARMusicalObject>(range), object);
      EXPECT_EQ(ar_cast<ARChordTag>(range), dynamic_cast<ARChordTag*>(range));
      EXPECT_EQ(IsExactly<ARChordTag>(range), typeid(*range) == typeid(ARChordTag));
    }
  }
  EXPECT_EQ(ar_cast<ARMusicalTag>(static_cast<ARMusicalObject*>(nullptr)), nullptr);
}
