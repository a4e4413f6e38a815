#pragma once
// The dependencies window: every function with the functions it calls, as a tree, each
// name coloured by its state (red: invalid, green: no such function).

#include <QWidget>
#include <memory>

namespace Ui {
class TTreeviewForm;
}

namespace pc {

class Application;

class TTreeviewForm : public QWidget {
    Q_OBJECT
  public:
    explicit TTreeviewForm(Application& application);
    ~TTreeviewForm() override;

    // The tree from the catalogue.
    void Refresh();

  private:
    Application& m_application;
    std::unique_ptr<Ui::TTreeviewForm> m_ui;
};

}  // namespace pc
