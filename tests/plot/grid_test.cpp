#include "plot/grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_test_support.h"
#include "catalogue/configuration_file.h"
#include "catalogue/notifier.h"
#include "plot/view.h"

namespace pc {
namespace {

using MessageLog = test::RecordingNotifier;

// Six pixels per character and ten per line, whatever the font.
class FixedMeasure : public TextMeasure {
  public:
    std::int32_t Width(std::string_view text) const override {
        return 6 * static_cast<std::int32_t>(text.size());
    }
    std::int32_t Height(std::string_view /*text*/) const override { return 10; }
};

constexpr TColor kZero = 0x111111;
constexpr TColor kMain = 0x222222;
constexpr TColor kHelp = 0x333333;
constexpr TColor kRed = 0x0000FF;  // 0x00BBGGRR

// Every colour and width different, so each line tells which rule made it.
PlotLook Look() {
    PlotLook look;
    look.colourZeroAxes = kZero;
    look.colourMainGrid = kMain;
    look.colourHelpGrid = kHelp;
    look.widthXAxis = 5;
    look.widthYAxis = 4;
    look.widthMainGrid = 2;
    look.widthHelpGrid = 1;
    return look;
}

// A 500 x 400 plot area at (3, 3).
PlotView View(Extended xmin, Extended xmax, Extended ymin, Extended ymax) {
    PlotView view;
    view.plotWidth = 500;
    view.plotHeight = 400;
    view.plotRight = 503;
    view.plotBottom = 403;
    view.xmin = xmin;
    view.xmax = xmax;
    view.ymin = ymin;
    view.ymax = ymax;
    return view;
}

struct Built {
    std::vector<TLineitem> grid;
    std::int32_t pendingError = 0;
    std::vector<std::string> messages;
    PlotView view;
};

Built Build(PlotView view, std::uint8_t gridType, const PlotLook& look = Look()) {
    const FixedMeasure measure;
    MessageLog notifier;
    Built built;
    built.grid.push_back(TLineitem{});  // a stale item from the last build
    GridContext context{view, gridType, look, measure, built.pendingError, notifier};
    BuildGrid(context, built.grid);
    built.messages = notifier.plain;
    built.view = view;
    return built;
}

bool IsHorizontal(const TLineitem& item) {
    return item.shape == kShapeLine && item.y1 == item.y2 && item.x1 != item.x2;
}
bool IsVertical(const TLineitem& item) {
    return item.shape == kShapeLine && item.x1 == item.x2 && item.y1 != item.y2;
}

std::vector<TLineitem> Select(const std::vector<TLineitem>& grid,
                              const std::function<bool(const TLineitem&)>& keep) {
    std::vector<TLineitem> selected;
    for (const TLineitem& item : grid) {
        if (keep(item))
            selected.push_back(item);
    }
    return selected;
}

std::vector<std::string> Labels(const std::vector<TLineitem>& items) {
    std::vector<std::string> labels;
    for (const TLineitem& item : items) labels.push_back(item.labelText);
    return labels;
}

// The line a linear or dB builder is expected to make.
struct Expected {
    std::int32_t position;  // py of a horizontal line, px of a vertical one
    TColor colour;
    std::int32_t width;
    std::uint8_t kind;
    const char* label;
};

void ExpectLines(const std::vector<TLineitem>& items, const std::vector<Expected>& expected,
                 bool horizontal, std::int32_t tolerance = 0) {
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t k = 0; k < items.size(); ++k) {
        const TLineitem& item = items[k];
        const Expected& e = expected[k];
        SCOPED_TRACE("line " + std::to_string(k) + " " + e.label);
        EXPECT_NEAR(horizontal ? item.y1 : item.x1, e.position, tolerance);
        EXPECT_EQ(item.colour, e.colour);
        EXPECT_EQ(item.width, e.width);
        EXPECT_EQ(item.kind, e.kind);
        EXPECT_EQ(item.labelText, e.label);
        if (horizontal) {
            EXPECT_EQ(item.x1, 3);
            EXPECT_EQ(item.x2, 503);
            EXPECT_EQ(item.labelX, 4);
            EXPECT_EQ(item.labelY, item.y1 - 3);
            EXPECT_EQ(item.labelAxis, kLabelVerticalAxis);
        } else {
            EXPECT_EQ(item.y1, 3);
            EXPECT_EQ(item.y2, 403);
            EXPECT_EQ(item.labelX, item.x1 - 3 * static_cast<std::int32_t>(item.labelText.size()));
            EXPECT_EQ(item.labelY, 4);
            EXPECT_EQ(item.labelAxis, kLabelHorizontalAxis);
        }
    }
}

// x and y from 0 to 10: step 2 from -2 to 10 (12 on the vertical axis), of which -2 and
// 12 lie outside; help lines at the odd values. px = 3 + 50 v, py = 403 - 40 v.
TEST(BuildGrid, LinearAxesFromZeroToTen) {
    const Built built = Build(View(0, 10, 0, 10), gtLinLin);
    EXPECT_EQ(built.pendingError, 0);
    EXPECT_TRUE(built.messages.empty());
    ASSERT_EQ(built.grid.size(), 22u);
    const std::vector<TLineitem> rows(built.grid.begin(), built.grid.begin() + 11);
    const std::vector<TLineitem> columns(built.grid.begin() + 11, built.grid.end());
    ExpectLines(rows,
                {{403, kZero, 5, 0, "0"},  // the x axis in the x axis' width
                 {323, kMain, 2, 0, "2"},
                 {243, kMain, 2, 0, "4"},
                 {163, kMain, 2, 0, "6"},
                 {83, kMain, 2, 0, "8"},
                 {3, kMain, 2, 0, "10"},
                 {363, kHelp, 1, 2, ""},
                 {283, kHelp, 1, 2, ""},
                 {203, kHelp, 1, 2, ""},
                 {123, kHelp, 1, 2, ""},
                 {43, kHelp, 1, 2, ""}},
                true);
    ExpectLines(columns,
                {{3, kZero, 4, 0, "0"},  // the y axis
                 {103, kMain, 2, 0, "2"},
                 {203, kMain, 2, 0, "4"},
                 {303, kMain, 2, 0, "6"},
                 {403, kMain, 2, 0, "8"},
                 {503, kMain, 2, 0, "10"},
                 {53, kHelp, 1, 2, ""},
                 {153, kHelp, 1, 2, ""},
                 {253, kHelp, 1, 2, ""},
                 {353, kHelp, 1, 2, ""},
                 {453, kHelp, 1, 2, ""}},
                false);
}

TEST(BuildGrid, LinearAndDbLinesLieInsideThePlotArea) {
    struct Case {
        std::uint8_t type;
        Extended xmin, xmax, ymin, ymax;
    };
    const Case cases[] = {
        {gtLinLin, 0.5L, 9.5L, -0.3L, 0.7L}, {gtLinLin, -1e6L, 3e6L, 1e-9L, 7e-9L},
        {gtLinDb, -3, 3, 0.02L, 35},         {gtDbLin, 0.02L, 35, -3, 3},
        {gtDbDb, 1e-3L, 1e6L, 7, 7e8L},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + ": " + std::to_string(double(c.xmin)));
        const Built built = Build(View(c.xmin, c.xmax, c.ymin, c.ymax), c.type);
        EXPECT_GT(built.grid.size(), 8u);
        for (const TLineitem& item : built.grid) {
            EXPECT_TRUE(item.x1 >= 3 && item.x2 <= 503 && item.y1 >= 3 && item.y2 <= 403)
                << item.x1 << "," << item.y1 << " " << item.x2 << "," << item.y2;
        }
    }
}

