#pragma once

#include <limits>
#include <optional>
#include <unordered_map>
#include <vector>

#include "NVRect.h"

class GRFirstNoteMark;
class GRJump;
class GRSystem;
class GRText;

// Where the marks of one staff line of a system stand beside or under each other, worked out
// once for the line: every mark drawn on it asks.
class LineMarks {
 public:
  LineMarks(GRSystem const& system, int staffNumber);

  // How far right of its own place a jump mark is drawn: marks at one date stand side by side,
  // in the order they were written, rather than on top of each other.
  float jumpShift(GRJump const* jump) const;
  // Where the text under the line is drawn, clear of the texts above it and of the dynamic
  // marks it meets (y untouched for a text the line does not hold).
  void textY(GRText const* text, float* y) const;
  // The lowest point the texts under the line reach, in the staff's coordinates; minus infinity
  // without any.
  float textsBottom() const { return mTextsBottom; }
  // The highest point of the slurs and ties over [left, right], in the staff's coordinates;
  // infinity where none passes. Marks over the music stand over them too.
  float curvesTopOver(float left, float right) const;
  // The highest point of the words drawn at notes over [left, right] (a tempo change's, a
  // trill's), in the staff's coordinates; infinity where none stands. A jump mark stands over
  // them.
  float noteWordsTopOver(float left, float right) const;
  // Where the marks at notes stand on the line, in the staff's coordinates.
  std::vector<NVRect> const& noteMarks() const { return mNoteWords; }
  // How far a mark at a note (a tempo change's or an ornament's words, a mordent) rises over the
  // marks at notes before it on the line that it would meet: 0 or less.
  float noteMarkRise(GRFirstNoteMark const* mark) const;
  // The highest point of the octava figures over the staff over [left, right], in the staff's
  // coordinates; infinity where none stands. Found once the line's marks are known: a figure
  // stands over the curves.
  float octavaFiguresTopOver(float left, float right) const;

 private:
  void placeJumps(GRSystem const& system, int staffNumber);
  void placeTexts(GRSystem const& system, int staffNumber);
  void findNoteWords(GRSystem const& system, int staffNumber);

  std::unordered_map<GRJump const*, float> mJumpShifts;
  std::unordered_map<GRText const*, float> mTextYs;
  float mTextsBottom = -std::numeric_limits<float>::infinity();
  // Sorted by their left ends.
  std::vector<NVRect> mCurveInk;
  std::vector<NVRect> mNoteWords;
  std::unordered_map<GRFirstNoteMark const*, float> mNoteMarkRises;
  GRSystem const& mSystem;
  int mStaffNumber;
  mutable std::optional<std::vector<NVRect>> mOctavaFigures;
};
