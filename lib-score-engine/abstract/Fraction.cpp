#include "Fraction.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "src/common/assertion.h"

namespace {

constexpr int64_t kIntMax = INT_MAX;

// Euclid with the truncating remainder, so the result may be negative for negative inputs;
// 64 bits wide, so INT_MIN % -1 cannot trap.
int64_t TruncatingGcd(int64_t a, int64_t b) {
  if (b > 0 && b <= kIntMax && a >= -kIntMax - 1 && a <= kIntMax) {
    // The same steps in 32 bits, where division is much cheaper. Only the first dividend can be
    // INT_MIN, and its divisor is positive, so no step divides INT_MIN by -1.
    int32_t x = static_cast<int32_t>(a);
    int32_t y = static_cast<int32_t>(b);
    while (y != 0) {
      const int32_t r = x % y;
      x = y;
      y = r;
    }
    return x;
  }
  while (b != 0) {
    const int64_t r = a % b;
    a = b;
    b = r;
  }
  return a;
}

bool IsPowerOfTwo(int64_t x) {
  return x > 0 && (x & (x - 1)) == 0;
}

// Smallest common multiple of two denominators, as the arithmetic defines it (a when both are
// equal, else a / gcd(a, b) * b); 64 bits wide, so it cannot overflow for int inputs.
int64_t CommonDenominator(int64_t a, int64_t b) {
  if (a == b) return a;
  // Note values have powers of two below the line, and of two such the larger is the multiple.
  if (IsPowerOfTwo(a) && IsPowerOfTwo(b)) return a > b ? a : b;
  return a / TruncatingGcd(a, b) * b;
}

// The fraction closest to |x| whose parts fit an int, by continued fractions. The last
// convergent that fits is compared with the best semiconvergent below the bound, so values
// beyond the int range clamp to INT_MAX/1 and tiny ones end at 0/1 or 1/INT_MAX.
void BestRational(double x, int64_t& numerator, int64_t& denominator) {
  const double target = std::fabs(x);
  int64_t h0 = 0, h1 = 1, k0 = 1, k1 = 0;
  double rest = target;
  for (int step = 0; step < 64; ++step) {
    const double whole = std::floor(rest);
    const bool tooBig = !(whole <= static_cast<double>(kIntMax));
    const int64_t a = tooBig ? kIntMax + 1 : static_cast<int64_t>(whole);
    const int64_t h2 = a * h1 + h0;
    const int64_t k2 = a * k1 + k0;
    if (tooBig || h2 > kIntMax || k2 > kIntMax) {
      const int64_t byNumerator = h1 ? (kIntMax - h0) / h1 : kIntMax;
      const int64_t byDenominator = k1 ? (kIntMax - k0) / k1 : kIntMax;
      const int64_t t = byNumerator < byDenominator ? byNumerator : byDenominator;
      if (t > 0) {
        const int64_t hs = t * h1 + h0;
        const int64_t ks = t * k1 + k0;
        const double semiError = std::fabs(target - static_cast<double>(hs) / ks);
        const double lastError =
            k1 ? std::fabs(target - static_cast<double>(h1) / k1) : static_cast<double>(INFINITY);
        if (k1 == 0 || semiError < lastError) {
          h1 = hs;
          k1 = ks;
        }
      }
      break;
    }
    h0 = h1;
    h1 = h2;
    k0 = k1;
    k1 = k2;
    const double fraction = rest - whole;
    if (static_cast<double>(h1) / k1 == target || fraction <= 0.0) break;
    rest = 1.0 / fraction;
  }
  numerator = x < 0 ? -h1 : h1;
  denominator = k1;
}

}  // namespace

