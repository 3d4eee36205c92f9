// Runs the real `addrix` program against galder-sim over a pseudo-terminal.

#include "export/ContactRecord.h"
#include "support/ChildProcess.h"
#include "support/SimulatorProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <ostream>

#include <chrono>
#include <filesystem>
#include <thread>

#include <signal.h>

namespace addrix {
namespace {

using test::ChildProcess;
using test::ReadFile;
using test::SimulatorProcess;
using test::SplitCrLf;
using test::TempDir;

// A contacts file for the simulator (the comma of the note is taken out as
// in every column): name, home, work, mobile, fax, email,
// wireless, note, second number.
const char* const kContacts = "# three contacts\n"
                              "Ann Lee\t5551234\t5559876\t\t5550000\tann@example.com\t12 34 "
                              "56\tline one\\r\\nline two\t42\n"
                              "\n"
                              "Prince\t\t\t0123456789\t\tp@example.com\n"
                              "Mary Ann Smith\t1\t\t\t\t\tm@pager.example.com\tcomma, kept\r\n";

// A copy of addrix in a folder of its own whose settings file maps COM1 to
// the simulator's pseudo-terminal.
class GalderProgramTest : public ::testing::Test {
protected:
    TempDir programDir;
    TempDir work;
    std::string addrix;
    std::string contacts;

    void SetUp() override {
        addrix = programDir.file("addrix");
        std::filesystem::copy_file(ADDRIX_PROGRAM, addrix);
        contacts = work.write("contacts.txt", kContacts);
    }
    void settings(const std::string& device, const std::string& more = "") {
        programDir.write("addrix.INI",
                         "[Settings]\r\n" + more + "[Ports]\r\nCOM1=" + device + "\r\n");
    }
    std::vector<std::string> exportArgs(std::vector<std::string> extra) {
        std::vector<std::string> args = {"export", "--source",  "galder", "--port", "1",
                                         "--dir",  work.path(), "--file", "out.csv"};
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    }
    std::vector<std::string> csv() { return SplitCrLf(ReadFile(work.file("out.csv"))); }
};

struct DownloadCase {
    const char* name;
    std::string layout;
    std::string email; // --email
    std::vector<std::string> lines;
};

// Cases print as their names.
void PrintTo(const DownloadCase& c, std::ostream* os) {
    *os << c.name;
}

class GalderProgramDownload : public GalderProgramTest,
                              public ::testing::WithParamInterface<DownloadCase> {};

TEST_P(GalderProgramDownload, WritesEveryContactFieldByField) {
    const DownloadCase& c = GetParam();
    SimulatorProcess sim(GALDER_SIM, {"--contacts", contacts, "--layout", c.layout, "--once"});
    ASSERT_FALSE(sim.device().empty());
    settings(sim.device());
    ChildProcess run(addrix, exportArgs({"--email", c.email}), work);
    ASSERT_EQ(run.wait(), 0) << run.err();
    EXPECT_EQ(run.out(), "3 records exported.\n" + work.file("out.csv") + "\n");
    EXPECT_EQ(run.err(), "Connecting to device...\nStarting download...\nReceived 1 of 3 "
                         "Records...\nReceived 2 of 3 Records...\nReceived 3 of 3 Records...\n");
    const auto lines = csv();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], kNorvikCsvHeader);
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
        const auto got = test::SplitCommas(lines[i + 1]);
        const auto want = test::SplitCommas(c.lines[i]);
        ASSERT_EQ(got.size(), 22u) << lines[i + 1];
        ASSERT_EQ(want.size(), 22u) << c.lines[i];
        for (std::size_t f = 0; f < want.size(); ++f)
            EXPECT_EQ(got[f], want[f]) << "record " << i + 1 << ", column " << f + 1;
    }
    EXPECT_EQ(sim.wait(5000), 0);
}

