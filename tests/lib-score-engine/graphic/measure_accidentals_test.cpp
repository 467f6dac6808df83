#include <gtest/gtest.h>

#include <initializer_list>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using Signs = std::vector<std::vector<unsigned int>>;

constexpr unsigned int kSharp = 35, kFlat = 98, kNatural = 110, kDoubleFlat = 134,
                       kDoubleSharp = 180;

// A score and the signs of its notes in reading order.
struct Case {
  char const* score;
  Signs signs;
};

class MeasureAccidentalsTest : public DrawnScore {
 protected:
  void ExpectSigns(std::initializer_list<Case> cases) {
    for (Case const& c : cases) {
      SCOPED_TRACE(c.score);
      Draw(c.score);
      EXPECT_EQ(SignsOfNotes(), c.signs);
    }
  }
};

// A sign holds to the end of its measure: the notes after it are drawn against it, and the bar
// line brings the key back.
TEST_F(MeasureAccidentalsTest, SignsAreDecidedAgainstTheNotesBeforeThemInTheMeasure) {
  ExpectSigns({
      // A wrong c sharp then the right c, as an answer score shows them.
      {R"([ \staff<1> \clef<"g2"> \stemsAuto \noteFormat<color="red"> c#1/4 )"
       R"(\noteFormat<color="blue"> c1/4 ])",
       {{kSharp}, {kNatural}}},
      {"[ \\meter<\"4/4\"> c1/4 c#1 c1 c#1 | c1/4 c#1 c#1 c1 ]",
       {{}, {kSharp}, {kNatural}, {kSharp}, {}, {kSharp}, {}, {kNatural}}},
      // In D major c is sharp and f is sharp.
      {"[ \\key<2> \\meter<\"4/4\"> c1/4 c#1 c1 c#1 | f1/4 f1 f#1 f1 ]",
       {{kNatural}, {kSharp}, {kNatural}, {kSharp}, {kNatural}, {}, {kSharp}, {kNatural}}},
      {"[ \\meter<\"4/4\"> e##1/4 e&&1 e#1 e1 | e&1/4 e&1 e1 e&&1 ]",
       {{kDoubleSharp},
        {kDoubleFlat},
        {kSharp},
        {kNatural},
        {kFlat},
        {},
        {kNatural},
        {kDoubleFlat}}},
      // A note tied over the bar shows no sign; the sign it sounds still holds after it.
      {"[ \\meter<\"4/4\"> c#1/2 \\tie(c#1/2 | c#1/4) c1/4 c#1/2 ]",
       {{kSharp}, {}, {}, {kNatural}, {kSharp}}},
  });
}

// A sign holds in its own octave only; the first note of the letter in another octave repeats its
// sign, or cancels it, when the letter stood otherwise earlier in the measure.
TEST_F(MeasureAccidentalsTest, SignsHoldInTheirOwnOctave) {
  ExpectSigns({
      {"[ \\meter<\"4/4\"> g#0/4 g#1/4 g1/4 g0/4 ]", {{kSharp}, {kSharp}, {kNatural}, {kNatural}}},
      {"[ \\meter<\"4/4\"> f#1/4 f#2/4 f1/4 f2/4 | c#2/4 c1/4 c2/4 c#1/4 ]",
       {{kSharp}, {kSharp}, {kNatural}, {kNatural}, {kSharp}, {kNatural}, {kNatural}, {kSharp}}},
      // Octave chords: each altered note has its own sign (chord notes top down).
      {"[ \\meter<\"4/4\"> {c#1/2, c#2} {f#1/2, a1, f#2} ]",
       {{kSharp}, {kSharp}, {kSharp}, {}, {kSharp}}},
      // The courtesy is given once in its octave; in G major it restores the key's sharp too.
      {"[ \\meter<\"4/4\"> c#2/4 c1/4 c1/4 c2/4 ]", {{kSharp}, {kNatural}, {}, {kNatural}}},
      {"[ \\key<1> \\meter<\"4/4\"> f1/4 f#2/4 f#2/4 f1/4 ]", {{kNatural}, {kSharp}, {}, {}}},
  });
}

