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

GridType CartesianGridType(AxisKind horizontal, AxisKind vertical) {
    // Three grid types per horizontal kind; 3 is left out between linear and logarithmic.
    static constexpr std::uint8_t kFirst[] = {0, 4, 7};
    return static_cast<GridType>(kFirst[Ordinal(horizontal)] + Ordinal(vertical));
}

AxisKind HorizontalKind(GridType gridType) {
    if (!KnownGridType(gridType) || gridType == GridType::gtPolar)
        return AxisKind::Linear;
    return HorizontalDb(gridType)            ? AxisKind::Db
           : HorizontalLogarithmic(gridType) ? AxisKind::Logarithmic
                                             : AxisKind::Linear;
}

AxisKind VerticalKind(GridType gridType) {
    if (!KnownGridType(gridType) || gridType == GridType::gtPolar)
        return AxisKind::Linear;
    return VerticalDb(gridType)            ? AxisKind::Db
           : VerticalLogarithmic(gridType) ? AxisKind::Logarithmic
                                           : AxisKind::Linear;
}

std::string HorizontalUnit(GridType gridType) {
    return HorizontalDb(gridType) ? "dB" : "";
}

std::string VerticalUnit(GridType gridType) {
    return VerticalDb(gridType) ? "dB" : "";
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

void EqualAspectWindow(PlotView& view) {
    const Extended dx = view.xmax - view.xmin;
    const Extended dy = view.ymax - view.ymin;
    if (!(dx > 0 && dy > 0 && view.plotWidth > 0 && view.plotHeight > 0) || !std::isfinite(dx) ||
        !std::isfinite(dy))
        return;
    const Extended unitsPerPixel = std::max(dx / view.plotWidth, dy / view.plotHeight);
    const auto grow = [](Extended& min, Extended& max, Extended wanted) {
        const Extended centre = min / 2 + max / 2;
        min = centre - wanted / 2;
        max = centre + wanted / 2;
    };
    if (dx / view.plotWidth < unitsPerPixel)
        grow(view.xmin, view.xmax, unitsPerPixel * view.plotWidth);
    else if (dy / view.plotHeight < unitsPerPixel)
        grow(view.ymin, view.ymax, unitsPerPixel * view.plotHeight);
}

void AddHeadroom(PlotView& view, bool logarithmic, Extended fraction) {
    if (!(view.ymax > view.ymin))
        return;
    if (logarithmic) {
        if (!(view.ymin > 0))
            return;
        const Extended factor = std::pow(view.ymax / view.ymin, fraction);
        if (!std::isfinite(factor) || !std::isfinite(view.ymax * factor))
            return;
        view.ymin /= factor;
        view.ymax *= factor;
        return;
    }
    const Extended margin = (view.ymax - view.ymin) * fraction;
    if (!std::isfinite(margin))
        return;
    view.ymin -= margin;
    view.ymax += margin;
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
    view.SetRange({xmin, xmax, ymin, ymax, phimin, phimax});
    return true;
}

bool AcceptRangeField(std::string& text) {
    if (!std::isfinite(TextToFloat(text)))
        return false;
    if (const auto comma = text.find(','); comma != std::string::npos)
        text[comma] = '.';
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
