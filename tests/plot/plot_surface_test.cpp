#include "plot/plot_surface.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "plot_test_support.h"

namespace pc::test {
namespace {

int CountNot(const QImage& image, QRect area, QRgb colour) {
    area = area.intersected(image.rect());
    return area.width() * area.height() - CountIn(image, area, colour);
}

// Pixels that differ between two images of one size inside `area`, or outside it.
int Changed(const QImage& a, const QImage& b, QRect area, bool inside) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            count += area.contains(x, y) == inside && a.pixel(x, y) != b.pixel(x, y);
    }
    return count;
}

QRect Box(int x, int y, int radius) {
    return QRect(x - radius, y - radius, 2 * radius + 1, 2 * radius + 1);
}

// The connected line ends at the valid neighbours 90 and 110 of an invalid point (in black
// and white, a red line is drawn black); all-points mode fills a dot at each valid point
// only, without joining them.
TEST(CurveRendering, InvalidPointsAreGaps) {
    Scene line;
    Samples samples;
    for (int dx = 10; dx <= 200; dx += 10) samples.push_back(line.At(dx, 100, dx != 100));
    line.Add({samples}, kRed);
    line.surface.look.blackWhite = true;
    const QImage& image = line.Draw();
    EXPECT_EQ(CountIn(image, image.rect(), kRedPixel), 0);
    const auto columns = [&](int from, int to) {
        return CountIn(image, QRect(line.Column(from), 0, to - from + 1, image.height()),
                       kBlackPixel);
    };
    EXPECT_TRUE(columns(10, 88) > 70 && columns(112, 200) > 80 && columns(92, 108) == 0);

    Scene dots;
    Samples points;
    for (int k = 0; k < 5; ++k) points.push_back(dots.At(40 + 30 * k, 100 + 10 * k, k != 2));
    dots.Add({points}, kRed, DisplayMode::bmallePunkte);
    const QImage& dotted = dots.Draw();
    int inBoxes = 0;
    for (int k = 0; k < 5; ++k) {
        const int x = dots.Column(40 + 30 * k), y = dots.Row(100 + 10 * k);
        EXPECT_EQ(dotted.pixel(x, y) == kRedPixel, k != 2) << "point " << k << " is filled";
        inBoxes += k == 2 ? 0 : CountIn(dotted, Box(x, y, 3), kRedPixel);
    }
    EXPECT_EQ(CountIn(dotted, dotted.rect(), kRedPixel), inBoxes) << "nothing joins the dots";
}

// On a screen of device pixel ratio 2 the image holds twice the pixels each way and a line
// is drawn into them, solid, rather than a blurred enlargement of a 1x picture.
TEST(CurveRendering, HighDensityScreensGetDevicePixels) {
    Scene scene;
    scene.surface.devicePixelRatio = 2;
    scene.surface.LayoutPlotArea(PanelGeometry{600, 400, 0, 0}, GridType::gtLinLin);
    SetWindow(scene.View(), {0, Extended(scene.W()), 0, Extended(scene.H())});
    scene.Add({{scene.At(10, 100), scene.At(200, 100)}}, kRed);
    const QImage& image = scene.Draw();
    EXPECT_EQ(image.width(), 2 * scene.surface.controlWidth);
    EXPECT_EQ(image.devicePixelRatio(), 2);
    const int row = 2 * scene.Row(100);
    const QRect band(2 * scene.Column(20), row - 4, 2 * 150, 9);
    EXPECT_EQ(CountIn(image, band, kRedPixel) + CountIn(image, band, kWhitePixel),
              band.width() * band.height())
        << "no blended pixels";
    EXPECT_GE(CountIn(image, band, kRedPixel), band.width()) << "at least a device row";
}

