#include "platform/registry/RegistryFile.h"

#include "platform/FilePath.h"
#include "platform/PathUtil.h"
#include "platform/Text.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace addrix {

namespace {

// Anything larger is not a registry file; reading it would only cost time.
constexpr std::uintmax_t kMaxFileSize = std::uintmax_t{256} * 1024 * 1024;

enum class Format { Unknown, Regedit4, Regedit5, Wine };

bool StartsWithNoCase(const std::string& text, std::size_t pos, const char* prefix) {
    for (std::size_t i = 0; prefix[i] != '\0'; ++i)
        if (pos + i >= text.size() || AsciiUpper(text[pos + i]) != AsciiUpper(prefix[i]))
            return false;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The program's text is 8-bit: Latin-1 where a character fits, "?" otherwise.
void AppendCodePoint(std::string& out, std::uint32_t codePoint) {
    out += codePoint < 256 ? static_cast<char>(codePoint) : '?';
}

std::string Utf16LeToText(const std::string& bytes, std::size_t start) {
    std::string out;
    out.reserve((bytes.size() - start) / 2);
    const auto unitAt = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    };
    for (std::size_t i = start; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const std::uint32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low < 0xE000)
                i += 2; // one character beyond 16 bits
        }
        AppendCodePoint(out, unit);
    }
    return out;
}

// UTF-8 sequences become 8-bit characters; bytes that are not UTF-8 stay.
std::string Utf8ToText(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        std::uint32_t codePoint = 0;
        std::uint32_t least = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            codePoint = lead & 0x1F;
            least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            codePoint = lead & 0x0F;
            least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            codePoint = lead & 0x07;
            least = 0x10000;
        }
        bool valid = length != 0 && i + length <= bytes.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            valid = (next & 0xC0) == 0x80;
            codePoint = codePoint << 6 | (next & 0x3F);
        }
        valid = valid && codePoint >= least && codePoint <= 0x10FFFF &&
                !(codePoint >= 0xD800 && codePoint < 0xE000);
        if (valid) {
            AppendCodePoint(out, codePoint);
            i += length;
        } else {
            out += bytes[i++];
        }
    }
    return out;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            names.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

// `path` as the registry's lookup key: upper case, one "\" between names.
std::string PathKey(const std::string& path) {
    std::string key;
    for (const std::string& name : SplitPath(path)) {
        if (!key.empty())
            key += '\\';
        key += AsciiUpper(name);
    }
    return key;
}

// Reads the escape after a backslash at `pos` in the compatibility layer's
// C-style strings, appends the character and moves `pos` past it.
void ReadCEscape(const std::string& line, std::size_t& pos, std::string& out) {
    const char c = line[pos++];
    switch (c) {
    case 'a':
        out += '\a';
        return;
    case 'b':
        out += '\b';
        return;
    case 'e':
        out += '\x1B';
        return;
    case 'f':
        out += '\f';
        return;
    case 'n':
        out += '\n';
        return;
    case 'r':
        out += '\r';
        return;
    case 't':
        out += '\t';
        return;
    case 'v':
        out += '\v';
        return;
    case 'x': {
        std::uint32_t codePoint = 0;
        std::size_t digits = 0;
        while (digits < 4 && pos < line.size() && HexDigit(line[pos]) >= 0) {
            codePoint = codePoint * 16 + static_cast<std::uint32_t>(HexDigit(line[pos++]));
            ++digits;
        }
        if (digits == 0)
            out += 'x';
        else
            AppendCodePoint(out, codePoint);
        return;
    }
    default:
        break;
    }
    if (c >= '0' && c <= '7') {
        std::uint32_t codePoint = static_cast<std::uint32_t>(c - '0');
        for (int digits = 1;
             digits < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7'; ++digits)
            codePoint = codePoint * 8 + static_cast<std::uint32_t>(line[pos++] - '0');
        AppendCodePoint(out, codePoint);
        return;
    }
    out += c;
}

// Reads the quoted text that starts at `pos` into `out` and moves `pos` past
// the closing quote. False when the quote is never closed.
bool ReadQuoted(const std::string& line, std::size_t& pos, bool cEscapes, std::string& out) {
    if (pos >= line.size() || line[pos] != '"')
        return false;
    ++pos;
    while (pos < line.size()) {
        const char c = line[pos++];
        if (c == '"')
            return true;
        if (c != '\\' || pos >= line.size()) {
            out += c;
        } else if (cEscapes) {
            ReadCEscape(line, pos, out);
        } else if (line[pos] == '\\' || line[pos] == '"') {
            out += line[pos++];
        } else {
            out += c; // the editor escapes only "\" and the quote
        }
    }
    return false;
}

// "aa,bb,..." (blanks and a final comma allowed) into bytes.
bool ReadHexBytes(const std::string& text, std::string& bytes) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find(',', pos);
        if (end == std::string::npos)
            end = text.size();
        const std::string item = TrimBlanks(text.substr(pos, end - pos));
        if (item.empty()) {
            if (end < text.size())
                return false; // an empty item between commas
        } else {
            if (item.size() > 2 || HexDigit(item[0]) < 0 ||
                (item.size() == 2 && HexDigit(item[1]) < 0))
                return false;
            int byte = HexDigit(item[0]);
            if (item.size() == 2)
                byte = byte * 16 + HexDigit(item[1]);
            bytes += static_cast<char>(byte);
        }
        pos = end + 1;
    }
    return true;
}

