#include "decimal_log.h"

#include <array>
#include <cmath>

namespace pc {

namespace {

// 10^0 to 10^27 are exact in 64 significand bits (5^27 < 2^64).
constexpr int kMaxExactPower = 27;

constexpr std::array<Extended, kMaxExactPower + 1> PowersOfTen() {
    std::array<Extended, kMaxExactPower + 1> powers{};
    Extended power = 1;
    for (Extended& entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}

constexpr std::array<Extended, kMaxExactPower + 1> kPowersOfTen = PowersOfTen();

}  // namespace

Extended Log10(Extended x) {
    const Extended result = std::log10(x);
    if (!std::isfinite(result))
        return result;
    const Extended k = std::nearbyint(result);
    // Classification and quiet comparisons only: a NaN must raise nothing here.
    if (std::isgreater(std::fabs(result - k), 1e-17L * std::fabs(k)) ||
        std::fabs(k) > kMaxExactPower)
        return result;
    const auto n = static_cast<int>(std::fabs(k));
    // A negative power of ten is not representable; its correctly rounded reciprocal is
    // the nearest value, which is what reading "1E-3" gives.
    const Extended power = k >= 0 ? kPowersOfTen[n] : 1 / kPowersOfTen[n];
    return x == power ? k : result;
}

}  // namespace pc
