#include "app/galder/GalderRun.h"

namespace addrix {

GalderRun::GalderRun(IMessageBox& messages, IGalderView& view, PortLocator locate,
                     std::string traceFile)
    : m_port(std::move(locate)), m_timer([this] { m_process.OnTick(); }),
      m_process(GalderServices{m_port, m_clock, m_timer, messages, view}, std::move(traceFile)) {
    m_port.setDataReceivedHandler([this] { m_process.OnDataReceived(); });
}

GalderRun::~GalderRun() {
    // No tick or receipt may reach the engine while the run goes.
    m_process.Unload();
    m_port.setDataReceivedHandler({});
}

std::int16_t GalderRun::run(ILineSink& file, const GalderDownload& download,
                            const std::function<void()>& wait) {
    // Unloading stops the timer and releases the port, also when the load
    // fails and its error goes on to the export driver.
    struct Unload {
        GalderProcess& process;
        ~Unload() { process.Unload(); }
    } unload{m_process};

    m_process.Load(file, download);
    if (!m_process.finished())
        wait();
    return m_process.GalderCount();
}

} // namespace addrix
