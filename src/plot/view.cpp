#include "view.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "catalogue/notifier.h"
#include "catalogue/text_conversions.h"
#include "engine/decimal_log.h"
#include "engine/number_text.h"

namespace pc {

namespace {

bool BothLogarithmic(GridType gridType) {
    return HorizontalLogarithmic(gridType) && VerticalLogarithmic(gridType);
}

// Infinities and NaN stay as they are, so that ToDevice still refuses them: the
// logarithm of zero is a gap, not the edge of the plot.
Extended ClampDevice(Extended value) {
    return std::isfinite(value) ? std::clamp<Extended>(value, -kDeviceLimit, kDeviceLimit) : value;
}

// Truncates toward zero; false when the value has no int32 (a NaN, an infinity, an
// overflow), which makes the point a gap.
bool ToDevice(Extended value, std::int32_t& device) {
    if (!(std::fabs(value) < 2147483648.0L))
        return false;
    device = static_cast<std::int32_t>(value);
    return true;
}

// A factor whose division had no finite result.
bool Faulted(Extended factor) {
    return !std::isfinite(factor);
}

// By a tenth of the minimum's size on each side: the sign of a negative minimum would
// turn the window upside down.
void WidenIfEmpty(Extended& min, Extended& max) {
    if (std::fabs(max - min) < 1e-18L) {
        min = min - std::fabs(min) / 10;
        max = max + std::fabs(min) / 10;
    }
}

// The factor size / (max - min), or with the window 0..10 when that division faults.
Extended LinearFactor(std::int32_t size, Extended& min, Extended& max) {
    Extended factor = size / (max - min);
    if (Faulted(factor)) {
        min = 0;
        max = 10;
        factor = size / (max - min);
    }
    return factor;
}

template <class Record>
void MapRecords(PlotView& v, GridType gridType, std::vector<Record>& points) {
    const Extended left = v.marginLeft;
    const Extended top = v.marginTop;
    const auto store = [](Record& p, Extended px, Extended py) {
        if (!ToDevice(ClampDevice(px), p.px) || !ToDevice(ClampDevice(py), p.py))
            p.valid = false;
    };
    if (gridType == GridType::gtLinLin || gridType == GridType::gtPolar) {
        WidenIfEmpty(v.ymin, v.ymax);
        WidenIfEmpty(v.xmin, v.xmax);
        const Extended sx = LinearFactor(v.plotWidth, v.xmin, v.xmax);
        const Extended sy = LinearFactor(v.plotHeight, v.ymin, v.ymax);
        for (Record& p : points) store(p, (p.x - v.xmin) * sx + left, (v.ymax - p.y) * sy + top);
        return;
    }
    if (gridType == GridType::gtLinLog || gridType == GridType::gtLinDb) {
        if (v.ymax <= 0)
            v.ymax = v.logFloorY * 10;
        if (v.ymin <= 0)
            v.ymin = v.logFloorY;
        const Extended sx = LinearFactor(v.plotWidth, v.xmin, v.xmax);
        const Extended sy = v.plotHeight / Log10(v.ymax / v.ymin);
        for (Record& p : points) {
            if (p.valid)
                store(p, (p.x - v.xmin) * sx + left, Log10(v.ymax / p.y) * sy + top);
        }
        return;
    }
    if (gridType == GridType::gtLogLin || gridType == GridType::gtDbLin) {
        if (v.xmin <= 0) {
            if (v.logFloorX <= 0)
                v.logFloorX = 1e-20L;
            v.xmin = v.logFloorX;
        }
        if (v.xmax <= 0)
            v.xmax = 10;
        Extended sx = v.plotWidth / Log10(v.xmax / v.xmin);
        if (Faulted(sx)) {
            v.xmin = 1e-20L;
            v.xmax = 10;
            sx = v.plotWidth / Log10(v.xmax / v.xmin);
        }
        const Extended sy = LinearFactor(v.plotHeight, v.ymin, v.ymax);
        for (Record& p : points) {
            const Extended ratio = p.x / v.xmin;
            if (!(ratio > 1e-18L)) {
                p.valid = false;
                continue;
            }
            store(p, Log10(ratio) * sx + left, (v.ymax - p.y) * sy + top);
        }
        return;
    }
    if (BothLogarithmic(gridType)) {
        if (v.xmin <= 0)
            v.xmin = v.logFloorX;
        if (v.ymin <= 0)
            v.ymin = v.logFloorY;
        if (v.xmax <= 0)
            v.xmax = v.logFloorX * 10;
        if (v.ymax <= 0)
            v.ymax = v.logFloorY * 10;
        const Extended sx = v.plotWidth / Log10(v.xmax / v.xmin);
        const Extended sy = v.plotHeight / Log10(v.ymax / v.ymin);
        for (Record& p : points) {
            if (p.valid)
                store(p, Log10(p.x / v.xmin) * sx + left, Log10(v.ymax / p.y) * sy + top);
        }
    }
}

template <class Record>
void ScanRecords(PlotView& v, const std::vector<Record>& points) {
    for (const Record& p : points) {
        if (!p.valid)
            continue;
        if (p.x > v.xmax)
            v.xmax = p.x;
        if (p.x < v.xmin)
            v.xmin = p.x;
        if (p.x > 0 && p.x < v.logFloorX)
            v.logFloorX = p.x;
        if (p.y > v.ymax)
            v.ymax = p.y;
        if (p.y < v.ymin)
            v.ymin = p.y;
        if (p.y > 0 && p.y < v.logFloorY)
            v.logFloorY = p.y;
    }
}

void ScanLists(PlotView& view, const TPointArrayList& lists) {
    for (const TPointArray& points : lists) {
        std::visit(
            [&](const auto& records) {
                if constexpr (!std::is_same_v<std::decay_t<decltype(records)>, std::monostate>)
                    ScanRecords(view, records);
            },
            points);
    }
}

// A floor left unknown would become a window bound of 1e4000 on a logarithmic axis;
// both fall back the same way. Only once the whole scan is done: a curve without
// positive values must not fix the floor before a later one has been looked at.
void FallBackForUnknownFloors(PlotView& view) {
    for (Extended* floor : {&view.logFloorY, &view.logFloorX}) {
        if (*floor == kRangeUnset) {
            const Extended saved = floor == &view.logFloorY ? view.savedYmin : view.savedXmin;
            *floor = saved < 1e-18L ? 1e-5L : saved;
        }
    }
}

void ResetToUnset(PlotView& v) {
    v.xmin = v.ymin = v.logFloorX = v.logFloorY = kRangeUnset;
    v.xmax = v.ymax = -kRangeUnset;
}

bool Shown(const TFktItem& item) {
    return item.Darstellung && item.valid;
}

}  // namespace

bool HorizontalLogarithmic(GridType gridType) {
    return gridType >= GridType::gtLogLin && gridType <= GridType::gtDbDb;
}

bool VerticalLogarithmic(GridType gridType) {
    switch (gridType) {
        case GridType::gtLinLog:
        case GridType::gtLinDb:
        case GridType::gtLogLog:
        case GridType::gtLogDb:
        case GridType::gtDbLog:
        case GridType::gtDbDb:
            return true;
        default:
            return false;
    }
}

bool HorizontalDb(GridType gridType) {
    return gridType >= GridType::gtDbLin && gridType <= GridType::gtDbDb;
}

bool VerticalDb(GridType gridType) {
    return gridType == GridType::gtLinDb || gridType == GridType::gtLogDb ||
           gridType == GridType::gtDbDb;
}

bool KnownGridType(GridType gridType) {
    return gridType <= GridType::gtPolar && gridType != static_cast<GridType>(3);
}

std::string HorizontalUnit(GridType gridType) {
    return HorizontalDb(gridType) ? "dB" : "";
}

std::string VerticalUnit(GridType gridType) {
    return VerticalDb(gridType) ? "dB" : "";
}

DevicePoint WorldToDevice(const PlotView& v, GridType gridType, Extended x, Extended y) {
    DevicePoint result;
    if (BothLogarithmic(gridType) && !(v.ymax / y >= 1e-18L))
        return result;
    const Extended w = v.plotWidth;
    const Extended h = v.plotHeight;
    Extended px = HorizontalLogarithmic(gridType)
                      ? Log10(x / v.xmin) * w / Log10(v.xmax / v.xmin) + v.marginLeft
                      : (x - v.xmin) * w / (v.xmax - v.xmin) + v.marginLeft;
    Extended py = VerticalLogarithmic(gridType)
                      ? Log10(v.ymax / y) * h / Log10(v.ymax / v.ymin) + v.marginTop
                      : (y - v.ymax) * h / (v.ymin - v.ymax) + v.marginTop;
    py = ClampDevice(py);
    if (gridType == GridType::gtLinLin || gridType == GridType::gtPolar)
        px = ClampDevice(px);
    result.valid = ToDevice(px, result.px) && ToDevice(py, result.py);
    return result;
}

WorldPoint DeviceToWorld(const PlotView& v, GridType gridType, std::int32_t px, std::int32_t py) {
    WorldPoint result;
    const Extended dx = static_cast<Extended>(px) - v.marginLeft;
    const Extended dy = static_cast<Extended>(py) - v.marginTop;
    result.x = HorizontalLogarithmic(gridType)
                   ? v.xmin * std::pow(10.0L, dx * Log10(v.xmax / v.xmin) / v.plotWidth)
                   : (v.xmax - v.xmin) / v.plotWidth * dx + v.xmin;
    result.y = VerticalLogarithmic(gridType)
                   ? v.ymax * std::pow(10.0L, -dy * Log10(v.ymax / v.ymin) / v.plotHeight)
                   : (v.ymin - v.ymax) / v.plotHeight * dy + v.ymax;
    result.valid = KnownGridType(gridType) && std::isfinite(result.x) && std::isfinite(result.y);
    return result;
}

void MapPointList(PlotView& view, GridType gridType, TPointArray& points) {
    std::visit(
        [&](auto& records) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(records)>, std::monostate>)
                MapRecords(view, gridType, records);
        },
        points);
}

