#pragma once

#include "NVstring.h"

class ARBarFormat;
class ARClef;
class ARKey;
class ARMeter;
class ARStaffFormat;

// The copyable state of one staff: clef, key, meter, measure, transposition, format and the
// accidentals of the current measure. Per-pitch arrays are indexed by pitch - 2 for the pitch
// classes 2 (c) to 13 (ais).
class GRStaffState {
 public:
  enum ClefState { CLEFIMPLICIT = 0, CLEFEXPLICIT = 1 };
  static constexpr int kPitches = 12;

  GRStaffState() = default;
  GRStaffState(GRStaffState const& other) { *this = other; }
  // Copies everything but the line space, which goes back to 50: the format a state is carried
  // with decides it.
  GRStaffState& operator=(GRStaffState const& other);
  virtual ~GRStaffState() = default;

  // Twice the format's "size" read at a line space of 50; 50 when the format or its size is
  // missing, and also for a size of 0 or less, which the score may give but nothing can lay out.
  static float lineSpaceOf(ARStaffFormat const* format);

  int meterset = 0;
  int curmeasurenum = 0;
  ARMeter* curmeter = nullptr;

  bool keyset = false;
  // Positive sharps, negative flats.
  int numkeys = 0;
  int KeyArray[kPitches] = {};
  // Relative to the instrument key.
  int MeasureAccidentals[kPitches] = {};
  ARKey* curkey = nullptr;

  int clefset = CLEFIMPLICIT;
  NVstring clefname{"g2"};
  // Pitch class on the clef's reference line, with the transposition offset.
  int basepit = 6;
  int transposeOffset = 0;
  int instrKeyNumber = 0;
  int instrKeyArray[kPitches] = {};
  int baseoct = 1;
  int octava = 0;
  // The reference line, counted from the top line from 0.
  int baseline = 3;
  ARClef* curclef = nullptr;

  ARBarFormat* curbarfrmt = nullptr;
  ARStaffFormat* curstaffrmt = nullptr;
  float lineSpace = 50;
  int numlines = 5;
  float distance = 0;
  bool distanceset = false;
};
