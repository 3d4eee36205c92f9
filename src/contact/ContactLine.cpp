#include "contact/ContactLine.h"

#include "contact/ChangeReport.h"

#include "platform/ByteScan.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <cstring>

namespace addrix {

namespace {

enum class Kind : std::uint8_t { Id, Fixed, Default, Text, Wireless, Phone, Zip };

struct Rule {
    Kind kind;
    std::uint8_t width;
};

// Column by column, in the order of Column.
constexpr Rule kRules[kColumnCount] = {
    {Kind::Id, 0},      {Kind::Id, 0},        {Kind::Fixed, 0},  {Kind::Text, 15},
    {Kind::Text, 18},   {Kind::Wireless, 65}, {Kind::Text, 65},  {Kind::Text, 65},
    {Kind::Default, 0}, {Kind::Fixed, 0},     {Kind::Fixed, 0},  {Kind::Fixed, 0},
    {Kind::Text, 18},   {Kind::Phone, 15},    {Kind::Phone, 18}, {Kind::Phone, 15},
    {Kind::Phone, 15},  {Kind::Text, 70},     {Kind::Text, 20},  {Kind::Text, 10},
    {Kind::Zip, 10},    {Kind::Text, 72},
};

// Texts of the fixed and defaulted columns, each readable in a 16-byte move.
alignas(16) constexpr char kZero[16] = "0";
alignas(16) constexpr char kSemicolon[16] = ";";
alignas(16) constexpr char kUnknown[16] = "Unknown";
alignas(16) constexpr char kPreferred[3][16] = {"1", "2", "3"};

// What the phone clean-up makes of each byte; 0 where it drops the byte.
constexpr std::array<char, 256> kPhoneBytes = [] {
    std::array<char, 256> map{};
    for (char c : std::string_view("0123456789()-x"))
        map[static_cast<unsigned char>(c)] = c;
    map['.'] = '-';
    map['X'] = 'x';
    return map;
}();

char PhoneByte(char c) {
    return kPhoneBytes[static_cast<unsigned char>(c)];
}

// What the text clean-up makes of a byte that stands for itself: LF, TAB
// and comma become spaces. A CR, which may swallow an LF, is marked 0.
constexpr std::array<char, 256> kTextBytes = [] {
    std::array<char, 256> map{};
    for (int c = 0; c < 256; ++c)
        map[static_cast<std::size_t>(c)] = static_cast<char>(c);
    map['\n'] = map['\t'] = map[','] = ' ';
    map['\r'] = 0;
    return map;
}();

// How many bytes `text` starts with that the text clean-up leaves as they
// are and that are no space: no control byte, space or comma.
std::size_t PlainRun(const char* text, std::size_t size) {
    std::size_t i = 0;
    if (size >= 16) {
        for (; i + 16 <= size; i += 16)
            if (const auto bits = Break16(text + i))
                return i + static_cast<std::size_t>(LowestBit(bits));
        // The last block overlaps the one before instead of reading past the end.
        if (const auto bits = Break16(text + size - 16) >> (16 - (size - i)))
            return i + static_cast<std::size_t>(LowestBit(bits));
        return size;
    }
    for (; i < size; ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b <= 0x20 || b == ',')
            return i;
    }
    return size;
}

// Copies `size` bytes in 16-byte moves: both sides must have room for the
// last move in full.
void MoveBlocks(char* to, const char* from, std::size_t size) {
    for (std::size_t i = 0; i < size; i += 16)
        std::memcpy(to + i, from + i, 16);
}

// The column states are the writer's own; these take them by type.

// True when `c` is the partner of the CR or LF just read, to be passed over.
template <typename S> bool SkipsPartner(S& s, char c) {
    const char partner = s.skip;
    s.skip = 0;
    return partner != 0 && c == partner;
}

// After a CR or LF, the other of the two belongs to it if it comes next.
template <typename S> void AwaitPartner(S& s, char c) {
    if (c == '\r' || c == '\n')
        s.skip = c == '\r' ? '\n' : '\r';
}

// Text has come past the width: nothing more can change the column.
template <typename S> void Shorten(S& s) {
    s.facts.shortened = true;
    s.done = true;
}

// Cut past the width: the column is shortened unless nothing but blanks
// follows, which the trim takes.
template <typename S> void SeekTextPastWidth(S& s, const char* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (!IsFieldBlank(p[i])) {
            Shorten(s);
            return;
        }
}

// One byte of a text column that is no plain text: a blank, a comma or
// another control byte.
template <bool dropSpaces, typename S> void AddTextByte(S& s, char* out, char c) {
    if (!IsFieldBlank(c)) {
        // A comma becomes a space but counts as text for the trim; another
        // control byte survives.
        s.started = true;
        ++s.taken;
        s.facts.cleaned = s.facts.cleaned || c == ',';
        if (dropSpaces && c == ',')
            return;
        out[s.len++] = c == ',' ? ' ' : c;
        s.keepEnd = s.len;
        return;
    }
    AwaitPartner(s, c);
    // One space now: dropped at the start, and everywhere with `dropSpaces`.
    s.facts.cleaned = s.facts.cleaned || c != ' ' || !s.started || dropSpaces;
    if (!s.started)
        return;
    ++s.taken;
    if (!dropSpaces)
        out[s.len++] = ' ';
}

// The column's text with its blanks made spaces and trimmed, cut to its
// width, then its commas made spaces, or with `dropSpaces` every space and
// comma taken out. Runs of plain text at once, the other bytes one by one.
template <bool dropSpaces, typename S>
void AddText(S& s, char* out, std::string_view piece, std::size_t width) {
    const char* p = piece.data();
    const std::size_t n = piece.size();
    std::size_t i = 0;
    while (i < n) {
        if (SkipsPartner(s, p[i])) {
            ++i;
            continue;
        }
        if (s.taken == width) {
            SeekTextPastWidth(s, p + i, n - i);
            return;
        }
        const std::size_t run = PlainRun(p + i, std::min(n - i, width - s.taken));
        if (run == 0) {
            AddTextByte<dropSpaces>(s, out, p[i++]);
            continue;
        }
        std::memcpy(out + s.len, p + i, run);
        s.len = static_cast<std::uint8_t>(s.len + run);
        s.taken = static_cast<std::uint8_t>(s.taken + run);
        s.keepEnd = s.len;
        s.started = true;
        i += run;
    }
}

// A column's first piece when it starts with text and no CR falls within its
// width, the usual case: mended byte for byte without a branch. False when
// the piece needs the way of AddText.
template <bool dropSpaces, typename S>
bool AddPlainText(S& s, char* out, std::string_view piece, std::size_t width) {
    const char* p = piece.data();
    const std::size_t n = piece.size();
    const std::size_t m = std::min(n, width);
    if (IsFieldBlank(p[0]))
        return false;
    bool cr = false;
    bool changed = false;
    std::size_t len = 0;
    if (!dropSpaces && m >= 16) {
        // Sixteen at a time, the last block overlapping the one before.
        std::uint32_t crBits = 0;
        std::uint32_t changedBits = 0;
        for (std::size_t i = 0; i + 16 < m; i += 16)
            changedBits |= CopyText16(out + i, p + i, crBits);
        changedBits |= CopyText16(out + m - 16, p + m - 16, crBits);
        cr = crBits != 0;
        changed = changedBits != 0;
        len = m;
    } else {
        for (std::size_t i = 0; i < m; ++i) {
            const char c = kTextBytes[static_cast<unsigned char>(p[i])];
            cr |= c == 0;
            changed |= c != p[i];
            out[len] = c;
            len += !dropSpaces || c != ' ';
        }
    }
    if (cr)
        return false;
    if (!dropSpaces) {
        // A comma counts as text for the trim, though it is a space now.
        std::size_t end = m;
        while (end > 0 && out[end - 1] == ' ' && p[end - 1] != ',')
            --end;
        s.keepEnd = static_cast<std::uint8_t>(end);
    }
    s.len = static_cast<std::uint8_t>(len);
    s.taken = static_cast<std::uint8_t>(m);
    s.started = true;
    s.facts.cleaned = changed || len < m;
    if (p[m - 1] == '\n')
        s.skip = '\r'; // a CR in the next piece would pair with it
    SeekTextPastWidth(s, p + m, n - m);
    return true;
}

// The text clean-up, cut to the width, then the phone clean-up.
template <typename S> void AddZip(S& s, char* out, std::string_view piece, std::size_t width) {
    for (const char c : piece) {
        if (SkipsPartner(s, c))
            continue;
        AwaitPartner(s, c);
        const bool blank = IsFieldBlank(c);
        if (blank && !s.started) {
            s.facts.cleaned = true;
            continue;
        }
        if (s.taken == width) {
            if (!blank) {
                Shorten(s);
                return;
            }
            continue;
        }
        s.started = true;
        ++s.taken;
        const char m = blank ? '\0' : PhoneByte(c);
        s.facts.cleaned = s.facts.cleaned || m != c || m == 0;
        if (m)
            out[s.len++] = m;
    }
}

// The usual first piece of a ZIP: no blank within its width. False otherwise.
template <typename S> bool AddPlainZip(S& s, char* out, std::string_view piece, std::size_t width) {
    const std::size_t m = std::min(piece.size(), width);
    bool blank = false;
    bool changed = false;
    std::size_t len = 0;
    for (std::size_t i = 0; i < m; ++i) {
        const char c = PhoneByte(piece[i]);
        blank |= IsFieldBlank(piece[i]);
        changed |= c != piece[i] || c == 0; // a NUL is dropped too
        out[len] = c;
        len += c != 0;
    }
    if (blank)
        return false;
    s.len = static_cast<std::uint8_t>(len);
    s.taken = static_cast<std::uint8_t>(m);
    s.started = true;
    s.facts.cleaned = changed;
    SeekTextPastWidth(s, piece.data() + m, piece.size() - m);
    return true;
}

// The phone clean-up, then cut to the width.
template <typename S> void AddPhone(S& s, char* out, std::string_view piece, std::size_t width) {
    std::size_t len = s.len;
    bool cleaned = false;
    for (std::size_t i = 0; i < piece.size(); ++i) {
        const char c = piece[i];
        const char m = PhoneByte(c);
        if (len == width && m) {
            Shorten(s);
            break;
        }
        cleaned |= m != c || m == 0; // a NUL is dropped too
        out[len] = m;                // the buffer has room past the widest phone column
        len += m != 0;
    }
    s.len = static_cast<std::uint8_t>(len);
    s.facts.cleaned = s.facts.cleaned || cleaned;
}

} // namespace

