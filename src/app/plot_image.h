#pragma once
// The image control of a plot window: shows the picture the plot layer drew for one
// surface, pixel for pixel (at the screen's device pixel ratio), and hands the mouse on
// in the picture's pixels. A band being dragged is drawn over the picture, never into
// it, so nothing of it can stay behind.

#include <QRect>
#include <QWidget>

namespace pc {

class PlotSurface;

class TPlotImage : public QWidget {
    Q_OBJECT
  public:
    TPlotImage(PlotSurface& surface, QWidget* parent = nullptr);

    PlotSurface& Surface() { return m_surface; }

    // The rubber band of the main plot (dashed, inverting) or the preview's rectangle
    // being dragged (red, inverting); an empty rectangle shows none.
    enum class Band { None, Rubber, Frame };
    void ShowBand(Band band, const QRect& rectangle);
    Band CurrentBand() const { return m_band; }
    const QRect& BandRectangle() const { return m_bandRectangle; }

  signals:
    void Pressed(QMouseEvent* event);
    void Moved(QMouseEvent* event);
    void Released(QMouseEvent* event);
    void Left();
    void Wheeled(bool up);
    void Resized(QSize size);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    PlotSurface& m_surface;
    Band m_band = Band::None;
    QRect m_bandRectangle;
    int m_wheelAngle = 0;  // eighths of a degree not yet turned into a step
};

}  // namespace pc
