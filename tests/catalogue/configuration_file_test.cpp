#include "catalogue/configuration_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <optional>

#include "catalogue/shipped_configurations.h"
#include "catalogue_test_support.h"

namespace pc::test {
namespace {

using Lines = std::vector<std::string>;

const std::string kGoldenFile = std::string(PLOTCRAFTSMAN_TEST_DATA) + "/golden.pcf";
const char* const kBooleanError = "Konvertierung strtobool war Mist";

// The values of data/golden.pcf, which was typed by hand line by line, not written by the
// builder it checks. A plot look holds margins (left, top, right, bottom), line widths (x
// axis, y axis, main, help and sub grid), colours (background, zero axes, main grid, help
// grid), whether grid and axis text show, black and white, and the axis font.
// clang-format off
const PlotLook kGoldenMainPlot{
    5, 4, 2, 6,  2, 2, 1, 0, 1,  0xFF000005, 0x0000FF, 0xC0C0C0, 0xE0E0E0,  true, false, true,
    {"Arial", 0, kFontBold | kFontItalic, 11}};  // 0xFF000005: a system colour, "-16777211"
const PlotLook kGoldenPreviewPlot{
    3, 3, 1, 1,  4, 3, 2, 1, 0,  0x808080, 0xFF0000, 0x008000, 0x00FF00,  false, true, false,
    {"S\u00FCd Sans", 128, kFontUnderline | kFontStrikeOut, 8}};  // "ü" is one byte in the file
// clang-format on
const Configuration kGolden{
    .reserved = false,
    .mainBounds = {-4, -4, 1288, 968},
    .mainVisible = true,
    .angleInDegrees = false,
    .preview = {{900, 20, 360, 280}, true, true},
    .legend = {{1100, 330, 170, 200}, false, true},
    .functionManager = {{8, 600, 860, 330}, true, true},
    .plotSettings = {{700, 330, 270, 330}, true, false},
    .dependencies = {{-8, 40, 383, 425}, false, false},
    .screenWidth = 1280,
    .screenHeight = 1024,
    .mainPlot = kGoldenMainPlot,
    .previewPlot = kGoldenPreviewPlot,
};

// A start state that differs from the golden file in most values, so that a test can
// tell which lines a read took.
Configuration Other() {
    Configuration c = ShippedConfiguration(800, 600);
    c.mainPlot.colourBackground = 1;
    c.mainPlot.font = {"Other", 7, 0, 20};
    c.previewPlot = c.mainPlot;
    c.previewPlot.widthXAxis = 9;
    return c;
}

Lines GoldenLines() {
    return FileLines(kGoldenFile, kConfigurationFileMaxBytes);
}

TEST(ConfigurationFileTest, GoldenFileIsWhatTheBuilderWritesAndTheReaderTakes) {
    EXPECT_EQ(BuildConfigurationText(kGolden), GoldenLines());
    // What the file cannot hold is cleaned: the reserved flag is always written as "0", a line
    // break in a font name would shift every later line, a style keeps its four bits.
    Configuration unclean = kGolden;
    unclean.reserved = true;
    unclean.mainPlot.font.name = "Ari\r\nal";
    unclean.previewPlot.font.style |= 0xF0;
    EXPECT_EQ(BuildConfigurationText(unclean), GoldenLines());

    const ConfigurationParse parse = ParseConfiguration(GoldenLines(), Other());
    EXPECT_EQ(parse.status, ConfigurationStatus::Read);
    EXPECT_TRUE(parse.error.empty());
    EXPECT_EQ(parse.configuration, kGolden);

    EXPECT_NEAR(static_cast<double>(AngleFactor(true)), 57.29577951308232, 1e-13);
    EXPECT_EQ(AngleFactor(false), 1.0L);
    EXPECT_EQ(Utf8ToCp1252(AngleUnit(true)), "\xB0");  // "°", one byte in the code page
    EXPECT_STREQ(AngleUnit(false), "rad");
}

// Written as Windows-1252 with CR LF after every line and the checksum in line 90, read
// back and written again, every file is the same byte for byte.
TEST(ConfigurationFileTest, RoundTripIsByteIdentical) {
    Configuration extremes;  // colours with the top bit set are written negative
    extremes.mainBounds = {-8, INT_MIN, 100, INT_MAX};
    extremes.previewPlot.colourBackground = 0xFFFFFFFF;
    extremes.mainPlot.colourZeroAxes = 0x80000000;
    const Folder folder;
    const std::string first = folder.Path("first.pcf");
    const std::string second = folder.Path("second.pcf");
    std::string error;
    for (const Configuration& c :
         {Configuration{}, kGolden, Other(), ShippedConfiguration(1680, 1050), extremes}) {
        ASSERT_TRUE(WriteConfigurationFile(first, c, error)) << error;
        const ConfigurationParse parse =
            ParseConfiguration(FileLines(first, kConfigurationFileMaxBytes), Other());
        ASSERT_EQ(parse.status, ConfigurationStatus::Read) << parse.error;
        ASSERT_TRUE(WriteConfigurationFile(second, parse.configuration, error)) << error;
        EXPECT_EQ(FileBytes(first), FileBytes(second));
    }
    ASSERT_TRUE(WriteConfigurationFile(first, kGolden, error)) << error;
    EXPECT_EQ(FileBytes(first), FileBytes(kGoldenFile));
    EXPECT_FALSE(WriteConfigurationFile(folder.Path("no/such/x.pcf"), kGolden, error));
    EXPECT_FALSE(error.empty());
}

// 1001 and an empty file are in the fallback table below.
TEST(ConfigurationFileTest, VersionMustBeExactly1002AndOtherwiseNothingIsTaken) {
    for (const char* version : {"1004", " 1002", "1002 ", ""}) {
        Lines lines = GoldenLines();
        lines[1] = version;
        const ConfigurationParse parse = ParseConfiguration(lines, Other());
        EXPECT_EQ(parse.status, ConfigurationStatus::WrongVersion) << '"' << version << '"';
        EXPECT_EQ(parse.configuration, Other()) << '"' << version << '"';
    }
}

TEST(ConfigurationFileTest, LinesThatAreNotReadMayHoldAnything) {
    Lines lines = GoldenLines();
    lines[0] = "anything at all";
    // The unused lines, and line 90: the checksum is written but never verified.
    for (const int unused : {12, 13, 63, 64, 86, 87, 88, 89, 90}) lines[unused - 1] = "garbage";
    lines[2] = "1";    // reserved
    lines[73] = "17";  // 16 + bold
    lines[77] = "-1";  // every bit
    for (int extra = 0; extra < 5; ++extra) lines.push_back("extra");
    Configuration expected = kGolden;
    expected.reserved = true;
    expected.mainPlot.font.style = kFontBold;
    expected.previewPlot.font.style = 15;
    ConfigurationParse parse = ParseConfiguration(lines);
    EXPECT_EQ(parse.status, ConfigurationStatus::Read) << parse.error;
    EXPECT_EQ(parse.configuration, expected);

    lines.resize(85);  // eighty-five lines suffice
    parse = ParseConfiguration(lines);
    EXPECT_EQ(parse.status, ConfigurationStatus::Read) << parse.error;
    EXPECT_EQ(parse.configuration, expected);
}

// The first line that cannot be converted stops the read; what was read stays.
TEST(ConfigurationFileTest, ConversionErrorStopsTheReadKeepingWhatWasRead) {
    const struct {
        int line;
        const char* text;  // nullptr: the file ends before this line
        const char* error;
    } cases[] = {
        // How each text converts is the text conversions' test; these are a few fields of each
        // kind, and the lines that end the file early.
        {3, "true", kBooleanError},  // booleans are "1" and "0" only
        {85, "yes", kBooleanError},
        {4, "left", "'left' is not a valid integer value"},
        {11, "0x00FFFFFF", "'0x00FFFFFF' is not a valid integer value"},  // colours are decimal
        {85, nullptr, "List index out of bounds (84)"},                   // the index is 0-based
        {3, nullptr, "List index out of bounds (2)"},
    };
    const Lines golden = GoldenLines();
    const Lines start = BuildConfigurationText(Other());
    for (const auto& test : cases) {
        SCOPED_TRACE(test.line);
        Lines lines(golden.begin(), golden.begin() + (test.line - 1));
        // The lines before the bad one are taken, the rest keeps the start state: as if a
        // whole file held the golden lines before it and the start state's from it on.
        Lines mixed = lines;
        mixed.insert(mixed.end(), start.begin() + (test.line - 1), start.end());
        if (test.text) {
            lines = golden;
            lines[test.line - 1] = test.text;
        }
        const ConfigurationParse parse = ParseConfiguration(lines, Other());
        EXPECT_EQ(parse.status, ConfigurationStatus::Defect);
        EXPECT_EQ(parse.error, test.error);
        EXPECT_EQ(parse.failedLine, test.line);
        EXPECT_EQ(parse.configuration, ParseConfiguration(mixed).configuration);
    }
}

constexpr const char* kInstall = "/opt/plotcraftsman/";
constexpr const char* kDefault = "/opt/plotcraftsman/Config/con0.pcf";
constexpr const char* kUserFile = "/home/user/layout.pcf";

// A layout with a recognisable main window, made for a screen of width x height.
Configuration Layout(int width, int height, int mark) {
    Configuration c = ShippedConfiguration(width, height);
    c.mainBounds.left = mark;
    return c;
}

Lines LayoutLines(int width, int height, int mark, const char* version = "1002") {
    Lines lines = BuildConfigurationText(Layout(width, height, mark));
    lines[1] = version;
    return lines;
}

// Stands for a file that is there but may not be read.
const Lines kUnreadable = {"(not a regular file)"};

// Resolves a file for a 1280 x 1024 screen over files in memory, recording every read.
struct FakeDisk {
    std::map<std::string, Lines> files;
    Lines reads;
    Configuration current = Other();
    bool running = false;

