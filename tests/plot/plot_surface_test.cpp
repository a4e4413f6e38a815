#include "plot/plot_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

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

// A horizontal line of `count` points 12 pixels apart from (20, 100), drawn in `mode`; the
// point `invalid` is a gap.
QImage PointLine(SurfaceKind kind, DisplayMode mode, int count, int invalid = -1,
                 bool blackWhite = false) {
    Scene scene(kind);
    scene.surface.look.blackWhite = blackWhite;
    Samples samples;
    for (int k = 0; k < count; ++k) samples.push_back(scene.At(20 + 12 * k, 100, k != invalid));
    scene.Add({samples}, kRed, mode);
    return scene.Draw().copy();
}

// The connected line ends at the valid neighbours 128 and 152 of an invalid point (in
// black and white, a red line is drawn black); all-points mode fills a dot at each valid
// point only, without joining them.
TEST(CurveRendering, InvalidPointsAreGaps) {
    const Scene geometry;
    const QImage line = PointLine(SurfaceKind::Main, DisplayMode::bmverbunden, 20, 10, true);
    EXPECT_EQ(CountIn(line, line.rect(), kRedPixel), 0);
    const auto black = [&](int from, int to) {
        return CountIn(line, QRect(geometry.Column(from), 0, to - from + 1, line.height()),
                       kBlackPixel);
    };
    EXPECT_TRUE(black(20, 126) > 90 && black(130, 150) == 0 && black(154, 248) > 80);
    const QImage dots = PointLine(SurfaceKind::Main, DisplayMode::bmallePunkte, 5, 2);
    int inBoxes = 0;
    for (int k = 0; k < 5; ++k) {
        const int x = geometry.Column(20 + 12 * k), y = geometry.Row(100);
        EXPECT_EQ(dots.pixel(x, y) == kRedPixel, k != 2) << "point " << k << " is filled";
        inBoxes += CountIn(dots, Box(x, y, 3), kRedPixel);
    }
    EXPECT_EQ(CountIn(dots, dots.rect(), kRedPixel), inBoxes) << "nothing joins the dots";
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
    const std::int32_t h = Scene().H();
    const Extended H = h;
    struct Case {
        const char* why;
        GridType gridType;
        Extended ymin, ymax, y;
        std::int32_t top, bottom;  // rows of the bar below the top margin, inclusive
    };
    const Case cases[] = {
        // clang-format off
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
        const QImage& image = scene.Draw(c.gridType);
        const int w = scene.W() / 20;
        const QRect bar(scene.Column(10 * scene.W() / 20) - w / 2, scene.Row(c.top), w,
                        c.bottom - c.top + 1);
        // One pixel of play at an end inside the plot; nothing beyond the plot's edge.
        EXPECT_EQ(CountIn(image, bar.adjusted(0, 1, 0, -1), kRedPixel), w * (bar.height() - 2));
        EXPECT_EQ(CountIn(image, image.rect(), kRedPixel),
                  CountIn(image, bar.adjusted(0, -1, 0, 1) & scene.PlotArea(), kRedPixel));
    }
}

