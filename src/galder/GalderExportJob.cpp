#include "galder/GalderExportJob.h"

#include "export/IWizardForm.h"

#include <stdexcept>

namespace addrix {

RecordCount RunGalderExport(ILineSink& file, IWizardForm& wizard, IGalderDownloadWindow& window) {
    const int portIndex = wizard.lstGalderCommPortIndex();
    // Without a selected port the window would wait idle for ever.
    if (portIndex < 0 || portIndex >= wizard.lstGalderCommPortCount())
        throw std::runtime_error("No serial port is selected");
    const auto portNumber = static_cast<std::int16_t>(wizard.lstGalderCommPortItemData(portIndex));
    const auto emailOption = static_cast<std::int16_t>(wizard.lstGalderEmailIndex());
    return window.runDownload(file, portNumber, emailOption);
}

} // namespace addrix
