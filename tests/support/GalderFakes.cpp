#include "support/GalderFakes.h"

#include <utility>

namespace addrix::test {

GalderRig::GalderRig(double maxDeviceRecords, bool debug, std::string programDir) {
    settings.MaxDeviceRecords = maxDeviceRecords;
    settings.DebugEnabled = debug;
    process = std::make_unique<GalderProcess>(GalderServices{port, clock, timer, *this, *this},
                                              settings, std::move(programDir));
    process->Galderfhandle = &sink;
}

void GalderRig::reachRecords(const std::string& header) {
    receive("\x8B");
    receive(IdentificationAnswer());
    ticks();
    receive(header);
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

} // namespace addrix::test
