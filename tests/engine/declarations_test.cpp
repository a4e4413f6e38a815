// Declared functions (UpdateDeclarations, ExpandDeclared) and the definition check.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/definition_check.h"
#include "engine/normalise.h"
#include "engine/parser_declarations.h"
#include "engine_test_support.h"

namespace pc {

inline void PrintTo(DefinitionStatus status, std::ostream* out) {
    *out << static_cast<int>(status);
}

namespace {

using Lines = std::vector<std::string>;

TParserDeclarations Declared(Lines functions) {
    TParserDeclarations declarations;
    declarations.SetFunctions(std::move(functions));
    declarations.UpdateDeclarations();
    return declarations;
}

Lines DeclaredNames(const TParserDeclarations& declarations) {
    Lines names;
    for (const auto& function : declarations.DeclaredFunctions()) {
        names.push_back(function.name);
    }
    return names;
}

TEST(Declarations, CallsOfDeclaredFunctionsEvaluate) {
    const Lines functions = {"F1(X)=X^2", "F2(X)=F1(X+1)*2", "G(X,Y)=X*Y", "H(A;B;C)=A-B*C"};
    struct Case {
        const char* term;
        Extended value;
    } const cases[] = {
        {"F2(3)", 32},    {"G(2,3)", 6},     {"G(X;X+1)", 12},
        {"H(10;2;3)", 4}, {"F1(F1(X))", 81}, {"G(F2(0);F1(-X))", 18},
    };
    for (const Case& c : cases) {
        const test::Outcome outcome = test::Evaluate(c.term, 3, TAngleMode::RAD, functions);
        EXPECT_EQ(outcome.status, ParserStatus::Ok) << c.term << ": " << outcome.message;
        EXPECT_EQ(outcome.value, c.value) << c.term;
    }
}

TEST(Declarations, NineParametersAtMost) {
    const TParserDeclarations nine = Declared({"N(A,B,C,D,E,F,G,H,I)=A+B+C+D+E+F+G+H+I*10"});
    EXPECT_EQ(nine.Message(), "");
    ASSERT_EQ(nine.DeclaredFunctions().size(), 1u);
    EXPECT_EQ(nine.DeclaredFunctions()[0].arity, 9);
    EXPECT_EQ(test::Evaluate("N(1,2,3,4,5,6,7,8,9)", 0, TAngleMode::RAD,
                             {"N(A,B,C,D,E,F,G,H,I)=A+B+C+D+E+F+G+H+I*10"})
                  .value,
              126);

    const std::string ten = "T(A,B,C,D,E,F,G,H,I,J)=A";
    EXPECT_EQ(Declared({ten}).Message(), "\r\nUnvalid argument identifier in " + ten);
}

struct MessageCase {
    Lines functions;
    Lines valid;
    std::string message;
};

std::ostream& operator<<(std::ostream& out, const MessageCase& c) {
    return out << (c.functions.empty() ? std::string() : c.functions.front());
}

class DeclarationMessages : public testing::TestWithParam<MessageCase> {};

TEST_P(DeclarationMessages, MalformedLinesAreDroppedWithTheirText) {
    const TParserDeclarations declarations = Declared(GetParam().functions);
    EXPECT_EQ(declarations.Message(), GetParam().message);
    EXPECT_EQ(DeclaredNames(declarations), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DeclarationMessages,
    testing::Values(MessageCase{{"F(X)=X+1 # comment", "  ", "# only a comment"}, {"F"}, ""},
                    MessageCase{
                        {"H(X=X", "G(X)=X"}, {"G"}, "\r\nWrong Parentheses in Function H(X=X"},
                    MessageCase{{"K=3"}, {}, "\r\nUnvalid argument identifier in K"},
                    MessageCase{{"M(1)=2"}, {}, "\r\nUnvalid argument identifier in M"},
                    MessageCase{{"P(X)+1=X"}, {}, "\r\nUnvalid argument identifier in P(X)+1=X"},
                    MessageCase{{"G(X)=X", "g(x) = 2*x"}, {"G"}, "Duplicate identifierg(x) = 2*x"},
                    MessageCase{{"F(X)=F(X)+1"}, {}, "\r\nRecursive Function: F(X)=F(X)+1"},
                    MessageCase{{"A(X)=B(X)", "B(X)=A(X)", "C(X)=X"},
                                {"B", "C"},
                                "\r\nRecursive Function: A(X)=B(X)"}));

TEST(DeclarationMessages, LineNotStartingWithALetter) {
    // The text is the fixed words, which end in a blank, and then one blank more.
    const TParserDeclarations declarations = Declared({"1F(X)=X", "G(X)=X"});
    EXPECT_EQ(declarations.Message(), "\r\nUnvalid function identifier  ");
    EXPECT_EQ(DeclaredNames(declarations), (Lines{"G"}));
}

TEST(Declarations, DroppedOrUndeclaredCallsFailAtCompilation) {
    const Lines functions = {"F(X)=F(X)+1", "G(X)=X+1"};
    struct Case {
        const char* term;
        ParserStatus status;
        const char* message;
    } const cases[] = {
        {"F(1)", ParserStatus::Syntax, "Undefined Function: F"},
        {"XG(1)", ParserStatus::Syntax,
         "Undefined Function: XG"},  // the G inside the identifier XG is no call
        {"X&G(1)", ParserStatus::Syntax,
         "Undefined Function: G"},  // & is not among the characters that may precede a call
        {"X|G(1)", ParserStatus::Syntax, "Undefined Function: G"},
        {"X*G(1)", ParserStatus::Ok, ""},
    };
    for (const Case& c : cases) {
        test::ParserWithDeclarations setup(functions);
        setup.parser.SetTerm(std::string("F(X)=") + c.term);
        EXPECT_EQ(setup.parser.AnalyseStatus(), c.status) << c.term;
        EXPECT_EQ(setup.parser.Message(), c.message) << c.term;
    }
}

TEST(ExpandDeclared, ReplacesCallsAndLeavesLongerIdentifiers) {
    const TParserDeclarations declarations = Declared({"F(X)=X+1", "G(X)=SIN(X)*X+X1"});
    std::string text = Normalise("(F(2)*XF(3)+G(Y))");
    ASSERT_TRUE(declarations.ExpandDeclared(text));
    // An argument that is the whole content of a pair of parentheses gets no second pair;
    // X inside the identifier X1 is no parameter.
    EXPECT_EQ(text, "(((2)+1)*XF(3)+(SIN(Y)*(Y)+X1))");
}

TEST(ExpandDeclared, FailsForMissingArgumentsAndRecursion) {
    const TParserDeclarations declarations = Declared({"G(X,Y)=X*Y"});
    std::string tooFew = "(G(2))";
    EXPECT_FALSE(declarations.ExpandDeclared(tooFew));

    test::ParserWithDeclarations setup({"G(X,Y)=X*Y"});
    setup.parser.SetTerm("F(X)=G(2)+1");
    EXPECT_EQ(setup.parser.AnalyseStatus(), ParserStatus::DeclaredCall);
    EXPECT_EQ(setup.parser.Message(), "Recursive or unknown function call");
}

TEST(ExpandDeclared, ExpansionsBeyondSixtyFourKilobytesFail) {
    // 64 copies of the argument in parentheses, joined by "+", inside one pair.
    std::string body = "A";
    for (int i = 1; i < 64; ++i) {
        body += "+A";
    }
    const TParserDeclarations declarations = Declared({"W(A)=" + body});
    auto expandedLength = [&declarations](std::size_t argumentLength) -> long {
        std::string text = "W(" + std::string(argumentLength, '1') + ")";
        return declarations.ExpandDeclared(text) ? static_cast<long>(text.size()) : -1;
    };
    EXPECT_EQ(expandedLength(1020), 64 * 1022 + 63 + 2);
    EXPECT_EQ(expandedLength(1022), -1) << "65601 characters";
}

TEST(Declarations, EachSetTermSeesTheCurrentFunctions) {
    test::ParserWithDeclarations setup({"G(X)=X+1"});
    setup.parser.SetTerm("F(X)=G(X)");
    EXPECT_EQ(setup.ValueAt(1).value, 2);
    setup.declarations.SetFunctions({"G(X)=X+2"});
    EXPECT_EQ(setup.ValueAt(1).value, 2) << "the compiled term stays until the next SetTerm";
    setup.parser.SetTerm("F(X)=G(X)");
    EXPECT_EQ(setup.ValueAt(1).value, 3);
}

struct DefinitionCase {
    const char* definition;
    DefinitionStatus status;
    const char* name;
    Lines variables;
    Lines functions;
    Lines parameters;
    const char* rightHandSide;
};

std::ostream& operator<<(std::ostream& out, const DefinitionCase& c) {
    return out << c.definition;
}

class Definitions : public testing::TestWithParam<DefinitionCase> {};

TEST_P(Definitions, SplitIntoTheirParts) {
    const DefinitionCase& c = GetParam();
    std::string name = "stale";
    std::string rightHandSide = "stale";
    Lines variables = {"stale"};
    Lines functions = {"stale"};
    Lines parameters = {"stale"};
    EXPECT_EQ(
        ParseDefinition(c.definition, name, rightHandSide, &variables, &functions, &parameters),
        c.status);
    EXPECT_EQ(rightHandSide, c.rightHandSide);
    if (c.status == DefinitionStatus::Ok || c.status == DefinitionStatus::BadTerm) {
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(variables, c.variables);
        EXPECT_EQ(functions, c.functions);
        EXPECT_EQ(parameters, c.parameters);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Definitions,
    testing::Values(
        DefinitionCase{
            "f1(x) = sin(x)*x+1", DefinitionStatus::Ok, "F1", {"X"}, {}, {}, "(SIN(X)*X+1)"},
        DefinitionCase{"F(X)=A*X+B", DefinitionStatus::Ok, "F", {"X"}, {}, {"A", "B"}, "(A*X+B)"},
        DefinitionCase{"F(T)=T^2+A*A", DefinitionStatus::Ok, "F", {"T"}, {}, {"A"}, "(T^2+A*A)"},
        DefinitionCase{"F()=1", DefinitionStatus::Ok, "F", {"X"}, {}, {}, "(1)"},
        DefinitionCase{"F(X)=G(X)+G(2)+H(1)",
                       DefinitionStatus::Ok,
                       "F",
                       {"X"},
                       {"G", "H"},
                       {},
                       "(G(X)+G(2)+H(1))"},
        // Numbers, built-in names, named constants and operator words are no parameters.
        DefinitionCase{"F(X)=1E5+$FF+2.5E-3+PI*E+C+TRUE+AND+SIN(X)",
                       DefinitionStatus::Ok,
                       "F",
                       {"X"},
                       {},
                       {},
                       "(1E5+$FF+2.5E-3+PI*E+C+TRUE+AND+SIN(X))"},
        DefinitionCase{"F(X)=X2+_A", DefinitionStatus::Ok, "F", {"X"}, {}, {"X2", "_A"}, "(X2+_A)"},
        DefinitionCase{"F(X)=X*/2", DefinitionStatus::BadTerm, "F", {"X"}, {}, {}, "(X*/2)"},
        DefinitionCase{"F(X)=", DefinitionStatus::BadTerm, "F", {"X"}, {}, {}, "()"},
        DefinitionCase{"", DefinitionStatus::BadTerm, "", {}, {}, {}, ""},
        DefinitionCase{"F(X=X", DefinitionStatus::Parentheses, "", {}, {}, {}, "(X)"},
        DefinitionCase{"F(X)", DefinitionStatus::NoEquals, "", {}, {}, {}, ""},
        DefinitionCase{"F=X", DefinitionStatus::NoParenthesis, "", {}, {}, {}, "(X)"},
        DefinitionCase{"1F(X)=X", DefinitionStatus::BadName, "", {}, {}, {}, "(X)"},
        DefinitionCase{"F(X,A)=X", DefinitionStatus::BadVariable, "", {}, {}, {}, "(X)"}));

TEST(Definitions, PreCheckOfTheRightHandSide) {
    constexpr DefinitionStatus ok = DefinitionStatus::Ok;
    constexpr DefinitionStatus bad = DefinitionStatus::BadTerm;
    constexpr DefinitionStatus parentheses = DefinitionStatus::Parentheses;
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
