#include "app/gui/frmWelcome.h"
#include "WizardRig.h"
#include "app/gui/Twips.h"
#include "app/logic/FileChoosers.h"
#include "app/logic/ManagerLaunch.h"
#include "export/ContactLine.h"
#include "ivro/IvroBackupLocation.h"
#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "platform/StdFileSystem.h"
#include "settings/Settings.h"
#include "support/ShellFakes.h"
#include "support/TestSupport.h"
#include "support/WizardFakes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace addrix;
using addrix::test::kPages;
using addrix::test::WizardRig;

class frmWelcomeTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WizardRig> m_rig;

private slots:
    void init() { m_rig = std::make_unique<WizardRig>(); }

    void cleanup() {
        m_rig.reset();
        // The window and everything it opened are gone with the rig.
        QVERIFY2(QApplication::topLevelWidgets().isEmpty(), "a window outlived its test");
    }

    // ---- Start-up --------------------------------------------------------

    void startsWithoutSettingsFile() {
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();

        QCOMPARE(w.windowTitle(), QString("Halvern - Norvik Addrix"));
        QCOMPARE(rig.text("lblWelcome"),
                 QString("Welcome to the Halvern Norvik Addrix.\n"
                         "This program will create an address book file compatible with a Norvik "
                         "device from your existing Galder device or Ivro device.\n"
                         "After the file is created, the Norvik Manager program will have to be "
                         "used to restore the file to your Norvik.\n"
                         "The following simple steps will guide you through the process and you "
                         "will be on your way to a seamless transition to using your Norvik "
                         "device."));
        QVERIFY(rig.visible("OptGetFromGalder") && rig.visible("OptGetFromIvro") &&
                rig.visible("OptGetFromKestle"));
        QVERIFY(!rig.enabled("OptGetFromKestle"));
        for (const char* option : {"OptGetFromGalder", "OptGetFromIvro", "OptGetFromKestle"})
            QVERIFY2(!rig.find<QRadioButton>(option)->isChecked(), option);

        QCOMPARE(w.txtDir(), rig.programDir.path());
        QCOMPARE(w.txtFileName(), std::string("NorvikaddressBook.csv"));
        QCOMPARE(w.txtIvroFile(), GetIvroBackupFile(rig.registry));
        QVERIFY(QString::fromStdString(w.txtIvroFile())
                    .startsWith(QString::fromStdString(rig.programDir.file("Documents"))));

        auto* email = rig.find<QComboBox>("lstGalderEmail");
        QCOMPARE(email->count(), 3);
        QCOMPARE(email->itemText(0), QString("Work Email"));
        QCOMPARE(email->itemText(1), QString("Home Email"));
        QCOMPARE(email->itemText(2), QString("Alternate Email"));
        QCOMPARE(email->currentIndex(), 0);
        QCOMPARE(w.chkAutoDataPlug(), 1);
        QVERIFY(rig.text("lblMaxRecords").startsWith("The Norvik can only hold 250 address"));
        QCOMPARE(rig.text("lblDeleteWarning"),
                 QString("Loading the file this software creates to the target device will "
                         "replace any contacts currently in the device with the ones exported "
                         "from the source."));
        QCOMPARE(rig.text("lblGalderExpl"),
                 QString("The fields in the Galder do not match the fields in the Norvik in "
                         "number or definition.  Use the mapping guide below to define your "
                         "conversion preferences."));
        QCOMPARE(rig.settings.KestleEXEFilePath, std::string(kNorvikMgrDefaultPath));

        // Stage 0: the welcome page, Next waiting for a source.
        QCOMPARE(w.CurrentStage(), std::int16_t(0));
        QCOMPARE(rig.visiblePages(), QStringList{"FrameWelcome"});
        QVERIFY(!rig.enabled("cmdNext") && !rig.enabled("cmdBack") && !rig.visible("cmdHelp"));
        QVERIFY(rig.enabled("cmdCancel"));
    }

    void startsWithSettingsFile() {
        WizardRig& rig = *m_rig;
        const std::string out = rig.programDir.file("exports");
        std::filesystem::create_directory(out);
        rig.writeSettings(
            "GalderPort=1\r\nGalderEmail=2\r\nIvroFile=" + rig.programDir.file("old.adr") +
            "\r\nMaxDeviceRecords=1000\r\nLaunchDataPlug=0\r\nExportPath=" + out +
            "\r\nExportFile=book.csv\r\n");
        frmWelcome& w = rig.start();

        QCOMPARE(w.lstGalderCommPortIndex(), 1);
        QCOMPARE(rig.find<QComboBox>("lstGalderCommPort")->currentText(), QString("COM3"));
        QCOMPARE(rig.find<QComboBox>("lstGalderEmail")->currentText(), QString("Alternate Email"));
        QCOMPARE(w.txtIvroFile(), rig.programDir.file("old.adr"));
        QCOMPARE(w.txtDir(), out);
        // A stored name stays although no such file exists.
        QCOMPARE(w.txtFileName(), std::string("book.csv"));
        QCOMPARE(w.chkAutoDataPlug(), 0);
        QCOMPARE(rig.text("lblMaxRecords").count("1000"), 2);
    }

    void deletedOutputFolderBecomesProgramFolder() {
        WizardRig& rig = *m_rig;
        rig.writeSettings("ExportPath=" + rig.programDir.file("gone") + "\r\n");
        frmWelcome& w = rig.start();
        QCOMPARE(w.txtDir(), rig.programDir.path());

        w.close();
        QCOMPARE(rig.saved("ExportPath"), rig.programDir.path());
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
        QCOMPARE(rig.action("mnuGalder")->isVisible(), galderShown);
        QCOMPARE(rig.text("lblWelcome").contains("existing Galder device or Ivro device"),
                 galderShown);
        QCOMPARE(rig.text("lblWelcome").contains("from your existing Ivro device."), !galderShown);
        // The other rows keep their places; the Galder row stays empty.
        QCOMPARE(rig.find<QWidget>("OptGetFromIvro")->y(), Twips(3120));
        QCOMPARE(rig.find<QWidget>("OptGetFromKestle")->y(), Twips(3480));
        QCOMPARE(rig.find<QWidget>("cmdKestleHelp")->y(), Twips(3525));
        QVERIFY(rig.visible("OptGetFromIvro") && rig.visible("OptGetFromKestle"));
    }

    void fillsPortListWithExistingPorts() {
        WizardRig& rig = *m_rig;
        rig.ports.ports = {{2, SerialOpenResult::Status::Opened},
                           {7, SerialOpenResult::Status::Failed},
                           {17, SerialOpenResult::Status::Opened}};
        frmWelcome& w = rig.start();
        auto* list = rig.find<QComboBox>("lstGalderCommPort");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->itemText(0), QString("COM2"));
        QCOMPARE(list->itemText(1), QString("COM7"));
        QCOMPARE(w.lstGalderCommPortItemData(0), 2);
        QCOMPARE(w.lstGalderCommPortItemData(1), 7);
        QCOMPARE(w.lstGalderCommPortIndex(), 0);
        QVERIFY(!rig.ports.isOpen());

        // A refill on a machine without ports leaves the list empty.
        rig.ports.ports.clear();
        w.FillPortList(*list);
        QCOMPARE(list->count(), 0);
        QCOMPARE(w.lstGalderCommPortIndex(), -1);
    }

    // ---- Layout ----------------------------------------------------------

    void layoutFollowsTheDesign_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        const auto row = [](const char* name, int l, int t, int w, int h) {
            QTest::newRow(name) << QString(name) << QRect(l, t, w, h);
        };
        row("lblMaxRecords", 120, 120, 2775, 1215);
        row("ImgLogo", 2880, 120, 3135, 1305);
        row("cmdNext", 2678, 7200, 1215, 495);
        row("cmdBack", 4118, 7200, 1215, 495);
        row("cmdCancel", 5520, 7200, 1215, 495);
        row("cmdHelp", 6960, 7200, 1215, 495);
        row("FrameWelcome", 120, 1800, 9135, 4335);
        row("lblWelcome", 240, 360, 8055, 1695);
        row("lblObtainFrom", 3338, 2400, 2775, 375);
        row("OptGetFromGalder", 3375, 2760, 1215, 375);
        row("OptGetFromIvro", 3360, 3120, 1215, 375);
        row("OptGetFromKestle", 3360, 3480, 1695, 375);
        row("cmdGalderHelp", 5205, 2835, 1095, 255);
        row("cmdIvroHelp", 5190, 3195, 1095, 255);
        row("cmdKestleHelp", 5190, 3525, 1095, 255);
        row("FrameFileLocation", 0, 0, 7815, 3015);
        row("cmdBrowse", 6000, 1560, 1215, 375);
        row("frameGalderMappings", 0, 0, 9135, 4455);
        row("frameGalderFieldMapping", 120, 1080, 8895, 3135);
        row("lblGalderExpl", 240, 480, 7935, 975);
        row("frameIvroMappings", 0, 0, 9135, 4455);
        row("cmdIvroBrowse", 120, 1440, 1215, 375);
        row("frameExport", 0, 0, 9135, 3615);
        row("lblConfirmGalder", 1080, 1680, 6975, 615);
        row("chkAutoDataPlug", 1920, 2400, 3975, 495);
        row("frameComplete", 0, 0, 9135, 3615);
        row("lblCompleteGood", 1080, 480, 6855, 1215);
        row("lblCompleteBad", 1080, 1080, 6855, 1215);
    }

    // Pages are placed when shown; a page row of 0, 0 checks only the size.
    void layoutFollowsTheDesign() {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        m_rig->start();
        auto* widget = m_rig->find<QWidget>(name.toLatin1().constData());
        const QRect expected = TwipsRect(twips.x(), twips.y(), twips.width(), twips.height());
        if (twips.topLeft().isNull())
            QCOMPARE(widget->size(), expected.size());
        else
            QCOMPARE(widget->geometry(), expected);
    }

    void windowKeepsItsOuterSizeAndHeaderMargins() {
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        QCOMPARE(w.frameGeometry().size(), TwipsSize(9570, 8500));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        auto* warning = rig.find<QWidget>("lblDeleteWarning");
        QCOMPARE(warning->width(), Twips(2775));
        QCOMPARE(warning->y(), Twips(120));
        QCOMPARE(w.width() - warning->geometry().right() - 1, Twips(120));
        // Every page panel sits below the header and clear of the buttons.
        for (const QString& page : kPages) {
            const QRect r = w.findChild<QWidget*>(page)->geometry();
            QVERIFY2(r.bottom() < Twips(7200), qPrintable(page));
        }
        QVERIFY(rig.find<QWidget>("cmdNext")->mapTo(&w, QPoint(0, Twips(495))).y() <= w.height());
    }

    void texts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const char* const rows[][2] = {
            {"cmdNext", "&Next"},
            {"cmdBack", "&Back"},
            {"cmdCancel", "&Cancel"},
            {"cmdHelp", "H&elp"},
            {"cmdBrowse", "&Browse"},
            {"cmdIvroBrowse", "&Browse"},
            {"cmdKestleHelp", "Help"},
            {"OptGetFromGalder", "Galder"},
            {"OptGetFromIvro", "Ivro"},
            {"OptGetFromKestle", "Kestle"},
            {"chkAutoDataPlug", "Launch Norvik Manager Program After Export"},
            {"lblConfirmGalder", "Before Clicking Next, verify the Galder is in the programming "
                                 "cradle and powered on."},
        };
        for (const auto& row : rows)
            QTest::newRow(row[0]) << QString(row[0]) << QString(row[1]);
    }

    void texts() {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        m_rig->start();
        QCOMPARE(m_rig->text(name.toLatin1().constData()), expected);
    }

    void menuAndTabOrder() {
        m_rig->start();
        auto* menu = m_rig->find<QMenu>("mnuHelp");
        QCOMPARE(menu->title(), QString("&Help"));
        QStringList names;
        QStringList captions;
        for (QAction* action : menu->actions()) {
            names << action->objectName();
            captions << action->text();
        }
        QCOMPARE(names, (QStringList{"mnuGalder", "mnuIvro", "mnuKestle", "mnuSLA", "mnuAbout"}));
        QCOMPARE(captions, (QStringList{"&Galder Usage", "&Ivro Usage", "&Kestle Usage",
                                        "&License Agreement", "&About"}));

        QWidget* widget = m_rig->find<QWidget>("cmdNext");
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
        rig.useIvroBackup(1);
        const QByteArray option = source.toLatin1();
        const bool galder = source == "OptGetFromGalder";

        struct Expect {
            int stage;
            QString page;
            bool next, back, help;
        };
        const auto check = [&](const Expect& e) {
            QCOMPARE(int(w.CurrentStage()), e.stage);
            QCOMPARE(rig.visiblePages(), QStringList{e.page});
            QCOMPARE(rig.enabled("cmdNext"), e.next);
            QCOMPARE(rig.enabled("cmdBack"), e.back);
            QCOMPARE(rig.visible("cmdHelp"), e.help);
            QVERIFY(rig.enabled("cmdCancel"));
            QCOMPARE(rig.text("cmdCancel"), QString("&Cancel"));
        };

        // A failed check inside the lambda ends only the lambda.
#define CHECK_STAGE(...)                                                                           \
    do {                                                                                           \
        check(__VA_ARGS__);                                                                        \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

        QVERIFY(!rig.click("cmdNext"));
        QVERIFY(rig.click(option.constData()));
        QVERIFY(rig.enabled("cmdNext"));
        QVERIFY(rig.click("cmdNext"));
        CHECK_STAGE({1, "FrameFileLocation", true, true, false});
        QVERIFY(rig.click("cmdNext"));
        CHECK_STAGE({2, settingsPage, true, true, true});
        QVERIFY(rig.click("cmdNext"));
        CHECK_STAGE({3, "frameExport", true, true, false});
        QCOMPARE(rig.visible("lblConfirmGalder"), galder);

        QVERIFY(rig.click("cmdBack"));
        CHECK_STAGE({2, settingsPage, true, true, true});
        QVERIFY(rig.click("cmdBack"));
        CHECK_STAGE({1, "FrameFileLocation", true, true, false});
        QVERIFY(rig.click("cmdBack"));
        CHECK_STAGE({0, "FrameWelcome", false, false, false});
        // The choice stays, but Next waits for another click on an option.
        QVERIFY(rig.find<QRadioButton>(option.constData())->isChecked());
        QVERIFY(rig.click(option.constData()));
        QVERIFY(rig.enabled("cmdNext"));
        QVERIFY(rig.messages.shown.empty());
#undef CHECK_STAGE
    }

    void theSourceIsTakenEachTimeNextIsPressed() {
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        QVERIFY(rig.click("OptGetFromGalder") && rig.click("cmdNext") && rig.click("cmdNext"));
        QCOMPARE(rig.visiblePages(), QStringList{"frameGalderMappings"});
        QVERIFY(rig.click("cmdBack") && rig.click("cmdBack"));
        QVERIFY(rig.click("OptGetFromIvro") && rig.click("cmdNext") && rig.click("cmdNext"));
        QCOMPARE(rig.visiblePages(), QStringList{"frameIvroMappings"});
        QCOMPARE(w.SourceDevice(), std::int16_t(frmWelcome::kSourceIvro));
    }

    void kestleCannotBeChosen() {
        WizardRig& rig = *m_rig;
        rig.start();
        QVERIFY(!rig.click("OptGetFromKestle"));
        QTest::mouseClick(rig.find<QRadioButton>("OptGetFromKestle"), Qt::LeftButton);
        QVERIFY(!rig.find<QRadioButton>("OptGetFromKestle")->isChecked());
        QVERIFY(!rig.enabled("cmdNext"));
    }

    void ivroFileNotFoundKeepsStageTwo() {
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        QVERIFY(rig.click("OptGetFromIvro") && rig.click("cmdNext") && rig.click("cmdNext"));

        const std::string missing = rig.programDir.file("missing.adr");
        std::filesystem::create_directory(rig.programDir.file("folder.adr"));
        for (const std::string& bad : {missing, rig.programDir.file("folder.adr"), std::string()}) {
            rig.messages.shown.clear();
            rig.setText("txtIvroFile", bad);
            QVERIFY(rig.click("cmdNext"));
            QCOMPARE(rig.messages.shown.size(), std::size_t(1));
            const auto& box = rig.messages.shown[0];
            QCOMPARE(box.caption, std::string("File Not Found"));
            QCOMPARE(box.text, std::string("The Ivro Import file could not be located.  Please "
                                           "verify the file name and try again."));
            QVERIFY(box.icon == MsgIcon::Warning);
            QVERIFY(box.buttons == MsgButtons::Ok);
            QCOMPARE(int(w.CurrentStage()), 2);
            QCOMPARE(rig.visiblePages(), QStringList{"frameIvroMappings"});
            QCOMPARE(w.txtIvroFile(), bad);
        }

        rig.messages.shown.clear();
        rig.useIvroBackup(2);
        QVERIFY(rig.click("cmdNext"));
        QCOMPARE(int(w.CurrentStage()), 3);
        QVERIFY(!rig.visible("lblConfirmGalder"));
        QVERIFY(rig.messages.shown.empty());
    }

    void galderPageChecksNothing() {
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        rig.setText("txtIvroFile", rig.programDir.file("missing.adr"));
        QVERIFY(rig.walkToConfirmation("OptGetFromGalder"));
        QVERIFY(rig.visible("lblConfirmGalder"));
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
        QVERIFY(!w.isVisible());
    }

    // ---- Export ----------------------------------------------------------

    void ivroExportThroughAllPages_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("box");
        QTest::newRow("none") << 0 << "";
        QTest::newRow("one") << 1 << "1 record exported.";
        QTest::newRow("three") << 3 << "3 records exported.";
        QTest::newRow("limit") << 250 << "250 records exported.";
    }

    void ivroExportThroughAllPages() {
        QFETCH(int, entries);
        QFETCH(QString, box);
        WizardRig& rig = *m_rig;
        rig.writeSettings("LaunchDataPlug=0\r\n");
        frmWelcome& w = rig.start();
        rig.useIvroBackup(entries);
        QVERIFY(rig.walkToConfirmation("OptGetFromIvro"));
        QVERIFY(rig.click("cmdNext"));

        const bool good = entries > 0;
        QCOMPARE(int(w.CurrentStage()), good ? 5 : 6);
        if (good) {
            QCOMPARE(rig.messages.shown.size(), std::size_t(1));
            QCOMPARE(rig.messages.shown[0].caption, std::string("Records Exported"));
            QCOMPARE(QString::fromStdString(rig.messages.shown[0].text), box);
            QVERIFY(rig.messages.shown[0].icon == MsgIcon::Information);
        } else {
            QVERIFY(rig.messages.shown.empty());
        }
        QCOMPARE(rig.visiblePages(), QStringList{"frameComplete"});
        QCOMPARE(rig.visible("lblCompleteGood"), good);
        QCOMPARE(rig.visible("lblCompleteBad"), !good);
        QCOMPARE(rig.text("cmdCancel"), QString("&Close"));
        QVERIFY(!rig.enabled("cmdNext") && !rig.enabled("cmdBack") && !rig.visible("cmdHelp"));
        QVERIFY(rig.galder.calls.empty());
        QVERIFY(rig.activator.asked.empty());

        const auto lines = test::SplitCrLf(
            test::ReadFile(OutputPath(rig.programDir.path(), "NorvikaddressBook.csv")));
        QCOMPARE(int(lines.size()), entries + 1);
        QCOMPARE(lines[0], std::string(kNorvikCsvHeader));
        if (good)
            QVERIFY(QString::fromStdString(lines[1]).contains("First1"));
    }

    void galderExportTakesPortAndEmailColumn() {
        WizardRig& rig = *m_rig;
        rig.galder.contacts = {"one", "two"};
        frmWelcome& w = rig.start();
        w.setLstGalderCommPortIndex(1);
        w.setLstGalderEmailIndex(2);
        w.setChkAutoDataPlug(0);
        QVERIFY(rig.walkToConfirmation("OptGetFromGalder"));
        QVERIFY(rig.click("cmdNext"));

        QCOMPARE(rig.galder.calls.size(), std::size_t(1));
        QCOMPARE(int(rig.galder.calls[0].portNumber), 3);
        QCOMPARE(int(rig.galder.calls[0].emailOption), 2);
        QCOMPARE(rig.messages.shown.size(), std::size_t(1));
        QCOMPARE(rig.messages.shown[0].text, std::string("2 records exported."));
        QCOMPARE(int(w.CurrentStage()), 5);
        const auto lines = test::SplitCrLf(
            test::ReadFile(OutputPath(rig.programDir.path(), "NorvikaddressBook.csv")));
        QCOMPARE(lines.size(), std::size_t(3));
    }

    void failedDownloadShowsTheBadPage() {
        WizardRig& rig = *m_rig;
        rig.galder.result = -1;
        frmWelcome& w = rig.start();
        QVERIFY(rig.walkToConfirmation("OptGetFromGalder"));
        QVERIFY(rig.click("cmdNext"));
        QCOMPARE(int(w.CurrentStage()), 6);
        QVERIFY(rig.messages.shown.empty());
        QVERIFY(rig.activator.asked.empty());
        QVERIFY(rig.visible("lblCompleteBad"));
    }

    void outputFolderThatIsGoneFailsTheExport() {
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        rig.useIvroBackup(2);
        QVERIFY(rig.click("OptGetFromIvro") && rig.click("cmdNext"));
        rig.setText("txtDir", rig.programDir.file("no-such-folder"));
        QVERIFY(rig.click("cmdNext") && rig.click("cmdNext") && rig.click("cmdNext"));

        QCOMPARE(int(w.CurrentStage()), 6);
        QCOMPARE(rig.messages.shown.size(), std::size_t(1));
        QCOMPARE(rig.messages.shown[0].caption, std::string("File Access Error"));
        QVERIFY(rig.activator.asked.empty());
    }

    void launchOnlyWhenCheckedAndRecordsWritten_data() {
        QTest::addColumn<bool>("checked");
        QTest::addColumn<int>("entries");
        QTest::addColumn<bool>("launched");
        QTest::newRow("checked, records") << true << 2 << true;
        QTest::newRow("checked, one record") << true << 1 << true;
        QTest::newRow("cleared, records") << false << 2 << false;
        QTest::newRow("checked, no records") << true << 0 << false;
    }

    void launchOnlyWhenCheckedAndRecordsWritten() {
        QFETCH(bool, checked);
        QFETCH(int, entries);
        QFETCH(bool, launched);
        WizardRig& rig = *m_rig;
        rig.activator.running = {kNorvikMgrWindowTitle}; // a running manager comes to the front
        frmWelcome& w = rig.start();
        rig.useIvroBackup(entries);
        rig.find<QCheckBox>("chkAutoDataPlug")->setChecked(checked);
        QVERIFY(rig.walkToConfirmation("OptGetFromIvro"));
        QVERIFY(rig.click("cmdNext"));

        if (launched)
            QCOMPARE(rig.activator.asked, std::vector<std::string>{kNorvikMgrWindowTitle});
        else
            QVERIFY(rig.activator.asked.empty());
        QVERIFY(rig.shell.started.empty());
        QCOMPARE(int(w.CurrentStage()), entries > 0 ? 5 : 6);
    }

    void launchStartsTheManagerWhenNoneRuns() {
        WizardRig& rig = *m_rig;
        rig.galder.contacts = {"one"};
        frmWelcome& w = rig.start();
        rig.shell.startable = {rig.settings.NorvikEXEFilePath};
        w.setChkAutoDataPlug(1);
        QVERIFY(rig.walkToConfirmation("OptGetFromGalder"));
        QVERIFY(rig.click("cmdNext"));
        QCOMPARE(rig.activator.asked.size(), std::size_t(1));
        QCOMPARE(rig.shell.started, std::vector<std::string>{rig.settings.NorvikEXEFilePath});
        QCOMPARE(rig.messages.shown.size(), std::size_t(1));
        QCOMPARE(int(w.CurrentStage()), 5);
    }

    // The locate step borrows the output-file dialog, and the path found is
    // kept for the settings file.
    void launchLocatesAMissingManager() {
        WizardRig& rig = *m_rig;
        rig.galder.contacts = {"one"};
        frmWelcome& w = rig.start();
        const std::string located = rig.programDir.write("NorvikMgr.exe", "x");
        rig.shell.startable = {located};
        rig.dialog.answers = {located};
        w.setChkAutoDataPlug(1);
        QVERIFY(rig.walkToConfirmation("OptGetFromGalder"));
        QVERIFY(rig.click("cmdNext"));

        QCOMPARE(rig.messages.shown.size(), std::size_t(2));
        QCOMPARE(rig.messages.shown[1].caption, std::string("NorvikMgr.exe not found"));
        QCOMPARE(rig.dialog.shown.size(), std::size_t(1));
        QCOMPARE(w.CommonDialog1().title, std::string("Locate NorvikMgr.exe"));
        QCOMPARE(rig.shell.started, std::vector<std::string>{located});
        QCOMPARE(int(w.CurrentStage()), 5);
        QVERIFY(rig.click("cmdCancel"));
        QCOMPARE(rig.saved("NorvikEXEFilePath"), located);
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
            QTest::mouseClick(rig.find<QPushButton>("cmdCancel"), Qt::LeftButton);
            closed = rig.window->close();
        };
        frmWelcome& w = rig.start();
        w.setChkAutoDataPlug(0);
        QVERIFY(rig.walkToConfirmation("OptGetFromGalder"));
        QVERIFY(rig.click("cmdNext"));

        QVERIFY(!closed);
        QVERIFY(w.isVisible());
        QCOMPARE(rig.endProgramCalls, 0);
        QVERIFY(!std::filesystem::exists(rig.iniPath()));
        QCOMPARE(int(w.CurrentStage()), 5);
        QVERIFY(rig.click("cmdCancel"));
        QCOMPARE(rig.endProgramCalls, 1);
    }

    // ---- Choosers, help and the small windows -----------------------------

    void browseFillsTheBoxesOrChangesNothing() {
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        const std::string out = rig.programDir.file("out");
        std::filesystem::create_directory(out);
        QVERIFY(rig.click("OptGetFromIvro") && rig.click("cmdNext"));

        rig.dialog.answers = {std::nullopt, OutputPath(out, "list.csv")};
        QVERIFY(rig.click("cmdBrowse")); // cancelled
        QCOMPARE(w.txtDir(), rig.programDir.path());
        QCOMPARE(w.txtFileName(), std::string("NorvikaddressBook.csv"));
        QVERIFY(rig.click("cmdBrowse"));
        QCOMPARE(w.txtDir(), WithTrailingSeparator(out));
        QCOMPARE(w.txtFileName(), std::string("list.csv"));
        QCOMPARE(rig.dialog.shown.size(), std::size_t(2));
        QCOMPARE(rig.dialog.shown[1].title, std::string("Select File Name"));
        QVERIFY(rig.dialog.shown[1].kind == FileDialogRequest::Kind::Save);

        QVERIFY(rig.click("cmdNext"));
        const std::string before = w.txtIvroFile();
        rig.dialog.answers = {std::nullopt, rig.programDir.file("other.adr")};
        QVERIFY(rig.click("cmdIvroBrowse"));
        QCOMPARE(w.txtIvroFile(), before);
        QVERIFY(rig.click("cmdIvroBrowse"));
        QCOMPARE(w.txtIvroFile(), rig.programDir.file("other.adr"));
        QCOMPARE(rig.dialog.shown.back().title, std::string("Select Ivro File"));
        QVERIFY(rig.dialog.shown.back().kind == FileDialogRequest::Kind::Open);
        QVERIFY(rig.messages.shown.empty());
    }

    void helpOpensTheSourcesDocument() {
        WizardRig& rig = *m_rig;
        rig.start();
        const auto doc = [&](HelpDocument d) {
            return HelpDocumentPath(d, rig.program);
        };

        QVERIFY(rig.click("cmdGalderHelp"));
        rig.action("mnuGalder")->trigger();
        QVERIFY(rig.click("cmdIvroHelp"));
        rig.action("mnuIvro")->trigger();
        QVERIFY(rig.click("cmdKestleHelp"));
        rig.action("mnuKestle")->trigger();
        const std::vector<std::string> expected = {
            doc(HelpDocument::Galder), doc(HelpDocument::Galder), doc(HelpDocument::Ivro),
            doc(HelpDocument::Ivro),   doc(HelpDocument::Kestle), doc(HelpDocument::Kestle)};
        QCOMPARE(rig.shell.opened, expected);

        // The general Help button follows the chosen source.
        rig.shell.opened.clear();
        QVERIFY(rig.click("OptGetFromGalder") && rig.click("cmdNext") && rig.click("cmdNext"));
        QVERIFY(rig.click("cmdHelp"));
        QVERIFY(rig.click("cmdBack") && rig.click("cmdBack"));
        QVERIFY(rig.click("OptGetFromIvro") && rig.click("cmdNext") && rig.click("cmdNext"));
        QVERIFY(rig.click("cmdHelp"));
        QCOMPARE(rig.shell.opened,
                 (std::vector<std::string>{doc(HelpDocument::Galder), doc(HelpDocument::Ivro)}));
        QVERIFY(rig.messages.shown.empty());
    }

    void menuOpensTheAboutAndAgreementWindows() {
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        rig.action("mnuAbout")->trigger();
        auto* about = w.findChild<QDialog*>("frmAbout");
        QVERIFY(about && about->isVisible() && !about->isModal());

        // The agreement is modal: close it as soon as it shows.
        QString shown;
        QTimer::singleShot(0, &w, [&shown] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                shown = modal->windowTitle();
                modal->close();
            }
        });
        rig.action("mnuSLA")->trigger();
        QCOMPARE(shown, QString("Software License Agreement"));
    }
};

QTEST_MAIN(frmWelcomeTest)
#include "frmWelcomeTest.moc"