void FixLogMinima(PlotView& view, GridType gridType) {
    if (VerticalLogarithmic(gridType) && view.ymin <= 0)
        view.ymin = view.logFloorY;
    if (HorizontalLogarithmic(gridType) && view.xmin <= 0)
        view.xmin = 1e-20L;
}

void SquareWorldWindow(PlotView& view) {
    const Extended dx = view.xmax - view.xmin;
    const Extended dy = view.ymax - view.ymin;
    if (dy < dx)
        view.ymax = view.ymin + dx;
    else
        view.xmax = view.xmin + dy;
    view.plotWidth = view.plotHeight = std::min(view.plotWidth, view.plotHeight);
    view.plotRight = view.marginLeft + view.plotWidth;
    view.plotBottom = view.marginTop + view.plotHeight;
}

void ScanExtents(PlotView& view, const TPointArrayList& lists) {
    ScanLists(view, lists);
    FallBackForUnknownFloors(view);
}

const TPointArrayList& PointArraysOf(const TFktItem& item, SurfaceKind kind) {
    return kind == SurfaceKind::Main ? item.FeldListenListeM : item.FeldListenListeP;
}

TPointArrayList& PointArraysOf(TFktItem& item, SurfaceKind kind) {
    return kind == SurfaceKind::Main ? item.FeldListenListeM : item.FeldListenListeP;
}

