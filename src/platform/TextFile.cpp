#include "platform/TextFile.h"

#include "platform/FilePath.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace addrix {

namespace {
// Large reads and writes: a read buffer holds many lines, and a line that
// does not fit comes in pieces.
constexpr std::size_t kReadBufferSize = 1 << 20;
constexpr std::size_t kWriteBufferSize = 1 << 18;
} // namespace

std::string DescribeFileError(int errorNumber, const std::string& path) {
    std::string what;
    switch (errorNumber) {
    case ENOENT:
        what = "File not found";
        break;
    case EACCES:
    case EPERM:
        what = "Permission denied";
        break;
    case ENOSPC:
        what = "Disk full";
        break;
    case EISDIR:
        what = "Path/File access error";
        break;
    default:
        what = std::strerror(errorNumber);
        break;
    }
    return path.empty() ? what : what + ": " + path;
}

TextFileWriter::~TextFileWriter() {
    if (m_file) {
        drain();
        std::fclose(m_file);
    }
}

void TextFileWriter::open(const std::string& path) {
    open(path, OpenAs::Replace);
}

void TextFileWriter::openForAppend(const std::string& path) {
    open(path, OpenAs::Append);
}

void TextFileWriter::open(const std::string& path, OpenAs how, const std::string& shownAs) {
    if (m_file)
        close();
    m_path = shownAs.empty() ? path : shownAs;
    errno = 0;
    m_file = OpenForWriting(ToFsPath(path), how);
    if (!m_file)
        throw FileError(DescribeFileError(errno ? errno : EINVAL, m_path));
    // The writer buffers itself.
    std::setvbuf(m_file, nullptr, _IONBF, 0);
    m_pending.clear();
    m_pending.reserve(kWriteBufferSize);
}

int TextFileWriter::drain() {
    if (m_pending.empty())
        return 0;
    errno = 0;
    const std::size_t written = std::fwrite(m_pending.data(), 1, m_pending.size(), m_file);
    const int error = written == m_pending.size() ? 0 : errno ? errno : EIO;
    m_pending.clear();
    return error;
}

void TextFileWriter::write(const std::string& bytes) {
    if (!m_file)
        throw FileError(DescribeFileError(EBADF, m_path));
    if (m_pending.size() + bytes.size() > kWriteBufferSize)
        if (const int error = drain())
            throw FileError(DescribeFileError(error, m_path));
    if (bytes.size() < kWriteBufferSize) {
        m_pending += bytes;
        return;
    }
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size())
        throw FileError(DescribeFileError(errno ? errno : EIO, m_path));
}

void TextFileWriter::writeLine(const std::string& line) {
    if (m_file && m_pending.size() + line.size() + 2 <= kWriteBufferSize) {
        m_pending += line;
        m_pending += "\r\n";
        return;
    }
    write(line);
    write("\r\n");
}

void TextFileWriter::flush() {
    if (!m_file)
        throw FileError(DescribeFileError(EBADF, m_path));
    int error = drain();
    errno = 0;
    if (!error && std::fflush(m_file) != 0)
        error = errno ? errno : EIO;
    if (error)
        throw FileError(DescribeFileError(error, m_path));
}

void TextFileWriter::close() {
    if (!m_file)
        return;
    int error = drain();
    std::FILE* file = m_file;
    m_file = nullptr;
    errno = 0;
    if (!error && std::fflush(file) != 0)
        error = errno ? errno : EIO;
    const bool closed = std::fclose(file) == 0;
    if (error)
        throw FileError(DescribeFileError(error, m_path));
    if (!closed)
        throw FileError(DescribeFileError(errno ? errno : EIO, m_path));
}

TextFileReader::~TextFileReader() {
    close();
}

void TextFileReader::open(const std::string& path) {
    close();
    m_path = path;
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(ToFsPath(path), ec);
    if (std::filesystem::is_directory(status))
        throw FileError(DescribeFileError(EISDIR, path));
    // A pipe would wait for a writer and a device may never end.
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        throw FileError("Not an ordinary file: " + path);
    errno = 0;
    m_file = OpenFile(path, "rb");
    if (!m_file)
        throw FileError(DescribeFileError(errno ? errno : EINVAL, path));
    std::setvbuf(m_file, nullptr, _IONBF, 0);
    if (!m_buffer)
        m_buffer = std::make_unique<char[]>(kReadBufferSize);
    m_begin = m_end = m_noCr = 0;
    m_eof = m_inLine = m_lfEnds = m_endsKnown = false;
    m_lineEnd = '\r';
}

void TextFileReader::close() {
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
}

void TextFileReader::fill() {
    const std::size_t kept = m_end - m_begin;
    std::memmove(m_buffer.get(), m_buffer.get() + m_begin, kept);
    m_begin = 0;
    m_end = kept;
    const std::size_t wanted = kReadBufferSize - kept;
    errno = 0;
    const std::size_t got = std::fread(m_buffer.get() + m_end, 1, wanted, m_file);
    m_end += got;
    if (got < wanted) {
        if (std::ferror(m_file))
            throw FileError(DescribeFileError(errno ? errno : EIO, m_path));
        m_eof = true;
    }
    if (!m_endsKnown) {
        m_endsKnown = true;
        const char* bytes = m_buffer.get();
        if (!std::memchr(bytes, '\r', m_end) && std::memchr(bytes, '\n', m_end))
            m_lineEnd = '\n';
    }
}

bool TextFileReader::readPiece(std::string_view& piece, bool& lineEnds) {
    if (!m_file)
        return false;
    for (;;) {
        if (m_lfEnds && m_begin < m_end) {
            m_lfEnds = false;
            if (m_buffer[m_begin] == '\n')
                ++m_begin;
        }
        const char* begin = m_buffer.get() + m_begin;
        const std::size_t avail = m_end - m_begin;
        const void* cr = std::memchr(begin + m_noCr, m_lineEnd, avail - m_noCr);
        if (cr) {
            const auto size = static_cast<std::size_t>(static_cast<const char*>(cr) - begin);
            piece = std::string_view(begin, size);
            lineEnds = true;
            m_begin += size + 1;
            m_noCr = 0;
            m_inLine = false;
            if (m_lineEnd == '\r') {
                if (m_begin == m_end)
                    m_lfEnds = true; // the LF of a CR LF may still be unread
                else if (m_buffer[m_begin] == '\n')
                    ++m_begin;
            }
            return true;
        }
        m_noCr = avail;
        if (!m_eof && avail < kReadBufferSize) {
            fill();
            continue;
        }
        if (avail == 0 && !m_inLine)
            return false;
        // A line longer than the buffer, or the last line without its end.
        piece = std::string_view(begin, avail);
        lineEnds = m_eof;
        m_inLine = !m_eof;
        m_begin = m_end;
        m_noCr = 0;
        return true;
    }
}

bool TextFileReader::readLine(std::string& line) {
    line.clear();
    std::string_view piece;
    bool lineEnds = false;
    bool any = false;
    while (!lineEnds && readPiece(piece, lineEnds)) {
        line.append(piece);
        any = true;
    }
    return any;
}

} // namespace addrix
