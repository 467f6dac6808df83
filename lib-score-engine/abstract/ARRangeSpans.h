#pragma once

#include <vector>

#include "NodeOrdinals.h"

class ARMusicalVoice;

// The ranges of a voice measured on its object list: the objects they cover, summed over all
// ranges, and the breaks (possible, system or page) that lie inside them. Ranges nested
// thousands deep cover millions of objects in all, each of which the passes and the layout walk
// with every range open over it.
struct ARRangeSpans {
  double objects = 0;
  double breaks = 0;
};

ARRangeSpans MeasureRangeSpans(ARMusicalVoice const& voice);

// Measures the ranges from the voice's objects handed to it in list order, so that a walk over
// the objects that answers other questions answers this one too.
class ARRangeSpanMeter {
 public:
  explicit ARRangeSpanMeter(ARMusicalVoice const& voice);

  // Whether the voice has ranges at all: without, Add need not be called.
  bool wanted() const { return mWanted; }
  // The next object of the voice, at node, and whether it is a break.
  void Add(void const* node, bool isBreak) {
    mOrdinals.Add(node);
    mBreaksBefore.push_back(mBreaksBefore.back() + (isBreak ? 1 : 0));
  }
  // Once every object was added.
  ARRangeSpans Spans() const;

 private:
  ARMusicalVoice const& mVoice;
  bool mWanted = false;
  NodeOrdinals mOrdinals;
  std::vector<int> mBreaksBefore;
};
