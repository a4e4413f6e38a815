#include "value_export.h"

#include <algorithm>
#include <functional>
#include <type_traits>
#include <variant>

#include "catalogue.h"
#include "catalogue_types.h"
#include "catalogue_views.h"
#include "engine/number_text.h"
#include "file_text.h"
#include "fkt_item.h"
#include "funktion.h"
#include "parameter.h"
#include "startup_decisions.h"

namespace pc {

namespace {

// Each value followed by one blank.
std::string PointLine(std::initializer_list<Extended> values) {
    std::string line;
    for (const Extended value : values) {
        line += FormatGeneral(value);
        line += ' ';
    }
    return line;
}

std::string RecordLine(const TFeldfty& record) {
    return PointLine({record.x, record.valid ? record.y : kNaN});
}

std::string RecordLine(const TFeldftxtyt& record) {
    return record.valid ? PointLine({record.t, record.x, record.y})
                        : PointLine({record.t, kNaN, kNaN});
}

// Hands every line of the table to `sink` in order; stops when the sink returns false
// and returns false then.
template <typename Sink>
bool ForEachTableLine(const TPointArrayList& arrays, Sink&& sink) {
    for (const TPointArray& array : arrays) {
        const bool goOn = std::visit(
            [&sink](const auto& records) {
                using Records = std::decay_t<decltype(records)>;
                if constexpr (std::is_same_v<Records, std::monostate>) {
                    return true;
                } else {
                    if (records.empty())
                        return true;
                    const bool timeAxis = std::is_same_v<Records, std::vector<TFeldftxtyt>>;
                    for (const char* header :
                         {kValueTableTitle, kValueTableTitleRule, ";", kExportProgramName,
                          kValueTableVersion, ";",
                          timeAxis ? kValueTableColumnsTXY : kValueTableColumnsXY,
                          kValueTableColumnRule}) {
                        if (!sink(std::string(header)))
                            return false;
                    }
                    for (const auto& record : records) {
                        if (!sink(RecordLine(record)))
                            return false;
                    }
                    return true;
                }
            },
            array);
        if (!goOn)
            return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> BuildValueTable(const TFktItem& item) {
    std::vector<std::string> lines;
    ForEachTableLine(item.FeldListenListeM, [&lines](std::string&& line) {
        lines.push_back(std::move(line));
        return true;
    });
    return lines;
}

std::size_t ValueTableLineCount(const TPointArrayList& arrays) {
    std::size_t count = 0;
    for (const TPointArray& array : arrays) {
        std::visit(
            [&count](const auto& records) {
                if constexpr (!std::is_same_v<std::decay_t<decltype(records)>, std::monostate>) {
                    if (!records.empty())
                        count += kValueTableHeaderLines + records.size();
                }
            },
            array);
    }
    return count;
}

ExportResult WriteValueTable(const TPointArrayList& arrays, const std::string& path,
                             const std::function<bool(std::size_t)>& progress, std::string& error) {
    StagedFile file(path);
    if (!file.Open(error))
        return ExportResult::Failed;
    // Written in pieces, so that a table of millions of points never sits in memory
    // twice and the writer can be cancelled between pieces.
    constexpr std::size_t kPieceBytes = 1 << 16;
    std::string bytes;
    std::size_t lines = 0;
    bool failed = false;
    const bool complete = ForEachTableLine(arrays, [&](std::string&& line) {
        AppendFileLine(bytes, line);
        if (++lines % kValueTableProgressLines == 0 && progress && !progress(lines))
            return false;
        if (bytes.size() >= kPieceBytes) {
            failed = !file.Write(bytes, error);
            bytes.clear();
        }
        return !failed;
    });
    if (failed || (complete && !(file.Write(bytes, error) && file.Commit(error))))
        return ExportResult::Failed;
    return complete ? ExportResult::Written : ExportResult::Cancelled;
}

bool WriteValueTable(const TFktItem& item, const std::string& path, std::string& error) {
    return WriteValueTable(item.FeldListenListeM, path, {}, error) == ExportResult::Written;
}

namespace {

// A parameter's value count as sampling takes it: five for one without an entry yet.
std::int32_t CountOf(const TParameter& parameters, const std::string& name) {
    const TParameterItem* item = parameters.Find(name);
    return item ? std::max(TParameter::ValueCount(*item, nullptr), 0) : 5;
}

std::string CsvCell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

// The x and y cells of one record; empty where the record has no defined value.
std::pair<std::string, std::string> CsvCells(const TFeldfty& record) {
    return {FormatGeneral(record.x), record.valid ? FormatGeneral(record.y) : std::string()};
}

std::pair<std::string, std::string> CsvCells(const TFeldftxtyt& record) {
    if (!record.valid)
        return {};
    return {FormatGeneral(record.x), FormatGeneral(record.y)};
}

}  // namespace

std::vector<std::string> CurveNames(const Catalogue& catalogue, const TFktItem& item) {
    std::vector<std::string> names;
    std::vector<const std::string*> parameters;
    for (const TFunktion* function : {item.Funktion1, item.Funktion2}) {
        if (function) {
            for (const std::string& name : function->DependenceParams) parameters.push_back(&name);
        }
    }
    const std::string legend = LegendText(item);
    const TParameter& values = catalogue.Parameters();
    for (std::size_t index = 0; index < item.FeldListenListeM.size(); ++index) {
        std::string assignments;
        std::size_t rest = index;
        for (std::size_t a = parameters.size(); a-- > 0;) {
            const auto count = static_cast<std::size_t>(CountOf(values, *parameters[a]));
            const std::size_t position = count == 0 ? 0 : rest % count;
            rest = count == 0 ? 0 : rest / count;
            assignments.insert(0, " " + *parameters[a] + "=" +
                                      FormatGeneral(values.Value(
                                          *parameters[a], static_cast<std::int32_t>(position))));
        }
        names.push_back(legend + assignments);
    }
    return names;
}

std::vector<std::string> BuildValueTableCsv(const Catalogue& catalogue, const TFktItem& item) {
    const std::vector<std::string> names = CurveNames(catalogue, item);
    // Each curve as the cells of its rows; arrays without records have no columns.
    std::vector<std::vector<std::pair<std::string, std::string>>> curves;
    std::string header;
    std::size_t rows = 0;
    for (std::size_t a = 0; a < item.FeldListenListeM.size(); ++a) {
        std::vector<std::pair<std::string, std::string>> cells;
        std::visit(
            [&cells](const auto& records) {
                if constexpr (!std::is_same_v<std::decay_t<decltype(records)>, std::monostate>) {
                    cells.reserve(records.size());
                    for (const auto& record : records) cells.push_back(CsvCells(record));
                }
            },
            item.FeldListenListeM[a]);
        if (cells.empty())
            continue;
        header += (header.empty() ? "x," : ",x,") + CsvCell(names[a]);
        rows = std::max(rows, cells.size());
        curves.push_back(std::move(cells));
    }
    if (curves.empty())
        return {};
    std::vector<std::string> lines;
    lines.reserve(rows + 1);
    lines.push_back(std::move(header));
    for (std::size_t row = 0; row < rows; ++row) {
        std::string line;
        for (std::size_t c = 0; c < curves.size(); ++c) {
            if (c != 0)
                line += ',';
            if (row < curves[c].size()) {
                line += curves[c][row].first;
                line += ',';
                line += curves[c][row].second;
            } else {
                line += ',';
            }
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

bool IsCsvPath(const std::string& path) {
    return UpperCaseExtension(path) == ".CSV";
}

const char* FunctionInfoTypeText(TFktTyp type) {
    switch (type) {
        case TFktTyp::fty:
            return "y=f(x)";
        case TFktTyp::ftxtyt:
            return "x(t), y(t) ";
        case TFktTyp::ftfxy:
            return "f(x, y) = 0 ";
        default:
            return "FktTyp unbekannt";
    }
}

std::vector<std::string> BuildFunctionInfo(Catalogue& catalogue, const TFktItem& item) {
    std::string function;
    std::size_t parameters = 0;
    if (item.Funktion1) {
        function = item.Funktion1->FullString();
        parameters = catalogue.DependenceParamsOf(*item.Funktion1).size();
    }
    const std::int32_t points =
        item.Stuetzstellen() == 0 ? kDefaultCalculationPoints : item.Stuetzstellen();
    return {
        kFunctionInfoProgramName,
        "",
        kFunctionInfoVersion,
        "",
        std::string("Funktionstyp: ") + FunctionInfoTypeText(item.FktTyp()),
        "Funktion: " + function,
        "Parameteranzahl: " + std::to_string(parameters),
        "Anzahl der Stützstellen: " + std::to_string(points),
    };
}

bool SaveExportText(const std::vector<std::string>& lines, const std::string& path,
                    std::string& error) {
    return WriteTextFile(path, lines, error);
}

bool SaveParameterTable(const std::vector<std::string>& lines, const std::string& path,
                        std::string& error) {
    return WriteTextFile(path, lines, error);
}

bool LoadParameterTable(const std::string& path, std::vector<std::string>& lines,
                        std::string& error) {
    TextFile table = ReadTextFile(path, kParameterTableMaxBytes);
    if (table.status != TextFileStatus::Read) {
        error = std::move(table.error);
        return false;
    }
    lines = std::move(table.lines);
    return true;
}

}  // namespace pc
