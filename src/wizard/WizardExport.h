#pragma once

#include "wizard/ContactsSession.h"

#include <optional>

namespace addrix {

// The wizard's export: the source as it stands, or the contacts the user
// chose from it on the confirmation page, kept until the source may change.
class WizardExport {
public:
    WizardExport(ExportServices services, ExportOptions options);

    // A list for the user to choose from: a copy of the choice kept, else the
    // source read (a Galder downloaded) now. None after a failure, which a
    // box has shown.
    std::optional<ContactsSession> startChoosing(ExportSource source, const IWizardForm& choices);
    // The export writes `chosen` from now on, without reading the source again.
    void keep(ContactsSession chosen);
    // The source or its file may change: the export reads it again.
    void forget() { m_chosen.reset(); }
    const ContactsSession* chosen() const { return m_chosen ? &*m_chosen : nullptr; }

    // Writes the choice kept, or else exports the source.
    ExportOutcome run(ExportSource source, const IWizardForm& choices);

private:
    ExportServices m_services;
    ExportOptions m_options;
    std::optional<ContactsSession> m_chosen;
};

} // namespace addrix
