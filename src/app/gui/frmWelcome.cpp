#include "app/gui/frmWelcome.h"

#include "app/gui/Twips.h"
#include "app/gui/WizardActions.h"
#include "app/gui/frmChanges.h"
#include "app/gui/frmContacts.h"
#include "platform/IMessageBox.h"
#include "platform/qt/QtServices.h"
#include "settings/Settings.h"
#include "wizard/EmailColumns.h"
#include "wizard/ManagerLaunch.h"
#include "wizard/PortList.h"
#include "wizard/WizardStartup.h"
#include "wizard/WizardTexts.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <exception>

namespace addrix {

frmWelcome::frmWelcome(WizardServices& services, QWidget* parent)
    : QMainWindow(parent), m_services(services),
      m_export({services.messages, services.settings, services.galderWindow}, [] {
          ExportOptions options;
          options.keepChangeRows = true;
          return options;
      }()) {
    BuildWindow();
    Form_Load();
}

frmWelcome::~frmWelcome() = default;

// ---------------------------------------------------------------------------
// Load and unload.

void frmWelcome::Form_Load() {
    FitOuterSize();

    for (const EmailColumn& column : kEmailColumns)
        m_lstGalderEmail->addItem(QString::fromLatin1(column.caption));
    FillPortList(*m_lstGalderCommPort);

    const SavedSettings start = LoadWizardChoices(m_services);
    m_services.settings = start.settings;
    ApplyChoices(start.choices);
    m_lblMaxRecords->setText(
        ToDisplayText(MaxRecordsCaption(m_services.settings.MaxDeviceRecords)));

    if (ShowsGalder(m_services.settings)) {
        m_lblWelcome->setText(ToDisplayText(kWelcomeGalder));
    } else {
        m_lblWelcome->setText(ToDisplayText(kWelcomeIvroOnly));
        m_OptGetFromGalder->hide();
        m_cmdGalderHelp->hide();
        m_mnuGalder->setVisible(false);
    }
    m_lblGalderExpl->setText(ToDisplayText(kGalderExpl));
    m_lblDeleteWarning->setText(ToDisplayText(kDeleteWarning));
    PlaceHeader();

    m_OptGetFromKestle->move(m_OptGetFromKestle->x(), Twips(3480));
    m_cmdKestleHelp->move(m_cmdKestleHelp->x(), Twips(3525));
    FitTexts();

    ChangeStage(kStageWelcome);
}

void frmWelcome::ApplyChoices(const Choices& choices) {
    if (const auto position = ListPosition(choices.GalderPort, m_lstGalderCommPort->count()))
        m_lstGalderCommPort->setCurrentIndex(*position);
    if (const auto position = ListPosition(choices.GalderEmail, m_lstGalderEmail->count()))
        m_lstGalderEmail->setCurrentIndex(*position);
    if (choices.IvroFile)
        m_txtIvroFile->setText(ToQString(*choices.IvroFile));
    if (choices.LaunchDataPlug)
        m_chkAutoDataPlug->setChecked(*choices.LaunchDataPlug);
    if (choices.ExportPath)
        m_txtDir->setText(ToQString(*choices.ExportPath));
    if (choices.ExportFile)
        m_txtFileName->setText(ToQString(*choices.ExportFile));
}

Choices frmWelcome::CurrentChoices() const {
    Choices choices;
    choices.GalderPort = m_lstGalderCommPort->currentIndex();
    choices.GalderEmail = m_lstGalderEmail->currentIndex();
    choices.IvroFile = txtIvroFile();
    choices.LaunchDataPlug = m_chkAutoDataPlug->isChecked();
    choices.ExportPath = txtDir();
    choices.ExportFile = txtFileName();
    return choices;
}

void frmWelcome::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    bool saved = false;
    try {
        saved = SaveSettings(m_services.settings, CurrentChoices(), m_services.ini,
                             SettingsFilePath(m_services.program));
    } catch (const std::exception&) {
    }
    // Choices that are lost must not look kept.
    if (!saved)
        m_services.messages.show("Settings Not Saved",
                                 "Your choices could not be saved: the settings file cannot be "
                                 "written.",
                                 MsgButtons::Ok, MsgIcon::Critical);
}

void frmWelcome::closeEvent(QCloseEvent* event) {
    // The export runs inside this window's event handling until it returns.
    if (m_exporting) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
    if (m_services.endProgram)
        m_services.endProgram();
}

