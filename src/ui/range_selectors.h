#pragma once

// The two range selectors of the settings pages: a range of piano keys over a keyboard of the 52
// white keys, and a range of interval sizes from unison to the octave.

#include "src/ui/range_control_base.h"

namespace UI {

class GkcRangeSelectorControl : public RangeControlBase {
  Q_OBJECT

 public:
  explicit GkcRangeSelectorControl(QWidget* parent = nullptr);

  // The clefs the questions use decide which keys the handles may reach.
  void SetGKeyMode(bool treble, bool bass);
  void SetLimited(bool limited);
  void SetChromaticMode(bool black, bool white);
  // Piano key indices; the maximum is exclusive, so a range reaching C8 reads 88. The handles
  // stand on white keys and take in every key of the range whole, a black key at either end with
  // the white key beside it. Each end reads back the key given for it while its handle stands
  // where that key put it; a moved handle reads the key at its new place.
  void SetGkcRange(int low, int high);
  void GetGkcRange(int& low, int& high) const;

 private:
  // The keys last given and the white-key positions they were shown at.
  int m_keyLow = -1;
  int m_keyHigh = -1;
  int m_keyLeft = -1;
  int m_keyRight = -1;

  enum Picture { BothClefs, BassClef, TrebleClef, Overlay, PictureCount };
  QPixmap m_pictures[PictureCount];
  QPixmap m_limitedPictures[PictureCount];
  bool m_treble = true;
  bool m_bass = true;
  bool m_limited = false;
  bool m_black = true;
  bool m_white = true;
};

class IntervalRangeSelectorControl : public RangeControlBase {
  Q_OBJECT

 public:
  explicit IntervalRangeSelectorControl(QWidget* parent = nullptr);

  // Interval sizes in semitones; the end is one past the last size selected.
  void SetIntervalRange(int start, int end) { SetRange(start, end); }
  void GetIntervalRange(int& start, int& end) const { GetRange(start, end); }
};

}  // namespace UI
