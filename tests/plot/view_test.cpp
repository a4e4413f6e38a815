#include "plot/view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

#include "catalogue/catalogue_test_support.h"
#include "catalogue/fkt_item.h"

namespace pc {
namespace {

const GridType kKnownTypes[] = {GridType::gtLinLin, GridType::gtLinLog, GridType::gtLinDb,
                                GridType::gtLogLin, GridType::gtLogLog, GridType::gtLogDb,
                                GridType::gtDbLin,  GridType::gtDbLog,  GridType::gtDbDb,
                                GridType::gtPolar};

double D(Extended value) {
    return static_cast<double>(value);
}

struct Window {
    Extended xmin, xmax, ymin, ymax;
};

void SetWindow(PlotView& view, const Window& w) {
    view.xmin = w.xmin;
    view.xmax = w.xmax;
    view.ymin = w.ymin;
    view.ymax = w.ymax;
}

void ExpectWindow(const PlotView& view, const Window& w) {
    EXPECT_NEAR(D(view.xmin), D(w.xmin), 1e-15);
    EXPECT_NEAR(D(view.xmax), D(w.xmax), 1e-15);
    EXPECT_NEAR(D(view.ymin), D(w.ymin), 1e-15);
    EXPECT_NEAR(D(view.ymax), D(w.ymax), 1e-15);
}

// A 400 x 300 plot area at (10, 5). Linear axes show x -5..15 (20 px per unit) and
// y -2..8 (30 px per unit); logarithmic ones 1..1e5 (80 px and 60 px per decade).
PlotView ViewFor(GridType type) {
    const bool logX = HorizontalLogarithmic(type), logY = VerticalLogarithmic(type);
    PlotView view;
    view.marginLeft = 10;
    view.marginTop = 5;
    view.plotWidth = 400;
    view.plotHeight = 300;
    view.plotRight = 410;
    view.plotBottom = 305;
    SetWindow(view, {logX ? 1 : -5.0L, logX ? 1e5L : 15, logY ? 1 : -2.0L, logY ? 1e5L : 8});
    return view;
}

template <class Record = TFeldfty>
std::vector<Record> Records(std::initializer_list<std::pair<Extended, Extended>> xy,
                            bool valid = true) {
    std::vector<Record> records(xy.size());
    auto point = xy.begin();
    for (Record& r : records) {
        r.x = point->first;
        r.y = (point++)->second;
        r.valid = valid;
    }
    return records;
}

// Logarithms of powers of ten may round either side of the integer, and a list computes
// its factors once: within a pixel. A clamp is exact.
bool Near(const TFeldfty& actual, const DevicePoint& expected) {
    const auto near = [](std::int32_t a, std::int32_t e) {
        return std::abs(a - e) <= (std::abs(e) == kDeviceLimit ? 0 : 1);
    };
    return actual.valid == expected.valid &&
           (!expected.valid || (near(actual.px, expected.px) && near(actual.py, expected.py)));
}

// Random points inside the window to their pixels and back; and as a list of the second
// record class, which lands on the same pixels and keeps a point the sampler found
// undefined a gap.
TEST(WorldToDevice, DeviceToWorldReturnsWithinOnePixelOnEveryGridType) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (GridType type : kKnownTypes) {
        SCOPED_TRACE("grid type " + std::to_string(Ordinal(type)));
        PlotView view = ViewFor(type);
        const bool logX = HorizontalLogarithmic(type), logY = VerticalLogarithmic(type);
        // One pixel in world units, in decades on a logarithmic axis.
        const Extended pixelX = (logX ? 5 : 20) / 400.0L, pixelY = (logY ? 5 : 10) / 300.0L;
        std::vector<TFeldftxtyt> records = Records<TFeldftxtyt>({{10, 10}}, false);
        records.resize(101);
        for (std::size_t k = 1; k < records.size(); ++k) {
            const Extended u = unit(random), w = unit(random);
            records[k].x = logX ? std::pow(10.0L, 5 * u) : view.xmin + 20 * u;
            records[k].y = logY ? std::pow(10.0L, 5 * w) : view.ymin + 10 * w;
            records[k].valid = true;
        }
        TPointArray list = records;
        MapPointList(view, type, list);
        const auto& mapped = std::get<std::vector<TFeldftxtyt>>(list);
        EXPECT_FALSE(mapped[0].valid);
        for (std::size_t k = 1; k < records.size(); ++k) {
            const Extended x = records[k].x, y = records[k].y;
            const DevicePoint device = WorldToDevice(view, type, x, y);
            const WorldPoint back = DeviceToWorld(view, type, device.px, device.py);
            ASSERT_TRUE(device.valid && back.valid) << D(x) << ", " << D(y);
            EXPECT_LE(std::fabs(logX ? std::log10(x / back.x) : x - back.x), pixelX * 1.000001L);
            EXPECT_LE(std::fabs(logY ? std::log10(back.y / y) : back.y - y), pixelY * 1.000001L);
            EXPECT_TRUE(Near(mapped[k], device)) << mapped[k].px << ", " << mapped[k].py;
        }
    }
    PlotView view = ViewFor(GridType::gtLinLin);
    TPointArray none;  // an implicit curve keeps no records to map
    MapPointList(view, GridType::gtLinLin, none);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(none));
}