// Reads the hex number at `pos` up to `stop`; false when there is none.
bool ReadHexNumber(const std::string& text, std::size_t& pos, char stop, std::uint32_t& number) {
    number = 0;
    std::size_t digits = 0;
    while (pos < text.size() && text[pos] != stop) {
        const int digit = HexDigit(text[pos]);
        if (digit < 0 || ++digits > 8)
            return false;
        number = number * 16 + static_cast<std::uint32_t>(digit);
        ++pos;
    }
    if (digits == 0 || pos >= text.size())
        return false;
    ++pos; // the stop character
    return true;
}

RegistryValue::Type TypeOf(std::uint32_t number) {
    switch (number) {
    case 1:
        return RegistryValue::Type::String;
    case 2:
        return RegistryValue::Type::ExpandString;
    case 3:
        return RegistryValue::Type::Binary;
    case 4:
        return RegistryValue::Type::DWord;
    case 7:
        return RegistryValue::Type::MultiString;
    default:
        return RegistryValue::Type::Other;
    }
}

bool IsStringType(RegistryValue::Type type) {
    return type == RegistryValue::Type::String || type == RegistryValue::Type::ExpandString ||
           type == RegistryValue::Type::MultiString;
}

// The data after "=": a quoted string, str(N):"..", dword:, hex: or hex(N):.
// `wide`: hex data of the string types is UTF-16LE.
bool ReadData(const std::string& text, bool cEscapes, bool wide, RegistryValue& value) {
    std::size_t pos = 0;
    if (!text.empty() && text[0] == '"') {
        value.type = RegistryValue::Type::String;
        if (!ReadQuoted(text, pos, cEscapes, value.data))
            return false;
        value.data += '\0';
        return true;
    }
    if (StartsWithNoCase(text, 0, "str(")) {
        pos = 4;
        std::uint32_t number = 0;
        if (!ReadHexNumber(text, pos, ')', number) || pos >= text.size() || text[pos] != ':')
            return false;
        ++pos;
        value.type = TypeOf(number);
        if (!ReadQuoted(text, pos, cEscapes, value.data))
            return false;
        value.data += '\0';
        return true;
    }
    if (StartsWithNoCase(text, 0, "dword:")) {
        pos = 6;
        std::uint32_t number = 0;
        const std::string digits = TrimBlanks(text.substr(pos)) + ' ';
        pos = 0;
        if (!ReadHexNumber(digits, pos, ' ', number) || pos != digits.size())
            return false;
        value.type = RegistryValue::Type::DWord;
        for (int i = 0; i < 4; ++i)
            value.data += static_cast<char>((number >> (8 * i)) & 0xFF);
        return true;
    }
    std::uint32_t number = 3;
    if (StartsWithNoCase(text, 0, "hex:")) {
        pos = 4;
    } else if (StartsWithNoCase(text, 0, "hex(")) {
        pos = 4;
        if (!ReadHexNumber(text, pos, ')', number) || pos >= text.size() || text[pos] != ':')
            return false;
        ++pos;
    } else {
        return false;
    }
    std::string bytes;
    if (!ReadHexBytes(text.substr(pos), bytes))
        return false;
    value.type = TypeOf(number);
    value.data = wide && IsStringType(value.type) ? Utf16LeToText(bytes, 0) : bytes;
    return true;
}

// The file as 8-bit text, and its format from the first line.
Format Decode(const std::string& bytes, std::string& text) {
    if (bytes.compare(0, 2, "\xFF\xFE") == 0)
        text = Utf16LeToText(bytes, 2);
    else if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text = Utf8ToText(bytes.substr(3));
    else
        text = bytes;
    const std::size_t firstEnd = text.find('\n');
    const std::string first = TrimBlanks(text.substr(0, firstEnd));
    if (first == "REGEDIT4")
        return Format::Regedit4;
    if (first == "Windows Registry Editor Version 5.00")
        return Format::Regedit5;
    if (first == "WINE REGISTRY Version 2") {
        // Its characters beyond ASCII are escaped; any that are not are UTF-8.
        text = Utf8ToText(text);
        return Format::Wine;
    }
    return Format::Unknown;
}

