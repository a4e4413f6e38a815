#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/fkt_item.h"
#include "plot/animation.h"
#include "plot/plot_surface.h"
#include "plot_test_support.h"

namespace pc {
namespace {

// Item colours are stored as 0x00BBGGRR; the image holds 0xFFRRGGBB.
constexpr TColor kRed = 0x0000FF;
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kBlue = 0xFF0000;
const QRgb kRedPixel = qRgb(255, 0, 0);
const QRgb kGreenPixel = qRgb(0, 255, 0);
const QRgb kBluePixel = qRgb(0, 0, 255);
const QRgb kWhitePixel = qRgb(255, 255, 255);
const QRgb kBlackPixel = qRgb(0, 0, 0);

using Samples = std::vector<TFeldfty>;

int CountIn(const QImage& image, QRect area, QRgb colour) {
    area = area.intersected(image.rect());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) count += image.pixel(x, y) == colour;
    }
    return count;
}

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

// The catalogue and both surfaces; the display list is filled by hand or through the
// function manager. The surface drawn on is laid out for a 600 x 400 panel without a grid,
// with the world window equal to its plot area counted in pixels, so that the sample
// At(dx, dy) lands dx pixels right of the left margin and dy below the top margin.
struct Scene : test::PlotFixture {
    PlotSurface& surface;

    explicit Scene(SurfaceKind kind = SurfaceKind::Main)
        : surface(kind == SurfaceKind::Main ? session.main : session.preview) {
        session.scaleMode = ScaleMode::smUserDefined;
        surface.look.gridVisible = false;
        surface.LayoutPlotArea(PanelGeometry{600, 400, 0, 0}, GridType::gtLinLin);
        Window(0, W(), 0, H());
    }
    PlotView& View() { return surface.view; }
    QImage& Image() { return surface.Image(); }
    std::int32_t W() const { return surface.view.plotWidth; }
    std::int32_t H() const { return surface.view.plotHeight; }
    std::int32_t Column(std::int32_t dx) const { return surface.view.marginLeft + dx; }
    std::int32_t Row(std::int32_t dy) const { return surface.view.marginTop + dy; }
    QRect PlotArea() const { return QRect(Column(0), Row(0), W(), H()); }
    TFeldfty At(Extended dx, Extended dy, bool valid = true) const {
        return {dx, surface.view.ymax - dy, valid};
    }
    void Window(Extended xmin, Extended xmax, Extended ymin, Extended ymax) {
        View().xmin = xmin;
        View().xmax = xmax;
        View().ymin = ymin;
        View().ymax = ymax;
    }
    // A shown, valid item with one point array per entry of `arrays`, on both surfaces.
    TFktItem& Add(const std::vector<Samples>& arrays, TColor colour,
                  std::uint8_t mode = Ordinal(DisplayMode::bmverbunden), std::uint8_t width = 1) {
        auto item = std::make_unique<TFktItem>();
        item->Farbe = colour;
        item->PunkteMarkierung = static_cast<DisplayMode>(mode);
        item->LinienBreite = width;
        item->Darstellung = item->valid = true;
        item->Animated = arrays.size() >= 2;
        item->FeldListenListeM.assign(arrays.begin(), arrays.end());
        item->FeldListenListeP.assign(arrays.begin(), arrays.end());
        return catalogue.AddItem(std::move(item));
    }
    // The curves alone.
    const QImage& Draw(GridType gridType = GridType::gtLinLin) {
        DrawCurves(surface, catalogue.Items(), gridType);
        return Image();
    }
    // Curves and grid, laid out twice so that the label column fits the first pass's labels.
    const QImage& Paint(PanelGeometry panel = {600, 400, 0, 0}) {
        session.Layout(surface, panel);
        session.Layout(surface, panel);
        return Image();
    }
};

// --- Curves ------------------------------------------------------------------------------

