#include "sources/galder/GalderFramer.h"

#include "sources/galder/GalderRecord.h"

namespace addrix {

namespace {

constexpr char kWakeUpAnswer = '\x8B';
constexpr char kHeaderStart = '\x06';
constexpr char kRecordMarker = '\x7F';
constexpr char kDisabled = 'D';

constexpr std::size_t kIdentAnswerSize = 37;
constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kRecordSize = 1 + kGalderRecordDataSize;

GalderFrame Frame(GalderFrame::Kind kind) {
    GalderFrame frame;
    frame.kind = kind;
    return frame;
}

} // namespace

GalderFrame GalderFramer::next(std::int16_t expected) {
    switch (expected) {
    case kExpectWakeUpAnswer:
        return wakeUpAnswer();
    case kExpectIdentification:
        return identification();
    case kExpectHeader:
        return header();
    case kExpectRecords:
        return record();
    default:
        return {};
    }
}

GalderFrame GalderFramer::wakeUpAnswer() {
    if (m_buffer.size() == 1 && m_buffer[0] == kWakeUpAnswer) {
        m_buffer.clear();
        return Frame(GalderFrame::Kind::WakeUpAnswer);
    }
    if (m_buffer.size() <= 1)
        return {};
    // Two answers in one receipt are as wrong as any other two bytes.
    m_buffer.clear();
    return Frame(GalderFrame::Kind::WrongAnswer);
}

GalderFrame GalderFramer::identification() {
    if (m_buffer.size() < kIdentAnswerSize)
        return {};
    // Only the last byte tells anything; the whole answer goes with it, and
    // whatever came in the same receipt after it.
    GalderFrame frame = Frame(GalderFrame::Kind::Identification);
    frame.disabled = m_buffer.back() == kDisabled;
    m_buffer.clear();
    return frame;
}

GalderFrame GalderFramer::header() {
    // Whatever comes before the header's first byte is dropped.
    const auto start = m_buffer.find(kHeaderStart);
    if (start != std::string::npos)
        m_buffer.erase(0, start);
    if (m_buffer.size() < kHeaderSize)
        return {};
    GalderFrame frame = Frame(GalderFrame::Kind::Header);
    frame.announced = m_buffer[2] == '\0';
    frame.layout = static_cast<unsigned char>(m_buffer[1]);
    frame.total = static_cast<unsigned char>(m_buffer[3]);
    m_buffer.erase(0, kHeaderSize);
    return frame;
}

GalderFrame GalderFramer::record() {
    if (m_buffer.empty() || m_buffer[0] != kRecordMarker) {
        // A stream out of step is told only once more than a whole record
        // has gathered behind the wrong byte.
        if (m_buffer.size() <= kRecordSize)
            return {};
        return Frame(GalderFrame::Kind::OutOfStep);
    }
    if (m_buffer.size() < kRecordSize)
        return {};
    GalderFrame frame = Frame(GalderFrame::Kind::Record);
    frame.data.assign(m_buffer, 1, kGalderRecordDataSize);
    m_buffer.erase(0, kRecordSize);
    return frame;
}

} // namespace addrix
