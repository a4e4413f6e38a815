#include "plot_session.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "catalogue/catalogue.h"
#include "catalogue/catalogue_views.h"
#include "catalogue/configuration_file.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_file.h"
#include "catalogue/notifier.h"
#include "catalogue/text_conversions.h"
#include "engine/number_text.h"
#include "sampling.h"
#include "scale_map.h"

namespace pc {

namespace {

// A fitted window's room above and below its curves, of its height.
constexpr Extended kHeadroom = 0.05L;

bool VerticalLinear(GridType gridType) {
    return gridType == GridType::gtLinLin || gridType == GridType::gtLogLin ||
           gridType == GridType::gtDbLin;
}

// A field's number, or `old` when the field holds none.
Extended TextToFloatOrKeep(const std::string& text, Extended old) {
    const Extended value = TextToFloat(text);
    return std::isfinite(value) ? value : old;
}

// Linear horizontally, the polar grid included.
bool HorizontalLinear(GridType gridType) {
    return !HorizontalLogarithmic(gridType);
}

}  // namespace

PlotSession::PlotSession(Catalogue& catalogue, Notifier& notifier)
    : m_catalogue(catalogue), m_notifier(notifier) {}

void PlotSession::Layout(PlotSurface& surface, const PanelGeometry& panel) {
    surface.LayoutPlotArea(panel, gridType);
    Paint(surface);
}

bool PlotSession::PrepareRedraw(PlotSurface& surface) {
    if (!m_catalogue.CurrentItem())
        return true;
    if (!surface.IsPreview() && scaleMode == ScaleMode::smUserDefined) {
        gridError = GridError::None;
        if (!ValidateUserRanges(surface.view, fields)) {
            m_notifier.PlainMessage("Error in Input Data. Please correct");
            return false;
        }
    }
    int shown = 0;
    for (const auto& item : m_catalogue.Items()) {
        if (!item->Darstellung || !item->valid)
            continue;
        ++shown;
        if (item->FktTyp() == TFktTyp::ftfxy)
            m_notifier.PlainMessage("todo fxy");
    }
    if (shown != 0) {
        SampleAllItems(m_catalogue, surface.view, gridType, surface.Kind(), m_notifier);
        ComputeViewRange(surface.view, scaleMode, m_catalogue.Items(), surface.Kind(), m_notifier);
        const bool fitted = scaleMode != ScaleMode::smUserDefined || surface.IsPreview();
        if (fitted && !surface.classic)
            AddHeadroom(surface.view, VerticalLogarithmic(gridType), kHeadroom);
    }
    return true;
}

void PlotSession::KeepEqualAspect(PlotSurface& surface) {
    if (!equalAspect || surface.classic || gridType != GridType::gtLinLin)
        return;
    PlotView& v = surface.view;
    const ViewRange now = v.Range();
    // The window last stretched is stretched again from what it was before, so that a
    // change of the plot area's shape does not keep widening it; any other window is new.
    AspectWindows& memory = surface.IsPreview() ? m_previewAspect : m_mainAspect;
    if (!(memory.valid && now == memory.stretched))
        memory.original = now;
    v.SetRange(memory.original);
    EqualAspectWindow(v);
    memory.stretched = v.Range();
    memory.valid = true;
}

bool PlotSession::Paint(PlotSurface& surface) {
    if (!surface.view.ready || !displayReady)
        return false;
    if (gridType == GridType::gtPolar)
        SquareWorldWindow(surface.view);
    surface.angleInDegrees = angleInDegrees;
    KeepEqualAspect(surface);
    if (!PaintSurface(surface, m_catalogue.Items(), gridType, gridError, m_notifier) &&
        showPlotSettings)
        showPlotSettings();
    if (surface.IsPreview())
        DrawPreviewRectangle();
    return true;
}

void PlotSession::RedrawSurface(PlotSurface& surface) {
    if (!surface.enabled)
        return;
    if (surface.IsPreview())
        DerivePreviewWindow();
    surface.Clear();
    if (!PrepareRedraw(surface))
        return;
    if (gridType == GridType::gtPolar)
        SquareWorldWindow(surface.view);
    // The label column is as wide as the labels of this picture: its grid is built first,
    // the surface laid out for it, and then everything is drawn once.
    if (surface.view.ready && displayReady) {
        RepairWindowForCurves(surface, m_catalogue.Items(), gridType);
        surface.angleInDegrees = angleInDegrees;
        BuildSurfaceGrid(surface, gridType, gridError, m_notifier);
    }
    RefreshFields();
    Layout(surface, surface.panel);
}

void PlotSession::RedrawAll() {
    RedrawSurface(main);
    RedrawSurface(preview);
}

void PlotSession::RefreshFields() {
    fields = FieldsOf(main.view);
}

void PlotSession::SetGridType(GridType value, bool redraw) {
    gridType = value;
    const bool polar = gridType == GridType::gtPolar;
    previewFactorX = previewFactorY = polar ? 0 : 3;
    // A grid that could not be built belongs to the old type; the new one gets its chance.
    if (gridError == GridError::NoLogarithmicGrid || gridError == GridError::NoDbAxis)
        gridError = GridError::None;
    RefreshFields();
    if (redraw)
        RedrawAll();
}

bool PlotSession::ApplyReference(const TFktItem* chosen) {
    if (scaleMode == ScaleMode::smReference && !chosen)
        return false;
    ChooseReference(m_catalogue, chosen);
    RedrawAll();
    return true;
}

void PlotSession::ApplyView(const FunctionFileView& file) {
    main.view.SetRange(file.range);
    SetGridType(file.gridType, false);
    RefreshFields();
    SetScaleMode(file.scaleMode);
    animationSpeed = file.animationSpeed;
}

FunctionFileView PlotSession::CurrentView() const {
    FunctionFileView file;
    file.range = main.view.Range();
    file.gridType = gridType;
    file.scaleMode = scaleMode;
    file.animationSpeed = animationSpeed;
    return file;
}

void PlotSession::ApplyConfiguration(const Configuration& configuration) {
    main.look = configuration.mainPlot;
    preview.look = configuration.previewPlot;
    angleInDegrees = configuration.angleInDegrees;
}

void PlotSession::SetScaleMode(ScaleMode mode) {
    scaleMode = mode;
    const Extended phimin = TextToFloatOrKeep(fields.startValue, main.view.phimin);
    const Extended phimax = TextToFloatOrKeep(fields.stopValue, main.view.phimax);
    main.view.phimin = phimin;
    main.view.phimax = phimax;
    if (mode == ScaleMode::smUserDefined) {
        RefreshFields();
        for (const auto& item : m_catalogue.Items()) {
            if (item->Referenz) {
                item->Referenz = false;
                m_rememberedReference = item.get();
            }
        }
    } else if (mode == ScaleMode::smReference) {
        bool marked = false;
        for (const auto& item : m_catalogue.Items()) {
            if (item->Referenz) {
                m_catalogue.SetCurrentItem(item.get());
                marked = true;
                break;
            }
        }
        if (!marked) {
            for (const auto& item : m_catalogue.Items()) {
                if (item.get() == m_rememberedReference && item->Darstellung && item->valid) {
                    item->Referenz = true;
                    m_catalogue.SetCurrentItem(item.get());
                }
            }
        }
    }
}

void PlotSession::AfterRangeChange() {
    main.Clear();
    RefreshFields();
    RedrawSurface(main);
    RedrawSurface(preview);
}

void PlotSession::VerticalArrow(Extended f, Extended logF) {
    gridError = GridError::None;
    PlotView& v = main.view;
    if (gridType == GridType::gtPolar) {
        // The polar window only turns and grows with the horizontal arrows.
    } else if (VerticalLinear(gridType)) {
        ShiftLinear(v.ymin, v.ymax, f, zoomMode);
    } else {
        FixLogMinima(v, gridType);
        ShiftLog(v.ymin, v.ymax, logF, zoomMode);
    }
    SetScaleMode(ScaleMode::smUserDefined);
    AfterRangeChange();
}

void PlotSession::HorizontalArrow(Extended f, Extended logF) {
    gridError = GridError::None;
    PlotView& v = main.view;
    if (HorizontalLinear(gridType)) {
        ShiftLinear(v.phimin, v.phimax, f, zoomMode);
    } else {
        FixLogMinima(v, gridType);
        if (logF < 0 && v.phimin <= 0)
            v.phimin = v.logFloorX;
        ShiftLog(v.phimin, v.phimax, logF, zoomMode);
    }
    if (gridType != GridType::gtPolar) {
        v.xmin = v.phimin;
        v.xmax = v.phimax;
    }
    AfterRangeChange();
}

void PlotSession::ArrowUp() {
    VerticalArrow(0.2L, 5);
}

void PlotSession::ArrowDown() {
    VerticalArrow(-0.2L, -5);
}

void PlotSession::ArrowRight() {
    HorizontalArrow(0.2L, 5);
}

void PlotSession::ArrowLeft() {
    HorizontalArrow(-0.2L, -5);
}

void PlotSession::Wheel(bool up) {
    if (up) {
        if (main.view.xmax < 1e195L)
            ArrowLeft();
    } else if (main.view.xmax > -1e195L) {
        ArrowRight();
    }
}

std::string PlotSession::SliderLabel(std::int32_t position) const {
    if (zoomMode) {
        const Extended z = std::pow(10.0L, position / 5000.0L - 1);
        return std::to_string(std::lround(100 / z)) + "%";
    }
    return FormatGeneral((position - 5000) / 1250.0L);
}

void PlotSession::ReleaseSlider(bool vertical, std::int32_t position) {
    SetScaleMode(ScaleMode::smUserDefined);
    const Extended z = std::pow(10.0L, position / 5000.0L - 1);
    const Extended p = (position - 5000) / 1250.0L;
    const Extended f = zoomMode ? -(z - 1) / 2 : p;
    PlotView& v = main.view;
    if (vertical) {
        if (VerticalLinear(gridType) || gridType == GridType::gtPolar) {
            ShiftLinear(v.ymin, v.ymax, f, zoomMode);
        } else {
            FixLogMinima(v, gridType);
            ShiftLog(v.ymin, v.ymax, f, zoomMode);
        }
    } else {
        gridError = GridError::None;
        if (HorizontalLogarithmic(gridType))
            ShiftLog(v.phimin, v.phimax, f, zoomMode);
        else
            ShiftLinear(v.phimin, v.phimax, f, zoomMode);
    }
    AfterRangeChange();
}

void PlotSession::DerivePreviewWindow() {
    if (gridError != GridError::None)
        return;
    PlotView& m = main.view;
    PlotView& p = preview.view;
    FixLogMinima(m, gridType);
    const auto linear = [](Extended min, Extended max, Extended k, Extended& pMin, Extended& pMax) {
        const Extended d = k * (max - min);
        pMin = min - d;
        pMax = max + d;
    };
    const auto logarithmic = [](Extended min, Extended max, Extended k, Extended& pMin,
                                Extended& pMax) {
        const Extended l = k * std::log(max / min);
        pMin = std::exp(std::log(min) - l);
        pMax = std::exp(std::log(max) + l);
    };
    switch (gridType) {
        case GridType::gtLinLin:
            linear(m.xmin, m.xmax, previewFactorX, p.xmin, p.xmax);
            linear(m.ymin, m.ymax, previewFactorY, p.ymin, p.ymax);
            break;
        case GridType::gtLinLog:
        case GridType::gtLinDb:
            previewFactorY = 1;
            linear(m.xmin, m.xmax, previewFactorX, p.xmin, p.xmax);
            if (p.ymax < 1e-18L)
                m.ymax = m.savedYmax;
            logarithmic(m.ymin, m.ymax, previewFactorY, p.ymin, p.ymax);
            break;
        case GridType::gtLogLin:
        case GridType::gtDbLin:
            previewFactorX = previewFactorY = 1;
            if (m.xmin < 1e-18L)
                m.xmin = m.logFloorX;
            logarithmic(m.xmin, m.xmax, previewFactorX, p.xmin, p.xmax);
            linear(m.ymin, m.ymax, previewFactorY, p.ymin, p.ymax);
            break;
        case GridType::gtLogLog:
        case GridType::gtLogDb:
        case GridType::gtDbLog:
        case GridType::gtDbDb:
            if (m.xmin < 1e-18L)
                m.xmin = m.logFloorX;
            logarithmic(m.xmin, m.xmax, previewFactorX, p.xmin, p.xmax);
            logarithmic(m.ymin, m.ymax, previewFactorY, p.ymin, p.ymax);
            break;
        case GridType::gtPolar: {
            const Extended half = (m.phimax - m.phimin) / 2;
            p.phimin = m.phimin - half;
            p.phimax = m.phimax + half;
            return;
        }
        default:
            return;
    }
    p.phimin = p.xmin;
    p.phimax = p.xmax;
}

void PlotSession::DrawPreviewRectangle() {
    PlotView& m = main.view;
    FixLogMinima(m, gridType);
    const DevicePoint low = WorldToDevice(preview.view, gridType, m.xmin, m.ymin);
    const DevicePoint high = WorldToDevice(preview.view, gridType, m.xmax, m.ymax);
    if (!low.valid || !high.valid) {
        m_dragging = false;
        return;
    }
    m_previewRectangle = {low.px, low.py, high.px, high.py};
    QPainter painter(&preview.Image());
    QPen pen(QColor(0xFF, 0, 0));
    pen.setWidth(2);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(low.px, high.py), QPoint(high.px, low.py)).normalized());
}

