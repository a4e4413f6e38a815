#include "compiler.h"

#include <cmath>
#include <cstring>
#include <map>
#include <memory>

#include "builtin_names.h"
#include "builtins.h"
#include "engine_messages.h"
#include "machine.h"
#include "normalise.h"
#include "number_text.h"

namespace pc {

namespace {

// The working term is held as symbols rather than bytes, so that the markers the
// compiler inserts can never be confused with anything a user typed.
constexpr int kCallMarker = 256;          // stands where a built-in name's "(" was
constexpr int kEndMarker = 257;           // the terminator after the last character
constexpr int kFunctionMarkerBase = 512;  // + function number, just before kCallMarker

constexpr int kMaxConstantDepth = 100;
// Binding priorities are stored in 16 bits: level + 5 must fit.
constexpr int kMaxLevel = 32000;

struct CompileSession {
    Extended angleFactor = 1;
    const std::vector<std::string>* constants = nullptr;
    int depth = 0;
    // Each declared constant is valued once per compilation: a chain of constants that
    // each use the next several times would otherwise cost exponential time (and a
    // constant such as R=RND(1) keeps one value throughout the term).
    std::map<std::string, Extended> valued;
};

struct Valuation {
    ParserStatus status = ParserStatus::Ok;
    std::string message;
    Extended value = 0;
};

CompileResult CompileWith(CompileSession& session, std::string_view term,
                          const std::vector<std::string>& variables, TInstructionList& list);

Extended EulerNumber() {
    static const Extended e = std::exp(1.0L);
    return e;
}

bool ReadHexadecimal(std::string_view digits, Extended& value) {
    if (digits.empty() || digits.size() > 16) {
        return false;
    }
    unsigned long long result = 0;
    for (char ch : digits) {
        int digit;
        if (ch >= '0' && ch <= '9') {
            digit = ch - '0';
        } else if (ch >= 'A' && ch <= 'F') {
            digit = ch - 'A' + 10;
        } else if (ch >= 'a' && ch <= 'f') {
            digit = ch - 'a' + 10;
        } else {
            return false;
        }
        result = result * 16 + static_cast<unsigned long long>(digit);
    }
    value = static_cast<Extended>(result);
    return true;
}

// Finds the right-hand side of the declared constant `name`; false when none is declared.
bool FindConstant(const std::vector<std::string>& constants, std::string_view name,
                  std::string& rhs) {
    for (const std::string& line : constants) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        if (SameName(Normalise(std::string_view(line).substr(0, equals)), name)) {
            rhs = line.substr(equals + 1);
            return true;
        }
    }
    return false;
}

// Values an operand that is not a variable: a named constant, a hexadecimal or decimal
// number, a declared constant, or else 0.
Valuation ValueOperand(CompileSession& session, const std::string& text) {
    if (session.depth > kMaxConstantDepth) {
        return {ParserStatus::DeclaredCall, msg::kRecursiveConstants, 0};
    }
    struct DepthGuard {
        int& depth;
        explicit DepthGuard(int& d) : depth(d) { ++depth; }
        ~DepthGuard() { --depth; }
    } guard(session.depth);

    if (text == "PI")
        return {ParserStatus::Ok, {}, kPi};
    if (text == "E")
        return {ParserStatus::Ok, {}, EulerNumber()};
    if (text == "C")
        return {ParserStatus::Ok, {}, kEulerGamma};
    if (text == "TRUE")
        return {ParserStatus::Ok, {}, 1};
    if (text == "FALSE")
        return {ParserStatus::Ok, {}, 0};
    if (text == "INFINITY")
        return {ParserStatus::Ok, {}, kInfinity};
    if (text == "NEGINFINITY")
        return {ParserStatus::Ok, {}, -kInfinity};
    if (text == "NAN")
        return {ParserStatus::NaN, msg::kNaNAborted, kNaN};

    Extended value = 0;
    if (!text.empty() && text[0] == '$') {
        if (!ReadHexadecimal(std::string_view(text).substr(1), value)) {
            return {ParserStatus::Syntax, msg::kCannotReadConstants, 0};
        }
        return {ParserStatus::Ok, {}, value};
    }
    if (ParseNumber(text, value)) {
        return {ParserStatus::Ok, {}, value};
    }

    if (const auto known = session.valued.find(text); known != session.valued.end()) {
        return {ParserStatus::Ok, {}, known->second};
    }
    std::string rhs;
    if (!FindConstant(*session.constants, text, rhs)) {
        return {ParserStatus::Ok, {}, 0};  // an unknown identifier counts as 0
    }
    auto list = std::make_unique<TInstructionList>();
    const CompileResult compiled = CompileWith(session, Normalise(rhs), {}, *list);
    if (compiled.status != ParserStatus::Ok) {
        return {compiled.status, compiled.message, 0};
    }
    const MachineOutcome outcome = RunMachine(list->data(), nullptr, 0, session.angleFactor);
    if (outcome.status != ParserStatus::Ok) {
        return {outcome.status, outcome.message, 0};
    }
    session.valued.emplace(text, outcome.value);
    return {ParserStatus::Ok, {}, outcome.value};
}

bool IsFailureHead(char ch) {
    return ch == ')' || ch == '*' || ch == '/' || ch == '^';
}

// The length of the comparison operator that starts at t[j] ("=", "<", ">", "<>", "<=",
// ">=", "!="), or 0. The shifts "<<" and ">>" are no comparisons.
std::size_t ComparisonLength(const std::string& t, std::size_t j) {
    const char next = j + 1 < t.size() ? t[j + 1] : '\0';
    switch (t[j]) {
        case '=':
            return 1;
        case '<':
            return next == '<' ? 0 : next == '>' || next == '=' ? 2 : 1;
        case '>':
            return next == '>' ? 0 : next == '=' ? 2 : 1;
        case '!':
            return next == '=' ? 2 : 0;
        default:
            return 0;
    }
}

// The first pass: negation signs, dropped plus signs and exponent signs, and the checks for
// operators without operands. Returns Ok or the failing status.
ParserStatus PrepareSigns(std::string& t) {
    std::size_t i = 0;
    while (i < t.size() && t[i] == '(') {
        ++i;
    }
    // A deleted "+" leaves the character after it to be examined like any other, so
    // that "+(-2)" still sees its inner run of "(".
    std::size_t j = i + 1;
    if (i < t.size()) {
        if (t[i] == '-') {
            t[i] = '_';
        } else if (t[i] == '+') {
            t.erase(i, 1);
            j = i;
        }
        if (i < t.size() && IsFailureHead(t[i])) {
            return ParserStatus::MissingOperand;
        }
    }
    while (j < t.size()) {
        const char ch = t[j];
        if (ch == '(') {
            std::size_t k = j;
            while (k < t.size() && t[k] == '(') {
                ++k;
            }
            j = k + 1;  // the character after the run is not checked for a missing operand
            if (k < t.size()) {
                if (t[k] == '-') {
                    t[k] = '_';
                } else if (t[k] == '+') {
                    t.erase(k, 1);
                    j = k;
                }
            }
            continue;
        }
        const char before = j > 0 ? t[j - 1] : '\0';
        if (ch == 'E' && ((before >= '0' && before <= '9') || before == '.')) {
            if (j + 1 < t.size() && t[j + 1] == '-') {
                t[j + 1] = '.';  // read back as "E-" when the number is valued
                j += 2;
                continue;
            }
            if (j + 1 < t.size() && t[j + 1] == '+') {
                t.erase(j + 1, 1);
            }
            ++j;
            continue;
        }
        if ((ch == '<' || ch == '>') && j + 1 < t.size() && t[j + 1] == ch) {
            j += 2;  // a shift
            continue;
        }
        if (const std::size_t length = ComparisonLength(t, j); length != 0) {
            // A sign right after a comparison is a sign, as after "(": X=-1 compares X with
            // minus one. Unlike after "(", the sign is then checked like any operator.
            j += length;
            if (j < t.size() && t[j] == '-') {
                t[j] = '_';
            } else if (j < t.size() && t[j] == '+') {
                t.erase(j, 1);
            }
            continue;
        }
        if (IsOperatorChar(ch) && ch != '!' && ch != '<' && ch != '=' && ch != '>' &&
            j + 1 < t.size() && (IsOperatorChar(t[j + 1]) || t[j + 1] == ')')) {
            return ParserStatus::MissingOperand;
        }
        ++j;
    }
    if (t.empty()) {
        return ParserStatus::EmptyTerm;
    }
    const char last = t.back();
    if (IsOperatorChar(last) || last == '(') {
        return ParserStatus::MissingOperand;
    }
    return ParserStatus::Ok;
}

bool IsDelimiterSymbol(int symbol) {
    return symbol == '(' || symbol == ')' || symbol == kCallMarker || symbol == kEndMarker ||
           (symbol < 256 && IsOperatorChar(symbol));
}

// The built-in whose name (with its "(") ends at t[p], earliest in table order; 0 if none.
int BuiltinEndingAt(const std::string& t, std::size_t p) {
    for (int number = 1; number <= kBuiltinCount; ++number) {
        const std::string_view name = BuiltinAt(number).name;
        if (name.size() <= p + 1 &&
            std::string_view(t).substr(p + 1 - name.size(), name.size()) == name) {
            return number;
        }
    }
    return 0;
}

class TermCompiler {
  public:
    TermCompiler(CompileSession& session, const std::vector<std::string>& variables,
                 TInstructionList& list)
        : m_session(session), m_variables(variables), m_list(list) {}

