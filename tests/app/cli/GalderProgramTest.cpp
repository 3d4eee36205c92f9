// The real `addrix` program against galder-sim over a pseudo-terminal: a copy
// of addrix in a folder of its own, whose settings turn the trace on and map
// COM1 to the simulator.

#include "export/ContactRecord.h"
#include "support/SimulatorProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <thread>

#include <signal.h>

namespace addrix {
namespace {

using namespace test;

// name, home, work, mobile, fax, email, wireless, note, second number
const char* const kContacts = "# three contacts\n"
                              "Ann Lee\t5551234\t5559876\t\t5550000\tann@example.com\t12 34 "
                              "56\tline one\\r\\nline two\t42\n"
                              "\n"
                              "Prince\t\t\t0123456789\t\tp@example.com\n"
                              "Mary Ann Smith\t1\t\t\t\t\tm@pager.example.com\tcomma, kept\r\n";
const std::string kConnecting = "Connecting to device...\n";
const std::string kReceived = kConnecting + "Starting download...\nReceived 1 of 3 Records...\n" +
                              "Received 2 of 3 Records...\nReceived 3 of 3 Records...\n";

struct ProgramCase {
    const char* name;
    friend void PrintTo(const ProgramCase& c, std::ostream* os) { *os << c.name; }
    std::string simArgs; // "contacts" stands for the contacts file
    std::string email;
    bool interrupt; // Ctrl-C once the program waits for the device
    int status;
    std::string err;
    std::string records; // lines after the header
};

class GalderProgram : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(GalderProgram, ExportsFromTheDevice) {
    const ProgramCase& c = GetParam();
    TempDir programDir;
    TempDir work;
    const std::string addrix = programDir.file("addrix");
    std::filesystem::copy_file(ADDRIX_PROGRAM, addrix);
    std::vector<std::string> simArgs;
    std::istringstream args(c.simArgs);
    for (std::string arg; args >> arg;)
        simArgs.push_back(arg == "contacts" ? work.write("contacts.txt", kContacts) : arg);
    SimulatorProcess sim(GALDER_SIM, simArgs);
    ASSERT_FALSE(sim.device().empty());
    programDir.write("addrix.INI",
                     "[Settings]\r\nDebug=True\r\n[Ports]\r\nCOM1=" + sim.device() + "\r\n");
    ChildProcess run(addrix,
                     {"export", "--source", "galder", "--port", "1", "--email", c.email, "--dir",
                      work.path(), "--file", "out.csv"},
                     work);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (c.interrupt && run.err().empty() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (c.interrupt)
        run.signal(SIGINT);
    ASSERT_EQ(run.wait(), c.status) << run.err();
    EXPECT_EQ(run.err(), c.err);
    const auto csv = SplitCrLf(ReadFile(work.file("out.csv")));
    const auto records = SplitCrLf(c.records);
    ASSERT_EQ(csv.size(), records.size() + 1);
    EXPECT_EQ(csv[0], kNorvikCsvHeader);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto got = SplitCommas(csv[i + 1]);
        const auto want = SplitCommas(records[i]);
        ASSERT_EQ(got.size(), want.size()) << csv[i + 1];
        for (std::size_t f = 0; f < want.size(); ++f)
            EXPECT_EQ(got[f], want[f]) << "record " << i + 1 << ", column " << f + 1;
    }
    if (c.status == 0) {
        EXPECT_EQ(run.out(), "3 records exported.\n" + work.file("out.csv") + "\n");
        const std::string trace = ReadFile(programDir.file("debug.log"));
        EXPECT_EQ(trace.rfind("\r\nStart Of Operation\r\n\r\nTX:\xAA\r\n", 0), 0u) << trace;
        EXPECT_NE(trace.find("\r\nTX:\x19\x30\x33\x19\r\n"), std::string::npos);
    }
}

const char* const kLayout1Work =
    "1,0,0,Ann,Lee,123456,ann@example.com,,1,;,;,;,,5551234,5559876,,5550000,,,,,line one line "
    "two\r\n"
    "2,1,0,Prince,,,p@example.com,,2,;,;,;,,,,0123456789,,,,,,\r\n"
    "3,2,0,Mary,Ann Smith,m@pager.example.com,,,1,;,;,;,,1,,,,,,,,comma  kept";
const char* const kLayout4Home =
    "1,0,0,Ann,Lee,123456,,ann@example.com,1,;,;,;,,5551234,5559876,,5550000,,,,,line one line "
    "two\r\n"
    "2,1,0,Prince,,,,p@example.com,3,;,;,;,,,,0123456789,,,,,,\r\n"
    "3,2,0,Mary,Ann Smith,m@pager.example.com,,,1,;,;,;,,1,,,,,,,,comma  kept";

INSTANTIATE_TEST_SUITE_P(
    Cases, GalderProgram,
    ::testing::Values(ProgramCase{"Layout1WorkEmail", "--contacts contacts --layout 1", "work",
                                  false, 0, kReceived, kLayout1Work},
                      ProgramCase{"Layout4HomeEmail", "--contacts contacts --layout 4", "home",
                                  false, 0, kReceived, kLayout4Home},
                      ProgramCase{"DisabledDevice", "--disabled", "work", false, 2,
                                  kConnecting +
                                      "Disabled Device: The device is permanently disabled and the "
                                      "address book cannot be accessed.\n",
                                  ""},
                      ProgramCase{"CtrlCCancels", "--silent", "work", true, 2,
                                  kConnecting + "Galder: The download was cancelled.\n", ""}));

} // namespace
} // namespace addrix
