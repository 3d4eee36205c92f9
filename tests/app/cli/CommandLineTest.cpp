#include "app/cli/CommandLine.h"

#include "galder/GalderExportJob.h"
#include "platform/IniFile.h"
#include "platform/StdFileSystem.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace addrix {
namespace {

using Args = std::vector<std::string>;

// The download as the export job sees it: writes nothing and records what it
// was given. The copy the command line runs reports to `original`.
struct ScriptedDownload final : IGalderDownloadWindow {
    std::vector<int> asked; // port, e-mail column
    Settings settings;
    ScriptedDownload* original = this;
    RecordCount runDownload(ILineSink&, std::int16_t port, std::int16_t email) override {
        original->asked = {port, email};
        return 0;
    }
};

std::string Entries(int count) {
    std::string text = "#Record\tAddress\r\n";
    for (int i = 0; i < count; ++i)
        text += "1\t\t0\tP" + std::to_string(i) + std::string(20, '\t') + "\r\n";
    return text;
}

class CommandLineTest : public ::testing::Test {
protected:
    test::TempDir programDir;
    test::TempDir work;
    test::FakeProgramLocation program{programDir.path(), "addrix"};
    StdFileSystem files;
    IniFile ini;
    std::ostringstream out;
    std::ostringstream err;
    std::string proposedBackup = "nowhere.adr";
    ScriptedDownload download;
    CommandLineServices services{out, err, program, files, ini, [this] { return proposedBackup; },
                                 {},  {}};

    void SetUp() override {
        services.galderWindow = [this](const Settings& settings) {
            download.settings = settings;
            return std::make_unique<ScriptedDownload>(download);
        };
    }
    // "status|stdout|stderr" of `addrix` with `args`.
    std::string run(const Args& args) {
        out.str("");
        err.str("");
        const int status = RunCommandLine(args, services);
        return std::to_string(status) + "|" + out.str() + "|" + err.str();
    }
    // Writes the settings file beside the program.
    std::string settings(const std::string& lines) {
        return programDir.write("addrix.INI", "[Settings]\r\n" + lines);
    }
};

TEST_F(CommandLineTest, VersionHelpAndUsageErrors) {
    EXPECT_EQ(run({"--version"}), "0|Addrix 2.0.0\n|");
    EXPECT_EQ(run({"--help"}), "0|" + UsageText() + "|");
    // clang-format off
    const Args cases[] = {
        {}, {"frob\nnicate"}, {"export"}, {"export", "--source"}, {"export", "--source", "kestle"},
        {"export", "--source", "ivro", "--bogus\r\x1B[2J", "x"},
        {"export", "--source", "ivro", "--dir", "a", "--dir", "b"},
        {"export", "--source", "ivro", "--port", "1"}, {"export", "--source", "ivro", "--email", "work"},
        {"export", "--source", "galder"}, {"export", "--source", "galder", "--port", "256"}, {"export", "--source", "galder", "--port", "COM1"},
        {"export", "--source", "galder", "--port", "1", "--email", "office"},
        {"export", "--source", "galder", "--port", "1", "--input", "a.adr"}};
    // clang-format on
    const std::string tail = " (see addrix --help)\n";
    for (const auto& args : cases) {
        const std::string result = run(args);
        EXPECT_EQ(result.substr(0, 12), "64||addrix: ") << result;
        EXPECT_EQ(result.find_first_of("\r\n\x1B"), result.size() - 1) << result; // one line
        EXPECT_EQ(result.substr(result.size() - tail.size()), tail);
    }
    services.galderWindow = nullptr; // a build without serial ports
    EXPECT_EQ(run({"export", "--source", "galder", "--port", "1"}).substr(0, 3), "64|");
    EXPECT_TRUE(download.asked.empty());
}

TEST_F(CommandLineTest, ExportsTheIvroBackup) {
    const std::string one = work.write("one.adr", Entries(1));
    const std::string failed = "2||Error Occurred: Error occurred in DoExport\n";
    const std::string fileAccess = "2||File Access Error: Could not open the file specified for "
                                   "writing\nPlease make sure you specified the correct "
                                   "directory and file name.\n";
    // clang-format off
    const std::pair<Args, std::string> cases[] = {
        {{"--source", "IVRO", "--input", work.write("two.adr", Entries(2)), "--file=o.csv"},
         "0|2 records exported.\n" + work.file("o.csv") + "\n|"},
        {{"--source", "ivro", "--input", work.write("none.adr", "no header\r\n")}, "1||"},
        {{"--source", "ivro", "--input", ""}, failed + "File not found\n"}, // empty is used as given
        {{"--source", "ivro", "--input", one, "--file", ""}, fileAccess}};
    // clang-format on
    for (const auto& [options, result] : cases) {
        Args args = {"export", "--dir", work.path()};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(run(args), result);
    }
}

TEST_F(CommandLineTest, MissingOptionsTakeTheSettingsThenTheWizardDefaults) {
    proposedBackup = work.write("proposed.adr", Entries(1));
    EXPECT_EQ(run({"export", "--source", "ivro"}),
              "0|1 record exported.\n" + programDir.file("NorvikaddressBook.csv") + "\n|");
    const std::string lines = "IvroFile=" + work.write("set.adr", Entries(3)) +
                              "\nExportPath=" + work.path() +
                              "\nExportFile=chosen.csv\nMaxDeviceRecords=1\n";
    const std::string ini = settings(lines);
    EXPECT_EQ(run({"export", "--source", "ivro"}),
              "0|1 record exported.\n" + work.file("chosen.csv") +
                  "\n|Addrix: You have exceeded the maximum number of records allowed by the "
                  "device.\nAdditional records will not be exported.\n");
    EXPECT_EQ(run({"export", "--source", "ivro", "--max-records", "2.5"}), // never equals a count
              "0|3 records exported.\n" + work.file("chosen.csv") + "\n|");
    EXPECT_EQ(test::ReadFile(ini), "[Settings]\r\n" + lines); // never written
    settings("ExportPath=" + work.file("gone") + "\nExportFile=chosen.csv\nIvroFile=" +
             work.file("set.adr")); // a stored folder that no longer exists
    EXPECT_EQ(run({"export", "--source", "ivro"}),
              "0|3 records exported.\n" + programDir.file("chosen.csv") + "\n|");
}

TEST_F(CommandLineTest, GalderGetsPortEmailColumnAndSettings) {
    // Options, GalderEmail setting, port and e-mail column the download gets.
    using Case = std::tuple<Args, const char*, std::vector<int>>;
    // clang-format off
    const Case cases[] = {
        {{"--port=255", "--email=Alternate"}, "1", {255, 2}},
        {{"--port", "16", "--email", "WORK"}, "2", {16, 0}},
        {{"--port", "3"}, "2", {3, 2}},  // the wizard's choice
        {{"--port", "3"}, "7", {3, 0}}}; // outside the list: the list's default
    // clang-format on
    for (const auto& [options, storedEmail, asked] : cases) {
        settings(std::string("GalderEmail=") + storedEmail + "\nMaxDeviceRecords=9\n");
        Args args = {"export", "--source", "galder", "--dir", work.path()};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(run(args), "1||");
        EXPECT_EQ(download.asked, asked) << ::testing::PrintToString(args);
        EXPECT_EQ(download.settings.MaxDeviceRecords, 9);
    }
    run({"export", "--source", "galder", "--port", "2", "--max-records", "7"});
    EXPECT_EQ(download.settings.MaxDeviceRecords, 7);
}

} // namespace
} // namespace addrix
