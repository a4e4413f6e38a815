#include "com_port.h"

#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QEventLoop>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace pc {

namespace {

constexpr int kComPortsOffered = 8;
constexpr int kDrainPollMs = 10;

double WriteTimeoutPerCharacterMs(const ComPortSettings& settings) {
    const double stopBits = settings.stopBits == StopBits::One          ? 1
                            : settings.stopBits == StopBits::OneAndHalf ? 1.5
                                                                        : 2;
    const double bits =
        1 + settings.dataBits + (settings.parity == Parity::None ? 0 : 1) + stopBits;
    return std::max<double>(settings.writeTimeoutPerCharacterMs,
                            2 * bits * 1000.0 / std::max(1, settings.baudRate));
}

// The number n of a name "COMn" with n >= 1, or 0 for any other name.
int ComNumber(const std::string& name) {
    if (name.size() < 4 || (name[0] != 'C' && name[0] != 'c') ||
        (name[1] != 'O' && name[1] != 'o') || (name[2] != 'M' && name[2] != 'm'))
        return 0;
    int number = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || number > 9999)
            return 0;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

// Bytes the driver still holds for the line; a device that cannot tell (a pseudo-terminal)
// holds none that we could wait for.
int QueuedOutput(int handle) {
    int queued = 0;
    return ::ioctl(handle, TIOCOUTQ, &queued) == 0 ? queued : 0;
}

// A pseudo-terminal or a bare UART has no DTR and RTS lines to set.
bool HasModemLines(int handle) {
    int lines = 0;
    return ::ioctl(handle, TIOCMGET, &lines) == 0;
}

// A pseudo-terminal (a bridge to a serial server, or a test) carries bytes without a line:
// the kernel keeps it at 8 bits without parity whatever is asked, and newer kernels refuse
// the request, so its speed, character size, parity and stop bits are left as they are.
bool IsPseudoTerminal(int handle) {
    struct stat device {};
    if (::fstat(handle, &device) != 0 || !S_ISCHR(device.st_mode))
        return false;
    const unsigned int kind = major(device.st_rdev);
    constexpr unsigned int kBsdPtySlave = 3, kFirstUnix98PtySlave = 136, kLastUnix98PtySlave = 143;
    return kind == kBsdPtySlave || (kind >= kFirstUnix98PtySlave && kind <= kLastUnix98PtySlave);
}

QSerialPort::Parity ToQt(Parity parity) {
    switch (parity) {
        case Parity::None:
            return QSerialPort::NoParity;
        case Parity::Odd:
            return QSerialPort::OddParity;
        case Parity::Even:
            return QSerialPort::EvenParity;
        case Parity::Mark:
            return QSerialPort::MarkParity;
        case Parity::Space:
            return QSerialPort::SpaceParity;
    }
    return QSerialPort::EvenParity;
}

QSerialPort::StopBits ToQt(StopBits stopBits) {
    switch (stopBits) {
        case StopBits::One:
            return QSerialPort::OneStop;
        case StopBits::OneAndHalf:
            return QSerialPort::OneAndHalfStop;
        case StopBits::Two:
            return QSerialPort::TwoStop;
    }
    return QSerialPort::OneStop;
}

}  // namespace

std::int64_t WriteTimeoutMs(const ComPortSettings& settings, std::size_t bytes) {
    return static_cast<std::int64_t>(
               std::ceil(WriteTimeoutPerCharacterMs(settings) * static_cast<double>(bytes))) +
           settings.writeTimeoutConstantMs;
}

bool IsOfferedBaudRate(std::int32_t rate) {
    return std::find(std::begin(kBaudRates), std::end(kBaudRates), rate) != std::end(kBaudRates);
}

QString PortSystemLocation(const std::string& name) {
    if (const int number = ComNumber(name); number > 0)
        return QStringLiteral("/dev/ttyS%1").arg(number - 1);
    const QString path = QString::fromStdString(name);
    return path.startsWith(QLatin1Char('/')) ? path : QStringLiteral("/dev/") + path;
}

