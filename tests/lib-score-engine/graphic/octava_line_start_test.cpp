// Every line an octava runs into shows its mark where the line's music starts, whether a written
// new system or new page or the line breaker started the line.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;

class OctavaLineStartTest : public DrawnScore {
 protected:
  // For each line, the octava marks ("8", "8ba") drawn by it no further right than its first
  // note, top down.
  std::vector<std::string> MarksAtLineStarts() const {
    std::vector<std::string> marks;
    for (DrawnLine const& line : DrawnLines()) {
      float firstHead = 1e9f;
      for (ScoreElementDesc const& note : line.notes) firstHead = std::min(firstHead, note.headX);
      std::string words;
      for (auto const& text : drawn.texts)  // drawn top staff first
        if ((text.text == "8" || text.text == "8ba") && text.page == line.page &&
            text.y > line.system.top - 200 && text.y < line.system.bottom + 200 &&
            text.x <= firstHead + 30)
          words += (words.empty() ? "" : " ") + text.text;
      marks.push_back(words);
    }
    return marks;
  }
};

TEST_F(OctavaLineStartTest, EveryLineAnOctavaRunsIntoShowsItsMark) {
  struct Case {
    std::string score;
    std::vector<std::string> marks;  // at the start of each line
  };
  std::string const longOctava = "[ \\meter<\"4/4\"> c2/4 d2 \\oct<1>( " +
                                 EngineTesting::Repeated("e2 f2 g2 a2 |", 12) + ") h2 c3 ]";
  for (
      Case const& c : {
          Case{"[ \\meter<\"4/4\"> c2/4 d2 \\oct<1>( e2 f2 | \\newSystem g2 a2 ) h2 c3 ]",
               {"", "8"}},
          Case{"[ \\meter<\"4/4\"> c2/4 d2 \\oct<1>( e2 f2 | \\newPage g2 a2 ) h2 c3 ]", {"", "8"}},
          Case{"[ \\meter<\"4/4\"> c1/4 d1 \\oct<-1>( e1 f1 | \\newSystem g1 a1 ) h1 c2 ]",
               {"", "8ba"}},
          Case{"[ \\meter<\"4/4\"> c2/4 d2 \\oct<1> e2 f2 | \\newSystem g2 a2 \\oct<0> h2 c3 ]",
               {"", "8"}},
          // Ended before the break: the next line shows none.
          Case{"[ \\meter<\"4/4\"> c2/4 d2 \\oct<1>( e2 f2 ) | \\newSystem g2 a2 h2 c3 ]",
               {"", ""}},
          // Written again where the line starts: one mark.
          Case{"[ \\meter<\"4/4\"> c2/4 d2 \\oct<1> e2 f2 | \\newSystem \\oct<1> g2 a2 h2 c3 ]",
               {"", "8"}},
          Case{"{ [ \\staff<1> \\meter<\"4/4\"> c2/1 | \\newSystem c2/1 | \\newSystem c2/1 ], "
               "[ \\staff<2> \\clef<\"f4\"> \\meter<\"4/4\"> \\oct<-1> c0/1 | c0/1 | c0/1 ] }",
               {"8ba", "8ba", "8ba"}},
          Case{longOctava, {"", "8", "8", "8"}},
          // Ended or changed where the line starts, after a tempo mark: the octava carried over
          // holds for no note and shows no mark.
          Case{"{ [ \\staff<1> \\oct<1> \\meter<\"4/4\"> c2/2 d2 | \\newSystem \\tempo<\"Adagio\"> "
               "\\oct<0> e1/2 f1 ], [ \\staff<1> \\meter<\"4/4\"> _/2 _/2 | _/2 _/2 ] }",
               {"8", ""}},
          Case{"{ [ \\staff<1> \\oct<1> \\meter<\"4/4\"> c2/2 d2 | \\newSystem \\tempo<\"Adagio\"> "
               "\\oct<-1> e1/2 f1 ], [ \\staff<1> \\meter<\"4/4\"> _/2 _/2 | _/2 _/2 ] }",
               {"8", "8ba"}},
          Case{
              "[ \\oct<1> \\meter<\"4/4\"> c2/2 d2 | \\newSystem \\tempo<\"Adagio\"> \\oct<0> e1/2 "
              "f1 ]",
              {"8", ""}},
      }) {
    SCOPED_TRACE(c.score);
    Draw(c.score);
    EXPECT_EQ(MarksAtLineStarts(), c.marks);
  }
}

}  // namespace
