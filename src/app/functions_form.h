#pragma once
// The function manager's window. Its controls (input line, selection list, display
// grid) come with the manager's own work; the shell already opens, places and labels it.

#include <QWidget>

namespace pc {

class Application;

class TFunctionsForm : public QWidget {
    Q_OBJECT
  public:
    explicit TFunctionsForm(Application& application);
};

}  // namespace pc
