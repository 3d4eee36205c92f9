#pragma once

#include "galder/GalderExportJob.h"
#include "platform/qt/QtSerialPort.h"

#include <string>

class QWidget;

namespace addrix {

struct Settings;

// Runs each Galder download in a fresh frmGalderProcess, shown modally over
// the wizard window.
class GalderDownloadWindow final : public IGalderDownloadWindow {
public:
    GalderDownloadWindow(const Settings& settings, std::string programDir, PortLocator locate,
                         QWidget* owner = nullptr);
    // The wizard window, once it exists.
    void setOwner(QWidget* owner) { m_owner = owner; }

    RecordCount runDownload(ILineSink& file, std::int16_t portNumber,
                            std::int16_t emailOption) override;

private:
    const Settings& m_settings;
    std::string m_programDir;
    PortLocator m_locate;
    QWidget* m_owner;
};

} // namespace addrix
