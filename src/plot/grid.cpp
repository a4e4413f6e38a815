#include "grid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "catalogue/configuration_file.h"
#include "catalogue/notifier.h"
#include "engine/decimal_log.h"
#include "engine/number_text.h"
#include "grid_labels.h"
#include "scale_ticks.h"

namespace pc {

namespace {

// No axis needs more lines than this; the bound also ends a loop whose step is below the
// precision of its values.
constexpr int kMaxLinesPerLoop = 10000;
// The horizontal linear builder gives up after this many main lines.
constexpr int kMaxHorizontalMainLines = 100;

constexpr Extended kDegree = kPi / 180;
// Chords a ring too large for its box is drawn with, across the window's wedge.
constexpr int kChordsPerArc = 64;

bool Unset(Extended min, Extended max) {
    return min == kRangeUnset && max == -kRangeUnset;
}

// Calls `line(v)` for v = from, from + step, ... while v <= to.
template <class Line>
void StepThrough(Extended from, Extended to, Extended step, Line line) {
    if (!(step > 0))
        return;
    int count = 0;
    for (Extended v = from; v <= to && count < kMaxLinesPerLoop; v += step, ++count) {
        if (!line(v))
            return;
        if (v + step == v)
            return;
    }
}

class Builder {
  public:
    Builder(GridContext& context, std::vector<TLineitem>& grid)
        : c(context), v(context.view), look(context.look), grid(grid) {}

    void VerticalLinear();
    void HorizontalLinear();
    void VerticalDb();
    void HorizontalDb();
    void VerticalLog();
    void HorizontalLog();
    void Polar();

  private:
    // The main rays of the new drawing across the wedge from..to, labelled by their angle.
    template <class Ray>
    void ModernRays(Extended from, Extended to, Ray& ray);
    bool InsideVertically(std::int32_t py) const { return py >= v.marginTop && py <= v.plotBottom; }
    bool InsideHorizontally(std::int32_t px) const {
        return px >= v.marginLeft && px <= v.plotRight;
    }
    TLineitem HorizontalLine(std::int32_t py) const {
        TLineitem item;
        item.x1 = v.marginLeft;
        item.y1 = py;
        item.x2 = v.plotRight;
        item.y2 = py;
        item.labelX = 4;
        item.labelY = py - 3;
        item.labelAxis = kLabelVerticalAxis;
        return item;
    }
    TLineitem VerticalLine(std::int32_t px, const std::string& label) const {
        TLineitem item;
        item.x1 = px;
        item.y1 = v.marginTop;
        item.x2 = px;
        item.y2 = v.plotBottom;
        item.labelText = label;
        item.labelX = px - c.measure.Width(label) / 2;
        item.labelY = 4;
        item.labelAxis = kLabelHorizontalAxis;
        return item;
    }
    // A main line: the zero axis in its own colour and width, else a grid line, kept
    // only while the grid is visible and its width not 0.
    void AddMain(TLineitem item, bool zeroAxis, std::int32_t axisWidth) {
        item.kind = kTickMain;
        if (zeroAxis) {
            item.colour = look.colourZeroAxes;
            item.width = axisWidth;
        } else {
            item.colour = look.colourMainGrid;
            item.width = look.widthMainGrid;
        }
        if (zeroAxis || (look.gridVisible && item.width != 0))
            grid.push_back(std::move(item));
    }
    void AddHelp(TLineitem item) {
        if (!look.gridVisible || look.widthHelpGrid == 0)
            return;
        item.kind = kTickHelp;
        item.colour = look.colourHelpGrid;
        item.width = look.widthHelpGrid;
        item.labelText.clear();
        grid.push_back(std::move(item));
    }
    void AddLogLines(bool vertical);
    TickColours Colours() const {
        TickColours colours;
        colours.helpGrid = look.colourHelpGrid;
        return colours;
    }

    GridContext& c;
    PlotView& v;
    const PlotLook& look;
    std::vector<TLineitem>& grid;

