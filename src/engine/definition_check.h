#pragma once
// The definition check: splits a definition line such as F1(X)=SIN(X)*X+1 into its
// name, variables, called functions, parameters and right-hand side.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pc {

// Status codes of ParseDefinition; the catalogue keeps them as pending error numbers.
enum class DefinitionStatus : std::uint8_t {
    Ok = 0,
    BadTerm = 1,         // empty text, or the right-hand side fails the pre-check
    Parentheses = 7,     // unbalanced parentheses
    NoEquals = 10,       // no "="
    NoParenthesis = 11,  // no "(" on the left side
    BadName = 12,        // the name is not an identifier
    BadVariable = 33,    // a character other than a letter, digit or ")" among the variables
};

// Checks `definition`. `rightHandSide` becomes "(" + the normalised text after the first
// "=" + ")" whenever there is an "=", even when the left side is refused, and is
// cleared when there is none. Each list that is not null is cleared and filled:
// `variables` (X when the definition names none), `functions` (the called user
// functions, each once) and `parameters` (free identifiers that are neither variables,
// functions nor reserved words).
DefinitionStatus ParseDefinition(std::string_view definition, std::string& name,
                                 std::string& rightHandSide, std::vector<std::string>* variables,
                                 std::vector<std::string>* functions,
                                 std::vector<std::string>* parameters);

}  // namespace pc