// The preview draws only the connected line of a marker mode; the main plot puts markers
// at the valid points k * (count div 20) for k = 1..19, and all on the first point below
// twenty.
TEST(MarkerRendering, PreviewHasNoneAndTheMainPlotHasThemAtMultiplesOfATwentieth) {
    const auto line = DisplayMode::bmverbunden;
    const QImage previewLine = PointLine(SurfaceKind::Preview, line, 40);
    const QImage mainLine = PointLine(SurfaceKind::Main, line, 40);
    for (auto mode = Ordinal(DisplayMode::bmKreise); mode <= Ordinal(DisplayMode::bm9); ++mode) {
        const auto marker = static_cast<DisplayMode>(mode);
        EXPECT_TRUE(PointLine(SurfaceKind::Preview, marker, 40) == previewLine) << int(mode);
        EXPECT_FALSE(PointLine(SurfaceKind::Main, marker, 40) == mainLine) << int(mode);
    }
    const Scene geometry;
    for (const int count : {10, 19, 20, 45}) {
        const int step = count / 20;
        const QImage plain = PointLine(SurfaceKind::Main, line, count, 4);
        const QImage marked = PointLine(SurfaceKind::Main, DisplayMode::bmQuadrate, count, 4);
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

// --- The new drawing ------------------------------------------------------------------

// TAN(X) on -3..3 x -5..5 passes its poles at +-pi/2 off the window; nothing of the new
// picture lies in a band around them, where the classic one joins the pole's two sides.
TEST(NewDrawing, PolesAreNotJoined) {
    for (const bool classic : {true, false}) {
        PlotFixture f;
        f.Show("F(X)=TAN(X)");
        f.UserView("-3", "3", "-5", "5", "-3", "3");
        f.session.SetClassicDrawing(classic);
        PlotSurface& surface = f.session.main;
        f.session.RedrawSurface(surface);
        surface.Clear();
        QPainter painter(&surface.Image());
        PaintPicture(surface, painter, f.catalogue.Items(), GridType::gtLinLin, false);
        painter.end();
        const PlotView& v = surface.view;
        for (const double pole : {-1.5707963, 1.5707963}) {
            const int from = WorldToDevice(v, GridType::gtLinLin, pole - 0.1, 0).px;
            const int to = WorldToDevice(v, GridType::gtLinLin, pole + 0.1, 0).px;
            const QRect band(from, v.marginTop, to - from + 1, v.plotHeight);
            EXPECT_EQ(CountNot(surface.Image(), band, kWhitePixel) > 0, classic) << pole;
        }
    }
}

// A family runs from a tint of the item's colour to the colour itself, keeping its hue;
// a single curve keeps its colour. In black and white the items drawn solid get their
// own dash patterns.
TEST(NewDrawing, FamiliesAreShadedLightToDarkAndBlackAndWhiteDashesItems) {
    for (const bool blackWhite : {false, true}) {
        Scene scene;
        scene.surface.classic = false;
        scene.surface.look.blackWhite = blackWhite;
        const auto line = [&](int row) { return Samples{scene.At(20, row), scene.At(300, row)}; };
        scene.Add({line(50), line(100), line(150)}, kRed);
        scene.Add({line(200)}, kBlue);
        const QImage& image = scene.Draw();
        const auto at = [&](int row) {
            return image.pixelColor(scene.Column(150), scene.Row(row));
        };
        const auto inked = [&](int row) {
            return 277 -
                   CountIn(image, QRect(scene.Column(22), scene.Row(row), 277, 1), kWhitePixel);
        };
        EXPECT_GT(at(50).lightness(), at(100).lightness());
        EXPECT_GT(at(100).lightness(), at(150).lightness());
        EXPECT_EQ(at(150).rgb(), blackWhite ? kBlackPixel : kRedPixel);
        EXPECT_EQ(at(50).hue(), blackWhite ? -1 : 0);
        EXPECT_EQ(inked(50), 277);
        if (blackWhite) {
            EXPECT_LT(inked(200), 250) << "dashed";
        } else {
            EXPECT_EQ(at(200).rgb(), kBluePixel);
        }
    }
}

// In black and white every pixel of the picture, grid and labels included, is grey,
// whatever the items' colours and display modes.
TEST(NewDrawing, BlackAndWhiteIsGrey) {
    PlotFixture f;
    const std::pair<const char*, DisplayMode> items[] = {
        {"F(X)=SIN(X)", DisplayMode::bmKreise},
        {"G(X)=COS(X)", DisplayMode::bmhisto},
        {"H(X)=X/3", DisplayMode::bmallePunkte},
        {"K(X)=-X/3", DisplayMode::bmDreiecke},
    };
    for (const auto& [definition, mode] : items) {
        TFktItem& item = f.Show(definition);
        item.Farbe = kRed;
        item.PunkteMarkierung = mode;
    }
    f.session.SetClassicDrawing(false);
    f.session.main.look.blackWhite = true;
    f.session.RedrawSurface(f.session.main);
    const QImage& picture = f.session.main.Image();
    int coloured = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            coloured += qRed(p) != qGreen(p) || qGreen(p) != qBlue(p);
        }
    }
    EXPECT_EQ(coloured, 0);
}

// Items drawn solid take the patterns in turn, leaving out those that shown items have of
// their own; a hidden item counts for nothing.
TEST(NewDrawing, BlackAndWhitePenStylesSkipTheItemsOwnPatterns) {
    using P = TPenStyle;
    // pen style, shown, and the pattern expected of a shown item
    const std::tuple<P, bool, P> items[] = {{P::psSolid, true, P::psSolid},
                                            {P::psDash, true, P::psDash},
                                            {P::psSolid, false, P::psSolid},
                                            {P::psInsideFrame, true, P::psDot},
                                            {P::psSolid, true, P::psDashDot}};
    DisplayList list;
    for (const auto& [style, shown, expected] : items) {
        list.push_back(std::make_unique<TFktItem>());
        list.back()->Pentyp = style;
        list.back()->Darstellung = list.back()->valid = shown;
    }
    for (std::size_t k = 0; k < list.size(); ++k) {
        if (list[k]->Darstellung) {
            EXPECT_EQ(BlackWhitePenStyle(list, *list[k]), std::get<2>(items[k])) << k;
        }
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

// The shorter side of the window grows at its maximum end.
TEST(PolarRendering, PlotAreaAndWorldWindowAreSquareWhateverThePanelsShape) {
    const std::tuple<PanelGeometry, Window, Extended, Extended> cases[] = {
        {{600, 300, 0, 0}, {-1, 3, -1, 1}, 3, 3},  // wide panel, wide window
        {{300, 600, 0, 0}, {-1, 1, -2, 2}, 3, 2},  // tall panel, tall window
    };
    for (const auto& [panel, window, squareXmax, squareYmax] : cases) {
        SCOPED_TRACE(panel.width);
        Scene scene;
        scene.session.gridType = GridType::gtPolar;
        SetWindow(scene.View(), window);
        scene.session.Layout(scene.session.main, panel);
        const PlotView& v = scene.View();
        // Each side without the polar rule: the panel less label space, margins 3 + 1 and 2.
        const int side =
            std::min(panel.width - v.labelColumnWidth - 6, panel.height - v.labelRowHeight - 6);
        EXPECT_TRUE(v.plotWidth == side && v.plotHeight == side);
        EXPECT_TRUE(v.xmax == squareXmax && v.ymax == squareYmax);
        EXPECT_EQ(scene.session.main.controlWidth, v.plotWidth + v.marginLeft);
        EXPECT_EQ(scene.session.main.controlHeight, v.plotHeight + v.marginTop);
    }
}

}  // namespace
}  // namespace pc::test
