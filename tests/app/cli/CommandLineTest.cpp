#include "app/cli/CommandLine.h"

#include "export/ContactRecord.h"
#include "galder/GalderExportJob.h"
#include "galder/GalderProcess.h"
#include "platform/IIniService.h"
#include "platform/PathUtil.h"
#include "platform/StdFileSystem.h"
#include "platform/TextFile.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    CommandLineServices services{
        out, err, program, files, ini, [this] { return proposedBackup; }, nullptr};

    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return RunCommandLine(args, services);
    }
    void setting(const std::string& key, const std::string& value) {
        ini.values[WithTrailingSeparator(programDir.path()) + "addrix.INI|Settings|" + key] = value;
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
        {"export", "--source", "ivro", "--bo\ngus\r\x1B[2J", "x"}, // typed control characters
        {"export", "--source", "ivro", "--port", "1"},
        {"export", "--source", "ivro", "--dir", "a", "--dir", "b"},
        {"export", "--source", "galder", "--port", "1"}, // no serial support in this build
    };
    for (const auto& args : cases) {
        EXPECT_EQ(run(args), kExitUsage) << ::testing::PrintToString(args);
        EXPECT_NE(err.str().find("--help"), std::string::npos) << err.str();
        const std::string message = err.str();
        EXPECT_EQ(message.find_first_of("\r\n\x1B"), message.size() - 1) << message;
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

    EXPECT_EQ(
        run({"export", "--source", "ivro", "--input", input, "--dir", work.file("no-such-folder")}),
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
    EXPECT_EQ(
        run({"export", "--source", "ivro", "--input", input, "--dir", work.path(), "--file", ""}),
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

// The download without a window, as the export job sees it: records what it
// was asked and writes `lines` or throws as told.
struct ScriptedDownload {
    int made = 0;
    Settings settings;
    std::int16_t port = 0;
    std::int16_t email = -9;
    RecordCount result = 0;
    std::vector<std::string> lines;
    std::string failure; // thrown as a SerialPortError when not empty
};

class FakeDownloadWindow final : public IGalderDownloadWindow {
public:
    explicit FakeDownloadWindow(ScriptedDownload& script) : m_script(script) {}
    RecordCount runDownload(ILineSink& file, std::int16_t portNumber,
                            std::int16_t emailOption) override {
        m_script.port = portNumber;
        m_script.email = emailOption;
        if (!m_script.failure.empty())
            throw SerialPortError(m_script.failure);
        for (const auto& line : m_script.lines)
            file.writeLine(line);
        return m_script.result;
    }

private:
    ScriptedDownload& m_script;
};

class GalderCommandLineTest : public CommandLineTest {
protected:
    ScriptedDownload script;
    void SetUp() override {
        services.galderWindow = [this](const Settings& settings) {
            ++script.made;
            script.settings = settings;
            return std::make_unique<FakeDownloadWindow>(script);
        };
    }
};

TEST_F(GalderCommandLineTest, UsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"export", "--source", "galder"},
        {"export", "--source", "galder", "--port", "0"},
        {"export", "--source", "galder", "--port", "256"},
        {"export", "--source", "galder", "--port", "-1"},
        {"export", "--source", "galder", "--port", "COM1"},
        {"export", "--source", "galder", "--port", ""},
        {"export", "--source", "galder", "--port", "1", "--email", "office"},
        {"export", "--source", "galder", "--port", "1", "--input", "a.adr"},
        {"export", "--source", "ivro", "--email", "work"},
    };
    for (const auto& args : cases) {
        EXPECT_EQ(run(args), kExitUsage) << ::testing::PrintToString(args);
        EXPECT_NE(err.str().find("--help"), std::string::npos) << err.str();
    }
    EXPECT_EQ(script.made, 0);
}

TEST_F(GalderCommandLineTest, PassesPortAndEmailColumn) {
    struct Case {
        std::vector<std::string> extra;
        std::string galderEmailSetting; // empty: none in the settings file
        std::int16_t port;
        std::int16_t email;
    };
    const Case cases[] = {
        {{"--port", "1"}, "", 1, 0},
        {{"--port", "16", "--email", "home"}, "", 16, 1},
        {{"--port=255", "--email=Alternate"}, "", 255, 2},
        {{"--port", "3", "--email", "WORK"}, "2", 3, 0},
        {{"--port", "3"}, "2", 3, 2}, // the wizard's choice in the settings file
        {{"--port", "3"}, "7", 3, 0}, // outside the list: the list's own default
    };
    for (const auto& c : cases) {
        if (!c.galderEmailSetting.empty())
            setting("GalderEmail", c.galderEmailSetting);
        std::vector<std::string> args = {"export", "--source", "galder", "--dir", work.path()};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        script.result = 0;
        run(args);
        EXPECT_EQ(script.port, c.port) << ::testing::PrintToString(args);
        EXPECT_EQ(script.email, c.email) << ::testing::PrintToString(args);
        ini.values.clear();
    }
}

TEST_F(GalderCommandLineTest, TheDownloadGetsTheRunsSettings) {
    setting("Debug", "true");
    setting("MaxDeviceRecords", "40");
    run({"export", "--source", "galder", "--port", "2", "--dir", work.path()});
    EXPECT_EQ(script.made, 1);
    EXPECT_TRUE(script.settings.DebugEnabled);
    EXPECT_EQ(script.settings.MaxDeviceRecords, 40);
    run({"export", "--source", "galder", "--port", "2", "--dir", work.path(), "--max-records",
         "7"});
    EXPECT_EQ(script.settings.MaxDeviceRecords, 7);
}

TEST_F(GalderCommandLineTest, ResultsBecomeOutputAndExitStatus) {
    struct Case {
        RecordCount result;
        std::vector<std::string> lines;
        std::string failure;
        int status;
        std::string out;
        std::string err;
    };
    const std::string path = WithTrailingSeparator(work.path()) + "g.csv";
    const Case cases[] = {
        {2, {"a", "b"}, "", kExitRecordsWritten, "2 records exported.\n" + path + "\n", ""},
        {1, {"a"}, "", kExitRecordsWritten, "1 record exported.\n" + path + "\n", ""},
        {0, {}, "", kExitNoRecords, "", ""},
        {-1, {"a"}, "", kExitExportFailed, "", ""},
        {-2, {}, "", kExitExportFailed, "", ""},
        {0,
         {},
         "COM4 (/dev/ttyUSB0): the port is in use by another program",
         kExitExportFailed,
         "",
         "Error Occurred: Error occurred in DoExport\nCOM4 (/dev/ttyUSB0): the port is in use by "
         "another program\n"},
    };
    for (const auto& c : cases) {
        script.result = c.result;
        script.lines = c.lines;
        script.failure = c.failure;
        EXPECT_EQ(run({"export", "--source", "galder", "--port", "4", "--dir", work.path(),
                       "--file", "g.csv"}),
                  c.status)
            << c.result;
        EXPECT_EQ(out.str(), c.out);
        EXPECT_EQ(err.str(), c.err);
        // What the download wrote stays in the file, whatever the ending.
        const auto written = SplitCrLf(ReadFile(path));
        ASSERT_EQ(written.size(), c.lines.size() + 1);
        EXPECT_EQ(written[0], kNorvikCsvHeader);
    }
}

} // namespace
} // namespace addrix