// The connected line ends at the valid neighbours 90 and 110 of an invalid point (in black
// and white, a red line is drawn black), and a list of invalid points draws nothing in any
// mode; all-points mode fills a dot at each valid point only, without joining them.
TEST(CurveRendering, InvalidPointsAreGapsInEveryMode) {
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

    for (std::uint8_t mode = Ordinal(DisplayMode::bmverbunden); mode <= Ordinal(DisplayMode::bm9);
         ++mode) {
        Scene scene;
        Samples invalid;
        for (int k = 0; k < 30; ++k) invalid.push_back(scene.At(10 + 10 * k, 50 + 5 * k, false));
        scene.Add({invalid}, kRed, mode, 3);
        const QImage blank = scene.Image().copy();
        EXPECT_TRUE(scene.Draw() == blank) << "mode " << int(mode);
    }

    Scene dots;
    Samples points;
    for (int k = 0; k < 5; ++k) points.push_back(dots.At(40 + 30 * k, 100 + 10 * k, k != 2));
    dots.Add({points}, kRed, Ordinal(DisplayMode::bmallePunkte));
    const QImage& dotted = dots.Draw();
    int inBoxes = 0;
    for (int k = 0; k < 5; ++k) {
        const int x = dots.Column(40 + 30 * k), y = dots.Row(100 + 10 * k);
        if (k == 2) {
            EXPECT_EQ(CountIn(dotted, Box(x, y, 4), kRedPixel), 0);
            continue;
        }
        EXPECT_EQ(dotted.pixel(x, y), kRedPixel) << "point " << k << " is filled";
        inBoxes += CountIn(dotted, Box(x, y, 3), kRedPixel);
    }
    EXPECT_EQ(CountIn(dotted, dotted.rect(), kRedPixel), inBoxes);
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
        {"zero below the plot: the bar reaches the bottom edge", GridType::gtLinLin, 50, 50 + H,
         50 + H - h / 2, h / 2, h - 1},
        // zero row: trunc(-(H - 100) * H / -H) = H - 100; y = 50 lies 150 below ymax
        {"zero inside the plot: the bar stands on its row", GridType::gtLinLin, -100, H - 100, 50,
         h - 150, h - 100},
        {"zero above the plot: the bar hangs from the top edge", GridType::gtLinLin, -H - 50, -50,
         -50 - Extended(h / 2), 0, h / 2},
        // log10(1000 / 10) * H / log10(1000 / 1) = 2H/3
        {"logarithmic axis, black and white: bars stand on the plot's bottom", GridType::gtLinLog,
         1, 1000, 10, 2 * h / 3, h - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Scene scene;
        scene.Window(0, scene.W(), c.ymin, c.ymax);
        scene.surface.look.blackWhite = c.gridType == GridType::gtLinLog;
        // Twenty points, of which only the middle one is valid.
        Samples samples;
        for (int k = 0; k < 20; ++k)
            samples.push_back({Extended(k * scene.W() / 20), c.y, k == 10});
        scene.Add({samples}, kRed, Ordinal(DisplayMode::bmhisto));
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

TEST(CurveRendering, NothingIsDrawnOutsideThePlotAreaAndSteepCurvesStillReachItsEdges) {
    Scene scene;
    const Extended W = scene.W(), H = scene.H(), far = 1e12L;
    // Far beyond the int32 range: only clamping to ±30000 keeps these points drawable.
    scene.Add({{scene.At(20, H / 2), scene.At(W / 2, -far), scene.At(W - 20, H / 2)}}, kRed,
              Ordinal(DisplayMode::bmverbunden), 5);
    scene.Add({{scene.At(20, H / 2), scene.At(W / 2, far), scene.At(W - 20, H / 2)}}, kGreen,
              Ordinal(DisplayMode::bmverbunden), 5);
    scene.Add({{scene.At(-far, H / 3), scene.At(W / 2, H / 4), scene.At(far, H / 3)}}, kBlue,
              Ordinal(DisplayMode::bmverbunden), 5);
    // Lies in the bottom margin, three pixels below the plot area.
    scene.Add({{scene.At(10, H + 3), scene.At(W - 10, H + 3)}}, kRed,
              Ordinal(DisplayMode::bmverbunden), 5);
    const QImage blank = scene.Image().copy();
    const QImage& image = scene.Draw();
    EXPECT_EQ(Changed(blank, image, scene.PlotArea(), false), 0);
    const int w = scene.W(), h = scene.H();
    EXPECT_GT(CountIn(image, QRect(scene.Column(0), scene.Row(0), w, 1), kRedPixel), 0);
    EXPECT_GT(CountIn(image, QRect(scene.Column(0), scene.Row(h - 1), w, 1), kGreenPixel), 0);
    EXPECT_GT(CountIn(image, QRect(scene.Column(0), scene.Row(0), 1, h), kBluePixel), 0);
    EXPECT_GT(CountIn(image, QRect(scene.Column(w - 1), scene.Row(0), 1, h), kBluePixel), 0);
}

// --- Markers -----------------------------------------------------------------------------

// A horizontal line of `count` points 12 pixels apart, drawn in `mode`.
QImage MarkerLine(SurfaceKind kind, std::uint8_t mode, int count) {
    Scene scene(kind);
    Samples samples;
    for (int k = 0; k < count; ++k) samples.push_back(scene.At(20 + 12 * k, 100));
    scene.Add({samples}, kRed, mode);
    return scene.Draw().copy();
}

// The preview draws only the connected line of a marker mode; the main plot puts markers
// at the points k * (count div 20) for k = 1..19, and all on the first point below twenty.
TEST(MarkerRendering, PreviewHasNoneAndTheMainPlotHasThemAtMultiplesOfATwentieth) {
    const QImage previewLine =
        MarkerLine(SurfaceKind::Preview, Ordinal(DisplayMode::bmverbunden), 40);
    const QImage mainLine = MarkerLine(SurfaceKind::Main, Ordinal(DisplayMode::bmverbunden), 40);
    for (std::uint8_t mode = Ordinal(DisplayMode::bmKreise); mode <= Ordinal(DisplayMode::bm9);
         ++mode) {
        EXPECT_TRUE(MarkerLine(SurfaceKind::Preview, mode, 40) == previewLine) << int(mode);
        EXPECT_FALSE(MarkerLine(SurfaceKind::Main, mode, 40) == mainLine) << int(mode);
    }
    const Scene geometry;
    for (const int count : {10, 19, 20, 45}) {
        const int step = count / 20;
        const QImage line = MarkerLine(SurfaceKind::Main, Ordinal(DisplayMode::bmverbunden), count);
        const QImage marked =
            MarkerLine(SurfaceKind::Main, Ordinal(DisplayMode::bmQuadrate), count);
        for (int i = 0; i < count; ++i) {
            const bool expected = step == 0 ? i == 0 : i % step == 0 && i / step <= 19 && i > 0;
            const QRect box = Box(geometry.Column(20 + 12 * i), geometry.Row(100), 5);
            EXPECT_EQ(Changed(line, marked, box, true) > 0, expected) << count << ": " << i;
        }
    }
}

// --- Grid --------------------------------------------------------------------------------

// With the grid shown, labels sit right of and below the plot area and the grid lines are
// grey (main A0, help DC). A hidden grid keeps only the zero axes (zero lies halfway in
// -1.5..1.5) and the frame along the plot area's outer pixels; a failed logarithmic grid leaves out
// grid and frame, and stays. The curve is drawn in every case.
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
        scene.Window(-2, 2, -2, 2);
        pictures[text] = scene.Paint().copy();
        area = scene.PlotArea();
    }
    EXPECT_GT(Changed(pictures[0], pictures[1], area, true), 50);
}

