#pragma once

#include "contact/ChangeReport.h"
#include "export/IWizardForm.h"
#include "platform/IFileDialog.h"
#include "settings/Settings.h"
#include "wizard/WizardExport.h"
#include "wizard/WizardServices.h"
#include "wizard/WizardStage.h"

#include <QMainWindow>
#include <QMargins>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace addrix {

// The wizard: the program's main window. It shows one page at a time under a
// fixed header, with Next, Back, Cancel and Help below, and runs the export
// from its export page. Every control carries its design name as its
// objectName; the source options are OptGetFromGalder, OptGetFromIvro and
// OptGetFromKestle (OptGetFrom indexes 0, 1 and 2 of the button group
// "OptGetFrom").
//
// The Browse and Help buttons and the Help menu only announce their clicks
// through the signals below; ConnectWizardActions gives them their actions.
class frmWelcome final : public QMainWindow, public IWizardForm {
    Q_OBJECT

public:
    // The source chosen on the welcome page; none until Next is pressed there.
    enum SourceDeviceKind : std::int16_t { kSourceNone = 0, kSourceGalder = 1, kSourceIvro = 2 };

    // Creates the window and runs its load handling: lists, settings,
    // defaults, welcome text, stage 0. The window is not shown.
    explicit frmWelcome(WizardServices& services, QWidget* parent = nullptr);
    ~frmWelcome() override;

    // Shows page `NewStage` (a WizardStage, 0 to 6) and sets the buttons for it. Stage 4
    // runs the export and moves on to 5 or 6 by itself. Any other number
    // leaves the window without a page and with only Cancel usable.
    void ChangeStage(std::int16_t NewStage);
    std::int16_t CurrentStage() const { return m_CurrentStage; }
    std::int16_t SourceDevice() const { return m_SourceDevice; }

    // Fills `list` with the serial ports COM1..COM16 that exist, the port
    // number as item data, and selects the first.
    void FillPortList(QComboBox& list);

    // The state of the two file dialogs: CommonDialog1 serves the output-file
    // chooser and the manager launch's locate step, CommonDialog2 the Ivro
    // file chooser.
    FileDialogRequest& CommonDialog1() { return m_CommonDialog1; }
    FileDialogRequest& CommonDialog2() { return m_CommonDialog2; }

    // IWizardForm: the named controls as the program's text.
    std::string txtDir() const override;
    std::string txtFileName() const override;
    std::string txtIvroFile() const override;
    int lstGalderCommPortIndex() const override;
    int lstGalderCommPortCount() const override;
    int lstGalderCommPortItemData(int index) const override;
    int lstGalderEmailIndex() const override;

    // What the Browse buttons choose.
    void setTxtDir(const std::string& text);
    void setTxtFileName(const std::string& text);
    void setTxtIvroFile(const std::string& text);

signals:
    void cmdBrowseClicked();
    void cmdIvroBrowseClicked();
    // cmdGalderHelp, mnuGalder, and cmdHelp on the Galder settings page.
    void galderHelpRequested();
    // cmdIvroHelp, mnuIvro, and cmdHelp on the Ivro settings page.
    void ivroHelpRequested();
    // cmdKestleHelp, mnuKestle.
    void kestleHelpRequested();
    void mnuSLAClicked();
    void mnuAboutClicked();

protected:
    // The window's unload: saves the settings and ends the program.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void BuildWindow();
    void BuildHeader(QWidget* client);
    void BuildWelcomePage(QWidget* client);
    void BuildFileLocationPage(QWidget* client);
    void BuildGalderPage(QWidget* client);
    void BuildIvroPage(QWidget* client);
    void BuildExportPage(QWidget* client);
    void BuildCompletePage(QWidget* client);
    void BuildButtons(QWidget* client);
    void BuildMenu();
    void SetTabOrder();

    void Form_Load();
    void Form_Unload();
    // The saved choices into the controls; a list position the list lacks
    // keeps the selection the filling made.
    void ApplyChoices(const Choices& choices);
    Choices CurrentChoices() const;
    void FitOuterSize();
    void PlaceHeader();
    void FitTexts();
    void ShowPage(QGroupBox* page);
    // What a stage shows: its page and the buttons it enables.
    struct StagePage {
        QGroupBox* page;
        bool next;
        bool back;
        bool help;
        bool hiddenOnLeave;
    };
    std::array<StagePage, kStageCount> StagePages() const;
    WizardStage PerformExport();
    ExportSource CurrentSource() const;

