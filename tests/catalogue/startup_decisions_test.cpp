#include "catalogue/startup_decisions.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace pc {
namespace {

using Names = std::vector<std::string>;

const std::string kInstall = "/opt/Plotcraftsman/";
const std::string kUser = "/home/Ann/.local/share/Plotcraftsman/";

// A file system that holds exactly `files`, spelled exactly so (case-sensitive), and
// remembers every name it was asked about.
struct FakeFiles {
    std::set<std::string> files;
    std::vector<std::string> asked;

    FileExistsPredicate predicate() {
        return [this](const std::string& name) {
            asked.push_back(name);
            return files.count(name) > 0;
        };
    }
};

// "" in an expectation means none.
std::optional<std::string> Opt(const char* text) {
    return *text ? std::optional<std::string>(text) : std::nullopt;
}

TEST(UpperCaseExtension, TextFromTheLastDotOfTheFileNameUpperCased) {
    const struct {
        const char* path;
        const char* extension;
    } cases[] = {
        // clang-format off
        {"a.fx", ".FX"},
        {"/x/y/Z.pCf", ".PCF"},
        {"a/b.tar.Fx", ".FX"},     // the last "."
        {"dir.fx/name", ""},       // a "." before the last "/" is not the file name's
        {".pcf", ".PCF"},          // a name that is only an extension
        {"name", ""},
        {"name.", "."},
        {"", ""},
        {"a.fx ", ".FX "},         // nothing is trimmed, so this is not ".FX"
        {"b.f\xC3\xA4", ".F\xC3\xA4"},  // only ASCII letters change; UTF-8 bytes stay
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpperCaseExtension(c.path), c.extension) << c.path;
    }
}

// --- Command line -------------------------------------------------------------------

struct CommandLineCase {
    const char* reason;
    Names arguments;
    std::set<std::string> existing;
    const char* functionFile;       // "" = none
    const char* configurationFile;  // "" = none
    int message;                    // every message ends the program
};

const std::string kUserStart = kUser + "start.fx";
const std::string kInstallStart = kInstall + "start.fx";

