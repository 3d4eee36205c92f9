#include "platform/OutputFile.h"

#include "platform/FilePath.h"
#include "platform/PathUtil.h"
#include "platform/StdFileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace addrix {

namespace fs = std::filesystem;

namespace {

// Temporary files are named "<output's name>.~addrix-<process id>-<suffix>".
constexpr const char* kTempMark = ".~addrix-";

// Writes the bytes of `from` over those of `to`, which keeps its owner and
// access rights; false with errno set when that fails.
bool CopyInto(const fs::path& from, const fs::path& to) {
    std::FILE* in = OpenFile(from, "rb");
    if (!in)
        return false;
    std::FILE* out = OpenForWriting(to, OpenAs::Replace);
    bool ok = out != nullptr;
    char buffer[1 << 16];
    while (ok) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, in);
        ok = std::fwrite(buffer, 1, got, out) == got;
        if (got < sizeof buffer) {
            ok = ok && !std::ferror(in);
            break;
        }
    }
    const int error = errno;
    std::fclose(in);
    if (out)
        ok = SyncToDisk(out) == 0 && std::fclose(out) == 0 && ok;
    if (!ok && errno == 0)
        errno = error ? error : EIO;
    return ok;
}

// The process that made the temporary file `name`; 0 when `name` is none.
long TemporaryOwner(const std::string& name) {
    const std::size_t mark = name.rfind(kTempMark);
    if (mark == std::string::npos || mark == 0)
        return 0;
    const std::size_t digits = mark + std::char_traits<char>::length(kTempMark);
    const std::size_t end = name.find_first_not_of("0123456789", digits);
    if (end == digits || end == std::string::npos || name[end] != '-')
        return 0;
    return std::strtol(name.c_str() + digits, nullptr, 10);
}

// Removes the temporary files in `folder` that an export killed before its
// end left behind (an output's or a report's, whichever file it wrote).
void RemoveLeftTemporaries(const std::string& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(ToFsPath(folder.empty() ? "." : folder), ec), end;
         !ec && it != end; it.increment(ec)) {
        const long process = TemporaryOwner(it->path().filename().string());
        std::error_code ignored;
        if (process > 0 && ProcessHasEnded(process) && it->is_regular_file(ignored))
            fs::remove(it->path(), ignored);
    }
}

// Cuts `path` after its last CR LF; the number of whole lines left.
std::int64_t KeepWholeLines(const fs::path& path) {
    std::FILE* in = OpenFile(path, "rb");
    if (!in)
        return 0;
    std::int64_t lines = 0;
    std::uintmax_t offset = 0;
    std::uintmax_t end = 0; // after the last CR LF
    char previous = '\0';
    char buffer[1 << 16];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0; offset += got)
        for (std::size_t i = 0; i < got; previous = buffer[i++])
            if (buffer[i] == '\n' && previous == '\r') {
                ++lines;
                end = offset + i + 1;
            }
    std::fclose(in);
    std::error_code ec;
    if (end != offset)
        fs::resize_file(path, end, ec);
    return lines;
}

} // namespace

std::string IncompletePath(const std::string& path, int attempt) {
    const std::string name = FileNamePart(path);
    const std::size_t dot = name.rfind('.');
    const std::size_t split =
        dot == std::string::npos || dot == 0 ? path.size() : path.size() - name.size() + dot;
    const std::string mark =
        attempt <= 1 ? ".incomplete" : ".incomplete-" + std::to_string(attempt);
    return path.substr(0, split) + mark + path.substr(split);
}

OutputFile::~OutputFile() {
    abandon(false);
}

