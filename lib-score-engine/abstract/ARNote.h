#pragma once

#include "ARMusicalEvent.h"
#include "ARNoteName.h"

inline constexpr int MIN_REGISTER = -10;
inline constexpr int MAX_REGISTER = 10;
inline constexpr int MIN_ACCIDENTALS = -2;
inline constexpr int MAX_ACCIDENTALS = 2;

// A note, or the placeholder event named "empty" that holds time without a symbol.
class ARNote : public ARMusicalEvent {
 public:
  // A note as the parser makes it: the name is kept in lower case and gives the pitch class. An
  // octave beyond -10..10, which the text can give, is brought into that range.
  ARNote(NVstring const& name, int accidentals, int octave, int numerator, int denominator,
         int intensity);
  // The placeholder event of that length.
  explicit ARNote(Fraction const& duration);
  ARNote(int numerator, int denominator);
  ARNote(Fraction const& relativeTimePosition, Fraction const& duration);
  ARNote(ARNote const& other) = default;

  ARMusicalObject* Copy() const override;
  // Name, accidentals, written octave, the length without its dots, the dots.
  std::ostream& operator<<(std::ostream& os) const override;
  void print() const override;
  // A length of 0 has no dots.
  void setDuration(Fraction const& newDuration) override;
  // True for a note of the same pitch class and octave; accidentals are not compared.
  bool CanBeMerged(ARMusicalEvent const* other) const override;
  virtual bool CompareNameOctavePitch(ARNote const& other) const;

  NVstring const& getName() const { return name; }
  int getPitch() const { return pitch; }
  int getOctave() const { return octave; }
  // The octave before an octava moved the note; the text keeps it.
  int getWrittenOctave() const { return writtenOctave == NoOctavaApplied ? octave : writtenOctave; }
  int getAccidentals() const { return accidentals; }
  int getIntensity() const { return intensity; }

  // Sets the pitch class and the name that goes with it.
  void setPitch(int code);
  // Within -10..10, as the constructor keeps it.
  void setRegister(int newRegister);
  // Sets the register to the written one moved by an octava's shift. A layout calls this for every
  // note under an octava, and a score is laid out again and again: the shift is taken from the
  // octave as written, never added twice.
  void applyOctava(int shift);
  // Stored as given: the text can write more than two sharps or flats.
  void setAccidentals(int newAccidentals) { accidentals = newAccidentals; }
  void addFlat();
  void addSharp();
  // Moves a natural note by steps of the scale, carrying into the octave; others stay.
  void offsetpitch(int steps);

 protected:
  ARNoteName name;
  int pitch = 0;
  int octave = MIN_REGISTER;
  int accidentals = 0;
  int intensity = 0;

 private:
  static constexpr int NoOctavaApplied = MIN_REGISTER - 1;
  int writtenOctave = NoOctavaApplied;
};
