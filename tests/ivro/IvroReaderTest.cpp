#include "ivro/IvroReader.h"

#include "export/ContactRecord.h"
#include "export/IWizardForm.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace addrix {
namespace {

using test::FakeMessageBox;
using test::ReadFile;
using test::SplitCommas;
using test::SplitCrLf;
using test::TempDir;

const std::string kHeader = "#Record\tName\tAddress";

// An entry line with `count` fields; `set` overrides fields by 1-based number.
std::string Entry(std::initializer_list<std::pair<int, std::string>> set = {}, int count = 24) {
    std::vector<std::string> fields(static_cast<std::size_t>(count));
    fields[0] = "1";
    fields[2] = "0";
    for (const auto& [number, text] : set)
        fields[static_cast<std::size_t>(number - 1)] = text;
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i)
        line += (i ? "\t" : "") + fields[i];
    return line;
}

std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

class IvroReaderTest : public ::testing::Test {
protected:
    TempDir dir;
    FormValues form;
    Settings settings;
    FakeMessageBox messages;
    ExportContext context{messages, settings, nullptr};

    void SetUp() override {
        form.dir = dir.path();
        form.fileName = "out.csv";
        settings.MaxDeviceRecords = 250;
    }

    RecordCount exportFile(const std::string& content) {
        form.ivroFile = dir.write("book.adr", content);
        return DoExport("ivro", form, context);
    }
    // The output's contact lines, split into fields.
    std::vector<std::vector<std::string>> contacts() const {
        auto lines = SplitCrLf(ReadFile(dir.file("out.csv")));
        EXPECT_FALSE(lines.empty());
        EXPECT_EQ(lines.at(0), kNorvikCsvHeader);
        std::vector<std::vector<std::string>> rows;
        for (std::size_t i = 1; i < lines.size(); ++i)
            rows.push_back(SplitCommas(lines[i]));
        return rows;
    }
};

TEST_F(IvroReaderTest, MapsFieldsToColumns) {
    const std::string line = Entry({{4, "Ann"},
                                    {5, "Lee"},
                                    {6, "ignored6"},
                                    {7, "555 1234"},
                                    {8, "ann@home"},
                                    {9, "ann@work"},
                                    {12, "(555) 111.2222"},
                                    {13, "555-3333"},
                                    {14, "555 4444"},
                                    {15, "Acme"},
                                    {16, "1 Main St"},
                                    {17, "Springfield"},
                                    {18, "IL"},
                                    {19, "62701"},
                                    {20, "ignored20"},
                                    {21, "note"}});
    EXPECT_EQ(exportFile(Lines({kHeader, line})), 1);
    const auto rows = contacts();
    ASSERT_EQ(rows.size(), 1u);
    const std::vector<std::string> expected = {"1",           "0",        "0",
                                               "Ann",         "Lee",      "5551234",
                                               "ann@work",    "ann@home", "1",
                                               ";",           ";",        ";",
                                               "Acme",        "",         "(555)111-2222",
                                               "555-3333",    "5554444",  "1 Main St",
                                               "Springfield", "IL",       "62701",
                                               "note"};
    EXPECT_EQ(rows[0], expected);
    EXPECT_TRUE(messages.shown.empty());
}

// The home e-mail must not end up in the telephone column as junk.
TEST_F(IvroReaderTest, HomePhoneStaysEmpty) {
    EXPECT_EQ(exportFile(Lines({kHeader, Entry({{8, "x-1@a.b"}})})), 1);
    EXPECT_EQ(contacts().at(0).at(13), "");
}

TEST_F(IvroReaderTest, NumbersEntriesFromOneAndZero) {
    EXPECT_EQ(exportFile(Lines({kHeader, Entry(), Entry()})), 2);
    const auto rows = contacts();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], "1");
    EXPECT_EQ(rows[0][1], "0");
    EXPECT_EQ(rows[1][0], "2");
    EXPECT_EQ(rows[1][1], "1");
}

TEST_F(IvroReaderTest, HeaderIsCaseSensitiveAndRequired) {
    const std::string notHeaders[] = {"#record\tName\tAddress", "#Record\tName\taddress",
                                      " #Record Address", "Address #Record"};
    for (const auto& header : notHeaders) {
        EXPECT_EQ(exportFile(Lines({header, Entry()})), 0) << header;
        EXPECT_TRUE(contacts().empty()) << header;
    }
    EXPECT_EQ(exportFile(Lines({Entry(), Entry()})), 0);
    EXPECT_EQ(exportFile(""), 0);
}

TEST_F(IvroReaderTest, LinesBeforeTheHeaderAndShortLinesAreSkipped) {
    const std::string content = Lines({Entry({{4, "Before"}}), "junk", "#RecordAddress",
                                       Entry({{4, "Short"}}, 23), "", Entry({{4, "Long"}}, 30)});
    EXPECT_EQ(exportFile(content), 1);
    EXPECT_EQ(contacts().at(0).at(3), "Long");
}

TEST_F(IvroReaderTest, LineEndsAtCrOrCrLfAndLoneLfStaysInTheText) {
    const std::string content = kHeader + "\r" + Entry({{21, "one\ntwo"}}) + "\r\n" +
                                Entry({{4, "Last"}}); // no line end at all
    EXPECT_EQ(exportFile(content), 2);
    const auto rows = contacts();
    EXPECT_EQ(rows.at(0).at(21), "one two");
    EXPECT_EQ(rows.at(1).at(3), "Last");
}

