#pragma once
// What the window tests share: a started application on the offscreen platform, and an
// answerer that presses a button in every modal dialog as it comes up, recording what it
// said.

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"

namespace pc::test {

// Presses a button in each modal dialog that opens while it lives: `answer` gets the
// dialog and decides (it may close it any way it likes). The texts of message dialogs
// are recorded, line breaks and all.
class DialogAnswerer {
  public:
    using Answer = std::function<void(QDialog&)>;
    explicit DialogAnswerer(Answer answer);
    ~DialogAnswerer();
    // The texts of the message dialogs and plain message boxes seen, in order.
    std::vector<std::string> texts;

  private:
    Answer m_answer;
    QTimer m_timer;
};

// Answers: press the button whose text is `text` ("&Yes", "&No", "Cancel", "OK", ...).
DialogAnswerer::Answer Press(const QString& text);
// Answers a file dialog by choosing `path`, and a message dialog by `press`.
DialogAnswerer::Answer ChooseFile(const QString& path, const QString& press = QStringLiteral("OK"));

// A temporary folder for one test.
std::string TemporaryFolder();

// An application started on the function file `file` (none when empty).
std::unique_ptr<Application> StartApplication(const std::string& file = {});

std::string ReadBytes(const std::string& path);

// A mouse event at `at` in `widget`, delivered at once.
void SendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons buttons);

}  // namespace pc::test
