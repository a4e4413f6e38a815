#include "plot_verbs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/configuration_file.h"
#include "catalogue/file_text.h"
#include "catalogue/function_file.h"
#include "cli_test_support.h"
#include "headless.h"
#include "plot/plot_session.h"
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
        {"render", kExample, "-o", "a.png", "--item", "0"},     // only table takes an item
        {"render", kExample, "-o", "a.gif"},                    // no format of render's
        {"render", kExample, "-o", "a.png", "--scale", "0.2"},  // 0.25 to 8
        {"render", kExample, "-o", "a.png", "--scale", "2,5"},
        {"render", kExample, "-o", "a.svg", "--scale", "2"},      // no pixels to scale
        {"render", kExample, "-o", "a.png", "--classic", "yes"},  // a flag takes no value
        {"table", kExample, "-o", "a.csv", "--classic"},
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
    EXPECT_NE(format.err.find(".png, .bmp, .svg or .pdf, not '" + dir + "a.gif'"),
              std::string::npos);
    // Regression: a large panel at the largest scale asked for gigabytes of bitmap.
    std::ofstream(dir + "a.png") << "old";
    const Outcome huge =
        RunCli({"render", kExample, "-o", dir + "a.png", "--size", "4000x3000", "--scale", "3"});
    EXPECT_EQ(huge.code, 1);
    EXPECT_NE(huge.err.find("11994 x 8994 pixels is larger than 67 million"), std::string::npos)
        << huge.err;
    EXPECT_EQ(ReadBytes(dir + "a.png"), "old");
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

// Each format at the picture's size: a bitmap of the image (less the panel's two frame
// pixels) times the scale, an SVG whose view box is the image, a PDF page of the image's
// size at 96 pixels to the inch.
TEST(CliPlotVerbs, RenderWritesThePictureInTheFormatOfItsExtension) {
    const std::string dir = ScratchDirectory("render");
    const struct {
        std::vector<std::string> options;
        std::string file;
        std::string magic;
        int width;
        int height;
    } cases[] = {
        {{"--size", "640x480"}, "a.png", "\x89PNG", 638, 478},
        {{}, "a.BMP", "BM", 798, 598},
        {{"--size", "640x480", "--scale", "2", "--classic"}, "b.png", "\x89PNG", 1276, 956},
        {{"--scale", "0.25"}, "b.bmp", "BM", 200, 150},  // 798 / 4 rounded
        {{"--size", "640x480"}, "a.svg", "<?xml", 638, 478},
        {{"--size", "640x480", "--classic"}, "a.Pdf", "%PDF-", 638, 478},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::vector<std::string> arguments = {"render", kExample, "-o", dir + c.file};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const Outcome result = RunCli(arguments);
        ASSERT_EQ(result.code, 0) << result.err;
        EXPECT_EQ(result.err, "");
        const std::string bytes = ReadBytes(dir + c.file);
        EXPECT_EQ(bytes.substr(0, c.magic.size()), c.magic);
        if (c.magic == "<?xml") {
            EXPECT_NE(bytes.find("viewBox=\"0 0 " + std::to_string(c.width) + " " +
                                 std::to_string(c.height) + "\""),
                      std::string::npos);
            EXPECT_NE(bytes.find("<title>Plotcraftsman</title>"), std::string::npos);
        } else if (c.magic == "%PDF-") {
            // One page, its box in whole points (72 to the inch), rounded up.
            const auto box = bytes.find("/MediaBox [0 0 ");
            ASSERT_NE(box, std::string::npos);
            double width = 0;
            double height = 0;
            std::istringstream(bytes.substr(box + 15, 40)) >> width >> height;
            EXPECT_EQ(width, std::ceil(c.width * 0.75));
            EXPECT_EQ(height, std::ceil(c.height * 0.75));
            EXPECT_NE(bytes.find("/Count 1"), std::string::npos);
        } else {
            const QImage image(QString::fromStdString(dir + c.file));
            EXPECT_EQ(image.width(), c.width);
            EXPECT_EQ(image.height(), c.height);
        }
    }
}

