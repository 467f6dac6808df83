// The slices stack their staves apart by the boxes of their music, measured before the beams and
// the stems under them take their final lengths: a beam under one staff and a stem rising from
// the staff below may then meet between them, and the stem reads as reaching that beam.

#include <algorithm>
#include <map>
#include <vector>

#include "GRStaff.h"
#include "GRSystem.h"
#include "music_ink.h"

namespace {

// The music of two staves keeps this much of a line space between it.
constexpr float kAir = 0.5f;

}  // namespace

void GRSystem::keepStavesClearOfMusicAbove() {
  struct Line {
    std::vector<GRStaff*> staves;
    bool distanceSet = false;
  };
  std::map<int, Line> lines;
  forEachStaff([&lines](int number, GRStaff* staff) {
    Line& line = lines[number];
    line.distanceSet = line.distanceSet || staff->getStaffState().distanceset;
    line.staves.push_back(staff);
  });
  float moved = 0;
  int aboveNumber = -1;
  Line const* above = nullptr;
  for (auto& [number, line] : lines) {
    if (moved > 0)
      for (GRStaff* staff : line.staves)
        staff->setPosition(NVPoint{staff->getPosition().x, staff->getPosition().y + moved});
    // A distance written for the staves holds.
    if (above && !line.distanceSet && !above->distanceSet) {
      GRStaff const* upper = above->staves.front();
      GRStaff const* lower = line.staves.front();
      float const space = upper->getLineSpace();
      float const apart = lower->getPosition().y - upper->getPosition().y;
      float const upperBottom = upper->getDredgeSize();
      float const lowerMiddle = lower->getDredgeSize() / 2;
      MusicInk const& upperInk = musicInk(aboveNumber);
      MusicInk const& lowerInk = musicInk(number);
      float missing = 0;
      // Strip by strip of half a space: only music standing over other music moves the staff.
      for (float x = mBoundingBox.left; x < mBoundingBox.right; x += space / 2) {
        float const bottom = upperInk.lowestUnder(x, x + space / 2);
        float const top = lowerInk.highestOver(x, x + space / 2);
        if (bottom == -MusicInk::kNone || top == MusicInk::kNone) continue;
        // Music written across the two staves (a beam between them, whose stems the system
        // sets last) reaches into the other staff, past its middle: it is not in the other's way.
        if (bottom >= apart + lowerMiddle || top <= upperBottom / 2 - apart) continue;
        missing = std::max(missing, bottom + kAir * space - (apart + top));
      }
      if (missing > 0) {
        for (GRStaff* staff : line.staves)
          staff->setPosition(NVPoint{staff->getPosition().x, staff->getPosition().y + missing});
        moved += missing;
      }
    }
    above = &line;
    aboveNumber = number;
  }
  if (moved > 0) {
    mBoundingBox.bottom += moved;
    forgetMeasuredMusic();
  }
}
