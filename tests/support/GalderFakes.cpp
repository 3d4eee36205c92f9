#include "support/GalderFakes.h"

#include <stdexcept>

namespace addrix::test {

using namespace std::chrono_literals;

SerialOpenResult FakeSerialPort::open(int portNumber) {
    openedPorts.push_back(portNumber);
    m_open = openResult.ok();
    return openResult;
}

void FakeSerialPort::close() {
    ++closeCount;
    m_open = false;
}

bool FakeSerialPort::write(const std::string& bytes) {
    if (!m_open) {
        ++writesWhileClosed;
        return false;
    }
    if (failWrites)
        return false;
    writes.push_back({bytes, m_clock ? m_clock->now() : Clock::time_point{}});
    return true;
}

std::string FakeSerialPort::readAll() {
    const std::size_t take =
        readChunk == 0 ? m_incoming.size() : std::min(readChunk, m_incoming.size());
    std::string out = m_incoming.substr(0, take);
    m_incoming.erase(0, take);
    return out;
}

std::string FakeSerialPort::sent() const {
    std::string all;
    for (const Write& w : writes)
        all += w.bytes;
    return all;
}

void FakeTickTimer::start(std::chrono::milliseconds interval) {
    m_active = true;
    m_interval = interval;
    ++starts;
    calls.push_back({true, interval});
}

void FakeTickTimer::stop() {
    m_active = false;
    ++stops;
    calls.push_back({false, 0ms});
}

void FakeGalderView::processEvents() {
    ++processEventsCount;
    while (!pendingEvents.empty()) {
        auto event = std::move(pendingEvents.front());
        pendingEvents.pop_front();
        event();
    }
}

MsgAnswer ProbingMessageBox::show(const std::string& caption, const std::string& text,
                                  MsgButtons buttons, MsgIcon icon) {
    shown.push_back({{caption, text, buttons, icon}, m_timer.isActive(), m_port.isOpen()});
    if (whileShown)
        whileShown();
    return MsgAnswer::Ok;
}

GalderRig::GalderRig(double maxDeviceRecords, bool debug, std::string programDir) {
    settings.MaxDeviceRecords = maxDeviceRecords;
    settings.DebugEnabled = debug;
    process = std::make_unique<GalderProcess>(GalderServices{port, clock, timer, messages, view},
                                              settings, std::move(programDir));
    process->Galderfhandle = &sink;
}

void GalderRig::load(std::int16_t portNumber, std::int16_t emailOption) {
    process->GalderCommPortNumber = portNumber;
    process->GalderEmailOption = emailOption;
    m_loadedAt = clock.now();
    process->Load();
}

void GalderRig::receive(const std::string& bytes) {
    port.queue(bytes);
    process->OnDataReceived();
}

bool GalderRig::tick() {
    clock.advance(1s);
    if (!timer.isActive())
        return false;
    process->OnTick();
    return true;
}

void GalderRig::ticks(int seconds) {
    for (int i = 0; i < seconds; ++i)
        tick();
}

long long GalderRig::secondsSinceLoad(Clock::time_point at) const {
    return std::chrono::duration_cast<std::chrono::seconds>(at - m_loadedAt).count();
}

void GalderRig::reachRecords(const std::string& header) {
    receive("\x8B");
    receive(IdentificationAnswer());
    tick();
    receive(header);
}

std::string IdentificationAnswer(std::size_t size, char last) {
    std::string answer(size, '\x20');
    if (size > 0)
        answer.back() = last;
    return answer;
}

std::string GalderHeader(int layout, int count, char third) {
    return std::string{'\x06', static_cast<char>(layout), third, static_cast<char>(count)};
}

std::string EncodeBcd(const std::string& digits) {
    std::string padded = digits;
    if (padded.size() % 2 != 0)
        padded += 'F';
    std::string bytes;
    for (std::size_t i = 0; i < padded.size(); i += 2) {
        auto nibble = [](char c) {
            return c == 'F' ? 15 : c - '0';
        };
        bytes.push_back(static_cast<char>(nibble(padded[i]) * 16 + nibble(padded[i + 1])));
    }
    return bytes;
}

namespace {

// Puts `bytes` at positions `first` to `last` (from 1) of `data`, cut to the
// width, the rest of the width 0xFF.
void Place(std::string& data, std::size_t first, std::size_t last, const std::string& bytes) {
    const std::size_t width = last - first + 1;
    for (std::size_t i = 0; i < width; ++i)
        data[first - 1 + i] = i < bytes.size() ? bytes[i] : '\xFF';
}

} // namespace

std::string GalderRecordData(int layout, const GalderRecordFields& f, char unused) {
    std::string data(256, unused);
    if (layout == 1) {
        Place(data, 1, 20, f.name);
        Place(data, 26, 30, EncodeBcd(f.secondNumber));
        Place(data, 31, 40, EncodeBcd(f.homePhone));
        Place(data, 41, 50, EncodeBcd(f.workPhone));
        Place(data, 51, 60, EncodeBcd(f.mobilePhone));
        Place(data, 61, 70, EncodeBcd(f.fax));
        Place(data, 71, 110, f.email);
        Place(data, 111, 150, f.wirelessAddress);
        Place(data, 151, 255, f.note);
    } else if (layout == 4) {
        Place(data, 1, 20, f.name);
        Place(data, 63, 72, EncodeBcd(f.homePhone));
        Place(data, 73, 82, EncodeBcd(f.workPhone));
        Place(data, 83, 92, EncodeBcd(f.mobilePhone));
        Place(data, 93, 102, EncodeBcd(f.fax));
        Place(data, 103, 167, f.email);
        Place(data, 168, 232, f.wirelessAddress);
        Place(data, 233, 254, f.note);
    } else {
        throw std::invalid_argument("no such record layout");
    }
    return data;
}

std::string GalderRecordBytes(int layout, const GalderRecordFields& fields, char unused) {
    return '\x7F' + GalderRecordData(layout, fields, unused);
}

} // namespace addrix::test