TEST(BuildGrid, GridVisibleAndZeroWidthsDropGridLinesButNeverTheZeroAxes) {
    // -5..5 on both axes: main lines at -4..4, help lines at -5..5.
    struct Case {
        bool gridVisible;
        std::int32_t mainWidth, helpWidth;
        std::size_t main, help;
    };
    const Case cases[] = {{false, 2, 1, 0, 0}, {true, 0, 1, 0, 12}, {true, 2, 0, 8, 0}};
    for (const Case& c : cases) {
        PlotLook look = Look();
        look.gridVisible = c.gridVisible;
        look.widthMainGrid = c.mainWidth;
        look.widthHelpGrid = c.helpWidth;
        const Built built = Build(View(-5, 5, -5, 5), gtLinLin, look);
        const auto zero = Select(built.grid, [](const TLineitem& i) { return i.colour == kZero; });
        ASSERT_EQ(zero.size(), 2u);
        EXPECT_EQ(zero[0].y1, 203);
        EXPECT_EQ(zero[0].width, 5);
        EXPECT_EQ(zero[1].x1, 253);
        EXPECT_EQ(zero[1].width, 4);
        EXPECT_EQ(Select(built.grid, [](const TLineitem& i) { return i.colour == kMain; }).size(),
                  c.main);
        EXPECT_EQ(Select(built.grid, [](const TLineitem& i) { return i.colour == kHelp; }).size(),
                  c.help);
    }
}

