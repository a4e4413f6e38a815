#pragma once
// The diagnostics window: the text dump of the catalogue and the view limits, for
// developers, with save, clear and a fresh dump.

#include <QWidget>
#include <string>

class QPlainTextEdit;

namespace pc {

class Application;

class TDumpForm : public QWidget {
    Q_OBJECT
  public:
    explicit TDumpForm(Application& application);

    // Fills the trace from the catalogue and shows the window.
    void Dump();
    // Writes the trace to `path`; says "Trace saved to: PATH" only when it was, and why
    // not otherwise. True when saved.
    bool SaveTo(const std::string& path);
    // The file name a save uses: the user directory + "PlotcraftsmanDump_" + date and time.
    std::string DumpFileName() const;
    QPlainTextEdit& Dumpbox() { return *m_dumpbox; }

  private:
    Application& m_application;
    QPlainTextEdit* m_dumpbox = nullptr;
};

}  // namespace pc
