#include "head_bands.h"

#include <algorithm>

#include "ARCast.h"
#include "GRSingleNote.h"
#include "GRSpring.h"
#include "GRSpringCollider.h"

void HeadBands::measure(GRSpring const* spring) {
  mHeads.clear();
  mBands.clear();
  GRSpringCollider const* collider = spring ? spring->getCollider() : nullptr;
  if (!collider) return;
  // A head lies in several bands, and most elements of a spring hold none: each head's reach is
  // worked out once, and the bands look their positions up among the few heads.
  KF_IPointerList<GRNotationElement> const& elements = spring->getElements();
  for (void* pos = elements.GetHeadPosition(); pos;) {
    void const* at = pos;
    auto const* note = ar_cast<GRSingleNote const>(elements.GetNext(pos));
    if (note && note->getNoteHead())
      mHeads.push_back({at, note->headReach(true), note->headReach(false)});
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
  return distance;
}