    void cmdNext_Click();
    void cmdBack_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();
    void OptGetFrom_Click();
    void cmdDetails_Click();
    void cmdChooseContacts_Click();
    // The counter of the contacts chosen, when a choice is kept.
    void ShowContactsChosen();

    WizardServices& m_services;
    std::int16_t m_CurrentStage = 0;
    std::int16_t m_SourceDevice = kSourceNone;
    // Inside the export or a reading of the source: the window must stay.
    bool m_exporting = false;
    // The export, with the contacts chosen on the confirmation page.
    WizardExport m_export;
    bool m_unloaded = false;
    QMargins m_fittedFrame;
    FileDialogRequest m_CommonDialog1;
    FileDialogRequest m_CommonDialog2;
    // The changes of the last export to the contacts written, for frmChanges.
    std::vector<Change> m_changeRows;
    // The file the last export wrote, and where, failed, it kept the
    // contacts it had read.
    std::string m_outputPath;
    std::string m_incompleteFile;

    // Header.
    QLabel* m_lblMaxRecords = nullptr;
    QLabel* m_ImgLogo = nullptr;
    QLabel* m_lblDeleteWarning = nullptr;
    // Pages.
    QGroupBox* m_FrameWelcome = nullptr;
    QLabel* m_lblWelcome = nullptr;
    QButtonGroup* m_OptGetFrom = nullptr;
    QRadioButton* m_OptGetFromGalder = nullptr;
    QRadioButton* m_OptGetFromIvro = nullptr;
    QRadioButton* m_OptGetFromKestle = nullptr;
    QPushButton* m_cmdGalderHelp = nullptr;
    QPushButton* m_cmdIvroHelp = nullptr;
    QPushButton* m_cmdKestleHelp = nullptr;
    QGroupBox* m_FrameFileLocation = nullptr;
    QLineEdit* m_txtDir = nullptr;
    QLineEdit* m_txtFileName = nullptr;
    QPushButton* m_cmdBrowse = nullptr;
    QGroupBox* m_frameGalderMappings = nullptr;
    QComboBox* m_lstGalderCommPort = nullptr;
    QLabel* m_lblGalderExpl = nullptr;
    QComboBox* m_lstGalderEmail = nullptr;
    QGroupBox* m_frameIvroMappings = nullptr;
    QLineEdit* m_txtIvroFile = nullptr;
    QPushButton* m_cmdIvroBrowse = nullptr;
    QGroupBox* m_frameExport = nullptr;
    QLabel* m_lblConfirmGalder = nullptr;
    QCheckBox* m_chkAutoDataPlug = nullptr;
    QPushButton* m_cmdChooseContacts = nullptr;
    QLabel* m_lblContactsChosen = nullptr;
    QGroupBox* m_frameComplete = nullptr;
    QLabel* m_lblCompleteGood = nullptr;
    QLabel* m_lblCompleteBad = nullptr;
    QLabel* m_lblExportFile = nullptr;
    QLabel* m_lblChanges = nullptr;
    QPushButton* m_cmdDetails = nullptr;
    // Buttons.
    QPushButton* m_cmdNext = nullptr;
    QPushButton* m_cmdBack = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QPushButton* m_cmdHelp = nullptr;
    // Menu.
    QMenu* m_mnuHelp = nullptr;
    QAction* m_mnuGalder = nullptr;
    QAction* m_mnuIvro = nullptr;
    QAction* m_mnuKestle = nullptr;
    QAction* m_mnuSLA = nullptr;
    QAction* m_mnuAbout = nullptr;
};

// The start procedure: creates the wizard, gives its Browse and Help buttons
// and menu their actions, shows it (not modally) and returns it; the program then runs on the
// wizard's events until it is unloaded.
std::unique_ptr<frmWelcome> Main(WizardServices& services);

} // namespace addrix