constinit Fraction const Frac_n1{Fraction::Exact{}, -1, 1};
constinit Fraction const Frac_0{Fraction::Exact{}, 0, 1};
constinit Fraction const Frac_1{Fraction::Exact{}, 1, 1};
constinit Fraction const Frac_1_2{Fraction::Exact{}, 1, 2};
constinit Fraction const Frac_1_4{Fraction::Exact{}, 1, 4};
constinit Fraction const Frac_1_8{Fraction::Exact{}, 1, 8};
constinit Fraction const Frac_1_12{Fraction::Exact{}, 1, 12};
constinit Fraction const Frac_1_16{Fraction::Exact{}, 1, 16};
constinit Fraction const Frac_1_32{Fraction::Exact{}, 1, 32};
constinit Fraction const Frac_1_64{Fraction::Exact{}, 1, 64};
constinit Fraction const Frac_1_128{Fraction::Exact{}, 1, 128};
constinit Fraction const Frac_3_2{Fraction::Exact{}, 3, 2};
constinit Fraction const Frac_3_4{Fraction::Exact{}, 3, 4};
constinit Fraction const Frac_3_8{Fraction::Exact{}, 3, 8};
constinit Fraction const Frac_3_16{Fraction::Exact{}, 3, 16};
constinit Fraction const Frac_3_32{Fraction::Exact{}, 3, 32};
constinit Fraction const Frac_7_4{Fraction::Exact{}, 7, 4};
constinit Fraction const Frac_7_8{Fraction::Exact{}, 7, 8};
constinit Fraction const Frac_7_16{Fraction::Exact{}, 7, 16};
constinit Fraction const Frac_7_32{Fraction::Exact{}, 7, 32};
constinit Fraction const Frac_7_64{Fraction::Exact{}, 7, 64};
constinit Fraction const Frac_Max{Fraction::Exact{}, 65535, 1};

Fraction::Fraction(int numerator, int denominator) {
  MELVARIN_ASSERT(denominator != 0);
  mNumerator = numerator;
  mDenominator = denominator;
  UpdateValue();
}

// Values with a power-of-two denominator up to 2^30 and a numerator that fits an int (every
// note value and dotted value) come out exact; others, such as one tenth, which has no exact
// binary form, get the closest fraction whose parts fit an int.
Fraction::Fraction(double x) {
  if (std::isnan(x) || std::fabs(x) < DBL_MIN) return;
  const double magnitude = std::fabs(x);
  for (int shift = 0; shift <= 30; ++shift) {
    const double scaled = std::ldexp(magnitude, shift);
    if (scaled > static_cast<double>(kIntMax)) break;
    if (scaled == std::floor(scaled)) {
      const int64_t numerator = static_cast<int64_t>(scaled);
      StoreReduced(x < 0 ? -numerator : numerator, int64_t{1} << shift);
      return;
    }
  }
  int64_t numerator = 0;
  int64_t denominator = 1;
  BestRational(x, numerator, denominator);
  StoreReduced(numerator, denominator);
}

void Fraction::set(int numerator, int denom) {
  MELVARIN_ASSERT(denom != 0);
  mNumerator = numerator;
  mDenominator = denom;
  UpdateValue();
}

void Fraction::setNumerator(int newNumerator) {
  mNumerator = newNumerator;
  UpdateValue();
}

void Fraction::setDenominator(int newDenominator) {
  // clang-format off
  MELVARIN_ASSERT(newDenominator!=0);
  // clang-format on
  mDenominator = newDenominator;
  UpdateValue();
}

// Sums, remainders and products are formed in 64 bits, where they cannot overflow for int
// parts, and reduced there. A reduced result that still does not fit an int is replaced by the
// closest fraction that does (the layout wants a value close to the true one, not a wrapped
// one).
void Fraction::StoreReduced(int64_t n, int64_t d) {
  if (d == 1 && n <= kIntMax && n >= -kIntMax - 1) {
    // A whole value is reduced already, and the passes add many of them.
    mNumerator = static_cast<int>(n);
    mDenominator = 1;
    UpdateValue();
    return;
  }
  if (n == d) {
    n = 1;
    d = 1;
  } else if (IsPowerOfTwo(d)) {
    // The greatest common divisor with a power of two is the power of two that divides both
    // (d itself for n = 0): shifts instead of Euclid's divisions, for the dates of note values.
    const int shift = n == 0 ? std::countr_zero(static_cast<uint64_t>(d))
                             : std::min(std::countr_zero(static_cast<uint64_t>(n)),
                                        std::countr_zero(static_cast<uint64_t>(d)));
    n >>= shift;
    d >>= shift;
  } else if (n == -d) {
    n = -1;
    d = 1;
  } else {
    // Int parts keep n and d well inside 64 bits (never INT64_MIN), so the division by a
    // negative divisor cannot overflow.
    const int64_t g = TruncatingGcd(n, d);
    n /= g;
    d /= g;
    if (d < 0) {
      n = -n;
      d = -d;
    }
  }
  if (n > kIntMax || n < -kIntMax - 1 || d > kIntMax) {
    BestRational(static_cast<double>(n) / static_cast<double>(d), n, d);
  }
  mNumerator = static_cast<int>(n);
  mDenominator = static_cast<int>(d);
  UpdateValue();
}

