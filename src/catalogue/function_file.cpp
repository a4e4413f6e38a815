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
#include "notifier.h"
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

// Reads the lines of one section in order; running past its end or meeting a line that
// is not what the format puts there throws EConversionError.
class SectionReader {
  public:
    SectionReader(const std::vector<std::string>& lines, std::size_t begin, std::size_t end)
        : m_lines(lines), m_next(begin), m_end(end) {}

    std::size_t position() const { return m_next; }

    const std::string& Text() {
        if (m_next >= m_end)
            throw EConversionError("The file ends in the middle of a record.");
        return m_lines[m_next++];
    }
    std::int32_t Int() { return IntegerLine(Text()); }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(Int()); }  // as a byte field takes it
    bool Bool() { return TextToBool(Text()); }
    Extended Float() { return TextToFloat(Text()); }
    std::vector<std::string> List() { return ListFromText(Text()); }

  private:
    const std::vector<std::string>& m_lines;
    std::size_t m_next;
    std::size_t m_end;
};

struct StagedFunction {
    std::unique_ptr<TFunktion> function;
    std::int32_t parametercount = 0;
};

struct StagedItem {
    TColor farbe = 0;
    std::uint8_t pentyp = 0;
    std::uint8_t linienBreite = 1;
    std::uint8_t punkteMarkierung = 0;
    bool darstellung = false;
    std::uint8_t fktTyp = fty;
    std::string funktion1;
    std::string funktion2;
    bool referenz = false;
    bool valid = false;
    bool active = false;
    std::int32_t stuetzstellen = 0;
    Extended schrittweite = 0;
    bool animated = false;
};

struct StagedFile {
    std::vector<StagedFunction> functions;
    std::vector<StagedItem> items;
    std::vector<TParameterItem> parameters;
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

    SectionReader functions(body, 0, endOfFunctions);
    for (std::size_t k = 0; k < endOfFunctions / kFunctionRecordLines; ++k) {
        auto function = std::make_unique<TFunktion>();
        function->Funktionsname = functions.Text();
        function->Variable = functions.Text();
        function->Term = functions.Text();
        function->UserFunktionen = functions.List();
        function->UserParameters = functions.List();
        function->Farbe = static_cast<TColor>(functions.Int());
        function->Linienart = functions.Byte();
        functions.Text();
        function->Strichstaerke = functions.Byte();
        functions.Text();
        function->Flatterm = functions.Text();
        function->BenutzteFunktionen = functions.List();
        function->valid = functions.Text() == "1";
        functions.Text();
        functions.Text();
        function->DependenceParams = functions.List();
        function->FunktionWirdGenutztVon = functions.List();
        const std::int32_t parametercount = functions.Int();
        function->ParserIndex = functions.Int();
        function->Punktemarkierung = functions.Byte();
        function->Stuetzstellenzahl = functions.Int();
        staged.functions.push_back({std::move(function), parametercount});
    }

    SectionReader items(body, endOfFunctions + 1, endOfItems);
    while (items.position() < endOfItems) {
        StagedItem item;
        item.farbe = static_cast<TColor>(items.Int());
        item.pentyp = items.Byte();
        item.linienBreite = items.Byte();
        item.punkteMarkierung = items.Byte();
        item.darstellung = items.Bool();
        item.fktTyp = items.Byte();
        item.funktion1 = items.Text();
        item.funktion2 = items.Text();
        item.referenz = items.Bool();
        item.valid = items.Bool();
        item.active = items.Bool();
        item.stuetzstellen = items.Int();
        item.schrittweite = items.Float();
        item.animated = items.Bool();
        staged.items.push_back(std::move(item));
    }

    SectionReader parameters(body, endOfItems + 1, endOfParameters);
    const std::int32_t parameterCount = parameters.Int();
    for (std::int32_t k = 0; k < parameterCount; ++k) {
        TParameterItem item(parameters.Text(), defaultTableFile);
        const std::uint8_t source = parameters.Byte();
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
            case vsList:
                item.currentCount = static_cast<std::int32_t>(item.listValues.size());
                break;
            case vsFile:
                item.currentCount = item.storedFileCount;
                break;
            default:
                item.currentCount = item.automaticCount;
                break;
        }
        staged.parameters.push_back(std::move(item));
    }

    SectionReader view(body, endOfParameters + 1, body.size());
    staged.view.xmin = view.Float();
    staged.view.xmax = view.Float();
    staged.view.ymin = view.Float();
    staged.view.ymax = view.Float();
    staged.view.phimin = view.Float();
    staged.view.phimax = view.Float();
    staged.view.gridType = view.Int();
    staged.view.scaleMode = view.Int();
    staged.view.animationSpeed = view.Int();
    return staged;
}

