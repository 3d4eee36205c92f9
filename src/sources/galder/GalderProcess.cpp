#include "sources/galder/GalderProcess.h"

#include "contact/ChangeReport.h"
#include "contact/RecordLimit.h"
#include "platform/IMessageBox.h"
#include "platform/ISerialPort.h"
#include "platform/TextFile.h"
#include "sources/galder/GalderRecord.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace addrix {

namespace {

using namespace std::chrono_literals;

const std::string kWakeUp = "\xAA";
const std::string kWakeUpAnswer = "\x8B";
const std::string kIdentify("\x87\x01\x00\x00\x00\x00\x00\x00", 8);
const std::string kStartDownload = "\x19";
const std::string kDownloadCommand = "\x19"
                                     "03"
                                     "\x19";
const std::string kAcknowledge = "\x06";
constexpr char kHeaderStart = '\x06';
constexpr char kRecordMarker = '\x7F';

constexpr std::size_t kIdentAnswerSize = 37;
constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kRecordSize = 1 + kGalderRecordDataSize;

// Wake-up ticks without an answer before the connection counts as failed.
constexpr std::int16_t kMaxRetries = 4;
// Bytes received per step of the activity bar.
constexpr long kBytesPerStep = 75;
constexpr int kProgressMax = 100;

enum : std::int16_t {
    kLinkWaking = 1,
    kLinkWakingToo = 2,
    kLinkSendCommand = 3,
    kLinkWaitingForData = 4,
};

enum : std::int16_t {
    kExpectWakeUpAnswer = 0,
    kExpectIdentification = 6,
    kExpectHeader = 7,
    kExpectRecords = 8,
    kDownloadComplete = 9,
};

// Sets a flag for the length of a scope.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~FlagScope() { m_flag = m_old; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
    bool m_old;
};

} // namespace

GalderProcess::GalderProcess(GalderServices services, std::string traceFile)
    : m_services(services), m_traceFile(std::move(traceFile)) {}

GalderProcess::~GalderProcess() = default;

bool GalderProcess::finished() const {
    return m_closeAsked;
}

void GalderProcess::Load(ILineSink& file, const GalderDownload& download) {
    Galderfhandle = &file;
    m_download = download;
    if (m_download.portNumber == 0)
        return; // loaded only to lend its serial port to the port probe
    m_closeAsked = false;
    CancelRequested = false;
    RxBuffer.clear();
    WriteTrace("\r\nStart Of Operation\r\n");
    m_services.view.setStatus("Connecting to device...");

    const SerialOpenResult opened = m_services.port.open(m_download.portNumber);
    if (!opened.ok()) {
        throw SerialPortError(opened.description.empty()
                                  ? "COM" + std::to_string(m_download.portNumber) +
                                        " could not be opened"
                                  : opened.description);
    }
    file.sourceOpened();
    m_running = true;
    Send(kWakeUp);
    TimerReset(1);
    LinkState = kLinkWaking;
}

void GalderProcess::TimerReset(std::int32_t interval) {
    m_services.timer.stop();
    if (interval < 0)
        return;
    const auto now = m_services.clock.now();
    if (interval == 0)
        Deadline = now + std::chrono::hours(24 * 100);
    else
        Deadline = now + std::chrono::seconds(interval);
    m_services.timer.start(1000ms);
}

void GalderProcess::OnTick() {
    if (!m_running)
        return;
    switch (LinkState) {
    case kLinkWaking:
    case kLinkWakingToo:
        Send(kWakeUp);
        if (RetryCount > kMaxRetries) {
            BeginEnding();
            ShowError("A timeout occurred Connectiong with the device.");
            EndDownload(true, kGalderFailed);
        } else {
            ++RetryCount;
            TimerReset(10);
        }
        break;
    case kLinkSendCommand:
        Send(kDownloadCommand);
        LinkState = kLinkWaitingForData;
        TimerReset(10);
        break;
    case kLinkWaitingForData:
        if (Deadline < m_services.clock.now()) {
            BeginEnding();
            ShowError("A timeout occurred waiting for data from the device.");
            EndDownload(true, kGalderFailed);
        }
        break;
    default:
        break;
    }
    // An ending above has already decided the result.
    if (m_running && CancelRequested) {
        RxBuffer.clear();
        BeginEnding();
        EndDownload(false, kGalderCancelled); // the port closes with the window
    }
}

