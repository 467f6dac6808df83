#pragma once

#include <random>
#include <string>

namespace RazidQtTesting {

// A two-staff piece of the given number of 4/4 measures, the same for every run: each beat of
// either hand is a quarter note or a root-position triad on the white keys.
inline std::string LongPiece(int measures = 100, unsigned seed = 2026) {
  static constexpr char const* kNames[] = {"c", "d", "e", "f", "g", "a", "b"};
  std::mt19937 random(seed);
  // A white key counted in steps from the octave's c, written with its octave.
  auto note = [](int step, int octave) {
    return std::string(kNames[step % 7]) + std::to_string(octave + step / 7) + "*1/4";
  };
  auto voice = [&](char const* opening, int octave) {
    std::string text = opening;
    for (int beat = 0; beat < measures * 4; ++beat) {
      const int root = static_cast<int>(random() % 7);
      if (random() % 2)
        text += note(root, octave) + " ";
      else
        text += "{ " + note(root, octave) + ", " + note(root + 2, octave) + ", " +
                note(root + 4, octave) + " } ";
    }
    return text + "]";
  };
  return "{ " + voice("[ \\staff<1> \\clef<\"g2\"> \\meter<\"4/4\"> ", 1) + ", " +
         voice("[ \\staff<2> \\clef<\"f4\"> \\meter<\"4/4\"> ", -1) + " }";
}

}  // namespace RazidQtTesting
