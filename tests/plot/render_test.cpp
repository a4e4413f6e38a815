#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/catalogue_test_support.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"
#include "catalogue/notifier.h"
#include "plot/animation.h"
#include "plot/plot_session.h"
#include "plot/plot_surface.h"
#include "plot/session_observer.h"

namespace pc {
namespace {

using test::RecordingNotifier;

// Item colours are stored as 0x00BBGGRR; the image holds 0xFFRRGGBB.
constexpr TColor kRed = 0x0000FF;
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kBlue = 0xFF0000;
const QRgb kRedPixel = qRgb(255, 0, 0);
const QRgb kGreenPixel = qRgb(0, 255, 0);
const QRgb kBluePixel = qRgb(0, 0, 255);
const QRgb kWhitePixel = qRgb(255, 255, 255);
const QRgb kBlackPixel = qRgb(0, 0, 0);

struct Sample {
    Extended x = 0;
    Extended y = 0;
    bool valid = true;
};
using Samples = std::vector<Sample>;

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

// A plot session over a catalogue whose display list the test fills by hand. The surface
// drawn on is laid out for a 600 x 400 panel with the world window equal to its plot area
// counted in pixels, so that the sample At(dx, dy) lands dx pixels right of the left margin
// and dy below the top margin: px = trunc(dx * W / W + L), py = trunc(dy * H / H + T).
struct Scene {
    RecordingNotifier notifier;
    Catalogue catalogue{notifier};
    PlotSession session{catalogue, notifier};
    PlotSurface& surface;

