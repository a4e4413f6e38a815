#pragma once
// The preview window: a larger region around the main view with the main view as a red
// rectangle that can be dragged, the arrow buttons, the zoom sliders, the preview factors
// and the view-mode buttons. Every change goes through the plot session.

#include <QWidget>
#include <memory>

#include "catalogue/catalogue_types.h"

class QMouseEvent;
class QSlider;

namespace Ui {
class TPreviewForm;
}

namespace pc {

class Application;
class TPlotImage;

class TPreviewForm : public QWidget {
    Q_OBJECT
  public:
    explicit TPreviewForm(Application& application);
    ~TPreviewForm() override;

    TPlotImage& PlotImage() { return *m_plotImage; }
    // The mode button: zoom <-> pan.
    void SwitchZoomMode();
    // A view button: the view mode, then both plots redrawn.
    void SetView(ScaleMode mode);
    // The buttons and spin boxes follow the session (view mode, zoom mode, factors).
    void UpdateControls();
    // Lays the preview plot out for the image control's size and repaints it.
    void LayoutPlot();

  private:
    void Arrow(void (*step)(class PlotSession&));
    void SliderMoved(bool vertical, int position);
    void SliderReleased(bool vertical, QSlider& slider);
    void FactorChanged();
    void ImagePressed(QMouseEvent* event);
    void ImageMoved(QMouseEvent* event);
    void ImageReleased(QMouseEvent* event);

    Application& m_application;
    std::unique_ptr<Ui::TPreviewForm> m_ui;
    TPlotImage* m_plotImage = nullptr;
    bool m_updating = false;
    ViewRange m_rangeAtPress;  // the main view when the rectangle was picked up  // the controls
                               // follow the session: no actions
};

}  // namespace pc