std::array<frmWelcome::StagePage, kStageCount> frmWelcome::StagePages() const {
    QGroupBox* const mappings = m_SourceDevice == kSourceGalder ? m_frameGalderMappings
                                : m_SourceDevice == kSourceIvro ? m_frameIvroMappings
                                                                : nullptr;
    // Page, Next, Back, Help, hidden when the stage is left. Next waits on
    // the welcome page for a click on a source option; the export page stays
    // in view while the export runs; the completion page is never left.
    return {{
        {m_FrameWelcome, false, false, false, true},
        {m_FrameFileLocation, true, true, false, true},
        {mappings, true, true, true, true},
        {m_frameExport, true, true, false, true},
        {m_frameExport, false, false, false, true},
        {m_frameComplete, false, false, false, false},
        {m_frameComplete, false, false, false, false},
    }};
}

void frmWelcome::ChangeStage(std::int16_t NewStage) {
    const auto pages = StagePages();
    const auto known = [](std::int16_t stage) {
        return stage >= 0 && stage < kStageCount;
    };
    m_cmdNext->setEnabled(false);
    m_cmdBack->setEnabled(false);
    m_cmdHelp->hide();
    if (known(m_CurrentStage)) {
        const StagePage& left = pages[m_CurrentStage];
        if (left.hiddenOnLeave && left.page)
            left.page->hide();
    }

    m_CurrentStage = NewStage;
    if (!known(NewStage))
        return;
    const StagePage& page = pages[NewStage];
    m_cmdNext->setEnabled(page.next);
    m_cmdBack->setEnabled(page.back);
    m_cmdHelp->setVisible(page.help);
    if (page.page)
        ShowPage(page.page);

    m_cmdChooseContacts->setEnabled(NewStage == kStageConfirm);
    switch (NewStage) {
    case kStageConfirm:
        m_lblConfirmGalder->setVisible(m_SourceDevice == kSourceGalder);
        ShowContactsChosen();
        break;
    case kStageExport:
        ChangeStage(PerformExport());
        break;
    case kStageComplete:
    case kStageNotComplete:
        m_lblCompleteGood->setVisible(NewStage == kStageComplete);
        m_lblCompleteBad->setVisible(NewStage == kStageNotComplete);
        m_lblExportFile->setVisible(NewStage == kStageComplete);
        m_cmdCancel->setText(QStringLiteral("&Close"));
        break;
    default:
        break;
    }
}

ExportSource frmWelcome::CurrentSource() const {
    return m_SourceDevice == kSourceGalder ? ExportSource::Galder : ExportSource::Ivro;
}

// Stage 4: runs the export and tells where the wizard goes next.
WizardStage frmWelcome::PerformExport() {
    m_exporting = true;
    const ExportOutcome outcome = m_export.run(CurrentSource(), *this);
    m_exporting = false;
    m_changeRows = outcome.changeRows;
    m_outputPath = outcome.outputPath;
    m_incompleteFile = outcome.incompleteFile;
    std::string changes = ChangeSummary(outcome.changes);
    if (!m_incompleteFile.empty())
        changes += "\r\n" + KeptContactsText(outcome.contacts, m_incompleteFile);
    m_lblExportFile->setText(ToDisplayText(ExportedFileText(m_outputPath)));
    m_lblChanges->setText(ToDisplayText(changes));
    m_lblChanges->setVisible(outcome.contacts > 0);
    m_cmdDetails->setVisible(outcome.contacts > 0);
    m_cmdDetails->setEnabled(!m_changeRows.empty());

    if (outcome.result <= 0)
        return kStageNotComplete;
    m_services.messages.show("Records Exported", RecordsExportedText(outcome.result),
                             MsgButtons::Ok, MsgIcon::Information);
    if (m_chkAutoDataPlug->isChecked())
        LaunchNorvikMgr(m_services, m_CommonDialog1);
    return kStageComplete;
}

void frmWelcome::cmdNext_Click() {
    switch (m_CurrentStage) {
    case kStageWelcome:
        m_SourceDevice = m_OptGetFromGalder->isChecked() ? kSourceGalder : kSourceIvro;
        ChangeStage(kStageFileLocation);
        break;
    case kStageFileLocation:
        // A bad folder or name shows up as the export's own error.
        ChangeStage(kStageSourceSettings);
        break;
    case kStageSourceSettings:
        if (m_SourceDevice == kSourceIvro && !m_services.files.fileExists(txtIvroFile())) {
            m_services.messages.show("File Not Found",
                                     "The Ivro Import file could not be located.  Please verify "
                                     "the file name and try again.",
                                     MsgButtons::Ok, MsgIcon::Warning);
            return;
        }
        ChangeStage(kStageConfirm);
        break;
    case kStageConfirm:
        ChangeStage(kStageExport);
        break;
    default:
        break;
    }
}

