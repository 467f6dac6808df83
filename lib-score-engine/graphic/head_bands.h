#pragma once

#include <vector>

class GRSpring;

// The air the heads of neighbouring events keep at the least, in line spaces: closer, they read
// as touching.
inline constexpr float kHeadsAir = 0.15f;

// How far apart the spring and the next stand at the least for the heads of both to keep that
// air, where they meet (see GRSpring::getHeadsApart); 0 where none meet.
float HeadsApartWithAir(GRSpring const& spring);

// How far the note heads of a spring reach to either side, band by band of its collider: how
// far apart two neighbouring springs stand where heads of both meet in a band, edge to edge, or
// where the ledger lines of a head meet a head of the other at its height.
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
  // A head drawn with ledger lines, or one they may meet: the heights are those of its staff.
  // The staff is known by its number: a line's slices each draw their own piece of it, and the
  // heads either side of a slice's start stand on different pieces.
  struct Lines {
    GRSpring const* spring;
    int staff;
    float top, bottom;  // of the head's glyph
    float right, left;  // of the head
    float linesRight, linesLeft;
    std::vector<float> heights;  // of its ledger lines; empty for none
  };
  // How far this head and the next one stand apart where the ledger lines of either meet the
  // other; 0 where none meet.
  static float linesApart(Lines const& mine, Lines const& next);

  std::vector<Head> mHeads;
  // Only the bands a head occupies, from the lowest.
  std::vector<Band> mBands;
  std::vector<Lines> mLines;
  bool mAnyLines = false;
};