void Fraction::Add(Fraction const& other) {
  const int64_t common = CommonDenominator(other.mDenominator, mDenominator);
  StoreReduced(int64_t{mNumerator} * (common / mDenominator) +
                   int64_t{other.mNumerator} * (common / other.mDenominator),
               common);
}

void Fraction::Subtract(Fraction const& other) {
  const int64_t common = CommonDenominator(other.mDenominator, mDenominator);
  StoreReduced(int64_t{mNumerator} * (common / mDenominator) -
                   int64_t{other.mNumerator} * (common / other.mDenominator),
               common);
}

// Truncating remainder: the result takes the sign of the left operand.
Fraction& Fraction::operator%=(Fraction const& other) {
  MELVARIN_ASSERT(other.mNumerator != 0);
  const int64_t common = CommonDenominator(other.mDenominator, mDenominator);
  StoreReduced((int64_t{mNumerator} * (common / mDenominator)) %
                   (int64_t{other.mNumerator} * (common / other.mDenominator)),
               common);
  return *this;
}

Fraction& Fraction::operator*=(Fraction const& other) {
  StoreReduced(int64_t{mNumerator} * other.mNumerator, int64_t{mDenominator} * other.mDenominator);
  return *this;
}

Fraction& Fraction::operator*=(int factor) {
  StoreReduced(int64_t{mNumerator} * factor, mDenominator);
  return *this;
}

void Fraction::normalize() {
  StoreReduced(mNumerator, mDenominator);
}

void Fraction::invert() {
  if (mNumerator == 0) {
    mDenominator = 1;
    UpdateValue();
    return;
  }
  StoreReduced(mDenominator, mNumerator);
}

int Fraction::gcd(int a, int b) {
  return static_cast<int>(TruncatingGcd(a, b));
}

int Fraction::scm(int a, int b) {
  return static_cast<int>(CommonDenominator(a, b));
}

// Whether the denominator is a power of base, and which: 0 for a whole number, -1 when it is
// no power (or base cannot have powers that grow).
int Fraction::isMultiple(int base) {
  normalize();
  if (mDenominator == 1) return 0;
  if (base <= 1) return -1;
  int64_t power = 1;
  int exponent = 0;
  while (power < mDenominator) {
    power *= base;
    ++exponent;
  }
  return power == mDenominator ? exponent : -1;
}

bool Fraction::isEven() const {
  return std::floor(mValue) == mValue && static_cast<int>(mValue) % 2 == 0;
}

bool Fraction::isOdd() const {
  return std::floor(mValue) == mValue && static_cast<int>(mValue) % 2 != 0;
}

namespace {

// Smallest power of base (from base^0) with power * numerator >= denominator, that is the
// largest note 1/power not longer than numerator/denominator; kept within the int range.
int64_t FullNotePower(int64_t numerator, int64_t denominator, int64_t base) {
  int64_t power = 1;
  while (power * numerator < denominator && power * base <= kIntMax) power *= base;
  return power;
}

}  // namespace

// Computed with integers so exact powers stay exact (1/4 stays 1/4).
Fraction Fraction::getBiggestFullNote(int base) const {
  if (base <= 1 || mValue <= 0.0) return Fraction(1, 1);
  const int64_t power = FullNotePower(std::llabs(mNumerator), std::llabs(mDenominator), base);
  return Fraction(1, static_cast<int>(power));
}

Fraction Fraction::getReallySmallerNote(int base) const {
  if (base <= 1 || mValue <= 0.0) return Fraction(1, 1);
  const int64_t numerator = std::llabs(mNumerator);
  const int64_t denominator = std::llabs(mDenominator);
  // From base on, the next smaller power note would be longer than a whole.
  if (numerator >= base * denominator) return Fraction(1, 1);
  int64_t power = FullNotePower(numerator, denominator, base);
  if (power * base <= kIntMax) power *= base;
  return Fraction(1, static_cast<int>(power));
}

void Fraction::print() const {
  std::printf("%d/%d", mNumerator, mDenominator);
}

Fraction operator%(Fraction const& a, Fraction const& b) {
  Fraction result = a;
  result %= b;
  return result;
}

Fraction operator*(Fraction const& a, Fraction const& b) {
  Fraction result = a;
  result *= b;
  return result;
}

Fraction operator*(Fraction const& a, int factor) {
  Fraction result = a;
  result *= factor;
  return result;
}
