#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TagParameterFloat.h"
#include "TagParameterInt.h"
#include "TagParameterList.h"
#include "TagParameterString.h"
#include "engine_globals.h"

namespace {

constexpr char kCommonTail[] = "S,color,black,o;U,dx,0,o;U,dy,0,o;F,size,1.0,o";

std::vector<TagParameter*> Items(TagParameterList const& list) {
  std::vector<TagParameter*> items;
  for (void* pos = list.GetHeadPosition(); pos;) items.push_back(list.GetNext(pos));
  return items;
}

// A tag's parameters as the parser hands them over: an empty name means positional.
class Given {
 public:
  Given& Float(float value, char const* name = "") {
    return Add(new TagParameterFloat(value), name);
  }
  Given& Int(int value, char const* name = "") { return Add(new TagParameterInt(value), name); }
  Given& Text(char const* value, char const* name = "") {
    return Add(new TagParameterString(value), name);
  }
  TagParameterList const& list() const { return mList; }

 private:
  Given& Add(TagParameter* parameter, char const* name) {
    parameter->mName = name;
    mList.AddTail(parameter);
    return *this;
  }
  TagParameterList mList{1};
};

struct Matched {
  std::unique_ptr<TagParameterList> list;
  std::string warnings;
};

Matched MatchCapturing(TagParameterList const& templ, Given const& given) {
  testing::internal::CaptureStderr();
  Matched result;
  result.list.reset(templ.Match(given.list()));
  result.warnings = testing::internal::GetCapturedStderr();
  return result;
}

TEST(TagParameterListTest, ParsesTheCommonTail) {
  TagParameterList templ{NVstring(kCommonTail)};
  EXPECT_EQ(templ.getMaximum(), 4);
  EXPECT_EQ(templ.getMinimum(), 0);
  std::vector<TagParameter*> items = Items(templ);
  ASSERT_EQ(items.size(), 4u);
  EXPECT_TRUE(items[0]->mName.equal("color"));
  EXPECT_STREQ(static_cast<TagParameterString*>(items[0])->getValue(), "black");
  for (int i : {1, 2}) {
    auto* offset = static_cast<TagParameterFloat*>(items[i]);
    EXPECT_FLOAT_EQ(offset->getUnitValue(), 0.0f);
    offset->setValue(2.0f);  // unit flag set, default unit (half spaces)
    EXPECT_FLOAT_EQ(offset->getValue(50.0f), 50.0f);
  }
  EXPECT_TRUE(items[1]->mName.equal("dx") && items[2]->mName.equal("dy"));
  EXPECT_FLOAT_EQ(static_cast<TagParameterFloat*>(items[3])->getValue(50.0f), 1.0f);
  for (TagParameter* item : items) {
    EXPECT_EQ(item->mState, TagParameter::NOTSET);
    EXPECT_FALSE(item->mRequired);
  }
}

TEST(TagParameterListTest, MalformedTemplatesShortenTheList) {
  TagParameterList required{NVstring("S,type,cm,r")};
  EXPECT_EQ(required.getMinimum(), 1);
  EXPECT_EQ(required.getMaximum(), 1);
  EXPECT_TRUE(Items(required)[0]->mRequired);

  EXPECT_EQ(TagParameterList(NVstring("F,a,1,o;X,b,2,o;F,c,3,o")).getMaximum(), 1);
  EXPECT_EQ(TagParameterList(NVstring("F,a,1,o;F,b,2")).getMaximum(), 1);
  EXPECT_EQ(TagParameterList(NVstring("F,a")).getMaximum(), 0);
  EXPECT_EQ(TagParameterList(NVstring("")).getMaximum(), 0);
  EXPECT_EQ(TagParameterList(NVstring("I,n,3,x;U,w,2cm,r")).getMinimum(), 1);
}

TEST(TagParameterListTest, BindsByPositionAndByName) {
  TagParameterList templ{NVstring("F,a,5,o;F,b,6,o")};
  Matched positional = MatchCapturing(templ, Given().Float(1).Float(2));
  ASSERT_TRUE(positional.list);
  EXPECT_EQ(positional.warnings, "");
  std::vector<TagParameter*> items = Items(*positional.list);
  EXPECT_FLOAT_EQ(static_cast<TagParameterFloat*>(items[0])->getUnitValue(), 1.0f);
  EXPECT_FLOAT_EQ(static_cast<TagParameterFloat*>(items[1])->getUnitValue(), 2.0f);
  EXPECT_EQ(items[0]->mState, TagParameter::SETBYPOSITION);
  EXPECT_EQ(items[1]->mState, TagParameter::SETBYPOSITION);

  // The positional parameter is second in the tag, so it aims at b, already set by name.
  Matched mixed = MatchCapturing(templ, Given().Float(2, "b").Float(1));
  ASSERT_TRUE(mixed.list);
  EXPECT_EQ(mixed.warnings, "Razid Warning: Tag parameter already set by name:  \n");
  items = Items(*mixed.list);
  EXPECT_FLOAT_EQ(static_cast<TagParameterFloat*>(items[0])->getUnitValue(), 5.0f);
  EXPECT_EQ(items[0]->mState, TagParameter::NOTSET);
  EXPECT_FLOAT_EQ(static_cast<TagParameterFloat*>(items[1])->getUnitValue(), 2.0f);
  EXPECT_EQ(items[1]->mState, TagParameter::SETBYNAME);

  // A later value for a name already bound is ignored quietly; the template stays untouched.
  Matched twice = MatchCapturing(templ, Given().Float(3, "a").Float(4, "a"));
  ASSERT_TRUE(twice.list);
  EXPECT_EQ(twice.warnings, "");
  EXPECT_FLOAT_EQ(static_cast<TagParameterFloat*>(Items(*twice.list)[0])->getUnitValue(), 3.0f);
  EXPECT_FLOAT_EQ(static_cast<TagParameterFloat*>(Items(templ)[0])->getUnitValue(), 5.0f);
  EXPECT_EQ(Items(templ)[0]->mState, TagParameter::NOTSET);
}

TEST(TagParameterListTest, FailedMatchesWarnAsDocumented) {
  TagParameterList templ{NVstring("F,a,5,o;F,b,6,o")};

  Matched unknown = MatchCapturing(templ, Given().Float(1, "c"));
  EXPECT_FALSE(unknown.list);
  EXPECT_EQ(unknown.warnings, "");

  Matched tooMany = MatchCapturing(templ, Given().Float(1).Float(2).Float(3));
  EXPECT_FALSE(tooMany.list);
  EXPECT_EQ(tooMany.warnings, "Razid Warning: Tag parameter position error:  \n");

  // A wrong kind by name fails the match, but later parameters are still bound (and warn).
  Matched wrongKind = MatchCapturing(templ, Given().Text("x", "a").Text("y", "b"));
  EXPECT_FALSE(wrongKind.list);
  EXPECT_EQ(wrongKind.warnings,
            "Razid Warning: Named Parameter has wrong type:  a\n"
            "Razid Warning: Named Parameter has wrong type:  b\n");

  Matched wrongPosition = MatchCapturing(templ, Given().Text("x").Float(2));
  EXPECT_FALSE(wrongPosition.list);
  EXPECT_EQ(wrongPosition.warnings, "Razid Warning: Named Parameter has wrong type:  \n");

  TagParameterList required{NVstring("S,type,cm,r;F,size,1.0,o")};
  Matched missing = MatchCapturing(required, Given().Float(2, "size"));
  EXPECT_FALSE(missing.list);
  EXPECT_EQ(missing.warnings, "Razid Warning: Required tag parameter was not set:  type\n");

  Matched present = MatchCapturing(required, Given().Text("in"));
  ASSERT_TRUE(present.list);
  EXPECT_STREQ(static_cast<TagParameterString*>(Items(*present.list)[0])->getValue(), "in");
}

TEST(TagParameterListTest, KindRulesOfTheTemplateTypes) {
  TagParameterList templ{NVstring("I,n,0,o;F,f,0,o;U,u,0,o")};
  EXPECT_TRUE(MatchCapturing(templ, Given().Int(3).Int(4).Float(2.5f)).list);
  EXPECT_FALSE(MatchCapturing(templ, Given().Float(3)).list);

  Given withUnit;
  withUnit.Float(1, "u");
  static_cast<TagParameterFloat*>(Items(withUnit.list())[0])->setUnit("cm");
  Matched length = MatchCapturing(templ, withUnit);
  ASSERT_TRUE(length.list);
  EXPECT_FLOAT_EQ(static_cast<TagParameterFloat*>(Items(*length.list)[2])->getValue(50.0f),
                  237.10631f);
}

TEST(EngineMessagesTest, WarningAndTraceLines) {
  testing::internal::CaptureStderr();
  ZudidOvod("Something odd:");
  ZudidOvod("Named:", "value");
  RidevUzuze("step");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Razid Warning: Something odd:\nRazid Warning: Named: value\nRazid Trace: step\n");
}

}  // namespace
