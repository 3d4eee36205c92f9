#include "platform/OutputFile.h"

#include "platform/FilePath.h"
#include "platform/StdFileSystem.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace addrix {

namespace fs = std::filesystem;

namespace {

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
        ok = std::fclose(out) == 0 && ok;
    if (!ok && errno == 0)
        errno = error ? error : EIO;
    return ok;
}

} // namespace

OutputFile::~OutputFile() {
    try {
        close();
    } catch (const FileError&) {
        // The caller closes to learn of failures; here only the file is settled.
    }
}

void OutputFile::open(const std::string& path) {
    close();
    m_sourceOpened = false;
    m_held.clear();
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
    const bool exists = fs::exists(status);
    // A device or a pipe is written as it is; a pipe without a reader is
    // refused at once rather than waited on.
    if (exists && (fs::is_character_file(status) || fs::is_fifo(status))) {
        m_file.open(path, OpenAs::Device);
        m_mode = Mode::Direct;
        return;
    }
    // A folder or a socket takes no lines.
    if (exists && !fs::is_regular_file(status))
        throw FileError(DescribeFileError(EACCES, path));

    m_temp = m_path + TempFileSuffix();
    try {
        m_file.open(m_temp, OpenAs::CreateNew, path);
        if (exists)
            fs::permissions(ToFsPath(m_temp), status.permissions(), ec);
        m_mode = Mode::Temporary;
        return;
    } catch (const FileError&) {
        m_temp.clear();
    }
    // The folder takes no new file: write in place, if the file can be written.
    if (!exists || !StdFileSystem().canWrite(m_path))
        throw FileError(DescribeFileError(EACCES, path));
    m_mode = Mode::InPlace;
}

void OutputFile::writeLine(const std::string& line) {
    if (m_mode == Mode::InPlace && !m_file.isOpen()) {
        m_held.push_back(line);
        return;
    }
    m_file.writeLine(line);
}

void OutputFile::flush() {
    if (m_file.isOpen())
        m_file.flush();
}

void OutputFile::sourceOpened() {
    m_sourceOpened = true;
    if (m_mode != Mode::InPlace || m_file.isOpen())
        return;
    m_file.open(m_path, OpenAs::Replace);
    for (const std::string& line : m_held)
        m_file.writeLine(line);
    m_held.clear();
}

void OutputFile::close() {
    const Mode mode = m_mode;
    m_mode = Mode::Closed;
    m_held.clear();
    if (mode == Mode::Closed)
        return;
    std::string failure;
    try {
        if (m_file.isOpen())
            m_file.close();
    } catch (const FileError& error) {
        failure = error.what();
    }
    if (mode == Mode::Temporary) {
        const fs::path temp = ToFsPath(m_temp);
        const fs::path target = ToFsPath(m_path);
        std::error_code ec;
        const bool placed = m_sourceOpened && MoveOver(temp, target);
        if (m_sourceOpened && !placed) {
            // A file that may be written but not replaced (another user's,
            // in a shared folder) takes the lines in place.
            errno = 0;
            if (!CopyInto(temp, target) && failure.empty())
                failure = DescribeFileError(errno ? errno : EACCES, m_path);
        }
        if (!placed)
            fs::remove(temp, ec);
        m_temp.clear();
    }
    if (!failure.empty())
        throw FileError(failure);
}

} // namespace addrix
