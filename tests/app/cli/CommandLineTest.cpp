#include "app/cli/CommandLine.h"

#include "export/GalderExportJob.h"
#include "platform/IniFile.h"
#include "platform/StdFileSystem.h"
#include "support/TestSupport.h"
#include "support/WizardFakes.h"

#include <gtest/gtest.h>

#include <sstream>

namespace addrix {
namespace {

using Args = std::vector<std::string>;

// The summary after an export of contacts the Norvik takes as they are.
const std::string kNoChanges =
    "Changes: 0 shortened, 0 changed, 0 filled, 0 skipped, 0 over the limit.\n";

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
    test::FakeGalderDownloadWindow download;
    CommandLineServices services{out, err, program, files, ini, [this] { return proposedBackup; },
                                 {},  {}};

    void SetUp() override {
        services.galderWindow = [this] {
            return download.handle();
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
    const std::string help = run({"--help"});
    EXPECT_EQ(help.rfind("0|Usage: addrix [--help | --version]\n  or:  addrix export", 0), 0u);
    EXPECT_NE(help.find("Exit status: 0 records written, 1 no records, 2 export failed, 64 usage"),
              std::string::npos);
    EXPECT_EQ(run({"export", "--source", "ivro", "-h"}), help);
    // clang-format off
    const Args cases[] = {
        {}, {"frob\nnicate"}, {"export"}, {"export", "--source"}, {"export", "--source", "kestle"},
        {"export", "--source", "ivro", "--bogus\r\x1B[2J\x7F", "x"},
        {"export", "--source", "ivro", "--max-records", "abc"}, {"export", "--source", "ivro", "--max-records="},
        {"export", "--source", "ivro", "--max-records", "nan"}, {"export", "--source", "galder", "--port", "1", "--max-records", "0x10"},
        {"export", "--source", "ivro", "--dir", "a", "--dir", "b"},
        {"export", "--source", "ivro", "--port", "1"}, {"export", "--source", "ivro", "--email", "work"},
        {"export", "--source", "galder"}, {"export", "--source", "galder", "--port", "256"}, {"export", "--source", "galder", "--port", "COM1"},
        {"export", "--source", "galder", "--port", "0"},
        {"export", "--source", "galder", "--port", "1", "--email", "office"},
        {"export", "--source", "galder", "--port", "1", "--input", "a.adr"},
        {"export", "--source", "ivro", "--merge-duplicates=yes"}, {"list"},
        {"list", "--source", "ivro", "--file", "x"}, {"list", "--source", "ivro", "--merge-duplicates"}};
    // clang-format on
    const std::string tail = " (see addrix --help)\n";
    for (const auto& args : cases) {
        const std::string result = run(args);
        EXPECT_EQ(result.substr(0, 12), "64||addrix: ") << result;
        EXPECT_EQ(result.find_first_of("\r\n\x1B\x7F"), result.size() - 1) << result; // one line
        EXPECT_EQ(result.substr(result.size() - tail.size()), tail);
    }
    services.galderWindow = nullptr; // a build without serial ports
    EXPECT_EQ(run({"export", "--source", "galder", "--port", "1"}).substr(0, 3), "64|");
    EXPECT_TRUE(download.asked.empty());
}

TEST_F(CommandLineTest, ExportsTheIvroBackup) {
#ifdef _WIN32
    constexpr bool kWindows = true;
#else
    constexpr bool kWindows = false;
#endif
    const std::string failed = "2||Error Occurred: Error occurred in DoExport\n";
    // clang-format off
    const std::pair<Args, std::string> cases[] = {
        {{"--source", "IVRO", "--input", work.write("two.adr", test::IvroBackup(2)), "--file=o.csv"},
         "0|2 records exported.\n" + work.file("o.csv") + "\n|" + kNoChanges},
        {{"--source", "ivro", "--input", ""}, failed + "File not found\n"}, // empty is used as given
        // Windows refuses control characters in a file name.
        {{"--source", "ivro", "--input", "\x1B[31mX\x7F"},
         failed + (kWindows ? "Invalid argument" : "File not found") + ": ?[31mX?\n"}};
    // clang-format on
    for (const auto& [options, result] : cases) {
        Args args = {"export", "--dir", work.path()};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(run(args), result);
    }
}

// Backups that hold no contact never replace last week's export.
TEST_F(CommandLineTest, ABackupWithoutContactsLeavesTheExportAsItWas) {
    const std::string lastWeek = work.write("book.csv", "last week");
    const std::string utf16("\xFF\xFE#\0R\0e\0c\0o\0r\0d\0\t\0A\0\r\0\n\0", 22);
    for (const std::string& backup : {std::string(), utf16, std::string("#Record\tAddress\r\n")}) {
        const std::string result =
            run({"export", "--source", "ivro", "--input", work.write("b.adr", backup), "--dir",
                 work.path(), "--file", "book.csv"});
        EXPECT_EQ(result.substr(0, 3), "1||");
        EXPECT_NE(result.find("No contacts: " + lastWeek + " was not changed.\n"),
                  std::string::npos)
            << result;
        EXPECT_EQ(test::ReadFile(lastWeek), "last week");
        EXPECT_EQ(test::EntryCount(work.path()), 2);
    }
}

// A report that cannot be written stops the export before the Norvik file
// is touched.
TEST_F(CommandLineTest, AReportThatCannotBeWrittenStopsTheExport) {
    const std::string norvik = work.write("keep.csv", "last week's contacts");
    const std::string report = work.file("none") + "/changes.csv";
    EXPECT_EQ(
        run({"export", "--source", "ivro", "--input", work.write("one.adr", test::IvroBackup(1)),
             "--dir", work.path(), "--file", "keep.csv", "--report", report}),
        "2||Report: The change report cannot be written: File not found: " + report + "\n");
    EXPECT_EQ(test::ReadFile(norvik), "last week's contacts");
}

TEST_F(CommandLineTest, MissingOptionsTakeTheSettingsThenTheWizardDefaults) {
    proposedBackup = work.write("proposed.adr", test::IvroBackup(1));
    EXPECT_EQ(run({"export", "--source", "ivro"}), "0|1 record exported.\n" +
                                                       programDir.file("NorvikaddressBook.csv") +
                                                       "\n|" + kNoChanges);
    const std::string lines = "IvroFile=" + work.write("set.adr", test::IvroBackup(3)) +
                              "\nExportPath=" + work.path() +
                              "\nExportFile=chosen.csv\nMaxDeviceRecords=1\n";
    const std::string ini = settings(lines);
    EXPECT_EQ(run({"export", "--source", "ivro"}),
              "0|1 record exported.\n" + work.file("chosen.csv") +
                  "\n|Addrix: You have exceeded the maximum number of records allowed by the "
                  "device.\nAdditional records will not be exported.\nChanges: 0 shortened, 0 "
                  "changed, 0 filled, 0 skipped, 2 over the limit.\n");
    EXPECT_EQ(test::ReadFile(ini), "[Settings]\r\n" + lines); // never written
    settings("ExportPath=" + work.file("gone") + "\nExportFile=chosen.csv\nIvroFile=" +
             work.file("set.adr")); // a stored folder that no longer exists
    EXPECT_EQ(run({"export", "--source", "ivro"}),
              "0|3 records exported.\n" + programDir.file("chosen.csv") + "\n|" + kNoChanges);
}

// An Ivro entry line: first name, last name, work phone, mobile phone, company.
std::string Entry(const std::string& first, const std::string& last, const std::string& work,
                  const std::string& mobile = "", const std::string& company = "") {
    return "1\t\t0\t" + first + "\t" + last + std::string(7, '\t') + work + "\t" + mobile + "\t\t" +
           company + std::string(9, '\t') + "\r\n";
}

// list prints every contact as it would be written, with its duplicate
// group; export writes those chosen, or merges the duplicates, and reports
// every contact it did not write.
TEST_F(CommandLineTest, ListsChoosesAndMerges) {
    const std::string backup =
        work.write("d.adr", "#Record\tAddress\r\n" + Entry("Ann", "Lee", "(555) 1") + "short\r\n" +
                                Entry("ann", "LEE", "", "555.1", "A,B") + Entry("Bo\"b", "", "") +
                                Entry("Ann", "Lee", "2"));
    const std::string list =
        "0|POSITION,FIRST_NAME,LAST_NAME,COMPANY,HOME_PHONE,WORK_PHONE,MOBILE_PHONE,FAX,"
        "WORK_EMAIL,HOME_EMAIL,DUPLICATE_OF\n"
        "\"2\",\"Ann\",\"Lee\",\"\",\"\",\"(555)1\",\"\",\"\",\"\",\"\",\"2\"\n"
        "\"4\",\"ann\",\"LEE\",\"A B\",\"\",\"\",\"555-1\",\"\",\"\",\"\",\"2\"\n"
        "\"5\",\"Bo\"\"b\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
        "\"6\",\"Ann\",\"Lee\",\"\",\"\",\"2\",\"\",\"\",\"\",\"\",\"\"\n|";
    EXPECT_EQ(run({"list", "--source", "ivro", "--input", backup}), list);
    const Args exportArgs = {"export",          "--source",  "ivro",   "--input", backup,
                             "--dir",           work.path(), "--file", "o.csv",   "--report",
                             work.file("r.csv")};
    const auto exportWith = [&](const Args& more) {
        Args args = exportArgs;
        args.insert(args.end(), more.begin(), more.end());
        return run(args);
    };
    const auto rows = [&] {
        std::vector<std::string> lines = test::SplitCrLf(test::ReadFile(work.file("r.csv")));
        return std::vector<std::string>(lines.begin() + 1, lines.end());
    };
    // The first column of list's output, with its header; the limit counts the chosen.
    const std::string only =
        work.write("only.csv", "\xEF\xBB\xBFPOSITION,X\r\n\"4\",\"x\"\r\n\r\n 5\r\n6");
    const std::string see = "See " + work.file("r.csv") + ".\n";
    EXPECT_EQ(exportWith({"--only", only, "--max-records", "1"}),
              "0|1 record exported.\n" + work.file("o.csv") +
                  "\n|Addrix: You have exceeded the maximum number of records allowed by the "
                  "device.\nAdditional records will not be exported.\nChanges: 0 shortened, 2 "
                  "changed, 0 filled, 1 skipped, 2 over the limit, 1 left out.\n" +
                  see);
    EXPECT_EQ(test::ReadFile(work.file("o.csv")),
              test::kNorvikHeader + "\r\n1,0,0,ann,LEE,,,,1,;,;,;,A B,,,555-1,,,,,,\r\n");
    EXPECT_EQ(rows(), (std::vector<std::string>{
                          R"("ivro","2","","Ann Lee","","left out","","")",
                          R"("ivro","3","","","","skipped","short","")",
                          R"("ivro","4","1","ann LEE","COMPANY","changed","A,B","A B")",
                          R"("ivro","4","1","ann LEE","MOBILE_PHONE","changed","555.1","555-1")",
                          R"("ivro","5","","Bo""b ","","over-limit","","")",
                          R"("ivro","6","","Ann Lee","","over-limit","","")"}));
    EXPECT_EQ(exportWith({"--merge-duplicates"}),
              "0|3 records exported.\n" + work.file("o.csv") +
                  "\n|Changes: 0 shortened, 3 changed, 0 filled, 1 skipped, 0 over the limit, 4 "
                  "merged.\n" +
                  see);
    EXPECT_EQ(test::ReadFile(work.file("o.csv")),
              test::kNorvikHeader +
                  "\r\n1,0,0,Ann,Lee,,,,1,;,;,;,A B,,(555)1,555-1,,,,,,\r\n"
                  "2,1,0,Bo\"b,,,,,1,;,;,;,,,,,,,,,,\r\n3,2,0,Ann,Lee,,,,1,;,;,;,,,2,,,,,,,\r\n");
    const std::string tail = " (see addrix --help)\n";
    const std::pair<std::string, std::string> wrong[] = {
        {work.write("a.txt", "2\n4\nx4\n"),
         "--only: " + work.file("a.txt") + ", line 3: 'x4' is no position"},
        {work.write("b.txt", "3\n2\n99\n"), "--only names positions the source lacks: 3, 99"},
        {work.file("none.txt"), "--only: File not found: " + work.file("none.txt")}};
    for (const auto& [file, reason] : wrong)
        EXPECT_EQ(exportWith({"--only", file}), "64||addrix: " + reason + tail);
}

TEST_F(CommandLineTest, GalderGetsPortEmailColumnAndSettings) {
    // Options, GalderEmail setting, the download asked for: port, e-mail
    // column, limit, trace.
    using Case = std::tuple<Args, const char*, const char*>;
    // clang-format off
    const Case cases[] = {
        {{"--port=255", "--email=Alternate"}, "1", "255 2 9 0"},
        {{"--port", "16", "--email", "WORK", "--max-records", "7"}, "2", "16 0 7 0"},
        {{"--port", "3"}, "2", "3 2 9 0"},  // the wizard's choice
        {{"--port", "3"}, "7", "3 0 9 0"}}; // outside the list: the list's default
    // clang-format on
    for (const auto& [options, storedEmail, asked] : cases) {
        settings(std::string("GalderEmail=") + storedEmail + "\nMaxDeviceRecords=9\n");
        // Each its own new file: an export of no contacts never empties one.
        Args args = {"export", "--source", "galder", "--dir", work.path(), "--file", asked};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(run(args), "1||");
        EXPECT_EQ(download.asked.back(), asked) << ::testing::PrintToString(args);
    }
    // A download that fails after two contacts keeps them apart, and says so.
    download.contacts = {"contact", "contact"};
    download.result = -1;
    EXPECT_EQ(run({"export", "--source", "galder", "--port", "2", "--dir", work.path()}),
              "2||2 contacts read before the failure were kept in " +
                  work.file("NorvikaddressBook.incomplete.csv") + ".\n" +
                  work.file("NorvikaddressBook.csv") + " was not changed.\n" + kNoChanges);
}

} // namespace
} // namespace addrix
