#include "galder/GalderRecord.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cerrno>

namespace addrix {
namespace {

struct BytesCase {
    const char* name;
    friend void PrintTo(const BytesCase& c, std::ostream* os) { *os << c.name; }
    std::string in;
    std::string cut; // CutAtFF
    std::string bcd; // DecodeBcd
};

class GalderBytes : public ::testing::TestWithParam<BytesCase> {};

TEST_P(GalderBytes, CutAtFFAndDecodeBcd) {
    EXPECT_EQ(CutAtFF(GetParam().in), GetParam().cut);
    EXPECT_EQ(DecodeBcd(GetParam().in), GetParam().bcd);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GalderBytes,
    ::testing::Values(
        BytesCase{"PhoneNumber", "\x55\x51\x23\x4F\xFF\xFF", "\x55\x51\x23\x4F", "5551234"},
        BytesCase{"OneDigit", "\x1F\xFF", "\x1F", "1"},
        BytesCase{"HighNibbleAVanishes", "\xA5", "\xA5", "5"},
        BytesCase{"NibblesBToEVanish", "\x90\x09\xBC\xDE", "\x90\x09\xBC\xDE", "9009"},
        BytesCase{"ControlBytesKept", "a\r\n\x01\xFF\x62", "a\r\n\x01", "61000162"},
        BytesCase{"NulKept", std::string("a\0b\xFF", 4), std::string("a\0b", 3), "610062"},
        BytesCase{"LeadingFF", "\xFF\x41", "", "41"}, BytesCase{"Empty", "", "", ""},
        BytesCase{"EveryDigit", "\x01\x23\x45\x67\x89", "\x01\x23\x45\x67\x89", "0123456789"}));

// Each field takes exactly its bytes in both layouts: the junk around it
// stays out, and an FF inside ends it.
struct FieldCase {
    const char* name;
    friend void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.name; }
    std::string GalderRecord::*field;
    bool number;
    std::size_t first1, last1, first4, last4; // 0: not in the layout
};

class GalderField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(GalderField, TakesExactlyItsBytes) {
    const FieldCase& c = GetParam();
    for (const int layout : {1, 4}) {
        const std::size_t first = layout == 1 ? c.first1 : c.first4;
        const std::size_t width = (layout == 1 ? c.last1 : c.last4) + 1 - first;
        std::string data(kGalderRecordDataSize, '\x37'); // "7" as text, "37" as digits
        if (first)
            data.replace(first - 1, width, std::string(width, '\x12'));
        GalderRecord record;
        record.*c.field = "stale";
        const auto decode = layout == 1 ? DecodeGalderRecordType1 : DecodeGalderRecordType4;
        decode(data, record);
        std::string whole;
        for (std::size_t i = 0; first && i < width; ++i)
            whole += c.number ? "12" : "\x12";
        EXPECT_EQ(record.*c.field, whole) << "layout " << layout;
        data[first] = '\xFF';
        decode(data, record);
        EXPECT_EQ(record.*c.field, whole.substr(0, c.number ? 2 : 1)) << "layout " << layout;
    }
}

using R = GalderRecord;
INSTANTIATE_TEST_SUITE_P(
    Cases, GalderField,
    ::testing::Values(FieldCase{"Name", &R::Name, false, 1, 20, 1, 20},
                      FieldCase{"SecondNumber", &R::SecondNumber, true, 26, 30, 0, 0},
                      FieldCase{"HomePhone", &R::HomePhone, true, 31, 40, 63, 72},
                      FieldCase{"WorkPhone", &R::WorkPhone, true, 41, 50, 73, 82},
                      FieldCase{"MobilePhone", &R::MobilePhone, true, 51, 60, 83, 92},
                      FieldCase{"Fax", &R::Fax, true, 61, 70, 93, 102},
                      FieldCase{"Email", &R::Email, false, 71, 110, 103, 167},
                      FieldCase{"WirelessAddress", &R::WirelessAddress, false, 111, 150, 168, 232},
                      FieldCase{"Note", &R::Note, false, 151, 255, 233, 254}));

struct LineCase {
    const char* name;
    friend void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }
    std::string fullName;
    std::string wireless;
    std::int16_t emailOption;
    std::string line;
};

class GalderLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(GalderLine, WritesTheRecordAsOneNorvikLine) {
    const LineCase& c = GetParam();
    GalderRecord record{c.fullName, "99",    "5551234",  "6135550100", "",
                        "1",        "a@b.c", c.wireless, "one\r\ntwo", 4};
    test::MemorySink sink;
    ASSERT_EQ(WriteGalderRecord(record, sink, c.emailOption), 0);
    EXPECT_EQ(sink.lines, std::vector<std::string>{c.line});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GalderLine,
    ::testing::Values(LineCase{"OtherOptionNoBlank", "Cher", "", 2,
                               "5,4,0,Cher,,,,,1,;,;,;,,5551234,6135550100,,1,,,,,one two"},
                      LineCase{
                          "NoOptionLeadingBlank", " Lead", "", -1,
                          "5,4,0,Unknown,Lead,,,,1,;,;,;,,5551234,6135550100,,1,,,,,one two"}));

// Takes every line but cannot push them to the disk.
class FlushFailingSink final : public ILineSink {
public:
    void writeLine(const std::string&) override {}
    void flush() override { throw FileError(DescribeFileError(ENOSPC, "flush")); }
};

TEST(GalderLine, AFailedWriteOrFlushIsANegativeResult) {
    test::FailingSink full(0);
    FlushFailingSink unflushed;
    EXPECT_LT(WriteGalderRecord(GalderRecord(), full, 0), 0);
    EXPECT_LT(WriteGalderRecord(GalderRecord(), unflushed, 0), 0);
}

} // namespace
} // namespace addrix
