#include "animate_form.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QTimer>

#include "application.h"
#include "functions_form.h"
#include "help_form.h"
#include "main_form.h"
#include "plot/plot_session.h"
#include "plot_image.h"
#include "ui_animate_form.h"

namespace pc {

namespace {

constexpr int kSlowest = 1;
constexpr int kFastest = 200;

}  // namespace

TAnimateForm::TAnimateForm(Application& application)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint),
      m_application(application),
      m_ui(std::make_unique<Ui::TAnimateForm>()),
      m_timer(new QTimer(this)) {
    m_ui->setupUi(this);
    m_timer->setObjectName(QStringLiteral("AnimateTimer"));
    // One shot, started again after each step: a step slower than the interval never
    // leaves ticks waiting, so the windows keep answering at any speed.
    m_timer->setSingleShot(true);
    m_timer->setInterval(3);
    connect(m_timer, &QTimer::timeout, this, &TAnimateForm::Tick);
    connect(m_ui->AniPlayright_btn, &QAbstractButton::clicked, this, [this] { Play(true); });
    connect(m_ui->AniPlayleft_btn, &QAbstractButton::clicked, this, [this] { Play(false); });
    connect(m_ui->AniStop_btn, &QAbstractButton::clicked, this,
            [this] { m_running ? Pause() : Continue(); });
    connect(m_ui->Button1, &QAbstractButton::clicked, this,
            [this] { SingleStep(AnimationSender::StepBackward); });
    connect(m_ui->Button2, &QAbstractButton::clicked, this,
            [this] { SingleStep(AnimationSender::StepForward); });
    connect(m_ui->AniTrackBar_Speed, &QSlider::valueChanged, this, &TAnimateForm::SpeedChanged);
    connect(m_ui->CloseButton, &QAbstractButton::clicked, this, &QWidget::close);
    const TPlotImage& image = application.MainForm().PlotImage();
    connect(&image, &TPlotImage::Pressed, this, &TAnimateForm::MainImagePressed);
    connect(&image, &TPlotImage::Released, this, &TAnimateForm::MainImageReleased);
    application.State().session.main.pictureWiped = [this] { PictureWiped(); };
    AddHelpKey(*this, [&application] { application.ShowHelp(QStringLiteral("animation.html")); });
    SetStarted(false);
}

TAnimateForm::~TAnimateForm() {
    m_application.State().session.main.pictureWiped = nullptr;
}

void TAnimateForm::Open() {
    if (!isVisible()) {
        const int kept = m_application.State().session.animationSpeed;
        // A file written before any animation keeps 0: the fastest speed, as at first.
        m_ui->AniTrackBar_Speed->setValue(kept >= kSlowest && kept <= kFastest ? kept : kFastest);
        SpeedChanged(m_ui->AniTrackBar_Speed->value());
        SetStarted(false);
    }
    m_application.ShowToolWindow(*this);
}

void TAnimateForm::Play(bool forward) {
    // The start wipes the picture itself; that is no reason to resume later.
    m_running = false;
    StartAnimation(m_application.State().session, forward);
    m_resumeArmed = false;
    SetStarted(true);
    // No editing of the functions while their frames are on the picture.
    m_application.FunctionsForm().setEnabled(false);
    Continue();
    ShowPicture();
}

void TAnimateForm::Tick() {
    if (!m_running)
        return;
    AnimationStep(m_application.State().session, AnimationSender::Timer, YoYo());
    ShowPicture();
    if (m_running)
        m_timer->start();
}

void TAnimateForm::SingleStep(AnimationSender sender) {
    if (!m_started)
        return;
    Pause();
    AnimationStep(m_application.State().session, sender, YoYo());
    ShowPicture();
}

void TAnimateForm::Pause() {
    m_running = false;
    m_timer->stop();
    m_ui->AniStop_btn->setText(QStringLiteral("&Start"));
}

void TAnimateForm::Continue() {
    if (!m_started)
        return;
    m_running = true;
    m_timer->start();
    m_ui->AniStop_btn->setText(QStringLiteral("&Stop"));
}

void TAnimateForm::SetStarted(bool started) {
    m_started = started;
    for (QWidget* control :
         {static_cast<QWidget*>(m_ui->AniStop_btn), static_cast<QWidget*>(m_ui->Button1),
          static_cast<QWidget*>(m_ui->Button2)})
        control->setEnabled(started);
    if (!started)
        m_ui->AniStop_btn->setText(QStringLiteral("&Stop"));
}

void TAnimateForm::SpeedChanged(int position) {
    m_timer->setInterval(kFastest - position + 1);
    m_application.State().session.animationSpeed = position;
}

void TAnimateForm::PictureWiped() {
    if (!m_started)
        return;
    const bool wasRunning = m_running;
    Pause();
    // The frames went with the picture: a step or Start now would invert curves that the
    // redraw drew whole. Only a start draws frames again.
    SetStarted(false);
    m_resumeArmed = wasRunning && isVisible();
}

void TAnimateForm::MainImagePressed(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_resumePressed = m_resumeArmed;
}

void TAnimateForm::MainImageReleased(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // Only a click on the main plot resumes, and only while this window is open: a click
    // on a button or a menu never starts frames behind a disabled manager. The release
    // that ends a rubber band zooms, and the redraw of that zoom waits for a new click.
    const bool resume = m_resumePressed && m_resumeArmed && isVisible();
    m_resumePressed = false;
    if (!resume)
        return;
    m_resumeArmed = false;
    Play(true);
}

void TAnimateForm::closeEvent(QCloseEvent* event) {
    Pause();
    SetStarted(false);
    m_resumeArmed = m_resumePressed = false;
    m_application.FunctionsForm().setEnabled(true);
    event->accept();
}

void TAnimateForm::ShowPicture() {
    m_application.MainForm().PlotImage().update();
}

bool TAnimateForm::YoYo() const {
    return m_ui->AniYoYoCheckBox->isChecked();
}

}  // namespace pc
