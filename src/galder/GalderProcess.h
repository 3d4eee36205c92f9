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
    // Window destroyed: stops the timer and closes a port still open.
    void Unload();

    void TimerReset(std::int32_t interval);
    void ProcessGalderRXData(std::string& buffer);

    // True once the download has ended and the window was asked to close.
    bool finished() const;
};

} // namespace addrix