std::vector<TLineitem> Decades(const std::vector<TLineitem>& items) {
    return Select(items, [](const TLineitem& i) { return i.labelStyle == 1; });
}

// 1..1000 is three decades: the 15-line template in each, then 1000 itself.
TEST(BuildGrid, LogarithmicAxisOverThreeDecades) {
    PlotLook hidden = Look();
    hidden.gridVisible = false;  // logarithmic lines stay regardless
    for (const PlotLook& look : {Look(), hidden}) {
        const Built built = Build(View(0, 10, 1, 1000), gtLinLog, look);
        EXPECT_EQ(built.pendingError, 0);
        const auto rows = Select(built.grid, IsHorizontal);
        ASSERT_EQ(rows.size(), 46u);
        EXPECT_TRUE(IsHorizontal(built.grid.front())) << "the vertical axis is built first";
        const auto decades = Decades(rows);
        EXPECT_EQ(Labels(decades), (std::vector<std::string>{"1E0", "1E1", "1E2", "1E3"}));
        const std::int32_t rowsOfDecades[] = {403, 269, 136, 3};  // 3 + (3 - e) * 400 / 3
        for (std::size_t k = 0; k < decades.size(); ++k) {
            EXPECT_NEAR(decades[k].y1, rowsOfDecades[k], 1);
            EXPECT_EQ(decades[k].colour, kRed);
            EXPECT_EQ(decades[k].kind, 0);
            EXPECT_EQ(decades[k].labelY, decades[k].y1 - 3);
            EXPECT_EQ(decades[k].labelAxis, kLabelVerticalAxis);
        }
        for (const TLineitem& item : rows) EXPECT_EQ(item.width, 2);
        // 1.0 1.2 1.4 1.6 1.8 2.0 2.5 3.0 3.5 4.0 5.0 6.0 ...
        EXPECT_EQ(rows[5].labelText, "2.0");
        EXPECT_EQ(rows[5].kind, 1);
        EXPECT_EQ(rows[5].colour, 0x000000u);
        EXPECT_EQ(rows[5].labelStyle, 3);
        EXPECT_EQ(rows[6].labelText, "2.5");
        EXPECT_EQ(rows[6].kind, 2);
        EXPECT_EQ(rows[6].colour, 0x555555u);
        EXPECT_TRUE(rows[6].labelVisible);
        EXPECT_FALSE(rows[11].labelVisible) << "6.0 is not labelled at this density";
    }

    // Horizontally the first decade writes its mantissas in the general form.
    const Built built = Build(View(1, 1000, 0, 10), gtLogLin);
    const auto columns = Select(built.grid, IsVertical);
    ASSERT_EQ(columns.size(), 46u);
    EXPECT_EQ(Labels(Decades(columns)), (std::vector<std::string>{"1E0", "1E1", "1E2", "1E3"}));
    EXPECT_EQ(columns[0].x1, 3);
    EXPECT_EQ(columns[0].labelX, 3 - 9);
    EXPECT_EQ(columns[0].labelY, 4);
    EXPECT_EQ(columns[45].x1, 503);
    EXPECT_EQ(columns[5].labelText, "2");
    EXPECT_EQ(columns[20].labelText, "2.0");
}

