#include "catalogue/configuration_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <numbers>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/file_text.h"
#include "catalogue/shipped_configurations.h"
#include "catalogue/startup_decisions.h"

namespace pc::test {
namespace {

const std::string kGoldenFile = std::string(PLOTCRAFTSMAN_TEST_DATA) + "/golden.pcf";
const std::string kConfigDirectory = PLOTCRAFTSMAN_CONFIG_DIR;

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> FileLines(const std::string& path) {
    std::vector<std::string> lines;
    std::string error;
    EXPECT_TRUE(ReadTextFile(path, lines, error)) << path << ": " << error;
    return lines;
}

// The values of data/golden.pcf, which was typed line by line from the format table.
Configuration GoldenConfiguration() {
    Configuration c;
    c.reserved = false;
    c.mainBounds = {-4, -4, 1288, 968};
    c.mainVisible = true;
    c.angleInDegrees = false;
    c.mainPlot.blackWhite = true;
    c.mainPlot.colourBackground = 0xFF000005;  // a system colour, "-16777211" in the file
    c.mainPlot.colourMainGrid = 0xC0C0C0;
    c.mainPlot.colourHelpGrid = 0xE0E0E0;
    c.mainPlot.colourZeroAxes = 0x0000FF;
    c.preview = {{900, 20, 360, 280}, true, true};
    c.previewPlot.blackWhite = false;
    c.legend = {{1100, 330, 170, 200}, false, true};
    c.functionManager = {{8, 600, 860, 330}, true, true};
    c.plotSettings = {{700, 330, 270, 330}, true, false};
    c.screenWidth = 1280;
    c.screenHeight = 1024;
    c.mainPlot.widthXAxis = 2;
    c.mainPlot.widthYAxis = 2;
    c.mainPlot.widthMainGrid = 1;
    c.mainPlot.widthHelpGrid = 0;
    c.mainPlot.widthSubGrid = 1;
    c.mainPlot.marginLeft = 5;
    c.mainPlot.marginTop = 4;
    c.mainPlot.marginRight = 2;
    c.mainPlot.marginBottom = 6;
    c.previewPlot.marginLeft = 3;
    c.previewPlot.marginTop = 3;
    c.previewPlot.marginRight = 1;
    c.previewPlot.marginBottom = 1;
    c.previewPlot.widthXAxis = 4;
    c.previewPlot.widthYAxis = 3;
    c.previewPlot.widthMainGrid = 2;
    c.previewPlot.widthHelpGrid = 1;
    c.previewPlot.widthSubGrid = 0;
    c.previewPlot.colourBackground = 0x808080;
    c.previewPlot.colourMainGrid = 0x008000;
    c.previewPlot.colourHelpGrid = 0x00FF00;
    c.previewPlot.colourZeroAxes = 0xFF0000;
    c.mainPlot.gridVisible = true;
    c.mainPlot.axisTextVisible = false;
    c.previewPlot.gridVisible = false;
    c.previewPlot.axisTextVisible = true;
    c.mainPlot.font = {"Arial", 0, kFontBold | kFontItalic, 11};
    c.previewPlot.font = {"S\u00FCd Sans", 128, kFontUnderline | kFontStrikeOut, 8};
    c.dependencies = {{-8, 40, 383, 425}, false, false};
    return c;
}

// A start state that differs from the golden file in every value, so that a test can
// tell which lines a read took.
Configuration OtherConfiguration() {
    Configuration c = ShippedConfiguration(800, 600);
    c.reserved = true;
    c.angleInDegrees = true;
    c.mainPlot.colourBackground = 1;
    c.mainPlot.font = {"Other", 7, 0, 20};
    c.previewPlot = c.mainPlot;
    c.previewPlot.widthXAxis = 9;
    return c;
}

std::vector<std::string> GoldenLines() {
    return FileLines(kGoldenFile);
}

// --- Building -----------------------------------------------------------------------

TEST(ConfigurationBuildTest, GoldenFileIsWhatTheBuilderWrites) {
    const std::vector<std::string> built = BuildConfigurationText(GoldenConfiguration());
    EXPECT_EQ(built, GoldenLines());

    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const std::string path = directory.filePath("golden.pcf").toStdString();
    std::string error;
    ASSERT_TRUE(WriteConfigurationFile(path, GoldenConfiguration(), error)) << error;
    // Windows-1252 ("ü" is one byte), CR LF after every line, the checksum in line 90.
    EXPECT_EQ(FileBytes(path), FileBytes(kGoldenFile));
}

TEST(ConfigurationBuildTest, NinetyLinesWithHeaderVersionAndChecksumLast) {
    const std::vector<std::string> lines = BuildConfigurationText(Configuration{});
    ASSERT_EQ(lines.size(), 90u);
    EXPECT_EQ(lines[0], "Plotcraftsman        ");
    EXPECT_EQ(lines[0].size(), 21u);
    EXPECT_EQ(lines[1], "1002");
    EXPECT_EQ(lines[2], "0");
    for (const int unused : {12, 13, 63, 64, 86, 87, 88, 89})
        EXPECT_EQ(lines[unused - 1], "0") << unused;
    const std::vector<std::string> body(lines.begin(), lines.end() - 1);
    EXPECT_EQ(lines[89], std::to_string(FileChecksumOfText(body)));
}

TEST(ConfigurationBuildTest, BooleansAreOneAndZero) {
    Configuration c;
    c.mainVisible = false;
    c.angleInDegrees = true;
    c.preview.onTop = false;
    c.dependencies.visible = true;
    const std::vector<std::string> lines = BuildConfigurationText(c);
    EXPECT_EQ(lines[7], "0");   // main visible
    EXPECT_EQ(lines[8], "1");   // degrees
    EXPECT_EQ(lines[16], "0");  // preview on top
    EXPECT_EQ(lines[84], "1");  // dependencies visible
}

// Line 3 is always written as "0", whatever was read from it.
TEST(ConfigurationBuildTest, ReservedFlagIsWrittenAsZero) {
    Configuration c;
    c.reserved = true;
    EXPECT_EQ(BuildConfigurationText(c)[2], "0");
}

TEST(ConfigurationBuildTest, NegativeIntegersAndColoursWithTheTopBitSet) {
    Configuration c;
    c.mainBounds = {-8, -2147483647 - 1, 100, 2147483647};
    c.previewPlot.colourBackground = 0xFFFFFFFF;
    c.mainPlot.colourZeroAxes = 0x80000000;
    c.mainPlot.marginBottom = -3;
    const std::vector<std::string> lines = BuildConfigurationText(c);
    EXPECT_EQ(lines[3], "-8");
    EXPECT_EQ(lines[4], "-2147483648");
    EXPECT_EQ(lines[6], "2147483647");
    EXPECT_EQ(lines[61], "-1");
    EXPECT_EQ(lines[15], "-2147483648");
    EXPECT_EQ(lines[51], "-3");
    const ConfigurationParse parse = ParseConfiguration(lines);
    EXPECT_EQ(parse.status, ConfigurationStatus::Read);
    EXPECT_EQ(parse.configuration, c);
}

TEST(ConfigurationBuildTest, FontStyleIsTheDecimalValueOfItsSet) {
    const struct {
        std::uint8_t style;
        const char* text;
    } cases[] = {
        {0, "0"},
        {kFontBold, "1"},
        {kFontItalic, "2"},
        {kFontUnderline, "4"},
        {kFontStrikeOut, "8"},
        {kFontBold | kFontUnderline, "5"},
        {kFontItalic | kFontStrikeOut, "10"},
        {kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut, "15"},
    };
    for (const auto& test : cases) {
        Configuration c;
        c.mainPlot.font.style = test.style;
        c.previewPlot.font.style = test.style;
        const std::vector<std::string> lines = BuildConfigurationText(c);
        EXPECT_EQ(lines[73], test.text);
        EXPECT_EQ(lines[77], test.text);
        const ConfigurationParse parse = ParseConfiguration(lines, OtherConfiguration());
        EXPECT_EQ(parse.configuration.mainPlot.font.style, test.style) << test.text;
        EXPECT_EQ(parse.configuration.previewPlot.font.style, test.style) << test.text;
    }
}

// A style number beyond the four styles keeps the bits that name one.
TEST(ConfigurationReadTest, FontStyleKeepsTheFourStyleBits) {
    std::vector<std::string> lines = GoldenLines();
    lines[73] = "17";  // 16 + bold
    lines[77] = "-1";  // every bit
    const ConfigurationParse parse = ParseConfiguration(lines);
    ASSERT_EQ(parse.status, ConfigurationStatus::Read);
    EXPECT_EQ(parse.configuration.mainPlot.font.style, kFontBold);
    EXPECT_EQ(parse.configuration.previewPlot.font.style, 15);
}

// A line break in a font name would shift every later line.
TEST(ConfigurationBuildTest, FontNameStaysOneLine) {
    Configuration c;
    c.mainPlot.font.name = "Ari\r\nal";
    const std::vector<std::string> lines = BuildConfigurationText(c);
    ASSERT_EQ(lines.size(), 90u);
    EXPECT_EQ(lines[71], "Arial");
}

TEST(ConfigurationBuildTest, RoundTripIsByteIdentical) {
    for (const Configuration& c : {Configuration{}, GoldenConfiguration(), OtherConfiguration(),
                                   ShippedConfiguration(1680, 1050)}) {
        const std::vector<std::string> first = BuildConfigurationText(c);
        const ConfigurationParse parse = ParseConfiguration(first, OtherConfiguration());
        ASSERT_EQ(parse.status, ConfigurationStatus::Read) << parse.error;
        EXPECT_EQ(BuildConfigurationText(parse.configuration), first);
    }

    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const std::string first = directory.filePath("first.pcf").toStdString();
    const std::string second = directory.filePath("second.pcf").toStdString();
    std::string error;
    ASSERT_TRUE(WriteConfigurationFile(first, GoldenConfiguration(), error)) << error;
    const ConfigurationParse parse = ParseConfiguration(FileLines(first));
    ASSERT_EQ(parse.status, ConfigurationStatus::Read);
    ASSERT_TRUE(WriteConfigurationFile(second, parse.configuration, error)) << error;
    EXPECT_EQ(FileBytes(first), FileBytes(second));
}

TEST(ConfigurationBuildTest, WriteFailureLeavesAReason) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    std::string error;
    EXPECT_FALSE(WriteConfigurationFile(directory.filePath("no/such/folder/x.pcf").toStdString(),
                                        Configuration{}, error));
    EXPECT_FALSE(error.empty());
}

// --- Reading ------------------------------------------------------------------------

TEST(ConfigurationReadTest, GoldenFileGivesEveryValue) {
    const ConfigurationParse parse = ParseConfiguration(GoldenLines(), OtherConfiguration());
    EXPECT_EQ(parse.status, ConfigurationStatus::Read);
    EXPECT_TRUE(parse.error.empty());
    EXPECT_EQ(parse.configuration, GoldenConfiguration());
}

TEST(ConfigurationReadTest, ReservedFlagIsRead) {
    std::vector<std::string> lines = GoldenLines();
    lines[2] = "1";
    EXPECT_TRUE(ParseConfiguration(lines).configuration.reserved);
}

TEST(ConfigurationReadTest, VersionMustBeExactly1002) {
    for (const char* version : {"1001", "1004", " 1002", "1002 ", ""}) {
        std::vector<std::string> lines = GoldenLines();
        lines[1] = version;
        const ConfigurationParse parse = ParseConfiguration(lines, OtherConfiguration());
        EXPECT_EQ(parse.status, ConfigurationStatus::WrongVersion) << '"' << version << '"';
        EXPECT_EQ(parse.configuration, OtherConfiguration()) << "nothing is taken";
    }
    EXPECT_EQ(ParseConfiguration({"Plotcraftsman        "}).status,
              ConfigurationStatus::WrongVersion);
    EXPECT_EQ(ParseConfiguration({}).status, ConfigurationStatus::WrongVersion);
}

// Line 1, the unused lines, everything after line 85 and the checksum are not looked at.
TEST(ConfigurationReadTest, IgnoredLinesMayHoldAnything) {
    std::vector<std::string> lines = GoldenLines();
    lines[0] = "anything at all";
    for (const int unused : {12, 13, 63, 64, 86, 87, 88, 89}) lines[unused - 1] = "garbage";
    lines[89] = "not a checksum";
    const ConfigurationParse parse = ParseConfiguration(lines);
    EXPECT_EQ(parse.status, ConfigurationStatus::Read) << parse.error;
    EXPECT_EQ(parse.configuration, GoldenConfiguration());
}

// The checksum is written but never verified: a changed value still reads.
TEST(ConfigurationReadTest, ChecksumIsNotVerified) {
    std::vector<std::string> lines = GoldenLines();
    lines[41] = "1920";
    const ConfigurationParse parse = ParseConfiguration(lines);
    EXPECT_EQ(parse.status, ConfigurationStatus::Read);
    EXPECT_EQ(parse.configuration.screenWidth, 1920);
}

TEST(ConfigurationReadTest, ExtraLinesAreAcceptedAndEightyFiveSuffice) {
    std::vector<std::string> lines = GoldenLines();
    for (int extra = 0; extra < 20; ++extra) lines.push_back("extra " + std::to_string(extra));
    EXPECT_EQ(ParseConfiguration(lines).configuration, GoldenConfiguration());
    EXPECT_EQ(ParseConfiguration(lines).status, ConfigurationStatus::Read);

    lines.resize(85);
    const ConfigurationParse parse = ParseConfiguration(lines);
    EXPECT_EQ(parse.status, ConfigurationStatus::Read);
    EXPECT_EQ(parse.configuration, GoldenConfiguration());
}

// A boolean line other than "1" or "0" stops the read there; the lines before it stay
// taken, the lines after it keep the start state.
TEST(ConfigurationReadTest, StrToBoolErrorStopsTheReadKeepingWhatWasRead) {
    std::vector<std::string> lines = GoldenLines();
    lines[21] = "2";  // line 22, preview visible
    const Configuration start = OtherConfiguration();
    const ConfigurationParse parse = ParseConfiguration(lines, start);
    EXPECT_EQ(parse.status, ConfigurationStatus::Defect);
    EXPECT_EQ(parse.error, "Konvertierung strtobool war Mist");
    EXPECT_EQ(parse.failedLine, 22);

    const Configuration golden = GoldenConfiguration();
    const Configuration& read = parse.configuration;
    EXPECT_EQ(read.mainBounds, golden.mainBounds);                            // lines 4-7
    EXPECT_EQ(read.mainPlot.colourZeroAxes, golden.mainPlot.colourZeroAxes);  // line 16
    EXPECT_EQ(read.preview.onTop, golden.preview.onTop);                      // line 17
    EXPECT_EQ(read.preview.bounds, golden.preview.bounds);                    // lines 18-21
    EXPECT_EQ(read.preview.visible, start.preview.visible);                   // line 22 failed
    EXPECT_EQ(read.previewPlot.blackWhite, start.previewPlot.blackWhite);     // line 23 on
    EXPECT_EQ(read.legend, start.legend);
    EXPECT_EQ(read.screenWidth, start.screenWidth);
    EXPECT_EQ(read.previewPlot.font, start.previewPlot.font);
    EXPECT_EQ(read.dependencies, start.dependencies);
}

TEST(ConfigurationReadTest, BooleanLinesAcceptOnlyOneAndZero) {
    for (const char* text : {"true", " 1", "01", "", "-1", "yes"}) {
        std::vector<std::string> lines = GoldenLines();
        lines[84] = text;  // line 85, the last one read
        const ConfigurationParse parse = ParseConfiguration(lines);
        EXPECT_EQ(parse.status, ConfigurationStatus::Defect) << '"' << text << '"';
        EXPECT_EQ(parse.error, "Konvertierung strtobool war Mist");
        EXPECT_EQ(parse.failedLine, 85);
    }
}

TEST(ConfigurationReadTest, NonNumberWhereAnIntegerIsExpectedStopsTheRead) {
    const struct {
        int line;
        const char* text;
    } cases[] = {
        {4, "left"},         // a window position
        {11, "0x00FFFFFF"},  // a colour must be decimal
        {42, "12a0"},        // the screen width
        {49, "3.5"},         // a margin
        {74, ""},            // a font style
        {75, "2147483648"},  // a font size beyond 32 bits
    };
    for (const auto& test : cases) {
        std::vector<std::string> lines = GoldenLines();
        lines[test.line - 1] = test.text;
        const ConfigurationParse parse = ParseConfiguration(lines, OtherConfiguration());
        EXPECT_EQ(parse.status, ConfigurationStatus::Defect) << test.line;
        EXPECT_EQ(parse.error, std::string("'") + test.text + "' is not a valid integer value");
        EXPECT_EQ(parse.failedLine, test.line);
    }
    // Line 42 stops the read: the plot settings window (lines 36 to 41) was taken, the
    // screen size and everything after it was not.
    std::vector<std::string> lines = GoldenLines();
    lines[41] = "12a0";
    const ConfigurationParse parse = ParseConfiguration(lines, OtherConfiguration());
    EXPECT_EQ(parse.configuration.plotSettings, GoldenConfiguration().plotSettings);
    EXPECT_EQ(parse.configuration.screenWidth, OtherConfiguration().screenWidth);
    EXPECT_EQ(parse.configuration.mainPlot.widthXAxis, OtherConfiguration().mainPlot.widthXAxis);
}

// Integers may carry blanks around them and a "+", as the program's integer reader takes them.
TEST(ConfigurationReadTest, IntegersTakeBlanksAndSign) {
    std::vector<std::string> lines = GoldenLines();
    lines[3] = " -4 ";
    lines[41] = "+1280";
    const ConfigurationParse parse = ParseConfiguration(lines);
    EXPECT_EQ(parse.status, ConfigurationStatus::Read);
    EXPECT_EQ(parse.configuration.mainBounds.left, -4);
    EXPECT_EQ(parse.configuration.screenWidth, 1280);
}

TEST(ConfigurationReadTest, FewerThanEightyFiveLinesStopAtTheFirstMissingLine) {
    std::vector<std::string> lines = GoldenLines();
    lines.resize(84);
    const Configuration start = OtherConfiguration();
    ConfigurationParse parse = ParseConfiguration(lines, start);
    EXPECT_EQ(parse.status, ConfigurationStatus::Defect);
    EXPECT_EQ(parse.error, "List index out of bounds (84)");
    EXPECT_EQ(parse.failedLine, 85);
    Configuration expected = GoldenConfiguration();
    expected.dependencies.visible = start.dependencies.visible;  // line 85 never came
    EXPECT_EQ(parse.configuration, expected);

    lines.resize(30);  // ends after the function manager's on-top flag
    parse = ParseConfiguration(lines, start);
    EXPECT_EQ(parse.status, ConfigurationStatus::Defect);
    EXPECT_EQ(parse.failedLine, 31);
    EXPECT_EQ(parse.configuration.legend, GoldenConfiguration().legend);
    EXPECT_EQ(parse.configuration.functionManager.onTop, true);
    EXPECT_EQ(parse.configuration.functionManager.bounds, start.functionManager.bounds);

    parse = ParseConfiguration({"Plotcraftsman", "1002"}, start);
    EXPECT_EQ(parse.status, ConfigurationStatus::Defect);
    EXPECT_EQ(parse.error, "List index out of bounds (2)");
    EXPECT_EQ(parse.configuration, start);
}

TEST(ConfigurationReadTest, LineEndsCrLfLfAndCrAllRead) {
    std::string bytes = FileBytes(kGoldenFile);
    for (const char* end : {"\n", "\r"}) {
        std::string converted;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                converted += end;
                ++i;
            } else {
                converted += bytes[i];
            }
        }
        std::vector<std::string> lines = SplitLines(converted);
        for (std::string& line : lines) line = Cp1252ToUtf8(line);
        EXPECT_EQ(ParseConfiguration(lines).configuration, GoldenConfiguration());
    }
}

