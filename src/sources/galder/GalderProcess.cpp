#include "sources/galder/GalderProcess.h"

#include "contact/ChangeReport.h"
#include "contact/ContactLine.h"
#include "contact/ContactList.h"
#include "contact/RecordLimit.h"
#include "platform/IMessageBox.h"
#include "platform/ISerialPort.h"
#include "platform/TextFile.h"
#include "sources/galder/GalderRecord.h"

#include <algorithm>
#include <limits>

namespace addrix {

namespace {

using namespace std::chrono_literals;

const std::string kWakeUp = "\xAA";
const std::string kIdentify("\x87\x01\x00\x00\x00\x00\x00\x00", 8);
const std::string kStartDownload = "\x19";
const std::string kDownloadCommand = "\x19"
                                     "03"
                                     "\x19";
const std::string kAcknowledge = "\x06";

const std::string kDataTimeout = "A timeout occurred waiting for data from the device.";

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

} // namespace

GalderProcess::GalderProcess(GalderServices services, std::string traceFile)
    : m_services(services), m_traceFile(std::move(traceFile)) {}

GalderProcess::~GalderProcess() = default;

void GalderProcess::Load(ILineSink& file, const GalderDownload& download) {
    Galderfhandle = &file;
    m_download = download;
    if (m_download.portNumber == 0)
        return; // loaded only to lend its serial port to the port probe
    CancelRequested = false;
    m_framer.clear();
    WriteTrace("\r\nStart Of Operation\r\n");
    m_services.view.setStatus("Connecting to device...");

    const SerialOpenResult opened = m_services.port.open(m_download.portNumber);
    if (!opened.ok()) {
        throw SerialPortError(opened.description.empty()
                                  ? "COM" + std::to_string(m_download.portNumber) +
                                        " could not be opened"
                                  : opened.description);
    }
    m_phase = Phase::Running;
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
    if (m_phase != Phase::Running)
        return;
    switch (LinkState) {
    case kLinkWaking:
    case kLinkWakingToo:
        WakeUpAgain();
        break;
    case kLinkSendCommand:
        Send(kDownloadCommand);
        LinkState = kLinkWaitingForData;
        TimerReset(10);
        break;
    case kLinkWaitingForData:
        if (Deadline < m_services.clock.now())
            End(GalderEnding::Failed(kDataTimeout));
        break;
    default:
        break;
    }
    // An ending above has already decided the result.
    if (m_phase == Phase::Running && CancelRequested)
        End(GalderEnding::Cancelled(true));
}

void GalderProcess::WakeUpAgain() {
    Send(kWakeUp);
    if (RetryCount > kMaxRetries) {
        End(GalderEnding::Failed("A timeout occurred Connectiong with the device."));
        return;
    }
    ++RetryCount;
    TimerReset(10);
}

void GalderProcess::OnCancel() {
    CancelRequested = true;
}

void GalderProcess::OnDataReceived() {
    // A port may hand out what has arrived in pieces; each is one receipt.
    while (m_phase == Phase::Running) {
        const std::string received = m_services.port.readAll();
        if (received.empty())
            break;
        ProcessGalderRXData(received);
    }
}

void GalderProcess::Unload() {
    if (m_phase == Phase::Running)
        m_phase = Phase::Ended;
    m_services.timer.stop();
    m_services.port.close();
}

void GalderProcess::ProcessGalderRXData(const std::string& received) {
    if (m_phase != Phase::Running)
        return;
    TakeReceipt(received);
    if (CancelRequested) {
        End(GalderEnding::Cancelled(false)); // nothing more is sent
        return;
    }
    PendingReply.clear();
    ParseFrames();
    // One reply for the pass, and only while the download runs: never to a
    // closed port, nor after an ending.
    if (!PendingReply.empty() && m_phase == Phase::Running)
        Send(PendingReply);
    PendingReply.clear();
}

void GalderProcess::TakeReceipt(const std::string& received) {
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
    m_framer.append(received);
    TimerReset(10);
}

void GalderProcess::ParseFrames() {
    bool again = true;
    while (again && m_phase == Phase::Running) {
        if (ParserState != LastLoggedState) {
            LastLoggedState = ParserState;
            WriteTrace("\r\nState:" + std::to_string(ParserState) + "\r\n");
        }
        if (ParserState == kDownloadComplete) {
            End(GalderEnding::Done());
            return;
        }
        again = Handle(m_framer.next(ParserState));
    }
}

bool GalderProcess::Handle(const GalderFrame& frame) {
    switch (frame.kind) {
    case GalderFrame::Kind::WakeUpAnswer:
        ParserState = kExpectIdentification;
        PendingReply = kIdentify;
        return false;
    case GalderFrame::Kind::WrongAnswer:
        End(GalderEnding::Failed(kDataTimeout + " (EL-" + std::to_string(ParserState) + ")"));
        return false;
    case GalderFrame::Kind::Identification:
        HandleIdentification(frame.disabled);
        return false;
    case GalderFrame::Kind::Header:
        HandleHeader(frame);
        return true;
    case GalderFrame::Kind::Record:
        return HandleRecord(frame.data);
    case GalderFrame::Kind::OutOfStep:
        End(GalderEnding::Failed("An overflow error occurred processing the address book"));
        return false;
    case GalderFrame::Kind::None:
        break;
    }
    return false;
}

void GalderProcess::HandleIdentification(bool disabled) {
    if (disabled) {
        End(GalderEnding::Failed(
            "The device is permanently disabled and the address book cannot be accessed.",
            "Disabled Device"));
        return;
    }
    ParserState = kExpectHeader;
    m_services.view.setStatus("Starting download...");
    PendingReply = kStartDownload;
    TimerReset(1);
    LinkState = kLinkSendCommand; // the next tick sends the download command
}

void GalderProcess::HandleHeader(const GalderFrame& frame) {
    if (frame.announced) {
        RecordType = frame.layout;
        RecordTotal = frame.total;
    }
    m_GalderCount = 0;
    m_received = 0;
    // A choice of records the device does not hold ends the download before
    // a record is written; the caller names them.
    if (frame.announced && ChoiceLacking()) {
        End(GalderEnding::Failed(std::string()));
        return;
    }
    // An empty address book is complete at once; waiting for records that
    // never come would end it as a time-out.
    ParserState = frame.announced && RecordTotal == 0 ? kDownloadComplete : kExpectRecords;
}

bool GalderProcess::ChoiceLacking() {
    if (!m_download.only)
        return false;
    std::vector<std::int64_t> lacking;
    for (const std::int64_t position : *m_download.only)
        if (position < 1 || position > RecordTotal)
            lacking.push_back(position);
    if (m_download.lacking)
        *m_download.lacking = lacking;
    return !lacking.empty();
}

bool GalderProcess::ChosenAhead() const {
    return !m_download.only || m_download.only->upper_bound(m_received) != m_download.only->end();
}

bool GalderProcess::HandleRecord(const std::string& data) {
    // Records of a layout nobody can read would be written as blank contacts.
    if (RecordType != 1 && RecordType != 4) {
        End(GalderEnding::Failed("The address book's records are of a layout this program "
                                 "cannot read (layout " +
                                 std::to_string(RecordType) + ")."));
        return false;
    }
    const std::int64_t position = m_received + 1;
    const bool chosen = !m_download.only || m_download.only->count(position) != 0;
    if (!TakeRecord(data, position, chosen)) {
        End(GalderEnding::Failed("An error occurred processing the address book"));
        return false;
    }
    ++m_received;
    m_GalderCount = static_cast<std::int16_t>(m_GalderCount + (chosen ? 1 : 0));
    PendingReply = kAcknowledge;
    m_services.view.setStatus("Received " + std::to_string(m_received) + " of " +
                              std::to_string(RecordTotal) + " Records...");
    if (RecordTotal == m_received) {
        ParserState = kDownloadComplete;
        return true;
    }
    // The count must also stay within its 16 bits when the limit is set
    // higher than a download can count.
    const bool limit = !m_download.list &&
                       GalderLimitReached(m_GalderCount, m_download.maxRecords) && ChosenAhead();
    if (limit || m_received == std::numeric_limits<std::int16_t>::max()) {
        End(GalderEnding::Limit());
        return false;
    }
    return true;
}

bool GalderProcess::TakeRecord(const std::string& data, std::int64_t position, bool chosen) {
    GalderRecord record;
    if (RecordType == 1)
        DecodeGalderRecordType1(data, record);
    else
        DecodeGalderRecordType4(data, record);
    record.Index = m_GalderCount;
    try {
        if (chosen && !m_download.list) {
            WriteGalderRecord(record, *Galderfhandle, m_download.emailOption, m_download.changes,
                              position);
            return true;
        }
        ContactLineWriter contact;
        contact.keepSources(m_download.list != nullptr);
        FillGalderContact(record, m_download.emailOption, contact);
        if (m_download.list) {
            m_download.list->take(contact, position);
            ReportContactChanges(contact, "galder", position, *m_download.list);
        } else {
            contact.line();
            ReportLeftOut(position, std::string(contact.text(Column::FirstName)) + " " +
                                        std::string(contact.text(Column::LastName)));
        }
        return true;
    } catch (const std::exception&) {
        return false; // reported by the caller: nobody above the receive handling could
    }
}

void GalderProcess::ReportLeftOut(std::int64_t position, std::string name) {
    if (m_download.changes)
        m_download.changes->add(
            ContactRow("galder", position, std::move(name), ChangeKind::LeftOut));
}

void GalderProcess::End(const GalderEnding& ending) {
    TimerReset(0);
    m_services.timer.stop();
    m_phase = Phase::Ended;
    m_framer.clear();
    ShowEnding(ending);
    if (ending.kind != GalderEnding::Kind::Limit)
        ParserState = kExpectWakeUpAnswer;
    // A cancel noticed by the tick leaves the port to close with the window.
    const bool byTick = ending.kind == GalderEnding::Kind::Cancelled && ending.noticedByTick;
    if (!byTick)
        m_services.port.close();
    switch (ending.kind) {
    case GalderEnding::Kind::Done:
    case GalderEnding::Kind::Limit:
        break;
    case GalderEnding::Kind::Failed:
        m_GalderCount = kGalderFailed;
        break;
    case GalderEnding::Kind::Cancelled:
        m_GalderCount = byTick ? kGalderCancelled : kGalderFailed;
        break;
    }
    m_services.view.closeWindow();
}

void GalderProcess::ShowEnding(const GalderEnding& ending) {
    if (ending.kind == GalderEnding::Kind::Limit) {
        ShowRecordLimitNotice(m_services.messages);
        ReportRecordsLeftOut();
    } else if (!ending.message.empty()) {
        m_services.messages.show(ending.caption, ending.message, MsgButtons::Ok, MsgIcon::Critical);
    }
}

void GalderProcess::ReportRecordsLeftOut() {
    if (!m_download.changes)
        return;
    if (m_download.only) {
        // Of a choice, each record not taken at its place: over the limit
        // when chosen, else left out.
        for (std::int64_t position = m_received + 1; position <= RecordTotal; ++position) {
            if (m_download.only->count(position) == 0) {
                ReportLeftOut(position, {});
                continue;
            }
            Change change = ContactRow("galder", position, {}, ChangeKind::OverLimit);
            change.sourceValue = "1";
            m_download.changes->add(change);
        }
        return;
    }
    Change change = ContactRow("galder", m_received + 1, {}, ChangeKind::OverLimit);
    // Announced, not sent; a header that announced none tells nothing.
    change.sourceValue = std::to_string(std::max(0, RecordTotal - m_received));
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

} // namespace addrix
