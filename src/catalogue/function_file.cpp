#include "function_file.h"

#include <algorithm>
#include <memory>

#include "catalogue.h"
#include "engine/function_parser.h"
#include "engine/number_text.h"
#include "file_text.h"
#include "fkt_item.h"
#include "funktion.h"
#include "message_numbers.h"
#include "text_conversions.h"

namespace pc {

namespace {

constexpr std::size_t kFunctionRecordLines = 21;
constexpr const char* kEndOfFunctions = "*****";
constexpr const char* kEndOfItems = "§§§§§";
constexpr const char* kEndOfParameters = "%%%%%";

// Colours are stored as the signed 32-bit number they are to the platform's colour type,
// so every value read back writes back the same.
std::string ColourText(TColor colour) {
    return std::to_string(static_cast<std::int32_t>(colour));
}

std::string ListText(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += name + ",";
    return text;
}

// "A,B," is A and B; text after the last "," is not an entry.
std::vector<std::string> ListFromText(const std::string& text) {
    std::vector<std::string> names;
    std::size_t start = 0;
    for (std::size_t comma = text.find(','); comma != std::string::npos;
         comma = text.find(',', start)) {
        names.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return names;
}

std::string EndsInARecord(std::size_t) {
    return "The file ends in the middle of a record.";
}

// A field holding a value the program has no meaning for: the file is defect
// (message 16), not merely unreadable.
class EDefectField : public EConversionError {
  public:
    using EConversionError::EConversionError;
};

std::uint8_t Byte(LineReader& in) {
    return static_cast<std::uint8_t>(in.Int());  // as a byte field takes it
}

bool IsItemType(std::uint8_t value) {
    return value <= Ordinal(TFktTyp::ftfxy);
}

// The high bit of a stored grid type is not part of the type; 3 is unassigned.
constexpr std::uint8_t kGridTypeBits = 127;
bool IsGridType(std::uint8_t value) {
    const auto type = static_cast<std::uint8_t>(value & kGridTypeBits);
    return type <= Ordinal(GridType::gtPolar) && type != 3;
}

bool IsScaleMode(std::uint8_t value) {
    return value <= Ordinal(ScaleMode::smGlobal);
}

// A byte field of which only the `known` values mean anything; `field` names it and
// `values` those values for the error.
std::uint8_t CheckedByte(LineReader& in, bool (*known)(std::uint8_t), const char* field,
                         const char* values) {
    const std::string& text = in.Text();
    const auto value = static_cast<std::uint8_t>(IntegerLine(text));
    if (!known(value))
        throw EDefectField(std::string(field) + " '" + text + "' is not " + values);
    return value;
}

std::vector<std::string> List(LineReader& in) {
    return ListFromText(in.Text());
}

struct StagedContents {
    CatalogueContents contents;
    FunctionFileView view;
};

// The first `marker` line in [from, end).
std::size_t FindLine(const std::vector<std::string>& lines, std::size_t from, std::size_t end,
                     const char* marker) {
    for (std::size_t i = from; i < end; ++i) {
        if (lines[i] == marker)
            return i;
    }
    throw EConversionError(std::string("The file has no '") + marker + "' line.");
}

// Reads the lines [begin, end) of `lines` through `read`; a line that fails names its
// number in the file.
template <class Read>
void ReadSection(const std::vector<std::string>& lines, std::size_t begin, std::size_t end,
                 Read read) {
    LineReader in(lines, begin, end, EndsInARecord);
    try {
        read(in);
    } catch (const EDefectField& failure) {
        throw EDefectField("line " + std::to_string(in.LastLine()) + ": " + failure.what());
    } catch (const EConversionError& failure) {
        throw EConversionError("line " + std::to_string(in.LastLine()) + ": " + failure.what());
    }
}

void ReadFunctions(LineReader& functions, std::size_t count, StagedContents& staged) {
    for (std::size_t k = 0; k < count; ++k) {
        auto function = std::make_unique<TFunktion>();
        function->Funktionsname = functions.Text();
        function->Variable = functions.Text();
        function->Term = functions.Text();
        function->UserFunktionen = List(functions);
        function->UserParameters = List(functions);
        function->Farbe = static_cast<TColor>(functions.Int());
        function->Pentyp = static_cast<TPenStyle>(Byte(functions));
        functions.Text();
        function->LinienBreite = Byte(functions);
        functions.Text();
        function->Flatterm = functions.Text();
        function->BenutzteFunktionen = List(functions);
        function->valid = functions.Text() == "1";
        functions.Text();
        functions.Text();
        function->DependenceParams = List(functions);
        function->FunktionWirdGenutztVon = List(functions);
        const std::int32_t parametercount = functions.Int();
        function->ParserIndex = functions.Int();
        function->PunkteMarkierung = static_cast<DisplayMode>(Byte(functions));
        function->Stuetzstellenzahl = functions.Int();
        staged.contents.functions.push_back({std::move(function), parametercount});
    }
}

void ReadItems(LineReader& items, std::size_t end, StagedContents& staged) {
    while (items.Position() < end) {
        CatalogueContents::Item entry;
        entry.item = std::make_unique<TFktItem>();
        TFktItem& item = *entry.item;
        item.Farbe = static_cast<TColor>(items.Int());
        item.Pentyp = static_cast<TPenStyle>(Byte(items));
        item.LinienBreite = Byte(items);
        item.PunkteMarkierung = static_cast<DisplayMode>(Byte(items));
        item.Darstellung = items.Bool();
        item.SetFktTyp(
            static_cast<TFktTyp>(CheckedByte(items, IsItemType, "item type", "0, 1 or 2")));
        entry.funktion1 = items.Text();
        entry.funktion2 = items.Text();
        item.Referenz = items.Bool();
        item.valid = items.Bool();
        item.active = items.Bool();
        entry.stuetzstellen = items.Int();
        item.Schrittweite = items.Float();
        item.Animated = items.Bool();
        staged.contents.items.push_back(std::move(entry));
    }
}

void ReadParameters(LineReader& parameters, const std::string& defaultTableFile,
                    StagedContents& staged) {
    const std::int32_t parameterCount = parameters.Int();
    for (std::int32_t k = 0; k < parameterCount; ++k) {
        TParameterItem item(parameters.Text(), defaultTableFile);
        const auto source = static_cast<TValueSource>(Byte(parameters));
        item.startValue = parameters.Float();
        item.stopValue = parameters.Float();
        item.automaticCount = parameters.Int();
        item.tableFileName = parameters.Text();
        item.storedFileCount = parameters.Int();
        const std::int32_t listCount = parameters.Int();
        item.animate = parameters.Bool();
        // The file's list replaces the defaults a new item starts with; appended to them,
        // every save and load would grow the list by three values.
        item.listValues.clear();
        for (std::int32_t i = 0; i < listCount; ++i) item.listValues.push_back(parameters.Text());
        item.listCount = listCount;
        item.valueSource = source;
        switch (source) {
            case TValueSource::vsList:
                item.currentCount = static_cast<std::int32_t>(item.listValues.size());
                break;
            case TValueSource::vsFile:
                item.currentCount = item.storedFileCount;
                break;
            default:
                item.currentCount = item.automaticCount;
                break;
        }
        staged.contents.parameters.push_back(std::move(item));
    }
}

void ReadView(LineReader& view, FunctionFileView& into) {
    for (Extended* bound : {&into.range.xmin, &into.range.xmax, &into.range.ymin, &into.range.ymax,
                            &into.range.phimin, &into.range.phimax})
        *bound = view.Float();
    into.gridType = static_cast<GridType>(
        CheckedByte(view, IsGridType, "grid type", "0 to 2 or 4 to 10") & kGridTypeBits);
    into.scaleMode =
        static_cast<ScaleMode>(CheckedByte(view, IsScaleMode, "scale mode", "0, 1 or 2"));
    into.animationSpeed = view.Int();
}

// Reads everything of the body, the lines [begin, end) between version and checksum,
// before the catalogue is touched. Works on the file's own lines, not a copy: a file of
// millions of empty lines would need its memory twice.
StagedContents Stage(const std::vector<std::string>& lines, std::size_t begin, std::size_t end,
                     const std::string& defaultTableFile) {
    StagedContents staged;
    const std::size_t endOfFunctions = FindLine(lines, begin, end, kEndOfFunctions);
    const std::size_t endOfItems = FindLine(lines, endOfFunctions + 1, end, kEndOfItems);
    const std::size_t endOfParameters = FindLine(lines, endOfItems + 1, end, kEndOfParameters);

    ReadSection(lines, begin, endOfFunctions, [&](LineReader& in) {
        ReadFunctions(in, (endOfFunctions - begin) / kFunctionRecordLines, staged);
    });
    ReadSection(lines, endOfFunctions + 1, endOfItems,
                [&](LineReader& in) { ReadItems(in, endOfItems, staged); });
    ReadSection(lines, endOfItems + 1, endOfParameters,
                [&](LineReader& in) { ReadParameters(in, defaultTableFile, staged); });
    ReadSection(lines, endOfParameters + 1, end,
                [&](LineReader& in) { ReadView(in, staged.view); });
    return staged;
}

}  // namespace

std::vector<std::string> BuildFunctionFile(Catalogue& catalogue, const FunctionFileView& view) {
    catalogue.DropUnusedParameters();

    catalogue.UpdateDependencyLists();
    std::vector<std::string> lines = {kFunctionFileHeader, kFunctionFileVersion};
    for (const auto& entry : catalogue.Functions()) {
        TFunktion& function = *entry;
        if (function.Stuetzstellenzahl == 0)
            function.Stuetzstellenzahl = kDefaultCalculationPoints;
        const std::int32_t parametercount = catalogue.ParameterCount(function);
        lines.insert(lines.end(), {function.Funktionsname,
                                   function.Variable,
                                   function.Term,
                                   ListText(function.UserFunktionen),
                                   ListText(function.UserParameters),
                                   ColourText(function.Farbe),
                                   std::to_string(Ordinal(function.Pentyp)),
                                   "",
                                   std::to_string(function.LinienBreite),
                                   "",
                                   function.Flatterm,
                                   ListText(function.BenutzteFunktionen),
                                   BoolToText(function.valid),
                                   "",
                                   "",
                                   ListText(function.DependenceParams),
                                   ListText(function.FunktionWirdGenutztVon),
                                   std::to_string(parametercount),
                                   std::to_string(function.ParserIndex),
                                   std::to_string(Ordinal(function.PunkteMarkierung)),
                                   std::to_string(function.Stuetzstellenzahl)});
    }
    lines.push_back(kEndOfFunctions);
    for (const auto& item : catalogue.Items()) {
        lines.insert(
            lines.end(),
            {ColourText(item->Farbe), std::to_string(Ordinal(item->Pentyp)),
             std::to_string(item->LinienBreite), std::to_string(Ordinal(item->PunkteMarkierung)),
             BoolToText(item->Darstellung), std::to_string(Ordinal(item->FktTyp())),
             item->Funktion1 ? item->Funktion1->Funktionsname : "",
             item->Funktion2 ? item->Funktion2->Funktionsname : "nil", BoolToText(item->Referenz),
             BoolToText(item->valid), BoolToText(item->active),
             std::to_string(item->Stuetzstellen()), FormatGeneral(item->Schrittweite),
             BoolToText(item->Animated)});
    }
    lines.push_back(kEndOfItems);
    const auto& parameters = catalogue.Parameters().Items();
    lines.push_back(std::to_string(parameters.size()));
    for (const TParameterItem& item : parameters) {
        lines.insert(
            lines.end(),
            {item.name, std::to_string(Ordinal(item.valueSource)), FormatGeneral(item.startValue),
             FormatGeneral(item.stopValue), std::to_string(item.automaticCount), item.tableFileName,
             std::to_string(item.fileValues.size()), std::to_string(item.listValues.size()),
             BoolToText(item.animate)});
        lines.insert(lines.end(), item.listValues.begin(), item.listValues.end());
    }
    lines.push_back(kEndOfParameters);
    const ViewRange& r = view.range;
    for (const Extended bound : {r.xmin, r.xmax, r.ymin, r.ymax, r.phimin, r.phimax})
        lines.push_back(FormatGeneral(bound));
    lines.insert(lines.end(),
                 {std::to_string(Ordinal(view.gridType)), std::to_string(Ordinal(view.scaleMode)),
                  std::to_string(view.animationSpeed)});
    lines.push_back(std::to_string(FileChecksumOfText(lines)));
    return lines;
}

bool SaveFunctionFile(Catalogue& catalogue, const FunctionFileView& view, const std::string& path,
                      std::string& error) {
    return WriteTextFile(path, BuildFunctionFile(catalogue, view), error);
}

bool SaveFunctionFileAndReport(Catalogue& catalogue, const FunctionFileView& view,
                               const std::string& path) {
    std::string error;
    if (SaveFunctionFile(catalogue, view, path, error))
        return true;
    catalogue.PlainMessage(CannotSaveText(path, error));
    return false;
}

FunctionFileResult ParseFunctionFile(Catalogue& catalogue, const std::vector<std::string>& lines) {
    FunctionFileResult result;
    result.outcome = FunctionFileOutcome::Failed;
    if (lines.size() < 4) {
        catalogue.SetPendingError(kMsgFunctionFileDefect);
        result.error = "the file has fewer than 4 lines";
        return result;
    }
    if (lines[1] != kFunctionFileVersion) {
        catalogue.SetPendingError(kMsgFunctionFileObsolete);
        result.error = "line 2: version '" + lines[1] + "' is not " + kFunctionFileVersion;
        return result;
    }
    try {
        const std::size_t checksumLine = lines.size() - 1;
        std::int32_t checksum = 0;
        ReadSection(lines, checksumLine, lines.size(),
                    [&](LineReader& in) { checksum = in.Int(); });
        if (checksum != FileChecksumOfText(std::span(lines).first(checksumLine)))
            catalogue.SetPendingError(kMsgFunctionFileDefect);
        StagedContents staged =
            Stage(lines, 2, checksumLine, catalogue.Parameters().DefaultTableFile());
        catalogue.ReplaceContents(std::move(staged.contents));
        result.view = staged.view;
        result.outcome = FunctionFileOutcome::Loaded;
    } catch (const EDefectField& failure) {
        catalogue.SetPendingError(kMsgFunctionFileDefect);
        result.error = failure.what();
    } catch (const EConversionError& failure) {
        result.error = failure.what();
    }
    return result;
}

FunctionFileResult ReadFunctionFile(Catalogue& catalogue, const std::string& path) {
    TextFile file = ReadTextFile(path, kFunctionFileMaxBytes);
    if (file.status == TextFileStatus::Read)
        return ParseFunctionFile(catalogue, file.lines);
    FunctionFileResult result;
    result.outcome = file.status == TextFileStatus::Missing ? FunctionFileOutcome::Missing
                                                            : FunctionFileOutcome::Unreadable;
    result.error = std::move(file.error);
    return result;
}

FunctionFileResult LoadFunctionFileAndReport(Catalogue& catalogue, const std::string& path) {
    FunctionFileResult result = ReadFunctionFile(catalogue, path);
    const std::int32_t pending = catalogue.PendingError();
    if (pending != 0 && pending != kPendingOneVariable)
        catalogue.ShowMessage(pending);
    else if (result.outcome == FunctionFileOutcome::Unreadable)
        catalogue.PlainMessage("Cannot read " + path + ": " + result.error);
    else if (result.outcome == FunctionFileOutcome::Failed)
        catalogue.ShowMessage(kMsgNotAPlotcraftsmanFile);
    catalogue.ClearPendingError();
    return result;
}

}  // namespace pc
