#include "plot/view.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "catalogue/catalogue_test_support.h"
#include "catalogue/catalogue_types.h"
#include "catalogue/fkt_item.h"
#include "catalogue/notifier.h"

namespace pc {
namespace {

using MessageLog = test::RecordingNotifier;

const std::uint8_t kKnownTypes[] = {gtLinLin, gtLinLog, gtLinDb, gtLogLin, gtLogLog,
                                    gtLogDb,  gtDbLin,  gtDbLog, gtDbDb,   gtPolar};

// A 400 x 300 plot area at (10, 5). Linear axes show x -5..15 (20 px per unit) and
// y -2..8 (30 px per unit); logarithmic ones 1..1e5 (80 px and 60 px per decade).
PlotView ViewFor(std::uint8_t gridType) {
    PlotView view;
    view.marginLeft = 10;
    view.marginTop = 5;
    view.plotWidth = 400;
    view.plotHeight = 300;
    view.plotRight = 410;
    view.plotBottom = 305;
    view.xmin = HorizontalLogarithmic(gridType) ? 1 : -5;
    view.xmax = HorizontalLogarithmic(gridType) ? 1e5L : 15;
    view.ymin = VerticalLogarithmic(gridType) ? 1 : -2;
    view.ymax = VerticalLogarithmic(gridType) ? 1e5L : 8;
    return view;
}

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

// Random points inside the window, mapped one by one and as a list of either record
// class, and back.
TEST(WorldToDevice, DeviceToWorldReturnsWithinOnePixelOnEveryGridType) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (std::uint8_t type : kKnownTypes) {
        SCOPED_TRACE("grid type " + std::to_string(type));
        PlotView view = ViewFor(type);
        const bool logX = HorizontalLogarithmic(type);
        const bool logY = VerticalLogarithmic(type);
        // One pixel in world units, in decades on a logarithmic axis.
        const Extended pixelX = (logX ? 5 : view.xmax - view.xmin) / view.plotWidth;
        const Extended pixelY = (logY ? 5 : view.ymax - view.ymin) / view.plotHeight;
        std::vector<TFeldfty> plain(200);
        for (TFeldfty& p : plain) {
            const Extended u = unit(random);
            const Extended w = unit(random);
            p.x = logX ? std::pow(10.0L, 5 * u) : view.xmin + 20 * u;
            p.y = logY ? std::pow(10.0L, 5 * w) : view.ymin + 10 * w;
            p.valid = true;
        }
        std::vector<TFeldftxtyt> withT(plain.size());
        for (std::size_t k = 0; k < plain.size(); ++k) static_cast<TFeldfty&>(withT[k]) = plain[k];
        TPointArray first = plain;
        TPointArray second = withT;
        MapPointList(view, type, first);
        MapPointList(view, type, second);
        for (std::size_t k = 0; k < plain.size(); ++k) {
            const Extended x = plain[k].x;
            const Extended y = plain[k].y;
            const DevicePoint device = WorldToDevice(view, type, x, y);
            ASSERT_TRUE(device.valid) << D(x) << ", " << D(y);
            const WorldPoint back = DeviceToWorld(view, type, device.px, device.py);
            ASSERT_TRUE(back.valid);
            const Extended errorX = logX ? std::log10(x / back.x) : x - back.x;
            const Extended errorY = logY ? std::log10(back.y / y) : back.y - y;
            EXPECT_LE(std::fabs(errorX), pixelX * (1 + 1e-12L)) << D(x);
            EXPECT_LE(std::fabs(errorY), pixelY * (1 + 1e-12L)) << D(y);

            // The list computes its factors once; rounding may differ by a pixel.
            const TFeldfty& a = std::get<std::vector<TFeldfty>>(first)[k];
            const TFeldftxtyt& b = std::get<std::vector<TFeldftxtyt>>(second)[k];
            EXPECT_TRUE(a.valid);
            EXPECT_NEAR(a.px, device.px, 1);
            EXPECT_NEAR(a.py, device.py, 1);
            EXPECT_TRUE(b.valid && b.px == a.px && b.py == a.py);
        }
    }
    // An implicit curve keeps no records; there is nothing to map.
    PlotView view = ViewFor(gtLinLin);
    TPointArray none;
    MapPointList(view, gtLinLin, none);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(none));
}

