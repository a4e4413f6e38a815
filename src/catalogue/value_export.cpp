#include "value_export.h"

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

void AppendBlockHeader(std::vector<std::string>& lines, const char* columns) {
    lines.emplace_back(kValueTableTitle);
    lines.emplace_back(kValueTableTitleRule);
    lines.emplace_back(";");
    lines.emplace_back(kExportProgramName);
    lines.emplace_back(kValueTableVersion);
    lines.emplace_back(";");
    lines.emplace_back(columns);
    lines.emplace_back(kValueTableColumnRule);
}

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

template <typename Record>
void AppendBlock(std::vector<std::string>& lines, const std::vector<Record>& records) {
    if (records.empty())
        return;
    AppendBlockHeader(
        lines, std::is_same_v<Record, TFeldftxtyt> ? kValueTableColumnsTXY : kValueTableColumnsXY);
    for (const Record& record : records) lines.push_back(RecordLine(record));
}

}  // namespace

std::vector<std::string> BuildValueTable(const TFktItem& item) {
    std::vector<std::string> lines;
    for (const TPointArray& array : item.FeldListenListeM) {
        std::visit(
            [&lines](const auto& records) {
                if constexpr (!std::is_same_v<std::decay_t<decltype(records)>, std::monostate>)
                    AppendBlock(lines, records);
            },
            array);
    }
    return lines;
}

bool WriteValueTable(const TFktItem& item, const std::string& path, std::string& error) {
    return WriteTextFile(path, BuildValueTable(item), error);
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
