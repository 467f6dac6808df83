#pragma once

#include <limits>
#include <vector>

class GRSystem;

// How far the ink of the music of one staff line of a system reaches over a stretch of it, below
// the staff and above it: heads with their stems, flags, signs, dots and articulations, rests,
// ledger lines, the stems of chords, beams, tuplets' brackets and numbers, slurs and ties, of
// every voice on the line, the octavas' figures over the staff and the words of the trills and
// tempo changes over their notes. Marks beside the staff
// (dynamics, wedges) ask it once the line is placed, to stand clear of all that is under them. In
// the staff's coordinates (its top line at 0, downwards positive); left and right are x positions
// of the system. Gathered once per line: each question looks only at the music near its stretch.
class MusicInk {
 public:
  static constexpr float kNone = std::numeric_limits<float>::infinity();

  // All of it, or the notes' own ink only: without the slurs and ties, the octavas' figures and
  // the words over the notes, and with the breath marks, for those words to stand over.
  enum class Reach { All, NotesOnly };
  MusicInk(GRSystem const& system, int staffNumber, Reach taken = Reach::All);
  // The lowest point of the ink over [left, right]; -kNone where there is none.
  float lowestUnder(float left, float right) const;
  // The highest point of the ink over [left, right]; kNone where there is none.
  float highestOver(float left, float right) const;

 private:
  struct Box {
    float left, right, top, bottom;
  };
  // What a run of boxes (taken by their left ends) spans: the least and the most right end, and
  // the highest top and lowest bottom among them.
  struct Run {
    float leastRight, mostRight, top, bottom;
  };
  void gather(int run, int from, int to);
  // The highest top and lowest bottom among the boxes from..to of those before end that reach
  // left.
  void reachIn(int run, int from, int to, int end, float left, float& top, float& bottom) const;
  void reach(float left, float right, float& top, float& bottom) const;
  // Sorts the boxes gathered and builds the tree over them.
  void finish();

  std::vector<Box> mByLeft;
  // A tree over mByLeft: run 1 holds them all, run r the halves 2r and 2r + 1.
  std::vector<Run> mRuns;
};

// The same as the system's kept answer for the line of staves of that number.
float LowestInkUnder(GRSystem const& system, int staffNumber, float left, float right);
float HighestInkOver(GRSystem const& system, int staffNumber, float left, float right);
// The highest point of the notes' own ink over [left, right] (the system's kept answer); kNone
// where there is none.
float HighestNotesInkOver(GRSystem const& system, int staffNumber, float left, float right);
