#pragma once

#include "export/GalderExportJob.h"
#include "platform/qt/SystemSerialPort.h"

#include <string>

class QWidget;

namespace addrix {

// Runs each Galder download in a fresh frmGalderProcess, shown modally over
// the wizard window.
class GalderDownloadWindow final : public IGalderDownloadWindow {
public:
    // `traceFile` is where the exchange is traced when the download asks for it.
    GalderDownloadWindow(PortLocator locate, std::string traceFile, QWidget* owner = nullptr);
    // The wizard window, once it exists.
    void setOwner(QWidget* owner) { m_owner = owner; }

    RecordCount runDownload(ILineSink& file, const GalderDownload& download) override;

private:
    PortLocator m_locate;
    std::string m_traceFile;
    QWidget* m_owner;
};

} // namespace addrix
