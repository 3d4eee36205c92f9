#include "wizard/ExportSession.h"

#include "export/ExportDriver.h"
#include "platform/FilePath.h"
#include "platform/IMessageBox.h"
#include "platform/TextFile.h"
#include "settings/Settings.h"

#include <optional>

namespace addrix {

namespace {

void ShowReportError(IMessageBox& messages, const std::string& text) {
    messages.show("Report", text, MsgButtons::Ok, MsgIcon::Critical);
}

} // namespace

ExportSession::ExportSession(ExportServices services, ExportOptions options)
    : m_services(std::move(services)), m_options(std::move(options)) {}

std::string ExportSession::ReportRefusal(const ExportRequest& request,
                                         const std::string& outputPath) const {
    const std::string& report = m_options.reportFile;
    if (NamesSameFile(report, outputPath))
        return report + " is the Norvik file the export writes";
    if (request.source == ExportSource::Ivro && NamesSameFile(report, request.ivroFile))
        return report + " is the backup file the export reads";
    for (const std::string& own : m_services.ownFiles)
        if (NamesSameFile(report, own))
            return report + " is a file of the program's own";
    return {};
}

bool ExportSession::OpenReport(const ExportRequest& request,
                               std::optional<ChangeReportFile>& report,
                               ExportOutcome& outcome) const {
    if (m_options.reportFile.empty())
        return true;
    try {
        if (std::string refusal = ReportRefusal(request, outcome.outputPath); !refusal.empty())
            throw FileError(refusal);
        report.emplace();
        report->open(m_options.reportFile);
        return true;
    } catch (const FileError& error) {
        outcome.reportError = "The change report cannot be written: " + std::string(error.what());
        ShowReportError(m_services.messages, outcome.reportError);
        outcome.result = kExportFailed;
        return false;
    }
}

ExportOutcome ExportSession::run(ExportSource source, const IWizardForm& choices) {
    return runExport(source, choices, nullptr, nullptr);
}

ExportOutcome ExportSession::run(ExportSource source, const IWizardForm& choices,
                                 const ContactList& contacts) {
    return runExport(source, choices, &contacts, nullptr);
}

ExportOutcome ExportSession::runChoosing(ExportSource source, const IWizardForm& choices,
                                         const std::set<std::int64_t>& only) {
    return runExport(source, choices, nullptr, &only);
}

ExportOutcome ExportSession::runExport(ExportSource source, const IWizardForm& choices,
                                       const ContactList* contacts,
                                       const std::set<std::int64_t>* only) {
    Settings settings = m_services.settings;
    if (m_options.maxRecords)
        settings.MaxDeviceRecords = *m_options.maxRecords;
    const ExportRequest request = ReadExportRequest(source, choices, settings);

    ExportOutcome outcome;
    outcome.outputPath = OutputPath(request.outputDir, request.outputFile);
    // The report is opened first: one that cannot be written stops the
    // export before the Norvik file is touched.
    std::optional<ChangeReportFile> report;
    if (!OpenReport(request, report, outcome))
        return outcome;

    ChangeCollector collected(m_options.keepChangeRows);
    std::optional<ChangeTee> both;
    if (report)
        both.emplace(collected, *report);
    ExportContext context{m_services.messages, settings, m_services.galderWindow};
    context.changes = both ? static_cast<IChangeSink*>(&*both) : &collected;
    context.cancelled = m_services.cancelled;
    context.contacts = contacts;
    context.only = only;
    context.lacking = &outcome.lacking;
    // The report takes its place before the output does: one that fails
    // fails the export with the output as it was.
    if (report)
        context.beforePlacing = [&] {
            try {
                report->commit();
            } catch (const FileError& error) {
                outcome.reportError =
                    "The change report could not be written: " + std::string(error.what());
                throw FileError(outcome.reportError);
            }
        };
    ExportKept kept;
    outcome.result = DoExport(request, context, &kept);
    outcome.contacts = kept.contacts;
    outcome.incompleteFile = kept.incompleteFile;
    outcome.outputKept = kept.outputKept;
    outcome.changes = collected.counts();
    outcome.changeRows = collected.rows();
    if (report)
        report->abandon(); // nothing once it is in place
    return outcome;
}

} // namespace addrix