// clang-format off
const CommandLineCase kCommandLineCases[] = {
    // No argument: the user directory's start.fx wins over the install directory's.
    {"none, no start.fx anywhere", {}, {}, "/opt/Plotcraftsman/start.fx", "", 0},
    {"none, only the install start.fx", {}, {kInstallStart}, "/opt/Plotcraftsman/start.fx", "", 0},
    {"none, only the user start.fx", {}, {kUserStart},
     "/home/Ann/.local/share/Plotcraftsman/start.fx", "", 0},
    {"none, start.fx in both", {}, {kUserStart, kInstallStart},
     "/home/Ann/.local/share/Plotcraftsman/start.fx", "", 0},

    // Help words, in any case, before any file test.
    {"help -h", {"-h"}, {}, "", "", 302},
    {"help -H", {"-H"}, {}, "", "", 302},
    {"help /h", {"/h"}, {}, "", "", 302},
    {"help /H", {"/H"}, {}, "", "", 302},
    {"help /?", {"/?"}, {}, "", "", 302},
    {"help ?", {"?"}, {}, "", "", 302},
    {"help word that is also an existing file", {"/h"}, {"/h"}, "", "", 302},
    {"-help is no help word", {"-help"}, {}, "", "", 18},
    {"h alone is no help word", {"h"}, {}, "", "", 18},

    // One existing function file, any case of the extension.
    {"one .fx", {"a.fx"}, {"a.fx"}, "a.fx", "", 0},
    {"one .FX", {"A.FX"}, {"A.FX"}, "A.FX", "", 0},
    {"one .Fx", {"dir/Curves.Fx"}, {"dir/Curves.Fx"}, "dir/Curves.Fx", "", 0},
    {"one .fx beside a user start.fx", {"a.fx"}, {"a.fx", kUserStart}, "a.fx", "", 0},

    // One existing configuration: the function file is always the install start.fx.
    {"one .pcf", {"c.pcf"}, {"c.pcf"}, "/opt/Plotcraftsman/start.fx", "c.pcf", 0},
    {"one .PCF", {"C.PCF"}, {"C.PCF"}, "/opt/Plotcraftsman/start.fx", "C.PCF", 0},
    {"one .PcF, user start.fx ignored", {"My.PcF"}, {"My.PcF", kUserStart},
     "/opt/Plotcraftsman/start.fx", "My.PcF", 0},

    // One existing file of another kind.
    {"one .txt", {"t.txt"}, {"t.txt"}, "", "", 17},
    {"one without extension", {"README"}, {"README"}, "", "", 17},
    {"one with the dot in the folder", {"dir.fx/name"}, {"dir.fx/name"}, "", "", 17},
    {"one .fx.bak", {"a.fx.bak"}, {"a.fx.bak"}, "", "", 17},

    // One missing file, whatever its extension.
    {"one missing .fx", {"gone.fx"}, {}, "", "", 18},
    {"one missing .pcf", {"gone.pcf"}, {}, "", "", 18},
    {"one missing .txt", {"gone.txt"}, {}, "", "", 18},

    // Two existing files in either order.
    {"two .fx .pcf", {"a.fx", "c.pcf"}, {"a.fx", "c.pcf"}, "a.fx", "c.pcf", 0},
    {"two .pcf .fx", {"c.pcf", "a.fx"}, {"a.fx", "c.pcf"}, "a.fx", "c.pcf", 0},
    {"two .FX .PCF", {"A.FX", "C.PCF"}, {"A.FX", "C.PCF"}, "A.FX", "C.PCF", 0},
    {"two .pCf .fX", {"C.pCf", "A.fX"}, {"A.fX", "C.pCf"}, "A.fX", "C.pCf", 0},

    // Two existing files that do not pair up.
    {"two .fx .fx", {"a.fx", "b.fx"}, {"a.fx", "b.fx"}, "", "", 19},
    {"two .fx .txt", {"a.fx", "t.txt"}, {"a.fx", "t.txt"}, "", "", 19},
    {"two .FX without extension", {"A.FX", "README"}, {"A.FX", "README"}, "", "", 19},
    {"two .pcf .pcf", {"c.pcf", "d.pcf"}, {"c.pcf", "d.pcf"}, "", "", 20},
    {"two .PCF .txt", {"C.PCF", "t.txt"}, {"C.PCF", "t.txt"}, "", "", 20},
    {"two .txt .fx", {"t.txt", "a.fx"}, {"a.fx", "t.txt"}, "", "", 21},
    {"two .txt .pcf", {"t.txt", "c.pcf"}, {"c.pcf", "t.txt"}, "", "", 21},
    {"two without extension", {"README", "LICENSE"}, {"README", "LICENSE"}, "", "", 21},

    // Two arguments with a missing file: tested before the extensions.
    {"two, first missing", {"a.fx", "c.pcf"}, {"c.pcf"}, "", "", 22},
    {"two, second missing", {"a.fx", "c.pcf"}, {"a.fx"}, "", "", 22},
    {"two, both missing", {"a.fx", "c.pcf"}, {}, "", "", 22},
    {"two, missing beats wrong kinds", {"t.txt", "u.txt"}, {"t.txt"}, "", "", 22},
    {"two help words are file names", {"-h", "?"}, {}, "", "", 22},

    // Three or more, whatever they are.
    {"three valid files", {"a.fx", "c.pcf", "b.fx"}, {"a.fx", "b.fx", "c.pcf"}, "", "", 23},
    {"three help words", {"-h", "-h", "-h"}, {}, "", "", 23},
    {"four missing files", {"1", "2", "3", "4"}, {}, "", "", 23},
};
// clang-format on

TEST(DecideCommandLine, EveryRowOfTheTable) {
    for (const CommandLineCase& c : kCommandLineCases) {
        SCOPED_TRACE(c.reason);
        FakeFiles files{c.existing, {}};
        const CommandLineDecision d =
            DecideCommandLine(c.arguments, files.predicate(), kInstall, kUser);
        EXPECT_EQ(d.functionFile, Opt(c.functionFile));
        EXPECT_EQ(d.configurationFile, Opt(c.configurationFile));
        EXPECT_EQ(d.message, c.message);
        EXPECT_EQ(d.ends, c.message != 0);
    }
}

