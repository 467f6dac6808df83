#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "ARAcc.h"
#include "ARAccelerando.h"
#include "ARAccent.h"
#include "ARAlter.h"
#include "ARBeam.h"
#include "ARChordTag.h"
#include "ARCrescendo.h"
#include "ARCue.h"
#include "ARDiminuendo.h"
#include "ARDisplayDuration.h"
#include "ARFermata.h"
#include "ARFingering.h"
#include "ARGrace.h"
#include "ARLabel.h"
#include "ARLyrics.h"
#include "ARMarcato.h"
#include "ARMark.h"
#include "ARRitardando.h"
#include "ARShareLocation.h"
#include "ARShareStem.h"
#include "ARSlur.h"
#include "ARStaccato.h"
#include "ARTenuto.h"
#include "ARText.h"
#include "ARTie.h"
#include "ARTremolo.h"
#include "ARTrill.h"
#include "ARUserChordTag.h"
#include "ARVolta.h"
#include "MoreMusicalTags.h"
#include "bound_tag.h"

namespace {

using EngineTesting::Given;
using EngineTesting::Rmn;

// What every range tag class shares: its range setting, its name with and without a range, the
// end tag of its "Begin" form, and that it takes the common parameters.
struct RangeClass {
  std::function<ARMTParameter*()> make;
  int rangeSetting;
  char const* ranged;   // written with a range
  char const* begin;    // written in the "Begin" form
  char const* endText;  // the end tag of the "Begin" form, or null
  Given required = {};  // what the class needs before it takes anything
};

TEST(RangeTagsTest, EveryClassNamesItsFormsAndMatchesItsEndTag) {
  const RangeClass classes[] = {
      {[] { return new ARSlur; }, 1, "\\slur( ", "\\slurBegin ", "\\slurEnd"},
      {[] { return new ARTie; }, 1, "\\tie( ", "\\tieBegin ", "\\tieEnd"},
      {[] { return new ARBeam; }, 1, "\\beam( ", "\\beamBegin ", "\\beamEnd"},
      {[] { return new ARShareStem; }, 1, "\\shareStem( ", "\\shareStemBegin ", nullptr},
      {[] { return new ARShareLocation; }, 1, "\\shareLocation( ", "\\shareLocationBegin ",
       nullptr},
      {[] { return new ARDisplayDuration; }, 1, "\\dispDur<0,1,0>( ", "\\dispDurBegin<0,1,0> ",
       "\\dispDurEnd", Given().Int(1).Int(4)},
      {[] { return new ARStaccato; }, 1, "\\stacc( ", "\\stacc ", "\\staccEnd"},
      {[] { return new ARAccent; }, 1, "\\accent( ", "\\accent ", nullptr},
      {[] { return new ARMarcato; }, 1, "\\marcato( ", "\\marcato ", nullptr},
      {[] { return new ARTenuto; }, 1, "\\ten( ", "\\ten ", nullptr},
      {[] { return new ARFermata; }, 2, "\\fermata ", "\\fermata ", nullptr},
      {[] { return new ARAcc; }, 1, "\\acc( ", "\\acc ", nullptr},
      {[] { return new ARAlter; }, 2, "\\alter<detune=0>( ", "\\alter<detune=0> ", nullptr,
       Given().Float(1)},
      {[] { return new ARCrescendo; }, 1, "\\cresc( ", "\\crescBegin ", "\\crescEnd",
       Given().Text("f")},
      {[] { return new ARDiminuendo; }, 1, "\\dim( ", "\\dimBegin ", "\\dimEnd", Given().Text("p")},
      {[] { return new ARAccelerando; }, 1, "\\accel( ", "\\accelBegin ", "\\accelEnd"},
      {[] { return new ARRitardando; }, 1, "\\rit( ", "\\ritBegin ", "\\ritEnd"},
      {[] { return new ARText; }, 2, "\\text<\"\">( ", "\\text<\"\"> ", nullptr, Given().Text("x")},
      {[] { return new ARFingering; }, 1, "\\fingering<text=\"\">( ", "\\fingering<text=\"\"> ",
       nullptr, Given().Text("x")},
      {[] { return new ARMark; }, 0, "\\mark<text=\"\">( ", "\\mark<text=\"\"> ", nullptr,
       Given().Text("x")},
      {[] { return new ARLabel; }, 2, "\\Label<text=\"\">( ", "\\Label<text=\"\"> ", nullptr,
       Given().Text("x")},
      {[] { return new ARLyrics; }, 1, "\\text<\"\">( ", "\\text<\"\"> ", nullptr,
       Given().Text("x")},
      {[] { return new ARGrace; }, 1, "\\grace( ", "\\grace ", nullptr},
      {[] { return new ARCue; }, 1, "\\cue( ", "\\cue ", nullptr},
      {[] { return new ARChordTag; }, 1, "\\chord( ", "\\chordBegin ", nullptr},
      {[] { return new ARUserChordTag; }, 1, "\\splitChord( ", "\\splitChordBegin ", nullptr},
      {[] { return new ARVolta; }, 1, "\\volta( ", "\\volta ", "\\voltaEnd",
       Given().Text("1").Text("1.")},
      {[] { return new ARTrill(ARTrill::TURN); }, 1, "\\turn( ", "\\turn ", nullptr},
      {[] { return new ARTremolo; }, 1, "\\trem( ", "\\trem ", nullptr},
  };
  for (RangeClass const& c : classes) {
    std::unique_ptr<ARMTParameter> tag(c.make());
    SCOPED_TRACE(c.ranged);
    EXPECT_EQ(tag->getRangeSetting(), c.rangeSetting);
    EXPECT_EQ(Rmn(*tag), c.begin);
    EXPECT_FALSE(tag->MatchEndTag(")"));
    EXPECT_EQ(c.endText && tag->MatchEndTag(c.endText), c.endText != nullptr);
    EXPECT_FALSE(tag->MatchEndTag("\\otherEnd"));
    tag->setRange(true);
    EXPECT_EQ(Rmn(*tag), c.ranged);
    EXPECT_TRUE(tag->MatchEndTag(")"));
    EXPECT_FALSE(c.endText && tag->MatchEndTag(c.endText)) << "a range ends only with ')'";

    // Every class takes the common parameters, whatever its own templates.
    Given given = c.required;
    EngineTesting::Bind(*tag, given.Text("red", "color"));
    ASSERT_NE(tag->getColor(), nullptr);
    EXPECT_STREQ(tag->getColor()->getValue(), "red");
    testing::internal::CaptureStdout();
    tag->print();
    EXPECT_NE(testing::internal::GetCapturedStdout().find("color=\"red\""), std::string::npos);
  }
}

}  // namespace