TEST(DeviceToWorld, IsInvalidForUnknownGridTypesAndNonFiniteResults) {
    for (std::uint8_t type : {std::uint8_t{3}, std::uint8_t{11}, std::uint8_t{127}}) {
        EXPECT_FALSE(DeviceToWorld(ViewFor(gtLinLin), type, 100, 100).valid) << int(type);
    }
    // Not clamped: a pixel far right of the area still has its world value.
    const WorldPoint far = DeviceToWorld(ViewFor(gtLinLin), gtLinLin, 30010, 5);
    ASSERT_TRUE(far.valid);
    EXPECT_NEAR(D(far.x), 1495, 1e-9);  // 30000 px / 20 px per unit - 5
    EXPECT_NEAR(D(far.y), 8, 1e-12);

    PlotView empty = ViewFor(gtLinLin);
    empty.plotWidth = 0;  // 0 / 0 at the left margin
    EXPECT_FALSE(DeviceToWorld(empty, gtLinLin, 10, 50).valid);
    PlotView negative = ViewFor(gtLogLin);
    negative.xmin = -1;  // log10 of a negative ratio
    EXPECT_FALSE(DeviceToWorld(negative, gtLogLin, 100, 50).valid);
}

TEST(WorldToDevice, ClampsInvalidatesAndKeepsTheRatioRule) {
    struct Case {
        std::uint8_t type;
        Extended x, y;
        bool valid;
        std::int32_t px, py;
        const char* reason;
    };
    const Case cases[] = {
        // clang-format off
        {gtLinLin, 5, 1e6L, true, 210, -30000, "py clamped"},
        {gtLinLin, -1e6L, -1e6L, true, -30000, 30000, "both clamped on lin-lin"},
        {gtPolar, 1e9L, 3, true, 30000, 155, "polar maps and clamps like lin-lin"},
        {gtLinLog, 1e4L, 100, true, 200110, 185, "px is not clamped on other types"},
        {gtLinLog, 0, 1e-600L, true, 110, 30000, "605 decades below ymax"},
        {gtLogLin, 1e400L, 3, true, 32010, 155, "log10(1e400) * 80 + 10, unclamped"},
        {gtLogLin, 1e-400L, 3, true, -31990, 155, ""},
        {gtLinDb, 1e9L, 10, false, 0, 0, "px beyond int32 has no pixel"},
        {gtLogLog, 100, 1e24L, false, 0, 0, "ymax / y = 1e-19 is below 1e-18"},
        {gtDbDb, 100, 1e22L, true, 170, -1015, "ymax / y = 1e-17 passes"},
        {gtLinLog, 5, 1e24L, true, 210, -1135, "the ratio rule is for two log axes only"},
        {gtLogLin, 0, 3, false, 0, 0, "log10(0)"},
        {gtDbLin, -1, 3, false, 0, 0, "log10 of a negative value"},
        {gtLinLog, 5, 0, false, 0, 0, "ymax / 0"},
        {gtLinLog, 5, -1, false, 0, 0, ""},
        {gtDbDb, 10, 0, false, 0, 0, "ymax / 0 passes the ratio rule but has no log"},
        {gtLogDb, 0, 10, false, 0, 0, ""},
        {gtLogDb, 10, -5, false, 0, 0, ""},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + ": " + std::to_string(D(c.x)) + ", " +
                     std::to_string(D(c.y)) + " " + c.reason);
        const DevicePoint p = WorldToDevice(ViewFor(c.type), c.type, c.x, c.y);
        EXPECT_EQ(p.valid, c.valid);
        if (!c.valid || !p.valid)
            continue;
        // Logarithms of powers of ten may round either side of the integer; a clamp may not.
        EXPECT_NEAR(p.px, c.px, std::abs(c.px) == kDeviceLimit ? 0 : 1);
        EXPECT_NEAR(p.py, c.py, std::abs(c.py) == kDeviceLimit ? 0 : 1);
    }
}

