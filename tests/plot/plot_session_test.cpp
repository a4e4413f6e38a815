#include "plot/plot_session.h"

#include <gtest/gtest.h>

#include <cmath>
#include <variant>

#include "plot/scale_map.h"
#include "plot_test_support.h"

namespace pc::test {
namespace {

struct Range {
    Extended min, max;
};

void ExpectRange(Extended min, Extended max, Range expected, const std::string& what) {
    EXPECT_NEAR(min, expected.min, 1e-12L) << what;
    EXPECT_NEAR(max, expected.max, 1e-12L) << what;
}

// The main view's variable, x and y ranges.
void ExpectView(const PlotFixture& f, Range phi, Range x, Range y, const std::string& what) {
    const PlotView& v = f.session.main.view;
    ExpectRange(v.phimin, v.phimax, phi, what + ": phi");
    ExpectRange(v.xmin, v.xmax, x, what + ": x");
    ExpectRange(v.ymin, v.ymax, y, what + ": y");
}

// A session showing F(X)=X in the user's view x, phi = 0..10 and y = 0..10.
struct ArrowFixture : PlotFixture {
    ArrowFixture() {
        Show("F(X)=X");
        UserView("0", "10", "0", "10", "0", "10");
    }
};

// The wheel zooms as the horizontal arrows do, unless the window is huge; pan moves by a
// fifth of the range.
TEST(Arrows, ZoomNarrowsAndWidensTheVariableRangeAndPanMovesByAFifth) {
    ArrowFixture f;
    f.session.Wheel(false);
    ExpectView(f, {2, 8}, {2, 8}, {0, 10}, "zoomed in");
    f.session.Wheel(true);  // (8 - 2) * 0.2 = 1.2 outwards on each side
    ExpectView(f, {0.8L, 9.2L}, {0.8L, 9.2L}, {0, 10}, "zoomed out");
    EXPECT_TRUE(f.session.fields.startValue == "0.8" && f.session.fields.xmax == "9.2");
    f.session.zoomMode = false;
    f.session.ArrowRight();  // 8.4 / 5
    f.session.ArrowDown();
    ExpectView(f, {2.48L, 10.88L}, {2.48L, 10.88L}, {-2, 8}, "panned");
    f.session.main.view.xmax = 1e196L;
    f.session.Wheel(true);
    EXPECT_EQ(f.session.main.view.phimin, 2.48L);
    // A zero-width range still moves by the minimum step.
    f.session.fields.startValue = f.session.fields.stopValue = "5";
    f.session.main.view.phimin = f.session.main.view.phimax = 5;
    f.session.ArrowRight();
    ExpectRange(f.session.main.view.phimin, f.session.main.view.phimax, {5 + 1e-8L, 5 + 1e-8L},
                "zero width");
}

// Vertical arrows make the view the user's and pan a logarithmic axis by decades, clearing
// a failed grid; on the polar grid they leave the window alone and the horizontal ones
// turn the angle range. The linear pans are pinned by the command-line script.
TEST(Arrows, LogarithmicAndPolarAxes) {
    PlotFixture f;
    f.Show("F(X)=1");
    f.session.SetGridType(GridType::gtLinLog, false);
    f.UserView("0", "10", "1", "1000", "0", "10");
    f.session.SetScaleMode(ScaleMode::smGlobal);
    SetWindow(f.session.main.view, {0, 10, 1, 1000});
    f.session.zoomMode = false;
    f.session.gridError = GridError::NoLogarithmicGrid;
    f.session.ArrowDown();  // three decades / -5 / 1.2 = -0.5 decades on both ends
    ExpectRange(f.session.main.view.ymin, f.session.main.view.ymax,
                {std::pow(10.0L, -0.5L), std::pow(10.0L, 2.5L)}, "y");
    EXPECT_TRUE(f.session.gridError == GridError::None &&
                f.session.scaleMode == ScaleMode::smUserDefined);
    f.session.zoomMode = true;
    f.session.SetGridType(GridType::gtPolar);
    f.UserView("-1", "1", "-1", "1", "0", "3");
    f.session.ArrowUp();
    f.session.ArrowRight();
    ExpectView(f, {0.6L, 2.4L}, {-1, 1}, {-1, 1}, "polar");
}

// z = 10^(position / 5000 - 1): the zoom label is 100 / z percent and both ends move by
// -(z - 1) / 2 widths; the pan label and move are (position - 5000) / 1250 widths. The
// centre is pinned by the command-line script.
TEST(Sliders, LabelsAndReleaseArithmetic) {
    ArrowFixture f;
    EXPECT_EQ(f.session.SliderLabel(10000) + " " + f.session.SliderLabel(0), "10% 1000%");
    f.session.ReleaseSlider(true, 10000);                       // z = 10: out by 4.5 widths
    f.session.ReleaseSlider(false, 0);                          // z = 0.1: in by 0.45 widths
    ExpectView(f, {4.5L, 5.5L}, {0, 10}, {-45, 55}, "zoomed");  // the x window stays
    f.session.zoomMode = false;
    EXPECT_EQ(f.session.SliderLabel(0), "-4");
    f.session.ReleaseSlider(true, 6250);
    f.session.ReleaseSlider(false, 0);
    ExpectView(f, {0.5L, 1.5L}, {0, 10}, {55, 155}, "panned");
}

// Three widths each side on linear axes are pinned by the command-line script.
TEST(Preview, WindowAroundTheMainViewOnLogarithmicAndPolarAxes) {
    PlotFixture f;
    PlotView& m = f.session.main.view;
    PlotView& p = f.session.preview.view;
    f.session.SetGridType(GridType::gtLinLog, false);
    SetWindow(m, {0, 10, 0, 100});
    m.logFloorY = 1;  // a non-positive minimum on a logarithmic axis becomes the floor
    f.session.DerivePreviewWindow();
    ExpectRange(p.ymin * 100, p.ymax / 10000, {1, 1}, "two decades each side");
    f.session.SetGridType(GridType::gtLogLog, false);
    m.logFloorX = 0.5L;
    SetWindow(m, {0, 8, 1, 10});
    f.session.DerivePreviewWindow();
    // xmin 0 is repaired to 1e-20, below 1e-18, and so becomes the floor 0.5: three times
    // the 1.2 decades from 0.5 to 8 on each side.
    EXPECT_EQ(m.xmin, 0.5L);
    ExpectRange(std::log10(p.xmax / 8), std::log10(0.5L / p.xmin),
                {3 * std::log10(16.0L), 3 * std::log10(16.0L)}, "x decades");
    f.session.SetGridType(GridType::gtPolar, false);
    m.phimin = 1;
    m.phimax = 3;
    f.session.DerivePreviewWindow();
    ExpectRange(p.phimin, p.phimax, {0, 4}, "half the angle range each side");
}

// A preview showing 0..100 in both directions on 100 x 100 pixels, and the main view
// 40..60 inside it.
struct DragFixture : PlotFixture {
    DragFixture() {
        Show("F(X)=X");
        UserView("40", "60", "40", "60", "40", "60");
        PlotView& p = session.preview.view;
        p.marginLeft = p.marginTop = 0;
        p.plotWidth = p.plotHeight = p.plotRight = p.plotBottom = 100;
        SetWindow(p, {0, 100, 0, 100});
        session.preview.Clear();
        session.DrawPreviewRectangle();
    }
};

// The rectangle is the main view in preview pixels, drawn with a red pen 2 pixels wide
// and not filled; dragging it moves the main view while the view is the user's.
TEST(Preview, TheRectangleIsTheMainViewAndDraggingItMovesTheView) {
    DragFixture f;
    const PlotSession::Rectangle& r = f.session.PreviewRectangle();
    EXPECT_TRUE(r.x1 == 40 && r.y1 == 60 && r.x2 == 60 && r.y2 == 40);  // y1: the row of ymin
    const QImage& image = f.session.preview.Image();
    EXPECT_EQ(CountIn(image, QRect(50, 30, 1, 20), kRedPixel), 2) << "the top edge";
    EXPECT_EQ(CountIn(image, QRect(30, 50, 20, 1), kRedPixel), 2) << "the left edge";
    EXPECT_EQ(image.pixel(50, 50), kWhitePixel);

    f.session.PreviewMouseDown(50, 50);
    f.session.PreviewMouseUp(51, 51);  // one pixel: nothing happens
    ExpectView(f, {40, 60}, {40, 60}, {40, 60}, "one pixel");
    f.session.PreviewMouseDown(50, 50);
    f.session.PreviewMouseMove(60, 50);
    ExpectRange(f.session.main.view.xmin, f.session.main.view.xmax, {50, 70}, "while moving");
    f.session.PreviewMouseUp(70, 40);
    EXPECT_FALSE(f.session.Dragging());
    // Centred at (70, 40) in pixels: x 60..80, y 50..70 (rows grow downwards).
    ExpectView(f, {60, 80}, {60, 80}, {50, 70}, "dropped");
    EXPECT_TRUE(f.session.fields.startValue == "60" &&
                f.session.scaleMode == ScaleMode::smUserDefined);

    DragFixture global;
    global.session.SetScaleMode(ScaleMode::smGlobal);
    global.session.PreviewMouseDown(50, 50);
    global.session.PreviewMouseMove(60, 50);
    EXPECT_FALSE(global.session.Dragging());
    ExpectRange(global.session.main.view.xmin, global.session.main.view.xmax, {40, 60}, "x");
}

// The rubber band takes both ranges or nothing: a band under 5 pixels either way and the
// polar grid leave the view alone, and the variable range follows x. The main window's
// drag test pins the thin horizontal band and the corners of a real one.
TEST(RubberBand, ABandOfFivePixelsOrMoreBecomesTheView) {
    ArrowFixture f;
    const DevicePoint low = WorldToDevice(f.session.main.view, f.session.gridType, 2, 3);
    const DevicePoint high = WorldToDevice(f.session.main.view, f.session.gridType, 6, 8);
    EXPECT_FALSE(f.session.ZoomToBand(low.px, low.py, low.px + 100, low.py - 4));
    ASSERT_TRUE(f.session.ZoomToBand(high.px, high.py, low.px, low.py));  // dragged up-left
    const PlotView& v = f.session.main.view;
    EXPECT_NEAR(v.ymin, 3, 0.1L) << "within a pixel of the 10-unit window";
    EXPECT_TRUE(v.phimin == v.xmin && v.phimax == v.xmax);
    f.session.SetGridType(GridType::gtPolar);
    const ViewRange before = v.Range();
    EXPECT_FALSE(f.session.ZoomToBand(10, 10, 200, 200));
    EXPECT_TRUE(v.Range() == before);
}

// The user's view forgets the reference curve and takes the variable fields; the
// reference view marks it again and makes it current. The fits are the view's.
TEST(ScaleMode, TheUsersViewForgetsTheReferenceAndTheReferenceViewRestoresIt) {
    PlotFixture f;
    TFktItem& reference = f.Show("F(X)=X");
    f.Show("G(X)=100*X");
    reference.Referenz = true;
    f.session.fields.startValue = "-3";
    f.session.fields.stopValue = "4";
    f.session.SetScaleMode(ScaleMode::smUserDefined);
    EXPECT_FALSE(reference.Referenz);
    EXPECT_TRUE(f.session.main.view.phimin == -3 && f.session.main.view.phimax == 4);
    f.session.SetScaleMode(ScaleMode::smReference);
    EXPECT_TRUE(reference.Referenz && f.catalogue.CurrentItem() == &reference);
}

TEST(Redraw, BadRangeFieldsStopTheRedrawWithAMessage) {
    PlotFixture f;
    TFktItem& item = f.Show("F(X)=X");
    f.UserView("0", "1", "0", "1", "0", "1");
    for (TPointArray& array : item.FeldListenListeM) array = std::vector<TFeldfty>(200);
    f.session.fields.xmax = "abc";
    f.notifier.clear();
    f.session.RedrawSurface(f.session.main);
    EXPECT_EQ(f.notifier.plain, Names{"Error in Input Data. Please correct"});
    EXPECT_FALSE(std::get<std::vector<TFeldfty>>(item.FeldListenListeM.at(0)).back().valid);
    EXPECT_EQ(f.session.main.view.xmax, 1);
}

TEST(GridType, ChangingItResetsAFailedGrid) {
    PlotFixture f;
    f.session.gridError = GridError::NoLogarithmicGrid;
    f.session.SetGridType(GridType::gtPolar, false);
    EXPECT_EQ(f.session.gridError, GridError::None);
    f.session.gridError = GridError::ShowSettings;  // not a failed grid: kept
    f.session.SetGridType(GridTypeFromByte(Ordinal(GridType::gtDbDb) + 128), false);
    EXPECT_EQ(f.session.gridType, GridType::gtDbDb);  // the high bit is not part of the type
    EXPECT_EQ(f.session.gridError, GridError::ShowSettings);
    // A refused definition leaves its status as the catalogue's pending error; the grid
    // does not take that for a failed grid of its own.
    f.catalogue.SetPendingError(1);
    f.session.RedrawSurface(f.session.main);
    EXPECT_FALSE(f.session.main.grid.empty());
}

// The new drawing gives a fitted window 5 % of its height above and below (of its decades
// on a logarithmic axis); the classic one fits exactly, and the user's window is kept.
TEST(Redraw, AFittedWindowHasHeadroomInTheNewDrawing) {
    struct Case {
        GridType grid;
        bool classic;
        ScaleMode mode;
        Range y;
    };
    // F(X)=X*X over x = 1..10 spans y = 1..100; two decades give a factor 10^0.1.
    const Extended decade = std::pow(10.0L, 0.1L);
    const Case cases[] = {
        {GridType::gtLinLin, false, ScaleMode::smGlobal, {1 - 4.95L, 100 + 4.95L}},
        {GridType::gtLinLin, true, ScaleMode::smGlobal, {1, 100}},
        {GridType::gtLinLog, false, ScaleMode::smGlobal, {1 / decade, 100 * decade}},
        {GridType::gtLinLin, false, ScaleMode::smUserDefined, {0, 10}},
    };
    for (const Case& c : cases) {
        PlotFixture f;
        f.session.SetClassicDrawing(c.classic);
        f.Show("F(X)=X*X");
        f.session.fields = {"1", "10", "0", "10", "0", "10"};
        f.session.SetGridType(c.grid, false);
        f.session.SetScaleMode(c.mode);
        f.session.fields = {"1", "10", "0", "10", "0", "10"};
        f.session.RedrawSurface(f.session.main);
        const PlotView& v = f.session.main.view;
        EXPECT_NEAR(v.ymin, c.y.min, 1e-9L) << Ordinal(c.grid) << c.classic;
        EXPECT_NEAR(v.ymax, c.y.max, 1e-9L) << Ordinal(c.grid) << c.classic;
    }
}

// With equal aspect a unit is as long across as up, and it stays so when the panel
// changes shape back and forth, without the window creeping wider.
TEST(Redraw, EqualAspectKeepsUnitsSquareAcrossLayouts) {
    PlotFixture f;
    f.session.SetClassicDrawing(false);
    f.session.equalAspect = true;
    f.Show("F(X)=SIN(X)");
    f.UserView("0", "10", "-1", "1", "0", "10");
    f.session.RedrawSurface(f.session.main);
    const auto unitRatio = [&f] {
        const PlotView& v = f.session.main.view;
        return ((v.xmax - v.xmin) / v.plotWidth) / ((v.ymax - v.ymin) / v.plotHeight);
    };
    EXPECT_NEAR(unitRatio(), 1, 1e-12L);
    EXPECT_TRUE(f.session.main.view.xmin == 0 && f.session.main.view.xmax == 10)
        << "the wider axis is kept";
    f.session.Layout(f.session.main, PanelGeometry{300, 700, 0, 0});
    EXPECT_NEAR(unitRatio(), 1, 1e-12L);
    f.session.Layout(f.session.main, PanelGeometry{800, 600, 0, 0});
    EXPECT_NEAR(unitRatio(), 1, 1e-12L);
    EXPECT_TRUE(f.session.main.view.xmin == 0 && f.session.main.view.xmax == 10) << "no creep";
    f.session.equalAspect = false;
    f.session.RedrawSurface(f.session.main);
    EXPECT_TRUE(f.session.main.view.ymin == -1 && f.session.main.view.ymax == 1);
}

}  // namespace
}  // namespace pc::test
