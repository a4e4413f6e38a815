#pragma once
// The value table writer: writes a copy of a plot item's point arrays to a ".tfx" file in
// a thread of its own, so that the windows stay responsive while millions of points are
// written, and can be cancelled without leaving a half-written file.

#include <QThread>
#include <atomic>
#include <string>

#include "catalogue/value_export.h"

class QString;
class QWidget;

namespace pc {

class Notifier;

class Tspeicherthread : public QThread {
    Q_OBJECT
  public:
    // Takes a copy of the item's main-window arrays, so that the item may change or go
    // while the table is written.
    Tspeicherthread(const TFktItem& item, std::string path, QObject* parent = nullptr);
    // Cancels a write still running and waits for it: no thread outlives its owner.
    ~Tspeicherthread() override;

    std::size_t LineCount() const { return m_lineCount; }
    // Stops the write at the next piece; the target file stays as it was.
    void Cancel() { m_cancelled = true; }
    // Once finished: how the write ended, and why it failed.
    ExportResult Result() const { return m_result; }
    const std::string& Error() const { return m_error; }
    const std::string& Path() const { return m_path; }

  signals:
    void Progress(qulonglong linesWritten);

  protected:
    void run() override;

  private:
    TPointArrayList m_arrays;
    std::string m_path;
    std::size_t m_lineCount = 0;
    std::atomic<bool> m_cancelled = false;
    ExportResult m_result = ExportResult::Failed;
    std::string m_error;
};

// Writes the value table of `item` to `path` in a writer thread, with a progress dialog
// over `parent` whose Cancel stops it. A failure is shown through `notifier` with its
// reason. The writer deletes itself when done; it is returned for callers that wait.
Tspeicherthread* StartValueTableExport(const TFktItem& item, const QString& path, QWidget* parent,
                                       Notifier& notifier);

}  // namespace pc
