#include "platform/NumberText.h"

#include <gtest/gtest.h>

namespace addrix {
namespace {

TEST(NumberTextTest, LeadingNumberAndPlainDecimalText) {
    const std::pair<const char*, double> values[] = {
        {"  1000", 1000}, {"-1", -1},     {"+3", 3}, {"12abc", 12}, {"abc", 0}, {"", 0},
        {".5x", 0.5},     {"1.2.3", 1.2}, {"-", 0},  {"1e3", 1},    {"\t7", 7}, {"0x10", 0}};
    for (const auto& [text, value] : values)
        EXPECT_DOUBLE_EQ(NumericValue(text), value) << '"' << text << '"';
    const std::pair<double, const char*> texts[] = {
        {250, "250"}, {0, "0"}, {-1, "-1"}, {2.5, "2.5"}, {0.1 + 0.2, "0.3"}, {1e20, "1E+20"}};
    for (const auto& [value, text] : texts)
        EXPECT_EQ(FormatNumber(value), text);
}

template <typename Convert> std::string Result(Convert convert) {
    try {
        return std::to_string(convert());
    } catch (const ConversionError& error) {
        return error.what();
    }
}

TEST(NumberTextTest, FieldConversionsRoundHalfToEvenAndReportFailures) {
    const std::string overflow = "Overflow";
    const std::string mismatch = "Type mismatch";
    const std::string many(5000, '1');
    // clang-format off
    const std::string cases[][3] = { // text, 16-bit result, byte result
        {" 42 ", "42", "42"}, {"+7", "7", "7"}, {"1.5", "2", "2"}, {"2.5", "2", "2"},
        {"-2.5", "-2", overflow}, {"-0.4", "0", "0"}, {"1e2", "100", "100"},
        {"-32768", "-32768", overflow}, {"32767.4", "32767", overflow},
        {"32767.5", overflow, overflow}, {"-32769", overflow, overflow},
        {"255.5", "256", overflow}, {"254.5", "254", "254"}, {"1e400", overflow, overflow},
        {"", mismatch, mismatch}, {"   ", mismatch, mismatch}, {"12abc", mismatch, mismatch},
        {"1 2", mismatch, mismatch}, {"-", mismatch, mismatch},
        // Only what the value needs is kept of a long field.
        {"-" + std::string(5000, '0') + "7\t", "-7", overflow}, {many, overflow, overflow},
        {many + "x", mismatch, mismatch}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(Result([&] { return TextToInt16(c[0]); }), c[1]) << '"' << c[0] << '"';
        EXPECT_EQ(Result([&] { return TextToByte(c[0]); }), c[2]) << '"' << c[0] << '"';
        // A field handed over in two pieces, cut anywhere, converts the same.
        for (std::size_t cut = 0; cut <= c[0].size() && cut < 8; ++cut) {
            NumberField field;
            field.add(std::string_view(c[0]).substr(0, cut));
            field.add(std::string_view(c[0]).substr(cut));
            EXPECT_EQ(Result([&] { return field.toInt16(); }), c[1]) << '"' << c[0] << '"' << cut;
            EXPECT_EQ(Result([&] { return field.toByte(); }), c[2]) << '"' << c[0] << '"' << cut;
        }
    }
}

} // namespace
} // namespace addrix
