#pragma once
// The line style window: colour, pen, width, display mode and calculation points of the
// current plot item, the function(s) it shows and their definitions. The catalogue's
// line style functions decide what it shows and what OK does.

#include <QDialog>
#include <memory>
#include <string>

#include "catalogue/line_style.h"

namespace Ui {
class TStylesForm;
}

namespace pc {

class Application;

class TStylesForm : public QDialog {
    Q_OBJECT
  public:
    explicit TStylesForm(Application& application);
    ~TStylesForm() override;

    // Opens modally for the catalogue's current item; returns the dialog's result
    // (Rejected at once when there is no current item).
    int OpenForCurrentItem();
    // The controls as the model reads them.
    LineStyleFields Fields() const;

  protected:
    void accept() override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The function groups from the catalogue (after opening and after a definition was
    // entered); the style controls keep what the user chose.
    void ShowFunctions(const LineStyleView& view);
    void ShowColour();
    void ChooseColour();
    void DefinitionEdited(bool second, const QString& text);
    void EnterDefinition(bool second);
    void ChangeParameter(bool second);

    Application& m_application;
    std::unique_ptr<Ui::TStylesForm> m_ui;
    LineStyleFields m_fields;  // the colour and the edited flags live here
    std::string m_savedInput;  // the manager's input line when the window opened
    int m_openedMode = 0;      // the display mode, for Cancel
};

}  // namespace pc
