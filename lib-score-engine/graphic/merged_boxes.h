#pragma once

#include <algorithm>

#include "NVRect.h"

// What merging a run of boxes one after another (NVRect::Merge) does to any box, kept so that a
// box takes in a long run at once and the run grows by one box at a time, without a walk over
// it. A receiver with room both ways keeps it and takes the outer sides of every box merged in;
// one without room is replaced by the first box that counts, and from there on fares as the run
// merged into an empty box does.
class MergedBoxes {
 public:
  void clear() { *this = MergedBoxes{}; }

  void add(NVRect const& box) {
    // A box flat both ways changes nothing, as Merge leaves it out.
    if (box.right - box.left <= 0 && box.bottom - box.top <= 0) return;
    if (!mAny) {
      mOuter = box;
    } else {
      mOuter.left = std::min(mOuter.left, box.left);
      mOuter.top = std::min(mOuter.top, box.top);
      mOuter.right = std::max(mOuter.right, box.right);
      mOuter.bottom = std::max(mOuter.bottom, box.bottom);
    }
    mAny = true;
    mFromEmpty.Merge(box);
  }

  // The same box as merging every box added, in order, into it.
  void mergeInto(NVRect& box) const {
    if (!mAny) return;
    if (box.right - box.left <= 0 || box.bottom - box.top <= 0) {
      box = mFromEmpty;
      return;
    }
    box.left = std::min(box.left, mOuter.left);
    box.top = std::min(box.top, mOuter.top);
    box.right = std::max(box.right, mOuter.right);
    box.bottom = std::max(box.bottom, mOuter.bottom);
  }

 private:
  bool mAny = false;  // some box counted
  NVRect mOuter;      // the outer sides of the boxes that counted
  NVRect mFromEmpty;  // the run merged into an empty box
};
