#pragma once
// The function info window: the short description of a plot item, with Close and
// "Save to File" in its popup menu. It saves the lines it shows.

#include <QWidget>
#include <string>
#include <vector>

class QMenu;
class QPlainTextEdit;

namespace pc {

class Application;

class TFunktionsinfoForm : public QWidget {
    Q_OBJECT
  public:
    explicit TFunktionsinfoForm(Application& application);

    // Shows `lines` and brings the window up.
    void ShowInfo(std::vector<std::string> lines);
    // Writes the lines shown to `path`; false, with the reason shown, when it fails.
    bool SaveTo(const std::string& path);
    QMenu& PopupMenu() { return *m_popup; }

  private:
    void SaveToFile();

    Application& m_application;
    QPlainTextEdit* m_memo = nullptr;
    QMenu* m_popup = nullptr;
    std::vector<std::string> m_lines;
};

}  // namespace pc