    CompileResult Run(std::string_view term) {
        std::string t(term);
        if (const ParserStatus status = PrepareSigns(t); status != ParserStatus::Ok) {
            return Fail(status, status == ParserStatus::EmptyTerm ? msg::kInvalidFunctionTerm
                                                                  : msg::kMissingOperandInTerm);
        }
        ReplaceBuiltinNames(t);
        if (!CheckUndefinedFunctions()) {
            return m_result;
        }
        m_symbols.push_back(kEndMarker);
        m_consumed.push_back(false);
        if (!Scan()) {
            return m_result;
        }
        for (std::size_t i = 0; i < m_symbols.size(); ++i) {
            if (!m_consumed[i]) {
                return Fail(ParserStatus::Syntax, msg::kSyntaxError);
            }
        }
        m_result.count = m_out;
        return m_result;
    }

  private:
    CompileResult Fail(ParserStatus status, std::string message) {
        m_result.status = status;
        m_result.message = std::move(message);
        m_result.count = 0;
        return m_result;
    }

    // Every built-in name becomes a function marker and a call marker, both
    // consumed; the term's other characters still have to be consumed by the scan.
    void ReplaceBuiltinNames(const std::string& t) {
        m_symbols.reserve(t.size() + 1);
        m_consumed.reserve(t.size() + 1);
        for (std::size_t p = 0; p < t.size(); ++p) {
            const auto ch = static_cast<unsigned char>(t[p]);
            const int number = ch == '(' ? BuiltinEndingAt(t, p) : 0;
            if (number == 0) {
                m_symbols.push_back(ch);
                m_consumed.push_back(false);
                continue;
            }
            // A name holds no "(" before its last character, so it cannot reach back
            // into an earlier replacement.
            const std::size_t drop = BuiltinAt(number).name.size() - 1;
            m_symbols.resize(m_symbols.size() - drop);
            m_consumed.resize(m_consumed.size() - drop);
            m_symbols.push_back(kFunctionMarkerBase + number);
            m_symbols.push_back(kCallMarker);
            m_consumed.push_back(true);
            m_consumed.push_back(true);
        }
    }

