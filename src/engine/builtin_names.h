#pragma once
// The fixed words of the term language besides the built-in names (builtins.h): the
// operator characters and words and the reserved words.

#include <string_view>

#include "term_instruction.h"

namespace pc {

// The characters that stand for operators in a term.
bool IsOperatorChar(int c);

// The name under which an operator other than bitwise NOT is rendered back into text.
std::string_view OperatorWord(TermOperator op);

// True for the built-in names (without "("), the constant names and the operator
// words: identifiers that are never variables or parameters.
bool IsReservedWord(std::string_view identifier);

}  // namespace pc
