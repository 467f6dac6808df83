#pragma once

#include <cstdint>

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
  // The octaves a note can have, from kLowestOctave on.
  static constexpr int kLowestOctave = -10;
  static constexpr int kOctaves = 21;

  GRStaffState() { clearWrittenAccidentals(); }
  GRStaffState(GRStaffState const& other) { *this = other; }
  // Copies everything: the line space and the number of lines hold from the staff format that
  // set them until another one changes them.
  GRStaffState& operator=(GRStaffState const& other);
  virtual ~GRStaffState() = default;

  // Twice the format's "size" read at a line space of 50; 50 when the format or its size is
  // missing, and also for a size of 0 or less, which the score may give but nothing can lay out.
  static float lineSpaceOf(ARStaffFormat const* format);

  // The measure starts over in the key and the instrument's key: no note of it is written yet.
  void startMeasure();
  // A note of pitch (2 to 13) and octave with these accidentals (as written) stands in the
  // measure.
  void writeAccidentals(int pitch, int octave, int accidentals);
  // What a note of pitch and octave has in the measure so far, relative to the instrument key.
  int measureAccidentals(int pitch, int octave) const;
  // Whether a note of pitch and octave stood in the measure before.
  bool isWritten(int pitch, int octave) const;
  // Whether a note of the pitch in another octave stood in the measure with other accidentals
  // than these (relative to the instrument key): a reader takes its sign for the whole letter.
  bool otherOctaveDiffers(int pitch, int octave, int relativeAccidentals) const;

  int meterset = 0;
  int curmeasurenum = 0;
  ARMeter* curmeter = nullptr;

  bool keyset = false;
  // Positive sharps, negative flats.
  int numkeys = 0;
  int KeyArray[kPitches] = {};
  // Relative to the instrument key: what each pitch has in the measure in the octaves where no
  // note of it stood yet, that is what the key gives it.
  int MeasureAccidentals[kPitches] = {};
  // What the notes of the measure so far wrote, per pitch and octave, relative to the instrument
  // key: a sign holds for its own octave only. kNotWritten where none stood yet.
  static constexpr std::int8_t kNotWritten = INT8_MIN;
  std::int8_t WrittenAccidentals[kPitches][kOctaves];
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

 private:
  void clearWrittenAccidentals();
  static int octaveSlot(int octave);
};