const DownloadCase kDownloads[] = {
    {"Layout1WorkEmail",
     "1",
     "work",
     {"1,0,0,Ann,Lee,123456,ann@example.com,,1,;,;,;,,5551234,5559876,,5550000,,,,,line one line "
      "two",
      "2,1,0,Prince,,,p@example.com,,2,;,;,;,,,,0123456789,,,,,,",
      "3,2,0,Mary,Ann Smith,m@pager.example.com,,,1,;,;,;,,1,,,,,,,,comma  kept"}},
    {"Layout4HomeEmail",
     "4",
     "home",
     {"1,0,0,Ann,Lee,123456,,ann@example.com,1,;,;,;,,5551234,5559876,,5550000,,,,,line one line "
      "two",
      "2,1,0,Prince,,,,p@example.com,3,;,;,;,,,,0123456789,,,,,,",
      "3,2,0,Mary,Ann Smith,m@pager.example.com,,,1,;,;,;,,1,,,,,,,,comma  kept"}},
    {"AlternateEmailGoesNowhere",
     "1",
     "alternate",
     {"1,0,0,Ann,Lee,123456,,,1,;,;,;,,5551234,5559876,,5550000,,,,,line one line two",
      "2,1,0,Prince,,,,,1,;,;,;,,,,0123456789,,,,,,",
      "3,2,0,Mary,Ann Smith,m@pager.example.com,,,1,;,;,;,,1,,,,,,,,comma  kept"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, GalderProgramDownload, ::testing::ValuesIn(kDownloads),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GalderProgramTest, FailedDownloadsExitWithTwoAndKeepTheFile) {
    struct Case {
        std::vector<std::string> simArgs;
        std::vector<std::string> extra;
        int status;
        std::string errEnd;
        std::size_t lines;
    };
    const Case cases[] = {
        {{"--disabled"},
         {},
         2,
         "Disabled Device: The device is permanently disabled and the address book cannot be "
         "accessed.\n",
         1},
        {{"--wrong-wakeup"},
         {},
         2,
         "Error Occurred: A timeout occurred waiting for data from the device. (EL-0)\n",
         1},
        {{"--count", "3", "--corrupt"},
         {},
         2,
         "Error Occurred: An overflow error occurred processing the address book\n",
         2},
        {{"--count", "3"},
         {"--max-records", "2"},
         0,
         "Addrix: You have exceeded the maximum number of records allowed by the device.\n"
         "Additional records will not be exported.\n",
         3},
    };
    for (const auto& c : cases) {
        SimulatorProcess sim(GALDER_SIM, c.simArgs);
        ASSERT_FALSE(sim.device().empty());
        settings(sim.device());
        ChildProcess run(addrix, exportArgs(c.extra), work);
        EXPECT_EQ(run.wait(), c.status) << ::testing::PrintToString(c.simArgs) << run.err();
        const std::string err = run.err();
        EXPECT_GE(err.size(), c.errEnd.size());
        EXPECT_EQ(err.substr(err.size() - std::min(err.size(), c.errEnd.size())), c.errEnd) << err;
        EXPECT_EQ(csv().size(), c.lines) << ::testing::PrintToString(c.simArgs);
    }
}

TEST_F(GalderProgramTest, AMissingDeviceIsReported) {
    settings(work.file("ttyUSB0"));
    ChildProcess run(addrix, exportArgs({}), work);
    EXPECT_EQ(run.wait(), 2);
    EXPECT_EQ(run.err(),
              "Connecting to device...\nError Occurred: Error occurred in DoExport\nCOM1 (" +
                  work.file("ttyUSB0") + "): the device does not exist\n");
    EXPECT_EQ(csv(), std::vector<std::string>{kNorvikCsvHeader});
}

TEST_F(GalderProgramTest, CtrlCCancelsTheDownload) {
    SimulatorProcess sim(GALDER_SIM, {"--silent"});
    settings(sim.device());
    ChildProcess run(addrix, exportArgs({}), work);
    // Once the program waits for the device, interrupt it.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (run.err().find("Connecting") == std::string::npos &&
           std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const auto interrupted = std::chrono::steady_clock::now();
    run.signal(SIGINT);
    EXPECT_EQ(run.wait(), 2);
    EXPECT_LT(std::chrono::steady_clock::now() - interrupted, std::chrono::seconds(3));
    EXPECT_EQ(run.err(), "Connecting to device...\nGalder: The download was cancelled.\n");
    EXPECT_EQ(csv(), std::vector<std::string>{kNorvikCsvHeader});
}

TEST_F(GalderProgramTest, DebugSettingWritesTheTrace) {
    SimulatorProcess sim(GALDER_SIM, {"--count", "1", "--once"});
    settings(sim.device(), "Debug=True\r\n");
    ChildProcess run(addrix, exportArgs({}), work);
    ASSERT_EQ(run.wait(), 0) << run.err();
    const std::string trace = ReadFile(programDir.file("debug.log"));
    EXPECT_EQ(trace.rfind("\r\nStart Of Operation\r\n\r\nTX:\xAA\r\n", 0), 0u) << trace;
    EXPECT_NE(trace.find("\r\nTX:\x19\x30\x33\x19\r\n"), std::string::npos);
    EXPECT_NE(trace.find("Name001 Family"), std::string::npos);
}

} // namespace
} // namespace addrix
