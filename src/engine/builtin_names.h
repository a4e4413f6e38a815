#pragma once
// The fixed words of the term language besides the built-in names (builtins.h): the
// operator characters and words and the reserved words.

#include <string_view>

namespace pc {

// The characters that stand for operators in a term.
bool IsOperatorChar(int c);

// The names under which operators 1..20 are rendered back into text.
std::string_view OperatorWord(int op);

// True for the built-in names (without "("), the constant names and the operator
// words: identifiers that are never variables or parameters.
bool IsReservedWord(std::string_view identifier);

}  // namespace pc