void ScanAllExtents(PlotView& view, const DisplayList& items, SurfaceKind kind,
                    bool referenceOnly) {
    ResetToUnset(view);
    bool scanned = false;
    for (const auto& item : items) {
        if (Shown(*item) && (!referenceOnly || item->Referenz)) {
            ScanLists(view, PointArraysOf(*item, kind));
            scanned = true;
        }
    }
    if (scanned)
        FallBackForUnknownFloors(view);
}

void ComputeViewRange(PlotView& view, ScaleMode scaleMode, const DisplayList& items,
                      SurfaceKind kind, Notifier& notifier) {
    const Extended floorX = view.logFloorX;
    const Extended floorY = view.logFloorY;
    view.savedXmin = view.xmin;
    view.savedXmax = view.xmax;
    view.savedYmin = view.ymin;
    view.savedYmax = view.ymax;
    switch (scaleMode) {
        case ScaleMode::smUserDefined:
            if (kind == SurfaceKind::Preview)
                ScanAllExtents(view, items, kind);
            break;
        case ScaleMode::smReference:
            ScanAllExtents(view, items, kind, true);
            break;
        case ScaleMode::smGlobal:
            ScanAllExtents(view, items, kind);
            break;
        default:
            notifier.PlainMessage("invalid scalemode");
            return;
    }
    if (view.xmin == kRangeUnset && view.ymin == kRangeUnset && view.xmax == -kRangeUnset &&
        view.ymax == -kRangeUnset) {
        view.xmin = view.savedXmin;
        view.xmax = view.savedXmax;
        view.ymin = view.savedYmin;
        view.ymax = view.savedYmax;
        // Nothing was scanned, so the floors were never found either.
        view.logFloorX = floorX;
        view.logFloorY = floorY;
    }
}

