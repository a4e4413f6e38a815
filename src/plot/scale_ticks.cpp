#include "scale_ticks.h"

#include <array>
#include <cmath>

#include "engine/decimal_log.h"

namespace pc {

namespace {

// How many steps a boundary may still move after the first estimate; rounding moves it
// by one at most, and a bound keeps a step below the values' precision from looping.
constexpr int kMaxBoundarySteps = 4;

enum class Shade : std::uint8_t { Decade, Sub1, Sub2, Sub3 };

struct TemplateEntry {
    Extended mantissa;
    std::uint8_t kind;
    bool label;
    Shade shade;
};

constexpr TemplateEntry kDecadeOnly[] = {{1.0L, kTickMain, true, Shade::Decade}};

constexpr TemplateEntry kUpTo1_5[] = {
    {1.0L, kTickMain, true, Shade::Decade}, {1.1L, kTickHelp, true, Shade::Sub3},
    {1.2L, kTickHelp, true, Shade::Sub2},   {1.3L, kTickHelp, true, Shade::Sub3},
    {1.4L, kTickHelp, true, Shade::Sub2},   {1.5L, kTickHelp, true, Shade::Sub3},
    {1.6L, kTickHelp, true, Shade::Sub2},   {1.7L, kTickHelp, true, Shade::Sub3},
    {1.8L, kTickHelp, true, Shade::Sub2},   {1.9L, kTickHelp, false, Shade::Sub3},
    {2.0L, kTickSub, true, Shade::Sub1},    {2.2L, kTickHelp, true, Shade::Sub3},
    {2.4L, kTickHelp, true, Shade::Sub2},   {2.6L, kTickHelp, true, Shade::Sub2},
    {2.8L, kTickHelp, true, Shade::Sub2},   {3.0L, kTickSub, true, Shade::Sub1},
    {3.2L, kTickHelp, true, Shade::Sub2},   {3.4L, kTickHelp, true, Shade::Sub2},
    {3.6L, kTickHelp, true, Shade::Sub2},   {3.8L, kTickHelp, true, Shade::Sub2},
    {4.0L, kTickSub, true, Shade::Sub1},    {4.2L, kTickHelp, false, Shade::Sub2},
    {4.4L, kTickHelp, false, Shade::Sub2},  {4.6L, kTickHelp, false, Shade::Sub2},
    {4.8L, kTickHelp, false, Shade::Sub2},  {5.0L, kTickSub, true, Shade::Sub1},
    {5.5L, kTickHelp, true, Shade::Sub2},   {6.0L, kTickSub, true, Shade::Sub1},
    {6.5L, kTickHelp, true, Shade::Sub2},   {7.0L, kTickSub, true, Shade::Sub1},
    {7.5L, kTickHelp, false, Shade::Sub2},  {8.0L, kTickSub, true, Shade::Sub1},
    {8.5L, kTickHelp, false, Shade::Sub2},  {9.0L, kTickSub, true, Shade::Sub1},
    {9.5L, kTickHelp, false, Shade::Sub2},
};

constexpr TemplateEntry kUpTo3[] = {
    {1.0L, kTickMain, true, Shade::Decade}, {1.2L, kTickHelp, true, Shade::Sub3},
    {1.4L, kTickHelp, true, Shade::Sub3},   {1.6L, kTickHelp, true, Shade::Sub3},
    {1.8L, kTickHelp, false, Shade::Sub3},  {2.0L, kTickSub, true, Shade::Sub1},
    {2.5L, kTickHelp, true, Shade::Sub2},   {3.0L, kTickSub, true, Shade::Sub1},
    {3.5L, kTickHelp, true, Shade::Sub2},   {4.0L, kTickSub, true, Shade::Sub1},
    {5.0L, kTickSub, true, Shade::Sub1},    {6.0L, kTickSub, false, Shade::Sub1},
    {7.0L, kTickSub, true, Shade::Sub1},    {8.0L, kTickSub, false, Shade::Sub1},
    {9.0L, kTickSub, false, Shade::Sub1},
};

constexpr TemplateEntry kUpTo4[] = {
    {1.0L, kTickMain, true, Shade::Decade}, {2.0L, kTickHelp, true, Shade::Sub2},
    {3.0L, kTickHelp, true, Shade::Sub2},   {4.0L, kTickHelp, true, Shade::Sub2},
    {5.0L, kTickSub, true, Shade::Sub1},    {6.0L, kTickHelp, false, Shade::Sub2},
    {7.0L, kTickHelp, true, Shade::Sub2},   {8.0L, kTickHelp, false, Shade::Sub2},
    {9.0L, kTickHelp, false, Shade::Sub2},
};

constexpr TemplateEntry kUpTo9[] = {
    {1.0L, kTickMain, true, Shade::Decade}, {2.0L, kTickHelp, true, Shade::Sub2},
    {4.0L, kTickHelp, true, Shade::Sub2},   {6.0L, kTickHelp, true, Shade::Sub2},
    {8.0L, kTickHelp, false, Shade::Sub2},
};

constexpr TemplateEntry kUpTo15[] = {{1.0L, kTickMain, true, Shade::Decade},
                                     {5.0L, kTickHelp, true, Shade::Sub2}};

constexpr TemplateEntry kUpTo29[] = {{1.0L, kTickMain, true, Shade::Decade},
                                     {5.0L, kTickHelp, false, Shade::Sub2}};

struct Template {
    const TemplateEntry* entries;
    std::size_t size;
    int decadeStep;  // keep a line every this many decades
};

template <std::size_t N>
constexpr Template Of(const TemplateEntry (&entries)[N], int decadeStep = 1) {
    return {entries, N, decadeStep};
}

Template ChooseTemplate(Extended decades) {
    if (decades > 0.1L && decades <= 1.5L)
        return Of(kUpTo1_5);
    if (decades > 1.5L && decades <= 3)
        return Of(kUpTo3);
    if (decades > 3 && decades <= 4)
        return Of(kUpTo4);
    if (decades > 4 && decades <= 9)
        return Of(kUpTo9);
    if (decades > 9 && decades <= 15)
        return Of(kUpTo15);
    if (decades > 15 && decades <= 29)
        return Of(kUpTo29);
    if (decades > 29 && decades <= 95)
        return Of(kDecadeOnly);
    if (decades > 95 && decades <= 120)
        return Of(kDecadeOnly, 5);
    if (decades > 120 && decades <= 1000)
        return Of(kDecadeOnly, 10);
    return Of(kDecadeOnly, 50);
}

TColor ColourOf(Shade shade, const TickColours& colours) {
    switch (shade) {
        case Shade::Decade:
            return colours.decade;
        case Shade::Sub1:
            return colours.sub1;
        case Shade::Sub2:
            return colours.sub2;
        default:
            return colours.sub3;
    }
}

Extended PowerOfTen(std::int32_t exponent) {
    return std::pow(Extended(10), Extended(exponent));
}

// Below a tenth of a decade the axis is as good as linear.
LogTableStatus LinearTicks(Extended max, Extended min, const TickColours& colours,
                           std::vector<LogTick>& table) {
    TickRange range = NiceStep(min, max);
    for (int guard = 0; range.first <= 0 && guard < kMaxBoundarySteps; ++guard)
        range.first += range.step;
    const auto add = [&table](Extended value, std::uint8_t kind, bool label, TColor colour) {
        if (table.size() >= kMaxLogTicks)
            return false;
        table.push_back({value, 0, kind, label, colour});
        return true;
    };
    for (Extended v = range.first; v <= range.last + range.step; v += range.step) {
        if (!add(v, kTickMain, true, colours.helpGrid))
            return LogTableStatus::TooManyTicks;
    }
    for (Extended v = range.first - range.step / 2; v <= range.last + range.step / 2;
         v += range.step) {
        if (!add(v, kTickHelp, false, colours.helpGrid))
            return LogTableStatus::TooManyTicks;
    }
    return LogTableStatus::Ok;
}

}  // namespace

SplitNumber SplitMantissa(Extended value) {
    SplitNumber split;
    if (value == 0 || !std::isfinite(value)) {
        split.mantissa = value;
        return split;
    }
    split.exponent =
        static_cast<std::int32_t>(std::trunc(std::log(std::fabs(value)) / std::log(Extended(10))));
    split.mantissa = value / PowerOfTen(split.exponent);
    if (std::fabs(split.mantissa) > 0.001L && std::fabs(split.mantissa) < 1) {
        split.mantissa *= 10;
        --split.exponent;
    } else if (std::fabs(split.mantissa) >= 10) {
        split.mantissa /= 10;
        ++split.exponent;
    }
    return split;
}

TickRange NiceStep(Extended lo, Extended hi) {
    const SplitNumber raw = SplitMantissa(std::fabs(hi - lo) / 5);
    const Extended m = raw.mantissa;
    const Extended factor = m >= 1 && m < 1.5L   ? 1
                            : m >= 1.5L && m < 3 ? 2
                            : m >= 3 && m < 7    ? 5
                            : m >= 7 && m < 10   ? 10
                                                 : 0;
    TickRange range;
    range.step = factor * PowerOfTen(raw.exponent);
    if (range.step <= 1e-18L)
        range.step = 1e-15L;
    range.first = std::trunc(lo / range.step) * range.step - range.step;
    for (int guard = 0; range.first > lo && guard < kMaxBoundarySteps; ++guard)
        range.first -= range.step;
    range.last = std::trunc(hi / range.step) * range.step;
    for (int guard = 0; range.last < hi && guard < kMaxBoundarySteps; ++guard)
        range.last += range.step;
    return range;
}

LogTableStatus BuildLogTable(Extended max, Extended min, const TickColours& colours,
                             std::vector<LogTick>& table) {
    table.clear();
    if (!(min > 0))
        return LogTableStatus::NonPositiveMinimum;
    const Extended decades = Log10(max / min);
    if (decades > 0 && decades <= 0.1L)
        return LinearTicks(max, min, colours, table);

    const Template chosen = ChooseTemplate(decades);
    const SplitNumber start = SplitMantissa(min);
    Extended m = start.mantissa;
    std::int32_t exponent = start.exponent;
    if (chosen.entries[chosen.size - 1].mantissa < m) {
        m = 1;
        ++exponent;
    }
    std::size_t i = 0;
    while (i < chosen.size && chosen.entries[i].mantissa < m) ++i;
    if (i == chosen.size) {
        i = 0;
        ++exponent;
    }
    for (std::size_t k = 0;; ++k) {
        const TemplateEntry& entry = chosen.entries[i];
        if (PowerOfTen(exponent) * entry.mantissa > max + 1e-7L)
            break;
        if (k >= kMaxLogTicks)
            return LogTableStatus::TooManyTicks;
        const std::size_t slot = k / static_cast<std::size_t>(chosen.decadeStep);
        if (slot >= table.size())
            table.resize(slot + 1);
        table[slot] = {entry.mantissa, exponent, entry.kind, entry.label,
                       ColourOf(entry.shade, colours)};
        if (++i == chosen.size) {
            i = 0;
            ++exponent;
        }
    }
    return LogTableStatus::Ok;
}

}  // namespace pc
