#include "function_file.h"

#include <algorithm>
#include <filesystem>
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

LineReader Section(const std::vector<std::string>& lines, std::size_t begin, std::size_t end) {
    return LineReader(lines, begin, end, EndsInARecord);
}

std::uint8_t Byte(LineReader& in) {
    return static_cast<std::uint8_t>(in.Int());  // as a byte field takes it
}

std::vector<std::string> List(LineReader& in) {
    return ListFromText(in.Text());
}

struct StagedFile {
    CatalogueContents contents;
    FunctionFileView view;
};

std::size_t FindLine(const std::vector<std::string>& lines, std::size_t from, const char* marker) {
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i] == marker)
            return i;
    }
    throw EConversionError(std::string("The file has no '") + marker + "' line.");
}

// Reads everything of the body (the lines between version and checksum) before the
// catalogue is touched.
StagedFile Stage(const std::vector<std::string>& body, const std::string& defaultTableFile) {
    StagedFile staged;
    const std::size_t endOfFunctions = FindLine(body, 0, kEndOfFunctions);
    const std::size_t endOfItems = FindLine(body, endOfFunctions + 1, kEndOfItems);
    const std::size_t endOfParameters = FindLine(body, endOfItems + 1, kEndOfParameters);

    LineReader functions = Section(body, 0, endOfFunctions);
    for (std::size_t k = 0; k < endOfFunctions / kFunctionRecordLines; ++k) {
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

    LineReader items = Section(body, endOfFunctions + 1, endOfItems);
    while (items.Position() < endOfItems) {
        CatalogueContents::Item entry;
        entry.item = std::make_unique<TFktItem>();
        TFktItem& item = *entry.item;
        item.Farbe = static_cast<TColor>(items.Int());
        item.Pentyp = static_cast<TPenStyle>(Byte(items));
        item.LinienBreite = Byte(items);
        item.PunkteMarkierung = static_cast<DisplayMode>(Byte(items));
        item.Darstellung = items.Bool();
        item.SetFktTyp(static_cast<TFktTyp>(Byte(items)));
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

    LineReader parameters = Section(body, endOfItems + 1, endOfParameters);
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

    LineReader view = Section(body, endOfParameters + 1, body.size());
    for (Extended* bound :
         {&staged.view.range.xmin, &staged.view.range.xmax, &staged.view.range.ymin,
          &staged.view.range.ymax, &staged.view.range.phimin, &staged.view.range.phimax})
        *bound = view.Float();
    staged.view.gridType = view.Int();
    staged.view.scaleMode = view.Int();
    staged.view.animationSpeed = view.Int();
    return staged;
}

}  // namespace

std::vector<std::string> BuildFunctionFile(Catalogue& catalogue, const FunctionFileView& view) {
    catalogue.DropUnusedParameters();

    std::vector<std::string> lines = {kFunctionFileHeader, kFunctionFileVersion};
    for (const auto& entry : catalogue.Functions()) {
        TFunktion& function = *entry;
        if (function.Stuetzstellenzahl == 0)
            function.Stuetzstellenzahl = kDefaultCalculationPoints;
        const std::int32_t parametercount =
            catalogue.ParameterCount(function);  // also renews DependenceParams
        catalogue.UpdateFunktionWirdGenutztVon(function);
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
    lines.insert(lines.end(), {std::to_string(view.gridType), std::to_string(view.scaleMode),
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
    catalogue.PlainMessage("Cannot save " + path + ": " + error);
    return false;
}

FunctionFileResult ParseFunctionFile(Catalogue& catalogue, const std::vector<std::string>& lines) {
    FunctionFileResult result;
    result.outcome = FunctionFileOutcome::Failed;
    if (lines.size() < 4) {
        catalogue.SetPendingError(kMsgFunctionFileDefect);
        return result;
    }
    if (lines[1] != kFunctionFileVersion) {
        catalogue.SetPendingError(kMsgFunctionFileObsolete);
        return result;
    }
    try {
        if (IntegerLine(lines.back()) != FileChecksumOfText({lines.begin(), lines.end() - 1}))
            catalogue.SetPendingError(kMsgFunctionFileDefect);
        const std::vector<std::string> body(lines.begin() + 2, lines.end() - 1);
        StagedFile staged = Stage(body, catalogue.Parameters().DefaultTableFile());
        catalogue.ReplaceContents(std::move(staged.contents));
        result.view = staged.view;
        result.outcome = FunctionFileOutcome::Loaded;
    } catch (const EConversionError& failure) {
        result.error = failure.what();
    }
    return result;
}

FunctionFileResult ReadFunctionFile(Catalogue& catalogue, const std::string& path) {
    std::vector<std::string> lines;
    std::string error;
    if (!ReadTextFile(path, lines, error)) {
        FunctionFileResult result;
        // A file that is there but cannot be read is no missing file: say why.
        std::error_code ignored;
        if (std::filesystem::exists(path, ignored)) {
            result.outcome = FunctionFileOutcome::Failed;
            result.error = error;
        }
        return result;
    }
    return ParseFunctionFile(catalogue, lines);
}

FunctionFileResult LoadFunctionFileAndReport(Catalogue& catalogue, const std::string& path) {
    FunctionFileResult result = ReadFunctionFile(catalogue, path);
    const std::int32_t pending = catalogue.PendingError();
    if (pending != 0 && pending != kPendingOneVariable)
        catalogue.ShowMessage(pending);
    else if (result.outcome == FunctionFileOutcome::Failed)
        catalogue.ShowMessage(kMsgNotAPlotcraftsmanFile);
    catalogue.ClearPendingError();
    return result;
}

}  // namespace pc
