#pragma once
// The fixed name tables of the term language.

#include <string_view>

namespace pc {

inline constexpr int kBuiltinCount = 72;

// Function numbers (positions in the name table). Number 58 is a blank entry.
enum BuiltinFunction : int {
    FnCabs = 1,
    FnSqrt,
    FnLn,
    FnExp,
    FnArcsin,
    FnArccos,
    FnArctan,
    FnArtanh,
    FnRez,
    FnInverf,
    FnSgn,
    FnCbrt,
    FnArsinh,
    FnArcosh,
    FnSinh,
    FnCosh,
    FnTanh,
    FnTan,
    FnErf,
    FnGauss,
    FnLg,
    FnJ0,
    FnJ1,
    FnJ2,
    FnJ3,
    FnJ4,
    FnJ5,
    FnSin,
    FnCos,
    FnTheta,
    FnFrac,
    FnInt,
    FnSi,
    FnCi,
    FnEi,
    FnLi,
    FnGamma,
    FnLb,
    FnSqr,
    FnArccot,
    FnArcoth,
    FnCoth,
    FnCot,
    FnRnd,
    FnMax,
    FnMin,
    FnRoot,
    FnLog,
    FnJ,
    FnAtan2,
    FnPoisson,
    FnNormrand,
    FnModulo,
    FnBino,
    FnAbs,
    FnFac,
    FnBnot,
    FnBlank,
    FnIf,
    FnNot,
    FnCeil,
    FnFloor,
    FnOdd,
    FnRound,
    FnPoirand,
    FnRand,
    FnPoicum,
    FnGcd,
    FnLcm,
    FnCosec,
    FnSec,
    FnRamp,
};

// The name of function `number` (1..72) including its "(", e.g. "SIN(".
std::string_view BuiltinName(int number);

// Number of arguments function `number` takes (1, 2 or 3).
int BuiltinArity(int number);

// The characters that stand for operators in a term.
bool IsOperatorChar(int c);

// The names under which operators 1..20 are rendered back into text.
std::string_view OperatorWord(int op);

// True for the built-in names (without "("), the constant names and the operator
// words: identifiers that are never variables or parameters.
bool IsReservedWord(std::string_view identifier);

}  // namespace pc