// A bar is W div 20 wide, as far as the twenty points are apart, centred on its point, so
// that neighbours meet and never overlap; it runs from the zero row (the plot's bottom on
// a logarithmic axis) to the point, clipped at the plot's edge, and keeps its colour in
// black and white.
TEST(CurveRendering, HistogramBarsRunFromTheZeroRowAndAreClippedAtThePlotEdge) {
    const Scene probe;
    const Extended H = probe.H();
    const std::int32_t h = probe.H();
    struct Case {
        const char* why;
        GridType gridType;
        Extended ymin, ymax, y;
        std::int32_t top, bottom;  // rows of the bar below the top margin, inclusive
    };
    const Case cases[] = {
        // clang-format off
        {"zero below the plot: the bar reaches the bottom edge", GridType::gtLinLin, 50, 50 + H, 50 + H - h / 2, h / 2, h - 1},
        // zero row: trunc(-(H - 100) * H / -H) = H - 100; y = 50 lies 150 below ymax
        {"zero inside the plot: the bar stands on its row", GridType::gtLinLin, -100, H - 100, 50, h - 150, h - 100},
        {"zero above the plot: the bar hangs from the top edge", GridType::gtLinLin, -H - 50, -50, -50 - Extended(h / 2), 0, h / 2},
        // log10(1000 / 10) * H / log10(1000 / 1) = 2H/3
        {"logarithmic axis, black and white: bars stand on the plot's bottom", GridType::gtLinLog, 1, 1000, 10, 2 * h / 3, h - 1},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Scene scene;
        SetWindow(scene.View(), {0, Extended(scene.W()), c.ymin, c.ymax});
        scene.surface.look.blackWhite = c.gridType == GridType::gtLinLog;
        // Twenty points, of which only the middle one is valid.
        Samples samples;
        for (int k = 0; k < 20; ++k)
            samples.push_back({Extended(k * scene.W() / 20), c.y, k == 10});
        scene.Add({samples}, kRed, DisplayMode::bmhisto);
        const QImage blank = scene.Image().copy();
        const QImage& image = scene.Draw(c.gridType);
        EXPECT_EQ(Changed(blank, image, scene.PlotArea(), false), 0);
        const int column = scene.Column(10 * scene.W() / 20), w = scene.W() / 20;
        const auto red = [&](int dx, int dy) {
            return image.pixel(column + dx, scene.Row(dy)) == kRedPixel;
        };
        // One pixel of play at an end inside the plot; an end clipped at its edge is exact.
        const int middle = (c.top + c.bottom) / 2;
        EXPECT_TRUE(red(0, c.top + 1) && red(0, middle) && red(0, c.bottom - 1));
        EXPECT_TRUE(c.top == 0 ? red(0, 0) : !red(0, c.top - 2));
        EXPECT_TRUE(c.bottom == h - 1 ? red(0, h - 1) : !red(0, c.bottom + 2));
        EXPECT_TRUE(red(-w / 2, middle) && red(w - w / 2 - 1, middle) && !red(-w / 2 - 1, middle) &&
                    !red(w - w / 2, middle));
    }
}

// A horizontal line of `count` points 12 pixels apart, drawn in `mode`; the point
// `invalid` is a gap.
QImage MarkerLine(SurfaceKind kind, std::uint8_t mode, int count, int invalid = -1) {
    Scene scene(kind);
    Samples samples;
    for (int k = 0; k < count; ++k) samples.push_back(scene.At(20 + 12 * k, 100, k != invalid));
    scene.Add({samples}, kRed, static_cast<DisplayMode>(mode));
    return scene.Draw().copy();
}

// The preview draws only the connected line of a marker mode; the main plot puts markers
// at the valid points k * (count div 20) for k = 1..19, and all on the first point below
// twenty.
TEST(MarkerRendering, PreviewHasNoneAndTheMainPlotHasThemAtMultiplesOfATwentieth) {
    const auto line = Ordinal(DisplayMode::bmverbunden);
    const QImage previewLine = MarkerLine(SurfaceKind::Preview, line, 40);
    const QImage mainLine = MarkerLine(SurfaceKind::Main, line, 40);
    for (auto mode = Ordinal(DisplayMode::bmKreise); mode <= Ordinal(DisplayMode::bm9); ++mode) {
        EXPECT_TRUE(MarkerLine(SurfaceKind::Preview, mode, 40) == previewLine) << int(mode);
        EXPECT_FALSE(MarkerLine(SurfaceKind::Main, mode, 40) == mainLine) << int(mode);
    }
    const Scene geometry;
    for (const int count : {10, 19, 20, 45}) {
        const int step = count / 20;
        const QImage plain = MarkerLine(SurfaceKind::Main, line, count, 4);
        const QImage marked =
            MarkerLine(SurfaceKind::Main, Ordinal(DisplayMode::bmQuadrate), count, 4);
        int inBoxes = 0;
        for (int i = 0; i < count; ++i) {
            const bool expected =
                i != 4 && (step == 0 ? i == 0 : i % step == 0 && i / step <= 19 && i > 0);
            const QRect box = Box(geometry.Column(20 + 12 * i), geometry.Row(100), 5);
            const int changed = Changed(plain, marked, box, true);
            EXPECT_EQ(changed > 0, expected) << count << ": " << i;
            inBoxes += changed;
        }
        EXPECT_EQ(Changed(plain, marked, QRect(), false), inBoxes) << "markers only";
    }
}

// The polar grid's ring labels sit inside the plot area, where the polar grid is clipped
// to, so the axis text shows there.
TEST(GridRendering, PolarRingLabelsAreDrawnInsideThePlotArea) {
    QImage pictures[2];
    QRect area;
    for (const bool text : {false, true}) {
        Scene scene;
        scene.surface.look.gridVisible = true;
        scene.surface.look.axisTextVisible = text;
        scene.session.gridType = GridType::gtPolar;
        SetWindow(scene.View(), {-2, 2, -2, 2});
        pictures[text] = scene.Paint().copy();
        area = scene.PlotArea();
    }
    EXPECT_GT(Changed(pictures[0], pictures[1], area, true), 50);
}

