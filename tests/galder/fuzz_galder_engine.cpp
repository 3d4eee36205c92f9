// Drives one Galder download from a script of device receipts, ticks,
// cancels and events that run while the engine lets pending events run or
// shows a message box, and checks what must hold whatever the device sends.
//
// Script: four set-up bytes (record limit, e-mail option, lines the output
// file accepts, port open result), then operations, one byte each followed
// by their arguments; a chunk is a length byte and that many bytes.

#include "galder/GalderProcess.h"
#include "settings/Settings.h"
#include "support/GalderFakes.h"
#include "support/TestSupport.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <string>

namespace {

using namespace addrix;
using namespace std::chrono_literals;

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

class Script {
public:
    Script(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool done() const { return m_pos >= m_size; }
    std::uint8_t byte() { return done() ? 0 : m_data[m_pos++]; }
    std::string chunk() {
        const std::size_t want = byte();
        const std::size_t take = std::min(want, m_size - m_pos);
        std::string out(reinterpret_cast<const char*>(m_data + m_pos), take);
        m_pos += take;
        return out;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

struct Harness;

// The download window: notes how much had been sent when it was asked to
// close, so that nothing sent later goes unnoticed.
class FuzzView final : public IGalderView {
public:
    explicit FuzzView(Harness& h) : m_h(h) {}
    std::deque<std::function<void()>> pendingEvents;
    int closeCount = 0;
    int progress = 0;

    void setStatus(const std::string&) override {}
    void setProgress(int value) override {
        Check(value >= 0 && value < 100, "progress within 0..99");
        progress = value;
    }
    void closeWindow() override;
    void processEvents() override {
        // At most a few, as an event may post further events.
        for (int i = 0; i < 8 && !pendingEvents.empty(); ++i) {
            auto event = std::move(pendingEvents.front());
            pendingEvents.pop_front();
            event();
        }
    }

private:
    Harness& m_h;
};

class FuzzMessages final : public IMessageBox {
public:
    explicit FuzzMessages(Harness& h) : m_h(h) {}
    int shown = 0;
    std::function<void()> whileShown;
    MsgAnswer show(const std::string&, const std::string&, MsgButtons, MsgIcon) override;

private:
    Harness& m_h;
};

struct Harness {
    test::FakeClock clock;
    test::FakeSerialPort port{&clock};
    test::FakeTickTimer timer;
    FuzzView view{*this};
    FuzzMessages messages{*this};
    test::FailingSink sink;
    Settings settings;
    GalderProcess process;
    // Once the window was asked to close or was unloaded, nothing more may
    // be sent.
    bool ended = false;
    std::size_t writesAtEnd = 0;

    static Settings WithLimit(double limit) {
        Settings settings;
        settings.MaxDeviceRecords = limit;
        return settings;
    }

    Harness(double limit, std::size_t okLines)
        : sink(okLines), settings(WithLimit(limit)),
          process(GalderServices{port, clock, timer, messages, view}, settings, std::string()) {
        process.Galderfhandle = &sink;
    }

    void end() {
        if (ended)
            return;
        ended = true;
        writesAtEnd = port.writes.size();
    }

    void checkAll() const {
        Check(process.GalderCount >= -2 && process.GalderCount <= 255, "GalderCount in -2..255");
        Check(port.writesWhileClosed == 0, "no write to a closed port");
        Check(view.closeCount <= 1, "window closed once");
        Check(view.closeCount == 0 || process.finished(), "finished once closed");
        Check(messages.shown <= 1, "one message per download");
        if (ended) {
            Check(port.writes.size() == writesAtEnd, "nothing sent after the end");
            Check(!timer.isActive(), "no tick after the end");
        }
    }
};

void FuzzView::closeWindow() {
    ++closeCount;
    m_h.end();
}

MsgAnswer FuzzMessages::show(const std::string&, const std::string&, MsgButtons, MsgIcon) {
    ++shown;
    Check(!m_h.timer.isActive(), "no tick while a message is shown");
    Check(m_h.port.isOpen(), "message shown while the port is open");
    if (whileShown) {
        auto run = std::move(whileShown);
        whileShown = nullptr;
        run();
    }
    return MsgAnswer::Ok;
}

std::string CannedBytes(Script& s) {
    switch (s.byte() % 4) {
    case 0:
        return "\x8B";
    case 1:
        return test::IdentificationAnswer(37, static_cast<char>(s.byte()));
    case 2: {
        static const int layouts[] = {1, 4, 4, 7};
        const int layout = layouts[s.byte() % 4];
        return test::GalderHeader(layout, s.byte());
    }
    default: {
        std::string data = s.chunk();
        data.resize(256, '\xFF');
        return '\x7F' + data;
    }
    }
}

// Reads one operation from the script and returns it as an action, so that
// it can run now or later, inside the engine's own calls.
std::function<void()> ParseOperation(Script& s, Harness& h, int depth) {
    switch (s.byte() % 9) {
    case 0: {
        const std::string bytes = s.chunk();
        return [&h, bytes] {
            h.port.queue(bytes);
            h.process.OnDataReceived();
        };
    }
    case 1: {
        const auto advance = std::chrono::milliseconds(s.byte() * 50);
        return [&h, advance] {
            h.clock.advance(advance);
            if (h.timer.isActive())
                h.process.OnTick();
        };
    }
    case 2:
        return [&h] {
            h.process.OnCancel();
        };
    case 3: {
        if (depth > 2)
            return [] {
            };
        auto nested = ParseOperation(s, h, depth + 1);
        return [&h, nested] {
            h.view.pendingEvents.push_back(nested);
        };
    }
    case 4: {
        if (depth > 2)
            return [] {
            };
        auto nested = ParseOperation(s, h, depth + 1);
        return [&h, nested] {
            h.messages.whileShown = nested;
        };
    }
    case 5: {
        const std::string bytes = CannedBytes(s);
        return [&h, bytes] {
            h.port.queue(bytes);
            h.process.OnDataReceived();
        };
    }
    case 6: {
        const std::size_t chunk = s.byte() % 64;
        return [&h, chunk] {
            h.port.readChunk = chunk;
        };
    }
    case 7:
        return [&h] {
            h.process.OnDataReceived();
        };
    default:
        return [&h] {
            h.process.Unload();
            Check(!h.port.isOpen() && !h.timer.isActive(), "unload releases port and timer");
            h.end();
        };
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Script s(data, size);
    const double limit = 1 + s.byte() % 255;
    const auto emailOption = static_cast<std::int16_t>(s.byte() % 4) - 1;
    const std::uint8_t okLines = s.byte();
    const bool openFails = s.byte() % 16 == 15;

    Harness h(limit, okLines == 255 ? SIZE_MAX : okLines);
    h.process.GalderEmailOption = static_cast<std::int16_t>(emailOption);
    h.process.GalderCommPortNumber = 1;
    if (openFails)
        h.port.openResult = {SerialOpenResult::Status::Failed, "COM1: in use"};
    try {
        h.process.Load();
        Check(!openFails, "an open failure throws");
    } catch (const SerialPortError&) {
        Check(openFails, "only an open failure throws");
        Check(h.port.writes.empty(), "nothing sent without a port");
        return 0;
    }

    while (!s.done()) {
        ParseOperation(s, h, 0)();
        h.checkAll();
        Check(h.sink.lines.size() <= 255, "at most 255 lines");
    }
    h.process.Unload();
    Check(!h.port.isOpen(), "unload closes the port");
    return 0;
}
