#include "value_export.h"

#include <functional>
#include <type_traits>
#include <variant>

#include "catalogue.h"
#include "catalogue_types.h"
#include "engine/number_text.h"
#include "file_text.h"
#include "fkt_item.h"
#include "funktion.h"
#include "parameter.h"

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
