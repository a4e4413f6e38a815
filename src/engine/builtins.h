#pragma once
// What every operator and built-in function computes. The reference machine calls these
// routines; the fast path calls them too, or computes the very same expression inline
// (plain arithmetic, SIN, EXP, ...), and a differential test holds the two to the bit.

#include <cmath>

#include "extended.h"

namespace pc {

// The per-evaluation state the routines report into. A refusal ends the evaluation
// with status 7 and its text; a warning keeps the result valid.
struct EvalContext {
    Extended angleFactor = 1;
    const char* failure = nullptr;
    const char* warning = nullptr;
};

using Builtin1 = Extended (*)(EvalContext&, Extended);
using Builtin2 = Extended (*)(EvalContext&, Extended, Extended);
using Builtin3 = Extended (*)(EvalContext&, Extended, Extended, Extended);

struct BuiltinRoutine {
    int arity = 0;
    Builtin1 one = nullptr;
    Builtin2 two = nullptr;
    Builtin3 three = nullptr;
};

// The routine of function `number`, 1..72 (58, the blank entry, has none).
const BuiltinRoutine& BuiltinRoutineFor(int number);

// The routine of a binary operator that is not plain arithmetic or a comparison:
// power, the integer operators and the binomial coefficient.
Builtin2 OperatorRoutine(int op);

// Negation and bitwise NOT.
Extended NegateOperator(EvalContext& context, Extended b);
Extended BitwiseNotOperator(EvalContext& context, Extended b);

// Applies any binary operator 1..20 except negation; used by the reference machine.
Extended ApplyBinaryOperator(EvalContext& context, int op, Extended a, Extended b);

// a raised to an integral exponent by repeated squaring; the reciprocal for n < 0.
inline Extended IntegerPower(Extended base, long long n) {
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
inline bool IsIntegerPowerExponent(Extended exponent) {
    return exponent == std::trunc(exponent) && std::fabs(exponent) <= 2147483647.0L;
}

}  // namespace pc
