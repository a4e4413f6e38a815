#include "plot_surface.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QPolygon>
#include <QString>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <type_traits>

#include "catalogue/fkt_item.h"
#include "catalogue/notifier.h"
#include "colours.h"

namespace pc {

namespace {

constexpr std::int32_t kMaxPenWidth = 64;
// Margins come from the configuration file too; these keep the image allocatable.
constexpr std::int32_t kMaxMargin = 1000;

Qt::PenStyle PenStyleOf(TPenStyle style) {
    switch (style) {
        case TPenStyle::psDash:
            return Qt::DashLine;
        case TPenStyle::psDot:
            return Qt::DotLine;
        case TPenStyle::psDashDot:
            return Qt::DashDotLine;
        case TPenStyle::psDashDotDot:
            return Qt::DashDotDotLine;
        case TPenStyle::psClear:
            return Qt::NoPen;
        default:
            return Qt::SolidLine;
    }
}

QPen MakePen(const QColor& colour, std::int32_t width, Qt::PenStyle style) {
    QPen pen(colour);
    // A configuration file may hold any width; beyond this a line is a wall.
    pen.setWidth(std::clamp(width, 0, kMaxPenWidth));
    pen.setStyle(style);
    // Wide pens end round, as a brush of that width would.
    pen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// A grid line's colour in black and white: its own grey, halfway to white.
QColor GridGrey(const QColor& colour) {
    const int grey = (qGray(colour.rgb()) + 255) / 2;
    return QColor(grey, grey, grey);
}

// Windows draws text from its top left corner; Qt from the baseline.
void TextOut(QPainter& painter, std::int32_t x, std::int32_t y, const std::string& text) {
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), QString::fromStdString(text));
}

QRect Box(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    return QRect(QPoint(left, top), QPoint(right, bottom)).normalized();
}

bool InsideArea(const PlotView& v, std::int32_t x, std::int32_t y) {
    return x >= v.marginLeft && x <= v.plotRight && y >= v.marginTop && y <= v.plotBottom;
}

bool InsidePlot(const PlotView& v, const TLineitem& item) {
    return InsideArea(v, item.x1, item.y1) && InsideArea(v, item.x2, item.y2);
}

// Runs of valid points as polylines; with `breakAtPoles` a pole starts a new run too.
void DrawConnected(QPainter& painter, const std::vector<DevicePoint>& points,
                   bool breakAtPoles = false) {
    QPolygon run;
    run.reserve(static_cast<int>(std::min<std::size_t>(points.size(), 1 << 20)));
    const auto flush = [&] {
        if (run.size() > 1)
            painter.drawPolyline(run);
        run.clear();
    };
    for (const DevicePoint& p : points) {
        if (!p.valid) {
            flush();
            continue;
        }
        if (breakAtPoles && p.poleBefore)
            flush();
        const QPoint point(p.px, p.py);
        // Consecutive samples on one pixel add nothing to the line, except that a run
        // which never leaves its first pixel still shows as that pixel.
        if (run.isEmpty() || run.back() != point || run.size() == 1)
            run.push_back(point);
    }
    flush();
}

void DrawMarker(QPainter& painter, DisplayMode mode, std::int32_t x, std::int32_t y) {
    const auto cross = [&] {
        painter.drawLine(x - 4, y - 4, x + 4, y + 5);
        painter.drawLine(x - 4, y + 4, x + 4, y - 5);
    };
    switch (mode) {
        case DisplayMode::bmKreise:
            painter.drawEllipse(Box(x - 4, y - 4, x + 4, y + 4));
            break;
        case DisplayMode::bmDreiecke: {
            const QPoint triangle[3] = {{x - 4, y + 4}, {x, y - 4}, {x + 4, y + 4}};
            painter.drawPolygon(triangle, 3);
            break;
        }
        case DisplayMode::bmQuadrate:
            painter.drawRect(Box(x - 4, y - 4, x + 4, y + 4));
            break;
        case DisplayMode::bmKreuz:
            cross();
            break;
        case DisplayMode::bmQuadratKreuz:
            painter.drawRect(Box(x - 4, y - 4, x + 4, y + 5));
            cross();
            break;
        default: {
            const std::string digit(1, static_cast<char>('0' + (Ordinal(mode) - 7)));
            const QPen pen = painter.pen();
            painter.setPen(Qt::black);
            TextOut(painter, x - 4, y - 4, digit);
            painter.setPen(Qt::white);
            TextOut(painter, x - 3, y - 3, digit);
            painter.setPen(pen);
            break;
        }
    }
}

// The colours and pen style one point array is drawn with.
struct Ink {
    QColor line;
    QColor fill;  // dots and bars
    Qt::PenStyle style;
};

Ink InkOf(const PlotSurface& surface, const TFktItem& item, const CurvePlace& place) {
    const QColor colour = ToQColor(item.Farbe);
    if (surface.classic)
        return {surface.look.blackWhite ? QColor(Qt::black) : colour, colour,
                PenStyleOf(item.Pentyp)};
    if (!surface.look.blackWhite) {
        const QColor shade = FamilyShade(colour, place.member, place.members);
        return {shade, shade, PenStyleOf(item.Pentyp)};
    }
    // Black and white: a family in greys, bars in a lighter grey than their line would be,
    // and a dash pattern where the item's own pen is solid.
    const QColor ink = FamilyShade(Qt::black, place.member, place.members);
    const int bar = (ink.red() + 255) / 2;
    const bool ownPattern =
        item.Pentyp != TPenStyle::psSolid && item.Pentyp != TPenStyle::psInsideFrame;
    const QColor fill = item.PunkteMarkierung == DisplayMode::bmhisto ? QColor(bar, bar, bar) : ink;
    return {ink, fill, PenStyleOf(ownPattern ? item.Pentyp : place.blackWhiteStyle)};
}

void DrawPixels(PlotSurface& surface, QPainter& painter, GridType gridType, const TFktItem& item,
                const std::vector<DevicePoint>& points, const CurvePlace& place) {
    const PlotView& v = surface.view;
    const Ink ink = InkOf(surface, item, place);
    const QColor colour = ink.fill;
    QPen pen = MakePen(ink.line, item.LinienBreite, ink.style);
    painter.setPen(pen);
    painter.setBrush(colour);
    const DisplayMode mode = item.PunkteMarkierung;
    if (mode == DisplayMode::bmallePunkte) {
        for (const DevicePoint& p : points) {
            if (p.valid)
                painter.drawEllipse(Box(p.px - 2, p.py - 2, p.px + 2, p.py + 2));
        }
        return;
    }
    if (mode == DisplayMode::bmhisto && gridType != GridType::gtPolar) {
        const bool linearVertical = gridType == GridType::gtLinLin ||
                                    gridType == GridType::gtLogLin || gridType == GridType::gtDbLin;
        std::int32_t baseline = v.plotBottom;
        if (linearVertical) {
            const Extended row = -v.ymax * v.plotHeight / (v.ymin - v.ymax);
            baseline = std::isfinite(row) ? static_cast<std::int32_t>(std::clamp<Extended>(
                                                row, -kDeviceLimit, kDeviceLimit)) +
                                                v.marginTop
                                          : v.plotBottom;
        }
        // A bar is as wide as the samples are apart, so that neighbouring bars meet and
        // never overlap.
        const std::int32_t n = static_cast<std::int32_t>(std::max<std::size_t>(points.size(), 1));
        const std::int32_t w = std::max(v.plotWidth / n, 1);
        for (const DevicePoint& p : points) {
            if (p.valid)
                painter.fillRect(Box(p.px - w / 2, baseline, p.px - w / 2 + w - 1, p.py), colour);
        }
        return;
    }
    DrawConnected(painter, points, !surface.classic);
    if (mode < DisplayMode::bmKreise || mode > DisplayMode::bm9 || surface.IsPreview())
        return;
    painter.setBrush(Qt::NoBrush);
    // A marker is too small for a dash pattern: the new drawing draws it whole.
    if (pen.style() == Qt::NoPen || (!surface.classic && pen.style() != Qt::SolidLine)) {
        pen.setStyle(Qt::SolidLine);
        painter.setPen(pen);
    }
    const std::size_t step = points.size() / 20;
    for (std::size_t k = 1; k <= 19; ++k) {
        const std::size_t index = k * step;
        if (index < points.size() && points[index].valid)
            DrawMarker(painter, mode, points[index].px, points[index].py);
    }
}

}  // namespace

