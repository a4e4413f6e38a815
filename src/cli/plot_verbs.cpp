#include "plot_verbs.h"

#include <QImage>
#include <QSize>
#include <algorithm>
#include <map>
#include <optional>
#include <ostream>

#include "arguments.h"
#include "catalogue/file_text.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_file.h"
#include "catalogue/text_conversions.h"
#include "catalogue/value_export.h"
#include "cli.h"
#include "headless.h"
#include "plot/hpgl.h"
#include "plot/image_file.h"
#include "plot/plot_session.h"
#include "plot_commands.h"
#include "serial/com_port.h"

namespace pc::cli {

namespace {

struct PlotArguments {
    std::string file;    // the function file
    std::string output;  // -o
    int width = 800;     // --size
    int height = 600;
    std::optional<std::string> config;               // --config
    std::optional<int> item;                         // --item
    std::string port;                                // --port
    std::int32_t baud = ComPortSettings{}.baudRate;  // --baud
    std::optional<double> scale;                     // --scale
    bool classic = false;                            // --classic
};

// Reads "FILE -o OUT" (or "FILE --port DEVICE" for the port's verb, which has no output
// file) and the options `allowed` names.
PlotArguments ParseArguments(const std::vector<std::string>& arguments,
                             std::initializer_list<std::string> allowed, bool toPort = false) {
    const std::string& verb = arguments[0];
    PlotArguments parsed;
    const auto allows = [&](const std::string& option) {
        return option == (toPort ? "--port" : "-o") ||
               std::find(allowed.begin(), allowed.end(), option) != allowed.end();
    };
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.size() > 1 && argument[0] == '-') {
            if (!allows(argument))
                throw UsageError{verb + ": unknown option '" + argument + "'"};
            // A flag takes no value.
            if (argument == "--classic") {
                parsed.classic = true;
                continue;
            }
            if (i + 1 >= arguments.size())
                throw UsageError{verb + ": option " + argument + " needs a value"};
            const std::string& value = arguments[++i];
            if (argument == "-o") {
                parsed.output = value;
            } else if (argument == "--size") {
                if (!ParsePanelSize(value, parsed.width, parsed.height))
                    throw UsageError{verb + ": --size takes WxH with sides from " +
                                     std::to_string(kMinPanelSide) + " to " +
                                     std::to_string(kMaxPanelSide) + ", not '" + value + "'"};
            } else if (argument == "--config") {
                parsed.config = value;
            } else if (argument == "--item") {
                int row = 0;
                if (!ReadInteger(value, 0, INT_MAX, row))
                    throw UsageError{verb + ": --item takes a row number, not '" + value + "'"};
                parsed.item = row;
            } else if (argument == "--scale") {
                Extended scale = 0;
                if (!FieldToFloat(value, scale) || !(scale >= kMinPictureScale) ||
                    !(scale <= kMaxPictureScale))
                    throw UsageError{verb + ": --scale takes a number from 0.25 to 8, not '" +
                                     value + "'"};
                parsed.scale = static_cast<double>(scale);
            } else if (argument == "--port") {
                parsed.port = value;
            } else if (argument == "--baud") {
                int rate = 0;
                if (!ReadInteger(value, 0, INT_MAX, rate) || !IsOfferedBaudRate(rate)) {
                    std::string rates;
                    for (const std::int32_t offered : kBaudRates)
                        rates += (rates.empty() ? "" : ", ") + std::to_string(offered);
                    throw UsageError{verb + ": --baud takes one of " + rates + ", not '" + value +
                                     "'"};
                }
                parsed.baud = rate;
            }
        } else if (parsed.file.empty()) {
            parsed.file = argument;
        } else {
            throw UsageError{verb + ": unexpected argument '" + argument + "'"};
        }
    }
    if (parsed.file.empty())
        throw UsageError{verb + " needs a function file"};
    if (toPort && parsed.port.empty())
        throw UsageError{verb + " needs --port DEVICE"};
    if (!toPort && parsed.output.empty())
        throw UsageError{verb + " needs -o OUTPUT"};
    return parsed;
}

// Loads the function file into `program` as the program does at start and redraws the
// main plot in the given panel. False, with the reason on `err`, when there is nothing to
// draw from: the configuration or the function file could not be read, or the file
// failed (its messages are printed first). A file taken despite a checksum that does not
// match is drawn; its message 16 stays on `err`.
bool Prepare(HeadlessProgram& program, const PlotArguments& arguments, std::ostream& err) {
    if (arguments.config) {
        // The layout check compares with a screen; the largest one lets every layout fit.
        const std::string failure =
            program.ReadConfiguration(*arguments.config, kMaxPanelSide, kMaxPanelSide);
        if (!failure.empty()) {
            err << "plotcraftsman-cli: " << failure << '\n';
            return false;
        }
    }
    const FunctionFileResult loaded = program.LoadFunctionFile(arguments.file);
    if (loaded.outcome != FunctionFileOutcome::Loaded) {
        err << "plotcraftsman-cli: cannot read '" << arguments.file << "': " << loaded.error
            << '\n';
        return false;
    }
    program.session.SetClassicDrawing(arguments.classic);
    program.LayOut(arguments.width, arguments.height);
    // Only the main plot is written; the preview's redraw would sample everything again
    // for a picture nobody sees, and it never changes the main one.
    program.session.RedrawSurface(program.session.main);
    return true;
}

