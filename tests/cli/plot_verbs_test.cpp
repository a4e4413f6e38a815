#include "plot_verbs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/configuration_file.h"
#include "catalogue/file_text.h"
#include "catalogue/function_file.h"
#include "cli_test_support.h"
#include "pty_pair.h"

namespace pc::cli::test {
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

// Writes the example with the line after `marker` + `offset` replaced, under a checksum
// that fits, and returns its path.
std::string ExampleWith(const std::string& dir, const std::string& marker, std::size_t offset,
                        const std::string& text) {
    std::vector<std::string> lines = pc::ReadTextFile(kExample, pc::kFunctionFileMaxBytes).lines;
    lines.pop_back();
    lines.at(
        static_cast<std::size_t>(std::find(lines.begin(), lines.end(), marker) - lines.begin()) +
        offset) = text;
    lines.push_back(std::to_string(pc::FileChecksumOfText(lines)));
    const std::string path = dir + marker.substr(0, 1) + std::to_string(offset) + text + ".fx";
    std::string error;
    EXPECT_TRUE(pc::WriteTextFile(path, lines, error)) << error;
    return path;
}

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
        {"hpgl", kExample, "-o", "a.plt", "--port", "COM1"},  // only plot takes a port
        {"plot", kExample},                                   // no --port
        {"plot", kExample, "--port", "COM1", "-o", "a.plt"},
        {"plot", kExample, "--port", "COM1", "--baud", "1234"},  // not a rate of the dialog
    };
    for (const auto& arguments : bad) {
        const Outcome result = RunCli(arguments);
        EXPECT_EQ(result.code, 2) << testing::PrintToString(arguments);
        EXPECT_NE(result.err.find("usage: plotcraftsman-cli"), std::string::npos)
            << testing::PrintToString(arguments);
    }
}

