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

// A field's text converted as TextToInt16 and TextToByte do, handed over in
// pieces. Its form is followed byte by byte and only what the value needs is
// kept (no blanks around it, one leading zero for many), so a field of any
// length takes little room.
class NumberField {
public:
    // Forgets the text; the field is empty again.
    void clear();
    // Appends `piece` to the field's text.
    void add(std::string_view piece);
    // The value of the text so far; throws ConversionError.
    std::int16_t toInt16() const;
    std::uint8_t toByte() const;

private:
    // Where the text stands in the form of a number.
    enum class Form : std::uint8_t { Start, Sign, Int, Frac, ExpMark, ExpSign, Exp, Trail, Bad };
    friend double NumericValue(std::string_view text);
    static Form Next(Form form, char c, bool digits);
    double convert(double low, double high) const;

    // Thousands of significant characters are no number of a field.
    static constexpr std::size_t kMaxKept = 4096;
    Form m_form = Form::Start;
    bool m_digits = false;   // the number has a digit before its exponent
    bool m_zerosOnly = true; // the whole-number part so far is zeros
    bool m_long = false;     // more than kMaxKept bytes to keep
    std::string m_text;
};

class ConversionError : public std::exception {
public:
    explicit ConversionError(const char* description) : m_description(description) {}
    const char* what() const noexcept override { return m_description; }

private:
    const char* m_description;
};

} // namespace addrix
