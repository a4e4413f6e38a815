#include "meldungs_form.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

#include "ui_meldungs_form.h"

namespace pc {

namespace {

QStyle::StandardPixmap IconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return QStyle::SP_MessageBoxWarning;
        case MessageKind::Error:
            return QStyle::SP_MessageBoxCritical;
        case MessageKind::Information:
            return QStyle::SP_MessageBoxInformation;
        case MessageKind::Question:
            return QStyle::SP_MessageBoxQuestion;
        case MessageKind::None:
            break;
    }
    return QStyle::SP_CustomBase;
}

}  // namespace

TMeldungsForm::TMeldungsForm(const MessageDecision& decision, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TMeldungsForm>()) {
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_ui->Label1->setText(QString::fromStdString(decision.text));
    m_ui->Label1->setAccessibleName(m_ui->Label1->text());
    if (const QStyle::StandardPixmap icon = IconOf(decision.kind); icon != QStyle::SP_CustomBase)
        m_ui->Image1->setPixmap(style()->standardIcon(icon).pixmap(32, 32));
    m_ui->pa_ok->setVisible(decision.buttons == ButtonSet::Ok);
    m_ui->Pa_yesno->setVisible(decision.buttons == ButtonSet::YesNo);
    m_ui->Pa_yesnocancel->setVisible(decision.buttons == ButtonSet::YesNoCancel);
    for (QDialogButtonBox* panel : {m_ui->pa_ok, m_ui->Pa_yesno, m_ui->Pa_yesnocancel}) {
        connect(panel, &QDialogButtonBox::clicked, this, &TMeldungsForm::ButtonClicked);
        for (QAbstractButton* button : panel->buttons())
            button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    }
    QDialogButtonBox* shown = decision.buttons == ButtonSet::Ok      ? m_ui->pa_ok
                              : decision.buttons == ButtonSet::YesNo ? m_ui->Pa_yesno
                                                                     : m_ui->Pa_yesnocancel;
    if (!shown->buttons().isEmpty())
        shown->buttons().first()->setFocus();
    setFixedSize(sizeHint().expandedTo(QSize(469, 169)));
}

TMeldungsForm::~TMeldungsForm() = default;

void TMeldungsForm::ButtonClicked(QAbstractButton* button) {
    auto* box = qobject_cast<QDialogButtonBox*>(sender());
    switch (box ? box->standardButton(button) : QDialogButtonBox::NoButton) {
        case QDialogButtonBox::Ok:
            m_result = ModalResult::mrOk;
            break;
        case QDialogButtonBox::Yes:
            m_result = ModalResult::mrYes;
            break;
        case QDialogButtonBox::No:
            m_result = ModalResult::mrNo;
            break;
        default:
            m_result = ModalResult::mrCancel;
            break;
    }
    done(static_cast<int>(m_result));
}

ModalResult ShowMessageDialog(const MessageDecision& decision, QWidget* parent) {
    TMeldungsForm dialog(decision, parent);
    dialog.exec();
    return dialog.Result();
}

void DialogNotifier::PlainMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Plotcraftsman"),
                    QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

ModalResult DialogNotifier::ShowMessage(Language language, int number, ButtonSet buttons) {
    return ShowMessageDialog(DecideMessage(language, static_cast<std::uint32_t>(number), buttons),
                             QApplication::activeWindow());
}

}  // namespace pc
