#pragma once
// The help window: the program's manual (HTML pages under Help/) with back, forward and
// the contents page, so that help works without a web browser.

#include <QWidget>
#include <functional>

class QTextBrowser;
class QToolButton;

namespace pc {

class THelpForm : public QWidget {
    Q_OBJECT
  public:
    // `helpDirectory` holds the pages and their style sheet.
    explicit THelpForm(const QString& helpDirectory, QWidget* parent = nullptr);

    // Shows `page` (e.g. "main_window.html", or "index.html" for the contents).
    void ShowPage(const QString& page);
    QTextBrowser& Browser() { return *m_browser; }

  private:
    QTextBrowser* m_browser = nullptr;
};

// F1 in `window` (and its children) calls `show`.
void AddHelpKey(QWidget& window, const std::function<void()>& show);

}  // namespace pc
