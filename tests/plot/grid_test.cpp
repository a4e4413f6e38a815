#include "plot/grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <iterator>
#include <limits>
#include <numbers>
#include <string_view>
#include <tuple>

#include "plot_test_support.h"

namespace pc {
namespace {

using test::Names;

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

// Every colour and width different, so each line tells which rule made it.
PlotLook Look(bool gridVisible = true) {
    return {.widthXAxis = 5,
            .widthYAxis = 4,
            .widthMainGrid = 2,
            .widthHelpGrid = 1,
            .colourZeroAxes = kZero,
            .colourMainGrid = kMain,
            .colourHelpGrid = kHelp,
            .gridVisible = gridVisible,
            .font = {}};
}

// A 500 x 400 plot area at (3, 3).
PlotView View(Extended xmin, Extended xmax, Extended ymin, Extended ymax, std::int32_t w = 500,
              std::int32_t h = 400) {
    return test::Area(w, h, 3, 3, {xmin, xmax, ymin, ymax});
}

struct Built {
    std::vector<TLineitem> grid;
    GridError error = GridError::None;
    Names messages;
    PlotView view;
};

Built Build(PlotView view, GridType gridType, const PlotLook& look = Look(), bool classic = true,
            bool degrees = true) {
    const FixedMeasure measure;
    test::RecordingNotifier notifier;
    Built built;
    built.grid.push_back(TLineitem{});  // a stale item from the last build
    GridContext context{view, gridType, look, measure, notifier, classic, degrees};
    built.error = BuildGrid(context, built.grid);
    built.messages = notifier.plain;
    built.view = view;
    return built;
}

std::vector<TLineitem> Select(const std::vector<TLineitem>& grid,
                              const std::function<bool(const TLineitem&)>& keep) {
    std::vector<TLineitem> selected;
    std::copy_if(grid.begin(), grid.end(), std::back_inserter(selected), keep);
    return selected;
}

// The horizontal (or vertical) lines of a grid of the 500 x 400 area, each checked to
// run across the area with its label where the drawing expects it: a vertical-axis label 3
// above its row, a horizontal-axis label centred on its column.
std::vector<TLineitem> Lines(const std::vector<TLineitem>& grid, bool horizontal) {
    const auto lines = Select(grid, [&](const TLineitem& i) {
        return i.shape == kShapeLine && (horizontal ? i.y1 == i.y2 : i.x1 == i.x2);
    });
    for (const TLineitem& i : lines) {
        const auto halfWidth = static_cast<std::int32_t>(3 * i.labelText.size());
        if (horizontal) {
            EXPECT_TRUE(i.x1 == 3 && i.x2 == 503 && i.labelX == 4 && i.labelY == i.y1 - 3 &&
                        i.labelAxis == kLabelVerticalAxis)
                << "row " << i.y1 << " " << i.labelText;
        } else {
            EXPECT_TRUE(i.y1 == 3 && i.y2 == 403 && i.labelX == i.x1 - halfWidth && i.labelY == 4 &&
                        i.labelAxis == kLabelHorizontalAxis)
                << "column " << i.x1 << " " << i.labelText;
        }
    }
    return lines;
}

// Each line as "position colour width/kind label": its row, or its column if vertical, and
// the colour as Z(ero axis), M(ain), H(elp), R(ed), K (black) or G(rey).
Names Summaries(const std::vector<TLineitem>& lines) {
    const std::pair<TColor, char> codes[] = {{kZero, 'Z'},    {kMain, 'M'},    {kHelp, 'H'},
                                             {0x0000FF, 'R'}, {0x000000, 'K'}, {0x555555, 'G'}};
    Names summaries;
    for (const TLineitem& line : lines) {
        char code = '?';
        for (const auto& [colour, letter] : codes) code = line.colour == colour ? letter : code;
        summaries.push_back(std::to_string(line.y1 == line.y2 ? line.y1 : line.x1) + " " + code +
                            std::to_string(line.width) + "/" + std::to_string(line.kind) +
                            (line.labelText.empty() ? "" : " " + line.labelText));
    }
    return summaries;
}

// x and y from 0 to 10: step 2 from -2 to 10 (12 on the vertical axis), of which -2 and
// 12 lie outside; help lines at the odd values. px = 3 + 50 v, py = 403 - 40 v. The axes
// take the zero-axis colour and the width of their own axis.
TEST(BuildGrid, LinearAxesFromZeroToTen) {
    const Built built = Build(View(0, 10, 0, 10), GridType::gtLinLin);
    EXPECT_TRUE(built.error == GridError::None && built.messages.empty());
    ASSERT_EQ(built.grid.size(), 22u);
    EXPECT_EQ(Summaries(Lines(built.grid, true)),
              (Names{"403 Z5/0 0", "323 M2/0 2", "243 M2/0 4", "163 M2/0 6", "83 M2/0 8",
                     "3 M2/0 10", "363 H1/2", "283 H1/2", "203 H1/2", "123 H1/2", "43 H1/2"}));
    EXPECT_EQ(Summaries(Lines(built.grid, false)),
              (Names{"3 Z4/0 0", "103 M2/0 2", "203 M2/0 4", "303 M2/0 6", "403 M2/0 8",
                     "503 M2/0 10", "53 H1/2", "153 H1/2", "253 H1/2", "353 H1/2", "453 H1/2"}));
}

// 0.01..100 is -40..40 dB: step 20, the 0 dB line in the middle, py = 3 + (2 - d / 20) * 100
// and px = 3 + (d / 20 + 2) * 125, the halves truncated. A horizontal dB axis labels its
// zero axis "0".
TEST(BuildGrid, DbAxesLabelInDecibelsAndDrawTheZeroAxis) {
    EXPECT_EQ(Summaries(Lines(Build(View(0, 10, 0.01L, 100), GridType::gtLinDb).grid, true)),
              (Names{"403 M2/0 -40 dB", "303 M2/0 -20 dB", "203 Z5/0 0 dB", "103 M2/0 20 dB",
                     "3 M2/0 40 dB", "353 H1/2", "253 H1/2", "153 H1/2", "53 H1/2"}));
    EXPECT_EQ(Summaries(Lines(Build(View(0.01L, 100, 0, 10), GridType::gtDbLin).grid, false)),
              (Names{"3 M2/0 -40 dB", "128 M2/0 -20 dB", "253 Z4/0 0", "378 M2/0 20 dB",
                     "503 M2/0 40 dB", "65 H1/2", "190 H1/2", "315 H1/2", "440 H1/2"}));
}

// -5..5 on both axes: main lines at -4..4, help lines at -5..5.
TEST(BuildGrid, GridVisibleAndZeroWidthsDropGridLinesButNeverTheZeroAxes) {
    const int cases[][5] = {
        // grid visible, main width, help width, then the main and help lines left
        {false, 2, 1, 0, 0},
        {true, 0, 1, 0, 12},
        {true, 2, 0, 8, 0}};
    for (const auto& [visible, mainWidth, helpWidth, mainLines, helpLines] : cases) {
        PlotLook look = Look(visible);
        look.widthMainGrid = mainWidth;
        look.widthHelpGrid = helpWidth;
        const Built built = Build(View(-5, 5, -5, 5), GridType::gtLinLin, look);
        const auto count = [&](TColor colour) {
            return static_cast<int>(
                Select(built.grid, [&](const TLineitem& i) { return i.colour == colour; }).size());
        };
        const auto zero = Select(built.grid, [](const TLineitem& i) { return i.colour == kZero; });
        ASSERT_EQ(zero.size(), 2u);
        EXPECT_TRUE(zero[0].y1 == 203 && zero[0].width == 5 && zero[1].x1 == 253 &&
                    zero[1].width == 4);
        EXPECT_TRUE(count(kMain) == mainLines && count(kHelp) == helpLines)
            << mainWidth << helpWidth;
    }
}

// 1..1000 is three decades: the 15-line template in each, then 1000 itself, the decades at
// py = 3 + (3 - e) * 400 / 3 truncated. The lines stay when the grid is hidden.
TEST(BuildGrid, LogarithmicAxisOverThreeDecades) {
    const auto rows = Lines(Build(View(0, 10, 1, 1000), GridType::gtLinLog).grid, true);
    ASSERT_EQ(rows.size(), 46u);
    // 1.0 1.2 1.4 1.6 1.8 2.0 2.5 3.0 3.5 4.0 5.0 6.0 ...; 2.0 at 403 - log10(2) * 400 / 3.
    EXPECT_EQ(Summaries({rows[0], rows[5], rows[6], rows[11], rows[15], rows[30], rows[45]}),
              (Names{"403 R2/0 1E0", "362 K2/1 2.0", "349 G2/2 2.5", "299 K2/1 6.0", "269 R2/0 1E1",
                     "136 R2/0 1E2", "3 R2/0 1E3"}));
    EXPECT_TRUE(rows[0].labelStyle == 1 && rows[5].labelStyle == 3 && rows[6].labelVisible);
    EXPECT_FALSE(rows[11].labelVisible) << "6.0 is not labelled at this density";
    EXPECT_EQ(
        Summaries(Lines(Build(View(0, 10, 1, 1000), GridType::gtLinLog, Look(false)).grid, true)),
        Summaries(rows));
}

// Under a tenth of a decade the ticks are linear: step 2 from 98 to 112, helps between,
// all in the help colour, only the main ones labelled.
TEST(BuildGrid, LogarithmicAxisUnderATenthOfADecadeIsLinear) {
    const auto main = [](const TLineitem& i) { return i.kind == 0; };
    const auto columns = Lines(Build(View(100, 110, 0, 10), GridType::gtLogLin).grid, false);
    std::vector<std::string> labels;
    for (const TLineitem& item : Select(columns, main)) labels.push_back(item.labelText);
    EXPECT_EQ(labels, (Names{"98", "100", "102", "104", "106", "108", "110", "112"}));
    EXPECT_EQ(columns.size(), 16u);
    for (const TLineitem& item : columns) {
        EXPECT_TRUE(item.colour == kHelp && (item.kind == 0 || item.kind == 2) &&
                    item.labelVisible == (item.kind == 0));
    }
    EXPECT_EQ(Select(columns, main)[1].x1, 3) << "100 is the left edge";
    const auto rows =
        Select(Lines(Build(View(0, 10, 100, 110), GridType::gtLinLog).grid, true), main);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0].labelText + " " + rows[7].labelText, "98.0 112.0");
}

