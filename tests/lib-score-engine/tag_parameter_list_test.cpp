#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TagParameterFloat.h"
#include "TagParameterList.h"
#include "TagParameterString.h"
#include "engine_globals.h"
#include "given_parameters.h"

namespace {

std::vector<TagParameter*> Items(TagParameterList const& list) {
  std::vector<TagParameter*> items;
  for (void* pos = list.GetHeadPosition(); pos;) items.push_back(list.GetNext(pos));
  return items;
}

float FloatAt(TagParameterList const& list, size_t i) {
  return static_cast<TagParameterFloat*>(Items(list).at(i))->getUnitValue();
}

using EngineTesting::Given;

struct Matched {
  std::unique_ptr<TagParameterList> list;
  std::string warnings;
};

Matched Match(char const* templ, Given const& given) {
  TagParameterList parsed{NVstring(templ)};
  testing::internal::CaptureStderr();
  Matched result;
  result.list.reset(parsed.Match(given.list()));
  result.warnings = testing::internal::GetCapturedStderr();
  return result;
}

TEST(TagParameterListTest, ParsesTemplates) {
  TagParameterList tail{NVstring("S,color,black,o;U,dx,0,o;U,dy,0,o;F,size,1.0,o")};
  EXPECT_EQ(tail.getMaximum(), 4);
  EXPECT_EQ(tail.getMinimum(), 0);
  std::vector<TagParameter*> items = Items(tail);
  EXPECT_STREQ(static_cast<TagParameterString*>(items[0])->getValue(), "black");
  auto* dx = static_cast<TagParameterFloat*>(items[1]);
  dx->setValue(2.0f);  // unit flag set, default unit (half spaces)
  EXPECT_FLOAT_EQ(dx->getValue(50.0f), 50.0f);
  EXPECT_TRUE(items[2]->mName.equal("dy"));
  EXPECT_FLOAT_EQ(static_cast<TagParameterFloat*>(items[3])->getValue(50.0f), 1.0f);
  for (TagParameter* item : items) EXPECT_EQ(item->mState, TagParameter::NOTSET);

  TagParameterList required{NVstring("S,type,cm,r")};
  EXPECT_EQ(required.getMinimum(), 1);
  EXPECT_EQ(required.getMaximum(), 1);

  // Malformed text only shortens the list.
  EXPECT_EQ(TagParameterList(NVstring("F,a,1,o;X,b,2,o;F,c,3,o")).getMaximum(), 1);
  EXPECT_EQ(TagParameterList(NVstring("F,a,1,o;F,b,2")).getMaximum(), 1);
  EXPECT_EQ(TagParameterList(NVstring("")).getMaximum(), 0);
  EXPECT_EQ(TagParameterList(NVstring("I,n,3,x;U,w,2cm,r")).getMinimum(), 1);
}

TEST(TagParameterListTest, BindsByPositionAndByName) {
  Matched positional = Match("F,a,5,o;F,b,6,o", Given().Float(1).Float(2));
  ASSERT_TRUE(positional.list);
  EXPECT_EQ(positional.warnings, "");
  EXPECT_FLOAT_EQ(FloatAt(*positional.list, 0), 1.0f);
  EXPECT_FLOAT_EQ(FloatAt(*positional.list, 1), 2.0f);
  EXPECT_EQ(Items(*positional.list)[1]->mState, TagParameter::SETBYPOSITION);

  // The positional parameter is second in the tag, so it aims at b, already set by name.
  Matched mixed = Match("F,a,5,o;F,b,6,o", Given().Float(2, "b").Float(1));
  ASSERT_TRUE(mixed.list);
  EXPECT_EQ(mixed.warnings, "Razid Warning: Tag parameter already set by name:  \n");
  EXPECT_FLOAT_EQ(FloatAt(*mixed.list, 0), 5.0f);
  EXPECT_EQ(Items(*mixed.list)[0]->mState, TagParameter::NOTSET);
  EXPECT_FLOAT_EQ(FloatAt(*mixed.list, 1), 2.0f);
  EXPECT_EQ(Items(*mixed.list)[1]->mState, TagParameter::SETBYNAME);

  // A later value for a name already bound is ignored quietly.
  Matched twice = Match("F,a,5,o", Given().Float(3, "a").Float(4, "a"));
  ASSERT_TRUE(twice.list);
  EXPECT_EQ(twice.warnings, "");
  EXPECT_FLOAT_EQ(FloatAt(*twice.list, 0), 3.0f);

  // The template itself is never bound.
  TagParameterList templ{NVstring("F,a,5,o")};
  delete templ.Match(Given().Float(9).list());
  EXPECT_FLOAT_EQ(FloatAt(templ, 0), 5.0f);
  EXPECT_EQ(Items(templ)[0]->mState, TagParameter::NOTSET);
}

TEST(TagParameterListTest, FailedMatchesWarnAsDocumented) {
  Matched unknown = Match("F,a,5,o", Given().Float(1, "c"));
  EXPECT_FALSE(unknown.list);
  EXPECT_EQ(unknown.warnings, "");

  Matched tooMany = Match("F,a,5,o;F,b,6,o", Given().Float(1).Float(2).Float(3));
  EXPECT_FALSE(tooMany.list);
  EXPECT_EQ(tooMany.warnings, "Razid Warning: Tag parameter position error:  \n");

  // A wrong kind by name fails the match, but later parameters are still bound (and warn).
  Matched wrongKind = Match("F,a,5,o;F,b,6,o", Given().Text("x", "a").Text("y", "b"));
  EXPECT_FALSE(wrongKind.list);
  EXPECT_EQ(wrongKind.warnings,
            "Razid Warning: Named Parameter has wrong type:  a\n"
            "Razid Warning: Named Parameter has wrong type:  b\n");

  Matched wrongPosition = Match("F,a,5,o;F,b,6,o", Given().Text("x").Float(2));
  EXPECT_FALSE(wrongPosition.list);
  EXPECT_EQ(wrongPosition.warnings, "Razid Warning: Named Parameter has wrong type:  \n");

  Matched missing = Match("S,type,cm,r;F,size,1.0,o", Given().Float(2, "size"));
  EXPECT_FALSE(missing.list);
  EXPECT_EQ(missing.warnings, "Razid Warning: Required tag parameter was not set:  type\n");
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
