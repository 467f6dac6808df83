#include "rests_clear_of_voices.h"

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ARCast.h"
#include "GRArticulation.h"
#include "GRBeam.h"
#include "GRBowing.h"
#include "GRDummy.h"
#include "GRFlag.h"
#include "GRGlobalStem.h"
#include "GRNoteDot.h"
#include "GRSingleNote.h"
#include "GRSingleRest.h"
#include "GRSpring.h"
#include "GRStaff.h"
#include "GRStdNoteHead.h"
#include "GRSystem.h"
#include "NEPointerList.h"
#include "curve_band.h"

namespace {

// A rest keeps this much of a line space from the other voices' ink.
constexpr float kClearance = 0.25f;
// A rest keeps this much of a line space from the other voices' ties.
constexpr float kTieAir = 0.1f;
// A rest moves at most this many line spaces: past that it would stand far from its staff.
constexpr int kMostSteps = 10;
// How far a flag reaches right of its stem and along it, in line spaces.
constexpr float kFlagWidth = 0.9f;
constexpr float kFlagLength = 2.5f;
constexpr float kFlagStep = 0.5f;

struct Box {
  float left, right, top, bottom;
};

struct Ink {
  Box box;
  GRVoice const* voice;
  // Of a tie or slur: a rest of its own voice under it stays where it is, the curve bending
  // over it, though the line is squeezed.
  bool ofCurve = false;
};

struct Rest {
  GRSingleRest* rest;
  GRVoice const* voice;
};

struct Beam {
  GRBeam const* beam;
  GRVoice const* voice;
  float dy;  // from its staff's coordinates to those of the rests it is asked for
};

// What the voices of one staff line draw.
struct StaffLine {
  float y = 0;            // of the staff in its system
  float height = 0;       // from its top line to its bottom line
  float space = 0;        // between its lines
  std::vector<Ink> inks;  // heads, stems, flags, dots and ledger lines
  size_t ownInks = 0;     // those of the staff's own notes come first
  std::vector<Rest> rests;
  std::vector<Beam> beams;
  // The ties and slurs, each once, with its notes' voice, and those taken.
  std::vector<std::pair<GRBowing const*, GRVoice const*>> ties;
  std::unordered_set<GRBowing const*> tied;
  std::vector<GRVoice const*> voices;  // in the order they come
  // The staves above and below, from top line to bottom line.
  std::vector<std::pair<float, float>> staves;
  // Squeezed narrower than its notes need: a rest's own voice's notes may reach over it.
  bool squeezed = false;
};

// Where the dots of an event stand, their glyphs' ink; false without dots.
bool DotsBox(GREvent const* event, Box* box) {
  GRNoteDot const* dot = event->getDot();
  if (!dot) return false;
  float const ls = event->getLineSpace();
  NVRect const drawn = dot->getBoundingBox() + dot->getPosition() + dot->getOffset();
  float const y = (drawn.top + drawn.bottom) / 2;
  *box = {drawn.left - 0.25f * ls, drawn.right + 0.5f * ls, y - 0.3f * ls, y + 0.3f * ls};
  return true;
}

// The rest's ink with its dots.
Box RestBox(GRSingleRest const* rest) {
  Box box{};
  rest->getInkExtent(&box.top, &box.bottom);
  float const x = rest->getPosition().x + rest->getOffset().x;
  box.left = x - rest->getLeftSpace();
  box.right = x + rest->getRightSpace();
  Box dots{};
  if (DotsBox(rest, &dots)) {
    box = {std::min(box.left, dots.left), std::max(box.right, dots.right),
           std::min(box.top, dots.top), std::max(box.bottom, dots.bottom)};
  }
  return box;
}

void AddNote(GRSingleNote const* note, GRVoice const* voice, std::vector<Ink>& inks) {
  float const ls = note->getLineSpace();
  float const size = note->getSize();
  float const x = note->getPosition().x + note->getOffset().x;
  float const y = note->getPosition().y + note->getOffset().y;
  float const half = 0.5f * ls * size;
  inks.push_back(
      {{x - note->headReach(false), x + note->headReach(true), y - half, y + half}, voice});
  if (Box dots{}; DotsBox(note, &dots)) inks.push_back({dots, voice});
  // Staccato dots, accents and the other marks at the head or stem.
  for (auto const& mark : note->getArticulations()) {
    NVRect const box = mark->getBoundingBox() + mark->getPosition() + mark->getOffset();
    if (box.right > box.left) inks.push_back({{box.left, box.right, box.top, box.bottom}, voice});
  }
  GRSingleNote::LedgerLines const lines = note->ledgerLines();
  if (lines.count > 0) {
    float const last = lines.first + lines.step * static_cast<float>(lines.count - 1);
    inks.push_back({{lines.left, lines.right, std::min(lines.first, last) - 0.1f * ls,
                     std::max(lines.first, last) + 0.1f * ls},
                    voice});
  }
  // The stem from the head to its tip, its own or the one its chord shares.
  GRGlobalStem const* shared = note->getGlobalStem();
  GDirection const direction = note->getStemDirection();
  if ((direction != dirUP && direction != dirDOWN) || (!shared && !note->getStem())) return;
  NVPoint const tip = shared ? shared->getStemStartPos() : note->getStemStartPos();
  inks.push_back(
      {{tip.x - 0.1f * ls, tip.x + 0.15f * ls, std::min(y, tip.y), std::max(y, tip.y)}, voice});
  GRFlag const* flag = shared ? shared->getGRFlag() : note->getFlag();
  int const flags = note->getNumFaehnchen();
  if (!flag || !flag->isOn() || flags < 1 || note->getBeamCount() > 0) return;
  float const reach = (kFlagLength + kFlagStep * static_cast<float>(flags - 1)) * ls * size;
  float const left = direction == dirUP ? tip.x : tip.x - 0.1f * ls;
  inks.push_back({{left, left + kFlagWidth * ls * size, direction == dirUP ? tip.y : tip.y - reach,
                   direction == dirUP ? tip.y + reach : tip.y},
                  voice});
}

bool Meet(Box const& a, Box const& b, float gap) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom + gap && b.top < a.bottom + gap;
}

