// Runs the real `addrix` program the way a script would.

#include "export/ContactRecord.h"
#include "support/ChildProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace addrix {
namespace {

using test::ReadFile;

// A copy of the program in a folder of its own, so that the settings file
// beside it belongs to the test.
class AddrixProgramTest : public ::testing::Test {
protected:
    test::TempDir programDir;
    test::TempDir work;
    std::string addrix = programDir.file("addrix");

    void SetUp() override { std::filesystem::copy_file(ADDRIX_PROGRAM, addrix); }
    // "status|stdout|stderr" of the program run with `args`.
    std::string run(const std::vector<std::string>& args) {
        test::ChildProcess child(addrix, args, work);
        const int status = child.wait();
        return std::to_string(status) + "|" + child.out() + "|" + child.err();
    }
};

TEST_F(AddrixProgramTest, ConvertsTheSampleWithTheSettingsItNeverWrites) {
    const std::string ini =
        "; hand-made\r\n[Settings]\r\nExportPath=" + work.path() + "\r\nExportFile=book.csv\r\n";
    programDir.write("addrix.INI", ini);
    EXPECT_EQ(run({"export", "--source", "ivro", "--input", ADDRIX_SAMPLE}),
              "0|20 records exported.\n" + work.file("book.csv") + "\n|");
    EXPECT_EQ(ReadFile(programDir.file("addrix.INI")), ini);
    const auto lines = test::SplitCrLf(ReadFile(work.file("book.csv")));
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], kNorvikCsvHeader);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto fields = test::SplitCommas(lines[i]);
        ASSERT_EQ(fields.size(), 22u) << lines[i];
        EXPECT_EQ(fields[0] + "," + fields[1], std::to_string(i) + "," + std::to_string(i - 1));
    }
}

TEST_F(AddrixProgramTest, ExitStatusAndStreamsTellWhatHappened) {
    const std::string bad =
        work.write("bad.adr", "#Record Address\r\n1\t\tx" + std::string(21, '\t'));
    EXPECT_EQ(run({"--version"}), "0|Addrix 2.0.0\n|");
    EXPECT_EQ(run({"export", "--source", "ivro", "--input", work.write("e.adr", ""), "--dir",
                   work.path()}),
              "1||");
    EXPECT_EQ(run({"export", "--source", "ivro", "--input", bad, "--dir", work.path()}),
              "2||Error Occurred: Error occurred in DoExport\nType mismatch\n");
    EXPECT_EQ(run({"export", "--source", "ivro", "--bad"}),
              "64||addrix: unknown option '--bad' (see addrix --help)\n");
}

} // namespace
} // namespace addrix
