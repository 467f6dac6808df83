#include <gtest/gtest.h>

#include <string>

#include "ARComposer.h"
#include "ARFingering.h"
#include "ARLyrics.h"
#include "ARMark.h"
#include "ARText.h"
#include "ARTitle.h"
#include "bound_tag.h"

namespace {

using EngineTesting::Given;
using EngineTesting::Rmn;

std::string Or(char const* text) {
  return text ? text : "(none)";
}

// A 12 pt font in layout units.
constexpr int k12pt = 100;

TEST(ARTextTest, LayoutParametersAndTheirDefaults) {
  struct Case {
    ARText* tag;
    Given given;
    char const* textformat;
    int fsize;
    float dy;  // as written, -1000 when absent
    char const* rmn;
  };
  const Case cases[] = {
      {new ARText, Given().Text("dolce"), "(none)", k12pt, -1, "\\text<\"dolce\",dy=-1> "},
      {new ARFingering, Given().Text("3"), "(none)", k12pt, -2, "\\fingering<text=\"3\",dy=-2> "},
      {new ARText, Given().Text("dolce"), "(none)", k12pt, -1, "\\text<\"dolce\",dy=-1> "},
      {new ARText, Given().Text("a").Text("lb", "textformat").Float(10, "fsize", "pt"), "lb", 83,
       -1, "\\text<\"a\",dy=-1> "},
      {new ARMark, Given().Text("A"), "(none)", k12pt, -1000, "\\mark<text=\"A\"> "},
      {new ARTitle, Given().Text("Etude"), "cc", 200, -1000, "\\title<\"Etude\"> "},
      {new ARTitle, Given().Text("Etude").Float(30, "fsize", "pt"), "cc", 250, -1000,
       "\\title<\"Etude\"> "},
      {new ARComposer, Given().Text("Anon"), "rb", 116, -1000, "\\composer<\"Anon\"> "},
  };
  for (Case const& c : cases) {
    std::unique_ptr<ARText> tag(c.tag);
    EngineTesting::Bind(*tag, c.given);
    SCOPED_TRACE(c.rmn);
    EXPECT_EQ(Or(tag->getTextformat()), c.textformat);
    EXPECT_EQ(Or(tag->getFont()), "Times");
    EXPECT_EQ(tag->getFSize(50), c.fsize);
    EXPECT_EQ(tag->getYPos(), nullptr);
    EXPECT_EQ(tag->getFAttrib(), nullptr);
    EXPECT_FLOAT_EQ(tag->getDY() ? tag->getDY()->getUnitValue() : -1000, c.dy);
    EXPECT_EQ(Rmn(*tag), c.rmn);
  }
  ARTitle title;
  EngineTesting::Bind(title, Given().Text("Etude"));
  EXPECT_EQ(Or(title.getPageFormat()), "c2");
  ARComposer composer;
  EngineTesting::Bind(composer, Given().Text("Anon").Text("tl", "textformat"));
  EXPECT_EQ(Or(composer.getPageFormat()) + Or(composer.getTextformat()), "53tl");
}

TEST(ARTextTest, TextsCutFromLyricsTakeTheirLayout) {
  ARLyrics lyrics;
  EngineTesting::Bind(lyrics, Given().Text("la la"));
  EXPECT_EQ(lyrics.getFAttrib(), nullptr);
  EXPECT_EQ(Rmn(lyrics), "\\text<\"la la\",dy=-3> ");

  ARText text(NVstring("la"), 0);
  text.copyLyricsParams(&lyrics);
  EXPECT_EQ(Or(text.getText()), "la");
  EXPECT_EQ(Or(text.getTextformat()), "ct");
  EXPECT_EQ(Or(text.getFont()), "Times");
  EXPECT_EQ(text.getFSize(50), k12pt);
  EXPECT_EQ(text.getDY(), nullptr);
  EXPECT_FLOAT_EQ(text.getYPos()->getUnitValue(), -3) << "the lyrics' dy places the text";

  ARLyrics styled;
  EngineTesting::Bind(styled, Given().Text("la").Text("i", "fattrib").Float(1, "dx"));
  styled.setColor("red");
  ARText styledText(NVstring("la"), 0);
  styledText.copyLyricsParams(&styled);
  EXPECT_EQ(Or(styledText.getFAttrib()), "i");
  EXPECT_FLOAT_EQ(styledText.getDX()->getUnitValue(), 1);
  EXPECT_STREQ(styledText.getColor()->getValue(), "red");
}

}  // namespace
