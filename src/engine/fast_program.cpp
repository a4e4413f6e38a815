#include "fast_program.h"

#include <cmath>

#include "builtin_names.h"
#include "fp_faults.h"

namespace pc {

#define PC_PAIR_CODES(First) First##ThenAdd, First##ThenSubtract, First##ThenMultiply, First##ThenDivide
#define PC_PAIR_LABELS(First) &&First##ThenAdd, &&First##ThenSubtract, &&First##ThenMultiply, &&First##ThenDivide

enum class FastProgram::Code : std::uint8_t {
    Defer,
    End,
    EndTestingFlags,
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
    // The commonest functions, dispatched without the indirect call; each computes
    // exactly what its routine in builtins.cpp computes.
    Sin,
    Cos,
    Exp,
    Ln,
    Sqrt,
    Abs,
    // A first step followed by an arithmetic operation whose left operand is that
    // step's result, computed without storing the intermediate: x87 registers and
    // memory both hold 64-bit significands, so the result is the same to the bit. A
    // fault in the first step always leaves the final result non-finite, so checking
    // the final result is enough. Each family is Add, Subtract, Multiply, Divide.
    PC_PAIR_CODES(Add),
    PC_PAIR_CODES(Subtract),
    PC_PAIR_CODES(Multiply),
    PC_PAIR_CODES(Divide),
    PC_PAIR_CODES(Sin),
    PC_PAIR_CODES(Cos),
    PC_PAIR_CODES(Exp),
    PC_PAIR_CODES(Ln),
    PC_PAIR_CODES(Sqrt),
    PC_PAIR_CODES(Abs),
};

struct FastProgram::Op {
    Code code = Code::Defer;
    const void* label = nullptr;  // where the dispatcher jumps for `code`
    const Extended* a = nullptr;
    const Extended* b = nullptr;
    const Extended* c = nullptr;
    Extended* dst = nullptr;
    Builtin1 one = nullptr;
    Builtin2 two = nullptr;
    Builtin3 three = nullptr;
    long long exponent = 0;
    // Whether the result must be tested for NaN and infinity. Only results that meet an
    // operation able to absorb them (x/inf is 0, an untaken IF branch vanishes) need it;
    // elsewhere a non-finite value travels on to a later test.
    bool check = false;
};

namespace {

// A quiet test (no "invalid" flag for NaN) that needs no x87 status word read.
inline bool IsFinite(Extended x) {
    return std::isless(std::fabs(x), kInfinity);
}

}  // namespace

FastProgram::FastProgram() = default;
FastProgram::~FastProgram() = default;

std::size_t FastProgram::OperationCount() const {
    return m_ops.size();
}

void FastProgram::Clear() {
    m_entry = nullptr;
    m_slotCount = 0;
    m_ops.clear();
    m_constants.reset();
    m_slots.reset();
}

// The first code of the pair family that starts with `first`, or Defer for none.
FastProgram::Code FastProgram::PairFamily(Code first) {
    switch (first) {
        case Code::Add: return Code::AddThenAdd;
        case Code::Subtract: return Code::SubtractThenAdd;
        case Code::Multiply: return Code::MultiplyThenAdd;
        case Code::Divide: return Code::DivideThenAdd;
        case Code::Sin: return Code::SinThenAdd;
        case Code::Cos: return Code::CosThenAdd;
        case Code::Exp: return Code::ExpThenAdd;
        case Code::Ln: return Code::LnThenAdd;
        case Code::Sqrt: return Code::SqrtThenAdd;
        case Code::Abs: return Code::AbsThenAdd;
        default: return Code::Defer;
    }
}

bool FastProgram::IsSlot(const Extended* operand) const {
    return operand != nullptr && operand >= m_slots.get() && operand < m_slots.get() + m_slotCount;
}

// Whether operand `position` of `op` can turn a NaN or an infinity into a finite result.
bool FastProgram::Absorbs(const Op& op, int position) {
    switch (op.code) {
        case Code::Add:
        case Code::Subtract:
        case Code::Multiply:
        case Code::Negate:
        case Code::Abs:
        case Code::Square:
        case Code::Sin:
        case Code::Cos:
        case Code::Ln:
        case Code::Sqrt:
            return false;
        case Code::Divide:
            return position == 1;  // x / inf is 0
        case Code::Exp:
            return true;  // exp(-inf) is 0
        case Code::IntegerPower:
            return op.exponent <= 0;  // x^0 is 1, x^-n is 1/x^n
        case Code::If:
            return position != 0;  // a non-boolean condition defers anyway
        default:
            return true;  // comparisons, general routines
    }
}

bool FastProgram::FuseWithPrevious(const Op& op) {
    const int second = static_cast<int>(op.code) - static_cast<int>(Code::Add);
    if (m_ops.empty() || second < 0 || second > 3) {
        return false;
    }
    Op& previous = m_ops.back();
    const Code family = PairFamily(previous.code);
    if (family == Code::Defer || op.a != previous.dst) {
        return false;
    }
    previous.code = static_cast<Code>(static_cast<int>(family) + second);
    // The second operation's right operand; the first step's own operands stay in a, b.
    previous.c = op.b;
    return true;
}

void FastProgram::Build(const TTermInstruction* list, const Extended* values, std::size_t valueCount,
                        Extended angleFactor) {
    Clear();
    m_context.angleFactor = angleFactor;
    // SIN and COS get their own operations in radians only, where the argument goes
    // to libm untouched.
    const bool radians = angleFactor == 1;
    int count = 0;
    while (count < kInstructionListSize && list[count].Kind != TermKind::End) {
        ++count;
    }
    if (count >= kInstructionListSize) {
        m_ops.push_back(Op{});
        ResolveLabels();
        return;
    }
    const auto size = static_cast<std::size_t>(count) + 2;
    m_constants = std::make_unique<Extended[]>(size);
    m_slots = std::make_unique<Extended[]>(size);
    m_slotCount = size;
    m_constants[0] = 0;  // the value of a term that leaves nothing on the stack
    m_ops.reserve(static_cast<std::size_t>(count) + 1);

    // Where each value of the machine's stack lives: a constant, a variable or a slot;
    // and which operation last wrote each slot.
    std::vector<const Extended*> stack;
    stack.reserve(static_cast<std::size_t>(count));
    std::vector<std::size_t> producer(size, 0);
    auto defer = [this] {
        m_ops.push_back(Op{});
        ResolveLabels();
    };

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
            } else if ((instruction.Code == FnSin || instruction.Code == FnCos) && radians) {
                op.code = instruction.Code == FnSin ? Code::Sin : Code::Cos;
            } else if (instruction.Code == FnExp) {
                op.code = Code::Exp;
            } else if (instruction.Code == FnLn) {
                op.code = Code::Ln;
            } else if (instruction.Code == FnSqrt) {
                op.code = Code::Sqrt;
            } else if (instruction.Code == FnAbs) {
                op.code = Code::Abs;
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

        const Extended* const operands[3] = {op.a, op.b, op.c};
        for (int position = 0; position < arity; ++position) {
            if (IsSlot(operands[position]) && Absorbs(op, position)) {
                m_ops[producer[static_cast<std::size_t>(operands[position] - m_slots.get())]].check = true;
            }
        }
        stack.resize(base);
        stack.push_back(op.dst);
        if (!FuseWithPrevious(op)) {
            m_ops.push_back(op);
        }
        producer[base + 1] = m_ops.size() - 1;
    }

