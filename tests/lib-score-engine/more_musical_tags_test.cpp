#include <gtest/gtest.h>

#include <memory>

#include "ARNote.h"
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