    bool CheckUndefinedFunctions() {
        for (std::size_t p = 1; p < m_symbols.size(); ++p) {
            if (m_symbols[p] != '(' || IsDelimiterSymbol(m_symbols[p - 1])) {
                continue;
            }
            std::size_t start = p - 1;
            while (start > 0 && !IsDelimiterSymbol(m_symbols[start - 1])) {
                --start;
            }
            Fail(ParserStatus::Syntax, msg::kUndefinedFunction + SymbolText(start, p));
            return false;
        }
        return true;
    }

    std::string SymbolText(std::size_t begin, std::size_t end) const {
        std::string text;
        text.reserve(end - begin);
        for (std::size_t i = begin; i < end; ++i) {
            if (m_symbols[i] < 256) {
                text.push_back(static_cast<char>(m_symbols[i]));
            }
        }
        return text;
    }

    // The scan proper: operands are emitted as they end, operators go through the stack.
    bool Scan() {
        int level = 0;
        std::size_t operandStart = 0;
        for (std::size_t p = 0;; ++p) {
            const int symbol = m_symbols[p];
            if (!IsDelimiterSymbol(symbol)) {
                continue;
            }
            m_consumed[p] = true;
            if (symbol == '(') {
                level += 10;
                operandStart = p + 1;
            } else if (symbol == kCallMarker) {
                // The pending operand (the function marker and anything typed before the
                // name) is dropped unconsumed, so stray characters fail as a syntax error.
                const int number = m_symbols[p - 1] - kFunctionMarkerBase;
                if (!PushOperator(TermKind::Function, number, level + 5)) {
                    return false;
                }
                level += 10;
                operandStart = p + 1;
            } else if (symbol == ')') {
                if (!EmitOperand(operandStart, p)) {
                    return false;
                }
                while (m_stackCount > 0 && Top().Priority >= level) {
                    Pop();
                }
                level -= 10;
                operandStart = p + 1;
            } else if (symbol == kEndMarker) {
                if (!EmitOperand(operandStart, p)) {
                    return false;
                }
                while (m_stackCount > 0) {
                    Pop();
                }
                if (m_out >= kInstructionListSize) {
                    Fail(ParserStatus::EmptyTerm, msg::kTermTooLong);
                    return false;
                }
                m_list[static_cast<std::size_t>(m_out)] = TTermInstruction{};
                return true;
            } else {
                if (!EmitOperand(operandStart, p)) {
                    return false;
                }
                TermOperator op = TermOperator::Add;
                int priority = 0;
                ClassifyOperator(p, op, priority);
                operandStart = p + 1;
                if (!PushOperator(TermKind::Operator, CodeOf(op), level + priority)) {
                    return false;
                }
            }
            if (level > kMaxLevel || level < -kMaxLevel) {
                Fail(ParserStatus::EmptyTerm, msg::kTermTooDeep);
                return false;
            }
        }
    }

