#include "wizard/ExportSession.h"

#include "export/ExportDriver.h"
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

ExportOutcome ExportSession::run(ExportSource source, const IWizardForm& choices) {
    Settings settings = m_services.settings;
    if (m_options.maxRecords)
        settings.MaxDeviceRecords = *m_options.maxRecords;
    const ExportRequest request = ReadExportRequest(source, choices, settings);

    ExportOutcome outcome;
    outcome.outputPath = OutputPath(request.outputDir, request.outputFile);
    // The report is opened first: one that cannot be written stops the
    // export before the Norvik file is touched.
    std::optional<ChangeReportFile> report;
    if (!m_options.reportFile.empty()) {
        try {
            report.emplace();
            report->open(m_options.reportFile);
        } catch (const FileError& error) {
            outcome.reportError =
                "The change report cannot be written: " + std::string(error.what());
            ShowReportError(m_services.messages, outcome.reportError);
            outcome.result = kExportFailed;
            return outcome;
        }
    }

    ChangeCollector collected(m_options.keepChangeRows);
    std::optional<ChangeTee> both;
    if (report)
        both.emplace(collected, *report);
    ExportContext context{m_services.messages, settings, m_services.galderWindow};
    context.changes = both ? static_cast<IChangeSink*>(&*both) : &collected;
    context.cancelled = m_services.cancelled;
    outcome.result = DoExport(request, context, &outcome.contactsInFile);
    outcome.changes = collected.counts();
    outcome.changeRows = collected.rows();

    if (report) {
        try {
            report->close();
        } catch (const FileError& error) {
            outcome.reportError =
                "The change report could not be written: " + std::string(error.what());
            ShowReportError(m_services.messages, outcome.reportError);
        }
    }
    return outcome;
}

} // namespace addrix
