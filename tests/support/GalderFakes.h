#pragma once

#include "GalderRecordCodec.h"
#include "galder/GalderProcess.h"
#include "platform/ISerialPort.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

namespace addrix::test {

// A serial port in memory: readAll() hands out what the test put in
// `incoming`, at most `readChunk` bytes at a time (0: all).
class FakeSerialPort final : public ISerialPort {
public:
    SerialOpenResult openResult{SerialOpenResult::Status::Opened, {}};
    std::size_t readChunk = 0;
    std::string incoming;
    int openedPort = 0;
    std::vector<std::string> writes;
    int writesWhileClosed = 0;

    SerialOpenResult open(int portNumber) override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool write(const std::string& bytes) override;
    std::string readAll() override;

private:
    bool m_open = false;
};

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
                       std::string programDir = {});

    FakeClock clock;
    FakeSerialPort port;
    FakeTickTimer timer;
    MemorySink sink;
    Settings settings;
    std::unique_ptr<GalderProcess> process;

    // The view: status lines and progress values set, closes asked for, and
    // the window events that processEvents() runs (those they post included).
    std::vector<std::string> statuses;
    std::vector<int> progress;
    int closeCount = 0;
    int processEventsCount = 0;
    std::deque<std::function<void()>> pendingEvents;
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

    void load(std::int16_t portNumber = 1, std::int16_t emailOption = 0);
    // `bytes` arrive and the port reports them.
    void receive(const std::string& bytes);
    // Seconds pass; the timer fires at each one while it is on.
    void ticks(int seconds = 1);
    // Wake-up answer, identification answer, the tick of the download
    // command, then `header`.
    void reachRecords(const std::string& header);
    std::int16_t result() const { return process->GalderCount; }

    void setStatus(const std::string& text) override { statuses.push_back(text); }
    void setProgress(int value) override { progress.push_back(value); }
    void closeWindow() override;
    void processEvents() override;
    MsgAnswer show(const std::string& caption, const std::string& text, MsgButtons buttons,
                   MsgIcon icon) override;
};

// The identification answer: `size` blanks, the last one replaced by `last`.
std::string IdentificationAnswer(std::size_t size = 37, char last = '\x01');
// 06, layout, `third` (00 in a good header), record count.
std::string GalderHeader(int layout, int count, char third = '\0');
// A record on the line: 0x7F and the 256 data bytes.
std::string GalderRecordBytes(const galdersim::SimContact& contact, int layout = 1);
// The record of generated contact `n` ("Name001 Family" ...).
std::string GalderRecordBytes(int n, int layout = 1);

} // namespace addrix::test