void DrawStyleSample(QPainter& painter, const QRect& box, const StyleSample& sample) {
    const QColor colour = ToQColor(sample.colour);
    painter.save();
    painter.setPen(MakePen(colour, sample.width, PenStyleOf(sample.penStyle)));
    painter.setBrush(colour);
    const std::int32_t middle = box.center().y();
    const std::int32_t left = box.left() + 4;
    const std::int32_t right = box.right() - 4;
    switch (sample.mode) {
        case DisplayMode::bmallePunkte:
            for (std::int32_t x = left; x <= right; x += 8)
                painter.drawEllipse(Box(x - 2, middle - 2, x + 2, middle + 2));
            break;
        case DisplayMode::bmhisto:
            // Rising bars, as a histogram of a growing function.
            for (std::int32_t x = left, k = 0; x + 5 <= right; x += 6, ++k)
                painter.fillRect(Box(x, box.bottom() - 2, x + 4,
                                     std::max(box.bottom() - 2 - 2 * k, box.top() + 2)),
                                 colour);
            break;
        default:
            DrawConnected(painter, {{left, middle, true}, {right, middle, true}});
            if (sample.mode >= DisplayMode::bmKreise && sample.mode <= DisplayMode::bm9) {
                painter.setBrush(Qt::NoBrush);
                painter.setPen(MakePen(colour, sample.width, Qt::SolidLine));
                DrawMarker(painter, sample.mode, (left + right) / 2, middle);
            }
            break;
    }
    painter.restore();
}

