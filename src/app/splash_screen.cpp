#include "splash_screen.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>
#include <cmath>

namespace pc {

TSplashscreen::TSplashscreen()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TSplashscreen"));
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(425, 336);
    setAccessibleName(QStringLiteral("Plotcraftsman"));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TSplashscreen::ShowFor(int milliseconds) {
    show();
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    hide();
}

void TSplashscreen::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xE0, 0xA0, 0x40), 3));
    painter.setBrush(QColor(0xFE, 0xD0, 0x9F));
    painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 24, 24);
    // A sine curve over a pair of axes: what the program is for.
    const QRectF plot(60, 150, 305, 140);
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 2));
    painter.drawLine(QPointF(plot.left(), plot.center().y()),
                     QPointF(plot.right(), plot.center().y()));
    painter.drawLine(QPointF(plot.left() + 20, plot.top()),
                     QPointF(plot.left() + 20, plot.bottom()));
    QPainterPath curve;
    for (int i = 0; i <= 300; ++i) {
        const double x = plot.left() + 20 + i * (plot.width() - 20) / 300.0;
        const double y = plot.center().y() - 55 * std::sin(i * 4 * M_PI / 300.0) * (1 - i / 600.0);
        i == 0 ? curve.moveTo(x, y) : curve.lineTo(x, y);
    }
    painter.setPen(QPen(QColor(0xC0, 0x20, 0x20), 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(curve);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(40);
    font.setBold(true);
    font.setItalic(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, 40, width(), 80), Qt::AlignCenter, QStringLiteral("Plotcraftsman "));
}

}  // namespace pc
