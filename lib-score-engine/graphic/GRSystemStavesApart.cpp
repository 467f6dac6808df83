// The slices stack their staves apart by the boxes of their music, measured before the beams and
// the stems under them take their final lengths and the tuplets' brackets their places: a beam or
// a bracket under one staff and a stem rising from the staff below may then meet between them,
// and the stem reads as reaching that beam, or as struck through. So may a fermata or accent over
// the staff below and a stem hanging from the staff above, which the boxes of the notes alone
// never held apart, and a stem reaching out of one staff and a head of the other on a line whose
// staves stand as close as its opening allowed: the stem reads as that head's too.

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "ARCast.h"
#include "GRArticulation.h"
#include "GRBeam.h"
#include "GRDummy.h"
#include "GREvent.h"
#include "GRGlobalStem.h"
#include "GRNewTuplet.h"
#include "GRSingleNote.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "music_ink.h"

namespace {

// A beam keeps this much of a line space from the music of the other staff.
constexpr float kAir = 0.5f;

// The boxes of the beams of one line of staves as they end, and of the tuplets' brackets and
// numbers, in the staff's coordinates.
std::vector<NVRect> BeamsOnLine(GRSystem const& system, int staffNumber) {
  std::vector<NVRect> beams;
  system.forEachElementOnLine(staffNumber, [&](GRNotationElement const* element, GRStaff const*) {
    // A beam or tuplet that runs on from the line before stands here as a placeholder.
    if (auto const* dummy = ar_cast<GRDummy const>(element))
      element = dynamic_cast<GRNotationElement const*>(dummy->getTag());
    if (auto const* tuplet = element ? ar_cast<GRNewTuplet const>(element) : nullptr) {
      if (NVRect const box = tuplet->drawnBox(&system); box.right > box.left) beams.push_back(box);
      return;
    }
    auto const* beam = element ? ar_cast<GRBeam const>(element) : nullptr;
    NVRect box;
    if (!beam || !beam->getPieceBox(&system, box)) return;
    if (std::isnan(box.top) || std::isnan(box.bottom) || !(box.right > box.left)) return;
    beams.push_back(box);
  });
  return beams;
}

// The boxes of the articulations of the notes and rests of one line of staves, in the staff's
// coordinates.
std::vector<NVRect> ArticulationsOnLine(GRSystem const& system, int staffNumber) {
  std::vector<NVRect> marks;
  system.forEachElementOnLine(staffNumber, [&](GRNotationElement const* element, GRStaff const*) {
    auto const* event = dynamic_cast<GREvent const*>(element);
    if (!event) return;
    for (auto const& mark : event->getArticulations()) {
      NVRect const box = mark->getBoundingBox() + mark->getPosition();
      if (std::isnan(box.top) || std::isnan(box.bottom) || !(box.right > box.left)) continue;
      marks.push_back(box);
    }
  });
  return marks;
}

// The stems of one line of staves, from the head that carries each to its end, in the staff's
// coordinates; a chord's stem once, from its note on this line.
std::vector<NVRect> StemsOnLine(GRSystem const& system, int staffNumber) {
  std::vector<NVRect> stems;
  std::set<GRGlobalStem const*> chords;
  system.forEachElementOnLine(staffNumber, [&](GRNotationElement const* element,
                                               GRStaff const* staff) {
    auto const* note = ar_cast<GRSingleNote const>(element);
    if (!note || !staff || !note->getStem()) return;
    NVPoint tip;
    if (GRGlobalStem const* chord = note->getGlobalStem()) {
      if (!chords.insert(chord).second) return;
      if (chord->getStemLength() <= 0) return;
      tip = chord->getStemStartPos();
    } else {
      if (note->getStemLength() <= 0) return;
      tip = note->getStemStartPos();
    }
    float const headY = note->getPosition().y;
    float const half = 0.1f * staff->getLineSpace();
    NVRect const box{tip.x - half, std::min(tip.y, headY), tip.x + half, std::max(tip.y, headY)};
    if (std::isnan(box.top) || std::isnan(box.bottom) || std::isnan(box.left)) return;
    stems.push_back(box);
  });
  return stems;
}

}  // namespace

