#include "pref_form.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QLabel>
#include <QMessageBox>
#include <QShowEvent>

#include "application.h"
#include "catalogue/directories.h"
#include "catalogue/file_text.h"
#include "catalogue/startup_decisions.h"
#include "file_dialogs.h"
#include "help_form.h"
#include "main_form.h"
#include "plot/colours.h"
#include "plot/plot_session.h"
#include "ui_pref_form.h"

namespace pc {

namespace {

TColor& ColourEntry(PlotLook& look, int entry) {
    switch (entry) {
        case 1:
            return look.colourZeroAxes;
        case 2:
            return look.colourMainGrid;
        case 3:
            return look.colourHelpGrid;
        default:
            return look.colourBackground;
    }
}

void TakeFont(AxisFont& font, const QFont& chosen) {
    font.name = chosen.family().toStdString();
    font.size = std::clamp(chosen.pointSize(), 6, 48);
    font.style = (chosen.bold() ? kFontBold : 0) | (chosen.italic() ? kFontItalic : 0) |
                 (chosen.underline() ? kFontUnderline : 0) |
                 (chosen.strikeOut() ? kFontStrikeOut : 0);
}

}  // namespace

TPrefForm::TPrefForm(Application& application)
    : QDialog(&application.MainForm()),
      m_application(application),
      m_ui(std::make_unique<Ui::TPrefForm>()) {
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    for (QLineEdit* field : Fields()) {
        connect(field, &QLineEdit::editingFinished, this, [this, field] { CheckInteger(*field); });
        field->setMaximumWidth(60);
    }
    for (QCheckBox* box :
         {m_ui->cb_gridvisible_main, m_ui->cb_gridvisible_preview, m_ui->cb_gridtextvisible_main,
          m_ui->cb_gridtextvisible_preview, m_ui->cb_main_BW, m_ui->cb_preview_BW, m_ui->cb_ArcDeg,
          m_ui->cb_Classic})
        connect(box, &QCheckBox::toggled, this, &TPrefForm::SwitchChanged);
    connect(m_ui->ListBox1, &QListWidget::currentRowChanged, this, &TPrefForm::ShowSwatches);
    connect(m_ui->ListBox2, &QListWidget::currentRowChanged, this, &TPrefForm::ShowSwatches);
    connect(m_ui->Shape1, &QToolButton::clicked, this, [this] { PickColour(false); });
    connect(m_ui->Shape2, &QToolButton::clicked, this, [this] { PickColour(true); });
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, [this] { PickFont(false); });
    connect(m_ui->BitBtn3, &QPushButton::clicked, this, [this] { PickFont(true); });
    connect(m_ui->ComboBox1, &QComboBox::activated, this, [this](int index) {
        m_application.SetLanguage(index == 1 ? Language::German : Language::English);
    });
    connect(m_ui->ok_btn, &QPushButton::clicked, this, &TPrefForm::accept);
    connect(m_ui->BitBtn2, &QPushButton::clicked, this, &TPrefForm::reject);
    connect(m_ui->load, &QPushButton::clicked, this, &TPrefForm::LoadConfiguration);
    connect(m_ui->save, &QPushButton::clicked, this, &TPrefForm::SaveConfiguration);
    m_ui->Shape1->setAccessibleName(QStringLiteral("Main window colour"));
    m_ui->Shape2->setAccessibleName(QStringLiteral("Preview window colour"));
    AddHelpKey(*this, [&application] { application.ShowHelp(QStringLiteral("preferences.html")); });
}

TPrefForm::~TPrefForm() = default;

std::vector<QLineEdit*> TPrefForm::Fields() const {
    const Ui::TPrefForm& u = *m_ui;
    return {u.Edit40, u.Edit41, u.Edit42, u.Edit43, u.Edit44, u.Edit45,
            u.Edit46, u.Edit47, u.Edit9,  u.Edit10, u.Edit11, u.Edit12,
            u.Edit13, u.Edit14, u.Edit15, u.Edit16, u.Edit17, u.Edit18};
}

std::array<int, 8> TPrefForm::MarginFields() const {
    std::array<int, 8> margins{};
    const std::vector<QLineEdit*> fields = Fields();
    for (std::size_t i = 0; i < margins.size(); ++i) margins[i] = fields[i]->text().toInt();
    return margins;
}

