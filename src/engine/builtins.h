#pragma once
// What every operator and built-in function computes, and the table of the built-in
// functions. The reference machine calls these routines; the fast path calls them too,
// or computes the very same expression inline (plain arithmetic, SIN, EXP, ...), and a
// differential test holds the two to the bit.

#include <cmath>
#include <cstdint>
#include <string_view>

#include "extended.h"
#include "term_instruction.h"

namespace pc {

// The per-evaluation state the routines report into. A refusal ends the evaluation
// with status 7 and its text; a warning keeps the result valid.
struct EvalContext {
    Extended angleFactor = 1;
    const char* failure = nullptr;
    const char* warning = nullptr;
};

using Builtin1 = Extended (*)(EvalContext&, Extended) noexcept;
using Builtin2 = Extended (*)(EvalContext&, Extended, Extended) noexcept;
using Builtin3 = Extended (*)(EvalContext&, Extended, Extended, Extended) noexcept;

inline constexpr int kBuiltinCount = 72;

// Function numbers: positions in the built-in table. Number 58 is a blank entry.
enum class BuiltinFunction : std::int16_t {
    Cabs = 1,
    Sqrt,
    Ln,
    Exp,
    Arcsin,
    Arccos,
    Arctan,
    Artanh,
    Rez,
    Inverf,
    Sgn,
    Cbrt,
    Arsinh,
    Arcosh,
    Sinh,
    Cosh,
    Tanh,
    Tan,
    Erf,
    Gauss,
    Lg,
    J0,
    J1,
    J2,
    J3,
    J4,
    J5,
    Sin,
    Cos,
    Theta,
    Frac,
    Int,
    Si,
    Ci,
    Ei,
    Li,
    Gamma,
    Lb,
    Sqr,
    Arccot,
    Arcoth,
    Coth,
    Cot,
    Rnd,
    Max,
    Min,
    Root,
    Log,
    J,
    Atan2,
    Poisson,
    Normrand,
    Modulo,
    Bino,
    Abs,
    Fac,
    Bnot,
    Blank,
    If,
    Not,
    Ceil,
    Floor,
    Odd,
    Round,
    Poirand,
    Rand,
    Poicum,
    Gcd,
    Lcm,
    Cosec,
    Sec,
    Ramp,
};

// The expression the fast path computes in place of calling a function's routine; it
// computes exactly what the routine does (SIN and COS in radians only).
enum class InlineForm : std::uint8_t { None, If, Sin, Cos, Exp, Ln, Sqrt, Abs };

// One built-in function. Exactly the routine of its arity is set.
struct BuiltinEntry {
    BuiltinFunction function{};
    std::string_view name;  // with its "(", e.g. "SIN("; eight blanks for the blank entry
    int arity = 0;          // 1, 2 or 3; 0 for the blank entry, which has no routine
    Builtin1 one = nullptr;
    Builtin2 two = nullptr;
    Builtin3 three = nullptr;
    InlineForm inlined = InlineForm::None;
};

// The entry of function `number`, 1..kBuiltinCount. The compiler finds names, the
// machines call routines and the renderer writes names from this one table.
const BuiltinEntry& BuiltinAt(int number) noexcept;

inline constexpr int NumberOf(BuiltinFunction function) {
    return static_cast<int>(function);
}

// The routine of a binary operator that is not plain arithmetic or a comparison:
// power, the integer operators and the binomial coefficient.
Builtin2 OperatorRoutine(TermOperator op) noexcept;

// Negation and bitwise NOT.
Extended NegateOperator(EvalContext& context, Extended b) noexcept;
Extended BitwiseNotOperator(EvalContext& context, Extended b) noexcept;

// Applies any binary operator except negation and bitwise NOT; used by the reference machine.
Extended ApplyBinaryOperator(EvalContext& context, TermOperator op, Extended a,
                             Extended b) noexcept;

// a raised to an integral exponent by repeated squaring; the reciprocal for n < 0.
inline Extended IntegerPower(Extended base, long long n) noexcept {
    unsigned long long m =
        n < 0 ? 0ull - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    Extended result = 1;
    while (m != 0) {
        if (m & 1u) {
            result *= base;
        }
        m >>= 1;
        if (m != 0) {
            base *= base;
        }
    }
    return n < 0 ? 1 / result : result;
}

// True when `exponent` selects the repeated-squaring branch of the power operator.
inline bool IsIntegerPowerExponent(Extended exponent) noexcept {
    return exponent == std::trunc(exponent) && std::fabs(exponent) <= 2147483647.0L;
}

}  // namespace pc
