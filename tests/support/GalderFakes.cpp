#include "support/GalderFakes.h"

#include <utility>

namespace addrix::test {

SerialOpenResult FakeSerialPort::open(int portNumber) {
    openedPort = portNumber;
    m_open = openResult.ok();
    return openResult;
}

bool FakeSerialPort::write(const std::string& bytes) {
    if (!m_open) {
        ++writesWhileClosed;
        return false;
    }
    writes.push_back(bytes);
    return true;
}

std::string FakeSerialPort::readAll() {
    const std::size_t take = readChunk ? std::min(readChunk, incoming.size()) : incoming.size();
    std::string out = incoming.substr(0, take);
    incoming.erase(0, take);
    return out;
}

GalderRig::GalderRig(double maxDeviceRecords, bool debug, std::string programDir) {
    settings.MaxDeviceRecords = maxDeviceRecords;
    settings.DebugEnabled = debug;
    process = std::make_unique<GalderProcess>(GalderServices{port, clock, timer, *this, *this},
                                              settings, std::move(programDir));
    process->Galderfhandle = &sink;
}

void GalderRig::load(std::int16_t portNumber, std::int16_t emailOption) {
    process->GalderCommPortNumber = portNumber;
    process->GalderEmailOption = emailOption;
    process->Load();
}

void GalderRig::receive(const std::string& bytes) {
    port.incoming += bytes;
    process->OnDataReceived();
}

void GalderRig::ticks(int seconds) {
    for (int i = 0; i < seconds; ++i) {
        clock.advance(std::chrono::seconds(1));
        if (timer.active)
            process->OnTick();
    }
}

void GalderRig::reachRecords(const std::string& header) {
    receive("\x8B");
    receive(IdentificationAnswer());
    ticks();
    receive(header);
}

void GalderRig::closeWindow() {
    ++closeCount;
    if (onClose)
        onClose();
}

void GalderRig::processEvents() {
    ++processEventsCount;
    while (!pendingEvents.empty()) {
        auto event = std::move(pendingEvents.front());
        pendingEvents.pop_front();
        event();
    }
}

MsgAnswer GalderRig::show(const std::string& caption, const std::string& text, MsgButtons buttons,
                          MsgIcon icon) {
    shown.push_back({{caption, text, buttons, icon}, timer.active, port.isOpen()});
    if (auto run = std::exchange(whileShown, nullptr))
        run();
    return MsgAnswer::Ok;
}

std::string IdentificationAnswer(std::size_t size, char last) {
    return std::string(size - 1, ' ') + last;
}

std::string GalderHeader(int layout, int count, char third) {
    return {'\x06', static_cast<char>(layout), third, static_cast<char>(count)};
}

std::string GalderRecordBytes(const galdersim::SimContact& contact, int layout) {
    return '\x7F' + galdersim::EncodeRecord(contact, layout);
}

std::string GalderRecordBytes(int n, int layout) {
    return GalderRecordBytes(galdersim::GeneratedContact(n), layout);
}

} // namespace addrix::test
