#include "comm_frm.h"

#include "tool_window.h"
#include "translation.h"
#include "ui_comm_frm.h"

namespace pc {

namespace {

// The stop bits box lists 1, 1.5 and 2 in the enumeration's order, and so on for the
// other boxes; data bits start at 5.
constexpr int kFewestDataBits = 5;

}  // namespace

TCommFrm::TCommFrm(Application& application, const ComPortSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_ui(std::make_unique<Ui::TCommFrm>()) {
    m_ui->setupUi(this);
    for (const std::string& name : AvailablePortNames())
        m_ui->PortBox->addItem(QString::fromStdString(name));
    for (const std::int32_t rate : kBaudRates) m_ui->BaudBox->addItem(QString::number(rate), rate);
    connect(m_ui->RtsCtsButton, &QPushButton::clicked, this, [this] {
        m_ui->RtsControlBox->setCurrentIndex(static_cast<int>(RtsControl::Handshake));
        m_ui->CtsFlowBox->setChecked(true);
    });
    connect(m_ui->DtrDsrButton, &QPushButton::clicked, this, [this] {
        m_ui->DtrControlBox->setCurrentIndex(static_cast<int>(DtrControl::Enable));
        m_ui->DsrFlowBox->setChecked(true);
    });
    connect(m_ui->XonXoffButton, &QPushButton::clicked, this, [this] {
        m_ui->XonXoffOutBox->setChecked(true);
        m_ui->XonXoffInBox->setChecked(true);
    });
    // No flow control at all: the two lines' handshakes a hardware preset chose go too.
    connect(m_ui->ClearAllButton, &QPushButton::clicked, this, [this] {
        for (QCheckBox* box :
             {m_ui->CtsFlowBox, m_ui->DsrFlowBox, m_ui->XonXoffOutBox, m_ui->XonXoffInBox})
            box->setChecked(false);
        m_ui->DtrControlBox->setCurrentIndex(static_cast<int>(DtrControl::Disable));
        m_ui->RtsControlBox->setCurrentIndex(static_cast<int>(RtsControl::Disable));
    });
    connect(m_ui->OKButton, &QPushButton::clicked, this, &TCommFrm::accept);
    connect(m_ui->CancelButton, &QPushButton::clicked, this, &TCommFrm::reject);
    SetUpHelpButton(*this, *m_ui->HelpButton, application, QStringLiteral("plotter.html"));
    Show(settings);
    UpdateAccessibleNames(*this);
}

TCommFrm::~TCommFrm() = default;

void TCommFrm::Show(const ComPortSettings& s) {
    m_ui->PortBox->setCurrentText(QString::fromStdString(s.port));
    const int rate = m_ui->BaudBox->findData(s.baudRate);
    m_ui->BaudBox->setCurrentIndex(rate >= 0 ? rate : m_ui->BaudBox->findData(2400));
    m_ui->DataBitsBox->setCurrentIndex(s.dataBits - kFewestDataBits);
    m_ui->StopBitsBox->setCurrentIndex(static_cast<int>(s.stopBits));
    m_ui->ParityBox->setCurrentIndex(static_cast<int>(s.parity));
    m_ui->DtrControlBox->setCurrentIndex(static_cast<int>(s.dtrControl));
    m_ui->RtsControlBox->setCurrentIndex(static_cast<int>(s.rtsControl));
    m_ui->CtsFlowBox->setChecked(s.ctsOutputFlow);
    m_ui->DsrFlowBox->setChecked(s.dsrOutputFlow);
    m_ui->XonXoffOutBox->setChecked(s.xonXoffOutput);
    m_ui->XonXoffInBox->setChecked(s.xonXoffInput);
}

ComPortSettings TCommFrm::Settings() const {
    ComPortSettings s = m_settings;
    s.port = m_ui->PortBox->currentText().trimmed().toStdString();
    s.baudRate = m_ui->BaudBox->currentData().toInt();
    s.dataBits = m_ui->DataBitsBox->currentIndex() + kFewestDataBits;
    s.stopBits = static_cast<StopBits>(m_ui->StopBitsBox->currentIndex());
    s.parity = static_cast<Parity>(m_ui->ParityBox->currentIndex());
    s.dtrControl = static_cast<DtrControl>(m_ui->DtrControlBox->currentIndex());
    s.rtsControl = static_cast<RtsControl>(m_ui->RtsControlBox->currentIndex());
    s.ctsOutputFlow = m_ui->CtsFlowBox->isChecked();
    s.dsrOutputFlow = m_ui->DsrFlowBox->isChecked();
    s.xonXoffOutput = m_ui->XonXoffOutBox->isChecked();
    s.xonXoffInput = m_ui->XonXoffInBox->isChecked();
    return s;
}

}  // namespace pc
