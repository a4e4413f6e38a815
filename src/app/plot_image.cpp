#include "plot_image.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "plot/plot_surface.h"

namespace pc {

TPlotImage::TPlotImage(PlotSurface& surface, QWidget* parent)
    : QWidget(parent), m_surface(surface) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(50, 50);
    setFocusPolicy(Qt::StrongFocus);
}

void TPlotImage::ShowBand(Band band, const QRect& rectangle) {
    m_band = rectangle.isNull() ? Band::None : band;
    m_bandRectangle = rectangle;
    update();
}

void TPlotImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage& image = m_surface.Image();
    // Around the picture: the background of the plot, as the window's own colour.
    painter.fillRect(rect(), image.pixelColor(0, 0));
    painter.drawImage(QPoint(0, 0), image);
    if (m_band == Band::None)
        return;
    // Both bands invert what they cover, as the picture's own frames do.
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    QPen pen(m_band == Band::Rubber ? QColor(0, 0, 0xFF) : QColor(0xFF, 0, 0));
    pen.setStyle(m_band == Band::Rubber ? Qt::DashLine : Qt::SolidLine);
    pen.setWidth(m_band == Band::Rubber ? 1 : 3);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(m_bandRectangle.normalized());
}

void TPlotImage::mousePressEvent(QMouseEvent* event) {
    emit Pressed(event);
}

void TPlotImage::mouseMoveEvent(QMouseEvent* event) {
    emit Moved(event);
}

void TPlotImage::mouseReleaseEvent(QMouseEvent* event) {
    emit Released(event);
}

void TPlotImage::leaveEvent(QEvent*) {
    emit Left();
}

void TPlotImage::wheelEvent(QWheelEvent* event) {
    // One step per notch; a touchpad's small deltas add up to notches.
    m_wheelAngle += event->angleDelta().y();
    while (m_wheelAngle >= 120) {
        m_wheelAngle -= 120;
        emit Wheeled(true);
    }
    while (m_wheelAngle <= -120) {
        m_wheelAngle += 120;
        emit Wheeled(false);
    }
    event->accept();
}

void TPlotImage::resizeEvent(QResizeEvent*) {
    emit Resized(size());
}

}  // namespace pc
