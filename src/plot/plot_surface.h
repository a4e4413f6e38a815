#pragma once
// One plot surface (TGenericForm): its view, its look, its grid list and the image it
// draws on. The main window, the preview, the printer snapshot and the headless renderer
// all draw through these functions; only the window around the image differs.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "catalogue/configuration_file.h"
#include "grid.h"
#include "view.h"

class QImage;
class QPainter;
class QRect;

namespace pc {

class Notifier;

// The sizes of the window around the image that the layout subtracts.
struct PanelGeometry {
    std::int32_t width = 800;  // client size of the panel holding the image
    std::int32_t height = 600;
    std::int32_t verticalSliderWidth = 0;
    std::int32_t horizontalSliderHeight = 0;
};

class PlotSurface {
  public:
    explicit PlotSurface(SurfaceKind kind);
    ~PlotSurface();
    PlotSurface(const PlotSurface&) = delete;
    PlotSurface& operator=(const PlotSurface&) = delete;

    SurfaceKind Kind() const { return m_kind; }
    bool IsPreview() const { return m_kind == SurfaceKind::Preview; }

    QImage& Image() { return *m_image; }
    const QImage& Image() const { return *m_image; }
    // Text sizes in the axis font of `look`.
    const TextMeasure& Measure() const;

    // Recomputes the plot area from the panel and the widest vertical-axis label of the
    // current grid list, and makes a fresh image of the matching size filled with the
    // background colour. Does not draw.
    void LayoutPlotArea(const PanelGeometry& panel, GridType gridType);

    // Fills the whole image with the background colour.
    void Clear();
    // Called first when Clear or LayoutPlotArea wipe the image: whatever was drawn on it
    // step by step (an animation's frames) is gone.
    std::function<void()> pictureWiped;

    PlotView view;
    PlotLook look;
    // The drawing the program has always made: aliased, the grid over the curves, labels
    // where the grid put them. Off, the picture is drawn as people publish plots today.
    bool classic = false;
    // The polar rays are labelled in degrees, else in radians.
    bool angleInDegrees = true;
    bool enabled = true;
    std::vector<TLineitem> grid;
    PanelGeometry panel;
    // Device pixels per layout pixel of the screen the image is shown on (1 to 4).
    double devicePixelRatio = 1.0;
    // The image control's size: the image, or in polar mode the square plot area plus
    // the top and left margins.
    std::int32_t controlWidth = 0;
    std::int32_t controlHeight = 0;

  private:
    class FontMeasure;

    SurfaceKind m_kind;
    std::unique_ptr<QImage> m_image;
    mutable std::unique_ptr<FontMeasure> m_measure;  // follows look.font when asked
};

// Maps every point array of every shown, valid item to the surface's pixels and hands them
// with the array to `draw` in display-list order: the one pass that both the image and
// the pen plotter take the curves from. Repairs the window first where it cannot map.
using PointListVisitor = std::function<void(const TFktItem&, const TPointArray&,
                                            const std::vector<DevicePoint>& pixels)>;
void ForEachMappedPointList(PlotSurface& surface, const DisplayList& items, GridType gridType,
                            const PointListVisitor& draw);

// Where a point array stands among the curves of a picture, which the new drawing shows:
// its member of the item's family (shaded from light to dark) and, in black and white,
// the pen style that tells its item from the others (see BlackWhitePenStyle).
struct CurvePlace {
    std::size_t member = 0;
    std::size_t members = 1;
    TPenStyle blackWhiteStyle = TPenStyle::psSolid;
};

// The place of `points`, one of the item's arrays for a surface of `kind`, in a picture
// of `items`.
CurvePlace PlaceOf(const DisplayList& items, const TFktItem& item, SurfaceKind kind,
                   const TPointArray& points);

// The pen style of `item` in a black-and-white picture of `items`: its own unless that
// draws solid; then the items drawn solid take solid, dashed, dotted, dash-dot and
// dash-dot-dot in display-list order, skipping the patterns that shown items have of
// their own while others remain.
TPenStyle BlackWhitePenStyle(const DisplayList& items, const TFktItem& item);

// Draws one point array, mapped to `pixels`, in the item's display mode, pen and colour.
// `inverting` draws with the not-xor pen, so that drawing the same array twice restores
// the image.
void DrawPointList(PlotSurface& surface, QPainter& painter, GridType gridType, const TFktItem& item,
                   const std::vector<DevicePoint>& pixels, bool inverting = false,
                   const CurvePlace& place = {});

// Maps and draws every point array of every shown, valid item, clipped to the plot area.
void DrawCurves(PlotSurface& surface, QPainter& painter, const DisplayList& items,
                GridType gridType);

// Repairs the surface's window where the curves it is about to map need it (only when
// there is a point array to map, as ForEachMappedPointList would).
void RepairWindowForCurves(PlotSurface& surface, const DisplayList& items, GridType gridType);

// A line style as the line style window's lists show it: a short curve in `box` drawn
// with the pens and markers the plot uses.
struct StyleSample {
    TColor colour = 0;
    std::uint8_t width = 1;
    TPenStyle penStyle = TPenStyle::psSolid;
    DisplayMode mode = DisplayMode::bmverbunden;
};
void DrawStyleSample(QPainter& painter, const QRect& box, const StyleSample& sample);

// Builds the grid list for the surface's layout without drawing it, unless an earlier
// NoLogarithmicGrid or ShowSettings forbids any grid; what the grid could not build is
// left in `error`.
void BuildSurfaceGrid(PlotSurface& surface, GridType gridType, GridError& error,
                      Notifier& notifier);

// The grid list's lines and the plot frame; in polar mode the origin's white dot.
void DrawGridLines(PlotSurface& surface, QPainter& painter, GridType gridType);
// The labels that fit, thinned so that none overlaps the one drawn before it; stores
// the anchors it drew at in the items. None while the grid or its text is hidden.
void DrawGridLabels(PlotSurface& surface, QPainter& painter);

// The grid list as the classic drawing would have left it for the surface's view and
// layout: the grid list itself on a classic surface, else built afresh with the classic
// labels and their drawn anchors. The pen plotter draws this one.
std::vector<TLineitem> ClassicGrid(const PlotSurface& surface, GridType gridType);

// Grid lines and, with `labels`, the labels from the existing grid list; on the polar grid
// clipped to the plot area.
void DrawGridList(PlotSurface& surface, QPainter& painter, GridType gridType, bool labels = true);

// Builds the grid list and draws lines and labels on the image, unless an earlier
// NoLogarithmicGrid forbids any grid; what the new grid could not build is left in
// `error`. Returns false when `error` asks for the plot settings window instead.
bool DrawGrid(PlotSurface& surface, GridType gridType, GridError& error, Notifier& notifier);

// The whole picture from the existing point lists and grid list onto `painter`, which
// may be the surface's image or any other device of the image control's size (a vector
// file, a scaled bitmap): curves and, with `withGrid`, the grid, in the order of the
// surface's drawing. The background is the device's own.
void PaintPicture(PlotSurface& surface, QPainter& painter, const DisplayList& items,
                  GridType gridType, bool withGrid);

// Builds the grid when `error` allows one and paints the picture on the image. Returns
// false when `error` asks for the plot settings window instead of a grid.
bool PaintSurface(PlotSurface& surface, const DisplayList& items, GridType gridType,
                  GridError& error, Notifier& notifier);

}  // namespace pc
