#include "parameter_form.h"

#include <QMenu>

#include "application.h"
#include "catalogue/catalogue.h"
#include "catalogue/file_text.h"
#include "catalogue/parameter_window.h"
#include "file_dialogs.h"
#include "help_form.h"
#include "ui_parameter_form.h"

namespace pc {

TParameterForm::TParameterForm(Application& application)
    : QDialog(nullptr, Qt::Window | Qt::WindowStaysOnTopHint),
      m_application(application),
      m_ui(std::make_unique<Ui::TParameterForm>()),
      m_model(std::make_unique<ParameterWindow>(application.State().catalogue)) {
    m_ui->setupUi(this);
    connect(m_ui->ComboBox1, &QComboBox::activated, this, [this](int) {
        TakeFields();
        if (m_model->SelectName(m_ui->ComboBox1->currentText().toStdString()))
            ShowFields();
    });
    for (QRadioButton* source : {m_ui->FromList, m_ui->Automatic, m_ui->FromFile})
        connect(source, &QRadioButton::toggled, this, &TParameterForm::SourceChanged);
    connect(m_ui->OKButton, &QPushButton::clicked, this, &TParameterForm::accept);
    connect(m_ui->CancelButton, &QPushButton::clicked, this, &TParameterForm::reject);
    connect(m_ui->Button1, &QPushButton::clicked, this, [this] {
        const QString path = AskOpenParameterTable(this);
        if (!path.isEmpty())
            m_ui->Edit4->setText(path);
    });
    // Enter in the automatic fields moves on to the next one.
    for (QLineEdit* field : {m_ui->Edit1, m_ui->Edit2, m_ui->Edit3})
        connect(field, &QLineEdit::returnPressed, this, [this] { focusNextChild(); });
    auto* popup = new QMenu(this);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* load = popup->addAction(QStringLiteral("Load"));
    load->setProperty("tag", 615);
    QAction* save = popup->addAction(QStringLiteral("Save"));
    save->setProperty("tag", 616);
    connect(load, &QAction::triggered, this, &TParameterForm::LoadList);
    connect(save, &QAction::triggered, this, &TParameterForm::SaveList);
    m_ui->Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_ui->Memo1, &QWidget::customContextMenuRequested, this,
            [this, popup](QPoint at) { popup->popup(m_ui->Memo1->mapToGlobal(at)); });
    AddHelpKey(*this, [&application] { application.ShowHelp(QStringLiteral("parameters.html")); });
}

TParameterForm::~TParameterForm() = default;

void TParameterForm::Prepare(TFunktion& function) {
    m_model->Open(function);
    m_ui->ComboBox1->clear();
    for (const std::string& name : m_model->Names())
        m_ui->ComboBox1->addItem(QString::fromStdString(name));
    ShowFields();
}

void TParameterForm::OpenFor(TFunktion& function) {
    Prepare(function);
    m_application.ShowToolWindow(*this);
}

int TParameterForm::ExecFor(TFunktion& function) {
    Prepare(function);
    return exec();
}

void TParameterForm::ShowFields() {
    m_showing = true;
    const ParameterFields& fields = m_model->Fields();
    m_ui->ComboBox1->setCurrentText(QString::fromStdString(m_model->ShownName()));
    m_ui->FromList->setChecked(fields.source == TValueSource::vsList);
    m_ui->Automatic->setChecked(fields.source == TValueSource::vsAutomatic);
    m_ui->FromFile->setChecked(fields.source == TValueSource::vsFile);
    QStringList lines;
    for (const std::string& line : fields.listLines) lines << QString::fromStdString(line);
    m_ui->Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    m_ui->Edit1->setText(QString::fromStdString(fields.startText));
    m_ui->Edit2->setText(QString::fromStdString(fields.stopText));
    m_ui->Edit3->setText(QString::fromStdString(fields.countText));
    m_ui->Edit4->setText(QString::fromStdString(fields.tableFileName));
    m_ui->CheckBox1->setChecked(fields.animate);
    m_showing = false;
    SourceChanged();
}

void TParameterForm::TakeFields() {
    ParameterFields& fields = m_model->Fields();
    fields.source = m_ui->FromList->isChecked()   ? TValueSource::vsList
                    : m_ui->FromFile->isChecked() ? TValueSource::vsFile
                                                  : TValueSource::vsAutomatic;
    fields.listLines.clear();
    for (const QString& line : m_ui->Memo1->toPlainText().split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            fields.listLines.push_back(line.trimmed().toStdString());
    fields.startText = m_ui->Edit1->text().toStdString();
    fields.stopText = m_ui->Edit2->text().toStdString();
    fields.countText = m_ui->Edit3->text().toStdString();
    fields.tableFileName = m_ui->Edit4->text().toStdString();
    fields.animate = m_ui->CheckBox1->isChecked();
}

void TParameterForm::SourceChanged() {
    if (m_showing)
        return;
    m_ui->Memo1->setVisible(m_ui->FromList->isChecked());
    m_ui->PanelAutomatic->setVisible(m_ui->Automatic->isChecked());
    m_ui->PanelFile->setVisible(m_ui->FromFile->isChecked());
}

void TParameterForm::LoadList() {
    const QString path = AskOpenParameterTable(this);
    if (path.isEmpty())
        return;
    const TextFile table = ReadTextFile(path.toStdString(), kParameterTableMaxBytes);
    if (table.status != TextFileStatus::Read) {
        m_application.GetNotifier().PlainMessage("Cannot read " + path.toStdString() + ": " +
                                                 table.error);
        return;
    }
    QStringList lines;
    for (const std::string& line : table.lines) lines << QString::fromStdString(line);
    m_ui->Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}

void TParameterForm::SaveList() {
    const QString path = AskSaveParameterTable(this);
    if (path.isEmpty())
        return;
    TakeFields();
    std::string error;
    if (!WriteTextFile(path.toStdString(), m_model->Fields().listLines, error))
        m_application.GetNotifier().PlainMessage(CannotSaveText(path.toStdString(), error));
}

void TParameterForm::accept() {
    TakeFields();
    if (!m_model->Ok())
        return;  // the model said which field it could not read
    m_application.RedrawAll();
    QDialog::accept();
}

void TParameterForm::reject() {
    m_model->Cancel();
    m_application.RedrawAll();
    QDialog::reject();
}

}  // namespace pc