TEST(ConfigurationReadTest, AngleFactorAndUnit) {
    EXPECT_EQ(AngleFactor(true), 180.0L / std::numbers::pi_v<long double>);
    EXPECT_NEAR(static_cast<double>(AngleFactor(true)), 57.29577951308232, 1e-13);
    EXPECT_EQ(AngleFactor(false), 1.0L);
    EXPECT_STREQ(AngleUnit(true), "\u00B0");
    EXPECT_EQ(Utf8ToCp1252(AngleUnit(true)), "\xB0");  // one byte in the code page
    EXPECT_STREQ(AngleUnit(false), "rad");
}

TEST(ConfigurationReadTest, ScreenFitsWhenNeitherNarrowerNorLower) {
    Configuration c;
    c.screenWidth = 1280;
    c.screenHeight = 1024;
    EXPECT_TRUE(ScreenFits(c, 1280, 1024));
    EXPECT_TRUE(ScreenFits(c, 1920, 1200));
    EXPECT_FALSE(ScreenFits(c, 1279, 1200));
    EXPECT_FALSE(ScreenFits(c, 1920, 1023));
}

// --- Fallback rules -----------------------------------------------------------------

// Files in memory; records every read.
class FakeConfigurationFiles {
  public:
    std::map<std::string, std::vector<std::string>> files;
    std::vector<std::string> reads;

