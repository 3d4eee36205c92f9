#pragma once

#include "GalderRecordCodec.h"
#include "platform/PathUtil.h"
#include "sources/galder/GalderProcess.h"
#include "support/TestSupport.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

namespace addrix::test {

// The identification answer: `size` blanks, the last one replaced by `last`.
inline std::string IdentificationAnswer(std::size_t size = 37, char last = '\x01') {
    return std::string(size - 1, ' ') + last;
}
// 06, layout, `third` (00 in a good header), record count.
inline std::string GalderHeader(int layout, int count, char third = '\0') {
    return {'\x06', static_cast<char>(layout), third, static_cast<char>(count)};
}
// The record of generated contact `n` ("Name001 Family" ...) on the line:
// 0x7F and the 256 data bytes.
inline std::string GalderRecordBytes(int n, int layout = 1) {
    return '\x7F' + galdersim::EncodeRecord(galdersim::GeneratedContact(n), layout);
}

// A tick timer that fires only when the test says so.
class FakeTickTimer final : public ITickTimer {
public:
    std::chrono::milliseconds interval{0};
    bool active = false;
    void start(std::chrono::milliseconds every) override {
        active = true;
        interval = every;
    }
    void stop() override { active = false; }
    bool isActive() const override { return active; }
};

// One download window with every service faked; the rig itself is the
// window's view and message box.
class GalderRig final : public IGalderView, public IMessageBox {
public:
    explicit GalderRig(double maxDeviceRecords = 250, bool debug = false,
                       const std::string& programDir = {}) {
        download.maxRecords = maxDeviceRecords;
        download.trace = debug;
        process = std::make_unique<GalderProcess>(GalderServices{port, clock, timer, *this, *this},
                                                  WithTrailingSeparator(programDir) + "debug.log");
    }

    FakeClock clock;
    FakeSerialPort port;
    FakeTickTimer timer;
    MemorySink sink;
    GalderDownload download; // port 1, e-mail to WORK_EMAIL, the limit and trace asked for
    ILineSink* out = &sink;  // where the download writes
    std::unique_ptr<GalderProcess> process;

    // The view: closes asked for.
    int closeCount = 0;
    std::function<void()> onClose;

    // The messages shown, each noting whether the tick was on and the port
    // open; `whileShown` runs once, as a box's own event loop would.
    struct Shown {
        FakeMessageBox::Shown box;
        bool timerActive;
        bool portOpen;
    };
    std::vector<Shown> shown;
    std::function<void()> whileShown;

    void load(std::int16_t portNumber = 1, std::int16_t emailOption = 0) {
        download.portNumber = portNumber;
        download.emailOption = emailOption;
        process->Load(*out, download);
    }
    // `bytes` arrive and the port reports them.
    void receive(const std::string& bytes) {
        port.incoming += bytes;
        process->OnDataReceived();
    }
    // Seconds pass; the timer fires at each one while it is on.
    void ticks(int seconds = 1) {
        for (int i = 0; i < seconds; ++i) {
            clock.advance(std::chrono::seconds(1));
            if (timer.active)
                process->OnTick();
        }
    }
    // Wake-up answer, identification answer, the tick of the download
    // command, then `header`.
    void reachRecords(const std::string& header) {
        receive("\x8B");
        receive(IdentificationAnswer());
        ticks();
        receive(header);
    }
    std::int16_t result() const { return process->GalderCount(); }

    void setStatus(const std::string&) override {}
    void setProgress(int) override {}
    void closeWindow() override {
        ++closeCount;
        if (onClose)
            onClose();
    }
    MsgAnswer show(const std::string& caption, const std::string& text, MsgButtons buttons,
                   MsgIcon icon) override {
        shown.push_back({{caption, text, buttons, icon}, timer.active, port.isOpen()});
        if (auto run = std::exchange(whileShown, nullptr))
            run();
        return MsgAnswer::Ok;
    }
};

} // namespace addrix::test
