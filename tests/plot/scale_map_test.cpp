// The world-to-pixel map: a point and a list on one map, the two clamp rules, and the
// window repairs a list needs. The inverse is pinned by the read-out's texts.

#include "plot/scale_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "plot_test_support.h"

namespace pc {

bool operator==(const DevicePoint& a, const DevicePoint& b) {
    return a.valid == b.valid && (!a.valid || (a.px == b.px && a.py == b.py));
}

namespace {

using test::D;
using test::ExpectWindow;
using test::Records;
using test::SetWindow;
using test::Window;

// A 400 x 300 plot area at (10, 5). Linear axes show x -5..15 (20 px per unit) and
// y -2..8 (30 px per unit); logarithmic ones 1..1e5 (80 px and 60 px per decade).
PlotView ViewFor(GridType type) {
    const bool logX = HorizontalLogarithmic(type), logY = VerticalLogarithmic(type);
    return test::Area(400, 300, 10, 5,
                      {logX ? 1 : -5.0L, logX ? 1e5L : 15, logY ? 1 : -2.0L, logY ? 1e5L : 8});
}

// Maps a list as a redraw does: the window repaired first, then every record.
std::vector<DevicePoint> MapList(PlotView& view, GridType type, const TPointArray& points) {
    RepairWindow(view, type);
    std::vector<DevicePoint> pixels;
    ScaleMap(view, type).MapPoints(points, pixels);
    return pixels;
}

// One point alone, and in a list between two good ones: (10, 10) and (100, 100) when an
// axis is logarithmic, else twice (0, 0), which keep their pixels. Alone, py is clamped
// to ±30000 and px too on linear axes, and on two logarithmic axes ymax / y must be at
// least 1e-18. A list clamps px on every type and refuses x / xmin <= 1e-18 instead.
TEST(WorldToDevice, AloneOrInAListClampsInvalidatesAndKeepsTheRatioRule) {
    struct Case {
        GridType type;
        Extended x, y;
        DevicePoint alone, inList;  // px, py, valid
    };
    const DevicePoint none;
    const Case cases[] = {
        // clang-format off
        {GridType::gtLinLin, -1e6L, -1e6L, {-30000, 30000, true}, {-30000, 30000, true}},
        {GridType::gtPolar, 1e9L, 3, {30000, 155, true}, {30000, 155, true}},
        {GridType::gtLinLog, 1e4L, 100, {200110, 185, true}, {30000, 185, true}},  // (1e4 + 5) * 20 + 10
        {GridType::gtLinLog, 0, 1e-600L, {110, 30000, true}, {110, 30000, true}},  // 605 decades below
        {GridType::gtLinDb, 1e9L, 10, none, {30000, 245, true}},                    // px beyond int32
        {GridType::gtLogLog, 100, 1e24L, none, {170, -1135, true}},                 // ymax / y = 1e-19
        {GridType::gtDbDb, 100, 1e22L, {170, -1015, true}, {170, -1015, true}},     // ymax / y = 1e-17
        {GridType::gtLinLog, 5, 1e24L, {210, -1135, true}, {210, -1135, true}},     // one log axis only
        {GridType::gtLogLin, 1e-19L, 1, {-1510, 215, true}, none},                  // 10 - 19 * 80
        {GridType::gtLogLin, 1e-17L, 1, {-1350, 215, true}, {-1350, 215, true}},
        {GridType::gtLogLin, 1e4000L, 1e30L, {320010, -30000, true}, {30000, -30000, true}},
        {GridType::gtLogLog, 1e-4000L, 1e4000L, none, {-30000, -30000, true}},
        {GridType::gtDbLin, 0, 3, none, none},  // log10(0)
        {GridType::gtLogLog, 0, 10, none, none},
        {GridType::gtLinLog, 1, 0, none, none},  // ymax / 0
        {GridType::gtDbDb, 10, 0, none, none},  // passes the ratio rule but has no logarithm
        {GridType::gtLinLin, 3, NAN, none, none},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(Ordinal(c.type)) + ": " + std::to_string(D(c.x)) + ", " +
                     std::to_string(D(c.y)));
        PlotView view = ViewFor(c.type);
        const DevicePoint alone = WorldToDevice(view, c.type, c.x, c.y);
        EXPECT_TRUE(alone == c.alone) << alone.px << ", " << alone.py;
        const Extended good = HorizontalLogarithmic(c.type) || VerticalLogarithmic(c.type) ? 10 : 0;
        const std::initializer_list<std::pair<Extended, Extended>> xy = {
            {good, good}, {c.x, c.y}, {good * 10, good * 10}};
        const std::vector<DevicePoint> r = MapList(view, c.type, Records(xy));
        EXPECT_TRUE(r[1] == c.inList) << r[1].px << ", " << r[1].py;
        EXPECT_TRUE(r[0].valid && r[2] == WorldToDevice(view, c.type, good * 10, good * 10));
        EXPECT_TRUE(MapList(view, c.type, Records<TFeldftxtyt>(xy)) == r) << "x(t), y(t) records";
    }
    PlotView view = ViewFor(GridType::gtLinLin);
    EXPECT_TRUE(MapList(view, GridType::gtLinLin, TPointArray{}).empty());  // an implicit curve
    EXPECT_FALSE(DeviceToWorld(view, static_cast<GridType>(3), 100, 100).valid) << "unknown type";
}

// An empty range is widened by a tenth of its minimum, 0..10 where that faults; a
// non-positive logarithmic bound becomes the floor (1e-20 for a floor <= 0 on x), a
// maximum ten times the floor (10 on x). Floors of 1 play no part.
TEST(RepairWindow, WidensEmptyRangesAndRepairsNonPositiveLogarithmicBounds) {
    const std::tuple<GridType, Window, Extended, Extended, Window, const char*> cases[] = {
        // clang-format off
        {GridType::gtLinLin, {-5, 15, 5, 5}, 1, 1, {-5, 15, 4.5L, 5.45L}, "5 - 0.5, then 5 + 4.5 / 10"},
        {GridType::gtLinLin, {-5, 15, 0, 0}, 1, 1, {-5, 15, 0, 10}, "a tenth of 0 widens nothing"},
        {GridType::gtLinLin, {-5, 15, -5, -5}, 1, 1, {-5, 15, -5.5L, -4.45L}, "widened, not inverted"},
        {GridType::gtPolar, {2, 2, -2, 8}, 1, 1, {1.8L, 2.18L, -2, 8}, "the horizontal axis alike"},
        {GridType::gtLogLin, {1, 1e5L, 5, 5}, 1, 1, {1, 1e5L, 0, 10}, "no widening here, only 0..10"},
        {GridType::gtLinLog, {3, 3, 1, 1e5L}, 1, 1, {0, 10, 1, 1e5L}, ""},
        {GridType::gtLinLog, {-5, 15, -1, 0}, 7, 0.01L, {-5, 15, 0.01L, 0.1L}, ""},
        {GridType::gtLogLin, {-3, -1, -2, 8}, 0.5L, 7, {0.5L, 10, -2, 8}, ""},
        {GridType::gtDbLin, {0, 100, -2, 8}, -2, 7, {1e-20L, 100, -2, 8}, ""},
        {GridType::gtLogLog, {0, 0, -1, -2}, 0.1L, 0.01L, {0.1L, 1, 0.01L, 0.1L}, ""},
        // clang-format on
    };
    for (const auto& [type, before, floorX, floorY, after, reason] : cases) {
        SCOPED_TRACE(std::to_string(Ordinal(type)) + " " + reason);
        PlotView view = ViewFor(type);
        SetWindow(view, before);
        view.logFloorX = floorX;
        view.logFloorY = floorY;
        const DevicePoint p = MapList(view, type, Records({{before.xmin, before.ymin}}))[0];
        ExpectWindow(view, after);
        EXPECT_TRUE(p.valid || floorX != 1) << "the flat curve is drawn";
    }
}

}  // namespace
}  // namespace pc