TEST(GridRendering, HiddenGridKeepsZeroAxesAndFramePendingErrorOneOnlyTheCurves) {
    const std::pair<bool, std::int32_t> cases[] = {{true, 0}, {false, 0}, {true, 1}};
    for (const auto& [visible, pending] : cases) {
        SCOPED_TRACE(testing::Message() << "grid visible " << visible << ", error " << pending);
        Scene scene;
        scene.session.main.look.gridVisible = visible;
        scene.session.gridError = static_cast<GridError>(pending);
        scene.Window(-1.5L, 1.5L, -1.5L, 1.5L);
        scene.Add({{{-1, -1, true}, {1, 1, true}}}, kRed);  // clear of the probes
        const QImage& image = scene.Paint();
        const PlotView& v = scene.View();
        const bool grid = visible && pending == 0;
        EXPECT_EQ(CountNot(image, QRect(v.plotRight + 5, 0, 1000, 1000), kWhitePixel) > 0, grid);
        EXPECT_EQ(CountNot(image, QRect(0, v.plotBottom + 5, 1000, 1000), kWhitePixel) > 0, grid);
        EXPECT_EQ(CountIn(image, image.rect(), qRgb(0xA0, 0xA0, 0xA0)) > 0, grid);
        EXPECT_EQ(CountIn(image, image.rect(), qRgb(0xDC, 0xDC, 0xDC)) > 0, grid);
        const int red = CountIn(image, image.rect(), kRedPixel);
        EXPECT_GT(red, 100);
        EXPECT_EQ(CountNot(image, image.rect(), kWhitePixel) == red, pending == 1);
        EXPECT_EQ(static_cast<int>(scene.session.gridError), pending);
        const int L = v.marginLeft, T = v.marginTop, W = v.plotWidth, H = v.plotHeight;
        for (const double f : {0.1, 0.7}) {
            if (visible)  // the grid lines would cover the probes
                break;
            const int x = L + static_cast<int>(f * W), y = T + static_cast<int>(f * H);
            for (const QPoint& p : {QPoint(x, T + H / 2), QPoint(L + W / 2, y), QPoint(L, y),
                                    QPoint(L + W - 1, y), QPoint(x, T), QPoint(x, T + H - 1)})
                EXPECT_EQ(image.pixel(p), kBlackPixel) << p.x() << ", " << p.y();
            EXPECT_EQ(image.pixel(x, T + H / 4), kWhitePixel) << f;
        }
    }
}

