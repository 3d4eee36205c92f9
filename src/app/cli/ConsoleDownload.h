#pragma once

#include "galder/GalderExportJob.h"
#include "platform/qt/QtSerialPort.h"

#include <iosfwd>
#include <string>

namespace addrix {

struct Settings;

// The Galder download without a window, for the command line: the same
// engine on the Qt event loop. The status line goes to the error stream
// (rewritten in place on a terminal, one line per change otherwise); Ctrl-C
// works as the Cancel button.
class ConsoleDownload final : public IGalderDownloadWindow {
public:
    ConsoleDownload(std::ostream& err, bool errIsTerminal, const Settings& settings,
                    std::string programDir, PortLocator locate);

    RecordCount runDownload(ILineSink& file, std::int16_t portNumber,
                            std::int16_t emailOption) override;

    // Whether the process's standard error is a terminal.
    static bool StandardErrorIsTerminal();

private:
    std::ostream& m_err;
    bool m_terminal;
    const Settings& m_settings;
    std::string m_programDir;
    PortLocator m_locate;
};

} // namespace addrix