template <class Record>
std::vector<Record> Records(std::initializer_list<std::pair<Extended, Extended>> xy,
                            bool valid = true) {
    std::vector<Record> records;
    for (const auto& [x, y] : xy) {
        Record r;
        r.x = x;
        r.y = y;
        r.valid = valid;
        records.push_back(r);
    }
    return records;
}

TEST(MapPointList, WidensAnEmptyRangeAndFallsBackToZeroToTen) {
    struct Case {
        std::uint8_t type;
        Window before, after;
        const char* reason;
    };
    const Case cases[] = {
        // clang-format off
        {gtLinLin, {-5, 15, 5, 5}, {-5, 15, 4.5L, 5.45L}, "5 - 0.5, then 5 + 4.5 / 10"},
        {gtLinLin, {-5, 15, 0, 0}, {-5, 15, 0, 10}, "a tenth of 0 widens nothing: 0..10"},
        {gtLinLin, {-5, 15, -5, -5}, {-5, 15, -5.5L, -4.45L}, "negative: widened, not inverted"},
        {gtPolar, {2, 2, -2, 8}, {1.8L, 2.18L, -2, 8}, "the horizontal axis alike"},
        {gtLinLin, {0, 0, -2, 8}, {0, 10, -2, 8}, ""},
        {gtLogLin, {1, 1e5L, 5, 5}, {1, 1e5L, 0, 10}, "no widening here, only the fallback"},
        {gtLinLog, {3, 3, 1, 1e5L}, {0, 10, 1, 1e5L}, ""},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " " + c.reason);
        PlotView view = ViewFor(c.type);
        SetWindow(view, c.before);
        TPointArray points = Records<TFeldfty>({{c.before.xmin, c.before.ymin}});
        MapPointList(view, c.type, points);
        ExpectWindow(view, c.after);
        EXPECT_TRUE(std::get<std::vector<TFeldfty>>(points)[0].valid) << "the flat curve is drawn";
    }
    // The flat line at 5 lies 0.45 / 0.95 of the way down: 0.45 * 300 / 0.95 + 5 = 147.1.
    PlotView view = ViewFor(gtLinLin);
    view.ymin = view.ymax = 5;
    TPointArray points = Records<TFeldfty>({{0, 5}});
    MapPointList(view, gtLinLin, points);
    EXPECT_EQ(std::get<std::vector<TFeldfty>>(points)[0].py, 147);
}

TEST(MapPointList, PointsWithoutAPixelBecomeGapsAndTheirNeighboursStay) {
    struct Case {
        std::uint8_t type;
        Extended x, y;
        bool valid;
    };
    // Each bad point sits between two good ones: (10, 10) and (100, 100) when an axis is
    // logarithmic, else twice (0, 0).
    const Case cases[] = {
        {gtLinLog, 1, -1, false},    {gtLinLog, 1, 0, false},      {gtLinDb, 1, 0, false},
        {gtLogLin, 0, 1, false},     {gtLogLin, 1e-19L, 1, false},  // x / xmin <= 1e-18
        {gtLogLin, 1e-17L, 1, true}, {gtLogLog, 0, 10, false},     {gtLogLog, 10, -3, false},
        {gtDbLog, -1, 10, false},    {gtDbDb, 10, 0, false},       {gtLinLin, 3, NAN, false},
        {gtPolar, NAN, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + ": " + std::to_string(D(c.x)) + ", " +
                     std::to_string(D(c.y)));
        PlotView view = ViewFor(c.type);
        const bool logarithmic = HorizontalLogarithmic(c.type) || VerticalLogarithmic(c.type);
        const Extended good = logarithmic ? 10 : 0;
        TPointArray points = Records<TFeldfty>({{good, good}, {c.x, c.y}, {good * 10, good * 10}});
        MapPointList(view, c.type, points);
        const auto& records = std::get<std::vector<TFeldfty>>(points);
        EXPECT_TRUE(records[0].valid);
        EXPECT_EQ(records[1].valid, c.valid);
        EXPECT_TRUE(records[2].valid);
        const DevicePoint expected = WorldToDevice(view, c.type, records[2].x, records[2].y);
        EXPECT_NEAR(records[2].px, expected.px, 1);
        EXPECT_NEAR(records[2].py, expected.py, 1);
    }
    // A point the sampler found undefined stays a gap on every type.
    for (std::uint8_t type : kKnownTypes) {
        PlotView view = ViewFor(type);
        TPointArray points = Records<TFeldftxtyt>({{10, 10}}, false);
        MapPointList(view, type, points);
        EXPECT_FALSE(std::get<std::vector<TFeldftxtyt>>(points)[0].valid) << int(type);
    }
}

