#pragma once
// The evaluation fast path: a compiled instruction list translated once into
// three-address operations whose operands point straight at variable values, constants
// or temporaries, dispatched by computed goto. Constants and variables cost no
// instruction at all. It only ever answers "clean success, here is the value"; any
// refusal, warning or floating-point fault sends the caller to the reference machine,
// which then decides status and message exactly.

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
    void Build(const TTermInstruction* list, const Extended* values, std::size_t valueCount, Extended angleFactor);

    // An empty program always defers to the reference machine.
    void Clear();

    // The term's value, with `ok` true when the evaluation succeeded without any warning
    // or fault. (The value travels in the x87 register rather than through memory.)
    Extended Run(bool& ok) {
        if (m_entry == nullptr) {
            ok = false;
            return 0;
        }
        m_context.failure = nullptr;
        m_context.warning = nullptr;
        return Execute(m_entry, m_context, ok, nullptr);
    }

    // Number of operations, for tests and diagnostics.
    std::size_t OperationCount() const;

private:
    enum class Code : std::uint8_t;
    struct Op;

    // Runs `op` onwards; with `labels` set it only hands out the dispatch table.
    static Extended Execute(const Op* op, EvalContext& context, bool& ok, const void* const** labels);
    void ResolveLabels();
    bool FuseWithPrevious(const Op& op);
    bool IsSlot(const Extended* operand) const;
    static bool Absorbs(const Op& op, int position);
    static Code PairFamily(Code first);

    std::vector<Op> m_ops;
    const Op* m_entry = nullptr;  // m_ops.data() once built
    std::unique_ptr<Extended[]> m_constants;
    std::unique_ptr<Extended[]> m_slots;
    std::size_t m_slotCount = 0;
    EvalContext m_context;
};

}  // namespace pc
