#include "plot_output.h"

#include <QPainter>
#include <QSize>
#include <QString>

#include "plot/output_geometry.h"
#include "plot/plot_surface.h"

namespace pc {

QImage TakeSnapshot(const PlotSurface& surface, bool polar, const QSize& client) {
    const PixelSize size = SnapshotSize(
        polar, PixelSize{surface.controlWidth, surface.controlHeight}, surface.view.marginLeft,
        surface.view.marginTop, PixelSize{client.width(), client.height()});
    const QImage& image = surface.Image();
    const qreal ratio = image.devicePixelRatio();
    QImage snapshot(qRound(std::max(size.width, 1) * ratio),
                    qRound(std::max(size.height, 1) * ratio), QImage::Format_RGB32);
    snapshot.setDevicePixelRatio(ratio);
    snapshot.fill(image.pixelColor(0, 0));
    QPainter painter(&snapshot);
    painter.drawImage(QPoint(0, 0), image);
    return snapshot;
}

bool PrintBitmap(QPaintDevice& page, const QImage& bitmap, const QString& title) {
    QPainter painter;
    if (!painter.begin(&page))
        return false;
    const QFontMetrics metrics = painter.fontMetrics();
    painter.drawText(QPoint(100, metrics.ascent()), title);
    const PageLayout layout =
        PrintPageLayout(PixelSize{bitmap.width(), bitmap.height()},
                        PixelSize{page.width(), page.height()}, metrics.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(layout.left, layout.top, layout.width, layout.height), bitmap);
    return painter.end();
}

}  // namespace pc
