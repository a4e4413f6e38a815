// plotcraftsman-cli's output is a contract scripts rely on: these tests pin the formats.

#include "cli.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "cli_test_support.h"

namespace pc::cli::test {
namespace {

TEST(CliEval, PrintsOneLinePerValueInTheGeneralNumberForm) {
    const Outcome result = RunCli({"eval", "--", "F1(X)=SIN(X)*X+1", "0", "1", "-2"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, "0\t1\t\n0\t1.8414709848079\t\n0\t2.81859485365136\t\n");
    EXPECT_EQ(result.err, "");
}

TEST(CliEval, EvaluatesOnceAtZeroWithoutValues) {
    EXPECT_EQ(RunCli({"eval", "--", "F(X)=X+0.001"}).out, "0\t0.001\t\n");
}

TEST(CliEval, ReportsStatusAndEscapedMessageOfAFailure) {
    const Outcome result = RunCli({"eval", "--", "F(X)=1/X", "0"});
    EXPECT_EQ(result.code, 0) << "a failing term is not a failing verb";
    EXPECT_EQ(result.out,
              "7\t0\tFunction is not defined for the given argument\\n\\ror division by zero\n");
}

TEST(CliEval, WritesLargeAndNonFiniteValuesAsTheProgramDoes) {
    EXPECT_EQ(RunCli({"eval", "--", "F(X)=REZ(X)", "1E-200"}).out,
              "0\t1E4000\tDivision by zero. Large value inserted.\n");
    EXPECT_EQ(RunCli({"eval", "--", "F(X)=NAN"}).out,
              "8\tNAN\tNaN: Evaluation aborted\\r\\nTerm is not properly analyzed yet\n");
    EXPECT_EQ(RunCli({"eval", "--", "F(X)=-X", "INF"}).out, "0\t-INF\t\n");
}

TEST(CliEval, AppliesAngleModeDeclarationsAndParameters) {
    EXPECT_EQ(RunCli({"eval", "--angle", "deg", "--", "F(X)=SIN(X)", "90"}).out, "0\t1\t\n");
    EXPECT_EQ(RunCli({"eval", "--angle", "gon", "--", "F(X)=ARCTAN(X)", "1"}).out, "0\t50\t\n");
    EXPECT_EQ(RunCli({"eval", "--function", "F1(X)=X^2", "--function", "F2(X)=F1(X+1)*2", "--",
                      "G(X)=F2(X)", "3"})
                  .out,
              "0\t32\t\n");
    EXPECT_EQ(RunCli({"eval", "--constant", "K=2*PI", "--", "F(X)=K/PI"}).out, "0\t2\t\n");
    EXPECT_EQ(RunCli({"eval", "--param", "A=2", "--param", "B=-1", "--", "F(X)=A*X+B", "5"}).out,
              "0\t9\t\n");
}

TEST(CliEval, PrintsTheDeclarationsMessageOnStandardError) {
    const Outcome result = RunCli({"eval", "--function", "F(X)=F(X)+1", "--", "G(X)=X"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, "0\t0\t\n");
    EXPECT_EQ(result.err, "declarations: \\r\\nRecursive Function: F(X)=F(X)+1\n");
}

TEST(CliEval, WritesUpToTheRequestedSignificantDigits) {
    // The extended value of the square root of 2 is 1.4142135623730950487637...
    EXPECT_EQ(RunCli({"eval", "--digits", "21", "--", "F(X)=2^0.5"}).out,
              "0\t1.41421356237309504876\t\n");
    EXPECT_EQ(RunCli({"eval", "--digits", "3", "--", "F(X)=X/3", "1", "1E5"}).out,
              "0\t0.333\t\n0\t3.33E4\t\n");
    EXPECT_EQ(RunCli({"flatten", "--digits", "21", "--constant", "K=1/3", "--", "F(X)=X*K"}).out,
              "0\tX*0.333333333333333333342\t\n");
}

TEST(CliFlatten, PrintsStatusRenderedTermAndMessage) {
    EXPECT_EQ(RunCli({"flatten", "--param", "Y=0", "--", "F(X)=X*Y+1"}).out, "0\t(X*Y)+1\t\n");
    EXPECT_EQ(RunCli({"flatten", "--", "F(X)=IF(X>0;1;2)"}).out, "0\tIF(X>0;1;2)\t\n");
    EXPECT_EQ(RunCli({"flatten", "--", "F(X)=2(X)"}).out,
              "3\tF(X)=2(X)\tTerm is not properly analyzed yet\n");
}

TEST(CliParse, PrintsEveryPartOfTheDefinition) {
    EXPECT_EQ(RunCli({"parse", "--", "f1(x) = a*sin(x)+G(x)*b"}).out,
              "status\t0\nname\tF1\nvariables\tX\nfunctions\tG\nparameters\tA,B\nrhs\t(A*SIN(X)+G("
              "X)*B)\n");
    EXPECT_EQ(RunCli({"parse", "--", "F=X"}).out.substr(0, 10), "status\t11\n");
}

TEST(CliUsage, RefusesBadCommandLinesWithExitCodeTwo) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate", "--", "F(X)=X"},
        {"eval", "F(X)=X"},  // no "--"
        {"eval", "--"},      // no definition
        {"eval", "--angle", "turns", "--", "F(X)=X"},
        {"eval", "--angle"},
        {"eval", "--param", "A", "--", "F(X)=A"},  // no "="
        {"eval", "--param", "A=seven", "--", "F(X)=A"},
        {"eval", "--", "F(X)=X", "1,5"},  // values use "."
        {"eval", "--bogus", "--", "F(X)=X"},
        {"flatten", "--", "F(X)=X", "2"},
        {"parse", "--angle", "deg", "--", "F(X)=X"},
        {"eval", "--digits", "0", "--", "F(X)=X"},
        {"eval", "--digits", "22", "--", "F(X)=X"},
        {"flatten", "--digits", "1.5", "--", "F(X)=X"},
        {"flatten", "--digits", "many", "--", "F(X)=X"},
    };
    for (const auto& arguments : bad) {
        const Outcome result = RunCli(arguments);
        EXPECT_EQ(result.code, 2) << testing::PrintToString(arguments);
        EXPECT_EQ(result.out, "") << testing::PrintToString(arguments);
        EXPECT_NE(result.err.find("usage: plotcraftsman-cli"), std::string::npos)
            << testing::PrintToString(arguments);
    }
}

TEST(CliScript, ReadsStandardInputSkippingBlankAndCommentLines) {
    const Outcome result =
        RunCli({"script"}, "\n# a comment\r\n   \nenter F1(X)=SIN(X)\r\ndrop F1 0 5\n  items\n");
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, "0 fty F1(X) nil valid shown 1\n");
    EXPECT_EQ(result.err, "");
}

TEST(CliScript, RefusesAFileItCannotReadAndExtraArguments) {
    // Regression: a folder opened and read as an empty script, with exit status 0.
    for (const auto& [path, reason] :
         {std::pair{"/nonexistent/plotcraftsman.txt", "No such file or directory"},
          {"/", "Is a directory"}}) {
        const Outcome failed = RunCli({"script", path});
        EXPECT_EQ(failed.code, 1);
        EXPECT_EQ(failed.err,
                  "plotcraftsman-cli: cannot open '" + std::string(path) + "': " + reason + "\n");
    }
    EXPECT_EQ(RunCli({"script", "a", "b"}).code, 2);
}

}  // namespace
}  // namespace pc::cli::test
