#include "fast_program.h"

#include <cmath>

#include "fp_faults.h"

namespace pc {

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
    // The commonest functions, dispatched without the indirect call; each computes
    // exactly what its routine in builtins.cpp computes (SIN and COS in radians only).
    Sin,
    Cos,
    Exp,
    Ln,
    Sqrt,
    Abs,
    // The general routines.
    Call1,
    Call2,
    Call3,
};

// A step applied to the running value of a tail; binary steps take it as their left
// operand. x87 registers and memory both hold 64-bit significands, so keeping the
// intermediate in a register gives the same result to the bit.
enum class FastProgram::Step : std::uint8_t {
    Add,
    Subtract,
    Multiply,
    Divide,
    Negate,
    Square,
    Sin,
    Cos,
    Exp,
    Ln,
    Sqrt,
    Abs,
};

struct FastProgram::TailStep {
    Step step;
    const Extended* operand;  // the right operand of a binary step
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
    const TailStep* tail = nullptr;  // set once the program is complete
    std::size_t tailBegin = 0;       // index of the first step in m_steps
    std::uint32_t tailCount = 0;
    // Whether the result must be tested for NaN and infinity. Only results that meet an
    // operation able to absorb them (x/inf is 0, an untaken IF branch vanishes), or stay
    // on the stack to the end, need it; elsewhere a non-finite value travels on to a
    // later test.
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

void FastProgram::Clear() {
    m_entry = nullptr;
    m_ops.clear();
    m_steps.clear();
    m_constants.reset();
    m_slots.reset();
    m_slotCount = 0;
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

void FastProgram::Append(Op op, int arity, std::vector<std::size_t>& producer) {
    const Extended* const operands[3] = {op.a, op.b, op.c};
    for (int position = 0; position < arity; ++position) {
        if (IsSlot(operands[position]) && Absorbs(op, position)) {
            m_ops[producer[static_cast<std::size_t>(operands[position] - m_slots.get())]].check =
                true;
        }
    }
    const std::size_t slot = static_cast<std::size_t>(op.dst - m_slots.get());

    // An operation on the result of the one just before becomes a step of its tail.
    // (Its right operand is then a constant or a variable: a computed one would have
    // been computed after the left.)
    static constexpr struct {
        Code code;
        Step step;
    } kSteps[] = {
        {Code::Add, Step::Add},           {Code::Subtract, Step::Subtract},
        {Code::Multiply, Step::Multiply}, {Code::Divide, Step::Divide},
        {Code::Negate, Step::Negate},     {Code::Square, Step::Square},
        {Code::Sin, Step::Sin},           {Code::Cos, Step::Cos},
        {Code::Exp, Step::Exp},           {Code::Ln, Step::Ln},
        {Code::Sqrt, Step::Sqrt},         {Code::Abs, Step::Abs},
    };
    if (!m_ops.empty() && op.a == m_ops.back().dst) {
        for (const auto& entry : kSteps) {
            if (entry.code == op.code) {
                Op& previous = m_ops.back();
                if (previous.tailCount == 0) {
                    previous.tailBegin = m_steps.size();
                }
                m_steps.push_back({entry.step, op.b});
                ++previous.tailCount;
                return;  // the slot's producer stays the previous operation
            }
        }
    }
    m_ops.push_back(op);
    producer[slot] = m_ops.size() - 1;
}

void FastProgram::Finish(const std::vector<const Extended*>& stack,
                         const std::vector<std::size_t>& producer) {
    // A fault anywhere ends the evaluation, even in a value that stays on the stack
    // unused, so every result still on the stack is tested.
    for (const Extended* value : stack) {
        if (IsSlot(value)) {
            m_ops[producer[static_cast<std::size_t>(value - m_slots.get())]].check = true;
        }
    }
    // Only the general routines can hide a fault in a finite result.
    bool testFlags = false;
    for (const Op& op : m_ops) {
        testFlags =
            testFlags || op.code == Code::Call1 || op.code == Code::Call2 || op.code == Code::Call3;
    }
    Op end;
    end.code = testFlags ? Code::EndTestingFlags : Code::End;
    end.a = stack.empty() ? &m_constants[0] : stack.front();
    m_ops.push_back(end);

    const void* const* labels = nullptr;
    bool ok;
    Execute(nullptr, m_context, ok, &labels);
    for (Op& op : m_ops) {
        op.label = labels[static_cast<int>(op.code)];
        op.tail = op.tailCount != 0 ? &m_steps[op.tailBegin] : nullptr;
    }
    m_entry = m_ops.data();
}

void FastProgram::Build(const TTermInstruction* list, const Extended* values,
                        std::size_t valueCount, Extended angleFactor) {
    Clear();
    m_context.angleFactor = angleFactor;
    // SIN and COS get their own operations in radians only, where the argument goes
    // to libm untouched.
    const bool radians = angleFactor == 1;
    auto defer = [this] {
        m_ops.assign(1, Op{});
        m_steps.clear();
        const void* const* labels = nullptr;
        bool ok;
        Execute(nullptr, m_context, ok, &labels);
        m_ops[0].label = labels[static_cast<int>(Code::Defer)];
        m_entry = m_ops.data();
    };

    int count = 0;
    while (count < kInstructionListSize && list[count].Kind != TermKind::End) {
        ++count;
    }
    if (count >= kInstructionListSize) {
        return defer();
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
            const TermOperator code = OperatorOf(instruction);
            arity = code == TermOperator::Negate || code == TermOperator::Not ? 1 : 2;
            switch (code) {
                case TermOperator::Add:
                    op.code = Code::Add;
                    break;
                case TermOperator::Subtract:
                    op.code = Code::Subtract;
                    break;
                case TermOperator::Multiply:
                    op.code = Code::Multiply;
                    break;
                case TermOperator::Divide:
                    op.code = Code::Divide;
                    break;
                case TermOperator::Negate:
                    op.code = Code::Negate;
                    break;
                case TermOperator::Equal:
                    op.code = Code::Equal;
                    break;
                case TermOperator::NotEqual:
                    op.code = Code::NotEqual;
                    break;
                case TermOperator::GreaterEqual:
                    op.code = Code::GreaterEqual;
                    break;
                case TermOperator::LessEqual:
                    op.code = Code::LessEqual;
                    break;
                case TermOperator::Greater:
                    op.code = Code::Greater;
                    break;
                case TermOperator::Less:
                    op.code = Code::Less;
                    break;
                case TermOperator::Not:
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
                   instruction.Code <= kBuiltinCount && BuiltinAt(instruction.Code).arity != 0) {
            const BuiltinEntry& entry = BuiltinAt(instruction.Code);
            arity = entry.arity;
            op.code = arity == 1 ? Code::Call1 : arity == 2 ? Code::Call2 : Code::Call3;
            switch (entry.inlined) {
                case InlineForm::None:
                    break;
                case InlineForm::If:
                    op.code = Code::If;
                    break;
                case InlineForm::Sin:
                    op.code = radians ? Code::Sin : Code::Call1;
                    break;
                case InlineForm::Cos:
                    op.code = radians ? Code::Cos : Code::Call1;
                    break;
                case InlineForm::Exp:
                    op.code = Code::Exp;
                    break;
                case InlineForm::Ln:
                    op.code = Code::Ln;
                    break;
                case InlineForm::Sqrt:
                    op.code = Code::Sqrt;
                    break;
                case InlineForm::Abs:
                    op.code = Code::Abs;
                    break;
            }
            op.one = entry.one;
            op.two = entry.two;
            op.three = entry.three;
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
        if (instruction.Kind == TermKind::Operator &&
            OperatorOf(instruction) == TermOperator::Power && op.b >= m_constants.get() &&
            op.b < m_constants.get() + size && IsIntegerPowerExponent(*op.b)) {
            op.exponent = static_cast<long long>(*op.b);
            op.code = op.exponent == 2 ? Code::Square : Code::IntegerPower;
        }

        stack.resize(base);
        stack.push_back(op.dst);
        Append(op, arity, producer);
    }
    Finish(stack, producer);
}

namespace {

// Applies a tail's steps to `value`; false when a NaN or an infinity meets EXP, the
// one step that could turn it into a finite number.
template <typename TailStep>
[[gnu::always_inline]] inline bool RunTail(const TailStep* step, std::uint32_t count,
                                           Extended& value) {
    using Step = decltype(step->step);
    for (const TailStep* const end = step + count; step != end; ++step) {
        switch (step->step) {
            case Step::Add:
                value = value + *step->operand;
                break;
            case Step::Subtract:
                value = value - *step->operand;
                break;
            case Step::Multiply:
                value = value * *step->operand;
                break;
            case Step::Divide:
                value = value / *step->operand;
                break;
            case Step::Negate:
                value = -value;
                break;
            case Step::Square:
                value = value * value;
                break;
            case Step::Sin:
                value = std::sin(value);
                break;
            case Step::Cos:
                value = std::cos(value);
                break;
            case Step::Exp:
                if (!IsFinite(value)) {
                    return false;
                }
                value = std::exp(value);
                break;
            case Step::Ln:
                value = std::log(value);
                break;
            case Step::Sqrt:
                value = std::sqrt(value);
                break;
            case Step::Abs:
                value = std::fabs(value);
                break;
        }
    }
    return true;
}

}  // namespace

Extended FastProgram::Execute(const Op* op, EvalContext& context, bool& ok,
                              const void* const** labels) noexcept {
    // Order as in Code.
    static const void* const kLabels[] = {
        &&Defer,        &&End,       &&EndTestingFlags,
        &&Add,          &&Subtract,  &&Multiply,
        &&Divide,       &&Negate,    &&Square,
        &&IntegerPower, &&Equal,     &&NotEqual,
        &&GreaterEqual, &&LessEqual, &&Greater,
        &&Less,         &&If,        &&Sin,
        &&Cos,          &&Exp,       &&Ln,
        &&Sqrt,         &&Abs,       &&Call1,
        &&Call2,        &&Call3,
    };
    ok = false;
    if (labels != nullptr) {
        *labels = kLabels;
        return 0;
    }

#define PC_DISPATCH() goto * op->label
// Every program ends with End, so each handler reaches it by a conditional branch,
// which the processor predicts by its address alone. An indirect jump is predicted
// from the recent branch history, and a libm call in between scrambles that history:
// measured next to SINL, each indirect jump costs about 4 ns.
#define PC_NEXT()                    \
    do {                             \
        ++op;                        \
        if (op->code == Code::End) { \
            goto End;                \
        }                            \
        PC_DISPATCH();               \
    } while (0)
// Runs the tail, tests the result where needed and stores it.
#define PC_FINISH(expression)                                                    \
    do {                                                                         \
        Extended value_ = (expression);                                          \
        if ((op->tailCount != 0 && !RunTail(op->tail, op->tailCount, value_)) || \
            (op->check && !IsFinite(value_))) {                                  \
            return 0;                                                            \
        }                                                                        \
        *op->dst = value_;                                                       \
        PC_NEXT();                                                               \
    } while (0)
#define PC_FINISH_CALL(expression)                                      \
    do {                                                                \
        const Extended result_ = (expression);                          \
        if (context.failure != nullptr || context.warning != nullptr) { \
            return 0;                                                   \
        }                                                               \
        PC_FINISH(result_);                                             \
    } while (0)
#define PC_FINISH_ORDERED(comparison)            \
    do {                                         \
        const Extended a_ = *op->a;              \
        const Extended b_ = *op->b;              \
        if (std::isunordered(a_, b_)) {          \
            return 0; /* an invalid operation */ \
        }                                        \
        PC_FINISH(a_ comparison b_ ? 1 : 0);     \
    } while (0)

    PC_DISPATCH();

Add:
    PC_FINISH(*op->a + *op->b);
Subtract:
    PC_FINISH(*op->a - *op->b);
Multiply:
    PC_FINISH(*op->a * *op->b);
Divide:
    PC_FINISH(*op->a / *op->b);
Negate:
    PC_FINISH(-*op->a);
Square : {
    const Extended x = *op->a;
    PC_FINISH(x * x);
}
IntegerPower:
    if (op->exponent < 0) {
        // 1/x^n can hide an overflow of x^n in a finite 0: test the power first.
        const Extended power = pc::IntegerPower(*op->a, -op->exponent);
        if (!IsFinite(power)) {
            return 0;
        }
        PC_FINISH(1 / power);
    }
    PC_FINISH(pc::IntegerPower(*op->a, op->exponent));
Equal:
    PC_FINISH(*op->a == *op->b ? 1 : 0);
NotEqual:
    PC_FINISH(*op->a != *op->b ? 1 : 0);
GreaterEqual:
    PC_FINISH_ORDERED(>=);
LessEqual:
    PC_FINISH_ORDERED(<=);
Greater:
    PC_FINISH_ORDERED(>);
Less:
    PC_FINISH_ORDERED(<);
If : {
    const Extended condition = *op->a;
    if (condition == 1) {
        PC_FINISH(*op->b);
    }
    if (condition == 0) {
        PC_FINISH(*op->c);
    }
    return 0;
}
Sin:
    PC_FINISH(std::sin(*op->a));
Cos:
    PC_FINISH(std::cos(*op->a));
Exp:
    PC_FINISH(std::exp(*op->a));
Ln:
    PC_FINISH(std::log(*op->a));
Sqrt:
    PC_FINISH(std::sqrt(*op->a));
Abs:
    PC_FINISH(std::fabs(*op->a));
Call1:
    PC_FINISH_CALL(op->one(context, *op->a));
Call2:
    PC_FINISH_CALL(op->two(context, *op->a, *op->b));
Call3:
    PC_FINISH_CALL(op->three(context, *op->a, *op->b, *op->c));
End : {
    const Extended value = *op->a;
    ok = true;
    return value;
}
EndTestingFlags : {
    const Extended value = *op->a;
    ok = RaisedFaults() == 0;
    return value;
}
Defer:
    return 0;

#undef PC_FINISH_ORDERED
#undef PC_FINISH_CALL
#undef PC_FINISH
#undef PC_NEXT
#undef PC_DISPATCH
}

}  // namespace pc
