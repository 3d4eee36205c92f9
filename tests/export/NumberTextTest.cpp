#include "export/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>

namespace addrix {
namespace {

struct ValueCase {
    const char* text;
    double value;
};

TEST(NumericValueTest, TakesTheLeadingNumber) {
    const ValueCase cases[] = {{"250", 250}, {"  1000", 1000}, {"2.5", 2.5}, {"-1", -1},
                               {"+3", 3},    {"12abc", 12},    {"abc", 0},   {"", 0},
                               {".5x", 0.5}, {"1.2.3", 1.2},   {"-", 0},     {"1e3", 1},
                               {"\t7", 7},   {"0x10", 0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(NumericValue(c.text), c.value) << '"' << c.text << '"';
}

TEST(FormatNumberTest, WritesPlainDecimalText) {
    EXPECT_EQ(FormatNumber(250), "250");
    EXPECT_EQ(FormatNumber(0), "0");
    EXPECT_EQ(FormatNumber(-1), "-1");
    EXPECT_EQ(FormatNumber(2.5), "2.5");
    EXPECT_EQ(FormatNumber(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatNumber(1000), "1000");
}

TEST(NumberTextTest, IgnoresTheUserLocale) {
    // A desktop session may run with a decimal comma.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        std::setlocale(LC_NUMERIC, "C");
    EXPECT_DOUBLE_EQ(NumericValue("2.5"), 2.5);
    EXPECT_EQ(FormatNumber(2.5), "2.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

struct IntCase {
    const char* text;
    int value;
};

TEST(TextToInt16Test, AcceptsBlanksSignsAndRoundsHalfToEven) {
    const IntCase cases[] = {{"1", 1},         {" 42 ", 42}, {"+7", 7},          {"-32768", -32768},
                             {"32767", 32767}, {"1.5", 2},   {"2.5", 2},         {"3.5", 4},
                             {"-2.5", -2},     {"0.49", 0},  {"32767.4", 32767}, {"1e2", 100},
                             {"007", 7},       {".5", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(TextToInt16(c.text), c.value) << '"' << c.text << '"';
}

struct ErrorCase {
    const char* text;
    const char* description;
};

TEST(TextToInt16Test, ReportsTypeMismatchAndOverflow) {
    const ErrorCase cases[] = {
        {"", "Type mismatch"},      {"   ", "Type mismatch"},   {"abc", "Type mismatch"},
        {"12abc", "Type mismatch"}, {"1 2", "Type mismatch"},   {"-", "Type mismatch"},
        {"32768", "Overflow"},      {"-32769", "Overflow"},     {"32767.5", "Overflow"},
        {"1e400", "Overflow"},      {"99999999999", "Overflow"}};
    for (const auto& c : cases) {
        try {
            TextToInt16(c.text);
            ADD_FAILURE() << '"' << c.text << "\" converted";
        } catch (const ConversionError& error) {
            EXPECT_STREQ(error.what(), c.description) << '"' << c.text << '"';
        }
    }
}

TEST(TextToByteTest, AcceptsZeroTo255) {
    EXPECT_EQ(TextToByte("0"), 0);
    EXPECT_EQ(TextToByte("255"), 255);
    EXPECT_EQ(TextToByte("-0.4"), 0);
    EXPECT_EQ(TextToByte("254.5"), 254);
    EXPECT_THROW(TextToByte("256"), ConversionError);
    EXPECT_THROW(TextToByte("255.5"), ConversionError);
    EXPECT_THROW(TextToByte("-1"), ConversionError);
    EXPECT_THROW(TextToByte("x"), ConversionError);
}

} // namespace
} // namespace addrix
