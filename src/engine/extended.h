#pragma once
// The engine's one number type: the 80-bit x87 extended format (64-bit significand).

#include <cfloat>
#include <cstdint>
#include <cstring>
#include <limits>

namespace pc {

using Extended = long double;

static_assert(LDBL_MANT_DIG == 64,
              "Plotcraftsman needs the 80-bit extended long double (x86 GCC/Clang)");

// Constants whose exact extended bits are part of the program's behaviour, written
// as hexadecimal literals so that no decimal rounding can creep in.
inline constexpr Extended kPi = 0xC90FDAA22168C235p-62L;            // exponent 0x4000
inline constexpr Extended kEulerGamma = 0x93C467E37DB09F3Fp-64L;    // exponent 0x3FFE
inline constexpr Extended kDegreeFactor = 0x8EFA351294E9C8AEp-69L;  // pi/180, exponent 0x3FF9
inline constexpr Extended kGonFactor = 0x80ADFC90B938CE36p-69L;     // pi/200, exponent 0x3FF9

// Whether `value` truncated toward zero has an int32 (for a whole number: whether it is
// one); false for NaN and the infinities. The one such check of the program.
inline bool FitsInt32(Extended value) {
    return value > -2147483649.0L && value < 2147483648.0L;
}

inline constexpr Extended kNaN = std::numeric_limits<Extended>::quiet_NaN();
inline constexpr Extended kInfinity = std::numeric_limits<Extended>::infinity();

// Copies an extended value as two 64-bit words instead of an x87 load and store. A
// value that is next passed by value to a libm function (SIN(X)) is read back as words;
// an x87 store in between defeats the processor's store forwarding and stalls.
inline void CopyExtended(Extended& to, const Extended& from) {
    std::uint64_t low;
    std::uint64_t high;
    std::memcpy(&low, &from, sizeof low);
    std::memcpy(&high, reinterpret_cast<const char*>(&from) + sizeof low, sizeof high);
#if defined(__GNUC__)
    asm("" : "+r"(low), "+r"(high));  // keeps the compiler from merging this back into an x87 copy
#endif
    std::memcpy(&to, &low, sizeof low);
    std::memcpy(reinterpret_cast<char*>(&to) + sizeof low, &high, sizeof high);
}

}  // namespace pc
