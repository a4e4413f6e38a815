// Declared functions (UpdateDeclarations, ExpandDeclared) and the definition check.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <random>
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
    testing::Values(
        MessageCase{{"F(X)=X+1 # comment", "  ", "# only a comment"}, {"F"}, ""},
        MessageCase{{"H(X=X", "G(X)=X"}, {"G"}, "\r\nWrong Parentheses in Function H(X=X"},
        MessageCase{{"K=3"}, {}, "\r\nUnvalid argument identifier in K"},
        MessageCase{{"M(1)=2"}, {}, "\r\nUnvalid argument identifier in M"},
        MessageCase{{"P(X)+1=X"}, {}, "\r\nUnvalid argument identifier in P(X)+1=X"},
        MessageCase{{"G(X)=X", "g(x) = 2*x"}, {"G"}, "Duplicate identifierg(x) = 2*x"},
        MessageCase{{"F(X)=F(X)+1"}, {}, "\r\nRecursive Function: F(X)=F(X)+1"},
        MessageCase{
            {"A(X)=B(X)", "B(X)=A(X)", "C(X)=X"}, {"B", "C"}, "\r\nRecursive Function: A(X)=B(X)"},
        // The call of F vanishes with H's unused argument, but only when H,
        // standing earlier, is substituted before F.
        MessageCase{{"H(X)=0", "F(X)=H(F(X))"}, {"H", "F"}, ""},
        MessageCase{{"F(X)=H(F(X))", "H(X)=0"}, {"H"}, "\r\nRecursive Function: F(X)=H(F(X))"}));

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

// With more than 1000 declared functions every expansion used to fail as recursive: the
// limit counted a search for every declared function in every pass.
TEST(Declarations, ThousandsOfFunctionsLoadAndWork) {
    Lines lines;
    for (int k = 0; k < 5000; ++k) {  // chains of 50, each function one more than the last
        lines.push_back("F" + std::to_string(k) + "(X)=" +
                        (k % 50 == 0 ? std::string("X") : "F" + std::to_string(k - 1) + "(X)+1"));
    }
    lines.push_back("R(X)=R(X)+1");
    test::ParserWithDeclarations setup(lines);
    setup.parser.SetTerm("G(X)=F4999(X)*F120(X)");
    EXPECT_EQ(setup.ValueAt(2).value, (2 + 49) * (2 + 20));
    EXPECT_EQ(setup.declarations.Message(), "\r\nRecursive Function: R(X)=R(X)+1");
}

TEST(Declarations, ChangedFunctionsAreTheChangedLineAndItsCallers) {
    TParserDeclarations declarations = Declared({"F(X)=X", "G(X)=F(X)+1", "H(X)=X", "K(X)=G(X)"});
    declarations.SetFunctionLine(0, "F(X)=2*X");
    declarations.UpdateDeclarations();
    EXPECT_EQ(declarations.ChangedFunctions(), (Lines{"F", "G", "K"}));
    declarations.RemoveFunctionLine(2);
    declarations.UpdateDeclarations();
    EXPECT_EQ(declarations.ChangedFunctions(), (Lines{"H"}));
    EXPECT_EQ(DeclaredNames(declarations), (Lines{"F", "G", "K"}));
}

// Random edits of a few lines whose names call and shadow each other: after each update
// the incrementally kept declarations are what a full update of the same lines gives, and
// every function whose declaration changed is reported.
TEST(Declarations, IncrementalUpdatesEqualAFullUpdate) {
    std::mt19937 random(20240613);
    auto pick = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    const char* const names[] = {"F", "G", "H", "FG", "XF", "F1"};
    auto term = [&](auto& self, int depth) -> std::string {
        switch (pick(depth > 1 ? 3 : 6)) {
            case 0:
                return pick(2) == 0 ? "X" : "Y";
            case 1:
                return std::to_string(pick(5));
            case 2:
                return self(self, depth + 1) + (pick(2) == 0 ? "+" : "*") + self(self, depth + 1);
            default:  // a call with one or two arguments, of a function that may not exist
                return std::string(names[pick(6)]) + "(" + self(self, depth + 1) +
                       (pick(2) == 0 ? "" : ";" + self(self, 2)) + ")";
        }
    };
    auto line = [&]() -> std::string {
        const char* const malformed[] = {"", "1F(X)=X", "G(X=X", "K=3", "# only a comment"};
        if (pick(6) == 0) {
            return malformed[pick(5)];
        }
        return std::string(names[pick(6)]) + (pick(2) == 0 ? "(X)=" : "(X,Y)=") + term(term, 0);
    };
    auto described = [](const TParserDeclarations& declarations) {
        std::map<std::string, std::string> functions;
        for (const auto& function : declarations.DeclaredFunctions()) {
            functions[function.name] = function.body + " /" + std::to_string(function.arity) +
                                       " @" + std::to_string(function.sourceLine);
        }
        return functions;
    };

    TParserDeclarations incremental;
    Lines lines;
    std::map<std::string, std::string> before;
    std::map<std::string, std::string> after;
    for (int step = 0; step < 400; ++step) {
        const std::size_t at = pick(lines.size() + 2);  // now and then beyond the end
        switch (lines.size() > 16 ? 3 : pick(5)) {
            case 0:
            case 1:
                lines.insert(lines.begin() + static_cast<long>(std::min(at, lines.size())), line());
                incremental.InsertFunctionLine(at, lines[std::min(at, lines.size() - 1)]);
                break;
            case 2:
                if (at < lines.size()) {
                    lines[at] = line();
                }
                incremental.SetFunctionLine(at, at < lines.size() ? lines[at] : line());
                break;
            case 3:
                if (at < lines.size()) {
                    lines.erase(lines.begin() + static_cast<long>(at));
                }
                incremental.RemoveFunctionLine(at);
                break;
            default:  // the whole list, with a line replaced and one appended
                if (!lines.empty()) {
                    lines[pick(lines.size())] = line();
                }
                lines.push_back(line());
                incremental.SetFunctions(lines);
                break;
        }
        if (pick(3) == 0) {
            continue;  // several changes, then one update
        }
        incremental.UpdateDeclarations();
        TParserDeclarations full;
        full.SetFunctions(lines);
        full.UpdateDeclarations();
        ASSERT_EQ(incremental.Functions(), lines);
        ASSERT_EQ(incremental.Message(), full.Message()) << "step " << step;
        after = described(full);
        ASSERT_EQ(described(incremental), after) << "step " << step;
        for (const auto& [name, body] : after) {
            std::string call = "(" + name + "(X)(Y))";
            std::string expected = call;
            ASSERT_EQ(incremental.ExpandDeclared(call), full.ExpandDeclared(expected));
            ASSERT_EQ(call, expected);
        }
        auto unchanged = [&](const std::string& name) {  // all but the line it stands on
            const auto was = before.find(name);
            const auto is = after.find(name);
            return was != before.end() && is != after.end() &&
                   was->second.substr(0, was->second.find(" @")) ==
                       is->second.substr(0, is->second.find(" @"));
        };
        const Lines& reported = incremental.ChangedFunctions();
        for (const auto* functions : {&before, &after}) {
            for (const auto& [name, body] : *functions) {
                EXPECT_TRUE(unchanged(name) ||
                            std::binary_search(reported.begin(), reported.end(), name))
                    << name << " changed at step " << step;
            }
        }
        before = after;
    }
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
