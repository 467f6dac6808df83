// Voices that share a staff each write its clef, key and meter: the staff shows them once where
// the line begins, however many tags each voice writes before them, and the room they leave
// is the music's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;

constexpr unsigned int kTreble = 38, kBass = 63, kSharp = 35, kFour = '4';
constexpr int kEvent = 1, kNote = 10;

class StaffSignsOfVoicesTest : public DrawnScore {
 protected:
  int Count(unsigned int code) const { return static_cast<int>(Glyphs(code).size()); }
};

TEST_F(StaffSignsOfVoicesTest, TheSignsTwoVoicesOfAStaffWriteAreDrawnOnce) {
  std::string const upper = "d2/8 e2 f#2 g2 a2 h2 c#3 d3 ]";
  std::string const signs = "\\clef<\"g2\"> \\key<2> \\meter<\"4/4\"> ";
  // Tags a voice writes before its signs, which hold it back in the walk.
  std::string const held =
      "\\title<\"Etude\"> \\composer<\"Anon.\"> \\staff<1> \\pageFormat<\"A4\"> ";
  // The voice of the lower staff places an octava before its signs, or an instrument name on a
  // staff of its own, and so opens later groups of their classes while the voices above are
  // apart.
  std::string const lower =
      "[ \\staff<2> \\oct<-1> \\clef<\"f4\"> \\key<2> \\meter<\"4/4\"> d-1/1 ]";
  std::string const named =
      "[ \\units<\"hs\"> \\instr<\"Piano\"> \\staff<2> \\clef<\"f4\"> \\key<2> "
      "\\meter<\"4/4\"> d0/1 ]";
  struct Case {
    std::string score;
    bool stavesOpenAlike;  // the signs of both staves stand one over the other
  };
  for (auto const& [score, stavesOpenAlike] : {
           // The first voice is held back; its clef is the one the voice is given.
           Case{"{ [ " + held + "\\key<2> \\meter<\"4/4\"> " + upper + ", [ \\staff<1> " + signs +
                    "_/1 ], " + lower + " }",
                true},
           Case{
               "{ [ " + held + signs + upper + ", [ \\staff<1> " + signs + "_/1 ], " + lower + " }",
               true},
           // An instrument name before the lower voice's staff still holds its signs back.
           Case{
               "{ [ " + held + signs + upper + ", [ \\staff<1> " + signs + "_/1 ], " + named + " }",
               false},
           // The second voice is held back.
           Case{
               "{ [ \\staff<1> " + signs + upper + ", [ " + held + signs + "_/1 ], " + lower + " }",
               true},
           // The second voice writes its meter only: the clef and key it is given yield to the
           // first voice's.
           Case{"{ [ \\staff<1> " + signs + upper + ", [ " + held + "\\meter<\"4/4\"> _/1 ], " +
                    lower + " }",
                true},
           // A second voice on the lower staff, which writes its clef only.
           Case{"{ [ " + held + "\\key<2> \\meter<\"4/4\"> " + upper + ", [ \\staff<1> " + signs +
                    "_/1 ], " + lower + ", [ \\staff<2> \\clef<\"f4\"> _/1 ] }",
                true},
       }) {
    SCOPED_TRACE(score);
    Draw(score);
    ASSERT_EQ(DrawnLines().size(), 1u);
    EXPECT_EQ(Count(kTreble), 1);
    EXPECT_EQ(Count(kBass), 1);
    // Two sharps and the meter's two digits on each staff; the notes are in the key.
    EXPECT_EQ(Count(kSharp), 4);
    EXPECT_EQ(Count(kFour), 4);
    // The upper staff's eighths stand apart from each other, a head's width at the least.
    ASSERT_EQ(Glyphs(kTreble).size(), 1u);
    ASSERT_EQ(Glyphs(kBass).size(), 1u);
    float const between = (Glyphs(kTreble).front().y + Glyphs(kBass).front().y) / 2;
    if (stavesOpenAlike) {
      EXPECT_NEAR(Glyphs(kBass).front().x, Glyphs(kTreble).front().x, 10);
      EXPECT_NEAR(Glyphs(kFour).front().x, Glyphs(kFour).back().x, 10);
    }
    std::vector<ScoreElementDesc> upperNotes;
    for (ScoreElementDesc const& note : LeftToRight(Records(kEvent, kNote)))
      if (note.bottom < between) upperNotes.push_back(note);
    ASSERT_EQ(upperNotes.size(), 8u);
    for (size_t i = 1; i < upperNotes.size(); ++i)
      EXPECT_GE(upperNotes[i].left, upperNotes[i - 1].right) << "note " << i;
  }
}

}  // namespace
