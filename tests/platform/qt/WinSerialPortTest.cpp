#include "platform/qt/WinSerialPort.h"
#include "platform/win/SerialLine.h"
#include "wizard/PortList.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>

#include <windows.h>

// Run by with-galder-com.sh: galder-sim plays the device on COM<ADDRIX_GALDER_COM>
// of the Wine prefix, and nothing stands behind COM<ADDRIX_MISSING_COM>.

namespace addrix {
namespace {

int PortFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::atoi(value) : 0;
}

const int kGalderPort = PortFromEnvironment("ADDRIX_GALDER_COM");
const int kMissingPort = PortFromEnvironment("ADDRIX_MISSING_COM");
const std::string kIdentify("\x87\x01\x00\x00\x00\x00\x00\x00", 8);

bool SpinUntil(const std::function<bool()>& done, int ms = 5000) {
    for (const QDeadlineTimer deadline(ms); !done() && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class WinSerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GT(kGalderPort, 0);
        ASSERT_GT(kMissingPort, 0);
        port.setDataReceivedHandler([this] {
            onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
            ++deliveries;
            received += port.readAll();
        });
    }

    WinSerialPort port{[](int n) {
        return "COM" + std::to_string(n);
    }};
    std::string received;
    int deliveries = 0;
    bool onUiThread = true;
};

TEST_F(WinSerialPortTest, CarriesTheDevicesAnswersToTheEventLoopAsTheyArrive) {
    ASSERT_TRUE(port.open(kGalderPort).ok());
    ASSERT_TRUE(port.write("\xAA"));
    ASSERT_TRUE(SpinUntil([&] { return !received.empty(); })) << "no answer to the wake-up";
    EXPECT_EQ(received, "\x8B");

    received.clear();
    ASSERT_TRUE(port.write(kIdentify));
    // 37 bytes of identification, whatever the reads they come in.
    EXPECT_TRUE(SpinUntil([&] { return received.size() >= 37; })) << received.size();
    EXPECT_EQ(received.size(), 37u);
    EXPECT_GE(deliveries, 2);
    EXPECT_TRUE(onUiThread);
}

TEST_F(WinSerialPortTest, TellsAMissingPortFromOneInUseAndListsTheDevicesPort) {
    using Status = SerialOpenResult::Status;
    const std::string missing = "COM" + std::to_string(kMissingPort);
    const SerialOpenResult absent = port.open(kMissingPort);
    EXPECT_EQ(absent.status, Status::NoSuchPort);
    EXPECT_EQ(absent.description, missing + ": the device does not exist");
    EXPECT_FALSE(port.isOpen());

    // Wine lets a second program open a port, so the system's answers are fed in.
    const std::tuple<unsigned long, Status, std::string> answers[] = {
        {ERROR_FILE_NOT_FOUND, Status::NoSuchPort, "COM4: the device does not exist"},
        {ERROR_ACCESS_DENIED, Status::Failed, "COM4: the port is in use by another program"},
        {ERROR_GEN_FAILURE, Status::Failed, "COM4: the port cannot be opened ("}};
    for (const auto& [error, status, description] : answers) {
        const SerialOpenResult result = SerialLine::OpenFailure("COM4", error);
        EXPECT_EQ(result.status, status) << error;
        EXPECT_EQ(result.description.substr(0, description.size()), description);
    }

    // The wizard's list: the device's port, not the missing one, none left open.
    ASSERT_TRUE(port.open(kGalderPort).ok());
    const std::vector<int> listed = ProbeSerialPorts(port);
    EXPECT_NE(std::find(listed.begin(), listed.end(), kGalderPort), listed.end());
    EXPECT_EQ(std::find(listed.begin(), listed.end(), kMissingPort), listed.end());
    EXPECT_FALSE(port.isOpen());
}

TEST_F(WinSerialPortTest, ClosesWhileAReadIsPendingAndOpensAgain) {
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(port.open(kGalderPort).ok()) << round;
        // A read is outstanding from the open on; closing cancels it.
        port.close();
        EXPECT_FALSE(port.isOpen());
        EXPECT_FALSE(port.write("\xAA"));
    }
    // Closed from its own handler, the port hands over nothing more.
    port.setDataReceivedHandler([this] {
        received += port.readAll();
        port.close();
    });
    ASSERT_TRUE(port.open(kGalderPort).ok());
    ASSERT_TRUE(port.write("\xAA"));
    ASSERT_TRUE(SpinUntil([&] { return !received.empty(); }));
    ASSERT_FALSE(port.write(kIdentify));
    const std::string first = received;
    SpinUntil([] { return false; }, 300);
    EXPECT_EQ(received, first);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.readAll(), "");
}

} // namespace
} // namespace addrix

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
