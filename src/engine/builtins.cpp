#include "builtins.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

#include "decimal_log.h"
#include "engine_messages.h"
#include "random_source.h"

namespace pc {

namespace {

// Constants of the numerical methods, as decimal texts rounded to extended.
constexpr Extended kIntegerTolerance = 1E-14L;
constexpr Extended kZeroTolerance = 1E-100L;
constexpr Extended kLargeValue = 1E4000L;
constexpr Extended kEuler = 0.5772156649015323L;
constexpr Extended kInvSqrt2Pi = 0.398942280401433L;
constexpr Extended kGammaProductLength = 100000;
// The harmonic number H(100000), the sum of 1/n over the product's factors.
constexpr Extended kGammaProductHarmonic = 12.0901461298634279473632193635L;
// Orders up to this go to glibc's jnl, whose recurrences take time in proportion to the
// order (about 0.1 ms at this one); beyond it only the values that vanish are given.
constexpr Extended kMaxBesselOrder = 10000;
// Below the natural logarithm of the smallest subnormal extended value (-11399.5).
constexpr Extended kLogBelowSmallest = -11400;
// POIRAND draws more than a million counts only for means where its sum cannot
// converge any more in extended arithmetic.
constexpr long kPoirandMaxCount = 1000000;

// Routines work on NaN quietly: x87 ordered comparisons would raise "invalid" for a
// NaN operand (and do so differently per compiler), so NaN is tested explicitly first.
bool IsNaN(Extended x) {
    return std::isnan(x);
}

Extended Sign(Extended x) {
    if (IsNaN(x) || x == 0) {
        return 0;
    }
    return x > 0 ? 1 : -1;
}

Extended Frac(Extended x) {
    return x - std::trunc(x);
}

bool IsIntegral(Extended x) {
    if (!std::isfinite(x)) {
        return false;
    }
    const Extended f = std::fabs(Frac(x));
    return f < kIntegerTolerance || 1 - f < kIntegerTolerance;
}

Extended RoundEven(Extended x) {
    return std::nearbyint(x);
}

Extended Refuse(EvalContext& context, const char* message) noexcept {
    context.failure = message;
    return 0;
}

// Rounds an argument that passed the integer test into a signed 32-bit integer;
// values outside that range are not defined for the integer operators.
bool ToInt32(EvalContext& context, Extended x, std::int32_t& out) {
    const Extended r = RoundEven(x);
    if (!FitsInt32(r)) {
        Refuse(context, msg::kNotDefined);
        return false;
    }
    out = static_cast<std::int32_t>(r);
    return true;
}

Extended TrigArgument(const EvalContext& context, Extended x) {
    return context.angleFactor * x;
}

// In radians the argument goes to libm untouched: multiplying by 1 would cost nothing
// itself, but the x87 store of the product stalls libm's integer reads of its argument.
#define PC_TRIG(function, c, x) \
    ((c).angleFactor == 1 ? function(x) : function(TrigArgument((c), (x))))

// ---- series and products --------------------------------------------------------

Extended ErfSeries(Extended x) {
    if (IsNaN(x)) {
        return x;
    }
    if (std::fabs(x) < 5) {
        Extended s = 0;
        Extended t = x;
        const Extended halfSquare = x * x / 2;
        for (Extended k = 1;; k += 1) {
            s = s + t / (2 * k - 1);
            t = -t * halfSquare / k;
            if (!(std::fabs(t) >= kIntegerTolerance)) {
                break;
            }
        }
        return 0.5L + kInvSqrt2Pi * s;
    }
    return (Sign(x) + 1) / 2;
}

bool InverfSeries(Extended x, Extended& result) {
    static constexpr std::array<Extended, 12> kCoefficients = {
        0.16666666667L,   0.05833333333L,   0.025198412L,     0.012039792L,
        0.006103921156L,  0.003217747884L,  0.00174382623L,   0.0009647274734L,
        0.0005422926282L, 0.0003087330308L, 0.0001775964781L, 0.0001030449416L,
    };
    const Extended t = (x - 0.5L) / kInvSqrt2Pi;
    if (IsNaN(t)) {
        result = t;
        return true;
    }
    if (std::fabs(t) >= 1 - kIntegerTolerance) {
        return false;
    }
    Extended r = t;
    Extended p = t;
    const Extended tSquare = t * t;
    for (Extended c : kCoefficients) {
        p = p * tSquare;
        r = r + c * p;
    }
    result = r;
    return true;
}

// Shared loop of SI and CI: t = -(a/b/c/c) x^2 t, s = s + t.
Extended IntegralSeries(Extended x, Extended s, Extended t, Extended a, Extended b, Extended c) {
    const Extended xSquare = x * x;
    do {
        t = -(a / b / c / c) * xSquare * t;
        s = s + t;
        a += 2;
        b += 2;
        c += 2;
    } while (std::fabs(t) >= kIntegerTolerance);
    return s;
}

Extended EiSeries(Extended x) {
    if (IsNaN(x)) {
        return x;
    }
    Extended s = x;
    Extended t = x;
    Extended i = 1;
    Extended j = 2;
    do {
        t = t * (i / j / j) * x;
        s = s + t;
        i += 1;
        j += 1;
        // Once a term overflows the sum cannot recover (the overflow flag already
        // fails the evaluation); stopping keeps huge arguments from looping forever.
    } while (std::isfinite(t) && std::fabs(t) >= kIntegerTolerance);
    return std::log(std::fabs(x)) + s + kEuler;
}

// Whether |J(n;x)| for an order n >= 1 is below the smallest subnormal value:
// |J(n;x)| <= (|x|/2)^n / n! < (e |x| / (2 n))^n.
bool BesselVanishes(Extended n, Extended x) {
    const Extended a = std::fabs(x);
    if (a <= 2) {
        return n >= 2000;  // 1/n! is then below the smallest subnormal
    }
    const Extended logRatio = std::log(a / 2) - std::log(n) + 1;
    return logRatio < 0 && -logRatio > -kLogBelowSmallest / n;
}

// The Bessel function of the first kind of the integral order n. A power series cancels
// catastrophically as x grows, so the value comes from glibc's jnl, which is accurate
// to the last digits for every x.
Extended BesselJ(EvalContext& context, Extended n, Extended x) noexcept {
    if (IsNaN(x)) {
        return x;
    }
    Extended sign = 1;
    if (n < 0) {  // J(-n;x) = (-1)^n J(n;x)
        n = -n;
        sign = std::fmod(n, 2) == 0 ? 1 : -1;
    }
    if (n > kMaxBesselOrder) {
        return BesselVanishes(n, x) ? 0 : Refuse(context, msg::kNotDefined);
    }
    return sign * ::jnl(static_cast<int>(n), x);
}

// The finite Weierstrass product exp(-C z)/z times exp(z/n)/(1 + z/n) for n up to
// N = 100000, in closed form: the product of the (1 + z/n) is Gamma(N+1+z)/(Gamma(z+1) N!)
// and the exponents sum to z H(N), so it is exp(z (H(N) - C)) Gamma(z) N!/Gamma(N+1+z).
// That keeps the finite product's error (GAMMA(5) is 23.99988...) at a millionth of the
// cost.
Extended WeierstrassProduct(Extended z) {
    // ln Gamma(M+z) - ln Gamma(M) for M = N+1 from Stirling's series, written so that
    // nothing cancels; the next term, z/(120 M^4), is below 1E-21.
    const Extended m = kGammaProductLength + 1;
    const Extended logRatio =
        (m - 0.5L) * std::log1p(z / m) + z * std::log(m + z) - z - z / (12 * m * (m + z));
    int sign = 1;
    const Extended logGamma = ::lgammal_r(z, &sign);  // the reentrant form: no global sign
    return std::exp(z * (kGammaProductHarmonic - kEuler) + logGamma - logRatio);
}

Extended GammaProduct(Extended x) {
    if (IsNaN(x)) {
        return x;
    }
    Extended z = x >= 0 ? Frac(x) + 1 : Frac(x) + 2;
    Extended g = WeierstrassProduct(z);
    const Extended m = std::trunc(x);
    // The shifting loops stop early once g has overflowed or vanished: further steps
    // cannot bring it back, and an argument such as 1E10 must not loop for minutes.
    if (x >= 2) {
        for (Extended i = 1; i <= m - 1 && std::isfinite(g) && g != 0; i += 1) {
            g = g * z;
            z = z + 1;
        }
    } else if (x < 1) {
        const Extended d = x < 0 ? m - 1 : m;
        for (Extended i = 1; i <= 1 - d && std::isfinite(g) && g != 0; i += 1) {
            z = z - 1;
            g = g / z;
        }
    }
    return g;
}

// Binomial coefficient of integers n >= k (both already rounded).
Extended Binomial(Extended n, Extended k) {
    const Extended r = n / 2 >= k ? k : n - k;
    Extended factorial = 1;
    for (Extended i = 1; i <= r && std::isfinite(factorial); i += 1) {
        factorial *= i;
    }
    Extended result = 1 / factorial;
    for (Extended i = n - r + 1; i <= n && std::isfinite(result) && result != 0; i += 1) {
        result *= i;
    }
    return result;
}

Extended GreatestCommonDivisor(Extended a, Extended b) {
    // Euclid on exact integers gives the same divisor as trial division up to sqrt(a b),
    // without its billions of steps for large primes.
    while (b != 0) {
        const Extended r = std::fmod(a, b);
        a = b;
        b = r;
    }
    return a;
}

Extended PoissonTerms(Extended lambda, Extended k, bool cumulative) {
    Extended p = std::exp(-lambda);
    Extended s = p;
    for (Extended i = 1; i <= k && std::isfinite(p) && p != 0; i += 1) {
        p = p * (lambda / i);
        s = s + p;
    }
    return cumulative ? s : p;
}

// ---- functions 1 to 72 -------------------------------------------------------------

Extended Cabs(EvalContext&, Extended a, Extended b) noexcept {
    if (IsNaN(a) || IsNaN(b)) {
        return a + b;
    }
    Extended m = std::fabs(a);
    Extended s = std::fabs(b);
    if (s > m) {
        std::swap(m, s);
    }
    if (m == 0) {
        return 0;
    }
    const Extended q = s / m;
    return m * std::sqrt(1 + q * q);
}

Extended Sqrt(EvalContext&, Extended x) noexcept {
    return std::sqrt(x);
}
Extended Ln(EvalContext&, Extended x) noexcept {
    return std::log(x);
}
Extended Exp(EvalContext&, Extended x) noexcept {
    return std::exp(x);
}
Extended Arcsin(EvalContext& c, Extended x) noexcept {
    return std::asin(x) / c.angleFactor;
}
Extended Arccos(EvalContext& c, Extended x) noexcept {
    return std::acos(x) / c.angleFactor;
}
Extended Arctan(EvalContext& c, Extended x) noexcept {
    return std::atan(x) / c.angleFactor;
}
Extended Artanh(EvalContext&, Extended x) noexcept {
    return 0.5L * std::log((1 + x) / (1 - x));
}

Extended Rez(EvalContext& context, Extended x) noexcept {
    if (IsNaN(x)) {
        return x;
    }
    if (std::fabs(x) <= kZeroTolerance) {
        context.warning = msg::kRezWarning;
        return Sign(x) * kLargeValue;
    }
    return 1 / x;
}

Extended Inverf(EvalContext& context, Extended x) noexcept {
    Extended result;
    if (!InverfSeries(x, result)) {
        return Refuse(context, msg::kInverfRange);
    }
    return result;
}

Extended Sgn(EvalContext&, Extended x) noexcept {
    return Sign(x);
}

Extended Cbrt(EvalContext&, Extended x) noexcept {
    if (IsNaN(x)) {
        return x;
    }
    if (std::fabs(x) > kZeroTolerance) {
        return Sign(x) * std::exp(std::log(std::fabs(x)) / 3);
    }
    return 0;
}

Extended Arsinh(EvalContext&, Extended x) noexcept {
    // ln(x + sqrt(x^2+1)) cancels to ln(0) for large negative x; the function is odd,
    // so the negative half mirrors the positive one.
    if (IsNaN(x)) {
        return x;
    }
    const Extended a = std::fabs(x);
    const Extended r = std::log(a + std::sqrt(a * a + 1));
    return x < 0 ? -r : r;
}

Extended Arcosh(EvalContext&, Extended x) noexcept {
    return std::acosh(x);
}
Extended Sinh(EvalContext&, Extended x) noexcept {
    return std::sinh(x);
}
Extended Cosh(EvalContext&, Extended x) noexcept {
    return std::cosh(x);
}
Extended Tanh(EvalContext&, Extended x) noexcept {
    return std::tanh(x);
}
Extended Tan(EvalContext& c, Extended x) noexcept {
    return PC_TRIG(std::tan, c, x);
}
Extended Erf(EvalContext&, Extended x) noexcept {
    return ErfSeries(x);
}
Extended Gauss(EvalContext&, Extended x) noexcept {
    return kInvSqrt2Pi * std::exp(-x * x / 2);
}
Extended Lg(EvalContext&, Extended x) noexcept {
    return Log10(x);
}

// J0 to J5. Plain functions rather than instances of one template: the table's
// static_asserts compare routine addresses, and GCC does not take the address of a
// template instance as a constant in sanitised builds.
Extended J0(EvalContext& context, Extended x) noexcept {
    return BesselJ(context, 0, x);
}
Extended J1(EvalContext& context, Extended x) noexcept {
    return BesselJ(context, 1, x);
}
Extended J2(EvalContext& context, Extended x) noexcept {
    return BesselJ(context, 2, x);
}
Extended J3(EvalContext& context, Extended x) noexcept {
    return BesselJ(context, 3, x);
}
Extended J4(EvalContext& context, Extended x) noexcept {
    return BesselJ(context, 4, x);
}
Extended J5(EvalContext& context, Extended x) noexcept {
    return BesselJ(context, 5, x);
}

Extended Sin(EvalContext& c, Extended x) noexcept {
    return PC_TRIG(std::sin, c, x);
}
Extended Cos(EvalContext& c, Extended x) noexcept {
    return PC_TRIG(std::cos, c, x);
}

Extended Theta(EvalContext&, Extended x) noexcept {
    if (IsNaN(x)) {
        return x;
    }
    return x >= 0 ? 1 : 0;
}

Extended FracFn(EvalContext&, Extended x) noexcept {
    return Frac(x);
}
Extended Int(EvalContext&, Extended x) noexcept {
    return std::trunc(x);
}

Extended Si(EvalContext& context, Extended x) noexcept {
    if (IsNaN(x)) {
        return x;
    }
    if (std::fabs(x) < 43) {
        return IntegralSeries(x, x, x, 1, 2, 3);
    }
    context.warning = msg::kSiWarning;
    return Sign(x) * (kPi / 2);
}

Extended Ci(EvalContext& context, Extended x) noexcept {
    if (IsNaN(x)) {
        return x;
    }
    if (std::fabs(x) < 43) {
        const Extended start = -x * x / 4;
        return std::log(std::fabs(x)) + IntegralSeries(x, start, start, 2, 3, 4) + kEuler;
    }
    context.warning = msg::kCiWarning;
    return 0;
}

Extended Ei(EvalContext&, Extended x) noexcept {
    return EiSeries(x);
}
Extended Li(EvalContext&, Extended x) noexcept {
    return EiSeries(std::log(x));
}
Extended Gamma(EvalContext&, Extended x) noexcept {
    return GammaProduct(x);
}
Extended Lb(EvalContext&, Extended x) noexcept {
    return std::log2(x);
}
Extended Sqr(EvalContext&, Extended x) noexcept {
    return x * x;
}

Extended Arccot(EvalContext& c, Extended x) noexcept {
    if (IsNaN(x)) {
        return x;
    }
    if (std::fabs(x) <= 1E-16L) {
        return kPi / 2 / c.angleFactor;
    }
    return std::atan(1 / x) / c.angleFactor;
}

Extended Arcoth(EvalContext&, Extended x) noexcept {
    return -0.5L * std::log((x - 1) / (x + 1));
}
Extended Coth(EvalContext&, Extended x) noexcept {
    return 1 / std::tanh(x);
}
Extended Cot(EvalContext& c, Extended x) noexcept {
    return 1 / std::tan(TrigArgument(c, x));
}
Extended Rnd(EvalContext&, Extended x) noexcept {
    return x * RandomUniform();
}

Extended Max(EvalContext&, Extended a, Extended b) noexcept {
    if (IsNaN(a) || IsNaN(b)) {
        return a + b;
    }
    return b > a ? b : a;
}

Extended Min(EvalContext&, Extended a, Extended b) noexcept {
    if (IsNaN(a) || IsNaN(b)) {
        return a + b;
    }
    return b < a ? b : a;
}

Extended Root(EvalContext& context, Extended n, Extended x) noexcept {
    if (!IsIntegral(n)) {
        return Refuse(context, msg::kRootArgument);
    }
    const Extended order = RoundEven(n);
    if (!(order >= -32768 && order <= 32767)) {
        return Refuse(context, msg::kNotDefined);
    }
    if (IsNaN(x) || x > 0) {
        return std::exp(std::log(x) / order);
    }
    if (std::fabs(x) < kIntegerTolerance) {
        return 0;
    }
    if (std::fmod(order, 2) != 0) {
        return -std::exp(std::log(std::fabs(x)) / order);
    }
    return Refuse(context, msg::kNotDefined);
}

Extended Log(EvalContext&, Extended base, Extended x) noexcept {
    return std::log(x) / std::log(base);
}

Extended J(EvalContext& context, Extended n, Extended x) noexcept {
    if (!IsIntegral(n)) {
        return Refuse(context, msg::kBesselOrder);
    }
    return BesselJ(context, RoundEven(n), x);
}

Extended Atan2(EvalContext& c, Extended y, Extended x) noexcept {
    return std::atan2(y, x) / c.angleFactor;
}

Extended Poisson(EvalContext& context, Extended lambda, Extended k) noexcept {
    if (!IsIntegral(k)) {
        return Refuse(context, msg::kPoissonDiscrete);
    }
    return PoissonTerms(lambda, RoundEven(k), false);
}

Extended Normrand(EvalContext&, Extended mean, Extended deviation) noexcept {
    Extended quantile = 0;
    InverfSeries(0.16L + 0.68L * RandomUniform(), quantile);
    return mean + deviation * quantile;
}

Extended Modulo(EvalContext&, Extended a, Extended b) noexcept {
    return b * Frac(a / b);
}

Extended Bino(EvalContext& context, Extended n, Extended k) noexcept {
    if (!IsIntegral(n) || !IsIntegral(k)) {
        return Refuse(context, msg::kBinomialIntegers);
    }
    const Extended rn = RoundEven(n);
    const Extended rk = RoundEven(k);
    if (rn < rk) {
        return Refuse(context, msg::kBinomialOrder);
    }
    return Binomial(rn, rk);
}

Extended Abs(EvalContext&, Extended x) noexcept {
    return std::fabs(x);
}

Extended Fac(EvalContext& context, Extended n) noexcept {
    if (!IsIntegral(n)) {
        return Refuse(context, msg::kFactorialNatural);
    }
    const Extended m = RoundEven(n);
    Extended result = 1;
    for (Extended i = 2; i <= m && std::isfinite(result); i += 1) {
        result *= i;
    }
    return result;
}

Extended Bnot(EvalContext& context, Extended x) noexcept {
    return BitwiseNotOperator(context, x);
}

Extended If(EvalContext& context, Extended condition, Extended a, Extended b) noexcept {
    if (condition == 1) {
        return a;
    }
    if (condition == 0) {
        return b;
    }
    return Refuse(context, msg::kIfBoolean);
}

Extended Not(EvalContext& context, Extended x) noexcept {
    if (x == 1) {
        return 0;
    }
    if (x == 0) {
        return 1;
    }
    return Refuse(context, msg::kLogicalNotBoolean);
}

// CEIL, FLOOR and ROUND give the exact integer also beyond the 32- and 64-bit ranges.
Extended Ceil(EvalContext&, Extended x) noexcept {
    return std::ceil(x);
}
Extended Floor(EvalContext&, Extended x) noexcept {
    return std::floor(x);
}

Extended Odd(EvalContext& context, Extended x) noexcept {
    if (!IsIntegral(x)) {
        return Refuse(context, msg::kOddInteger);
    }
    return std::fmod(RoundEven(x), 2) != 0 ? 1 : 0;
}

Extended Round(EvalContext&, Extended x) noexcept {
    return RoundEven(x);
}

Extended Poirand(EvalContext& context, Extended lambda) noexcept {
    if (IsNaN(lambda)) {
        return lambda;
    }
    const Extended u = RandomUniform();
    Extended p = std::exp(-lambda);
    Extended s = p;
    long k = 0;
    while (u >= s) {
        // No progress is possible once the terms vanish or blow up (a mean beyond the
        // extended range, or a negative one); that is an argument the method cannot take.
        if (p == 0 || !std::isfinite(p) || k >= kPoirandMaxCount) {
            return Refuse(context, msg::kNotDefined);
        }
        ++k;
        p = p * lambda / k;
        s = s + p;
    }
    return k;
}

Extended Rand(EvalContext&, Extended a, Extended b) noexcept {
    return a + RandomUniform() * (b - a);
}

Extended Poicum(EvalContext& context, Extended lambda, Extended k) noexcept {
    if (!IsIntegral(k)) {
        return Refuse(context, msg::kPoissonDiscrete);
    }
    const Extended rk = RoundEven(k);
    // The terms run to k+1, one more than the name promises; kept, stored plots rely on it.
    return PoissonTerms(lambda, rk < 0 ? rk : rk + 1, true);
}

Extended Gcd(EvalContext& context, Extended a, Extended b) noexcept {
    if (!IsIntegral(a) || !IsIntegral(b)) {
        return Refuse(context, msg::kGcdIntegers);
    }
    const Extended ra = RoundEven(a);
    const Extended rb = RoundEven(b);
    if (!(ra >= 1 && rb >= 1)) {
        return Refuse(context, msg::kGcdNatural);
    }
    return GreatestCommonDivisor(ra, rb);
}

Extended Lcm(EvalContext& context, Extended a, Extended b) noexcept {
    if (!IsIntegral(a) || !IsIntegral(b)) {
        return Refuse(context, msg::kLcmIntegers);
    }
    const Extended ra = RoundEven(a);
    const Extended rb = RoundEven(b);
    if (!(ra >= 1 && rb >= 1)) {
        return Refuse(context, msg::kLcmNatural);
    }
    return ra * rb / GreatestCommonDivisor(ra, rb);
}

Extended Cosec(EvalContext& c, Extended x) noexcept {
    return 1 / std::sin(TrigArgument(c, x));
}
Extended Sec(EvalContext& c, Extended x) noexcept {
    return 1 / std::cos(TrigArgument(c, x));
}

Extended Ramp(EvalContext&, Extended x, Extended a, Extended b) noexcept {
    if (IsNaN(x) || IsNaN(a) || IsNaN(b)) {
        return x + a + b;
    }
    if (x <= a) {
        return 0;
    }
    if (x > b) {
        return 1;
    }
    return (x - a) / (b - a);
}

// ---- integer operators -------------------------------------------------------------

template <typename Combine>
Extended IntegerOperator(EvalContext& context, Extended a, Extended b, const char* refusal,
                         Combine combine) noexcept {
    if (!IsIntegral(a) || !IsIntegral(b)) {
        return Refuse(context, refusal);
    }
    std::int32_t x;
    std::int32_t y;
    if (!ToInt32(context, a, x) || !ToInt32(context, b, y)) {
        return 0;
    }
    return combine(context, x, y);
}

Extended AndOperator(EvalContext& c, Extended a, Extended b) noexcept {
    return IntegerOperator(
        c, a, b, msg::kAndIntegers,
        [](EvalContext&, std::int32_t x, std::int32_t y) -> Extended { return x & y; });
}

Extended IntegerDivideOperator(EvalContext& c, Extended a, Extended b) noexcept {
    return IntegerOperator(c, a, b, msg::kIntegerDivisionIntegers,
                           [](EvalContext& context, std::int32_t x, std::int32_t y) -> Extended {
                               if (y == 0) {
                                   return Refuse(context, msg::kMissingOrWrongOperand);
                               }
                               return static_cast<std::int64_t>(x) / y;
                           });
}

Extended ShiftLeftOperator(EvalContext& c, Extended a, Extended b) noexcept {
    return IntegerOperator(c, a, b, msg::kShiftLeftIntegers,
                           [](EvalContext&, std::int32_t x, std::int32_t y) -> Extended {
                               const std::uint32_t shifted = static_cast<std::uint32_t>(x)
                                                             << (y & 31);
                               return static_cast<std::int32_t>(shifted);
                           });
}

Extended OrOperator(EvalContext& c, Extended a, Extended b) noexcept {
    return IntegerOperator(
        c, a, b, msg::kOrIntegers,
        [](EvalContext&, std::int32_t x, std::int32_t y) -> Extended { return x | y; });
}

Extended ShiftRightOperator(EvalContext& c, Extended a, Extended b) noexcept {
    return IntegerOperator(c, a, b, msg::kShiftRightIntegers,
                           [](EvalContext&, std::int32_t x, std::int32_t y) -> Extended {
                               const std::uint32_t shifted =
                                   static_cast<std::uint32_t>(x) >> (y & 31);
                               return static_cast<std::int32_t>(shifted);
                           });
}

Extended XorOperator(EvalContext& c, Extended a, Extended b) noexcept {
    return IntegerOperator(
        c, a, b, msg::kXorIntegers,
        [](EvalContext&, std::int32_t x, std::int32_t y) -> Extended { return x ^ y; });
}

Extended ModuloOperator(EvalContext& c, Extended a, Extended b) noexcept {
    return IntegerOperator(c, a, b, msg::kModuloIntegers,
                           [](EvalContext& context, std::int32_t x, std::int32_t y) -> Extended {
                               if (y == 0) {
                                   return Refuse(context, msg::kMissingOrWrongOperand);
                               }
                               return static_cast<std::int64_t>(x) % y;
                           });
}

Extended PowerOperator(EvalContext&, Extended a, Extended b) noexcept {
    if (IsIntegerPowerExponent(b)) {
        return IntegerPower(a, static_cast<long long>(b));
    }
    if (a == 0) {
        return 0;
    }
    return std::exp(b * std::log(a));
}

using F = BuiltinFunction;

constexpr BuiltinEntry One(F function, std::string_view name, Builtin1 routine,
                           InlineForm inlined = InlineForm::None) {
    return {function, name, 1, routine, nullptr, nullptr, inlined};
}
constexpr BuiltinEntry Two(F function, std::string_view name, Builtin2 routine) {
    return {function, name, 2, nullptr, routine, nullptr, InlineForm::None};
}
constexpr BuiltinEntry Three(F function, std::string_view name, Builtin3 routine,
                             InlineForm inlined = InlineForm::None) {
    return {function, name, 3, nullptr, nullptr, routine, inlined};
}

// Position = function number. Order matters: the compiler replaces names in table order,
// so a name that ends with another name must stand before it ("ARCSIN(" before "SIN(").
constexpr std::array<BuiltinEntry, kBuiltinCount + 1> kBuiltins = {{
    {},
    Two(F::Cabs, "CABS(", Cabs),
    One(F::Sqrt, "SQRT(", Sqrt, InlineForm::Sqrt),
    One(F::Ln, "LN(", Ln, InlineForm::Ln),
    One(F::Exp, "EXP(", Exp, InlineForm::Exp),
    One(F::Arcsin, "ARCSIN(", Arcsin),
    One(F::Arccos, "ARCCOS(", Arccos),
    One(F::Arctan, "ARCTAN(", Arctan),
    One(F::Artanh, "ARTANH(", Artanh),
    One(F::Rez, "REZ(", Rez),
    One(F::Inverf, "INVERF(", Inverf),
    One(F::Sgn, "SGN(", Sgn),
    One(F::Cbrt, "CBRT(", Cbrt),
    One(F::Arsinh, "ARSINH(", Arsinh),
    One(F::Arcosh, "ARCOSH(", Arcosh),
    One(F::Sinh, "SINH(", Sinh),
    One(F::Cosh, "COSH(", Cosh),
    One(F::Tanh, "TANH(", Tanh),
    One(F::Tan, "TAN(", Tan),
    One(F::Erf, "ERF(", Erf),
    One(F::Gauss, "GAUSS(", Gauss),
    One(F::Lg, "LG(", Lg),
    One(F::J0, "J0(", J0),
    One(F::J1, "J1(", J1),
    One(F::J2, "J2(", J2),
    One(F::J3, "J3(", J3),
    One(F::J4, "J4(", J4),
    One(F::J5, "J5(", J5),
    One(F::Sin, "SIN(", Sin, InlineForm::Sin),
    One(F::Cos, "COS(", Cos, InlineForm::Cos),
    One(F::Theta, "THETA(", Theta),
    One(F::Frac, "FRAC(", FracFn),
    One(F::Int, "INT(", Int),
    One(F::Si, "SI(", Si),
    One(F::Ci, "CI(", Ci),
    One(F::Ei, "EI(", Ei),
    One(F::Li, "LI(", Li),
    One(F::Gamma, "GAMMA(", Gamma),
    One(F::Lb, "LB(", Lb),
    One(F::Sqr, "SQR(", Sqr),
    One(F::Arccot, "ARCCOT(", Arccot),
    One(F::Arcoth, "ARCOTH(", Arcoth),
    One(F::Coth, "COTH(", Coth),
    One(F::Cot, "COT(", Cot),
    One(F::Rnd, "RND(", Rnd),
    Two(F::Max, "MAX(", Max),
    Two(F::Min, "MIN(", Min),
    Two(F::Root, "ROOT(", Root),
    Two(F::Log, "LOG(", Log),
    Two(F::J, "J(", J),
    Two(F::Atan2, "ATAN2(", Atan2),
    Two(F::Poisson, "POISSON(", Poisson),
    Two(F::Normrand, "NORMRAND(", Normrand),
    Two(F::Modulo, "MODULO(", Modulo),
    Two(F::Bino, "BINO(", Bino),
    One(F::Abs, "ABS(", Abs, InlineForm::Abs),
    One(F::Fac, "FAC(", Fac),
    One(F::Bnot, "BNOT(", Bnot),
    {F::Blank, "        ", 0, nullptr, nullptr, nullptr, InlineForm::None},
    Three(F::If, "IF(", If, InlineForm::If),
    One(F::Not, "NOT(", Not),
    One(F::Ceil, "CEIL(", Ceil),
    One(F::Floor, "FLOOR(", Floor),
    One(F::Odd, "ODD(", Odd),
    One(F::Round, "ROUND(", Round),
    One(F::Poirand, "POIRAND(", Poirand),
    Two(F::Rand, "RAND(", Rand),
    Two(F::Poicum, "POICUM(", Poicum),
    Two(F::Gcd, "GCD(", Gcd),
    Two(F::Lcm, "LCM(", Lcm),
    One(F::Cosec, "COSEC(", Cosec),
    One(F::Sec, "SEC(", Sec),
    Three(F::Ramp, "RAMP(", Ramp),
}};

// Every entry stands at the position its function number names, has the routine of its
// arity and a name of letters and digits closed by "(".
constexpr bool EntriesAreConsistent() {
    for (int number = 1; number <= kBuiltinCount; ++number) {
        const BuiltinEntry& entry = kBuiltins[static_cast<std::size_t>(number)];
        if (NumberOf(entry.function) != number) {
            return false;
        }
        if (entry.function == F::Blank) {
            if (entry.arity != 0 || entry.name.find_first_not_of(' ') != std::string_view::npos) {
                return false;
            }
            continue;
        }
        const bool routineOfArity = (entry.arity == 1) == (entry.one != nullptr) &&
                                    (entry.arity == 2) == (entry.two != nullptr) &&
                                    (entry.arity == 3) == (entry.three != nullptr);
        if (!routineOfArity || entry.name.size() < 2 || !entry.name.ends_with('(')) {
            return false;
        }
        for (char ch : entry.name.substr(0, entry.name.size() - 1)) {
            if (!((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'))) {
                return false;
            }
        }
    }
    return true;
}
static_assert(EntriesAreConsistent());

// A name that ends with another stands before it, or the shorter one would be found
// inside the longer one.
constexpr bool LongerNamesComeFirst() {
    for (int i = 1; i <= kBuiltinCount; ++i) {
        for (int j = 1; j <= kBuiltinCount; ++j) {
            const std::string_view a = kBuiltins[static_cast<std::size_t>(i)].name;
            const std::string_view b = kBuiltins[static_cast<std::size_t>(j)].name;
            if (i != j && a.ends_with(b) && i > j) {
                return false;
            }
        }
    }
    return true;
}
static_assert(LongerNamesComeFirst());

// The fast path computes an inlined function in place of its routine; each form stands
// for exactly one routine, so it cannot drift to another function.
constexpr bool InlinedFormsMirrorTheirRoutines() {
    for (const BuiltinEntry& entry : kBuiltins) {
        bool mirrors = true;
        switch (entry.inlined) {
            case InlineForm::None:
                break;
            case InlineForm::If:
                mirrors = entry.three == If;
                break;
            case InlineForm::Sin:
                mirrors = entry.one == Sin;
                break;
            case InlineForm::Cos:
                mirrors = entry.one == Cos;
                break;
            case InlineForm::Exp:
                mirrors = entry.one == Exp;
                break;
            case InlineForm::Ln:
                mirrors = entry.one == Ln;
                break;
            case InlineForm::Sqrt:
                mirrors = entry.one == Sqrt;
                break;
            case InlineForm::Abs:
                mirrors = entry.one == Abs;
                break;
        }
        if (!mirrors) {
            return false;
        }
    }
    return true;
}
static_assert(InlinedFormsMirrorTheirRoutines());

}  // namespace

const BuiltinEntry& BuiltinAt(int number) noexcept {
    return kBuiltins[static_cast<std::size_t>(number)];
}

Builtin2 OperatorRoutine(TermOperator op) noexcept {
    switch (op) {
        case TermOperator::Power:
            return PowerOperator;
        case TermOperator::And:
            return AndOperator;
        case TermOperator::IntegerDivide:
            return IntegerDivideOperator;
        case TermOperator::ShiftLeft:
            return ShiftLeftOperator;
        case TermOperator::Or:
            return OrOperator;
        case TermOperator::ShiftRight:
            return ShiftRightOperator;
        case TermOperator::Binomial:
            return Bino;
        case TermOperator::Xor:
            return XorOperator;
        case TermOperator::Modulo:
            return ModuloOperator;
        default:
            return nullptr;
    }
}

Extended NegateOperator(EvalContext&, Extended b) noexcept {
    return -b;
}

Extended BitwiseNotOperator(EvalContext& context, Extended b) noexcept {
    if (!IsIntegral(b)) {
        return Refuse(context, msg::kNotInteger);
    }
    std::int32_t x;
    if (!ToInt32(context, b, x)) {
        return 0;
    }
    return ~x;
}

Extended ApplyBinaryOperator(EvalContext& context, TermOperator op, Extended a,
                             Extended b) noexcept {
    switch (op) {
        case TermOperator::Subtract:
            return a - b;
        case TermOperator::Add:
            return a + b;
        case TermOperator::Multiply:
            return a * b;
        case TermOperator::Divide:
            return a / b;
        case TermOperator::Equal:
            return a == b ? 1 : 0;
        case TermOperator::NotEqual:
            return a != b ? 1 : 0;
        default:
            break;
    }
    if (op >= TermOperator::GreaterEqual && op <= TermOperator::Less) {
        // An ordered comparison with NaN is an invalid operation.
        if (std::isunordered(a, b)) {
            return Refuse(context, msg::kNotDefined);
        }
        switch (op) {
            case TermOperator::GreaterEqual:
                return a >= b ? 1 : 0;
            case TermOperator::LessEqual:
                return a <= b ? 1 : 0;
            case TermOperator::Greater:
                return a > b ? 1 : 0;
            default:
                return a < b ? 1 : 0;
        }
    }
    return OperatorRoutine(op)(context, a, b);
}

}  // namespace pc