TEST(BuildGrid, EachTypeBuildsBothAxesOrPendsAnErrorForOneThatCannotBeDrawn) {
    struct Case {
        GridType type;
        Extended xmin, ymin, floorY;
        std::int32_t error;
        bool rows, columns;  // which lines are still built
        const char* reason;
    };
    const Case cases[] = {
        // clang-format off
        {GridType::gtDbLin, 0, 1, 1, 7, true, false, "a dB x axis needs a positive minimum"},
        {GridType::gtDbDb, -1, 1, 1, 7, true, false, "the dB y axis is still built"},
        {GridType::gtLinLog, 1, -1, 0, 1, false, true, "the floor cannot repair ymin"},
        {GridType::gtLogLog, -2, 1, 1, 1, true, false, "no floor repairs a horizontal log axis"},
        {GridType::gtLinLog, 1, -1, 0.1L, 0, true, true, "repaired by the floor, in the view"},
        {GridType::gtLogDb, 1, 1, 1, 0, true, true, "both axes, each by its own builder"},
        {GridType::gtDbLog, 1, 1, 1, 0, true, true, "both axes, each by its own builder"},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(Ordinal(c.type)) + " " + c.reason);
        PlotView view = View(c.xmin, 100, c.ymin, 100);
        view.logFloorY = c.floorY;
        const Built built = Build(view, c.type);
        EXPECT_EQ(static_cast<int>(built.error), c.error);
        EXPECT_EQ(Lines(built.grid, true).empty(), !c.rows);
        EXPECT_EQ(Lines(built.grid, false).empty(), !c.columns);
        EXPECT_TRUE(c.error != 0 || built.view.ymin == c.floorY) << "the floor is in the view";
    }
}

