#include <gtest/gtest.h>

#include <memory>

#include "ARChordTag.h"
#include "ARCue.h"
#include "ARGrace.h"
#include "ARTrill.h"
#include "ARUserChordTag.h"
#include "ARVolta.h"
#include "bound_tag.h"

namespace {

using EngineTesting::Given;
using EngineTesting::Rmn;

TEST(ARChordTagTest, LabelsAsWordOrNumber) {
  struct Case {
    Given given;
    char const* value;
    char const* rmn;
  };
  const Case cases[] = {
      {Given().Int(3, "label"), "intlabel3", "\\splitChord<label=3>( "},
      {Given().Text("Cmaj7"), "Cmaj7", "\\splitChord<label=\"Cmaj7\">( "},
      {Given(), "", "\\splitChord( "},
  };
  for (Case const& c : cases) {
    ARUserChordTag label;
    label.setRange(true);
    EngineTesting::Bind(label, c.given);
    EXPECT_EQ(label.getLabelValue(), c.value);
    EXPECT_EQ(Rmn(label), c.rmn);
    std::unique_ptr<ARMusicalObject> copy(static_cast<ARMusicalTag&>(label).Copy());
    EXPECT_EQ(dynamic_cast<ARUserChordTag&>(*copy).getLabelValue(), c.value);
  }

  ARChordTag chord;
  chord.setIsAuto(true);
  EngineTesting::Bind(chord, Given().Int(7));
  EXPECT_EQ(Rmn(chord), "\\autoChordBegin<label=7> ");
  std::unique_ptr<ARMusicalObject> copy(static_cast<ARMusicalTag&>(chord).Copy());
  EXPECT_EQ(dynamic_cast<ARChordTag&>(*copy).getLabelInt()->getValue(), 7);
}

TEST(ARGroupTagsTest, WrittenParametersOnly) {
  ARVolta volta;
  EngineTesting::Bind(volta, Given().Text("1").Text("1."));
  EXPECT_EQ(volta.getPass(), "1");
  EXPECT_EQ(volta.getMark(), "1.");
  EXPECT_EQ(volta.getFormat(), "");
  EngineTesting::Bind(volta, Given().Text("2").Text("2.").Text("-|", "format"));
  EXPECT_EQ(volta.getFormat(), "-|");

  ARTrill trill(ARTrill::MORD);
  EngineTesting::Bind(trill, Given().Int(16, "dur"));
  EXPECT_EQ(trill.getDur(), nullptr);
  EXPECT_EQ(Rmn(trill), "\\mord ");

  ARGrace grace, numbered;
  EngineTesting::Bind(grace, Given());
  EngineTesting::Bind(numbered, Given().Int(2, "i"));
  EXPECT_EQ(Rmn(grace), "\\grace ");
  EXPECT_EQ(Rmn(numbered), "\\grace<i=\"2\"> ");

  ARCue named;
  EngineTesting::Bind(named, Given().Text("Fl."));
  EXPECT_EQ(Rmn(named), "\\cue<name=\"Fl.\"> ");
}

}  // namespace