// Two rests of one length drawn at one place are one rest for both voices.
bool OneRestForBoth(GRSingleRest const* a, GRSingleRest const* b) {
  return a->getRestSymbol() == b->getRestSymbol() && a->getDurTemplate() == b->getDurTemplate() &&
         a->getPosition() + a->getOffset() == b->getPosition() + b->getOffset();
}

class Clearing {
 public:
  Clearing(GRSystem const& system, StaffLine const& line)
      : mSystem(system), mLine(line), mInks(line.inks) {
    std::sort(mInks.begin(), mInks.end(),
              [](Ink const& a, Ink const& b) { return a.box.left < b.box.left; });
    for (Ink const& ink : mInks) mWidest = std::max(mWidest, ink.box.right - ink.box.left);
  }

  bool clear(Rest const& rest) {
    GRSingleRest* const r = rest.rest;
    float const ls = r->getLineSpace();
    float const gap = kClearance * ls;
    Box const box = RestBox(r);
    std::vector<Box> around, ownBeams;
    gather(rest, box, around, ownBeams);
    // A rest may stand under its own voice's beam where it was written; it is not moved onto it.
    auto const meets = [&](float dy) {
      Box moved = box;
      moved.top += dy;
      moved.bottom += dy;
      auto const meet = [&](Box const& other) { return Meet(moved, other, gap); };
      return std::any_of(around.begin(), around.end(), meet) ||
             (dy != 0 && std::any_of(ownBeams.begin(), ownBeams.end(), meet));
    };
    // The staves above and below, from top line to bottom line, are no place for it: there it
    // would be read as one of theirs.
    auto const inStaff = [&](float dy) {
      return std::any_of(mLine.staves.begin(), mLine.staves.end(), [&](auto const& staff) {
        return box.top + dy < staff.second && staff.first < box.bottom + dy;
      });
    };
    if (!meets(0)) return false;
    // Only where the staff next to it leaves no room on its side does a rest of a voice with
    // automatic stems go the other way.
    GDirection const side = sideOf(rest, box, around);
    for (GDirection const way : {side, side == dirUP ? dirDOWN : dirUP}) {
      for (int step = 1; step <= kMostSteps; ++step) {
        float const dy = (way == dirUP ? -ls : ls) * static_cast<float>(step);
        if (inStaff(dy)) break;
        if (meets(dy)) continue;
        r->moveVertically(dy);
        r->setSideOfVoices(way);
        return true;
      }
      if (r->getVoiceStem() == dirUP || r->getVoiceStem() == dirDOWN) break;
    }
    return false;
  }

