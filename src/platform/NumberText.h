#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace addrix {

// The numeric value of a text: leading blanks skipped, then an optional sign,
// digits and one decimal point taken up to the first character that does not
// fit. A text with no leading number is 0.
double NumericValue(std::string_view text);

// `value` as plain decimal text without a leading blank (250 -> "250",
// 2.5 -> "2.5", -1 -> "-1"), at most 15 significant digits.
std::string FormatNumber(double value);

// A whole number rounded half to even, as the conversions below round.
double RoundHalfEven(double value);

// Strict conversions of a field's text: blanks around the number, a sign, a
// fraction and an exponent are accepted, the fraction rounded half to even.
// Empty or non-numeric text throws ConversionError("Type mismatch"), a value
// out of range ConversionError("Overflow").
std::int16_t TextToInt16(std::string_view text);
std::uint8_t TextToByte(std::string_view text);

class ConversionError : public std::exception {
public:
    explicit ConversionError(const char* description) : m_description(description) {}
    const char* what() const noexcept override { return m_description; }

private:
    const char* m_description;
};

} // namespace addrix
