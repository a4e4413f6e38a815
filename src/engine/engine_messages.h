#pragma once
// The engine's fixed message texts. They reach the user verbatim, so they are kept
// exactly as the program has always worded them, spelling and blanks included.

namespace pc::msg {

// Compilation.
inline constexpr const char* kInvalidFunctionTerm = "Invalid Function Term";
inline constexpr const char* kUndefinedFunction = "Undefined Function: ";
inline constexpr const char* kSyntaxError = "Syntax Error";
inline constexpr const char* kUnknownOperandSuffix =
    " was detected in the string. Unknown or recursive call";
inline constexpr const char* kMissingOperandInTerm = "Missing Operand in Function Term";
inline constexpr const char* kNaNAborted = "NaN: Evaluation aborted";
inline constexpr const char* kRecursiveConstants = "Recursive call of constants";
inline constexpr const char* kCannotReadConstants = "Cannot read constants";
// Our own limits: the instruction block and the 16-bit binding priorities.
inline constexpr const char* kTermTooLong = "Term is too long: more than 499 instructions";
inline constexpr const char* kTermTooDeep = "Term is nested too deeply";

// Analysis and evaluation.
inline constexpr const char* kTermEmpty = "Term is empty string";
inline constexpr const char* kWrongParentheses = "Wrong parentheses";
inline constexpr const char* kRecursiveOrUnknownCall = "Recursive or unknown function call";
inline constexpr const char* kCannotAnalyze = "Cannot analyze given Term";
inline constexpr const char* kNotAnalyzed = "Term is not properly analyzed yet";
inline constexpr const char* kNotDefined =
    "Function is not defined for the given argument\n\ror division by zero";
inline constexpr const char* kMissingOrWrongOperand = "Missing or Wrong Operand";
inline constexpr const char* kStackOverflow = "Stack overflow";

// Misuse of the component.
inline constexpr const char* kNoDeclarations = "No declarations assigned";
inline constexpr const char* kUnknownVariable = "Unknown variable name";

// Refusals and warnings of operators and built-in functions.
inline constexpr const char* kAndIntegers = "Bitwise AND:  Integer arguments required";
inline constexpr const char* kIntegerDivisionIntegers =
    "Integer division:  Integer arguments required";
inline constexpr const char* kShiftLeftIntegers = "Shift left:  Integer arguments required";
inline constexpr const char* kOrIntegers = "Bitwise OR:  Integer arguments required";
inline constexpr const char* kShiftRightIntegers = "Shift right:  Integer arguments required";
inline constexpr const char* kXorIntegers = "Bitwise XOR:  Integer arguments required";
inline constexpr const char* kModuloIntegers = "Modulo:  Integer arguments required";
inline constexpr const char* kNotInteger = "Bitwise NOT: Integer argument required";
inline constexpr const char* kRezWarning = "Division by zero. Large value inserted.";
inline constexpr const char* kInverfRange =
    "Argument of inverse Errorfunction is out of the converging region";
inline constexpr const char* kSiWarning =
    "Argument of integral sine is too large. Result is only approximated";
inline constexpr const char* kCiWarning =
    "Argument of integral cosine is too large. Result is only approximated";
inline constexpr const char* kRootArgument = "Unvalid argument for root function";
inline constexpr const char* kBesselOrder = "Order of bessel function must be natural";
inline constexpr const char* kPoissonDiscrete = "Poisson distribution:  Discrete argument required";
inline constexpr const char* kBinomialIntegers =
    "Binomial coefficient:  Integer arguments required";
inline constexpr const char* kBinomialOrder =
    "Binomial coefficient:   2nd argument must be smaller than 1st";
inline constexpr const char* kFactorialNatural = "Factorial  argument must be natural";
inline constexpr const char* kIfBoolean = "IF: Boolean condition expected ";
inline constexpr const char* kLogicalNotBoolean = "Logical NOT:  Boolean argument required";
inline constexpr const char* kOddInteger = "Odd: integer argument required";
inline constexpr const char* kGcdIntegers = "GCD  Integer arguments required";
inline constexpr const char* kGcdNatural = "GCD  argument must be natural";
inline constexpr const char* kLcmIntegers = "LCM  Integer arguments required";
inline constexpr const char* kLcmNatural = "LCM  argument must be natural";

// Declarations.
inline constexpr const char* kWrongParenthesesInFunction = "Wrong Parentheses in Function ";
inline constexpr const char* kUnvalidFunctionIdentifier = "Unvalid function identifier ";
inline constexpr const char* kUnvalidArgumentIdentifier = "Unvalid argument identifier in ";
inline constexpr const char* kDuplicateIdentifier = "Duplicate identifier";
inline constexpr const char* kRecursiveFunction = "Recursive Function: ";

}  // namespace pc::msg
