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

// The view section: what the plot surfaces apply after a read and hand in for a write.
struct FunctionFileView {
    ViewRange range;
    std::int32_t gridType = 0;
    std::int32_t scaleMode = 2;  // smGlobal
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
    Missing,  // no such file: nothing happened
    Loaded,   // the catalogue holds the file's contents (pendingError may be 16: checksum)
    Failed,   // nothing was replaced; pendingError is 15 or 16, or `error` names the fault
};

struct FunctionFileResult {
    FunctionFileOutcome outcome = FunctionFileOutcome::Missing;
    FunctionFileView view;
    std::string error;  // why a file failed, for the user
};

// Reads `path` into the catalogue: a file too short or of another version fails with
// pending error 16 or 15; a checksum that does not match sets 16 and the contents are
// still taken; an unreadable number or boolean fails and replaces nothing. On success
// everything is compiled and the items' point arrays are built.
FunctionFileResult ReadFunctionFile(Catalogue& catalogue, const std::string& path);

// The same for lines already in memory (UTF-8).
FunctionFileResult ParseFunctionFile(Catalogue& catalogue, const std::vector<std::string>& lines);

// Reads `path` as the program's start and its main window do and shows what went wrong:
// the pending error when one is set, else message 36 for a file that failed. Clears the
// pending error afterwards.
FunctionFileResult LoadFunctionFileAndReport(Catalogue& catalogue, const std::string& path);

}  // namespace pc