    ConfigurationFileReader reader() {
        return [this](const std::string& path) -> std::optional<std::vector<std::string>> {
            reads.push_back(path);
            const auto found = files.find(path);
            if (found == files.end())
                return std::nullopt;
            return found->second;
        };
    }
};

constexpr const char* kInstall = "/opt/plotcraftsman/";
constexpr const char* kDefault = "/opt/plotcraftsman/Config/con0.pcf";
constexpr const char* kUserFile = "/home/user/layout.pcf";

// A layout with a recognisable main window, made for a screen of width x height.
Configuration Layout(int width, int height, int mark) {
    Configuration c = ShippedConfiguration(width, height);
    c.mainBounds.left = mark;
    return c;
}

class ConfigurationFallbackTest : public ::testing::Test {
  protected:
    FakeConfigurationFiles disk;
    ConfigurationRequest request;

    void SetUp() override {
        request.file = kUserFile;
        request.screenWidth = 1280;
        request.screenHeight = 1024;
        request.installDirectory = kInstall;
        request.current = OtherConfiguration();
        disk.files[kDefault] = BuildConfigurationText(Layout(640, 480, 7));
    }

    ConfigurationOutcome Resolve() { return ResolveConfiguration(request, disk.reader()); }
};

TEST(ConfigurationFallbackPathTest, DefaultFileIsInTheInstallConfigFolder) {
    EXPECT_EQ(DefaultConfigurationPath("/opt/plotcraftsman/"),
              "/opt/plotcraftsman/Config/con0.pcf");
    EXPECT_EQ(DefaultConfigurationPath(""), "Config/con0.pcf");
}