TEST(PolarRendering, PlotAreaAndWorldWindowAreSquareWhateverThePanelsShape) {
    struct Case {
        const char* why;
        PanelGeometry panel;
        Extended xmin, xmax, ymin, ymax;
        Extended squareXmax, squareYmax;  // the shorter side grows at its maximum end
    };
    const Case cases[] = {
        {"wide panel, wide window", {600, 300, 0, 0}, -1, 3, -1, 1, 3, 3},
        {"tall panel, tall window", {300, 600, 0, 0}, -1, 1, -2, 2, 3, 2},
        {"wide panel, tall window", {700, 350, 0, 0}, 0, 1, 0, 5, 5, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Scene scene;
        scene.session.gridType = GridType::gtPolar;
        scene.Window(c.xmin, c.xmax, c.ymin, c.ymax);
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

// --- Animation ---------------------------------------------------------------------------

// The whole way from typed definitions, with the grid shown: F1 has the parameter A with
// the five automatic values 1, 3, 5, 7, 9, G none. In the window -1..1 by -10..10 member A
// crosses x = 0.5 at y = A / 2 and G at y = -2.5.
struct AnimationScene : Scene {
    TFktItem* family = nullptr;

    explicit AnimationScene(std::uint8_t mode = Ordinal(DisplayMode::bmverbunden),
                            std::uint8_t width = 1) {
        surface.look.gridVisible = true;
        catalogue.Parameters().EnsureItems({"A"});
        catalogue.Parameters().SetStopValue("A", 9);
        family = &Show("F1(X)=A*X");
        Show("G(X)=-5*X").Farbe = kBlue;
        family->Farbe = kRed;
        family->PunkteMarkierung = static_cast<DisplayMode>(mode);
        family->LinienBreite = width;
        catalogue.SetCurrentItem(family);
        UserView("-1", "1", "-10", "10", "-1", "1");
        session.RedrawSurface(session.main);
    }
    // Whether `colour` shows next to the point (0.5, y).
    bool Near(Extended y, QRgb colour) {
        const PlotView& v = View();
        const int row = static_cast<int>((v.ymax - y) * v.plotHeight / (v.ymax - v.ymin));
        return CountIn(Image(), QRect(Column(3 * v.plotWidth / 4) - 1, Row(row) - 2, 3, 5),
                       colour) > 0;
    }
    std::vector<bool> MembersShown() {
        std::vector<bool> shown;
        for (const Extended a : {1, 3, 5, 7, 9}) shown.push_back(Near(a / 2, kRedPixel));
        return shown;
    }
};

// Frames are drawn inverting, in every mode: drawing one twice restores the picture.
TEST(Animation, DrawingAFrameTwiceRestoresThePicture) {
    const std::pair<std::uint8_t, std::uint8_t> cases[] = {{Ordinal(DisplayMode::bmverbunden), 3},
                                                           {Ordinal(DisplayMode::bmKreise), 3},
                                                           {Ordinal(DisplayMode::bmallePunkte), 1},
                                                           {Ordinal(DisplayMode::bmhisto), 3},
                                                           {Ordinal(DisplayMode::bm1) + 4, 1}};
    for (const auto& [mode, width] : cases) {
        AnimationScene scene(mode, width);
        const QImage before = scene.Image().copy();
        DrawFrame(scene.session, *scene.family, 1);
        EXPECT_FALSE(scene.Image() == before) << int(mode);
        DrawFrame(scene.session, *scene.family, 1);
        EXPECT_TRUE(scene.Image() == before) << int(mode);
    }
}

// Only the shown member is on the picture, and a member's picture is the same each time it
// comes back: nothing of the others is left behind. The parameterless curve stays.
TEST(Animation, EachStepErasesTheShownMemberAndDrawsExactlyTheNextOne) {
    AnimationScene scene;
    ASSERT_TRUE(scene.notifier.empty());
    ASSERT_EQ(scene.family->FeldListenListeM.size(), 5u);
    EXPECT_TRUE(scene.family->Animated && !scene.catalogue.Items().at(1)->Animated);
    EXPECT_EQ(scene.MembersShown(), std::vector<bool>(5, true)) << "before the animation";
    StartAnimation(scene.session, true);
    QImage pictures[5];
    const int shown[] = {0, 1, 2, 3, 4, 4, 3, 2, 1, 0, 0, 1};  // YoYo shows each end twice
    for (std::size_t i = 0; i < std::size(shown); ++i) {
        SCOPED_TRACE(testing::Message() << "tick " << i);
        if (i > 0)
            AnimationStep(scene.session, AnimationSender::Timer, true);
        EXPECT_EQ(scene.family->animationIndex, shown[i]);
        std::vector<bool> expected(5, false);
        expected[static_cast<std::size_t>(shown[i])] = true;
        EXPECT_EQ(scene.MembersShown(), expected);
        EXPECT_TRUE(scene.Near(-2.5L, kBluePixel));
        QImage& picture = pictures[shown[i]];
        EXPECT_TRUE(picture.isNull() || scene.Image() == picture);
        picture = scene.Image().copy();
    }
    StartAnimation(scene.session, false);  // a restart begins at frame 0 again
    EXPECT_TRUE(scene.family->animationIndex == 0 && scene.family->animationDirection == 0);
}

}  // namespace
}  // namespace pc
