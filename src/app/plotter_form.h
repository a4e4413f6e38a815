#pragma once
// The plotter window: sends the main plot's HPGL program to the pen plotter on the serial
// port, or writes it to a plotter file. Sending runs in the background with its progress
// in the memo; Cancel stops it at once, and closing the window does too.

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class TPlotterForm;
}

namespace pc {

class Application;
class TComPort;
enum class SendOutcome;

class TPlotterForm : public QDialog {
    Q_OBJECT
  public:
    explicit TPlotterForm(Application& application);
    ~TPlotterForm() override;

    TComPort& Port() { return *m_port; }

  protected:
    // Cancel and Escape: stop a running plot, or close when none runs.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // The program for the main plot as it is now, with the plotter settings window's pens.
    std::string Program() const;
    void Plot();
    void PlotToFile();
    void EditPortSettings();
    void OpenPlotterSettings();
    void Finished(SendOutcome outcome, const QString& error);
    // Plot, Plot to File and Plotter Settings wait while a plot goes out.
    void SetSending(bool sending);
    void Report(const QString& line);

    Application& m_application;
    std::unique_ptr<Ui::TPlotterForm> m_ui;
    std::unique_ptr<TComPort> m_port;
};

}  // namespace pc
