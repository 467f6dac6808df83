#include "head_bands.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "ARCast.h"
#include "GRSingleNote.h"
#include "GRSpring.h"
#include "GRSpringCollider.h"
#include "GRStaff.h"

namespace {

// Ledger lines of two notes that meet at one height stop short of each other as they are drawn
// (see LedgerLineRoom): each still reaches this far past its head on a staff of line space 50,
// and the two keep the air apart.
constexpr float kLedgerPastHead = 7.5f;
constexpr float kLedgerAir = 10;
// Half the height of a head glyph and of a ledger line, on a staff of line space 50.
constexpr float kHeadHalfHeight = 27;
constexpr float kLineHalfHeight = 2;

}  // namespace

void HeadBands::measure(GRSpring const* spring) {
  mHeads.clear();
  mBands.clear();
  mLines.clear();
  mAnyLines = false;
  GRSpringCollider const* collider = spring ? spring->getCollider() : nullptr;
  if (!collider) return;
  // A head lies in several bands, and most elements of a spring hold none: each head's reach is
  // worked out once, and the bands look their positions up among the few heads.
  KF_IPointerList<GRNotationElement> const& elements = spring->getElements();
  for (void* pos = elements.GetHeadPosition(); pos;) {
    void const* at = pos;
    auto const* note = ar_cast<GRSingleNote const>(elements.GetNext(pos));
    if (!note || !note->getNoteHead()) continue;
    mHeads.push_back({at, note->headReach(true), note->headReach(false)});
    const float y = note->getPosition().y;
    Lines lines{spring,
                note->getGRStaff() ? note->getGRStaff()->getStaffNumber() : 0,
                y - kHeadHalfHeight,
                y + kHeadHalfHeight,
                note->headReach(true),
                note->headReach(false),
                note->ledgerLinesReach(true),
                note->ledgerLinesReach(false),
                {}};
    GRSingleNote::LedgerLines const drawn = note->ledgerLines();
    for (int n = 0; n < drawn.count; ++n) lines.heights.push_back(drawn.first + n * drawn.step);
    mAnyLines = mAnyLines || drawn.count > 0;
    mLines.push_back(std::move(lines));
  }
  if (mHeads.empty()) return;
  Head const* const heads = mHeads.data();
  Head const* const headsEnd = heads + mHeads.size();
  collider->ForEachEntry([this, heads, headsEnd](int band, void const* position) {
    Head const* head = heads;
    while (head != headsEnd && head->position != position) ++head;
    if (head == headsEnd) return;
    if (mBands.empty() || mBands.back().band != band) {
      mBands.push_back({band, head->right, head->left});
      return;
    }
    mBands.back().right = std::max(mBands.back().right, head->right);
    mBands.back().left = std::max(mBands.back().left, head->left);
  });
}

float HeadsApartWithAir(GRSpring const& spring) {
  const float apart = spring.getHeadsApart();
  return apart > 0 ? apart + kHeadsAir * 50 * spring.staffScale() : 0;
}

float HeadBands::distanceTo(HeadBands const& next) const {
  float distance = 0;
  auto mine = mBands.begin();
  auto theirs = next.mBands.begin();
  while (mine != mBands.end() && theirs != next.mBands.end()) {
    if (mine->band < theirs->band) {
      ++mine;
    } else if (theirs->band < mine->band) {
      ++theirs;
    } else {
      distance = std::max(distance, mine->right + theirs->left);
      ++mine;
      ++theirs;
    }
  }
  // Heads of one staff at any heights keep the later one right of the earlier: a musician reads
  // the time of two voices' notes by their order on the line, and a head starting before the one
  // played before it ends reads as played first (two voices at different heights meet in no
  // band). Each staff's widest reach on either side is taken once, so a great chord costs no more.
  std::vector<std::pair<int, float>> rights;
  for (Lines const& a : mLines) {
    auto known = std::ranges::find(rights, a.staff, &std::pair<int, float>::first);
    if (known == rights.end())
      rights.emplace_back(a.staff, a.right);
    else
      known->second = std::max(known->second, a.right);
  }
  for (Lines const& b : next.mLines)
    if (auto known = std::ranges::find(rights, b.staff, &std::pair<int, float>::first);
        known != rights.end())
      distance = std::max(distance, known->second + b.left);
  if (mAnyLines || next.mAnyLines)
    for (Lines const& a : mLines)
      for (Lines const& b : next.mLines) distance = std::max(distance, linesApart(a, b));
  return distance;
}

float HeadBands::linesApart(Lines const& a, Lines const& b) {
  if (a.staff != b.staff) return 0;
  // Whether a ledger line at this height runs into the head.
  auto meets = [](float height, Lines const& head) {
    return height + kLineHalfHeight > head.top && height - kLineHalfHeight < head.bottom;
  };
  float distance = 0;
  for (float height : a.heights)
    if (meets(height, b)) distance = std::max(distance, a.linesRight + b.left);
  for (float height : b.heights)
    if (meets(height, a)) distance = std::max(distance, a.right + b.linesLeft);
  for (float mine : a.heights)
    for (float theirs : b.heights)
      if (std::abs(mine - theirs) < 2 * kLineHalfHeight) {
        const float right = std::min(a.linesRight, a.right + kLedgerPastHead);
        const float left = std::min(b.linesLeft, b.left + kLedgerPastHead);
        distance = std::max(distance, right + left + kLedgerAir);
      }
  return distance;
}