TEST(DecideCommandLine, HelpWordsAreRecognisedBeforeAnyFileTest) {
    for (const char* word : {"-h", "-H", "/h", "/H", "/?", "?"}) {
        FakeFiles files;
        EXPECT_EQ(DecideCommandLine({word}, files.predicate(), kInstall, kUser).message, 302)
            << word;
        EXPECT_TRUE(files.asked.empty()) << word;
    }
}

// Regression: the program used to upper-case the argument before storing it, which on a
// case-sensitive file system names another file. The mixed-case name exists only as
// spelled; an upper-cased path would be missing (18) or come back changed.
TEST(DecideCommandLine, PathsAreKeptExactlyAsGiven) {
    const std::string function = "/home/Ann/Plots/MyCurves.Fx";
    const std::string configuration = "/home/Ann/Plots/Wide Screen.Pcf";
    FakeFiles files{{function, configuration}, {}};

    CommandLineDecision one = DecideCommandLine({function}, files.predicate(), kInstall, kUser);
    EXPECT_EQ(one.message, 0);
    EXPECT_EQ(one.functionFile, function);

    CommandLineDecision two =
        DecideCommandLine({configuration, function}, files.predicate(), kInstall, kUser);
    EXPECT_EQ(two.message, 0);
    EXPECT_EQ(two.functionFile, function);
    EXPECT_EQ(two.configurationFile, configuration);

    const std::string install = "/Opt/PlotCraftsman/";
    CommandLineDecision pcf = DecideCommandLine({configuration}, files.predicate(), install, kUser);
    EXPECT_EQ(pcf.configurationFile, configuration);
    EXPECT_EQ(pcf.functionFile, "/Opt/PlotCraftsman/start.fx");

    for (const std::string& asked : files.asked) {
        EXPECT_TRUE(asked == function || asked == configuration) << asked;
    }
}

TEST(DecideCommandLine, AnUpperCasedSpellingOfTheArgumentIsAnotherFile) {
    FakeFiles files{{"/DATA/PLOT.FX"}, {}};
    const CommandLineDecision d =
        DecideCommandLine({"/data/plot.fx"}, files.predicate(), kInstall, kUser);
    EXPECT_EQ(d.message, 18);
    EXPECT_TRUE(d.ends);
    EXPECT_EQ(files.asked, Names{"/data/plot.fx"});
}

// --- File drop ----------------------------------------------------------------------

struct DropCase {
    const char* reason;
    Names dropped;
    const char* functionFile;
    const char* configurationFile;
    int message;
    bool rebuild;
};

// clang-format off
const DropCase kDropCases[] = {
    {"nothing dropped", {}, "", "", 0, false},
    {"one .fx", {"/p/a.fx"}, "/p/a.fx", "", 0, true},
    {"one .FX", {"/p/A.FX"}, "/p/A.FX", "", 0, true},
    {"one .Fx", {"/p/Mixed.Fx"}, "/p/Mixed.Fx", "", 0, true},
    {"one .pcf: applied, no rebuild", {"/p/c.pcf"}, "", "/p/c.pcf", 0, false},
    {"one .PcF", {"/p/C.PcF"}, "", "/p/C.PcF", 0, false},
    {"one .txt", {"/p/t.txt"}, "", "", 27, false},
    {"one without extension", {"/p/README"}, "", "", 27, false},
    {"two .fx .pcf", {"/p/a.fx", "/p/c.pcf"}, "/p/a.fx", "/p/c.pcf", 0, true},
    {"two .pcf .fx", {"/p/c.pcf", "/p/a.fx"}, "/p/a.fx", "/p/c.pcf", 0, true},
    {"two .PCF .fX", {"/p/C.PCF", "/p/A.fX"}, "/p/A.fX", "/p/C.PCF", 0, true},
    // After any two-file drop the tree and selection list are rebuilt, even on 28.
    {"two .fx .fx", {"/p/a.fx", "/p/b.fx"}, "", "", 28, true},
    {"two .pcf .pcf", {"/p/c.pcf", "/p/d.pcf"}, "", "", 28, true},
    {"two .fx .txt", {"/p/a.fx", "/p/t.txt"}, "", "", 28, true},
    {"two .txt .pcf", {"/p/t.txt", "/p/c.pcf"}, "", "", 28, true},
    {"three files", {"/p/a.fx", "/p/c.pcf", "/p/b.fx"}, "", "", 26, false},
    {"four files", {"1", "2", "3", "4"}, "", "", 26, false},
};
// clang-format on

