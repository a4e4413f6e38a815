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
enum class TermOperator : std::int16_t {
    Subtract = 1,
    Add = 2,
    Multiply = 3,
    Divide = 4,
    Negate = 5,
    Power = 6,
    And = 7,
    IntegerDivide = 8,
    ShiftLeft = 9,
    Or = 10,
    ShiftRight = 11,
    Binomial = 12,
    Xor = 13,
    Modulo = 14,
    Equal = 15,
    NotEqual = 16,
    GreaterEqual = 17,
    LessEqual = 18,
    Greater = 19,
    Less = 20,
    Not = 21,
};

struct TTermInstruction {
    Extended Value = 0;  // the number a constant record pushes
    TermKind Kind = TermKind::End;
    std::int16_t Priority = 0;  // binding priority given by the compiler; 0 for operands
    std::int16_t Code = 0;      // operator number, function number or variable index
};

inline constexpr std::int16_t CodeOf(TermOperator op) {
    return static_cast<std::int16_t>(op);
}

// The operator of an operator record whose `Code` is 1..21.
inline constexpr TermOperator OperatorOf(const TTermInstruction& instruction) {
    return static_cast<TermOperator>(instruction.Code);
}

// Room for at most 499 instructions and the end record.
inline constexpr int kInstructionListSize = 500;
using TInstructionList = std::array<TTermInstruction, kInstructionListSize>;

}  // namespace pc