    // Only the general routines can hide a fault in a finite result; every other
    // operation checks its own result, so its program needs no look at the flags.
    bool testFlags = false;
    for (const Op& op : m_ops) {
        testFlags = testFlags || op.code == Code::Call1 || op.code == Code::Call2 || op.code == Code::Call3;
    }
    // A fault anywhere ends the evaluation, even in a value that stays on the stack
    // unused, so every result still on the stack is tested.
    for (const Extended* value : stack) {
        if (IsSlot(value)) {
            m_ops[producer[static_cast<std::size_t>(value - m_slots.get())]].check = true;
        }
    }
    Op end;
    end.code = testFlags ? Code::EndTestingFlags : Code::End;
    end.a = stack.empty() ? &m_constants[0] : stack.front();
    m_ops.push_back(end);
    ResolveLabels();
}

void FastProgram::ResolveLabels() {
    const void* const* labels = nullptr;
    bool ok;
    Execute(nullptr, m_context, ok, &labels);
    for (Op& op : m_ops) {
        op.label = labels[static_cast<int>(op.code)];
    }
    m_entry = m_ops.data();
}

Extended FastProgram::Execute(const Op* op, EvalContext& context, bool& ok, const void* const** labels) {
    ok = false;
    // Order as in Code.
    static const void* const kLabels[] = {
        &&Defer,   &&End,      &&EndTestingFlags,  &&Add,          &&Subtract,  &&Multiply, &&Divide, &&Negate,
        &&Square,  &&IntPower, &&Equal,        &&NotEqual,  &&GreaterEqual,       &&LessEqual,
        &&Greater, &&Less,     &&If,           &&Call1,     &&Call2,    &&Call3,
        &&Sin,     &&Cos,      &&Exp,          &&Ln,        &&Sqrt,     &&Abs,
        PC_PAIR_LABELS(Add),  PC_PAIR_LABELS(Subtract), PC_PAIR_LABELS(Multiply), PC_PAIR_LABELS(Divide),
        PC_PAIR_LABELS(Sin),  PC_PAIR_LABELS(Cos),      PC_PAIR_LABELS(Exp),      PC_PAIR_LABELS(Ln),
        PC_PAIR_LABELS(Sqrt), PC_PAIR_LABELS(Abs),
    };
    if (labels != nullptr) {
        *labels = kLabels;
        return 0;
    }

#define PC_DISPATCH() goto* op->label
#define PC_NEXT() \
    do {          \
        ++op;     \
        PC_DISPATCH(); \
    } while (0)
// Invalid operations, divisions by zero and overflows all end in a NaN or an infinity;
// any non-finite result (even a legitimate INFINITY) goes to the reference machine.
#define PC_STORE_FINITE(expression)     \
    do {                                \
        const Extended value_ = (expression); \
        if (op->check && !IsFinite(value_)) { \
            return 0;               \
        }                               \
        *op->dst = value_;              \
        PC_NEXT();                      \
    } while (0)
#define PC_CHECKED_NEXT()                                        \
    do {                                                         \
        if (context.failure != nullptr || context.warning != nullptr) { \
            return 0;                                        \
        }                                                        \
        PC_NEXT();                                               \
    } while (0)

    PC_DISPATCH();

Add:
    PC_STORE_FINITE(*op->a + *op->b);
Subtract:
    PC_STORE_FINITE(*op->a - *op->b);
Multiply:
    PC_STORE_FINITE(*op->a * *op->b);
Divide:
    PC_STORE_FINITE(*op->a / *op->b);
Negate:
    PC_STORE_FINITE(-*op->a);
Square: {
    const Extended x = *op->a;
    PC_STORE_FINITE(x * x);
}
IntPower:
    if (op->exponent < 0) {
        // 1/x^n can hide an overflow of x^n in a finite 0: check the power first.
        const Extended power = IntegerPower(*op->a, -op->exponent);
        if (!IsFinite(power)) {
            return 0;
        }
        PC_STORE_FINITE(1 / power);
    }
    PC_STORE_FINITE(IntegerPower(*op->a, op->exponent));
Equal:
    *op->dst = *op->a == *op->b ? 1 : 0;
    PC_NEXT();
NotEqual:
    *op->dst = *op->a != *op->b ? 1 : 0;
    PC_NEXT();
GreaterEqual:
    if (std::isunordered(*op->a, *op->b)) {
        return 0;
    }
    *op->dst = *op->a >= *op->b ? 1 : 0;
    PC_NEXT();
LessEqual:
    if (std::isunordered(*op->a, *op->b)) {
        return 0;
    }
    *op->dst = *op->a <= *op->b ? 1 : 0;
    PC_NEXT();
Greater:
    if (std::isunordered(*op->a, *op->b)) {
        return 0;
    }
    *op->dst = *op->a > *op->b ? 1 : 0;
    PC_NEXT();
Less:
    if (std::isunordered(*op->a, *op->b)) {
        return 0;
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
        return 0;
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
Sin:
    PC_STORE_FINITE(std::sin(*op->a));
Cos:
    PC_STORE_FINITE(std::cos(*op->a));
Exp:
    PC_STORE_FINITE(std::exp(*op->a));
Ln:
    PC_STORE_FINITE(std::log(*op->a));
Sqrt:
    PC_STORE_FINITE(std::sqrt(*op->a));
Abs:
    PC_STORE_FINITE(std::fabs(*op->a));
#define PC_PAIR_HANDLERS(First, first)                  \
    First##ThenAdd:                                     \
    PC_STORE_FINITE((first) + *op->c);                  \
    First##ThenSubtract:                                \
    PC_STORE_FINITE((first) - *op->c);                  \
    First##ThenMultiply:                                \
    PC_STORE_FINITE((first) * *op->c);                  \
    First##ThenDivide:                                  \
    PC_STORE_FINITE((first) / *op->c);

    PC_PAIR_HANDLERS(Add, *op->a + *op->b)
    PC_PAIR_HANDLERS(Subtract, *op->a - *op->b)
    PC_PAIR_HANDLERS(Multiply, *op->a * *op->b)
    PC_PAIR_HANDLERS(Divide, *op->a / *op->b)
    PC_PAIR_HANDLERS(Sin, std::sin(*op->a))
    PC_PAIR_HANDLERS(Cos, std::cos(*op->a))
    PC_PAIR_HANDLERS(Exp, std::exp(*op->a))
    PC_PAIR_HANDLERS(Ln, std::log(*op->a))
    PC_PAIR_HANDLERS(Sqrt, std::sqrt(*op->a))
    PC_PAIR_HANDLERS(Abs, std::fabs(*op->a))
#undef PC_PAIR_HANDLERS

End: {
    const Extended value = *op->a;
    ok = true;
    return value;
}
EndTestingFlags: {
    const Extended value = *op->a;
    ok = RaisedFaults() == 0;
    return value;
}
Defer:
    return 0;

#undef PC_CHECKED_NEXT
#undef PC_STORE_FINITE
#undef PC_PAIR_LABELS
#undef PC_PAIR_CODES
#undef PC_NEXT
#undef PC_DISPATCH
}

}  // namespace pc