Extended Degrees(const TLineitem& ray) {
    // Device y grows downwards.
    return std::atan2(Extended(ray.y1 - ray.y2), Extended(ray.x2 - ray.x1)) * 180 /
           std::numbers::pi_v<Extended>;
}

bool Ring(const TLineitem& i) {
    return i.shape == kShapeEllipse && i.kind == 0;
}

// -10..10 square: rings every 2 from 0 to 14 (R = 14.1; 16 would miss the window), help
// rings at the odd radii, rays every 15°, then the axes. Pixels: 20 per unit, the origin
// at (203, 203).
TEST(BuildGrid, PolarWithTheOriginInsideTheWindow) {
    const PlotView view = View(-10, 10, -10, 10, 400, 400);
    const Built built = Build(view, GridType::gtPolar);
    EXPECT_TRUE(built.messages.empty());
    const auto rings = Select(built.grid, Ring);
    const auto helpRings = Select(
        built.grid, [](const TLineitem& i) { return i.shape == kShapeEllipse && i.kind == 1; });
    ASSERT_EQ(rings.size(), 8u);
    EXPECT_EQ(helpRings.size(), 7u) << "1, 3, ..., 13";
    EXPECT_EQ(rings[1].labelText + " " + rings[7].labelText, "2.00000 14.00000");
    // The box of (-2, -2)..(2, 2).
    EXPECT_TRUE(rings[1].x1 == 163 && rings[1].y1 == 243 && rings[1].x2 == 243 &&
                rings[1].y2 == 163 && rings[1].colour == kMain);
    EXPECT_TRUE(helpRings[0].x2 - helpRings[0].x1 == 40 && helpRings[0].colour == kHelp)
        << "radius 1";
    const auto lines = Select(built.grid, [](const TLineitem& i) { return i.shape == kShapeLine; });
    ASSERT_EQ(lines.size(), 24u + 4) << "the ray at 360° is the one at 0°";
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const bool axis = k >= 24;
        const Extended angle = axis ? 90 * (k - 24) : 15 * k;
        EXPECT_NEAR(double(std::fmod(Degrees(lines[k]) + 360, 360)), double(angle), 0.5) << k;
        EXPECT_TRUE(lines[k].x1 == 203 && lines[k].y1 == 203 &&
                    lines[k].colour == (axis ? kZero : kMain) && lines[k].width == (axis ? 5 : 2))
            << k;
    }
    EXPECT_EQ(lines[24].x2, 485);  // R = 14.14 units, 282.8 pixels
    EXPECT_EQ(built.grid.back().y2, 485);
    EXPECT_EQ(Build(view, GridType::gtPolar, Look(false)).grid.size(), 4u) << "only the axes";
}

