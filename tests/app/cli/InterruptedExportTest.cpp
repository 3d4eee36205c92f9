// The real `addrix` program ended in the middle of a large conversion: by
// Ctrl-C, a polite kill or a hang-up, by a kill that no handler sees, by a
// full disk, and beside a second export writing the same report. The folder
// holds last week's export, which stays byte for byte, and no temporary file
// is left behind.

#include "support/ChildProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace addrix {
namespace {

using namespace test;
namespace fs = std::filesystem;

constexpr int kEntries = 200000;
const std::string kLastWeek = kNorvikHeader + "\r\n1,0,0,Old,Friend,,,,1,;,;,;,,,,,,,,,,\r\n";
const std::string kIni = "; kept by hand\r\n[Settings]\r\nMaxDeviceRecords=1000000\r\n";

// What a whole export of the backup writes.
std::string Converted() {
    std::string text = kNorvikHeader + "\r\n";
    for (int n = 1; n <= kEntries; ++n)
        text += std::to_string(n) + "," + std::to_string(n - 1) +
                ",0,FirstNameOfSome,,,,,1,;,;,;,,,,,,,,,,\r\n";
    return text;
}

// The change report of an export with the record limit `limit`.
std::string Report(int limit) {
    std::string text = kChangeReportHeader + std::string("\r\n");
    for (int n = 1; n <= kEntries; ++n) {
        const std::string number = std::to_string(n);
        const std::string position = "\"ivro\",\"" + std::to_string(n + 1) + "\",\"";
        text += n <= limit ? position + number +
                                 "\",\"FirstNameOfSome \",\"FIRST_NAME\",\"shortened\","
                                 "\"FirstNameOfSomeLength" +
                                 number + "\",\"FirstNameOfSome\"\r\n"
                           : position + "\",\"FirstNameOfSomeLength" + number +
                                 " \",\"\",\"over-limit\",\"\",\"\"\r\n";
    }
    return text;
}

// The program with its settings and the backup, made once for the tests.
struct Shared {
    TempDir programDir;
    TempDir input;
    std::string program;
    std::string backupText;
    std::string backup;
    std::string converted = Converted();

    Shared() : program(programDir.file("addrix")), backupText("#Record\tAddress\r\n") {
        fs::copy_file(ADDRIX_PROGRAM, program);
        programDir.write("addrix.INI", kIni);
        // First names too long for the Norvik, each a row of the change
        // report; record numbers within 16 bits.
        for (int n = 1; n <= kEntries; ++n)
            backupText += std::to_string(n % 30000) + "\t\t0\tFirstNameOfSomeLength" +
                          std::to_string(n) + std::string(20, '\t') + "\r\n";
        backup = input.write("large.adr", backupText);
    }
};

// The names in `dir`, sorted.
std::vector<std::string> Listing(const std::string& dir) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The export's temporary file in `dir`; "" when there is none.
std::string TemporaryIn(const std::string& dir) {
    for (const std::string& name : Listing(dir))
        if (name.find(".~addrix-") != std::string::npos)
            return (fs::path(dir) / name).string();
    return {};
}

class InterruptedExport : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_shared = new Shared; }
    static void TearDownTestSuite() {
        delete s_shared;
        s_shared = nullptr;
    }

    void SetUp() override { m_book = m_work.write("book.csv", kLastWeek); }

    // The arguments of an export of the backup into `file` of `dir`.
    static std::vector<std::string> exportInto(const std::string& dir, const std::string& file,
                                               const std::vector<std::string>& more = {}) {
        std::vector<std::string> args = {"export",  "--source",       "ivro",
                                         "--input", s_shared->backup, "--dir",
                                         dir,       "--file",         file};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    std::vector<std::string> exportTo(const std::string& file,
                                      const std::vector<std::string>& more = {}) const {
        return exportInto(m_work.path(), file, more);
    }

    // Waits until the export has written its first lines, to its temporary
    // file or (as it once did) to `output` itself, then stops it there: well
    // before half of the contacts.
    ::testing::AssertionResult stopMidway(ChildProcess& run, const std::string& output) const {
        const std::string path = m_work.file(output);
        const std::uintmax_t before = path == m_book ? kLastWeek.size() : 0;
        const auto written = [&] {
            std::error_code ec;
            const std::string temp = TemporaryIn(m_work.path());
            const std::uintmax_t size = fs::file_size(temp.empty() ? path : temp, ec);
            return ec || (temp.empty() && size == before) ? 0 : size;
        };
        for (int tries = 0; tries < 20000 && written() == 0; ++tries)
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        if (!run.pause())
            return ::testing::AssertionFailure() << "the export ended first: " << run.err();
        const std::uintmax_t size = written();
        if (size == 0 || size >= s_shared->converted.size() / 2)
            return ::testing::AssertionFailure() << "stopped after " << size << " bytes";
        return ::testing::AssertionSuccess();
    }

    // Last week's export, the backup and the settings as they were.
    void expectUntouched() const {
        const std::string book = ReadFile(m_book);
        EXPECT_TRUE(book == kLastWeek) << book.size() << " bytes";
        EXPECT_TRUE(ReadFile(s_shared->backup) == s_shared->backupText);
        EXPECT_EQ(ReadFile(s_shared->programDir.file("addrix.INI")), kIni);
    }

    // The contacts a failed run kept: whole lines, the first of the whole
    // export, as many as standard error says.
    void expectKeptAsNamed(const ChildProcess& run) const {
        const std::string path = m_work.file("book.incomplete.csv");
        const std::string kept = ReadFile(path);
        const long contacts = static_cast<long>(SplitCrLf(kept).size()) - 1;
        EXPECT_GT(contacts, 0);
        EXPECT_NE(run.err().find("\n" + std::to_string(contacts) +
                                 " contacts read before the failure were kept in " + path + ".\n"),
                  std::string::npos)
            << run.err();
        EXPECT_TRUE(kept == s_shared->converted.substr(0, kept.size()));
        EXPECT_EQ(kept.substr(kept.size() - std::min<std::size_t>(kept.size(), 2)), "\r\n");
        EXPECT_EQ(Listing(m_work.path()),
                  (std::vector<std::string>{"book.csv", "book.incomplete.csv"}));
    }

    static Shared* s_shared;
    TempDir m_work;
    std::string m_book;
};

