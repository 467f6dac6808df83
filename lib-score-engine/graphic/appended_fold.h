#pragma once

#include "NEPointerList.h"

class GRNotationElement;

// A mark over hundreds of notes that measured them all whenever a staff asked for its room would
// cost the square of its length: while the staves are stacked its notes only come at the end of
// its list, so it takes in each note once, as it comes. The fold remembers how far it got; any
// other change of the list (a note removed, or put in between) makes it start again.
class AppendedFold {
 public:
  // Calls take(element) for each element added since the last update, or, when the list changed
  // otherwise, start() and then take for every element.
  template <class Start, class Take>
  void update(NEPointerList const& list, Start start, Take take) {
    const bool onlyAdded =
        mCount > 0 && list.GetCount() >= mCount &&
        list.GetVersion() - mVersion == static_cast<unsigned>(list.GetCount() - mCount);
    void* pos = nullptr;
    if (onlyAdded) {
      pos = mLast;
      list.GetNext(pos);
    } else {
      start();
      pos = list.GetHeadPosition();
    }
    int taken = 0;
    for (; pos; ++taken) {
      mLast = pos;
      take(list.GetNext(pos));
    }
    if (onlyAdded && mCount + taken != list.GetCount()) {
      forget();
      update(list, start, take);
      return;
    }
    mCount = list.GetCount();
    mVersion = list.GetVersion();
  }
  void forget() { mCount = 0; }

 private:
  unsigned mVersion = 0;
  int mCount = 0;
  void* mLast = nullptr;  // the last element taken in
};

// Marks over at most this many notes measure them all at every question, since a note's stem can
// still turn after the note came; longer ones fold.
constexpr int kMeasuredAgainUpTo = 256;
