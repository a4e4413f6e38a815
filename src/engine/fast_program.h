#pragma once
// The evaluation fast path. A compiled instruction list is translated once into
// three-address operations whose operands point straight at variable values, constants
// or temporaries, so constants and variables cost no instruction at all; an operation
// whose result feeds straight into the next one carries that one along as a step of
// its "tail", computed without storing the intermediate.
//
// It only ever answers "clean success, here is the value". Any refusal, warning or
// floating-point fault sends the caller to the reference machine (machine.h), which
// then decides status and message exactly. Faults are recognised without reading the
// x87 status word (which would wait for every pending x87 operation): an invalid
// operation, a division by zero or an overflow always leaves a NaN or an infinity, and
// every result that could hide one in a finite value is tested. Only programs calling
// the general routines, which may hide a fault internally, read the flags at the end.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "builtins.h"
#include "extended.h"
#include "term_instruction.h"

namespace pc {

class FastProgram {
  public:
    FastProgram();
    ~FastProgram();
    FastProgram(const FastProgram&) = delete;
    FastProgram& operator=(const FastProgram&) = delete;

    // Translates `list` (a successfully compiled term) for trigonometric functions in
    // units of `angleFactor`. `values` must stay where it is for as long as the program
    // is used.
    void Build(const TTermInstruction* list, const Extended* values, std::size_t valueCount,
               Extended angleFactor);

    // An empty program always defers to the reference machine.
    void Clear();

    // The term's value, with `ok` true when the evaluation succeeded without any warning
    // or fault. (The value travels in the x87 register rather than through memory.)
    Extended Run(bool& ok) noexcept {
        if (m_entry == nullptr) {
            ok = false;
            return 0;
        }
        m_context.failure = nullptr;
        m_context.warning = nullptr;
        return Execute(m_entry, m_context, ok, nullptr);
    }

  private:
    enum class Code : std::uint8_t;
    enum class Step : std::uint8_t;
    struct Op;
    struct TailStep;

    // Runs `op` onwards; with `labels` set it only hands out the dispatch table.
    static Extended Execute(const Op* op, EvalContext& context, bool& ok,
                            const void* const** labels) noexcept;
    void Append(Op op, int arity, std::vector<std::size_t>& producer);
    bool IsSlot(const Extended* operand) const;
    static bool Absorbs(const Op& op, int position);
    void Finish(const std::vector<const Extended*>& stack,
                const std::vector<std::size_t>& producer);

    std::vector<Op> m_ops;
    std::vector<TailStep> m_steps;
    const Op* m_entry = nullptr;  // m_ops.data() once built
    std::unique_ptr<Extended[]> m_constants;
    std::unique_ptr<Extended[]> m_slots;
    std::size_t m_slotCount = 0;
    EvalContext m_context;
};

}  // namespace pc
