#include "serial/com_port.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <functional>
#include <optional>

#include "pty_pair.h"

namespace pc::test {
namespace {

// More than the ~17 KB a pseudo-terminal buffers, so that an unread one stalls the write.
std::string LargeProgram() {
    std::string bytes;
    for (int i = 0; bytes.size() < 64 * 1024; ++i) bytes += "PA" + std::to_string(i) + ",7;\r\n";
    return bytes;
}

// One port on one pseudo-terminal, recording how its write ended and its progress.
struct SerialLine {
    PtyPair pty;
    TComPort port;
    std::optional<SendOutcome> outcome;
    std::string error;
    std::vector<qint64> progress;

    SerialLine() {
        QObject::connect(&port, &TComPort::Finished, [this](SendOutcome how, const QString& why) {
            outcome = how;
            error = why.toStdString();
        });
        QObject::connect(&port, &TComPort::Progress,
                         [this](qint64 sent, qint64) { progress.push_back(sent); });
    }
    bool Start(std::string bytes, const std::function<void(ComPortSettings&)>& change = {}) {
        EXPECT_TRUE(pty.Valid());
        ComPortSettings settings;
        settings.port = pty.SlaveName();
        if (change)
            change(settings);
        std::string refused;
        EXPECT_TRUE(port.SetSettings(settings, refused)) << refused;
        return port.Send(std::move(bytes), error);
    }
    void WaitForEnd() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return outcome.has_value(); }, 30000));
    }
};

TEST(ComPortNames, ComNamesAreTheSystemsSerialPortsAndOthersDevicePaths) {
    const std::pair<std::string, QString> names[] = {
        {"COM1", "/dev/ttyS0"},       {"com8", "/dev/ttyS7"},      {"COM12", "/dev/ttyS11"},
        {"COM0", "/dev/COM0"},        {"COMX", "/dev/COMX"},       {"COM", "/dev/COM"},
        {"/dev/pts/3", "/dev/pts/3"}, {"ttyUSB0", "/dev/ttyUSB0"},
    };
    for (const auto& [name, location] : names)
        EXPECT_EQ(PortSystemLocation(name), location) << name;
    const std::vector<std::string> offered = AvailablePortNames();
    ASSERT_GE(offered.size(), 8u);
    EXPECT_EQ(offered[0], "COM1");
    EXPECT_EQ(offered[7], "COM8");
    for (std::size_t i = 8; i < offered.size(); ++i)
        EXPECT_EQ(offered[i].rfind("/dev/ttyS", 0), std::string::npos) << offered[i];
}

// The plotter's 100 ms per character, unless twice a character's time on the line is
// more: at 110 baud, 8 data bits, parity and 2 stop bits (12 bits) that is 218.2 ms.
TEST(ComPortTimeout, AtLeastTwiceACharactersTimeOnTheLine) {
    ComPortSettings settings;
    EXPECT_EQ(WriteTimeoutMs(settings, 1024), 100 * 1024 + 1000);
    settings.baudRate = 300;
    settings.parity = Parity::None;  // 10 bits: 33.3 ms, twice is within the 100
    EXPECT_EQ(WriteTimeoutMs(settings, 10), 100 * 10 + 1000);
    settings.baudRate = 110;
    settings.parity = Parity::Even;
    settings.stopBits = StopBits::Two;
    EXPECT_EQ(WriteTimeoutMs(settings, 1024), 224419);  // ceil(2 * 12 / 110 s * 1024) + 1 s
}

// Every byte arrives in order, in chunks of the buffer's size, and the port is closed.
TEST(ComPort, SendsEveryByteAndClosesThePort) {
    SerialLine line;
    line.pty.StartReading();
    std::string bytes;
    for (int i = 0; i < 3000; ++i) bytes += static_cast<char>(i * 7 % 256);
    ASSERT_TRUE(line.Start(bytes)) << line.error;
    line.WaitForEnd();
    EXPECT_EQ(*line.outcome, SendOutcome::Sent);
    EXPECT_EQ(line.error, "");
    EXPECT_EQ(line.progress, (std::vector<qint64>{1024, 2048, 3000}));
    EXPECT_FALSE(line.port.Connected());
    ASSERT_TRUE(QTest::qWaitFor(
        [&line, &bytes] { return line.pty.Received().size() >= bytes.size(); }, 10000));
    EXPECT_EQ(line.pty.Received(), bytes);
}

