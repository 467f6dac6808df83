#pragma once

#include <vector>

class GRSystem;

// How high the music of one staff line of a system reaches over a stretch of it: the tops of
// its notes (with their own stems), of its chords' shared stems, of its beams, of its tuplets'
// brackets and numbers and of its clefs. The answer is
// in the staff's coordinates (its top line at 0, upwards negative) and 0 where nothing reaches
// above the top line; left and right are x positions of the system. Marks above the staff ask
// it, to stand clear of what is under them.
float HighestMusicOver(GRSystem const& system, int staffNumber, float left, float right);
// How low the same music reaches under a stretch: the staff's coordinates, 0 where nothing
// reaches below the top line. Marks under the staff and marks written into it ask it.
float LowestMusicOver(GRSystem const& system, int staffNumber, float left, float right);
// How low the notes of one staff line (with their own stems, signs and marks), its chords'
// shared stems and its beams reach along the whole line; minus infinity without any. A tuplet's
// bracket under the notes is left out: the marks under the line make room for it where it stands.
float LowestNotesOnLine(GRSystem const& system, int staffNumber);

// The reaches of the music of one staff line, gathered once: every mark over a line of many
// slices asks, and each question looks only at the music near its stretch rather than at the
// whole line.
class MusicTops {
 public:
  // The music's tops, or its bottoms taken upside down (each bottom held as its negative), so
  // that one search serves marks over the line and marks under it.
  enum class Side { Over, Under };
  MusicTops(GRSystem const& system, int staffNumber, Side side = Side::Over);
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