    explicit Scene(SurfaceKind kind = SurfaceKind::Main)
        : surface(kind == SurfaceKind::Main ? session.main : session.preview) {
        session.scaleMode = kScaleModeUser;
        surface.view.ready = true;
        surface.look.gridVisible = false;
        surface.LayoutPlotArea(PanelGeometry{600, 400, 0, 0}, gtLinLin);
        Window(0, W(), 0, H());
    }
    PlotView& View() { return surface.view; }
    QImage& Image() { return surface.Image(); }
    std::int32_t W() const { return surface.view.plotWidth; }
    std::int32_t H() const { return surface.view.plotHeight; }
    std::int32_t Column(std::int32_t dx) const { return surface.view.marginLeft + dx; }
    std::int32_t Row(std::int32_t dy) const { return surface.view.marginTop + dy; }
    QRect PlotArea() const { return QRect(Column(0), Row(0), W(), H()); }
    Sample At(Extended dx, Extended dy, bool valid = true) const {
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
                  std::uint8_t mode = bmverbunden, std::uint8_t width = 1) {
        auto item = std::make_unique<TFktItem>();
        item->Farbe = colour;
        item->PunkteMarkierung = mode;
        item->LinienBreite = width;
        item->Darstellung = item->valid = true;
        item->Animated = arrays.size() >= 2;
        for (const Samples& samples : arrays) {
            std::vector<TFeldfty> records;
            for (const Sample& s : samples) records.push_back({s.x, s.y, 0, 0, s.valid});
            item->FeldListenListeM.emplace_back(records);
            item->FeldListenListeP.emplace_back(records);
        }
        catalogue.displayList.push_back(std::move(item));
        return *catalogue.displayList.back();
    }
    // The curves alone.
    const QImage& Draw(std::uint8_t gridType = gtLinLin) {
        DrawCurves(surface, catalogue.displayList, gridType);
        return Image();
    }
    // Curves and grid, laid out twice so that the label column fits the first pass's labels.
    const QImage& Show(PanelGeometry panel = {600, 400, 0, 0}) {
        session.Layout(surface, panel);
        session.Layout(surface, panel);
        return Image();
    }
};

// --- Curves ------------------------------------------------------------------------------

TEST(CurveRendering, InvalidPointSplitsAConnectedLineIntoTwoPieces) {
    Scene scene;
    Samples samples;
    for (int dx = 10; dx <= 200; dx += 10) samples.push_back(scene.At(dx, 100, dx != 100));
    scene.Add({samples}, kRed);
    const QImage& image = scene.Draw();
    const auto columns = [&](int from, int to) {
        return CountIn(image, QRect(scene.Column(from), 0, to - from + 1, image.height()),
                       kRedPixel);
    };
    EXPECT_GT(columns(10, 88), 70);
    EXPECT_GT(columns(112, 200), 80);
    // The pieces end at the valid neighbours 90 and 110: nothing bridges the gap between.
    EXPECT_EQ(columns(92, 108), 0);
}

TEST(CurveRendering, ListOfOnlyInvalidPointsDrawsNothingInAnyMode) {
    for (std::uint8_t mode = bmverbunden; mode <= bm9; ++mode) {
        SCOPED_TRACE(testing::Message() << "mode " << int(mode));
        Scene scene;
        Samples samples;
        for (int k = 0; k < 30; ++k) samples.push_back(scene.At(10 + 10 * k, 50 + 5 * k, false));
        scene.Add({samples}, kRed, mode, 3);
        const QImage blank = scene.Image().copy();
        EXPECT_TRUE(scene.Draw() == blank);
    }
}

TEST(CurveRendering, HistogramBarsRunFromTheZeroRowAndAreClippedAtThePlotEdge) {
    const Scene probe;
    const Extended H = probe.H();
    const std::int32_t h = probe.H();
    struct Case {
        const char* why;
        std::uint8_t gridType;
        Extended ymin, ymax, y;
        std::int32_t top, bottom;  // rows of the bar below the top margin, inclusive
    };
    const Case cases[] = {
        {"zero lies below the plot: the bar reaches the bottom edge", gtLinLin, 50, 50 + H,
         50 + H - h / 2, h / 2, h - 1},
        // zero row: trunc(-(H - 100) * H / -H) = H - 100; y = 50 lies 150 below ymax
        {"zero inside the plot: the bar stands on its row", gtLinLin, -100, H - 100, 50, h - 150,
         h - 100},
        {"zero lies above the plot: the bar hangs from the top edge", gtLinLin, -H - 50, -50,
         -50 - Extended(h / 2), 0, h / 2},
        // log10(1000 / 10) * H / log10(1000 / 1) = 2H/3
        {"logarithmic axis: bars stand on the plot's bottom", gtLinLog, 1, 1000, 10, 2 * h / 3,
         h - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Scene scene;
        scene.Window(0, scene.W(), c.ymin, c.ymax);
        // Twenty points make the half width W div 20; only the middle one is valid.
        Samples samples;
        for (int k = 0; k < 20; ++k)
            samples.push_back({Extended(k * scene.W() / 20), c.y, k == 10});
        scene.Add({samples}, kRed, bmhisto);
        const QImage blank = scene.Image().copy();
        const QImage& image = scene.Draw(c.gridType);
        EXPECT_EQ(Changed(blank, image, scene.PlotArea(), false), 0);
        const int column = scene.Column(10 * scene.W() / 20);
        // One pixel of play at an end inside the plot; an end clipped at its edge is exact.
        for (int dy = 0; dy < h; ++dy) {
            const bool red = image.pixel(column, scene.Row(dy)) == kRedPixel;
            const bool inner = (dy > c.top || c.top == 0) && (dy < c.bottom || c.bottom == h - 1);
            if (inner || dy < c.top - 1 || dy > c.bottom + 1) {
                EXPECT_EQ(red, dy >= c.top && dy <= c.bottom) << "row " << dy;
            }
        }
        const int w = scene.W() / 20;
        const int middle = scene.Row((c.top + c.bottom) / 2);
        EXPECT_EQ(CountIn(image, QRect(column - w + 1, middle, 2 * w - 1, 1), kRedPixel),
                  2 * w - 1);
        EXPECT_NE(image.pixel(column - w - 2, middle), kRedPixel);
        EXPECT_NE(image.pixel(column + w + 2, middle), kRedPixel);
    }
}

TEST(CurveRendering, NothingIsDrawnOutsideThePlotAreaAndSteepCurvesStillReachItsEdges) {
    Scene scene;
    const Extended W = scene.W(), H = scene.H(), far = 1e12L;
    // Far beyond the int32 range: only clamping to ±30000 keeps these points drawable.
    scene.Add({{scene.At(20, H / 2), scene.At(W / 2, -far), scene.At(W - 20, H / 2)}}, kRed,
              bmverbunden, 5);
    scene.Add({{scene.At(20, H / 2), scene.At(W / 2, far), scene.At(W - 20, H / 2)}}, kGreen,
              bmverbunden, 5);
    scene.Add({{scene.At(-far, H / 3), scene.At(W / 2, H / 4), scene.At(far, H / 3)}}, kBlue,
              bmverbunden, 5);
    // Lies in the bottom margin, three pixels below the plot area.
    scene.Add({{scene.At(10, H + 3), scene.At(W - 10, H + 3)}}, kRed, bmverbunden, 5);
    const QImage blank = scene.Image().copy();
    const QImage& image = scene.Draw();
    EXPECT_EQ(Changed(blank, image, scene.PlotArea(), false), 0);
    const int w = scene.W(), h = scene.H();
    EXPECT_GT(CountIn(image, QRect(scene.Column(0), scene.Row(0), w, 1), kRedPixel), 0);
    EXPECT_GT(CountIn(image, QRect(scene.Column(0), scene.Row(h - 1), w, 1), kGreenPixel), 0);
    EXPECT_GT(CountIn(image, QRect(scene.Column(0), scene.Row(0), 1, h), kBluePixel), 0);
    EXPECT_GT(CountIn(image, QRect(scene.Column(w - 1), scene.Row(0), 1, h), kBluePixel), 0);
}

TEST(CurveRendering, BlackAndWhiteDrawsLinesBlackWhileBarsKeepTheirColour) {
    Scene scene;
    scene.surface.look.blackWhite = true;
    scene.Add({{scene.At(10, 50), scene.At(scene.W() - 10, 50)}}, kRed);
    Samples bars;
    for (int k = 0; k < 20; ++k)
        bars.push_back(scene.At(k * scene.W() / 20, scene.H() / 2, k == 10));
    scene.Add({bars}, kGreen, bmhisto);
    const QImage& image = scene.Draw();
    EXPECT_EQ(CountIn(image, image.rect(), kRedPixel), 0);
    EXPECT_GT(
        CountIn(image, QRect(scene.Column(10), scene.Row(50), scene.W() - 20, 1), kBlackPixel),
        scene.W() - 30);
    // The window 0..H puts the zero row on the plot's bottom.
    EXPECT_EQ(image.pixel(scene.Column(scene.W() / 2), scene.Row(3 * scene.H() / 4)), kGreenPixel);
}

TEST(CurveRendering, AllPointsModeDrawsAFilledDotAtEachValidPointOnly) {
    Scene scene;
    Samples samples;
    for (int k = 0; k < 5; ++k) samples.push_back(scene.At(40 + 30 * k, 100 + 10 * k, k != 2));
    scene.Add({samples}, kRed, bmallePunkte);
    const QImage& image = scene.Draw();
    int inBoxes = 0;
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(testing::Message() << "point " << k);
        const int x = scene.Column(40 + 30 * k), y = scene.Row(100 + 10 * k);
        if (k == 2) {
            EXPECT_EQ(CountIn(image, Box(x, y, 4), kRedPixel), 0);
            continue;
        }
        EXPECT_EQ(image.pixel(x, y), kRedPixel);  // filled, not only outlined
        inBoxes += CountIn(image, Box(x, y, 3), kRedPixel);
    }
    // The dots are not joined: every red pixel lies next to a valid point.
    EXPECT_EQ(CountIn(image, image.rect(), kRedPixel), inBoxes);
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

TEST(MarkerRendering, PreviewDrawsOnlyTheConnectedLineOfAMarkerMode) {
    const QImage previewLine = MarkerLine(SurfaceKind::Preview, bmverbunden, 40);
    const QImage mainLine = MarkerLine(SurfaceKind::Main, bmverbunden, 40);
    for (std::uint8_t mode = bmKreise; mode <= bm9; ++mode) {
        SCOPED_TRACE(testing::Message() << "mode " << int(mode));
        EXPECT_TRUE(MarkerLine(SurfaceKind::Preview, mode, 40) == previewLine);
        EXPECT_FALSE(MarkerLine(SurfaceKind::Main, mode, 40) == mainLine);
    }
}

TEST(MarkerRendering, MarkersSitAtMultiplesOfATwentiethAndAllOnTheFirstPointBelowTwenty) {
    struct Case {
        int count;
        int step;  // count div 20; the markers go to points k * step for k = 1..19
    };
    const Case cases[] = {{10, 0}, {19, 0}, {20, 1}, {40, 2}, {45, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " points");
        const QImage line = MarkerLine(SurfaceKind::Main, bmverbunden, c.count);
        const QImage marked = MarkerLine(SurfaceKind::Main, bmQuadrate, c.count);
        const Scene geometry;
        for (int i = 0; i < c.count; ++i) {
            const bool expected =
                c.step == 0 ? i == 0 : i % c.step == 0 && i / c.step >= 1 && i / c.step <= 19;
            const QRect box = Box(geometry.Column(20 + 12 * i), geometry.Row(100), 5);
            EXPECT_EQ(Changed(line, marked, box, true) > 0, expected) << "point " << i;
        }
    }
}

// --- Grid --------------------------------------------------------------------------------

TEST(GridRendering, HiddenGridKeepsZeroAxesAndFrameButNoLinesOrLabels) {
    for (const bool visible : {true, false}) {
        SCOPED_TRACE(visible ? "grid visible" : "grid hidden");
        Scene scene;
        scene.session.main.look.gridVisible = visible;
        scene.Window(-1.5L, 1.5L, -1.5L, 1.5L);
        const QImage& image = scene.Show();
        const PlotView& v = scene.View();
        // Vertical-axis labels start at PlotRight + 7, horizontal ones at PlotBottom + 3.
        EXPECT_EQ(CountNot(image, QRect(v.plotRight + 5, 0, 1000, 1000), kWhitePixel) > 0, visible);
        EXPECT_EQ(CountNot(image, QRect(0, v.plotBottom + 5, 1000, 1000), kWhitePixel) > 0,
                  visible);
        EXPECT_EQ(CountIn(image, image.rect(), qRgb(0xA0, 0xA0, 0xA0)) > 0, visible);  // main lines
        EXPECT_EQ(CountIn(image, image.rect(), qRgb(0xDC, 0xDC, 0xDC)) > 0, visible);  // help lines
        if (visible)
            continue;
        // Zero lies halfway in -1.5..1.5; the frame runs along the plot area's outer pixels.
        const int L = v.marginLeft, T = v.marginTop, W = v.plotWidth, H = v.plotHeight;
        for (const double f : {0.1, 0.3, 0.7, 0.9}) {
            const int x = L + static_cast<int>(f * W), y = T + static_cast<int>(f * H);
            EXPECT_EQ(image.pixel(x, T + H / 2), kBlackPixel) << f;
            EXPECT_EQ(image.pixel(L + W / 2, y), kBlackPixel) << f;
            EXPECT_EQ(image.pixel(L, y), kBlackPixel) << f;
            EXPECT_EQ(image.pixel(L + W - 1, y), kBlackPixel) << f;
            EXPECT_EQ(image.pixel(x, T), kBlackPixel) << f;
            EXPECT_EQ(image.pixel(x, T + H - 1), kBlackPixel) << f;
            EXPECT_EQ(image.pixel(x, T + H / 4), kWhitePixel) << f;
        }
    }
}

TEST(GridRendering, PendingErrorOneLeavesOutGridAndFrameButStillDrawsTheCurves) {
    for (const std::int32_t pending : {0, 1}) {
        SCOPED_TRACE(testing::Message() << "pending error " << pending);
        Scene scene;
        scene.Window(-1.5L, 1.5L, -1.5L, 1.5L);
        scene.Add({{{-1, -1}, {0, 0.5L}, {1, 1}}}, kRed);
        scene.catalogue.pendingError = pending;
        const QImage& image = scene.Show();
        const int red = CountIn(image, image.rect(), kRedPixel);
        EXPECT_GT(red, 100);
        const int other = CountNot(image, image.rect(), kWhitePixel) - red;
        EXPECT_EQ(other == 0, pending == 1);
        EXPECT_EQ(scene.catalogue.pendingError, pending);
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
        scene.session.gridType = gtPolar;
        scene.Window(c.xmin, c.xmax, c.ymin, c.ymax);
        scene.session.Layout(scene.session.main, c.panel);
        const PlotView& v = scene.View();
        // Each side without the polar rule: the panel less label space, margins 3 + 1 and 2.
        const int width = c.panel.width - v.labelColumnWidth - 6;
        const int height = c.panel.height - v.labelRowHeight - 6;
        EXPECT_EQ(v.plotWidth, std::min(width, height));
        EXPECT_EQ(v.plotHeight, std::min(width, height));
        EXPECT_EQ(static_cast<double>(v.xmax), static_cast<double>(c.squareXmax));
        EXPECT_EQ(static_cast<double>(v.ymax), static_cast<double>(c.squareYmax));
        EXPECT_EQ(scene.session.main.controlWidth, v.plotWidth + v.marginLeft);
        EXPECT_EQ(scene.session.main.controlHeight, v.plotHeight + v.marginTop);
        // The polar grid, whose axes are longer than the square, is clipped to it.
        const QImage& image = scene.Image();
        EXPECT_EQ(CountNot(image, QRect(v.plotRight, 0, 4, image.height()), kWhitePixel), 0);
        EXPECT_EQ(CountNot(image, QRect(0, v.plotBottom, image.width(), 4), kWhitePixel), 0);
    }
}

// --- Animation ---------------------------------------------------------------------------

// A green static line at y = -2 and a red family whose member k runs through (0, k + 1)
// with `slope`, in the window -4..4 both ways; 41 points each, so that markers spread.
struct AnimationScene : Scene {
    TFktItem* family = nullptr;

    AnimationScene(Extended slope, std::uint8_t mode, std::uint8_t width, bool grid) {
        session.main.look.gridVisible = grid;
        Window(-4, 4, -4, 4);
        const auto line = [](Extended y0, Extended m) {
            Samples samples;
            for (int k = 0; k <= 40; ++k) {
                const Extended x = -3 + 0.15L * k;
                samples.push_back({x, y0 + m * x});
            }
            return samples;
        };
        Add({line(-2, -slope)}, kGreen);
        family = &Add({line(1, slope), line(2, slope), line(3, slope)}, kRed, mode, width);
        Show();
    }
    int RowOf(Extended y) {
        const PlotView& v = View();
        return static_cast<int>((v.ymax - y) * v.plotHeight / (v.ymax - v.ymin) + v.marginTop);
    }
};

TEST(Animation, DrawingAFrameTwiceRestoresThePicture) {
    struct Case {
        std::uint8_t mode;
        std::uint8_t width;
    };
    const Case cases[] = {{bmverbunden, 1}, {bmverbunden, 3},    {bmKreise, 3},
                          {bmDreiecke, 1},  {bmQuadratKreuz, 2}, {bmallePunkte, 1},
                          {bmhisto, 3},     {bm1 + 4, 1},        {bm9, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << int(c.mode) << ", width " << int(c.width));
        AnimationScene scene(0.4L, c.mode, c.width, true);
        const QImage before = scene.Image().copy();
        DrawFrame(scene.session, *scene.family, 1);
        EXPECT_FALSE(scene.Image() == before);
        DrawFrame(scene.session, *scene.family, 1);
        EXPECT_TRUE(scene.Image() == before);
    }
}

TEST(Animation, EachStepErasesTheShownMemberAndDrawsExactlyTheNextOne) {
    AnimationScene scene(0, bmverbunden, 1, false);
    QImage& image = scene.Image();
    // The picture without the family, and each member alone on it.
    scene.family->Darstellung = false;
    StartAnimation(scene.session, true);
    const QImage stillPicture = image.copy();
    scene.family->Darstellung = true;
    std::vector<QImage> alone;
    for (int k = 0; k < 3; ++k) {
        image = stillPicture.copy();
        DrawFrame(scene.session, *scene.family, k);
        alone.push_back(image.copy());
    }
    StartAnimation(scene.session, true);
    const int column = scene.Column(scene.W() / 4);  // x = -2, clear of the zero axis
    const int shown[] = {0, 1, 2, 2, 1, 0, 0, 1};    // YoYo shows each end frame twice
    for (std::size_t i = 0; i < std::size(shown); ++i) {
        SCOPED_TRACE(testing::Message() << "tick " << i);
        if (i > 0)
            AnimationStep(scene.session, AnimationSender::Timer, true);
        EXPECT_EQ(scene.family->animationIndex, shown[i]);
        EXPECT_TRUE(image == alone[static_cast<std::size_t>(shown[i])]);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(image.pixel(column, scene.RowOf(k + 1)) == kRedPixel, k == shown[i]) << k;
        EXPECT_EQ(image.pixel(column, scene.RowOf(-2)), kGreenPixel);
    }
}

// The whole way from typed definitions: F1 has the parameter A with the five automatic
// values 1, 3, 5, 7, 9, G none. In the window -1..1 by -10..10 member A crosses x = 0.5 at
// y = A / 2 and G at y = -2.5.
TEST(Animation, SampledFamilyAnimatesOneMemberWhileTheParameterlessCurveStays) {
    Scene scene;
    FunctionManager manager(scene.catalogue);
    SessionObserver observer(scene.session);
    scene.catalogue.setObserver(&observer);
    scene.session.SetScaleMode(kScaleModeUser);
    for (const char* line : {"F1(X)=A*X", "G(X)=-5*X"}) {
        manager.setInputLine(line);
        manager.Enter();
    }
    scene.catalogue.parameterList.EnsureItems({"A"});
    scene.catalogue.parameterList.SetStopValue("A", 9);
    for (int row = 0; row < 2; ++row) {
        manager.SelectDefinition(row);
        ASSERT_TRUE(manager.Drop(row, kColumnFunction1));
    }
    TFktItem& family = *scene.catalogue.displayList.at(0);
    TFktItem& plain = *scene.catalogue.displayList.at(1);
    ASSERT_EQ(family.FeldListenListeM.size(), 5u);
    EXPECT_TRUE(family.Animated);
    EXPECT_FALSE(plain.Animated);
    family.Farbe = kRed;
    plain.Farbe = kBlue;
    scene.catalogue.currentItem = &family;
    // Every redraw copies the window back into the fields, so they are typed last.
    scene.session.fields = RangeFields{"-1", "1", "-1", "1", "-10", "10"};
    scene.session.RedrawSurface(scene.session.main);
    ASSERT_TRUE(scene.notifier.empty());

    const PlotView& v = scene.View();
    const auto near = [&](Extended y, QRgb colour) {
        const int row = static_cast<int>((v.ymax - y) * v.plotHeight / (v.ymax - v.ymin));
        const QRect box(scene.Column(3 * v.plotWidth / 4) - 1, scene.Row(row) - 2, 3, 5);
        return CountIn(scene.Image(), box, colour) > 0;
    };
    const auto members = [&] {
        std::vector<bool> shown;
        for (const Extended a : {1, 3, 5, 7, 9}) shown.push_back(near(a / 2, kRedPixel));
        return shown;
    };
    EXPECT_EQ(members(), std::vector<bool>(5, true));
    EXPECT_TRUE(near(-2.5L, kBluePixel));
    StartAnimation(scene.session, true);
    EXPECT_EQ(members(), (std::vector<bool>{true, false, false, false, false}));
    AnimationStep(scene.session, AnimationSender::Timer, true);
    AnimationStep(scene.session, AnimationSender::Timer, true);
    EXPECT_EQ(members(), (std::vector<bool>{false, false, true, false, false}));
    EXPECT_TRUE(near(-2.5L, kBluePixel));
}

}  // namespace
}  // namespace pc
