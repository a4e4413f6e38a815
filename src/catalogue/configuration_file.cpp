#include "configuration_file.h"

#include <utility>

#include "file_text.h"
#include "text_conversions.h"

namespace pc {

namespace {

std::string IntText(std::int32_t value) {
    return std::to_string(value);
}

// Colours are signed 32-bit values in the file: system colours come out negative.
std::string ColourText(TColor colour) {
    return IntText(static_cast<std::int32_t>(colour));
}

std::string OneLine(const std::string& text) {
    std::string line;
    for (const char ch : text) {
        if (ch != '\r' && ch != '\n')
            line += ch;
    }
    return line;
}

void AppendBounds(std::vector<std::string>& lines, const WindowBounds& bounds) {
    lines.push_back(IntText(bounds.left));
    lines.push_back(IntText(bounds.top));
    lines.push_back(IntText(bounds.width));
    lines.push_back(IntText(bounds.height));
}

void AppendFont(std::vector<std::string>& lines, const AxisFont& font) {
    lines.push_back(OneLine(font.name));
    lines.push_back(ColourText(font.colour));
    lines.push_back(IntText(font.style & kFontStyleMask));
    lines.push_back(IntText(font.size));
}

TColor ReadColour(LineReader& in) {
    return static_cast<TColor>(in.Int());
}

void ReadBounds(LineReader& in, WindowBounds& into) {
    into.left = in.Int();
    into.top = in.Int();
    into.width = in.Int();
    into.height = in.Int();
}

void ReadFont(LineReader& in, AxisFont& into) {
    into.name = in.Text();
    into.colour = ReadColour(in);
    into.style = static_cast<std::uint8_t>(in.Int() & kFontStyleMask);
    into.size = in.Int();
}

// Lines are numbered from 1 as the format table counts them.
void SkipToLine(LineReader& in, std::size_t number) {
    in.SkipTo(number - 1);
}

void ReadLines(LineReader& in, Configuration& c) {
    SkipToLine(in, 3);
    c.reserved = in.Bool();
    ReadBounds(in, c.mainBounds);
    c.mainVisible = in.Bool();
    c.angleInDegrees = in.Bool();
    c.mainPlot.blackWhite = in.Bool();
    c.mainPlot.colourBackground = ReadColour(in);
    SkipToLine(in, 14);  // 12 and 13 are unused
    c.mainPlot.colourMainGrid = ReadColour(in);
    c.mainPlot.colourHelpGrid = ReadColour(in);
    c.mainPlot.colourZeroAxes = ReadColour(in);
    c.preview.onTop = in.Bool();
    ReadBounds(in, c.preview.bounds);
    c.preview.visible = in.Bool();
    c.previewPlot.blackWhite = in.Bool();
    for (ToolWindowLayout* window : {&c.legend, &c.functionManager, &c.plotSettings}) {
        window->onTop = in.Bool();
        ReadBounds(in, window->bounds);
        window->visible = in.Bool();
    }
    c.screenWidth = in.Int();
    c.screenHeight = in.Int();
    for (std::int32_t* value :
         {&c.mainPlot.widthXAxis, &c.mainPlot.widthYAxis, &c.mainPlot.widthMainGrid,
          &c.mainPlot.widthHelpGrid, &c.mainPlot.widthSubGrid, &c.mainPlot.marginLeft,
          &c.mainPlot.marginTop, &c.mainPlot.marginRight, &c.mainPlot.marginBottom,
          &c.previewPlot.marginLeft, &c.previewPlot.marginTop, &c.previewPlot.marginRight,
          &c.previewPlot.marginBottom, &c.previewPlot.widthXAxis, &c.previewPlot.widthYAxis,
          &c.previewPlot.widthMainGrid, &c.previewPlot.widthHelpGrid, &c.previewPlot.widthSubGrid})
        *value = in.Int();
    c.previewPlot.colourBackground = ReadColour(in);
    SkipToLine(in, 65);  // 63 and 64 are unused
    c.previewPlot.colourMainGrid = ReadColour(in);
    c.previewPlot.colourHelpGrid = ReadColour(in);
    c.previewPlot.colourZeroAxes = ReadColour(in);
    c.mainPlot.gridVisible = in.Bool();
    c.mainPlot.axisTextVisible = in.Bool();
    c.previewPlot.gridVisible = in.Bool();
    c.previewPlot.axisTextVisible = in.Bool();
    ReadFont(in, c.mainPlot.font);
    ReadFont(in, c.previewPlot.font);
    c.dependencies.onTop = in.Bool();
    ReadBounds(in, c.dependencies.bounds);
    c.dependencies.visible = in.Bool();
}

// One file read of the fallback rules: what the reader and the parser said.
enum class ReadStep { Missing, Refused, WrongVersion, Defect, Read };

}  // namespace

Extended AngleFactor(bool angleInDegrees) {
    return angleInDegrees ? 180.0L / kPi : 1.0L;
}

const char* AngleUnit(bool angleInDegrees) {
    return angleInDegrees ? "\u00B0" : "rad";
}

bool ScreenFits(const Configuration& configuration, int screenWidth, int screenHeight) {
    return screenWidth >= configuration.screenWidth && screenHeight >= configuration.screenHeight;
}

std::vector<std::string> BuildConfigurationText(const Configuration& c) {
    std::vector<std::string> lines;
    lines.reserve(kConfigurationLineCount);
    lines.emplace_back(kConfigurationHeader);
    lines.emplace_back(kConfigurationVersion);
    lines.emplace_back("0");
    AppendBounds(lines, c.mainBounds);
    lines.emplace_back(BoolToText(c.mainVisible));
    lines.emplace_back(BoolToText(c.angleInDegrees));
    lines.emplace_back(BoolToText(c.mainPlot.blackWhite));
    lines.push_back(ColourText(c.mainPlot.colourBackground));
    lines.emplace_back("0");
    lines.emplace_back("0");
    lines.push_back(ColourText(c.mainPlot.colourMainGrid));
    lines.push_back(ColourText(c.mainPlot.colourHelpGrid));
    lines.push_back(ColourText(c.mainPlot.colourZeroAxes));
    lines.emplace_back(BoolToText(c.preview.onTop));
    AppendBounds(lines, c.preview.bounds);
    lines.emplace_back(BoolToText(c.preview.visible));
    lines.emplace_back(BoolToText(c.previewPlot.blackWhite));
    for (const ToolWindowLayout* window : {&c.legend, &c.functionManager, &c.plotSettings}) {
        lines.emplace_back(BoolToText(window->onTop));
        AppendBounds(lines, window->bounds);
        lines.emplace_back(BoolToText(window->visible));
    }
    lines.push_back(IntText(c.screenWidth));
    lines.push_back(IntText(c.screenHeight));
    for (const std::int32_t value :
         {c.mainPlot.widthXAxis, c.mainPlot.widthYAxis, c.mainPlot.widthMainGrid,
          c.mainPlot.widthHelpGrid, c.mainPlot.widthSubGrid, c.mainPlot.marginLeft,
          c.mainPlot.marginTop, c.mainPlot.marginRight, c.mainPlot.marginBottom,
          c.previewPlot.marginLeft, c.previewPlot.marginTop, c.previewPlot.marginRight,
          c.previewPlot.marginBottom, c.previewPlot.widthXAxis, c.previewPlot.widthYAxis,
          c.previewPlot.widthMainGrid, c.previewPlot.widthHelpGrid, c.previewPlot.widthSubGrid})
        lines.push_back(IntText(value));
    lines.push_back(ColourText(c.previewPlot.colourBackground));
    lines.emplace_back("0");
    lines.emplace_back("0");
    lines.push_back(ColourText(c.previewPlot.colourMainGrid));
    lines.push_back(ColourText(c.previewPlot.colourHelpGrid));
    lines.push_back(ColourText(c.previewPlot.colourZeroAxes));
    lines.emplace_back(BoolToText(c.mainPlot.gridVisible));
    lines.emplace_back(BoolToText(c.mainPlot.axisTextVisible));
    lines.emplace_back(BoolToText(c.previewPlot.gridVisible));
    lines.emplace_back(BoolToText(c.previewPlot.axisTextVisible));
    AppendFont(lines, c.mainPlot.font);
    AppendFont(lines, c.previewPlot.font);
    lines.emplace_back(BoolToText(c.dependencies.onTop));
    AppendBounds(lines, c.dependencies.bounds);
    lines.emplace_back(BoolToText(c.dependencies.visible));
    for (int unused = 86; unused <= 89; ++unused) lines.emplace_back("0");
    lines.push_back(IntText(FileChecksumOfText(lines)));
    return lines;
}

ConfigurationParse ParseConfiguration(const std::vector<std::string>& lines,
                                      const Configuration& start) {
    ConfigurationParse parse;
    parse.configuration = start;
    if (lines.size() < 2 || lines[1] != kConfigurationVersion) {
        parse.status = ConfigurationStatus::WrongVersion;
        return parse;
    }
    LineReader reader(lines, 0, lines.size());
    try {
        ReadLines(reader, parse.configuration);
    } catch (const EConversionError& error) {
        parse.status = ConfigurationStatus::Defect;
        parse.error = error.what();
        parse.failedLine = static_cast<int>(reader.LastLine());
    }
    return parse;
}

bool WriteConfigurationFile(const std::string& path, const Configuration& configuration,
                            std::string& error) {
    return WriteTextFile(path, BuildConfigurationText(configuration), error);
}

ConfigurationFileReader DiskConfigurationReader() {
    return [](const std::string& path) { return ReadTextFile(path, kConfigurationFileMaxBytes); };
}

std::string DefaultConfigurationPath(const std::string& installDirectory) {
    return installDirectory + kDefaultConfigurationFile;
}

ConfigurationOutcome ResolveConfiguration(const ConfigurationRequest& request,
                                          const ConfigurationFileReader& reader) {
    ConfigurationOutcome outcome;
    outcome.configuration = request.current;
    outcome.textBuffer = request.textBuffer;
    const std::string defaultPath = DefaultConfigurationPath(request.installDirectory);

    // Reads one file (or the text buffer for an empty name) over the outcome's state.
    const auto readOnce = [&](const std::string& file) {
        if (!file.empty()) {
            outcome.filesRead.push_back(file);
            TextFile read = reader(file);
            if (read.status == TextFileStatus::Missing) {
                outcome.messages.push_back(kMsgConfigurationMissing);
                outcome.ends = true;
                return ReadStep::Missing;
            }
            if (read.status == TextFileStatus::Refused) {
                outcome.unreadable = std::move(read.error);
                return ReadStep::Refused;
            }
            outcome.textBuffer = std::move(read.lines);
        }
        ConfigurationParse parse = ParseConfiguration(outcome.textBuffer, outcome.configuration);
        switch (parse.status) {
            case ConfigurationStatus::WrongVersion:
                outcome.messages.push_back(kMsgConfigurationWrongVersion);
                return ReadStep::WrongVersion;
            case ConfigurationStatus::Defect:
                outcome.configuration = std::move(parse.configuration);
                outcome.error = std::move(parse.error);
                outcome.messages.push_back(kMsgConfigurationDefect);
                return ReadStep::Defect;
            case ConfigurationStatus::Read:
                break;
        }
        outcome.configuration = std::move(parse.configuration);
        outcome.error.clear();
        return ReadStep::Read;
    };

    const ReadStep first = readOnce(request.file);
    if (first == ReadStep::Refused || (first == ReadStep::Missing && !request.running))
        return outcome;
    outcome.ends = false;

    // Reads the default file in another file's place; false when reading stops there. In
    // the running program a default that cannot serve gives way to the built-in layout,
    // which every screen the program runs on holds, with 202 said once.
    bool saidBuiltIn = false;
    const auto readDefault = [&] {
        const ReadStep step = readOnce(defaultPath);
        if (step == ReadStep::Refused)
            return false;
        if (!request.running)
            return step != ReadStep::Missing;
        if (step == ReadStep::Read)
            return true;
        outcome.ends = false;
        outcome.error.clear();
        outcome.configuration = Configuration{};
        if (!saidBuiltIn)
            outcome.messages.push_back(kMsgConfigurationScreenTooSmall);
        saidBuiltIn = true;
        return false;
    };

    const bool fallBack =
        first == ReadStep::Missing || first == ReadStep::WrongVersion ||
        (first == ReadStep::Read &&
         (request.file.empty() ||
          !ScreenFits(outcome.configuration, request.screenWidth, request.screenHeight)));
    // The default file read in another file's place never falls back to itself.
    if (fallBack && !readDefault())
        return outcome;

    if (!ScreenFits(outcome.configuration, request.screenWidth, request.screenHeight)) {
        outcome.messages.push_back(kMsgConfigurationScreenTooSmall);
        saidBuiltIn = true;
        readDefault();
    }
    return outcome;
}

}  // namespace pc
