#pragma once

#include <cstdint>

namespace pc {

// Status of a compilation, an analysis or an evaluation. The numbers are the program's
// own: the CLI prints them and the catalogue stores them as pending error numbers.
enum class ParserStatus : std::uint8_t {
    Ok = 0,                // success; the message may carry a warning
    Parentheses = 1,       // unbalanced parentheses
    EmptyTerm = 2,         // empty or unanalysable term
    Syntax = 3,            // syntax error
    DeclaredCall = 4,      // expanding the declared functions failed
    MissingOperand = 5,    // an operator without its operand
    NotAnalyzed = 6,       // never analysed
    EvaluationFailed = 7,  // a refusal, a floating-point fault or a missing operand
    NaN = 8,               // the term contains NAN
};

}  // namespace pc