TEST(MapPointList, ReplacesNonPositiveLogarithmicBoundsByTheFloors) {
    struct Case {
        std::uint8_t type;
        Window before;
        Extended floorX, floorY;
        Window after;
    };
    const Case cases[] = {
        // clang-format off
        {gtLinLog, {-5, 15, -1, 0}, 7, 0.01L, {-5, 15, 0.01L, 0.1L}},  // ymax: floor * 10
        {gtLinDb, {-5, 15, 0, 50}, 7, 0.5L, {-5, 15, 0.5L, 50}},
        {gtLogLin, {-3, -1, -2, 8}, 0.5L, 7, {0.5L, 10, -2, 8}},        // xmax: 10
        {gtLogLin, {0, 100, -2, 8}, 0, 7, {1e-20L, 100, -2, 8}},        // floor 0: 1e-20
        {gtDbLin, {-1, 100, -2, 8}, -2, 7, {1e-20L, 100, -2, 8}},
        {gtLogLog, {0, 0, -1, -2}, 0.1L, 0.01L, {0.1L, 1, 0.01L, 0.1L}},
        {gtDbDb, {-4, 50, 0, 60}, 0.2L, 0.3L, {0.2L, 50, 0.3L, 60}},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type));
        PlotView view = ViewFor(c.type);
        SetWindow(view, c.before);
        view.logFloorX = c.floorX;
        view.logFloorY = c.floorY;
        TPointArray points = Records<TFeldfty>({{1, 1}});
        MapPointList(view, c.type, points);
        ExpectWindow(view, c.after);
    }
}

TEST(MapPointList, HugeCoordinatesClampInsteadOfWrapping) {
    struct Case {
        std::uint8_t type;
        Extended x, y;
        std::int32_t px, py;
    };
    const Case cases[] = {
        {gtLinLin, 1e30L, -1e30L, 30000, 30000},   {gtPolar, -1e30L, 1e30L, -30000, -30000},
        {gtLinLog, 1e30L, 1e-4000L, 30000, 30000},  // 4005 decades below ymax
        {gtLogLin, 1e4000L, 1e30L, 30000, -30000}, {gtLogLog, 1e-4000L, 1e4000L, -30000, -30000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type));
        PlotView view = ViewFor(c.type);
        TPointArray points = Records<TFeldfty>({{c.x, c.y}});
        MapPointList(view, c.type, points);
        const TFeldfty& p = std::get<std::vector<TFeldfty>>(points)[0];
        EXPECT_TRUE(p.valid);
        EXPECT_EQ(p.px, c.px);
        EXPECT_EQ(p.py, c.py);
    }
}

