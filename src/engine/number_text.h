#pragma once
// The one number formatter and reader of the program: "." as decimal separator and
// an "E" exponent, whatever the locale.

#include <string>
#include <string_view>

#include "extended.h"

namespace pc {

// The significant digits of the general form: the program's 15, and at most 21, which
// show every digit an extended value holds.
inline constexpr int kGeneralDigits = 15;
inline constexpr int kMaxGeneralDigits = 21;

// General form with up to `digits` significant digits (1 to 21; others are clamped):
// fixed notation while the value has at most `digits` integer digits and is at least
// 1E-5 in magnitude, else "d.dddE<exp>" with "-" only for a negative exponent and no
// leading zeros ("0.001", "-4", "1E4000", "1E-20"). Non-finite values are "NAN", "INF"
// and "-INF".
std::string FormatGeneral(Extended value, int digits = kGeneralDigits);

// Reads a decimal number: an optional sign, digits with an optional "." (at least one
// digit in all) and an optional exponent "E" or "e" with an optional sign and digits.
// Nothing else is accepted (no blanks, no "INF"). A value beyond the extended range
// reads as an infinity; one below it as zero or a subnormal.
bool ParseNumber(std::string_view text, Extended& value);

// Fixed notation with `decimals` decimals ("2.50000", "-0.10"), right-aligned in a field
// of at least `width` characters. Non-finite values as in FormatGeneral.
std::string FormatFixed(Extended value, int decimals, int width = 0);

// Exponent notation with one integer digit and `decimals` decimals, "E" and the exponent
// with "-" only when negative ("1.00000E8", "-2.50000E-12"), right-aligned in a field of
// at least `width` characters. Non-finite values as in FormatGeneral.
std::string FormatExponent(Extended value, int decimals, int width = 0);

}  // namespace pc
