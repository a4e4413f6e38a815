#pragma once
// The legend: every shown, valid plot item with its colour, the current item's arrow and
// the reference curve's mark. A click makes an item the current one.

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

  private:
    void Clicked(int entry);

    Application& m_application;
    std::unique_ptr<Ui::TLegendeForm> m_ui;
    QMenu* m_popup = nullptr;
};

}  // namespace pc