    // Reads the operator at p (consuming a two-character operator's second character).
    void ClassifyOperator(std::size_t& p, TermOperator& op, int& priority) {
        const int next = m_symbols[p + 1];
        auto takeSecond = [&] {
            m_consumed[p + 1] = true;
            ++p;
        };
        switch (m_symbols[p]) {
            case '-':
                op = TermOperator::Subtract;
                priority = 1;
                break;
            case '+':
                op = TermOperator::Add;
                priority = 1;
                break;
            case '*':
                op = TermOperator::Multiply;
                priority = 3;
                break;
            case '/':
                op = TermOperator::Divide;
                priority = 3;
                break;
            case '_':
                op = TermOperator::Negate;
                priority = 3;
                break;
            case '^':
                op = TermOperator::Power;
                priority = 4;
                break;
            case '&':
                op = TermOperator::And;
                priority = 2;
                break;
            case '\\':
                op = TermOperator::IntegerDivide;
                priority = 3;
                break;
            case '{':
                op = TermOperator::ShiftLeft;
                priority = 2;
                break;
            case '|':
                op = TermOperator::Or;
                priority = 1;
                break;
            case '}':
                op = TermOperator::ShiftRight;
                priority = 2;
                break;
            case '`':
                op = TermOperator::Binomial;
                priority = 4;
                break;
            case ':':
                op = TermOperator::Xor;
                priority = 1;
                break;
            case '%':
                op = TermOperator::Modulo;
                priority = 3;
                break;
            case '=':
                op = TermOperator::Equal;
                priority = 0;
                break;
            case '!':
                if (next == '=') {
                    takeSecond();
                    op = TermOperator::NotEqual;
                    priority = 0;
                } else {
                    op = TermOperator::Not;
                    priority = 3;
                }
                break;
            case '<':
                priority = 0;
                if (next == '>') {
                    takeSecond();
                    op = TermOperator::NotEqual;
                } else if (next == '=') {
                    takeSecond();
                    op = TermOperator::LessEqual;
                } else if (next == '<') {
                    takeSecond();
                    op = TermOperator::ShiftLeft;
                } else {
                    op = TermOperator::Less;
                }
                break;
            case '>':
                priority = 0;
                if (next == '=') {
                    takeSecond();
                    op = TermOperator::GreaterEqual;
                } else if (next == '>') {
                    takeSecond();
                    op = TermOperator::ShiftRight;
                } else {
                    op = TermOperator::Greater;
                }
                break;
            default:
                break;
        }
    }

