#include "wizard/ContactsSession.h"

#include "contact/ContactDuplicates.h"
#include "export/ExportDriver.h"
#include "settings/Settings.h"

#include <algorithm>

namespace addrix {

ContactsSession::ContactsSession(ExportServices services, ExportOptions options)
    : m_services(std::move(services)), m_options(std::move(options)) {}

RecordCount ContactsSession::read(ExportSource source, const IWizardForm& choices) {
    m_source = source;
    const ExportRequest request = ReadExportRequest(source, choices, m_services.settings);
    ExportContext context{m_services.messages, m_services.settings, m_services.galderWindow};
    context.cancelled = m_services.cancelled;
    return ListContacts(request, context, m_list);
}

std::vector<std::int64_t> ContactsSession::duplicates() const {
    return FindDuplicates(m_list);
}

std::vector<std::int64_t> ContactsSession::choose(const std::set<std::int64_t>& positions) {
    return m_list.choose(positions);
}

bool ContactsSession::setChosen(std::int64_t position, bool chosen) {
    return m_list.setChosen(position, chosen);
}

std::size_t ContactsSession::merge(std::int64_t first) {
    return MergeDuplicates(m_list, first);
}

std::size_t ContactsSession::mergeAll() {
    return MergeAllDuplicates(m_list);
}

RecordCount ContactsSession::chosenCount() const {
    const auto& contacts = m_list.contacts();
    return static_cast<RecordCount>(
        std::count_if(contacts.begin(), contacts.end(),
                      [](const ListedContact& contact) { return contact.chosen; }));
}

double ContactsSession::recordLimit() const {
    return m_options.maxRecords.value_or(m_services.settings.MaxDeviceRecords);
}

bool ContactsSession::overLimit() const {
    return OverRecordLimit(chosenCount(), recordLimit(), m_source == ExportSource::Galder);
}

ExportOutcome ContactsSession::exportChosen(const IWizardForm& choices) {
    return ExportSession(m_services, m_options).run(m_source, choices, m_list);
}

ExportOutcome ContactsSession::run(ExportSource source, const IWizardForm& choices,
                                   const ContactChoice& choice) {
    ExportSession session(m_services, m_options);
    if (!choice.only && !choice.mergeDuplicates)
        return session.run(source, choices);
    if (source == ExportSource::Galder && !choice.mergeDuplicates)
        return session.runChoosing(source, choices, *choice.only);
    ExportOutcome outcome;
    outcome.result = read(source, choices);
    if (outcome.result < 0)
        return outcome;
    if (choice.only) {
        outcome.lacking = choose(*choice.only);
        if (!outcome.lacking.empty()) {
            outcome.result = kExportFailed;
            return outcome;
        }
    }
    if (choice.mergeDuplicates)
        mergeAll();
    return exportChosen(choices);
}

} // namespace addrix
