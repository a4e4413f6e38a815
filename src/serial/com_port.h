#pragma once
// The serial link to a pen plotter: port names, line settings, and the asynchronous write
// of a whole program with progress, cancel and time-out. The port is open only while a
// program goes out, and closed on every way out of a write.

#include <QObject>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

class QSerialPort;
class QTimer;

namespace pc {

enum class StopBits { One, OneAndHalf, Two };
enum class Parity { None, Odd, Even, Mark, Space };
enum class DtrControl { Disable, Enable, Handshake };
enum class RtsControl { Disable, Enable, Handshake, Toggle };

inline constexpr char kXonCharacter = 17;
inline constexpr char kXoffCharacter = 19;

// The rates the settings dialog and the command line offer.
inline constexpr std::int32_t kBaudRates[] = {110,   300,   600,   1200,  2400,  4800,  9600,
                                              14400, 19200, 38400, 56000, 57600, 115200};
bool IsOfferedBaudRate(std::int32_t rate);

// A port's line settings; the initial values are the plotter's: COM1, 2400 baud, 8 data
// bits, even parity, 1 stop bit, no flow control, buffers of 1024 bytes, and a write
// time-out of 100 ms per character plus 1000 ms.
struct ComPortSettings {
    std::string port = "COM1";
    std::int32_t baudRate = 2400;
    std::int32_t dataBits = 8;  // 5 to 8
    StopBits stopBits = StopBits::One;
    Parity parity = Parity::Even;
    bool ctsOutputFlow = false;
    bool dsrOutputFlow = false;
    DtrControl dtrControl = DtrControl::Disable;
    RtsControl rtsControl = RtsControl::Disable;
    bool xonXoffOutput = false;
    bool xonXoffInput = false;
    std::int32_t bufferSize = 1024;  // read buffer, and the most bytes one write hands over
    // A write of n bytes must be done, sent on the line, within n * perCharacter + constant.
    std::int32_t writeTimeoutPerCharacterMs = 100;
    std::int32_t writeTimeoutConstantMs = 1000;

    bool operator==(const ComPortSettings&) const = default;
};

// How long a write of `bytes` bytes may take: the settings' time per character (but never
// less than twice what a character takes on the line: at 110 baud with parity and two
// stop bits one needs 109 ms, more than the plotter's 100) times `bytes`, plus the
// constant.
std::int64_t WriteTimeoutMs(const ComPortSettings& settings, std::size_t bytes);

// The device a port name opens: "COMn" (any case) is the system's n-th serial port,
// /dev/ttyS<n-1>; a path is itself; any other name is a device under /dev.
QString PortSystemLocation(const std::string& name);
// COM1 to COM8, then every other port the system lists, by its device path.
std::vector<std::string> AvailablePortNames();

// The error texts; the first three are followed by the system's reason.
inline constexpr const char* kOpenFailedText = "Unable to open com port: ";
inline constexpr const char* kSetStateFailedText = "Unable to set com state: ";
inline constexpr const char* kOperationFailedText = "Operation failed: ";
inline constexpr const char* kConnectedText = "Cannot set SyncMethod while connected";

enum class SendOutcome { Sent, Failed, Cancelled };

class TComPort : public QObject {
    Q_OBJECT
  public:
    explicit TComPort(QObject* parent = nullptr);
    ~TComPort() override;

    const ComPortSettings& Settings() const { return m_settings; }
    // Takes `settings` for the next write; refused with kConnectedText while connected.
    bool SetSettings(const ComPortSettings& settings, std::string& error);
    // True while a write is under way (the port is open).
    bool Connected() const;

    // Opens the port (closing it first), sets it up and starts writing `bytes`. False,
    // with the reason, when the port cannot be opened or set up: it is closed then and
    // Finished does not come. Otherwise Finished comes once, later, and the port is
    // closed by then.
    bool Send(std::string bytes, std::string& error);
    // Stops a write at once: what is still queued is dropped and the port closed.
    void Cancel();

  signals:
    // `sent` of `total` bytes are on the line.
    void Progress(qint64 sent, qint64 total);
    // `error` is the message for Failed, empty otherwise.
    void Finished(pc::SendOutcome outcome, const QString& error);

  private:
    bool Open(std::string& error);
    bool SetUp(std::string& error);
    void WriteNextChunk();
    void Written(qint64 bytes);
    void CheckDrained();
    void PortError();
    void Finish(SendOutcome outcome, const std::string& error);

    ComPortSettings m_settings;
    QSerialPort* m_port = nullptr;
    QTimer* m_deadline = nullptr;   // the time-out of the chunk being written
    QTimer* m_drainPoll = nullptr;  // waits for the chunk to leave the driver's queue
    std::string m_bytes;
    std::size_t m_sent = 0;      // bytes on the line
    std::size_t m_chunkEnd = 0;  // the end of the chunk being written
    std::size_t m_accepted = 0;  // bytes the driver took
    bool m_sending = false;
    bool m_chunkInFlight = false;
};

// Sends `bytes` with `settings` and waits for the end in a local event loop (a core
// application must exist). True when every byte was sent; else the message in `error`.
bool SendAndWait(const ComPortSettings& settings, std::string bytes, std::string& error);

}  // namespace pc
