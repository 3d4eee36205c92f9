#include "platform/IniFile.h"

#include "platform/FilePath.h"
#include "platform/Text.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <system_error>
#include <vector>

namespace addrix {

namespace {

namespace fs = std::filesystem;

constexpr const char* kLineEnd = "\r\n";

// How old a file's last change must be before its parse is kept.
constexpr std::chrono::seconds kSettled{2};

// What ends the line that stops at `end` of `content`: nothing when it has its
// line end, else the missing part of a CR LF.
std::string MissingLineEnd(const std::string& content, std::size_t end) {
    if (end == 0 || content[end - 1] == '\n')
        return std::string();
    return content[end - 1] == '\r' ? "\n" : kLineEnd;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

std::string Unquote(const std::string& value) {
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// A value that reading would alter is written inside double quotes.
std::string QuoteForWriting(const std::string& value) {
    if (value.empty())
        return value;
    const bool blanksAtEnds = IsBlank(value.front()) || IsBlank(value.back());
    if (blanksAtEnds || Unquote(value).size() != value.size())
        return '"' + value + '"';
    return value;
}

struct Line {
    enum class Kind { Blank, Comment, Section, Key, Other };
    std::size_t begin = 0; // first byte of the line
    std::size_t end = 0;   // after the line end
    Kind kind = Kind::Blank;
    std::string name;  // section name or key, trimmed
    std::string value; // a key's value as read
};

std::vector<Line> ParseLines(const std::string& content) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    // A byte-order mark left by an editor is not part of the first line's text.
    if (content.compare(0, 3, "\xEF\xBB\xBF") == 0)
        pos = 3;
    std::size_t lineBegin = 0;
    while (pos < content.size()) {
        Line line;
        line.begin = lineBegin;
        const std::size_t newline = content.find('\n', pos);
        line.end = newline == std::string::npos ? content.size() : newline + 1;
        // Trimming drops the CR of a CR LF with the other blanks.
        const std::size_t textEnd = newline == std::string::npos ? content.size() : newline;
        const std::string text = TrimBlanks(content.substr(pos, textEnd - pos));
        if (text.empty()) {
            line.kind = Line::Kind::Blank;
        } else if (text.front() == ';') {
            line.kind = Line::Kind::Comment;
        } else if (text.front() == '[') {
            line.kind = Line::Kind::Section;
            const std::size_t close = text.find(']');
            line.name = TrimBlanks(
                text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        } else if (const std::size_t eq = text.find('='); eq != std::string::npos) {
            line.kind = Line::Kind::Key;
            line.name = TrimBlanks(text.substr(0, eq));
            line.value = Unquote(TrimBlanks(text.substr(eq + 1)));
        } else {
            line.kind = Line::Kind::Other;
        }
        lines.push_back(std::move(line));
        pos = lineBegin = lines.back().end;
    }
    return lines;
}

// Where a section and a key stand among the lines.
struct Place {
    std::optional<std::size_t> section; // the section's header line
    std::size_t lastNonBlank = 0;       // the section's last non-blank line
    std::optional<std::size_t> key;     // the key's line
};

Place Find(const std::vector<Line>& lines, const std::string& section, const std::string& key) {
    Place place;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == Line::Kind::Section && SameName(lines[i].name, section)) {
            place.section = i;
            break;
        }
    }
    if (!place.section)
        return place;
    place.lastNonBlank = *place.section;
    for (std::size_t i = *place.section + 1; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.kind == Line::Kind::Section)
            break;
        if (line.kind != Line::Kind::Blank)
            place.lastNonBlank = i;
        if (!place.key && line.kind == Line::Kind::Key && SameName(line.name, key))
            place.key = i;
    }
    return place;
}

// The file's bytes; nothing when it does not exist. `readable` turns false
// when the file exists but cannot be read, or is no ordinary file (a pipe or
// a device would block or never end).
std::optional<std::string> ReadAll(const std::string& file, bool& readable) {
    readable = true;
    std::error_code ec;
    const fs::path path = ToFsPath(file);
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) {
        readable =
            !ec || ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory;
        return std::nullopt;
    }
    if (!fs::is_regular_file(status)) {
        readable = false;
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        readable = false;
        return std::nullopt;
    }
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        readable = false;
        return std::nullopt;
    }
    return content;
}

std::string CutTo(const std::string& text, std::size_t bufferSize) {
    if (bufferSize == 0)
        return std::string();
    return text.size() < bufferSize ? text : text.substr(0, bufferSize - 1);
}

