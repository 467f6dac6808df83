#include "ledger_line_room.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>

#include "ARCast.h"
#include "GRSingleNote.h"
#include "GRSystem.h"

namespace {
// Between two lines at one height, and the least a line reaches past its head, in line spaces.
constexpr float kAir = 0.2f;
constexpr float kPastHead = 0.15f;
}  // namespace

LedgerLineRoom::LedgerLineRoom(GRSystem const& system, int staffNumber) {
  // The lines of each column at each height, by height and then the column's place.
  struct Column {
    float left, right;          // the lines' ends
    float headLeft, headRight;  // the heads under them
    float space;
    std::vector<GRSingleNote const*> notes;
  };
  std::map<std::pair<long, long>, Column> columns;
  system.forEachElementOnLine(staffNumber, [&](GRNotationElement const* element, GRStaff const*) {
    auto const* note = ar_cast<GRSingleNote const>(element);
    if (!note || note->getNumHelplines() == 0) return;
    GRSingleNote::LedgerLines const lines = note->ledgerLines();
    float height = lines.first;
    for (int i = 0; i < lines.count; ++i, height += lines.step) {
      // Heights and places are rounded to half units: a chord's notes stand at one place.
      std::pair<long, long> const key{std::lround(2 * height),
                                      std::lround(2 * note->getPosition().x)};
      auto [at, added] = columns.try_emplace(
          key, Column{lines.left, lines.right, lines.headLeft, lines.headRight, lines.space, {}});
      Column& column = at->second;
      if (!added) {
        column.left = std::min(column.left, lines.left);
        column.right = std::max(column.right, lines.right);
        column.headLeft = std::min(column.headLeft, lines.headLeft);
        column.headRight = std::max(column.headRight, lines.headRight);
      }
      column.notes.push_back(note);
    }
  });
  // Neighbours at one height follow each other in the map, left to right.
  std::set<std::pair<long, long>> clipped;
  for (auto at = columns.begin(); at != columns.end(); ++at) {
    auto next = std::next(at);
    if (next == columns.end() || next->first.first != at->first.first) continue;
    Column& a = at->second;
    Column& b = next->second;
    float const air = kAir * std::min(a.space, b.space);
    float const missing = air - (b.left - a.right);
    if (missing <= 0) continue;
    // Each gives up half, or what the other cannot.
    float const fromA = std::max(0.0f, a.right - a.headRight - kPastHead * a.space);
    float const fromB = std::max(0.0f, b.headLeft - kPastHead * b.space - b.left);
    float const giveA = std::min(fromA, std::max(missing / 2, missing - fromB));
    float const giveB = std::min(fromB, missing - giveA);
    a.right -= giveA;
    b.left += giveB;
    clipped.insert(at->first);
    clipped.insert(next->first);
  }
  for (auto const& key : clipped) {
    Column const& column = columns.at(key);
    float const height = static_cast<float>(key.first) / 2;
    for (GRSingleNote const* note : column.notes)
      mClips[note].push_back({height, column.left, column.right});
  }
}

bool LedgerLineRoom::clip(GRSingleNote const* note, float height, float& left, float& right) const {
  auto const found = mClips.find(note);
  if (found == mClips.end()) return false;
  for (Clip const& line : found->second) {
    if (std::fabs(line.height - height) > 0.5f) continue;
    float const from = std::max(left, line.left);
    float const to = std::min(right, line.right);
    if (from == left && to == right) return false;
    left = from;
    right = to;
    return true;
  }
  return false;
}
