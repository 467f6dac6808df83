#pragma once

#include <vector>

class GRSpring;

// How far the note heads of a spring reach to either side, band by band of its collider: how
// far apart two neighbouring springs stand where heads of both meet in a band, edge to edge.
// Measured once per spring after its notes are settled, for the spring before it and the one
// after it.
class HeadBands {
 public:
  // No spring has no heads.
  void measure(GRSpring const* spring);
  // The distance from these heads to those of the next spring; 0 where none meet.
  float distanceTo(HeadBands const& next) const;

 private:
  struct Head {
    void const* position;  // in the spring's element list
    float right;
    float left;
  };
  struct Band {
    int band;
    float right;
    float left;
  };
  std::vector<Head> mHeads;
  // Only the bands a head occupies, from the lowest.
  std::vector<Band> mBands;
};
