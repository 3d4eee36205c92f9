// The real `addrix` program run the way a script would: a copy of it in a
// folder of its own, whose settings file belongs to the test, reading the
// sample backup or galder-sim over a pseudo-terminal.

#include "support/SimulatorProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <ostream>
#include <thread>

#include <signal.h>

namespace addrix {
namespace {

using namespace test;

// A copy of addrix in `programDir` with `ini` as its settings file.
std::string Addrix(const TempDir& programDir, const std::string& ini) {
    std::filesystem::copy_file(ADDRIX_PROGRAM, programDir.file("addrix"));
    programDir.write("addrix.INI", ini);
    return programDir.file("addrix");
}

TEST(AddrixProgram, ConvertsTheSampleWithTheSettingsItNeverWrites) {
    TempDir programDir;
    TempDir work;
    const std::string ini =
        "; hand-made\r\n[Settings]\r\nExportPath=" + work.path() + "\r\nExportFile=book.csv\r\n";
    ChildProcess run(Addrix(programDir, ini),
                     {"export", "--source", "ivro", "--input", ADDRIX_SAMPLE}, work);
    ASSERT_EQ(run.wait(), 0) << run.err();
    EXPECT_EQ(run.out() + "|" + run.err(),
              "20 records exported.\n" + work.file("book.csv") +
                  "\n|Changes: 8 shortened, 38 changed, 3 filled, 0 skipped, 0 over the limit.\n");
    EXPECT_EQ(ReadFile(programDir.file("addrix.INI")), ini);
}

// name, home, work, mobile, fax, email, wireless, note, second number
const char* const kContacts = "# two contacts\n"
                              "Ann Lee\t5551234\t5559876\t\t5550000\tann@example.com\t12 34 "
                              "56\tline one\\r\\nline two\t42\n"
                              "\n"
                              "Prince\t\t\t0123456789\t\tp@example.com\r\n";
const std::string kConnecting = "Connecting to device...\n";
const std::string kReceived = kConnecting + "Starting download...\nReceived 1 of 2 Records...\n" +
                              "Received 2 of 2 Records...\nChanges: 0 shortened, 2 changed, 0 " +
                              "filled, 0 skipped, 0 over the limit.\n";

struct ProgramCase {
    const char* name;
    friend void PrintTo(const ProgramCase& c, std::ostream* os) { *os << c.name; }
    std::vector<std::string> simArgs; // after the contacts file
    bool interrupt;                   // Ctrl-C once the program waits for the device
    int status;
    std::string err;
    std::string records; // lines after the header
};

class GalderProgram : public ::testing::TestWithParam<ProgramCase> {};

// The settings turn the trace on and map COM1 to the simulator.
TEST_P(GalderProgram, ExportsFromTheDevice) {
    const ProgramCase& c = GetParam();
    TempDir programDir;
    TempDir work;
    std::vector<std::string> simArgs = {"--contacts", work.write("contacts.txt", kContacts)};
    simArgs.insert(simArgs.end(), c.simArgs.begin(), c.simArgs.end());
    SimulatorProcess sim(GALDER_SIM, simArgs);
    ChildProcess run(
        Addrix(programDir, "[Settings]\r\nDebug=True\r\n[Ports]\r\nCOM1=" + sim.device() + "\r\n"),
        {"export", "--source", "galder", "--port", "1", "--dir", work.path(), "--file", "out.csv"},
        work);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (c.interrupt && run.err().empty() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (c.interrupt)
        run.signal(SIGINT);
    ASSERT_EQ(run.wait(), c.status) << run.err();
    EXPECT_EQ(run.err(), c.err);
    EXPECT_EQ(run.out(), c.status ? "" : "2 records exported.\n" + work.file("out.csv") + "\n");
    const std::string trace = ReadFile(programDir.file("debug.log"));
    EXPECT_EQ(trace.rfind("\r\nStart Of Operation\r\n\r\nTX:\xAA\r\n", 0), 0u) << trace;
    EXPECT_EQ(ReadFile(work.file("out.csv")),
              test::kNorvikHeader + "\r\n" + c.records + (c.records.empty() ? "" : "\r\n"));
}

const char* const kLayout1 =
    "1,0,0,Ann,Lee,123456,ann@example.com,,1,;,;,;,,5551234,5559876,,5550000,,,,,line one line "
    "two\r\n"
    "2,1,0,Prince,,,p@example.com,,2,;,;,;,,,,0123456789,,,,,,";
const std::string kDisabled = kConnecting + "Disabled Device: The device is permanently disabled "
                                            "and the address book cannot be accessed.\n";
const std::string kCancelled = kConnecting + "Galder: The download was cancelled.\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, GalderProgram,
    ::testing::Values(ProgramCase{"Layout1", {"--layout", "1"}, false, 0, kReceived, kLayout1},
                      ProgramCase{"DisabledDevice", {"--disabled"}, false, 2, kDisabled, ""},
                      ProgramCase{"CtrlCCancels", {"--silent"}, true, 2, kCancelled, ""}));

} // namespace
} // namespace addrix