ContactLineWriter::ContactLineWriter()
    : m_assembly(std::make_unique<char[]>(kColumnCount * (kOutSize + 1) + 16)) {
    m_line.reserve(512);
    begin();
}

void ContactLineWriter::begin() {
    m_columns.fill(ColumnState{});
    if (m_keepSources) {
        m_sourceViews = {};
        m_sourceOwned = {};
        m_sourceCut = {};
    }
}

void ContactLineWriter::addId(std::size_t index, std::string_view piece) {
    ColumnState& s = m_columns[index];
    if (!s.started) {
        const std::string_view text = TrimStart(piece, IsSpace);
        s.facts.cleaned = s.facts.cleaned || text.size() < piece.size();
        if (text.empty())
            return;
        piece = text;
        s.started = true;
    }
    if (!s.spilled && s.len + piece.size() <= kOutSize) {
        std::memcpy(m_out[index] + s.len, piece.data(), piece.size());
        s.len = static_cast<std::uint8_t>(s.len + piece.size());
        return;
    }
    if (!s.spilled) {
        m_longIds[index].assign(m_out[index], s.len);
        s.spilled = true;
    }
    m_longIds[index].append(piece);
}

void ContactLineWriter::keepSource(std::size_t index, std::string_view piece) {
    std::string_view& view = m_sourceViews[index];
    if (!m_sourceOwned[index]) {
        if (view.empty()) {
            view = piece.substr(0, kSourceKept);
            m_sourceCut[index] = piece.size() > kSourceKept;
            return;
        }
        m_sources[index].assign(view);
        m_sourceOwned[index] = true;
    }
    std::string& kept = m_sources[index];
    const std::size_t room = kSourceKept - kept.size();
    kept.append(piece.substr(0, room));
    m_sourceCut[index] = m_sourceCut[index] || piece.size() > room;
    view = kept;
}

