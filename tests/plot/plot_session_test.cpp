// The range operations and view changes of the two surfaces: arrows, wheel, sliders, the
// preview's window and rectangle drag, and the view mode.

#include "plot/plot_session.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "plot_test_support.h"

namespace pc::test {
namespace {

struct Range {
    Extended min;
    Extended max;
};

void ExpectRange(Extended min, Extended max, Range expected, const char* what) {
    EXPECT_NEAR(min, expected.min, 1e-12L) << what;
    EXPECT_NEAR(max, expected.max, 1e-12L) << what;
}

// A session showing F(X)=X in the user's view x, phi = 0..10 and y = 0..10.
struct ArrowFixture : PlotFixture {
    ArrowFixture() {
        Show("F(X)=X");
        UserView("0", "10", "0", "10", "0", "10");
    }
};

TEST(Arrows, ZoomNarrowsAndWidensTheVariableRangeAndTheWindowFollows) {
    ArrowFixture f;
    f.session.ArrowRight();
    ExpectRange(f.session.main.view.phimin, f.session.main.view.phimax, {2, 8}, "phi");
    ExpectRange(f.session.main.view.xmin, f.session.main.view.xmax, {2, 8}, "x");
    f.session.ArrowLeft();
    // (8 - 2) * 0.2 = 1.2 outwards on each side.
    ExpectRange(f.session.main.view.phimin, f.session.main.view.phimax, {0.8L, 9.2L}, "phi");
    EXPECT_EQ(f.session.fields.startValue, "0.8");
    EXPECT_EQ(f.session.fields.xmax, "9.2");
}

TEST(Arrows, PanMovesByAFifthOfTheRange) {
    ArrowFixture f;
    f.session.zoomMode = false;
    f.session.ArrowRight();
    ExpectRange(f.session.main.view.xmin, f.session.main.view.xmax, {2, 12}, "right");
    f.session.ArrowDown();
    ExpectRange(f.session.main.view.ymin, f.session.main.view.ymax, {-2, 8}, "down");
}

TEST(Arrows, AZeroWidthRangeStillMovesByTheMinimumStep) {
    ArrowFixture f;
    f.session.zoomMode = false;
    f.session.fields.startValue = f.session.fields.stopValue = "5";
    f.session.main.view.phimin = f.session.main.view.phimax = 5;
    f.session.ArrowRight();
    EXPECT_NEAR(f.session.main.view.phimin, 5 + 1e-8L, 1e-15L);
    EXPECT_NEAR(f.session.main.view.phimax, 5 + 1e-8L, 1e-15L);
}

TEST(Arrows, LogarithmicPanMovesByDecades) {
    ArrowFixture f;
    f.session.SetGridType(GridType::gtLinLog, false);
    f.UserView("0", "10", "1", "1000", "0", "10");
    f.session.zoomMode = false;
    f.session.gridError = GridError::NoLogarithmicGrid;
    f.session.ArrowDown();
    // Three decades / -5 / 1.2 = -0.5 decades on both ends.
    ExpectRange(f.session.main.view.ymin, f.session.main.view.ymax,
                {std::pow(10.0L, -0.5L), std::pow(10.0L, 2.5L)}, "y");
    EXPECT_EQ(f.session.gridError, GridError::None);
}

TEST(Arrows, VerticalArrowsMakeTheViewTheUsersAndPolarIgnoresThem) {
    PlotFixture f;
    f.Show("F(X)=1");
    f.session.SetScaleMode(ScaleMode::smGlobal);
    f.session.ArrowUp();
    EXPECT_EQ(f.session.scaleMode, ScaleMode::smUserDefined);

    f.session.SetGridType(GridType::gtPolar);
    f.UserView("-1", "1", "-1", "1", "0", "3");
    f.session.ArrowUp();
    ExpectRange(f.session.main.view.ymin, f.session.main.view.ymax, {-1, 1}, "polar y");
    // The horizontal arrows turn the angle range and leave the window alone.
    f.session.ArrowRight();
    ExpectRange(f.session.main.view.phimin, f.session.main.view.phimax, {0.6L, 2.4L}, "phi");
    ExpectRange(f.session.main.view.xmin, f.session.main.view.xmax, {-1, 1}, "polar x");
}

TEST(Wheel, UpZoomsOutAndDownZoomsInUnlessTheWindowIsHuge) {
    ArrowFixture f;
    f.session.Wheel(false);
    ExpectRange(f.session.main.view.xmin, f.session.main.view.xmax, {2, 8}, "down");
    f.session.Wheel(true);
    ExpectRange(f.session.main.view.xmin, f.session.main.view.xmax, {0.8L, 9.2L}, "up");
    f.session.main.view.xmax = 1e196L;
    const Extended phimin = f.session.main.view.phimin;
    f.session.Wheel(true);
    EXPECT_EQ(f.session.main.view.phimin, phimin);
}

TEST(Sliders, ReleaseArithmeticInZoomAndPanMode) {
    struct Case {
        bool zoom;
        bool vertical;
        int position;
        Range phi;
        Range y;
        const char* label;  // the preview's label at that position
        const char* why;
    };
    const Case cases[] = {
        {true, true, 5000, {0, 10}, {0, 10}, "100%", "the centre changes nothing"},
        // z = 10: f = -4.5, both ends move out by 4.5 widths.
        {true, true, 10000, {0, 10}, {-45, 55}, "10%", "zoomed out tenfold"},
        // z = 0.1: f = 0.45.
        {true, false, 0, {4.5L, 5.5L}, {0, 10}, "1000%", "zoomed in tenfold"},
        {false, true, 6250, {0, 10}, {10, 20}, "1", "pan by one width"},
        {false, false, 0, {-40, -30}, {0, 10}, "-4", "pan by four widths"},
    };
    for (const Case& c : cases) {
        ArrowFixture f;
        f.session.zoomMode = c.zoom;
        EXPECT_EQ(f.session.SliderLabel(c.position), c.label) << c.why;
        f.session.ReleaseSlider(c.vertical, c.position);
        ExpectRange(f.session.main.view.phimin, f.session.main.view.phimax, c.phi, c.why);
        ExpectRange(f.session.main.view.ymin, f.session.main.view.ymax, c.y, c.why);
        EXPECT_EQ(f.session.scaleMode, ScaleMode::smUserDefined) << c.why;
    }
}

TEST(Preview, WindowAroundTheMainViewForEveryAxisKind) {
    PlotFixture f;
    PlotView& m = f.session.main.view;
    PlotView& p = f.session.preview.view;
    const auto main = [&](Extended xmin, Extended xmax, Extended ymin, Extended ymax) {
        m.xmin = xmin;
        m.xmax = xmax;
        m.ymin = ymin;
        m.ymax = ymax;
    };
    f.session.SetGridType(GridType::gtLinLin, false);
    main(0, 10, 0, 1);
    f.session.DerivePreviewWindow();
    ExpectRange(p.xmin, p.xmax, {-30, 40}, "x: three widths each side");
    ExpectRange(p.ymin, p.ymax, {-3, 4}, "y");
    ExpectRange(p.phimin, p.phimax, {-30, 40}, "the preview samples its width");

    f.session.SetGridType(GridType::gtLinLog, false);
    main(0, 10, 1, 100);
    f.session.DerivePreviewWindow();
    EXPECT_EQ(f.session.previewFactorY, 1);
    ExpectRange(p.ymin * 100, p.ymax / 10000, {1, 1}, "two decades each side");

    f.session.SetGridType(GridType::gtLogLog, false);
    m.logFloorX = 0.5L;
    main(0, 8, 1, 10);
    f.session.DerivePreviewWindow();
    // xmin 0 is repaired to 1e-20, which is below 1e-18 and so becomes the floor 0.5:
    // three times the 1.2 decades from 0.5 to 8 on each side.
    EXPECT_EQ(m.xmin, 0.5L);
    EXPECT_NEAR(std::log10(p.xmax / 8), 3 * std::log10(16.0L), 1e-12L);
    EXPECT_NEAR(std::log10(0.5L / p.xmin), 3 * std::log10(16.0L), 1e-12L);

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
        p.plotWidth = p.plotHeight = 100;
        p.plotRight = p.plotBottom = 100;
        p.xmin = p.ymin = 0;
        p.xmax = p.ymax = 100;
        session.DrawPreviewRectangle();
    }
};

TEST(Preview, TheRectangleIsTheMainViewInPreviewPixels) {
    DragFixture f;
    const PlotSession::Rectangle& r = f.session.PreviewRectangle();
    EXPECT_EQ(r.x1, 40);
    EXPECT_EQ(r.y1, 60);  // the pixel row of ymin = 40
    EXPECT_EQ(r.x2, 60);
    EXPECT_EQ(r.y2, 40);
}

TEST(Preview, DraggingTheRectangleMovesTheMainView) {
    DragFixture f;
    f.session.PreviewMouseDown(50, 50);
    f.session.PreviewMouseUp(51, 51);  // one pixel: nothing happens
    ExpectRange(f.session.main.view.xmin, f.session.main.view.xmax, {40, 60}, "one pixel");

    f.session.PreviewMouseDown(50, 50);
    f.session.PreviewMouseMove(60, 50);
    ExpectRange(f.session.main.view.xmin, f.session.main.view.xmax, {50, 70}, "while moving");
    f.session.PreviewMouseUp(70, 40);
    EXPECT_FALSE(f.session.Dragging());
    // Centred at (70, 40) in pixels: x 60..80, y 50..70 (rows grow downwards).
    ExpectRange(f.session.main.view.xmin, f.session.main.view.xmax, {60, 80}, "x");
    ExpectRange(f.session.main.view.ymin, f.session.main.view.ymax, {50, 70}, "y");
    ExpectRange(f.session.main.view.phimin, f.session.main.view.phimax, {60, 80}, "phi");
    EXPECT_EQ(f.session.fields.startValue, "60");
    EXPECT_EQ(f.session.scaleMode, ScaleMode::smUserDefined);
}

TEST(Preview, ADragEndsWhenTheViewIsNotTheUsers) {
    DragFixture f;
    f.session.SetScaleMode(ScaleMode::smGlobal);
    f.session.PreviewMouseDown(50, 50);
    f.session.PreviewMouseMove(60, 50);
    EXPECT_FALSE(f.session.Dragging());
    ExpectRange(f.session.main.view.xmin, f.session.main.view.xmax, {40, 60}, "x");
}

TEST(ScaleMode, TheUsersViewForgetsTheReferenceAndTheReferenceViewRestoresIt) {
    PlotFixture f;
    TFktItem& first = f.Show("F(X)=X");
    TFktItem& second = f.Show("G(X)=2*X");
    second.Referenz = true;
    f.session.fields.startValue = "-3";
    f.session.fields.stopValue = "4";
    f.session.SetScaleMode(ScaleMode::smUserDefined);
    EXPECT_FALSE(second.Referenz);
    EXPECT_EQ(f.session.main.view.phimin, -3);  // the variable fields are taken
    EXPECT_EQ(f.session.main.view.phimax, 4);
    f.catalogue.SetCurrentItem(&first);
    f.session.SetScaleMode(ScaleMode::smReference);
    EXPECT_TRUE(second.Referenz);
    EXPECT_EQ(f.catalogue.CurrentItem(), &second);
}

TEST(ScaleMode, TheReferenceViewFitsTheReferenceCurveOnly) {
    PlotFixture f;
    f.Show("F(X)=X");
    TFktItem& big = f.Show("G(X)=100*X");
    f.UserView("0", "1", "0", "1", "0", "1");
    big.Referenz = true;
    f.session.SetScaleMode(ScaleMode::smReference);
    f.session.RedrawSurface(f.session.main);
    ExpectRange(f.session.main.view.ymin, f.session.main.view.ymax, {0, 100}, "G only");
    f.session.SetScaleMode(ScaleMode::smGlobal);
    f.session.RedrawSurface(f.session.main);
    ExpectRange(f.session.main.view.ymin, f.session.main.view.ymax, {0, 100}, "both");
    ExpectRange(f.session.main.view.xmin, f.session.main.view.xmax, {0, 1}, "x");
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

TEST(Redraw, AnImplicitItemSaysSoAndDrawsNothing) {
    PlotFixture f;
    TFktItem& item = f.Show("F(X)=X");
    item.SetFktTyp(TFktTyp::ftfxy);
    f.notifier.clear();
    f.session.RedrawSurface(f.session.main);
    EXPECT_EQ(f.notifier.plain, Names{"todo fxy"});
}

TEST(GridType, ChangingItResetsThePreviewFactorsAndAFailedGrid) {
    PlotFixture f;
    f.session.gridError = GridError::NoLogarithmicGrid;
    f.session.SetGridType(GridType::gtPolar, false);
    EXPECT_EQ(f.session.previewFactorX, 0);
    EXPECT_EQ(f.session.previewFactorY, 0);
    EXPECT_EQ(f.session.gridError, GridError::None);
    f.session.gridError = GridError::ShowSettings;  // not a failed grid: kept
    f.session.SetGridType(GridTypeFromByte(Ordinal(GridType::gtDbDb) + 128), false);
    EXPECT_EQ(f.session.gridType, GridType::gtDbDb);  // the high bit is not part of the type
    EXPECT_EQ(f.session.previewFactorX, 3);
    EXPECT_EQ(f.session.gridError, GridError::ShowSettings);
    // A refused definition leaves its status as the catalogue's pending error; the grid
    // does not take that for a failed grid of its own.
    f.catalogue.SetPendingError(1);
    f.session.RedrawSurface(f.session.main);
    EXPECT_FALSE(f.session.main.grid.empty());
}

}  // namespace
}  // namespace pc::test
