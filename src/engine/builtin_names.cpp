#include "builtin_names.h"

#include <array>
#include <cstring>

#include "builtins.h"

namespace pc {

namespace {

constexpr std::array<std::string_view, 21> kOperatorWords = {
    "",    "-",    "+",   "*",   "/", "-",  "^",  "AND", "DIV", "SHL", "OR",
    "SHR", "OVER", "XOR", "MOD", "=", "<>", ">=", "<=",  ">",   "<",
};

constexpr std::array<std::string_view, 8> kConstantNames = {
    "PI", "E", "C", "TRUE", "FALSE", "NAN", "INFINITY", "NEGINFINITY",
};

}  // namespace

bool IsOperatorChar(int c) {
    switch (c) {
        case '!':
        case '%':
        case '&':
        case '*':
        case '+':
        case '-':
        case '/':
        case ':':
        case '<':
        case '=':
        case '>':
        case '\\':
        case '^':
        case '_':
        case '`':
        case '{':
        case '|':
        case '}':
            return true;
        default:
            return false;
    }
}

std::string_view OperatorWord(TermOperator op) {
    return kOperatorWords[static_cast<std::size_t>(CodeOf(op))];
}

bool IsReservedWord(std::string_view identifier) {
    for (int number = 1; number <= kBuiltinCount; ++number) {
        const std::string_view name = BuiltinAt(number).name;
        if (name.size() == identifier.size() + 1 &&
            name.substr(0, identifier.size()) == identifier) {
            return true;
        }
    }
    for (std::string_view name : kConstantNames) {
        if (name == identifier) {
            return true;
        }
    }
    for (std::size_t op = 1; op < kOperatorWords.size(); ++op) {
        if (kOperatorWords[op] == identifier) {
            return true;
        }
    }
    return false;
}

}  // namespace pc
