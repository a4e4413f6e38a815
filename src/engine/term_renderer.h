#pragma once
// Renders a compiled term back into text: the flattened term the catalogue stores.

#include <string>
#include <vector>

#include "number_text.h"
#include "term_instruction.h"

namespace pc {

// Operators appear with their words ("AND", "DIV", ...), constants in the general
// number form with up to `digits` significant digits, variables by their names from
// `variables`. An operand is parenthesised
// when it binds more loosely than the operator consuming it; both operands of the
// integer operators always are.
std::string RenderTerm(const TTermInstruction* list, const std::vector<std::string>& variables,
                       int digits = kGeneralDigits);

}  // namespace pc
