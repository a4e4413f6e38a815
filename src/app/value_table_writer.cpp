#include "value_table_writer.h"

#include <QProgressDialog>
#include <algorithm>
#include <exception>
#include <limits>
#include <new>

#include "catalogue/file_text.h"
#include "catalogue/notifier.h"

namespace pc {

Tspeicherthread::Tspeicherthread(const TFktItem& item, std::string path, QObject* parent)
    : QThread(parent),
      m_arrays(item.FeldListenListeM),
      m_path(std::move(path)),
      m_lineCount(ValueTableLineCount(m_arrays)) {
    setObjectName(QStringLiteral("Tspeicherthread"));
}

Tspeicherthread::~Tspeicherthread() {
    Cancel();
    wait();
}

void Tspeicherthread::run() {
    // Nothing thrown here may end the program: every failure becomes the write's result.
    try {
        m_result = WriteValueTable(
            m_arrays, m_path,
            [this](std::size_t lines) {
                emit Progress(lines);
                return !m_cancelled.load();
            },
            m_error);
    } catch (const std::exception& error) {
        m_result = ExportResult::Failed;
        m_error = error.what();
    } catch (...) {
        m_result = ExportResult::Failed;
        m_error = "unexpected error";
    }
}

Tspeicherthread* StartValueTableExport(const TFktItem& item, const QString& path, QWidget* parent,
                                       Notifier& notifier) {
    Tspeicherthread* writer = nullptr;
    try {
        writer = new Tspeicherthread(item, path.toStdString(), parent);
    } catch (const std::bad_alloc&) {
        notifier.PlainMessage(
            CannotSaveText(path.toStdString(), "not enough memory to copy the points"));
        return nullptr;
    }
    // Shown only when the table takes longer than a moment.
    auto* progress = new QProgressDialog(QStringLiteral("Saving the value table to ") + path,
                                         QStringLiteral("Cancel"), 0,
                                         static_cast<int>(std::min<std::size_t>(
                                             writer->LineCount(), std::numeric_limits<int>::max())),
                                         parent);
    progress->setObjectName(QStringLiteral("ValueTableProgress"));
    progress->setWindowTitle(QStringLiteral("Save as Table"));
    progress->setMinimumDuration(500);
    progress->setAutoReset(false);
    QObject::connect(writer, &Tspeicherthread::Progress, progress, [progress](qulonglong lines) {
        progress->setValue(static_cast<int>(std::min<qulonglong>(lines, progress->maximum())));
    });
    // Its Cancel button, and Escape or closing it, stop the writer.
    QObject::connect(progress, &QProgressDialog::canceled, writer, &Tspeicherthread::Cancel);
    QObject::connect(progress, &QDialog::rejected, writer, &Tspeicherthread::Cancel);
    QObject::connect(writer, &QThread::finished, writer, [writer, progress, &notifier] {
        progress->deleteLater();
        if (writer->Result() == ExportResult::Failed)
            notifier.PlainMessage(CannotSaveText(writer->Path(), writer->Error()));
        writer->deleteLater();
    });
    writer->start();
    return writer;
}

}  // namespace pc