    TTermInstruction& Top() {
        return m_list[static_cast<std::size_t>(kInstructionListSize - m_stackCount)];
    }

    bool HasRoom() {
        if (m_out + m_stackCount >= kInstructionListSize) {
            Fail(ParserStatus::EmptyTerm, msg::kTermTooLong);
            return false;
        }
        return true;
    }

    void Pop() {
        m_list[static_cast<std::size_t>(m_out++)] = Top();
        --m_stackCount;
    }

    bool PushOperator(TermKind kind, int code, int priority) {
        while (m_stackCount > 0 && Top().Priority >= priority) {
            Pop();
        }
        if (!HasRoom()) {
            return false;
        }
        ++m_stackCount;
        TTermInstruction& record = Top();
        record = TTermInstruction{};
        record.Kind = kind;
        record.Code = static_cast<std::int16_t>(code);
        record.Priority = static_cast<std::int16_t>(priority);
        return true;
    }

    // The operand between `begin` and `end`, if any, becomes the next record.
    bool EmitOperand(std::size_t begin, std::size_t end) {
        if (begin >= end) {
            return true;
        }
        for (std::size_t i = begin; i < end; ++i) {
            m_consumed[i] = true;
        }
        std::string text = SymbolText(begin, end);
        if (!HasRoom()) {
            return false;
        }
        TTermInstruction record;
        for (std::size_t index = 0; index < m_variables.size() && index <= 32767; ++index) {
            if (SameName(m_variables[index], text)) {
                record.Kind = TermKind::Variable;
                record.Code = static_cast<std::int16_t>(index);
                m_list[static_cast<std::size_t>(m_out++)] = record;
                return true;
            }
        }
        for (std::size_t at = text.find("E."); at != std::string::npos;
             at = text.find("E.", at + 2)) {
            text[at + 1] = '-';
        }
        Valuation valuation = ValueOperand(m_session, text);
        if (valuation.status == ParserStatus::NaN) {
            Fail(ParserStatus::NaN, std::move(valuation.message));
            return false;
        }
        if (valuation.status != ParserStatus::Ok) {
            Fail(ParserStatus::Syntax, text + msg::kUnknownOperandSuffix);
            return false;
        }
        record.Kind = TermKind::Constant;
        record.Value = valuation.value;
        m_list[static_cast<std::size_t>(m_out++)] = record;
        return true;
    }

    CompileSession& m_session;
    const std::vector<std::string>& m_variables;
    TInstructionList& m_list;
    std::vector<int> m_symbols;
    std::vector<bool> m_consumed;
    int m_out = 0;
    int m_stackCount = 0;
    CompileResult m_result;
};

CompileResult CompileWith(CompileSession& session, std::string_view term,
                          const std::vector<std::string>& variables, TInstructionList& list) {
    return TermCompiler(session, variables, list).Run(term);
}

}  // namespace

CompileResult Compile(std::string_view term, Extended angleFactor,
                      const std::vector<std::string>& variables,
                      const std::vector<std::string>& constants, TInstructionList& list) {
    CompileSession session;
    session.angleFactor = angleFactor;
    session.constants = &constants;
    return CompileWith(session, term, variables, list);
}

}  // namespace pc
