#include "engine/parser_declarations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/normalise.h"
#include "engine_test_support.h"

namespace pc {
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

// X is 3. XP is an identifier, not a call of P, and neither is P after "&" or "|", which
// are not among the characters that may stand before a call; R is dropped as recursive.
TEST(Declarations, CallsOfDeclaredFunctionsEvaluate) {
    test::ParserWithDeclarations setup(
        "", {"F1(X)=X^2", "F2(X)=F1(X+1)*2", "G(X,Y)=X*Y", "H(A;B;C)=A-B*C",
             "N(A,B,C,D,E,F,G,H,I)=A+B+C+D+E+F+G+H+I*10", "R(X)=R(X)+1", "P(X)=X+1"});
    const struct {
        const char* term;
        Extended value;
        const char* message = "";
    } cases[] = {
        // clang-format off
        {"F2(3)", 32}, {"G(2,3)", 6}, {"G(X;X+1)", 12}, {"H(10;2;3)", 4}, {"F1(F1(X))", 81},
        {"G(F2(0);F1(-X))", 18}, {"N(1,2,3,4,5,6,7,8,9)", 126},  // nine parameters at most
        {"X*P(1)", 6}, {"R(1)", 0, "Undefined Function: R"}, {"XP(1)", 0, "Undefined Function: XP"},
        {"X&P(1)", 0, "Undefined Function: P"}, {"X|P(1)", 0, "Undefined Function: P"},
        // clang-format on
    };
    for (const auto& c : cases) {
        setup.parser.SetTerm(std::string("F(X)=") + c.term);
        EXPECT_EQ(setup.parser.AnalyseStatus(),
                  *c.message ? ParserStatus::Syntax : ParserStatus::Ok)
            << c.term;
        EXPECT_EQ(setup.parser.Message(), c.message) << c.term;
        EXPECT_EQ(setup.ValueAt(3).value, c.value) << c.term;
    }
}

TEST(Declarations, MalformedLinesAreDroppedWithTheirText) {
    const std::string ten = "T(A,B,C,D,E,F,G,H,I,J)=A";
    const struct {
        Lines functions;
        Lines valid;
        std::string message;
    } cases[] = {
        // clang-format off
        {{"F(X)=X+1 # comment", "  ", "# only a comment"}, {"F"}, ""},
        {{"H(X=X", "G(X)=X"}, {"G"}, "\r\nWrong Parentheses in Function H(X=X"},
        // The fixed words end in a blank, and one blank more follows.
        {{"1F(X)=X", "G(X)=X"}, {"G"}, "\r\nUnvalid function identifier  "},
        {{"K=3"}, {}, "\r\nUnvalid argument identifier in K"},
        {{"M(1)=2"}, {}, "\r\nUnvalid argument identifier in M"},
        {{"P(X)+1=X"}, {}, "\r\nUnvalid argument identifier in P(X)+1=X"},
        {{ten}, {}, "\r\nUnvalid argument identifier in " + ten},
        {{"G(X)=X", "g(x) = 2*x"}, {"G"}, "Duplicate identifierg(x) = 2*x"},
        {{"F(X)=F(X)+1"}, {}, "\r\nRecursive Function: F(X)=F(X)+1"},
        {{"A(X)=B(X)", "B(X)=A(X)", "C(X)=X"}, {"B", "C"}, "\r\nRecursive Function: A(X)=B(X)"},
        // The call of F vanishes with H's unused argument, but only when H, standing
        // earlier, is substituted before F.
        {{"H(X)=0", "F(X)=H(F(X))"}, {"H", "F"}, ""},
        {{"F(X)=H(F(X))", "H(X)=0"}, {"H"}, "\r\nRecursive Function: F(X)=H(F(X))"},
        // clang-format on
    };
    for (const auto& c : cases) {
        const TParserDeclarations declarations = Declared(c.functions);
        EXPECT_EQ(declarations.Message(), c.message) << c.functions.front();
        EXPECT_EQ(DeclaredNames(declarations), c.valid) << c.functions.front();
    }
}

TEST(ExpandDeclared, ExpandsCallsWithAllTheirArguments) {
    const TParserDeclarations declarations = Declared({"F(X)=X+1", "G(X)=SIN(X)*X+X1"});
    std::string text = Normalise("(F(2)*XF(3)+G(Y))");
    ASSERT_TRUE(declarations.ExpandDeclared(text));
    // An argument that is the whole content of a pair of parentheses gets no second pair;
    // X inside the identifier X1 is no parameter.
    EXPECT_EQ(text, "(((2)+1)*XF(3)+(SIN(Y)*(Y)+X1))");
    std::string tooFew = "(G(2))";
    EXPECT_FALSE(Declared({"G(X,Y)=X*Y"}).ExpandDeclared(tooFew)) << "an argument is missing";
}

TEST(ExpandDeclared, ExpansionsBeyondSixtyFourKilobytesFail) {
    // 64 copies of the argument in parentheses, joined by "+", inside one pair.
    const TParserDeclarations declarations = Declared({"W(A)=A" + test::Repeat("+A", 63)});
    auto expandedLength = [&declarations](std::size_t argumentLength) -> long {
        std::string text = "W(" + std::string(argumentLength, '1') + ")";
        return declarations.ExpandDeclared(text) ? static_cast<long>(text.size()) : -1;
    };
    EXPECT_EQ(expandedLength(1020), 64 * 1022 + 63 + 2);
    EXPECT_EQ(expandedLength(1022), -1) << "65601 characters";
}

TEST(Declarations, EachSetTermSeesTheCurrentFunctions) {
    test::ParserWithDeclarations setup("F(X)=G(X)", {"G(X)=X+1"});
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
    test::ParserWithDeclarations setup("G(X)=F4999(X)*F120(X)", lines);
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
        const std::size_t kind = pick(depth > 1 ? 3 : 6);
        if (kind < 2) {
            return kind == 0 ? (pick(2) == 0 ? "X" : "Y") : std::to_string(pick(5));
        }
        if (kind == 2) {
            return self(self, depth + 1) + (pick(2) == 0 ? "+" : "*") + self(self, depth + 1);
        }
        // A call with one or two arguments, of a function that may not be declared.
        return std::string(names[pick(6)]) + "(" + self(self, depth + 1) +
               (pick(2) == 0 ? "" : ";" + self(self, 2)) + ")";
    };
    const char* const malformed[] = {"", "1F(X)=X", "G(X=X", "K=3", "# only a comment"};
    auto line = [&]() -> std::string {
        return pick(6) == 0
                   ? malformed[pick(5)]
                   : names[pick(6)] + std::string(pick(2) == 0 ? "(X)=" : "(X,Y)=") + term(term, 0);
    };
    // Each declared function's body and arity, and where it stands.
    using Described = std::map<std::string, std::pair<std::string, std::size_t>>;
    auto describe = [](const TParserDeclarations& declarations) {
        Described functions;
        for (const auto& function : declarations.DeclaredFunctions()) {
            functions[function.name] = {function.body + std::to_string(function.arity),
                                        function.sourceLine};
        }
        return functions;
    };

