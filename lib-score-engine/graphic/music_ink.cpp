#include "music_ink.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_set>

#include "ARCast.h"
#include "GRAccidental.h"
#include "GRArticulation.h"
#include "GRBeam.h"
#include "GRBowing.h"
#include "GRBreathMark.h"
#include "GRDummy.h"
#include "GREvent.h"
#include "GRFirstNoteMark.h"
#include "GRFlag.h"
#include "GRGlobalStem.h"
#include "GRNewTuplet.h"
#include "GRSText.h"
#include "GRSingleNote.h"
#include "GRSingleRest.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "NEPointerList.h"

namespace {

// An accidental's box reaches a line space either way of its middle and has no width; its glyph
// reaches further: a sharp or natural half a space more either way, a flat two spaces up.
NVRect SignInk(GRAccidental const& sign, float space) {
  NVPoint const at = sign.getPosition() + sign.getOffset();
  return {at.x - sign.getLeftSpace(), at.y - 2.1f * space, at.x + sign.getRightSpace(),
          at.y + 1.6f * space};
}

// Where an element of the line puts ink, or false for one that draws none of the music's own
// (the marks that ask, texts, bars, clefs).
bool InkOf(GRNotationElement const* element, GRSystem const& system, NVRect& box) {
  if (auto const* dummy = ar_cast<GRDummy const>(element)) {
    // A beam, slur or bracket that runs on from the line before stands here as a placeholder.
    element = dynamic_cast<GRNotationElement const*>(dummy->getTag());
    if (!element) return false;
  }
  if (auto const* beam = ar_cast<GRBeam const>(element)) return beam->getPieceBox(&system, box);
  if (auto const* bow = ar_cast<GRBowing const>(element)) return bow->pieceBox(&system, box);
  if (auto const* tuplet = ar_cast<GRNewTuplet const>(element)) {
    box = tuplet->drawnBox(&system);
    return box.right > box.left;
  }
  if (auto const* figure = ar_cast<GRSText const>(element)) {
    // An octava's figure over the staff stands over the music under it, where it is drawn.
    std::optional<NVRect> const ink = figure->inkOver();
    if (ink) box = *ink;
    return ink && ink->right > ink->left;
  }
  if (ar_cast<GRGlobalStem const>(element) || ar_cast<GRArticulation const>(element)) {
    box = element->getBoundingBox() + element->getPosition();
    // A chord's stem holds its flag, which hangs beside the stem's line.
    auto const* stem = ar_cast<GRGlobalStem const>(element);
    if (GRFlag const* flag = stem ? stem->getGRFlag() : nullptr; flag && flag->isDrawn())
      box.Merge(flag->inkBox());
    return true;
  }
  if (!element->isGREventClass()) return false;
  box = element->getBoundingBox() + element->getPosition();
  if (auto const* rest = dynamic_cast<GRSingleRest const*>(element)) {
    // A rest's glyph reaches beyond its box, and moves with it out of another voice's way.
    float top = 0, bottom = 0;
    rest->getInkExtent(&top, &bottom);
    float const x = rest->getPosition().x + rest->getOffset().x;
    box.Merge({x - rest->getLeftSpace(), top, x + rest->getRightSpace(), bottom});
  }
  if (auto const* note = dynamic_cast<GRSingleNote const*>(element)) {
    // Ledger lines reach past the head on both sides.
    float const x = note->getPosition().x;
    box.left = std::min(box.left, x - note->ledgerLinesReach(false));
    box.right = std::max(box.right, x + note->ledgerLinesReach(true));
    KF_IPointerList<GRAccidental> signs(0);
    note->extractAccidentals(&signs);
    float const space = note->getGRStaff() ? note->getGRStaff()->getLineSpace() : 50;
    for (void* at = signs.GetHeadPosition(); at;) {
      GRAccidental const* sign = signs.GetNext(at);
      if (sign->getSymbol()) box.Merge(SignInk(*sign, space * sign->getSize()));
    }
  }
  return true;
}

// The ink of the notes themselves: as InkOf, without the slurs and ties and the octavas' figures
// (those stand beside the words over the notes, placed by them), and with the breath marks.
bool NotesInkOf(GRNotationElement const* element, GRSystem const& system, NVRect& box) {
  auto const* dummy = ar_cast<GRDummy const>(element);
  GRNotationElement const* drawn =
      dummy ? dynamic_cast<GRNotationElement const*>(dummy->getTag()) : element;
  if (auto const* breath = dynamic_cast<GRBreathMark const*>(drawn)) {
    // A breath mark's comma hangs from its place before it, reaching a space over it.
    NVPoint const at = breath->getPosition() + breath->getOffset();
    float const x = at.x + breath->getReferencePosition().x;
    box = {x, at.y - 50, x + GObject::GetSymbolExtent(breath->getSymbol()), at.y + 25};
    return true;
  }
  if (!drawn || ar_cast<GRBowing const>(drawn) || ar_cast<GRSText const>(drawn)) return false;
  return InkOf(element, system, box);
}

}  // namespace

