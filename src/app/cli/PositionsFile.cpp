#include "app/cli/PositionsFile.h"

#include "platform/Text.h"
#include "platform/TextFile.h"

#include <string_view>

namespace addrix {

namespace {

// The bytes of a line that are looked at; a position is far shorter.
constexpr std::size_t kLineStartKept = 64;

// The first field of a line: up to a separator, its quotes and blanks gone.
std::string_view FirstField(std::string_view line) {
    std::string_view field = Trim(line.substr(0, line.find_first_of(",;\t")), IsBlank);
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        field = Trim(field.substr(1, field.size() - 2), IsBlank);
    return field;
}

// The position `field` names; 0 when it names none.
std::int64_t Position(std::string_view field) {
    if (field.empty() || field.size() > 18 || field.find_first_not_of("0123456789") != field.npos)
        return 0;
    return std::stoll(std::string(field));
}

} // namespace

std::set<std::int64_t> ReadPositionsFile(const std::string& path) {
    std::set<std::int64_t> positions;
    try {
        TextFileReader file;
        file.open(path);
        std::string line;
        std::string_view piece;
        bool lineEnds = false;
        std::int64_t number = 0;
        bool headerAllowed = true;
        while (file.readPiece(piece, lineEnds)) {
            if (line.size() < kLineStartKept)
                line.append(piece.substr(0, kLineStartKept - line.size()));
            if (!lineEnds)
                continue;
            ++number;
            std::string_view text = line;
            if (number == 1 && text.substr(0, 3) == "\xEF\xBB\xBF")
                text.remove_prefix(3); // a spreadsheet's byte-order mark
            const std::string_view field = FirstField(text);
            const bool header = headerAllowed && AsciiUpper(std::string(field)) == "POSITION";
            headerAllowed = headerAllowed && field.empty();
            if (!field.empty() && !header) {
                const std::int64_t position = Position(field);
                if (position == 0)
                    throw PositionsFileError(path + ", line " + std::to_string(number) + ": '" +
                                             std::string(field) + "' is no position");
                positions.insert(position);
            }
            line.clear();
        }
    } catch (const FileError& error) {
        throw PositionsFileError(error.what());
    }
    return positions;
}

} // namespace addrix