TEST(DecideDrop, EveryRowOfTheTable) {
    for (const DropCase& c : kDropCases) {
        SCOPED_TRACE(c.reason);
        const DropDecision d = DecideDrop(c.dropped);
        EXPECT_EQ(d.functionFile, Opt(c.functionFile));
        EXPECT_EQ(d.configurationFile, Opt(c.configurationFile));
        EXPECT_EQ(d.message, c.message);
        EXPECT_EQ(d.rebuildTreeAndSelection, c.rebuild);
    }
}

// --- Resolution table ---------------------------------------------------------------

const char* const k800x600 = "config800x600.pcf";

// One threshold of the table, tried just below, at and just above it, along the width
// (at a height every band names) or along the height (at the band's width).
struct Boundary {
    bool alongHeight;
    int width;
    int height;
    const char* below;  // "" = unsupported
    const char* at;
    const char* above;
};

const Boundary kBoundaries[] = {
    // clang-format off
    // Width band edges at height 1050.
    {false,   640, 1050, "",                  k800x600,              k800x600},
    {false,   959, 1050, k800x600,            k800x600,              "config960x600.pcf"},
    {false,  1023, 1050, "config960x600.pcf", "config960x600.pcf",   "config1024x768.pcf"},
    {false,  1151, 1050, "config1024x768.pcf", "config1024x768.pcf", "config1152x864.pcf"},
    {false,  1175, 1050, "config1152x864.pcf", "config1152x864.pcf", "config1176x664.pcf"},
    {false,  1279, 1050, "config1176x664.pcf", "config1176x664.pcf", "config1280x1024.pcf"},
    {false,  1359, 1050, "config1280x1024.pcf", "config1280x1024.pcf", "config1360x768.pcf"},
    {false,  1439, 1050, "config1360x768.pcf", "config1360x768.pcf", "config1440x900.pcf"},
    {false,  1679, 1050, "config1440x900.pcf", "config1440x900.pcf", "config1680x1050.pcf"},
    {false, 40000, 1050, "config1680x1050.pcf", "config1680x1050.pcf", ""},

    // 640 to 959: other heights are unsupported.
    {true,    800,  600, "",                  k800x600,              k800x600},
    {true,    800, 4000, k800x600,            k800x600,              ""},
    // 960 to 1023: the same, with its own file.
    {true,    960,  600, "",                  "config960x600.pcf",   "config960x600.pcf"},
    {true,   1023, 4000, "config960x600.pcf", "config960x600.pcf",   ""},
    // From 1024 upward, heights the table does not name take 800x600.
    {true,   1024,  768, k800x600,            "config1024x768.pcf",  "config1024x768.pcf"},
    {true,   1151, 4000, "config1024x768.pcf", "config1024x768.pcf", k800x600},
    {true,   1152,  864, k800x600,            "config1152x864.pcf",  "config1152x864.pcf"},
    {true,   1175, 4000, "config1152x864.pcf", "config1152x864.pcf", k800x600},
    {true,   1176,  664, k800x600,            "config1176x664.pcf",  "config1176x664.pcf"},
    {true,   1279, 4000, "config1176x664.pcf", "config1176x664.pcf", k800x600},
    // 1280 to 1359: the band with a gap and a limit of 40000.
    {true,   1280,  600, k800x600,            "",                    ""},
    {true,   1280,  719, "",                  "",                    "config1280x720.pcf"},
    {true,   1280,  799, "config1280x720.pcf", "config1280x720.pcf", "config1280x800.pcf"},
    {true,   1359,  959, "config1280x800.pcf", "config1280x800.pcf", "config1280x960.pcf"},
    {true,   1359, 1023, "config1280x960.pcf", "config1280x960.pcf", "config1280x1024.pcf"},
    {true,   1280, 40000, "config1280x1024.pcf", "config1280x1024.pcf", k800x600},
    {true,   1360,  768, k800x600,            "config1360x768.pcf",  "config1360x768.pcf"},
    {true,   1439, 4000, "config1360x768.pcf", "config1360x768.pcf", k800x600},
    {true,   1440,  900, k800x600,            "config1440x900.pcf",  "config1440x900.pcf"},
    {true,   1679, 4000, "config1440x900.pcf", "config1440x900.pcf", k800x600},
    {true,   1680, 1050, k800x600,            "config1680x1050.pcf", "config1680x1050.pcf"},
    {true,  40000, 4000, "config1680x1050.pcf", "config1680x1050.pcf", k800x600},
    // clang-format on
};

