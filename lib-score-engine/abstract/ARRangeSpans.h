#pragma once

#include <vector>

#include "NodeOrdinals.h"

class ARMusicalVoice;

// The ranges of a voice measured on its object list: the objects they cover, summed over all
// ranges, the breaks (possible, system or page) that lie inside them, and the marks that ranges
// of staccato, accent, marcato, tenuto or fermata put on each event they cover. Ranges nested
// thousands deep cover millions of objects in all, each of which the passes and the layout walk
// with every range open over it, and each such mark is an element of its own.
struct ARRangeSpans {
  double objects = 0;
  double breaks = 0;
  double marks = 0;
};

ARRangeSpans MeasureRangeSpans(ARMusicalVoice const& voice);

// Measures the ranges from the voice's objects handed to it in list order, so that a walk over
// the objects that answers other questions answers this one too.
class ARRangeSpanMeter {
 public:
  // The marks are counted only when asked for: the parse's own estimate has no use for them.
  explicit ARRangeSpanMeter(ARMusicalVoice const& voice, bool countsMarks = false);

  // Whether the voice has ranges at all: without, Add need not be called.
  bool wanted() const { return mWanted; }
  // The next object of the voice, at node, and whether it is a break or an event.
  void Add(void const* node, bool isBreak, bool isEvent) {
    mOrdinals.Add(node);
    mBreaksBefore.push_back(mBreaksBefore.back() + (isBreak ? 1 : 0));
    if (mCountsMarks) mEventsBefore.push_back(mEventsBefore.back() + (isEvent ? 1 : 0));
  }
  // Once every object was added.
  ARRangeSpans Spans() const;

 private:
  ARMusicalVoice const& mVoice;
  bool mWanted = false;
  bool mCountsMarks = false;
  NodeOrdinals mOrdinals;
  std::vector<int> mBreaksBefore;
  std::vector<int> mEventsBefore;
};