void GalderProcess::OnCancel() {
    CancelRequested = true;
}

void GalderProcess::OnDataReceived() {
    // Bytes that arrive while a pass lets pending events run stay in the
    // port; the loop below reads them once that pass is over.
    if (!m_running || m_inReceipt || m_inPass)
        return;
    FlagScope receipt(m_inReceipt);
    // The port reports no new arrival for bytes that came in while pending
    // events ran, so read until nothing is left.
    while (m_running) {
        const std::string received = m_services.port.readAll();
        if (received.empty())
            break;
        HandleReceipt(received);
    }
}

void GalderProcess::HandleReceipt(const std::string& received) {
    WriteTrace(received);

    ByteCount += static_cast<long>(received.size());
    if (ByteCount > kBytesPerStep) {
        ++m_progress;
        if (m_progress >= kProgressMax)
            m_progress = 0;
        m_services.view.setProgress(m_progress);
        ByteCount = 0;
    }

    if (LinkState < kLinkWaitingForData) {
        LinkState = kLinkWaitingForData;
        RetryCount = 0;
    }
    RxBuffer += received;
    TimerReset(10);
    ProcessGalderRXData(RxBuffer);
}

void GalderProcess::Unload() {
    m_running = false;
    m_services.timer.stop();
    m_services.port.close();
}

