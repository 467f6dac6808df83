#include "marks_beside_music.h"

#include <algorithm>
#include <set>
#include <vector>

#include "ARCast.h"
#include "GRAccidental.h"
#include "GRDummy.h"
#include "GRDynamics.h"
#include "GRIntens.h"
#include "GRKey.h"
#include "GRSText.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemStartEndStruct.h"
#include "GRText.h"
#include "text_stack.h"

namespace {

using Piece = GRDynamics::GRDynamicsSaveStruct;

// The air between two wedges, one beyond the other, or a mark and a written text, in line
// spaces.
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

// Where the glyph of a key signature's sign puts ink: its box holds only the middle of it, and
// a sharp or natural reaches about a space and a half below its note, a flat two spaces above.
NVRect KeySignInk(GRAccidental const& sign, float lineSpace) {
  NVPoint const at = sign.getPosition() + sign.getOffset();
  float const space = lineSpace * sign.getSize();
  return {at.x - sign.getLeftSpace(), at.y - 2 * space, at.x + sign.getRightSpace(),
          at.y + 1.6f * space};
}

// How far a box under the staff moves down to stand clear of the texts written at their own
// heights (sorted by their tops), which stay where they are.
float DownClearOf(NVRect const& box, std::vector<NVRect> const& written, float gap) {
  float shift = 0;
  for (bool moved = true; moved;) {
    moved = false;
    for (NVRect const& text : written) {
      if (box.right + gap <= text.left || text.right + gap <= box.left) continue;
      if (box.bottom + shift + gap <= text.top || text.bottom + gap <= box.top + shift) continue;
      shift = text.bottom + gap - box.top;
      moved = true;
    }
  }
  return shift;
}

std::vector<NVRect> PlaceOnLine(GRSystem const& system, int number) {
  std::vector<GRIntens*> marks;
  std::vector<Wedge> wedges;
  std::vector<NVRect> written;
  std::set<GRDynamics const*> seen;
  system.forEachElementOnLine(number, [&](GRNotationElement const* element, GRStaff const* staff) {
    if (GRText const* text = TextStack::textOf(element)) {
      GRText::Placement at;
      if (text->placementOn(&system, staff, &at) && at.placed && !at.row && at.right > at.left)
        written.push_back({at.left, at.y + at.top, at.right, at.y + at.top + at.height});
      return;
    }
    // So does an octava's figure under the lowest note of the line.
    if (auto const* figure = ar_cast<GRSText const>(element)) {
      if (std::optional<NVRect> const box = figure->boxUnder(); box && box->right > box->left)
        written.push_back(*box);
      return;
    }
    // So do the signs of a key signature, which reach below the staff with the lowest of them.
    if (auto const* key = ar_cast<GRKey const>(element)) {
      for (void* at = key->First(); at;)
        if (auto const* sign = dynamic_cast<GRAccidental const*>(key->GetNext(at));
            sign && sign->getSymbol())
          written.push_back(KeySignInk(*sign, staff ? staff->getLineSpace() : 50));
      return;
    }
    // The line lends its elements as they stand; the marks among them are placed here.
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
  if (marks.empty() && wedges.empty()) return {};
  MusicInk const& ink = system.musicInk(number);
  GRStaff const* staff = wedges.empty() ? marks.front()->getGRStaff() : wedges.front().staff;
  float const lineSpace = staff ? staff->getLineSpace() : 50;
  float const gap = kWedgeGap * lineSpace;
  std::sort(written.begin(), written.end(),
            [](NVRect const& a, NVRect const& b) { return a.top < b.top; });
  // A text written at its height stays there, as does an octava's figure: the marks under the
  // staff go below them.
  for (GRIntens* mark : marks) {
    mark->standBelow(ink);
    mark->moveDown(DownClearOf(mark->letters(), written, gap));
  }
  // Marks whose letters reach into each other's (at notes close together) stand one under the
  // other, the later one lower.
  std::sort(marks.begin(), marks.end(), [](GRIntens const* a, GRIntens const* b) {
    return a->letters().left < b->letters().left;
  });
  for (size_t i = 1; i < marks.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      NVRect const before = marks[j]->letters();
      NVRect const here = marks[i]->letters();
      if (here.right <= here.left || before.right <= before.left || before.right <= here.left ||
          here.bottom + gap <= before.top || before.bottom + gap <= here.top)
        continue;
      marks[i]->moveDown(before.bottom + gap - here.top);
    }
  }
  std::vector<Piece*> pieces;
  // A wedge also goes below the wedges before it that it would meet (nested ones, or written
  // over each other), before it keeps clear of the marks at its height.
  std::vector<NVRect> fixed = written;
  GRDynamics::MoveDown const down = [&](NVRect const& box) { return DownClearOf(box, fixed, gap); };
  for (Wedge const& wedge : wedges) {
    wedge.tag->standClearOf(ink, wedge.staff, down);
    GRSystemStartEndStruct const* sse = wedge.tag->getSystemStartEndStruct(&system);
    auto* piece = sse ? dynamic_cast<Piece*>(sse->p) : nullptr;
    if (!piece) continue;
    pieces.push_back(piece);
    if (piece->placement != 0 || piece->length <= 0) continue;
    NVRect const box{piece->point.x, piece->point.y - piece->upperOpening,
                     piece->point.x + piece->length, piece->point.y + piece->lowerOpening};
    fixed.insert(std::upper_bound(fixed.begin(), fixed.end(), box,
                                  [](NVRect const& a, NVRect const& b) { return a.top < b.top; }),
                 box);
  }
  KeepWedgesApart(pieces, lineSpace);
  std::vector<NVRect> under;
  for (GRIntens const* mark : marks)
    if (NVRect const letters = mark->letters(); letters.right > letters.left)
      under.push_back(letters);
  for (Piece const* piece : pieces)
    if (piece->placement == 0 && piece->length > 0)
      under.push_back({piece->point.x, piece->point.y - piece->upperOpening,
                       piece->point.x + piece->length, piece->point.y + piece->lowerOpening});
  return under;
}

}  // namespace

std::map<int, std::vector<NVRect>> PlaceMarksBesideMusic(GRSystem const& system) {
  std::set<int> lines;
  system.forEachStaff([&lines](int number, GRStaff const*) { lines.insert(number); });
  // The music has moved since it was last measured.
  system.forgetMeasuredMusic();
  std::map<int, std::vector<NVRect>> under;
  for (int number : lines)
    if (std::vector<NVRect> boxes = PlaceOnLine(system, number); !boxes.empty())
      under.emplace(number, std::move(boxes));
  // So have the marks that texts keep clear of.
  system.forgetMeasuredMusic();
  return under;
}
