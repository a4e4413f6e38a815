#pragma once
// The one world-to-pixel map of a plot surface, for a single point and for whole point
// lists alike: per axis a factor and an offset worked out once, and their inverse.

#include <cstdint>
#include <vector>

#include "catalogue/catalogue_types.h"
#include "catalogue/fkt_item.h"
#include "engine/decimal_log.h"
#include "engine/extended.h"

namespace pc {

struct PlotView;

// Device coordinates are clamped to this magnitude, so a steep curve still reaches the edge.
inline constexpr std::int32_t kDeviceLimit = 30000;

struct DevicePoint {
    std::int32_t px = 0;
    std::int32_t py = 0;
    bool valid = false;
    bool poleBefore = false;  // the record's mark: no line from the point before
};

struct WorldPoint {
    Extended x = 0;
    Extended y = 0;
    bool valid = false;
};

// One axis: pixel = (v - origin) * factor + offset on a linear axis, log10(v / origin) in
// place of v - origin on a logarithmic or dB one. The vertical axis counts its pixels
// downwards from its maximum: there the difference is origin - v, or log10(origin / v).
// Truncates a pixel coordinate toward zero; false when it has no int32 (a NaN, an
// infinity, an overflow), which makes the point a gap.
inline bool ToDeviceCoordinate(Extended value, std::int32_t& device) {
    if (!FitsInt32(value))
        return false;
    device = static_cast<std::int32_t>(value);
    return true;
}

class AxisMap {
  public:
    AxisMap() = default;
    // [min, max] onto `pixels` pixels beginning at `start`.
    AxisMap(Extended min, Extended max, std::int32_t start, std::int32_t pixels, bool logarithmic,
            bool downwards);

    bool Logarithmic() const { return m_logarithmic; }
    // min, or max on the vertical axis.
    Extended Origin() const { return m_origin; }

    Extended ToPixel(Extended v) const;
    Extended ToWorld(Extended pixel) const;
    // ToPixel, inline for the loops that map whole lists.
    Extended Pixel(Extended v) const {
        Extended distance;
        if (m_logarithmic)
            distance = m_downwards ? Log10(m_origin / v) : Log10(v / m_origin);
        else
            distance = m_downwards ? m_origin - v : v - m_origin;
        return distance * m_factor + m_offset;
    }

  private:
    Extended m_origin = 0;
    Extended m_factor = 1;   // pixels per unit (per decade on a logarithmic axis)
    Extended m_inverse = 1;  // units per pixel, worked out as the range over the pixels
    Extended m_offset = 0;
    bool m_logarithmic = false;
    bool m_downwards = false;
};

// Which limits a mapping applies to points far outside the window. A point list clamps
// both coordinates, and on a logarithmic horizontal axis over a linear vertical one makes
// x / xmin <= 1e-18 a gap. A single point (the preview's rectangle, the polar grid's
// rings) clamps px only on the linear and polar grids, and on two logarithmic axes
// refuses ymax / y below 1e-18.
enum class MapRule : std::uint8_t { PointList, SinglePoint };

class ScaleMap {
  public:
    ScaleMap(const PlotView& view, GridType gridType);

    // The pixel of one world point; invalid where no finite pixel exists.
    DevicePoint ToDevice(Extended x, Extended y, MapRule rule) const;
    // Whether the pixel of (x, y) lies within the device limit, so that no clamp moves it.
    bool WithinLimit(Extended x, Extended y) const;
    // The world point of a pixel, unclamped; invalid for an unknown grid type or where
    // the result is not finite.
    WorldPoint ToWorld(std::int32_t px, std::int32_t py) const;

    // The pixels of every record of `points` into `pixels` (resized to match), with the
    // records' pole marks. A record that is no valid sample, or that has no pixel, is an
    // invalid pixel.
    void MapPoints(const TPointArray& points, std::vector<DevicePoint>& pixels) const;

  private:
    template <class Record>
    void MapRecords(const std::vector<Record>& records, std::vector<DevicePoint>& pixels) const;

    GridType m_gridType;
    AxisMap m_x;
    AxisMap m_y;
};

// Repairs the window as mapping the grid type needs, once before the curves are mapped:
// a range of zero height or width is widened by a tenth of its minimum (0..10 when that
// leaves it empty), and non-positive logarithmic bounds become the extent scan's floors
// (1e-20 and 10 on the horizontal axis when they fault).
void RepairWindow(PlotView& view, GridType gridType);

// One world point to its pixel, with the single-point rule.
DevicePoint WorldToDevice(const PlotView& view, GridType gridType, Extended x, Extended y);

// The inverse, without clamping: for the cursor read-out and the preview's rectangle.
WorldPoint DeviceToWorld(const PlotView& view, GridType gridType, std::int32_t px, std::int32_t py);

}  // namespace pc
