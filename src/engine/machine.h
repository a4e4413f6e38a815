#pragma once
// The reference evaluation machine: runs a compiled instruction list one record at a
// time, testing for floating-point faults after every operator and function. It
// defines the exact status and message of every evaluation; the fast machine defers
// to it whenever anything but a clean success happens.

#include <cstddef>

#include "extended.h"
#include "parser_status.h"
#include "term_instruction.h"

namespace pc {

struct MachineOutcome {
    ParserStatus status = ParserStatus::Ok;  // or EvaluationFailed
    Extended value = 0;                      // 0 unless status is Ok
    const char* message = nullptr;  // a warning on success, the failing step's text otherwise
};

// `list` ends with an End record within kInstructionListSize records; variable records
// index `values`, which holds `valueCount` entries.
MachineOutcome RunMachine(const TTermInstruction* list, const Extended* values,
                          std::size_t valueCount, Extended angleFactor) noexcept;

}  // namespace pc
