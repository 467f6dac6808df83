#pragma once

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
