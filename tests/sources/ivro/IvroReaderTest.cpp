#include "sources/ivro/IvroReader.h"

#include "contact/ChangeReport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace addrix {
namespace {

using Lines = std::vector<std::string>;

const std::string kHeader = "#Record\tName\tAddress\r\n";

// An entry line of `count` fields with first name `first`; `set` gives other
// fields by their 1-based number.
std::string Entry(const std::string& first = "", std::map<int, std::string> set = {},
                  int count = 24) {
    set.emplace(1, "1");
    set.emplace(3, "0");
    set.emplace(4, first);
    std::string line = set[1];
    for (int i = 2; i <= count; ++i)
        line += "\t" + set[i];
    return line + "\r\n";
}

// The line of a contact with only a first name.
std::string Contact(int number, const std::string& first) {
    return std::to_string(number) + "," + std::to_string(number - 1) + ",0," + first +
           ",,,,,1,;,;,;,,,,,,,,,,";
}

class IvroReaderTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::FakeMessageBox messages;

    // Reads `content` as the backup file (or the file at `input`): the count
    // (or "error: " and what was thrown), every box shown as
    // icon|caption|text, then the contact lines written.
    Lines run(const std::string& content, double limit = 250, const std::string& input = "") {
        const std::string backup = input.empty() ? dir.write("book.adr", content) : input;
        messages.shown.clear();
        test::MemorySink out;
        Lines result;
        try {
            result = {std::to_string(ReadIvroBackup(out, backup, limit, messages))};
        } catch (const std::exception& error) {
            result = {std::string("error: ") + error.what()};
        }
        for (const auto& shown : messages.shown)
            result.push_back(std::to_string(static_cast<int>(shown.icon)) + "|" + shown.caption +
                             "|" + shown.text);
        result.insert(result.end(), out.lines.begin(), out.lines.end());
        return result;
    }
};

TEST_F(IvroReaderTest, MapsTheFieldsAndNumbersTheContacts) {
    std::map<int, std::string> all = {
        {5, "Lee"},  {7, "555 12"}, {8, "ann.1@home"}, {9, "w@x"},     {12, "(555) 1.2"},
        {13, "5-3"}, {14, "5 4"},   {15, "Acme"},      {16, "1 Main"}, {17, "Springfield"},
        {18, "IL"},  {19, "62701"}, {21, "note"}};
    for (const int unused : {2, 6, 10, 11, 20, 22, 23, 24})
        all[unused] = "x" + std::to_string(unused);
    EXPECT_EQ(run(kHeader + Entry("Ann", all) + Entry("Bob", {}, 30)),
              (Lines{"2",
                     "1,0,0,Ann,Lee,55512,w@x,ann.1@home,1,;,;,;,Acme,,(555)1-2,5-3,54,1 Main,"
                     "Springfield,IL,62701,note",
                     Contact(2, "Bob")}));
}

// A backup without a single CR has LF line ends; without a header it holds
// no address book, and the user is told so.
TEST_F(IvroReaderTest, OnlyEntryLinesAfterTheHeaderCount) {
    const Lines none = {"0", "1|Error Occurred|The file holds no Ivro address book (no header "
                             "line was found):\r\n" +
                                 dir.file("book.adr")};
    EXPECT_EQ(run("#record\tAddress\r\n#Record\taddress\r\n #Record Address\r\n" + Entry("A")),
              none);
    // With a CR in the file, an LF stays inside the line: the entry is part of the header.
    EXPECT_EQ(run("#Record\tAddress\n" + Entry("A")), Lines{"0"});
    std::string lf = Entry("A");
    lf.replace(lf.size() - 2, 2, "\n");
    EXPECT_EQ(run("#Record\tName\tAddress\n" + lf + lf),
              (Lines{"2", Contact(1, "A"), Contact(2, "A")}));
    std::string last = Entry("Last");
    last.resize(last.size() - 2); // no line end at all
    EXPECT_EQ(run(Entry("Before") + "junk\r#RecordAddress\r\n" + Entry("Short", {}, 23) + "\r\n" +
                  "\t\t\r" + Entry("A", {{21, "one\ntwo"}}) + last),
              (Lines{"2", Contact(1, "A") + "one two", Contact(2, "Last")}));
}

TEST_F(IvroReaderTest, BadNumbersEndTheExportKeepingEarlierContactsAndClosingTheFiles) {
    const std::pair<std::map<int, std::string>, std::string> cases[] = {
        {{{1, "abc"}}, "Type mismatch\r\nLine 3, field 1 of "},
        {{{3, "256"}}, "Overflow\r\nLine 3, field 3 of "}};
#ifdef __linux__
    const auto openBefore = test::EntryCount("/proc/self/fd"); // the files this process holds
#endif
    for (const auto& [bad, description] : cases)
        EXPECT_EQ(run(kHeader + Entry("Kept") + Entry("Bad", bad) + Entry("After")),
                  (Lines{"error: " + description + dir.file("book.adr"), Contact(1, "Kept")}));
#ifdef __linux__
    EXPECT_EQ(test::EntryCount("/proc/self/fd"), openBefore);
#endif
    EXPECT_EQ(run(kHeader + Entry("N", {{1, " -12.5 "}, {3, "255"}}) + Entry("P", {{3, "+.5"}}))[0],
              "2");
}

