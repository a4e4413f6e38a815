#include "engine/definition_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pc {
namespace {

using Lines = std::vector<std::string>;

TEST(Definitions, SplitIntoTheirParts) {
    using enum DefinitionStatus;
    const struct {
        const char* definition;
        DefinitionStatus status;
        const char* name;
        Lines variables, functions, parameters;
        const char* rightHandSide;
    } cases[] = {
        // clang-format off
        {"f1(x) = sin(x)*x+1", Ok, "F1", {"X"}, {}, {}, "(SIN(X)*X+1)"},
        {"F(X)=A*X+B", Ok, "F", {"X"}, {}, {"A", "B"}, "(A*X+B)"},
        {"F(T)=T^2+A*A", Ok, "F", {"T"}, {}, {"A"}, "(T^2+A*A)"},
        {"F()=X^2+A", Ok, "F", {"X"}, {}, {"A"}, "(X^2+A)"},
        {"F(X)=G(X)+G(2)+H(1)", Ok, "F", {"X"}, {"G", "H"}, {}, "(G(X)+G(2)+H(1))"},
        // Numbers, built-in names, named constants and operator words are no parameters.
        {"F(X)=1E5+$FF+2.5E-3+PI*E+C+TRUE+AND+SIN(X)", Ok, "F", {"X"}, {}, {},
         "(1E5+$FF+2.5E-3+PI*E+C+TRUE+AND+SIN(X))"},
        // "_" is the negation sign, as the compiler reads it: _A is the parameter A negated.
        {"F(X)=X2+_A", Ok, "F", {"X"}, {}, {"X2", "A"}, "(X2+_A)"},
        {"_F(X)=X", BadName, "", {}, {}, {}, "(X)"},
        {"F(X)=X*/2", BadTerm, "F", {"X"}, {}, {}, "(X*/2)"},
        {"F(X)=", BadTerm, "F", {"X"}, {}, {}, "()"},
        {"", BadTerm, "", {}, {}, {}, ""},
        {"F(X=X", Parentheses, "", {}, {}, {}, "(X)"},
        {"F(X)", NoEquals, "", {}, {}, {}, ""},
        {"F=X", NoParenthesis, "", {}, {}, {}, "(X)"},
        {"1F(X)=X", BadName, "", {}, {}, {}, "(X)"},
        {"F(X,A)=X", BadVariable, "", {}, {}, {}, "(X)"},
        // clang-format on
    };
    for (const auto& c : cases) {
        std::string name = "stale";
        std::string rightHandSide = "stale";
        Lines variables = {"stale"}, functions = {"stale"}, parameters = {"stale"};
        EXPECT_EQ(
            ParseDefinition(c.definition, name, rightHandSide, &variables, &functions, &parameters),
            c.status)
            << c.definition;
        EXPECT_EQ(rightHandSide, c.rightHandSide) << c.definition;
        if (c.status == Ok || c.status == BadTerm) {
            EXPECT_EQ(name, c.name) << c.definition;
            EXPECT_EQ(variables, c.variables) << c.definition;
            EXPECT_EQ(functions, c.functions) << c.definition;
            EXPECT_EQ(parameters, c.parameters) << c.definition;
        }
    }
}

TEST(Definitions, PreCheckOfTheRightHandSide) {
    constexpr DefinitionStatus ok = DefinitionStatus::Ok, bad = DefinitionStatus::BadTerm,
                               parentheses = DefinitionStatus::Parentheses;
    // A sign after "(" or a comparison is a sign; after a shift it is a second operator.
    struct Case {
        const char* definition;
        DefinitionStatus status;
    } const cases[] = {
        {"F(X)=-X", ok},           {"F(X)=-+X", ok},    {"F(X)=(+X)", ok},
        {"F(X)=1E-5*X", ok},       {"F(X)=2.E+3", ok},  {"F(X)=X<>1", ok},
        {"F(X)=X>=1", ok},         {"F(X)=*X", bad},    {"F(X)=)X(", parentheses},
        {"F(X)=^X", bad},          {"F(X)=X+", bad},    {"F(X)=SIN(", parentheses},
        {"F(X)=X=-1", ok},         {"F(X)=X<>-1", ok},  {"F(X)=IF(X<=+1;1;0)", ok},
        {"F(X)=X>-1", ok},         {"F(X)=X>>-1", bad}, {"F(X)=X+-1", bad},
        {"F(X)=X<<2", ok},         {"F(X)=X<<-1", bad}, {"F(X)=X<<<2", bad},
        {"F(X)=X-)", parentheses}, {"F(X)=(X-)", bad},  {"F(X)=X/", bad},
    };
    for (const Case& c : cases) {
        std::string name;
        std::string rightHandSide;
        EXPECT_EQ(ParseDefinition(c.definition, name, rightHandSide, nullptr, nullptr, nullptr),
                  c.status)
            << c.definition;
    }
}

}  // namespace
}  // namespace pc
