#pragma once
// The compiled form of a term: a fixed block of postfix instruction records.

#include <array>
#include <cstdint>

#include "extended.h"

namespace pc {

enum class TermKind : std::uint8_t {
    End = 0,
    Constant = 1,
    Variable = 2,
    Operator = 3,
    Function = 4
};

// Operator numbers stored in `Code` of operator records.
enum TermOperator : std::int16_t {
    OpSubtract = 1,
    OpAdd = 2,
    OpMultiply = 3,
    OpDivide = 4,
    OpNegate = 5,
    OpPower = 6,
    OpAnd = 7,
    OpIntegerDivide = 8,
    OpShiftLeft = 9,
    OpOr = 10,
    OpShiftRight = 11,
    OpBinomial = 12,
    OpXor = 13,
    OpModulo = 14,
    OpEqual = 15,
    OpNotEqual = 16,
    OpGreaterEqual = 17,
    OpLessEqual = 18,
    OpGreater = 19,
    OpLess = 20,
    OpNot = 21,
};

struct TTermInstruction {
    Extended Value = 0;  // the number a constant record pushes
    TermKind Kind = TermKind::End;
    std::int16_t Priority = 0;  // binding priority given by the compiler; 0 for operands
    std::int16_t Code = 0;      // operator number, function number or variable index
};

// Room for at most 499 instructions and the end record.
inline constexpr int kInstructionListSize = 500;
using TInstructionList = std::array<TTermInstruction, kInstructionListSize>;

}  // namespace pc