    ConfigurationOutcome Resolve(const std::string& file, const Lines& textBuffer = {}) {
        const ConfigurationRequest request{file,     textBuffer, 1280,   1024,
                                           kInstall, current,    running};
        return ResolveConfiguration(request, [this](const std::string& path) {
            reads.push_back(path);
            const auto found = files.find(path);
            if (found == files.end())
                return TextFile{TextFileStatus::Missing, {}, "No such file or directory"};
            if (found->second == kUnreadable)
                return TextFile{TextFileStatus::Refused, {}, "not a regular file"};
            return TextFile{TextFileStatus::Read, found->second, {}};
        });
    }
};

TEST(ConfigurationFallbackTest, EveryPathEndsWithItsMessages) {
    using File = std::optional<Lines>;
    const File none, fits = LayoutLines(1280, 1024, 99), wider = LayoutLines(1920, 1200, 99),
                     higher = LayoutLines(1280, 1050, 99),
                     old = LayoutLines(1280, 1024, 99, "1001");
    const File small = LayoutLines(640, 480, 7), big = LayoutLines(1600, 1200, 7),
               unreadable = kUnreadable;
    const Configuration read = Layout(1280, 1024, 99), fallback = Layout(640, 480, 7),
                        bigFallback = Layout(1600, 1200, 7);
    const char* const u = kUserFile;
    const char* const d = kDefault;
    const struct {
        const char* reason;
        const char* file;  // "": `named` is the text buffer
        File named;
        File defaults;
        std::vector<int> messages;
        Configuration result;
        Lines reads;
    } cases[] = {
        // clang-format off
        {"a file that fits is read alone", u, fits, small, {}, read, {u}},
        {"another version: 14, then the default", u, old, small, {14}, fallback, {u, d}},
        {"made for a wider screen: the default, silently", u, wider, small, {}, fallback, {u, d}},
        {"only higher is enough", u, higher, small, {}, fallback, {u, d}},
        // The default would fall back to itself without end: after 202 it is read once more.
        {"default too large: 202 and no loop", u, wider, big, {202}, bigFallback, {u, d, d}},
        {"another version, then too large", u, old, big, {14, 202}, bigFallback, {u, d, d}},
        {"the default named itself and too large", d, none, big, {202}, bigFallback, {d, d, d}},
        {"a default of another version: no further", u, old, old, {14, 14}, Other(), {u, d}},
        {"missing default ends", u, wider, none, {303}, Layout(1920, 1200, 99), {u, d}},
        // A missing or unreadable file named itself is the CLI's files script's. One that is
        // there but cannot be read stops the reading, and nothing ends.
        {"another version, then an unreadable default", u, old, unreadable, {14}, Other(), {u, d}},
        {"another version and a missing default", u, old, none, {14, 303}, Other(), {u, d}},
        {"an empty name reads the buffer, then the default", "", fits, small, {}, fallback, {d}},
        {"an empty buffer is another version", "", Lines{}, small, {14}, fallback, {d}},
        // clang-format on
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.reason);
        FakeDisk disk;
        if (test.named && *test.file)
            disk.files[test.file] = *test.named;
        if (test.defaults)
            disk.files[kDefault] = *test.defaults;
        const ConfigurationOutcome outcome =
            disk.Resolve(test.file, *test.file ? Lines{} : test.named.value_or(Lines{}));
        EXPECT_EQ(outcome.messages, test.messages);
        EXPECT_EQ(outcome.ends, !test.messages.empty() && test.messages.back() == 303);
        EXPECT_TRUE(outcome.error.empty());
        EXPECT_EQ(outcome.configuration, test.result);
        EXPECT_EQ(disk.reads, test.reads);
        EXPECT_EQ(outcome.filesRead, disk.reads);
        const auto last = disk.files.find(disk.reads.back());
        const bool unreadableLast = last != disk.files.end() && last->second == kUnreadable;
        EXPECT_EQ(outcome.unreadable, unreadableLast ? "not a regular file" : "");
        if (last != disk.files.end() && !unreadableLast) {
            EXPECT_EQ(outcome.textBuffer, last->second);
        }
    }
}

// The running program never ends over a configuration: a missing file gives way to the
// default file, and a default that cannot serve to the built-in layout, with 202 once.
TEST(ConfigurationFallbackTest, RunningProgramFallsBackInsteadOfEnding) {
    const Lines small = LayoutLines(640, 480, 7), old = LayoutLines(1280, 1024, 99, "1001");
    Lines defect = small;
    defect[9] = "?";
    const struct {
        const char* reason;
        std::optional<Lines> named, defaults;
        std::vector<int> messages;
        Configuration result;
    } cases[] = {
        {"missing: 303, then the default", std::nullopt, small, {303}, Layout(640, 480, 7)},
        {"missing twice: the built-in layout", std::nullopt, std::nullopt, {303, 303, 202}, {}},
        {"another version twice", old, old, {14, 14, 202}, {}},
        {"a defect default", old, defect, {14, 8, 202}, {}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.reason);
        FakeDisk disk;
        disk.running = true;
        if (test.named)
            disk.files[kUserFile] = *test.named;
        if (test.defaults)
            disk.files[kDefault] = *test.defaults;
        const ConfigurationOutcome outcome = disk.Resolve(kUserFile);
        EXPECT_FALSE(outcome.ends);
        EXPECT_EQ(outcome.messages, test.messages);
        EXPECT_EQ(outcome.configuration, test.result);
        EXPECT_EQ(disk.reads, (Lines{kUserFile, kDefault}));
    }
}

// A defect file stops where it is defect, and no default is read in its place, unless the
// stored screen it kept does not fit: then 202 and the default.
TEST(ConfigurationFallbackTest, DefectFileKeepsWhatWasReadAndShowsEight) {
    FakeDisk disk;
    disk.files[kUserFile] = LayoutLines(1280, 1024, 99);
    disk.files[kUserFile][22] = "x";  // line 23, preview black and white
    disk.files[kDefault] = LayoutLines(640, 480, 7);
    ConfigurationOutcome outcome = disk.Resolve(kUserFile);
    EXPECT_EQ(outcome.messages, std::vector<int>{8});
    EXPECT_EQ(outcome.error, kBooleanError);
    EXPECT_FALSE(outcome.ends);
    EXPECT_EQ(outcome.configuration.mainBounds.left, 99);
    EXPECT_EQ(outcome.configuration.preview, Layout(1280, 1024, 99).preview);
    EXPECT_EQ(outcome.configuration.legend, Other().legend);
    EXPECT_EQ(disk.reads, Lines{kUserFile});

    disk.current = Layout(1920, 1200, 1);
    disk.files[kUserFile][9] = "?";  // line 10, before the screen size
    outcome = disk.Resolve(kUserFile);
    EXPECT_EQ(outcome.messages, (std::vector<int>{8, 202}));
    EXPECT_TRUE(outcome.error.empty()) << "the default read cleanly";
    EXPECT_EQ(outcome.configuration, Layout(640, 480, 7));

    // A defect default read in place of a wider file keeps that file's screen, so it is read
    // once more after 202, and that is all.
    disk = FakeDisk();
    disk.files[kUserFile] = LayoutLines(1920, 1200, 99);
    disk.files[kDefault] = LayoutLines(640, 480, 7);
    disk.files[kDefault][9] = "?";
    outcome = disk.Resolve(kUserFile);
    EXPECT_EQ(outcome.messages, (std::vector<int>{8, 202, 8}));
    EXPECT_EQ(disk.reads, (Lines{kUserFile, kDefault, kDefault}));
}

}  // namespace
}  // namespace pc::test
