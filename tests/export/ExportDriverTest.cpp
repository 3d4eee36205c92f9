#include "export/ExportDriver.h"

#include "export/ContactRecord.h"
#include "export/IWizardForm.h"
#include "galder/GalderExportJob.h"
#include "platform/PathUtil.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace addrix {
namespace {

using test::FakeMessageBox;
using test::ReadFile;
using test::SplitCrLf;
using test::TempDir;

const std::string kSep(1, kPathSeparator);

TEST(OutputPathTest, AddsOneSeparator) {
    EXPECT_EQ(OutputPath("out", "book.csv"), "out" + kSep + "book.csv");
    EXPECT_EQ(OutputPath("out" + kSep, "book.csv"), "out" + kSep + "book.csv");
    EXPECT_EQ(OutputPath(kSep, "book.csv"), kSep + "book.csv");
    EXPECT_EQ(OutputPath("", "book.csv"), kSep + "book.csv");
    EXPECT_EQ(OutputPath("out", ""), "out" + kSep);
}

// Records the output file it is given and writes a fixed number of contacts.
class FakeGalderWindow final : public IGalderDownloadWindow {
public:
    RecordCount result = 0;
    int calls = 0;
    int port = 0;
    int email = -5;
    RecordCount runDownload(ILineSink& file, std::int16_t portNumber,
                            std::int16_t emailOption) override {
        ++calls;
        port = portNumber;
        email = emailOption;
        for (RecordCount i = 0; i < result; ++i)
            file.writeLine("line" + std::to_string(i));
        return result;
    }
};

class ExportDriverTest : public ::testing::Test {
protected:
    TempDir dir;
    FormValues form;
    Settings settings;
    FakeMessageBox messages;
    FakeGalderWindow galder;
    ExportContext context{messages, settings, &galder};

    void SetUp() override {
        form.dir = dir.path();
        form.fileName = "book.csv";
        form.ports = {3, 7};
        form.portIndex = 1;
        form.emailIndex = 1;
        settings.MaxDeviceRecords = 250;
    }
    std::string output() const { return ReadFile(dir.file("book.csv")); }
};

TEST_F(ExportDriverTest, UnknownTagWritesHeaderOnly) {
    for (const char* tag : {"kestle", "", "ivro2"}) {
        EXPECT_EQ(DoExport(tag, form, context), 0) << tag;
        EXPECT_EQ(output(), std::string(kNorvikCsvHeader) + "\r\n") << tag;
    }
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(galder.calls, 0);
}

TEST_F(ExportDriverTest, GalderTagIsCaseInsensitiveAndGetsPortAndEmail) {
    galder.result = 2;
    EXPECT_EQ(DoExport("GALDER", form, context), 2);
    EXPECT_EQ(galder.calls, 1);
    EXPECT_EQ(galder.port, 7);
    EXPECT_EQ(galder.email, 1);
    const auto lines = SplitCrLf(output());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], kNorvikCsvHeader);
    EXPECT_EQ(lines[2], "line1");
}

TEST_F(ExportDriverTest, NegativeSourceResultIsReturnedUnchanged) {
    galder.result = -2;
    EXPECT_EQ(DoExport("Galder", form, context), -2);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ExportDriverTest, GalderWithoutSelectedPortFailsInsteadOfWaiting) {
    form.portIndex = -1;
    EXPECT_EQ(DoExport("galder", form, context), kExportFailed);
    EXPECT_EQ(galder.calls, 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Error Occurred");
}

TEST_F(ExportDriverTest, ExistingFileIsReplaced) {
    dir.write("book.csv", std::string(5000, 'x'));
    EXPECT_EQ(DoExport("none", form, context), 0);
    EXPECT_EQ(output(), std::string(kNorvikCsvHeader) + "\r\n");
}

TEST_F(ExportDriverTest, UnopenablePathShowsFileAccessError) {
    const std::pair<std::string, std::string> cases[] = {
        {dir.file("missing"), "book.csv"}, // folder that does not exist
        {dir.path(), ""},                  // empty file name names the folder
    };
    for (const auto& [folder, name] : cases) {
        messages.shown.clear();
        form.dir = folder;
        form.fileName = name;
        EXPECT_EQ(DoExport("ivro", form, context), kExportOpenFailed);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].caption, "File Access Error");
        EXPECT_EQ(messages.shown[0].text,
                  "Could not open the file specified for writing\r\nPlease make sure you "
                  "specified the correct directory and file name.");
        EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
}

TEST_F(ExportDriverTest, FullDiskIsAnErrorNotASuccess) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    form.dir = "/dev";
    form.fileName = "full";
    galder.result = 3;
    EXPECT_EQ(DoExport("galder", form, context), kExportFailed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Error Occurred");
    EXPECT_EQ(messages.shown[0].text.rfind("Error occurred in DoExport\r\nDisk full", 0), 0u)
        << messages.shown[0].text;
}

} // namespace
} // namespace addrix
