#include "fast_program.h"

#include <cmath>

#include "builtin_names.h"
#include "fp_faults.h"

namespace pc {

enum class FastProgram::Code : std::uint8_t {
    Defer,
    End,
    Add,
    Subtract,
    Multiply,
    Divide,
    Negate,
    Square,
    IntegerPower,
    Equal,
    NotEqual,
    GreaterEqual,
    LessEqual,
    Greater,
    Less,
    If,
    Call1,
    Call2,
    Call3,
};

struct FastProgram::Op {
    Code code = Code::Defer;
    const Extended* a = nullptr;
    const Extended* b = nullptr;
    const Extended* c = nullptr;
    Extended* dst = nullptr;
    Builtin1 one = nullptr;
    Builtin2 two = nullptr;
    Builtin3 three = nullptr;
    long long exponent = 0;
};

FastProgram::FastProgram() = default;
FastProgram::~FastProgram() = default;

std::size_t FastProgram::OperationCount() const {
    return m_ops.size();
}

void FastProgram::Clear() {
    m_ops.clear();
    m_constants.reset();
    m_slots.reset();
}

void FastProgram::Build(const TTermInstruction* list, const Extended* values, std::size_t valueCount) {
    Clear();
    int count = 0;
    while (count < kInstructionListSize && list[count].Kind != TermKind::End) {
        ++count;
    }
    if (count >= kInstructionListSize) {
        m_ops.push_back(Op{});
        return;
    }
    const auto size = static_cast<std::size_t>(count) + 2;
    m_constants = std::make_unique<Extended[]>(size);
    m_slots = std::make_unique<Extended[]>(size);
    m_constants[0] = 0;  // the value of a term that leaves nothing on the stack
    m_ops.reserve(static_cast<std::size_t>(count) + 1);

    // Where each value of the machine's stack lives: a constant, a variable or a slot.
    std::vector<const Extended*> stack;
    stack.reserve(static_cast<std::size_t>(count));
    auto defer = [this] { m_ops.push_back(Op{}); };

    for (int i = 0; i < count; ++i) {
        const TTermInstruction& instruction = list[i];
        if (instruction.Kind == TermKind::Constant) {
            m_constants[static_cast<std::size_t>(i) + 1] = instruction.Value;
            stack.push_back(&m_constants[static_cast<std::size_t>(i) + 1]);
            continue;
        }
        if (instruction.Kind == TermKind::Variable) {
            if (instruction.Code < 0 || static_cast<std::size_t>(instruction.Code) >= valueCount) {
                return defer();
            }
            stack.push_back(&values[instruction.Code]);
            continue;
        }

        Op op;
        int arity;
        if (instruction.Kind == TermKind::Operator) {
            const int code = instruction.Code;
            arity = code == OpNegate || code == OpNot ? 1 : 2;
            switch (code) {
                case OpAdd: op.code = Code::Add; break;
                case OpSubtract: op.code = Code::Subtract; break;
                case OpMultiply: op.code = Code::Multiply; break;
                case OpDivide: op.code = Code::Divide; break;
                case OpNegate: op.code = Code::Negate; break;
                case OpEqual: op.code = Code::Equal; break;
                case OpNotEqual: op.code = Code::NotEqual; break;
                case OpGreaterEqual: op.code = Code::GreaterEqual; break;
                case OpLessEqual: op.code = Code::LessEqual; break;
                case OpGreater: op.code = Code::Greater; break;
                case OpLess: op.code = Code::Less; break;
                case OpNot:
                    op.code = Code::Call1;
                    op.one = BitwiseNotOperator;
                    break;
                default:
                    if (OperatorRoutine(code) == nullptr) {
                        return defer();
                    }
                    op.code = Code::Call2;
                    op.two = OperatorRoutine(code);
                    break;
            }
        } else if (instruction.Kind == TermKind::Function && instruction.Code >= 1 &&
                   instruction.Code <= kBuiltinCount && BuiltinRoutineFor(instruction.Code).arity != 0) {
            const BuiltinRoutine& routine = BuiltinRoutineFor(instruction.Code);
            arity = routine.arity;
            if (instruction.Code == FnIf) {
                op.code = Code::If;
            } else if (arity == 1) {
                op.code = Code::Call1;
                op.one = routine.one;
            } else if (arity == 2) {
                op.code = Code::Call2;
                op.two = routine.two;
            } else {
                op.code = Code::Call3;
                op.three = routine.three;
            }
        } else {
            return defer();
        }

        // Too few operands: the reference machine reports it at the right step.
        if (stack.size() < static_cast<std::size_t>(arity)) {
            return defer();
        }
        const std::size_t base = stack.size() - static_cast<std::size_t>(arity);
        op.a = stack[base];
        op.b = arity >= 2 ? stack[base + 1] : nullptr;
        op.c = arity >= 3 ? stack[base + 2] : nullptr;
        op.dst = &m_slots[base + 1];

        // A power with a constant integral exponent skips the exponent test; the square
        // is what repeated squaring computes for 2 (1 * (x * x) is x * x exactly).
        if (op.code == Code::Call2 && instruction.Code == OpPower && instruction.Kind == TermKind::Operator &&
            op.b >= m_constants.get() && op.b < m_constants.get() + size && IsIntegerPowerExponent(*op.b)) {
            op.exponent = static_cast<long long>(*op.b);
            op.code = op.exponent == 2 ? Code::Square : Code::IntegerPower;
        }

        stack.resize(base);
        stack.push_back(op.dst);
        m_ops.push_back(op);
    }

    Op end;
    end.code = Code::End;
    end.a = stack.empty() ? &m_constants[0] : stack.front();
    m_ops.push_back(end);
}

bool FastProgram::Run(Extended angleFactor, Extended& result) {
    if (m_ops.empty()) {
        return false;
    }
    // Order as in Code.
    static const void* const kLabels[] = {
        &&Defer,   &&End,      &&Add,          &&Subtract,  &&Multiply, &&Divide, &&Negate,
        &&Square,  &&IntPower, &&Equal,        &&NotEqual,  &&GreaterEqual,       &&LessEqual,
        &&Greater, &&Less,     &&If,           &&Call1,     &&Call2,    &&Call3,
    };
    EvalContext context{angleFactor, nullptr, nullptr};
    const Op* op = m_ops.data();

#define PC_DISPATCH() goto* kLabels[static_cast<int>(op->code)]
#define PC_NEXT() \
    do {          \
        ++op;     \
        PC_DISPATCH(); \
    } while (0)
#define PC_CHECKED_NEXT()                                        \
    do {                                                         \
        if (context.failure != nullptr || context.warning != nullptr) { \
            return false;                                        \
        }                                                        \
        PC_NEXT();                                               \
    } while (0)

    PC_DISPATCH();

Add:
    *op->dst = *op->a + *op->b;
    PC_NEXT();
Subtract:
    *op->dst = *op->a - *op->b;
    PC_NEXT();
Multiply:
    *op->dst = *op->a * *op->b;
    PC_NEXT();
Divide:
    *op->dst = *op->a / *op->b;
    PC_NEXT();
Negate:
    *op->dst = -*op->a;
    PC_NEXT();
Square: {
    const Extended x = *op->a;
    *op->dst = x * x;
    PC_NEXT();
}
IntPower:
    *op->dst = IntegerPower(*op->a, op->exponent);
    PC_NEXT();
Equal:
    *op->dst = *op->a == *op->b ? 1 : 0;
    PC_NEXT();
NotEqual:
    *op->dst = *op->a != *op->b ? 1 : 0;
    PC_NEXT();
GreaterEqual:
    if (std::isunordered(*op->a, *op->b)) {
        return false;
    }
    *op->dst = *op->a >= *op->b ? 1 : 0;
    PC_NEXT();
LessEqual:
    if (std::isunordered(*op->a, *op->b)) {
        return false;
    }
    *op->dst = *op->a <= *op->b ? 1 : 0;
    PC_NEXT();
Greater:
    if (std::isunordered(*op->a, *op->b)) {
        return false;
    }
    *op->dst = *op->a > *op->b ? 1 : 0;
    PC_NEXT();
Less:
    if (std::isunordered(*op->a, *op->b)) {
        return false;
    }
    *op->dst = *op->a < *op->b ? 1 : 0;
    PC_NEXT();
If: {
    const Extended condition = *op->a;
    if (condition == 1) {
        *op->dst = *op->b;
    } else if (condition == 0) {
        *op->dst = *op->c;
    } else {
        return false;
    }
    PC_NEXT();
}
Call1:
    *op->dst = op->one(context, *op->a);
    PC_CHECKED_NEXT();
Call2:
    *op->dst = op->two(context, *op->a, *op->b);
    PC_CHECKED_NEXT();
Call3:
    *op->dst = op->three(context, *op->a, *op->b, *op->c);
    PC_CHECKED_NEXT();
End:
    result = *op->a;
    return RaisedFaults() == 0;
Defer:
    return false;

#undef PC_CHECKED_NEXT
#undef PC_NEXT
#undef PC_DISPATCH
}

}  // namespace pc
