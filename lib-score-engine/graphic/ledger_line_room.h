#pragma once

#include <unordered_map>
#include <vector>

class GRSingleNote;
class GRSystem;

// Where the ledger lines of one staff line of a system stop short of each other. A line glyph
// reaches past its head on both sides, so on a line set tight the lines of neighbouring notes at
// one height would run into one; each of the two then gives up half of the air they lack, and
// never reaches less far past its head than a little. The notes of one column (a chord, heads of
// two voices at one place) share their lines. Worked out once for the line: every note with
// ledger lines asks when it draws them.
class LedgerLineRoom {
 public:
  LedgerLineRoom(GRSystem const& system, int staffNumber);

  // Narrows the ends of the note's line at the height (in its staff) where it stops short of a
  // neighbour's; false where the line keeps the ends it was given.
  bool clip(GRSingleNote const* note, float height, float& left, float& right) const;

 private:
  struct Clip {
    float height;
    float left, right;
  };
  std::unordered_map<GRSingleNote const*, std::vector<Clip>> mClips;
};
