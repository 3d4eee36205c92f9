#include "galder/GalderRecord.h"

#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <tuple>

namespace addrix {
namespace {

TEST(GalderBytes, CutAtFFAndDecodeBcd) {
    // Bytes, CutAtFF, DecodeBcd.
    using Case = std::tuple<std::string, std::string, std::string>;
    const Case cases[] = {
        {"\x55\x51\x23\x4F\xFF\xFF", "\x55\x51\x23\x4F", "5551234"},
        {"\xA5\x90\x09\xBC\xDE", "\xA5\x90\x09\xBC\xDE", "59009"}, // nibbles A to E vanish
        {std::string("a\r\n\0\x01\xFF\x62", 7), std::string("a\r\n\0\x01", 5), "6100000162"},
        {"\xFF\x41", "", "41"},
        {"", "", ""},
        {"\x01\x23\x45\x67\x89", "\x01\x23\x45\x67\x89", "0123456789"}};
    for (const auto& [in, cut, bcd] : cases) {
        EXPECT_EQ(CutAtFF(in), cut);
        EXPECT_EQ(DecodeBcd(in), bcd);
    }
}

// Each field takes exactly its bytes in both layouts: the junk around it
// stays out, and an FF inside ends it.
TEST(GalderField, TakesExactlyItsBytes) {
    using R = GalderRecord;
    // Field, whether it holds digits, first and last byte in layout 1 and in
    // layout 4 (0: not in the layout).
    using Case =
        std::tuple<std::string R::*, bool, std::size_t, std::size_t, std::size_t, std::size_t>;
    const Case cases[] = {
        {&R::Name, false, 1, 20, 1, 20},         {&R::SecondNumber, true, 26, 30, 0, 0},
        {&R::HomePhone, true, 31, 40, 63, 72},   {&R::WorkPhone, true, 41, 50, 73, 82},
        {&R::MobilePhone, true, 51, 60, 83, 92}, {&R::Fax, true, 61, 70, 93, 102},
        {&R::Email, false, 71, 110, 103, 167},   {&R::WirelessAddress, false, 111, 150, 168, 232},
        {&R::Note, false, 151, 255, 233, 254}};
    for (const auto& [field, number, first1, last1, first4, last4] : cases) {
        for (const int layout : {1, 4}) {
            const std::size_t first = layout == 1 ? first1 : first4;
            const std::size_t width = (layout == 1 ? last1 : last4) + 1 - first;
            std::string data(kGalderRecordDataSize, '\x37'); // "7" as text, "37" as digits
            if (first)
                data.replace(first - 1, width, std::string(width, '\x12'));
            GalderRecord record;
            record.*field = "stale";
            const auto decode = layout == 1 ? DecodeGalderRecordType1 : DecodeGalderRecordType4;
            decode(data, record);
            std::string whole;
            for (std::size_t i = 0; first && i < width; ++i)
                whole += number ? "12" : "\x12";
            EXPECT_EQ(record.*field, whole) << "layout " << layout << ", byte " << first;
            data[first] = '\xFF';
            decode(data, record);
            EXPECT_EQ(record.*field, whole.substr(0, number ? 2 : 1))
                << "layout " << layout << ", byte " << first;
        }
    }
}

// Takes every line but cannot push them to the disk.
class FlushFailingSink final : public ILineSink {
public:
    void writeLine(const std::string&) override {}
    void flush() override { throw FileError(DescribeFileError(ENOSPC, "flush")); }
};

// A full disk may show only when the line is flushed.
TEST(GalderLine, AFailedFlushIsANegativeResult) {
    FlushFailingSink unflushed;
    EXPECT_LT(WriteGalderRecord(GalderRecord(), unflushed, 0), 0);
}

} // namespace
} // namespace addrix