 private:
  // What the other voices draw over the rest's width, wherever it moves, and its own voice's
  // beams there.
  void gather(Rest const& rest, Box const& box, std::vector<Box>& around,
              std::vector<Box>& ownBeams) const {
    auto const from =
        std::lower_bound(mInks.begin(), mInks.end(), box.left - mWidest,
                         [](Ink const& ink, float left) { return ink.box.left < left; });
    for (auto it = from; it != mInks.end() && it->box.left < box.right; ++it)
      if (((mLine.squeezed && !it->ofCurve) || it->voice != rest.voice) && it->box.right > box.left)
        around.push_back(it->box);
    for (Beam const& beam : mLine.beams) {
      Box cover{box.left, box.right, 0, 0};
      if (!beam.beam->coverOver(&mSystem, box.left, box.right, &cover.top, &cover.bottom)) continue;
      cover.top += beam.dy;
      cover.bottom += beam.dy;
      (beam.voice == rest.voice ? ownBeams : around).push_back(cover);
    }
    for (Rest const& other : mLine.rests) {
      if (other.voice == rest.voice || OneRestForBoth(rest.rest, other.rest)) continue;
      Box const otherBox = RestBox(other.rest);
      if (otherBox.left < box.right && box.left < otherBox.right) around.push_back(otherBox);
    }
  }

  // The way the rest moves: that of its voice's stems where they were written, else the way it
  // moved before, else away from what it meets; meeting it in the middle, the rest of the voice
  // that comes first on the staff goes up.
  GDirection sideOf(Rest const& rest, Box const& box, std::vector<Box> const& around) const {
    GRSingleRest const* r = rest.rest;
    if (r->getVoiceStem() == dirUP || r->getVoiceStem() == dirDOWN) return r->getVoiceStem();
    if (r->getSideOfVoices() == dirUP || r->getSideOfVoices() == dirDOWN)
      return r->getSideOfVoices();
    float const gap = kClearance * r->getLineSpace();
    float top = 0, bottom = 0;
    bool any = false;
    for (Box const& other : around) {
      if (!Meet(box, other, gap)) continue;
      top = any ? std::min(top, other.top) : other.top;
      bottom = any ? std::max(bottom, other.bottom) : other.bottom;
      any = true;
    }
    float const apart = (top + bottom) - (box.top + box.bottom);
    if (any && apart != 0) return apart > 0 ? dirUP : dirDOWN;
    return mLine.voices.empty() || mLine.voices.front() == rest.voice ? dirUP : dirDOWN;
  }

  GRSystem const& mSystem;
  StaffLine const& mLine;
  std::vector<Ink> mInks;  // by their left ends
  float mWidest = 0;
};

// The beams of a staff line, each with the voice of its notes, for the rests of line: a rest
// moved off its staff may meet what the staff next to it draws.
void AddBeams(GRSystem const& system, int staffNumber,
              std::unordered_map<GRNotationElement const*, GRVoice const*> const& voices, float dy,
              StaffLine& line) {
  system.forEachElementOnLine(staffNumber, [&](GRNotationElement const* element, GRStaff const*) {
    if (auto const* dummy = ar_cast<GRDummy const>(element))
      element = dynamic_cast<GRNotationElement const*>(dummy->getTag());
    auto const* beam = element ? ar_cast<GRBeam const>(element) : nullptr;
    NEPointerList const* notes = beam ? beam->getAssociations() : nullptr;
    if (!notes) return;
    for (void* pos = notes->GetHeadPosition(); pos;) {
      auto const found = voices.find(notes->GetNext(pos));
      if (found == voices.end()) continue;
      line.beams.push_back({beam, found->second, dy});
      return;
    }
  });
}