// Under a tenth of a decade the ticks are linear: step 2 from 98 to 112, helps between.
TEST(BuildGrid, LogarithmicAxisUnderATenthOfADecadeIsLinear) {
    const auto main = [](const TLineitem& i) { return i.kind == 0; };
    const auto help = [](const TLineitem& i) { return i.kind == 2; };

    const Built across = Build(View(100, 110, 0, 10), gtLogLin);
    const auto columns = Select(across.grid, IsVertical);
    EXPECT_EQ(Labels(Select(columns, main)),
              (std::vector<std::string>{"98", "100", "102", "104", "106", "108", "110", "112"}));
    const auto helpColumns = Select(columns, help);
    EXPECT_EQ(helpColumns.size(), 8u);
    for (const TLineitem& item : columns) {
        EXPECT_EQ(item.colour, kHelp);
        EXPECT_EQ(item.labelVisible, item.kind == 0);
    }
    EXPECT_EQ(Select(columns, main)[1].x1, 3) << "100 is the left edge";

    const Built up = Build(View(0, 10, 100, 110), gtLinLog);
    EXPECT_EQ(Labels(Select(Select(up.grid, IsHorizontal), main)),
              (std::vector<std::string>{"98.0", "100.0", "102.0", "104.0", "106.0", "108.0",
                                        "110.0", "112.0"}));
}

// 0.01..100 is -40..40 dB: step 20, the 0 dB line in the middle.
TEST(BuildGrid, DbAxesLabelInDecibelsAndDrawTheZeroAxis) {
    const Built vertical = Build(View(0, 10, 0.01L, 100), gtLinDb);
    ExpectLines(Select(vertical.grid, IsHorizontal),
                {{403, kMain, 2, 0, "-40 dB"},  // py = 3 + (2 - d / 20) * 100
                 {303, kMain, 2, 0, "-20 dB"},
                 {203, kZero, 5, 0, "0 dB"},
                 {103, kMain, 2, 0, "20 dB"},
                 {3, kMain, 2, 0, "40 dB"},
                 {353, kHelp, 1, 2, ""},
                 {253, kHelp, 1, 2, ""},
                 {153, kHelp, 1, 2, ""},
                 {53, kHelp, 1, 2, ""}},
                true, 1);

    const Built horizontal = Build(View(0.01L, 100, 0, 10), gtDbLin);
    EXPECT_EQ(horizontal.pendingError, 0);
    ExpectLines(Select(horizontal.grid, IsVertical),
                {{3, kMain, 2, 0, "-40 dB"},  // px = 3 + (d / 20 + 2) * 125
                 {128, kMain, 2, 0, "-20 dB"},
                 {253, kZero, 4, 0, "0"},
                 {378, kMain, 2, 0, "20 dB"},
                 {503, kMain, 2, 0, "40 dB"},
                 {65, kHelp, 1, 2, ""},
                 {190, kHelp, 1, 2, ""},
                 {315, kHelp, 1, 2, ""},
                 {440, kHelp, 1, 2, ""}},
                false, 1);
}

TEST(BuildGrid, PendingErrorsForAxesThatCannotBeDrawn) {
    struct Case {
        std::uint8_t type;
        Extended xmin, ymin, floorY;
        std::int32_t error;
        bool rows, columns;  // which lines are still built
        const char* reason;
    };
    const Case cases[] = {
        // clang-format off
        {gtDbLin, 0, 1, 1, 7, true, false, "a dB x axis needs a positive minimum"},
        {gtDbDb, -1, 1, 1, 7, true, false, "the dB y axis is still built"},
        {gtLinLog, 1, -1, 0, 1, false, true, "the floor cannot repair ymin"},
        {gtLinLog, 1, 0, -5, 1, false, true, ""},
        {gtLogLin, 0, 1, 1, 1, true, false, "no floor repairs a horizontal log axis"},
        {gtLogLog, -2, 1, 1, 1, true, false, ""},
        {gtLinLog, 1, -1, 0.1L, 0, true, true, "repaired by the floor"},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " " + c.reason);
        PlotView view = View(c.xmin, 100, c.ymin, 100);
        view.logFloorY = c.floorY;
        const Built built = Build(view, c.type);
        EXPECT_EQ(built.pendingError, c.error);
        EXPECT_EQ(Select(built.grid, IsHorizontal).empty(), !c.rows);
        EXPECT_EQ(Select(built.grid, IsVertical).empty(), !c.columns);
    }
    const Built repaired = Build(
        [] {
            PlotView view = View(0, 10, -1, 100);
            view.logFloorY = 0.1L;
            return view;
        }(),
        gtLinLog);
    EXPECT_EQ(repaired.view.ymin, 0.1L) << "the repair stays in the view";
}

