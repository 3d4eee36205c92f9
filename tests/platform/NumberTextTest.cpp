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

template <typename Convert> std::string Result(Convert convert, const char* text) {
    try {
        return std::to_string(convert(text));
    } catch (const ConversionError& error) {
        return error.what();
    }
}

TEST(NumberTextTest, FieldConversionsRoundHalfToEvenAndReportFailures) {
    const char* const overflow = "Overflow";
    const char* const mismatch = "Type mismatch";
    // clang-format off
    const char* const cases[][3] = { // text, 16-bit result, byte result
        {" 42 ", "42", "42"}, {"+7", "7", "7"}, {"1.5", "2", "2"}, {"2.5", "2", "2"},
        {"-2.5", "-2", overflow}, {"-0.4", "0", "0"}, {"1e2", "100", "100"},
        {"-32768", "-32768", overflow}, {"32767.4", "32767", overflow},
        {"32767.5", overflow, overflow}, {"-32769", overflow, overflow},
        {"255.5", "256", overflow}, {"254.5", "254", "254"}, {"1e400", overflow, overflow},
        {"", mismatch, mismatch}, {"   ", mismatch, mismatch}, {"12abc", mismatch, mismatch},
        {"1 2", mismatch, mismatch}, {"-", mismatch, mismatch}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(Result(TextToInt16, c[0]), c[1]) << '"' << c[0] << '"';
        EXPECT_EQ(Result(TextToByte, c[0]), c[2]) << '"' << c[0] << '"';
    }
}

} // namespace
} // namespace addrix
