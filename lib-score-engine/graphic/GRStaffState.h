#pragma once

#include <cstdint>
#include <vector>

#include "Fraction.h"
#include "NVstring.h"

class ARBarFormat;
class ARClef;
class ARKey;
class ARMeter;
class ARStaffFormat;

// The copyable state of one staff: clef, key, meter, measure, transposition, format and the
// accidentals of the current measure. Per-pitch arrays are indexed by pitch - 2 for the pitch
// classes 2 (c) to 13 (ais). What the notes of a measure wrote is kept by letter and octave: a
// reader sees cis and c# on the same place of the staff, so either of them holds for a later c.
class GRStaffState {
 public:
  enum ClefState { CLEFIMPLICIT = 0, CLEFEXPLICIT = 1 };
  static constexpr int kPitches = 12;
  // The letters c to h, the pitch classes 2 to 8.
  static constexpr int kLetters = 7;
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

  // A pitch class as the letter it is written on and the alteration its name adds: cis is c
  // raised once. False for a pitch class that is no note (an empty or a rest).
  static bool letterOf(int pitch, int* letter, int* raised);

  // The measure starts over in the key and the instrument's key: no note of it is written yet.
  void startMeasure();
  // A note of pitch (2 to 13) and octave with these accidentals (as written after its name)
  // stands in the measure.
  void writeAccidentals(int pitch, int octave, int accidentals);
  // The same for a note struck at time: a note tied over to its letter at that time, whichever
  // voice comes first, holds nothing after it.
  void writeAccidentals(Fraction const& time, int pitch, int octave, int accidentals);
  // The same for a note tied over from before, which shows no sign: it holds for the notes after
  // its time, not for those struck with it, whose reader sees no sign there.
  void holdAccidentals(Fraction const& time, int pitch, int octave, int accidentals);
  // The signs held for times before this one now hold.
  void writeHeldAccidentalsBefore(Fraction const& time);
  // What the letter (2 to 8) has in the octave in the measure so far, relative to the instrument
  // key.
  int measureAccidentals(int letter, int octave) const;
  // Whether a note on the letter in the octave stood in the measure before.
  bool isWritten(int letter, int octave) const;
  // Whether a note on the letter in another octave stood in the measure with other accidentals
  // than these (relative to the instrument key): a reader takes its sign for the whole letter.
  bool otherOctaveDiffers(int letter, int octave, int relativeAccidentals) const;

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
  // What the notes of the measure so far wrote, per letter (pitch - 2) and octave, relative to
  // the instrument key: a sign holds for its own octave only. kNotWritten where none stood yet.
  static constexpr std::int8_t kNotWritten = INT8_MIN;
  std::int8_t WrittenAccidentals[kLetters][kOctaves];
  // What writeAccidentals records, for a letter and what its name raises it by.
  void writeLetter(int letter, int raised, int octave, int accidentals);
  struct HeldAccidentals {
    Fraction time;
    int pitch;
    int octave;
    int accidentals;
  };
  std::vector<HeldAccidentals> heldAccidentals;
  // The notes struck at the latest time given: their time, letter and octave.
  std::vector<HeldAccidentals> struckNow;
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
  static bool isLetter(int pitch) { return pitch >= 2 && pitch < 2 + kLetters; }
};