// A hidden grid keeps only the zero axes (zero lies halfway in -1.5..1.5) and the frame
// along the plot area's outer pixels; a failed logarithmic grid leaves out both, and
// stays. The curve is drawn either way.
TEST(GridRendering, HiddenGridKeepsZeroAxesAndFrameAFailedGridOnlyTheCurves) {
    for (const bool failed : {false, true}) {
        SCOPED_TRACE(failed ? "failed grid" : "hidden grid");
        Scene scene;
        scene.session.gridError = failed ? GridError::NoLogarithmicGrid : GridError::None;
        SetWindow(scene.View(), {-1.5L, 1.5L, -1.5L, 1.5L});
        scene.Add({{{-1, -1, true}, {1, 1, true}}}, kRed);  // clear of the probes
        const QImage& image = scene.Paint();
        const int red = CountIn(image, image.rect(), kRedPixel);
        EXPECT_GT(red, 100);
        EXPECT_EQ(CountNot(image, image.rect(), kWhitePixel) == red, failed);
        EXPECT_EQ(scene.session.gridError == GridError::None, !failed);
        const PlotView& v = scene.View();
        const int L = v.marginLeft, T = v.marginTop, W = v.plotWidth, H = v.plotHeight;
        const int x = L + W / 10, y = T + H / 10;
        for (const QPoint& p : {QPoint(x, T + H / 2), QPoint(L + W / 2, y), QPoint(L, y),
                                QPoint(L + W - 1, y), QPoint(x, T), QPoint(x, T + H - 1)})
            EXPECT_EQ(image.pixel(p), failed ? kWhitePixel : kBlackPixel) << p.x() << ", " << p.y();
        EXPECT_EQ(image.pixel(x, T + H / 4), kWhitePixel);
    }
}

// A plot area some 50 pixels high with six labelled rows 0, 2, ..., 10: a label that
// would overlap the one drawn below it is skipped; a drawn one records its anchor 7 above
// its row instead of the builder's 3.
TEST(GridRendering, VerticalLabelsThatWouldOverlapTheOneBelowAreSkipped) {
    Scene scene;
    scene.surface.look.gridVisible = true;
    SetWindow(scene.View(), {0, 1, 0, 10});
    scene.Paint({600, 80, 0, 0});
    std::vector<std::int32_t> drawn;
    for (const TLineitem& i : scene.surface.grid) {
        if (i.labelAxis == kLabelVerticalAxis && i.labelY == i.y1 - 7)
            drawn.push_back(i.y1);
    }
    ASSERT_GE(drawn.size(), 2u);
    EXPECT_LT(drawn.size(), 6u);
    for (std::size_t k = 1; k < drawn.size(); ++k)
        EXPECT_GE(drawn[k - 1] - drawn[k], scene.surface.Measure().Height("1"));
    // The labels are drawn right of and below the plot area, the main lines in their grey.
    const QImage& image = scene.Image();
    EXPECT_GT(CountIn(image, scene.PlotArea(), qRgb(0xA0, 0xA0, 0xA0)), 0);
    EXPECT_GT(CountNot(image, QRect(scene.View().plotRight + 5, 0, 1000, 1000), kWhitePixel), 0);
    EXPECT_GT(CountNot(image, QRect(0, scene.View().plotBottom + 5, 1000, 1000), kWhitePixel), 0);
}

TEST(PolarRendering, PlotAreaAndWorldWindowAreSquareWhateverThePanelsShape) {
    struct Case {
        const char* why;
        PanelGeometry panel;
        Window window;
        Extended squareXmax, squareYmax;  // the shorter side grows at its maximum end
    };
    const Case cases[] = {
        {"wide panel, wide window", {600, 300, 0, 0}, {-1, 3, -1, 1}, 3, 3},
        {"tall panel, tall window", {300, 600, 0, 0}, {-1, 1, -2, 2}, 3, 2},
        {"wide panel, tall window", {700, 350, 0, 0}, {0, 1, 0, 5}, 5, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Scene scene;
        scene.session.gridType = GridType::gtPolar;
        SetWindow(scene.View(), c.window);
        scene.session.Layout(scene.session.main, c.panel);
        const PlotView& v = scene.View();
        // Each side without the polar rule: the panel less label space, margins 3 + 1 and 2.
        const int side =
            std::min(c.panel.width - v.labelColumnWidth - 6, c.panel.height - v.labelRowHeight - 6);
        EXPECT_TRUE(v.plotWidth == side && v.plotHeight == side);
        EXPECT_TRUE(v.xmax == c.squareXmax && v.ymax == c.squareYmax);
        EXPECT_EQ(scene.session.main.controlWidth, v.plotWidth + v.marginLeft);
        EXPECT_EQ(scene.session.main.controlHeight, v.plotHeight + v.marginTop);
        // The polar grid, whose axes are longer than the square, is clipped to it.
        const QImage& image = scene.Image();
        EXPECT_EQ(CountNot(image, QRect(v.plotRight, 0, 4, image.height()), kWhitePixel), 0);
        EXPECT_EQ(CountNot(image, QRect(0, v.plotBottom, image.width(), 4), kWhitePixel), 0);
    }
}

}  // namespace
}  // namespace pc::test
