#include "engine/term_renderer.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/builtins.h"
#include "engine_test_support.h"

namespace pc {
namespace {

using test::ParserWithDeclarations;

// "F(X)=" + term rendered back into text, with the extra variable Y and K a negative
// constant (written as a number). Whatever the grouping, the text read back must mean
// the same term (random functions cannot be compared by value), except that the integer
// operators come out as words, which the term syntax does not read.
std::string Rendered(const std::string& term, bool readBack, bool compareValues = true) {
    static const std::vector<std::string> extras = {"Y"};
    ParserWithDeclarations original("", {}, {"K=-2"});
    ParserWithDeclarations reread("", {}, {"K=-2"});
    original.parser.SetExtraVariables(&extras);
    reread.parser.SetExtraVariables(&extras);
    original.parser.SetTerm("F(X)=" + term);
    EXPECT_EQ(original.parser.AnalyseStatus(), ParserStatus::Ok) << term;
    const std::string rendered = original.parser.ParsedTerm();
    if (!readBack) {
        return rendered;
    }
    reread.parser.SetTerm("F(X)=" + rendered);
    EXPECT_EQ(reread.parser.AnalyseStatus(), ParserStatus::Ok) << term << " as " << rendered;
    for (Extended x : {-2.0L, -0.5L, 0.0L, 1.0L, 3.0L}) {
        const test::Outcome a = original.ValueAt(x);
        const test::Outcome b = reread.ValueAt(x);
        EXPECT_EQ(a.status, b.status) << term << " as " << rendered << " at " << x;
        EXPECT_TRUE(!compareValues || test::SameValue(a.value, b.value))
            << term << " as " << rendered << " at " << x;
    }
    return rendered;
}

// Every built-in by its arity, written down apart from the table the compiler and the
// renderer share: each name must compile and render back with that many arguments.
TEST(ParsedTerm, EveryBuiltinKeepsItsNameAndArity) {
    // The names of one, two and three arguments, blank-separated.
    const char* const byArity[] = {
        "SQRT LN EXP ARCSIN ARCCOS ARCTAN ARTANH REZ INVERF SGN CBRT ARSINH ARCOSH SINH COSH TANH "
        "TAN ERF GAUSS LG J0 J1 J2 J3 J4 J5 SIN COS THETA FRAC INT SI CI EI LI GAMMA LB SQR ARCCOT "
        "ARCOTH COTH COT RND ABS FAC BNOT NOT CEIL FLOOR ODD ROUND POIRAND COSEC SEC",
        "CABS MAX MIN ROOT LOG J ATAN2 POISSON NORMRAND MODULO BINO RAND POICUM GCD LCM",
        "IF RAMP"};
    std::map<std::string, int> expected;
    for (int arity = 1; arity <= 3; ++arity) {
        std::istringstream names(byArity[arity - 1]);
        for (std::string name; names >> name;) {
            expected[name] = arity;
        }
    }
    ASSERT_EQ(expected.size(), 71u);
    std::map<std::string, int> found;
    for (int number = 1; number <= kBuiltinCount; ++number) {
        const std::string_view name = BuiltinAt(number).name;
        if (name.back() == '(') {
            found[std::string(name.substr(0, name.size() - 1))] = BuiltinAt(number).arity;
        }
    }
    EXPECT_EQ(found, expected);
    for (const auto& [name, arity] : expected) {
        const std::string term = name + (arity == 1 ? "(X)" : arity == 2 ? "(X;2)" : "(X;2;3)");
        EXPECT_EQ(Rendered(term, true, name.find("RAND") == std::string::npos && name != "RND"),
                  term);
    }
}

TEST(ParsedTerm, RendersTheCompiledTerm) {
    const struct {
        const char* term;
        const char* text;
    } cases[] = {
        // clang-format off
        {"X*Y+1", "(X*Y)+1"}, {"X*Z+1", "(X*0)+1"}, {"(X+1)*2", "(X+1)*2"},
        {"IF(X>0;1;2)", "IF(X>0;1;2)"}, {"max(x, 2.5)", "MAX(X;2.5)"}, {"X&3", "(X)AND(3)"},
        {"X\\2", "(X)DIV(2)"}, {"X<<2", "(X)SHL(2)"}, {"X|1", "(X)OR(1)"}, {"X}1", "(X)SHR(1)"},
        {"5`X", "(5)OVER(X)"}, {"X:1", "(X)XOR(1)"}, {"X%2", "(X)MOD(2)"}, {"X!=1", "X<>1"},
        {"-X^2", "-(X^2)"}, {"2-(3-X)", "2-(3-X)"}, {"2-3-X", "2-3-X"}, {"X/3*3", "X/3*3"},
        {"1E-3*X+$FF", "(0.001*X)+255"}, {"IF(X=(-1);1;0)", "IF(X=-1;1;0)"}, {"X>=+2", "X>=2"},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Rendered(c.term, false), c.text) << c.term;
    }
    // clang-format off
    const char* const readBack[] = {
        "SIN(X)*X+1", "(X+1)*2", "X-(X-1)", "2^(3^X)", "2^3^X", "-X^2", "(-X)^2", "-(X+1)",
        "-(-X)", "X-(-1)", "IF(X>0;1;2)", "MAX(X+1;2)-MIN(X;2)*3", "!(X+1)", "(!X)+1",
        "RAMP(X;0;1)/(X/2)", "1E-7*X", "X=(1<X)", "123456789.125*X", "SQRT(ABS(X))/(X+0.5)",
        "J(2;X)^2^3", "IF(X=-1;1;0)", "X>=-2+X", "X*K", "K^2", "X-K", "-K", "X<=K", "X*Y+1"};
    // clang-format on
    for (const char* term : readBack) {
        Rendered(term, true);
    }
}

}  // namespace
}  // namespace pc
