#pragma once

// The engine's rational time value, in whole notes (a quarter is 1/4). The quotient is cached as
// a double after every change, so the many comparisons of the layout are plain floating-point
// comparisons and equal values with different parts (2/8 and 1/4) compare equal. Constructors
// and setters keep what they are given; arithmetic leaves the result reduced.

#include <algorithm>
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

  Fraction& operator+=(Fraction const& other) {
    if (!AddNoteValues(other, 1)) Add(other);
    return *this;
  }
  Fraction& operator-=(Fraction const& other) {
    if (!AddNoteValues(other, -1)) Subtract(other);
    return *this;
  }
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
  void Add(Fraction const& other);
  void Subtract(Fraction const& other);
  // The sum (sign 1) or difference (sign -1) of two values with powers of two below the line,
  // which dates and note values nearly always are, as StoreReduced leaves it: the larger
  // denominator is the common one, and the greatest common divisor of the parts is the power of
  // two that divides both. False, with nothing changed, for any other values or a result whose
  // parts do not fit an int.
  bool AddNoteValues(Fraction const& other, int sign) {
    const unsigned a = static_cast<unsigned>(mDenominator);
    const unsigned b = static_cast<unsigned>(other.mDenominator);
    if (mDenominator <= 0 || other.mDenominator <= 0 || (a & (a - 1)) != 0 || (b & (b - 1)) != 0)
      return false;
    const unsigned common = a > b ? a : b;
    int64_t n =
        int64_t{mNumerator} * (common / a) + sign * int64_t{other.mNumerator} * (common / b);
    int64_t d = common;
    if (n == 0) {
      d = 1;
    } else {
      const int shift = std::min(std::countr_zero(static_cast<uint64_t>(n)),
                                 std::countr_zero(static_cast<uint64_t>(d)));
      n >>= shift;
      d >>= shift;
    }
    if (n > INT32_MAX || n < INT32_MIN) return false;
    mNumerator = static_cast<int>(n);
    mDenominator = static_cast<int>(d);
    UpdateValue();
    return true;
  }
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

inline Fraction operator+(Fraction const& a, Fraction const& b) {
  Fraction result = a;
  result += b;
  return result;
}

inline Fraction operator-(Fraction const& a, Fraction const& b) {
  Fraction result = a;
  result -= b;
  return result;
}

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
