// The real `addrix` program run the way a script would: a copy of it in a
// folder of its own, whose settings file belongs to the test, reading the
// sample backup or galder-sim over a pseudo-terminal.

#include "contact/ContactRecord.h"
#include "support/SimulatorProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <thread>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

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
    std::string email;
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
    ChildProcess run(
        Addrix(programDir, "[Settings]\r\nDebug=True\r\n[Ports]\r\nCOM1=" + sim.device() + "\r\n"),
        {"export", "--source", "galder", "--port", "1", "--email", c.email, "--dir", work.path(),
         "--file", "out.csv"},
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

// Installed for all users: a program folder the user cannot write, the
// administrator's settings beside the program, the user's own file in the
// user's settings folder, run as a user who is not root.
TEST(AddrixProgram, KeepsToTheUsersFolderWhenTheProgramFolderIsReadOnly) {
    for (const bool xdg : {true, false}) {
        TempDir programDir;
        TempDir home;
        SimulatorProcess sim(GALDER_SIM, {"--count", "1"});
        ASSERT_EQ(::chmod(sim.device().c_str(), 0666), 0);
        const std::string addrix = Addrix(programDir, "[Settings]\r\nDebug=True\r\nExportFile=a.csv"
                                                      "\r\n[Ports]\r\nCOM1=" +
                                                          sim.device());
        const std::string config = home.file(xdg ? "cfg" : ".config") + "/addrix/";
        std::filesystem::create_directories(config);
        std::filesystem::create_directory(home.file("Documents"));
        std::ofstream(config + "addrix.INI") << "[Settings]\r\nExportFile=user.csv\r\n";
        for (const auto& entry : std::filesystem::recursive_directory_iterator(home.path()))
            ::chmod(entry.path().c_str(), 0777);
        ASSERT_EQ(::chmod(home.path().c_str(), 0777) | ::chmod(programDir.path().c_str(), 0555), 0);
        // Root may write anywhere: the program runs as nobody then.
        std::vector<std::string> args = {"/usr/bin/env", "HOME=" + home.path()};
        for (const char* name :
             {"XDG_CONFIG_HOME", "XDG_DOCUMENTS_DIR", "ADDRIX_REGISTRY", "WINEPREFIX"})
            args.insert(args.begin() + 1, {"-u", name});
        if (xdg)
            args.push_back("XDG_CONFIG_HOME=" + home.file("cfg"));
        if (::geteuid() == 0)
            args.insert(args.begin(),
                        {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
        args.insert(args.end(), {addrix, "export", "--source", "galder", "--port", "1"});
        ChildProcess run(args[0], {args.begin() + 1, args.end()}, home);
        ASSERT_EQ(run.wait(), 0) << run.err();
        ::chmod(programDir.path().c_str(), 0755);
        EXPECT_EQ(run.out(), "1 record exported.\n" + home.file("Documents/user.csv") + "\n");
        EXPECT_EQ(SplitCrLf(ReadFile(home.file("Documents/user.csv"))).size(), 2u);
        EXPECT_EQ(ReadFile(config + "debug.log").rfind("\r\nStart Of Operation\r\n", 0), 0u);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(programDir.path()), {}), 2);
    }
}

const char* const kLayout1 =
    "1,0,0,Ann,Lee,123456,ann@example.com,,1,;,;,;,,5551234,5559876,,5550000,,,,,line one line "
    "two\r\n"
    "2,1,0,Prince,,,p@example.com,,2,;,;,;,,,,0123456789,,,,,,";
const char* const kLayout4 =
    "1,0,0,Ann,Lee,123456,,ann@example.com,1,;,;,;,,5551234,5559876,,5550000,,,,,line one line "
    "two\r\n"
    "2,1,0,Prince,,,,p@example.com,3,;,;,;,,,,0123456789,,,,,,";

const std::string kDisabled = kConnecting + "Disabled Device: The device is permanently disabled "
                                            "and the address book cannot be accessed.\n";
const std::string kCancelled = kConnecting + "Galder: The download was cancelled.\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, GalderProgram,
    ::testing::Values(
        ProgramCase{"Layout1WorkEmail", {"--layout", "1"}, "work", false, 0, kReceived, kLayout1},
        ProgramCase{"Layout4HomeEmail", {"--layout", "4"}, "home", false, 0, kReceived, kLayout4},
        ProgramCase{"DisabledDevice", {"--disabled"}, "work", false, 2, kDisabled, ""},
        ProgramCase{"CtrlCCancels", {"--silent"}, "work", true, 2, kCancelled, ""}));

// The change report of a download cut short by the limit: a long name, and
// the record the device announced but the limit left out.
TEST(GalderProgramReport, TellsTheShortenedNameAndTheRecordLeftOut) {
    TempDir programDir;
    TempDir work;
    SimulatorProcess sim(GALDER_SIM,
                         {"--contacts", work.write("contacts.txt", "Maximilianus-Alex Li\n"
                                                                   "Bo\n"
                                                                   "Cy\n")});
    const std::string report = work.file("changes, \"all\".csv");
    ChildProcess run(Addrix(programDir, "[Ports]\r\nCOM1=" + sim.device() + "\r\n"),
                     {"export", "--source", "galder", "--port", "1", "--dir", work.path(),
                      "--max-records", "2", "--report", report},
                     work);
    ASSERT_EQ(run.wait(), 0) << run.err();
    EXPECT_NE(run.err().find("Changes: 1 shortened, 0 changed, 0 filled, 0 skipped, 1 over the "
                             "limit.\nSee " +
                             report + ".\n"),
              std::string::npos)
        << run.err();
    EXPECT_EQ(ReadFile(report),
              "SOURCE,POSITION,CONTACT_ID,NAME,COLUMN,CHANGE,SOURCE_VALUE,WRITTEN_VALUE\r\n"
              "\"galder\",\"1\",\"1\",\"Maximilianus-Al Li\",\"FIRST_NAME\",\"shortened\","
              "\"Maximilianus-Alex\",\"Maximilianus-Al\"\r\n"
              "\"galder\",\"3\",\"\",\"\",\"\",\"over-limit\",\"1\",\"\"\r\n");
}

} // namespace
} // namespace addrix
