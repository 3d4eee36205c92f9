#include "wizard/WizardExport.h"

namespace addrix {

WizardExport::WizardExport(ExportServices services, ExportOptions options)
    : m_services(std::move(services)), m_options(std::move(options)) {}

std::optional<ContactsSession> WizardExport::startChoosing(ExportSource source,
                                                           const IWizardForm& choices) {
    if (m_chosen)
        return m_chosen;
    std::optional<ContactsSession> contacts(std::in_place, m_services, m_options);
    if (contacts->read(source, choices) < 0)
        contacts.reset();
    return contacts;
}

void WizardExport::keep(ContactsSession chosen) {
    m_chosen.reset();
    m_chosen.emplace(std::move(chosen));
}

ExportOutcome WizardExport::run(ExportSource source, const IWizardForm& choices) {
    if (m_chosen)
        return m_chosen->exportChosen(choices);
    return ExportSession(m_services, m_options).run(source, choices);
}

} // namespace addrix
