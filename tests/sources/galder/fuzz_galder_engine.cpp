// Drives one Galder download from a script of receipts, ticks, cancels,
// closes, hang-ups and events that run while the engine shows a message, and
// checks what must hold whatever the device sends.
//
// Script: three set-up bytes (record limit, e-mail option and, with its top
// bit, the odd records up to the number in its bits 2 to 6 chosen; lines the
// output file takes), then operations of one byte followed by their arguments; a
// chunk is a length byte and that many bytes. Missing bytes read as 0.

#include "support/GalderFakes.h"

#include <cstdio>
#include <cstdlib>
#include <set>

namespace {

using namespace addrix;
using namespace addrix::test;

void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

struct Script {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;

    std::uint8_t byte() { return pos < size ? data[pos++] : 0; }
    std::string chunk() {
        const std::size_t take = std::min<std::size_t>(byte(), size - pos);
        pos += take;
        return std::string(reinterpret_cast<const char*>(data + pos - take), take);
    }
};

// Bytes a device might well send: its answers, a header, a record.
std::string Canned(Script& s) {
    switch (s.byte() % 4) {
    case 0:
        return "\x8B";
    case 1:
        return IdentificationAnswer(37, static_cast<char>(s.byte()));
    case 2: {
        const int layout = s.byte() % 8;
        return GalderHeader(layout, s.byte());
    }
    }
    std::string data = s.chunk();
    data.resize(256, '\xFF');
    return '\x7F' + data;
}

// Reads one operation of the script and, when `now`, does it. An operation
// that runs while a message shows is read again when its time comes.
void Operation(Script& s, GalderRig& rig, bool& hungUp, int depth, bool now) {
    const int op = s.byte() % 8;
    const std::string bytes = op == 0 ? s.chunk() : op == 1 ? Canned(s) : std::string();
    const int arg = op == 2 || op == 4 ? s.byte() : 0;
    if (op == 7 && depth < 3) {
        Script later{s.data, s.size, s.pos};
        Operation(s, rig, hungUp, depth + 1, false);
        if (now) {
            rig.whileShown = [&rig, &hungUp, later, depth]() mutable {
                Operation(later, rig, hungUp, depth + 1, true);
            };
        }
    }
    if (!now || op == 7)
        return;
    if (op <= 1)
        rig.receive(bytes);
    if (op == 2) {
        rig.clock.advance(std::chrono::milliseconds(arg * 50));
        if (rig.timer.isActive())
            rig.process->OnTick();
    }
    if (op == 3)
        rig.process->OnCancel();
    if (op == 4)
        rig.port.readChunk = arg % 64;
    if (op == 5) {
        rig.process->Unload(); // the window closed
        rig.onClose();
    }
    if (op == 6) {
        rig.port.close(); // the other end hung up
        hungUp = true;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Script s{data, size};
    GalderRig rig(1 + s.byte() % 255);
    const std::uint8_t emailByte = s.byte();
    const auto email = static_cast<std::int16_t>(emailByte % 4 - 1);
    std::set<std::int64_t> only;
    for (int position = 1; position <= (emailByte >> 2 & 0x1F); position += 2)
        only.insert(position);
    if (emailByte & 0x80)
        rig.download.only = &only;
    ChangeCollector changes(true);
    rig.download.changes = &changes;
    const std::uint8_t okLines = s.byte();
    FailingSink out(okLines == 255 ? SIZE_MAX : okLines);
    rig.out = &out;
    // Writes and lines when the window was asked to close or was closed.
    std::size_t writesAtEnd = SIZE_MAX;
    std::size_t linesAtEnd = 0;
    rig.onClose = [&] {
        if (writesAtEnd == SIZE_MAX) {
            writesAtEnd = rig.port.writes.size();
            linesAtEnd = out.lines.size();
        }
    };
    rig.load(1, email);
    bool hungUp = false;
    while (s.pos < s.size) {
        Operation(s, rig, hungUp, 0, true);
        Check(rig.result() >= -2 && rig.result() <= 255, "GalderCount within -2..255");
        Check(rig.result() < 0 || static_cast<std::size_t>(rig.result()) == out.lines.size(),
              "a count is the number of lines written");
        Check(rig.port.writesWhileClosed == 0, "no write to a closed port");
        Check(rig.closeCount <= 1 && rig.shown.size() <= 1, "one ending, one message");
        for (const auto& shown : rig.shown)
            Check(!shown.timerActive && (shown.portOpen || hungUp),
                  "messages with no tick, the port still open");
        if (writesAtEnd != SIZE_MAX) {
            Check(rig.port.writes.size() == writesAtEnd, "nothing sent after the end");
            Check(out.lines.size() == linesAtEnd, "nothing written after the end");
            Check(!rig.timer.isActive(), "no tick after the end");
        }
    }
    rig.process->Unload();
    Check(!rig.port.isOpen() && !rig.timer.isActive(), "unload releases port and timer");
    return 0;
}
