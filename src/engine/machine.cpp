#include "machine.h"

#include <array>

#include "builtins.h"
#include "engine_messages.h"
#include "fp_faults.h"

namespace pc {

MachineOutcome RunMachine(const TTermInstruction* list, const Extended* values,
                          std::size_t valueCount, Extended angleFactor) noexcept {
    // Faults raised before this evaluation are none of its business.
    if (RaisedFaults() != 0) {
        ClearFaults();
    }

    std::array<Extended, kInstructionListSize + 1> stack;  // slots 1..500
    stack[1] = 0;
    int sp = 0;
    EvalContext context{angleFactor, nullptr, nullptr};
    const char* message = nullptr;
    const char* failure = nullptr;

    for (int pc = 1; list[pc - 1].Kind != TermKind::End; ++pc) {
        const TTermInstruction& instruction = list[pc - 1];
        switch (instruction.Kind) {
            case TermKind::Constant:
                stack[static_cast<std::size_t>(++sp)] = instruction.Value;
                break;
            case TermKind::Variable:
                if (instruction.Code < 0 ||
                    static_cast<std::size_t>(instruction.Code) >= valueCount) {
                    failure = msg::kMissingOrWrongOperand;
                    break;
                }
                stack[static_cast<std::size_t>(++sp)] = values[instruction.Code];
                break;
            case TermKind::Operator: {
                const int code = instruction.Code;
                const TermOperator op = OperatorOf(instruction);
                const bool prefix = op == TermOperator::Negate || op == TermOperator::Not;
                if (code < 1 || code > CodeOf(TermOperator::Not) || sp < (prefix ? 1 : 2)) {
                    failure = msg::kMissingOrWrongOperand;
                    break;
                }
                Extended result;
                if (op == TermOperator::Negate) {
                    result = NegateOperator(context, stack[static_cast<std::size_t>(sp)]);
                } else if (op == TermOperator::Not) {
                    result = BitwiseNotOperator(context, stack[static_cast<std::size_t>(sp)]);
                } else {
                    result =
                        ApplyBinaryOperator(context, op, stack[static_cast<std::size_t>(sp - 1)],
                                            stack[static_cast<std::size_t>(sp)]);
                    --sp;
                }
                stack[static_cast<std::size_t>(sp)] = result;
                break;
            }
            case TermKind::Function: {
                const int number = instruction.Code;
                const BuiltinEntry* entry =
                    number >= 1 && number <= kBuiltinCount ? &BuiltinAt(number) : nullptr;
                if (entry == nullptr || entry->arity == 0 || sp < entry->arity) {
                    failure = msg::kMissingOrWrongOperand;
                    break;
                }
                const auto top = static_cast<std::size_t>(sp);
                Extended result;
                if (entry->arity == 1) {
                    result = entry->one(context, stack[top]);
                } else if (entry->arity == 2) {
                    result = entry->two(context, stack[top - 1], stack[top]);
                } else {
                    result = entry->three(context, stack[top - 2], stack[top - 1], stack[top]);
                }
                sp -= entry->arity - 1;
                stack[static_cast<std::size_t>(sp)] = result;
                break;
            }
            case TermKind::End:
                break;
        }
        if (failure != nullptr) {
            break;
        }
        if (instruction.Kind == TermKind::Operator || instruction.Kind == TermKind::Function) {
            // A fault inside the step outranks whatever the routine itself decided.
            if (RaisedFaults() != 0) {
                failure = msg::kNotDefined;
                break;
            }
            if (context.failure != nullptr) {
                failure = context.failure;
                break;
            }
            message = context.warning;
            context.warning = nullptr;
        }
        if (pc >= kInstructionListSize) {
            failure = msg::kStackOverflow;
            break;
        }
    }

    if (failure != nullptr) {
        ClearFaults();
        return {ParserStatus::EvaluationFailed, 0, failure};
    }
    return {ParserStatus::Ok, stack[1], message};
}

}  // namespace pc