bool PlotSession::RectangleAt(std::int32_t px, std::int32_t py, Extended& xmin, Extended& xmax,
                              Extended& ymin, Extended& ymax) {
    const Rectangle& r = m_previewRectangle;
    const std::int32_t halfWidth = (r.x2 - r.x1) / 2;
    const std::int32_t halfHeight = (r.y1 - r.y2) / 2;
    const WorldPoint low = DeviceToWorld(preview.view, gridType, px - halfWidth, py + halfHeight);
    const WorldPoint high = DeviceToWorld(preview.view, gridType, px + halfWidth, py - halfHeight);
    if (!low.valid || !high.valid)
        return false;
    xmin = low.x;
    ymin = low.y;
    xmax = high.x;
    ymax = high.y;
    return true;
}

void PlotSession::PreviewMouseDown(std::int32_t px, std::int32_t py) {
    m_dragging = true;
    m_dragStartX = px;
    m_dragStartY = py;
}

void PlotSession::PreviewMouseMove(std::int32_t px, std::int32_t py) {
    if (!m_dragging)
        return;
    if (scaleMode != ScaleMode::smUserDefined) {
        m_dragging = false;
        return;
    }
    PlotView& m = main.view;
    if (!RectangleAt(px, py, m.xmin, m.xmax, m.ymin, m.ymax))
        return;
    RefreshFields();
}