TEST_F(ConfigurationFallbackTest, FileThatFitsIsReadAlone) {
    disk.files[kUserFile] = BuildConfigurationText(Layout(1280, 1024, 99));
    const ConfigurationOutcome outcome = Resolve();
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_FALSE(outcome.ends);
    EXPECT_EQ(outcome.configuration, Layout(1280, 1024, 99));
    EXPECT_EQ(disk.reads, std::vector<std::string>{kUserFile});
    EXPECT_EQ(outcome.filesRead, disk.reads);
    EXPECT_EQ(outcome.textBuffer, disk.files[kUserFile]);
}

TEST_F(ConfigurationFallbackTest, WrongVersionShowsFourteenAndReadsTheDefault) {
    std::vector<std::string> lines = BuildConfigurationText(Layout(1280, 1024, 99));
    lines[1] = "1001";
    disk.files[kUserFile] = lines;
    const ConfigurationOutcome outcome = Resolve();
    EXPECT_EQ(outcome.messages, std::vector<int>{14});
    EXPECT_FALSE(outcome.ends);
    EXPECT_EQ(outcome.configuration, Layout(640, 480, 7));
    EXPECT_EQ(disk.reads, (std::vector<std::string>{kUserFile, kDefault}));
    EXPECT_EQ(outcome.textBuffer, disk.files[kDefault]);
}

