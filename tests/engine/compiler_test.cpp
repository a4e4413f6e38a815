#include "engine/compiler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/builtins.h"
#include "engine/normalise.h"
#include "engine/number_text.h"
#include "engine_test_support.h"

namespace pc {
namespace {

using enum ParserStatus;

struct Compiled {
    CompileResult result;
    std::unique_ptr<TInstructionList> list = std::make_unique<TInstructionList>();
};

Compiled CompileTerm(std::string_view term, const std::vector<std::string>& variables = {"X"},
                     const std::vector<std::string>& constants = {}, Extended angleFactor = 1) {
    Compiled compiled;
    compiled.result = Compile(Normalise(term), angleFactor, variables, constants, *compiled.list);
    return compiled;
}

const char* OperatorSpelling(int code) {
    static const char* const kSpellings[] = {"?",  "-",  "+",  "*",  "/", "neg", "^", "&",
                                             "\\", "<<", "|",  ">>", "`", ":",   "%", "=",
                                             "<>", ">=", "<=", ">",  "<", "!"};
    return code >= 1 && code <= CodeOf(TermOperator::Not) ? kSpellings[code] : "?";
}

// The instruction list in postfix notation, e.g. "X SIN X * 1 +". Also checks that an
// End record closes the list right after the counted instructions.
std::string Postfix(const Compiled& compiled, const std::vector<std::string>& variables = {"X"}) {
    const TInstructionList& list = *compiled.list;
    std::string text;
    for (int i = 0; i < compiled.result.count; ++i) {
        const TTermInstruction& record = list[static_cast<std::size_t>(i)];
        if (!text.empty()) {
            text += ' ';
        }
        const std::string_view name = record.Kind == TermKind::Function
                                          ? BuiltinAt(record.Code).name
                                          : std::string_view("?(");
        text += record.Kind == TermKind::Constant ? FormatGeneral(record.Value)
                : record.Kind == TermKind::Variable
                    ? variables.at(static_cast<std::size_t>(record.Code))
                : record.Kind == TermKind::Operator ? std::string(OperatorSpelling(record.Code))
                                                    : std::string(name.substr(0, name.size() - 1));
    }
    if (list[static_cast<std::size_t>(compiled.result.count)].Kind != TermKind::End) {
        text += " (no end record)";
    }
    return text;
}

TEST(Compiler, SinTimesXPlusOneRecords) {
    const Compiled compiled = CompileTerm("sin(x) * x + 1");
    ASSERT_EQ(Postfix(compiled), "X SIN X * 1 +") << compiled.result.message;
    std::string priorities;  // a call at level + 5, "*" at + 3, "+" at + 1, operands 0
    for (int i = 0; i < 6; ++i) {
        priorities += std::to_string((*compiled.list)[static_cast<std::size_t>(i)].Priority);
    }
    EXPECT_EQ(priorities, "050301");
}

// Y is also a declared constant: variables are looked up first.
TEST(Compiler, EmitsPostfixOrder) {
    const std::vector<std::string> variables = {"X", "Y"};
    struct Case {
        const char* term;
        const char* postfix;
        const char* why = "";
    } const cases[] = {
        // clang-format off
        {"2^3^2", "2 3 ^ 2 ^", "equal priorities associate to the left"},
        {"-X^2", "X 2 ^ neg", "negation binds less than the power"},
        {"-X*Y", "X neg Y *", "negation and * share a priority, so (-X)*Y"},
        {"2^SIN(X)", "2 X SIN ^", "a call binds more strongly than ^"}, {"SIN(X)^2", "X SIN 2 ^"},
        {"IF(X>0;1;2)", "X 0 > 1 2 IF", "arguments in order, then the call"},
        {"MAX(X,Y)", "X Y MAX", "comma and semicolon both separate arguments"},
        {"X<>1", "X 1 <>", "two-character operators are one record"}, {"X!=1", "X 1 <>"},
        {"X>=1", "X 1 >="}, {"X<=1", "X 1 <="}, {"X>>1", "X 1 >>"},
        {"X<<2+1", "X 2 1 + <<", "<< binds like a comparison"},
        {"X{2+1", "X 2 << 1 +", "{ binds like &"}, {"!X+1", "X ! 1 +", "prefix NOT binds like *"},
        {"1-(-X)", "1 X neg -", "a minus right after ( is a negation"},
        {"X*(+1)", "X 1 *", "a plus right after ( is dropped"},
        {"X=-1", "X 1 neg =", "a sign after a comparison is a sign"},
        {"X>=+Y", "X Y >="}, {"X<>-Y^2", "X Y 2 ^ neg <>"},
        {"+X", "X", "a leading plus is dropped"},
        {"A*X", "0 X *", "an unknown identifier is the constant 0"},
        {"x2+X", "0 X +", "X2 is an identifier of its own"},
        {"1E-3+1E+3", "0.001 1000 +", "exponent signs are part of the number"},
        {"$FF*$ff", "255 255 *", "hexadecimal literals"},
        {"1E5000", "INF", "beyond the extended range"},
        {"(1)(2)", "1 2", "adjacent groups are two operands"},
        // clang-format on
    };
    for (const Case& c : cases) {
        const Compiled compiled = CompileTerm(c.term, variables, {"Y=5"});
        ASSERT_EQ(compiled.result.status, Ok) << c.term << ": " << compiled.result.message;
        EXPECT_EQ(Postfix(compiled, variables), c.postfix) << c.term << ": " << c.why;
    }
}

// K, L, H and N are declared constants that fail: recursion, a fault, a bad hexadecimal
// number, NAN.
TEST(Compiler, ReportsStatusAndMessageOfAFailure) {
    const char* const missing = "Missing Operand in Function Term";
    const std::string unknown = " was detected in the string. Unknown or recursive call";
    const struct {
        const char* term;
        ParserStatus status;
        std::string message;
    } cases[] = {
        // clang-format off
        {"", EmptyTerm, "Invalid Function Term"}, {" + ", EmptyTerm, "Invalid Function Term"},
        {"X*-1", MissingOperand, missing}, {"X^-2", MissingOperand, missing},
        {"X*", MissingOperand, missing}, {"X+(", MissingOperand, missing},
        {"(X+)", MissingOperand, missing}, {"*X", MissingOperand, missing},
        {"((/X))", MissingOperand, missing}, {")X", MissingOperand, missing},
        {"2(X)", Syntax, "Undefined Function: 2"}, {"X+AB(1)", Syntax, "Undefined Function: AB"},
        {"SIN(F(1))", Syntax, "Undefined Function: F"}, {"2SIN(X)", Syntax, "Syntax Error"},
        {"ASIN(X)", Syntax, "Syntax Error"}, {"NAN+1", NaN, "NaN: Evaluation aborted"},
        {"$G", Syntax, "$G" + unknown}, {"1+$", Syntax, "$" + unknown},
        {"$12345678901234567", Syntax, "$12345678901234567" + unknown},
        {"K*2", Syntax, "K" + unknown}, {"X+L", Syntax, "L" + unknown},
        {"H", Syntax, "H" + unknown}, {"N", NaN, "NaN: Evaluation aborted"},
        // clang-format on
    };
    for (const auto& c : cases) {
        const Compiled compiled = CompileTerm(c.term, {"X"}, {"K=K+1", "L=1/0", "H=$XY", "N=NAN"});
        EXPECT_EQ(compiled.result.status, c.status) << c.term;
        EXPECT_EQ(compiled.result.message, c.message) << c.term;
    }
}

Extended ConstantValue(std::string_view term, const std::vector<std::string>& constants,
                       Extended angleFactor = 1) {
    const Compiled compiled = CompileTerm(term, {"X"}, constants, angleFactor);
    EXPECT_EQ(compiled.result.status, Ok) << term << ": " << compiled.result.message;
    EXPECT_EQ(compiled.result.count, 1) << term;
    return (*compiled.list)[0].Value;
}

// Literals, named constants (PI and C to the last bit) and declared constants are valued
// while compiling.
TEST(Compiler, ConstantsHaveTheirExactValues) {
    const struct {
        const char* term;
        Extended value;
        std::vector<std::string> constants = {};
        Extended angleFactor = 1;
    } cases[] = {
        // clang-format off
        {"1E-3", 1E-3L}, {"1E+3", 1000}, {"2.5E2", 250}, {".5", 0.5}, {"5.", 5}, {"1E-5000", 0},
        {"$FFFFFFFFFFFFFFFF", 18446744073709551615.0L},  // all 64 significand bits
        {"PI", 0xC90FDAA22168C235p-62L}, {"C", 0x93C467E37DB09F3Fp-64L},
        {"E", 0xADF85458A2BB4A9Bp-62L}, {"TRUE", 1}, {"FALSE", 0}, {"INFINITY", kInfinity},
        {"NEGINFINITY", -kInfinity},
        {"PI", kPi, {"PI=3"}},  // named constants come before declarations
        {"K", 2 * kPi, {"K=2*PI"}}, {"A", 4, {"A=B+1", "B=3"}},
        {"K", 5, {"k = 5"}},  // names are case-insensitive
        {"K", 1, {"K=X+1"}},  // a constant's term has no variables: X is an unknown identifier
        {"S", 1, {"S=SIN(90)"}, kDegreeFactor},  // the angle factor of the compilation
        {"W", 2, {"W=REZ(0)+2"}},  // a warning does not stop the valuing
        // Regression: a leading "+" is deleted, and the character that takes its place at the
        // very start was examined by looking one position before it (found by the fuzzer in a
        // declared constant, whose term is compiled without enclosing parentheses).
        {"K", 0.2L * 3, {"K=+2E-1*3"}}, {"K", -2, {"K=+(-2)"}},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(test::SameValue(ConstantValue(c.term, c.constants, c.angleFactor), c.value))
            << c.term;
    }
}

// N1=N2, N2=N3, ..., N<length>=7; doubled, N1=N2+N2 and so on, which takes 2^length - 1
// look-ups unless each constant is valued once.
std::vector<std::string> Chain(const std::string& name, int length, bool doubled) {
    std::vector<std::string> lines;
    for (int i = 1; i < length; ++i) {
        const std::string next = name + std::to_string(i + 1);
        lines.push_back(name + std::to_string(i) + "=" + next + (doubled ? "+" + next : ""));
    }
    lines.push_back(name + std::to_string(length) + "=7");
    return lines;
}

// At most 100 nested look-ups; each constant is valued once per compilation, so a doubling
// chain stays cheap and a random constant keeps one value throughout the term.
TEST(Compiler, ConstantLookupsAreBoundedAndValuedOnce) {
    EXPECT_EQ(ConstantValue("C1", Chain("C", 100, false)), 7);
    const Compiled tooDeep = CompileTerm("C1", {}, Chain("C", 101, false));
    EXPECT_EQ(tooDeep.result.status, Syntax);
    EXPECT_EQ(tooDeep.result.message, "C1 was detected in the string. Unknown or recursive call");
    EXPECT_EQ(ConstantValue("A1", Chain("A", 10, true)), 7 * 512);
    EXPECT_EQ(ConstantValue("A1", Chain("A", 40, true)), 7 * 549755813888.0L);  // 7 * 2^39
    const Compiled twice = CompileTerm("R-R", {}, {"R=RND(1)+1"});
    ASSERT_EQ(twice.result.status, Ok);
    EXPECT_EQ((*twice.list)[0].Value, (*twice.list)[1].Value);
}

// 250 ones and 249 additions make 499 instructions; 1^(1^(...)) keeps every power on the
// operator stack until the end, and those pending operators count as well. Parentheses
// nest as deeply as an evaluation needs, but their priorities must fit sixteen bits.
TEST(Compiler, Limits) {
    const std::string ones = "1" + test::Repeat("+1", 249);
    const std::string powers = test::Repeat("1^(", 249) + "1" + test::Repeat(")", 249);
    const char* const tooLong = "Term is too long: more than 499 instructions";
    const struct {
        std::string term;
        ParserStatus status;
        const char* message;
    } cases[] = {
        {ones, Ok, ""},
        {powers, Ok, ""},
        {"-" + ones, EmptyTerm, tooLong},
        {"1^(" + powers + ")", EmptyTerm, tooLong},
        {test::Repeat("(", 3300) + "X" + test::Repeat(")", 3300), EmptyTerm,
         "Term is nested too deeply"},
    };
    for (const auto& c : cases) {
        const Compiled compiled = CompileTerm(c.term);
        EXPECT_EQ(compiled.result.status, c.status) << c.term.substr(0, 20);
        EXPECT_EQ(compiled.result.message, c.message) << c.term.substr(0, 20);
        if (c.status == Ok) {
            EXPECT_EQ(compiled.result.count, 499);
            EXPECT_EQ((*compiled.list)[499].Kind, TermKind::End);
        }
    }
    const test::Outcome deep =
        test::Evaluate(test::Repeat("(", 1000) + "X+1" + test::Repeat(")", 1000) + "*2", 3);
    EXPECT_EQ(deep.status, Ok) << deep.message;
    EXPECT_EQ(deep.value, 8);
    const test::Outcome deepCall =
        test::Evaluate("SIN" + test::Repeat("(", 1000) + "X" + test::Repeat(")", 1000) + "+1");
    EXPECT_EQ(deepCall.status, Ok) << deepCall.message;
    EXPECT_EQ(deepCall.value, 1);
}

}  // namespace
}  // namespace pc
