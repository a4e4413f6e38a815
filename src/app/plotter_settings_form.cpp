#include "plotter_settings_form.h"

#include <QRadioButton>

#include "application.h"
#include "plotter_form.h"
#include "tool_window.h"
#include "ui_plotter_settings_form.h"

namespace pc {

namespace {

std::int32_t CheckedIndex(const QGroupBox& group) {
    const QList<QRadioButton*> buttons = group.findChildren<QRadioButton*>();
    for (qsizetype i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isChecked())
            return static_cast<std::int32_t>(i);
    return 0;
}

}  // namespace

TPlotterSettingsForm::TPlotterSettingsForm(Application& application)
    : QDialog(nullptr, Qt::Window),
      m_application(application),
      m_ui(std::make_unique<Ui::TPlotterSettingsForm>()) {
    m_ui->setupUi(this);
    connect(m_ui->OKButton, &QPushButton::clicked, this, &TPlotterSettingsForm::accept);
    connect(m_ui->CancelButton, &QPushButton::clicked, this, &TPlotterSettingsForm::reject);
    SetUpHelpButton(*this, *m_ui->HelpButton, application, QStringLiteral("plotter.html"));
}

TPlotterSettingsForm::~TPlotterSettingsForm() = default;

PlotterSettings TPlotterSettingsForm::Settings() const {
    return PlotterSettings{CheckedIndex(*m_ui->RadioGroup1), CheckedIndex(*m_ui->RadioGroup2),
                           CheckedIndex(*m_ui->RadioGroup3)};
}

void TPlotterSettingsForm::accept() {
    QDialog::accept();
    m_application.ShowToolWindow(m_application.PlotterForm());
}

}  // namespace pc
