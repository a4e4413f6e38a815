#include "definition_check.h"

#include <algorithm>
#include <cstring>

#include "builtin_names.h"
#include "normalise.h"

namespace pc {

namespace {

bool IsLetter(char ch) {
    return ch >= 'A' && ch <= 'Z';
}

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// A letter, then letters and digits. "_" is the term's negation sign, as the compiler
// and the declarations read it, so it never belongs to a name.
bool IsIdentifier(std::string_view text) {
    if (text.empty() || !IsLetter(text[0])) {
        return false;
    }
    return std::all_of(text.begin(), text.end(),
                       [](char ch) { return IsLetter(ch) || IsDigit(ch); });
}

bool Contains(const std::vector<std::string>& list, std::string_view name) {
    return std::any_of(list.begin(), list.end(),
                       [name](const std::string& entry) { return entry == name; });
}

bool OneOf(char ch, const char* set) {
    return ch != '\0' && std::strchr(set, ch) != nullptr;
}

// Whether s[i] directly follows a comparison ("=", "<", ">", "<>", "<=", ">=", "!="),
// where a sign is a sign; the shifts "<<" and ">>" are no comparisons.
bool FollowsComparison(std::string_view s, std::size_t i) {
    if (i == 0 || !OneOf(s[i - 1], "<=>")) {
        return false;
    }
    return s[i - 1] == '=' || i < 2 || s[i - 2] != s[i - 1];
}

// The right-hand side's quick syntax test: no operator directly followed by another
// or by ")", no leading ")", "*", "/" or "^", no trailing operator or "(". A sign after
// "(" or after a comparison is no second operator.
bool PassesPreCheck(std::string_view s) {
    if (s.empty() || OneOf(s.front(), ")*/^") || OneOf(s.back(), "(*+-/<=>^")) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < s.size(); ++i) {
        const char ch = s[i];
        const bool sign = ch == '+' || ch == '-';
        if (sign && (i == 0 || s[i - 1] == '(' || FollowsComparison(s, i))) {
            continue;
        }
        if (sign && i >= 2 && s[i - 1] == 'E' && (IsDigit(s[i - 2]) || s[i - 2] == '.')) {
            continue;
        }
        if (ch == '<' && s[i + 1] == '<' && (i == 0 || s[i - 1] != '<')) {
            continue;  // the shift "<<" is one operator, as ">>" is
        }
        const bool signAfterComparison = OneOf(s[i + 1], "+-") && FollowsComparison(s, i + 1);
        if (OneOf(ch, "*+-/<=>^~") && OneOf(s[i + 1], ")*+-/<^~") && !signAfterComparison) {
            return false;
        }
    }
    return true;
}

bool IsTokenChar(char ch) {
    return IsLetter(ch) || IsDigit(ch) || ch == '.' || ch == '$';
}

// Collects the identifiers of the right-hand side. Runs that start with a digit, "." or
// "$" are numbers (1E5, $FF), not identifiers, just as the compiler reads them.
void ScanIdentifiers(std::string_view rhs, const std::vector<std::string>& variables,
                     std::vector<std::string>& functions, std::vector<std::string>& parameters) {
    std::size_t i = 0;
    while (i < rhs.size()) {
        if (!IsTokenChar(rhs[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < rhs.size() && IsTokenChar(rhs[end])) {
            ++end;
        }
        const std::string_view token = rhs.substr(i, end - i);
        i = end;
        if (!IsIdentifier(token) || IsReservedWord(token)) {
            continue;
        }
        if (end < rhs.size() && rhs[end] == '(') {
            if (!Contains(functions, token)) {
                functions.emplace_back(token);
            }
        } else if (!Contains(parameters, token) && !Contains(variables, token)) {
            parameters.emplace_back(token);
        }
    }
}

}  // namespace

DefinitionStatus ParseDefinition(std::string_view definition, std::string& name,
                                 std::string& rightHandSide, std::vector<std::string>* variables,
                                 std::vector<std::string>* functions,
                                 std::vector<std::string>* parameters) {
    std::vector<std::string> localVariables;
    std::vector<std::string> localFunctions;
    std::vector<std::string> localParameters;
    std::vector<std::string>& vars = variables != nullptr ? *variables : localVariables;
    std::vector<std::string>& calls = functions != nullptr ? *functions : localFunctions;
    std::vector<std::string>& params = parameters != nullptr ? *parameters : localParameters;
    // Lists left over from an earlier definition must never stand for this one.
    vars.clear();
    calls.clear();
    params.clear();
    name.clear();

    const std::string text = Normalise(definition);
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) {
        rightHandSide.clear();
    } else {
        rightHandSide.assign(1, '(');
        rightHandSide.append(text, equals + 1);
        rightHandSide += ')';
    }
    if (text.empty()) {
        return DefinitionStatus::BadTerm;
    }
    if (!ParenthesesBalanced(text)) {
        return DefinitionStatus::Parentheses;
    }
    if (equals == std::string::npos) {
        return DefinitionStatus::NoEquals;
    }

    const std::string_view left = std::string_view(text).substr(0, equals);
    const std::size_t open = left.find('(');
    if (open == std::string_view::npos) {
        return DefinitionStatus::NoParenthesis;
    }
    name = std::string(left.substr(0, open));
    if (!IsIdentifier(name)) {
        return DefinitionStatus::BadName;
    }

    std::string variable;
    for (char ch : left.substr(open + 1)) {
        if (IsLetter(ch) || (IsDigit(ch) && !variable.empty())) {
            variable.push_back(ch);
        } else if (ch == ')') {
            if (IsIdentifier(variable) && !Contains(vars, variable)) {
                vars.push_back(variable);
            }
            variable.clear();
        } else {
            return DefinitionStatus::BadVariable;
        }
    }

    // A definition without a variable takes X, which its term must then not turn into a
    // parameter as well: the sampler and the family would both set it.
    if (vars.empty()) {
        vars.emplace_back("X");
    }
    ScanIdentifiers(rightHandSide, vars, calls, params);
    return PassesPreCheck(std::string_view(text).substr(equals + 1)) ? DefinitionStatus::Ok
                                                                     : DefinitionStatus::BadTerm;
}

}  // namespace pc