// A chord note's sign holds for the chords after it (notes of a chord listed top down).
TEST_F(MeasureAccidentalsTest, ChordNotesFollowTheMeasureToo) {
  Draw("[ \\meter<\"4/4\"> {c#1/4, e1} {c1/4, e&1} {c1/4, e1} c#1/4 ]");
  EXPECT_EQ(SignsOfNotes(), (Signs{{}, {kSharp}, {kFlat}, {kNatural}, {kNatural}, {}, {kSharp}}));
}

// A note name that is raised already (cis, fis ...) stands on its letter like the letter with a
// sharp: the letter after it in the measure is drawn against it, and the other way round.
TEST_F(MeasureAccidentalsTest, RaisedNamesCountForTheirLetter) {
  ExpectSigns({
      {"[ \\meter<\"4/4\"> cis2/4 c2/4 fis1/4 f1/4 ]",
       {{kSharp}, {kNatural}, {kSharp}, {kNatural}}},
      {"[ \\meter<\"4/4\"> dis2/4 d2/4 gis1/4 g1/4 | ais1/4 a1/4 a1/4 ais1/4 ]",
       {{kSharp}, {kNatural}, {kSharp}, {kNatural}, {kSharp}, {kNatural}, {}, {kSharp}}},
      // Either spelling holds for the other; the raised name shows its sharp every time.
      {"[ \\meter<\"4/4\"> c#1/4 cis1/4 c#1/4 c1/4 ]", {{kSharp}, {kSharp}, {}, {kNatural}}},
      // In another octave the letter's first note gets its courtesy natural.
      {"[ \\meter<\"4/4\"> fis1/4 f2/4 f2/4 f1/4 ]", {{kSharp}, {kNatural}, {}, {kNatural}}},
      // In D major the raised c is the key's: a plain c after it needs its natural all the same.
      {"[ \\key<2> \\meter<\"4/4\"> cis2/4 c2/4 c2/4 c#2/4 ]",
       {{kSharp}, {kNatural}, {}, {kSharp}}},
  });
}

// A raised name with signs after it is its letter with both: cis& is c, cis&& is c flat. It
// shows the sign of what it is, against the key and the measure as any note of its letter, and
// never the sharp alone or a sharp before the sign that takes it back.
TEST_F(MeasureAccidentalsTest, MixedSpellingsShowTheSignOfWhatTheyAre) {
  ExpectSigns({
      {"[ \\meter<\"4/4\"> cis&2/4 c2/4 ]", {{}, {}}},
      // The key's sharps stand at c2 and f2, its flats at h1, e2 and a1: the notes stand apart.
      {"[ \\key<\"D\"> \\meter<\"4/4\"> cis&1/2 c1/2 ]", {{kNatural}, {}}},
      {"[ \\meter<\"4/4\"> dis&1/4 fis&1/4 gis&1/4 ais&1/4 | d1/4 f1/4 g1/4 a1/4 ]",
       {{}, {}, {}, {}, {}, {}, {}, {}}},
      {"[ \\meter<\"4/4\"> cis&&1/4 c1/4 cis#1/4 c#1/4 ]",
       {{kFlat}, {kNatural}, {kDoubleSharp}, {kSharp}}},
      // After a sharp in the measure the letter needs its natural back; a flat key's letter too.
      {"[ \\meter<\"4/4\"> c#1/4 cis&1/4 cis&&1/4 cis&&1/4 ]", {{kSharp}, {kNatural}, {kFlat}, {}}},
      {"[ \\key<-3> \\meter<\"4/4\"> ais&2/4 a2/4 ais&&2/4 a&2/4 ]", {{kNatural}, {}, {kFlat}, {}}},
      // In another octave the letter's first note repeats what it is.
      {"[ \\meter<\"4/4\"> cis&&1/4 cis&2/4 c1/4 c2/4 ]", {{kFlat}, {kNatural}, {kNatural}, {}}},
  });
}

