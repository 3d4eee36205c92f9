#pragma once

#include "export/GalderExportJob.h"
#include "platform/qt/SystemSerialPort.h"

#include <iosfwd>
#include <string>

namespace addrix {

// The Galder download without a window, for the command line: the same
// engine on the Qt event loop. The status line goes to the error stream
// (rewritten in place on a terminal, one line per change otherwise); Ctrl-C
// works as the Cancel button.
class ConsoleDownload final : public IGalderDownloadWindow {
public:
    // `traceFile` is where the exchange is traced when the download asks for it.
    ConsoleDownload(std::ostream& err, bool errIsTerminal, PortLocator locate,
                    std::string traceFile);

    RecordCount runDownload(ILineSink& file, const GalderDownload& download) override;

    // Whether the process's standard error is a terminal.
    static bool StandardErrorIsTerminal();

private:
    std::ostream& m_err;
    bool m_terminal;
    PortLocator m_locate;
    std::string m_traceFile;
};

} // namespace addrix
