#include "app/gui/GalderDownloadWindow.h"

#include "app/gui/frmGalderProcess.h"

namespace addrix {

GalderDownloadWindow::GalderDownloadWindow(PortLocator locate, std::string traceFile,
                                           QWidget* owner)
    : m_locate(std::move(locate)), m_traceFile(std::move(traceFile)), m_owner(owner) {}

RecordCount GalderDownloadWindow::runDownload(ILineSink& file, const GalderDownload& download) {
    frmGalderProcess window(m_owner, m_locate, m_traceFile);
    return window.runDownload(file, download);
}

} // namespace addrix
