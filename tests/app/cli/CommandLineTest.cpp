#include "app/cli/CommandLine.h"

#include "export/ContactRecord.h"
#include "platform/IIniService.h"
#include "platform/PathUtil.h"
#include "platform/StdFileSystem.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace addrix {
namespace {

using test::ReadFile;
using test::SplitCrLf;
using test::TempDir;

// Settings held in memory; records writes so tests can prove there are none.
class MemoryIni final : public IIniService {
public:
    std::map<std::string, std::string> values; // "file|section|key" lower-cased names
    int writes = 0;

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t bufferSize,
                           const std::string& file) const override {
        const auto it = values.find(file + "|" + section + "|" + key);
        std::string value = it == values.end() ? defaultValue : it->second;
        if (value.size() >= bufferSize)
            value.resize(bufferSize - 1);
        return value;
    }
    bool writeString(const std::string&, const std::string&, const std::string&,
                     const std::string&) override {
        ++writes;
        return true;
    }
};

const std::string kHeader = "#Record\tName\tAddress\r\n";

std::string Entry(const std::string& first) {
    std::string line = "1\t\t0\t" + first;
    for (int i = 4; i < 24; ++i)
        line += "\t";
    return line + "\r\n";
}

class CommandLineTest : public ::testing::Test {
protected:
    TempDir programDir;
    TempDir work;
    test::FakeProgramLocation program{programDir.path(), "addrix"};
    StdFileSystem files;
    MemoryIni ini;
    std::ostringstream out;
    std::ostringstream err;
    std::string proposedBackup = "nowhere.adr";
    CommandLineServices services{out, err, program, files, ini,
                                 [this] { return proposedBackup; }, nullptr};

    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return RunCommandLine(args, services);
    }
    void setting(const std::string& key, const std::string& value) {
        ini.values[WithTrailingSeparator(programDir.path()) + "addrix.INI|Settings|" + key] =
            value;
    }
};

TEST_F(CommandLineTest, VersionAndHelp) {
    EXPECT_EQ(run({"--version"}), 0);
    EXPECT_EQ(out.str(), "Addrix 2.0.0\n");
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(out.str().find("--source ivro"), std::string::npos);
}

TEST_F(CommandLineTest, UsageErrorsExitWith64AndPointToHelp) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"export"},
        {"export", "--source"},
        {"export", "--source", "kestle"},
        {"export", "--source", "ivro", "--bogus", "x"},
        {"export", "--source", "ivro", "--port", "1"},
        {"export", "--source", "ivro", "--dir", "a", "--dir", "b"},
        {"export", "--source", "galder", "--port", "1"}, // no serial support in this build
    };
    for (const auto& args : cases) {
        EXPECT_EQ(run(args), kExitUsage) << ::testing::PrintToString(args);
        EXPECT_NE(err.str().find("--help"), std::string::npos) << err.str();
        EXPECT_EQ(std::count(err.str().begin(), err.str().end(), '\n'), 1) << err.str();
    }
}

