// The download without a window, in process, against galder-sim. (Plain
// status lines off a terminal are checked by the program test.)

#include "app/cli/ConsoleDownload.h"
#include "settings/Settings.h"
#include "support/SimulatorProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QCoreApplication>
#include <QTimer>

#include <csignal>
#include <sstream>

namespace addrix {
namespace {

struct ConsoleCase {
    const char* name;
    std::vector<std::string> simArgs;
    bool terminal;
    int interruptAfterMs; // raise SIGINT this long after the start; -1 never
    RecordCount result;
    std::string printed;
};

// Cases print as their names.
void PrintTo(const ConsoleCase& c, std::ostream* os) {
    *os << c.name;
}

class ConsoleDownloadTest : public ::testing::TestWithParam<ConsoleCase> {};

TEST_P(ConsoleDownloadTest, PrintsStatusAndEnds) {
    const ConsoleCase& c = GetParam();
    test::SimulatorProcess sim(GALDER_SIM, c.simArgs);
    ASSERT_FALSE(sim.device().empty());
    test::TempDir programDir;
    Settings settings;
    settings.MaxDeviceRecords = 250;
    std::ostringstream err;
    const std::string device = sim.device();
    ConsoleDownload download(err, c.terminal, settings, programDir.path(),
                             [device](int n) { return n == 5 ? device : std::string(); });
    QTimer interrupt;
    interrupt.setSingleShot(true);
    QObject::connect(&interrupt, &QTimer::timeout, [] { std::raise(SIGINT); });
    if (c.interruptAfterMs >= 0)
        interrupt.start(c.interruptAfterMs);

    test::MemorySink sink;
    EXPECT_EQ(download.runDownload(sink, 5, 0), c.result);
    EXPECT_EQ(err.str(), c.printed);
    // Ctrl-C belongs to the shell's default again once the download is over.
    struct sigaction now {};
    sigaction(SIGINT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

const ConsoleCase kCases[] = {
    {"OneLineRewrittenOnATerminal",
     {"--count", "2"},
     true,
     -1,
     2,
     "\rConnecting to device...\rStarting download...   \rReceived 1 of 2 Records..."
     "\rReceived 2 of 2 Records...\n"},
    {"MessagesStartOnALineOfTheirOwn",
     {"--disabled"},
     true,
     -1,
     -1,
     "\rConnecting to device...\nDisabled Device: The device is permanently disabled and the "
     "address book cannot be accessed.\n"},
    {"InterruptCancels",
     {"--silent"},
     false,
     100,
     -2,
     "Connecting to device...\nGalder: The download was cancelled.\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ConsoleDownloadTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace addrix

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
