#include "platform/win/SerialLine.h"

#include "platform/win/WindowsApi.h"

#include <algorithm>
#include <array>

namespace addrix {

namespace {

// A read waits for the first byte, this long at most, and then takes every
// byte already waiting: bytes reach the reader as they arrive, not a burst
// later. (The "return with the first byte" setting, MAXDWORD, MAXDWORD and a
// constant, never ends an overlapped read under Wine; a gap between bytes as
// the end of a read merges a record paced at 9600 bit/s into one burst.)
// Should fewer bytes be waiting than the driver said, that read ends at a gap.
constexpr DWORD kReadGapMs = 10;
constexpr DWORD kReadWaitMs = 500;
// A write may take its bytes' time on the line (about 1 ms each) and a margin.
constexpr DWORD kWriteMsPerByte = 2;
constexpr DWORD kWriteMarginMs = 2000;

std::string SystemMessage(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : std::string();
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == '.' || message.back() == ' '))
        message.pop_back();
    if (message.empty())
        message = "error " + std::to_string(error);
    return message;
}

} // namespace

SerialOpenResult SerialLine::OpenFailure(const std::string& device, unsigned long error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return {SerialOpenResult::Status::NoSuchPort, device + ": the device does not exist"};
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return {SerialOpenResult::Status::Failed,
                device + ": the port is in use by another program"};
    default:
        return {SerialOpenResult::Status::Failed,
                device + ": the port cannot be opened (" + SystemMessage(error) + ")"};
    }
}

namespace {

bool SetLine(HANDLE handle) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle, &dcb))
        return false;
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    if (!SetCommState(handle, &dcb))
        return false;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = kReadGapMs;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = kReadWaitMs;
    timeouts.WriteTotalTimeoutMultiplier = kWriteMsPerByte;
    timeouts.WriteTotalTimeoutConstant = kWriteMarginMs;
    if (!SetCommTimeouts(handle, &timeouts))
        return false;
    PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
    return true;
}

// Appends the bytes already in the driver's queue; they are there, so the
// read ends at once.
void TakeWaiting(HANDLE handle, std::array<char, 4096>& buffer, std::string& received) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(handle, &errors, &status) || status.cbInQue == 0)
        return;
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!overlapped.hEvent)
        return;
    const DWORD wanted = std::min<DWORD>(status.cbInQue, static_cast<DWORD>(buffer.size()));
    DWORD count = 0;
    if (ReadFile(handle, buffer.data(), wanted, nullptr, &overlapped) ||
        GetLastError() == ERROR_IO_PENDING) {
        if (GetOverlappedResult(handle, &overlapped, &count, TRUE))
            received.append(buffer.data(), count);
    }
    CloseHandle(overlapped.hEvent);
}

} // namespace

struct SerialLine::State {
    HANDLE handle = INVALID_HANDLE_VALUE;
    HANDLE event = nullptr;
    OVERLAPPED read{};
    bool pending = false;
    std::array<char, 4096> buffer{};
};

SerialLine::SerialLine() : m_state(std::make_unique<State>()) {
    // One event for every open, so that a watcher of it can stay.
    m_state->event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

SerialLine::~SerialLine() {
    close();
    if (m_state->event)
        CloseHandle(m_state->event);
}

SerialOpenResult SerialLine::open(const std::string& device) {
    close();
    const std::string path = "\\\\.\\" + device;
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return OpenFailure(device, GetLastError());
    if (!SetLine(handle)) {
        const DWORD error = GetLastError();
        CloseHandle(handle);
        return {SerialOpenResult::Status::Failed,
                device + ": the port cannot be set to 9600 8N1 (" + SystemMessage(error) + ")"};
    }
    m_state->handle = handle;
    m_state->pending = false;
    return {SerialOpenResult::Status::Opened, {}};
}

void SerialLine::close() {
    State& s = *m_state;
    if (s.handle == INVALID_HANDLE_VALUE)
        return;
    if (s.pending) {
        // The system writes into the buffer until the cancelled read is over.
        CancelIoEx(s.handle, &s.read);
        DWORD ignored = 0;
        GetOverlappedResult(s.handle, &s.read, &ignored, TRUE);
        s.pending = false;
    }
    CloseHandle(s.handle);
    s.handle = INVALID_HANDLE_VALUE;
    ResetEvent(s.event);
}

bool SerialLine::isOpen() const {
    return m_state->handle != INVALID_HANDLE_VALUE;
}

bool SerialLine::write(const std::string& bytes) {
    const HANDLE handle = m_state->handle;
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!overlapped.hEvent)
        return false;
    DWORD written = 0;
    BOOL done =
        WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &overlapped);
    if (done || GetLastError() == ERROR_IO_PENDING)
        done = GetOverlappedResult(handle, &overlapped, &written, TRUE);
    CloseHandle(overlapped.hEvent);
    return done && written == bytes.size();
}

bool SerialLine::startRead() {
    State& s = *m_state;
    if (s.handle == INVALID_HANDLE_VALUE)
        return false;
    if (s.pending)
        return true;
    s.read = OVERLAPPED{};
    s.read.hEvent = s.event;
    ResetEvent(s.event);
    // Done at once or later, the event is signalled either way.
    if (!ReadFile(s.handle, s.buffer.data(), 1, nullptr, &s.read) &&
        GetLastError() != ERROR_IO_PENDING)
        return false;
    s.pending = true;
    return true;
}

void* SerialLine::readEvent() const {
    return m_state->event;
}

bool SerialLine::collect(std::string& received) {
    State& s = *m_state;
    if (s.handle == INVALID_HANDLE_VALUE || !s.pending)
        return s.handle != INVALID_HANDLE_VALUE;
    DWORD count = 0;
    if (!GetOverlappedResult(s.handle, &s.read, &count, FALSE)) {
        const DWORD error = GetLastError();
        if (error == ERROR_IO_INCOMPLETE)
            return true;
        s.pending = false;
        ResetEvent(s.event);
        // A wait that ended with nothing is no failure.
        return error == ERROR_TIMEOUT;
    }
    s.pending = false;
    ResetEvent(s.event);
    received.append(s.buffer.data(), count);
    if (count > 0)
        TakeWaiting(s.handle, s.buffer, received);
    return true;
}

} // namespace addrix
