#pragma once
// What the tool windows share: the stay-on-top toggle and the help button with their
// pictures, and F1 for the window's help page.

class QString;
class QToolButton;
class QWidget;

namespace pc {

class Application;

// `onTop` keeps `window` above the others while it is down; `help` and F1 open `page`.
void SetUpToolButtons(QWidget& window, QToolButton& onTop, QToolButton& help,
                      Application& application, const QString& page);

}  // namespace pc
