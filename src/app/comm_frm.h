#pragma once
// The serial port dialog: port (offered or typed), baud rate, data and stop bits, parity,
// the flow-control boxes with their four presets. It edits a copy; the caller takes
// Settings() after OK.

#include <QDialog>
#include <memory>

#include "serial/com_port.h"

namespace Ui {
class TCommFrm;
}

namespace pc {

class Application;

class TCommFrm : public QDialog {
    Q_OBJECT
  public:
    TCommFrm(Application& application, const ComPortSettings& settings, QWidget* parent);
    ~TCommFrm() override;

    // The settings as the controls show them, over those the dialog was opened with.
    ComPortSettings Settings() const;

  private:
    void Show(const ComPortSettings& settings);

    ComPortSettings m_settings;
    std::unique_ptr<Ui::TCommFrm> m_ui;
};

}  // namespace pc
