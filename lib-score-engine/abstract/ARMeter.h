#pragma once

#include "ARMTParameter.h"
#include "ARName.h"
#include "Fraction.h"

// The time signature tag: sets the meter from its time position on, and with it the measure
// length after which the automatic bar-line pass may insert a bar line.
class ARMeter : public ARMTParameter {
 public:
  // Kinds of meter. Only a meter of one kind or another has a measure length; without one the
  // numbers are 0/1.
  static constexpr int NONE = 0;
  static constexpr int NUMERIC = 1;
  static constexpr int C = 2;
  static constexpr int C2 = 3;

  // No valid meter yet.
  ARMeter() = default;
  // A numeric meter, if both numbers are above 0.
  ARMeter(int numerator, int denominator);

  // Nothing for a meter of no kind.
  std::ostream& operator<<(std::ostream& os) const override;
  void print() const override;
  void PrintName(std::ostream& os) const override;
  void PrintParameters(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }
  void setTagParameterList(TagParameterList& given) override;

  // The measure length; 0/1 for a meter of no kind.
  Fraction getMeterTime() const { return Fraction(mNumerator, mDenominator); }
  // The text as written, also when it could not be read, or made from the numbers.
  ARName const& getName() const { return mName; }
  int getNumerator() const { return mNumerator; }
  int getDenominator() const { return mDenominator; }
  int getMeterType() const { return mMeterType; }
  // 1 while the automatic bar-line pass may insert bar lines after this meter.
  int getAutoBarlines() const { return mAutoBarlines; }
  // The scale of the drawn meter given by the meter's own "size" parameter.
  float getMeterSize() const { return mMeterSize; }

 private:
  // Numbers and kind from the text: "3/4" and the like, "C" or "C/".
  void ReadMeterText();
  void SetNumeric(int numerator, int denominator);

  float mMeterSize = 1.0f;
  int mAutoBarlines = 1;
  ARName mName;
  int mNumerator = 0;
  int mDenominator = 1;
  int mMeterType = NONE;
};
