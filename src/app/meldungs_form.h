#pragma once
// The message dialog: a catalogue message with the icon of its kind and the buttons the
// caller asks for; and the notifier through which the model shows its messages with it.

#include <QDialog>
#include <memory>

#include "catalogue/notifier.h"

class QAbstractButton;

namespace Ui {
class TMeldungsForm;
}

namespace pc {

class TMeldungsForm : public QDialog {
    Q_OBJECT
  public:
    // Shows `decision` (text without its kind code, icon by kind, one button panel).
    TMeldungsForm(const MessageDecision& decision, QWidget* parent = nullptr);
    ~TMeldungsForm() override;

    // The modal result of the button pressed: mrOk, mrYes, mrNo, or mrCancel (also when
    // the dialog is closed otherwise, e.g. with Escape).
    ModalResult Result() const { return m_result; }

  private:
    void ButtonClicked(QAbstractButton* button);

    std::unique_ptr<Ui::TMeldungsForm> m_ui;
    ModalResult m_result = ModalResult::mrCancel;
};

// Shows a message modally and returns its result.
ModalResult ShowMessageDialog(const MessageDecision& decision, QWidget* parent);

// The model's messages in the message dialog, plain ones in a plain message box. Both
// stay on top of the program's windows.
class DialogNotifier : public Notifier {
  public:
    void PlainMessage(const std::string& text) override;
    ModalResult ShowMessage(Language language, int number, ButtonSet buttons) override;
};

}  // namespace pc
