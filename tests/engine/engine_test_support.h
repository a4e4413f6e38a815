#pragma once
// Helpers shared by the engine tests: one-shot evaluation of a term and exact
// comparison of extended values.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/function_parser.h"
#include "engine/parser_declarations.h"

namespace pc {

// Statuses print as the numbers the program shows.
inline void PrintTo(ParserStatus status, std::ostream* out) {
    *out << static_cast<int>(status);
}

}  // namespace pc

namespace pc::test {

inline constexpr const char* kNotDefined =
    "Function is not defined for the given argument\n\ror division by zero";
inline constexpr const char* kMissingOperand = "Missing or Wrong Operand";
inline constexpr const char* kNotAnalyzedNotice = "\r\nTerm is not properly analyzed yet";

struct Outcome {
    ParserStatus status = ParserStatus::Ok;
    Extended value = 0;
    std::string message;
};

// Declarations and a parser that uses them, the way the catalogue sets up one function;
// the parser analyses `definition` unless it is empty.
struct ParserWithDeclarations {
    TParserDeclarations declarations;
    TFunctionParser parser;

    explicit ParserWithDeclarations(const std::string& definition = "",
                                    std::vector<std::string> functions = {},
                                    std::vector<std::string> constants = {},
                                    TAngleMode mode = TAngleMode::RAD) {
        declarations.SetFunctions(std::move(functions));
        declarations.SetConstants(std::move(constants));
        parser.SetAnglemode(mode);
        parser.SetDeclarations(&declarations);
        if (!definition.empty()) {
            parser.SetTerm(definition);
        }
    }

    Outcome ValueAt(Extended x) {
        parser.SetVariable("X", x);
        Outcome outcome;
        outcome.value = parser.Value();
        outcome.status = parser.EvaluationStatus();
        outcome.message = parser.Message();
        return outcome;
    }
};

// `unit` written `count` times.
inline std::string Repeat(const std::string& unit, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += unit;
    }
    return text;
}

// Analyses "F(X)=" + term and evaluates it once at `x`.
inline Outcome Evaluate(std::string_view term, Extended x = 0, TAngleMode mode = TAngleMode::RAD,
                        std::vector<std::string> functions = {},
                        std::vector<std::string> constants = {}) {
    ParserWithDeclarations setup("F(X)=" + std::string(term), std::move(functions),
                                 std::move(constants), mode);
    return setup.ValueAt(x);
}

// Bit-for-bit equality of the 80 value bits (padding aside), except that any two NaNs
// are equal.
inline bool SameValue(Extended a, Extended b) {
    if (std::isnan(a) || std::isnan(b)) {
        return std::isnan(a) && std::isnan(b);
    }
    return std::memcmp(&a, &b, 10) == 0;
}

// |actual - expected| <= tolerance in extended precision (EXPECT_NEAR would round both
// to double, which hides the last three digits and overflows beyond 1E308).
inline testing::AssertionResult Near(Extended actual, Extended expected, Extended tolerance) {
    if (std::fabs(actual - expected) <= tolerance) {
        return testing::AssertionSuccess();
    }
    char text[160];
    std::snprintf(text, sizeof text, "%.21Lg differs from %.21Lg by more than %.3Lg", actual,
                  expected, tolerance);
    return testing::AssertionFailure() << text;
}

}  // namespace pc::test
