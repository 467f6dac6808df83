#pragma once

#include <vector>

class GRSystem;

// How high the music of one staff line of a system reaches over a stretch of it: the tops of
// its notes (with their own stems), of its chords' shared stems, of its beams and of its
// tuplets' brackets and numbers. The answer is
// in the staff's coordinates (its top line at 0, upwards negative) and 0 where nothing reaches
// above the top line; left and right are x positions of the system. Marks above the staff ask
// it, to stand clear of what is under them.
float HighestMusicOver(GRSystem const& system, int staffNumber, float left, float right);

// The reaches of the music of one staff line, gathered once: every mark over a line of many
// slices asks, and each question looks only at the music near its stretch rather than at the
// whole line.
class MusicTops {
 public:
  MusicTops(GRSystem const& system, int staffNumber);
  float highestOver(float left, float right) const;

 private:
  struct Reach {
    float left;
    float right;
    float top;
  };
  // What a run of reaches (taken by their left ends) spans: the least and the most right end,
  // and the highest top among them.
  struct Run {
    float leastRight;
    float mostRight;
    float top;
  };
  void gather(int run, int from, int to);
  // The highest top among the reaches from..to of those before end that reach left.
  float highestIn(int run, int from, int to, int end, float left) const;

  std::vector<Reach> mByLeft;
  // A tree over mByLeft: run 1 holds them all, run r the halves 2r and 2r + 1.
  std::vector<Run> mRuns;
  // Reaches with an end that is no number, asked each time as they are.
  std::vector<Reach> mUnplaced;
};