TEST(DeviceToWorld, IsInvalidForUnknownGridTypesAndNonFiniteResults) {
    for (GridType type : {static_cast<GridType>(3), static_cast<GridType>(11)})
        EXPECT_FALSE(DeviceToWorld(ViewFor(GridType::gtLinLin), type, 100, 100).valid) << int(type);
    // Not clamped: a pixel far right of the area still has its world value.
    const WorldPoint far = DeviceToWorld(ViewFor(GridType::gtLinLin), GridType::gtLinLin, 30010, 5);
    EXPECT_TRUE(far.valid);
    EXPECT_NEAR(D(far.x), 1495, 1e-9);  // 30000 px / 20 px per unit - 5
    EXPECT_NEAR(D(far.y), 8, 1e-12);
    PlotView empty = ViewFor(GridType::gtLinLin);
    empty.plotWidth = 0;  // 0 / 0 at the left margin
    EXPECT_FALSE(DeviceToWorld(empty, GridType::gtLinLin, 10, 50).valid);
    PlotView negative = ViewFor(GridType::gtLogLin);
    negative.xmin = -1;  // log10 of a negative ratio
    EXPECT_FALSE(DeviceToWorld(negative, GridType::gtLogLin, 100, 50).valid);
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
        EXPECT_TRUE(Near(TFeldfty{0, 0, alone.px, alone.py, alone.valid}, c.alone))
            << alone.px << ", " << alone.py;
        const Extended good = HorizontalLogarithmic(c.type) || VerticalLogarithmic(c.type) ? 10 : 0;
        TPointArray points = Records({{good, good}, {c.x, c.y}, {good * 10, good * 10}});
        MapPointList(view, c.type, points);
        const auto& r = std::get<std::vector<TFeldfty>>(points);
        EXPECT_TRUE(Near(r[1], c.inList)) << r[1].px << ", " << r[1].py;
        EXPECT_TRUE(r[0].valid && Near(r[2], WorldToDevice(view, c.type, r[2].x, r[2].y)));
    }
}

// An empty range is widened by a tenth of its minimum, 0..10 where that faults; a
// non-positive logarithmic bound becomes the floor (1e-20 for a floor <= 0 on x), a
// maximum ten times the floor (10 on x). Floors of 1 play no part.
TEST(MapPointList, WidensEmptyRangesAndRepairsNonPositiveLogarithmicBounds) {
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
        TPointArray points = Records({{before.xmin, before.ymin}});
        MapPointList(view, type, points);
        ExpectWindow(view, after);
        const TFeldfty& p = std::get<std::vector<TFeldfty>>(points)[0];
        EXPECT_TRUE(p.valid || floorX != 1) << "the flat curve is drawn";
        // The first row's flat line at 5 lies 0.45 / 0.95 of the way down: 147.1.
        if (&before == &std::get<1>(cases[0])) {
            EXPECT_EQ(p.py, 147);
        }
    }
}

TEST(FixLogMinima, RepairsOnlyTheLogarithmicAxes) {
    // type, xmin, ymin before and after, with the floor 0.5 for y
    const Extended cases[][5] = {{Ordinal(GridType::gtLinLin), -1, -1, -1, -1},
                                 {Ordinal(GridType::gtLinLog), -1, 0, -1, 0.5L},
                                 {Ordinal(GridType::gtLogLin), 0, -1, 1e-20L, -1},
                                 {Ordinal(GridType::gtDbDb), -2, -3, 1e-20L, 0.5L},
                                 {Ordinal(GridType::gtLogLog), 2, 3, 2, 3}};
    for (const auto& [type, xmin, ymin, newXmin, newYmin] : cases) {
        PlotView view{.logFloorY = 0.5L};
        view.xmin = xmin;
        view.ymin = ymin;
        FixLogMinima(view, static_cast<GridType>(static_cast<int>(type)));
        EXPECT_TRUE(view.xmin == newXmin && view.ymin == newYmin) << D(type);
    }
}

