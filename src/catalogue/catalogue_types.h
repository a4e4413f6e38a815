#pragma once
// The enumerations that functions, plot items, files and the plot surfaces share, and
// their text forms as the diagnostics dump prints them. Files store the ordinals, so a
// field of one of these types may carry an out-of-range value read from a file; every
// reader of such a field copes with it.

#include <cstdint>
#include <type_traits>

#include "engine/extended.h"

namespace pc {

// A colour as 0x00BBGGRR.
using TColor = std::uint32_t;

// Item type of a plot item (`FktTyp`).
enum class TFktTyp : std::uint8_t {
    fty = 0,     // y = Funktion1(x)
    ftxtyt = 1,  // x = Funktion1(t), y = Funktion2(t)
    ftfxy = 2,   // f(x, y) = 0; stored, never drawn
};

// Pen styles 0..6 (`Pentyp`).
enum class TPenStyle : std::uint8_t {
    psSolid = 0,
    psDash = 1,
    psDot = 2,
    psDashDot = 3,
    psDashDotDot = 4,
    psClear = 5,
    psInsideFrame = 6,
};

// Display modes 0..16 (`PunkteMarkierung`): 0 joined, 1 points, 2 histogram, 3..7 named
// markers, 8..16 the further markers "bm1".."bm9", each drawn as its digit.
enum class DisplayMode : std::uint8_t {
    bmverbunden = 0,
    bmallePunkte = 1,
    bmhisto = 2,
    bmKreise = 3,
    bmDreiecke = 4,
    bmQuadrate = 5,
    bmKreuz = 6,
    bmQuadratKreuz = 7,
    bm1 = 8,
    bm9 = 16,
};
inline constexpr std::uint8_t kDisplayModeCount = 17;

// Function status: only sok functions are compiled.
enum class TStatus : std::uint8_t { sdestroy = 0, sok = 1 };

// GridType: the first word names the horizontal axis, the second the vertical one. 3 is
// not assigned: nothing is built or drawn for it.
enum class GridType : std::uint8_t {
    gtLinLin = 0,
    gtLinLog = 1,
    gtLinDb = 2,
    gtLogLin = 4,
    gtLogLog = 5,
    gtLogDb = 6,
    gtDbLin = 7,
    gtDbLog = 8,
    gtDbDb = 9,
    gtPolar = 10,
};

// ScaleMode: where the main plot's world window comes from.
enum class ScaleMode : std::uint8_t {
    smUserDefined = 0,  // the numbers typed in the plot settings window
    smReference = 1,    // the reference curve's extents
    smGlobal = 2,       // all shown curves' extents
};

// The six bounds of a plot surface's view: the world window shown and the range its
// variable is sampled over, in the order the function file stores them.
struct ViewRange {
    Extended xmin = 0;
    Extended xmax = 10;
    Extended ymin = 0;
    Extended ymax = 10;
    Extended phimin = 0;
    Extended phimax = 10;

    bool operator==(const ViewRange&) const = default;
};

// Bounds of an item's calculation points.
inline constexpr std::int32_t kMinCalculationPoints = 2;
inline constexpr std::int32_t kMaxCalculationPoints = 100000;
inline constexpr std::int32_t kDefaultCalculationPoints = 200;

// "fty", "ftxtyt", "ftfxy"; "FktTyp unbekannt" otherwise.
const char* FktTypText(TFktTyp type);
// "psSolid".."psInsideFrame"; "unbekannt" otherwise.
const char* PenStyleText(TPenStyle style);
// "bmverbunden".."bm9"; "Punktemarkierung unbekannt" otherwise.
const char* DisplayModeText(DisplayMode mode);

// The ordinal a file stores.
template <class Enum>
constexpr auto Ordinal(Enum value) {
    return static_cast<std::underlying_type_t<Enum>>(value);
}

}  // namespace pc