// The key path of a "[...]" line, as names below the current user's root;
// false for a key elsewhere or a key being deleted.
bool ReadKeyLine(const std::string& line, Format format, std::vector<std::string>& names) {
    std::string path;
    if (format == Format::Wine) {
        // Names are escaped; "\\" separates them, a timestamp follows the "]".
        std::size_t pos = 1;
        bool closed = false;
        while (pos < line.size()) {
            const char c = line[pos++];
            if (c == ']') {
                closed = true;
                break;
            }
            if (c == '\\' && pos < line.size())
                ReadCEscape(line, pos, path);
            else
                path += c;
        }
        if (!closed)
            return false;
        names = SplitPath(path);
        return true;
    }
    const std::size_t close = line.rfind(']');
    if (close == std::string::npos || close < 1)
        return false;
    path = line.substr(1, close - 1);
    if (!path.empty() && path[0] == '-')
        return false;
    names = SplitPath(path);
    if (names.empty() || AsciiUpper(names.front()) != "HKEY_CURRENT_USER")
        return false;
    names.erase(names.begin());
    return true;
}

} // namespace

RegistryFile::RegistryFile(const std::string& path) {
    if (path.empty())
        return;
    try {
        std::error_code ec;
        const std::filesystem::path fsPath = ToFsPath(path);
        if (!std::filesystem::is_regular_file(fsPath, ec))
            return;
        const std::uintmax_t size = std::filesystem::file_size(fsPath, ec);
        if (ec || size > kMaxFileSize)
            return;
        std::ifstream in(fsPath, std::ios::binary);
        if (!in)
            return;
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (in.bad())
            return;
        parse(bytes);
    } catch (const std::exception&) {
        m_keys.clear(); // a file that cannot be read answers nothing
    }
}

RegistryFile RegistryFile::FromBytes(const std::string& bytes) {
    RegistryFile registry;
    registry.parse(bytes);
    return registry;
}

void RegistryFile::parse(const std::string& bytes) {
    std::string text;
    const Format format = Decode(bytes, text);
    if (format == Format::Unknown)
        return;
    const bool cEscapes = format == Format::Wine;
    const bool wide = format != Format::Regedit4;
    const std::vector<std::string> lines = SplitLines(text);

    Key* current = nullptr;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string line = TrimBlanks(lines[i]);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[') {
            std::vector<std::string> names;
            current = ReadKeyLine(line, format, names) ? &addKey(names) : nullptr;
            continue;
        }
        if (line[0] != '"' && line[0] != '@')
            continue;
        // Long data goes on over lines that end in "\".
        while (line.back() == '\\' && i + 1 < lines.size()) {
            line.pop_back();
            line += TrimBlanks(lines[++i]);
        }
        if (!current)
            continue;
        std::string name;
        std::size_t pos = 0;
        if (line[0] == '@')
            pos = 1;
        else if (!ReadQuoted(line, pos, cEscapes, name))
            continue;
        while (pos < line.size() && IsBlank(line[pos]))
            ++pos;
        if (pos >= line.size() || line[pos] != '=')
            continue;
        const std::string data = TrimBlanks(line.substr(pos + 1));
        if (data == "-") {
            current->values.erase(AsciiUpper(name));
            continue;
        }
        RegistryValue value;
        if (ReadData(data, cEscapes, wide, value))
            current->values[AsciiUpper(name)] = std::move(value);
    }
}

RegistryFile::Key& RegistryFile::addKey(const std::vector<std::string>& names) {
    std::string path;
    Key* key = &m_keys[path];
    for (const std::string& name : names) {
        const std::string upper = AsciiUpper(name);
        key->subKeys.emplace(upper, name);
        if (!path.empty())
            path += '\\';
        path += upper;
        key = &m_keys[path];
    }
    return *key;
}

const RegistryFile::Key* RegistryFile::findKey(const std::string& path) const {
    const auto found = m_keys.find(PathKey(path));
    return found == m_keys.end() ? nullptr : &found->second;
}

std::optional<RegistryValue> RegistryFile::queryValue(const std::string& subKey,
                                                      const std::string& name) const {
    const Key* key = findKey(subKey);
    if (!key)
        return std::nullopt;
    const auto found = key->values.find(AsciiUpper(name));
    if (found == key->values.end())
        return std::nullopt;
    return found->second;
}

std::optional<std::string> RegistryFile::enumSubKey(const std::string& subKey,
                                                    std::int32_t index) const {
    const Key* key = findKey(subKey);
    if (!key || index < 0 || static_cast<std::size_t>(index) >= key->subKeys.size())
        return std::nullopt;
    return std::next(key->subKeys.begin(), index)->second;
}

std::string DefaultRegistryFilePath(const EnvLookup& env) {
    if (std::string path = env("ADDRIX_REGISTRY"); !path.empty())
        return path;
    if (const std::string prefix = env("WINEPREFIX"); !prefix.empty())
        return WithTrailingSeparator(prefix) + "user.reg";
    if (const std::string home = env("HOME"); !home.empty())
        return WithTrailingSeparator(home) + ".wine" + kPathSeparator + "user.reg";
    return std::string();
}

} // namespace addrix