void ContactLineWriter::holdSources() {
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        if (m_sourceOwned[i] || m_sourceViews[i].empty())
            continue;
        m_sources[i].assign(m_sourceViews[i]);
        m_sourceOwned[i] = true;
        m_sourceViews[i] = m_sources[i];
    }
}

void ContactLineWriter::add(Column column, std::string_view piece) {
    const std::size_t index = Index(column);
    if (m_keepSources) {
        // The usual column: one piece, kept as a view of it.
        if (!m_sourceOwned[index] && m_sourceViews[index].empty() && piece.size() <= kSourceKept)
            m_sourceViews[index] = piece;
        else
            keepSource(index, piece);
    }
    ColumnState& s = m_columns[index];
    if (s.done || piece.empty())
        return;
    char* out = m_out[index];
    const std::size_t width = kRules[index].width;
    switch (kRules[index].kind) {
    case Kind::Id:
        addId(index, piece);
        break;
    case Kind::Fixed:
    case Kind::Default:
        break;
    case Kind::Text:
        if (s.started || s.skip || !AddPlainText<false>(s, out, piece, width))
            AddText<false>(s, out, piece, width);
        break;
    case Kind::Wireless:
        if (s.started || s.skip || !AddPlainText<true>(s, out, piece, width))
            AddText<true>(s, out, piece, width);
        break;
    case Kind::Phone:
        AddPhone(s, out, piece, width);
        break;
    case Kind::Zip:
        if (s.started || s.skip || !AddPlainZip(s, out, piece, width))
            AddZip(s, out, piece, width);
        break;
    }
}