TEST_F(ConfigurationFallbackTest, MissingFileShows303AndEndsTheProgram) {
    const ConfigurationOutcome outcome = Resolve();
    EXPECT_EQ(outcome.messages, std::vector<int>{303});
    EXPECT_TRUE(outcome.ends);
    EXPECT_EQ(outcome.configuration, OtherConfiguration());
    EXPECT_EQ(disk.reads, std::vector<std::string>{kUserFile});
}

TEST_F(ConfigurationFallbackTest, LargerStoredScreenReadsTheDefaultSilently) {
    disk.files[kUserFile] = BuildConfigurationText(Layout(1920, 1200, 99));
    const ConfigurationOutcome outcome = Resolve();
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_FALSE(outcome.ends);
    EXPECT_EQ(outcome.configuration, Layout(640, 480, 7));
    EXPECT_EQ(disk.reads, (std::vector<std::string>{kUserFile, kDefault}));
}

// Only one side larger is enough.
TEST_F(ConfigurationFallbackTest, StoredScreenHigherOnlyAlsoFallsBack) {
    disk.files[kUserFile] = BuildConfigurationText(Layout(1280, 1050, 99));
    EXPECT_EQ(Resolve().configuration, Layout(640, 480, 7));
}

// The default would fall back to itself without end; it is read once more after 202 and
// that is all.
TEST_F(ConfigurationFallbackTest, DefaultTooLargeGives202AndReadsItOnceMore) {
    disk.files[kUserFile] = BuildConfigurationText(Layout(1920, 1200, 99));
    disk.files[kDefault] = BuildConfigurationText(Layout(1600, 1200, 7));
    const ConfigurationOutcome outcome = Resolve();
    EXPECT_EQ(outcome.messages, std::vector<int>{202});
    EXPECT_FALSE(outcome.ends);
    EXPECT_EQ(outcome.configuration, Layout(1600, 1200, 7));
    EXPECT_EQ(disk.reads, (std::vector<std::string>{kUserFile, kDefault, kDefault}));
}

