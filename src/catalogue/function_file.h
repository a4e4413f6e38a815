#pragma once
// The function file (.fx): the whole catalogue (functions, display list, parameters)
// and the view it was saved with, closed by a checksum. The reader checks the whole file
// before it touches the catalogue, so a damaged file leaves the catalogue as it was.

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue_types.h"

namespace pc {

class Catalogue;

// The first two lines of every function file.
inline constexpr const char* kFunctionFileHeader = "Plotcraftsman        ";
inline constexpr const char* kFunctionFileVersion = "1004";
// The largest function file read. A catalogue of a thousand functions and items takes well
// under 1 MB; the rest leaves room for long typed parameter lists. Every line costs about
// 32 bytes in memory besides its text, so a file of nothing but line ends stays near 1 GB.
inline constexpr std::uint64_t kFunctionFileMaxBytes = 32u << 20;

// The view section: what the plot surfaces apply after a read and hand in for a write.
struct FunctionFileView {
    ViewRange range;
    GridType gridType = GridType::gtLinLin;
    ScaleMode scaleMode = ScaleMode::smGlobal;
    std::int32_t animationSpeed = 0;
};

// The file's lines (UTF-8, without line ends) for the catalogue and `view`. Drops every
// parameter item no function uses any more, as a save always has.
std::vector<std::string> BuildFunctionFile(Catalogue& catalogue, const FunctionFileView& view);

// Builds the file and writes it to `path` through a temporary file, so that a failed save
// leaves the previous file intact. False with `error` set when the file cannot be written.
bool SaveFunctionFile(Catalogue& catalogue, const FunctionFileView& view, const std::string& path,
                      std::string& error);

// SaveFunctionFile that tells the user when it fails, in a plain message naming the file
// and the reason.
bool SaveFunctionFileAndReport(Catalogue& catalogue, const FunctionFileView& view,
                               const std::string& path);

enum class FunctionFileOutcome {
    Missing,     // no such file: nothing happened
    Loaded,      // the catalogue holds the file's contents (pendingError may be 16: checksum)
    Failed,      // nothing was replaced; pendingError is 15 or 16, or none (message 36)
    Unreadable,  // the file is there but was not read (no regular file, too large, no
                 // permission): nothing was replaced, no pending error
};

struct FunctionFileResult {
    FunctionFileOutcome outcome = FunctionFileOutcome::Missing;
    FunctionFileView view;
    // Why the file was not taken, for the user: the system's reason, or the defect with
    // its 1-based line ("line 49: item type '255' is not 0, 1 or 2").
    std::string error;
};

// Reads `path` into the catalogue. Nothing is replaced when the file is refused (see
// ReadTextFile; at most kFunctionFileMaxBytes) or fails: with pending error 16 when it is
// too short or holds an item type other than 0 to 2, a grid type other than 0 to 2 and 4
// to 10 (after its high bit is masked off) or a scale mode other than 0 to 2; with 15
// for another version; with none for a line that is not the number or boolean it must
// be. A checksum that does not match sets 16 and the contents are still taken. On
// success everything is compiled and the items' point arrays are built.
FunctionFileResult ReadFunctionFile(Catalogue& catalogue, const std::string& path);

// The same for lines already in memory (UTF-8).
FunctionFileResult ParseFunctionFile(Catalogue& catalogue, const std::vector<std::string>& lines);

// Reads `path` as the program's start and its main window do and shows what went wrong:
// the pending error when one is set, else for a file that is there but was not read a
// plain message "Cannot read PATH: REASON", else message 36 for a file that failed.
// Clears the pending error afterwards.
FunctionFileResult LoadFunctionFileAndReport(Catalogue& catalogue, const std::string& path);

}  // namespace pc
