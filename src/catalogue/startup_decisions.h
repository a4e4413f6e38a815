#pragma once
// The start-up decisions as pure functions: what the command line asks for, what a
// file drop on the main window asks for, which resolution-specific configuration file
// fits the screen, and which configuration file start-up reads. Nothing here touches
// the file system or shows a message: file existence comes in as a predicate, messages
// go out as numbers (English at this stage, OK button only) and the caller acts.
//
// Paths are kept and returned exactly as given. Only extensions and help words are
// compared upper-cased: an upper-cased path names another file on a case-sensitive
// file system.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "message_numbers.h"

namespace pc {

// Answers whether a file of that name exists (a directory is not a file).
using FileExistsPredicate = std::function<bool(const std::string&)>;

// The start-up function file in the user and in the install directory.
inline constexpr const char* kStartFunctionFile = "start.fx";
// The user's own configuration file in the user directory.
inline constexpr const char* kUserConfigurationFile = "con0.pcf";
// The folder of the install directory that holds the resolution-specific files.
inline constexpr const char* kConfigFolder = "Config/";
// The plain message box when the screen fits no row of the resolution table
// (the misspelling is the program's own).
inline constexpr const char* kUnsupportedResolutionText = "unsupportet graphic resolution";

// The text after the last "." of the file name part (after the last "/"), with that
// ".", upper-cased in ASCII; empty when the file name part has no ".".
// "a/b.tar.Fx" gives ".FX", "dir.fx/name" gives "", ".pcf" gives ".PCF".
std::string UpperCaseExtension(const std::string& path);

// --- Command line -------------------------------------------------------------------

struct CommandLineDecision {
    // Set whenever the program goes on: the function file to load at start-up. It may
    // name a file that does not exist (the no-argument and the .PCF cases); loading a
    // missing start-up file loads nothing and is no error.
    std::optional<std::string> functionFile;
    // The configuration file named on the command line, if any.
    std::optional<std::string> configurationFile;
    int message = 0;    // 0, or the message to show (OK button) before ending
    bool ends = false;  // the program leaves its main routine at once
};

// Decides what the arguments (without the program name) ask for. `installDirectory`
// and `userDirectory` end in "/". The four help words "-H", "/H", "/?", "?" are
// recognised in any letter case before any file test, and only as a single argument.
//
//   none               function file := user + "start.fx" if it exists, else install + "start.fx"
//   help word          302, end
//   one .FX  (exists)  function file := argument
//   one .PCF (exists)  configuration := argument; function file := install + "start.fx"
//   one other (exists) 17, end
//   one, missing       18, end
//   two, either missing                   22, end
//   two: .FX then .PCF / .PCF then .FX    function file and configuration taken from them
//   two: .FX then other                   19, end
//   two: .PCF then other                  20, end
//   two: first neither .FX nor .PCF       21, end
//   three or more      23, end
CommandLineDecision DecideCommandLine(const std::vector<std::string>& arguments,
                                      const FileExistsPredicate& fileExists,
                                      const std::string& installDirectory,
                                      const std::string& userDirectory);

// --- File drop on the main window ---------------------------------------------------

struct DropDecision {
    std::optional<std::string> functionFile;       // load through the function file reader
    std::optional<std::string> configurationFile;  // read, then apply as the preferences' OK does
    int message = 0;                               // 26, 27, 28, or 0
    // Rebuild the dependency tree and the selection list after the loading: after a
    // one-file function drop, and after every two-file drop whatever its outcome.
    bool rebuildTreeAndSelection = false;
};

// Decides what the dropped files (full names, in drop order) ask for. Files are not
// tested for existence here; the readers report a missing file.
//
//   one .FX      function file          one .PCF     configuration
//   one other    27
//   two .FX + .PCF or .PCF + .FX        function file and configuration (either order)
//   two, any other pair                 28
//   three or more                       26
//   none (nothing but non-file URLs)    nothing, no message
DropDecision DecideDrop(const std::vector<std::string>& droppedFiles);

// --- Resolution table ---------------------------------------------------------------

// The resolution-specific configuration file for a screen of width x height pixels,
// such as "config800x600.pcf"; none when the resolution is unsupported. Bounds are
// inclusive; in the width bands from 1024 upward every height the table does not name
// takes "config800x600.pcf".
//
//   width         heights -> file                                      other heights
//   below 640                                                          none
//   640..959      600..4000 -> 800x600                                 none
//   960..1023     600..4000 -> 960x600                                 none
//   1024..1151    768..4000 -> 1024x768                                800x600
//   1152..1175    864..4000 -> 1152x864                                800x600
//   1176..1279    664..4000 -> 1176x664                                800x600
//   1280..1359    ..599 -> 800x600, 600..719 -> none, 720..799 -> 1280x720,
//                 800..959 -> 1280x800, 960..1023 -> 1280x960,
//                 1024..40000 -> 1280x1024                             800x600
//   1360..1439    768..4000 -> 1360x768                                800x600
//   1440..1679    900..4000 -> 1440x900                                800x600
//   1680..40000   1050..4000 -> 1680x1050                              800x600
//   above 40000                                                        none
std::optional<std::string> ResolutionConfigurationFile(int width, int height);

// Every file name the resolution table can give, each once, in table order: the set
// the installation ships in its "Config/" folder.
std::vector<std::string> ResolutionConfigurationFiles();

// --- Configuration file at start ----------------------------------------------------

enum class ConfigurationSource {
    CommandLine,  // the file named on the command line
    UserFile,     // the user directory's "con0.pcf"
    Resolution,   // the install directory's "Config/" file for the screen
    None,         // unsupported resolution: nothing is read, built-in defaults stay
};

struct ConfigurationChoice {
    ConfigurationSource source = ConfigurationSource::None;
    // The file to read (the reader ends the program with 303 when it does not exist).
    std::optional<std::string> readFile;
    // Resolution case only: where the caller writes the configuration text built from
    // the state just read, user directory + the file's own name. A later start does
    // not read this copy; only "con0.pcf" is looked for.
    std::optional<std::string> copyTo;
    // The configuration file name the program records afterwards: the file read, or
    // for the resolution case the bare file name; empty when nothing is read.
    std::string configurationFileName;
    // Set for the resolution case: the plain message box text when reading the file or
    // writing the copy fails ("no such file: " + readFile); start-up then goes on.
    std::string failureText;
    // Unsupported resolution: show kUnsupportedResolutionText and go on with defaults.
    bool unsupportedResolution = false;
};

// Chooses the configuration file at start: the command line's file, else the user
// directory's "con0.pcf" when it exists, else the resolution-specific file of the
// install directory's "Config/" for a screen of width x height pixels, else nothing.
// The directories end in "/".
ConfigurationChoice ChooseConfiguration(const std::optional<std::string>& commandLineFile,
                                        const FileExistsPredicate& fileExists,
                                        const std::string& installDirectory,
                                        const std::string& userDirectory, int screenWidth,
                                        int screenHeight);

}  // namespace pc
