#pragma once

#include "platform/TextFile.h"

#include <cstdint>
#include <string>

namespace addrix {

// The lines a failed export kept, in a file of their own.
struct KeptLines {
    std::string path;       // "" when nothing was kept
    std::int64_t lines = 0; // whole lines in it
};

// A file that takes the place of `path` only when its writing ended well.
// The lines go to a temporary file beside it (where the folder takes no new
// file but the file itself may be written, in the system's temporary folder,
// copied over it at the end) whose name the next open of a file in the same
// folder recognises and removes once the process that made it is gone. A device (a
// terminal, /dev/null) or a pipe with a reader is written directly; a pipe
// without one, a folder or a read-only file is refused. Until `commit`, the
// file at `path` stays as it was.
class OutputFile final : public ILineSink {
public:
    OutputFile() = default;
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Throws FileError when `path` cannot be written; nothing is touched then.
    void open(const std::string& path);
    void writeLine(const std::string& line) override;
    void flush() override;
    // True when something existed at `path` when it was opened.
    bool replaces() const { return m_existed; }
    // Puts the lines in place of the file at `path` by a rename. Throws
    // FileError when they could not be written or put in place; the file at
    // `path` is then as it was, and `abandon` can still keep the lines.
    void commit();
    // Drops the lines, or with `keep` keeps the whole lines of them in a new
    // file beside `path` whose name says it is incomplete ("book.csv" gives
    // "book.incomplete.csv", then "book.incomplete-2.csv" ...) when there are
    // more of them than `leading` (a header alone is nothing to keep); an
    // existing file is never replaced. Never throws.
    KeptLines abandon(bool keep, std::int64_t leading = 0);

private:
    enum class Mode { Closed, Temporary, CopyInto, Direct };

    void openStaging(const std::string& folder, const std::string& shownAs);
    KeptLines keepIncomplete(std::int64_t leading);

    TextFileWriter m_file;
    Mode m_mode = Mode::Closed;
    std::string m_path; // the file the user named (a link's target)
    std::string m_temp; // where the lines are until they are put in place
    bool m_existed = false;
};

// The name a failed export's lines are kept under, the `attempt`-th tried.
std::string IncompletePath(const std::string& path, int attempt);

} // namespace addrix