void TPrefForm::NameFields() {
    const Ui::TPrefForm& u = *m_ui;
    const std::vector<QLineEdit*> fields = Fields();
    const QLabel* rows[] = {u.Label20, u.Label21, u.Label22, u.Label23, u.Label14,
                            u.Label15, u.Label16, u.Label17, u.Label18};
    // Margins: main 0..3, preview 4..7; widths: main 8..12, preview 13..17.
    const std::size_t mainIndex[] = {0, 1, 2, 3, 8, 9, 10, 11, 12};
    const std::size_t previewIndex[] = {4, 5, 6, 7, 13, 14, 15, 16, 17};
    for (std::size_t row = 0; row < std::size(rows); ++row) {
        const QString label = rows[row]->text().remove(QLatin1Char('&'));
        fields[mainIndex[row]]->setAccessibleName(label + QStringLiteral(", ") + u.Panel13->text());
        fields[previewIndex[row]]->setAccessibleName(label + QStringLiteral(", ") +
                                                     u.Panel14->text());
    }
}

void TPrefForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    FillFromPlots();
    m_remembered = State();
    m_rememberedMain = m_application.State().session.main.look;
    m_rememberedPreview = m_application.State().session.preview.look;
    m_rememberedLanguage = m_application.CurrentLanguage();
}

void TPrefForm::FillFromPlots() {
    m_filling = true;
    const PlotSession& session = m_application.State().session;
    const std::vector<QLineEdit*> fields = Fields();
    const auto fill = [&fields](std::size_t margins, std::size_t widths, const PlotLook& look) {
        const int values[] = {look.marginLeft,    look.marginTop,     look.marginRight,
                              look.marginBottom,  look.widthXAxis,    look.widthYAxis,
                              look.widthMainGrid, look.widthHelpGrid, look.widthSubGrid};
        for (std::size_t i = 0; i < 4; ++i)
            fields[margins + i]->setText(QString::number(values[i]));
        for (std::size_t i = 0; i < 5; ++i)
            fields[widths + i]->setText(QString::number(values[4 + i]));
    };
    fill(0, 8, session.main.look);
    fill(4, 13, session.preview.look);
    m_ui->cb_gridvisible_main->setChecked(session.main.look.gridVisible);
    m_ui->cb_gridvisible_preview->setChecked(session.preview.look.gridVisible);
    m_ui->cb_gridtextvisible_main->setChecked(session.main.look.axisTextVisible);
    m_ui->cb_gridtextvisible_preview->setChecked(session.preview.look.axisTextVisible);
    m_ui->cb_main_BW->setChecked(session.main.look.blackWhite);
    m_ui->cb_preview_BW->setChecked(session.preview.look.blackWhite);
    m_ui->cb_ArcDeg->setChecked(session.angleInDegrees);
    m_ui->cb_Classic->setChecked(session.main.classic);
    m_ui->ComboBox1->setCurrentIndex(m_application.CurrentLanguage() == Language::German ? 1 : 0);
    m_ui->ListBox1->setCurrentRow(0);
    m_ui->ListBox2->setCurrentRow(0);
    m_filling = false;
    SwitchChanged();
    ShowSwatches();
}

