#include "platform/NumberText.h"

#include "platform/Text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace addrix {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of `number`: an optional sign, digits with one point, and an
// optional exponent, all of it valid.
double ValueOf(std::string_view number) {
    const bool negative = number[0] == '-';
    // from_chars takes no leading '+' and is independent of the locale.
    if (number[0] == '+' || negative)
        number.remove_prefix(1);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is beyond every range.
        const bool tiny = number.find("e-") != std::string_view::npos ||
                          number.find("E-") != std::string_view::npos;
        value = tiny ? 0.0 : HUGE_VAL;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

} // namespace

NumberField::Form NumberField::Next(Form form, char c, bool digits) {
    const bool digit = IsDigit(c);
    const bool blank = IsSpaceOrTab(c);
    const bool sign = c == '+' || c == '-';
    const bool mark = c == 'e' || c == 'E';
    switch (form) {
    case Form::Start:
        return blank      ? Form::Start
               : sign     ? Form::Sign
               : digit    ? Form::Int
               : c == '.' ? Form::Frac
                          : Form::Bad;
    case Form::Sign:
        return digit ? Form::Int : c == '.' ? Form::Frac : Form::Bad;
    case Form::Int:
        return digit      ? Form::Int
               : c == '.' ? Form::Frac
               : mark     ? Form::ExpMark
               : blank    ? Form::Trail
                          : Form::Bad;
    case Form::Frac:
        return digit             ? Form::Frac
               : mark && digits  ? Form::ExpMark
               : blank && digits ? Form::Trail
                                 : Form::Bad;
    case Form::ExpMark:
        return sign ? Form::ExpSign : digit ? Form::Exp : Form::Bad;
    case Form::ExpSign:
        return digit ? Form::Exp : Form::Bad;
    case Form::Exp:
        return digit ? Form::Exp : blank ? Form::Trail : Form::Bad;
    case Form::Trail:
        return blank ? Form::Trail : Form::Bad;
    case Form::Bad:
        break;
    }
    return Form::Bad;
}

void NumberField::clear() {
    m_form = Form::Start;
    m_digits = false;
    m_zerosOnly = true;
    m_long = false;
    m_text.clear();
}

void NumberField::add(std::string_view piece) {
    // The usual field: a whole number without sign or leading zero.
    if (m_form == Form::Start && !piece.empty() && piece.size() <= 5 && piece[0] != '0' &&
        std::all_of(piece.begin(), piece.end(), IsDigit)) {
        m_form = Form::Int;
        m_digits = true;
        m_zerosOnly = false;
        m_text.assign(piece);
        return;
    }
    for (const char c : piece) {
        if (m_form == Form::Bad)
            return;
        m_form = Next(m_form, c, m_digits);
        if (m_form == Form::Start || m_form == Form::Trail)
            continue;
        if (m_form == Form::Int) {
            m_digits = true;
            // One leading zero stands for all of them.
            if (c == '0' && m_zerosOnly && !m_text.empty() && m_text.back() == '0')
                continue;
            m_zerosOnly = m_zerosOnly && c == '0';
        } else if (m_form == Form::Frac && IsDigit(c)) {
            m_digits = true;
        }
        if (m_text.size() < kMaxKept)
            m_text.push_back(c);
        else
            m_long = true;
    }
}

double NumberField::convert(double low, double high) const {
    const bool complete = m_form == Form::Int || m_form == Form::Exp || m_form == Form::Trail ||
                          (m_form == Form::Frac && m_digits);
    if (!complete)
        throw ConversionError("Type mismatch");
    if (m_long)
        throw ConversionError("Overflow");
    // The usual field: digits alone, few enough for an int.
    if (m_form == Form::Int && m_text.size() <= 5 && IsDigit(m_text[0])) {
        int value = 0;
        for (const char c : m_text)
            value = value * 10 + (c - '0');
        if (value > high)
            throw ConversionError("Overflow");
        return value;
    }
    const double rounded = RoundHalfEven(ValueOf(m_text));
    if (!(rounded >= low && rounded <= high))
        throw ConversionError("Overflow");
    return rounded;
}

std::int16_t NumberField::toInt16() const {
    return static_cast<std::int16_t>(convert(-32768.0, 32767.0));
}

std::uint8_t NumberField::toByte() const {
    return static_cast<std::uint8_t>(convert(0.0, 255.0));
}

double RoundHalfEven(double value) {
    if (!std::isfinite(value))
        return value;
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5)
        return floor;
    if (diff > 0.5)
        return floor + 1.0;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

double NumericValue(std::string_view text) {
    // The longest start of the text that is a number, without an exponent.
    using Form = NumberField::Form;
    Form form = Form::Start;
    bool digits = false;
    std::size_t begin = 0;
    std::size_t end = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Form next = NumberField::Next(form, text[i], digits);
        if (next == Form::Bad || next == Form::Trail || next == Form::ExpMark)
            break;
        if (form == Form::Start && next != Form::Start)
            begin = i;
        form = next;
        digits = digits || IsDigit(text[i]);
        end = digits ? i + 1 : end;
    }
    if (!digits)
        return 0.0;
    const double value = ValueOf(text.substr(begin, end - begin));
    return std::isfinite(value) ? value : 0.0;
}

std::string FormatNumber(double value) {
    if (value == 0.0 || !std::isfinite(value))
        return "0";
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    std::string text(buffer.data(), result.ptr);
    for (char& c : text)
        if (c == 'e')
            c = 'E';
    return text;
}

std::int16_t TextToInt16(std::string_view text) {
    NumberField field;
    field.add(text);
    return field.toInt16();
}

std::uint8_t TextToByte(std::string_view text) {
    NumberField field;
    field.add(text);
    return field.toByte();
}

} // namespace addrix