bool ValidateUserRanges(PlotView& view, const RangeFields& fields) {
    Extended values[] = {TextToFloat(fields.startValue), TextToFloat(fields.stopValue),
                         TextToFloat(fields.xmin),       TextToFloat(fields.xmax),
                         TextToFloat(fields.ymin),       TextToFloat(fields.ymax)};
    // An infinite bound has no pixel either, so "INF" is refused like any other non-number.
    for (Extended value : values) {
        if (!std::isfinite(value))
            return false;
    }
    auto& [phimin, phimax, xmin, xmax, ymin, ymax] = values;
    if (phimax < phimin)
        std::swap(phimin, phimax);
    if (std::fabs(phimax - phimin) < 1e-18L) {
        phimin -= 1e-18L;
        phimax += 1e-18L;
    }
    if (xmin >= xmax)
        std::swap(xmin, xmax);
    if (ymin >= ymax)
        std::swap(ymin, ymax);
    view.phimin = phimin;
    view.phimax = phimax;
    view.xmin = xmin;
    view.xmax = xmax;
    view.ymin = ymin;
    view.ymax = ymax;
    return true;
}

RangeFields FieldsOf(const PlotView& view) {
    return {FormatGeneral(view.phimin), FormatGeneral(view.phimax), FormatGeneral(view.xmin),
            FormatGeneral(view.xmax),   FormatGeneral(view.ymin),   FormatGeneral(view.ymax)};
}

void ShiftLinear(Extended& min, Extended& max, Extended f, bool zoomMode) {
    const Extended d = std::fabs(max - min) <= 1e-8L ? 1e-8L : (max - min) * f;
    min += d;
    max = zoomMode ? max - d : max + d;
    if (max < min)
        std::swap(min, max);
}

void ShiftLog(Extended& min, Extended& max, Extended f, bool zoomMode) {
    // A slider released at its centre asks for no change; dividing by f = 0 would move
    // both bounds to 0 and infinity.
    if (f == 0)
        return;
    if (min <= 0)
        min = 1e-20L;
    if (max <= 0)
        max = 10;
    if (zoomMode) {
        const Extended t = Log10(max / min) / f;
        max /= std::pow(10.0L, t);
        min *= std::pow(10.0L, t);
    } else {
        const Extended t = Log10(max / min) / f / 1.2L;
        max *= std::pow(10.0L, t);
        min *= std::pow(10.0L, t);
    }
}

}  // namespace pc
