#pragma once
// The text exports of a plot item and the parameter window's table files:
//
// - the value table (.tfx): the computed points of the item's main-window arrays, one
//   block per array, that is per combination of parameter values;
// - the function info (.fif): a short description of the item;
// - the list editor's table (.fx1): its lines, one value per line.
//
// Each text is built as UTF-8 lines without line ends and written as file_text writes
// lines: Windows-1252 bytes, CR LF after every line, into a temporary file that
// replaces the target only once everything is written, so a failed save leaves an
// existing file as it was. Writing reports failure (false and a reason the user can
// read); an export must never fail silently.
//
// The texts are the same in both languages: the formats are German ("Wertetabelle",
// "Funktionstyp: ", ...) and programs that read them rely on that.
//
// Every build returns its own lines rather than filling one shared export image: the
// writer thread writes from its own copy of the arrays, and the info window keeps (and
// saves) the lines it shows, so a table exported meanwhile cannot end up under the info
// file's name.
//
// None of these functions locks anything: the caller runs them where the item and its
// arrays cannot change, or hands them a copy of the arrays.

#include <functional>
#include <string>
#include <vector>

#include "catalogue_types.h"
#include "fkt_item.h"

namespace pc {

class Catalogue;

// --- Value table (.tfx) -------------------------------------------------------------

// The header of every block, lines 1 to 6.
inline constexpr const char* kValueTableTitle = ";Wertetabelle";
inline constexpr const char* kValueTableTitleRule = ";------------";         // 12 hyphens
inline constexpr const char* kExportProgramName = ";Plotcraftsman        ";  // 13 letters, 8 blanks
inline constexpr const char* kValueTableVersion = ";TFX_FILEVERSION: 1000";
// Line 7, by the class of the array's records.
inline constexpr const char* kValueTableColumnsXY = ";        X           Y";
inline constexpr const char* kValueTableColumnsTXY = ";        T             X             Y";
// Line 8: 29 hyphens.
inline constexpr const char* kValueTableColumnRule = ";-----------------------------";
// Header lines before the first point line of a block.
inline constexpr std::size_t kValueTableHeaderLines = 8;

// The value table of `item`: for every array of its FeldListenListeM, in list order, a
// block of the eight header lines and one line per record, in array order. Numbers are
// FormatGeneral (up to 15 significant digits, "." as separator, "NAN"/"INF"/"-INF").
//
// - A valid TFeldfty record gives "x y " (each value followed by one blank), a valid
//   TFeldftxtyt record "t x y ".
// - A record whose valid flag is clear keeps its line, with the same columns so that
//   the line numbers and the column count of the block stay those of the array: the
//   variable the point was sampled at and "NAN" for what is undefined. That is
//   "x NAN " for TFeldfty (x is the sampled x, y is undefined) and "t NAN NAN " for
//   TFeldftxtyt (both x(t) and y(t) count as undefined, even if only one failed).
//   "NAN" is FormatGeneral's own text for an undefined number, and it reads back as NaN
//   (C's strtod, Python's float, the program's TextToFloat).
// - An array without records gives no block: the record-less arrays of ftfxy items,
//   and also an empty array of either record class (the layout follows the first
//   record, which such an array does not have).
// An item without arrays, or with only record-less ones, gives no lines at all.
// FeldListenListeP (the preview's arrays) is not part of the table.
std::vector<std::string> BuildValueTable(const TFktItem& item);

// Builds the value table of `item` and writes it to `path` (an empty table writes an
// empty file). False with `error` set when the file cannot be written.
bool WriteValueTable(const TFktItem& item, const std::string& path, std::string& error);

// The value table written by a writer off the UI thread, from a copy of the item's
// FeldListenListeM (the item may change or go while it writes). Every
// kValueTableProgressLines lines, `progress` (if set) is told how many lines are written
// and answers whether to go on. A cancelled or failed write leaves `path` as it was.
enum class ExportResult { Written, Cancelled, Failed };
inline constexpr std::size_t kValueTableProgressLines = 4096;
ExportResult WriteValueTable(const TPointArrayList& arrays, const std::string& path,
                             const std::function<bool(std::size_t)>& progress, std::string& error);
// The number of lines in the value table of `arrays`: the writer's 100 %.
std::size_t ValueTableLineCount(const TPointArrayList& arrays);

// --- Value table as comma-separated values (.csv) ------------------------------------

// The name of each curve of `item`, one per array of its FeldListenListeM: the item's
// legend text, and where its functions have parameters, the values of the array's
// combination after it: "F1(X) A=2" or "F1(T), G(T) A=1 B=0.5". Combinations follow the
// order sampling fills the arrays in: Funktion1's parameters, then Funktion2's, the last
// one counting fastest.
std::vector<std::string> CurveNames(const Catalogue& catalogue, const TFktItem& item);

// The value table of `item` as comma-separated lines (RFC 4180): a header row with two
// columns for every array of FeldListenListeM that has records, "x" and the curve's name,
// then one row per sample index up to the longest array. A t,x,y record gives its x and
// y. Numbers as in the value table (FormatGeneral). A cell stays empty where a curve has
// no defined value: y of an invalid x,y record (its sampled x stays), x and y of an
// invalid t,x,y record, and both past the end of a shorter array. A cell holding a comma,
// a double quote or a line break is quoted, its quotes doubled. No lines without an array
// that has records.
std::vector<std::string> BuildValueTableCsv(const Catalogue& catalogue, const TFktItem& item);

// `path` ends in ".csv", in any case.
bool IsCsvPath(const std::string& path);

// --- Function info (.fif) -----------------------------------------------------------

inline constexpr const char* kFunctionInfoProgramName = ";Plotcraftsman        ";
inline constexpr const char* kFunctionInfoVersion = "Function Info File Version 1000";

// "y=f(x)", "x(t), y(t) " or "f(x, y) = 0 " (the last two with their trailing blank,
// which the format has) for fty, ftxtyt and ftfxy; "FktTyp unbekannt" (the diagnostics
// dump's text) for a byte outside the three, as a damaged file may leave.
const char* FunctionInfoTypeText(TFktTyp type);

// The eight lines of the function info of `item`:
//   ";Plotcraftsman        ", "", "Function Info File Version 1000", "",
//   "Funktionstyp: " + FunctionInfoTypeText(FktTyp),
//   "Funktion: " + Funktion1's FullString,
//   "Parameteranzahl: " + the number of Funktion1's dependence parameters (the names,
//       not their combinations), computed afresh through the catalogue so that a
//       parameter a called function gained since counts,
//   "Anzahl der Stützstellen: " + the item's calculation points, a stored 0 shown as
//       the 200 it stands for (as the style window shows it).
// Only Funktion1 is described, also for ftxtyt items, as the format has it. An item
// without Funktion1 gives "Funktion: " with nothing after it and "Parameteranzahl: 0".
std::vector<std::string> BuildFunctionInfo(Catalogue& catalogue, const TFktItem& item);

// Writes lines built above (the function info window's "Save to File"). False with
// `error` set when the file cannot be written.
bool SaveExportText(const std::vector<std::string>& lines, const std::string& path,
                    std::string& error);

// --- Parameter table (.fx1) ---------------------------------------------------------

// The parameter window's list editor, Save: its lines as they stand, one per line, each
// ended by CR LF (an empty editor writes an empty file). TParameter::LoadTableFile and
// LoadParameterTable read the file back line for line. False with `error` set when the
// file cannot be written.
bool SaveParameterTable(const std::vector<std::string>& lines, const std::string& path,
                        std::string& error);

// The list editor, Load: the file's lines (CR LF, LF or CR; Windows-1252 read as UTF-8).
// False with `error` set when the file cannot be read (see ReadTextFile; at most
// kParameterTableMaxBytes); `lines` is then left alone.
bool LoadParameterTable(const std::string& path, std::vector<std::string>& lines,
                        std::string& error);

}  // namespace pc