bool PlotSession::ZoomToBand(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    // A band too thin in either direction is a click that slipped, not a new view: a
    // view that took only one of its ranges would surprise more than one that took none.
    if (gridType == GridType::gtPolar || std::abs(x2 - x1) < 5 || std::abs(y2 - y1) < 5)
        return false;
    const WorldPoint first = DeviceToWorld(main.view, gridType, x1, y1);
    const WorldPoint second = DeviceToWorld(main.view, gridType, x2, y2);
    if (!first.valid || !second.valid)
        return false;
    PlotView& m = main.view;
    m.xmin = std::min(first.x, second.x);
    m.xmax = std::max(first.x, second.x);
    m.ymin = std::min(first.y, second.y);
    m.ymax = std::max(first.y, second.y);
    m.phimin = m.xmin;
    m.phimax = m.xmax;
    RefreshFields();
    SetScaleMode(ScaleMode::smUserDefined);
    gridError = GridError::None;
    AfterRangeChange();
    return true;
}

void PlotSession::PreviewMouseUp(std::int32_t px, std::int32_t py) {
    if (!m_dragging)
        return;
    m_dragging = false;
    if (std::abs(px - m_dragStartX) < 2 && std::abs(py - m_dragStartY) < 2)
        return;
    Extended xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    if (!RectangleAt(px, py, xmin, xmax, ymin, ymax))
        return;
    PlotView& m = main.view;
    if (gridType != GridType::gtPolar) {
        // The variable follows the new horizontal range.
        m.phimin = xmin;
        m.phimax = xmax;
    }
    m.xmin = xmin;
    m.xmax = xmax;
    m.ymin = ymin;
    m.ymax = ymax;
    preview.Clear();
    RefreshFields();
    SetScaleMode(ScaleMode::smUserDefined);
}

}  // namespace pc
