#pragma once

#include "ARMusicalObject.h"

// Limits of an event's written length.
inline constexpr int MUSICAL_MIN_NUMERATOR = 0;
inline constexpr int MUSICAL_MAX_NUMERATOR = 32767;
inline constexpr int MUSICAL_MIN_DENOMINATOR = 1;
// The shortest written length is 1/256, the shortest value a note or rest can be drawn as.
inline constexpr int MUSICAL_SHORTEST_VALUE_DENOMINATOR = 256;
inline constexpr Fraction MIN_DURATION{};

// An object with a length of its own: a note, a rest, or a voice or a whole piece.
class ARMusicalEvent : public ARMusicalObject {
 public:
  // The length as written, kept as given: the numerator within 0..32767, the denominator at
  // least 1. Starts at time 0.
  ARMusicalEvent(int numerator, int denominator);
  explicit ARMusicalEvent(Fraction const& duration);
  ARMusicalEvent(Fraction const& relativeTimePosition, Fraction const& duration);
  ARMusicalEvent(ARMusicalEvent const& other);

  ARMusicalObject* Copy() const override;
  void print() const override {}
  // True when other is of exactly the same class.
  virtual bool CanBeMerged(ARMusicalEvent const* other) const;

  void setNumerator(int newNumerator);
  // A denominator below 1 is reported and 1 is kept instead; so is one that makes the length
  // shorter than 1/256, and the length becomes 1/256.
  void setDenominator(int newDenominator);
  // Lengthens the event by pointCount dots (1 to 3): each adds half of what the one before added.
  // An event of no length keeps its length and gets no dots.
  void setPoints(int pointCount);
  int getPoints() const { return numPoints; }
  // For a length that already includes its dots.
  void setPointsNoDurationChange(int pointCount) { numPoints = pointCount; }

 protected:
  int numPoints = 0;
};