MusicInk::MusicInk(GRSystem const& system, int staffNumber, Reach taken) {
  bool const notesOnly = taken == Reach::NotesOnly;
  system.forEachElementOnLine(staffNumber, [&](GRNotationElement const* element, GRStaff const*) {
    NVRect box;
    if (notesOnly ? !NotesInkOf(element, system, box) : !InkOf(element, system, box)) return;
    // A box with a side that is no number stands nowhere yet.
    if (std::isnan(box.left) || std::isnan(box.right) || std::isnan(box.top) ||
        std::isnan(box.bottom) || box.right < box.left)
      return;
    mByLeft.push_back({box.left, box.right, box.top, box.bottom});
  });
  // The words of the trills and tempo changes and the mordents stand close over their notes, held
  // by the note or by its staff: marks beside the staff stand clear of them as of the music.
  if (notesOnly) {
    finish();
    return;
  }
  std::unordered_set<GRFirstNoteMark const*> seen;
  auto takeWords = [&](GRNotationElement const* tag) {
    auto const* mark = dynamic_cast<GRFirstNoteMark const*>(tag);
    if (!mark || !seen.insert(mark).second) return;
    if (std::optional<NVRect> const words = mark->boxOn(&system))
      mByLeft.push_back({words->left, words->right, words->top, words->bottom});
  };
  system.forEachElementOnLine(staffNumber, [&](GRNotationElement const* element, GRStaff const*) {
    takeWords(element);
    if (NEPointerList const* tags =
            element->isGREventClass() ? element->getAssociations() : nullptr)
      for (void* pos = tags->GetHeadPosition(); pos;) takeWords(tags->GetNext(pos));
  });
  finish();
}

void MusicInk::finish() {
  std::sort(mByLeft.begin(), mByLeft.end(),
            [](Box const& a, Box const& b) { return a.left < b.left; });
  if (mByLeft.empty()) return;
  mRuns.resize(4 * mByLeft.size());
  gather(1, 0, static_cast<int>(mByLeft.size()));
}

void MusicInk::gather(int run, int from, int to) {
  Run& here = mRuns[run];
  if (to - from == 1) {
    Box const& box = mByLeft[from];
    here = {box.right, box.right, box.top, box.bottom};
    return;
  }
  int const middle = from + (to - from) / 2;
  gather(2 * run, from, middle);
  gather(2 * run + 1, middle, to);
  Run const& first = mRuns[2 * run];
  Run const& second = mRuns[2 * run + 1];
  here = {std::min(first.leastRight, second.leastRight),
          std::max(first.mostRight, second.mostRight), std::min(first.top, second.top),
          std::max(first.bottom, second.bottom)};
}

void MusicInk::reachIn(int run, int from, int to, int end, float left, float& top,
                       float& bottom) const {
  if (from >= end) return;
  Run const& here = mRuns[run];
  if (to <= end) {
    if (here.mostRight < left) return;
    if (!(here.leastRight < left)) {
      top = std::min(top, here.top);
      bottom = std::max(bottom, here.bottom);
      return;
    }
  }
  int const middle = from + (to - from) / 2;
  reachIn(2 * run, from, middle, end, left, top, bottom);
  reachIn(2 * run + 1, middle, to, end, left, top, bottom);
}

void MusicInk::reach(float left, float right, float& top, float& bottom) const {
  top = kNone;
  bottom = -kNone;
  // The boxes that start by the right end of the stretch, of which those that reach its left.
  auto const end = std::upper_bound(mByLeft.begin(), mByLeft.end(), right,
                                    [](float value, Box const& box) { return value < box.left; });
  int const count = static_cast<int>(end - mByLeft.begin());
  if (count > 0) reachIn(1, 0, static_cast<int>(mByLeft.size()), count, left, top, bottom);
}

float MusicInk::lowestUnder(float left, float right) const {
  float top, bottom;
  reach(left, right, top, bottom);
  return bottom;
}

float MusicInk::highestOver(float left, float right) const {
  float top, bottom;
  reach(left, right, top, bottom);
  return top;
}

float LowestInkUnder(GRSystem const& system, int staffNumber, float left, float right) {
  return system.musicInk(staffNumber).lowestUnder(left, right);
}

float HighestInkOver(GRSystem const& system, int staffNumber, float left, float right) {
  return system.musicInk(staffNumber).highestOver(left, right);
}

float HighestNotesInkOver(GRSystem const& system, int staffNumber, float left, float right) {
  return system.notesInk(staffNumber).highestOver(left, right);
}