QStringList TPrefForm::State() const {
    QStringList state;
    for (const QLineEdit* field : Fields()) state << field->text();
    for (const QCheckBox* box : findChildren<QCheckBox*>())
        state << (box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    return state;
}

void TPrefForm::RestoreState(const QStringList& state) {
    if (state.isEmpty())
        return;
    int i = 0;
    for (QLineEdit* field : Fields()) field->setText(state.value(i++));
    for (QCheckBox* box : findChildren<QCheckBox*>())
        box->setChecked(state.value(i++) == QLatin1String("1"));
}

void TPrefForm::CheckInteger(QLineEdit& field) {
    bool ok = false;
    field.text().trimmed().toInt(&ok);
    if (ok)
        return;
    m_application.GetNotifier().PlainMessage(field.text().toStdString() +
                                             " is not a valid value. Please correct it.");
    field.setFocus();
    field.selectAll();
}

void TPrefForm::SwitchChanged() {
    m_ui->ListBox1->setVisible(!m_ui->cb_main_BW->isChecked());
    m_ui->Shape1->setVisible(!m_ui->cb_main_BW->isChecked());
    m_ui->ListBox2->setVisible(!m_ui->cb_preview_BW->isChecked());
    m_ui->Shape2->setVisible(!m_ui->cb_preview_BW->isChecked());
    if (m_filling)
        return;
    PlotSession& session = m_application.State().session;
    session.main.look.gridVisible = m_ui->cb_gridvisible_main->isChecked();
    session.preview.look.gridVisible = m_ui->cb_gridvisible_preview->isChecked();
    session.main.look.axisTextVisible = m_ui->cb_gridtextvisible_main->isChecked();
    session.preview.look.axisTextVisible = m_ui->cb_gridtextvisible_preview->isChecked();
    session.angleInDegrees = m_ui->cb_ArcDeg->isChecked();
    if (m_ui->cb_Classic->isChecked() != session.main.classic) {
        session.SetClassicDrawing(m_ui->cb_Classic->isChecked());
        StoreSwitch(kClassicDrawingSetting, session.main.classic);
    }
    m_application.RedrawAll();
}

void TPrefForm::ShowSwatches() {
    const PlotSession& session = m_application.State().session;
    const auto show = [](QToolButton& swatch, const QListWidget& list, const PlotLook& look) {
        PlotLook copy = look;
        const QColor colour = ToQColor(ColourEntry(copy, std::max(list.currentRow(), 0)));
        swatch.setStyleSheet(QStringLiteral("background-color: %1").arg(colour.name()));
    };
    show(*m_ui->Shape1, *m_ui->ListBox1, session.main.look);
    show(*m_ui->Shape2, *m_ui->ListBox2, session.preview.look);
}

void TPrefForm::PickColour(bool preview) {
    PlotSession& session = m_application.State().session;
    PlotLook& look = preview ? session.preview.look : session.main.look;
    const QListWidget& list = preview ? *m_ui->ListBox2 : *m_ui->ListBox1;
    TColor& entry = ColourEntry(look, std::max(list.currentRow(), 0));
    const QColor chosen = QColorDialog::getColor(ToQColor(entry), this);
    if (!chosen.isValid())
        return;
    entry = FromQColor(chosen);
    ShowSwatches();
    m_application.RedrawAll();
}

void TPrefForm::PickFont(bool preview) {
    PlotSession& session = m_application.State().session;
    AxisFont& font = preview ? session.preview.look.font : session.main.look.font;
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, AxisQFont(font), this);
    if (!ok)
        return;
    TakeFont(font, chosen);
    m_application.RedrawAll();
}

void TPrefForm::LoadConfiguration() {
    const QString path = AskOpenConfiguration(this);
    if (path.isEmpty())
        return;
    m_application.LoadConfiguration(path.toStdString());
    FillFromPlots();
}

void TPrefForm::SaveConfiguration() {
    const QString path = AskSaveConfiguration(this);
    if (path.isEmpty())
        return;
    std::string error;
    if (!WriteConfigurationFile(path.toStdString(), m_application.CurrentConfiguration(), error))
        m_application.GetNotifier().PlainMessage(CannotSaveText(path.toStdString(), error));
}

void TPrefForm::accept() {
    for (QLineEdit* field : Fields()) {
        bool ok = false;
        field->text().trimmed().toInt(&ok);
        if (!ok) {
            CheckInteger(*field);
            return;
        }
    }
    PlotSession& session = m_application.State().session;
    const std::vector<QLineEdit*> fields = Fields();
    const auto take = [&fields](std::size_t margins, std::size_t widths, PlotLook& look) {
        int* targets[] = {&look.marginLeft,    &look.marginTop,     &look.marginRight,
                          &look.marginBottom,  &look.widthXAxis,    &look.widthYAxis,
                          &look.widthMainGrid, &look.widthHelpGrid, &look.widthSubGrid};
        for (std::size_t i = 0; i < 4; ++i)
            *targets[i] = fields[margins + i]->text().trimmed().toInt();
        for (std::size_t i = 0; i < 5; ++i)
            *targets[4 + i] = fields[widths + i]->text().trimmed().toInt();
    };
    take(0, 8, session.main.look);
    take(4, 13, session.preview.look);
    session.main.look.blackWhite = m_ui->cb_main_BW->isChecked();
    session.preview.look.blackWhite = m_ui->cb_preview_BW->isChecked();
    if (m_ui->CheckBox1->isChecked()) {
        m_ui->CheckBox1->setChecked(false);
        const std::string path = UserDirectory() + kUserConfigurationFile;
        std::string error;
        if (!WriteConfigurationFile(path, m_application.CurrentConfiguration(), error))
            m_application.GetNotifier().PlainMessage(CannotSaveText(path, error));
    }
    m_application.RedrawAll();
    QDialog::accept();
}

void TPrefForm::reject() {
    PlotSession& session = m_application.State().session;
    session.main.look = m_rememberedMain;
    session.preview.look = m_rememberedPreview;
    if (m_application.CurrentLanguage() != m_rememberedLanguage)
        m_application.SetLanguage(m_rememberedLanguage);
    m_filling = true;
    RestoreState(m_remembered);
    m_filling = false;
    SwitchChanged();
    QDialog::reject();
}

}  // namespace pc
