#pragma once

// The engine's rational time value, in whole notes (a quarter is 1/4). The quotient is cached as
// a double after every change, so the many comparisons of the layout are plain floating-point
// comparisons and equal values with different parts (2/8 and 1/4) compare equal. Constructors
// and setters keep what they are given; arithmetic leaves the result reduced.

#include <bit>
#include <cstdint>

class Fraction {
 public:
  constexpr Fraction() = default;
  Fraction(int numerator, int denominator);
  explicit Fraction(double x);

  void set(int numerator, int denom);
  void setNumerator(int newNumerator);
  void setDenominator(int newDenominator);

  int getNumerator() const { return mNumerator; }
  int getDenominator() const { return mDenominator; }
  double getValue() const { return mValue; }

  Fraction& operator+=(Fraction const& other);
  Fraction& operator-=(Fraction const& other);
  Fraction& operator%=(Fraction const& other);
  Fraction& operator*=(Fraction const& other);
  Fraction& operator*=(int factor);

  void normalize();
  void invert();

  bool operator==(Fraction const& other) const { return mValue == other.mValue; }
  bool operator!=(Fraction const& other) const { return mValue != other.mValue; }
  bool operator<(Fraction const& other) const { return mValue < other.mValue; }
  bool operator<=(Fraction const& other) const { return mValue <= other.mValue; }
  bool operator>(Fraction const& other) const { return mValue > other.mValue; }
  bool operator>=(Fraction const& other) const { return mValue >= other.mValue; }

  static int gcd(int a, int b);
  static int scm(int a, int b);

  int isMultiple(int base);
  bool isEven() const;
  bool isOdd() const;
  Fraction getBiggestFullNote(int base) const;
  Fraction getReallySmallerNote(int base) const;
  void print() const;

  // For the shared constants, which must exist before any other unit's static initialisers.
  struct Exact {};
  constexpr Fraction(Exact, int numerator, int denominator)
      : mNumerator(numerator),
        mDenominator(denominator),
        mValue(static_cast<double>(numerator) / denominator) {}

 private:
  // Stores the reduced form of n/d, computed wide so intermediate products cannot overflow.
  void StoreReduced(int64_t n, int64_t d);
  void UpdateValue() {
    // Dividing by a power of two is multiplying by its exact inverse, which is quicker and gives
    // the same double; note values have powers of two below the line.
    if (mDenominator > 0 && (mDenominator & (mDenominator - 1)) == 0) {
      const auto exponent =
          static_cast<std::uint64_t>(1023 - std::countr_zero(static_cast<unsigned>(mDenominator)));
      mValue = static_cast<double>(mNumerator) * std::bit_cast<double>(exponent << 52);
    } else {
      mValue = static_cast<double>(mNumerator) / mDenominator;
    }
  }

  int mNumerator = 0;
  int mDenominator = 1;
  double mValue = 0.0;
};

Fraction operator+(Fraction const& a, Fraction const& b);
Fraction operator-(Fraction const& a, Fraction const& b);
Fraction operator%(Fraction const& a, Fraction const& b);
Fraction operator*(Fraction const& a, Fraction const& b);
Fraction operator*(Fraction const& a, int factor);

extern constinit Fraction const Frac_n1;
extern constinit Fraction const Frac_0;
extern constinit Fraction const Frac_1;
extern constinit Fraction const Frac_1_2;
extern constinit Fraction const Frac_1_4;
extern constinit Fraction const Frac_1_8;
extern constinit Fraction const Frac_1_12;
extern constinit Fraction const Frac_1_16;
extern constinit Fraction const Frac_1_32;
extern constinit Fraction const Frac_1_64;
extern constinit Fraction const Frac_1_128;
extern constinit Fraction const Frac_3_2;
extern constinit Fraction const Frac_3_4;
extern constinit Fraction const Frac_3_8;
extern constinit Fraction const Frac_3_16;
extern constinit Fraction const Frac_3_32;
extern constinit Fraction const Frac_7_4;
extern constinit Fraction const Frac_7_8;
extern constinit Fraction const Frac_7_16;
extern constinit Fraction const Frac_7_32;
extern constinit Fraction const Frac_7_64;
// The largest time value.
extern constinit Fraction const Frac_Max;
