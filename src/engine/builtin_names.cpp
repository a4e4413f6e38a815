#include "builtin_names.h"

#include <array>
#include <cstring>

namespace pc {

namespace {

struct NameEntry {
    std::string_view name;
    int arity;
};

// Order matters: the compiler replaces names in table order, so a name that ends
// with another name must stand before it ("ARCSIN(" before "SIN(").
constexpr std::array<NameEntry, kBuiltinCount> kNames = {{
    {"CABS(", 2},    {"SQRT(", 1},     {"LN(", 1},      {"EXP(", 1},    {"ARCSIN(", 1},
    {"ARCCOS(", 1},  {"ARCTAN(", 1},   {"ARTANH(", 1},  {"REZ(", 1},    {"INVERF(", 1},
    {"SGN(", 1},     {"CBRT(", 1},     {"ARSINH(", 1},  {"ARCOSH(", 1}, {"SINH(", 1},
    {"COSH(", 1},    {"TANH(", 1},     {"TAN(", 1},     {"ERF(", 1},    {"GAUSS(", 1},
    {"LG(", 1},      {"J0(", 1},       {"J1(", 1},      {"J2(", 1},     {"J3(", 1},
    {"J4(", 1},      {"J5(", 1},       {"SIN(", 1},     {"COS(", 1},    {"THETA(", 1},
    {"FRAC(", 1},    {"INT(", 1},      {"SI(", 1},      {"CI(", 1},     {"EI(", 1},
    {"LI(", 1},      {"GAMMA(", 1},    {"LB(", 1},      {"SQR(", 1},    {"ARCCOT(", 1},
    {"ARCOTH(", 1},  {"COTH(", 1},     {"COT(", 1},     {"RND(", 1},    {"MAX(", 2},
    {"MIN(", 2},     {"ROOT(", 2},     {"LOG(", 2},     {"J(", 2},      {"ATAN2(", 2},
    {"POISSON(", 2}, {"NORMRAND(", 2}, {"MODULO(", 2},  {"BINO(", 2},   {"ABS(", 1},
    {"FAC(", 1},     {"BNOT(", 1},     {"        ", 1}, {"IF(", 3},     {"NOT(", 1},
    {"CEIL(", 1},    {"FLOOR(", 1},    {"ODD(", 1},     {"ROUND(", 1},  {"POIRAND(", 1},
    {"RAND(", 2},    {"POICUM(", 2},   {"GCD(", 2},     {"LCM(", 2},    {"COSEC(", 1},
    {"SEC(", 1},     {"RAMP(", 3},
}};

constexpr std::array<std::string_view, 21> kOperatorWords = {
    "",    "-",    "+",   "*",   "/", "-",  "^",  "AND", "DIV", "SHL", "OR",
    "SHR", "OVER", "XOR", "MOD", "=", "<>", ">=", "<=",  ">",   "<",
};

constexpr std::array<std::string_view, 8> kConstantNames = {
    "PI", "E", "C", "TRUE", "FALSE", "NAN", "INFINITY", "NEGINFINITY",
};

}  // namespace

std::string_view BuiltinName(int number) {
    return kNames[static_cast<std::size_t>(number - 1)].name;
}

int BuiltinArity(int number) {
    return kNames[static_cast<std::size_t>(number - 1)].arity;
}

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

std::string_view OperatorWord(int op) {
    return kOperatorWords[static_cast<std::size_t>(op)];
}

bool IsReservedWord(std::string_view identifier) {
    for (const NameEntry& entry : kNames) {
        std::string_view name = entry.name;
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