// No positive coordinate: the floors take the window's minimum before the fit, or 1e-5
// when that is below 1e-18.
TEST(ScanExtents, FallsBackForUnknownFloors) {
    // saved xmin and ymin, then the floors
    const Extended cases[][4] = {
        {2, 3, 2, 3}, {0, -7, 1e-5L, 1e-5L}, {1e-19L, 1e-18L, 1e-5L, 1e-18L}};
    for (const auto& [savedXmin, savedYmin, floorX, floorY] : cases) {
        PlotView view;
        view.xmin = view.ymin = view.logFloorX = view.logFloorY = kRangeUnset;
        view.xmax = view.ymax = -kRangeUnset;
        view.savedXmin = savedXmin;
        view.savedYmin = savedYmin;
        ScanExtents(view, {Records({{-1, -2}, {0, 0}})});
        EXPECT_TRUE(view.logFloorX == floorX && view.logFloorY == floorY) << D(savedXmin);
        ExpectWindow(view, {-1, 0, -2, 0});
    }
}

std::unique_ptr<TFktItem> Item(bool shown, bool valid, bool reference, TPointArray main,
                               TPointArray preview = {}) {
    auto item = std::make_unique<TFktItem>();
    item->Darstellung = shown;
    item->valid = valid;
    item->Referenz = reference;
    item->FeldListenListeM.push_back(std::move(main));
    item->FeldListenListeP.push_back(std::move(preview));
    return item;
}

// The fit takes the valid points of the shown items the mode asks for, of either record
// class, and the smallest positive x and y as the logarithmic floors.
TEST(ComputeViewRange, FitsTheWindowAsTheScaleModeSaysOrKeepsItWhenNothingIsFound) {
    DisplayList items;
    items.push_back(
        Item(true, true, false, Records({{1, 10}, {2, 50}}), Records({{-50, -5}, {50, 5}})));
    items[0]->FeldListenListeM.push_back(Records({{-100, 1e-9L}}, false));  // undefined
    items[0]->FeldListenListeM.emplace_back();  // an implicit curve's array
    items.push_back(Item(true, true, true, Records<TFeldftxtyt>({{-3, -4}, {4, 30}}),
                         Records({{0, 0}, {1, 1}})));
    items.push_back(Item(false, true, true, Records({{-1000, 1000}}), Records({{-1000, 1000}})));
    items.push_back(Item(true, false, true, Records({{-1000, 1000}}), Records({{-1000, 1000}})));
    const std::tuple<ScaleMode, SurfaceKind, Window, Extended, Extended> cases[] = {
        // clang-format off
        {ScaleMode::smUserDefined, SurfaceKind::Main, {-1.5L, 1.5L, -1.5L, 1.5L}, 1e-5L, 1e-5L},  // as typed
        {ScaleMode::smUserDefined, SurfaceKind::Preview, {-50, 50, -5, 5}, 1, 1},  // the preview: all curves
        {ScaleMode::smReference, SurfaceKind::Main, {-3, 4, -4, 30}, 4, 30},  // the reference only
        {ScaleMode::smGlobal, SurfaceKind::Main, {-3, 4, -4, 50}, 1, 10},  // hidden, invalid count not
        // clang-format on
    };
    test::RecordingNotifier messages;
    for (const auto& [mode, kind, window, floorX, floorY] : cases) {
        SCOPED_TRACE(std::to_string(Ordinal(mode)));
        PlotView view;
        ComputeViewRange(view, mode, items, kind, messages);
        ExpectWindow(view, window);
        EXPECT_TRUE(view.logFloorX == floorX && view.logFloorY == floorY);
        EXPECT_EQ(view.savedXmax, 1.5L) << "the window before the fit";
    }
    EXPECT_TRUE(messages.empty());
    PlotView view{.xmin = 7};
    ComputeViewRange(view, static_cast<ScaleMode>(3), items, SurfaceKind::Main, messages);
    EXPECT_EQ(messages.plain, std::vector<std::string>{"invalid scalemode"});
    EXPECT_TRUE(view.xmin == 7 && view.xmax == 1.5L && view.logFloorY == 1e-5L);

    // Only undefined points, or no items: the window stays, and the floors are not left at
    // the scan's "unknown", which a logarithmic axis would use as a bound.
    DisplayList undefined, nothing;
    undefined.push_back(Item(true, true, true, Records({{1, 2}, {3, 4}}, false)));
    for (const DisplayList* list : {&undefined, &nothing}) {
        PlotView kept{.logFloorY = 0.25L, .logFloorX = 0.25L};
        SetWindow(kept, {2, 3, -4, 40});
        ComputeViewRange(kept, list == &nothing ? ScaleMode::smGlobal : ScaleMode::smReference,
                         *list, SurfaceKind::Main, messages);
        ExpectWindow(kept, {2, 3, -4, 40});
        EXPECT_TRUE(kept.logFloorX == 0.25L && kept.logFloorY == 0.25L);
    }

    // A curve without positive values does not fix the floors before the next one is seen.
    DisplayList negativeFirst;
    negativeFirst.push_back(Item(true, true, false, Records({{-2, -3}, {-1, -1}})));
    negativeFirst.push_back(Item(true, true, false, Records({{0.5L, 0.25L}, {4, 8}})));
    PlotView fitted;
    ComputeViewRange(fitted, ScaleMode::smGlobal, negativeFirst, SurfaceKind::Main, messages);
    EXPECT_TRUE(fitted.logFloorX == 0.5L && fitted.logFloorY == 0.25L);
}

