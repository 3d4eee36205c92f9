#pragma once

#include "platform/IClock.h"

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace addrix {

class ILineSink;
class IMessageBox;
class ISerialPort;
class ITickTimer;
struct Settings;

// What the download window shows and does besides its serial port and timer.
class IGalderView {
public:
    virtual ~IGalderView() = default;
    virtual void setStatus(const std::string& text) = 0; // lblStatus
    virtual void setProgress(int value) = 0;             // ProgressBar1, 0 to 100
    virtual void closeWindow() = 0;                      // hides it: ends the modal display
    virtual void processEvents() = 0;                    // lets pending window events run
};

// The services the download needs, supplied by the shell.
struct GalderServices {
    ISerialPort& port; // MSComm1
    IClock& clock;
    ITickTimer& timer; // Timer1; its ticks call OnTick()
    IMessageBox& messages;
    IGalderView& view;
};

// A failure to open the serial port when the download window loads.
class SerialPortError : public std::exception {
public:
    explicit SerialPortError(std::string description) : m_description(std::move(description)) {}
    const char* what() const noexcept override { return m_description.c_str(); }

private:
    std::string m_description;
};

// frmGalderProcess without its widgets: the serial link, its time-outs and the
// decoding of the address book. Every event of the window (load, tick, data
// received, Cancel, unload) is one call, made on the user-interface thread.
class GalderProcess {
public:
    GalderProcess(GalderServices services, const Settings& settings, std::string programDir);
    ~GalderProcess();
    GalderProcess(const GalderProcess&) = delete;
    GalderProcess& operator=(const GalderProcess&) = delete;

    // Set by the export job before Load(), read after the window has closed.
    ILineSink* Galderfhandle = nullptr;
    std::int16_t GalderCount = 0;
    std::int16_t GalderCommPortNumber = 0;
    std::int16_t GalderEmailOption = 0;

    // Window load: starts a download when GalderCommPortNumber is not 0.
    // Throws SerialPortError when the port cannot be opened.
    void Load();
    // Timer1 fired.
    void OnTick();
    // MSComm1 reported that data arrived.
    void OnDataReceived();
    // cmdCancel clicked.
    void OnCancel();
    // Window destroyed, or closed with its title-bar button: the download
    // stops where it is (GalderCount keeps the records written), the timer
    // stops and a port still open closes.
    void Unload();

    void TimerReset(std::int32_t interval);
    void ProcessGalderRXData(std::string& buffer);

    // True once the download has ended and the window was asked to close.
    bool finished() const;

    // Read-only views of the download variables, for tests and diagnostics.
    std::int16_t linkState() const { return LinkState; }
    std::int16_t parserState() const { return ParserState; }
    std::int16_t retryCount() const { return RetryCount; }
    std::int16_t recordType() const { return RecordType; }
    std::int16_t recordTotal() const { return RecordTotal; }
    bool cancelRequested() const { return CancelRequested; }
    Clock::time_point deadline() const { return Deadline; }
    const std::string& rxBuffer() const { return RxBuffer; }
    const std::string& debugLogPath() const { return DebugLogPath; }
    int progressValue() const { return m_progress; }

private:
    void HandleReceipt(const std::string& received);
    void Send(const std::string& bytes);
    void WriteTrace(const std::string& text);
    // The first steps of every ending: the time-out is disarmed and the tick
    // switched off, so that a message shows once and no tick or receipt acts
    // while it is displayed.
    void BeginEnding();
    // Shows an error box with the critical icon and the caption "Error Occurred".
    void ShowError(const std::string& text, const char* caption = "Error Occurred");
    // The last steps of every ending: the port closed when asked, the result
    // left in GalderCount and the window asked to close.
    void EndDownload(bool closePort, std::int16_t result);

    GalderServices m_services;
    const Settings& m_settings;
    std::string m_programDir;

    // Window variables.
    bool CancelRequested = false;
    Clock::time_point Deadline{};
    std::string DebugLogPath;
    std::int16_t RetryCount = 0;
    std::int16_t LastLoggedState = 0;
    long ByteCount = 0;

    // Link and parser variables.
    std::int16_t LinkState = 0;
    std::string RxBuffer;
    std::int16_t ParserState = 0;
    std::int16_t RecordType = 0;
    std::int16_t RecordTotal = 0;
    std::string PendingReply;

    int m_progress = 0;        // ProgressBar1's value
    bool m_running = false;    // a download started and has not ended
    bool m_closeAsked = false; // closeWindow() was called
    bool m_inReceipt = false;  // OnDataReceived is draining the port
    bool m_inPass = false;     // ProcessGalderRXData is running
};

} // namespace addrix