// The ties and slurs a note begins, ends or lies under, each taken once.
void AddTies(GRSingleNote const* note, GRVoice const* voice, StaffLine& line) {
  NEPointerList const* tags = note->getAssociations();
  if (!tags) return;
  for (void* pos = tags->GetHeadPosition(); pos;) {
    auto const* tie = dynamic_cast<GRBowing const*>(tags->GetNext(pos));
    if (tie && line.tied.insert(tie).second) line.ties.emplace_back(tie, voice);
  }
}

// A tie's (slur's) piece on the line as boxes of half a space along it: a rest under its arc
// stays clear of it where a box of the whole tie would send it off as far as the arc's top. A
// slur bends over the rests it passes: those it still meets stand at its tips, over (under) the
// notes it leaves or reaches.
void AddTieInk(GRSystem const& system, GRBowing const* tie, GRVoice const* voice, StaffLine& line) {
  std::optional<CurveBand> const band = tie->bandOn(&system);
  if (!band) return;
  // A tie passes as near a rest as it passes the heads it ties: its boxes are drawn in by the
  // clearance the rest keeps, less the air a tie keeps.
  float const in = (kClearance - kTieAir) * line.space;
  band->forEachSlice(0.5f * line.space, [&](NVRect const& slice) {
    line.inks.push_back(
        {{slice.left, slice.right, slice.top + in, slice.bottom - in}, voice, true});
  });
}

bool KeepRestsClear(GRSystem const& system, bool withTies, bool squeezed) {
  KF_IVector<GRSpring> const* springs = system.getSprings();
  if (!springs) return false;
  std::map<int, StaffLine> lines;
  std::unordered_map<GRNotationElement const*, GRVoice const*> voices;
  for (int id = springs->GetMinimum(); id <= springs->GetMaximum(); ++id) {
    GRSpring const* spring = springs->Get(id);
    if (!spring) continue;
    spring->forEachElementOfVoice([&](GRNotationElement* element, GRVoice const* voice) {
      auto* note = ar_cast<GRSingleNote>(element);
      auto* rest = ar_cast<GRSingleRest>(element);
      if ((!note || !note->getNoteHead()) && !rest) return;
      GRStaff const* staff = element->getGRStaff();
      if (!staff || !voice) return;
      StaffLine& line = lines[staff->getStaffNumber()];
      line.y = staff->getPosition().y;
      line.space = staff->getLineSpace();
      line.height = line.space * static_cast<float>(staff->getNumlines() - 1);
      if (std::find(line.voices.begin(), line.voices.end(), voice) == line.voices.end())
        line.voices.push_back(voice);
      voices.emplace(element, voice);
      if (rest) {
        line.rests.push_back({rest, voice});
      } else {
        AddNote(note, voice, line.inks);
        if (withTies) AddTies(note, voice, line);
      }
    });
  }
  for (auto& [staffNumber, line] : lines) {
    line.ownInks = line.inks.size();
    for (auto const& [tie, voice] : line.ties) AddTieInk(system, tie, voice, line);
  }
  bool moved = false;
  for (auto& [staffNumber, line] : lines) {
    line.squeezed = squeezed;
    if ((line.voices.size() < 2 && !squeezed) || line.rests.empty()) continue;
    AddBeams(system, staffNumber, voices, 0, line);
    // The notes of the staves above and below, as seen from this one: of no voice of its own.
    for (int const next : {staffNumber - 1, staffNumber + 1}) {
      auto const found = lines.find(next);
      if (found == lines.end()) continue;
      float const dy = found->second.y - line.y;
      StaffLine const& other = found->second;
      for (size_t i = 0; i < other.ownInks; ++i) {
        Box const& box = other.inks[i].box;
        line.inks.push_back({{box.left, box.right, box.top + dy, box.bottom + dy}, nullptr});
      }
      AddBeams(system, next, voices, dy, line);
      line.staves.emplace_back(dy, dy + other.height);
    }
    Clearing clearing(system, line);
    for (Rest const& rest : line.rests)
      if (!rest.rest->isPlacedByScore() && clearing.clear(rest)) moved = true;
  }
  return moved;
}

}  // namespace

bool KeepRestsClearOfVoices(GRSystem const& system, bool squeezed) {
  return KeepRestsClear(system, false, squeezed);
}

bool KeepRestsClearOfTies(GRSystem const& system, bool squeezed) {
  return KeepRestsClear(system, true, squeezed);
}
