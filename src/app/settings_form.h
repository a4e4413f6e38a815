#pragma once
// The plot settings window: grid type and axis kinds, the view mode with the reference
// curve, and the typed ranges. Everything it changes is the plot session's; the window
// shows the session's state whenever it comes up.

#include <QColor>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

namespace Ui {
class TSettingsForm;
}

class QLineEdit;

namespace pc {

class Application;
class TFktItem;
enum class GridType : std::uint8_t;
enum class ScaleMode : std::uint8_t;

// How the reference selector draws an entry: a swatch in the item's colour, and the
// chosen entry's text bold and green.
struct ReferenceEntryLook {
    QColor swatch;
    QColor text;
    bool bold = false;
};
ReferenceEntryLook ReferenceLook(const TFktItem& item, bool selected);

class TSettingsForm : public QWidget {
    Q_OBJECT
  public:
    explicit TSettingsForm(Application& application);
    ~TSettingsForm() override;

    // Every control from the session (and the reference selector from the legend's
    // entries).
    void ShowState();
    // A grid type chosen: the session takes it, both plots are redrawn, the controls follow.
    void SetGridType(GridType value);
    // The legend's Reference command: the curve of legend entry `entry` in the selector,
    // applied.
    void ApplyReference(int entry);

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void GridChosen();
    void ScaleModeChosen(ScaleMode mode);
    void ReferenceChosen(int entry);
    // A range field left: a number (a comma taken as the point) goes to the session, anything
    // else is refused with the message and the text from before comes back.
    void FieldLeft(QLineEdit& field);
    std::string* SessionField(const QLineEdit& field);

    Application& m_application;
    std::unique_ptr<Ui::TSettingsForm> m_ui;
    QString m_remembered;  // the range field's text when it was entered
    bool m_showing = false;
};

}  // namespace pc