TEST_F(ConfigurationFallbackTest, WrongVersionThenDefaultTooLarge) {
    std::vector<std::string> lines = BuildConfigurationText(Layout(1280, 1024, 99));
    lines[1] = "999";
    disk.files[kUserFile] = lines;
    disk.files[kDefault] = BuildConfigurationText(Layout(1600, 1200, 7));
    const ConfigurationOutcome outcome = Resolve();
    EXPECT_EQ(outcome.messages, (std::vector<int>{14, 202}));
    EXPECT_EQ(outcome.configuration, Layout(1600, 1200, 7));
    EXPECT_EQ(disk.reads, (std::vector<std::string>{kUserFile, kDefault, kDefault}));
}

// Naming the default file itself does not loop either.
TEST_F(ConfigurationFallbackTest, DefaultNamedItselfAndTooLargeEnds) {
    request.file = kDefault;
    disk.files[kDefault] = BuildConfigurationText(Layout(1600, 1200, 7));
    const ConfigurationOutcome outcome = Resolve();
    EXPECT_EQ(outcome.messages, std::vector<int>{202});
    EXPECT_EQ(disk.reads, (std::vector<std::string>{kDefault, kDefault, kDefault}));
}

TEST_F(ConfigurationFallbackTest, DefaultWithWrongVersionDoesNotLoop) {
    std::vector<std::string> lines = BuildConfigurationText(Layout(1280, 1024, 99));
    lines[1] = "1001";
    disk.files[kUserFile] = lines;
    disk.files[kDefault] = lines;
    const ConfigurationOutcome outcome = Resolve();
    EXPECT_EQ(outcome.messages, (std::vector<int>{14, 14}));
    EXPECT_FALSE(outcome.ends);
    EXPECT_EQ(outcome.configuration, OtherConfiguration()) << "nothing was taken";
    EXPECT_EQ(disk.reads, (std::vector<std::string>{kUserFile, kDefault}));
}

TEST_F(ConfigurationFallbackTest, MissingDefaultShows303AndEnds) {
    disk.files[kUserFile] = BuildConfigurationText(Layout(1920, 1200, 99));
    disk.files.erase(kDefault);
    const ConfigurationOutcome outcome = Resolve();
    EXPECT_EQ(outcome.messages, std::vector<int>{303});
    EXPECT_TRUE(outcome.ends);
    EXPECT_EQ(disk.reads, (std::vector<std::string>{kUserFile, kDefault}));
}

