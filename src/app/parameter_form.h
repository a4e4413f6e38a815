#pragma once
// The parameter window: where the values of a function's parameters come from (a typed
// list, an automatic range or a table file) and whether the family is animated. The
// catalogue's ParameterWindow stores and restores; this window shows its fields.

#include <QDialog>
#include <memory>

namespace Ui {
class TParameterForm;
}

namespace pc {

class Application;
class ParameterWindow;
class TFunktion;

class TParameterForm : public QDialog {
    Q_OBJECT
  public:
    explicit TParameterForm(Application& application);
    ~TParameterForm() override;

    // Opens (modelessly) for `function`, which has at least one parameter.
    void OpenFor(TFunktion& function);
    // Opens modally for `function` (the line style window's Change Parameter); returns
    // the dialog's result.
    int ExecFor(TFunktion& function);
    ParameterWindow& Model() { return *m_model; }

  protected:
    void accept() override;
    void reject() override;

  private:
    void Prepare(TFunktion& function);
    // The model's fields into the controls, and back.
    void ShowFields();
    void TakeFields();
    void SourceChanged();
    void LoadList();
    void SaveList();

    Application& m_application;
    std::unique_ptr<Ui::TParameterForm> m_ui;
    std::unique_ptr<ParameterWindow> m_model;
    bool m_showing = false;
};

}  // namespace pc
