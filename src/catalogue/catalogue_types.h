#pragma once
// The enumerations that functions, plot items and files share, and their text forms
// as the diagnostics dump prints them. Files store the ordinals, so every field that
// holds one of these is a byte that may carry an out-of-range value read from a file.

#include <cstdint>

namespace pc {

// A colour as 0x00BBGGRR.
using TColor = std::uint32_t;

// Item type of a plot item (`FktTyp`).
enum TFktTyp : std::uint8_t {
    fty = 0,     // y = Funktion1(x)
    ftxtyt = 1,  // x = Funktion1(t), y = Funktion2(t)
    ftfxy = 2,   // f(x, y) = 0; stored, never drawn
};

// Pen styles 0..6.
enum TPenStyle : std::uint8_t {
    psSolid = 0,
    psDash = 1,
    psDot = 2,
    psDashDot = 3,
    psDashDotDot = 4,
    psClear = 5,
    psInsideFrame = 6,
};

// Display modes 0..16: 0 joined, 1 points, 2 histogram, 3..7 named markers, 8..16 the
// further markers "bm1".."bm9".
inline constexpr std::uint8_t kDisplayModeCount = 17;

// Function status: only sok functions are compiled.
enum class TStatus : std::uint8_t { sdestroy = 0, sok = 1 };

// ScaleMode values the catalogue asks the plot surfaces for.
inline constexpr std::uint8_t kScaleModeReference = 1;  // smReference
inline constexpr std::uint8_t kScaleModeGlobal = 2;     // smGlobal

// GridType of the polar grid, which renames item types in the manager and style window.
inline constexpr std::uint8_t kGridTypePolar = 10;

// Bounds of an item's calculation points.
inline constexpr std::int32_t kMinCalculationPoints = 2;
inline constexpr std::int32_t kMaxCalculationPoints = 100000;
inline constexpr std::int32_t kDefaultCalculationPoints = 200;

// "fty", "ftxtyt", "ftfxy"; "FktTyp unbekannt" otherwise.
const char* FktTypText(std::uint8_t type);
// "psSolid".."psInsideFrame"; "unbekannt" otherwise.
const char* PenStyleText(std::uint8_t style);
// "bmverbunden".."bm9"; "Punktemarkierung unbekannt" otherwise.
const char* DisplayModeText(std::uint8_t mode);

}  // namespace pc
