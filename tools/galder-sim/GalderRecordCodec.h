#pragma once

// The Galder device's address-book records as the device sends them, and the
// simulator's contacts file. Header-only, so that the tests can build records
// exactly as the simulator does.

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace galdersim {

// One address-book entry as the device stores it; numbers are digits only.
struct SimContact {
    std::string name;
    std::string home;
    std::string work;
    std::string mobile;
    std::string fax;
    std::string email;
    std::string wireless;
    std::string note;
    std::string second; // the second number (layout 1 only)
};

inline constexpr std::size_t kRecordDataSize = 256; // bytes after the 0x7F marker
inline constexpr unsigned char kRecordMarker = 0x7F;
inline constexpr int kMostRecords = 255; // the header's count is one byte

// `text` cut to `width` bytes, the rest filled with 0xFF.
inline std::string EncodeText(const std::string& text, std::size_t width) {
    std::string out = text.substr(0, width);
    out.resize(width, '\xFF');
    return out;
}

// Packed decimal: two digits a byte, high nibble first; an odd last digit
// gets the filler nibble F; the rest of the field is 0xFF. Digits that do not
// fit are dropped.
inline std::string EncodeBcd(const std::string& digits, std::size_t width) {
    std::string out;
    for (std::size_t i = 0; i < digits.size() && out.size() < width; i += 2) {
        const int high = digits[i] - '0';
        const int low = i + 1 < digits.size() ? digits[i + 1] - '0' : 0xF;
        out.push_back(static_cast<char>((high << 4) | low));
    }
    out.resize(width, '\xFF');
    return out;
}

// The 256 data bytes of a record in layout 1 or 4 (any other layout is
// written like layout 1). Positions are 1-based as in the device's memory map.
inline std::string EncodeRecord(const SimContact& c, int layout) {
    std::string data(kRecordDataSize, '\xFF');
    auto put = [&data](std::size_t first, std::size_t last, const std::string& bytes) {
        data.replace(first - 1, last - first + 1, bytes);
    };
    auto text = [&](std::size_t first, std::size_t last, const std::string& value) {
        put(first, last, EncodeText(value, last - first + 1));
    };
    auto number = [&](std::size_t first, std::size_t last, const std::string& value) {
        put(first, last, EncodeBcd(value, last - first + 1));
    };
    text(1, 20, c.name);
    if (layout == 4) {
        number(63, 72, c.home);
        number(73, 82, c.work);
        number(83, 92, c.mobile);
        number(93, 102, c.fax);
        text(103, 167, c.email);
        text(168, 232, c.wireless);
        text(233, 254, c.note);
    } else {
        number(26, 30, c.second);
        number(31, 40, c.home);
        number(41, 50, c.work);
        number(51, 60, c.mobile);
        number(61, 70, c.fax);
        text(71, 110, c.email);
        text(111, 150, c.wireless);
        text(151, 255, c.note);
    }
    return data;
}

// Contact `i` (from 1) of a generated address book.
inline SimContact GeneratedContact(int i) {
    char buf[64];
    SimContact c;
    std::snprintf(buf, sizeof buf, "Name%03d Family", i);
    c.name = buf;
    std::snprintf(buf, sizeof buf, "0201%06d", i);
    c.home = buf;
    std::snprintf(buf, sizeof buf, "0301%06d", i);
    c.work = buf;
    std::snprintf(buf, sizeof buf, "0401%06d", i);
    c.mobile = buf;
    if (i % 2) {
        std::snprintf(buf, sizeof buf, "0501%06d", i);
        c.fax = buf;
    }
    std::snprintf(buf, sizeof buf, "user%d@example.com", i);
    c.email = buf;
    std::snprintf(buf, sizeof buf, "%d@pager.example.com", i);
    c.wireless = buf;
    std::snprintf(buf, sizeof buf, "Generated contact %d", i);
    c.note = buf;
    return c;
}

// Undoes the escapes of a contacts-file field: \t \n \r \\ \xHH.
inline bool Unescape(const std::string& field, std::string& out, std::string& error) {
    out.clear();
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out.push_back(field[i]);
            continue;
        }
        if (++i >= field.size()) {
            error = "a field ends in a lone backslash";
            return false;
        }
        switch (field[i]) {
        case 't':
            out.push_back('\t');
            break;
        case 'n':
            out.push_back('\n');
            break;
        case 'r':
            out.push_back('\r');
            break;
        case '\\':
            out.push_back('\\');
            break;
        case 'x': {
            auto hex = [](char h) {
                if (h >= '0' && h <= '9')
                    return h - '0';
                if (h >= 'a' && h <= 'f')
                    return h - 'a' + 10;
                if (h >= 'A' && h <= 'F')
                    return h - 'A' + 10;
                return -1;
            };
            const int hi = i + 1 < field.size() ? hex(field[i + 1]) : -1;
            const int lo = i + 2 < field.size() ? hex(field[i + 2]) : -1;
            if (hi < 0 || lo < 0) {
                error = "\\x needs two hexadecimal digits";
                return false;
            }
            out.push_back(static_cast<char>(hi * 16 + lo));
            i += 2;
            break;
        }
        default:
            error = std::string("unknown escape \\") + field[i];
            return false;
        }
    }
    return true;
}

// Reads a contacts file: one contact a line, fields separated by TAB in the
// order name, home, work, mobile, fax, email, wireless, note, second; fields
// left off at the end are empty. Lines starting with '#' and empty lines are
// skipped; a line may end in CR LF. Numbers hold digits only. On failure
// `error` names the line.
inline bool ParseContacts(const std::string& text, std::vector<SimContact>& contacts,
                          std::string& error) {
    contacts.clear();
    std::size_t start = 0;
    int lineNumber = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::size_t from = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', from);
            fields.push_back(line.substr(from, tab - from));
            if (tab == std::string::npos)
                break;
            from = tab + 1;
        }
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (fields.size() > 9) {
            error = where + "more than 9 fields";
            return false;
        }
        fields.resize(9);
        SimContact c;
        std::string* targets[] = {&c.name,  &c.home,     &c.work, &c.mobile, &c.fax,
                                  &c.email, &c.wireless, &c.note, &c.second};
        for (std::size_t f = 0; f < 9; ++f) {
            if (!Unescape(fields[f], *targets[f], error)) {
                error.insert(0, where);
                return false;
            }
        }
        for (const std::string* digits : {&c.home, &c.work, &c.mobile, &c.fax, &c.second}) {
            if (digits->find_first_not_of("0123456789") != std::string::npos) {
                error = where + "number fields hold digits only";
                return false;
            }
        }
        contacts.push_back(std::move(c));
    }
    return true;
}

} // namespace galdersim
