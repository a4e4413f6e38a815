#pragma once

#include <stdexcept>
#include <string>

namespace pc {

// Raised only for misuse of TFunctionParser: a term set before declarations were
// assigned, or an unknown variable name. Every other failure is a status and a message.
class EParserError : public std::runtime_error {
  public:
    explicit EParserError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace pc
