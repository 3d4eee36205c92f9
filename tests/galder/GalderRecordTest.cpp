#include "galder/GalderRecord.h"

#include "support/GalderFakes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace addrix {
namespace {

using test::FailingSink;
using test::GalderRecordData;
using test::GalderRecordFields;
using test::MemorySink;
using test::SplitCommas;

// CSV columns, counted from 0.
enum Column {
    kContactId = 0,
    kEntryIndex = 1,
    kFirstName = 3,
    kLastName = 4,
    kWireless = 5,
    kWorkEmail = 6,
    kHomeEmail = 7,
    kDefaultAddress = 8,
    kHomePhone = 13,
    kWorkPhone = 14,
    kMobilePhone = 15,
    kFax = 16,
    kNote = 21,
};

struct TextCase {
    std::string in;
    std::string out;
};

class CutAtFFTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(CutAtFFTest, KeepsWhatPrecedesTheFirstFF) {
    EXPECT_EQ(CutAtFF(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CutAtFFTest,
    ::testing::Values(TextCase{"Ann\xFF\xFF", "Ann"}, TextCase{"Ann Lee", "Ann Lee"},
                      TextCase{"\xFF"
                               "Ann",
                               ""},
                      TextCase{"", ""},
                      TextCase{"a\r\n\x01\xFF"
                               "b\xFF",
                               "a\r\n\x01"},
                      TextCase{std::string("a\0b", 3) + "\xFF", std::string("a\0b", 3)}));

class DecodeBcdTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(DecodeBcdTest, GivesTheDigitsOfEveryNibble) {
    EXPECT_EQ(DecodeBcd(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Numbers, DecodeBcdTest,
                         ::testing::Values(TextCase{"\x55\x51\x23\x4F", "5551234"},
                                           TextCase{"\x1F", "1"}, TextCase{"\xA5", "5"},
                                           TextCase{"\x90\x09", "9009"}, TextCase{"\xBC\xDE", ""},
                                           TextCase{"", ""},
                                           TextCase{std::string("\x00\x01", 2), "0001"},
                                           TextCase{"\xFF\xFF", "" /* filler only */}));

TEST(BcdDigitTest, DigitsForZeroToNineAndNothingElse) {
    for (int n = -1; n <= 16; ++n) {
        const std::string expected = n >= 0 && n <= 9 ? std::string(1, '0' + n) : "";
        EXPECT_EQ(BcdDigit(n), expected) << n;
    }
}

class DecodeLayoutTest : public ::testing::TestWithParam<int> {
protected:
    void decode(const std::string& data, GalderRecord& record) const {
        if (GetParam() == 1)
            DecodeGalderRecordType1(data, record);
        else
            DecodeGalderRecordType4(data, record);
    }
};

TEST_P(DecodeLayoutTest, EveryFieldFromItsPlace) {
    GalderRecordFields fields;
    fields.name = "Ann Lee";
    fields.secondNumber = "42";
    fields.homePhone = "5551234";
    fields.workPhone = "6135550100";
    fields.mobilePhone = "17";
    fields.fax = "1";
    fields.email = "ann@example.com";
    fields.wirelessAddress = "12 34 56";
    fields.note = "line one\r\nline two\x01";
    // Bytes outside the fields are junk and must be ignored.
    const std::string data = GalderRecordData(GetParam(), fields, 'Z');

    GalderRecord record;
    record.Index = 7;
    record.SecondNumber = "stale";
    decode(data, record);

    EXPECT_EQ(record.Name, "Ann Lee");
    EXPECT_EQ(record.SecondNumber, GetParam() == 1 ? "42" : "");
    EXPECT_EQ(record.HomePhone, "5551234");
    EXPECT_EQ(record.WorkPhone, "6135550100");
    EXPECT_EQ(record.MobilePhone, "17");
    EXPECT_EQ(record.Fax, "1");
    EXPECT_EQ(record.Email, "ann@example.com");
    EXPECT_EQ(record.WirelessAddress, "12 34 56");
    EXPECT_EQ(record.Note, "line one\r\nline two\x01");
    EXPECT_EQ(record.Index, 7);
}

TEST_P(DecodeLayoutTest, FullWidthFieldsEndAtTheirLastByte) {
    const bool one = GetParam() == 1;
    GalderRecordFields fields;
    fields.name = std::string(25, 'N');
    fields.secondNumber = std::string(12, '2');
    fields.homePhone = std::string(22, '3');
    fields.workPhone = std::string(22, '4');
    fields.mobilePhone = std::string(22, '5');
    fields.fax = std::string(22, '6');
    fields.email = std::string(70, 'e');
    fields.wirelessAddress = std::string(70, 'w');
    fields.note = std::string(200, 'n');
    // Junk right after every field must not be taken in.
    GalderRecord record;
    decode(GalderRecordData(GetParam(), fields, '\x77'), record);
    EXPECT_EQ(record.Name, std::string(20, 'N'));
    EXPECT_EQ(record.SecondNumber, one ? std::string(10, '2') : "");
    EXPECT_EQ(record.HomePhone, std::string(20, '3'));
    EXPECT_EQ(record.WorkPhone, std::string(20, '4'));
    EXPECT_EQ(record.MobilePhone, std::string(20, '5'));
    EXPECT_EQ(record.Fax, std::string(20, '6'));
    EXPECT_EQ(record.Email, std::string(one ? 40 : 65, 'e'));
    EXPECT_EQ(record.WirelessAddress, std::string(one ? 40 : 65, 'w'));
    EXPECT_EQ(record.Note, std::string(one ? 105 : 22, 'n'));
}

TEST_P(DecodeLayoutTest, ShortDataLeaveTheMissingFieldsEmpty) {
    GalderRecordFields fields;
    fields.name = "Bo";
    fields.note = "gone";
    const std::string data = GalderRecordData(GetParam(), fields).substr(0, 30);
    GalderRecord record;
    record.Note = "old";
    decode(data, record);
    EXPECT_EQ(record.Name, "Bo");
    EXPECT_EQ(record.Note, "");
    EXPECT_EQ(record.Email, "");
    decode("", record);
    EXPECT_EQ(record.Name, "");
}

INSTANTIATE_TEST_SUITE_P(Layouts, DecodeLayoutTest, ::testing::Values(1, 4));

struct EmailCase {
    std::int16_t option;
    std::string work;
    std::string home;
    std::string defaultAddress;
};

class EmailOptionTest : public ::testing::TestWithParam<EmailCase> {};

TEST_P(EmailOptionTest, EmailGoesToTheChosenColumn) {
    GalderRecord record;
    record.Name = "Ann";
    record.Email = "ann@example.com";
    MemorySink sink;
    ASSERT_EQ(WriteGalderRecord(record, sink, GetParam().option), 0);
    ASSERT_EQ(sink.lines.size(), 1u);
    const auto fields = SplitCommas(sink.lines[0]);
    ASSERT_EQ(fields.size(), 22u);
    EXPECT_EQ(fields[kWorkEmail], GetParam().work);
    EXPECT_EQ(fields[kHomeEmail], GetParam().home);
    EXPECT_EQ(fields[kDefaultAddress], GetParam().defaultAddress);
}

INSTANTIATE_TEST_SUITE_P(Options, EmailOptionTest,
                         ::testing::Values(EmailCase{0, "ann@example.com", "", "2"},
                                           EmailCase{1, "", "ann@example.com", "3"},
                                           EmailCase{2, "", "", "1"}, EmailCase{-1, "", "", "1"}));

struct NameCase {
    std::string name;
    std::string first;
    std::string last;
};

class NameSplitTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameSplitTest, SplitAtTheFirstBlank) {
    GalderRecord record;
    record.Name = GetParam().name;
    MemorySink sink;
    ASSERT_EQ(WriteGalderRecord(record, sink, 0), 0);
    const auto fields = SplitCommas(sink.lines.at(0));
    EXPECT_EQ(fields[kFirstName], GetParam().first);
    EXPECT_EQ(fields[kLastName], GetParam().last);
}

INSTANTIATE_TEST_SUITE_P(Names, NameSplitTest,
                         ::testing::Values(NameCase{"John Smith", "John", "Smith"},
                                           NameCase{"Mary Ann Lee", "Mary", "Ann Lee"},
                                           NameCase{"Cher", "Cher", ""},
                                           NameCase{"", "Unknown", ""},
                                           NameCase{" Lead", "Unknown", "Lead"},
                                           NameCase{"A\tB C", "A B", "C"}));

TEST(WriteGalderRecordTest, WritesTheWholeNorvikLine) {
    GalderRecord record;
    record.Name = "John Smith";
    record.SecondNumber = "99";
    record.HomePhone = "5551234";
    record.WorkPhone = "6135550100";
    record.Fax = "1";
    record.Email = "john@example.com";
    record.WirelessAddress = "12 34";
    record.Note = "line one\r\nline two";
    record.Index = 4;
    MemorySink sink;
    ASSERT_EQ(WriteGalderRecord(record, sink, 0), 0);
    ASSERT_EQ(sink.lines.size(), 1u);
    EXPECT_EQ(sink.lines[0], "5,4,0,John,Smith,1234,john@example.com,,1,;,;,;,,5551234,"
                             "6135550100,,1,,,,,line one line two");
}

// Accepts every line but cannot push them to the disk.
class FlushFailingSink final : public ILineSink {
public:
    std::vector<std::string> lines;
    void writeLine(const std::string& line) override { lines.push_back(line); }
    void flush() override { throw FileError(DescribeFileError(ENOSPC, "flush")); }
};

TEST(WriteGalderRecordTest, AFailedWriteOrFlushIsANegativeResult) {
    GalderRecord record;
    record.Name = "Ann";
    FailingSink full(0);
    EXPECT_LT(WriteGalderRecord(record, full, 0), 0);
    EXPECT_TRUE(full.lines.empty());

    FlushFailingSink unflushed;
    EXPECT_LT(WriteGalderRecord(record, unflushed, 0), 0);
}

} // namespace
} // namespace addrix