  public:
    GridError error = GridError::None;  // the last axis that could not be built
};

void Builder::VerticalLinear() {
    if (Unset(v.ymin, v.ymax))
        return;
    if (std::fabs(v.ymax - v.ymin) < 1e-10L) {
        v.ymin = v.ymin - std::fabs(v.ymin) / 10;
        v.ymax = v.ymax + std::fabs(v.ymin) / 10;
    }
    TickRange ticks = NiceStep(v.ymin, v.ymax);
    ticks.last += ticks.step;
    const Extended range = v.ymax - v.ymin;
    const auto rowOf = [&](Extended value, std::int32_t& py) {
        return ToDeviceCoordinate((value - v.ymax) * v.plotHeight / (v.ymin - v.ymax) + v.marginTop,
                                  py);
    };
    StepThrough(ticks.first, ticks.last, ticks.step, [&](Extended value) {
        std::int32_t py = 0;
        if (rowOf(value, py) && InsideVertically(py)) {
            TLineitem item = HorizontalLine(py);
            item.labelText = LinearLabel(value, range);
            item.value = value;
            AddMain(std::move(item), std::fabs(value) < range * 1e-9L, look.widthXAxis);
        }
        return true;
    });
    StepThrough(ticks.first - ticks.step / 2, ticks.last + ticks.step / 2, ticks.step,
                [&](Extended value) {
                    std::int32_t py = 0;
                    if (rowOf(value, py) && InsideVertically(py))
                        AddHelp(HorizontalLine(py));
                    return true;
                });
}

void Builder::HorizontalLinear() {
    if (Unset(v.xmin, v.xmax))
        return;
    const TickRange ticks = NiceStep(v.xmin, v.xmax);
    const Extended range = v.xmax - v.xmin;
    const auto columnOf = [&](Extended value, std::int32_t& px) {
        return ToDeviceCoordinate((value - v.xmin) / range * v.plotWidth + v.marginLeft, px);
    };
    int visited = 0;
    bool stopped = false;
    StepThrough(ticks.first, ticks.last, ticks.step, [&](Extended value) {
        if (++visited > kMaxHorizontalMainLines || std::fabs(range) < 1e-18L) {
            stopped = true;
            return false;
        }
        std::int32_t px = 0;
        if (columnOf(value, px) && InsideHorizontally(px)) {
            TLineitem item = VerticalLine(px, LinearLabel(value, range));
            item.value = value;
            AddMain(std::move(item), std::fabs(value) < range * 1e-9L, look.widthYAxis);
        }
        return true;
    });
    if (stopped)
        return;
    StepThrough(ticks.first - ticks.step / 2, ticks.last + ticks.step / 2, ticks.step,
                [&](Extended value) {
                    std::int32_t px = 0;
                    if (columnOf(value, px) && InsideHorizontally(px))
                        AddHelp(VerticalLine(px, {}));
                    return true;
                });
}

void Builder::VerticalDb() {
    if (Unset(v.ymin, v.ymax))
        return;
    if (v.ymin <= 0)
        v.ymin = v.logFloorY;
    const Extended dmin = 20 * Log10(v.ymin);
    const Extended dmax = 20 * Log10(v.ymax);
    if (!std::isfinite(dmin) || !std::isfinite(dmax))
        return;
    TickRange ticks = NiceStep(dmin, dmax);
    ticks.last *= 1.001L;
    const Extended zero = (dmax - dmin) * 1e-9L;
    const Extended scale = v.plotHeight / Log10(v.ymax / v.ymin);
    const auto rowOf = [&](Extended d, std::int32_t& py) {
        return ToDeviceCoordinate((Log10(v.ymax) - d / 20) * scale + v.marginTop, py);
    };
    StepThrough(ticks.first, ticks.last, ticks.step, [&](Extended d) {
        std::int32_t py = 0;
        if (rowOf(d, py) && InsideVertically(py)) {
            const bool nearZero = std::fabs(d) <= zero;
            TLineitem item = HorizontalLine(py);
            item.labelText = (nearZero ? std::string("0") : FormatGeneral(d)) + " dB";
            item.value = d;
            AddMain(std::move(item), nearZero && py >= 0 && py <= v.plotHeight, look.widthXAxis);
        }
        return true;
    });
    StepThrough(ticks.first - ticks.step / 2, ticks.last + ticks.step / 2, ticks.step,
                [&](Extended d) {
                    std::int32_t py = 0;
                    if (rowOf(d, py) && InsideVertically(py))
                        AddHelp(HorizontalLine(py));
                    return true;
                });
}

void Builder::HorizontalDb() {
    if (Unset(v.xmin, v.xmax))
        return;
    if (v.xmin <= 0) {
        error = GridError::NoDbAxis;
        return;
    }
    const Extended dmin = 20 * Log10(v.xmin);
    const Extended dmax = 20 * Log10(v.xmax);
    if (!std::isfinite(dmin) || !std::isfinite(dmax))
        return;
    const TickRange ticks = NiceStep(dmin, dmax);
    const Extended range = dmax - dmin;
    const Extended scale = v.plotWidth / Log10(v.xmax / v.xmin);
    const auto columnOf = [&](Extended d, std::int32_t& px) {
        return ToDeviceCoordinate((d / 20 - Log10(v.xmin)) * scale + v.marginLeft, px);
    };
    StepThrough(ticks.first, ticks.last, ticks.step, [&](Extended d) {
        std::int32_t px = 0;
        if (columnOf(d, px) && InsideHorizontally(px)) {
            const std::string label =
                std::fabs(d) > range * 1e-9L ? FormatGeneral(d) + " dB" : std::string("0");
            const bool zeroAxis = std::fabs(d) <= range * 1e-7L && px >= 0 && px <= v.plotWidth;
            TLineitem item = VerticalLine(px, label);
            item.value = d;
            AddMain(std::move(item), zeroAxis, look.widthYAxis);
        }
        return true;
    });
    StepThrough(ticks.first - ticks.step / 2, ticks.last + ticks.step / 2, ticks.step,
                [&](Extended d) {
                    std::int32_t px = 0;
                    if (columnOf(d, px) && InsideHorizontally(px))
                        AddHelp(VerticalLine(px, {}));
                    return true;
                });
}

void Builder::AddLogLines(bool vertical) {
    Extended& min = vertical ? v.ymin : v.xmin;
    Extended& max = vertical ? v.ymax : v.xmax;
    if (Unset(min, max))
        return;
    if (vertical && min <= 0)
        min = v.logFloorY;
    std::vector<LogTick> table;
    switch (BuildLogTable(max, min, Colours(), table)) {
        case LogTableStatus::NonPositiveMinimum:
            error = GridError::NoLogarithmicGrid;
            return;
        case LogTableStatus::TooManyTicks:
            c.notifier.PlainMessage("iii");
            break;
        case LogTableStatus::Ok:
            break;
    }
    const Extended decades = Log10(max / min);
    for (const LogTick& tick : table) {
        const Extended value = tick.mantissa * std::pow(10.0L, tick.exponent);
        std::string label;
        std::int32_t style = 3;
        if (tick.mantissa == 1) {
            label = "1E" + std::to_string(tick.exponent);
            style = 1;
        } else if (vertical || tick.exponent != 0) {
            label = FormatFixed(tick.mantissa, 1, 2);
        } else {
            label = FormatGeneral(tick.mantissa);
        }
        TLineitem item;
        if (vertical) {
            std::int32_t py = 0;
            if (!ToDeviceCoordinate(Log10(max / value) * v.plotHeight / decades + v.marginTop, py))
                continue;
            item = HorizontalLine(py);
            item.labelText = std::move(label);
        } else {
            std::int32_t px = 0;
            if (!ToDeviceCoordinate(Log10(value / min) * v.plotWidth / decades + v.marginLeft, px))
                continue;
            item = VerticalLine(px, label);
        }
        item.kind = tick.kind;
        item.colour = tick.colour;
        item.labelVisible = tick.label;
        item.labelStyle = style;
        item.width = look.widthMainGrid;
        item.value = value;
        grid.push_back(std::move(item));
    }
}

void Builder::VerticalLog() {
    AddLogLines(true);
}

void Builder::HorizontalLog() {
    AddLogLines(false);
}

// Radius text of a polar ring.
std::string RingLabel(Extended r, Extended step) {
    if (std::fabs(r) < step * 1e-9L)
        return "0";
    if (std::fabs(r) >= 1e-4L && std::fabs(r) <= 10000)
        return FormatFixed(r, 5);
    return FormatExponent(r, 5, 11);
}

// Clips the segment (x0, y0)-(x1, y1) to the window, in world coordinates; false when
// it misses the window altogether.
bool ClipToWindow(const PlotView& v, Extended& x0, Extended& y0, Extended& x1, Extended& y1) {
    Extended t0 = 0;
    Extended t1 = 1;
    const Extended dx = x1 - x0;
    const Extended dy = y1 - y0;
    // Liang and Barsky: each window edge cuts the parameter interval of the segment.
    const auto edge = [&](Extended p, Extended q) {
        if (p == 0)
            return q >= 0;
        const Extended t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    if (!edge(-dx, x0 - v.xmin) || !edge(dx, v.xmax - x0) || !edge(-dy, y0 - v.ymin) ||
        !edge(dy, v.ymax - y0))
        return false;
    const Extended ax = x0;
    const Extended ay = y0;
    x0 = ax + t0 * dx;
    y0 = ay + t0 * dy;
    x1 = ax + t1 * dx;
    y1 = ay + t1 * dy;
    return true;
}

void Builder::Polar() {
    if (Unset(v.xmin, v.xmax) || Unset(v.ymin, v.ymax))
        return;
    const std::array<std::array<Extended, 2>, 4> corners = {
        {{v.xmin, v.ymin}, {v.xmax, v.ymin}, {v.xmin, v.ymax}, {v.xmax, v.ymax}}};
    Extended radius = 0;
    Extended nearest = kRangeUnset;
    Extended angleFrom = 2 * kPi;
    Extended angleTo = 0;
    Extended farthestAngle = 0;  // towards the corner farthest from the origin
    for (const auto& [x, y] : corners) {
        const Extended distance = std::hypot(x, y);
        Extended angle = std::atan2(y, x);
        if (!std::isfinite(angle)) {
            c.notifier.PlainMessage("!!arctan error!!!");
            angle = 0;
        }
        if (distance >= radius)
            farthestAngle = angle;
        radius = std::max(radius, distance);
        nearest = std::min(nearest, distance);
        if (angle < 0)
            angle += 2 * kPi;
        angleFrom = std::min(angleFrom, angle);
        angleTo = std::max(angleTo, angle);
    }
    // The distance from the origin to the nearest point of the window.
    Extended rmin = nearest;
    const bool spansX = v.xmin <= 0 && v.xmax >= 0;
    const bool spansY = v.ymin <= 0 && v.ymax >= 0;
    const bool originInside = spansX && spansY;
    if (originInside) {
        rmin = 0;
        angleFrom = 0;
        angleTo = 2 * kPi;
    } else if (spansY) {
        rmin = v.xmin > 0 ? v.xmin : std::fabs(v.xmax);
    } else if (spansX) {
        rmin = v.ymin > 0 ? v.ymin : std::fabs(v.ymax);
    }
    // The wedge the window covers seen from the origin, in one piece also where it
    // crosses the direction 0.
    Extended wedgeFrom = 0;
    Extended wedgeTo = 2 * kPi;
    if (!originInside) {
        const bool aroundHalfTurn = spansY && v.xmax < 0;
        wedgeFrom = kRangeUnset;
        wedgeTo = -kRangeUnset;
        for (const auto& [x, y] : corners) {
            Extended angle = std::atan2(y, x);
            if (!std::isfinite(angle))
                angle = 0;
            if (aroundHalfTurn && angle < 0)
                angle += 2 * kPi;
            wedgeFrom = std::min(wedgeFrom, angle);
            wedgeTo = std::max(wedgeTo, angle);
        }
    }

    const ScaleMap map(v, GridType::gtPolar);
    const auto pixel = [&](Extended x, Extended y) {
        return map.ToDevice(x, y, MapRule::SinglePoint);
    };
    // A line that the device limit would bend is cut to the window first; one that misses
    // the window is left out. Within the limit a line keeps its ends, as it always had.
    const auto line = [&](Extended x0, Extended y0, Extended x1, Extended y1,
                          TLineitem item) -> std::optional<TLineitem> {
        Extended cx0 = x0, cy0 = y0, cx1 = x1, cy1 = y1;
        if (!ClipToWindow(v, cx0, cy0, cx1, cy1))
            return std::nullopt;
        if (!map.WithinLimit(x0, y0) || !map.WithinLimit(x1, y1)) {
            x0 = cx0;
            y0 = cy0;
            x1 = cx1;
            y1 = cy1;
        }
        const DevicePoint from = pixel(x0, y0);
        const DevicePoint to = pixel(x1, y1);
        item.x1 = from.px;
        item.y1 = from.py;
        item.x2 = to.px;
        item.y2 = to.py;
        return item;
    };
    TickRange rings = NiceStep(rmin, radius);
    rings.last *= 1.001L;
    // A ring is an ellipse item; one too large to map as a box becomes the chords of its
    // visible arc, so that no circle of a hundred thousand pixels is ever drawn. Its
    // label sits where it crosses the line to the farthest corner.
    const auto addRing = [&](Extended r, TLineitem style) {
        if (r < rmin * (1 - 1e-12L) || r > radius * (1 + 1e-12L))
            return;  // it cannot meet the window
        const Extended labelX = r * std::cos(farthestAngle);
        const Extended labelY = r * std::sin(farthestAngle);
        if (map.WithinLimit(-r, -r) && map.WithinLimit(r, r)) {
            const DevicePoint low = pixel(-r, -r);
            const DevicePoint high = pixel(r, r);
            TLineitem item = std::move(style);
            item.shape = kShapeEllipse;
            item.x1 = low.px;
            item.y1 = low.py;
            item.x2 = high.px;
            item.y2 = high.py;
            const DevicePoint anchor = pixel(labelX, labelY);
            item.labelX = anchor.px;
            item.labelY = anchor.py;
            item.labelAxis = kLabelRing;
            grid.push_back(std::move(item));
            return;
        }
        const std::string label = std::move(style.labelText);
        style.labelText.clear();
        bool labelled = false;
        for (int k = 0; k < kChordsPerArc; ++k) {
            const Extended a0 = wedgeFrom + (wedgeTo - wedgeFrom) * k / kChordsPerArc;
            const Extended a1 = wedgeFrom + (wedgeTo - wedgeFrom) * (k + 1) / kChordsPerArc;
            std::optional<TLineitem> chord =
                line(r * std::cos(a0), r * std::sin(a0), r * std::cos(a1), r * std::sin(a1), style);
            if (!chord)
                continue;
            if (!labelled && !label.empty()) {
                const DevicePoint anchor = pixel(labelX, labelY);
                chord->labelText = label;
                chord->labelX = anchor.px;
                chord->labelY = anchor.py;
                chord->labelAxis = kLabelRing;
                labelled = true;
            }
            grid.push_back(std::move(*chord));
        }
    };
    if (look.gridVisible) {
        int count = 0;
        for (Extended r = rings.first; r < rings.last && count < kMaxLinesPerLoop;
             r += rings.step, ++count) {
            if (r < 0) {
                r += rings.step;
                if (!(r < rings.last))
                    break;
            }
            TLineitem item;
            item.kind = kTickMain;
            item.colour = look.colourMainGrid;
            item.width = look.widthMainGrid;
            item.labelText = RingLabel(r, rings.step);
            item.value = r;
            if (item.width != 0)
                addRing(r, std::move(item));
            if (r + rings.step == r)
                break;
        }
        if (look.widthHelpGrid != 0) {
            StepThrough(rings.first - rings.step / 2, rings.last + rings.step / 2, rings.step,
                        [&](Extended r) {
                            // Raised into the positive, a help ring would repeat the
                            // next one.
                            if (r <= 0)
                                return true;
                            TLineitem item;
                            item.kind = kTickSub;
                            item.colour = look.colourHelpGrid;
                            item.width = look.widthHelpGrid;
                            addRing(r, std::move(item));
                            return true;
                        });
        }
    }
    const auto ray = [&](Extended angle, TColor colour, std::int32_t width,
                         std::uint8_t labelAxis = kLabelHorizontalAxis) {
        TLineitem item;
        item.colour = colour;
        item.width = width;
        item.labelAxis = labelAxis;
        item.value = angle;
        if (std::optional<TLineitem> cut =
                line(0, 0, radius * std::cos(angle), radius * std::sin(angle), std::move(item)))
            grid.push_back(std::move(*cut));
    };
    const Extended span = angleTo - angleFrom;
    Extended angleStep = span / 5;
    if (span >= kPi)
        angleStep = 15 * kDegree;
    else if (span >= 15 * kDegree)
        angleStep = 5 * kDegree;
    else if (span >= 5 * kDegree)
        angleStep = 0.5L * kDegree;
    if (!c.classic) {
        ModernRays(originInside ? 0 : wedgeFrom, originInside ? 2 * kPi : wedgeTo, ray);
    } else if (look.gridVisible && look.widthMainGrid != 0 && angleStep > 0) {
        // Counted, not accumulated: 24 steps of 15 degrees add up to a hair below 360
        // and would draw the first ray twice.
        const Extended steps = span / angleStep * (1 - 1e-12L);
        for (int i = 0; i < steps && i < kMaxLinesPerLoop; ++i)
            ray(angleFrom + i * angleStep, look.colourMainGrid, look.widthMainGrid);
    }
    for (int quarter = 0; quarter < 4; ++quarter)
        ray(quarter * kPi / 2, look.colourZeroAxes, look.widthXAxis);
}

template <class Ray>
void Builder::ModernRays(Extended from, Extended to, Ray& ray) {
    if (!look.gridVisible || look.widthMainGrid == 0)
        return;
    // Whole steps of a readable angle, so that the rays can be labelled; the wedge may
    // start below 0 where it crosses the direction 0.
    const Extended span = to - from;
    Extended step = 15 * kDegree;
    if (span < 5 * kDegree)
        step = NiceStep(from / kDegree, to / kDegree).step * kDegree;
    else if (span < 15 * kDegree)
        step = 0.5L * kDegree;
    else if (span < kPi)
        step = 5 * kDegree;
    if (!(step > 0))
        return;
    const bool fullCircle = span >= 2 * kPi;
    const Extended first = std::ceil(from / step - 1e-9L);
    const Extended last =
        fullCircle ? first + std::round(2 * kPi / step) - 1 : std::floor(to / step + 1e-9L);
    for (Extended k = first; k <= last && k - first < kMaxLinesPerLoop; ++k) {
        Extended angle = k * step;
        if (angle < 0)
            angle += 2 * kPi;
        ray(angle, look.colourMainGrid, look.widthMainGrid, kLabelAngle);
    }
}

}  // namespace

std::string LinearLabel(Extended value, Extended range) {
    const Extended magnitude = std::fabs(value);
    if (magnitude < std::fabs(range) * 1e-8L)
        return "0";
    if (magnitude >= 1e-7L && magnitude <= 1e7L)
        return FormatGeneral(value);
    return FormatExponent(value, 5, 8);
}

GridError BuildGrid(GridContext& context, std::vector<TLineitem>& grid) {
    grid.clear();
    Builder b(context, grid);
    switch (context.gridType) {
        case GridType::gtLinLin:
            b.VerticalLinear();
            b.HorizontalLinear();
            break;
        case GridType::gtLinLog:
            b.VerticalLog();
            b.HorizontalLinear();
            break;
        case GridType::gtLinDb:
            b.VerticalDb();
            b.HorizontalLinear();
            break;
        case GridType::gtLogLin:
            b.VerticalLinear();
            b.HorizontalLog();
            break;
        case GridType::gtLogLog:
            b.HorizontalLog();
            b.VerticalLog();
            break;
        case GridType::gtLogDb:
            b.VerticalDb();
            b.HorizontalLog();
            break;
        case GridType::gtDbLin:
            b.VerticalLinear();
            b.HorizontalDb();
            break;
        case GridType::gtDbLog:
            b.VerticalLog();
            b.HorizontalDb();
            break;
        case GridType::gtDbDb:
            b.HorizontalDb();
            b.VerticalDb();
            break;
        case GridType::gtPolar:
            b.Polar();
            break;
        default:
            break;
    }
    if (!context.classic)
        ArrangeLabels(context, grid);
    return b.error;
}

}  // namespace pc
