#include "funktionsinfo_form.h"

#include <QKeySequence>
#include <QMenu>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "application.h"
#include "catalogue/file_text.h"
#include "catalogue/value_export.h"
#include "file_dialogs.h"
#include "translation.h"

namespace pc {

TFunktionsinfoForm::TFunktionsinfoForm(Application& application)
    : QWidget(nullptr, Qt::Window), m_application(application) {
    setObjectName(QStringLiteral("TFunktionsinfoForm"));
    setProperty(kTagProperty, 674);
    setWindowTitle(QStringLiteral("Function Info"));
    resize(360, 220);
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setReadOnly(true);
    m_memo->setAccessibleName(QStringLiteral("Function info"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_memo);

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* close = m_popup->addAction(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("Close1"));
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    QAction* save = m_popup->addAction(QStringLiteral("&Save to File"));
    save->setObjectName(QStringLiteral("SavetoFile1"));
    save->setShortcut(QKeySequence::Save);
    // Reachable from the keyboard too, not only through the popup.
    for (QAction* action : {close, save}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    connect(close, &QAction::triggered, this, &QWidget::close);
    connect(save, &QAction::triggered, this, &TFunktionsinfoForm::SaveToFile);
    m_memo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_memo, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { m_popup->popup(m_memo->mapToGlobal(at)); });
}

void TFunktionsinfoForm::ShowInfo(std::vector<std::string> lines) {
    m_lines = std::move(lines);
    QStringList text;
    for (const std::string& line : m_lines) text << QString::fromStdString(line);
    m_memo->setPlainText(text.join(QLatin1Char('\n')));
    m_application.ShowToolWindow(*this);
}

bool TFunktionsinfoForm::SaveTo(const std::string& path) {
    std::string error;
    if (SaveExportText(m_lines, path, error))
        return true;
    m_application.GetNotifier().PlainMessage(CannotSaveText(path, error));
    return false;
}

void TFunktionsinfoForm::SaveToFile() {
    const QString path = AskSaveFunctionInfo(this);
    if (!path.isEmpty())
        SaveTo(path.toStdString());
}

}  // namespace pc