// While the write is under way (nobody reads the other end) the device has the chosen
// flow control; new settings are refused; Cancel closes the port at once and the settings
// are taken again. (A pseudo-terminal keeps its own speed, size and parity.)
TEST(ComPort, SettingsAreRefusedWhileConnectedAndCancelClosesThePort) {
    SerialLine line;
    ASSERT_TRUE(line.Start(LargeProgram(), [](ComPortSettings& s) {
        s.xonXoffOutput = s.xonXoffInput = true;
    })) << line.error;
    ASSERT_TRUE(QTest::qWaitFor([&line] { return !line.progress.empty(); }, 10000));
    ASSERT_TRUE(line.port.Connected());
    termios set{};
    ASSERT_EQ(::tcgetattr(line.pty.Slave(), &set), 0);
    EXPECT_TRUE((set.c_iflag & IXON) && (set.c_iflag & IXOFF));
    EXPECT_FALSE(set.c_cflag & CRTSCTS);

    std::string refused;
    EXPECT_FALSE(line.port.SetSettings(ComPortSettings{}, refused));
    EXPECT_EQ(refused, kConnectedText);
    line.port.Cancel();
    ASSERT_TRUE(line.outcome.has_value());
    EXPECT_EQ(*line.outcome, SendOutcome::Cancelled);
    EXPECT_FALSE(line.port.Connected());
    EXPECT_LT(line.progress.back(), qint64(LargeProgram().size()));
    EXPECT_TRUE(line.port.SetSettings(ComPortSettings{}, refused));
}

// Each way a write can fail ends with its message and a closed port, never a hang: a
// port that is not there or cannot take the settings is refused at once; a stalled line
// times out; an adapter pulled out mid-write fails.
TEST(ComPort, FailuresEndWithTheirMessageAndAClosedPort) {
    struct Case {
        std::function<void(ComPortSettings&)> change;
        bool unplug;
        std::string message;  // how the message starts
    };
    const Case cases[] = {
        {[](ComPortSettings& s) { s.port = "/dev/plotcraftsman-none"; }, false,
         "Unable to open com port: /dev/plotcraftsman-none: "},
        {[](ComPortSettings& s) { s.port = "COM99"; }, false,
         "Unable to open com port: COM99 (/dev/ttyS98): "},
        // Linux has no DSR flow control, and no hardware and Xon/Xoff flow control at once.
        {[](ComPortSettings& s) { s.ctsOutputFlow = s.xonXoffOutput = true; }, false,
         "Unable to set com state: hardware and Xon/Xoff"},
        {[](ComPortSettings& s) { s.dsrOutputFlow = true; }, false,
         "Unable to set com state: DSR output flow control"},
        {[](ComPortSettings& s) {
             s.baudRate = 115200;  // a character's line time doubled: 0.19 ms
             s.writeTimeoutPerCharacterMs = 0;
             s.writeTimeoutConstantMs = 300;
         },
         false, "Operation failed: the write timed out after 496 ms"},
        {{}, true, "Operation failed: "},
    };
    for (const Case& c : cases) {
        SerialLine line;
        const bool started = line.Start(LargeProgram(), c.change);
        if (c.unplug) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !line.progress.empty(); }, 10000));
            line.pty.CloseMaster();
        }
        if (started)
            line.WaitForEnd();
        EXPECT_EQ(started, c.message.starts_with("Operation failed"));
        EXPECT_EQ(line.outcome, started ? std::optional(SendOutcome::Failed) : std::nullopt);
        EXPECT_EQ(line.error.rfind(c.message, 0), 0u) << line.error;
        EXPECT_FALSE(line.port.Connected());
    }
}

}  // namespace
}  // namespace pc::test

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
