#include "platform/FilePath.h"

#include "platform/win/WindowsApi.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <thread>

namespace addrix {

namespace {

std::wstring Wide(const std::string& text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

} // namespace

std::filesystem::path ToFsPath(const std::string& path) {
    return std::filesystem::path(Wide(path));
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    errno = 0;
    std::FILE* file = _wfopen(path.c_str(), wideMode.c_str());
    if (!file && errno == 0)
        errno = EACCES;
    return file;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return OpenFile(ToFsPath(path), mode);
}

std::FILE* OpenForWriting(const std::filesystem::path& path, OpenAs how) {
    if (how == OpenAs::CreateNew) {
        const int fd =
            _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (fd < 0)
            return nullptr;
        std::FILE* file = _fdopen(fd, "wb");
        if (!file)
            _close(fd);
        return file;
    }
    return OpenFile(path, how == OpenAs::Append ? "ab" : "wb");
}

bool MoveNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD error = GetLastError();
    errno = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? EEXIST : EACCES;
    return false;
}

int SyncToDisk(std::FILE* file) {
    if (std::fflush(file) != 0)
        return errno ? errno : EIO;
    if (_commit(_fileno(file)) != 0 && errno != EBADF)
        return errno;
    return 0;
}

long CurrentProcessId() {
    return static_cast<long>(GetCurrentProcessId());
}

bool ProcessHasEnded(long id) {
    if (id <= 0)
        return false;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
    if (!process)
        return GetLastError() == ERROR_INVALID_PARAMETER;
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

bool MoveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    using namespace std::chrono_literals;
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        // A reader or a virus scanner holding the file lets go soon.
        const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
                          error == ERROR_LOCK_VIOLATION;
        if (!held || attempt == 20)
            return false;
        std::this_thread::sleep_for(50ms);
    }
}

} // namespace addrix