Extended Degrees(const TLineitem& ray) {
    // Device y grows downwards.
    return std::atan2(Extended(ray.y1 - ray.y2), Extended(ray.x2 - ray.x1)) * 180 /
           std::numbers::pi_v<Extended>;
}

// -10..10 square: rings every 2 from 0 to 16 (R = 14.1), rays every 15°, then the axes.
// Pixels: 20 per unit, the origin at (203, 203).
TEST(BuildGrid, PolarWithTheOriginInsideTheWindow) {
    PlotView view = View(-10, 10, -10, 10);
    view.plotWidth = view.plotHeight = 400;
    view.plotRight = view.plotBottom = 403;
    const Built built = Build(view, gtPolar);
    EXPECT_TRUE(built.messages.empty());
    const auto ellipse = [](const TLineitem& i) { return i.shape == kShapeEllipse; };
    const auto rings =
        Select(built.grid, [&](const TLineitem& i) { return ellipse(i) && i.kind == 0; });
    const auto helpRings =
        Select(built.grid, [&](const TLineitem& i) { return ellipse(i) && i.kind == 1; });
    ASSERT_EQ(rings.size(), 9u);
    EXPECT_EQ(helpRings.size(), 9u) << "1, 3, ..., 17";
    EXPECT_EQ(rings[1].labelText, "2.00000");
    EXPECT_EQ(rings[8].labelText, "16.00000");
    EXPECT_EQ(rings[1].x1, 163);  // the box of (-2, -2)..(2, 2)
    EXPECT_EQ(rings[1].y1, 243);
    EXPECT_EQ(rings[1].x2, 243);
    EXPECT_EQ(rings[1].y2, 163);
    EXPECT_EQ(rings[1].colour, kMain);
    EXPECT_EQ(helpRings[0].colour, kHelp);
    EXPECT_EQ(helpRings[0].x2 - helpRings[0].x1, 40) << "radius 1";

    const auto lines = Select(built.grid, [](const TLineitem& i) { return i.shape == kShapeLine; });
    ASSERT_EQ(lines.size(), 24u + 4);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        SCOPED_TRACE("line " + std::to_string(k));
        EXPECT_EQ(lines[k].x1, 203);
        EXPECT_EQ(lines[k].y1, 203);
        const bool axis = k >= 24;
        const Extended angle = axis ? 90 * (k - 24) : 15 * k;
        EXPECT_NEAR(double(std::fmod(Degrees(lines[k]) + 360, 360)), double(angle), 0.5);
        EXPECT_EQ(lines[k].colour, axis ? kZero : kMain);
        EXPECT_EQ(lines[k].width, axis ? 5 : 2);
    }
    EXPECT_EQ(lines[24].x2, 485);  // R = 14.14 units, 282.8 pixels
    EXPECT_EQ(built.grid.back().y2, 485);

    PlotLook hidden = Look();
    hidden.gridVisible = false;
    const Built bare = Build(view, gtPolar, hidden);
    EXPECT_EQ(bare.grid.size(), 4u) << "only the axes";
}

// 3..6 by 4..7: the corner (3, 4) is 5 from the origin, the farthest 9.2; the corners'
// angles run from 33.7° to 66.8°.
TEST(BuildGrid, PolarWindowInOneQuadrant) {
    PlotView view = View(3, 6, 4, 7);
    view.plotWidth = view.plotHeight = 400;
    view.plotRight = view.plotBottom = 403;
    const Built built = Build(view, gtPolar);
    const auto rings = Select(
        built.grid, [](const TLineitem& i) { return i.shape == kShapeEllipse && i.kind == 0; });
    EXPECT_EQ(Labels(rings), (std::vector<std::string>{"4.00000", "5.00000", "6.00000", "7.00000",
                                                       "8.00000", "9.00000", "10.00000"}));
    const auto rays = Select(
        built.grid, [](const TLineitem& i) { return i.shape == kShapeLine && i.colour == kMain; });
    ASSERT_EQ(rays.size(), 7u) << "every 5° from 33.7° below 66.8°";
    EXPECT_NEAR(double(Degrees(rays[0])), 33.69, 0.5);
    EXPECT_NEAR(double(Degrees(rays[6])), 63.69, 0.5);
    EXPECT_EQ(Select(built.grid, [](const TLineitem& i) { return i.colour == kZero; }).size(), 4u);
}