TEST(FixLogMinima, RepairsOnlyTheLogarithmicAxes) {
    struct Case {
        std::uint8_t type;
        Extended xmin, ymin, newXmin, newYmin;
    };
    const Case cases[] = {
        {gtLinLin, -1, -1, -1, -1},    {gtPolar, 0, 0, 0, 0},          {gtLinLog, -1, 0, -1, 0.5L},
        {gtLogLin, 0, -1, 1e-20L, -1}, {gtDbDb, -2, -3, 1e-20L, 0.5L}, {gtLogLog, 2, 3, 2, 3},
    };
    for (const Case& c : cases) {
        PlotView view;
        view.xmin = c.xmin;
        view.ymin = c.ymin;
        view.logFloorY = 0.5L;
        FixLogMinima(view, c.type);
        EXPECT_EQ(view.xmin, c.newXmin) << int(c.type);
        EXPECT_EQ(view.ymin, c.newYmin) << int(c.type);
    }
}

TEST(SquareWorldWindow, GrowsTheShorterSideAtItsMaximumAndSquaresTheArea) {
    PlotView wide = ViewFor(gtPolar);  // 20 x 10 world, 400 x 300 pixels
    SquareWorldWindow(wide);
    ExpectWindow(wide, {-5, 15, -2, 18});
    EXPECT_EQ(wide.plotWidth, 300);
    EXPECT_EQ(wide.plotHeight, 300);
    EXPECT_EQ(wide.plotRight, 310);
    EXPECT_EQ(wide.plotBottom, 305);

    PlotView tall = ViewFor(gtPolar);
    SetWindow(tall, {0, 2, -1, 5});
    tall.plotWidth = 200;
    tall.plotHeight = 500;
    SquareWorldWindow(tall);
    EXPECT_EQ(tall.xmax, 6);
    EXPECT_EQ(tall.ymax, 5);
    EXPECT_EQ(tall.plotHeight, 200);
    EXPECT_EQ(tall.plotBottom, 205);
}

TPointArray Fty(std::initializer_list<std::pair<Extended, Extended>> xy, bool valid = true) {
    return Records<TFeldfty>(xy, valid);
}

PlotView Unset() {
    PlotView view;
    view.xmin = view.ymin = view.logFloorX = view.logFloorY = kRangeUnset;
    view.xmax = view.ymax = -kRangeUnset;
    return view;
}

