#pragma once
// A catalogue wired to the two plot surfaces as the program wires them, with a recording
// notifier, for tests that enter functions and draw them.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRect>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/catalogue_test_support.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"
#include "plot/plot_session.h"
#include "plot/plot_surface.h"
#include "plot/session_observer.h"

namespace pc::test {

inline double D(Extended value) {
    return static_cast<double>(value);
}

struct Window {
    Extended xmin, xmax, ymin, ymax;
};

inline void SetWindow(PlotView& view, const Window& w) {
    view.SetRange({w.xmin, w.xmax, w.ymin, w.ymax, view.phimin, view.phimax});
}

inline void ExpectWindow(const PlotView& view, const Window& w) {
    EXPECT_NEAR(D(view.xmin), D(w.xmin), 1e-15);
    EXPECT_NEAR(D(view.xmax), D(w.xmax), 1e-15);
    EXPECT_NEAR(D(view.ymin), D(w.ymin), 1e-15);
    EXPECT_NEAR(D(view.ymax), D(w.ymax), 1e-15);
}

// A plot area `w` x `h` at (left, top) showing `window`.
inline PlotView Area(std::int32_t w, std::int32_t h, std::int32_t left, std::int32_t top,
                     const Window& window) {
    PlotView view{.marginLeft = left,
                  .marginTop = top,
                  .plotRight = left + w,
                  .plotBottom = top + h,
                  .plotWidth = w,
                  .plotHeight = h};
    SetWindow(view, window);
    return view;
}

// Records at the points `xy`, all valid or all not.
template <class Record = TFeldfty>
std::vector<Record> Records(std::initializer_list<std::pair<Extended, Extended>> xy,
                            bool valid = true) {
    std::vector<Record> records(xy.size());
    auto point = xy.begin();
    for (Record& r : records) {
        r.x = point->first;
        r.y = (point++)->second;
        r.valid = valid;
    }
    return records;
}

struct PlotFixture {
    RecordingNotifier notifier;
    Catalogue catalogue{notifier};
    FunctionManager manager{catalogue};
    PlotSession session{catalogue, notifier};
    SessionObserver observer{session};

    // The main plot laid out in a panel of `width` x `height`, the preview in 300 x 230.
    // The classic drawing, whose pictures these tests check pixel by pixel.
    explicit PlotFixture(int width = 800, int height = 600) {
        catalogue.SetObserver(&observer);
        session.SetClassicDrawing(true);
        session.main.view.ready = true;
        session.preview.view.ready = true;
        session.Layout(session.main, PanelGeometry{width, height, 0, 0});
        session.Layout(session.preview, PanelGeometry{300, 230, 0, 0});
    }

    // The main plot area `w` x `h` at (left, top) showing `window`, without a grid.
    void MainArea(std::int32_t w, std::int32_t h, std::int32_t left, std::int32_t top,
                  const Window& window) {
        session.main.view = Area(w, h, left, top, window);
        session.main.grid.clear();  // built by the layout
    }

    // Enters `definition` and drops its function as a new item (column 5) or as the y(t)
    // of the item on `row` (column 6); the new item becomes the current one.
    TFktItem& Show(const std::string& definition, int column = 5, int row = -1) {
        manager.SetInputLine(definition);
        manager.Enter();
        for (std::size_t i = 0; i < catalogue.SelectionList().size(); ++i) {
            if (catalogue.SelectionList()[i] == definition)
                manager.SelectDefinition(static_cast<int>(i));
        }
        const int target = row >= 0 ? row : static_cast<int>(catalogue.Items().size());
        EXPECT_TRUE(manager.Drop(target, column)) << definition;
        TFktItem& item = *catalogue.Items().at(static_cast<std::size_t>(target));
        catalogue.SetCurrentItem(&item);
        return item;
    }

    // The user's view with these ranges, as typed into the plot settings window.
    void UserView(const std::string& xmin, const std::string& xmax, const std::string& ymin,
                  const std::string& ymax, const std::string& phimin, const std::string& phimax) {
        session.fields = {phimin, phimax, xmin, xmax, ymin, ymax};
        session.SetScaleMode(ScaleMode::smUserDefined);
        session.fields = {phimin, phimax, xmin, xmax, ymin, ymax};
        ASSERT_TRUE(ValidateUserRanges(session.main.view, session.fields));
    }
};

// Item colours are stored as 0x00BBGGRR; the image holds 0xFFRRGGBB.
constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlue = 0xFF0000;
const QRgb kRedPixel = qRgb(255, 0, 0);
const QRgb kBluePixel = qRgb(0, 0, 255);
const QRgb kWhitePixel = qRgb(255, 255, 255);
const QRgb kBlackPixel = qRgb(0, 0, 0);

inline int CountIn(const QImage& image, QRect area, QRgb colour) {
    area = area.intersected(image.rect());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) count += image.pixel(x, y) == colour;
    }
    return count;
}

using Samples = std::vector<TFeldfty>;

// The surface drawn on is laid out for a 600 x 400 panel without a grid, with the world
// window equal to its plot area counted in pixels, so that the sample At(dx, dy) lands dx
// pixels right of the left margin and dy below the top margin.
struct Scene : PlotFixture {
    PlotSurface& surface;

    explicit Scene(SurfaceKind kind = SurfaceKind::Main)
        : surface(kind == SurfaceKind::Main ? session.main : session.preview) {
        session.scaleMode = ScaleMode::smUserDefined;
        surface.look.gridVisible = false;
        surface.LayoutPlotArea(PanelGeometry{600, 400, 0, 0}, GridType::gtLinLin);
        SetWindow(View(), {0, Extended(W()), 0, Extended(H())});
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
    // A shown, valid item with one point array per entry of `arrays`, on both surfaces.
    TFktItem& Add(const std::vector<Samples>& arrays, TColor colour,
                  DisplayMode mode = DisplayMode::bmverbunden, std::uint8_t width = 1) {
        auto item = std::make_unique<TFktItem>();
        item->Farbe = colour;
        item->PunkteMarkierung = mode;
        item->LinienBreite = width;
        item->Darstellung = item->valid = true;
        item->Animated = arrays.size() >= 2;
        item->FeldListenListeM.assign(arrays.begin(), arrays.end());
        item->FeldListenListeP.assign(arrays.begin(), arrays.end());
        return catalogue.AddItem(std::move(item));
    }
    // The curves alone.
    const QImage& Draw(GridType gridType = GridType::gtLinLin) {
        {
            QPainter painter(&surface.Image());
            DrawCurves(surface, painter, catalogue.Items(), gridType);
        }
        return Image();
    }
    // Curves and grid, laid out twice so that the label column fits the first pass's labels.
    const QImage& Paint(PanelGeometry panel = {600, 400, 0, 0}) {
        session.Layout(surface, panel);
        session.Layout(surface, panel);
        return Image();
    }
};

}  // namespace pc::test
