#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "ARBembel.h"
#include "ARBreathMark.h"
#include "ARChordComma.h"
#include "ARDrPild.h"
#include "ARDrVesk.h"
#include "ARIntens.h"
#include "ARSpace.h"
#include "ARSpecial.h"
#include "TagParameterString.h"
#include "bound_tag.h"

namespace {

using EngineTesting::Bind;
using EngineTesting::Given;
using EngineTesting::Rmn;

constexpr float kUnitsPerCm = 237.10631f;

TEST(SpecialTagTest, CharacterCodesOutsideOneTo255AreErrors) {
  struct Case {
    char const* text;
    int code;  // 0: an error, and the character stays as it was
  };
  Case cases[] = {{"\\x41", 65},
                  {"\\o101", 65},
                  {"\\65", 65},
                  {"A", 65},
                  {"\\255", 255},
                  {"\\400", 0},
                  {"\\x0", 0},
                  {"\\xZZ", 0},
                  {"\\", 0},
                  {"", 0},
                  {"\\-191", 0},
                  // Beyond the int range: 2^32 + 65 must not wrap round to "A".
                  {"\\4294967361", 0},
                  {"\\x100000041", 0}};
  for (Case const& c : cases) {
    ARSpecial special;
    Bind(special, Given().Text(c.text));
    EXPECT_EQ(special.getChar(), c.code) << c.text;
    EXPECT_EQ(special.getError(), c.code ? 0 : 1) << c.text;
  }
}

TEST(SpecialTagTest, LengthsAreLayoutUnitsAndWrittenInCentimetres) {
  ARSpecial special;
  Bind(special,
       Given().Text("\\65").Float(1, "dx", "cm").Float(2, "space", "hs").Float(2, "scale"));
  EXPECT_FLOAT_EQ(special.getOffsetX(), kUnitsPerCm);
  EXPECT_FLOAT_EQ(special.getSpace(), 50.0f);
  EXPECT_EQ(special.getOffsetY(), 0.0f);
  EXPECT_EQ(special.getScale(), 2.0f);
  EXPECT_EQ(special.getDX(), nullptr) << "the tag's own dx is not the common one";
  EXPECT_EQ(Rmn(special), "\\special<\"\\65\",1cm,0cm,0.210876cm,2> ");
}

TEST(SingleMarkTagsTest, ParametersAndOutput) {
  ARSpace space;
  Bind(space, Given().Float(2, "dd", "cm"));
  EXPECT_FLOAT_EQ(space.getValue(), 2 * kUnitsPerCm);
  EXPECT_EQ(Rmn(space), "\\space<dd=2cm> ");

  ARBreathMark breath;
  Bind(breath, Given().Float(1, "dx"));
  EXPECT_EQ(breath.getDX(), nullptr) << "every parameter of a breath mark is dropped";
  EXPECT_EQ(Rmn(breath), "\\breathMark ");

  ARIntens intens;
  EXPECT_EQ(intens.getValue(), -1.0f);
  Bind(intens, Given().Text("ff", "type"));
  EXPECT_EQ(Rmn(intens), "\\intens<\"ff\"> ");
  ARIntens valued("p", 0.0f);
  Bind(valued, Given().Text("mf").Float(2.5f));
  EXPECT_STREQ(valued.getText().c_str(), "mf");
  EXPECT_EQ(Rmn(valued), "\\intens<\"mf\",0.0105438cm> ");

  ARChordComma comma;
  Bind(comma, Given().Text("red", "color"));
  std::unique_ptr<ARMusicalObject> copy(comma.Copy());
  EXPECT_EQ(Rmn(*copy), "\\chordComma<color=\"red\"> ");
}

TEST(SingleMarkTagsTest, PictureMarksWriteTheirInverse) {
  std::function<ARMTParameter*(int)> makers[] = {[](int i) { return new ARBembel(i); },
                                                 [](int i) { return new ARDrVesk(i); },
                                                 [](int i) { return new ARDrPild(i); }};
  char const* names[] = {"\\bembel", "\\DrVesk", "\\DrPild"};
  for (int i = 0; i < 3; ++i) {
    std::unique_ptr<ARMTParameter> plain(makers[i](0)), inverse(makers[i](0));
    Bind(*plain);
    Bind(*inverse, Given().Int(1, "inverse"));
    EXPECT_EQ(Rmn(*plain), std::string(names[i]) + " ");
    EXPECT_EQ(Rmn(*inverse), std::string(names[i]) + "<-1> ");
  }
}

}  // namespace
