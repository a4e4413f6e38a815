#include "parser_declarations.h"

#include <cstring>

#include "engine_messages.h"
#include "normalise.h"

namespace pc {

namespace {

constexpr int kMaxSearches = 1000;
constexpr int kMaxParameters = 9;
// No compilable term comes near this length (it holds at most 499 instructions), but
// nested calls can multiply a text exponentially before the search limit is reached.
constexpr std::size_t kMaxExpandedLength = 65536;

constexpr char kHiddenName = '\x01';   // a name that is part of a longer identifier
constexpr char kPlaceholder = '\x02';  // a callee's "?" while its arguments go in
constexpr const char* kLineBreak = "\r\n";

// Characters that may stand before a call or a parameter, and after a parameter.
constexpr const char* kBefore = "(*+-/;<=>^~";
constexpr const char* kAfter = ")*+-/;<=>^~";

bool OneOf(char ch, const char* set) {
    return ch != '\0' && std::strchr(set, ch) != nullptr;
}

bool IsLetter(char ch) {
    return ch >= 'A' && ch <= 'Z';
}

bool IsLetterOrDigit(char ch) {
    return IsLetter(ch) || (ch >= '0' && ch <= '9');
}

// Replaces every free-standing occurrence of `name` in `line` by "?" and `digit`.
std::string ReplaceParameter(const std::string& line, const std::string& name, char digit) {
    std::string result;
    result.reserve(line.size());
    std::size_t from = 0;
    for (std::size_t at = line.find(name); at != std::string::npos; at = line.find(name, at + 1)) {
        if (at < from) {
            continue;
        }
        const std::size_t end = at + name.size();
        const bool freeBefore = at == 0 || OneOf(line[at - 1], kBefore);
        const bool freeAfter = end == line.size() || OneOf(line[end], kAfter);
        if (freeBefore && freeAfter) {
            result.append(line, from, at - from);
            result += '?';
            result += digit;
            from = end;
        }
    }
    result.append(line, from, std::string::npos);
    return result;
}

// The position of the ")" closing the "(" at `open`, or npos.
std::size_t MatchingParenthesis(const std::string& text, std::size_t open) {
    long depth = 0;
    for (std::size_t i = open; i < text.size(); ++i) {
        if (text[i] == '(') {
            ++depth;
        } else if (text[i] == ')' && --depth == 0) {
            return i;
        }
    }
    return std::string::npos;
}

// Expands calls of `functions` in `text`; see ExpandDeclared.
bool Expand(std::string& text,
            const std::vector<const TParserDeclarations::DeclaredFunction*>& functions) {
    int searches = 0;
    for (;;) {
        bool substituted = false;
        for (const TParserDeclarations::DeclaredFunction* function : functions) {
            const std::string& name = function->name;
            const std::string needle = name + "(";
            bool hidden = false;
            for (;;) {
                if (++searches > kMaxSearches) {
                    return false;
                }
                const std::size_t at = text.find(needle);
                if (at == std::string::npos) {
                    break;
                }
                if (at > 0 && !OneOf(text[at - 1], kBefore)) {
                    text.replace(at, name.size(), name.size(), kHiddenName);
                    hidden = true;
                    continue;
                }

                text.erase(at, name.size());
                std::vector<std::string> arguments;
                for (int k = 0; k < function->arity; ++k) {
                    if (at >= text.size() || text[at] != '(') {
                        return false;  // fewer arguments than the declaration has
                    }
                    const std::size_t close = MatchingParenthesis(text, at);
                    if (close == std::string::npos) {
                        return false;
                    }
                    arguments.push_back(text.substr(at + 1, close - at - 1));
                    text.erase(at, close - at + 1);
                }

                // The callee's body with its placeholders filled; an argument standing
                // alone in parentheses needs no second pair.
                std::string body;
                body.reserve(function->body.size() + 2);
                body += '(';
                body += function->body;
                body += ')';
                for (char& ch : body) {
                    if (ch == '?') {
                        ch = kPlaceholder;
                    }
                }
                std::string expansion;
                expansion.reserve(body.size() + 16);
                for (std::size_t i = 0; i < body.size(); ++i) {
                    const int k =
                        i + 1 < body.size() && body[i] == kPlaceholder ? body[i + 1] - '1' : -1;
                    if (k < 0 || k >= function->arity) {
                        expansion += body[i];
                        continue;
                    }
                    const bool alone =
                        i > 0 && body[i - 1] == '(' && i + 2 < body.size() && body[i + 2] == ')';
                    const std::string& argument = arguments[static_cast<std::size_t>(k)];
                    if (!alone) {
                        expansion += '(';
                    }
                    expansion += argument;
                    if (!alone) {
                        expansion += ')';
                    }
                    ++i;
                }
                text.insert(at, expansion);
                if (text.size() > kMaxExpandedLength) {
                    return false;
                }
                substituted = true;
            }
            if (hidden) {
                for (std::size_t at = text.find(kHiddenName); at != std::string::npos;
                     at = text.find(kHiddenName, at)) {
                    text.replace(at, name.size(), name);
                }
            }
        }
        if (!substituted) {
            return true;
        }
    }
}

}  // namespace

TParserDeclarations::TParserDeclarations() = default;

void TParserDeclarations::SetConstants(std::vector<std::string> lines) {
    m_constants = std::move(lines);
    m_changeFlags |= kConstantsChanged;
}

void TParserDeclarations::SetFunctions(std::vector<std::string> lines) {
    m_functions = std::move(lines);
    m_changeFlags |= kFunctionsChanged;
}

void TParserDeclarations::UpdateDeclarations() {
    if ((m_changeFlags & kFunctionsChanged) == 0) {
        m_changeFlags = 0;
        return;
    }
    m_changeFlags = 0;
    m_declared.clear();
    m_message.clear();

    struct Candidate {
        std::string line;
        std::size_t source;
    };
    std::vector<Candidate> work;
    for (std::size_t i = 0; i < m_functions.size(); ++i) {
        const std::string& source = m_functions[i];
        std::string line = Normalise(std::string_view(source).substr(0, source.find('#')));
        if (line.empty()) {
            continue;
        }
        if (!ParenthesesBalanced(line)) {
            m_message += kLineBreak;
            m_message += msg::kWrongParenthesesInFunction;
            m_message += source;
            continue;
        }
        work.push_back({std::move(line), i});
    }

    std::vector<DeclaredFunction> valid;
    for (const Candidate& candidate : work) {
        std::string line = candidate.line;
        const std::string& source = m_functions[candidate.source];
        if (!IsLetter(line[0])) {
            m_message += kLineBreak;
            m_message += msg::kUnvalidFunctionIdentifier;
            m_message += ' ';
            continue;
        }
        std::size_t pos = 0;
        while (pos < line.size() && IsLetterOrDigit(line[pos])) {
            ++pos;
        }
        const std::string name = line.substr(0, pos);
        if (pos + 1 >= line.size() || line[pos] != '(' || !IsLetter(line[pos + 1])) {
            m_message += kLineBreak;
            m_message += msg::kUnvalidArgumentIdentifier;
            m_message += name;
            continue;
        }

        int arity = 0;
        bool parametersRead = true;
        while (pos < line.size() && line[pos] == '(') {
            const std::size_t start = pos + 1;
            std::size_t end = start;
            while (end < line.size() && IsLetterOrDigit(line[end])) {
                ++end;
            }
            if (end == start || !IsLetter(line[start]) || end >= line.size() || line[end] != ')' ||
                arity == kMaxParameters) {
                parametersRead = false;
                break;
            }
            ++arity;
            // Earlier parameters are "?k" by now, so nothing before `start` can match.
            line = ReplaceParameter(line, line.substr(start, end - start),
                                    static_cast<char>('0' + arity));
            pos = start + 2;
            if (pos + 1 < line.size() && line[pos] == ')' && line[pos + 1] == '(') {
                ++pos;
                continue;
            }
            break;
        }
        if (!parametersRead || pos + 1 >= line.size() || line[pos] != ')' || line[pos + 1] != '=') {
            m_message += kLineBreak;
            m_message += msg::kUnvalidArgumentIdentifier;
            m_message += source;
            continue;
        }
        bool duplicate = false;
        for (const DeclaredFunction& earlier : valid) {
            duplicate = duplicate || earlier.name == name;
        }
        if (duplicate) {
            m_message += msg::kDuplicateIdentifier;
            m_message += source;
            continue;
        }
        valid.push_back({name, line.substr(pos + 2), arity, candidate.source});
    }

    // Bodies are stored expanded, so a term needs one substituting pass. A body that
    // does not settle is recursive; once marked it takes no part in later expansions.
    std::vector<bool> marked(valid.size(), false);
    for (std::size_t i = 0; i < valid.size(); ++i) {
        std::vector<const DeclaredFunction*> active;
        for (std::size_t j = 0; j < valid.size(); ++j) {
            if (!marked[j]) {
                active.push_back(&valid[j]);
            }
        }
        std::string body = valid[i].body;
        if (!Expand(body, active)) {
            marked[i] = true;
            m_message += kLineBreak;
            m_message += msg::kRecursiveFunction;
            m_message += m_functions[valid[i].sourceLine];
            continue;
        }
        valid[i].body = std::move(body);
    }
    for (std::size_t i = 0; i < valid.size(); ++i) {
        if (!marked[i]) {
            m_declared.push_back(std::move(valid[i]));
        }
    }
}

bool TParserDeclarations::ExpandDeclared(std::string& text) const {
    std::vector<const DeclaredFunction*> active;
    active.reserve(m_declared.size());
    for (const DeclaredFunction& function : m_declared) {
        active.push_back(&function);
    }
    return Expand(text, active);
}

}  // namespace pc
