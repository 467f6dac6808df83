#include <gtest/gtest.h>

#include <memory>

#include "ARAcc.h"
#include "ARAccelerando.h"
#include "ARAlter.h"
#include "ARCrescendo.h"
#include "ARRitardando.h"
#include "ARTempo.h"
#include "bound_tag.h"

namespace {

using EngineTesting::Given;
using EngineTesting::Rmn;

TEST(ARAlterTest, DetuningShowsItsValueUnlessATextIsWritten) {
  struct Case {
    Given given;
    char const* text;
    float value;
    char const* rmn;
  };
  const Case cases[] = {
      {Given().Float(0.5f), "0.50", 0.5f, "\\alter<detune=0.5> "},
      {Given().Float(-1.25f, "detune"), "-1.25", -1.25f, "\\alter<detune=-1.25> "},
      {Given().Float(0.5f).Text("+q"), "+q", 0.5f, "\\alter<detune=0.5,text=\"+q\"> "},
      {Given().Float(3e38f), "", 1e6f, ""},  // a detuning beyond a million stops there
      {Given().Text("x", "text"), "", 0.0f, "\\alter<detune=0> "},  // detune is required
  };
  for (Case const& c : cases) {
    ARAlter alter;
    EngineTesting::Bind(alter, c.given);
    EXPECT_FLOAT_EQ(alter.getAlterVal(), c.value);
    if (*c.rmn == '\0') continue;
    EXPECT_EQ(alter.getAlterText(), c.text);
    EXPECT_EQ(Rmn(alter), c.rmn);
  }
}

TEST(ARAlterTest, ClosingARangeRestoresTheEarlierDetuning) {
  ARAlter first;
  EngineTesting::Bind(first, Given().Float(0.25f).Text("quarter"));
  ARAlter second(&first);
  EngineTesting::Bind(second, Given().Float(0.5f));
  EXPECT_TRUE(second.IsStateTag());

  std::unique_ptr<ARAlter> restored(second.getEndTag());
  EXPECT_EQ(restored->getPrevious(), nullptr);
  EXPECT_FLOAT_EQ(restored->getAlterVal(), 0.25f);
  EXPECT_EQ(restored->getAlterText(), "quarter");
  std::unique_ptr<ARAlter> none(first.getEndTag());
  EXPECT_FLOAT_EQ(none->getAlterVal(), 0.0f);
  EXPECT_EQ(none->getAlterText(), "");
}

TEST(ARAccTest, TheStyleIsKeptAndCopied) {
  ARAcc acc;
  EngineTesting::Bind(acc, Given().Text("cautionary", "style"));
  ARAcc copy(acc);
  EXPECT_STREQ(copy.getStyle()->getValue(), "cautionary");
  EXPECT_EQ(Rmn(copy), "\\acc<style=\"cautionary\"> ");
}

TEST(ARDynamicsTest, MarkingAndValue) {
  ARCrescendo cresc;
  EXPECT_FLOAT_EQ(cresc.getValue(), -1.0f) << "never an unset value";
  EngineTesting::Bind(cresc, Given().Text("ff").Float(2, "value"));
  EXPECT_EQ(cresc.getText(), "ff");
  EXPECT_FLOAT_EQ(cresc.getValue(), 2.0f);
}

TEST(ARTempoChangeTest, TempoTextsAreWrittenBack) {
  ARAccelerando accel;
  EngineTesting::Bind(accel, Given().Text("Andante").Text("Allegro"));
  EXPECT_STREQ(accel.getAbsTempo()->getValue(), "Allegro");
  EXPECT_EQ(Rmn(accel), "\\accelBegin<\"Andante\",\"Allegro\"> ");
  ARRitardando rit;
  EngineTesting::Bind(rit, Given().Text("Lento"));
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
    EngineTesting::Bind(tempo, Given().Text(c.tempo).Text(c.bpm).Float(2, "dy"));
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
