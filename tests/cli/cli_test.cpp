// plotcraftsman-cli's output is a contract scripts rely on: these tests pin the formats.

#include "cli.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

Outcome RunCli(std::vector<std::string> arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = pc::cli::Run(arguments, out, err);
    return {code, out.str(), err.str()};
}

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

}  // namespace

namespace {

Outcome RunScript(const std::string& script, std::vector<std::string> arguments = {"script"}) {
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream err;
    const int code = pc::cli::Run(arguments, in, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace

TEST(CliScript, ReadsStandardInputSkippingBlankAndCommentLines) {
    const Outcome result =
        RunScript("\n# a comment\r\n   \nenter F1(X)=SIN(X)\r\ndrop F1 0 5\n  items\n");
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, "0 fty F1(X) nil valid shown 1\n");
    EXPECT_EQ(result.err, "");
}

TEST(CliScript, PrintsNumberedMessagesWithTheirTextOnOneLine) {
    // Message 9's text has two line feeds; they must not break the one-line-per-message form.
    const Outcome result = RunScript("redraw\nenter F(X\n");
    EXPECT_EQ(result.out,
              "message 9\nERROR 9 \\nNo Function selected. \\n-> Drag Function(s) to the List  "
              "'View Functions' !\n"
              "plain: Syntax Error: \\r\\nF(X\n");
}

TEST(CliScript, GoesOnAfterAnErrorAndKeepsTheTypedSpacingOfADefinition) {
    const Outcome result = RunScript("bogus\nenter  F1(X) = X * 2 \nselect 0\nselect x\ntree\n");
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(
        result.out,
        "error: unknown command 'bogus'\nerror: line 'x' is not a whole number\nF1(X) [black]\n");
}

TEST(CliScript, RefusesAMissingFileAndExtraArguments) {
    const Outcome missing = RunScript("", {"script", "/nonexistent/plotcraftsman.txt"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("cannot open"), std::string::npos);
    EXPECT_EQ(RunScript("", {"script", "a", "b"}).code, 2);
}

namespace {

// A scratch folder of its own for each test.
std::string ScratchDirectory(const std::string& name) {
    const std::filesystem::path path =
        std::filesystem::path(testing::TempDir()) / ("plotcraftsman-cli-" + name);
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path.string() + "/";
}

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

const std::string kExample = PLOTCRAFTSMAN_EXAMPLES "/sinx.fx";

}  // namespace

TEST(CliPlotVerbs, RefuseBadCommandLinesWithExitCodeTwo) {
    const std::vector<std::vector<std::string>> bad = {
        {"render"},
        {"render", kExample},                         // no -o
        {"render", kExample, "-o"},                   // -o without a value
        {"render", kExample, "-o", "a.png", "b.fx"},  // two files
        {"render", kExample, "-o", "a.png", "--size", "800"},
        {"render", kExample, "-o", "a.png", "--size", "49x600"},  // below 50 pixels
        {"render", kExample, "-o", "a.png", "--size", "800x99999"},
        {"render", kExample, "-o", "a.png", "--item", "0"},  // only table takes an item
        {"table", kExample, "-o", "a.tfx", "--item", "-1"},
        {"table", kExample, "-o", "a.tfx", "--size", "800x600"},
        {"hpgl", kExample, "-o", "a.plt", "--config", "a.pcf"},
    };
    for (const auto& arguments : bad) {
        const Outcome result = RunCli(arguments);
        EXPECT_EQ(result.code, 2) << testing::PrintToString(arguments);
        EXPECT_NE(result.err.find("usage: plotcraftsman-cli"), std::string::npos)
            << testing::PrintToString(arguments);
    }
}

TEST(CliPlotVerbs, AMissingInputOrAnUnwritableOutputFailsWithExitCodeOne) {
    const std::string dir = ScratchDirectory("failures");
    const Outcome missing = RunCli({"render", dir + "missing.fx", "-o", dir + "a.png"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
    const Outcome format = RunCli({"render", kExample, "-o", dir + "a.gif"});
    EXPECT_EQ(format.code, 1);
    EXPECT_NE(format.err.find(".png or .bmp"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir + "a.gif"));
    const Outcome folder = RunCli({"hpgl", kExample, "-o", dir + "no/such/folder/a.plt"});
    EXPECT_EQ(folder.code, 1);
    const Outcome item = RunCli({"table", kExample, "-o", dir + "a.tfx", "--item", "3"});
    EXPECT_EQ(item.code, 1);
    EXPECT_NE(item.err.find("no item 3"), std::string::npos);
}

TEST(CliPlotVerbs, RenderWritesThePictureInTheFormatOfItsExtension) {
    const std::string dir = ScratchDirectory("render");
    const Outcome png = RunCli({"render", kExample, "-o", dir + "a.png", "--size", "640x480"});
    ASSERT_EQ(png.code, 0) << png.err;
    EXPECT_EQ(png.err, "");
    QImage image(QString::fromStdString(dir + "a.png"));
    // The image is the panel less the two pixels of the panel's frame.
    EXPECT_EQ(image.width(), 638);
    EXPECT_EQ(image.height(), 478);
    const Outcome bmp = RunCli({"render", kExample, "-o", dir + "a.BMP"});
    ASSERT_EQ(bmp.code, 0) << bmp.err;
    EXPECT_EQ(ReadBytes(dir + "a.BMP").substr(0, 2), "BM");
    EXPECT_EQ(QImage(QString::fromStdString(dir + "a.BMP")).width(), 798);  // 800 x 600
}

TEST(CliPlotVerbs, TableWritesTheSampledValuesOfTheItem) {
    const std::string dir = ScratchDirectory("table");
    const Outcome result = RunCli({"table", kExample, "-o", dir + "a.tfx"});
    ASSERT_EQ(result.code, 0) << result.err;
    const std::string text = ReadBytes(dir + "a.tfx");
    // Eight header lines and the example's 200 points from -10 to 10, each "X Y ".
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 208);
    EXPECT_NE(text.find("\r\n-10 "), std::string::npos);
    EXPECT_NE(text.find("\r\n10 "), std::string::npos);
    EXPECT_EQ(text.find("NAN"), std::string::npos);
}

TEST(CliPlotVerbs, HpglWritesTheWholeProgramWithoutATrailingLineEnd) {
    const std::string dir = ScratchDirectory("hpgl");
    const Outcome result = RunCli({"hpgl", kExample, "-o", dir + "a.plt", "--size", "500x400"});
    ASSERT_EQ(result.code, 0) << result.err;
    const std::string text = ReadBytes(dir + "a.plt");
    EXPECT_EQ(
        text.rfind("IN;\r\nSP1;\r\nFS3,1;\r\nVS30,1;\r\nAS3,1;\r\nIP430,7200,9000,800;\r\nSC0,", 0),
        0u);
    EXPECT_TRUE(text.ends_with("PU;\r\nSP0;"));
    // One polyline for the example's one curve, with its 200 points and the first twice.
    const auto polyline = text.find("PU;PA");
    ASSERT_NE(polyline, std::string::npos);
    const std::string line = text.substr(polyline, text.find("\r\n", polyline) - polyline);
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), 1 + 2 * 200);
}
