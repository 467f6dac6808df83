#pragma once

// The numbers a tag parameter may hold, all in one place. A number read from the text outside
// its range is brought to the nearest end of it when the tag is read, with a warning, so that no
// size, count or length beyond what notation can show reaches the layout.

class TagParameter;

namespace TagParameterRanges {

// Engine units: 237.10631 to the centimetre, 50 to the line space of a staff at size 1.
inline constexpr double kUnitsPerCentimetre = 237.10631;
inline constexpr double kLineSpace = 50;

// A page is 5 cm to 4 m wide and 1 cm to 3 m high.
inline constexpr float kMinPageWidth = 1185.5315f;
inline constexpr float kMaxPageWidth = 94842.52f;
inline constexpr float kMinPageHeight = 237.10631f;
inline constexpr float kMaxPageHeight = 71131.89f;

// Any other length (offsets, distances, margins, curve heights) reaches at most a page's width
// either way; a length that a later units tag makes longer is cut there when it is converted.
inline constexpr double kMaxLength = kMaxPageWidth;

// A dot, a head or a whole tag drawn a tenth to ten times its size.
inline constexpr double kMinScale = 0.1;
inline constexpr double kMaxScale = 10;

// Dots after a shown note value.
inline constexpr int kMaxDots = 4;

struct Range {
  double least;
  double most;
  // A value of 0 or below stays: its reader takes it for no value at all.
  bool zeroMeansNone = false;
};

// The range of a parameter of a template by its kind and name (lengths in engine units at the
// line space of a staff at size 1); a string has none.
bool RangeOf(TagParameter const& parameter, Range* range);

// Brings a number the text gave into its range; false when it had to be moved.
bool BringIntoRange(TagParameter& parameter);

// A converted length cut to kMaxLength either way (a units tag may come after the tag).
float CutLength(float units);

}  // namespace TagParameterRanges
