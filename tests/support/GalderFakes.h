#pragma once

#include "galder/GalderProcess.h"
#include "platform/IClock.h"
#include "platform/ISerialPort.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace addrix::test {

// A serial port in memory: its open result is set by the test, every write
// is recorded with the time of the clock given, and the bytes the test queues
// are what readAll() hands out.
class FakeSerialPort final : public ISerialPort {
public:
    struct Write {
        std::string bytes;
        Clock::time_point at;
    };

    explicit FakeSerialPort(const IClock* clock = nullptr) : m_clock(clock) {}

    // What the next open() reports.
    SerialOpenResult openResult{SerialOpenResult::Status::Opened, {}};
    // Most bytes one readAll() hands out; 0 hands out everything.
    std::size_t readChunk = 0;
    // When set, write() reports failure (and records nothing).
    bool failWrites = false;

    std::vector<int> openedPorts; // the number passed to every open()
    int closeCount = 0;
    std::vector<Write> writes;
    int writesWhileClosed = 0;

    SerialOpenResult open(int portNumber) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool write(const std::string& bytes) override;
    std::string readAll() override;

    // Bytes that arrive from the device; the test then reports them.
    void queue(const std::string& bytes) { m_incoming += bytes; }
    const std::string& incoming() const { return m_incoming; }
    // Every byte written, in order.
    std::string sent() const;

private:
    const IClock* m_clock;
    bool m_open = false;
    std::string m_incoming;
};

// A tick timer that never fires by itself: the test fires it.
class FakeTickTimer final : public ITickTimer {
public:
    struct Call {
        bool start; // false for stop()
        std::chrono::milliseconds interval;
    };
    std::vector<Call> calls;
    int starts = 0;
    int stops = 0;

    void start(std::chrono::milliseconds interval) override;
    void stop() override;
    bool isActive() const override { return m_active; }
    std::chrono::milliseconds interval() const { return m_interval; }

private:
    bool m_active = false;
    std::chrono::milliseconds m_interval{0};
};

// The download window's status line, progress bar and event loop.
class FakeGalderView final : public IGalderView {
public:
    std::vector<std::string> statuses;
    std::vector<int> progress; // every value set
    int closeCount = 0;
    int processEventsCount = 0;
    // Window events waiting to run; processEvents() runs them in order,
    // including any they post themselves.
    std::deque<std::function<void()>> pendingEvents;

    void setStatus(const std::string& text) override { statuses.push_back(text); }
    void setProgress(int value) override { progress.push_back(value); }
    void closeWindow() override { ++closeCount; }
    void processEvents() override;

    int progressValue() const { return progress.empty() ? 0 : progress.back(); }
    std::string status() const { return statuses.empty() ? std::string() : statuses.back(); }
};

// A message box that notes, for every box, whether the tick timer was still
// running and the port still open when it was shown.
class ProbingMessageBox final : public IMessageBox {
public:
    struct Shown {
        FakeMessageBox::Shown box;
        bool timerActive;
        bool portOpen;
    };
    ProbingMessageBox(const ITickTimer& timer, const ISerialPort& port)
        : m_timer(timer), m_port(port) {}
    std::vector<Shown> shown;
    // Runs while the box is displayed, as the box's own event loop would.
    std::function<void()> whileShown;

    MsgAnswer show(const std::string& caption, const std::string& text, MsgButtons buttons,
                   MsgIcon icon) override;

private:
    const ITickTimer& m_timer;
    const ISerialPort& m_port;
};

// One download window with every service faked, and the moves of a test:
// load, receive bytes, let seconds pass, cancel.
class GalderRig {
public:
    explicit GalderRig(double maxDeviceRecords = 250, bool debug = false,
                       std::string programDir = {});

    FakeClock clock;
    FakeSerialPort port{&clock};
    FakeTickTimer timer;
    ProbingMessageBox messages{timer, port};
    FakeGalderView view;
    MemorySink sink;
    Settings settings;
    std::unique_ptr<GalderProcess> process;

    // Sets the window's variables and loads it.
    void load(std::int16_t portNumber = 1, std::int16_t emailOption = 0);
    // `bytes` arrive and the port reports them.
    void receive(const std::string& bytes);
    // One second passes; the timer fires when it is on. True when it fired.
    bool tick();
    // `seconds` ticks.
    void ticks(int seconds);
    // The time since load() in whole seconds.
    long long secondsSinceLoad(Clock::time_point at) const;

    // Brings a loaded download to the records: wake-up answer, identification
    // answer, the tick that sends the download command, and `header`.
    void reachRecords(const std::string& header);

    std::string sent() const { return port.sent(); }
    std::int16_t result() const { return process->GalderCount; }

private:
    Clock::time_point m_loadedAt{};
};

// The identification answer of an enabled device: 37 bytes, not ending in "D".
std::string IdentificationAnswer(std::size_t size = 37, char last = '\x01');

// A download header: 06, layout, 00, record count.
std::string GalderHeader(int layout, int count, char third = '\0');

// Digits as packed decimal, padded with F to whole bytes.
std::string EncodeBcd(const std::string& digits);

// The fields of a record to send, as text; numbers are digits.
struct GalderRecordFields {
    std::string name;
    std::string secondNumber;
    std::string homePhone;
    std::string workPhone;
    std::string mobilePhone;
    std::string fax;
    std::string email;
    std::string wirelessAddress;
    std::string note;
};

// 256 data bytes of a layout 1 or 4 record: each field in its place, cut to
// its width and followed by 0xFF; bytes that belong to no field are `unused`.
std::string GalderRecordData(int layout, const GalderRecordFields& fields, char unused = '\xFF');

// A whole record on the wire: 0x7F and its 256 data bytes.
std::string GalderRecordBytes(int layout, const GalderRecordFields& fields, char unused = '\xFF');

} // namespace addrix::test
