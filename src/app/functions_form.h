#pragma once
// The function manager's window: the input line, the selection list of every function,
// and the display grid that the functions are dragged into. Every event goes to the
// function manager of the catalogue; the window shows what it decided.

#include <QWidget>
#include <memory>

namespace Ui {
class TFunctionsForm;
}

class QMenu;

namespace pc {

class Application;
class DisplayGridDelegate;
class DisplayGridModel;

class TFunctionsForm : public QWidget {
    Q_OBJECT
  public:
    explicit TFunctionsForm(Application& application);
    ~TFunctionsForm() override;

    // The lists, the grid and the input line from the catalogue.
    void Refresh();
    // The input line from the function manager's, which other windows type into too.
    void ShowInputLine();
    void SetAnimateVisible(bool visible);
    DisplayGridModel& GridModel() { return *m_gridModel; }
    DisplayGridDelegate& GridDelegate() { return *m_gridDelegate; }
    QMenu& GridPopup() { return *m_gridPopup; }

    // Commands, callable from tests as from the window.
    void EnterDefinition();
    // Asks question 102, then deletes the function of selection line `line` on Yes.
    void DeleteFunction(int line);
    // A double click on selection line `line`: the parameter window, when its function
    // has parameters.
    void OpenParameters(int line);
    // A function dragged from selection line `line` and dropped on (row, column).
    void DropLine(int line, int row, int column);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void ListPressed(int line);
    void StartDrag(int line);
    void GridLeftClicked(int row, int column);
    void GridRightClicked(int row, int column, QPoint at);
    void GridDoubleClicked(int row, int column);
    void Changed();

    Application& m_application;
    std::unique_ptr<Ui::TFunctionsForm> m_ui;
    DisplayGridModel* m_gridModel = nullptr;
    DisplayGridDelegate* m_gridDelegate = nullptr;
    QMenu* m_gridPopup = nullptr;
    QMenu* m_listPopup = nullptr;
    QPoint m_pressPosition;
    int m_pressedLine = -1;
    bool m_refreshing = false;
};

}  // namespace pc
