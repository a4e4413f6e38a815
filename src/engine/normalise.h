#pragma once

#include <string>
#include <string_view>

namespace pc {

// Prepares a term for the compiler and the definition check: removes every character
// with code 1 to 32, upper-cases a to z and turns each argument separator ";" or ","
// into ")(" so that every function argument becomes a parenthesised group.
std::string Normalise(std::string_view term);

// True when no prefix holds more ")" than "(" and both counts are equal at the end.
bool ParenthesesBalanced(std::string_view text);

// ASCII-only case-insensitive comparison, as the engine's name lists use.
bool SameName(std::string_view a, std::string_view b) noexcept;

}  // namespace pc
