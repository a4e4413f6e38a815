#pragma once
// The animation window: steps every animated curve family of the main plot through its
// members with a timer, forwards, backwards or back and forth, one member at a time. The
// plot layer draws the frames; this window holds the timer, the buttons and the resume
// after a redraw.

#include <QWidget>
#include <memory>

#include "plot/animation.h"

class QMouseEvent;
class QTimer;

namespace Ui {
class TAnimateForm;
}

namespace pc {

class Application;

class TAnimateForm : public QWidget {
    Q_OBJECT
  public:
    explicit TAnimateForm(Application& application);
    ~TAnimateForm() override;

    // Shows the window (the manager's Animate button). A window that was closed comes up
    // idle, with the speed kept in the function file.
    void Open();
    // Play right (forwards) or left: frame 0 of every family on the static picture, the
    // function manager disabled, the timer running.
    void Play(bool forward);
    // One tick of `AnimateTimer`, callable from tests as from the timer.
    void Tick();
    // The timer runs (it is off between its ticks only while a step is drawn).
    bool Running() const { return m_running; }
    // A redraw wiped the picture while running: the next left click on the main plot
    // (pressed after the redraw) starts again forwards.
    bool ResumeArmed() const { return m_resumeArmed; }
    QTimer& Timer() { return *m_timer; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void SingleStep(AnimationSender sender);
    void Pause();
    void Continue();
    void SetStarted(bool started);
    void SpeedChanged(int position);
    void PictureWiped();
    void MainImagePressed(QMouseEvent* event);
    void MainImageReleased(QMouseEvent* event);
    void ShowPicture();
    bool YoYo() const;

    Application& m_application;
    std::unique_ptr<Ui::TAnimateForm> m_ui;
    QTimer* m_timer = nullptr;
    bool m_started = false;  // frames are on the picture: Stop and the steps work
    bool m_running = false;
    bool m_resumeArmed = false;
    bool m_resumePressed = false;  // the left button went down on the plot while armed
};

}  // namespace pc