class PlotSurface::FontMeasure : public TextMeasure {
  public:
    explicit FontMeasure(const AxisFont& wanted)
        : m_font(wanted),
          m_device(1, 1, QImage::Format_RGB32),
          m_metrics(AxisQFont(wanted), &m_device) {}

    const AxisFont& Font() const { return m_font; }

    std::int32_t Width(std::string_view text) const override {
        return m_metrics.horizontalAdvance(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    std::int32_t Height(std::string_view) const override { return m_metrics.height(); }

  private:
    AxisFont m_font;
    QImage m_device;  // the metrics of an image, as the labels are drawn on one
    QFontMetrics m_metrics;
};

PlotSurface::PlotSurface(SurfaceKind kind)
    : m_kind(kind), m_image(std::make_unique<QImage>(1, 1, QImage::Format_RGB32)) {
    m_image->fill(ToQColor(look.colourBackground));
}

PlotSurface::~PlotSurface() = default;

const TextMeasure& PlotSurface::Measure() const {
    if (!m_measure || !(m_measure->Font() == look.font))
        m_measure = std::make_unique<FontMeasure>(look.font);
    return *m_measure;
}

void PlotSurface::LayoutPlotArea(const PanelGeometry& newPanel, GridType gridType) {
    if (pictureWiped)
        pictureWiped();
    panel = newPanel;
    PlotView& v = view;
    v.marginLeft = std::clamp(look.marginLeft, 0, kMaxMargin);
    v.marginTop = std::clamp(look.marginTop, 0, kMaxMargin);
    v.marginRight = std::clamp(look.marginRight, 0, kMaxMargin);
    v.marginBottom = std::clamp(look.marginBottom, 0, kMaxMargin);
    const TextMeasure& measure = Measure();
    std::int32_t widest = 0;
    for (const TLineitem& item : grid) {
        if (item.labelAxis == kLabelVerticalAxis && !item.labelText.empty())
            widest = std::max(widest, measure.Width(item.labelText));
    }
    v.labelColumnWidth = widest + (IsPreview() ? panel.verticalSliderWidth : 8);
    v.labelRowHeight = measure.Height("1E234");
    // A panel too small for any plot still gets a one-pixel area rather than a negative one.
    v.plotWidth = std::max(panel.width - panel.verticalSliderWidth - v.labelColumnWidth -
                               v.marginLeft - v.marginRight - 2,
                           1);
    v.plotHeight = std::max(panel.height - panel.horizontalSliderHeight - v.labelRowHeight -
                                v.marginTop - v.marginBottom - 2,
                            1);
    if (gridType == GridType::gtPolar)
        v.plotWidth = v.plotHeight = std::min(v.plotWidth, v.plotHeight);
    v.plotRight = v.marginLeft + v.plotWidth;
    v.plotBottom = v.marginTop + v.plotHeight;
    controlWidth = v.plotRight + v.labelColumnWidth + v.marginRight;
    controlHeight = v.plotBottom + v.labelRowHeight + v.marginBottom;
    // On a high-density screen the image holds device pixels and the painter works in
    // the layout's pixels, so lines and text are drawn sharp rather than scaled up.
    const double ratio = std::clamp(devicePixelRatio, 1.0, 4.0);
    m_image = std::make_unique<QImage>(
        static_cast<int>(std::ceil(std::max(controlWidth, 1) * ratio)),
        static_cast<int>(std::ceil(std::max(controlHeight, 1) * ratio)), QImage::Format_RGB32);
    m_image->setDevicePixelRatio(ratio);
    Clear();
    if (gridType == GridType::gtPolar) {
        SquareWorldWindow(v);
        controlWidth = v.plotWidth + v.marginLeft;
        controlHeight = v.plotHeight + v.marginTop;
    }
}

void PlotSurface::Clear() {
    if (pictureWiped)
        pictureWiped();
    m_image->fill(ToQColor(look.colourBackground));
}

void ForEachMappedPointList(PlotSurface& surface, const DisplayList& items, GridType gridType,
                            const PointListVisitor& draw) {
    if (!KnownGridType(gridType))
        return;
    std::optional<ScaleMap> map;
    std::vector<DevicePoint> pixels;
    for (const auto& item : items) {
        if (!item->Darstellung || !item->valid)
            continue;
        for (const TPointArray& points : PointArraysOf(*item, surface.Kind())) {
            // Only a picture with curves needs a window that maps.
            if (!map) {
                RepairWindow(surface.view, gridType);
                map.emplace(surface.view, gridType);
            }
            map->MapPoints(points, pixels);
            draw(*item, points, pixels);
        }
    }
}

void RepairWindowForCurves(PlotSurface& surface, const DisplayList& items, GridType gridType) {
    if (!KnownGridType(gridType))
        return;
    const bool mapsCurves = std::any_of(items.begin(), items.end(), [&](const auto& item) {
        return item->Darstellung && item->valid && !PointArraysOf(*item, surface.Kind()).empty();
    });
    if (mapsCurves)
        RepairWindow(surface.view, gridType);
}

CurvePlace PlaceOf(const DisplayList& items, const TFktItem& item, SurfaceKind kind,
                   const TPointArray& points) {
    CurvePlace place;
    const TPointArrayList& family = PointArraysOf(item, kind);
    place.members = std::max<std::size_t>(family.size(), 1);
    const TPointArray* first = family.data();
    const std::less<const TPointArray*> before;
    if (!family.empty() && !before(&points, first) && before(&points, first + family.size()))
        place.member = static_cast<std::size_t>(&points - first);
    place.blackWhiteStyle = BlackWhitePenStyle(items, item);
    return place;
}

TPenStyle BlackWhitePenStyle(const DisplayList& items, const TFktItem& item) {
    const auto drawsSolid = [](TPenStyle style) {
        return style == TPenStyle::psSolid || style == TPenStyle::psInsideFrame;
    };
    if (!drawsSolid(item.Pentyp))
        return item.Pentyp;
    constexpr TPenStyle kPatterns[] = {TPenStyle::psSolid, TPenStyle::psDash, TPenStyle::psDot,
                                       TPenStyle::psDashDot, TPenStyle::psDashDotDot};
    std::vector<TPenStyle> free;
    std::size_t solidBefore = 0;
    bool seen = false;
    for (const auto& other : items) {
        if (other.get() == &item)
            seen = true;
        if (!other->Darstellung || !other->valid)
            continue;
        if (!seen && drawsSolid(other->Pentyp))
            ++solidBefore;
    }
    for (const TPenStyle pattern : kPatterns) {
        const bool taken = std::any_of(items.begin(), items.end(), [&](const auto& other) {
            return other->Darstellung && other->valid && other->Pentyp == pattern;
        });
        if (!taken || pattern == TPenStyle::psSolid)
            free.push_back(pattern);
    }
    // When the items' own patterns leave only solid, every pattern is used in turn.
    const TPenStyle* cycle = free.size() > 1 ? free.data() : kPatterns;
    const std::size_t length = free.size() > 1 ? free.size() : std::size(kPatterns);
    return cycle[solidBefore % length];
}

void DrawPointList(PlotSurface& surface, QPainter& painter, GridType gridType, const TFktItem& item,
                   const std::vector<DevicePoint>& pixels, bool inverting,
                   const CurvePlace& place) {
    if (pixels.empty())
        return;
    painter.setCompositionMode(inverting ? QPainter::RasterOp_NotSourceXorDestination
                                         : QPainter::CompositionMode_SourceOver);
    DrawPixels(surface, painter, gridType, item, pixels, place);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void DrawCurves(PlotSurface& surface, QPainter& painter, const DisplayList& items,
                GridType gridType) {
    const PlotView& v = surface.view;
    painter.save();
    painter.setClipRect(v.marginLeft, v.marginTop, v.plotWidth, v.plotHeight);
    painter.setFont(AxisQFont(surface.look.font));
    ForEachMappedPointList(surface, items, gridType,
                           [&](const TFktItem& item, const TPointArray& points,
                               const std::vector<DevicePoint>& pixels) {
                               DrawPointList(surface, painter, gridType, item, pixels, false,
                                             PlaceOf(items, item, surface.Kind(), points));
                           });
    painter.restore();
}

void DrawGridLines(PlotSurface& surface, QPainter& painter, GridType gridType) {
    const PlotView& v = surface.view;
    const bool polar = gridType == GridType::gtPolar;
    painter.setBrush(Qt::NoBrush);
    for (const TLineitem& item : surface.grid) {
        if (item.kind == kKindNeverDrawn)
            continue;
        QColor colour = ToQColor(item.colour);
        if (surface.look.blackWhite)
            colour = surface.classic ? QColor(Qt::black) : GridGrey(colour);
        QPen pen = MakePen(colour, item.width, PenStyleOf(static_cast<TPenStyle>(item.kind)));
        // Lighter and thinner than the curves, a black-and-white grid stays behind them.
        if (surface.look.blackWhite && !surface.classic)
            pen.setWidthF(pen.widthF() / 2);
        painter.setPen(pen);
        if (item.shape == kShapeEllipse)
            painter.drawEllipse(Box(item.x1, item.y1, item.x2, item.y2));
        else if (polar || InsidePlot(v, item))
            painter.drawLine(item.x1, item.y1, item.x2, item.y2);
    }
    painter.setPen(MakePen(Qt::black, 1, Qt::SolidLine));
    painter.drawRect(v.marginLeft, v.marginTop, v.plotWidth - 1, v.plotHeight - 1);
    // The origin's dot, where the axes start; an origin outside the window has none.
    const DevicePoint origin = WorldToDevice(v, GridType::gtPolar, 0, 0);
    if (polar && !surface.grid.empty() && origin.valid && InsideArea(v, origin.px, origin.py)) {
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPoint(origin.px, origin.py), 5, 5);
        painter.setBrush(Qt::NoBrush);
    }
}

namespace {

// The labels the classic drawing shows, thinned so that none overlaps the one drawn
// before it, with the anchors it drew at stored in the items; drawn on `painter` unless
// it is null.
void ClassicLabels(const PlotSurface& surface, std::vector<TLineitem>& grid, QPainter* painter) {
    const PlotView& v = surface.view;
    const TextMeasure& measure = surface.Measure();
    const QColor textColour =
        surface.look.blackWhite ? QColor(Qt::black) : ToQColor(surface.look.font.colour);
    const auto text = [&](std::int32_t x, std::int32_t y, const std::string& label) {
        if (painter) {
            painter->setPen(textColour);
            TextOut(*painter, x, y, label);
        }
    };
    const auto tick = [&](std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
        if (painter) {
            painter->setPen(Qt::black);
            painter->drawLine(x1, y1, x2, y2);
        }
    };
    const TLineitem* lastHorizontal = nullptr;
    std::int32_t lastHorizontalWidth = 0;
    const TLineitem* lastVertical = nullptr;
    std::int32_t lastVerticalHeight = 0;
    QRect lastRing;
    for (TLineitem& item : grid) {
        if (item.labelText.empty() || !item.labelVisible)
            continue;
        if (item.labelAxis == kLabelRing) {
            // Beside the ring, inside the plot area where the grid is clipped to; a label
            // that would cover the one before it is left out.
            if (!InsideArea(v, item.labelX, item.labelY))
                continue;
            const std::int32_t width = measure.Width(item.labelText);
            const std::int32_t height = measure.Height(item.labelText);
            QRect box(item.labelX + 3, item.labelY - height - 1, width, height);
            box.moveRight(std::min(box.right(), v.plotRight - 2));
            box.moveTop(std::max(box.top(), v.marginTop + 2));
            if (lastRing.isValid() && box.intersects(lastRing))
                continue;
            text(box.left(), box.top(), item.labelText);
            lastRing = box;
            continue;
        }
        if (!InsidePlot(v, item))
            continue;
        if (item.labelAxis == kLabelHorizontalAxis) {
            const std::int32_t width = measure.Width(item.labelText);
            const std::int32_t limit =
                lastHorizontal ? lastHorizontal->labelX + lastHorizontalWidth : 0;
            if (limit > item.labelX)
                continue;
            item.labelX = item.x1 - width / 2;
            if (item.labelX >= v.plotWidth)
                continue;
            text(item.labelX, v.plotBottom + 3, item.labelText);
            tick(item.x1, v.plotBottom, item.x1, v.plotBottom + 4);
            lastHorizontal = &item;
            lastHorizontalWidth = width;
        } else {
            const std::int32_t height = measure.Height(item.labelText);
            const std::int32_t top = lastVertical ? lastVertical->labelY : v.plotBottom;
            const std::int32_t previousHeight = lastVertical ? lastVerticalHeight : height;
            if (!(item.labelY + height / 2 <= top - previousHeight / 2 &&
                  item.labelY < v.plotBottom))
                continue;
            item.labelX = 4;
            item.labelY = item.y1 - 7;
            text(v.plotRight + 7, item.y2 - height / 2, item.labelText);
            tick(item.x2, item.y2, item.x2 + 4, item.y2);
            lastVertical = &item;
            lastVerticalHeight = height;
        }
    }
}

// The labels the grid builder placed for the new drawing, each with its axis tick.
void PlacedLabels(const PlotSurface& surface, QPainter& painter) {
    const PlotView& v = surface.view;
    const QColor textColour =
        surface.look.blackWhite ? QColor(Qt::black) : ToQColor(surface.look.font.colour);
    for (const TLineitem& item : surface.grid) {
        if (item.labelText.empty() || !item.labelVisible)
            continue;
        painter.setPen(textColour);
        TextOut(painter, item.labelX, item.labelY, item.labelText);
        painter.setPen(MakePen(Qt::black, 1, Qt::SolidLine));
        if (item.labelAxis == kLabelHorizontalAxis)
            painter.drawLine(item.x1, v.plotBottom, item.x1, v.plotBottom + 4);
        else if (item.labelAxis == kLabelVerticalAxis)
            painter.drawLine(item.x2, item.y2, item.x2 + 4, item.y2);
    }
}

}  // namespace

void DrawGridLabels(PlotSurface& surface, QPainter& painter) {
    // The preferences' "Grid text" box hides the labels alone.
    if (!surface.look.gridVisible || !surface.look.axisTextVisible)
        return;
    painter.setBrush(Qt::NoBrush);
    if (surface.classic)
        ClassicLabels(surface, surface.grid, &painter);
    else
        PlacedLabels(surface, painter);
}

std::vector<TLineitem> ClassicGrid(const PlotSurface& surface, GridType gridType) {
    if (surface.classic)
        return surface.grid;
    // Built afresh on a copy of the view, which the grid has repaired already; whatever
    // it has to say was said when the picture was drawn.
    PlotView view = surface.view;
    SilentNotifier silent;
    GridContext context{view, gridType, surface.look, surface.Measure(), silent};
    std::vector<TLineitem> grid;
    BuildGrid(context, grid);
    if (surface.look.gridVisible && surface.look.axisTextVisible)
        ClassicLabels(surface, grid, nullptr);
    return grid;
}

void BuildSurfaceGrid(PlotSurface& surface, GridType gridType, GridError& error,
                      Notifier& notifier) {
    if (error == GridError::NoLogarithmicGrid || error == GridError::ShowSettings)
        return;
    GridContext context{surface.view, gridType,        surface.look,          surface.Measure(),
                        notifier,     surface.classic, surface.angleInDegrees};
    if (const GridError built = BuildGrid(context, surface.grid); built != GridError::None)
        error = built;
}

void DrawGridList(PlotSurface& surface, QPainter& painter, GridType gridType, bool labels) {
    painter.save();
    painter.setFont(AxisQFont(surface.look.font));
    if (gridType == GridType::gtPolar) {
        const PlotView& v = surface.view;
        painter.setClipRect(v.marginLeft, v.marginTop, v.plotWidth, v.plotHeight);
    }
    DrawGridLines(surface, painter, gridType);
    if (labels)
        DrawGridLabels(surface, painter);
    painter.restore();
}

bool DrawGrid(PlotSurface& surface, GridType gridType, GridError& error, Notifier& notifier) {
    if (error == GridError::NoLogarithmicGrid)
        return true;
    if (error == GridError::ShowSettings)
        return false;
    BuildSurfaceGrid(surface, gridType, error, notifier);
    QPainter painter(&surface.Image());
    DrawGridList(surface, painter, gridType);
    return true;
}

void PaintPicture(PlotSurface& surface, QPainter& painter, const DisplayList& items,
                  GridType gridType, bool withGrid) {
    if (surface.classic) {
        DrawCurves(surface, painter, items, gridType);
        if (withGrid)
            DrawGridList(surface, painter, gridType);
        return;
    }
    // The grid goes under the curves, so that a curve along an axis or a grid line stays
    // visible; the labels, outside the plot area or beside the rings, come last.
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    if (withGrid)
        DrawGridList(surface, painter, gridType, false);
    DrawCurves(surface, painter, items, gridType);
    if (withGrid) {
        painter.setFont(AxisQFont(surface.look.font));
        DrawGridLabels(surface, painter);
    }
    painter.restore();
}

bool PaintSurface(PlotSurface& surface, const DisplayList& items, GridType gridType,
                  GridError& error, Notifier& notifier) {
    const bool withGrid = error != GridError::NoLogarithmicGrid && error != GridError::ShowSettings;
    const bool settingsAsked = error == GridError::ShowSettings;
    if (withGrid)
        BuildSurfaceGrid(surface, gridType, error, notifier);
    QPainter painter(&surface.Image());
    PaintPicture(surface, painter, items, gridType, withGrid);
    return !settingsAsked;
}

}  // namespace pc
