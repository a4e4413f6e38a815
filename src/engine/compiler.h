#pragma once
// The term compiler: one left-to-right pass with an operator stack that turns a
// normalised term into postfix instruction records.

#include <string>
#include <string_view>
#include <vector>

#include "extended.h"
#include "parser_status.h"
#include "term_instruction.h"

namespace pc {

struct CompileResult {
    ParserStatus status = ParserStatus::Ok;  // or EmptyTerm, Syntax, MissingOperand, NaN
    std::string message;
    int count = 0;  // instructions written before the End record
};

// Compiles `term` (already normalised) into `list`. Identifiers in `variables` (compared
// case-insensitively) become variable records indexed by their position; other
// identifiers are valued as constants, the declared ones from `constants` (lines
// NAME=term) with `angleFactor` in force. On failure `list` is incomplete and must not
// be evaluated.
CompileResult Compile(std::string_view term, Extended angleFactor,
                      const std::vector<std::string>& variables,
                      const std::vector<std::string>& constants, TInstructionList& list);

}  // namespace pc
