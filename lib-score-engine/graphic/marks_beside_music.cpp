#include "marks_beside_music.h"

#include <algorithm>
#include <set>
#include <vector>

#include "ARCast.h"
#include "GRDummy.h"
#include "GRDynamics.h"
#include "GRIntens.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemStartEndStruct.h"

namespace {

using Piece = GRDynamics::GRDynamicsSaveStruct;

// The air between two wedges, one beyond the other, in line spaces.
constexpr float kWedgeGap = 0.5f;

struct Wedge {
  GRDynamics* tag;
  GRStaff const* staff;
};

// Moves each piece that meets one before it on the line beyond that one: nested or written
// over each other, the wedges read one by one, as two rows.
void KeepWedgesApart(std::vector<Piece*> const& pieces, float lineSpace) {
  float const gap = kWedgeGap * lineSpace;
  auto meet = [gap](Piece const& a, Piece const& b) {
    return a.length > 0 && b.length > 0 && a.point.x < b.point.x + b.length + gap &&
           b.point.x < a.point.x + a.length + gap &&
           a.point.y - a.upperOpening < b.point.y + b.lowerOpening + gap &&
           b.point.y - b.upperOpening < a.point.y + a.lowerOpening + gap;
  };
  for (size_t i = 1; i < pieces.size(); ++i) {
    Piece& piece = *pieces[i];
    bool const above = piece.placement == 1;
    // Each move goes one way only, so a piece passes each earlier one at most once.
    for (size_t round = 0; round < i; ++round) {
      bool moved = false;
      for (size_t j = 0; j < i; ++j) {
        Piece const& before = *pieces[j];
        if (before.placement != piece.placement || !meet(piece, before)) continue;
        piece.point.y = above ? before.point.y - before.upperOpening - gap - piece.lowerOpening
                              : before.point.y + before.lowerOpening + gap + piece.upperOpening;
        moved = true;
      }
      if (!moved) break;
    }
  }
}

float PlaceOnLine(GRSystem const& system, int number) {
  std::vector<GRIntens*> marks;
  std::vector<Wedge> wedges;
  std::set<GRDynamics const*> seen;
  system.forEachElementOnLine(number, [&](GRNotationElement const* element, GRStaff const* staff) {
    auto* changing = const_cast<GRNotationElement*>(element);
    if (auto* mark = ar_cast<GRIntens>(changing)) {
      marks.push_back(mark);
      return;
    }
    // A wedge that runs on from the line before stands here as a placeholder.
    if (auto const* dummy = ar_cast<GRDummy const>(element))
      changing = dynamic_cast<GRNotationElement*>(dummy->getTag());
    auto* wedge = changing ? ar_cast<GRDynamics>(changing) : nullptr;
    if (wedge && seen.insert(wedge).second) wedges.push_back({wedge, staff});
  });
  float constexpr kNone = -MusicInk::kNone;
  if (marks.empty() && wedges.empty()) return kNone;
  MusicInk const& ink = system.musicInk(number);
  for (GRIntens* mark : marks) mark->standBelow(ink);
  std::vector<Piece*> pieces;
  float lineSpace = 50;
  for (Wedge const& wedge : wedges) {
    wedge.tag->standClearOf(ink, wedge.staff);
    GRSystemStartEndStruct const* sse = wedge.tag->getSystemStartEndStruct(&system);
    if (auto* piece = sse ? dynamic_cast<Piece*>(sse->p) : nullptr) pieces.push_back(piece);
    lineSpace = wedge.staff->getLineSpace();
  }
  KeepWedgesApart(pieces, lineSpace);
  float bottom = kNone;
  for (GRIntens const* mark : marks)
    if (NVRect const letters = mark->letters(); letters.right > letters.left)
      bottom = std::max(bottom, letters.bottom);
  for (Piece const* piece : pieces)
    if (piece->placement == 0 && piece->length > 0)
      bottom = std::max(bottom, piece->point.y + piece->lowerOpening);
  return bottom;
}

}  // namespace

std::map<int, float> PlaceMarksBesideMusic(GRSystem const& system) {
  std::set<int> lines;
  system.forEachStaff([&lines](int number, GRStaff const*) { lines.insert(number); });
  // The music has moved since it was last measured.
  system.forgetMeasuredMusic();
  std::map<int, float> bottoms;
  for (int number : lines)
    if (float const bottom = PlaceOnLine(system, number); bottom > -MusicInk::kNone)
      bottoms.emplace(number, bottom);
  // So have the marks that texts keep clear of.
  system.forgetMeasuredMusic();
  return bottoms;
}
