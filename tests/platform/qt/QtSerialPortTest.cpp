#include "platform/qt/QtSerialPort.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <functional>
#include <tuple>
#include <utility>

namespace addrix {
namespace {

// The device end of a pseudo-terminal; the port under test opens the other.
struct PtyDevice {
    int fd = posix_openpt(O_RDWR | O_NOCTTY);
    std::string path = fd >= 0 && grantpt(fd) == 0 && unlockpt(fd) == 0 ? ptsname(fd) : "";
    ~PtyDevice() { hangUp(); }
    void send(const std::string& bytes) { EXPECT_GT(::write(fd, bytes.data(), bytes.size()), 0); }
    // What the port sent, waiting up to a second at a time.
    std::string receive(std::size_t count) {
        std::string got;
        char buf[512];
        for (pollfd p{fd, POLLIN, 0}; got.size() < count && ::poll(&p, 1, 1000) == 1;)
            got.append(buf, std::max<ssize_t>(::read(fd, buf, sizeof buf), 0));
        return got;
    }
    void hangUp() { ::close(std::exchange(fd, -1)); }
};

bool SpinUntil(const std::function<bool()>& done, int ms = 2000) {
    for (const QDeadlineTimer deadline(ms); !done() && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST(QtSerialPort, OpensTheLineTellsABusyPortCarriesEveryByteAndClosesOnAHangUp) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(char(b));
    PtyDevice pty;
    QtSerialPort port([&](int n) { return n == 1 ? pty.path : std::string(); });
    std::string received;
    port.setDataReceivedHandler([&] { received += port.readAll(); });
    ASSERT_TRUE(port.open(1).ok());
    // The line as the device sees it: 9600 bit/s, 8 data bits, no parity, one
    // stop bit, no flow control.
    termios line{};
    ASSERT_EQ(::tcgetattr(pty.fd, &line), 0);
    EXPECT_EQ(::cfgetospeed(&line), speed_t(B9600));
    EXPECT_EQ(::cfgetispeed(&line), speed_t(B9600));
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF), tcflag_t(0));

    // While it is open, a second open is told from a port that does not exist.
    test::TempDir dir;
    const std::string missing = dir.file("ttyUSB7");
    using Status = SerialOpenResult::Status;
    // Device behind COM3, status, how the description begins.
    const std::tuple<std::string, Status, std::string> cases[] = {
        {"", Status::NoSuchPort, "COM3: no serial device is assigned to this port"},
        {missing, Status::NoSuchPort, "COM3 (" + missing + "): the device does not exist"},
        {pty.path, Status::Failed,
         "COM3 (" + pty.path + "): the port is in use by another program"}};
    for (const auto& [device, status, description] : cases) {
        QtSerialPort other([d = device](int n) { return n == 3 ? d : std::string(); });
        const SerialOpenResult result = other.open(3);
        EXPECT_EQ(result.status, status) << device;
        EXPECT_EQ(result.description.substr(0, description.size()), description);
    }

    pty.send(all);
    SpinUntil([&] { return received.size() >= all.size(); });
    EXPECT_EQ(received, all);
    EXPECT_TRUE(port.write(all));
    EXPECT_EQ(pty.receive(all.size()), all);
    // The other end hangs up: reads would fail for ever, so the port closes.
    pty.hangUp();
    EXPECT_TRUE(SpinUntil([&] { return !port.isOpen(); }));
    EXPECT_FALSE(port.write("\x06"));
}

} // namespace
} // namespace addrix

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
