#pragma once
// The configuration file (.pcf): the screen layout and the look of the two plot windows,
// 90 lines of one value each, closed by a checksum that nobody verifies. This file holds
// the values, the exact reader and builder, and the fallback rules of reading (wrong
// version, missing file, a layout made for a larger screen) as decisions without windows:
// the caller shows the messages and applies the result.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "catalogue_types.h"
#include "engine/extended.h"
#include "file_text.h"
#include "message_numbers.h"

namespace pc {

// The first two lines of every configuration file.
inline constexpr const char* kConfigurationHeader = "Plotcraftsman        ";  // 13 + 8 blanks
inline constexpr const char* kConfigurationVersion = "1002";
// Lines written; lines read (more are accepted and ignored).
inline constexpr int kConfigurationLineCount = 90;
inline constexpr int kConfigurationLinesRead = 85;
// The largest configuration file read: its 90 lines take under 2 KB, and 1 MB leaves
// room for any font name and for the lines after line 85 that the reader ignores.
inline constexpr std::uint64_t kConfigurationFileMaxBytes = 1u << 20;
// The default configuration, relative to the install directory.
inline constexpr const char* kDefaultConfigurationFile = "Config/con0.pcf";

// Bits of a font style set, as the file stores it.
inline constexpr std::uint8_t kFontBold = 1;
inline constexpr std::uint8_t kFontItalic = 2;
inline constexpr std::uint8_t kFontUnderline = 4;
inline constexpr std::uint8_t kFontStrikeOut = 8;
inline constexpr std::uint8_t kFontStyleMask = 0x0F;

struct WindowBounds {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const WindowBounds&) const = default;
};

// A tool window's stored geometry and the state of its stay-on-top button.
struct ToolWindowLayout {
    WindowBounds bounds;
    bool onTop = false;
    bool visible = true;

    bool operator==(const ToolWindowLayout&) const = default;
};

struct AxisFont {
    std::string name = "Arial";  // UTF-8 inside, Windows-1252 in the file
    TColor colour = 0x000000;
    std::uint8_t style = 0;  // a set of the kFont... bits
    std::int32_t size = 10;  // points

    bool operator==(const AxisFont&) const = default;
};

// What the file holds of one plot window (the main plot or the preview).
struct PlotLook {
    std::int32_t marginLeft = 3;
    std::int32_t marginTop = 3;
    std::int32_t marginRight = 1;
    std::int32_t marginBottom = 1;
    std::int32_t widthXAxis = 3;  // line widths in pixels
    std::int32_t widthYAxis = 3;
    std::int32_t widthMainGrid = 1;
    std::int32_t widthHelpGrid = 1;
    std::int32_t widthSubGrid = 1;
    TColor colourBackground = 0xFFFFFF;  // 0x00BBGGRR; system colours have the top byte set
    TColor colourZeroAxes = 0x000000;
    TColor colourMainGrid = 0xA0A0A0;
    TColor colourHelpGrid = 0xDCDCDC;
    bool gridVisible = true;
    bool axisTextVisible = true;
    bool blackWhite = false;
    AxisFont font;

    bool operator==(const PlotLook&) const = default;
};

// Every value of the file. The defaults are the windows' own before any file is read,
// laid out for an 800 x 600 screen.
struct Configuration {
    bool reserved = false;  // line 3, read and not used
    WindowBounds mainBounds{0, 0, 790, 540};
    bool mainVisible = true;
    bool angleInDegrees = true;
    ToolWindowLayout preview{{490, 10, 300, 230}, true, true};
    ToolWindowLayout legend{{620, 250, 170, 200}, true, true};
    ToolWindowLayout functionManager{{0, 300, 680, 260}, true, true};
    ToolWindowLayout plotSettings{{400, 250, 260, 300}, true, false};
    ToolWindowLayout dependencies{{410, 40, 385, 420}, true, false};
    std::int32_t screenWidth = 800;  // the screen the layout was made for, in pixels
    std::int32_t screenHeight = 600;
    PlotLook mainPlot;
    PlotLook previewPlot;

    bool operator==(const Configuration&) const = default;
};

// 180/pi in degrees, 1 in radians: multiplies every angle shown to the user.
Extended AngleFactor(bool angleInDegrees);
// "°" (UTF-8 here, the single byte 0xB0 in Windows-1252) in degrees, "rad" in radians.
const char* AngleUnit(bool angleInDegrees);

// True when a layout made for a stored screen fits the current one: the current screen
// is neither narrower nor lower.
bool ScreenFits(const Configuration& configuration, int screenWidth, int screenHeight);