void OutputFile::open(const std::string& path) {
    abandon(false);
    std::error_code ec;
    fs::path target = ToFsPath(path);
    m_path = path;
    if (fs::is_symlink(target, ec)) {
        // Replacing the link's target keeps the link.
        const fs::path resolved = fs::canonical(target, ec);
        if (!ec) {
            target = resolved;
            m_path = resolved.string();
        }
    }
    const fs::file_status status = fs::status(target, ec);
    m_existed = fs::exists(status);
    // A device or a pipe is written as it is; a pipe without a reader is
    // refused at once rather than waited on.
    if (m_existed && (fs::is_character_file(status) || fs::is_fifo(status))) {
        m_file.open(path, OpenAs::Device);
        m_mode = Mode::Direct;
        return;
    }
    // A folder or a socket takes no lines.
    if (m_existed && !fs::is_regular_file(status))
        throw FileError(DescribeFileError(EACCES, path));
    // As editors and cp do, a file marked read-only is not replaced.
    StdFileSystem files;
    if (m_existed && !files.canWrite(m_path))
        throw FileError(path + " is read-only");

    const std::string folder = FolderPart(m_path);
    RemoveLeftTemporaries(folder);
    try {
        openStaging(folder, path);
        if (m_existed)
            fs::permissions(ToFsPath(m_temp), status.permissions(), ec);
        m_mode = Mode::Temporary;
        return;
    } catch (const FileError&) {
        // The folder takes no new file: the file itself is written at the end.
        if (!m_existed)
            throw;
    }
    openStaging(WithTrailingSeparator(fs::temp_directory_path(ec).string()), path);
    m_mode = Mode::CopyInto;
}

void OutputFile::openStaging(const std::string& folder, const std::string& shownAs) {
    const std::string name = FileNamePart(m_path) + kTempMark + std::to_string(CurrentProcessId()) +
                             "-" + TempFileSuffix().substr(2);
    m_temp = folder + name;
    try {
        m_file.open(m_temp, OpenAs::CreateNew, shownAs);
    } catch (const FileError&) {
        m_temp.clear();
        throw;
    }
}

void OutputFile::writeLine(const std::string& line) {
    m_file.writeLine(line);
}

void OutputFile::flush() {
    m_file.flush();
}

void OutputFile::commit() {
    const Mode mode = m_mode;
    if (mode == Mode::Closed)
        return;
    // Until the lines are in place, a failure leaves them to `abandon`.
    m_file.close();
    if (mode != Mode::Direct) {
        const fs::path temp = ToFsPath(m_temp);
        const fs::path target = ToFsPath(m_path);
        errno = 0;
        // A file that may be written but not replaced (another user's, in a
        // shared folder) takes the lines in place.
        if (!(mode == Mode::Temporary && MoveOver(temp, target)) && !CopyInto(temp, target))
            throw FileError(DescribeFileError(errno ? errno : EACCES, m_path));
        std::error_code ec;
        fs::remove(temp, ec);
    }
    m_mode = Mode::Closed;
}

KeptLines OutputFile::abandon(bool keep, std::int64_t leading) {
    const Mode mode = m_mode;
    m_mode = Mode::Closed;
    if (mode == Mode::Closed)
        return {};
    try {
        m_file.close();
    } catch (const FileError&) {
        // What reached the file is kept; the rest is lost either way.
    }
    if (mode == Mode::Direct)
        return {};
    KeptLines kept;
    if (keep)
        kept = keepIncomplete(leading);
    std::error_code ec;
    if (kept.path.empty())
        fs::remove(ToFsPath(m_temp), ec);
    return kept;
}

KeptLines OutputFile::keepIncomplete(std::int64_t leading) {
    const fs::path temp = ToFsPath(m_temp);
    KeptLines kept;
    kept.lines = KeepWholeLines(temp);
    if (kept.lines <= leading)
        return {};
    // Beside the output, else (a folder that takes no new file) where the
    // lines were written.
    for (const std::string& beside : {m_path, FolderPart(m_temp) + FileNamePart(m_path)}) {
        for (int attempt = 1; attempt <= 99; ++attempt) {
            const std::string candidate = IncompletePath(beside, attempt);
            if (MoveNoReplace(temp, ToFsPath(candidate))) {
                kept.path = candidate;
                return kept;
            }
            if (errno != EEXIST)
                break;
        }
    }
    return {};
}

} // namespace addrix