const std::string& ContactLineWriter::line() {
    const bool spilled = settleColumns();
    applyRules();
    collectTouched();
    join(spilled);
    return m_line;
}

bool ContactLineWriter::settleColumns() {
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        ColumnState& s = m_columns[i];
        m_src[i] = m_out[i];
        if (kRules[i].kind == Kind::Text && !s.facts.shortened && s.len > s.keepEnd) {
            // Trailing spaces go unless the cut left text after them.
            s.len = s.keepEnd;
            s.facts.cleaned = true;
        }
        m_len[i] = s.len;
    }
    bool spilled = false;
    for (std::size_t i = 0; i < 2; ++i) {
        ColumnState& s = m_columns[i];
        std::string_view id(m_out[i], s.len);
        if (s.spilled) {
            id = m_longIds[i];
            spilled = true;
        }
        const std::string_view trimmed = TrimEnd(id, IsSpace);
        s.facts.cleaned = s.facts.cleaned || trimmed.size() < id.size();
        m_src[i] = id.data();
        m_len[i] = trimmed.size();
    }
    return spilled;
}

void ContactLineWriter::applyRules() {
    auto at = [](Column c) {
        return Index(c);
    };
    m_src[at(Column::GroupOrPersonal)] = kZero;
    m_len[at(Column::GroupOrPersonal)] = 1;
    for (const Column c :
         {Column::GroupOfWirelessAddress, Column::GroupOfWorkEmail, Column::GroupOfHomeEmail}) {
        m_src[at(c)] = kSemicolon;
        m_len[at(c)] = 1;
    }
    if (m_len[at(Column::LastName)] == 0 && m_len[at(Column::FirstName)] == 0 &&
        m_len[at(Column::Company)] != 0) {
        m_src[at(Column::LastName)] = m_src[at(Column::Company)];
        m_len[at(Column::LastName)] = m_len[at(Column::Company)];
        m_columns[at(Column::LastName)].facts.defaulted = true;
    }
    if (m_len[at(Column::FirstName)] == 0) {
        m_src[at(Column::FirstName)] = kUnknown;
        m_len[at(Column::FirstName)] = 7;
        m_columns[at(Column::FirstName)].facts.defaulted = true;
    }
    const bool wireless = m_len[at(Column::WirelessAddress)] != 0;
    const int preferred = PreferredAddress(wireless, m_len[at(Column::WorkEmail)] != 0,
                                           m_len[at(Column::HomeEmail)] != 0) -
                          '1';
    m_columns[at(Column::DefaultAddress)].facts.defaulted = !wireless && preferred == 0;
    m_src[at(Column::DefaultAddress)] = kPreferred[preferred];
    m_len[at(Column::DefaultAddress)] = 1;
}

