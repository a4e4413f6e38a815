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

    // Translates `list` (a successfully compiled term). `values` must stay where it is
    // for as long as the program is used.
    void Build(const TTermInstruction* list, const Extended* values, std::size_t valueCount);

    // An empty program always defers to the reference machine.
    void Clear();

    // True with `result` set when the evaluation succeeded without any warning or fault.
    bool Run(Extended angleFactor, Extended& result);

    // Number of operations, for tests and diagnostics.
    std::size_t OperationCount() const;

private:
    enum class Code : std::uint8_t;
    struct Op;

    std::vector<Op> m_ops;
    std::unique_ptr<Extended[]> m_constants;
    std::unique_ptr<Extended[]> m_slots;
};

}  // namespace pc
