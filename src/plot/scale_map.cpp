#include "scale_map.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "engine/decimal_log.h"
#include "view.h"

namespace pc {

namespace {

// Infinities and NaN stay as they are, so that ToDeviceCoordinate still refuses them: the logarithm
// of zero is a gap, not the edge of the plot.
Extended Clamp(Extended value) {
    return std::isfinite(value) ? std::clamp<Extended>(value, -kDeviceLimit, kDeviceLimit) : value;
}

// By a tenth of the minimum's size on each side: the sign of a negative minimum would
// turn the window upside down.
void WidenIfEmpty(Extended& min, Extended& max) {
    if (std::fabs(max - min) < 1e-18L) {
        min = min - std::fabs(min) / 10;
        max = max + std::fabs(min) / 10;
    }
}

// The window 0..10 when size / (max - min) has no finite result.
void LinearFallback(std::int32_t size, Extended& min, Extended& max) {
    if (!std::isfinite(size / (max - min))) {
        min = 0;
        max = 10;
    }
}

}  // namespace

AxisMap::AxisMap(Extended min, Extended max, std::int32_t start, std::int32_t pixels,
                 bool logarithmic, bool downwards)
    : m_origin(downwards ? max : min),
      m_offset(start),
      m_logarithmic(logarithmic),
      m_downwards(downwards) {
    const Extended span = logarithmic ? Log10(max / min) : max - min;
    m_factor = pixels / span;
    m_inverse = span / pixels;
}

Extended AxisMap::ToPixel(Extended v) const {
    return Pixel(v);
}

Extended AxisMap::ToWorld(Extended pixel) const {
    const Extended distance = m_inverse * (pixel - m_offset);
    if (m_logarithmic)
        return m_origin * std::pow(10.0L, m_downwards ? -distance : distance);
    return m_downwards ? m_origin - distance : m_origin + distance;
}

ScaleMap::ScaleMap(const PlotView& view, GridType gridType)
    : m_gridType(gridType),
      m_x(view.xmin, view.xmax, view.marginLeft, view.plotWidth, HorizontalLogarithmic(gridType),
          false),
      m_y(view.ymin, view.ymax, view.marginTop, view.plotHeight, VerticalLogarithmic(gridType),
          true) {}

DevicePoint ScaleMap::ToDevice(Extended x, Extended y, MapRule rule) const {
    DevicePoint device;
    if (rule == MapRule::SinglePoint) {
        if (m_x.Logarithmic() && m_y.Logarithmic() && !(m_y.Origin() / y >= 1e-18L))
            return device;
    } else if (m_x.Logarithmic() && !m_y.Logarithmic() && !(x / m_x.Origin() > 1e-18L)) {
        return device;
    }
    Extended px = m_x.ToPixel(x);
    const Extended py = Clamp(m_y.ToPixel(y));
    if (rule == MapRule::PointList || m_gridType == GridType::gtLinLin ||
        m_gridType == GridType::gtPolar)
        px = Clamp(px);
    device.valid = ToDeviceCoordinate(px, device.px) && ToDeviceCoordinate(py, device.py);
    return device;
}

bool ScaleMap::WithinLimit(Extended x, Extended y) const {
    return std::fabs(m_x.ToPixel(x)) <= kDeviceLimit && std::fabs(m_y.ToPixel(y)) <= kDeviceLimit;
}

WorldPoint ScaleMap::ToWorld(std::int32_t px, std::int32_t py) const {
    WorldPoint world;
    world.x = m_x.ToWorld(px);
    world.y = m_y.ToWorld(py);
    world.valid = KnownGridType(m_gridType) && std::isfinite(world.x) && std::isfinite(world.y);
    return world;
}

// ToDevice with the point-list rule, for a whole list at a time: the per-point work is
// two pixel formulas, two clamps and two conversions.
template <class Record>
void ScaleMap::MapRecords(const std::vector<Record>& records,
                          std::vector<DevicePoint>& pixels) const {
    pixels.resize(records.size());
    const bool ratioRule = m_x.Logarithmic() && !m_y.Logarithmic();
    const Extended xOrigin = m_x.Origin();
    DevicePoint* out = pixels.data();
    for (const Record& record : records) {
        DevicePoint& device = *out++;
        if (!record.valid || (ratioRule && !(record.x / xOrigin > 1e-18L))) {
            device = DevicePoint{};
            continue;
        }
        device.valid = ToDeviceCoordinate(Clamp(m_x.Pixel(record.x)), device.px) &&
                       ToDeviceCoordinate(Clamp(m_y.Pixel(record.y)), device.py);
        device.poleBefore = record.poleBefore;
    }
}

void ScaleMap::MapPoints(const TPointArray& points, std::vector<DevicePoint>& pixels) const {
    std::visit(
        [&](const auto& records) {
            if constexpr (std::is_same_v<std::decay_t<decltype(records)>, std::monostate>)
                pixels.clear();
            else
                MapRecords(records, pixels);
        },
        points);
}

void RepairWindow(PlotView& v, GridType gridType) {
    switch (gridType) {
        case GridType::gtLinLin:
        case GridType::gtPolar:
            WidenIfEmpty(v.ymin, v.ymax);
            WidenIfEmpty(v.xmin, v.xmax);
            LinearFallback(v.plotWidth, v.xmin, v.xmax);
            LinearFallback(v.plotHeight, v.ymin, v.ymax);
            break;
        case GridType::gtLinLog:
        case GridType::gtLinDb:
            if (v.ymax <= 0)
                v.ymax = v.logFloorY * 10;
            if (v.ymin <= 0)
                v.ymin = v.logFloorY;
            LinearFallback(v.plotWidth, v.xmin, v.xmax);
            break;
        case GridType::gtLogLin:
        case GridType::gtDbLin:
            if (v.xmin <= 0) {
                if (v.logFloorX <= 0)
                    v.logFloorX = 1e-20L;
                v.xmin = v.logFloorX;
            }
            if (v.xmax <= 0)
                v.xmax = 10;
            if (!std::isfinite(v.plotWidth / Log10(v.xmax / v.xmin))) {
                v.xmin = 1e-20L;
                v.xmax = 10;
            }
            LinearFallback(v.plotHeight, v.ymin, v.ymax);
            break;
        case GridType::gtLogLog:
        case GridType::gtLogDb:
        case GridType::gtDbLog:
        case GridType::gtDbDb:
            if (v.xmin <= 0)
                v.xmin = v.logFloorX;
            if (v.ymin <= 0)
                v.ymin = v.logFloorY;
            if (v.xmax <= 0)
                v.xmax = v.logFloorX * 10;
            if (v.ymax <= 0)
                v.ymax = v.logFloorY * 10;
            break;
        default:
            break;
    }
}

DevicePoint WorldToDevice(const PlotView& view, GridType gridType, Extended x, Extended y) {
    return ScaleMap(view, gridType).ToDevice(x, y, MapRule::SinglePoint);
}

WorldPoint DeviceToWorld(const PlotView& view, GridType gridType, std::int32_t px,
                         std::int32_t py) {
    return ScaleMap(view, gridType).ToWorld(px, py);
}

}  // namespace pc
