#include "app/gui/GalderDownloadWindow.h"

#include "app/gui/frmGalderProcess.h"

namespace addrix {

GalderDownloadWindow::GalderDownloadWindow(const Settings& settings, std::string programDir,
                                           PortLocator locate, QWidget* owner)
    : m_settings(settings), m_programDir(std::move(programDir)), m_locate(std::move(locate)),
      m_owner(owner) {}

RecordCount GalderDownloadWindow::runDownload(ILineSink& file, std::int16_t portNumber,
                                              std::int16_t emailOption) {
    frmGalderProcess window(m_owner, m_settings, m_programDir, m_locate);
    GalderProcess& process = window.process();
    process.Galderfhandle = &file;
    process.GalderCommPortNumber = portNumber;
    process.GalderEmailOption = emailOption;

    // Unloading stops the timer and releases the port, also when the load
    // fails and its error goes on to the export driver.
    struct Unload {
        GalderProcess& process;
        ~Unload() { process.Unload(); }
    } unload{process};

    process.Load();
    if (!process.finished() && !window.closedByUser())
        window.exec();
    return process.GalderCount;
}

} // namespace addrix