// Each builder's lines form one run, in the order the grid type names.
TEST(BuildGrid, BuildsTheAxesInEachGridTypesOrder) {
    const std::pair<std::uint8_t, const char*> cases[] = {
        {gtLinLin, "HV"}, {gtLinLog, "HV"}, {gtLinDb, "HV"}, {gtLogLin, "HV"},
        {gtLogLog, "VH"}, {gtLogDb, "HV"},  {gtDbLin, "HV"}, {gtDbLog, "HV"},
        {gtDbDb, "VH"},   {3, ""},          {11, ""},
    };
    for (const auto& [type, order] : cases) {
        const Built built = Build(View(2, 1e4L, 2, 1e4L), type);
        std::string runs;
        for (const TLineitem& item : built.grid) {
            const char axis = IsHorizontal(item) ? 'H' : IsVertical(item) ? 'V' : '?';
            if (runs.empty() || runs.back() != axis)
                runs += axis;
        }
        EXPECT_EQ(runs, order) << int(type);
    }
}

// Ranges whose steps vanish against their values, or that hold no step at all, end.
TEST(BuildGrid, DegenerateRangesTerminate) {
    constexpr Extended inf = std::numeric_limits<Extended>::infinity();
    struct Case {
        std::uint8_t type;
        Extended xmin, xmax, ymin, ymax;
    };
    const Case cases[] = {
        {gtLinLin, 1e20L, 1e20L + 1, 1e20L, 1e20L + 1},  // + 1 is lost in 64 bits
        {gtLinLin, 1e20L, 1e20L + 1e4L, -1e20L, -1e20L + 1e4L},
        {gtLinLin, 5, 5, 0, 0},
        {gtLinLin, -1e4000L, 1e4000L, 1e-300L, 2e-300L},
        {gtLinLog, 1e20L, 1e20L, 1, 1 + 1e-17L},
        {gtLogLog, 1e-4000L, 1e4000L, 1000, 1},
        {gtDbDb, 5, 5, 5, 5},
        {gtPolar, 1e20L, 1e20L + 1, 1e20L, 1e20L + 1},
        {gtPolar, 0, 0, 0, 0},
        {gtLinLog, 0, 1, 1, inf},
    };
    for (const Case& c : cases) {
        const Built built = Build(View(c.xmin, c.xmax, c.ymin, c.ymax), c.type);
        EXPECT_LE(built.grid.size(), 50000u) << int(c.type);
    }
    // An endless run of decades is cut with a message.
    const Built endless = Build(View(0, 1, 1, inf), gtLinLog);
    EXPECT_EQ(endless.messages, std::vector<std::string>{"iii"});
}

TEST(LinearLabel, ZeroGeneralOrExponentForm) {
    struct Case {
        Extended value, range;
        const char* text;
    };
    const Case cases[] = {
        {0, 10, "0"},
        {1e-10L, 10, "0"},  // below range * 1e-8
        {2, 10, "2"},
        {-2.5L, 10, "-2.5"},
        {0.001L, 1, "0.001"},
        {1e7L, 1e8L, "10000000"},
        {1e-7L, 1e-6L, "1E-7"},
        {1e8L, 1e9L, "1.00000E8"},
        {-1.5e9L, 1e10L, "-1.50000E9"},
        {5e-8L, 1e-6L, "5.00000E-8"},
        {-2.5e-12L, 1e-10L, "-2.50000E-12"},
    };
    for (const Case& c : cases) EXPECT_EQ(LinearLabel(c.value, c.range), c.text) << c.text;
}

}  // namespace
}  // namespace pc
