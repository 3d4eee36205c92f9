#include "platform/qt/QtSerialPort.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace addrix {
namespace {

// The device end of a pseudo-terminal; the port under test opens the other.
class PtyDevice {
public:
    PtyDevice() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
            m_path = ptsname(m_master);
    }
    ~PtyDevice() { hangUp(); }
    const std::string& path() const { return m_path; }
    void send(const std::string& bytes) {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }
    // What the port sent, waiting up to a second for `count` bytes.
    std::string receive(std::size_t count) {
        std::string got;
        QElapsedTimer timer;
        timer.start();
        while (got.size() < count && timer.elapsed() < 1000) {
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, 20) == 1 && (p.revents & POLLIN)) {
                char buf[512];
                const ssize_t n = ::read(m_master, buf, sizeof buf);
                if (n > 0)
                    got.append(buf, static_cast<std::size_t>(n));
            }
        }
        return got;
    }
    void hangUp() {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    std::string m_path;
};

// Runs the event loop until `done` holds or `ms` have passed.
bool SpinUntil(const std::function<bool()>& done, int ms = 2000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

PortLocator Only(int number, std::string device) {
    return [number, device](int n) {
        return n == number ? device : std::string();
    };
}

struct OpenCase {
    const char* name;
    // Given the pty's slave path and a scratch folder, the device behind COM3.
    std::function<std::string(const std::string& pty, test::TempDir& dir)> device;
    bool holdFirst; // another program has the device open already
    SerialOpenResult::Status status;
    std::string description; // with "<dev>" standing for the device
};

// Cases print as their names.
void PrintTo(const OpenCase& c, std::ostream* os) {
    *os << c.name;
}

class QtSerialPortOpen : public ::testing::TestWithParam<OpenCase> {};

TEST_P(QtSerialPortOpen, ReportsWhatStandsBehindTheNumber) {
    const OpenCase& c = GetParam();
    PtyDevice pty;
    ASSERT_FALSE(pty.path().empty());
    test::TempDir dir;
    const std::string device = c.device(pty.path(), dir);
    QtSerialPort other(Only(3, device));
    if (c.holdFirst) {
        ASSERT_TRUE(other.open(3).ok());
    }

    QtSerialPort port(Only(3, device));
    const SerialOpenResult result = port.open(3);
    EXPECT_EQ(result.status, c.status);
    std::string expected = c.description;
    if (const auto at = expected.find("<dev>"); at != std::string::npos)
        expected.replace(at, 5, device);
    EXPECT_EQ(result.description.substr(0, expected.size()), expected) << result.description;
    EXPECT_EQ(port.isOpen(), c.status == SerialOpenResult::Status::Opened);
    port.close();
    EXPECT_FALSE(port.isOpen());
}

const OpenCase kOpenCases[] = {
    {"Pty", [](const std::string& pty, test::TempDir&) { return pty; }, false,
     SerialOpenResult::Status::Opened, ""},
    {"NothingAssigned", [](const std::string&, test::TempDir&) { return std::string(); }, false,
     SerialOpenResult::Status::NoSuchPort, "COM3: no serial device is assigned to this port"},
    {"NodeMissing", [](const std::string&, test::TempDir& dir) { return dir.file("ttyUSB7"); },
     false, SerialOpenResult::Status::NoSuchPort, "COM3 (<dev>): the device does not exist"},
    {"InUse", [](const std::string& pty, test::TempDir&) { return pty; }, true,
     SerialOpenResult::Status::Failed, "COM3 (<dev>): the port is in use by another program"},
    {"NotASerialDevice",
     [](const std::string&, test::TempDir& dir) { return dir.write("plain", "text"); }, false,
     SerialOpenResult::Status::Failed, "COM3 (<dev>): the port cannot be opened ("},
};

INSTANTIATE_TEST_SUITE_P(Cases, QtSerialPortOpen, ::testing::ValuesIn(kOpenCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QtSerialPort, CarriesEveryByteValueBothWays) {
    PtyDevice pty;
    QtSerialPort port(Only(1, pty.path()));
    std::string received;
    int calls = 0;
    port.setDataReceivedHandler([&] {
        ++calls;
        received += port.readAll();
    });
    ASSERT_TRUE(port.open(1).ok());

    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    pty.send(all);
    EXPECT_TRUE(SpinUntil([&] { return received.size() >= all.size(); }));
    EXPECT_EQ(received, all);
    EXPECT_GE(calls, 1);

    EXPECT_TRUE(port.write(all));
    EXPECT_EQ(pty.receive(all.size()), all);
}

TEST(QtSerialPort, HandsOverBytesThatArriveWhileTheHandlerRuns) {
    PtyDevice pty;
    QtSerialPort port(Only(1, pty.path()));
    std::vector<std::string> deliveries;
    port.setDataReceivedHandler([&] {
        deliveries.push_back(port.readAll());
        if (deliveries.size() == 1) {
            // The handler lets window events run while the rest comes in.
            pty.send("second");
            SpinUntil([] { return false; }, 150);
        }
    });
    ASSERT_TRUE(port.open(1).ok());
    pty.send("first");
    EXPECT_TRUE(SpinUntil([&] { return deliveries.size() >= 2; }));
    ASSERT_EQ(deliveries.size(), 2u);
    EXPECT_EQ(deliveries[0], "first");
    EXPECT_EQ(deliveries[1], "second");
}

TEST(QtSerialPort, ClosesWhenTheOtherEndHangsUp) {
    PtyDevice pty;
    QtSerialPort port(Only(1, pty.path()));
    int calls = 0;
    port.setDataReceivedHandler([&] {
        ++calls;
        port.readAll();
    });
    ASSERT_TRUE(port.open(1).ok());
    pty.send("x");
    ASSERT_TRUE(SpinUntil([&] { return calls > 0; }));
    pty.hangUp();
    EXPECT_TRUE(SpinUntil([&] { return !port.isOpen(); }));
    EXPECT_FALSE(port.write("\x06"));
    EXPECT_EQ(port.readAll(), "");
}

TEST(QtSerialPort, OpensAgainAfterClose) {
    PtyDevice pty;
    QtSerialPort port(Only(2, pty.path()));
    ASSERT_TRUE(port.open(2).ok());
    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.write("a"));
    ASSERT_TRUE(port.open(2).ok());
    EXPECT_TRUE(port.write("b"));
    EXPECT_EQ(pty.receive(1), "b");
}

} // namespace
} // namespace addrix

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