// 3..6 by 4..7: the corner (3, 4) is 5 from the origin, the farthest 9.2; the corners'
// angles run from 33.7° to 66.8°. Rings and axes that cannot meet the window are left out:
// the rings 4 and 10 and all four axes.
TEST(BuildGrid, PolarWindowInOneQuadrant) {
    const Built built = Build(View(3, 6, 4, 7, 400, 400), GridType::gtPolar);
    std::string labels;
    for (const TLineitem& ring : Select(built.grid, Ring)) labels += ring.labelText + " ";
    EXPECT_EQ(labels, "5.00000 6.00000 7.00000 8.00000 9.00000 ");
    const auto rays = Select(
        built.grid, [](const TLineitem& i) { return i.shape == kShapeLine && i.colour == kMain; });
    ASSERT_EQ(rays.size(), 7u) << "every 5° from 33.7° below 66.8°";
    EXPECT_NEAR(double(Degrees(rays[0])), 33.69, 0.5);
    EXPECT_NEAR(double(Degrees(rays[6])), 63.69, 0.5);
    EXPECT_TRUE(Select(built.grid, [](const TLineitem& i) { return i.colour == kZero; }).empty());
}

// Far from the origin every ring is a circle of ten thousand million pixels: each becomes
// a bounded number of chords of its visible arc, cut to the window like every ray, so that
// nothing lies beyond the plot area and no huge circle is ever drawn or plotted.
TEST(BuildGrid, PolarFarFromTheOriginStaysInsideThePlotArea) {
    for (const Extended y : {0.0L, 5.0L}) {  // across the direction 0, and above it
        SCOPED_TRACE(static_cast<double>(y));
        const Built built =
            Build(View(1e10L, 1e10L + 2, y - 1, y + 1, 400, 400), GridType::gtPolar);
        ASSERT_FALSE(built.grid.empty());
        EXPECT_LE(built.grid.size(), 2000u);
        for (const TLineitem& item : built.grid) {
            EXPECT_EQ(item.shape, kShapeLine);
            for (const auto& [x, yy] : {std::pair{item.x1, item.y1}, std::pair{item.x2, item.y2}})
                EXPECT_TRUE(x >= 2 && x <= 404 && yy >= 2 && yy <= 404) << x << ", " << yy;
        }
        // A ring shows as the nearly straight arc it is: a vertical run of chords.
        const auto chords =
            Select(built.grid, [](const TLineitem& i) { return i.kind == 0 && i.colour == kMain; });
        ASSERT_FALSE(chords.empty());
        EXPECT_LE(std::abs(chords.front().x1 - chords.front().x2), 1);
    }
}

