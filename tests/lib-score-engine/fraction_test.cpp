#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "Fraction.h"
#include "assertion_pattern.h"

namespace {

using EngineTesting::AssertionPattern;

void ExpectParts(Fraction const& f, int numerator, int denominator) {
  EXPECT_EQ(f.getNumerator(), numerator) << numerator << "/" << denominator;
  EXPECT_EQ(f.getDenominator(), denominator) << numerator << "/" << denominator;
  EXPECT_DOUBLE_EQ(f.getValue(), static_cast<double>(numerator) / denominator);
}

TEST(FractionTest, ArithmeticGivesReducedResults) {
  ExpectParts(Fraction(2, 8) + Fraction(1, 8), 3, 8);
  ExpectParts(Fraction(1, 3) - Fraction(1, 3), 0, 1);
  ExpectParts(Fraction(2, 3) * Fraction(3, 4), 1, 2);
  ExpectParts(Fraction(3, 8) * 4, 3, 2);
  ExpectParts(Fraction(1, -3) + Fraction(1, 6), -1, 6);
  ExpectParts(Fraction(7, 8) % Fraction(1, 4), 1, 8);
  ExpectParts(Fraction(-7, 8) % Fraction(1, 4), -1, 8);

  // Constructors keep their parts; comparisons go by value.
  Fraction f(2, 8);
  ExpectParts(f, 2, 8);
  EXPECT_TRUE(f == Frac_1_4 && f <= Frac_1_4 && f >= Frac_1_4 && !(f != Frac_1_4));
  EXPECT_TRUE(Frac_1_8 < f && Frac_1_2 > f);
  ExpectParts(Frac_Max, 65535, 1);
}

// Dates and note values have powers of two below the line, and their sums take a short way that
// must end where the general arithmetic does.
TEST(FractionTest, NoteValueSumsAreReducedLikeAnyOther) {
  ExpectParts(Fraction(3, 8) + Fraction(1, 8), 1, 2);
  ExpectParts(Fraction(1, 4) - Fraction(1, 4), 0, 1);
  ExpectParts(Fraction(0, 4) + Fraction(0, 16), 0, 1);
  ExpectParts(Fraction(2, 8) + Fraction(0, 1), 1, 4);
  ExpectParts(Fraction(-3, 16) + Fraction(1, 2), 5, 16);
  ExpectParts(Fraction(1, 2) - Fraction(7, 8), -3, 8);
  ExpectParts(Fraction(5, 1) + Fraction(3, 1), 8, 1);
  ExpectParts(Fraction(1, 1 << 30) + Fraction(1, 1 << 30), 1, 1 << 29);
  Fraction date(3, 4);
  date += Fraction(1, 4);
  ExpectParts(date, 1, 1);
  date -= Fraction(3, 2);
  ExpectParts(date, -1, 2);
  // A sum beyond the int range becomes the closest value that fits, as other results do.
  ExpectParts(Fraction(INT_MAX, 1) + Fraction(1, 1), INT_MAX, 1);
}

TEST(FractionTest, NormalizeAndInvert) {
  struct Case {
    int n, d, rn, rd;
  } const cases[] = {
      {-3, -3, 1, 1}, {3, -3, -1, 1}, {4, -6, -2, 3}, {0, -5, 0, 1}, {INT_MIN, -2, 1073741824, 1}};
  for (Case const& c : cases) {
    Fraction f(c.n, c.d);
    f.normalize();
    ExpectParts(f, c.rn, c.rd);
  }
  for (Case const& c : {Case{0, 1, 0, 1}, Case{2, 4, 2, 1}, Case{-1, 3, -3, 1}}) {
    Fraction f(c.n, c.d);
    f.invert();
    ExpectParts(f, c.rn, c.rd);
  }
}

// Bases without growing powers and huge denominators must neither hang nor overflow.
TEST(FractionTest, NumberOperations) {
  EXPECT_EQ(Fraction::gcd(INT_MIN, -1), -1);  // no overflow trap on the last remainder
  EXPECT_EQ(Fraction::gcd(-6, 4), -2);        // the sign of the truncating remainder
  Fraction f(6, 16);                          // reduced first: 3/8
  EXPECT_EQ(f.isMultiple(2), 3);
  ExpectParts(f, 3, 8);
  EXPECT_EQ(Fraction(1, 12).isMultiple(2), -1);
  EXPECT_EQ(Fraction(5, 1).isMultiple(2), 0);
  for (int base : {1, 0, -2}) EXPECT_EQ(Fraction(1, 8).isMultiple(base), -1) << base;
  EXPECT_EQ(Fraction(1, INT_MAX).isMultiple(2), -1);
  EXPECT_EQ(Fraction(1, 1 << 30).isMultiple(2), 30);

  EXPECT_TRUE(Fraction(4, 2).isEven());
  EXPECT_FALSE(Fraction(3, 2).isEven() || Fraction(3, 2).isOdd());
  EXPECT_TRUE(Fraction(-3, 1).isOdd());
}

TEST(FractionTest, PowerNotesAreExactForExactPowers) {
  ExpectParts(Fraction(3, 8).getBiggestFullNote(2), 1, 4);
  ExpectParts(Fraction(2, 1).getBiggestFullNote(2), 1, 1);
  ExpectParts(Fraction(3, 8).getReallySmallerNote(2), 1, 8);
  ExpectParts(Fraction(3, 2).getReallySmallerNote(2), 1, 2);
  ExpectParts(Fraction(2, 1).getReallySmallerNote(2), 1, 1);
  ExpectParts(Fraction(1, 9).getBiggestFullNote(3), 1, 9);
  ExpectParts(Fraction(5, 7).getBiggestFullNote(1), 1, 1);
  for (int k = 0; k <= 30; ++k) {
    ExpectParts(Fraction(1, 1 << k).getBiggestFullNote(2), 1, 1 << k);
    ExpectParts(Fraction(3, 1 << k).getBiggestFullNote(2), 1, k < 2 ? 1 : 1 << (k - 1));
  }
  for (Fraction const& f : {Fraction(0, 1), Fraction(-1, 4), Fraction(1, -4)}) {
    ExpectParts(f.getBiggestFullNote(2), 1, 1);
    ExpectParts(f.getReallySmallerNote(2), 1, 1);
  }
}

// Binary values come out exact; others as the nearest fraction whose parts fit an int.
TEST(FractionTest, FromDouble) {
  ExpectParts(Fraction(1e-320), 0, 1);
  ExpectParts(Fraction(-0.75), -3, 4);
  ExpectParts(Fraction(1.0), 1, 1);
  ExpectParts(Fraction(70000.0), 70000, 1);
  ExpectParts(Fraction(std::ldexp(1.0, -30)), 1, 1 << 30);
  ExpectParts(Fraction(std::numeric_limits<double>::quiet_NaN()), 0, 1);

  ExpectParts(Fraction(0.1), 1, 10);
  ExpectParts(Fraction(1.0 / 3.0), 1, 3);
  ExpectParts(Fraction(-1e12), -INT_MAX, 1);
  ExpectParts(Fraction(std::numeric_limits<double>::infinity()), INT_MAX, 1);
  const double pi = 3.14159265358979323846;
  EXPECT_NEAR(Fraction(pi).getValue(), pi, 1e-15);
}

// Results whose reduced parts do not fit an int become the nearest fraction that does, rather
// than wrapping round into a value of the wrong size or sign.
TEST(FractionTest, OverflowingResultsStayClose) {
  const Fraction tiny = Fraction(1, 65536) * Fraction(1, 65536);
  EXPECT_NEAR(tiny.getValue(), std::ldexp(1.0, -32), 1e-9);
  EXPECT_GE(tiny.getValue(), 0.0);
  const Fraction sum = Fraction(1, 2147483647) + Fraction(1, 2147483646);
  EXPECT_NEAR(sum.getValue(), 2.0 / 2147483646.5, 1e-15);
  ExpectParts(Fraction(INT_MAX, 1) * Fraction(4, 1), INT_MAX, 1);
  const Fraction extremes = Fraction(INT_MIN, INT_MAX - 1) - Fraction(INT_MAX, INT_MIN);
  EXPECT_NEAR(
      extremes.getValue(),
      static_cast<double>(INT_MIN) / (INT_MAX - 1) + static_cast<double>(INT_MAX) / 2147483648.0,
      1e-12);
  Fraction negated(INT_MIN, -1);
  negated.normalize();
  ExpectParts(negated, INT_MAX, 1);
}

TEST(FractionDeathTest, ZeroDenominatorsAndZeroDivisorsStop) {
  constexpr char kSource[] = "lib-score-engine/abstract/Fraction.cpp";
  EXPECT_DEATH(Fraction(1, 0), AssertionPattern("denominator != 0", "Fraction", kSource));
  Fraction f(1, 2);
  EXPECT_DEATH(f.set(1, 0), AssertionPattern("denom != 0", "set", kSource));
  EXPECT_DEATH(f.setDenominator(0),
               AssertionPattern("newDenominator!=0", "setDenominator", kSource));
  EXPECT_DEATH(f %= Frac_0, AssertionPattern("other.mNumerator != 0", "operator%=", kSource));
}

}  // namespace
