#include "plot/view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "plot_test_support.h"

namespace pc {
namespace {

using test::D;
using test::ExpectWindow;
using test::Records;
using test::SetWindow;
using test::Window;

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
    }
    EXPECT_TRUE(messages.empty());

    // Only undefined points: the window stays, and the floors are not left at the scan's
    // "unknown", which a logarithmic axis would use as a bound.
    DisplayList undefined;
    undefined.push_back(Item(true, true, true, Records({{1, 2}, {3, 4}}, false)));
    PlotView kept{.logFloorY = 0.25L, .logFloorX = 0.25L};
    SetWindow(kept, {2, 3, -4, 40});
    ComputeViewRange(kept, ScaleMode::smReference, undefined, SurfaceKind::Main, messages);
    ExpectWindow(kept, {2, 3, -4, 40});
    EXPECT_TRUE(kept.logFloorX == 0.25L && kept.logFloorY == 0.25L);

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
    const std::pair<std::string RangeFields::*, const char*> bad[] = {
        {&RangeFields::stopValue, "-INF"},
        {&RangeFields::ymin, "1e5000"},  // beyond the extended range
    };
    for (const auto& [field, text] : bad) {
        PlotView view{.phimin = 7};
        RangeFields fields{"0", "1", "2", "3", "4", "5"};
        fields.*field = text;
        EXPECT_FALSE(ValidateUserRanges(view, fields)) << text;
        EXPECT_TRUE(view.phimin == 7 && view.phimax == 10 && view.xmax == 1.5L) << text;
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
        {true, 0.01L, 1, 4, true, decades(-1.5L), decades(-0.5L), "a maximum of 1 stays: t = 2 / 4"},
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
