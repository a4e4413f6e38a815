#include "dump_form.h"

#include <QDateTime>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "application.h"
#include "catalogue/catalogue_views.h"
#include "catalogue/directories.h"
#include "catalogue/file_text.h"
#include "plot/plot_session.h"

namespace pc {

TDumpForm::TDumpForm(Application& application)
    : QWidget(nullptr, Qt::Window), m_application(application) {
    setObjectName(QStringLiteral("TDumpForm"));
    setWindowTitle(QStringLiteral("Dump***"));
    resize(342, 444);
    auto* menu = new QMenuBar(this);
    const auto add = [menu](const char* name, const QString& text) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    connect(add("save1", QStringLiteral("&save")), &QAction::triggered, this,
            [this] { SaveTo(DumpFileName()); });
    connect(add("clear1", QStringLiteral("&clear")), &QAction::triggered, this,
            [this] { m_dumpbox->clear(); });
    connect(add("Dump1", QStringLiteral("&Dump")), &QAction::triggered, this, &TDumpForm::Dump);
    m_dumpbox = new QPlainTextEdit(this);
    m_dumpbox->setObjectName(QStringLiteral("Dumpbox"));
    m_dumpbox->setAccessibleName(QStringLiteral("Trace"));
    m_dumpbox->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menu);
    layout->addWidget(m_dumpbox);
}

void TDumpForm::Dump() {
    ProgramState& state = m_application.State();
    QStringList lines;
    for (const std::string& line : DumpText(state.catalogue, state.session.main.view.Range(),
                                            state.session.preview.view.Range()))
        lines << QString::fromStdString(line);
    m_dumpbox->setPlainText(lines.join(QLatin1Char('\n')));
    m_application.ShowToolWindow(*this);
}

std::string TDumpForm::DumpFileName() const {
    // A date and time that every file system takes in a name.
    return UserDirectory() + "PlotcraftsmanDump_" +
           QDateTime::currentDateTime()
               .toString(QStringLiteral("yyyy-MM-dd_HH.mm.ss"))
               .toStdString() +
           ".txt";
}

bool TDumpForm::SaveTo(const std::string& path) {
    std::vector<std::string> lines;
    for (const QString& line : m_dumpbox->toPlainText().split(QLatin1Char('\n')))
        lines.push_back(line.toStdString());
    std::string error;
    if (!WriteTextFile(path, lines, error)) {
        m_application.GetNotifier().PlainMessage(CannotSaveText(path, error));
        return false;
    }
    m_application.GetNotifier().PlainMessage("Trace saved to: " + path);
    return true;
}

}  // namespace pc
