#include <gtest/gtest.h>

#include "ARAccelerando.h"
#include "ARCrescendo.h"
#include "ARRitardando.h"
#include "ARTempo.h"
#include "tag_testing.h"

namespace {

using EngineTesting::Given;
using EngineTesting::Rmn;

TEST(ARDynamicsTest, MarkingAndValue) {
  ARCrescendo cresc;
  EXPECT_FLOAT_EQ(cresc.getValue(), -1.0f) << "never an unset value";
  EngineTesting::Apply(cresc, Given().Text("f"));
  EXPECT_EQ(cresc.getText(), "f");
  EXPECT_FLOAT_EQ(cresc.getValue(), -1.0f);
  EngineTesting::Apply(cresc, Given().Text("ff").Float(2, "value"));
  EXPECT_EQ(cresc.getText(), "ff");
  EXPECT_FLOAT_EQ(cresc.getValue(), 2.0f);
}

TEST(ARTempoChangeTest, TempoTextsAreWrittenBack) {
  ARAccelerando accel;
  EngineTesting::Apply(accel, Given().Text("Andante").Text("Allegro"));
  EXPECT_STREQ(accel.getAbsTempo()->getValue(), "Allegro");
  EXPECT_EQ(Rmn(accel), "\\accelBegin<\"Andante\",\"Allegro\"> ");
  ARAccelerando onlyEnd;
  EngineTesting::Apply(onlyEnd, Given().Text("Presto", "abstempo"));
  EXPECT_EQ(Rmn(onlyEnd), "\\accelBegin<\"Presto\"> ");
  ARRitardando rit;
  EngineTesting::Apply(rit, Given().Text("Lento"));
  EXPECT_STREQ(rit.getTempo()->getValue(), "Lento");
  EXPECT_EQ(Rmn(rit), "\\ritBegin ");
}

TEST(ARTempoTest, MarkAndMetronomeEquation) {
  struct Case {
    char const* tempo;
    char const* bpm;
    size_t pieces;
    Fraction unit, value;
    bool noteEquiv, hasBpm;
  };
  const Case cases[] = {
      {"Allegro", "1/4=120", 1, {1, 4}, {120, 1}, false, true},
      {"Allegro [1/4] = 96", "1/4=3/8", 3, {1, 4}, {3, 8}, true, true},
      {"Largo", " 3/8= +60", 1, {3, 8}, {60, 1}, false, true},
      {"Largo", "120", 1, {1, 4}, {120, 1}, false, false},
      {"Largo", "1/0=120", 1, {1, 4}, {120, 1}, false, false},  // no length of x/0
      {"Largo", "1/4=3/0", 1, {1, 4}, {120, 1}, false, false},
      {"Largo", "1/4=99999999999", 1, {1, 4}, {120, 1}, false, false},
      {"", "1/2=60", 0, {1, 2}, {60, 1}, false, true},
  };
  for (Case const& c : cases) {
    ARTempo tempo;
    EngineTesting::Apply(tempo, Given().Text(c.tempo).Text(c.bpm).Float(2, "dy"));
    SCOPED_TRACE(c.bpm);
    EXPECT_EQ(tempo.getTempoMark().size(), c.pieces);
    EXPECT_EQ(tempo.getBpmUnit(), c.unit);
    EXPECT_EQ(tempo.getBpmValue(), c.value);
    EXPECT_EQ(tempo.isBpmNoteEquiv(), c.noteEquiv);
    EXPECT_EQ(tempo.hasBpm(), c.hasBpm);
    EXPECT_FLOAT_EQ(tempo.getDY()->getUnitValue(), 2);
    EXPECT_EQ(Rmn(tempo), "");
  }
}

}  // namespace
