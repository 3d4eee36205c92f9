// The real `addrix` program run the way a script would: a copy of it in a
// folder of its own, whose settings file belongs to the test, reading
// galder-sim over a pseudo-terminal.

#include "support/SimulatorProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

namespace addrix {
namespace {

using namespace test;

// A copy of addrix in `programDir` with `ini` as its settings file.
std::string Addrix(const TempDir& programDir, const std::string& ini) {
    std::filesystem::copy_file(ADDRIX_PROGRAM, programDir.file("addrix"));
    programDir.write("addrix.INI", ini);
    return programDir.file("addrix");
}

// One download lists every contact of the device, a duplicate marked.
TEST(AddrixProgram, ListsTheDevice) {
    TempDir programDir;
    TempDir work;
    SimulatorProcess sim(GALDER_SIM,
                         {"--contacts", work.write("contacts.txt", "Ann Lee\t5551234\n"
                                                                   "ann  lee\t\t5551234\t\t\ta@x\n"
                                                                   "Prince\n")});
    ChildProcess run(Addrix(programDir, "[Ports]\r\nCOM1=" + sim.device() + "\r\n"),
                     {"list", "--source", "galder", "--port", "1", "--email", "home"});
    ASSERT_EQ(run.wait(), 0) << run.err();
    EXPECT_EQ(run.out(), "POSITION,FIRST_NAME,LAST_NAME,COMPANY,HOME_PHONE,WORK_PHONE,MOBILE_PHONE,"
                         "FAX,WORK_EMAIL,HOME_EMAIL,DUPLICATE_OF\n"
                         R"("1","Ann","Lee","","5551234","","","","","","1")"
                         "\n"
                         R"("2","ann","lee","","","5551234","","","","a@x","1")"
                         "\n"
                         R"("3","Prince","","","","","","","","","")"
                         "\n");
}

// name, home, work, mobile, fax, email, wireless (its blanks are dropped: a change)
const char* const kContacts = "Ann Lee\t5551234\t\t\t\tann@example.com\t12 34 56\nPrince\n";
const char* const kReceived = "Starting download...\nReceived 1 of 2 Records...\n"
                              "Received 2 of 2 Records...\nChanges: 0 shortened, 1 changed, "
                              "0 filled, 0 skipped, 0 over the limit.\n";

struct ProgramCase {
    const char* name;
    friend void PrintTo(const ProgramCase& c, std::ostream* os) { *os << c.name; }
    std::vector<std::string> simArgs;
    bool interrupt; // Ctrl-C once the program waits for the device
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
    const std::string lastWeek = work.write("out.csv", "last week\r\n");
    ChildProcess run(
        Addrix(programDir, "[Settings]\r\nDebug=True\r\n[Ports]\r\nCOM1=" + sim.device() + "\r\n"),
        {"export", "--source", "galder", "--port", "1", "--dir", work.path(), "--file", "out.csv"});
    if (c.interrupt) {
        run.firstLine(true); // once it waits for the device
        run.signal(SIGINT);
    }
    ASSERT_EQ(run.wait(), c.status) << run.err();
    EXPECT_EQ(run.err(), "Connecting to device...\n" + c.err);
    EXPECT_EQ(run.out(), c.status ? "" : "2 records exported.\n" + work.file("out.csv") + "\n");
    EXPECT_NE(ReadFile(programDir.file("debug.log")).find("\r\nTX:\xAA\r\n"), std::string::npos);
    // A failed download leaves last week's export as it was.
    EXPECT_EQ(ReadFile(lastWeek),
              c.status ? "last week\r\n" : kNorvikHeader + "\r\n" + c.records + "\r\n");
}

const char* const kRecords = "1,0,0,Ann,Lee,123456,ann@example.com,,1,;,;,;,,5551234,,,,,,,,\r\n"
                             "2,1,0,Prince,,,,,1,;,;,;,,,,,,,,,,";
const char* const kCancelled = "Galder: The download was cancelled.\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, GalderProgram,
    ::testing::Values(ProgramCase{"Download", {}, false, 0, kReceived, kRecords},
                      ProgramCase{"CtrlCCancels", {"--silent"}, true, 2, kCancelled, ""}));

} // namespace
} // namespace addrix