    TParserDeclarations incremental;
    Lines lines;
    Described before;
    for (int step = 0; step < 400; ++step) {
        const std::size_t at = pick(lines.size() + 2);  // now and then beyond the end
        const std::size_t operation = lines.size() > 16 ? 3 : pick(5);
        if (operation < 2) {
            lines.insert(lines.begin() + static_cast<long>(std::min(at, lines.size())), line());
            incremental.InsertFunctionLine(at, lines[std::min(at, lines.size() - 1)]);
        } else if (operation == 2) {
            const std::string text = line();
            if (at < lines.size()) {
                lines[at] = text;
            }
            incremental.SetFunctionLine(at, text);
        } else if (operation == 3) {
            if (at < lines.size()) {
                lines.erase(lines.begin() + static_cast<long>(at));
            }
            incremental.RemoveFunctionLine(at);
        } else {  // the whole list, with a line replaced and one appended
            if (!lines.empty()) {
                lines[pick(lines.size())] = line();
            }
            lines.push_back(line());
            incremental.SetFunctions(lines);
        }
        if (pick(3) == 0) {
            continue;  // several changes, then one update
        }
        incremental.UpdateDeclarations();
        TParserDeclarations full = Declared(lines);
        Described after = describe(full);
        ASSERT_EQ(incremental.Functions(), lines);
        ASSERT_EQ(incremental.Message(), full.Message()) << "step " << step;
        ASSERT_EQ(describe(incremental), after) << "step " << step;
        for (const auto& [name, function] : after) {
            std::string call = "(" + name + "(X)(Y))";
            std::string expected = call;
            ASSERT_EQ(incremental.ExpandDeclared(call), full.ExpandDeclared(expected));
            ASSERT_EQ(call, expected);
        }
        const Lines& reported = incremental.ChangedFunctions();
        for (const Described* functions : {&before, &after}) {
            for (const auto& [name, function] : *functions) {
                const bool same = before.count(name) != 0 && after.count(name) != 0 &&
                                  before.at(name).first == after.at(name).first;
                EXPECT_TRUE(same || std::binary_search(reported.begin(), reported.end(), name))
                    << name << " changed at step " << step;
            }
        }
        before = after;
    }
}

}  // namespace
}  // namespace pc