// --classic writes the picture the program has always drawn, pixel for pixel; without it
// the new drawing differs. A file that cannot be replaced stays as it was.
TEST(CliPlotVerbs, RenderClassicIsTheClassicImage) {
    const std::string dir = ScratchDirectory("classic");
    std::ostringstream messages;
    EnsureGuiApplication();
    HeadlessProgram program(messages);
    ASSERT_EQ(program.LoadFunctionFile(kExample).outcome, FunctionFileOutcome::Loaded);
    program.session.SetClassicDrawing(true);
    program.LayOut(500, 400);
    program.session.RedrawSurface(program.session.main);
    const QImage classic = program.session.main.Image().convertToFormat(QImage::Format_RGB32);
    for (const bool wanted : {true, false}) {
        std::vector<std::string> arguments = {"render",      kExample, "-o",
                                              dir + "a.png", "--size", "500x400"};
        if (wanted)
            arguments.push_back("--classic");
        ASSERT_EQ(RunCli(arguments).code, 0);
        const QImage written =
            QImage(QString::fromStdString(dir + "a.png")).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(written == classic, wanted);
    }
}

// Every shipped example draws without a message (a hand edit under a stale checksum shows
// message 16) and its first item's curve shows in that item's colour (in the classic
// drawing, where a curve's pixels have exactly that colour).
TEST(CliPlotVerbs, EveryShippedExampleDrawsItsCurveWithoutAMessage) {
    const std::string dir = ScratchDirectory("examples");
    int examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PLOTCRAFTSMAN_EXAMPLES)) {
        const std::string file = entry.path().string();
        SCOPED_TRACE(file);
        ++examples;
        const std::string output = dir + entry.path().stem().string() + ".png";
        const Outcome result = RunCli({"render", file, "-o", output, "--classic"});
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

// The value table holds a block per member of 200 points, the example's from -10 to 10;
// the CSV holds the same numbers: a column pair per member, a row per point, empty where
// the table says NAN.
TEST(CliPlotVerbs, TableWritesTheSampledValuesAsTfxOrCsv) {
    const std::string dir = ScratchDirectory("table");
    const std::string root = ExampleWith(dir, "F1", 2, "SQRT(X)");
    for (const std::string& file :
         {kExample, std::string(PLOTCRAFTSMAN_EXAMPLES "/family.fx"), root}) {
        SCOPED_TRACE(file);
        ASSERT_EQ(RunCli({"table", file, "-o", dir + "a.tfx"}).code, 0);
        const Outcome csv = RunCli({"table", file, "-o", dir + "a.CSV"});
        ASSERT_EQ(csv.code, 0) << csv.err;
        // Each block's point lines "X Y " as "X,Y", a NAN as an empty cell.
        std::vector<std::vector<std::string>> blocks;
        for (const std::string& line : pc::SplitLines(ReadBytes(dir + "a.tfx"))) {
            if (line == ";Wertetabelle")
                blocks.emplace_back();
            if (!line.starts_with(";")) {
                std::string cells = line.substr(0, line.size() - 1);
                std::replace(cells.begin(), cells.end(), ' ', ',');
                blocks.back().push_back(cells.ends_with("NAN") ? cells.substr(0, cells.size() - 3)
                                                               : cells);
            }
        }
        const std::vector<std::string> rows = pc::SplitLines(ReadBytes(dir + "a.CSV"));
        ASSERT_EQ(rows.size(), 201u);
        std::string header;
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            ASSERT_EQ(blocks[b].size(), 200u);
            header += std::string(b == 0 ? "" : ",") + "x,F1(X)";
        }
        // The family's members are named by their parameter's value; a plain curve is not.
        std::string names = rows[0];
        for (auto a = names.find(" A="); a != std::string::npos; a = names.find(" A="))
            names.erase(a, names.find(',', a) - a);
        EXPECT_EQ(names, header);
        EXPECT_EQ(rows[0].find(" A="), blocks.size() == 1 ? std::string::npos : 7u);
        for (std::size_t r = 0; r < 200; ++r) {
            std::string expected;
            for (std::size_t b = 0; b < blocks.size(); ++b)
                expected += (b == 0 ? "" : ",") + blocks[b][r];
            EXPECT_EQ(rows[r + 1], expected);
        }
        EXPECT_EQ(rows[1].substr(0, 4), "-10,");
        EXPECT_EQ(rows[200].substr(0, 3), "10,");
    }
    EXPECT_NE(ReadBytes(dir + "a.tfx").find("\r\n-10 NAN \r\n"), std::string::npos);
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
