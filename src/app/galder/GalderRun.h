#pragma once

#include "platform/SteadyClock.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/SystemSerialPort.h"
#include "sources/galder/GalderProcess.h"

#include <cstdint>
#include <functional>
#include <string>

namespace addrix {

class ILineSink;
class IMessageBox;

// One Galder download on the Qt event loop, for the wizard's download window
// and the command line alike: the serial port, the tick timer, the clock and
// the engine, wired together. The engine is unloaded when the run goes, so
// that the timer stops and the port closes on every path.
class GalderRun {
public:
    GalderRun(IMessageBox& messages, IGalderView& view, PortLocator locate, std::string traceFile);
    ~GalderRun();
    GalderRun(const GalderRun&) = delete;
    GalderRun& operator=(const GalderRun&) = delete;

    GalderProcess& process() { return m_process; }

    // Loads the engine with `download`, then runs `wait` (an event loop that
    // the view's closeWindow ends) unless the download already ended. Returns
    // GalderCount. A port that cannot be opened throws SerialPortError.
    std::int16_t run(ILineSink& file, const GalderDownload& download,
                     const std::function<void()>& wait);

private:
    SystemSerialPort m_port; // MSComm1
    SteadyClock m_clock;
    QtTickTimer m_timer; // Timer1
    GalderProcess m_process;
};

} // namespace addrix