// Each bracket was placed as its notes took their places, before the rests of other voices moved
// out of the notes' way: it passes under (over) them now, and the staves are set apart by where
// it stands then.
void GRSystem::placeTupletsAgain() {
  forEachStaff([](int, GRStaff* staff) {
    NEPointerList const& elements = staff->getElements();
    for (void* pos = elements.GetHeadPosition(); pos;) {
      GRNotationElement* element = elements.GetNext(pos);
      if (auto* dummy = ar_cast<GRDummy>(element))
        element = dynamic_cast<GRNotationElement*>(dummy->getTag());
      if (auto* tuplet = element ? ar_cast<GRNewTuplet>(element) : nullptr)
        tuplet->FinishPTag(staff);
    }
  });
}

void GRSystem::keepStavesClearOfBeams() {
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
      float const air = kAir * upper->getLineSpace();
      float const apart = lower->getPosition().y - upper->getPosition().y;
      // Music written across the two staves (a beam between them, whose stems the system sets
      // last) reaches into the other staff, past its middle: it is not in the other's way.
      float const upperMiddle = upper->getDredgeSize() / 2 - apart;
      float const lowerMiddle = apart + lower->getDredgeSize() / 2;
      float missing = 0;
      for (NVRect const& beam : BeamsOnLine(*this, aboveNumber)) {
        float const top = musicInk(number).highestOver(beam.left, beam.right);
        if (top == MusicInk::kNone || beam.bottom >= lowerMiddle || top <= upperMiddle) continue;
        missing = std::max(missing, beam.bottom + air - (apart + top));
      }
      for (NVRect const& beam : BeamsOnLine(*this, number)) {
        float const bottom = musicInk(aboveNumber).lowestUnder(beam.left, beam.right);
        if (bottom == -MusicInk::kNone || beam.top <= upperMiddle || bottom >= lowerMiddle)
          continue;
        missing = std::max(missing, bottom + air - (apart + beam.top));
      }
      // An articulation between the staves keeps the same air from the other staff's music.
      for (NVRect const& mark : ArticulationsOnLine(*this, number)) {
        if (mark.top >= 0) continue;
        float const bottom = musicInk(aboveNumber).lowestUnder(mark.left, mark.right);
        if (bottom == -MusicInk::kNone || bottom >= lowerMiddle) continue;
        missing = std::max(missing, bottom + air - (apart + mark.top));
      }
      for (NVRect const& mark : ArticulationsOnLine(*this, aboveNumber)) {
        if (mark.bottom <= upper->getDredgeSize()) continue;
        float const top = musicInk(number).highestOver(mark.left, mark.right);
        if (top == MusicInk::kNone || top <= upperMiddle) continue;
        missing = std::max(missing, mark.bottom + air - (apart + top));
      }
      // A stem reaching out of its staff towards the other keeps the same air from its music, or
      // it reads as the stem of a head there.
      for (NVRect const& stem : StemsOnLine(*this, number)) {
        if (stem.top >= 0 || stem.top <= upperMiddle) continue;
        float const bottom = musicInk(aboveNumber).lowestUnder(stem.left, stem.right);
        if (bottom == -MusicInk::kNone || bottom >= lowerMiddle) continue;
        missing = std::max(missing, bottom + air - (apart + stem.top));
      }
      for (NVRect const& stem : StemsOnLine(*this, aboveNumber)) {
        if (stem.bottom <= upper->getDredgeSize() || stem.bottom >= lowerMiddle) continue;
        float const top = musicInk(number).highestOver(stem.left, stem.right);
        if (top == MusicInk::kNone || top <= upperMiddle) continue;
        missing = std::max(missing, stem.bottom + air - (apart + top));
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
