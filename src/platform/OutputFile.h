#pragma once

#include "platform/TextFile.h"

#include <string>
#include <vector>

namespace addrix {

// The export's output file. An existing file is replaced only once the source
// has been opened, so that a mistyped backup file or a port that cannot be
// opened leaves last week's export as it was. The lines go to a temporary
// file beside it, renamed over it at `close` (after a failure too: the lines
// written before it stay, as they would in place). Where the folder takes no
// new file but the file itself can be written, the file is opened in place
// once the source has been opened, the lines before that held in memory. A
// device (a terminal, /dev/null) or a pipe with a reader is written directly;
// a pipe without one, a folder or anything else is refused. Nothing
// temporary is left behind.
class OutputFile final : public ILineSink {
public:
    OutputFile() = default;
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Throws FileError when `path` cannot be written.
    void open(const std::string& path);
    void writeLine(const std::string& line) override;
    void flush() override;
    void sourceOpened() override;
    // Puts the lines in place when the source was opened, else leaves the
    // file as it was. Throws FileError when the lines could not be written
    // or put in place; the output is settled either way.
    void close();

private:
    enum class Mode { Closed, Temporary, InPlace, Direct };

    TextFileWriter m_file;
    Mode m_mode = Mode::Closed;
    std::string m_path; // the file the user named (a link's target)
    std::string m_temp; // the temporary file beside it
    bool m_sourceOpened = false;
    std::vector<std::string> m_held; // lines written before an in-place file opened
};

} // namespace addrix