std::vector<std::string> AvailablePortNames() {
    std::vector<std::string> names;
    QStringList comLocations;
    for (int n = 1; n <= kComPortsOffered; ++n) {
        names.push_back("COM" + std::to_string(n));
        comLocations << PortSystemLocation(names.back());
    }
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        if (!comLocations.contains(info.systemLocation()))
            names.push_back(info.systemLocation().toStdString());
    return names;
}

TComPort::TComPort(QObject* parent)
    : QObject(parent),
      m_port(new QSerialPort(this)),
      m_deadline(new QTimer(this)),
      m_drainPoll(new QTimer(this)) {
    m_deadline->setSingleShot(true);
    m_drainPoll->setInterval(kDrainPollMs);
    connect(m_port, &QSerialPort::bytesWritten, this, &TComPort::Written);
    connect(m_port, &QSerialPort::errorOccurred, this, &TComPort::PortError);
    connect(m_drainPoll, &QTimer::timeout, this, &TComPort::CheckDrained);
    connect(m_deadline, &QTimer::timeout, this, [this] {
        Finish(SendOutcome::Failed,
               std::string(kOperationFailedText) + "the write timed out after " +
                   std::to_string(m_deadline->interval()) + " ms (" + std::to_string(m_sent) +
                   " of " + std::to_string(m_bytes.size()) + " bytes sent)");
    });
}

TComPort::~TComPort() {
    // Whoever listens may be half destroyed already: close without a word.
    blockSignals(true);
    Cancel();
}

bool TComPort::SetSettings(const ComPortSettings& settings, std::string& error) {
    if (Connected()) {
        error = kConnectedText;
        return false;
    }
    m_settings = settings;
    return true;
}

bool TComPort::Connected() const {
    return m_port->isOpen();
}

bool TComPort::Open(std::string& error) {
    if (m_port->isOpen())
        m_port->close();
    const QString location = PortSystemLocation(m_settings.port);
    m_port->setPortName(location);
    if (!m_port->open(QIODevice::ReadWrite)) {
        const std::string shown = location.toStdString() == m_settings.port
                                      ? m_settings.port
                                      : m_settings.port + " (" + location.toStdString() + ")";
        error = kOpenFailedText + shown + ": " + m_port->errorString().toStdString();
        return false;
    }
    if (!SetUp(error)) {
        m_port->close();
        return false;
    }
    return true;
}

bool TComPort::SetUp(std::string& error) {
    const ComPortSettings& s = m_settings;
    const auto refuse = [&error](const std::string& reason) {
        error = kSetStateFailedText + reason;
        return false;
    };
    const auto failed = [this, &refuse] { return refuse(m_port->errorString().toStdString()); };
    // What this system's serial driver cannot do is refused rather than left out: a
    // plotter whose handshake is ignored loses the end of its buffer without a word.
    if (s.dsrOutputFlow)
        return refuse("DSR output flow control is not available on this system");
    if (s.dtrControl == DtrControl::Handshake)
        return refuse("DTR handshake is not available on this system");
    if (s.rtsControl == RtsControl::Toggle)
        return refuse("RTS toggle is not available on this system");
    const bool hardware = s.ctsOutputFlow || s.rtsControl == RtsControl::Handshake;
    const bool software = s.xonXoffOutput || s.xonXoffInput;
    if (hardware && software)
        return refuse("hardware and Xon/Xoff flow control cannot be combined on this system");
    if (s.dataBits < 5 || s.dataBits > 8)
        return refuse("data bits must be 5 to 8, not " + std::to_string(s.dataBits));
    const bool line = !IsPseudoTerminal(m_port->handle());
    if ((line && (!m_port->setBaudRate(s.baudRate) ||
                  !m_port->setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits)) ||
                  !m_port->setParity(ToQt(s.parity)) || !m_port->setStopBits(ToQt(s.stopBits)))) ||
        !m_port->setFlowControl(hardware   ? QSerialPort::HardwareControl
                                : software ? QSerialPort::SoftwareControl
                                           : QSerialPort::NoFlowControl))
        return failed();
    if (HasModemLines(m_port->handle())) {
        if (!m_port->setDataTerminalReady(s.dtrControl == DtrControl::Enable))
            return failed();
        if (!hardware && !m_port->setRequestToSend(s.rtsControl == RtsControl::Enable))
            return failed();
    }
    m_port->setReadBufferSize(std::max(1, s.bufferSize));
    return true;
}

