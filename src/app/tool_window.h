#pragma once
// What the windows share: the stay-on-top toggle and the help button with their
// pictures, F1 for the window's help page, and definition lines typed in upper case.

#include <functional>

class QLineEdit;
class QString;
class QToolButton;
class QWidget;

namespace pc {

class Application;

// `onTop` keeps `window` above the others while it is down; `help` and F1 open `page`.
void SetUpToolButtons(QWidget& window, QToolButton& onTop, QToolButton& help,
                      Application& application, const QString& page);
// Only the help button and F1, for a window without the stay-on-top toggle.
void SetUpHelpButton(QWidget& window, QToolButton& help, Application& application,
                     const QString& page);

// A definition line: what is typed becomes upper case where the cursor stays, and
// `edited` gets the new text.
void UpperCaseAsTyped(QLineEdit& line, const std::function<void(const QString&)>& edited);

}  // namespace pc
