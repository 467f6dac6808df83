#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "Fraction.h"
#include "assertion_pattern.h"

namespace {

using EngineTesting::AssertionPattern;

constexpr char kFractionSource[] = "lib-score-engine/abstract/Fraction.cpp";

void ExpectParts(Fraction const& f, int numerator, int denominator) {
  EXPECT_EQ(f.getNumerator(), numerator) << numerator << "/" << denominator;
  EXPECT_EQ(f.getDenominator(), denominator) << numerator << "/" << denominator;
  EXPECT_DOUBLE_EQ(f.getValue(), static_cast<double>(numerator) / denominator);
}

TEST(FractionTest, ArithmeticGivesReducedResults) {
  ExpectParts(Fraction(2, 8) + Fraction(1, 8), 3, 8);
  ExpectParts(Fraction(1, 4) + Fraction(1, 4), 1, 2);
  ExpectParts(Fraction(1, 3) - Fraction(1, 3), 0, 1);
  ExpectParts(Fraction(3, 4) - Fraction(1, 4), 1, 2);
  ExpectParts(Fraction(2, 3) * Fraction(3, 4), 1, 2);
  ExpectParts(Fraction(3, 8) * 4, 3, 2);
  ExpectParts(Fraction(1, -3) + Fraction(1, 6), -1, 6);
  ExpectParts(Fraction(7, 8) % Fraction(1, 4), 1, 8);
  ExpectParts(Fraction(-7, 8) % Fraction(1, 4), -1, 8);
  ExpectParts(Fraction(3, 4) % Fraction(3, 8), 0, 1);

  Fraction sum(1, 4);
  sum += Frac_1_8;
  sum -= Frac_1_2;
  ExpectParts(sum, -1, 8);
}

TEST(FractionTest, ConstructorsKeepTheirPartsAndCompareByValue) {
  Fraction f(2, 8);
  ExpectParts(f, 2, 8);
  EXPECT_TRUE(f == Frac_1_4 && !(f != Frac_1_4) && f <= Frac_1_4 && f >= Frac_1_4);
  EXPECT_TRUE(Frac_1_8 < f && Frac_1_2 > f);
  f.setDenominator(-4);
  ExpectParts(f, 2, -4);
  ExpectParts(Frac_Max, 65535, 1);
}

TEST(FractionTest, NormalizeAndInvert) {
  struct Case {
    int n, d, rn, rd;
  } const cases[] = {{-3, -3, 1, 1},
                     {3, -3, -1, 1},
                     {4, -6, -2, 3},
                     {0, 5, 0, 1},
                     {0, -5, 0, 1},
                     {-4, -6, 2, 3},
                     {INT_MIN, -2, 1073741824, 1}};
  for (Case const& c : cases) {
    Fraction f(c.n, c.d);
    f.normalize();
    ExpectParts(f, c.rn, c.rd);
  }

  Fraction zero;
  zero.invert();
  ExpectParts(zero, 0, 1);
  Fraction half(2, 4);
  half.invert();
  ExpectParts(half, 2, 1);
  Fraction third(-1, 3);
  third.invert();
  ExpectParts(third, -3, 1);
}

TEST(FractionTest, NumberOperations) {
  EXPECT_EQ(Fraction::gcd(INT_MIN, -1), -1);  // no overflow trap on the last remainder
  Fraction f(6, 16);                          // reduced first: 3/8
  EXPECT_EQ(f.isMultiple(2), 3);
  ExpectParts(f, 3, 8);
  Fraction twelfth(1, 12);
  EXPECT_EQ(twelfth.isMultiple(2), -1);
  Fraction whole(5, 1);
  EXPECT_EQ(whole.isMultiple(2), 0);

  EXPECT_TRUE(Fraction(4, 2).isEven());
  EXPECT_FALSE(Fraction(3, 2).isEven() || Fraction(3, 2).isOdd());
  EXPECT_TRUE(Fraction(-3, 1).isOdd());
}

// Bases without growing powers and huge denominators must neither hang nor overflow.
TEST(FractionTest, IsMultipleHandlesDegenerateBases) {
  for (int base : {1, 0, -1, -2}) {
    Fraction f(1, 8);
    EXPECT_EQ(f.isMultiple(base), -1) << base;
  }
  Fraction big(1, INT_MAX);
  EXPECT_EQ(big.isMultiple(2), -1);
  Fraction power(1, 1 << 30);
  EXPECT_EQ(power.isMultiple(2), 30);
  Fraction huge(1, INT_MAX);
  EXPECT_EQ(huge.isMultiple(INT_MAX), 1);
}

TEST(FractionTest, PowerNotesAreExactForExactPowers) {
  ExpectParts(Fraction(3, 8).getBiggestFullNote(2), 1, 4);
  ExpectParts(Fraction(1, 4).getBiggestFullNote(2), 1, 4);
  ExpectParts(Fraction(2, 1).getBiggestFullNote(2), 1, 1);
  ExpectParts(Fraction(3, 8).getReallySmallerNote(2), 1, 8);
  ExpectParts(Fraction(1, 4).getReallySmallerNote(2), 1, 8);
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

TEST(FractionTest, FromDoubleIsExactForBinaryValues) {
  ExpectParts(Fraction(0.0), 0, 1);
  ExpectParts(Fraction(1e-320), 0, 1);
  ExpectParts(Fraction(-0.75), -3, 4);
  ExpectParts(Fraction(1.0), 1, 1);
  ExpectParts(Fraction(1.5), 3, 2);
  ExpectParts(Fraction(0.375), 3, 8);
  ExpectParts(Fraction(70000.0), 70000, 1);
  ExpectParts(Fraction(std::ldexp(1.0, -30)), 1, 1 << 30);
  ExpectParts(Fraction(std::numeric_limits<double>::quiet_NaN()), 0, 1);
}

// Values without an exact binary form come out as the nearest fraction that fits an int.
TEST(FractionTest, FromDoubleApproximatesOtherValues) {
  ExpectParts(Fraction(0.1), 1, 10);
  ExpectParts(Fraction(1.0 / 3.0), 1, 3);
  ExpectParts(Fraction(1e12), INT_MAX, 1);
  ExpectParts(Fraction(-1e12), -INT_MAX, 1);
  ExpectParts(Fraction(std::numeric_limits<double>::infinity()), INT_MAX, 1);
  const double pi = 3.14159265358979323846;
  const Fraction close(pi);
  EXPECT_NEAR(close.getValue(), pi, 1e-15);
  EXPECT_GT(close.getDenominator(), 0);
}

// Results whose reduced parts do not fit an int become the nearest fraction that does, rather
// than wrapping round into a value of the wrong size or sign.
TEST(FractionTest, OverflowingResultsStayClose) {
  const Fraction tiny = Fraction(1, 65536) * Fraction(1, 65536);
  EXPECT_GE(tiny.getValue(), 0.0);
  EXPECT_NEAR(tiny.getValue(), std::ldexp(1.0, -32), 1e-9);

  const Fraction sum = Fraction(1, 2147483647) + Fraction(1, 2147483646);
  EXPECT_GT(sum.getValue(), 0.0);
  EXPECT_NEAR(sum.getValue(), 2.0 / 2147483646.5, 1e-15);

  const Fraction product = Fraction(INT_MAX, 1) * Fraction(4, 1);
  ExpectParts(product, INT_MAX, 1);
  Fraction negated(INT_MIN, -1);
  negated.normalize();
  ExpectParts(negated, INT_MAX, 1);
}

TEST(FractionDeathTest, ZeroDenominatorsAndZeroDivisorsStop) {
  EXPECT_DEATH(Fraction(1, 0), AssertionPattern("denominator != 0", "Fraction", kFractionSource));
  Fraction f(1, 2);
  EXPECT_DEATH(f.set(1, 0), AssertionPattern("denom != 0", "set", kFractionSource));
  EXPECT_DEATH(f.setDenominator(0),
               AssertionPattern("newDenominator!=0", "setDenominator", kFractionSource));
  EXPECT_DEATH(f %= Frac_0,
               AssertionPattern("other.mNumerator != 0", "operator%=", kFractionSource));
}

}  // namespace
