// What the operators compute and refuse, evaluated through a parser as the plotter does.

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

#include "engine_test_support.h"

namespace pc {
namespace {

using test::kMissingOperand;
using test::kNotDefined;

struct OperatorCase {
    const char* term;
    ParserStatus status;
    Extended value;
    const char* message = "";
    Extended tolerance = 0;
    const char* why = "";
};

std::ostream& operator<<(std::ostream& out, const OperatorCase& c) {
    return out << c.term;
}

OperatorCase Ok(const char* term, Extended value, const char* why = "", Extended tolerance = 0) {
    return {term, ParserStatus::Ok, value, "", tolerance, why};
}

OperatorCase Refused(const char* term, const char* message, const char* why = "") {
    return {term, ParserStatus::EvaluationFailed, 0, message, 0, why};
}

class Operators : public testing::TestWithParam<OperatorCase> {};

// X is NaN: a NaN reaches the operators only through a variable.
TEST_P(Operators, ComputeOrRefuse) {
    const OperatorCase& c = GetParam();
    const test::Outcome outcome = test::Evaluate(c.term, kNaN);
    EXPECT_EQ(outcome.status, c.status) << c.why;
    EXPECT_EQ(outcome.message, c.message) << c.why;
    if (c.tolerance == 0) {
        EXPECT_TRUE(test::SameValue(outcome.value, c.value)) << outcome.value << " " << c.why;
    } else {
        EXPECT_TRUE(test::Near(outcome.value, c.value, c.tolerance)) << c.why;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, Operators,
    testing::Values(Ok("1+2*3", 7), Ok("(1+2)*3", 9), Ok("7-2-1", 4, "left to right"),
                    Ok("8/2/2", 2), Ok("-3*2", -6), Ok("2*(-3)", -6), Ok("1/INFINITY", 0),
                    Ok("1E-4000*1E-4000", 0, "underflow is not a fault"),
                    Refused("1/0", kNotDefined, "plain division by zero is a fault"),
                    Refused("0/0", kNotDefined), Refused("INFINITY-INFINITY", kNotDefined),
                    Refused("1E4000*1E4000", kNotDefined, "overflow is a fault")));

INSTANTIATE_TEST_SUITE_P(
    Power, Operators,
    testing::Values(Ok("2^3^2", 64, "(2^3)^2"), Ok("-2^2", -4, "-(2^2)"), Ok("(-2)^2", 4),
                    Ok("(-2)^3", -8), Ok("0^0", 1), Ok("INFINITY^0", 1, "a^0 is 1 for every a"),
                    Ok("2^(-1)", 0.5), Ok("1.5^2", 2.25), Ok("0^0.5", 0),
                    Ok("0^(-0.5)", 0, "0^b is 0 for a non-integral b"),
                    Ok("4^0.5", 2, "exp(0.5 ln 4)", 1E-18L),
                    Ok("(-1)^2147483647", -1, "largest exponent of the repeated squaring"),
                    Ok("(-1)^(-2147483647)", -1),
                    Refused("(-1)^2147483648", kNotDefined,
                            "beyond 32 bits the exponent goes through ln(a)"),
                    Refused("(-8)^(1/3)", kNotDefined), Refused("(-2)^0.5", kNotDefined),
                    Refused("0^(-1)", kNotDefined, "the reciprocal of 0"),
                    Refused("2^16384", kNotDefined, "overflow")));

INSTANTIATE_TEST_SUITE_P(
    Integer, Operators,
    testing::Values(Ok("7\\2", 3), Ok("-7\\2", -3, "truncates toward zero"), Ok("7\\(-2)", -3),
                    Ok("-7%2", -1),
                    Ok("7%(-2)", 1, "the remainder has the sign of the left operand"), Ok("5&3", 1),
                    Ok("5|3", 7), Ok("5:3", 6), Ok("1{4", 16), Ok("1<<4", 16),
                    Ok("-8}1", 2147483644, "shifts in zeros"), Ok("-8>>1", 2147483644),
                    Ok("1{31", -2147483648.0L, "the 32-bit pattern is read back as signed"),
                    Ok("1{33", 2, "the count is taken modulo 32"), Ok("!5", -6), Ok("(!5)+1", -5),
                    Ok("!(-1)", 0), Ok("!5*2", -12, "(!5)*2"),
                    Ok("1.000000000000001&1", 1, "within the integer tolerance"),
                    Ok("2.99999999999999999&1", 1, "rounds to 3"), Ok("2147483647|0", 2147483647),
                    Ok("(-2147483648)|0", -2147483648.0L), Ok("5`2", 10),
                    Ok("2*3`2", 6, "` binds like ^"), Refused("7\\0", kMissingOperand),
                    Refused("7%0", kMissingOperand),
                    Refused("2.5&1", "Bitwise AND:  Integer arguments required"),
                    Refused("1&2.5", "Bitwise AND:  Integer arguments required"),
                    Refused("2.5\\1", "Integer division:  Integer arguments required"),
                    Refused("2.5{1", "Shift left:  Integer arguments required"),
                    Refused("2.5<<1", "Shift left:  Integer arguments required"),
                    Refused("2.5|1", "Bitwise OR:  Integer arguments required"),
                    Refused("2.5}1", "Shift right:  Integer arguments required"),
                    Refused("2.5:1", "Bitwise XOR:  Integer arguments required"),
                    Refused("2.5%1", "Modulo:  Integer arguments required"),
                    Refused("!2.5", "Bitwise NOT: Integer argument required"),
                    Refused("2.5`1", "Binomial coefficient:  Integer arguments required"),
                    Refused("2`5", "Binomial coefficient:   2nd argument must be smaller than 1st"),
                    Refused("3E9&1", kNotDefined, "outside the signed 32-bit range"),
                    Refused("2147483648\\1", kNotDefined), Refused("!3E9", kNotDefined),
                    Refused("1{INFINITY", "Shift left:  Integer arguments required",
                            "infinity is no integer")));

INSTANTIATE_TEST_SUITE_P(
    Comparison, Operators,
    testing::Values(Ok("1<2", 1), Ok("2<1", 0), Ok("2<=2", 1), Ok("3>=4", 0), Ok("3>2", 1),
                    Ok("1=1", 1), Ok("1<>1", 0), Ok("1!=2", 1),
                    Ok("1+1=2", 1, "comparisons bind weakest"), Ok("1<2=1", 1, "(1<2)=1"),
                    Ok("5&3+1", 2, "(5&3)+1"), Ok("1<<2+1", 8, "1<<(2+1)"),
                    Ok("1{2+1", 5, "(1{2)+1"), Ok("2*3>5", 1),
                    Ok("-1=-1", 1, "a sign after a comparison is a sign"), Ok("IF(0>=-2;1;0)", 1),
                    Ok("1<>+1", 0), Ok("-1<-2*3", 0, "-1<((-2)*3)"), Ok("0!=-0", 0),
                    Ok("1=1.0000000000000000001", 0, "comparisons are exact")));

INSTANTIATE_TEST_SUITE_P(
    NaN, Operators,
    testing::Values(Ok("X+1", kNaN), Ok("X=X", 0), Ok("X<>X", 1), Ok("X=1", 0), Ok("X^0", 1),
                    Refused("X>=1", kNotDefined, "an ordered comparison with NaN is invalid"),
                    Refused("X<=1", kNotDefined), Refused("1>X", kNotDefined),
                    Refused("X<1", kNotDefined),
                    Refused("X&1", "Bitwise AND:  Integer arguments required")));

}  // namespace
}  // namespace pc