Shared* InterruptedExport::s_shared = nullptr;

// Ctrl-C cancels: the contacts read are kept apart. (Which signals cancel is
// the catcher's own test.)
TEST_F(InterruptedExport, CtrlCKeepsTheContactsReadBesideLastWeeksFile) {
    ChildProcess run(s_shared->program, exportTo("book.csv"));
    ASSERT_TRUE(stopMidway(run, "book.csv"));
    run.signal(SIGINT);
    run.signal(SIGCONT);
    ASSERT_EQ(run.wait(), 2) << run.err();
    EXPECT_EQ(run.out(), "");
    EXPECT_NE(run.err().find("The export was cancelled"), std::string::npos) << run.err();
    expectKeptAsNamed(run);
    expectUntouched();
}

// A kill no handler sees leaves its temporary files (the output's and the
// report's), which the next export into the folder removes; files of other
// names stay.
TEST_F(InterruptedExport, AKillLeavesLastWeeksFileAndTheNextExportTidiesUp) {
    ChildProcess killed(s_shared->program,
                        exportTo("book.csv", {"--report", m_work.file("changes.csv")}));
    ASSERT_TRUE(stopMidway(killed, "book.csv"));
    killed.signal(SIGKILL);
    ASSERT_EQ(killed.wait(), 128 + SIGKILL) << killed.err();
    expectUntouched();
    EXPECT_EQ(Listing(m_work.path()).size(), 3u) << "both temporary files left";
    m_work.write("notes.~addrix-draft", "not ours");

    ChildProcess next(s_shared->program, exportTo("book.csv"));
    ASSERT_EQ(next.wait(), 0) << next.err();
    EXPECT_EQ(next.out(), std::to_string(kEntries) + " records exported.\n" + m_book + "\n");
    EXPECT_TRUE(ReadFile(m_book) == s_shared->converted);
    EXPECT_EQ(Listing(m_work.path()),
              (std::vector<std::string>{"book.csv", "notes.~addrix-draft"}));
}

// Files may grow to 1 MiB only: the output fails midway as on a full disk.
TEST_F(InterruptedExport, AFullDiskKeepsWholeLinesAndSaysNothingWasExported) {
    ChildProcess run(s_shared->program, exportTo("book.csv"), 1 << 20);
    ASSERT_EQ(run.wait(), 2) << run.err();
    EXPECT_EQ(run.out(), "");
    EXPECT_NE(run.err().find("File too large"), std::string::npos) << run.err();
    expectKeptAsNamed(run);
    expectUntouched();
}

// A second export runs to its end, with its own record limit, while the first
// one writing the same report stands still midway: the report is the whole
// report of one of them, never a mix.
TEST_F(InterruptedExport, TwoExportsOfOneReportLeaveOneWholeReport) {
    const std::string report = m_work.file("changes.csv");
    ChildProcess first(s_shared->program, exportTo("a.csv", {"--report", report}));
    ASSERT_TRUE(stopMidway(first, "a.csv"));
    ChildProcess second(s_shared->program,
                        exportTo("b.csv", {"--report", report, "--max-records", "10"}));
    ASSERT_EQ(second.wait(), 0) << second.err();
    std::string written = ReadFile(report);
    EXPECT_TRUE(written == Report(10)) << written.size() << " bytes";
    first.signal(SIGCONT);
    ASSERT_EQ(first.wait(), 0) << first.err();
    written = ReadFile(report);
    EXPECT_EQ(written.find('\0'), std::string::npos);
    EXPECT_TRUE(written == Report(kEntries)) << written.size() << " bytes";
    EXPECT_EQ(Listing(m_work.path()),
              (std::vector<std::string>{"a.csv", "b.csv", "book.csv", "changes.csv"}));
}

} // namespace
} // namespace addrix
