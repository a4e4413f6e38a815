#include "plotter_form.h"

#include <QCloseEvent>

#include "application.h"
#include "catalogue/file_text.h"
#include "comm_frm.h"
#include "file_dialogs.h"
#include "plot/hpgl.h"
#include "plotter_settings_form.h"
#include "serial/com_port.h"
#include "tool_window.h"
#include "ui_plotter_form.h"

namespace pc {

TPlotterForm::TPlotterForm(Application& application)
    : QDialog(nullptr, Qt::Window),
      m_application(application),
      m_ui(std::make_unique<Ui::TPlotterForm>()),
      m_port(std::make_unique<TComPort>()) {
    m_ui->setupUi(this);
    connect(m_ui->PlotButton, &QPushButton::clicked, this, &TPlotterForm::Plot);
    connect(m_ui->PlotToFileButton, &QPushButton::clicked, this, &TPlotterForm::PlotToFile);
    connect(m_ui->ComPortButton, &QPushButton::clicked, this, &TPlotterForm::EditPortSettings);
    connect(m_ui->PlotterSettingsButton, &QPushButton::clicked, this,
            &TPlotterForm::OpenPlotterSettings);
    connect(m_ui->CancelButton, &QPushButton::clicked, this, &TPlotterForm::reject);
    connect(m_port.get(), &TComPort::Finished, this, &TPlotterForm::Finished);
    connect(m_port.get(), &TComPort::Progress, this, [this](qint64 sent, qint64 total) {
        Report(QStringLiteral("%1 of %2 bytes sent").arg(sent).arg(total));
    });
    SetUpHelpButton(*this, *m_ui->HelpButton, application, QStringLiteral("plotter.html"));
}

TPlotterForm::~TPlotterForm() = default;

std::string TPlotterForm::Program() const {
    return BuildHpgl(m_application.State().session, m_application.PlotterSettingsForm().Settings());
}

void TPlotterForm::Plot() {
    m_ui->Memo1->clear();
    std::string program = Program();
    const qsizetype size = static_cast<qsizetype>(program.size());
    std::string error;
    if (!m_port->Send(std::move(program), error)) {
        Report(QString::fromStdString(error));
        m_application.GetNotifier().PlainMessage(error);
        return;
    }
    SetSending(true);
    Report(QStringLiteral("Plotting %1 bytes on %2")
               .arg(size)
               .arg(QString::fromStdString(m_port->Settings().port)));
}

void TPlotterForm::Finished(SendOutcome outcome, const QString& error) {
    SetSending(false);
    switch (outcome) {
        case SendOutcome::Sent:
            Report(QStringLiteral("Done."));
            break;
        case SendOutcome::Cancelled:
            Report(QStringLiteral("Cancelled; the port is closed."));
            break;
        case SendOutcome::Failed:
            Report(error);
            m_application.GetNotifier().PlainMessage(error.toStdString());
            break;
    }
}

void TPlotterForm::PlotToFile() {
    const QString path = AskSavePlotterFile(this);
    if (path.isEmpty())
        return;
    const std::string program = Program();
    m_ui->Memo1->setPlainText(QString::fromLatin1(program.data(), qsizetype(program.size()))
                                  .replace(QLatin1String("\r\n"), QLatin1String("\n")));
    std::string error;
    if (!WriteFileBytes(path.toStdString(), program, error)) {
        m_application.GetNotifier().PlainMessage(CannotSaveText(path.toStdString(), error));
        return;
    }
    QDialog::reject();
}

void TPlotterForm::EditPortSettings() {
    TCommFrm dialog(m_application, m_port->Settings(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::string error;
    if (!m_port->SetSettings(dialog.Settings(), error))
        m_application.GetNotifier().PlainMessage(error);
}

void TPlotterForm::OpenPlotterSettings() {
    QDialog::reject();
    m_application.ShowToolWindow(m_application.PlotterSettingsForm());
}

void TPlotterForm::reject() {
    if (m_port->Connected())
        m_port->Cancel();
    else
        QDialog::reject();
}

void TPlotterForm::closeEvent(QCloseEvent* event) {
    m_port->Cancel();
    QWidget::closeEvent(event);
}

void TPlotterForm::SetSending(bool sending) {
    for (QPushButton* button :
         {m_ui->PlotButton, m_ui->PlotToFileButton, m_ui->PlotterSettingsButton})
        button->setEnabled(!sending);
}

void TPlotterForm::Report(const QString& line) {
    m_ui->Memo1->appendPlainText(line);
}

}  // namespace pc
