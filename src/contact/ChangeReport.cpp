#include "contact/ChangeReport.h"

#include "platform/OutputFile.h"
#include "platform/TextFile.h"

namespace addrix {

namespace {

void AppendQuoted(std::string& line, const std::string& value) {
    line += '"';
    for (const char c : value) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

} // namespace

const char* ChangeKindName(ChangeKind kind) {
    switch (kind) {
    case ChangeKind::Shortened:
        return "shortened";
    case ChangeKind::Changed:
        return "changed";
    case ChangeKind::Filled:
        return "filled";
    case ChangeKind::Skipped:
        return "skipped";
    case ChangeKind::OverLimit:
        return "over-limit";
    }
    return "";
}

void ChangeCounts::count(ChangeKind kind) {
    switch (kind) {
    case ChangeKind::Shortened:
        ++shortened;
        break;
    case ChangeKind::Changed:
        ++changed;
        break;
    case ChangeKind::Filled:
        ++filled;
        break;
    case ChangeKind::Skipped:
        ++skipped;
        break;
    case ChangeKind::OverLimit:
        ++overLimit;
        break;
    }
}

std::string ChangeSummary(const ChangeCounts& counts) {
    return "Changes: " + std::to_string(counts.shortened) + " shortened, " +
           std::to_string(counts.changed) + " changed, " + std::to_string(counts.filled) +
           " filled, " + std::to_string(counts.skipped) + " skipped, " +
           std::to_string(counts.overLimit) + " over the limit.";
}

std::string ChangeReportLine(const Change& change) {
    std::string line;
    line.reserve(64 + change.name.size() + change.sourceValue.size() + change.writtenValue.size());
    const std::string fields[] = {
        change.source, std::to_string(change.position), change.contactId,   change.name,
        change.column, ChangeKindName(change.kind),     change.sourceValue, change.writtenValue};
    for (const std::string& field : fields) {
        if (!line.empty())
            line += ',';
        AppendQuoted(line, field);
    }
    return line;
}

ChangeReportFile::ChangeReportFile() : m_file(std::make_unique<OutputFile>()) {}

ChangeReportFile::~ChangeReportFile() = default;

void ChangeReportFile::open(const std::string& path) {
    m_file->open(path);
    m_file->writeLine(kChangeReportHeader);
}

void ChangeReportFile::add(const Change& change) {
    m_file->writeLine(ChangeReportLine(change));
}

void ChangeReportFile::commit() {
    m_file->commit();
}

void ChangeReportFile::abandon() {
    m_file->abandon(false);
}

void ChangeCollector::add(const Change& change) {
    m_counts.count(change.kind);
    if (m_keepRows && !change.contactId.empty())
        m_rows.push_back(change);
}

} // namespace addrix
