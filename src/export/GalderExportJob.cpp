#include "export/GalderExportJob.h"

#include "export/ExportDriver.h"
#include "export/ExportError.h"

namespace addrix {

RecordCount RunGalderExport(ILineSink& file, const ExportRequest& request,
                            IGalderDownloadWindow& window, GalderDownload download) {
    // Without a selected port the window would wait idle for ever.
    if (request.portNumber == 0)
        throw ExportError("No serial port is selected");
    download.portNumber = static_cast<std::int16_t>(request.portNumber);
    download.emailOption = static_cast<std::int16_t>(request.emailOption);
    download.maxRecords = request.maxRecords;
    download.trace = request.trace;
    return window.runDownload(file, download);
}

} // namespace addrix