std::size_t RowOf(const Catalogue& catalogue, const TFktItem* item) {
    const auto& items = catalogue.Items();
    return static_cast<std::size_t>(
        std::find_if(items.begin(), items.end(),
                     [item](const auto& entry) { return entry.get() == item; }) -
        items.begin());
}

int Failed(std::ostream& err, const std::string& path, const std::string& error) {
    err << "plotcraftsman-cli: cannot write '" << path << "': " << error << '\n';
    return 1;
}

}  // namespace

int Render(const std::vector<std::string>& arguments, std::ostream&, std::ostream& err) {
    const PlotArguments parsed =
        ParseArguments(arguments, {"--size", "--config", "--scale", "--classic"});
    const std::optional<PictureFormat> format = PictureFormatOf(parsed.output);
    if (!format)
        throw UsageError{"render: -o takes a file ending in " + std::string(kPictureExtensions) +
                         ", not '" + parsed.output + "'"};
    // A vector picture has no pixels to multiply; a scale given for one is a mistake.
    if (parsed.scale && (*format == PictureFormat::Svg || *format == PictureFormat::Pdf))
        throw UsageError{"render: --scale applies to .png and .bmp only"};
    EnsureGuiApplication();
    HeadlessProgram program(err);
    if (!Prepare(program, parsed, err))
        return 1;
    PlotSurface& surface = program.session.main;
    const QSize image = surface.Image().deviceIndependentSize().toSize();
    std::string error;
    if (!SavePicture(program.session, surface, PixelSize{image.width(), image.height()},
                     parsed.scale.value_or(1.0), parsed.output, error))
        return Failed(err, parsed.output, error);
    return 0;
}

int Table(const std::vector<std::string>& arguments, std::ostream&, std::ostream& err) {
    const PlotArguments parsed = ParseArguments(arguments, {"--item"});
    EnsureGuiApplication();
    HeadlessProgram program(err);
    if (!Prepare(program, parsed, err))
        return 1;
    Catalogue& catalogue = program.catalogue;
    const TFktItem* item = catalogue.CurrentItem();
    if (parsed.item) {
        if (static_cast<std::size_t>(*parsed.item) >= catalogue.Items().size()) {
            err << "plotcraftsman-cli: the display list has no item " << *parsed.item << '\n';
            return 1;
        }
        item = catalogue.Items()[static_cast<std::size_t>(*parsed.item)].get();
    }
    if (!item) {
        err << "plotcraftsman-cli: the function file has no display item\n";
        return 1;
    }
    const std::vector<std::string> table =
        IsCsvPath(parsed.output) ? BuildValueTableCsv(catalogue, *item) : BuildValueTable(*item);
    if (table.empty()) {
        // An f(x,y) = 0 item is never sampled; an empty file would pass for a table.
        err << "plotcraftsman-cli: display item " << RowOf(catalogue, item)
            << " has no computed values; nothing written\n";
        return 1;
    }
    std::string error;
    if (!SaveExportText(table, parsed.output, error))
        return Failed(err, parsed.output, error);
    return 0;
}

// The pen plotter program of the function file's main plot with the initial pen settings;
// nothing when the file cannot be drawn (the reason is on `err`).
std::optional<std::string> PlotterProgram(const PlotArguments& parsed, std::ostream& err) {
    EnsureGuiApplication();
    HeadlessProgram program(err);
    if (!Prepare(program, parsed, err))
        return std::nullopt;
    return BuildHpgl(program.session, PlotterSettings{});
}

int Hpgl(const std::vector<std::string>& arguments, std::ostream&, std::ostream& err) {
    const PlotArguments parsed = ParseArguments(arguments, {"--size"});
    const std::optional<std::string> program = PlotterProgram(parsed, err);
    if (!program)
        return 1;
    std::string error;
    if (!WriteFileBytes(parsed.output, *program, error))
        return Failed(err, parsed.output, error);
    return 0;
}

int Plot(const std::vector<std::string>& arguments, std::ostream&, std::ostream& err) {
    const PlotArguments parsed = ParseArguments(arguments, {"--size", "--baud"}, true);
    std::optional<std::string> program = PlotterProgram(parsed, err);
    if (!program)
        return 1;
    ComPortSettings settings;
    settings.port = parsed.port;
    settings.baudRate = parsed.baud;
    std::string error;
    if (!SendAndWait(settings, std::move(*program), error)) {
        err << "plotcraftsman-cli: " << error << '\n';
        return 1;
    }
    return 0;
}

}  // namespace pc::cli
