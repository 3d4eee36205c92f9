#include "support/GalderFakes.h"

#include "platform/PathUtil.h"

#include <utility>

namespace addrix::test {

GalderRig::GalderRig(double maxDeviceRecords, bool debug, std::string programDir) {
    download.maxRecords = maxDeviceRecords;
    download.trace = debug;
    process = std::make_unique<GalderProcess>(GalderServices{port, clock, timer, *this, *this},
                                              WithTrailingSeparator(programDir) + "debug.log");
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