TEST(ScanExtents, TakesValidPointsAndFallsBackForUnknownFloors) {
    PlotView view = Unset();
    TPointArrayList lists;
    lists.push_back(Fty({{-2, 5}, {4, -1}, {0.5L, 0.25L}}));
    lists.push_back(Records<TFeldftxtyt>({{7, 0.1L}}));
    lists.push_back(Fty({{100, 1000}, {-100, 1e-9L}}, false));  // undefined points count not
    lists.emplace_back();                                       // an implicit curve's array
    ScanExtents(view, lists);
    ExpectWindow(view, {-2, 7, -1, 5});
    EXPECT_EQ(view.logFloorX, 0.5L);
    EXPECT_EQ(view.logFloorY, 0.1L);

    struct Case {
        Extended savedXmin, savedYmin, floorX, floorY;
    };
    // No positive coordinate: the floors take the window's minimum before the fit, or
    // 1e-5 when that is below 1e-18.
    const Case cases[] = {{2, 3, 2, 3}, {0, -7, 1e-5L, 1e-5L}, {1e-19L, 1e-18L, 1e-5L, 1e-18L}};
    for (const Case& c : cases) {
        PlotView empty = Unset();
        empty.savedXmin = c.savedXmin;
        empty.savedYmin = c.savedYmin;
        ScanExtents(empty, {Fty({{-1, -2}, {0, 0}})});
        EXPECT_EQ(empty.logFloorX, c.floorX) << D(c.savedXmin);
        EXPECT_EQ(empty.logFloorY, c.floorY) << D(c.savedYmin);
        EXPECT_EQ(empty.xmin, -1);
        EXPECT_EQ(empty.ymax, 0);
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

TEST(ComputeViewRange, FitsTheWindowAsTheScaleModeSays) {
    DisplayList items;
    items.push_back(Item(true, true, false, Fty({{1, 10}, {2, 20}}), Fty({{-50, -5}, {50, 5}})));
    items.push_back(Item(true, true, true, Fty({{3, -4}, {4, 30}}), Fty({{0, 0}, {1, 1}})));
    items.push_back(Item(false, true, true, Fty({{-1000, 1000}}), Fty({{-1000, 1000}})));
    items.push_back(Item(true, false, true, Fty({{-1000, 1000}}), Fty({{-1000, 1000}})));
    struct Case {
        std::uint8_t mode;
        SurfaceKind kind;
        Window window;
        const char* reason;
    };
    const Case cases[] = {
        // clang-format off
        {kScaleModeUser, SurfaceKind::Main, {-1.5L, 1.5L, -1.5L, 1.5L}, "the user's window"},
        {kScaleModeUser, SurfaceKind::Preview, {-50, 50, -5, 5}, "the preview shows all curves"},
        {kScaleModeReference, SurfaceKind::Main, {3, 4, -4, 30}, "the shown reference only"},
        {kScaleModeReference, SurfaceKind::Preview, {0, 1, 0, 1}, ""},
        {kScaleModeGlobal, SurfaceKind::Main, {1, 4, -4, 30}, "hidden and invalid items count not"},
        {kScaleModeGlobal, SurfaceKind::Preview, {-50, 50, -5, 5}, ""},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + " " + c.reason);
        PlotView view;
        MessageLog messages;
        ComputeViewRange(view, c.mode, items, c.kind, messages);
        ExpectWindow(view, c.window);
        EXPECT_EQ(view.savedXmax, 1.5L) << "the window before the fit";
        EXPECT_TRUE(messages.plain.empty());
    }

    PlotView view;
    view.xmin = 7;
    MessageLog messages;
    ComputeViewRange(view, 3, items, SurfaceKind::Main, messages);
    EXPECT_EQ(messages.plain, std::vector<std::string>{"invalid scalemode"});
    EXPECT_EQ(view.xmin, 7);
    EXPECT_EQ(view.xmax, 1.5L);
    EXPECT_EQ(view.logFloorY, 1e-5L);
}

TEST(ComputeViewRange, NoValidPointKeepsThePreviousWindow) {
    DisplayList undefined;
    undefined.push_back(Item(true, true, true, Fty({{1, 2}, {3, 4}}, false)));
    const DisplayList nothing;
    for (const DisplayList* items : std::array<const DisplayList*, 2>{&undefined, &nothing}) {
        for (std::uint8_t mode : {kScaleModeReference, kScaleModeGlobal}) {
            PlotView view;
            SetWindow(view, {2, 3, -4, 40});
            view.logFloorX = view.logFloorY = 0.25L;
            MessageLog messages;
            ComputeViewRange(view, mode, *items, SurfaceKind::Main, messages);
            ExpectWindow(view, {2, 3, -4, 40});
            // Not left at the scan's "unknown", which a logarithmic axis would use as a bound.
            EXPECT_EQ(view.logFloorX, 0.25L);
            EXPECT_EQ(view.logFloorY, 0.25L);
        }
    }
}

TEST(ValidateUserRanges, SwapsWidensAndRefusesWithoutTouchingTheView) {
    struct Case {
        RangeFields fields;
        Extended phimin, phimax;
        Window window;
    };
    const Case accepted[] = {
        {{"10", "1", "5", "-5", "2", "1"}, 1, 10, {-5, 5, 1, 2}},
        {{"3", "3", "0", "1", "0", "1"}, 3 - 1e-18L, 3 + 1e-18L, {0, 1, 0, 1}},
        {{"1,5", "2,5", "0,5", "1", "-1e3", "1E3"}, 1.5L, 2.5L, {0.5L, 1, -1000, 1000}},
    };
    for (const Case& c : accepted) {
        PlotView view;
        ASSERT_TRUE(ValidateUserRanges(view, c.fields)) << c.fields.startValue;
        EXPECT_EQ(view.phimin, c.phimin);
        EXPECT_EQ(view.phimax, c.phimax);
        ExpectWindow(view, c.window);
    }
    EXPECT_LT(accepted[1].phimin, 3) << "the widening survives extended precision";

    const RangeFields good{"0", "1", "2", "3", "4", "5"};
    const std::pair<std::string RangeFields::*, const char*> bad[] = {
        {&RangeFields::ymax, "abc"},    {&RangeFields::startValue, ""},
        {&RangeFields::xmin, "INF"},    {&RangeFields::stopValue, "-INF"},
        {&RangeFields::ymin, "1e5000"},  // beyond the extended range
    };
    for (const auto& [field, text] : bad) {
        PlotView view;
        view.phimin = 7;
        view.ymax = 9;
        RangeFields fields = good;
        fields.*field = text;
        EXPECT_FALSE(ValidateUserRanges(view, fields)) << text;
        EXPECT_EQ(view.phimin, 7) << text;
        EXPECT_EQ(view.phimax, 10) << text;
        EXPECT_EQ(view.xmin, -1.5L) << text;
        EXPECT_EQ(view.ymax, 9) << text;
    }
}

Extended Decades(Extended exponent) {
    return std::pow(10.0L, exponent);
}

TEST(ShiftLinearAndShiftLog, ZoomAndPanByAFractionOfTheRangeShown) {
    struct Case {
        bool logarithmic;
        Extended min, max, f;
        bool zoom;
        Extended newMin, newMax;
        const char* reason;
    };
    const Case cases[] = {
        // clang-format off
        {false, 0, 10, 0.2L, true, 2, 8, "20 % from each end"},
        {false, 2, 8, -0.2L, true, 0.8L, 9.2L, "and out again by 20 % of 6"},
        {false, 0, 10, 0.2L, false, 2, 12, ""},
        {false, 0, 10, -0.2L, false, -2, 8, ""},
        {false, 5, 5, 0.2L, false, 5 + 1e-8L, 5 + 1e-8L, "a zero-width range moves by 1e-8"},
        {false, 5, 5, 0.2L, true, 5 - 1e-8L, 5 + 1e-8L, "and is swapped back when zooming"},
        {false, 0, 10, 0.6L, true, 4, 6, "zooming past the middle swaps"},
        {true, 1, 1000, 5, true, Decades(0.6L), Decades(2.4L), "t = 3 / 5"},
        {true, 1, 100, -5, true, Decades(-0.4L), Decades(2.4L), "zooming out"},
        {true, 1, 1000, -5, false, Decades(-0.5L), Decades(2.5L), "down: t = 3 / -5 / 1.2"},
        {true, 1, 1000, 5, false, Decades(0.5L), Decades(3.5L), ""},
        {true, 0, -10, 5, false, Decades(-16.5L), Decades(4.5L), "1e-20..10, t = 21 / 6"},
        // A slider released at its centre: nothing moves, not even a bound to repair.
        {true, 0, 1000, 0, true, 0, 1000, ""},
        {true, 0, 1000, 0, false, 0, 1000, ""},
        // clang-format on
    };
    for (const Case& c : cases) {
        Extended min = c.min;
        Extended max = c.max;
        (c.logarithmic ? ShiftLog : ShiftLinear)(min, max, c.f, c.zoom);
        EXPECT_NEAR(D(min), D(c.newMin), 1e-12 * std::fabs(D(c.newMin))) << c.reason;
        EXPECT_NEAR(D(max), D(c.newMax), 1e-12 * std::fabs(D(c.newMax))) << c.reason;
    }
}

TEST(GridTypeUnits, OnlyDbAxesHaveAUnit) {
    const char* horizontal[] = {"", "", "", "", "", "", "", "dB", "dB", "dB", "", ""};
    const char* vertical[] = {"", "", "dB", "", "", "", "dB", "", "", "dB", "", ""};
    for (std::uint8_t type = 0; type < 12; ++type) {
        EXPECT_EQ(HorizontalUnit(type), horizontal[type]) << int(type);
        EXPECT_EQ(VerticalUnit(type), vertical[type]) << int(type);
    }
}

}  // namespace
}  // namespace pc
