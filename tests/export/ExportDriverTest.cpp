#include "export/ExportDriver.h"

#include "export/GalderExportJob.h"
#include "export/IWizardForm.h"
#include "export/ListExport.h"
#include "platform/PathUtil.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"
#include "support/WizardFakes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace addrix {
namespace {

const std::string kHeaderLine = test::kNorvikHeader + "\r\n";
const std::string kFailed = "-2|Error Occurred|Error occurred in DoExport\r\n";

const auto kPortFails = [] {
    throw std::runtime_error("COM7 could not be opened");
};

// The wizard's controls as plain values.
struct FormValues final : IWizardForm {
    std::string dir, fileName, ivroFile;
    std::vector<int> ports;
    int portIndex = -1;
    int emailIndex = 0;
    std::string txtDir() const override { return dir; }
    std::string txtFileName() const override { return fileName; }
    std::string txtIvroFile() const override { return ivroFile; }
    int lstGalderCommPortIndex() const override { return portIndex; }
    int lstGalderCommPortCount() const override { return static_cast<int>(ports.size()); }
    int lstGalderCommPortItemData(int index) const override { return ports.at(index); }
    int lstGalderEmailIndex() const override { return emailIndex; }
};

class ExportDriverTest : public ::testing::Test {
protected:
    test::TempDir dir;
    FormValues form;
    Settings settings;
    test::FakeMessageBox messages;
    test::FakeGalderDownloadWindow galder;
    ExportContext context{messages, settings, &galder};