// Writes `bytes` to a new file beside `target` and renames it over `target`.
bool ReplaceFile(fs::path target, const std::string& bytes) {
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    const fs::file_status status = fs::status(target, ec);
    const bool existed = !ec && fs::exists(status);
    if (existed && (status.permissions() & fs::perms::owner_write) == fs::perms::none)
        return false; // a read-only settings file stays as it is

    fs::path temp = target;
    temp += fs::path(TempFileSuffix());
    // Never a file someone else placed there, nor through a link.
    std::FILE* out = OpenForWriting(temp, OpenAs::CreateNew);
    if (!out)
        return false;
    // The old file's access rights, before any of its content is written.
    if (existed)
        fs::permissions(temp, status.permissions(), ec);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    ok = std::fflush(out) == 0 && ok;
    ok = std::fclose(out) == 0 && ok;
    if (ok)
        ok = MoveOver(temp, target);
    if (!ok)
        fs::remove(temp, ec);
    return ok;
}

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

// What identifies a version of a file on disk.
struct Stamp {
    std::uintmax_t size = 0;
    fs::file_time_type written{};
    bool operator==(const Stamp& other) const {
        return size == other.size && written == other.written;
    }
};

std::optional<Stamp> StampOf(const std::string& file) {
    std::error_code ec;
    const fs::path path = ToFsPath(file);
    Stamp stamp;
    stamp.size = fs::file_size(path, ec);
    if (ec)
        return std::nullopt;
    stamp.written = fs::last_write_time(path, ec);
    if (ec)
        return std::nullopt;
    return stamp;
}

} // namespace

// The parsed lines of the files read, each with the stamp it was read at.
struct IniFile::Cache {
    struct Entry {
        Stamp stamp;
        std::vector<Line> lines;
    };
    std::map<std::string, Entry> files;
    std::size_t parses = 0;
};

IniFile::IniFile() : m_cache(std::make_unique<Cache>()) {}

IniFile::~IniFile() = default;

std::size_t IniFile::parseCount() const {
    return m_cache->parses;
}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& defaultValue, std::size_t bufferSize,
                                const std::string& file) const {
    const std::optional<Stamp> stamp = StampOf(file);
    auto cached = m_cache->files.find(file);
    if (!stamp || cached == m_cache->files.end() || !(cached->second.stamp == *stamp)) {
        if (cached != m_cache->files.end())
            m_cache->files.erase(cached);
        bool readable = true;
        const std::optional<std::string> content = ReadAll(file, readable);
        if (!content)
            return CutTo(defaultValue, bufferSize);
        ++m_cache->parses;
        Cache::Entry entry{stamp.value_or(Stamp{}), ParseLines(*content)};
        // A file written moments ago may change again within the same tick
        // of the file system's clock, unseen; it, and a file that changed
        // while it was read, is parsed again next time.
        const bool settled = stamp && fs::file_time_type::clock::now() - stamp->written > kSettled;
        if (!settled || !(StampOf(file) == stamp))
            entry.stamp.size = static_cast<std::uintmax_t>(-1);
        cached = m_cache->files.emplace(file, std::move(entry)).first;
    }
    const std::vector<Line>& lines = cached->second.lines;
    const Place place = Find(lines, TrimBlanks(section), TrimBlanks(key));
    if (!place.key)
        return CutTo(defaultValue, bufferSize);
    return CutTo(lines[*place.key].value, bufferSize);
}

bool IniFile::writeString(const std::string& section, const std::string& key,
                          const std::string& value, const std::string& file) {
    const std::string sectionName = TrimBlanks(section);
    const std::string keyName = TrimBlanks(key);
    // Names and values that would not read back as the same section and key.
    if (sectionName.find(']') != std::string::npos || HasLineBreak(sectionName))
        return false;
    if (keyName.empty() || keyName.find('=') != std::string::npos || keyName.front() == '[' ||
        keyName.front() == ';' || HasLineBreak(keyName) || HasLineBreak(value))
        return false;

    bool readable = true;
    const std::optional<std::string> old = ReadAll(file, readable);
    if (!readable)
        return false;
    const std::string content = old.value_or(std::string());
    const std::vector<Line> lines = ParseLines(content);
    const Place place = Find(lines, sectionName, keyName);

    std::string updated;
    if (place.key) {
        const Line& line = lines[*place.key];
        updated = content.substr(0, line.begin) + line.name + '=' + QuoteForWriting(value) +
                  kLineEnd + content.substr(line.end);
    } else if (place.section) {
        const Line& last = lines[place.lastNonBlank];
        updated = content.substr(0, last.end) + MissingLineEnd(content, last.end);
        updated += keyName + '=' + QuoteForWriting(value) + kLineEnd + content.substr(last.end);
    } else {
        updated = content + MissingLineEnd(content, content.size());
        updated +=
            '[' + sectionName + ']' + kLineEnd + keyName + '=' + QuoteForWriting(value) + kLineEnd;
    }
    if (old && updated == content)
        return true;
    m_cache->files.erase(file);
    return ReplaceFile(ToFsPath(file), updated);
}

} // namespace addrix