TEST_F(ConfigurationFallbackTest, WrongVersionAndMissingDefault) {
    std::vector<std::string> lines = BuildConfigurationText(Layout(1280, 1024, 99));
    lines[1] = "1001";
    disk.files[kUserFile] = lines;
    disk.files.erase(kDefault);
    const ConfigurationOutcome outcome = Resolve();
    EXPECT_EQ(outcome.messages, (std::vector<int>{14, 303}));
    EXPECT_TRUE(outcome.ends);
}

// A defect file stops where it is defect; no default is read in its place.
TEST_F(ConfigurationFallbackTest, DefectFileKeepsWhatWasReadAndShowsEight) {
    std::vector<std::string> lines = BuildConfigurationText(Layout(1280, 1024, 99));
    lines[22] = "x";  // line 23, preview black and white
    disk.files[kUserFile] = lines;
    const ConfigurationOutcome outcome = Resolve();
    EXPECT_EQ(outcome.messages, std::vector<int>{8});
    EXPECT_EQ(outcome.error, "Konvertierung strtobool war Mist");
    EXPECT_FALSE(outcome.ends);
    EXPECT_EQ(outcome.configuration.mainBounds.left, 99);
    EXPECT_EQ(outcome.configuration.preview, Layout(1280, 1024, 99).preview);
    EXPECT_EQ(outcome.configuration.legend, OtherConfiguration().legend);
    EXPECT_EQ(disk.reads, std::vector<std::string>{kUserFile});
}

// A defect file that stopped before the screen size keeps the stored screen it had; when
// that does not fit, the layout check still warns and reads the default.
TEST_F(ConfigurationFallbackTest, DefectFileWithTooLargeStoredScreenStillGets202) {
    request.current = Layout(1920, 1200, 1);
    std::vector<std::string> lines = BuildConfigurationText(Layout(1280, 1024, 99));
    lines[9] = "?";
    disk.files[kUserFile] = lines;
    const ConfigurationOutcome outcome = Resolve();
    EXPECT_EQ(outcome.messages, (std::vector<int>{8, 202}));
    EXPECT_TRUE(outcome.error.empty()) << "the default read cleanly";
    EXPECT_EQ(outcome.configuration, Layout(640, 480, 7));
}

// An empty name reads the text buffer, then the default file as well.
TEST_F(ConfigurationFallbackTest, EmptyNameReadsTheBufferThenTheDefault) {
    request.file.clear();
    request.textBuffer = BuildConfigurationText(Layout(1280, 1024, 99));
    const ConfigurationOutcome outcome = Resolve();
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_EQ(outcome.configuration, Layout(640, 480, 7));
    EXPECT_EQ(disk.reads, std::vector<std::string>{kDefault});
}

TEST_F(ConfigurationFallbackTest, EmptyNameWithAnEmptyBufferIsAWrongVersion) {
    request.file.clear();
    const ConfigurationOutcome outcome = Resolve();
    EXPECT_EQ(outcome.messages, std::vector<int>{14});
    EXPECT_EQ(outcome.configuration, Layout(640, 480, 7));
}

// The same rules on the disk: a missing file and the default beside it.
TEST(ConfigurationDiskTest, ReadsFromTheInstallDirectory) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    ASSERT_TRUE(QDir(directory.path()).mkpath("Config"));
    const std::string install = directory.path().toStdString() + "/";
    std::string error;
    ASSERT_TRUE(
        WriteConfigurationFile(DefaultConfigurationPath(install), Layout(640, 480, 7), error))
        << error;
    ASSERT_TRUE(WriteConfigurationFile(install + "big.pcf", Layout(1920, 1200, 99), error))
        << error;

    ConfigurationRequest request;
    request.screenWidth = 1024;
    request.screenHeight = 768;
    request.installDirectory = install;
    request.file = install + "big.pcf";
    ConfigurationOutcome outcome = ResolveConfiguration(request, DiskConfigurationReader());
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_EQ(outcome.configuration, Layout(640, 480, 7));

    request.file = install + "missing.pcf";
    outcome = ResolveConfiguration(request, DiskConfigurationReader());
    EXPECT_EQ(outcome.messages, std::vector<int>{303});
    EXPECT_TRUE(outcome.ends);
}

// --- Shipped files --------------------------------------------------------------------

bool Inside(const WindowBounds& bounds, int width, int height) {
    return bounds.left >= 0 && bounds.top >= 0 && bounds.width > 0 && bounds.height > 0 &&
           bounds.left + bounds.width <= width && bounds.top + bounds.height <= height;
}

