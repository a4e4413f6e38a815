#include "catalogue/startup_decisions.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace pc {
namespace {

using Names = std::vector<std::string>;
using Files = std::set<std::string>;

// Mixed case throughout: a path that comes back changed names another file.
const std::string kInstall = "/opt/Plotcraftsman/";
const std::string kUser = "/home/Ann/.local/share/Plotcraftsman/";
const std::string kUserStart = kUser + "start.fx";
const std::string kInstallStart = kInstall + "start.fx";

// A file system that holds exactly `files`, spelled exactly so, and remembers every name it
// was asked about.
struct FakeFiles {
    Files files;
    Names asked;

    FileExistsPredicate predicate() {
        return [this](const std::string& name) {
            asked.push_back(name);
            return files.count(name) > 0;
        };
    }
};

// "" in an expectation means none.
std::optional<std::string> Opt(const std::string& text) {
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

// "1024x768" names "config1024x768.pcf"; "" means none.
std::optional<std::string> ConfigFile(const std::string& screen) {
    return Opt(screen.empty() ? "" : "config" + screen + ".pcf");
}

TEST(UpperCaseExtension, TextFromTheLastDotOfTheFileNameUpperCased) {
    const struct {
        const char* path;
        const char* extension;
    } cases[] = {
        // The decision tables below cover ordinary names, mixed case and a "." in a folder.
        {"a/b.tar.Fx", ".FX"},  // the last "."
        {"", ""},
        {"a.fx ", ".FX "},              // nothing is trimmed, so this is not ".FX"
        {"b.f\xC3\xA4", ".F\xC3\xA4"},  // only ASCII letters change; UTF-8 bytes stay
    };
    for (const auto& c : cases) EXPECT_EQ(UpperCaseExtension(c.path), c.extension) << c.path;
}

TEST(DecideCommandLine, EveryRowOfTheTable) {
    const struct {
        const char* reason;
        Names arguments;
        Files existing;
        std::string functionFile;       // "" = none
        const char* configurationFile;  // "" = none
        int message;                    // every message ends the program
    } cases[] = {
        // clang-format off
        // Rows for -H, one .fx1, one missing .fx, the pairs .fx .fx1 and .fx1 .fx, and three
        // arguments are pinned by the CLI's files script, /? by the start-up test.
        // No argument: the user directory's start.fx wins over the install directory's.
        {"none, no start.fx anywhere", {}, {}, kInstallStart, "", 0},
        {"none, start.fx in both", {}, {kUserStart, kInstallStart}, kUserStart, "", 0},
        // Help words, in any case, before any file test.
        {"help word that is also an existing file", {"/h"}, {"/h"}, "", "", 302},
        {"-help is no help word", {"-help"}, {}, "", "", 18},
        // One existing function file, any case of the extension.
        {"one .Fx beside a user start.fx", {"d/C.Fx"}, {"d/C.Fx", kUserStart}, "d/C.Fx", "", 0},
        // Regression: the argument was upper-cased before it was stored, which on a
        // case-sensitive file system names another file.
        {"one .fx of which only the upper-cased name exists", {"/data/plot.fx"},
         {"/DATA/PLOT.FX"}, "", "", 18},
        // One existing configuration: the function file is always the install start.fx.
        {"one .PcF; no user start.fx", {"M.PcF"}, {"M.PcF", kUserStart}, kInstallStart, "M.PcF", 0},
        // One existing file of another kind.
        {"one without extension", {"README"}, {"README"}, "", "", 17},
        {"one with the dot in the folder", {"dir.fx/name"}, {"dir.fx/name"}, "", "", 17},
        // Two existing files in either order.
        {"two .fx .pcf", {"a.fx", "c.pcf"}, {"a.fx", "c.pcf"}, "a.fx", "c.pcf", 0},
        {"two .pCf .fX", {"C.pCf", "A.fX"}, {"A.fX", "C.pCf"}, "A.fX", "C.pCf", 0},
        // Two existing files that do not pair up.
        {"two .fx .fx", {"a.fx", "b.fx"}, {"a.fx", "b.fx"}, "", "", 19},
        {"two .PCF .txt", {"C.PCF", "t.txt"}, {"C.PCF", "t.txt"}, "", "", 20},
        {"two .txt .pcf", {"t.txt", "c.pcf"}, {"c.pcf", "t.txt"}, "", "", 21},
        // Two arguments with a missing file: tested before the extensions.
        {"two, second missing", {"a.fx", "c.pcf"}, {"a.fx"}, "", "", 22},
        {"two, missing beats wrong kinds", {"t.txt", "u.txt"}, {"t.txt"}, "", "", 22},
        {"two help words are file names", {"-h", "?"}, {}, "", "", 22},
        // Three or more, whatever they are.
        {"three help words", {"-h", "-h", "-h"}, {}, "", "", 23},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        FakeFiles files{c.existing, {}};
        const CommandLineDecision d =
            DecideCommandLine(c.arguments, files.predicate(), kInstall, kUser);
        EXPECT_EQ(d.functionFile, Opt(c.functionFile));
        EXPECT_EQ(d.configurationFile, Opt(c.configurationFile));
        EXPECT_EQ(d.message, c.message);
        EXPECT_EQ(d.ends, c.message != 0);
        if (c.message == 302) {
            EXPECT_TRUE(files.asked.empty()) << "help words come before any file test";
        }
    }
}

TEST(DecideDrop, EveryRowOfTheTable) {
    const struct {
        const char* reason;
        Names dropped;
        const char* functionFile;  // "" = none
        const char* configurationFile;
        int message;
        bool rebuild;
    } cases[] = {
        // clang-format off
        {"nothing dropped", {}, "", "", 0, false},
        {"one .fx", {"/p/a.fx"}, "/p/a.fx", "", 0, true},
        {"one .Fx", {"/p/Mixed.Fx"}, "/p/Mixed.Fx", "", 0, true},
        {"one .PcF: applied, no rebuild", {"/p/C.PcF"}, "", "/p/C.PcF", 0, false},
        {"one .txt", {"/p/t.txt"}, "", "", 27, false},
        {"one without extension", {"/p/README"}, "", "", 27, false},
        {"two .fx .pcf", {"/p/a.fx", "/p/c.pcf"}, "/p/a.fx", "/p/c.pcf", 0, true},
        {"two .PCF .fX", {"/p/C.PCF", "/p/A.fX"}, "/p/A.fX", "/p/C.PCF", 0, true},
        // After any two-file drop the tree and selection list are rebuilt, even on 28.
        {"two .fx .fx", {"/p/a.fx", "/p/b.fx"}, "", "", 28, true},
        {"two .fx .txt", {"/p/a.fx", "/p/t.txt"}, "", "", 28, true},
        {"two .txt .pcf", {"/p/t.txt", "/p/c.pcf"}, "", "", 28, true},
        {"three files", {"/p/a.fx", "/p/c.pcf", "/p/b.fx"}, "", "", 26, false},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        const DropDecision d = DecideDrop(c.dropped);
        EXPECT_EQ(d.functionFile, Opt(c.functionFile));
        EXPECT_EQ(d.configurationFile, Opt(c.configurationFile));
        EXPECT_EQ(d.message, c.message);
        EXPECT_EQ(d.rebuildTreeAndSelection, c.rebuild);
    }
}

// Every threshold of the table, tried just below, at and just above it, along the width (at a
// height every band names) or along the height (at the band's width). The names given are
// the set the installation ships, in table order.
TEST(ResolutionConfigurationFile, EveryBoundaryBelowAtAndAbove) {
    const struct {
        bool alongHeight;
        int width;
        int height;
        const char* below;  // the file's screen size; "" = unsupported
        const char* at;
        const char* above;
    } boundaries[] = {
        // clang-format off
        // Width band edges at height 1050.
        {false,   640,  1050, "",          "800x600",   "800x600"},
        {false,   959,  1050, "800x600",   "800x600",   "960x600"},
        {false,  1023,  1050, "960x600",   "960x600",   "1024x768"},
        {false,  1151,  1050, "1024x768",  "1024x768",  "1152x864"},
        {false,  1175,  1050, "1152x864",  "1152x864",  "1176x664"},
        {false,  1279,  1050, "1176x664",  "1176x664",  "1280x1024"},
        {false,  1359,  1050, "1280x1024", "1280x1024", "1360x768"},
        {false,  1439,  1050, "1360x768",  "1360x768",  "1440x900"},
        {false,  1679,  1050, "1440x900",  "1440x900",  "1680x1050"},
        {false, 40000,  1050, "1680x1050", "1680x1050", ""},
        // 640 to 959: other heights are unsupported.
        {true,   800,   600, "",          "800x600",   "800x600"},
        {true,   800,  4000, "800x600",   "800x600",   ""},
        // 960 to 1023: the same, with its own file.
        {true,   960,   600, "",          "960x600",   "960x600"},
        {true,  1023,  4000, "960x600",   "960x600",   ""},
        // From 1024 upward, heights the table does not name take 800x600.
        {true,  1024,   768, "800x600",   "1024x768",  "1024x768"},
        {true,  1151,  4000, "1024x768",  "1024x768",  "800x600"},
        {true,  1152,   864, "800x600",   "1152x864",  "1152x864"},
        {true,  1175,  4000, "1152x864",  "1152x864",  "800x600"},
        {true,  1176,   664, "800x600",   "1176x664",  "1176x664"},
        {true,  1279,  4000, "1176x664",  "1176x664",  "800x600"},
        // 1280 to 1359: the band with a gap, no lower limit and an upper one of 40000.
        {true,  1280,     1, "800x600",   "800x600",   "800x600"},
        {true,  1280,   600, "800x600",   "",          ""},
        {true,  1280,   719, "",          "",          "1280x720"},
        {true,  1280,   799, "1280x720",  "1280x720",  "1280x800"},
        {true,  1359,   959, "1280x800",  "1280x800",  "1280x960"},
        {true,  1359,  1023, "1280x960",  "1280x960",  "1280x1024"},
        {true,  1280, 40000, "1280x1024", "1280x1024", "800x600"},
        {true,  1360,   768, "800x600",   "1360x768",  "1360x768"},
        {true,  1439,  4000, "1360x768",  "1360x768",  "800x600"},
        {true,  1440,   900, "800x600",   "1440x900",  "1440x900"},
        {true,  1679,  4000, "1440x900",  "1440x900",  "800x600"},
        {true,  1680,  1050, "800x600",   "1680x1050", "1680x1050"},
        {true, 40000,  4000, "1680x1050", "1680x1050", "800x600"},
        // clang-format on
    };
    std::set<std::string> given;
    for (const auto& b : boundaries) {
        const char* expected[] = {b.below, b.at, b.above};
        for (int step = -1; step <= 1; ++step) {
            const int width = b.alongHeight ? b.width : b.width + step;
            const int height = b.alongHeight ? b.height + step : b.height;
            const std::optional<std::string> file = ResolutionConfigurationFile(width, height);
            EXPECT_EQ(file, ConfigFile(expected[step + 1])) << width << " x " << height;
            if (file)
                given.insert(*file);
        }
    }
    const Names shipped = {
        "config800x600.pcf",   "config960x600.pcf",  "config1024x768.pcf", "config1152x864.pcf",
        "config1176x664.pcf",  "config1280x720.pcf", "config1280x800.pcf", "config1280x960.pcf",
        "config1280x1024.pcf", "config1360x768.pcf", "config1440x900.pcf", "config1680x1050.pcf",
    };
    EXPECT_EQ(ResolutionConfigurationFiles(), shipped);
    EXPECT_EQ(given, std::set<std::string>(shipped.begin(), shipped.end()));
}

TEST(ChooseConfiguration, CommandLineThenUsersCon0ThenResolutionFile) {
    const std::string con0 = kUser + "con0.pcf";
    const std::string copy = kUser + "config1360x768.pcf";
    const std::string shipped = kInstall + "Config/config1360x768.pcf";
    using Source = ConfigurationSource;
    const struct {
        const char* reason;
        std::optional<std::string> commandLine;
        Files existing;
        int width, height;
        Source source;
        std::string readFile;  // "" = none
    } cases[] = {
        // clang-format off
        {"command line first", "Mine.PCF", {con0}, 1280, 650, Source::CommandLine, "Mine.PCF"},
        {"then the user's con0.pcf", {}, {con0}, 1280, 650, Source::UserFile, con0},
        {"an empty command line file is none", "", {con0}, 1280, 650, Source::UserFile, con0},
        {"else the resolution file", {}, {}, 1366, 768, Source::Resolution, shipped},
        {"an earlier copy is not read", {}, {copy}, 1366, 768, Source::Resolution, shipped},
        {"an unsupported resolution reads nothing", {}, {}, 1280, 650, Source::None, ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        FakeFiles files{c.existing, {}};
        const ConfigurationChoice choice = ChooseConfiguration(c.commandLine, files.predicate(),
                                                               kInstall, kUser, c.width, c.height);
        const bool resolution = c.source == Source::Resolution;
        EXPECT_EQ(choice.source, c.source);
        EXPECT_EQ(choice.readFile, Opt(c.readFile));
        // The resolution file is copied under its own name and recorded by that bare name.
        EXPECT_EQ(choice.copyTo, resolution ? Opt(copy) : std::nullopt);
        EXPECT_EQ(choice.configurationFileName, resolution ? "config1360x768.pcf" : c.readFile);
        EXPECT_EQ(choice.failureText, resolution ? "no such file: " + shipped : "");
        EXPECT_EQ(choice.unsupportedResolution, c.source == Source::None);
        EXPECT_EQ(files.asked, c.source == Source::CommandLine ? Names{} : Names{con0});
    }
}

}  // namespace
}  // namespace pc
