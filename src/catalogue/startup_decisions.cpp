#include "catalogue/startup_decisions.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>

namespace pc {
namespace {

constexpr const char* kFx = ".FX";
constexpr const char* kPcf = ".PCF";

// ASCII only: the extensions and help words compared are ASCII, and a locale-dependent
// toupper could change bytes of a UTF-8 name.
std::string AsciiUpper(std::string text) {
    for (char& ch : text) {
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    }
    return text;
}

bool IsHelpWord(const std::string& argument) {
    const std::string upper = AsciiUpper(argument);
    return upper == "-H" || upper == "/H" || upper == "/?" || upper == "?";
}

CommandLineDecision Ending(int message) {
    CommandLineDecision decision;
    decision.message = message;
    decision.ends = true;
    return decision;
}

CommandLineDecision Files(const std::string& functionFile,
                          std::optional<std::string> configurationFile) {
    CommandLineDecision decision;
    decision.functionFile = functionFile;
    decision.configurationFile = std::move(configurationFile);
    return decision;
}

CommandLineDecision DecideOneArgument(const std::string& argument,
                                      const FileExistsPredicate& fileExists,
                                      const std::string& installDirectory) {
    if (IsHelpWord(argument))
        return Ending(kMsgUsage);
    if (!fileExists(argument))
        return Ending(kMsgFileMissing);
    const std::string extension = UpperCaseExtension(argument);
    if (extension == kFx)
        return Files(argument, std::nullopt);
    // The user directory's start.fx is not consulted when a configuration is named.
    if (extension == kPcf)
        return Files(installDirectory + kStartFunctionFile, argument);
    return Ending(kMsgWrongExtension);
}

CommandLineDecision DecideTwoArguments(const std::string& first, const std::string& second,
                                       const FileExistsPredicate& fileExists) {
    if (!fileExists(first) || !fileExists(second))
        return Ending(kMsgOneOfTwoFilesMissing);
    const std::string firstExtension = UpperCaseExtension(first);
    const std::string secondExtension = UpperCaseExtension(second);
    if (firstExtension == kFx) {
        if (secondExtension == kPcf)
            return Files(first, second);
        return Ending(kMsgSecondNotConfiguration);
    }
    if (firstExtension == kPcf) {
        if (secondExtension == kFx)
            return Files(second, first);
        return Ending(kMsgSecondNotFunctionFile);
    }
    return Ending(kMsgFirstNeitherFxNorPcf);
}

// One row of a width band: heights from..to (inclusive) take `file`; nullptr means the
// resolution is unsupported.
struct HeightRow {
    int minHeight;
    int maxHeight;
    const char* file;
};

struct WidthBand {
    int minWidth;
    int maxWidth;
    std::span<const HeightRow> rows;
    const char* otherHeights;  // heights no row names; nullptr: unsupported
};

constexpr const char* k800x600 = "config800x600.pcf";

constexpr HeightRow kRows640[] = {{600, 4000, k800x600}};
constexpr HeightRow kRows960[] = {{600, 4000, "config960x600.pcf"}};
constexpr HeightRow kRows1024[] = {{768, 4000, "config1024x768.pcf"}};
constexpr HeightRow kRows1152[] = {{864, 4000, "config1152x864.pcf"}};
constexpr HeightRow kRows1176[] = {{664, 4000, "config1176x664.pcf"}};
constexpr HeightRow kRows1280[] = {
    {600, 719, nullptr},
    {720, 799, "config1280x720.pcf"},
    {800, 959, "config1280x800.pcf"},
    {960, 1023, "config1280x960.pcf"},
    {1024, 40000, "config1280x1024.pcf"},
};
constexpr HeightRow kRows1360[] = {{768, 4000, "config1360x768.pcf"}};
constexpr HeightRow kRows1440[] = {{900, 4000, "config1440x900.pcf"}};
constexpr HeightRow kRows1680[] = {{1050, 4000, "config1680x1050.pcf"}};

// Widths below 640 and above 40000 lie in no band and are unsupported.
constexpr std::array<WidthBand, 9> kResolutionTable = {{
    {640, 959, kRows640, nullptr},
    {960, 1023, kRows960, nullptr},
    {1024, 1151, kRows1024, k800x600},
    {1152, 1175, kRows1152, k800x600},
    {1176, 1279, kRows1176, k800x600},
    {1280, 1359, kRows1280, k800x600},  // heights below 600 and above 40000
    {1360, 1439, kRows1360, k800x600},
    {1440, 1679, kRows1440, k800x600},
    {1680, 40000, kRows1680, k800x600},
}};

}  // namespace

std::string UpperCaseExtension(const std::string& path) {
    const std::size_t nameStart = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (nameStart != std::string::npos && dot < nameStart))
        return {};
    return AsciiUpper(path.substr(dot));
}

