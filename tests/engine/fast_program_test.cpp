// The fast evaluation path must be indistinguishable from the reference machine:
// same value bit for bit, same status, same message, for successes, warnings and
// failures alike. Also: stale floating-point flags and a second thread change nothing.

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "engine/number_text.h"
#include "engine_test_support.h"

namespace pc {
namespace {

const std::vector<std::string> kDeclaredFunctions = {"G(X)=X^2+1", "H(A,B)=A*B-A",
                                                     "Q(X)=IF(X>0;SQRT(X);-X)"};
const std::vector<std::string> kDeclaredConstants = {"K=2*PI", "TINY=1E-300", "HUGE=1E4000"};

// Every operator and every built-in, with arguments that make the random ones
// deterministic; successes, warnings and refusals.
// clang-format off
const char* const kCorpus[] = {
    // Operands and arithmetic.
    "X", "-X", "1", "K*X", "PI+E+C", "TRUE-FALSE*X", "INFINITY", "NEGINFINITY+X", "HUGE*X", "TINY*X", "$FF+X",
    "1E5000", "X+1", "X-1", "1-X", "X*X", "X*3.25", "1/X", "X/7", "X/X", "0*X", "X-X", "(X+1)*(X-1)/(X*X+1)",
    "((X+1)*(X+2))/((X+3)*(X+4))-X/2",
    // Power in all its branches.
    "X^2", "-X^2", "+(-X)", "X^3", "X^(-2)", "X^0", "X^0.5", "X^X", "2^X", "(-2)^X", "0^X", "X^2147483647", "X^2147483648",
    "X^(1/3)", "2^3^X", "E^(X*0.5)",
    // Comparisons.
    "X=0", "X<>0", "X!=1", "X>=0", "X<=0", "X>1", "X<1", "(X>0)+(X<0)", "1<X=1",
    // Integer operators.
    "X&6", "X\\3", "X<<2", "X{35", "X|8", "X>>1", "X}2", "X:5", "X%3", "!X", "(!X)+1", "X`2", "7`X", "X\\0",
    "X%0",
    // Functions 1 to 72.
    "CABS(X;3)", "SQRT(X)", "LN(X)", "EXP(X)", "ARCSIN(X)", "ARCCOS(X)", "ARCTAN(X)", "ARTANH(X)", "REZ(X)",
    "REZ(X)+1", "INVERF(X)", "SGN(X)", "CBRT(X)", "ARSINH(X)", "ARCOSH(X)", "SINH(X)", "COSH(X)", "TANH(X)",
    "TAN(X)", "ERF(X)", "GAUSS(X)", "LG(X)", "J0(X)", "J1(X)", "J2(X)", "J3(X)", "J4(X)", "J5(X)", "SIN(X)*X+1",
    "COS(X)", "THETA(X)", "FRAC(X)", "INT(X)", "SI(X)", "CI(X)", "EI(X)", "LI(X)", "GAMMA(X)", "LB(X)",
    "SQR(X)", "ARCCOT(X)", "ARCOTH(X)", "COTH(X)", "COT(X)", "RND(X-X)", "MAX(X;1)", "MIN(X;-1)", "ROOT(3;X)",
    "ROOT(2;X)", "ROOT(X;8)", "LOG(2;X)", "LOG(X;8)", "J(2;X)", "J(X;1.5)", "ATAN2(X;1)", "ATAN2(1;X)",
    "POISSON(X;3)", "POISSON(2;X)", "NORMRAND(X;0)+0", "MODULO(X;3)", "MODULO(7;X)", "BINO(X;2)", "BINO(10;X)",
    "ABS(X)", "FAC(X)", "BNOT(X)", "IF(X>0;1;2)", "IF(X;1;2)", "IF(X>0;LN(X);1)", "IF(X=X;X;0)", "NOT(X)",
    "NOT(X>0)", "CEIL(X)", "FLOOR(X)", "ODD(X)", "ROUND(X)", "POIRAND(X*0)", "POIRAND(1E6+X*0)", "RAND(X;X)",
    "POICUM(X;2)", "POICUM(1;X)", "GCD(X;12)", "LCM(X;4)", "COSEC(X)", "SEC(X)", "RAMP(X;0;1)", "RAMP(0.5;X;1)",
    // A fault inside a step whose result is later made finite again.
    "EXP(LG(X))", "0*LB(X)", "ARCTAN(COT(X))", "EXP(-1/X^2)", "1/(1+EXP(1/X))", "IF(1;2;SQRT(X))",
    // Chains of operations on the previous result, including the absorbing EXP.
    "EXP(-X*X/2)*COS(3*X)", "EXP(-(X*X*X))", "SQRT(ABS(X*X-1))/2", "-SIN(X*X)*2-1", "LN(EXP(X)*X)",
    "1/(1/(X*X))", "(X*X)^0", "(1)(X*X)", "(X*X>1)+0", "IF(X>0;X*X;-X)*2", "EXP(COS(X)*X)",
    // A fault hidden by a later negation, absolute value or comparison (at X = 1E4000).
    "-(X*X)", "ABS(X*X)", "-(1/(X-X))", "-SIN(X*X)", "IF(-(X*X)>0;1;2)", "ABS(X*X)=1",
    // Missing operands and declared functions.
    "SIN()", "MAX(X)", "G(X)", "H(X;2)", "Q(X)", "G(Q(X))+H(G(X);K)",
};

const Extended kValues[] = {0.0L,  -0.0L,   1.0L,       -1.0L,      0.5L,      -2.5L,  3.0L,     90.0L,
                            1E300L, -1E300L, 1E4000L,   -1E4000L,   1E-300L,   1E-200L, 1E-4940L, kNaN,
                            kInfinity, -kInfinity};
// clang-format on

std::string Describe(const char* term, Extended x) {
    return std::string(term) + " at X=" + FormatGeneral(x);
}

TEST(FastPath, AgreesWithTheReferenceMachine) {
    ASSERT_GT(std::size(kCorpus), 100u);
    for (const char* term : kCorpus) {
        for (TAngleMode mode : {TAngleMode::RAD, TAngleMode::DEG}) {
            test::ParserWithDeclarations setup(std::string("F(X)=") + term, kDeclaredFunctions,
                                               kDeclaredConstants, mode);
            ASSERT_EQ(setup.parser.AnalyseStatus(), ParserStatus::Ok)
                << term << ": " << setup.parser.Message();
            for (Extended x : kValues) {
                setup.parser.SetVariable("X", x);
                Extended referenceValue = -1;
                std::string referenceMessage = "untouched";
                const ParserStatus referenceStatus =
                    setup.parser.EvaluateReference(referenceValue, referenceMessage);
                std::feclearexcept(FE_ALL_EXCEPT);
                const Extended value = setup.parser.Value();
                EXPECT_EQ(setup.parser.EvaluationStatus(), referenceStatus) << Describe(term, x);
                EXPECT_EQ(setup.parser.Message(), referenceMessage) << Describe(term, x);
                EXPECT_TRUE(test::SameValue(value, referenceValue))
                    << Describe(term, x) << ": " << value << " instead of " << referenceValue;
                EXPECT_TRUE(test::SameValue(setup.parser.Result(), referenceValue))
                    << Describe(term, x);
            }
        }
    }
}

// Fault flags the caller left raised fail neither path, and a failing evaluation leaves
// nothing behind; the reference evaluation changes nothing in the parser.
TEST(FastPath, StaleFlagsAndReferenceRunsChangeNothing) {
    test::ParserWithDeclarations setup("F(X)=SIN(X)*X+1");
    const Extended expected = std::sin(2.0L) * 2 + 1;
    Extended value = 0;
    std::string message;
    for (int flags :
         {FE_DIVBYZERO, FE_INVALID, FE_OVERFLOW, FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW}) {
        std::feraiseexcept(flags);
        const test::Outcome outcome = setup.ValueAt(2);
        EXPECT_EQ(outcome.status, ParserStatus::Ok) << "flags " << flags;
        EXPECT_EQ(outcome.message, "");
        EXPECT_TRUE(test::Near(outcome.value, expected, 1E-17L));
        std::feraiseexcept(flags);
        EXPECT_EQ(setup.parser.EvaluateReference(value, message), ParserStatus::Ok);
        EXPECT_TRUE(test::Near(value, expected, 1E-17L));
    }
    setup.parser.SetTerm("F(X)=1/X");
    EXPECT_EQ(setup.ValueAt(0).status, ParserStatus::EvaluationFailed);
    setup.parser.SetVariable("X", 4);
    message = "untouched";
    EXPECT_EQ(setup.parser.EvaluateReference(value, message), ParserStatus::Ok);
    EXPECT_EQ(value, 0.25);
    EXPECT_EQ(message, "");
    EXPECT_EQ(setup.parser.EvaluationStatus(), ParserStatus::EvaluationFailed);
    EXPECT_EQ(setup.parser.Message(), test::kNotDefined);
    EXPECT_EQ(setup.parser.Result(), 0);
    const test::Outcome next = setup.ValueAt(4);
    EXPECT_EQ(next.status, ParserStatus::Ok);
    EXPECT_EQ(next.value, 0.25);
}

// The outcomes of one definition over [-100, 100] in steps of 0.01, as one text.
std::string Sweep(const char* definition, const std::vector<std::string>& functions) {
    test::ParserWithDeclarations setup(definition, functions);
    std::string samples;
    for (int i = -10000; i <= 10000; ++i) {
        const test::Outcome outcome = setup.ValueAt(static_cast<Extended>(i) / 100);
        samples += std::to_string(static_cast<int>(outcome.status)) + outcome.message +
                   FormatGeneral(outcome.value, 21) + "\n";
    }
    return samples;
}

TEST(FastPath, TwoParsersOnTwoThreadsGiveTheSerialResults) {
    // Failures, warnings and faults on both sides, so that any state shared between
    // evaluators (messages, success flags, fault flags) would show.
    const char* const first = "F(X)=REZ(INT(X/3)*LN(X+50))";
    const char* const second = "F(X)=G(X)/(X-1)+FAC(X)";
    const std::vector<std::string> secondFunctions = {"G(X)=SIN(X)*X+1"};
    std::string firstConcurrent;
    std::thread worker([&] { firstConcurrent = Sweep(first, {}); });
    const std::string secondConcurrent = Sweep(second, secondFunctions);
    worker.join();
    EXPECT_TRUE(Sweep(first, {}) == firstConcurrent) << first;
    EXPECT_TRUE(Sweep(second, secondFunctions) == secondConcurrent) << second;
}

}  // namespace
}  // namespace pc
