#include "contact/ChangeReport.h"

#include "platform/OutputFile.h"
#include "platform/TextFile.h"

namespace addrix {

namespace {

void AppendQuoted(std::string& line, std::string_view value) {
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
    case ChangeKind::Merged:
        return "merged";
    case ChangeKind::LeftOut:
        return "left out";
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
    case ChangeKind::Merged:
        ++merged;
        break;
    case ChangeKind::LeftOut:
        ++leftOut;
        break;
    }
}

std::string ChangeSummary(const ChangeCounts& counts) {
    return "Changes: " + std::to_string(counts.shortened) + " shortened, " +
           std::to_string(counts.changed) + " changed, " + std::to_string(counts.filled) +
           " filled, " + std::to_string(counts.skipped) + " skipped, " +
           std::to_string(counts.overLimit) + " over the limit" +
           (counts.merged ? ", " + std::to_string(counts.merged) + " merged" : "") +
           (counts.leftOut ? ", " + std::to_string(counts.leftOut) + " left out" : "") + ".";
}

Change ContactRow(const char* source, std::int64_t position, std::string name, ChangeKind kind) {
    Change change;
    change.source = source;
    change.position = position;
    change.name = std::move(name);
    change.kind = kind;
    return change;
}

std::string QuotedCsvLine(std::initializer_list<std::string_view> fields) {
    std::string line;
    std::size_t size = 0;
    for (const std::string_view field : fields)
        size += field.size() + 3;
    line.reserve(size);
    for (const std::string_view field : fields) {
        if (!line.empty())
            line += ',';
        AppendQuoted(line, field);
    }
    return line;
}

std::string ChangeReportLine(const Change& change) {
    return QuotedCsvLine({change.source, std::to_string(change.position), change.contactId,
                          change.name, change.column, ChangeKindName(change.kind),
                          change.sourceValue, change.writtenValue});
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