TEST(ValidateUserRanges, SwapsWidensAndRefusesWithoutTouchingTheView) {
    const std::tuple<RangeFields, Extended, Extended, Window> accepted[] = {
        {{"10", "1", "5", "-5", "2", "1"}, 1, 10, {-5, 5, 1, 2}},
        {{"3", "3", "0", "1", "0", "1"}, 3 - 1e-18L, 3 + 1e-18L, {0, 1, 0, 1}},
        {{"1,5", "2,5", "0,5", "1", "-1e3", "1E3"}, 1.5L, 2.5L, {0.5L, 1, -1000, 1000}},
    };
    for (const auto& [fields, phimin, phimax, window] : accepted) {
        PlotView view;
        ASSERT_TRUE(ValidateUserRanges(view, fields)) << fields.startValue;
        EXPECT_TRUE(view.phimin == phimin && view.phimax == phimax) << fields.startValue;
        ExpectWindow(view, window);
    }
    EXPECT_LT(std::get<1>(accepted[1]), 3) << "the widening survives extended precision";
    const std::pair<std::string RangeFields::*, const char*> bad[] = {
        {&RangeFields::ymax, "abc"},
        {&RangeFields::stopValue, "-INF"},
        {&RangeFields::ymin, "1e5000"},  // beyond the extended range
    };
    for (const auto& [field, text] : bad) {
        PlotView view{.phimin = 7};
        RangeFields fields{"0", "1", "2", "3", "4", "5"};
        fields.*field = text;
        EXPECT_FALSE(ValidateUserRanges(view, fields)) << text;
        EXPECT_TRUE(view.phimin == 7 && view.phimax == 10) << text;
        ExpectWindow(view, {-1.5L, 1.5L, -1.5L, 1.5L});
    }
}

// The arrows' and sliders' plain zooms and pans are pinned by the session tests; these are
// the edges.
TEST(ShiftLinearAndShiftLog, ZoomAndPanByAFractionOfTheRangeShown) {
    const auto decades = [](Extended exponent) { return std::pow(10.0L, exponent); };
    struct Case {
        bool logarithmic;
        Extended min, max, f;
        bool zoom;
        Extended newMin, newMax;
        const char* reason;
    };
    const Case cases[] = {
        // clang-format off
        {false, 5, 5, 0.2L, true, 5 - 1e-8L, 5 + 1e-8L, "moved by 1e-8 and swapped back"},
        {false, 0, 10, 0.6L, true, 4, 6, "zooming past the middle swaps"},
        {true, 1, 1000, 5, true, decades(0.6L), decades(2.4L), "t = 3 / 5"},
        {true, 0, -10, 5, false, decades(-16.5L), decades(4.5L), "1e-20..10, t = 21 / 6"},
        {true, 0, 1000, 0, true, 0, 1000, "a slider released at its centre moves nothing"},
        // clang-format on
    };
    for (const Case& c : cases) {
        Extended min = c.min, max = c.max;
        (c.logarithmic ? ShiftLog : ShiftLinear)(min, max, c.f, c.zoom);
        EXPECT_NEAR(D(min), D(c.newMin), 1e-12 * std::fabs(D(c.newMin))) << c.reason;
        EXPECT_NEAR(D(max), D(c.newMax), 1e-12 * std::fabs(D(c.newMax))) << c.reason;
    }
}

}  // namespace
}  // namespace pc
