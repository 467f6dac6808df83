#pragma once

#include <unordered_map>

class GRJump;
class GRSystem;

// Where the marks of one staff line of a system stand beside each other, worked out once for
// the line: every mark drawn on it asks.
class LineMarks {
 public:
  LineMarks(GRSystem const& system, int staffNumber);

  // How far right of its own place a jump mark is drawn: marks at one date stand side by side,
  // in the order they were written, rather than on top of each other.
  float jumpShift(GRJump const* jump) const;

 private:
  std::unordered_map<GRJump const*, float> mJumpShifts;
};