TEST(ShippedConfigurationTest, EveryResolutionFileIsShippedWithTheDefault) {
    std::vector<std::string> names;
    for (const ShippedConfigurationFile& file : ShippedConfigurationFiles())
        names.push_back(file.name);
    std::vector<std::string> expected{"con0.pcf"};
    for (const std::string& name : ResolutionConfigurationFiles()) expected.push_back(name);
    EXPECT_EQ(names, expected);
    EXPECT_EQ(names.size(), 13u);

    // Nothing else lies in the folder.
    QStringList onDisk =
        QDir(QString::fromStdString(kConfigDirectory)).entryList(QDir::Files, QDir::Name);
    std::vector<std::string> sortedNames = names;
    std::sort(sortedNames.begin(), sortedNames.end());
    std::vector<std::string> sortedDisk;
    for (const QString& name : onDisk) sortedDisk.push_back(name.toStdString());
    std::sort(sortedDisk.begin(), sortedDisk.end());
    EXPECT_EQ(sortedDisk, sortedNames);
}

TEST(ShippedConfigurationTest, EveryShippedFileReadsFitsAndIsUpToDate) {
    for (const ShippedConfigurationFile& file : ShippedConfigurationFiles()) {
        SCOPED_TRACE(file.name);
        const std::string path = kConfigDirectory + "/" + file.name;
        const std::string bytes = FileBytes(path);
        const std::vector<std::string> lines = FileLines(path);
        ASSERT_EQ(lines.size(), 90u);
        // CR LF after every line.
        std::size_t crlf = 0;
        for (std::size_t at = bytes.find("\r\n"); at != std::string::npos;
             at = bytes.find("\r\n", at + 2))
            ++crlf;
        EXPECT_EQ(crlf, 90u);
        const std::vector<std::string> body(lines.begin(), lines.end() - 1);
        EXPECT_EQ(lines[89], std::to_string(FileChecksumOfText(body)));

        const ConfigurationParse parse = ParseConfiguration(lines);
        ASSERT_EQ(parse.status, ConfigurationStatus::Read) << parse.error;
        const Configuration& c = parse.configuration;
        EXPECT_EQ(c.screenWidth, file.screenWidth);
        EXPECT_EQ(c.screenHeight, file.screenHeight);
        EXPECT_TRUE(ScreenFits(c, file.screenWidth, file.screenHeight));
        EXPECT_TRUE(c.mainVisible);
        EXPECT_TRUE(Inside(c.mainBounds, file.screenWidth, file.screenHeight));
        for (const ToolWindowLayout* window :
             {&c.preview, &c.legend, &c.functionManager, &c.plotSettings, &c.dependencies})
            EXPECT_TRUE(Inside(window->bounds, file.screenWidth, file.screenHeight))
                << window->bounds.left << "," << window->bounds.top << " " << window->bounds.width
                << "x" << window->bounds.height;
        EXPECT_TRUE(c.preview.visible && c.legend.visible && c.functionManager.visible);

        // Written by the program's own writer: `make configs` would write the same bytes.
        EXPECT_EQ(parse.configuration, ShippedConfiguration(file.screenWidth, file.screenHeight));
        QTemporaryDir directory;
        ASSERT_TRUE(directory.isValid());
        const std::string fresh = directory.filePath("fresh.pcf").toStdString();
        std::string error;
        ASSERT_TRUE(WriteConfigurationFile(
            fresh, ShippedConfiguration(file.screenWidth, file.screenHeight), error));
        EXPECT_EQ(FileBytes(fresh), bytes) << "run `make configs`";
    }
}

// The default has to fit wherever a resolution file falls back to it: every screen the
// resolution table supports, and the smallest one it might be read on.
TEST(ShippedConfigurationTest, DefaultFitsEverySupportedScreen) {
    const Configuration defaults =
        ShippedConfiguration(kDefaultConfigurationScreenWidth, kDefaultConfigurationScreenHeight);
    for (const auto& [width, height] : std::vector<std::pair<int, int>>{{640, 600},
                                                                        {800, 600},
                                                                        {960, 600},
                                                                        {1024, 768},
                                                                        {1280, 550},
                                                                        {1280, 720},
                                                                        {1366, 768}}) {
        ASSERT_TRUE(ResolutionConfigurationFile(width, height).has_value())
            << width << "x" << height;
        EXPECT_TRUE(ScreenFits(defaults, width, height)) << width << "x" << height;
    }
}

TEST(ShippedConfigurationTest, WriterFillsADirectory) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    std::string error;
    ASSERT_TRUE(WriteShippedConfigurations(directory.path().toStdString(), error)) << error;
    for (const ShippedConfigurationFile& file : ShippedConfigurationFiles())
        EXPECT_EQ(FileBytes(directory.filePath(QString::fromStdString(file.name)).toStdString()),
                  FileBytes(kConfigDirectory + "/" + file.name))
            << file.name;
    EXPECT_FALSE(WriteShippedConfigurations(directory.filePath("missing").toStdString(), error));
    EXPECT_NE(error.find("con0.pcf"), std::string::npos);
}

}  // namespace
}  // namespace pc::test
