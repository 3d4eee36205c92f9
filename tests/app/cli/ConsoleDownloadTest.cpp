// The download without a window, in process, against galder-sim: on a
// terminal the status is one line rewritten in place. (Plain lines, Ctrl-C
// and the messages are checked through the program itself.)

#include "app/cli/ConsoleDownload.h"
#include "settings/Settings.h"
#include "support/SimulatorProcess.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <sstream>

namespace addrix {
namespace {

TEST(ConsoleDownload, RewritesOneStatusLineOnATerminal) {
    test::SimulatorProcess sim(GALDER_SIM, {"--count", "2"});
    ASSERT_FALSE(sim.device().empty());
    test::TempDir programDir;
    Settings settings;
    settings.MaxDeviceRecords = 250;
    std::ostringstream err;
    const std::string device = sim.device();
    ConsoleDownload download(err, true, settings, programDir.path(),
                             [device](int n) { return n == 5 ? device : std::string(); });
    test::MemorySink sink;
    EXPECT_EQ(download.runDownload(sink, 5, 0), 2);
    EXPECT_EQ(err.str(), "\rConnecting to device...\rStarting download...   \rReceived 1 of 2 "
                         "Records...\rReceived 2 of 2 Records...\n");
}

} // namespace
} // namespace addrix

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
