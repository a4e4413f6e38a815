#include "preview_form.h"

#include <QMouseEvent>
#include <QVBoxLayout>

#include "application.h"
#include "help_form.h"
#include "plot/plot_session.h"
#include "plot_image.h"
#include "ui_preview_form.h"

namespace pc {

TPreviewForm::TPreviewForm(Application& application)
    : QWidget(nullptr, Qt::Window),
      m_application(application),
      m_ui(std::make_unique<Ui::TPreviewForm>()) {
    m_ui->setupUi(this);
    PlotSession& session = application.State().session;
    m_plotImage = new TPlotImage(session.preview, m_ui->PlotPanel);
    m_plotImage->setObjectName(QStringLiteral("Image1"));
    m_plotImage->setAccessibleName(QStringLiteral("Preview plot"));
    auto* layout = new QVBoxLayout(m_ui->PlotPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_plotImage);
    connect(m_ui->ArrowUp, &QToolButton::clicked, this,
            [this] { Arrow([](PlotSession& s) { s.ArrowUp(); }); });
    connect(m_ui->ArrowDown, &QToolButton::clicked, this,
            [this] { Arrow([](PlotSession& s) { s.ArrowDown(); }); });
    connect(m_ui->ArrowLeft, &QToolButton::clicked, this,
            [this] { Arrow([](PlotSession& s) { s.ArrowLeft(); }); });
    connect(m_ui->ArrowRight, &QToolButton::clicked, this,
            [this] { Arrow([](PlotSession& s) { s.ArrowRight(); }); });
    connect(m_ui->ZoomButton, &QToolButton::clicked, this, &TPreviewForm::SwitchZoomMode);
    connect(m_ui->GlobalButton, &QToolButton::clicked, this,
            [this] { SetView(ScaleMode::smGlobal); });
    connect(m_ui->ReferenceButton, &QToolButton::clicked, this,
            [this] { SetView(ScaleMode::smReference); });
    connect(m_ui->UserButton, &QToolButton::clicked, this,
            [this] { SetView(ScaleMode::smUserDefined); });
    connect(m_ui->VerticalSlider, &QSlider::sliderMoved, this,
            [this](int position) { SliderMoved(true, position); });
    connect(m_ui->HorizontalSlider, &QSlider::sliderMoved, this,
            [this](int position) { SliderMoved(false, position); });
    connect(m_ui->VerticalSlider, &QSlider::sliderReleased, this,
            [this] { SliderReleased(true, *m_ui->VerticalSlider); });
    connect(m_ui->HorizontalSlider, &QSlider::sliderReleased, this,
            [this] { SliderReleased(false, *m_ui->HorizontalSlider); });
    for (QSpinBox* factor : {m_ui->PreviewX, m_ui->PreviewY})
        connect(factor, &QSpinBox::valueChanged, this, &TPreviewForm::FactorChanged);
    connect(m_ui->PreviewXY, &QSpinBox::valueChanged, this, [this](int value) {
        if (m_updating)
            return;
        m_updating = true;
        m_ui->PreviewX->setValue(value);
        m_ui->PreviewY->setValue(value);
        m_updating = false;
        FactorChanged();
    });
    connect(m_plotImage, &TPlotImage::Pressed, this, &TPreviewForm::ImagePressed);
    connect(m_plotImage, &TPlotImage::Moved, this, &TPreviewForm::ImageMoved);
    connect(m_plotImage, &TPlotImage::Released, this, &TPreviewForm::ImageReleased);
    connect(m_plotImage, &TPlotImage::Resized, this, &TPreviewForm::LayoutPlot);
    connect(m_plotImage, &TPlotImage::Wheeled, this, [this](bool up) {
        m_application.State().session.Wheel(up);
        m_application.RefreshViews();
    });
    AddHelpKey(*this,
               [&application] { application.ShowHelp(QStringLiteral("preview_window.html")); });
    UpdateControls();
}

TPreviewForm::~TPreviewForm() = default;

void TPreviewForm::Arrow(void (*step)(PlotSession&)) {
    step(m_application.State().session);
    m_application.RefreshViews();
}

void TPreviewForm::SwitchZoomMode() {
    PlotSession& session = m_application.State().session;
    session.zoomMode = !session.zoomMode;
    UpdateControls();
}

void TPreviewForm::SetView(ScaleMode mode) {
    PlotSession& session = m_application.State().session;
    session.SetScaleMode(mode);
    m_application.RedrawAll();
}

void TPreviewForm::UpdateControls() {
    const PlotSession& session = m_application.State().session;
    m_updating = true;
    m_ui->ZoomButton->setText(session.zoomMode ? QStringLiteral("ZOOM") : QStringLiteral("PAN"));
    m_ui->ZoomButton->setAccessibleName(m_ui->ZoomButton->text());
    m_ui->GlobalButton->setChecked(session.scaleMode == ScaleMode::smGlobal);
    m_ui->ReferenceButton->setChecked(session.scaleMode == ScaleMode::smReference);
    m_ui->UserButton->setChecked(session.scaleMode == ScaleMode::smUserDefined);
    const bool single = session.scaleMode == ScaleMode::smUserDefined;
    for (QWidget* control :
         {static_cast<QWidget*>(m_ui->PreviewX), static_cast<QWidget*>(m_ui->PreviewY),
          static_cast<QWidget*>(m_ui->LabelPreviewX), static_cast<QWidget*>(m_ui->LabelPreviewY)})
        control->setVisible(single);
    m_ui->PreviewX->setValue(session.previewFactorX);
    m_ui->PreviewY->setValue(session.previewFactorY);
    m_updating = false;
}

void TPreviewForm::LayoutPlot() {
    PlotSession& session = m_application.State().session;
    PanelGeometry panel = session.preview.panel;
    panel.width = m_plotImage->width();
    panel.height = m_plotImage->height();
    panel.verticalSliderWidth = 0;
    panel.horizontalSliderHeight = 0;
    session.preview.devicePixelRatio = m_plotImage->devicePixelRatioF();
    session.Layout(session.preview, panel);
    m_plotImage->update();
}

void TPreviewForm::SliderMoved(bool, int position) {
    m_ui->ZoomLabel->setText(
        QString::fromStdString(m_application.State().session.SliderLabel(position)));
}

void TPreviewForm::SliderReleased(bool vertical, QSlider& slider) {
    PlotSession& session = m_application.State().session;
    session.ReleaseSlider(vertical, slider.value());
    m_ui->ZoomLabel->setText(QString::fromStdString(session.SliderRestLabel()));
    const QSignalBlocker blocker(slider);
    slider.setValue(5000);
    m_application.RefreshViews();
}

void TPreviewForm::FactorChanged() {
    if (m_updating)
        return;
    PlotSession& session = m_application.State().session;
    session.previewFactorX = m_ui->PreviewX->value();
    session.previewFactorY = m_ui->PreviewY->value();
    session.RedrawSurface(session.preview);
    m_plotImage->update();
}

// --- Dragging the main view's rectangle ----------------------------------------------

void TPreviewForm::ImagePressed(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    m_rangeAtPress = m_application.State().session.main.view.Range();
    m_application.State().session.PreviewMouseDown(at.x(), at.y());
}

void TPreviewForm::ImageMoved(QMouseEvent* event) {
    PlotSession& session = m_application.State().session;
    if (!session.Dragging() || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint at = event->position().toPoint();
    session.PreviewMouseMove(at.x(), at.y());
    if (!session.Dragging()) {
        m_plotImage->ShowBand(TPlotImage::Band::None, QRect());
        return;
    }
    const PlotSession::Rectangle& r = session.PreviewRectangle();
    QRect frame = QRect(QPoint(r.x1, r.y2), QPoint(r.x2, r.y1)).normalized();
    frame.moveCenter(at);
    m_plotImage->ShowBand(TPlotImage::Band::Frame, frame);
}

void TPreviewForm::ImageReleased(QMouseEvent* event) {
    PlotSession& session = m_application.State().session;
    if (event->button() != Qt::LeftButton || !session.Dragging())
        return;
    m_plotImage->ShowBand(TPlotImage::Band::None, QRect());
    const QPoint at = event->position().toPoint();
    session.PreviewMouseUp(at.x(), at.y());
    // The dropped rectangle is the new view: show it at once rather than at the next Redraw.
    if (!(session.main.view.Range() == m_rangeAtPress))
        m_application.RedrawAll();
}

}  // namespace pc
