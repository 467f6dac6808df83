#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "given_parameters.h"

namespace {

using EngineTesting::Given;

// A range tag class whose templates are Forms::kTemplates, with one class-wide list per Forms as
// in every tag class. It keeps what the match left for it.
template <class Forms>
class ProbeTag : public ARMTParameter, public ARPositionTag {
 public:
  using ARMTParameter::ARMTParameter;
  void print() const override {}
  void PrintName(std::ostream& os) const override { os << "\\probe"; }
  void setTagParameterList(TagParameterList& given) override {
    matched = BindTagParameters(sTemplates, Forms::kTemplates, given, own);
  }
  ARMusicalObject* Copy() const override { return new ProbeTag(Frac_0, this); }

  int matched = -2;
  std::unique_ptr<TagParameterList> own;
  static inline ListOfTPLs sTemplates;
};

struct IdForms {
  static constexpr char const* kTemplates[] = {"I,id,,r;S,range,,r;S,type,standard,o",
                                               "S,id,,r;S,range,,r;S,type,standard,o"};
};
struct CommonOnly {
  static constexpr char const* kTemplates[] = {""};
};

// Hands the parameters to a new tag and keeps the warnings written meanwhile.
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

TEST(ARMusicalTagTest, TemplatesAreFilteredByCountAndTheFirstFitWins) {
  struct Case {
    Given given;
    int matched;
    char const* warnings;
  };
  Case cases[] = {
      {Given().Int(3, "id").Text("1-2", "range"), 0, ""},
      // The first form's complaints are not given when a later form fits; the fitting form's
      // own are.
      {Given().Text("a", "id").Text("1-2", "range"), 1, ""},
      {Given().Text("a", "id").Text("1-2", "range").Float(1e9f, "dx"), 1,
       "Razid Warning: Tag parameter out of range:  dx\n"},
      {Given().Text("1-2", "range"), -1, ""},  // fewer than any template requires
      {Given().Int(3, "id").Text("x", "type"), -1,
       "Razid Warning: Required tag parameter was not set:  range\n"
       "Razid Warning: Named Parameter has wrong type:  id\n"
       "Razid Warning: Required tag parameter was not set:  id\n"},
  };
  for (Case& c : cases) {
    Bound<IdForms> bound(c.given);
    EXPECT_EQ(bound.tag.matched, c.matched);
    EXPECT_EQ(bound.warnings, c.warnings);
    EXPECT_EQ(bound.tag.own ? bound.tag.own->GetCount() : -1, c.matched >= 0 ? 3 : -1)
        << "the class's own parameters are handed back, without the common ones";
    if (!bound.tag.own) continue;
    auto* type = static_cast<TagParameterString*>(ARMTParameter::ParameterAt(*bound.tag.own, 2));
    EXPECT_STREQ(type->getValue(), "standard");
    EXPECT_FALSE(ARMTParameter::IsSet(type));
  }
  EXPECT_EQ(ProbeTag<IdForms>::sTemplates.GetCount(), 2) << "templates are parsed once per class";
}

TEST(ARMusicalTagTest, CommonParametersAreTakenOnlyWhenGiven) {
  Given dx = Given().Int(2, "dx");
  Bound<CommonOnly> bound(dx);
  EXPECT_EQ(bound.tag.matched, 0);
  EXPECT_EQ(bound.tag.own->GetCount(), 0);
  EXPECT_FLOAT_EQ(bound.tag.getDX()->getUnitValue(), 2.0f);
  EXPECT_STREQ(bound.tag.getDX()->getUnit(), "");
  EXPECT_FALSE(bound.tag.getDY() || bound.tag.getColor() || bound.tag.getSize());

  // The positional string lands on color; a second dx is ignored.
  Given more = Given().Text("red").Float(1, "dx", "hs").Float(2, "dx").Float(0.5f, "size");
  bound.tag.setTagParameterList(more.list());
  EXPECT_FLOAT_EQ(bound.tag.getDX()->getValue(50.0f), 25.0f);
  EXPECT_EQ(Rmn(bound.tag), "\\probe<dx=1hs,color=\"red\",size=0.5> ");

  // A later match replaces them all, and one it does not give is gone.
  Given dy = Given().Float(3, "dy");
  bound.tag.setTagParameterList(dy.list());
  EXPECT_FALSE(bound.tag.getDX() || bound.tag.getColor());
  EXPECT_FLOAT_EQ(bound.tag.getDY()->getUnitValue(), 3.0f);
}

TEST(ARMusicalTagTest, CopiesTakeCommonParametersAndRangeButNotState) {
  ProbeTag<CommonOnly> source(7, nullptr);
  source.setColor("blue");
  source.setSize(2.0f);
  source.setSize(1.5f);
  source.setAllowRange(1);
  source.setRange(true);
  source.setIsAuto(true);
  source.setAssociation(1);
  EXPECT_EQ(Rmn(source), "\\probe<color=\"blue\",size=1.5>:7( ");

  std::unique_ptr<ARMusicalObject> object(static_cast<ARPositionTag&>(source).Copy());
  auto& copy = dynamic_cast<ProbeTag<CommonOnly>&>(*object);
  EXPECT_EQ(Rmn(copy), "\\probe<color=\"blue\",size=1.5>( ");
  EXPECT_EQ(copy.getRangeSetting(), ARMusicalTag::RANGEDC);
  EXPECT_FALSE(copy.getIsAuto());
  EXPECT_EQ(copy.getAssociation(), 2);
  EXPECT_TRUE(copy.MatchEndTag(")"));
  EXPECT_FALSE(copy.MatchEndTag("))"));
  for (auto [allow, setting] : {std::pair{-1, 1}, {0, 0}, {5, 0}, {1, 2}}) {
    copy.setAllowRange(allow);
    EXPECT_EQ(copy.getRangeSetting(), setting) << allow;
  }

  // While begin and end tags point at each other, the end position is the end tag's own.
  ARPositionTag end;
  int node;
  copy.setCorrespondence(&end);
  copy.setEndPosition(&node);
  EXPECT_EQ(end.getPosition(), &node);
}

}  // namespace