TEST(ResolutionConfigurationFile, EveryBoundaryBelowAtAndAbove) {
    for (const Boundary& b : kBoundaries) {
        const char* expected[] = {b.below, b.at, b.above};
        for (int step = -1; step <= 1; ++step) {
            const int width = b.alongHeight ? b.width : b.width + step;
            const int height = b.alongHeight ? b.height + step : b.height;
            EXPECT_EQ(ResolutionConfigurationFile(width, height), Opt(expected[step + 1]))
                << width << " x " << height;
        }
    }
}

TEST(ResolutionConfigurationFile, ScreensOutsideEveryBand) {
    const struct {
        int width, height;
        const char* file;
    } cases[] = {
        // clang-format off
        {639, 480, ""},
        {639, 1050, ""},
        {0, 0, ""},
        {40001, 1050, ""},
        {800, 480, ""},         // 640 to 959 has no else row
        {1023, 599, ""},        // nor has 960 to 1023
        {1280, 0, k800x600},    // "below 600" has no lower limit
        {1359, 599, k800x600},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResolutionConfigurationFile(c.width, c.height), Opt(c.file))
            << c.width << " x " << c.height;
    }
}

TEST(ResolutionConfigurationFile, TheExamplesThatMustHold) {
    EXPECT_EQ(ResolutionConfigurationFile(1280, 650), std::nullopt);
    EXPECT_EQ(ResolutionConfigurationFile(1280, 550), "config800x600.pcf");
    EXPECT_EQ(ResolutionConfigurationFile(1366, 768), "config1360x768.pcf");
    EXPECT_EQ(ResolutionConfigurationFile(1400, 700), "config800x600.pcf");
    EXPECT_EQ(ResolutionConfigurationFile(1440, 900), "config1440x900.pcf");
    EXPECT_EQ(ResolutionConfigurationFile(1024, 700), "config800x600.pcf");
    EXPECT_EQ(ResolutionConfigurationFile(1280, 40001), "config800x600.pcf");
    EXPECT_EQ(ResolutionConfigurationFile(1920, 1080), "config1680x1050.pcf");
}

TEST(ResolutionConfigurationFiles, TheShippedSetInTableOrder) {
    const Names expected = {
        "config800x600.pcf",   "config960x600.pcf",  "config1024x768.pcf", "config1152x864.pcf",
        "config1176x664.pcf",  "config1280x720.pcf", "config1280x800.pcf", "config1280x960.pcf",
        "config1280x1024.pcf", "config1360x768.pcf", "config1440x900.pcf", "config1680x1050.pcf",
    };
    EXPECT_EQ(ResolutionConfigurationFiles(), expected);
}

TEST(ResolutionConfigurationFiles, EveryNameTheTableGivesIsListed) {
    const Names listed = ResolutionConfigurationFiles();
    const std::set<std::string> shipped(listed.begin(), listed.end());
    std::set<std::string> given;
    for (const Boundary& b : kBoundaries) {
        for (int step = -1; step <= 1; ++step) {
            const int width = b.alongHeight ? b.width : b.width + step;
            const int height = b.alongHeight ? b.height + step : b.height;
            if (auto file = ResolutionConfigurationFile(width, height)) given.insert(*file);
        }
    }
    EXPECT_EQ(given, shipped);  // each listed name is reachable, and nothing else is given
}

// --- Configuration at start ---------------------------------------------------------

const std::string kCon0 = kUser + "con0.pcf";

