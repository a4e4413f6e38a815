#pragma once
// The plotter settings window: pen force, speed and acceleration for the HPGL program.
// OK and Cancel both keep the selections; OK goes back to the plotter window.

#include <QDialog>
#include <memory>

#include "plot/hpgl.h"

namespace Ui {
class TPlotterSettingsForm;
}

namespace pc {

class Application;

class TPlotterSettingsForm : public QDialog {
    Q_OBJECT
  public:
    explicit TPlotterSettingsForm(Application& application);
    ~TPlotterSettingsForm() override;

    // The selected index of each radio group.
    PlotterSettings Settings() const;

  protected:
    void accept() override;

  private:
    Application& m_application;
    std::unique_ptr<Ui::TPlotterSettingsForm> m_ui;
};

}  // namespace pc