// The limit stops the export with one notice, only when one more entry comes:
// lines that are no entries give none, and a limit no count equals never stops it.
TEST_F(IvroReaderTest, StopsAtTheRecordLimitWithOneNotice) {
    const std::string notice = "0|Addrix|You have exceeded the maximum number of records allowed "
                               "by the device.\r\nAdditional records will not be exported.";
    const std::string two = kHeader + Entry("P") + Entry("Q") + Entry("", {}, 5) + "\r\n";
    const Lines both = {"2", Contact(1, "P"), Contact(2, "Q")};
    EXPECT_EQ(run(two, 2), both);
    EXPECT_EQ(run(two, -1), both);
    EXPECT_EQ(run(two, 1), (Lines{"1", notice, Contact(1, "P")}));
    EXPECT_EQ(run(kHeader + "\t\t\r\n", 0), Lines{"0"});
}

TEST_F(IvroReaderTest, AFolderOrJunkBeforeTheHeader) {
    EXPECT_EQ(run("", 250, dir.path()), (Lines{"error: Path/File access error: " + dir.path()}));
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk.push_back(static_cast<char>((i * 131 + 7) % 256));
    const std::string nul("N\0L", 3);
    EXPECT_EQ(run(junk + "\r\n" + kHeader + Entry(nul)), (Lines{"1", Contact(1, nul)}));
}

// Lines longer than the read buffer of a megabyte, and words and line ends
// across its edge, read as short lines are.
TEST_F(IvroReaderTest, LinesOfAnyLengthAndAcrossTheReadBuffer) {
    const std::size_t mb = 1 << 20;
    const std::size_t bare = Entry("C").size() - 2;
    for (const std::size_t shift : {0, 3, 4, 5}) {
        const std::string crAtEdge(mb + 3 - shift - kHeader.size() - bare, 'n');
        EXPECT_EQ(run(kHeader + Entry("C", {{21, crAtEdge}}) + Entry("D")),
                  (Lines{"2", Contact(1, "C") + std::string(72, 'n'), Contact(2, "D")}))
            << shift;
        EXPECT_EQ(run("#Record" + std::string(mb - 4 - shift, 'y') + "Address\r\n" + Entry("E")),
                  (Lines{"1", Contact(1, "E")}))
            << shift;
    }
    const std::string blanks(2 * mb, ' ');
    EXPECT_EQ(
        run(kHeader + Entry("S", {{21, std::string(3 * mb, 'n')}}, 23) +
            Entry("B", {{1, blanks + "0007" + blanks}, {3, "0" + blanks}, {21, blanks + "x"}})),
        (Lines{"1", Contact(1, "B") + "x"}));
}

TEST_F(IvroReaderTest, WriteFailureEndsTheReadingAndKeepsTheLinesWritten) {
    const std::string backup = dir.write("book.adr", kHeader + Entry() + Entry());
    test::FailingSink sink(1);
    EXPECT_THROW(ReadIvroBackup(sink, backup, 250, messages), FileError);
    EXPECT_EQ(sink.lines.size(), 1u);
}

// The reader adds the line of each entry, the lines skipped and the entries
// over the limit to what the writer tells of each column; a field of a line
// longer than the read buffer is reported as it was read, though the buffer
// has moved on since.
TEST_F(IvroReaderTest, ReportsWhatTheNorvikColumnsChange) {
    const std::string backup =
        dir.write("book.adr", "junk\r\n" + kHeader + "short\tline\r\n" +
                                  Entry("Long", {{5, " Lee,"}, {21, std::string(3 << 20, 'n')}}) +
                                  Entry("Over"));
    test::MemorySink out;
    test::ReportRows report;
    EXPECT_EQ(ReadIvroBackup(out, backup, 1, messages, &report), 1);
    EXPECT_EQ(report.lines,
              (Lines{"\"ivro\",\"3\",\"\",\"\",\"\",\"skipped\",\"short\tline\",\"\"",
                     R"("ivro","4","1","Long Lee ","LAST_NAME","changed"," Lee,","Lee ")",
                     R"("ivro","4","1","Long Lee ","NOTE","shortened",")" + std::string(1024, 'n') +
                         "\",\"" + std::string(72, 'n') + "\"",
                     R"("ivro","5","","Over ","","over-limit","","")"}));
    // A lost line end joins two entries: the fields past the first's last are
    // not written, and the report says so.
    const std::string joined = Entry("Ann");
    const std::string backup2 = dir.write(
        "joined.adr", kHeader + joined.substr(0, joined.size() - 2) + "\n" + Entry("Bob"));
    report.lines.clear();
    EXPECT_EQ(ReadIvroBackup(out, backup2, 250, messages, &report), 1);
    EXPECT_EQ(report.lines,
              (Lines{"\"ivro\",\"2\",\"\",\"Ann \",\"\",\"shortened\",\"\n1\t\t0\tBob" +
                     std::string(20, '\t') + "\"" + R"(,"")"}));
}

} // namespace
} // namespace addrix
