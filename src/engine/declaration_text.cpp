#include "declaration_text.h"

#include <algorithm>
#include <array>
#include <map>

#include "engine_messages.h"
#include "normalise.h"

namespace pc {

namespace {

// At most this many calls are substituted in one expansion: recursion and exponential
// growth end there. Only substitutions count, not the names looked for, so any number of
// declared functions can be in force.
constexpr int kMaxSubstitutions = 1000;
constexpr int kMaxParameters = 9;
// No compilable term comes near this length (it holds at most 499 instructions), but
// nested calls can multiply a text exponentially before the substitution limit is reached.
constexpr std::size_t kMaxExpandedLength = 65536;

constexpr const char* kLineBreak = "\r\n";

// What a character is to a declaration: texts are scanned character by character, so
// the classes come from a table.
enum CharClass : unsigned char {
    kLetter = 1,
    kDigit = 2,
    kBefore = 4,  // may stand before a call or a parameter: ( * + - / ; < = > ^ ~
    kAfter = 8,   // may stand after a parameter: ) * + - / ; < = > ^ ~
};

constexpr std::array<unsigned char, 256> kClasses = [] {
    std::array<unsigned char, 256> classes{};
    for (char ch = 'A'; ch <= 'Z'; ++ch) {
        classes[static_cast<unsigned char>(ch)] |= kLetter;
    }
    for (char ch = '0'; ch <= '9'; ++ch) {
        classes[static_cast<unsigned char>(ch)] |= kDigit;
    }
    for (char ch : std::string_view("*+-/;<=>^~")) {
        classes[static_cast<unsigned char>(ch)] |= kBefore | kAfter;
    }
    classes['('] |= kBefore;
    classes[')'] |= kAfter;
    return classes;
}();

bool Is(char ch, unsigned char charClass) {
    return (kClasses[static_cast<unsigned char>(ch)] & charClass) != 0;
}

bool IsLetter(char ch) {
    return Is(ch, kLetter);
}

bool IsLetterOrDigit(char ch) {
    return Is(ch, kLetter | kDigit);
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
        const bool freeBefore = at == 0 || Is(line[at - 1], kBefore);
        const bool freeAfter = end == line.size() || Is(line[end], kAfter);
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
std::size_t MatchingParenthesis(std::string_view text, std::size_t open) {
    long depth = 0;
    for (std::size_t i = open; i < text.size(); ++i) {
        if (text[i] == '(') {
            ++depth;
        } else if (text[i] == ')' && --depth == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

// Finds the first call at or after `from`: a name of letters and digits that starts with
// a letter, stands at the start or after one of kBefore, and is followed by "(". A name
// that ends a longer identifier (the F of XF(1)) is no call.
bool NextCall(std::string_view text, std::size_t from, std::size_t& start, std::size_t& open) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (!IsLetter(text[i]) || (i > 0 && !Is(text[i - 1], kBefore))) {
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && IsLetterOrDigit(text[end])) {
            ++end;
        }
        if (end < text.size() && text[end] == '(') {
            start = i;
            open = end;
            return true;
        }
        i = end - 1;  // the rest of the identifier starts no call
    }
    return false;
}

// The first call at or after `from` of the function whose name and "(" are `needle`, or
// npos; an occurrence that ends a longer identifier is none.
std::size_t FindCall(std::string_view text, std::string_view needle, std::size_t from) {
    for (std::size_t at = text.find(needle, from); at != std::string_view::npos;
         at = text.find(needle, at + 1)) {
        if (at == 0 || Is(text[at - 1], kBefore)) {
            return at;
        }
    }
    return std::string_view::npos;
}

// Replaces the call of `callee` whose name starts at `start` (its "(" at `open`) by
// "(" + the body + ")", each parameter "?k" of the body replaced by the k-th argument in
// parentheses, or bare where it stands alone in a pair of parentheses. False when
// arguments are missing or the text would grow too long.
bool Substitute(std::string& text, std::size_t start, std::size_t open, const Callee& callee,
                std::string& expansion) {
    std::string_view arguments[kMaxParameters];
    std::size_t end = open;
    for (int k = 0; k < callee.arity; ++k) {
        if (end >= text.size() || text[end] != '(') {
            return false;  // fewer arguments than the declaration has
        }
        const std::size_t close = MatchingParenthesis(text, end);
        if (close == std::string_view::npos) {
            return false;
        }
        arguments[k] = std::string_view(text).substr(end + 1, close - end - 1);
        end = close + 1;
    }
    const std::string& body = *callee.body;
    expansion.assign(1, '(');
    for (std::size_t i = 0; i < body.size(); ++i) {
        const int k = body[i] == '?' && i + 1 < body.size() ? body[i + 1] - '1' : -1;
        if (k < 0 || k >= callee.arity) {
            expansion += body[i];
            continue;
        }
        // Alone inside the parentheses around the body counts as well.
        const bool alone =
            (i == 0 || body[i - 1] == '(') && (i + 2 == body.size() || body[i + 2] == ')');
        if (!alone) {
            expansion += '(';
        }
        expansion += arguments[k];
        if (!alone) {
            expansion += ')';
        }
        ++i;
    }
    expansion += ')';
    if (text.size() - (end - start) + expansion.size() > kMaxExpandedLength) {
        return false;
    }
    text.replace(start, end - start, expansion);
    return true;
}

// The names called in `body`, each once, in order.
std::vector<std::string> CalledNames(std::string_view body) {
    std::vector<std::string> names;
    std::size_t start = 0;
    std::size_t open = 0;
    for (std::size_t from = 0; NextCall(body, from, start, open); from = open + 1) {
        const std::string_view name = body.substr(start, open - start);
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            names.emplace_back(name);
        }
    }
    return names;
}

}  // namespace

ParsedLine ParseLine(const std::string& source) {
    ParsedLine parsed;
    std::string line = Normalise(std::string_view(source).substr(0, source.find('#')));
    if (line.empty()) {
        return parsed;
    }
    if (!ParenthesesBalanced(line)) {
        parsed.parenthesesMessage = kLineBreak;
        parsed.parenthesesMessage += msg::kWrongParenthesesInFunction;
        parsed.parenthesesMessage += source;
        return parsed;
    }
    if (!IsLetter(line[0])) {
        parsed.formMessage = kLineBreak;
        parsed.formMessage += msg::kUnvalidFunctionIdentifier;
        parsed.formMessage += ' ';
        return parsed;
    }
    std::size_t pos = 0;
    while (pos < line.size() && IsLetterOrDigit(line[pos])) {
        ++pos;
    }
    std::string name = line.substr(0, pos);
    if (pos + 1 >= line.size() || line[pos] != '(' || !IsLetter(line[pos + 1])) {
        parsed.formMessage = kLineBreak;
        parsed.formMessage += msg::kUnvalidArgumentIdentifier;
        parsed.formMessage += name;
        return parsed;
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
        line =
            ReplaceParameter(line, line.substr(start, end - start), static_cast<char>('0' + arity));
        pos = start + 2;
        if (pos + 1 < line.size() && line[pos] == ')' && line[pos + 1] == '(') {
            ++pos;
            continue;
        }
        break;
    }
    if (!parametersRead || pos + 1 >= line.size() || line[pos] != ')' || line[pos + 1] != '=') {
        parsed.formMessage = kLineBreak;
        parsed.formMessage += msg::kUnvalidArgumentIdentifier;
        parsed.formMessage += source;
        return parsed;
    }
    parsed.function = true;
    parsed.name = std::move(name);
    parsed.rawBody = line.substr(pos + 2);
    parsed.arity = arity;
    parsed.callees = CalledNames(parsed.rawBody);
    return parsed;
}

bool ExpandCalls(std::string& text, const std::function<Callee(std::string_view)>& resolve) {
    // Only the functions called in the text are looked at, and only substitutions count
    // towards the limit, so recursion and blow-up end the expansion however many
    // functions are declared.
    int substitutions = 0;
    std::map<std::size_t, Callee> due;  // the functions still to take in this pass, by order
    std::string expansion;
    std::string needle;
    for (;;) {
        bool substituted = false;
        std::size_t start = 0;
        std::size_t open = 0;
        for (std::size_t from = 0; NextCall(text, from, start, open); from = open + 1) {
            const Callee callee = resolve(std::string_view(text).substr(start, open - start));
            if (callee.name != nullptr) {
                due.emplace(callee.order, callee);
            }
        }
        while (!due.empty()) {
            const Callee callee = due.begin()->second;
            due.erase(due.begin());
            needle = *callee.name;
            needle += '(';
            for (std::size_t at = FindCall(text, needle, 0); at != std::string::npos;
                 at = FindCall(text, needle, at)) {
                if (++substitutions > kMaxSubstitutions ||
                    !Substitute(text, at, at + callee.name->size(), callee, expansion)) {
                    return false;
                }
                substituted = true;
                if (callee.calls == nullptr) {
                    continue;
                }
                // A body calling itself brings a call that this very loop finds next, so
                // it substitutes until the limit: fail now rather than then.
                if (std::find(callee.calls->begin(), callee.calls->end(), *callee.name) !=
                    callee.calls->end()) {
                    return false;
                }
                // The copied arguments call only functions already due or taken; the body
                // may call more, which this pass takes if they come later.
                for (const std::string& name : *callee.calls) {
                    const Callee called = resolve(name);
                    if (called.name != nullptr && called.order > callee.order) {
                        due.emplace(called.order, called);
                    }
                }
            }
        }
        if (!substituted) {
            return true;
        }
    }
}

}  // namespace pc
