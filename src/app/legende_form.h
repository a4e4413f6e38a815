#pragma once
// The legend: every shown, valid plot item with its colour, the current item's arrow and
// the reference curve's mark. A click makes an item the current one, a double click opens
// its line style; the popup saves its value table, makes it the reference curve or shows
// its function info.

#include <QWidget>
#include <memory>

namespace Ui {
class TLegendeForm;
}

class QMenu;

namespace pc {

class Application;

class TLegendeForm : public QWidget {
    Q_OBJECT
  public:
    explicit TLegendeForm(Application& application);
    ~TLegendeForm() override;

    // The entries from the catalogue's display list.
    void Refresh();
    QMenu& PopupMenu() { return *m_popup; }

    // The popup's commands, for the current item.
    void SaveAsTable();
    void MakeReference();
    void ShowFunctionInfo();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Clicked(int entry);
    void OpenStyles(int entry);

    Application& m_application;
    std::unique_ptr<Ui::TLegendeForm> m_ui;
    QMenu* m_popup = nullptr;
};

}  // namespace pc