void GalderProcess::ProcessGalderRXData(std::string& buffer) {
    if (!m_running || m_inPass)
        return;
    FlagScope pass(m_inPass);
    PendingReply.clear();
    GalderRecord record;

    if (m_GalderCount % 10 == 0) {
        m_services.view.processEvents();
        // A tick or the user may have ended the download meanwhile.
        if (!m_running)
            return;
    }

    if (CancelRequested) {
        BeginEnding();
        ParserState = kExpectWakeUpAnswer;
        EndDownload(true, kGalderFailed);
        return;
    }

    bool again = true;
    while (again) {
        again = false;
        if (ParserState != LastLoggedState) {
            LastLoggedState = ParserState;
            WriteTrace("\r\nState:" + std::to_string(ParserState) + "\r\n");
        }

        switch (ParserState) {
        case kExpectWakeUpAnswer:
            if (buffer == kWakeUpAnswer) {
                ParserState = kExpectIdentification;
                buffer.clear();
                PendingReply = kIdentify;
            } else if (buffer.size() > 1) {
                BeginEnding();
                ShowError("A timeout occurred waiting for data from the device. (EL-" +
                          std::to_string(ParserState) + ")");
                ParserState = kExpectWakeUpAnswer;
                buffer.clear();
                EndDownload(true, kGalderFailed);
            }
            break;

        case kExpectIdentification:
            if (buffer.size() < kIdentAnswerSize)
                break;
            if (buffer.back() == 'D') {
                BeginEnding();
                ShowError(
                    "The device is permanently disabled and the address book cannot be accessed.",
                    "Disabled Device");
                ParserState = kExpectWakeUpAnswer;
                buffer.clear();
                EndDownload(true, kGalderFailed);
                break;
            }
            ParserState = kExpectHeader;
            buffer.clear();
            m_services.view.setStatus("Starting download...");
            PendingReply = kStartDownload;
            TimerReset(1);
            LinkState = kLinkSendCommand; // the next tick sends the download command
            break;

        case kExpectHeader: {
            const auto start = buffer.find(kHeaderStart);
            if (start != std::string::npos)
                buffer.erase(0, start);
            if (buffer.size() < kHeaderSize)
                break;
            const bool announced = buffer[2] == '\0';
            if (announced) {
                RecordType = static_cast<unsigned char>(buffer[1]);
                RecordTotal = static_cast<unsigned char>(buffer[3]);
            }
            buffer.erase(0, kHeaderSize);
            m_GalderCount = 0;
            // An empty address book is complete at once; waiting for records
            // that never come would end it as a time-out.
            ParserState = announced && RecordTotal == 0 ? kDownloadComplete : kExpectRecords;
            again = true;
            break;
        }

        case kExpectRecords: {
            if (buffer.empty() || buffer[0] != kRecordMarker) {
                if (buffer.size() <= kRecordSize)
                    break;
                BeginEnding();
                ShowError("An overflow error occurred processing the address book");
                ParserState = kExpectWakeUpAnswer;
                EndDownload(true, kGalderFailed);
                break;
            }
            if (buffer.size() < kRecordSize)
                break;

            const std::string_view data = std::string_view(buffer).substr(1, kGalderRecordDataSize);
            if (RecordType == 1)
                DecodeGalderRecordType1(data, record);
            else if (RecordType == 4)
                DecodeGalderRecordType4(data, record);

            record.Index = m_GalderCount;
            bool written = false;
            try {
                WriteGalderRecord(record, *Galderfhandle, m_download.emailOption,
                                  m_download.changes);
                written = true;
            } catch (const std::exception&) {
                // Reported below: nobody above the receive handling could.
            }
            if (!written) {
                BeginEnding();
                ShowError("An error occurred processing the address book");
                ParserState = kExpectWakeUpAnswer;
                EndDownload(true, kGalderFailed);
                break;
            }

            ++m_GalderCount;
            PendingReply = kAcknowledge;
            m_services.view.setStatus("Received " + std::to_string(m_GalderCount) + " of " +
                                      std::to_string(RecordTotal) + " Records...");
            if (RecordTotal == m_GalderCount)
                ParserState = kDownloadComplete;

            // The count must also stay within its 16 bits when the limit is
            // set higher than a download can count.
            if (ParserState != kDownloadComplete &&
                (m_GalderCount >= m_download.maxRecords ||
                 m_GalderCount == std::numeric_limits<std::int16_t>::max())) {
                BeginEnding();
                ShowRecordLimitNotice(m_services.messages);
                ReportRecordsLeftOut();
                EndDownload(true, m_GalderCount);
                break;
            }

            buffer.erase(0, kRecordSize);
            again = true;
            break;
        }

        case kDownloadComplete:
            BeginEnding();
            ParserState = kExpectWakeUpAnswer;
            buffer.clear();
            EndDownload(true, m_GalderCount);
            break;

        default:
            break;
        }
    }

    // The reply of the pass goes out only while the download runs: never to
    // a closed port, nor after an ending.
    if (!PendingReply.empty() && m_running)
        Send(PendingReply);
    PendingReply.clear();
}

void GalderProcess::ReportRecordsLeftOut() {
    if (!m_download.changes)
        return;
    Change change;
    change.source = "galder";
    change.position = m_GalderCount + 1;
    change.kind = ChangeKind::OverLimit;
    // Announced, not sent; a header that announced none tells nothing.
    change.sourceValue = std::to_string(std::max(0, RecordTotal - m_GalderCount));
    m_download.changes->add(change);
}

void GalderProcess::Send(const std::string& bytes) {
    if (!m_services.port.isOpen())
        return;
    m_services.port.write(bytes);
    WriteTrace("\r\nTX:" + bytes + "\r\n");
}

void GalderProcess::WriteTrace(const std::string& text) {
    if (!m_download.trace)
        return;
    // The trace must never disturb the download.
    try {
        TextFileWriter trace;
        trace.openForAppend(m_traceFile);
        trace.write(text);
        trace.close();
    } catch (const FileError&) {
    }
}

void GalderProcess::BeginEnding() {
    TimerReset(0);
    m_services.timer.stop();
    m_running = false;
}

void GalderProcess::ShowError(const std::string& text, const char* caption) {
    m_services.messages.show(caption, text, MsgButtons::Ok, MsgIcon::Critical);
}

void GalderProcess::EndDownload(bool closePort, std::int16_t result) {
    if (closePort)
        m_services.port.close();
    m_GalderCount = result;
    m_closeAsked = true;
    m_services.view.closeWindow();
}

} // namespace addrix
