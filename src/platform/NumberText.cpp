#include "platform/NumberText.h"

#include "platform/Text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace addrix {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Parses the decimal number that `text` starts with. `end` receives the
// position after it; 0 when there is none.
double ParseLeading(std::string_view text, std::size_t& end, bool allowExponent) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t digitsStart = i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        end = 0;
        return 0.0;
    }
    if (allowExponent && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    end = i;
    // from_chars takes no leading '+' and is independent of the locale.
    double value = 0.0;
    const char* first = text.data() + digitsStart;
    const char* last = text.data() + i;
    const auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is beyond every range.
        const std::string_view number(first, static_cast<std::size_t>(last - first));
        const bool tiny = number.find("e-") != std::string_view::npos ||
                          number.find("E-") != std::string_view::npos;
        value = tiny ? 0.0 : HUGE_VAL;
    } else if (result.ec != std::errc())
        value = 0.0;
    return text[0] == '-' ? -value : value;
}

double ConvertStrict(std::string_view text, double low, double high) {
    const std::string_view core = Trim(text, IsSpaceOrTab);
    std::size_t end = 0;
    const double value = ParseLeading(core, end, true);
    if (core.empty() || end != core.size())
        throw ConversionError("Type mismatch");
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= low && rounded <= high))
        throw ConversionError("Overflow");
    return rounded;
}

} // namespace

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
    std::size_t end = 0;
    const double value = ParseLeading(TrimStart(text, IsSpaceOrTab), end, false);
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
    return static_cast<std::int16_t>(ConvertStrict(text, -32768.0, 32767.0));
}

std::uint8_t TextToByte(std::string_view text) {
    return static_cast<std::uint8_t>(ConvertStrict(text, 0.0, 255.0));
}

} // namespace addrix
