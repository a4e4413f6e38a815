#include "engine/function_parser.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "engine/parser_declarations.h"
#include "engine/parser_error.h"
#include "engine_test_support.h"

// The success path of Value allocates nothing: the global allocation functions are
// replaced by counting ones for the whole test program, and only the window around the
// measured loop is looked at.
namespace {

std::atomic<long> g_allocations{0};

void* CountedAllocation(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) {
    return CountedAllocation(size);
}
void* operator new[](std::size_t size) {
    return CountedAllocation(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

namespace pc {
namespace {

using test::kNotAnalyzedNotice;
using test::ParserWithDeclarations;

// A new parser is not analysed and works in radians; degrees and gon are pi/180 and
// pi/200 to the last bit.
TEST(FunctionParser, NewParserAndAngleFactors) {
    TFunctionParser parser;
    EXPECT_EQ(parser.AnalyseStatus(), ParserStatus::NotAnalyzed);
    EXPECT_EQ(parser.ValueCount(), 1u);
    EXPECT_EQ(parser.Anglemode(), TAngleMode::RAD);
    EXPECT_EQ(parser.Value(), 0);
    EXPECT_EQ(parser.EvaluationStatus(), ParserStatus::NotAnalyzed);
    EXPECT_EQ(parser.Message(), kNotAnalyzedNotice);
    EXPECT_EQ(parser.Evaluate(), ParserStatus::NotAnalyzed);
    EXPECT_EQ(parser.AngleFactor(), 1);
    for (const auto& [mode, factor] :
         {std::pair{TAngleMode::DEG, 0x8EFA351294E9C8AEp-69L},
          std::pair{TAngleMode::GON, 0x80ADFC90B938CE36p-69L}, std::pair{TAngleMode::RAD, 1.0L}}) {
        parser.SetAnglemode(mode);
        EXPECT_TRUE(test::SameValue(parser.AngleFactor(), factor)) << static_cast<int>(mode);
    }
}

// The text of the exception `call` throws, or "" when it throws none.
template <typename Call>
std::string ParserErrorOf(Call call) {
    try {
        call();
    } catch (const EParserError& error) {
        return error.what();
    }
    return "";
}

// A sampler binds its variable once and evaluates without a try/catch at every point.
static_assert(noexcept(std::declval<TFunctionParser&>().SetVariableAt(0, 1)));
static_assert(noexcept(std::declval<TFunctionParser&>().Value()));

TEST(FunctionParser, MisuseRaisesParserErrors) {
    TFunctionParser parser;
    EXPECT_EQ(ParserErrorOf([&] { parser.SetTerm("F(X)=X"); }), "No declarations assigned");

    ParserWithDeclarations setup("F(T)=T^2");
    setup.parser.SetVariable("t", 3);
    EXPECT_EQ(setup.parser.Value(), 9);
    for (const char* name : {"X", "A", ""}) {
        EXPECT_EQ(ParserErrorOf([&] { setup.parser.SetVariable(name, 1); }),
                  "Unknown variable name")
            << name;
    }
}

TEST(FunctionParser, OnErrorIsCalledForEveryNonZeroStatus) {
    ParserWithDeclarations setup;
    std::vector<std::string> messages;
    setup.parser.OnError = [&](TFunctionParser& sender, const std::string& message) {
        EXPECT_EQ(&sender, &setup.parser);
        messages.push_back(message);
    };

    setup.parser.SetTerm("F(X)=1/X");
    EXPECT_EQ(setup.ValueAt(0).status, ParserStatus::EvaluationFailed);
    EXPECT_EQ(setup.ValueAt(2).value, 0.5);
    setup.parser.SetTerm("F(X)=REZ(X)");  // a warning is no error
    EXPECT_EQ(setup.ValueAt(0).message, "Division by zero. Large value inserted.");
    setup.parser.SetTerm("F(X)=2(X)");
    setup.ValueAt(0);
    EXPECT_EQ(setup.parser.ParsedTerm(), "F(X)=2(X)");
    const std::string undefined = "Undefined Function: 2";
    EXPECT_EQ(messages, (std::vector<std::string>{test::kNotDefined, undefined,
                                                  undefined + kNotAnalyzedNotice,
                                                  "Term is not properly analyzed yet"}));
}

TEST(FunctionParser, ParsedTermOfAFailedAnalysisReportsItsStatus) {
    ParserWithDeclarations setup("F(X)=K/X");
    EXPECT_EQ(setup.ValueAt(0).status, ParserStatus::EvaluationFailed);
    // A constant declared later makes the re-analysis fail; Analyze alone keeps the
    // evaluation status of the last evaluation.
    setup.declarations.SetConstants({"K=K"});
    EXPECT_EQ(setup.parser.Analyze(), ParserStatus::Syntax);
    EXPECT_EQ(setup.parser.EvaluationStatus(), ParserStatus::EvaluationFailed);
    EXPECT_EQ(setup.parser.ParsedTerm(), "F(X)=K/X");
    EXPECT_EQ(setup.parser.EvaluationStatus(), ParserStatus::Syntax);
    EXPECT_EQ(setup.parser.Message(), "Term is not properly analyzed yet");
}

// Each definition replaces an analysed "F(X)=X+1"; one without "=" forgets the old term.
TEST(FunctionParser, AnalysisStatuses) {
    struct Case {
        const char* definition;
        ParserStatus status;
        const char* message;
    } const cases[] = {
        {"F(X)", ParserStatus::EmptyTerm, "Term is empty string"},
        {"F(X)=(X", ParserStatus::Parentheses, "Wrong parentheses"},
        {"F(X)=X)", ParserStatus::Parentheses, "Wrong parentheses"},
        {"F(X)=G(2)", ParserStatus::DeclaredCall, "Recursive or unknown function call"},
        {"F(X)=X*-1", ParserStatus::MissingOperand, "Missing Operand in Function Term"},
        {"F(X)=NAN*X", ParserStatus::NaN, "NaN: Evaluation aborted"},
        {"F(X)=X*(-1)", ParserStatus::Ok, ""},
    };
    for (const Case& c : cases) {
        ParserWithDeclarations setup("F(X)=X+1", {"G(A,B)=A*B"});
        setup.parser.SetTerm(c.definition);
        EXPECT_EQ(setup.parser.AnalyseStatus(), c.status) << c.definition;
        EXPECT_EQ(setup.parser.EvaluationStatus(), c.status) << c.definition;
        EXPECT_EQ(setup.parser.Message(), c.message) << c.definition;
        EXPECT_EQ(setup.parser.RightHandSide().empty(), c.status == ParserStatus::EmptyTerm);
        // X is 0; a failure gives 0, and NaN an ordinary quiet NaN (integer and quiet bit set).
        const Extended value = setup.parser.Value();
        std::uint64_t significand = 0;
        std::memcpy(&significand, &value, sizeof significand);
        EXPECT_TRUE(c.status == ParserStatus::NaN
                        ? significand >> 62 == 3 && std::isnan(value)
                        : test::SameValue(value, c.status == ParserStatus::Ok ? -0.0L : 0))
            << c.definition;
        EXPECT_EQ(setup.parser.EvaluationStatus(), c.status) << c.definition;
    }
}

TEST(FunctionParser, UnanalysedEvaluationsAppendANoticeUpToALimit) {
    ParserWithDeclarations setup("F(X)=2SIN(X)");
    const std::string first = setup.parser.Message();
    ASSERT_EQ(first, "Syntax Error");
    EXPECT_EQ(setup.parser.Evaluate(), ParserStatus::Syntax);
    EXPECT_EQ(setup.parser.Evaluate(), ParserStatus::Syntax);
    EXPECT_EQ(setup.parser.Message(), first + kNotAnalyzedNotice + kNotAnalyzedNotice);

    for (int i = 0; i < 500; ++i) {
        setup.parser.Value();
    }
    const std::string& message = setup.parser.Message();
    const std::size_t notice = std::string(kNotAnalyzedNotice).size();
    EXPECT_GE(message.size(), 4096u);
    EXPECT_LT(message.size(), 4096u + notice);
    EXPECT_EQ((message.size() - first.size()) % notice, 0u) << "only whole notices are appended";
    EXPECT_EQ(message.substr(message.size() - notice), kNotAnalyzedNotice);
    EXPECT_EQ(setup.parser.EvaluationStatus(), ParserStatus::Syntax);
}

TEST(FunctionParser, WarningsSurviveOnlyAsTheLastStep) {
    ParserWithDeclarations setup("F(X)=REZ(X-1)");
    EXPECT_EQ(setup.ValueAt(1).message, "Division by zero. Large value inserted.");
    setup.parser.SetVariable("X", 3);
    EXPECT_EQ(setup.parser.Evaluate(), ParserStatus::Ok);
    EXPECT_EQ(setup.parser.Result(), 0.5);
    EXPECT_EQ(setup.parser.Message(), "");
    // Every later operator or function replaces a warning by its own message, usually none.
    for (const char* definition :
         {"F(X)=REZ(X)+1", "F(X)=ABS(REZ(X))", "F(X)=MAX(SI(50);REZ(X))"}) {
        setup.parser.SetTerm(definition);
        const test::Outcome outcome = setup.ValueAt(0);
        EXPECT_EQ(outcome.status, ParserStatus::Ok) << definition;
        EXPECT_EQ(outcome.message, "") << definition;
    }
    setup.parser.SetTerm("F(X)=SI(50+REZ(X)*0)");
    EXPECT_EQ(setup.ValueAt(0).message,
              "Argument of integral sine is too large. Result is only approximated")
        << "the last warning stands when nothing follows it";
}

TEST(FunctionParser, AnglemodeChangesWithoutNewAnalysis) {
    ParserWithDeclarations setup("F(X)=SIN(X)+K", {}, {"K=SIN(90)"}, TAngleMode::DEG);
    EXPECT_TRUE(test::Near(setup.ValueAt(90).value, 2, 1E-17L));
    setup.parser.SetAnglemode(TAngleMode::GON);
    EXPECT_TRUE(test::Near(setup.ValueAt(100).value, 2, 1E-17L));
    setup.parser.SetAnglemode(TAngleMode::RAD);
    // The constant keeps the value it had with the angle mode of the analysis.
    EXPECT_TRUE(test::Near(setup.ValueAt(kPi / 2).value, 2, 1E-17L));
    setup.parser.Analyze();
    EXPECT_TRUE(test::Near(setup.ValueAt(kPi / 2).value, 1 + std::sin(90.0L), 1E-17L));

    ParserWithDeclarations radians("F(X)=SIN(X)+COS(X)+TAN(X/2)");
    EXPECT_TRUE(test::Near(radians.ValueAt(kPi / 2).value, 2, 1E-17L));
    radians.parser.SetAnglemode(TAngleMode::DEG);
    EXPECT_TRUE(test::Near(radians.ValueAt(90).value, 2, 1E-17L));
    radians.parser.SetAnglemode(TAngleMode::GON);
    EXPECT_TRUE(test::Near(radians.ValueAt(100).value, 2, 1E-17L));
}

TEST(FunctionParser, ExtraVariables) {
    const std::vector<std::string> extras = {"A", "b", "x"};
    ParserWithDeclarations setup("F(X)=A*X+B");
    EXPECT_EQ(setup.ValueAt(5).value, 0) << "without extras A and B are the constant 0";
    EXPECT_THROW(setup.parser.SetVariable("A", 1), EParserError);

    setup.parser.SetExtraVariables(&extras);
    EXPECT_THROW(setup.parser.SetVariable("A", 1), EParserError)
        << "extras take effect at the next analysis";
    setup.parser.Analyze();
    EXPECT_EQ(setup.parser.Variables(), (std::vector<std::string>{"X", "A", "b"}));
    EXPECT_EQ(setup.parser.DefinitionVariableCount(), 1u);
    EXPECT_EQ(setup.parser.ValueCount(), 3u);
    EXPECT_EQ(setup.parser.FreeIdentifiers(), (std::vector<std::string>{"A", "B"}));
    setup.parser.SetVariable("a", 2);
    setup.parser.SetVariable("B", 3);
    EXPECT_EQ(setup.ValueAt(5).value, 13);

    setup.parser.SetTerm("F(T)=T*B");
    EXPECT_EQ(setup.parser.Variables(), (std::vector<std::string>{"T", "A", "b", "x"}));
    EXPECT_EQ(setup.parser.ValueCount(), 4u);
}

TEST(Allocation, SuccessfulEvaluationsAllocateNothing) {
    const long start = g_allocations.load();
    delete new std::vector<int>(100);
    ASSERT_GE(g_allocations.load() - start, 2) << "counting is in force: the vector and its buffer";
    for (const char* definition :
         {"F(X)=SIN(X)*X+1", "F(X)=IF(X>0;X^2;-X)", "F(X)=SQRT(ABS(X))+MAX(X;1)*ATAN2(X;2)",
          "F(X)=G(X)*K+X^0.5^2"}) {
        test::ParserWithDeclarations setup(definition, {"G(X)=COS(X)-X"}, {"K=2*PI"});
        ASSERT_EQ(setup.parser.AnalyseStatus(), ParserStatus::Ok) << definition;
        setup.parser.SetVariable("X", 1);
        setup.parser.Value();  // a first evaluation may settle anything lazily made

        int failures = 0;
        Extended sum = 0;
        const long before = g_allocations.load();
        for (int i = 0; i < 10000; ++i) {
            setup.parser.SetVariable("X", static_cast<Extended>(i % 200) / 10 + 0.05L);
            sum += setup.parser.Value();
            failures += setup.parser.EvaluationStatus() != ParserStatus::Ok ? 1 : 0;
        }
        const long allocations = g_allocations.load() - before;
        EXPECT_EQ(failures, 0) << definition;
        EXPECT_EQ(allocations, 0) << definition;
        EXPECT_TRUE(std::isfinite(sum)) << definition;
    }
}

}  // namespace
}  // namespace pc