TEST_F(IvroReaderTest, BadNumbersEndTheExportKeepingEarlierContacts) {
    const std::pair<std::string, std::string> cases[] = {
        {Entry({{1, "abc"}}), "Type mismatch"}, {Entry({{1, ""}}), "Type mismatch"},
        {Entry({{1, "40000"}}), "Overflow"},    {Entry({{3, "256"}}), "Overflow"},
        {Entry({{3, "x"}}), "Type mismatch"},   {Entry({{3, "-1"}}), "Overflow"}};
    for (const auto& [bad, description] : cases) {
        messages.shown.clear();
        EXPECT_EQ(exportFile(Lines({kHeader, Entry({{4, "Kept"}}), bad, Entry()})), kExportFailed);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].caption, "Error Occurred");
        EXPECT_EQ(messages.shown[0].text, "Error occurred in DoExport\r\n" + description);
        const auto rows = contacts();
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][3], "Kept");
    }
}

TEST_F(IvroReaderTest, ConvertibleNumbersAreAccepted) {
    EXPECT_EQ(exportFile(Lines(
                  {kHeader, Entry({{1, " -12.5 "}, {3, "255"}}), Entry({{1, "+3"}, {3, "0.5"}})})),
              2);
}

struct LimitCase {
    double limit;
    int entries;
    RecordCount written;
    bool notice;
};

TEST_F(IvroReaderTest, RecordLimit) {
    const LimitCase cases[] = {{3, 4, 3, true},  {3, 3, 3, false},   {0, 1, 0, true},
                               {0, 0, 0, false}, {2.5, 4, 4, false}, {-1, 2, 2, false}};
    for (const auto& c : cases) {
        messages.shown.clear();
        settings.MaxDeviceRecords = c.limit;
        std::string content = Lines({kHeader});
        for (int i = 0; i < c.entries; ++i)
            content += Entry() + "\r\n";
        EXPECT_EQ(exportFile(content), c.written) << c.limit << "/" << c.entries;
        EXPECT_EQ(contacts().size(), static_cast<std::size_t>(c.written));
        ASSERT_EQ(messages.shown.size(), c.notice ? 1u : 0u) << c.limit << "/" << c.entries;
        if (c.notice) {
            EXPECT_EQ(messages.shown[0].caption, "Addrix");
            EXPECT_EQ(messages.shown[0].icon, MsgIcon::None);
            EXPECT_EQ(messages.shown[0].text,
                      "You have exceeded the maximum number of records allowed by the "
                      "device.\r\nAdditional records will not be exported.");
        }
    }
}

// The notice comes only for one more valid entry after the limit.
TEST_F(IvroReaderTest, InvalidLinesAfterTheLimitGiveNoNotice) {
    settings.MaxDeviceRecords = 1;
    EXPECT_EQ(exportFile(Lines({kHeader, Entry(), Entry({}, 5), "", "x\ty"})), 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(IvroReaderTest, MissingOrUnreadableBackupIsReported) {
    const std::string paths[] = {dir.file("nothing.adr"), dir.path()};
    for (const auto& path : paths) {
        messages.shown.clear();
        form.ivroFile = path;
        EXPECT_EQ(DoExport("ivro", form, context), kExportFailed) << path;
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].caption, "Error Occurred");
        EXPECT_NE(messages.shown[0].text.find(path), std::string::npos) << messages.shown[0].text;
        EXPECT_TRUE(contacts().empty());
    }
}

TEST_F(IvroReaderTest, BinaryJunkAndNulBytesPassWithoutHarm) {
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk.push_back(static_cast<char>((i * 131 + 7) % 256));
    std::string noteJunk;
    for (char c : junk)
        if (c != '\r' && c != '\t' && c != ',' && noteJunk.size() < 60)
            noteJunk.push_back(c);
    const std::string nul("N\0L", 3);
    const std::string content =
        junk + "\r\n" + kHeader + "\r\n" + Entry({{4, nul}, {21, noteJunk}}) + "\r\n";
    EXPECT_EQ(exportFile(content), 1);
    const auto rows = contacts();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][3], nul);
    EXPECT_EQ(rows[0].size(), 22u);
}

TEST_F(IvroReaderTest, HugeLineIsHandled) {
    const std::string big(10 * 1024 * 1024, 'n');
    EXPECT_EQ(exportFile(Lines({kHeader, Entry({{21, big}, {4, "Big"}})})), 1);
    const auto rows = contacts();
    EXPECT_EQ(rows.at(0).at(3), "Big");
    EXPECT_EQ(rows.at(0).at(21), std::string(72, 'n'));
}

TEST_F(IvroReaderTest, WriteFailureEndsTheExport) {
    form.ivroFile = dir.write("book.adr", Lines({kHeader, Entry(), Entry()}));
    test::FailingSink sink(1);
    EXPECT_THROW(ReadIvroBackup(sink, form, context), FileError);
    EXPECT_EQ(sink.lines.size(), 1u);
}

} // namespace
} // namespace addrix
