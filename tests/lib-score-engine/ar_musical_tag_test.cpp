#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "given_parameters.h"

namespace {

using EngineTesting::Given;

// A tag class whose templates are Forms::kTemplates, one class-wide list per Forms as in every
// tag class. It keeps what the match left for it.
template <class Forms>
class ProbeTag : public ARMTParameter {
 public:
  using ARMTParameter::ARMTParameter;
  void print() const override {}
  void PrintName(std::ostream& os) const override { os << "\\probe"; }
  void setTagParameterList(TagParameterList& given) override {
    matched = BindTagParameters(sTemplates, Forms::kTemplates, given, own);
  }
  static int TemplateCount() { return sTemplates.GetCount(); }

  int matched = -2;
  std::unique_ptr<TagParameterList> own;

 private:
  static inline ListOfTPLs sTemplates;
};

struct IdForms {
  static constexpr char const* kTemplates[] = {"I,id,,r;S,range,,r;S,type,standard,o",
                                               "S,id,,r;S,range,,r;S,type,standard,o"};
};
struct CommonOnly {
  static constexpr char const* kTemplates[] = {""};
};
struct OneText {
  static constexpr char const* kTemplates[] = {"S,text,,r"};
};

// Gives the parameters to a new tag and keeps the warnings written meanwhile.
template <class Forms>
struct Bound {
  explicit Bound(Given& given) {
    testing::internal::CaptureStderr();
    tag.setTagParameterList(given.list());
    warnings = testing::internal::GetCapturedStderr();
    EXPECT_EQ(given.list().GetCount(), 0) << "the given parameters are always consumed";
  }
  ProbeTag<Forms> tag;
  std::string warnings;
};

std::string Rmn(ARMusicalObject const& object) {
  std::ostringstream os;
  os << object;
  return os.str();
}

TEST(ARMusicalTagTest, TemplatesAreTriedInOrderAndTheFirstFitWins) {
  Given intId;
  intId.Int(3, "id").Text("1-2", "range");
  Bound<IdForms> first(intId);
  EXPECT_EQ(first.tag.matched, 0);
  EXPECT_EQ(first.warnings, "");
  EXPECT_EQ(ProbeTag<IdForms>::TemplateCount(), 2) << "templates are parsed once per class";

  Given textId;
  textId.Text("a", "id").Text("1-2", "range");
  Bound<IdForms> second(textId);
  EXPECT_EQ(second.tag.matched, 1);
  EXPECT_EQ(second.warnings,
            "Razid Warning: Named Parameter has wrong type:  id\n"
            "Razid Warning: Required tag parameter was not set:  id\n");
  ASSERT_TRUE(second.tag.own);
  ASSERT_EQ(second.tag.own->GetCount(), 3) << "only the class's own parameters are handed back";
  auto* type = static_cast<TagParameterString*>(ARMTParameter::ParameterAt(*second.tag.own, 2));
  EXPECT_STREQ(type->getValue(), "standard");
  EXPECT_EQ(type->mState, TagParameter::NOTSET);

  Given tooFew;
  tooFew.Text("1-2", "range");
  Bound<IdForms> notTried(tooFew);
  EXPECT_EQ(notTried.tag.matched, -1);
  EXPECT_EQ(notTried.warnings, "") << "templates needing more than was given are not tried";

  Given noRange;
  noRange.Int(3, "id").Text("x", "type");
  Bound<IdForms> none(noRange);
  EXPECT_EQ(none.tag.matched, -1);
  EXPECT_FALSE(none.tag.own);
  EXPECT_EQ(none.warnings,
            "Razid Warning: Required tag parameter was not set:  range\n"
            "Razid Warning: Named Parameter has wrong type:  id\n"
            "Razid Warning: Required tag parameter was not set:  id\n");
}

TEST(ARMusicalTagTest, CommonParametersAreTakenOnlyWhenGiven) {
  Given dx;
  dx.Int(2, "dx");
  Bound<CommonOnly> bound(dx);
  EXPECT_EQ(bound.tag.matched, 0);
  ASSERT_TRUE(bound.tag.own);
  EXPECT_EQ(bound.tag.own->GetCount(), 0);
  ASSERT_TRUE(bound.tag.getDX());
  EXPECT_FLOAT_EQ(bound.tag.getDX()->getUnitValue(), 2.0f);
  EXPECT_STREQ(bound.tag.getDX()->getUnit(), "");
  EXPECT_FALSE(bound.tag.getDY());
  EXPECT_FALSE(bound.tag.getColor());
  EXPECT_FALSE(bound.tag.getSize());

  // Two positional strings against one own entry: the second lands on color by position; a
  // second dx is ignored.
  Given positional;
  positional.Text("hello").Text("red").Float(1, "dx", "hs").Float(2, "dx").Float(0.5f, "size");
  Bound<OneText> text(positional);
  EXPECT_EQ(text.tag.matched, 0);
  EXPECT_EQ(text.warnings, "");
  ASSERT_TRUE(text.tag.getColor());
  EXPECT_STREQ(text.tag.getColor()->getValue(), "red");
  EXPECT_FLOAT_EQ(text.tag.getDX()->getValue(50.0f), 25.0f);
  EXPECT_EQ(Rmn(text.tag), "\\probe<dx=1hs,color=\"red\",size=0.5> ");

  // A later match replaces the common parameters, and one it does not give is gone.
  Given again;
  again.Text("x").Float(3, "dy");
  testing::internal::CaptureStderr();
  text.tag.setTagParameterList(again.list());
  testing::internal::GetCapturedStderr();
  EXPECT_FALSE(text.tag.getDX());
  EXPECT_FALSE(text.tag.getColor());
  EXPECT_FLOAT_EQ(text.tag.getDY()->getUnitValue(), 3.0f);
}

TEST(ARMusicalTagTest, CopiesTakeCommonParametersAndRangeButNotState) {
  ProbeTag<CommonOnly> source(7, nullptr);
  source.setColor("blue");
  source.setSize(2.0f);
  source.setSize(1.5f);
  source.setAllowRange(1);
  source.setRange(true);
  source.setIsAuto(true);
  source.setError(4);
  source.setAssociation(1);
  EXPECT_EQ(Rmn(source), "\\probe<color=\"blue\",size=1.5>:7( ");

  ProbeTag<CommonOnly> copy(Fraction(1, 4), &source);
  EXPECT_EQ(copy.getID(), -1);
  EXPECT_STREQ(copy.getColor()->getValue(), "blue");
  EXPECT_FLOAT_EQ(copy.getSize()->getUnitValue(), 1.5f);
  EXPECT_EQ(copy.getRangeSetting(), ARMusicalTag::RANGEDC);
  EXPECT_TRUE(copy.getRange());
  EXPECT_FALSE(copy.getIsAuto());
  EXPECT_EQ(copy.getError(), 0);
  EXPECT_EQ(copy.getAssociation(), 2);
  EXPECT_EQ(copy.getRelativeTimePosition(), Fraction(1, 4));
  EXPECT_TRUE(copy.MatchEndTag(")"));
  EXPECT_FALSE(copy.MatchEndTag("))"));

  for (auto [allow, setting] : {std::pair{-1, 1}, {0, 0}, {5, 0}, {1, 2}}) {
    copy.setAllowRange(allow);
    EXPECT_EQ(copy.getRangeSetting(), setting) << allow;
  }
  EXPECT_EQ(Rmn(ProbeTag<CommonOnly>()), "\\probe ");
}

// A range tag, as every tag class spanning events is built.
class RangeProbe : public ARMTParameter, public ARPositionTag {
 public:
  void print() const override {}
  void setTagParameterList(TagParameterList& given) override { given.RemoveAll(); }
  ARMusicalObject* Copy() const override { return new RangeProbe; }
};

TEST(ARPositionTagTest, EndPositionFollowsTheCorrespondence) {
  RangeProbe begin;
  ARPositionTag end;
  int nodes[3];
  begin.setPosition(&nodes[0]);
  begin.setEndPosition(&nodes[1]);
  EXPECT_EQ(begin.getStartPosition(), &nodes[0]);
  EXPECT_EQ(begin.getEndPosition(), &nodes[1]);

  begin.setCorrespondence(&end);
  end.setCorrespondence(&begin);
  begin.setEndPosition(&nodes[2]);
  EXPECT_EQ(end.getPosition(), &nodes[2]);
  EXPECT_EQ(begin.getEndPosition(), &nodes[2]);
  EXPECT_EQ(end.getEndPosition(), &nodes[0]);
  EXPECT_FALSE(begin.isEndTagClass());
  EXPECT_EQ(end.Copy(), nullptr);
  std::unique_ptr<ARMusicalObject> copy(static_cast<ARPositionTag&>(begin).Copy());
  EXPECT_TRUE(dynamic_cast<RangeProbe*>(copy.get())) << "one override serves both bases";
}

}  // namespace
