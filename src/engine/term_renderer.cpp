#include "term_renderer.h"

#include <cmath>
#include <limits>
#include <utility>

#include "builtin_names.h"
#include "builtins.h"
#include "number_text.h"

namespace pc {

namespace {

struct Piece {
    std::string text;
    int tag = 0;        // the binding priority of the text's outermost operator; 0 for operands
    bool sign = false;  // the text starts with a negation sign
};

// A negative constant reads back as a negation, which binds less than an operator whose
// operand it is ("X*-1" is no term, "-1^2" is -(1^2)), so it is put in parentheses there.
constexpr int kAlwaysParenthesised = std::numeric_limits<int>::max();

std::string ConstantText(Extended value, int digits) {
    // Written as the names the term language reads, so the text keeps its meaning.
    if (std::isinf(value)) {
        return value > 0 ? "INFINITY" : "NEGINFINITY";
    }
    return FormatGeneral(value, digits);
}

std::string Wrapped(const Piece& piece, int priority, bool always) {
    if (!always && piece.tag <= priority) {
        return piece.text;
    }
    std::string text;
    text.reserve(piece.text.size() + 2);
    text += '(';
    text += piece.text;
    text += ')';
    return text;
}

}  // namespace

std::string RenderTerm(const TTermInstruction* list, const std::vector<std::string>& variables,
                       int digits) {
    std::vector<Piece> stack;
    // A malformed term (such as SIN()) renders its missing operands as empty texts
    // rather than reading outside the stack.
    auto pop = [&stack] {
        if (stack.empty()) {
            return Piece{};
        }
        Piece piece = std::move(stack.back());
        stack.pop_back();
        return piece;
    };

    for (int i = 0; i < kInstructionListSize && list[i].Kind != TermKind::End; ++i) {
        const TTermInstruction& instruction = list[i];
        const int priority = instruction.Priority;
        switch (instruction.Kind) {
            case TermKind::Constant:
                if (instruction.Value < 0 && std::isfinite(instruction.Value)) {
                    stack.push_back(
                        {ConstantText(instruction.Value, digits), kAlwaysParenthesised, true});
                } else {
                    stack.push_back({ConstantText(instruction.Value, digits), 0});
                }
                break;
            case TermKind::Variable: {
                const auto index = static_cast<std::size_t>(instruction.Code);
                stack.push_back(
                    {index < variables.size() ? variables[index] : std::string("?"), 0});
                break;
            }
            case TermKind::Operator: {
                const int code = instruction.Code;
                const TermOperator op = OperatorOf(instruction);
                if (op == TermOperator::Negate || op == TermOperator::Not) {
                    const Piece operand = pop();
                    std::string text(1, op == TermOperator::Negate ? '-' : '!');
                    text += Wrapped(operand, priority, false);
                    stack.push_back({std::move(text), priority, op == TermOperator::Negate});
                    break;
                }
                const Piece right = pop();
                const Piece left = pop();
                const bool integerOperator = op >= TermOperator::And && op <= TermOperator::Modulo;
                std::string text = Wrapped(left, priority, integerOperator);
                text += code >= 1 && code <= CodeOf(TermOperator::Less) ? OperatorWord(op) : "?";
                // After a comparison a sign reads as a sign: X=-1.
                const bool comparison = op >= TermOperator::Equal && op <= TermOperator::Less;
                text += comparison && right.sign ? right.text
                                                 : Wrapped(right, priority, integerOperator);
                stack.push_back({std::move(text), priority});
                break;
            }
            case TermKind::Function: {
                const int number = instruction.Code;
                const bool known = number >= 1 && number <= kBuiltinCount;
                const int arity = known ? BuiltinAt(number).arity : 1;
                std::vector<Piece> arguments(static_cast<std::size_t>(arity));
                for (int k = arity - 1; k >= 0; --k) {
                    arguments[static_cast<std::size_t>(k)] = pop();
                }
                std::string text(known ? BuiltinAt(number).name : "?(");
                for (std::size_t k = 0; k < arguments.size(); ++k) {
                    if (k > 0) {
                        text += ';';
                    }
                    text += arguments[k].text;
                }
                text += ')';
                stack.push_back({std::move(text), 0});
                break;
            }
            case TermKind::End:
                break;
        }
    }
    return stack.empty() ? std::string() : std::move(stack.front().text);
}

}  // namespace pc