TEST(ChooseConfiguration, TheCommandLineFileComesFirst) {
    FakeFiles files{{kCon0}, {}};
    const ConfigurationChoice c =
        ChooseConfiguration(std::string("Mine.PCF"), files.predicate(), kInstall, kUser, 1280, 650);
    EXPECT_EQ(c.source, ConfigurationSource::CommandLine);
    EXPECT_EQ(c.readFile, "Mine.PCF");
    EXPECT_EQ(c.copyTo, std::nullopt);
    EXPECT_EQ(c.configurationFileName, "Mine.PCF");
    EXPECT_FALSE(c.unsupportedResolution);  // the screen is not even looked at
    EXPECT_TRUE(files.asked.empty());
}

TEST(ChooseConfiguration, ThenTheUsersCon0) {
    for (const std::optional<std::string>& commandLine :
         {std::optional<std::string>(), std::optional<std::string>("")}) {
        FakeFiles files{{kCon0}, {}};
        const ConfigurationChoice c =
            ChooseConfiguration(commandLine, files.predicate(), kInstall, kUser, 1280, 650);
        EXPECT_EQ(c.source, ConfigurationSource::UserFile);
        EXPECT_EQ(c.readFile, kCon0);
        EXPECT_EQ(c.copyTo, std::nullopt);
        EXPECT_EQ(c.configurationFileName, kCon0);
        EXPECT_FALSE(c.unsupportedResolution);
    }
}

TEST(ChooseConfiguration, ElseTheResolutionFileIsReadAndCopiedUnderItsOwnName) {
    FakeFiles files;
    const ConfigurationChoice c =
        ChooseConfiguration(std::nullopt, files.predicate(), kInstall, kUser, 1366, 768);
    EXPECT_EQ(c.source, ConfigurationSource::Resolution);
    EXPECT_EQ(c.readFile, "/opt/Plotcraftsman/Config/config1360x768.pcf");
    EXPECT_EQ(c.copyTo, "/home/Ann/.local/share/Plotcraftsman/config1360x768.pcf");
    EXPECT_EQ(c.configurationFileName, "config1360x768.pcf");
    EXPECT_EQ(c.failureText, "no such file: /opt/Plotcraftsman/Config/config1360x768.pcf");
    EXPECT_FALSE(c.unsupportedResolution);
    EXPECT_EQ(files.asked, Names{kCon0});
}

// The copy a resolution start left behind is not what a later start looks for.
TEST(ChooseConfiguration, AnEarlierCopyIsNotRead) {
    FakeFiles files{{kUser + "config1360x768.pcf"}, {}};
    const ConfigurationChoice c =
        ChooseConfiguration(std::nullopt, files.predicate(), kInstall, kUser, 1366, 768);
    EXPECT_EQ(c.source, ConfigurationSource::Resolution);
    EXPECT_EQ(c.readFile, "/opt/Plotcraftsman/Config/config1360x768.pcf");
}

TEST(ChooseConfiguration, UnsupportedResolutionReadsNothing) {
    FakeFiles files;
    const ConfigurationChoice c =
        ChooseConfiguration(std::nullopt, files.predicate(), kInstall, kUser, 1280, 650);
    EXPECT_EQ(c.source, ConfigurationSource::None);
    EXPECT_TRUE(c.unsupportedResolution);
    EXPECT_EQ(c.readFile, std::nullopt);
    EXPECT_EQ(c.copyTo, std::nullopt);
    EXPECT_EQ(c.configurationFileName, "");
    EXPECT_EQ(c.failureText, "");
    EXPECT_STREQ(kUnsupportedResolutionText, "unsupportet graphic resolution");
}

TEST(ChooseConfiguration, DirectoriesKeepTheirCase) {
    FakeFiles files;
    const ConfigurationChoice c = ChooseConfiguration(
        std::nullopt, files.predicate(), "/Opt/PlotCraftsman/", "/home/Ann/Data/", 800, 600);
    EXPECT_EQ(c.readFile, "/Opt/PlotCraftsman/Config/config800x600.pcf");
    EXPECT_EQ(c.copyTo, "/home/Ann/Data/config800x600.pcf");
}

}  // namespace
}  // namespace pc
