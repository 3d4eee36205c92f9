#pragma once

#include "platform/IClock.h"
#include "sources/galder/GalderEnding.h"
#include "sources/galder/GalderFramer.h"

#include <cstdint>
#include <exception>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace addrix {

class ContactList;
class IChangeSink;
class ILineSink;
class IMessageBox;
class ISerialPort;
class ITickTimer;

// What the download window shows and does besides its serial port and timer.
class IGalderView {
public:
    virtual ~IGalderView() = default;
    virtual void setStatus(const std::string& text) = 0; // lblStatus
    virtual void setProgress(int value) = 0;             // ProgressBar1, 0 to 100
    virtual void closeWindow() = 0;                      // hides it: ends the modal display
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

// One download's inputs besides the output file.
struct GalderDownload {
    std::int16_t portNumber = 0;    // COMn; 0 loads the window only to lend its port
    std::int16_t emailOption = 0;   // 0 WORK_EMAIL, 1 HOME_EMAIL, other: nowhere
    double maxRecords = 250;        // MaxDeviceRecords
    bool trace = false;             // Debug: the exchange is appended to the trace file
    IChangeSink* changes = nullptr; // told what the Norvik's columns change; may be none
    // Every record is kept here instead of written, with what the Norvik's
    // columns change; no limit applies.
    ContactList* list = nullptr;
    // The records to write, by position (counted from 1); none: all. The
    // others are told to `changes` as left out, and the limit counts only
    // the records written.
    const std::set<std::int64_t>* only = nullptr;
    // Told the positions of `only` past the records the header announces;
    // the download then ends there, failed, without a message.
    std::vector<std::int64_t>* lacking = nullptr;
};

// Results of a download besides its count of records.
inline constexpr std::int16_t kGalderFailed = -1;
inline constexpr std::int16_t kGalderCancelled = -2; // Cancel noticed by the tick

// frmGalderProcess without its widgets: the serial link, its time-outs and the
// decoding of the address book, as a state machine. Every event of the window
// (load, tick, data received, Cancel, unload) is one call, made on the
// user-interface thread; each call does its work and returns, so the tick and
// Cancel are seen between two passes over the received bytes. Once the
// download has ended, every further event is ignored.
class GalderProcess {
public:
    // `traceFile` is where the exchange is traced while a download asks for it.
    GalderProcess(GalderServices services, std::string traceFile);
    ~GalderProcess();
    GalderProcess(const GalderProcess&) = delete;
    GalderProcess& operator=(const GalderProcess&) = delete;

    // Window load: starts `download`, written to `file`, unless its port
    // number is 0. Throws SerialPortError when the port cannot be opened.
    void Load(ILineSink& file, const GalderDownload& download);
    // Timer1 fired.
    void OnTick();
    // MSComm1 reported that data arrived: every byte waiting in the port is
    // read and handed to ProcessGalderRXData.
    void OnDataReceived();
    // Bytes received from the device: traced, counted for the activity bar,
    // the data time-out re-armed, then every whole frame answered, decoded
    // and written.
    void ProcessGalderRXData(const std::string& received);
    // cmdCancel clicked.
    void OnCancel();
    // Window destroyed, or closed with its title-bar button: the download
    // stops where it is (GalderCount keeps the records written), the timer
    // stops and a port still open closes.
    void Unload();

    // Records written, or kGalderFailed / kGalderCancelled once the download ended so.
    std::int16_t GalderCount() const { return m_GalderCount; }
    // True once the download has ended, by itself or by Unload.
    bool finished() const { return m_phase == Phase::Ended; }

private:
    enum class Phase { Idle, Running, Ended };

    void TimerReset(std::int32_t interval);
    void WakeUpAgain();
    void TakeReceipt(const std::string& received);
    void ParseFrames();
    // Acts on one frame; true when the next frame may follow in this pass.
    bool Handle(const GalderFrame& frame);
    void HandleIdentification(bool disabled);
    void HandleHeader(const GalderFrame& frame);
    bool HandleRecord(const std::string& data);
    // Writes, lists or leaves out the record at `position`; false when it
    // could not be written.
    bool TakeRecord(const std::string& data, std::int64_t position, bool chosen);
    // True when `only` names positions past the records announced.
    bool ChoiceLacking();
    // After the record limit: whether a record to be written is still to come.
    bool ChosenAhead() const;
    // The one way a download ends. The time-out is disarmed and the tick
    // switched off first, so that a message shows once and no tick or
    // receipt acts while it is displayed; the port closes after the message;
    // the result goes to GalderCount and the window is asked to close.
    void End(const GalderEnding& ending);
    void ShowEnding(const GalderEnding& ending);
    // At the record limit: the records announced but not taken, for the change report.
    void ReportRecordsLeftOut();
    void ReportLeftOut(std::int64_t position, std::string name);
    void Send(const std::string& bytes);
    void WriteTrace(const std::string& text);

    GalderServices m_services;
    std::string m_traceFile;
    ILineSink* Galderfhandle = nullptr;
    GalderDownload m_download;
    std::int16_t m_GalderCount = 0;
    Phase m_phase = Phase::Idle;

    // Window variables.
    bool CancelRequested = false;
    Clock::time_point Deadline{};
    std::int16_t RetryCount = 0;
    std::int16_t LastLoggedState = 0;
    long ByteCount = 0;
    int m_progress = 0; // ProgressBar1's value

    // Link and parser variables.
    std::int16_t LinkState = 0;
    GalderFramer m_framer; // holds RxBuffer
    std::int16_t ParserState = kExpectWakeUpAnswer;
    std::int16_t RecordType = 0;
    std::int16_t RecordTotal = 0;
    std::int16_t m_received = 0; // records received; GalderCount counts those written
    std::string PendingReply;
};

} // namespace addrix