// A repeat sign ends the measure where it stands, as a bar line does, whether it closes the first
// measure or a later one; and the key holds on across it to the end of the line.
TEST_F(MeasureAccidentalsTest, RepeatSignsEndTheMeasure) {
  ExpectSigns({
      {"[ \\meter<\"4/4\"> c#2/1 \\repeatEnd c#2/1 ]", {{kSharp}, {kSharp}}},
      {"[ \\meter<\"4/4\"> c#2/1 \\repeatBegin c#2/1 ]", {{kSharp}, {kSharp}}},
      {"[ \\meter<\"4/4\"> c#2/1 \\doublebar c#2/1 ]", {{kSharp}, {kSharp}}},
      // An end and a begin at one place start one measure.
      {"[ \\meter<\"4/4\"> c2/1 | c#2/1 \\repeatEnd \\repeatBegin c#2/2 c2/2 ]",
       {{}, {kSharp}, {kSharp}, {kNatural}}},
      // The key's sharps stand at c2 and f2; the line opens on d2 to keep them apart from the
      // notes' own signs.
      {"[ \\key<\"D\"> \\meter<\"4/4\"> d2/4 c f e \\repeatEnd c2/4 d e f | c2/4 d e f ]",
       {{},
        {kNatural},
        {kNatural},
        {},
        {kNatural},
        {},
        {},
        {kNatural},
        {kNatural},
        {},
        {},
        {kNatural}}},
      {"[ \\key<\"F\"> \\meter<\"4/4\"> c2/4 b1 b1 c2 \\repeatBegin b1/4 c2 d2 e2 | b1/1 ]",
       {{}, {kNatural}, {}, {}, {kNatural}, {}, {}, {}, {kNatural}}},
  });
}

// Each voice of a staff writes its own key: the second copy of a key change takes nothing back
// from the grace notes the first voice wrote at the change (notes in time order, the upper
// voice's first at one time).
TEST_F(MeasureAccidentalsTest, SignsOfGraceNotesAtAKeyChangeHoldForBothVoices) {
  ExpectSigns({
      {"{ [ \\staff<1> \\stemsUp \\key<-4> c2/1 \\key<-6> \\grace( e1/16 ) h1/2 e&1/4 e1/4 ], "
       "[ \\staff<1> \\stemsDown \\key<-4> c1/1 \\key<-6> c&1/1 ] }",
       {{}, {}, {kNatural}, {kNatural}, {}, {kFlat}, {kNatural}}},
      {"{ [ \\staff<1> \\stemsUp \\key<2> h1/1 \\key<4> \\grace( g1/16 ) h1/2 g#1/4 g1/4 ], "
       "[ \\staff<1> \\stemsDown \\key<2> d1/1 \\key<4> e1/1 ] }",
       {{}, {}, {kNatural}, {}, {}, {kSharp}, {kNatural}}},
  });
}

}  // namespace

// A note tied over shows no sign, so a reader takes none from it for the notes struck with it:
// another voice's note of its letter there shows its own sign (the unison's flat, drawn before
// both heads), or none where the measure needs none; after them the letter follows the note
// struck last, a plain a calling for the flat again, and a plain a after a natural struck with
// the flat held, whichever voice comes first, needing no sign.
TEST_F(MeasureAccidentalsTest, ANoteTiedOverLendsNoSignToTheNotesStruckWithIt) {
  ExpectSigns({
      {R"({ [ \staff<1> \meter<"2/4"> \stemsUp c2/4 c2/4 | a1/4 a1/4 ],)"
       R"(  [ \staff<1> \meter<"2/4"> \stemsDown c1/4 \tie( a&1/4 | a&1/4 ) f1/4 ] })",
       {{}, {}, {}, {kFlat}, {}, {}, {}, {}}},
      {R"({ [ \staff<1> \meter<"2/4"> \stemsUp c2/4 \tie( a&1/4 | a&1/4 ) a&1/4 ],)"
       R"(  [ \staff<1> \meter<"2/4"> \stemsDown f1/2 | a&1/4 f1/4 ] })",
       {{}, {}, {kFlat}, {kFlat}, {kFlat}, {}, {}}},
      {R"({ [ \staff<1> \meter<"2/4"> \stemsUp c2/4 \tie( a&1/4 | a&1/4 ) a&1/4 ],)"
       R"(  [ \staff<1> \meter<"2/4"> \stemsDown f1/2 | a1/4 f1/4 ] })",
       {{}, {}, {kFlat}, {}, {}, {kFlat}, {}}},
  });
}
