// The wizard window, driven through its controls on the offscreen platform.
#include "WizardRig.h"
#include "app/gui/Twips.h"
#include "app/logic/ManagerLaunch.h"
#include "export/ContactLine.h"
#include "export/ExportDriver.h"
#include "ivro/IvroBackupLocation.h"
#include "platform/PathUtil.h"
#include "platform/qt/QtShell.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QRadioButton>
#include <QTimer>

#include <filesystem>

using namespace addrix;
using addrix::test::WizardRig;

namespace {

// The welcome text; %1 names the devices offered.
const char* const kWelcome =
    "Welcome to the Halvern Norvik Addrix.\nThis program will create an address book file "
    "compatible with a Norvik device from your existing %1.\nAfter the file is created, the "
    "Norvik Manager program will have to be used to restore the file to your Norvik.\nThe "
    "following simple steps will guide you through the process and you will be on your way to a "
    "seamless transition to using your Norvik device.";

std::vector<std::string> OutputLines(const WizardRig& rig) {
    return test::SplitCrLf(
        test::ReadFile(OutputPath(rig.programDir.path(), "NorvikaddressBook.csv")));
}

} // namespace

class frmWelcomeTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WizardRig> m_rig;

private slots:
    void init() { m_rig = std::make_unique<WizardRig>(); }

    void cleanup() {
        m_rig.reset();
        QVERIFY2(QApplication::topLevelWidgets().isEmpty(), "a window outlived its test");
    }

    // ---- Start-up --------------------------------------------------------

    void startsWithoutSettingsFile() {
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        QCOMPARE(w.windowTitle(), QString("Halvern - Norvik Addrix"));
        QCOMPARE(rig.text("lblWelcome"), QString(kWelcome).arg("Galder device or Ivro device"));
        for (const char* option : {"OptGetFromGalder", "OptGetFromIvro", "OptGetFromKestle"})
            QVERIFY(rig.visible(option) && !rig.find<QRadioButton>(option)->isChecked());
        // Kestle is offered but cannot be chosen.
        QTest::mouseClick(rig.find<QRadioButton>("OptGetFromKestle"), Qt::LeftButton);
        QVERIFY(!rig.find<QRadioButton>("OptGetFromKestle")->isChecked());

        QCOMPARE(w.txtDir(), rig.programDir.path());
        QCOMPARE(w.txtFileName(), std::string("NorvikaddressBook.csv"));
        QCOMPARE(w.txtIvroFile(), GetIvroBackupFile(rig.registry));
        auto* email = rig.find<QComboBox>("lstGalderEmail");
        QStringList items;
        for (int i = 0; i < email->count(); ++i)
            items << email->itemText(i);
        QCOMPARE(items, (QStringList{"Work Email", "Home Email", "Alternate Email"}));
        QCOMPARE(email->currentIndex(), 0);
        QCOMPARE(w.chkAutoDataPlug(), 1);
        QVERIFY(rig.text("lblMaxRecords").contains("250"));
        QCOMPARE(rig.settings.KestleEXEFilePath, std::string(kNorvikMgrDefaultPath));
        // COM1 to COM16 probed once each; COM1 and the busy COM3 listed with
        // their numbers, COM17 never; the first selected and no port left open.
        QCOMPARE(rig.ports.opened.size(), std::size_t(16));
        QCOMPARE(rig.ports.opened.back(), 16);
        QCOMPARE(rig.find<QComboBox>("lstGalderCommPort")->itemText(1), QString("COM3"));
        QCOMPARE(w.lstGalderCommPortCount(), 2);
        QCOMPARE(w.lstGalderCommPortItemData(0), 1);
        QCOMPARE(w.lstGalderCommPortItemData(1), 3);
        QCOMPARE(w.lstGalderCommPortIndex(), 0);
        QVERIFY(!rig.ports.isOpen() && rig.ports.doubleOpens == 0);
        // A port that will not close does not end the probe; a machine
        // without ports gives an empty list and no selection.
        rig.ports.ports = {{2, SerialOpenResult::Status::Opened},
                           {9, SerialOpenResult::Status::Opened}};
        rig.ports.throwOnClose = true;
        w.FillPortList(*rig.find<QComboBox>("lstGalderCommPort"));
        QCOMPARE(w.lstGalderCommPortItemData(1), 9);
        rig.ports.throwOnClose = false;
        rig.ports.ports.clear();
        w.FillPortList(*rig.find<QComboBox>("lstGalderCommPort"));
        QCOMPARE(w.lstGalderCommPortCount(), 0);
        QCOMPARE(w.lstGalderCommPortIndex(), -1);

        QCOMPARE(int(w.CurrentStage()), 0);
        QCOMPARE(rig.visiblePages(), QStringList{"FrameWelcome"});
        QVERIFY(!rig.enabled("cmdNext") && !rig.enabled("cmdBack") && !rig.visible("cmdHelp"));
    }

    void startsWithSettingsFile_data() {
        QTest::addColumn<bool>("folderExists");
        QTest::newRow("stored folder") << true;
        QTest::newRow("stored folder deleted") << false;
    }

    void startsWithSettingsFile() {
        QFETCH(bool, folderExists);
        WizardRig& rig = *m_rig;
        const std::string out = rig.programDir.file("exports");
        if (folderExists)
            std::filesystem::create_directory(out);
        rig.writeSettings(
            "GalderPort=1\r\nGalderEmail=2\r\nIvroFile=" + rig.programDir.file("old.adr") +
            "\r\nMaxDeviceRecords=1000\r\nLaunchDataPlug=0\r\nExportPath=" + out +
            "\r\nExportFile=book.csv\r\n");
        frmWelcome& w = rig.start();

        QCOMPARE(rig.find<QComboBox>("lstGalderCommPort")->currentText(), QString("COM3"));
        QCOMPARE(rig.find<QComboBox>("lstGalderEmail")->currentText(), QString("Alternate Email"));
        QCOMPARE(w.txtIvroFile(), rig.programDir.file("old.adr"));
        // A stored name stays although no such file exists.
        QCOMPARE(w.txtFileName(), std::string("book.csv"));
        QCOMPARE(w.chkAutoDataPlug(), 0);
        QCOMPARE(rig.text("lblMaxRecords").count("1000"), 2);
        // A folder deleted since the last run gives way to the program folder,
        // and the replacement is kept.
        const std::string dir = folderExists ? out : rig.programDir.path();
        QCOMPARE(w.txtDir(), dir);
        w.close();
        QCOMPARE(rig.saved("ExportPath"), dir);
    }

    void displayGalderSetting_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("galderShown");
        QTest::newRow("0 hides Galder") << "0" << false;
        QTest::newRow("1 shows Galder") << "1" << true;
        QTest::newRow("2 shows Galder") << "2" << true;
    }

    void displayGalderSetting() {
        QFETCH(QString, value);
        QFETCH(bool, galderShown);
        WizardRig& rig = *m_rig;
        rig.writeSettings("DisplayGalder=" + value.toStdString() + "\r\n");
        rig.start();
        QCOMPARE(rig.visible("OptGetFromGalder"), galderShown);
        QCOMPARE(rig.visible("cmdGalderHelp"), galderShown);
        QCOMPARE(rig.find<QAction>("mnuGalder")->isVisible(), galderShown);
        QCOMPARE(
            rig.text("lblWelcome"),
            QString(kWelcome).arg(galderShown ? "Galder device or Ivro device" : "Ivro device"));
        // The other rows keep their places; the Galder row stays empty.
        QVERIFY(rig.visible("OptGetFromIvro") && rig.visible("OptGetFromKestle"));
        QCOMPARE(rig.find<QWidget>("OptGetFromIvro")->y(), Twips(3120));
        QCOMPARE(rig.find<QWidget>("OptGetFromKestle")->y(), Twips(3480));
    }

    // ---- Layout ----------------------------------------------------------

    // Place in twips (a left below 0: not checked; a width or height of 0:
    // that measure not checked), caption, and type (0 points: not checked).
    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        const auto row = [](const char* name, const char* text, QRect twips, double points = 0,
                            bool bold = false) {
            QTest::newRow(name) << QString(name) << QString(text) << twips << points << bold;
        };
        row("lblMaxRecords", nullptr, {120, 120, 2775, 1215}, 7, true);
        row("ImgLogo", nullptr, {2880, 120, 3135, 1305});
        row("lblDeleteWarning",
            "Loading the file this software creates to the target device will replace any "
            "contacts currently in the device with the ones exported from the source.",
            {-1, 120, 2775, 1215}, 7, true);
        row("cmdNext", "&Next", {2678, 7200, 1215, 495});
        row("cmdBack", "&Back", {4118, 7200, 1215, 495});
        row("cmdCancel", "&Cancel", {5520, 7200, 1215, 495});
        row("cmdHelp", "H&elp", {6960, 7200, 1215, 495});
        row("FrameWelcome", "Welcome", {120, 1800, 9135, 4335});
        row("lblWelcome", nullptr, {240, 360, 8055, 1695});
        row("lblObtainFrom", "Obtain the Data From:", {3338, 2400, 2775, 375}, 13.5);
        row("OptGetFromGalder", "Galder", {3375, 2760, 1215, 375});
        row("OptGetFromIvro", "Ivro", {3360, 3120, 1215, 375});
        row("OptGetFromKestle", "Kestle", {3360, 3480, 1695, 375});
        row("cmdGalderHelp", "Help", {5205, 2835, 1095, 255});
        row("cmdIvroHelp", "Help", {5190, 3195, 1095, 255});
        row("cmdKestleHelp", "Help", {5190, 3525, 1095, 255});
        row("FrameFileLocation", "File Location", {120, 1800, 7815, 3015});
        row("lblFileLocationPrompt", "Tell me where you want the Norvik address file saved.",
            {1080, 480, 0, 0}, 12);
        row("lblFileDirectory", "File Directory", {240, 1080, 0, 0});
        row("txtDir", nullptr, {1440, 1080, 6255, 0});
        row("lblFileName", "File Name", {240, 1560, 0, 0});
        row("txtFileName", nullptr, {1440, 1560, 4215, 0});
        row("cmdBrowse", "&Browse", {6000, 1560, 1215, 375});
        row("frameGalderMappings", "Galder to Norvik Settings", {120, 1800, 9135, 4455});
        row("lblSerialPort", "Serial Port", {240, 360, 0, 0}, 8, true);
        row("lstGalderCommPort", nullptr, {120, 600, 1335, 0});
        row("lblSerialPortPrompt", "What Serial Port is the Galder connected to?",
            {1680, 600, 0, 0});
        row("frameGalderFieldMapping", "Galder to Norvik Field Mapping", {120, 1080, 8895, 3135});
        row("lblGalderExpl",
            "The fields in the Galder do not match the fields in the Norvik in number or "
            "definition.  Use the mapping guide below to define your conversion preferences.",
            {240, 480, 7935, 975});
        row("lblGalderFieldHeading", "Galder Field", {240, 1680, 0, 0}, 8, true);
        row("lblArrowHeading", "---->", {1200, 1680, 0, 0}, 8, true);
        row("lblNorvikFieldHeading", "Norvik Field", {1920, 1680, 0, 0}, 8, true);
        row("lblEmailField", "Email", {240, 1920, 0, 0}, 8, false);
        row("lblEmailArrow", "---->", {1200, 1920, 0, 0}, 8, false);
        row("lstGalderEmail", nullptr, {1920, 1920, 1455, 0});
        row("frameIvroMappings", "Ivro to Norvik Field Mapping", {120, 1800, 9135, 4455});
        row("lblIvroPrompt", "Tell me where your Ivro Import file is located.", {240, 480, 0, 0},
            12);
        row("lblIvroFileCaption", "Ivro Import File", {240, 1080, 0, 0});
        row("txtIvroFile", nullptr, {1440, 1080, 7335, 0});
        row("cmdIvroBrowse", "&Browse", {120, 1440, 1215, 375});
        row("frameExport", "Perform the Export", {120, 1800, 9135, 3615});
        row("lblExportPrompt",
            "I have all the information needed to create an address book file for the Norvik.  "
            "Click next to perform the export.  After the export is complete, you will need to run "
            "the Norvik Manager program to load the exported file into the Norvik.",
            {1080, 480, 6855, 1215}, 12);
        row("lblConfirmGalder",
            "Before Clicking Next, verify the Galder is in the programming cradle and powered on.",
            {1080, 1680, 6975, 615});
        row("chkAutoDataPlug", "Launch Norvik Manager Program After Export",
            {1920, 2400, 3975, 495});
        row("frameComplete", "Export Complete", {120, 1800, 9135, 3615});
        row("lblCompleteGood",
            "The export is complete.  You can now load the exported address records into the "
            "Norvik using the Norvik Manager program.",
            {1080, 480, 6855, 1215}, 12);
        row("lblCompleteBad",
            "The export did not complete successfully.  The export file is not complete or "
            "contains 0 records and therefore should not be loaded into the Norvik.  You will have "
            "to exit this program and try again.",
            {1080, 1080, 6855, 1215}, 12);
    }

    void layout() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, twips);
        QFETCH(double, points);
        QFETCH(bool, bold);
        m_rig->start();
        const QByteArray id = name.toLatin1();
        const QWidget* widget = m_rig->find<QWidget>(id.constData());
        if (!text.isNull())
            QCOMPARE(m_rig->text(id.constData()), text);
        if (twips.x() >= 0)
            QCOMPARE(widget->x(), Twips(twips.x()));
        QCOMPARE(widget->y(), Twips(twips.y()));
        if (twips.width() > 0)
            QCOMPARE(widget->width(), Twips(twips.width()));
        if (twips.height() > 0)
            QCOMPARE(widget->height(), Twips(twips.height()));
        if (points > 0) {
            QCOMPARE(widget->font().pointSizeF(), points);
            QCOMPARE(widget->font().bold(), bold);
        }
    }

    void windowSizeMenuAndTabOrder() {
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        QCOMPARE(w.frameGeometry().size(), TwipsSize(9570, 8500));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        // The warning ends 120 twips from the right edge.
        QCOMPARE(w.width() - rig.find<QWidget>("lblDeleteWarning")->geometry().right() - 1,
                 Twips(120));

        auto* menu = rig.find<QMenu>("mnuHelp");
        QCOMPARE(menu->title(), QString("&Help"));
        QStringList entries;
        for (QAction* action : menu->actions())
            entries << action->objectName() + " " + action->text();
        QCOMPARE(entries, (QStringList{"mnuGalder &Galder Usage", "mnuIvro &Ivro Usage",
                                       "mnuKestle &Kestle Usage", "mnuSLA &License Agreement",
                                       "mnuAbout &About"}));

        QWidget* widget = rig.find<QWidget>("cmdNext");
        for (const char* next : {"cmdBack", "cmdCancel", "cmdHelp"}) {
            widget = widget->nextInFocusChain();
            QCOMPARE(widget->objectName(), QString(next));
        }
    }

    // ---- Navigation ------------------------------------------------------

    void pagesAndButtonsOnEveryStage_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("settingsPage");
        QTest::newRow("Galder") << "OptGetFromGalder"
                                << "frameGalderMappings";
        QTest::newRow("Ivro") << "OptGetFromIvro"
                              << "frameIvroMappings";
    }

    void pagesAndButtonsOnEveryStage() {
        QFETCH(QString, source);
        QFETCH(QString, settingsPage);
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        const QByteArray option = source.toLatin1();
        const bool galder = source == "OptGetFromGalder";
        // The Galder page checks no file at all.
        if (galder)
            rig.setText("txtIvroFile", rig.programDir.file("missing.adr"));
        else
            rig.useIvroBackup(1);

        // Stage, page shown, Next enabled, Back enabled, Help shown.
        const auto stageIs = [&](int stage, const QString& page, bool nextBack, bool help) {
            return w.CurrentStage() == stage && rig.visiblePages() == QStringList{page} &&
                   rig.enabled("cmdNext") == nextBack && rig.enabled("cmdBack") == nextBack &&
                   rig.visible("cmdHelp") == help && rig.enabled("cmdCancel") &&
                   rig.text("cmdCancel") == "&Cancel";
        };
        QVERIFY(!rig.click("cmdNext"));
        QVERIFY(rig.click(option.constData()));
        QVERIFY(rig.click("cmdNext"));
        QVERIFY(stageIs(1, "FrameFileLocation", true, false));
        QVERIFY(rig.click("cmdNext"));
        QVERIFY(stageIs(2, settingsPage, true, true));
        QVERIFY(rig.click("cmdNext"));
        QVERIFY(stageIs(3, "frameExport", true, false));
        QCOMPARE(rig.visible("lblConfirmGalder"), galder);

        QVERIFY(rig.click("cmdBack"));
        QVERIFY(stageIs(2, settingsPage, true, true));
        QVERIFY(rig.click("cmdBack"));
        QVERIFY(stageIs(1, "FrameFileLocation", true, false));
        QVERIFY(rig.click("cmdBack"));
        QVERIFY(stageIs(0, "FrameWelcome", false, false));
        // The choice stays, but Next waits for another click on an option.
        QVERIFY(rig.find<QRadioButton>(option.constData())->isChecked());
        QVERIFY(rig.click(option.constData()));
        QVERIFY(rig.enabled("cmdNext"));
        QVERIFY(rig.messages.shown.empty());
    }

    void ivroFileNotFoundKeepsStageTwo() {
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        QVERIFY(rig.click("OptGetFromIvro") && rig.click("cmdNext") && rig.click("cmdNext"));
        std::filesystem::create_directory(rig.programDir.file("folder.adr"));
        for (const std::string& bad : {rig.programDir.file("missing.adr"),
                                       rig.programDir.file("folder.adr"), std::string()}) {
            rig.messages.shown.clear();
            rig.setText("txtIvroFile", bad);
            QVERIFY(rig.click("cmdNext"));
            QCOMPARE(rig.messages.shown.size(), std::size_t(1));
            const auto& box = rig.messages.shown[0];
            QCOMPARE(box.caption, std::string("File Not Found"));
            QCOMPARE(box.text, std::string("The Ivro Import file could not be located.  Please "
                                           "verify the file name and try again."));
            QVERIFY(box.icon == MsgIcon::Warning && box.buttons == MsgButtons::Ok);
            QCOMPARE(rig.visiblePages(), QStringList{"frameIvroMappings"});
            QCOMPARE(w.txtIvroFile(), bad);
        }
        rig.messages.shown.clear();
        rig.useIvroBackup(2);
        QVERIFY(rig.click("cmdNext"));
        QCOMPARE(int(w.CurrentStage()), 3);
        QVERIFY(rig.messages.shown.empty());
    }

    void stageOutsideTheSequenceLeavesOnlyCancel() {
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        QVERIFY(rig.click("OptGetFromIvro") && rig.click("cmdNext"));
        w.ChangeStage(7);
        QVERIFY(rig.visiblePages().isEmpty());
        QVERIFY(!rig.enabled("cmdNext") && !rig.enabled("cmdBack") && !rig.visible("cmdHelp"));
        QVERIFY(rig.click("cmdCancel"));
        QCOMPARE(rig.endProgramCalls, 1);
    }

    // ---- Export ----------------------------------------------------------

    // `records`: entries in the backup file, or lines the download writes;
    // `box`: the count box, or the caption of the one error box.
    void exportThroughAllPages_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<bool>("launch");
        QTest::addColumn<QString>("box");
        const QString ivro = "OptGetFromIvro";
        const QString galder = "OptGetFromGalder";
        QTest::newRow("Ivro, none") << ivro << 0 << "" << true << "";
        QTest::newRow("Ivro, one") << ivro << 1 << "" << true << "1 record exported.";
        QTest::newRow("Ivro, launch cleared") << ivro << 3 << "" << false << "3 records exported.";
        QTest::newRow("Ivro, limit") << ivro << 250 << "" << true << "250 records exported.";
        QTest::newRow("Ivro, folder gone") << ivro << 2 << "folder" << true << "File Access Error";
        QTest::newRow("Galder, two") << galder << 2 << "" << true << "2 records exported.";
        QTest::newRow("Galder, download failed") << galder << 2 << "download" << true << "";
    }

    void exportThroughAllPages() {
        QFETCH(QString, source);
        QFETCH(int, records);
        QFETCH(QString, failure);
        QFETCH(bool, launch);
        QFETCH(QString, box);
        WizardRig& rig = *m_rig;
        rig.activator.answers = {true}; // a running manager comes to the front
        rig.galder.contacts.assign(std::size_t(records), "contact");
        if (failure == "download")
            rig.galder.result = -1;
        frmWelcome& w = rig.start();
        rig.useIvroBackup(records);
        if (failure == "folder")
            rig.setText("txtDir", rig.programDir.file("no-such-folder"));
        w.setLstGalderCommPortIndex(1);
        w.setLstGalderEmailIndex(2);
        w.setChkAutoDataPlug(launch ? 1 : 0);
        QVERIFY(rig.walkToConfirmation(source.toLatin1().constData()));
        QVERIFY(rig.click("cmdNext"));

        const bool good = failure.isEmpty() && records > 0;
        QCOMPARE(int(w.CurrentStage()), good ? 5 : 6);
        QCOMPARE(rig.messages.shown.size(), std::size_t(box.isEmpty() ? 0 : 1));
        if (!box.isEmpty()) {
            const auto& shown = rig.messages.shown[0];
            QCOMPARE(QString::fromStdString(good ? shown.text : shown.caption), box);
            if (good)
                QVERIFY(shown.caption == "Records Exported" && shown.icon == MsgIcon::Information &&
                        shown.buttons == MsgButtons::Ok);
        }
        QCOMPARE(rig.visiblePages(), QStringList{"frameComplete"});
        QCOMPARE(rig.visible("lblCompleteGood"), good);
        QCOMPARE(rig.visible("lblCompleteBad"), !good);
        QCOMPARE(rig.text("cmdCancel"), QString("&Close"));
        QVERIFY(!rig.enabled("cmdNext") && !rig.enabled("cmdBack") && !rig.visible("cmdHelp"));
        // The manager comes up only when asked for and records were written.
        QCOMPARE(rig.activator.asked.size(), std::size_t(good && launch ? 1 : 0));
        // The download takes the port number from the list's item data.
        const bool fromGalder = source == "OptGetFromGalder";
        QCOMPARE(rig.galder.calls.size(), std::size_t(fromGalder ? 1 : 0));
        if (fromGalder)
            QCOMPARE(rig.galder.calls[0], (std::pair<int, int>(3, 2)));
        if (failure != "folder") {
            const auto lines = OutputLines(rig);
            QCOMPARE(int(lines.size()), records + 1);
            QCOMPARE(lines[0], std::string(kNorvikCsvHeader));
        }
    }

    // No manager runs and the stored path names nothing: the user is asked,
    // picks a file that is no program, is asked again, and picks the real
    // program, which starts in its folder without arguments and is kept at
    // exit. The wizard does not wait for it: it stays a while after reporting.
    void launchLocatesAndStartsTheManager() {
#ifdef Q_OS_WIN
        QSKIP("shell script");
#endif
        WizardRig& rig = *m_rig;
        QtShell shell;
        rig.shellService = &shell;
        rig.galder.contacts = {"one"};
        const std::string notAProgram = rig.programDir.write("readme.txt", "x");
        const std::string manager = rig.programDir.write(
            "NorvikMgr", "#!/bin/sh\nexec >/dev/null 2>&1\necho \"$# $(pwd)\" > started.tmp\n"
                         "mv started.tmp started\nsleep 2\n");
        std::filesystem::permissions(manager, std::filesystem::perms::owner_all);
        rig.dialog.answers = {notAProgram, manager};
        frmWelcome& w = rig.start();
        const std::string stored = rig.settings.NorvikEXEFilePath;
        w.setChkAutoDataPlug(1);
        QVERIFY(rig.walkToConfirmation("OptGetFromGalder"));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(rig.click("cmdNext"));
        QVERIFY(timer.elapsed() < 1500);

        QCOMPARE(int(w.CurrentStage()), 5);
        QCOMPARE(rig.messages.shown.size(), std::size_t(3)); // the count, two questions
        QCOMPARE(rig.messages.shown[2].caption, std::string("NorvikMgr.exe not found"));
        QCOMPARE(rig.dialog.shown.size(), std::size_t(2));
        QCOMPARE(rig.dialog.shown[1].title, std::string("Locate NorvikMgr.exe"));
        QCOMPARE(rig.activator.asked.size(), std::size_t(3));
        const QString started = QString::fromStdString(rig.programDir.file("started"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(started), 5000);
        QFile report(started);
        QVERIFY(report.open(QIODevice::ReadOnly));
        QCOMPARE(report.readAll().trimmed(),
                 "0 " + QFile::encodeName(QString::fromStdString(
                            std::filesystem::canonical(rig.programDir.path()).string())));
        QVERIFY(stored != manager);
        QVERIFY(rig.click("cmdCancel"));
        QCOMPARE(rig.saved("NorvikEXEFilePath"), manager);
    }

    // ---- Unload ----------------------------------------------------------

    void closingSavesTheSettings_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<bool>("closeBox");
        for (const int stage : {0, 1, 2, 3, 5}) {
            QTest::addRow("Cancel on stage %d", stage) << stage << false;
            QTest::addRow("close box on stage %d", stage) << stage << true;
        }
    }

    void closingSavesTheSettings() {
        QFETCH(int, stage);
        QFETCH(bool, closeBox);
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        rig.useIvroBackup(1);
        const std::string out = rig.programDir.file("chosen");
        std::filesystem::create_directory(out);
        rig.setText("txtDir", out);
        rig.setText("txtFileName", "mine.csv");
        w.setLstGalderCommPortIndex(1);
        w.setLstGalderEmailIndex(1);
        w.setChkAutoDataPlug(0);
        QVERIFY(rig.click("OptGetFromIvro"));
        for (int i = 0; i < std::min(stage, 4); ++i)
            QVERIFY(rig.click("cmdNext"));
        QCOMPARE(int(w.CurrentStage()), stage);
        QVERIFY(!std::filesystem::exists(rig.iniPath()));

        if (closeBox)
            QVERIFY(w.close());
        else
            QVERIFY(rig.click("cmdCancel"));

        QVERIFY(!w.isVisible());
        QCOMPARE(rig.endProgramCalls, 1);
        QCOMPARE(rig.saved("ExportPath"), out);
        QCOMPARE(rig.saved("ExportFile"), std::string("mine.csv"));
        QCOMPARE(rig.saved("IvroFile"), w.txtIvroFile());
        QCOMPARE(rig.saved("LaunchDataPlug"), std::string("0"));
        QCOMPARE(rig.saved("GalderPort"), std::string("1"));
        QCOMPARE(rig.saved("GalderEmail"), std::string("1"));
        QCOMPARE(rig.saved("NorvikEXEFilePath"), rig.settings.NorvikEXEFilePath);
    }

    // The window cannot go while the export still writes through it.
    void closingDuringTheExportIsRefused() {
        WizardRig& rig = *m_rig;
        rig.galder.contacts = {"one"};
        bool closed = true;
        rig.galder.during = [&] {
            QTest::mouseClick(rig.find<QAbstractButton>("cmdCancel"), Qt::LeftButton);
            closed = rig.window->close();
        };
        frmWelcome& w = rig.start();
        w.setChkAutoDataPlug(0);
        QVERIFY(rig.walkToConfirmation("OptGetFromGalder"));
        QVERIFY(rig.click("cmdNext"));
        QVERIFY(!closed && w.isVisible());
        QCOMPARE(rig.endProgramCalls, 0);
        QVERIFY(!std::filesystem::exists(rig.iniPath()));
        QCOMPARE(int(w.CurrentStage()), 5);
    }

    // ---- Choosers, help and the small windows -----------------------------

    void browseButtonsFillTheirBoxes() {
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        const std::string out = rig.programDir.file("out");
        std::filesystem::create_directory(out);
        rig.dialog.answers = {OutputPath(out, "list.csv"), rig.programDir.file("other.adr")};
        QVERIFY(rig.click("OptGetFromIvro") && rig.click("cmdNext") && rig.click("cmdBrowse"));
        QCOMPARE(w.txtDir(), WithTrailingSeparator(out));
        QCOMPARE(w.txtFileName(), std::string("list.csv"));
        QCOMPARE(w.CommonDialog1().title, std::string("Select File Name"));
        QVERIFY(rig.click("cmdNext") && rig.click("cmdIvroBrowse"));
        QCOMPARE(w.txtIvroFile(), rig.programDir.file("other.adr"));
        QCOMPARE(w.CommonDialog2().title, std::string("Select Ivro File"));
        QCOMPARE(rig.dialog.shown.size(), std::size_t(2));
    }

    void helpButtonsAndMenu() {
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        // Each source's document beside the program, from its button and its
        // menu entry.
        for (const char* control : {"cmdGalderHelp", "mnuGalder", "cmdIvroHelp", "mnuIvro",
                                    "cmdKestleHelp", "mnuKestle"}) {
            if (auto* entry = w.findChild<QAction*>(control))
                entry->trigger();
            else
                QVERIFY(rig.click(control));
        }
        const std::string galder = rig.programDir.file("GalderExporter.rtf");
        const std::string ivro = rig.programDir.file("IvroExporter.rtf");
        const std::string kestle = rig.programDir.file("KestletoNorvik.rtf");
        QCOMPARE(rig.shell.opened,
                 (std::vector<std::string>{galder, galder, ivro, ivro, kestle, kestle}));

        // The general Help button follows the source taken at the last Next.
        rig.shell.opened.clear();
        QVERIFY(rig.click("OptGetFromGalder") && rig.click("cmdNext") && rig.click("cmdNext"));
        QVERIFY(rig.click("cmdHelp"));
        QVERIFY(rig.click("cmdBack") && rig.click("cmdBack"));
        QVERIFY(rig.click("OptGetFromIvro") && rig.click("cmdNext") && rig.click("cmdNext"));
        QCOMPARE(rig.visiblePages(), QStringList{"frameIvroMappings"});
        QVERIFY(rig.click("cmdHelp"));
        QCOMPARE(rig.shell.opened, (std::vector<std::string>{galder, ivro}));

        rig.find<QAction>("mnuAbout")->trigger();
        auto* about = w.findChild<QDialog*>("frmAbout");
        QVERIFY(about && about->isVisible() && !about->isModal());

        // The agreement is modal and owned by the wizard: close it once shown.
        QString shown;
        QTimer::singleShot(0, &w, [&shown, &w] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                shown = modal->objectName() + (modal->parentWidget() == &w ? " of the wizard" : "");
                modal->close();
            }
        });
        rig.find<QAction>("mnuSLA")->trigger();
        QCOMPARE(shown, QString("frmSLA of the wizard"));
    }
};

QTEST_MAIN(frmWelcomeTest)
#include "frmWelcomeTest.moc"
