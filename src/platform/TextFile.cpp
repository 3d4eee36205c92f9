#include "platform/TextFile.h"

#include "platform/FilePath.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace addrix {

namespace {
constexpr std::size_t kIoBufferSize = 1 << 16;
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
    if (m_file)
        std::fclose(m_file);
}

void TextFileWriter::open(const std::string& path) {
    openWithMode(path, "wb");
}

void TextFileWriter::openForAppend(const std::string& path) {
    openWithMode(path, "ab");
}

void TextFileWriter::openWithMode(const std::string& path, const char* mode) {
    if (m_file)
        close();
    m_path = path;
    errno = 0;
    m_file = std::fopen(ToFsPath(path).string().c_str(), mode);
    if (!m_file)
        throw FileError(DescribeFileError(errno ? errno : EINVAL, path));
    std::setvbuf(m_file, nullptr, _IOFBF, kIoBufferSize);
}

void TextFileWriter::write(const std::string& bytes) {
    if (!m_file)
        throw FileError(DescribeFileError(EBADF, m_path));
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size())
        throw FileError(DescribeFileError(errno ? errno : EIO, m_path));
}

void TextFileWriter::writeLine(const std::string& line) {
    write(line);
    write("\r\n");
}

void TextFileWriter::flush() {
    if (!m_file)
        throw FileError(DescribeFileError(EBADF, m_path));
    errno = 0;
    if (std::fflush(m_file) != 0)
        throw FileError(DescribeFileError(errno ? errno : EIO, m_path));
}

void TextFileWriter::close() {
    if (!m_file)
        return;
    std::FILE* file = m_file;
    m_file = nullptr;
    errno = 0;
    const bool flushed = std::fflush(file) == 0;
    const int flushErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!flushed)
        throw FileError(DescribeFileError(flushErrno ? flushErrno : EIO, m_path));
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
    if (std::filesystem::is_directory(ToFsPath(path), ec))
        throw FileError(DescribeFileError(EISDIR, path));
    errno = 0;
    m_file = std::fopen(ToFsPath(path).string().c_str(), "rb");
    if (!m_file)
        throw FileError(DescribeFileError(errno ? errno : EINVAL, path));
    m_buffer.clear();
    m_pos = 0;
    m_eof = false;
}

void TextFileReader::close() {
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
}

bool TextFileReader::fill() {
    if (m_eof || !m_file)
        return false;
    m_buffer.erase(0, m_pos);
    m_pos = 0;
    const std::size_t old = m_buffer.size();
    m_buffer.resize(old + kIoBufferSize);
    errno = 0;
    const std::size_t got = std::fread(&m_buffer[old], 1, kIoBufferSize, m_file);
    m_buffer.resize(old + got);
    if (got < kIoBufferSize) {
        if (std::ferror(m_file))
            throw FileError(DescribeFileError(errno ? errno : EIO, m_path));
        m_eof = true;
    }
    return got > 0;
}

bool TextFileReader::readLine(std::string& line) {
    line.clear();
    bool any = false;
    for (;;) {
        if (m_pos >= m_buffer.size() && !fill())
            return any;
        any = true;
        const char* begin = m_buffer.data() + m_pos;
        const std::size_t avail = m_buffer.size() - m_pos;
        const void* cr = std::memchr(begin, '\r', avail);
        if (!cr) {
            line.append(begin, avail);
            m_pos = m_buffer.size();
            continue;
        }
        const std::size_t len = static_cast<const char*>(cr) - begin;
        line.append(begin, len);
        m_pos += len + 1;
        // A CR LF pair ends the line as one; the LF may still be unread.
        if (m_pos >= m_buffer.size())
            fill();
        if (m_pos < m_buffer.size() && m_buffer[m_pos] == '\n')
            ++m_pos;
        return true;
    }
}

} // namespace addrix
