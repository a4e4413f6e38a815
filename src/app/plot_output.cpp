#include "plot_output.h"

#include <QPainter>
#include <QSize>
#include <QString>

#include "plot/image_file.h"
#include "plot/plot_session.h"

namespace pc {

PixelSize MainPictureSize(const PlotSession& session, const QSize& client) {
    return PictureSize(session.main, session.gridType == GridType::gtPolar,
                       PixelSize{client.width(), client.height()});
}

QImage TakeSnapshot(PlotSession& session, const QSize& client) {
    return PictureBitmap(session, session.main, MainPictureSize(session, client), 1.0);
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