// Replaces the catalogue's contents by the staged file in one step.
void Apply(Catalogue& catalogue, StagedFile& staged) {
    catalogue.parserList.clear();
    catalogue.currentItem = nullptr;
    catalogue.draggedFunction = nullptr;
    catalogue.visibleItems.clear();
    catalogue.displayList.clear();
    catalogue.functionList.clear();

    TParameter& parameters = catalogue.parameterList;
    parameters.Items() = std::move(staged.parameters);
    for (TParameterItem& item : parameters.Items()) {
        // A table's values live in its own file; without them a parameter read from a
        // table would have no values at all.
        if (item.valueSource == vsFile)
            parameters.LoadTableFile(item.name, item.tableFileName);
    }

    std::vector<std::string> declarationLines;
    for (StagedFunction& entry : staged.functions) {
        declarationLines.push_back(entry.function->FullString());
        catalogue.functionList.push_back(std::move(entry.function));
    }
    catalogue.declarations.SetFunctions(std::move(declarationLines));
    for (std::size_t i = 0; i < staged.functions.size(); ++i) {
        TFunktion& function = *catalogue.functionList[i];
        // The file keeps the names of the called functions, not the links.
        for (const std::string& name : function.UserFunktionen) {
            if (TFunktion* callee = catalogue.FindFunctionByName(name))
                function.Subfunctions.push_back(callee);
        }
        catalogue.SetParametercount(function, staged.functions[i].parametercount);
    }

    for (const StagedItem& staging : staged.items) {
        auto item = std::make_unique<TFktItem>();
        item->SetFktTyp(static_cast<TFktTyp>(staging.fktTyp));
        item->Farbe = staging.farbe;
        item->Pentyp = staging.pentyp;
        item->LinienBreite = staging.linienBreite;
        item->PunkteMarkierung = staging.punkteMarkierung;
        item->Darstellung = staging.darstellung;
        const auto lookUp = [&catalogue](const std::string& name) {
            return name.empty() || name == "nil" ? nullptr : catalogue.FindFunctionByName(name);
        };
        item->Funktion1 = lookUp(staging.funktion1);
        item->Funktion2 = lookUp(staging.funktion2);
        item->Referenz = staging.referenz;
        item->valid = staging.valid;
        item->active = staging.active;
        item->Schrittweite = staging.schrittweite;
        item->Animated = staging.animated;
        catalogue.FitArrays(*item, catalogue.ArrayCount(*item));
        item->SetStuetzstellen(staging.stuetzstellen);
        catalogue.FitArrays(*item, static_cast<std::int32_t>(item->FeldListenListeM.size()));
        catalogue.displayList.push_back(std::move(item));
    }
    if (!catalogue.displayList.empty())
        catalogue.currentItem = catalogue.displayList.front().get();

    catalogue.CompileAll();
    catalogue.RefreshLists();
}

}  // namespace

std::vector<std::string> BuildFunctionFile(Catalogue& catalogue, const FunctionFileView& view) {
    const std::vector<std::string> used = catalogue.UsedParameterNames();
    std::erase_if(catalogue.parameterList.Items(), [&used](const TParameterItem& item) {
        return std::find(used.begin(), used.end(), item.name) == used.end();
    });

    std::vector<std::string> lines = {kFunctionFileHeader, kFunctionFileVersion};
    for (const auto& entry : catalogue.functionList) {
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
                                   std::to_string(function.Linienart),
                                   "",
                                   std::to_string(function.Strichstaerke),
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
                                   std::to_string(function.Punktemarkierung),
                                   std::to_string(function.Stuetzstellenzahl)});
    }
    lines.push_back(kEndOfFunctions);
    for (const auto& item : catalogue.displayList) {
        lines.insert(lines.end(),
                     {ColourText(item->Farbe), std::to_string(item->Pentyp),
                      std::to_string(item->LinienBreite), std::to_string(item->PunkteMarkierung),
                      BoolToText(item->Darstellung), std::to_string(item->FktTyp()),
                      item->Funktion1 ? item->Funktion1->Funktionsname : "",
                      item->Funktion2 ? item->Funktion2->Funktionsname : "nil",
                      BoolToText(item->Referenz), BoolToText(item->valid), BoolToText(item->active),
                      std::to_string(item->Stuetzstellen()), FormatGeneral(item->Schrittweite),
                      BoolToText(item->Animated)});
    }
    lines.push_back(kEndOfItems);
    const auto& parameters = catalogue.parameterList.Items();
    lines.push_back(std::to_string(parameters.size()));
    for (const TParameterItem& item : parameters) {
        lines.insert(lines.end(),
                     {item.name, std::to_string(item.valueSource), FormatGeneral(item.startValue),
                      FormatGeneral(item.stopValue), std::to_string(item.automaticCount),
                      item.tableFileName, std::to_string(item.fileValues.size()),
                      std::to_string(item.listValues.size()), BoolToText(item.animate)});
        lines.insert(lines.end(), item.listValues.begin(), item.listValues.end());
    }
    lines.push_back(kEndOfParameters);
    lines.insert(lines.end(),
                 {FormatGeneral(view.xmin), FormatGeneral(view.xmax), FormatGeneral(view.ymin),
                  FormatGeneral(view.ymax), FormatGeneral(view.phimin), FormatGeneral(view.phimax),
                  std::to_string(view.gridType), std::to_string(view.scaleMode),
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
    catalogue.notifier().plainMessage("Cannot save " + path + ": " + error);
    return false;
}

FunctionFileResult ParseFunctionFile(Catalogue& catalogue, const std::vector<std::string>& lines) {
    FunctionFileResult result;
    result.outcome = FunctionFileOutcome::Failed;
    if (lines.size() < 4) {
        catalogue.pendingError = 16;
        return result;
    }
    if (lines[1] != kFunctionFileVersion) {
        catalogue.pendingError = 15;
        return result;
    }
    try {
        if (IntegerLine(lines.back()) != FileChecksumOfText({lines.begin(), lines.end() - 1}))
            catalogue.pendingError = 16;
        const std::vector<std::string> body(lines.begin() + 2, lines.end() - 1);
        StagedFile staged = Stage(body, catalogue.parameterList.DefaultTableFile());
        Apply(catalogue, staged);
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
    if (catalogue.pendingError != 0 && catalogue.pendingError != kPendingOneVariable)
        catalogue.notifier().showMessage(catalogue.language, catalogue.pendingError, ButtonSet::Ok);
    else if (result.outcome == FunctionFileOutcome::Failed)
        catalogue.notifier().showMessage(catalogue.language, 36, ButtonSet::Ok);
    catalogue.pendingError = 0;
    return result;
}

}  // namespace pc