    // The result, then every box shown as "|caption|text", "!" for a box
    // without the critical-stop icon.
    std::string run(const std::string& tag, const std::string& folder, const std::string& file,
                    int portIndex = 1) {
        aim(folder, file, portIndex);
        messages.shown.clear();
        const std::string result = std::to_string(DoExport(tag, form, context));
        return result + Boxes();
    }
    // The form's output file, and port 7 or none chosen.
    void aim(const std::string& folder, const std::string& file, int portIndex = 1) {
        form.dir = folder;
        form.fileName = file;
        form.ports = {3, 7};
        form.portIndex = portIndex;
        form.emailIndex = 2;
    }
    // Every box shown since the last look.
    std::string Boxes() {
        std::string shown;
        for (const auto& box : messages.shown)
            shown +=
                "|" + box.caption + "|" + box.text + (box.icon == MsgIcon::Critical ? "" : "!");
        messages.shown.clear();
        return shown;
    }
    std::string output() const { return test::ReadFile(dir.file("book.csv")); }
};

TEST_F(ExportDriverTest, RunsTheSourceNamedByTheTag) {
    const std::string sep(1, kPathSeparator);
    EXPECT_EQ(OutputPath("out" + sep, "b.csv"), "out" + sep + "b.csv");
    EXPECT_EQ(OutputPath("", "b.csv"), sep + "b.csv");

    // A tag that names no source fails before any file is touched.
    dir.write("book.csv", std::string(5000, 'x'));
    for (const char* tag : {"kestle", "ivro2"}) {
        EXPECT_EQ(run(tag, dir.path(), "book.csv"), kFailed + "Unknown source '" + tag + "'");
        EXPECT_EQ(output(), std::string(5000, 'x')) << tag;
    }
    EXPECT_TRUE(galder.asked.empty());
    galder.contacts = {"line0", "line1"};
    settings.MaxDeviceRecords = 9;
    settings.DebugEnabled = true;
    EXPECT_EQ(run("GALDER", dir.path(), "book.csv"), "2"); // replaced, not appended to
    EXPECT_EQ(galder.asked, std::vector<std::string>{"7 2 9 1"});
    EXPECT_EQ(output(), kHeaderLine + "line0\r\nline1\r\n");
    galder.result = -2; // a source's failure comes back unchanged
    EXPECT_EQ(run("Galder", dir.path(), "book.csv"), "-2");
}

TEST_F(ExportDriverTest, FailuresShowTheirBoxWithThePathAndTheReason) {
    const std::string fileAccess = "-1|File Access Error|Could not open the file specified for "
                                   "writing\r\nPlease make sure you specified the correct "
                                   "directory and file name.\r\n";
    const std::string missing = OutputPath(dir.file("missing"), "book.csv");
    EXPECT_EQ(run("galder", dir.file("missing"), "book.csv"),
              fileAccess + "File not found: " + missing);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
    form.ivroFile = dir.write("book.adr", "the backup"); // never emptied by its own export
    const std::string backupAsOutput = OutputPath(dir.file("."), "book.adr");
    EXPECT_EQ(run("IVRO", dir.file("."), "book.adr"),
              fileAccess + backupAsOutput + " is the backup file being read");
    EXPECT_EQ(test::ReadFile(form.ivroFile), "the backup");
    // As editors and cp do, a file marked read-only is not replaced.
    const std::string readOnly = dir.write("kept.csv", "last week\r\n");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
    EXPECT_EQ(run("galder", dir.path(), "kept.csv"), fileAccess + readOnly + " is read-only");
    EXPECT_EQ(test::ReadFile(readOnly), "last week\r\n");
    // Without a selected port the download would wait for ever.
    EXPECT_EQ(run("galder", dir.path(), "book.csv", -1), kFailed + "No serial port is selected");
    EXPECT_FALSE(std::filesystem::exists(dir.file("book.csv")));
    galder.during = [] {
        throw std::bad_alloc();
    };
    EXPECT_EQ(run("galder", dir.path(), "book.csv"), kFailed + "Out of memory");
}

// Last week's export is replaced only by an export that ended well and wrote
// a contact; what a failure had read is kept beside it, in a file of its own.
TEST_F(ExportDriverTest, AFailedExportNeverTakesThePlaceOfAGoodFile) {
    struct Case {
        const char* name;
        std::function<void()> during; // the source's failure before it writes
        std::vector<std::string> contacts;
        std::optional<RecordCount> result;
        std::string shown;      // the result and the boxes
        std::string incomplete; // what book.incomplete.csv holds; "" when absent
    };
    const std::string lastWeek = "last week\r\n";
    aim(dir.path(), "book.csv");
    const Case cases[] = {
        {"port fails", kPortFails, {}, {}, kFailed + "COM7 could not be opened", ""},
        {"download fails",
         nullptr,
         {"line0", "line1"},
         -1,
         "-1",
         kHeaderLine + "line0\r\nline1\r\n"},
        {"download cancelled", nullptr, {"line0"}, -2, "-2", kHeaderLine + "line0\r\n"},
        {"no contacts never empties a file", nullptr, {}, {}, "0", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::permissions(dir.write("book.csv", lastWeek),
                                     std::filesystem::perms::owner_read |
                                         std::filesystem::perms::owner_write);
        std::filesystem::remove(dir.file("book.incomplete.csv"));
        galder.during = c.during;
        galder.contacts = c.contacts;
        galder.result = c.result;
        ExportKept kept;
        const RecordCount result =
            DoExport(ReadExportRequest(ExportSource::Galder, form, settings), context, &kept);
        EXPECT_EQ(std::to_string(result) + Boxes(), c.shown);
        EXPECT_EQ(output(), lastWeek);
        EXPECT_EQ(test::ReadFile(dir.file("book.incomplete.csv")), c.incomplete);
        EXPECT_EQ(kept.incompleteFile.empty(), c.incomplete.empty());
        EXPECT_EQ(kept.contacts,
                  static_cast<RecordCount>(c.incomplete.empty() ? 0 : c.contacts.size()));
        EXPECT_EQ(test::EntryCount(dir.path()), c.incomplete.empty() ? 1 : 2); // nothing temporary
    }
    // A second failure never replaces the first one's file.
    galder.result = -1;
    for (const char* line : {"first", "second"}) {
        galder.contacts = {line};
        EXPECT_EQ(run("galder", dir.path(), "book.csv"), "-1");
    }
    EXPECT_EQ(test::ReadFile(dir.file("book.incomplete.csv")), kHeaderLine + "first\r\n");
    EXPECT_EQ(test::ReadFile(dir.file("book.incomplete-2.csv")), kHeaderLine + "second\r\n");

    galder.result.reset();
    galder.contacts = {"line0"};
    EXPECT_EQ(run("galder", dir.path(), "book.csv"), "1");
    EXPECT_EQ(output(), kHeaderLine + "line0\r\n");
#ifndef _WIN32 // the access rights carry over
    EXPECT_EQ(std::filesystem::status(dir.file("book.csv")).permissions() &
                  std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
#endif
    // Where no file was, an export of no contacts makes the header-only file.
    galder.contacts.clear();
    EXPECT_EQ(run("galder", dir.path(), "new.csv"), "0");
    EXPECT_EQ(test::ReadFile(dir.file("new.csv")), kHeaderLine);
}

#ifndef _WIN32
// Another user's file that may be written: in a shared folder it cannot be
// replaced, in one that takes no new file it cannot be made anew. Either way
// it takes the lines in place, once the export ended well. A pipe without a
// reader is refused at once; a device or a pipe that is read is written
// directly, and a full device is an error.
TEST_F(ExportDriverTest, FilesThatCannotBeReplacedAreWrittenInPlace) {
    namespace fs = std::filesystem;
    aim(dir.path(), "book.csv");
    galder.contacts = {"line0"};
    for (const fs::perms folder : {fs::perms::all | fs::perms::sticky_bit,
                                   fs::perms::owner_read | fs::perms::owner_exec |
                                       fs::perms::others_read | fs::perms::others_exec}) {
        fs::permissions(dir.write("book.csv", "last week\r\n"),
                        fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read |
                            fs::perms::others_write);
        fs::permissions(dir.path(), folder);
        EXPECT_TRUE(test::HoldsUnprivileged([&] {
            galder.during = kPortFails;
            const bool kept =
                DoExport("galder", form, context) == -2 && output() == "last week\r\n";
            galder.during = nullptr;
            return kept && DoExport("galder", form, context) == 1 &&
                   output() == kHeaderLine + "line0\r\n" && test::EntryCount(dir.path()) == 1;
        }));
    }
    fs::permissions(dir.path(), fs::perms::owner_all);
    const std::string fifo = dir.file("pipe.csv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(run("galder", dir.path(), "pipe.csv").substr(0, 20), "-1|File Access Error");
    EXPECT_EQ(run("galder", "/dev", "null"), "1");
    std::FILE* reader = std::fopen(fifo.c_str(), "rb+"); // holds both ends open
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(run("galder", dir.path(), "pipe.csv"), "1");
    char line[32] = {};
    EXPECT_EQ(std::fgets(line, sizeof line, reader), line);
    EXPECT_EQ(std::string(line), kHeaderLine.substr(0, sizeof line - 1));
    std::fclose(reader);
    // A full disk may show only when the buffered lines are flushed.
    galder.contacts = {"a", "b", "c"};
    EXPECT_EQ(run("galder", "/dev", "full"), kFailed + "Disk full: /dev/full");
}

// A pipe or a device as the backup is refused at once instead of waited on or
// read for ever. (Ctrl-C is tried on the real program.)
TEST_F(ExportDriverTest, APipeOrADeviceAsTheBackupIsRefused) {
    const std::string fifo = dir.file("pipe.adr");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& odd : {fifo, std::string("/dev/zero")}) {
        form.ivroFile = odd;
        EXPECT_EQ(run("ivro", dir.path(), "book.csv"), kFailed + "Not an ordinary file: " + odd);
    }
}
#endif

// The Contacts window's counter says a choice is over the limit exactly when
// the export of that choice leaves some of it out, by either source's rule.
TEST(ChosenOverLimit, AgreesWithTheListWritten) {
    for (const char* source : {"ivro", "galder"})
        for (const double limit : {-1.0, 0.0, 1.0, 2.0, 2.5, 4.0})
            for (RecordCount count = 0; count <= 4; ++count) {
                ContactList list(source);
                ContactLineWriter contact;
                for (RecordCount n = 1; n <= count; ++n)
                    list.take(contact, n);
                test::MemorySink file;
                test::FakeMessageBox messages;
                const RecordCount written = WriteContactList(file, list, limit, messages, nullptr);
                EXPECT_EQ(OverRecordLimit(count, limit, source[0] == 'g'), written < count)
                    << source << " " << limit << " " << count;
            }
}

} // namespace
} // namespace addrix
