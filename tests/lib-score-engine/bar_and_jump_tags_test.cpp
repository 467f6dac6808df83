#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "ARBar.h"
#include "ARCoda.h"
#include "ARDaCapo.h"
#include "ARDaCapoAlFine.h"
#include "ARDaCoda.h"
#include "ARDalSegno.h"
#include "ARDalSegnoAlFine.h"
#include "ARDoubleBar.h"
#include "ARFine.h"
#include "ARFinishBar.h"
#include "ARRepeatBegin.h"
#include "ARRepeatEnd.h"
#include "ARSegno.h"
#include "bound_tag.h"

namespace {

using EngineTesting::Bind;
using EngineTesting::Given;
using EngineTesting::Rmn;

TEST(BarTagsTest, NumbersCountsAndOutput) {
  ARBar numbered, plain;
  Bind(numbered, Given().Int(12));
  EXPECT_EQ(Rmn(numbered), "\\bar<12> ");
  EXPECT_EQ(Rmn(plain), "\\bar ");
  EXPECT_FALSE(numbered == plain);

  // Bars without numbers are equal whatever their kind or place.
  ARFinishBar finish(Fraction(3, 4));
  EXPECT_TRUE(plain == finish);
  EXPECT_EQ(finish.getRangeSetting(), ARMusicalTag::NORANGE);
  ARDoubleBar doubleBar;
  Bind(doubleBar, Given().Int(4, "number"));
  EXPECT_EQ(doubleBar.getBarNumber(), 4);
  EXPECT_EQ(Rmn(doubleBar), "\\doublebar ");
  EXPECT_EQ(Rmn(finish), "\\endBar ");

  ARRepeatBegin begin;
  ARRepeatEnd end(&begin);
  EXPECT_EQ(end.getRepeatBegin(), &begin);
  EXPECT_EQ(end.getRangeSetting(), ARMusicalTag::RANGEDC);
  for (auto [num, stored, endText, beginText] :
       {std::tuple{-3, 0, "\\repeatEnd ", "\\repeatBegin<0> "},
        {2, 2, "\\repeatEnd<2> ", "\\repeatBegin "}}) {
    Bind(end, Given().Int(num, "num"));
    Bind(begin, Given().Int(num));
    EXPECT_EQ(end.getNumRepeat(), stored);
    EXPECT_EQ(begin.getNumRepeat(), stored);
    EXPECT_EQ(Rmn(end), endText);
    EXPECT_EQ(Rmn(begin), beginText);
  }
}

TEST(BarTagsTest, RepeatBeginKeepsTheFirstLengthItIsGiven) {
  ARRepeatBegin begin;
  begin.setRelativeTimePosition(Fraction(1, 4));
  EXPECT_EQ(begin.getLength().getNumerator(), -1);
  ARRepeatEnd end(&begin), later(&begin);
  end.setRelativeTimePosition(Fraction(9, 4));
  later.setRelativeTimePosition(Fraction(4, 1));
  begin.setRepeatEnd(&end);
  begin.setRepeatEnd(&later);
  EXPECT_EQ(begin.getLength(), Fraction(2, 1));
}

TEST(JumpTagsTest, MarksIdentifiersAndNames) {
  using Segments = FormatStringParserResult;
  struct Case {
    std::function<ARJump*()> make;
    char const* rmn;
    Segments mark;
  };
  Case cases[] = {
      {[] { return new ARCoda; }, "\\coda ", {{"coda", 1}, {" Coda", 0}}},
      {[] { return new ARSegno; }, "\\segno ", {{"segno", 1}}},
      {[] { return new ARDaCapo; }, "\\daCapo ", {{"D.C.", 0}}},
      {[] { return new ARDaCapoAlFine; }, "\\daCapoAlFine ", {{"D.C. al Fine", 0}}},
      {[] { return new ARDaCoda; }, "\\daCoda ", {{"to Coda ", 0}, {"coda", 1}}},
      {[] { return new ARDalSegno; }, "\\dalSegno ", {{"D.S.", 0}}},
      {[] { return new ARDalSegnoAlFine; }, "\\dalSegnoAlFine ", {{"D.S. al Fine", 0}}},
      {[] { return new ARFine; }, "\\fine ", {{"Fine", 0}}},
  };
  for (Case const& c : cases) {
    std::unique_ptr<ARJump> jump(c.make());
    EXPECT_EQ(jump->getMark(), c.mark) << c.rmn;
    EXPECT_EQ(Rmn(*jump), c.rmn);
    Bind(*jump, Given().Text("", "m"));
    EXPECT_EQ(jump->getMark(), c.mark) << "an empty mark text keeps the default";
    EXPECT_EQ(jump->getIdentifier(), 0);
  }

  ARCoda coda;
  Bind(coda, Given().Text("al [segno]").Int(3));
  EXPECT_EQ(coda.getMark(), (Segments{{"al ", 0}, {"segno", 1}}));
  EXPECT_EQ(coda.getIdentifier(), 3);
}

}  // namespace