// The 90 lines of the file (UTF-8, without line ends): booleans "1"/"0", integers and
// colours signed decimal (a colour with the top bit set is negative), the font style as
// the decimal value of its set, "0" in the unused lines 12, 13, 63, 64 and 86 to 89, and
// in line 90 the checksum of lines 1 to 89. Line breaks in a font name are dropped, so
// that the name stays one line.
std::vector<std::string> BuildConfigurationText(const Configuration& configuration);

enum class ConfigurationStatus {
    Read,          // lines 3 to 85 were all taken
    WrongVersion,  // line 2 is not "1002" (or missing): nothing was taken
    Defect,        // a line could not be converted, or the file ends before line 85
};

struct ConfigurationParse {
    // The start state with every line taken before the read stopped.
    Configuration configuration;
    ConfigurationStatus status = ConfigurationStatus::Read;
    // Defect: the conversion error's text, "Konvertierung strtobool war Mist" for a
    // boolean line other than "1" and "0", "'TEXT' is not a valid integer value" for an
    // integer line, "List index out of bounds (N)" when 0-based line N is missing.
    std::string error;
    int failedLine = 0;  // 1-based line that stopped the read
};

// Reads lines 3 to 85 over `start` in order, as the format table says. Line 1 is not
// looked at, line 2 must be exactly "1002", lines 12, 13, 63, 64 and everything after
// line 85 (the checksum too) are ignored. The first line that cannot be converted stops
// the read; what was read before it stays in the result. A font style keeps the four
// bits that name styles.
ConfigurationParse ParseConfiguration(const std::vector<std::string>& lines,
                                      const Configuration& start = {});

// Builds the text and writes it to `path` as Windows-1252 with CR LF, through a temporary
// file that replaces `path` only when everything is written. False with `error` set.
bool WriteConfigurationFile(const std::string& path, const Configuration& configuration,
                            std::string& error);

// --- Reading with the fallback rules ------------------------------------------------

// The lines of a file (UTF-8), or why there are none: no such file, or one that is there
// but may not be read.
using ConfigurationFileReader = std::function<TextFile(const std::string& path)>;

// The reader of the disk: ReadTextFile with kConfigurationFileMaxBytes.
ConfigurationFileReader DiskConfigurationReader();

// install directory (ending in "/") + "Config/con0.pcf".
std::string DefaultConfigurationPath(const std::string& installDirectory);

struct ConfigurationRequest {
    // The file to read; empty means the text buffer below, which is then followed by the
    // default file as well.
    std::string file;
    std::vector<std::string> textBuffer;
    int screenWidth = 0;  // the current screen, in pixels
    int screenHeight = 0;
    std::string installDirectory;  // ends in "/"
    Configuration current;         // the state before the read
    // The program is running (not starting): a missing file does not end it, and a
    // default file that cannot serve gives the built-in layout.
    bool running = false;
};

struct ConfigurationOutcome {
    Configuration configuration;
    // The numbered messages the caller shows (OK button), in order (14, 8, 202, 303).
    std::vector<int> messages;
    // Message 303 was the last: the program ends at once without applying anything.
    bool ends = false;
    // The conversion error when the last read stopped at a defect line, else empty.
    std::string error;
    // Why the last of `filesRead` could not be read although it is there (not a regular
    // file, too large, no permission), else empty. The reading stopped there with the
    // state as it was; the caller says so after `messages` and goes on.
    std::string unreadable;
    // The lines of the last file read: the preferences window's text buffer.
    std::vector<std::string> textBuffer;
    // Every path handed to the reader, in order: at most three.
    std::vector<std::string> filesRead;
};

// Reads a configuration as the preferences window does, then makes the layout check that
// applying it makes, and says what the caller shows:
//
//   1. A named file the reader cannot find: 303, and the program ends. One that is
//      there but cannot be read: `unreadable`, no message, and nothing more is read.
//   2. Line 2 other than "1002": 14, then the default file is read in its place.
//   3. A line that cannot be converted stops the read; what was read stays, message 8.
//   4. A file read completely whose stored screen is wider or higher than the current
//      one, or an empty file name (the text buffer): the default file is read in its
//      place, without a message.
//   5. The default file read as a fallback falls back no further: when it has another
//      version the state stays as it was before it (14 once more).
//   6. When the resulting stored screen does not fit the current one, warning 202 and
//      the default file is read once more, again without any fallback.
//
// So the default file is read at most twice after the named one, and every rule ends.
// While the program runs (`running`), a missing file shows 303 and the default file is
// read in its place; a default file read in another's place that is missing, of another
// version or defect gives the built-in Configuration{} with 202, and nothing ends.
ConfigurationOutcome ResolveConfiguration(const ConfigurationRequest& request,
                                          const ConfigurationFileReader& reader);

}  // namespace pc
