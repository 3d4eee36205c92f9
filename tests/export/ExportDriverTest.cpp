#include "export/ExportDriver.h"

#include "export/GalderExportJob.h"
#include "export/IWizardForm.h"
#include "platform/PathUtil.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>

namespace addrix {
namespace {

const std::string kHeaderLine = test::kNorvikHeader + "\r\n";

// Writes `result` lines and returns `result`; records what it was asked.
struct FakeGalderWindow final : IGalderDownloadWindow {
    RecordCount result = 0;
    bool outOfMemory = false;
    std::vector<double> asked; // port, e-mail column, limit, trace
    RecordCount runDownload(ILineSink& file, const GalderDownload& download) override {
        if (outOfMemory)
            throw std::bad_alloc();
        asked = {double(download.portNumber), double(download.emailOption), download.maxRecords,
                 double(download.trace)};
        for (RecordCount i = 0; i < result; ++i)
            file.writeLine("line" + std::to_string(i));
        return result;
    }
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
    FakeGalderWindow galder;
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
    for (const char* tag : {"kestle", "", "ivro2"}) {
        EXPECT_EQ(run(tag, dir.path(), "book.csv"),
                  std::string("-2|Error Occurred|Error occurred in DoExport\r\nUnknown source '") +
                      tag + "'");
        EXPECT_EQ(output(), std::string(5000, 'x')) << tag;
    }
    EXPECT_TRUE(galder.asked.empty());
    galder.result = 2;
    settings.MaxDeviceRecords = 9;
    settings.DebugEnabled = true;
    EXPECT_EQ(run("GALDER", dir.path(), "book.csv"), "2"); // replaced, not appended to
    EXPECT_EQ(galder.asked, (std::vector<double>{7, 2, 9, 1}));
    EXPECT_EQ(output(), kHeaderLine + "line0\r\nline1\r\n");
    galder.result = -2; // a source's failure comes back unchanged
    EXPECT_EQ(run("Galder", dir.path(), "book.csv"), "-2");
}

TEST_F(ExportDriverTest, FailuresShowTheirBoxAndKeepWhatWasWritten) {
    const std::string fileAccess = "-1|File Access Error|Could not open the file specified for "
                                   "writing\r\nPlease make sure you specified the correct "
                                   "directory and file name.";
    const std::string failed = "-2|Error Occurred|Error occurred in DoExport\r\n";
    galder.result = 3;
    EXPECT_EQ(run("galder", dir.file("missing"), "book.csv"), fileAccess);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
    form.ivroFile = dir.write("book.adr", "the backup"); // never emptied by its own export
    EXPECT_EQ(run("IVRO", dir.file("."), "book.adr"), fileAccess);
    EXPECT_EQ(test::ReadFile(form.ivroFile), "the backup");
    // Without a selected port the download would wait for ever.
    EXPECT_EQ(run("galder", dir.path(), "book.csv", -1), failed + "No serial port is selected");
    EXPECT_EQ(output(), kHeaderLine);
    galder.outOfMemory = true;
    EXPECT_EQ(run("galder", dir.path(), "book.csv"), failed + "Out of memory");
}

#ifndef _WIN32
// A full disk may show only when the buffered lines are flushed (Windows has
// no device that is always full).
TEST_F(ExportDriverTest, AFullDiskIsAnError) {
    galder.result = 3;
    EXPECT_EQ(run("galder", "/dev", "full"),
              "-2|Error Occurred|Error occurred in DoExport\r\nDisk full: /dev/full");
}
#endif

} // namespace
} // namespace addrix
