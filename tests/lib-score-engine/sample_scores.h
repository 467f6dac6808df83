#pragma once

// Scores the trainer shows, as RMN text, for the engine's tests and benchmarks alike.

#include <random>
#include <string>

namespace SampleScores {

// The question score of keys 39, 43 and 46: the chord c1 e1 g1 on one staff.
inline char const* QuestionScore() {
  return "{ [ \\staff<1> \\clef<\"g2\">  \\stemsAuto  { c1 , e1 , g1 }  ], [ \\staff<1> "
         "\\clef<\"g2\">  \\stemsAuto  ] }";
}

// 100 measures of 4/4 on two staves; every beat a quarter or a root-position triad, drawn from
// the generator seeded with seed.
inline std::string HundredMeasures(unsigned seed = 15) {
  std::mt19937 random(seed);
  char const* const names[] = {"c", "d", "e", "f", "g", "a", "h"};
  std::string text = "{ ";
  for (int staff = 1; staff <= 2; ++staff) {
    text += std::string(staff == 1 ? "" : ", ") + "[ \\staff<" + std::to_string(staff) +
            "> \\clef<\"" + (staff == 1 ? "g2" : "f4") + "\"> \\meter<\"4/4\"> ";
    int const octave = staff == 1 ? 1 : 0;
    for (int beat = 0; beat < 400; ++beat) {
      int const root = static_cast<int>(random() % 7);
      auto note = [&](int step) {
        return std::string(names[(root + step) % 7]) + std::to_string(octave + (root + step) / 7) +
               "/4";
      };
      if (random() % 2)
        text += note(0) + " ";
      else
        text += "{ " + note(0) + ", " + note(2) + ", " + note(4) + " } ";
    }
    text += "] ";
  }
  return text + "}";
}

// About the given number of bytes of plain music on two staves in 4/4: the upper staff in
// eighths and quarters, the lower one in quarters and halves, every measure alike.
inline std::string PlainTwoStaves(int bytes) {
  // Two measures each.
  std::string const upper = "c2/8 d e/4 f g/8 a h1/4 c2/2 e/4 ";
  std::string const lower = "c0/4 g c1/2 f0/4 a c1/2 ";
  int const measures = bytes / static_cast<int>(upper.size() + lower.size()) + 1;
  std::string text = "{ [ \\staff<1> \\clef<\"g2\"> \\meter<\"4/4\"> ";
  for (int i = 0; i < measures; ++i) text += upper;
  text += "], [ \\staff<2> \\clef<\"f4\"> \\meter<\"4/4\"> ";
  for (int i = 0; i < measures; ++i) text += lower;
  return text + "] }";
}

// Measures of plain 4/4 music on two staves in eighths, the pitches moving from measure to
// measure: the music of tools/sample-scores/make_sample_rmn.py plain.
inline std::string PlainEighthsOnTwoStaves(int measures) {
  char const* const names[] = {"c", "d", "e", "f", "g", "a", "h"};
  auto pitch = [&](int step, int octave) {
    return std::string(names[step % 7]) + std::to_string(octave + step / 7) + "/8 ";
  };
  std::string upper = "[ \\staff<1> \\clef<\"g2\"> \\meter<\"4/4\"> ";
  std::string lower = "[ \\staff<2> \\clef<\"f4\"> \\meter<\"4/4\"> ";
  for (int m = 0; m < measures; ++m) {
    for (int step : {0, 2, 4, 7, 4, 2, 1, 0}) upper += pitch(m % 7 + step, 1);
    for (int step : {0, 4, 2, 4, 0, 4, 2, 4}) lower += pitch(m % 7 + step, -1);
  }
  return "{ " + upper + "], " + lower + "] }";
}

}  // namespace SampleScores
