// Hands arbitrary fields to one ContactLineWriter, contact after contact, and
// holds what it writes and reports to the clean-up rules written plainly.
//
// Input: a first byte whose low bit keeps the sources for the change report,
// then chunks. A chunk's first byte h names column h % 23 (22 ends the
// contact); a length follows, one byte, or two from h 230 up, and that many
// bytes are appended to the column as one piece. Missing bytes read as 0.

#include "contact/ContactRules.h"

#include <cstdio>
#include <cstdlib>

namespace {

using namespace addrix;
using namespace addrix::test;

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;

    std::uint8_t byte() { return pos < size ? data[pos++] : 0; }
    std::string_view bytes(std::size_t count) {
        const std::size_t take = std::min(count, size - pos);
        pos += take;
        return {reinterpret_cast<const char*>(data + pos - take), take};
    }
};

void Check(ContactLineWriter& writer, const Contact& contact) {
    const std::string differences = Differences(writer, contact);
    if (!differences.empty()) {
        std::fprintf(stderr, "the writer differs from the rules: %s\n", differences.c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    static ContactLineWriter writer; // reused, as the sources reuse theirs
    writer.keepSources((in.byte() & 1) != 0);
    writer.begin();
    Contact contact;
    while (in.pos < in.size) {
        const std::uint8_t h = in.byte();
        const auto column = static_cast<std::size_t>(h % 23);
        if (column == kColumnCount) {
            Check(writer, contact);
            writer.begin();
            contact = Contact();
            continue;
        }
        std::size_t length = in.byte();
        if (h >= 230)
            length = length << 8 | in.byte();
        const std::string_view piece = in.bytes(length);
        writer.add(static_cast<Column>(column), piece);
        contact[column].append(piece);
    }
    Check(writer, contact);
    return 0;
}