void frmWelcome::cmdDetails_Click() {
    ChangesFilePlace place{txtDir(), m_services.ownFiles};
    place.refused.push_back(m_outputPath);
    if (!m_incompleteFile.empty())
        place.refused.push_back(m_incompleteFile);
    if (m_SourceDevice == kSourceIvro)
        place.refused.push_back(txtIvroFile());
    frmChanges changes(m_changeRows, std::move(place), m_services, this);
    changes.exec();
}

void frmWelcome::cmdBack_Click() {
    // The source or its file may change: a choice from it would no longer match.
    if (m_CurrentStage == kStageConfirm)
        m_export.forget();
    if (m_CurrentStage >= kStageFileLocation && m_CurrentStage <= kStageConfirm)
        ChangeStage(static_cast<std::int16_t>(m_CurrentStage - 1));
}

// Reads the source (a Galder downloads now) and lets the user choose from
// it; OK keeps the choice for the export, Cancel leaves it as it was.
void frmWelcome::cmdChooseContacts_Click() {
    if (m_CurrentStage != kStageConfirm)
        return;
    m_exporting = true;
    std::optional<ContactsSession> contacts = m_export.startChoosing(CurrentSource(), *this);
    m_exporting = false;
    if (!contacts)
        return;
    // The window goes before its contacts are handed on.
    if (frmContacts(*contacts, this).exec() == QDialog::Accepted)
        m_export.keep(std::move(*contacts));
    ShowContactsChosen();
}

void frmWelcome::ShowContactsChosen() {
    const ContactsSession* chosen = m_export.chosen();
    m_lblContactsChosen->setVisible(chosen != nullptr);
    if (chosen)
        m_lblContactsChosen->setText(
            ToQString(ChosenText(chosen->chosenCount(), chosen->recordLimit())));
}

void frmWelcome::cmdCancel_Click() {
    if (m_CurrentStage == kStageExport)
        return;
    close();
}

void frmWelcome::cmdHelp_Click() {
    if (m_SourceDevice == kSourceGalder)
        emit galderHelpRequested();
    else if (m_SourceDevice == kSourceIvro)
        emit ivroHelpRequested();
}

void frmWelcome::OptGetFrom_Click() {
    m_cmdNext->setEnabled(true);
}

// ---------------------------------------------------------------------------
// The serial-port list.

void frmWelcome::FillPortList(QComboBox& list) {
    list.clear();
    for (const int number : ProbeSerialPorts(m_services.probePort))
        list.addItem(ToQString(PortCaption(number)), number);
    if (list.count() > 0)
        list.setCurrentIndex(0);
}

// ---------------------------------------------------------------------------
// The named controls that the export reads.

std::string frmWelcome::txtDir() const {
    return FromQString(m_txtDir->text());
}

std::string frmWelcome::txtFileName() const {
    return FromQString(m_txtFileName->text());
}

std::string frmWelcome::txtIvroFile() const {
    return FromQString(m_txtIvroFile->text());
}

int frmWelcome::lstGalderCommPortIndex() const {
    return m_lstGalderCommPort->currentIndex();
}

int frmWelcome::lstGalderCommPortCount() const {
    return m_lstGalderCommPort->count();
}

int frmWelcome::lstGalderCommPortItemData(int index) const {
    if (index < 0 || index >= m_lstGalderCommPort->count())
        return 0;
    return m_lstGalderCommPort->itemData(index).toInt();
}

int frmWelcome::lstGalderEmailIndex() const {
    return m_lstGalderEmail->currentIndex();
}

void frmWelcome::setTxtDir(const std::string& text) {
    m_txtDir->setText(ToQString(text));
}

void frmWelcome::setTxtFileName(const std::string& text) {
    m_txtFileName->setText(ToQString(text));
}

void frmWelcome::setTxtIvroFile(const std::string& text) {
    m_txtIvroFile->setText(ToQString(text));
}

std::unique_ptr<frmWelcome> Main(WizardServices& services) {
    auto wizard = std::make_unique<frmWelcome>(services);
    ConnectWizardActions(*wizard, services);
    wizard->show();
    return wizard;
}

} // namespace addrix