TEST_F(CommandLineTest, ExportsAndPrintsCountAndPath) {
    const std::string input = work.write("a.adr", kHeader + Entry("Ann") + Entry("Bob"));
    EXPECT_EQ(run({"export", "--source", "IVRO", "--input", input, "--dir", work.path(),
                   "--file=out.csv"}),
              kExitRecordsWritten);
    const std::string path = WithTrailingSeparator(work.path()) + "out.csv";
    EXPECT_EQ(out.str(), "2 records exported.\n" + path + "\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(SplitCrLf(ReadFile(path)).size(), 3u);

    work.write("one.adr", kHeader + Entry("Ann"));
    EXPECT_EQ(run({"export", "--source", "ivro", "--input", work.file("one.adr"), "--dir",
                   work.path(), "--file", "out.csv"}),
              kExitRecordsWritten);
    EXPECT_EQ(out.str().rfind("1 record exported.\n", 0), 0u);
    EXPECT_EQ(ini.writes, 0);
}

TEST_F(CommandLineTest, NoRecordsExitsWithOne) {
    const std::string input = work.write("a.adr", "no header\r\n");
    EXPECT_EQ(run({"export", "--source", "ivro", "--input", input, "--dir", work.path()}),
              kExitNoRecords);
    EXPECT_EQ(out.str(), "");
}

TEST_F(CommandLineTest, FailuresPrintTheBoxAndExitWithTwo) {
    const std::string input = work.write("a.adr", kHeader + "x\t\t0" + std::string(21, '\t'));
    EXPECT_EQ(run({"export", "--source", "ivro", "--input", input, "--dir", work.path()}),
              kExitExportFailed);
    EXPECT_EQ(err.str(), "Error Occurred: Error occurred in DoExport\nType mismatch\n");

    EXPECT_EQ(run({"export", "--source", "ivro", "--input", input, "--dir",
                   work.file("no-such-folder")}),
              kExitExportFailed);
    EXPECT_EQ(err.str(), "File Access Error: Could not open the file specified for writing\n"
                         "Please make sure you specified the correct directory and file name.\n");
}

TEST_F(CommandLineTest, MissingOptionsTakeTheSettingsThenTheWizardDefaults) {
    const std::string input = work.write("set.adr", kHeader + Entry("Ann"));
    setting("IvroFile", input);
    EXPECT_EQ(run({"export", "--source", "ivro"}), kExitRecordsWritten);
    EXPECT_NE(
        ReadFile(WithTrailingSeparator(programDir.path()) + "NorvikaddressBook.csv").find("Ann"),
        std::string::npos);

    setting("ExportPath", work.path());
    setting("ExportFile", "chosen.csv");
    EXPECT_EQ(run({"export", "--source", "ivro"}), kExitRecordsWritten);
    EXPECT_NE(ReadFile(work.file("chosen.csv")).find("Ann"), std::string::npos);

    // A stored folder that no longer exists falls back to the program folder.
    setting("ExportPath", work.file("gone"));
    EXPECT_EQ(run({"export", "--source", "ivro"}), kExitRecordsWritten);
    EXPECT_NE(ReadFile(WithTrailingSeparator(programDir.path()) + "chosen.csv").find("Ann"),
              std::string::npos);
}

TEST_F(CommandLineTest, NoInputAnywhereUsesTheProposedBackup) {
    proposedBackup = work.write("proposed.adr", kHeader + Entry("Pat"));
    EXPECT_EQ(run({"export", "--source", "ivro", "--dir", work.path()}), kExitRecordsWritten);
    EXPECT_NE(ReadFile(work.file("NorvikaddressBook.csv")).find("Pat"), std::string::npos);
}

TEST_F(CommandLineTest, EmptyFileNameIsUsedAsGiven) {
    const std::string input = work.write("a.adr", kHeader + Entry("Ann"));
    EXPECT_EQ(run({"export", "--source", "ivro", "--input", input, "--dir", work.path(),
                   "--file", ""}),
              kExitExportFailed);
    EXPECT_EQ(err.str().rfind("File Access Error: ", 0), 0u);
}

TEST_F(CommandLineTest, MaxRecordsReplacesTheSettingForThisRun) {
    std::string content = kHeader;
    for (int i = 0; i < 4; ++i)
        content += Entry("P" + std::to_string(i));
    const std::string input = work.write("a.adr", content);
    setting("MaxDeviceRecords", "1");

    EXPECT_EQ(run({"export", "--source", "ivro", "--input", input, "--dir", work.path(),
                   "--max-records", "3"}),
              kExitRecordsWritten);
    EXPECT_EQ(out.str().rfind("3 records exported.", 0), 0u);
    EXPECT_EQ(err.str(), "Addrix: You have exceeded the maximum number of records allowed by the "
                         "device.\nAdditional records will not be exported.\n");

    // Read as the setting is: 2.5 never equals a count, so no limit applies.
    EXPECT_EQ(run({"export", "--source", "ivro", "--input", input, "--dir", work.path(),
                   "--max-records", "2.5"}),
              kExitRecordsWritten);
    EXPECT_EQ(out.str().rfind("4 records exported.", 0), 0u);

    EXPECT_EQ(run({"export", "--source", "ivro", "--input", input, "--dir", work.path()}),
              kExitRecordsWritten);
    EXPECT_EQ(out.str().rfind("1 record exported.", 0), 0u);
}

} // namespace
} // namespace addrix
