#pragma once

#include "export/ExportDriver.h"

#include <cstdint>

namespace addrix {

class ILineSink;
class IWizardForm;

// The download window frmGalderProcess as the export job sees it: given the
// output file and the wizard's choices, it loads, runs one download modally
// and reports its GalderCount.
class IGalderDownloadWindow {
public:
    virtual ~IGalderDownloadWindow() = default;
    // Loads the window (which opens COM`portNumber` and starts the download),
    // shows it until the download ends or the user closes it, unloads it and
    // returns GalderCount. Throws SerialPortError when the port cannot be
    // opened; the export driver reports it.
    virtual RecordCount runDownload(ILineSink& file, std::int16_t portNumber,
                                    std::int16_t emailOption) = 0;
};

// The "galder" source: hands the output file, the selected port's number and
// the selected e-mail position to the download window and returns its result.
RecordCount RunGalderExport(ILineSink& file, IWizardForm& wizard, IGalderDownloadWindow& window);

} // namespace addrix