CommandLineDecision DecideCommandLine(const std::vector<std::string>& arguments,
                                      const FileExistsPredicate& fileExists,
                                      const std::string& installDirectory,
                                      const std::string& userDirectory) {
    switch (arguments.size()) {
        case 0: {
            const std::string userStart = userDirectory + kStartFunctionFile;
            return Files(fileExists(userStart) ? userStart : installDirectory + kStartFunctionFile,
                         std::nullopt);
        }
        case 1:
            return DecideOneArgument(arguments[0], fileExists, installDirectory);
        case 2:
            return DecideTwoArguments(arguments[0], arguments[1], fileExists);
        default:
            return Ending(kMsgTooManyArguments);
    }
}

DropDecision DecideDrop(const std::vector<std::string>& droppedFiles) {
    DropDecision decision;
    if (droppedFiles.size() == 1) {
        const std::string extension = UpperCaseExtension(droppedFiles[0]);
        if (extension == kFx) {
            decision.functionFile = droppedFiles[0];
            decision.rebuildTreeAndSelection = true;
        } else if (extension == kPcf) {
            decision.configurationFile = droppedFiles[0];
        } else {
            decision.message = kMsgDropOneFileWrongKind;
        }
    } else if (droppedFiles.size() == 2) {
        const std::string first = UpperCaseExtension(droppedFiles[0]);
        const std::string second = UpperCaseExtension(droppedFiles[1]);
        if (first == kFx && second == kPcf) {
            decision.functionFile = droppedFiles[0];
            decision.configurationFile = droppedFiles[1];
        } else if (first == kPcf && second == kFx) {
            decision.functionFile = droppedFiles[1];
            decision.configurationFile = droppedFiles[0];
        } else {
            decision.message = kMsgDropTwoFilesWrongPair;
        }
        decision.rebuildTreeAndSelection = true;
    } else if (droppedFiles.size() > 2) {
        decision.message = kMsgDropTooManyFiles;
    }
    return decision;
}

std::optional<std::string> ResolutionConfigurationFile(int width, int height) {
    for (const WidthBand& band : kResolutionTable) {
        if (width < band.minWidth || width > band.maxWidth)
            continue;
        for (const HeightRow& row : band.rows) {
            if (height >= row.minHeight && height <= row.maxHeight) {
                return row.file ? std::optional<std::string>(row.file) : std::nullopt;
            }
        }
        return band.otherHeights ? std::optional<std::string>(band.otherHeights) : std::nullopt;
    }
    return std::nullopt;
}

std::vector<std::string> ResolutionConfigurationFiles() {
    std::vector<std::string> files;
    const auto add = [&files](const char* file) {
        if (file && std::find(files.begin(), files.end(), file) == files.end()) {
            files.emplace_back(file);
        }
    };
    for (const WidthBand& band : kResolutionTable) {
        for (const HeightRow& row : band.rows) add(row.file);
        add(band.otherHeights);
    }
    return files;
}

ConfigurationChoice ChooseConfiguration(const std::optional<std::string>& commandLineFile,
                                        const FileExistsPredicate& fileExists,
                                        const std::string& installDirectory,
                                        const std::string& userDirectory, int screenWidth,
                                        int screenHeight) {
    ConfigurationChoice choice;
    if (commandLineFile && !commandLineFile->empty()) {
        choice.source = ConfigurationSource::CommandLine;
        choice.readFile = *commandLineFile;
        choice.configurationFileName = *commandLineFile;
        return choice;
    }
    const std::string userFile = userDirectory + kUserConfigurationFile;
    if (fileExists(userFile)) {
        choice.source = ConfigurationSource::UserFile;
        choice.readFile = userFile;
        choice.configurationFileName = userFile;
        return choice;
    }
    const std::optional<std::string> name = ResolutionConfigurationFile(screenWidth, screenHeight);
    if (!name) {
        choice.unsupportedResolution = true;
        return choice;
    }
    choice.source = ConfigurationSource::Resolution;
    choice.readFile = installDirectory + kConfigFolder + *name;
    choice.copyTo = userDirectory + *name;
    choice.configurationFileName = *name;
    choice.failureText = "no such file: " + *choice.readFile;
    return choice;
}

}  // namespace pc
