#pragma once
// The preferences window: margins, line widths, colours, fonts and switches of both
// plots, the angle unit, the language, and loading and saving configurations. Cancel
// restores every field and switch as they were when the window opened.

#include <QDialog>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

#include "catalogue/configuration_file.h"
#include "catalogue/message_catalogue.h"

namespace Ui {
class TPrefForm;
}

class QLineEdit;

namespace pc {

class Application;

class TPrefForm : public QDialog {
    Q_OBJECT
  public:
    explicit TPrefForm(Application& application);
    ~TPrefForm() override;

    // The margin fields' texts, which a configuration stores as the margins.
    std::array<int, 8> MarginFields() const;
    // Each field is named by its row's label and its column's heading (after every
    // translation: the labels name only the fields of the first column).
    void NameFields();

  protected:
    void showEvent(QShowEvent* event) override;
    void accept() override;
    void reject() override;

  private:
    // The fields and switches from both plots' current look.
    void FillFromPlots();
    // Every field's text and switch, in order, as Cancel restores them.
    QStringList State() const;
    void RestoreState(const QStringList& state);
    // A margin or line-width field left with text that is no integer.
    void CheckInteger(QLineEdit& field);
    // A switch of one plot changed: it takes effect at once.
    void SwitchChanged();
    void PickColour(bool preview);
    void PickFont(bool preview);
    void ShowSwatches();
    void LoadConfiguration();
    void SaveConfiguration();
    std::vector<QLineEdit*> Fields() const;

    Application& m_application;
    std::unique_ptr<Ui::TPrefForm> m_ui;
    QStringList m_remembered;
    // The looks and the language as the window found them, which Cancel brings back
    // with the fields: colours and fonts take effect as they are chosen.
    PlotLook m_rememberedMain;
    PlotLook m_rememberedPreview;
    Language m_rememberedLanguage = Language::English;
    bool m_filling = false;
};

}  // namespace pc
