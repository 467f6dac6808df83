#include "ARNote.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <typeinfo>

#include "ARCast.h"
#include "note_names.h"
#include "src/common/assertion.h"

ARNote::ARNote(NVstring const& newName, int newAccidentals, int newOctave, int numerator,
               int denominator, int newIntensity)
    : ARMusicalEvent(numerator, denominator),
      name(newName),
      octave(std::clamp(newOctave, MIN_REGISTER, MAX_REGISTER)),
      accidentals(newAccidentals),
      intensity(newIntensity) {
  // clang-format off
  MELVARIN_ASSERT(accidentals>=MIN_ACCIDENTALS);
  MELVARIN_ASSERT(accidentals<=MAX_ACCIDENTALS);
  // clang-format on
  name.to_lower();
  pitch = gd_noteName2pc(name.c_str());
}

ARNote::ARNote(Fraction const& newDuration)
    : ARMusicalEvent(newDuration), name(ARNoteName::empty) {}

ARNote::ARNote(int numerator, int denominator)
    : ARMusicalEvent(numerator, denominator), name("noname") {}

ARNote::ARNote(Fraction const& newRelativeTimePosition, Fraction const& newDuration)
    : ARMusicalEvent(newRelativeTimePosition, newDuration), name("noname") {}

ARMusicalObject* ARNote::Copy() const {
  return new ARNote(*this);
}

std::ostream& ARNote::operator<<(std::ostream& os) const {
  os << name.c_str();
  for (int i = 0; i < accidentals; ++i) os << '#';
  for (int i = 0; i > accidentals; --i) os << '&';
  // n dots make the length (2^(n+1) - 1) / 2^n of the undotted one.
  const int half = 1 << std::clamp(numPoints, 0, 3);
  const Fraction undotted = numPoints > 0 ? duration * Fraction(half, 2 * half - 1) : duration;
  os << getWrittenOctave() << '*' << undotted.getNumerator() << '/' << undotted.getDenominator();
  for (int i = 0; i < numPoints; ++i) os << '.';
  return os << ' ';
}

void ARNote::print() const {
  std::printf("ARNote: name: '%s' pitch: %d oct: %d accidental: %d duration: %d/%d\n", name.c_str(),
              pitch, octave, accidentals, duration.getNumerator(), duration.getDenominator());
}

void ARNote::setDuration(Fraction const& newDuration) {
  ARMusicalEvent::setDuration(newDuration);
  if (newDuration == DURATION_0) numPoints = 0;
}

bool ARNote::CanBeMerged(ARMusicalEvent const* other) const {
  if (!ARMusicalEvent::CanBeMerged(other)) return false;
  auto const* note = ar_cast<ARNote const>(other);
  return note && note->pitch == pitch && note->octave == octave;
}

bool ARNote::CompareNameOctavePitch(ARNote const& other) const {
  return std::strcmp(name.c_str(), other.name.c_str()) == 0 && pitch == other.pitch &&
         octave == other.octave && accidentals == other.accidentals;
}

void ARNote::setPitch(int code) {
  pitch = code;
  name = gd_pc2noteName(code);
}

void ARNote::setRegister(int newRegister) {
  octave = std::clamp(newRegister, MIN_REGISTER, MAX_REGISTER);
}

void ARNote::applyOctava(int shift) {
  if (writtenOctave == NoOctavaApplied) writtenOctave = octave;
  setRegister(writtenOctave + shift);
}

void ARNote::addFlat() {
  --accidentals;
  // clang-format off
  MELVARIN_ASSERT(accidentals>=MIN_ACCIDENTALS);
  // clang-format on
}

void ARNote::addSharp() {
  ++accidentals;
  // clang-format off
  MELVARIN_ASSERT(accidentals<=MAX_ACCIDENTALS);
  // clang-format on
}

void ARNote::offsetpitch(int steps) {
  if (pitch < 2 || pitch > 8) return;
  const long k = static_cast<long>(pitch) - 2 + steps;
  long carry = k / 7;
  long step = k % 7;
  if (step < 0) {
    step += 7;
    --carry;
  }
  octave = static_cast<int>(std::clamp<long>(octave + carry, INT_MIN, INT_MAX));
  pitch = 2 + static_cast<int>(step);
  name = gd_pc2noteName(pitch);
}
