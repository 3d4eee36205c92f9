#include "platform/FilePath.h"

#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace addrix {

std::filesystem::path ToFsPath(const std::string& path) {
    return std::filesystem::path(path);
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

std::FILE* OpenForWriting(const std::filesystem::path& path, OpenAs how) {
    // Never waiting: a pipe without a reader fails at once, and a serial line
    // does not wait for its carrier.
    int flags = O_WRONLY | O_CLOEXEC | O_NONBLOCK;
    switch (how) {
    case OpenAs::Replace:
        flags |= O_CREAT | O_TRUNC;
        break;
    case OpenAs::CreateNew:
        flags |= O_CREAT | O_EXCL;
        break;
    case OpenAs::Append:
        flags |= O_CREAT | O_APPEND | O_NOFOLLOW;
        break;
    case OpenAs::Device:
        break;
    }
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0)
        return nullptr;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(fd, how == OpenAs::Append ? "ab" : "wb");
    if (!file) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    return file;
}

bool MoveNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return true;
    }
    if (errno == EEXIST)
        return false;
    // A file system without hard links: the name is checked, then taken.
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(to, ec))) {
        errno = EEXIST;
        return false;
    }
    if (::rename(from.c_str(), to.c_str()) != 0)
        return false;
    return true;
}

int SyncToDisk(std::FILE* file) {
    if (std::fflush(file) != 0)
        return errno ? errno : EIO;
    // A device or a pipe has nothing to sync.
    if (::fsync(::fileno(file)) != 0 && errno != EINVAL && errno != EROFS)
        return errno;
    return 0;
}

long CurrentProcessId() {
    return static_cast<long>(::getpid());
}

bool ProcessHasEnded(long id) {
    return id > 0 && ::kill(static_cast<pid_t>(id), 0) != 0 && errno == ESRCH;
}

bool MoveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    return !ec;
}

} // namespace addrix