TEST(CliPlotVerbs, AnUnwritableOutputFailsWithExitCodeOne) {
    const std::string dir = ScratchDirectory("failures");
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

// Regression: these drew an empty picture or wrote a 0-byte table and exited with 0, or
// hung on a FIFO, or ran out of memory on /dev/zero and on files of line ends.
TEST(CliPlotVerbs, AFunctionFileThatCannotBeUsedFailsWithExitCodeOne) {
    const std::string dir = ScratchDirectory("unusable");
    ASSERT_EQ(::mkfifo((dir + "fifo.fx").c_str(), 0600), 0);
    std::ofstream(dir + "large.fx").close();
    std::filesystem::resize_file(dir + "large.fx", pc::kFunctionFileMaxBytes + 1);
    std::vector<std::string> notes = {"text", "1004", "with", "no sections"};
    notes.push_back(std::to_string(pc::FileChecksumOfText(notes)));
    std::string error;
    ASSERT_TRUE(pc::WriteTextFile(dir + "notes.fx", notes, error)) << error;
    const std::string message15 = "message 15\nERROR 15 \\nObsolete";
    const std::string message16 = "message 16\nERROR 16 \\nPlotcraftsman - Funktionfile";
    const struct {
        std::string file;
        std::string messages;  // what the program shows, before the reason
        std::string reason;
    } cases[] = {
        {dir + "missing.fx", "", "No such file or directory"},
        {dir, "plain: Cannot read " + dir + ": not a regular file\n", "not a regular file"},
        {dir + "fifo.fx", "plain: Cannot read " + dir + "fifo.fx: not a regular file\n",
         "not a regular file"},
        {"/dev/zero", "plain: Cannot read /dev/zero: not a regular file\n", "not a regular file"},
        {dir + "large.fx", "plain: Cannot read " + dir + "large.fx: larger than 32 MB\n",
         "larger than 32 MB"},
        {ExampleWith(dir, "Plotcraftsman        ", 1, "1003"), message15,
         "line 2: version '1003' is not 1004"},
        {ExampleWith(dir, "*****", 6, "255"), message16, "item type '255' is not 0, 1 or 2"},
        {ExampleWith(dir, "%%%%%", 7, "3"), message16, "grid type '3' is not 0 to 2 or 4 to 10"},
        {dir + "notes.fx", "message 36\nERROR 36 \\nThe file is NOT a Plotcraftsman file.\n",
         "The file has no '*****' line."},
    };
    for (const auto& c : cases) {
        for (const std::string verb : {"render", "table", "hpgl"}) {
            SCOPED_TRACE(verb + " " + c.file);
            const std::string output = dir + "out." + (verb == "render" ? "png" : "out");
            const Outcome result = RunCli({verb, c.file, "-o", output});
            EXPECT_EQ(result.code, 1);
            EXPECT_EQ(result.err.substr(0, c.messages.size()), c.messages);
            EXPECT_TRUE(result.err.ends_with(c.reason + "\n")) << result.err;
            EXPECT_NE(result.err.find("plotcraftsman-cli: cannot read '" + c.file + "': "),
                      std::string::npos)
                << result.err;
            EXPECT_FALSE(std::filesystem::exists(output));
        }
    }
    std::ofstream(dir + "large.pcf").close();
    std::filesystem::resize_file(dir + "large.pcf", pc::kConfigurationFileMaxBytes + 1);
    const Outcome config =
        RunCli({"render", kExample, "-o", dir + "a.png", "--config", dir + "large.pcf"});
    EXPECT_EQ(config.code, 1);
    EXPECT_EQ(config.err, "plain: Cannot read " + dir + "large.pcf: larger than 1 MB\n" +
                              "plotcraftsman-cli: cannot read '" + dir +
                              "large.pcf': larger than 1 MB\n");
}

// A file taken despite a checksum that does not match is drawn; an item that has no values
// to tabulate is no table.
TEST(CliPlotVerbs, AChecksumMismatchStillDrawsButAnEmptyTableFails) {
    const std::string dir = ScratchDirectory("checksum");
    std::string bytes = ReadBytes(kExample);
    bytes.replace(bytes.find("SIN(X)*X+1"), 3, "COS");
    std::ofstream(dir + "edited.fx", std::ios::binary) << bytes;
    const Outcome edited = RunCli({"hpgl", dir + "edited.fx", "-o", dir + "a.plt"});
    EXPECT_EQ(edited.code, 0);
    EXPECT_EQ(edited.err.rfind("message 16\n", 0), 0u);
    EXPECT_TRUE(std::filesystem::exists(dir + "a.plt"));

    const Outcome implicit =
        RunCli({"table", ExampleWith(dir, "*****", 6, "2"), "-o", dir + "a.tfx"});
    EXPECT_EQ(implicit.code, 1);
    EXPECT_EQ(implicit.err,
              "plain: todo fxy\nplotcraftsman-cli: display item 0 has no "
              "computed values; nothing written\n");
    EXPECT_FALSE(std::filesystem::exists(dir + "a.tfx"));
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

// Every shipped example draws without a message (a hand edit under a stale checksum shows
// message 16) and its first item's curve shows in that item's colour.
TEST(CliPlotVerbs, EveryShippedExampleDrawsItsCurveWithoutAMessage) {
    const std::string dir = ScratchDirectory("examples");
    int examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PLOTCRAFTSMAN_EXAMPLES)) {
        const std::string file = entry.path().string();
        SCOPED_TRACE(file);
        ++examples;
        const std::string output = dir + entry.path().stem().string() + ".png";
        const Outcome result = RunCli({"render", file, "-o", output});
        EXPECT_EQ(result.code, 0);
        EXPECT_EQ(result.err, "");
        const std::vector<std::string> lines =
            pc::ReadTextFile(file, pc::kFunctionFileMaxBytes).lines;
        const auto items = std::find(lines.begin(), lines.end(), "*****");
        ASSERT_LT(items + 1, lines.end());
        const unsigned colour = static_cast<unsigned>(std::stoul(items[1]));  // 0x00BBGGRR
        const QImage image(QString::fromStdString(output));
        const QRgb curve = qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
        int pixels = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) pixels += image.pixel(x, y) == curve;
        EXPECT_GT(pixels, 500);
    }
    EXPECT_GE(examples, 5);
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

// plot sends exactly what hpgl writes for the same plot, through the program's serial code;
// a port that is not there is named in the message.
TEST(CliPlotVerbs, PlotSendsHpglsProgramToTheSerialPort) {
    const std::string dir = ScratchDirectory("plot");
    pc::test::PtyPair pty;
    ASSERT_TRUE(pty.Valid());
    pty.StartReading();
    ASSERT_EQ(RunCli({"hpgl", kExample, "-o", dir + "a.plt", "--size", "500x400"}).code, 0);
    const std::string expected = ReadBytes(dir + "a.plt");
    const Outcome sent = RunCli(
        {"plot", kExample, "--port", pty.SlaveName(), "--baud", "9600", "--size", "500x400"});
    EXPECT_EQ(sent.code, 0);
    EXPECT_EQ(sent.err, "");
    for (int wait = 0; wait < 1000 && pty.Received().size() < expected.size(); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(pty.Received(), expected);

    const Outcome missing = RunCli({"plot", kExample, "--port", "/dev/plotcraftsman-none"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err.rfind(
                  "plotcraftsman-cli: Unable to open com port: /dev/plotcraftsman-none: ", 0),
              0u)
        << missing.err;
}

}  // namespace
}  // namespace pc::cli::test