bool TComPort::Send(std::string bytes, std::string& error) {
    Cancel();
    if (!Open(error))
        return false;
    m_bytes = std::move(bytes);
    m_sent = m_chunkEnd = m_accepted = 0;
    m_sending = true;
    m_chunkInFlight = false;
    // Started from the event loop, so that Finished never comes before Send returns.
    QTimer::singleShot(0, this, &TComPort::WriteNextChunk);
    return true;
}

void TComPort::Cancel() {
    if (m_sending || m_port->isOpen())
        Finish(SendOutcome::Cancelled, {});
}

void TComPort::WriteNextChunk() {
    if (!m_sending || m_chunkInFlight)
        return;
    if (m_sent == m_bytes.size()) {
        Finish(SendOutcome::Sent, {});
        return;
    }
    const std::size_t chunk = std::min(
        m_bytes.size() - m_sent, static_cast<std::size_t>(std::max(1, m_settings.bufferSize)));
    m_chunkEnd = m_sent + chunk;
    m_chunkInFlight = true;
    m_deadline->start(
        static_cast<int>(std::min<std::int64_t>(WriteTimeoutMs(m_settings, chunk), INT32_MAX)));
    if (m_port->write(m_bytes.data() + m_sent, static_cast<qint64>(chunk)) != qint64(chunk))
        Finish(SendOutcome::Failed, kOperationFailedText + m_port->errorString().toStdString());
}

void TComPort::Written(qint64 bytes) {
    if (!m_sending)
        return;
    m_accepted += static_cast<std::size_t>(bytes);
    if (m_accepted >= m_chunkEnd) {
        m_drainPoll->start();
        CheckDrained();
    }
}

void TComPort::CheckDrained() {
    if (!m_sending || QueuedOutput(m_port->handle()) > 0)
        return;
    m_drainPoll->stop();
    m_deadline->stop();
    m_sent = m_chunkEnd;
    m_chunkInFlight = false;
    emit Progress(static_cast<qint64>(m_sent), static_cast<qint64>(m_bytes.size()));
    WriteNextChunk();
}

void TComPort::PortError() {
    const QSerialPort::SerialPortError error = m_port->error();
    if (!m_sending || error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
        return;
    Finish(SendOutcome::Failed, kOperationFailedText + m_port->errorString().toStdString());
}

void TComPort::Finish(SendOutcome outcome, const std::string& error) {
    const bool wasSending = m_sending;
    m_sending = false;
    m_chunkInFlight = false;
    m_deadline->stop();
    m_drainPoll->stop();
    if (m_port->isOpen()) {
        // What is still queued would otherwise go out after a cancel or a failure.
        if (outcome != SendOutcome::Sent)
            m_port->clear(QSerialPort::Output);
        m_port->close();
    }
    m_port->clearError();
    if (wasSending)
        emit Finished(outcome, QString::fromStdString(error));
}

bool SendAndWait(const ComPortSettings& settings, std::string bytes, std::string& error) {
    TComPort port;
    port.SetSettings(settings, error);
    QEventLoop loop;
    SendOutcome outcome = SendOutcome::Failed;
    QObject::connect(&port, &TComPort::Finished, &loop,
                     [&](SendOutcome result, const QString& message) {
                         outcome = result;
                         error = message.toStdString();
                         loop.quit();
                     });
    if (!port.Send(std::move(bytes), error))
        return false;
    loop.exec();
    return outcome == SendOutcome::Sent;
}

}  // namespace pc
