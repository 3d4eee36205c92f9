#pragma once

#include "contact/RecordLimit.h"
#include "sources/galder/GalderProcess.h"

namespace addrix {

class ILineSink;
struct ExportRequest;

// The download window frmGalderProcess as the export job sees it: given the
// output file and the download's inputs, it loads, runs one download modally
// and reports its GalderCount.
class IGalderDownloadWindow {
public:
    virtual ~IGalderDownloadWindow() = default;
    // Loads the window (which opens the port and starts the download), shows
    // it until the download ends or the user closes it, unloads it and
    // returns GalderCount. Throws SerialPortError when the port cannot be
    // opened; the export driver reports it.
    virtual RecordCount runDownload(ILineSink& file, const GalderDownload& download) = 0;
};

// The "galder" source: hands the output file, the selected port's number,
// the e-mail position and the limits to the download window and returns its
// result. `download` brings the rest: where the changes, a list or the
// lacking positions go, the choice. Throws ExportError when no port is
// selected.
RecordCount RunGalderExport(ILineSink& file, const ExportRequest& request,
                            IGalderDownloadWindow& window, GalderDownload download = {});

} // namespace addrix
