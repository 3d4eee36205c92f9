#include "export/ExportDriver.h"

#include "export/GalderExportJob.h"
#include "export/IWizardForm.h"
#include "platform/PathUtil.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"
#include "support/WizardFakes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
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
        form.dir = folder;
        form.fileName = file;
        form.ports = {3, 7};
        form.portIndex = portIndex;
        form.emailIndex = 2;
        messages.shown.clear();
        std::string result = std::to_string(DoExport(tag, form, context));
        for (const auto& box : messages.shown)
            result +=
                "|" + box.caption + "|" + box.text + (box.icon == MsgIcon::Critical ? "" : "!");
        return result;
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

TEST_F(ExportDriverTest, FailuresShowTheirBoxAndKeepWhatWasWritten) {
    const std::string fileAccess = "-1|File Access Error|Could not open the file specified for "
                                   "writing\r\nPlease make sure you specified the correct "
                                   "directory and file name.";
    EXPECT_EQ(run("galder", dir.file("missing"), "book.csv"), fileAccess);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
    form.ivroFile = dir.write("book.adr", "the backup"); // never emptied by its own export
    EXPECT_EQ(run("IVRO", dir.file("."), "book.adr"), fileAccess);
    EXPECT_EQ(test::ReadFile(form.ivroFile), "the backup");
    // Without a selected port the download would wait for ever.
    EXPECT_EQ(run("galder", dir.path(), "book.csv", -1), kFailed + "No serial port is selected");
    EXPECT_FALSE(std::filesystem::exists(dir.file("book.csv")));
    galder.during = [] {
        throw std::bad_alloc();
    };
    EXPECT_EQ(run("galder", dir.path(), "book.csv"), kFailed + "Out of memory");
}

// Last week's export stays until the source has been opened; from then on the
// file holds what was written, a failure or not. Nothing temporary is left.
TEST_F(ExportDriverTest, AnExistingOutputIsReplacedOnlyOnceTheSourceOpened) {
    const auto files = [&] {
        return test::EntryCount(dir.path());
    };
    const std::string lastWeek = dir.write("book.csv", "last week\r\n");
    std::filesystem::permissions(lastWeek, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::owner_write);
    form.ivroFile = dir.file("typo.adr");
    EXPECT_EQ(run("ivro", dir.path(), "book.csv"), kFailed + "File not found: " + form.ivroFile);
    galder.during = kPortFails;
    EXPECT_EQ(run("galder", dir.path(), "book.csv"), kFailed + "COM7 could not be opened");
    EXPECT_EQ(output(), "last week\r\n");
    EXPECT_EQ(files(), 1);

    galder.during = nullptr;
    galder.contacts = {"line0"};
    EXPECT_EQ(run("galder", dir.path(), "book.csv"), "1");
    EXPECT_EQ(output(), kHeaderLine + "line0\r\n");
    EXPECT_EQ(files(), 1);
#ifndef _WIN32 // the access rights carry over
    EXPECT_EQ(std::filesystem::status(lastWeek).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
#endif
    galder.contacts.clear();
    galder.result = -2; // a download that failed after its port opened
    EXPECT_EQ(run("galder", dir.path(), "book.csv"), "-2");
    EXPECT_EQ(output(), kHeaderLine);
    galder.result.reset();
    galder.contacts = {"line0"};

#ifndef _WIN32
    // Another user's file that may be written: in a shared folder it cannot
    // be replaced, in one that takes no new file it cannot be made anew.
    // Either way it takes the lines in place.
    namespace fs = std::filesystem;
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
                   output() == kHeaderLine + "line0\r\n" && files() == 1;
        }));
    }
    fs::permissions(dir.path(), fs::perms::owner_all);
    // A pipe without a reader is refused at once; a device or a pipe that is
    // read is written directly.
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
#endif
}

// Ctrl-C ends a conversion through its failure path: the lines written are
// in place and nothing temporary stays. A pipe or a device as the backup is
// refused at once instead of waited on or read for ever.
TEST_F(ExportDriverTest, ACancelledOrImpossibleBackupEndsCleanly) {
    form.ivroFile = dir.write("book.adr", test::IvroBackup(10000));
    settings.MaxDeviceRecords = 20000;
    int asked = 0;
    context.cancelled = [&] {
        return ++asked == 2;
    };
    EXPECT_EQ(run("ivro", dir.path(), "book.csv"), kFailed + "The export was cancelled");
    const auto lines = test::SplitCrLf(output());
    EXPECT_TRUE(lines.size() > 1 && lines.size() < 10001) << lines.size();
    EXPECT_EQ(lines.at(0), test::kNorvikHeader);
    EXPECT_EQ(test::EntryCount(dir.path()), 2);
#ifndef _WIN32
    const std::string fifo = dir.file("pipe.adr");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& odd : {fifo, std::string("/dev/zero")}) {
        form.ivroFile = odd;
        EXPECT_EQ(run("ivro", dir.path(), "book.csv"), kFailed + "Not an ordinary file: " + odd);
    }
#endif
}

#ifndef _WIN32
// A full disk may show only when the buffered lines are flushed (Windows has
// no device that is always full).
TEST_F(ExportDriverTest, AFullDiskIsAnError) {
    galder.contacts = {"a", "b", "c"};
    EXPECT_EQ(run("galder", "/dev", "full"), kFailed + "Disk full: /dev/full");
}
#endif

} // namespace
} // namespace addrix
