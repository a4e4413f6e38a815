#pragma once
// The two plot surfaces of the program (the main plot and the preview) with the state
// they share: GridType, ScaleMode, the zoom mode, the preview's factors and the range
// fields of the plot settings window. Every redraw, zoom, pan and view change runs here;
// the windows only forward their events and show the image.

#include <cstdint>
#include <functional>
#include <string>

#include "plot_surface.h"
#include "view.h"

namespace pc {

class Catalogue;
class Notifier;
struct Configuration;
struct FunctionFileView;

class PlotSession {
  public:
    PlotSession(Catalogue& catalogue, Notifier& notifier);

    Catalogue& GetCatalogue() { return m_catalogue; }
    Notifier& GetNotifier() { return m_notifier; }

    // --- State ---------------------------------------------------------------------
    PlotSurface main{SurfaceKind::Main};
    PlotSurface preview{SurfaceKind::Preview};
    GridType gridType = GridType::gtLinLin;
    ScaleMode scaleMode = ScaleMode::smGlobal;
    // What the last grid could not do; it holds until an arrow, a slider, a new grid type
    // or typed ranges reset it.
    GridError gridError = GridError::None;
    bool zoomMode = true;
    std::int32_t previewFactorX = 3;
    std::int32_t previewFactorY = 3;
    RangeFields fields;
    // The display list may be drawn: false while the catalogue rebuilds it.
    bool displayReady = true;
    // Asked for instead of a grid when pending error 2 is set.
    std::function<void()> showPlotSettings;

    // --- Layout and drawing ----------------------------------------------------------
    // Lays the surface out for its panel and repaints it from the existing point lists.
    void Layout(PlotSurface& surface, const PanelGeometry& panel);
    // The full redraw: sample, fit, draw curves and grid, then lay out again so that the
    // label column fits the labels just built. Nothing happens for a disabled surface.
    void RedrawSurface(PlotSurface& surface);
    // The main plot, then the preview.
    void RedrawAll();
    // Validates the typed ranges (main plot, user-defined view), samples every shown
    // item and fits the window. False when the ranges are not numbers.
    bool PrepareRedraw(PlotSurface& surface);
    // Curves and grid from the existing point lists; false when the surface is not ready.
    bool Paint(PlotSurface& surface);

    // --- Settings --------------------------------------------------------------------
    // The grid type and what follows it: preview factors, the range fields, a fresh
    // pending grid error; then both surfaces are redrawn unless `redraw` is false.
    void SetGridType(GridType value, bool redraw = true);
    // The reference command of the plot settings and the legend: `chosen` becomes the
    // only reference curve (none when null) and both plots are redrawn. False, changing
    // nothing, in the reference view without a chosen curve: the caller offers the
    // curves to choose from instead.
    bool ApplyReference(const TFktItem* chosen);
    // The view section of a function file: limits, grid type and view mode.
    void ApplyView(const FunctionFileView& view);
    FunctionFileView CurrentView() const;
    // The look of both surfaces and the angle unit of the read-out.
    void ApplyConfiguration(const Configuration& configuration);
    bool angleInDegrees = true;
    std::int32_t animationSpeed = 0;  // kept for the function file
    // The classic drawing on both surfaces, or the new one; does not redraw.
    void SetClassicDrawing(bool classic) { main.classic = preview.classic = classic; }
    // One unit as long across as up on a linear grid (the new drawing only); kept beside
    // the program's settings, not in the function file.
    bool equalAspect = false;
    // The view mode and what follows it; does not redraw.
    void SetScaleMode(ScaleMode mode);
    // The range fields from the main plot's view.
    void RefreshFields();

    // --- Zoom and pan ----------------------------------------------------------------
    void ArrowUp();
    void ArrowDown();
    void ArrowLeft();
    void ArrowRight();
    void Wheel(bool up);
    // The main plot's rubber band from (x1, y1) to (x2, y2), in its pixels: a band at
    // least 5 pixels wide and high becomes the view (both ranges in ascending order, the
    // variable following x), in the user-defined mode, and both plots are redrawn.
    // Anything smaller, a corner without a world point, or the polar grid changes
    // nothing. True when the view changed.
    bool ZoomToBand(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    // A zoom slider (0..10000, rest 5000) released at `position`.
    void ReleaseSlider(bool vertical, std::int32_t position);
    // The preview's label while a slider is at `position`: "100%" style in zoom mode,
    // the pan offset in pan mode.
    std::string SliderLabel(std::int32_t position) const;
    // The label once a slider is released and back at rest: "100 %" or "0".
    std::string SliderRestLabel() const { return zoomMode ? "100 %" : "0"; }

    // --- Preview ---------------------------------------------------------------------
    void DerivePreviewWindow();
    void DrawPreviewRectangle();
    // The main view's rectangle in the preview's pixels, as last drawn.
    struct Rectangle {
        std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    };
    const Rectangle& PreviewRectangle() const { return m_previewRectangle; }
    bool Dragging() const { return m_dragging; }
    void PreviewMouseDown(std::int32_t px, std::int32_t py);
    void PreviewMouseMove(std::int32_t px, std::int32_t py);
    void PreviewMouseUp(std::int32_t px, std::int32_t py);

  private:
    // A window before and after EqualAspectWindow stretched it.
    struct AspectWindows {
        bool valid = false;
        ViewRange original;
        ViewRange stretched;
    };
    void KeepEqualAspect(PlotSurface& surface);
    void AfterRangeChange();
    void HorizontalArrow(Extended f, Extended logF);
    void VerticalArrow(Extended f, Extended logF);
    // The rectangle centred at (px, py), mapped back to world; false if a corner has no
    // world point.
    bool RectangleAt(std::int32_t px, std::int32_t py, Extended& xmin, Extended& xmax,
                     Extended& ymin, Extended& ymax);

    Catalogue& m_catalogue;
    Notifier& m_notifier;
    Rectangle m_previewRectangle;
    bool m_dragging = false;
    std::int32_t m_dragStartX = 0;
    std::int32_t m_dragStartY = 0;
    const TFktItem* m_rememberedReference = nullptr;
    AspectWindows m_mainAspect;
    AspectWindows m_previewAspect;
};

}  // namespace pc
