// Runs the real `addrix` program the way a script would.

#include "export/ContactRecord.h"
#include "support/ChildProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace addrix {
namespace {

using test::ReadFile;
using test::SplitCommas;
using test::SplitCrLf;
using test::TempDir;

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// A copy of the program in a folder of its own, so that its settings file
// beside it belongs to the test.
class AddrixProgramTest : public ::testing::Test {
protected:
    TempDir programDir;
    TempDir work;
    std::string addrix;

    void SetUp() override {
        addrix = programDir.file("addrix");
        std::filesystem::copy_file(ADDRIX_PROGRAM, addrix);
    }
    ProgramRun run(const std::vector<std::string>& args) {
        test::ChildProcess child(addrix, args, work);
        const int status = child.wait();
        return {status, child.out(), child.err()};
    }
};

TEST_F(AddrixProgramTest, ConvertsTheSample) {
    const ProgramRun r = run({"export", "--source", "ivro", "--input", ADDRIX_SAMPLE, "--dir",
                              work.path(), "--file", "book.csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "20 records exported.\n" + work.file("book.csv") + "\n");
    const auto lines = SplitCrLf(ReadFile(work.file("book.csv")));
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], kNorvikCsvHeader);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto fields = SplitCommas(lines[i]);
        ASSERT_EQ(fields.size(), 22u) << lines[i];
        EXPECT_EQ(fields[0], std::to_string(i));
        EXPECT_EQ(fields[1], std::to_string(i - 1));
    }
}

TEST_F(AddrixProgramTest, ReadsTheSettingsFileButNeverWritesIt) {
    const std::string ini = "; hand-made\r\n[Settings]\r\nExportPath=" + work.path() +
                            "\r\nExportFile=fromini.csv\r\nMaxDeviceRecords=5\r\n";
    const std::string iniPath = programDir.write("addrix.INI", ini);
    const ProgramRun r = run({"export", "--source", "ivro", "--input", ADDRIX_SAMPLE});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("5 records exported.", 0), 0u) << r.out;
    EXPECT_NE(r.err.find("maximum number of records"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(work.file("fromini.csv")));
    EXPECT_EQ(ReadFile(iniPath), ini);
}

TEST_F(AddrixProgramTest, ExitStatusTellsWhatHappened) {
    const std::string empty = work.write("empty.adr", "");
    const std::string bad =
        work.write("bad.adr", "#Record Address\r\n1\t\tx" + std::string(21, '\t') + "\r\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string errStart;
    };
    const Case cases[] = {
        {{"export", "--source", "ivro", "--input", empty, "--dir", work.path()}, 1, ""},
        {{"export", "--source", "ivro", "--input", bad, "--dir", work.path()},
         2,
         "Error Occurred: Error occurred in DoExport\nType mismatch"},
        {{"export", "--source", "ivro", "--input", work.file("none.adr"), "--dir", work.path()},
         2,
         "Error Occurred: Error occurred in DoExport\nFile not found"},
        {{"export", "--source", "ivro", "--input", ADDRIX_SAMPLE, "--dir", work.file("nodir")},
         2,
         "File Access Error: "},
        {{"export", "--source", "ivro", "--bad"}, 64, "addrix: unknown option"},
    };
    for (const auto& c : cases) {
        const ProgramRun r = run(c.args);
        EXPECT_EQ(r.status, c.status) << ::testing::PrintToString(c.args) << r.err;
        EXPECT_EQ(r.err.rfind(c.errStart, 0), 0u) << r.err;
    }
}

TEST_F(AddrixProgramTest, FullDiskFailsTheExport) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    const ProgramRun r = run({"export", "--source", "ivro", "--input", ADDRIX_SAMPLE, "--dir",
                              "/dev", "--file", "full"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("Error Occurred: Error occurred in DoExport\nDisk full", 0), 0u) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(AddrixProgramTest, VersionAndHelp) {
    EXPECT_EQ(run({"--version"}).out, "Addrix 2.0.0\n");
    const ProgramRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("export --source ivro"), std::string::npos);
}

} // namespace
} // namespace addrix
