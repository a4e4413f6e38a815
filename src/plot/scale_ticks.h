#pragma once
// Where the grid puts its lines: the step of a linear axis and the tick table of a
// logarithmic one. Pure functions of the axis range, shared by every plot surface and
// the pen plotter.

#include <cstdint>
#include <vector>

#include "catalogue/catalogue_types.h"
#include "engine/extended.h"

namespace pc {

// v = mantissa * 10^exponent.
struct SplitNumber {
    Extended mantissa = 0;
    std::int32_t exponent = 0;
};

// The exponent is trunc(log10|v|) (0 for 0); a mantissa between 0.001 and 1 in magnitude
// is moved up one decade. A mantissa that rounding left at 10 (log 10^57 / log 10 comes
// out just below 57) is moved down one, so that every non-zero mantissa lies in [1, 10).
SplitNumber SplitMantissa(Extended value);

// The main lines of a linear axis: values first, first + step, ... up to last.
struct TickRange {
    Extended first = 0;
    Extended last = 0;
    Extended step = 0;
};

// A step of 1, 2, 5 or 10 times a power of ten near a fifth of the range (1e-15 when the
// range gives none), with first a step at or below lo and last the first step at or above hi.
TickRange NiceStep(Extended lo, Extended hi);

// Line kinds, which are also pen styles.
inline constexpr std::uint8_t kTickMain = 0;  // solid: decades and main lines
inline constexpr std::uint8_t kTickSub = 1;   // dashed
inline constexpr std::uint8_t kTickHelp = 2;  // dotted

// The colours a logarithmic axis draws its ticks in.
struct TickColours {
    TColor decade = 0x0000FF;  // red
    TColor sub1 = 0x000000;
    TColor sub2 = 0x555555;
    TColor sub3 = 0x888888;
    TColor helpGrid = 0x808080;
};

// One line of a logarithmic axis at mantissa * 10^exponent.
struct LogTick {
    Extended mantissa = 0;
    std::int32_t exponent = 0;
    std::uint8_t kind = kTickMain;
    bool label = true;
    TColor colour = 0;
};

// The most ticks one table holds.
inline constexpr std::size_t kMaxLogTicks = 10000;

enum class LogTableStatus {
    Ok,
    NonPositiveMinimum,  // the caller sets pending error 1 and draws no lines for the axis
    TooManyTicks,        // the table was cut at kMaxLogTicks
};

// The ticks of a logarithmic axis from `min` to `max`. Under a tenth of a decade they
// are linear; otherwise a template of subdivisions is chosen by the number of decades
// shown (fewer the more decades), and beyond 95 decades only every 5th, 10th or 50th
// decade keeps a line.
LogTableStatus BuildLogTable(Extended max, Extended min, const TickColours& colours,
                             std::vector<LogTick>& table);

}  // namespace pc
