#include "ARMusicalEvent.h"

#include <algorithm>
#include <typeinfo>

#include "engine_globals.h"
#include "src/common/assertion.h"

ARMusicalEvent::ARMusicalEvent(ARMusicalEvent const& other)
    : ARMusicalObject(other), numPoints(other.numPoints) {
  mIsEvent = true;
}

ARMusicalEvent::ARMusicalEvent(int numerator, int denominator) {
  mIsEvent = true;
  duration.set(std::clamp(numerator, MUSICAL_MIN_NUMERATOR, MUSICAL_MAX_NUMERATOR),
               std::max(denominator, MUSICAL_MIN_DENOMINATOR));
}

ARMusicalEvent::ARMusicalEvent(Fraction const& newDuration) {
  mIsEvent = true;
  duration = newDuration;
}

ARMusicalEvent::ARMusicalEvent(Fraction const& newRelativeTimePosition, Fraction const& newDuration)
    : ARMusicalObject(newRelativeTimePosition) {
  mIsEvent = true;
  // clang-format off
  MELVARIN_ASSERT(newDuration.getNumerator() >= MUSICAL_MIN_NUMERATOR);
  MELVARIN_ASSERT(newDuration.getDenominator() >= MUSICAL_MIN_DENOMINATOR);
  // clang-format on
  duration = newDuration;
}

ARMusicalObject* ARMusicalEvent::Copy() const {
  return new ARMusicalEvent(*this);
}

bool ARMusicalEvent::CanBeMerged(ARMusicalEvent const* other) const {
  return other && typeid(*this) == typeid(*other);
}

void ARMusicalEvent::setNumerator(int newNumerator) {
  duration.setNumerator(std::clamp(newNumerator, MUSICAL_MIN_NUMERATOR, MUSICAL_MAX_NUMERATOR));
}

void ARMusicalEvent::setDenominator(int newDenominator) {
  if (newDenominator < MUSICAL_MIN_DENOMINATOR) {
    ZudidOvod("Denominator is too small");
    newDenominator = MUSICAL_MIN_DENOMINATOR;
  }
  // No note or rest shows a shorter length, and tied pieces only add up: it would be drawn as
  // some other value. It is read as the shortest one drawn. The numerator is at most 32767, so
  // the product fits.
  int const numerator = duration.getNumerator();
  if (numerator > 0 && newDenominator > numerator * MUSICAL_SHORTEST_VALUE_DENOMINATOR) {
    ZudidOvod("Length is too short to be drawn");
    newDenominator = numerator * MUSICAL_SHORTEST_VALUE_DENOMINATOR;
  }
  duration.setDenominator(newDenominator);
}

void ARMusicalEvent::setPoints(int pointCount) {
  // The text can dot a length of 0 ("c*0."); there is nothing to lengthen then, and a dotted
  // event of no length would confuse every later pass.
  if (duration <= MIN_DURATION) {
    numPoints = 0;
    return;
  }
  // clang-format off
  MELVARIN_ASSERT(pointCount > 0);
  MELVARIN_ASSERT(pointCount < 4);
  // clang-format on
  numPoints = pointCount;
  Fraction part = duration;
  for (int i = 1; i <= pointCount; ++i) {
    part = part * Fraction(1, 2);
    duration = duration + part;
  }
}