void ContactLineWriter::collectTouched() {
    m_touched = 0;
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        const ColumnFacts& f = m_columns[i].facts;
        m_touched |= static_cast<std::uint32_t>(f.shortened | f.cleaned | f.defaulted) << i;
    }
}

void ContactLineWriter::join(bool spilled) {
    if (spilled) {
        m_line.clear();
        for (std::size_t i = 0; i < kColumnCount; ++i) {
            if (i)
                m_line.push_back(',');
            m_line.append(m_src[i], m_len[i]);
        }
        return;
    }
    // Every source has room for its last 16-byte move, and so has the line.
    char* out = m_assembly.get();
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        MoveBlocks(out, m_src[i], m_len[i]);
        out += m_len[i];
        *out++ = ',';
    }
    m_line.assign(m_assembly.get(), static_cast<std::size_t>(out - m_assembly.get() - 1));
}

const char* ColumnName(Column column) {
    static constexpr const char* kNames[kColumnCount] = {"CONTACT_ID",
                                                         "ENTRY_INDEX",
                                                         "GROUP_OR_PERSONAL",
                                                         "FIRST_NAME",
                                                         "LAST_NAME",
                                                         "WIRELESS_ADDRESS",
                                                         "WORK_EMAIL",
                                                         "HOME_EMAIL",
                                                         "DEFAULT_ADDRESS",
                                                         "GROUP_OF_WIRELESS_ADDRESS",
                                                         "GROUP_OF_WORK_EMAIL",
                                                         "GROUP_OF_HOME_EMAIL",
                                                         "COMPANY",
                                                         "HOME_PHONE",
                                                         "WORK_PHONE",
                                                         "MOBILE_PHONE",
                                                         "FAX",
                                                         "STREET",
                                                         "CITY",
                                                         "STATE",
                                                         "ZIP",
                                                         "NOTE"};
    return kNames[static_cast<std::size_t>(column)];
}

void ReportContactChanges(const ContactLineWriter& writer, const char* source,
                          std::int64_t position, IChangeSink& sink) {
    const bool rows = sink.wantsRows();
    Change change;
    bool named = false;
    // The numbering has a source of its own, and the fixed columns none.
    constexpr std::uint32_t kFromSource = [] {
        std::uint32_t mask = 0;
        for (const Column column : kSourceColumns)
            mask |= 1u << static_cast<unsigned>(column);
        return mask;
    }();
    for (std::uint32_t bits = writer.touchedColumns() & kFromSource; bits; bits &= bits - 1) {
        const auto column = static_cast<Column>(LowestBit(bits));
        const ColumnFacts& facts = writer.facts(column);
        const std::string_view written = writer.text(column);
        const std::string_view kept = writer.sourceText(column);
        ChangeKind kind;
        if (facts.defaulted) {
            if (!Trim(kept, IsFieldBlank).empty())
                continue;
            kind = ChangeKind::Filled;
        } else if (facts.shortened) {
            kind = ChangeKind::Shortened;
        } else if (written == kept ||
                   (written == Trim(kept, IsFieldBlank) && !writer.sourceCut(column))) {
            continue; // only trimmed
        } else {
            kind = ChangeKind::Changed;
        }
        if (!rows) {
            sink.tally(kind);
            continue;
        }
        if (!named) {
            change.source = source;
            change.position = position;
            change.contactId = std::string(writer.text(Column::ContactId));
            change.name = std::string(writer.text(Column::FirstName)) + " " +
                          std::string(writer.text(Column::LastName));
            named = true;
        }
        change.kind = kind;
        change.column = ColumnName(column);
        change.sourceValue = kind == ChangeKind::Filled ? std::string() : std::string(kept);
        change.writtenValue = std::string(written);
        sink.add(change);
    }
}

void WriteContactLine(ILineSink& file, ContactLineWriter& contact) {
    file.writeLine(contact.line());
}

} // namespace addrix