// Ranges whose steps vanish against their values, or that hold no step at all, end.
TEST(BuildGrid, DegenerateRangesTerminate) {
    const std::pair<GridType, test::Window> cases[] = {
        {GridType::gtLinLin, {1e20L, 1e20L + 1, 1e20L, 1e20L + 1}},  // + 1 is lost in 64 bits
        {GridType::gtLinLin, {1e20L, 1e20L + 1e4L, -1e20L, -1e20L + 1e4L}},
        {GridType::gtLinLin, {5, 5, 0, 0}},
        {GridType::gtLinLin, {-1e4000L, 1e4000L, 1e-300L, 2e-300L}},
        {GridType::gtLinLog, {1e20L, 1e20L, 1, 1 + 1e-17L}},
        {GridType::gtLogLog, {1e-4000L, 1e4000L, 1000, 1}},
        {GridType::gtDbDb, {5, 5, 5, 5}},
        {GridType::gtPolar, {1e20L, 1e20L + 1, 1e20L, 1e20L + 1}},
        {GridType::gtPolar, {0, 0, 0, 0}},
    };
    for (const auto& [type, window] : cases) {
        for (const bool classic : {true, false}) {
            EXPECT_LE(Build(test::Area(500, 400, 3, 3, window), type, Look(), classic).grid.size(),
                      50000u)
                << int(Ordinal(type)) << classic;
        }
    }
    // An endless run of decades is cut with a message.
    const Built endless =
        Build(View(0, 1, 1, std::numeric_limits<Extended>::infinity()), GridType::gtLinLog);
    EXPECT_EQ(endless.messages, Names{"iii"});
}

// The main rays of the new drawing: their angles in whole degrees and the labels shown.
struct Rays {
    std::vector<long> degrees;
    Names shown;
};

Rays NewRays(const PlotView& view, bool degrees = true) {
    Rays rays;
    for (const TLineitem& i : Build(view, GridType::gtPolar, Look(), false, degrees).grid) {
        if (i.labelAxis != kLabelAngle)
            continue;
        rays.degrees.push_back(std::lround(double(i.value * 180 / std::numbers::pi_v<Extended>)));
        if (i.labelVisible)
            rays.shown.push_back(i.labelText);
    }
    return rays;
}

// 5..7 by -1..1 sees the angles -11.3°..11.3°: rays every 5° across the direction 0,
// labelled beyond the ring 5.5, the outermost that all five labels fit beside. Around the
// origin 24 rays every 15° are labelled from 0 in every k-th, in degrees or twelfths of π.
TEST(BuildGrid, PolarRaysOfTheNewDrawingCoverTheirWedgeAndAreLabelled) {
    const Rays wedge = NewRays(View(5, 7, -1, 1, 400, 400));
    EXPECT_EQ(wedge.degrees, (std::vector<long>{350, 355, 0, 5, 10}));
    EXPECT_EQ(wedge.shown, (Names{"350°", "355°", "0°", "5°", "10°"}));
    for (const bool degrees : {true, false}) {
        const Rays rays = NewRays(View(-10, 10, -10, 10, 400, 400), degrees);
        ASSERT_EQ(rays.degrees.size(), 24u);
        EXPECT_EQ(rays.degrees[1] - rays.degrees[0], 15);
        for (const char* quarter : degrees ? std::array{"0°", "90°", "180°", "270°"}
                                           : std::array{"0", "π/2", "π", "3π/2"})
            EXPECT_NE(std::find(rays.shown.begin(), rays.shown.end(), quarter), rays.shown.end())
                << quarter;
    }
}

// Exact zeros and plain numbers are pinned by the axes' labels above.
TEST(LinearLabel, ZeroGeneralOrExponentForm) {
    const std::tuple<Extended, Extended, const char*> cases[] = {
        {1e-10L, 10, "0"},  // below range * 1e-8
        {1e7L, 1e8L, "10000000"},  {1e-7L, 1e-6L, "1E-7"},
        {1e8L, 1e9L, "1.00000E8"}, {-2.5e-12L, 1e-10L, "-2.50000E-12"},
    };
    for (const auto& [value, range, text] : cases) EXPECT_EQ(LinearLabel(value, range), text);
}

}  // namespace
}  // namespace pc
