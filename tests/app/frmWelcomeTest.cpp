// The wizard window, driven through its controls on the offscreen platform.
#include "WizardRig.h"
#include "app/gui/Twips.h"
#include "export/ExportDriver.h"
#include "platform/PathUtil.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTableView>
#include <QTimer>

#include <functional>

using namespace addrix;
using addrix::test::WizardRig;

namespace {

// The stage, the page in view, the buttons and notices in reach, and Cancel.
QString State(const WizardRig& rig) {
    QStringList state{QString::number(rig.window->CurrentStage())};
    for (QWidget* page : rig.window->centralWidget()->findChildren<QGroupBox*>(
             QString(), Qt::FindDirectChildrenOnly))
        if (page->isVisible())
            state << page->objectName();
    for (const char* name :
         {"cmdNext", "cmdBack", "cmdHelp", "lblConfirmGalder", "lblCompleteGood", "lblCompleteBad"})
        if (rig.visible(name) && rig.enabled(name))
            state << name;
    return state.join(' ') + (rig.enabled("cmdCancel") ? " " + rig.text("cmdCancel") : "");
}

// The message boxes shown so far, as caption and text; forgets them.
QStringList Boxes(WizardRig& rig) {
    QStringList boxes;
    for (const auto& box : rig.messages.shown)
        boxes << QString::fromStdString(box.caption + ": " + box.text);
    rig.messages.shown.clear();
    return boxes;
}

// The choices the settings file keeps, as the window's controls show them.
QStringList ChoiceTexts(const WizardRig& rig) {
    QStringList choices{rig.text("txtDir"), rig.text("txtFileName"), rig.text("txtIvroFile")};
    for (const char* list : {"lstGalderCommPort", "lstGalderEmail"})
        choices << rig.find<QComboBox>(list)->currentText();
    return choices << QString::number(rig.find<QAbstractButton>("chkAutoDataPlug")->isChecked());
}

// Clicks `button` of the wizard, hands the window titled `title` that it
// opens to `check` once it is shown, and closes it unless `check` did.
void WithWindow(frmWelcome& wizard, const char* button, const QString& title,
                const std::function<void(QWidget&)>& check) {
    bool shown = false;
    QTimer::singleShot(0, &wizard, [&] {
        QWidget* window = QApplication::activeModalWidget();
        if (!window || window->windowTitle() != title)
            return;
        shown = true;
        check(*window);
        if (window->isVisible())
            window->close();
    });
    QTest::mouseClick(wizard.findChild<QPushButton*>(button), Qt::LeftButton);
    QVERIFY(shown);
}

// The rows of the Contacts window as shown, a cell a field, "x" or "-" for
// the check box.
QStringList ContactRows(QWidget& contacts) {
    const QAbstractItemModel& rows = *contacts.findChild<QTableView*>("grdContacts")->model();
    QStringList shown;
    for (int r = 0; r < rows.rowCount(); ++r) {
        QStringList row{rows.index(r, 0).data(Qt::CheckStateRole) == Qt::Checked ? "x" : "-"};
        for (int c = 0; c < rows.columnCount(); ++c)
            row << rows.index(r, c).data().toString();
        shown << row.join('|');
    }
    return shown;
}

// Space on the check box of the row shown `row`th.
void ToggleContact(QWidget& contacts, int row) {
    auto* grid = contacts.findChild<QTableView*>("grdContacts");
    grid->setCurrentIndex(grid->model()->index(row, 0));
    QTest::keyClick(grid, Qt::Key_Space);
}

// The counter, "red" when it is, and "OK" when OK can be pressed.
QString Counter(QWidget& contacts) {
    auto* counter = contacts.findChild<QLabel*>("lblChosen");
    const bool red = counter->palette().color(QPalette::WindowText) == QColor(Qt::red);
    const bool ok = contacts.findChild<QPushButton*>("cmdOK")->isEnabled();
    return counter->text() + (red ? " red" : "") + (ok ? " OK" : "");
}

// The contacts' lines of the Norvik file written.
QStringList WrittenContacts(const WizardRig& rig) {
    QStringList lines;
    for (const std::string& line : test::SplitCrLf(
             test::ReadFile(OutputPath(rig.programDir.path(), "NorvikaddressBook.csv"))))
        lines << QString::fromStdString(line);
    return lines.mid(1);
}

// An Ivro backup line with its names, work phone and work e-mail.
std::string IvroEntry(const char* first, const char* last, const char* phone, const char* email) {
    return std::string("1\t\t0\t") + first + "\t" + last + "\t\t\t\t" + email + "\t\t\t" + phone +
           std::string(12, '\t') + "\r\n";
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

    // `settings`: the lines stored (null: no settings file); `choices`: the
    // controls' texts, "@" for the program folder ("" for no choice).
    void startUp_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("galder");
        const QString stored = "GalderPort=1\r\nGalderEmail=2\r\nIvroFile=@old.adr\r\n"
                               "MaxDeviceRecords=1000\r\nLaunchDataPlug=0\r\nExportPath=@out\r\n"
                               "ExportFile=book.csv\r\n";
        const QStringList kept{"@out", "book.csv", "@old.adr", "COM3", "Alternate Email", "0"};
        QStringList defaults{
            "@", "NorvikaddressBook.csv", "@Documents/addressBook.adr", "COM1", "Work Email", "1"};
        QTest::newRow("no settings file") << QString() << defaults << 250 << true;
        QTest::newRow("DisplayGalder 0") << "DisplayGalder=0\r\n" + stored << kept << 1000 << false;
        QTest::newRow("DisplayGalder 2") << "DisplayGalder=2\r\n" + stored << kept << 1000 << true;
        // A stored list position that the list lacks keeps the filling's
        // choice; -1 is no choice at all.
        defaults[4] = "";
        QTest::newRow("positions 99, -1") << "GalderPort=99\r\nGalderEmail=-1\r\n"
                                          << defaults << 250 << true;
        defaults[3] = "";
        defaults[4] = "Work Email";
        QTest::newRow("positions -1, 3") << "GalderPort=-1\r\nGalderEmail=3\r\n"
                                         << defaults << 250 << true;
    }

    void startUp() {
        QFETCH(QString, settings);
        QFETCH(QStringList, choices);
        QFETCH(int, limit);
        QFETCH(bool, galder);
        WizardRig& rig = *m_rig;
        std::filesystem::create_directory(rig.programDir.file("out"));
        const QString folder = QString::fromStdString(rig.programDir.path());
        // The window shows paths with the system's separators.
        for (QString& text : choices)
            text = QDir::toNativeSeparators(text.replace(QRegularExpression("^@$"), folder)
                                                .replace(QRegularExpression("^@"), folder + "/"));
        if (!settings.isNull())
            rig.writeSettings(
                settings.replace("@", QDir::toNativeSeparators(folder + "/")).toStdString());
        frmWelcome& w = rig.start();

        // A stored file name stays although no such file exists.
        QCOMPARE(ChoiceTexts(rig), choices);
        QCOMPARE(rig.text("lblMaxRecords").count(QString::number(limit)), 2);

        // Without the Galder source the other rows keep their places.
        QVERIFY(rig.visible("OptGetFromGalder") == galder &&
                rig.visible("cmdGalderHelp") == galder &&
                rig.find<QAction>("mnuGalder")->isVisible() == galder);
        QVERIFY(rig.text("lblWelcome")
                    .contains(galder ? "existing Galder device or Ivro device.\n"
                                     : "existing Ivro device.\n"));
        QVERIFY(rig.visible("OptGetFromIvro") && rig.visible("OptGetFromKestle"));
        // No source is chosen at first; Kestle is offered but cannot be chosen.
        QTest::mouseClick(rig.find("OptGetFromKestle"), Qt::LeftButton);
        for (const char* option : {"OptGetFromGalder", "OptGetFromIvro", "OptGetFromKestle"})
            QVERIFY(!rig.find<QRadioButton>(option)->isChecked());
        QCOMPARE(State(rig), QString("0 FrameWelcome &Cancel"));

        QCOMPARE(w.frameGeometry().size(), TwipsSize(9570, 8500));
        // COM1 to COM16 probed, none left open; the busy COM3 is listed too.
        QVERIFY(rig.ports.opened.size() == 16 && rig.ports.opened.back() == 16);
        QVERIFY(!rig.ports.isOpen() && w.lstGalderCommPortItemData(1) == 3);
        // The close box saves the settings, the defaults with them.
        QVERIFY(w.close() && rig.endProgramCalls == 1);
        QCOMPARE(QString::fromStdString(rig.saved("ExportPath")), choices[0]);
        QCOMPARE(Boxes(rig), QStringList());
    }

    // Choices that cannot be kept are not lost without a word.
    void unsavedSettingsAreReported() {
        std::filesystem::create_directory(m_rig->iniPath());
        QVERIFY(m_rig->start().close());
        QCOMPARE(Boxes(*m_rig), QStringList{"Settings Not Saved: Your choices could not be saved: "
                                            "the settings file cannot be written."});
    }

    // The completion page sums up what the Norvik's columns changed; Details
    // shows each change beside the wizard, and Save writes them as the report file.
    void changesPageAndWindow() {
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        rig.find<QCheckBox>("chkAutoDataPlug")->setChecked(false);
        rig.setText("txtIvroFile",
                    rig.programDir.write("book.adr", "#Record\tAddress\r\n1\t\t0\tAlexandrina-"
                                                     "Maximiliane\tL\xE9"
                                                     "e,\nJr" +
                                                         std::string(19, '\t') + "\r\n"));
        QVERIFY(rig.walkToConfirmation("OptGetFromIvro"));
        QVERIFY(rig.click("cmdNext"));
        QCOMPARE(
            rig.text("lblChanges"),
            QString("Changes: 1 shortened, 1 changed, 0 filled, 0 skipped, 0 over the limit."));
        // Save never writes over the backup, the export or the program's
        // files, and replaces another file only when the user says so.
        const std::string report = rig.programDir.write("changes.csv", "older");
        rig.dialog.answers = {rig.programDir.file("book.adr"),
                              rig.programDir.file(".") + "/NorvikaddressBook.csv", report, report};
        rig.messages.answers = {MsgAnswer::Ok, MsgAnswer::Ok, MsgAnswer::No, MsgAnswer::Yes};
        rig.messages.shown.clear();
        QStringList headers;
        QStringList seen;
        w.move(w.screen()->availableGeometry().topLeft());
        const QRect wizard = w.frameGeometry();
        QVERIFY2(wizard.right() + 1000 < w.screen()->availableGeometry().right(),
                 "a screen too narrow for the Changes window beside the wizard");
        WithWindow(w, "cmdDetails", "Changes", [&](QWidget& changes) {
            // Beside the wizard, to its right where that fits.
            QCOMPARE(changes.frameGeometry().topLeft(), QPoint(wizard.right() + 1, wizard.top()));
            const auto* grid = changes.findChild<QTableView*>("grdChanges");
            const QAbstractItemModel& rows = *grid->model();
            for (int c = 0; c < rows.columnCount(); ++c)
                headers << rows.headerData(c, Qt::Horizontal).toString();
            // Each change on one line, what was and what is now in full view.
            for (int r = 0; r < rows.rowCount(); ++r) {
                QStringList row;
                for (int c = 2; c < rows.columnCount(); ++c) {
                    row << rows.index(r, c).data().toString();
                    QVERIFY(grid->viewport()->rect().contains(grid->visualRect(rows.index(r, c))));
                }
                seen << row.join('|');
                QVERIFY(grid->rowHeight(r) < 2 * grid->fontMetrics().height());
            }
            for (int i = 0; i < 4; ++i) {
                QTest::mouseClick(changes.findChild<QPushButton*>("cmdSave"), Qt::LeftButton);
                if (i == 2)
                    QCOMPARE(test::ReadFile(report), std::string("older"));
            }
        });
        QCOMPARE(headers, (QStringList{"Line", "Contact", "Column", "Change", "Was", "Now"}));
        // Values show as the Windows text they come from, a line break as its symbol.
        QCOMPARE(seen, (QStringList{
                           "FIRST_NAME|shortened|Alexandrina-Maximiliane|Alexandrina-Max",
                           QString::fromUtf8("LAST_NAME|changed|L\u00E9e,\u240AJr|L\u00E9e  Jr")}));
        QCOMPARE(rig.dialog.shown.back().initialDir, rig.programDir.path());
        const QStringList boxes = Boxes(rig);
        QCOMPARE(boxes.size(), 4);
        QCOMPARE(boxes.filter("is a file the export or the program uses.").size(), 2);
        QCOMPARE(test::ReadFile(rig.programDir.file("book.adr")).substr(0, 7),
                 std::string("#Record"));
        // A header and the two rows, in the bytes they came in.
        const auto saved = test::SplitCrLf(test::ReadFile(report));
        QVERIFY(saved.size() == 3 && saved[2].find(",\"L\xE9"
                                                   "e,\nJr\",") != std::string::npos);

        // A wizard at the screen's right edge has the window to its left.
        w.move(w.screen()->availableGeometry().right() + 1 - wizard.width(), wizard.top());
        WithWindow(w, "cmdDetails", "Changes", [&](QWidget& changes) {
            QCOMPARE(changes.frameGeometry().right() + 1, w.frameGeometry().left());
        });
    }

    void everyStage_data() {
        QTest::addColumn<QString>("source");
        QTest::newRow("Galder") << "OptGetFromGalder";
        QTest::newRow("Ivro") << "OptGetFromIvro";
    }

    void everyStage() {
        QFETCH(QString, source);
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        const QByteArray name = source.toLatin1();
        const char* option = name.constData();
        const bool galder = source == "OptGetFromGalder";
        const QString settings = galder ? "frameGalderMappings cmdNext cmdBack cmdHelp"
                                        : "frameIvroMappings cmdNext cmdBack cmdHelp";
        // Galder needs no backup file.
        if (!galder)
            rig.useIvroBackup(1);

        QVERIFY(!rig.click("cmdNext"));
        const std::pair<const char*, QString> walk[] = {
            {option, "0 FrameWelcome cmdNext"},
            {"cmdNext", "1 FrameFileLocation cmdNext cmdBack"},
            {"cmdNext", "2 " + settings},
            {"cmdNext", galder ? "3 frameExport cmdNext cmdBack lblConfirmGalder"
                               : "3 frameExport cmdNext cmdBack"},
            {"cmdBack", "2 " + settings},
            {"cmdBack", "1 FrameFileLocation cmdNext cmdBack"},
            {"cmdBack", "0 FrameWelcome"},
            // The choice stays, but Next waits for another click on an option.
            {option, "0 FrameWelcome cmdNext"},
        };
        for (const auto& [click, state] : walk) {
            QVERIFY2(rig.click(click), click);
            QCOMPARE(State(rig), state + " &Cancel");
            QVERIFY(rig.find<QRadioButton>(option)->isChecked());
        }
        QVERIFY(rig.messages.shown.empty());

        // A missing backup file, a folder or none at all keeps the Ivro page
        // on stage 2 with a warning until the file is there.
        QVERIFY(rig.click("cmdNext") && rig.click("cmdNext"));
        std::filesystem::create_directory(rig.programDir.file("folder.adr"));
        const std::vector<std::string> bad{rig.programDir.file("missing.adr"),
                                           rig.programDir.file("folder.adr"), ""};
        for (const std::string& path : galder ? std::vector<std::string>() : bad) {
            rig.setText("txtIvroFile", path);
            QVERIFY(rig.click("cmdNext") && rig.messages.shown.at(0).icon == MsgIcon::Warning);
            QCOMPARE(Boxes(rig),
                     QStringList{"File Not Found: The Ivro Import file could not be "
                                 "located.  Please verify the file name and try again."});
            QCOMPARE(State(rig), "2 " + settings + " &Cancel");
        }
        rig.useIvroBackup(2);
        QVERIFY(rig.click("cmdNext"));
        QCOMPARE(int(w.CurrentStage()), 3);

        // Cancel saves the settings and ends the program.
        QVERIFY(rig.click("cmdCancel") && rig.endProgramCalls == 1);
        QCOMPARE(QString::fromStdString(rig.saved("IvroFile")), rig.text("txtIvroFile"));
    }

    // `records`: entries in the backup file, or lines the download writes;
    // `box`: the count box, if any. The window cannot go while the download
    // still writes through it.
    void exportThroughAllPages_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("variant");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("box");
        const QString ivro = "OptGetFromIvro";
        const QString galder = "OptGetFromGalder";
        QTest::newRow("Ivro, none") << ivro << "" << 0 << QString();
        QTest::newRow("Ivro, one") << ivro << "" << 1 << "1 record exported.";
        QTest::newRow("Ivro, no launch") << ivro << "no launch" << 3 << "3 records exported.";
        QTest::newRow("Galder, two") << galder << "" << 2 << "2 records exported.";
        QTest::newRow("Galder, download failed") << galder << "download failed" << 2 << QString();
    }

    void exportThroughAllPages() {
        QFETCH(QString, source);
        QFETCH(QString, variant);
        QFETCH(int, records);
        QFETCH(QString, box);
        WizardRig& rig = *m_rig;
        rig.activator.answers = {true}; // a running manager comes to the front
        rig.galder.contacts.assign(std::size_t(records), "contact");
        if (variant == "download failed")
            rig.galder.result = -1;
        bool closed = false;
        rig.galder.during = [&] {
            QTest::mouseClick(rig.find("cmdCancel"), Qt::LeftButton);
            closed = rig.window->close() || rig.endProgramCalls > 0;
        };
        frmWelcome& w = rig.start();
        rig.useIvroBackup(records);
        rig.find<QComboBox>("lstGalderCommPort")->setCurrentIndex(1);
        rig.find<QComboBox>("lstGalderEmail")->setCurrentIndex(2);
        rig.find<QCheckBox>("chkAutoDataPlug")->setChecked(variant != "no launch");
        QVERIFY(rig.walkToConfirmation(source.toLatin1().constData()) && rig.click("cmdNext"));

        QVERIFY(box.isNull() || rig.messages.shown.at(0).icon == MsgIcon::Information);
        QCOMPARE(Boxes(rig),
                 box.isNull() ? QStringList() : QStringList{"Records Exported: " + box});
        QCOMPARE(State(rig), box.isNull() ? "6 frameComplete lblCompleteBad &Close"
                                          : "5 frameComplete lblCompleteGood &Close");
        QVERIFY(rig.text(box.isNull() ? "lblCompleteBad" : "lblCompleteGood")
                    .startsWith(box.isNull() ? "The export did not complete successfully.  The "
                                               "export file is not complete or contains 0 "
                                               "records and therefore should not be loaded into "
                                               "the Norvik."
                                             : "The export is complete.  You can now load the "
                                               "exported address records into the Norvik"));
        // The manager comes up only when asked for and records were written.
        const bool launch = !box.isNull() && variant != "no launch";
        QCOMPARE(rig.activator.asked.size(), std::size_t(launch ? 1 : 0));
        // The download takes the port number from the list's item data.
        const bool galder = source == "OptGetFromGalder";
        QCOMPARE(rig.galder.asked, std::vector<std::string>(galder ? 1 : 0, "3 2 250 0"));
        QVERIFY(!closed && !std::filesystem::exists(rig.iniPath()));
        // A failed export leaves no output, and keeps what it read apart,
        // named on the page with the changes it made.
        const bool failed = variant == "download failed";
        const std::string kept = rig.programDir.file("NorvikaddressBook.incomplete.csv");
        const std::string output = OutputPath(rig.programDir.path(), "NorvikaddressBook.csv");
        const auto lines = test::SplitCrLf(test::ReadFile(failed ? kept : output));
        QCOMPARE(int(lines.size()), records + 1);
        // The good page names the file written.
        QCOMPARE(rig.visible("lblExportFile") ? rig.text("lblExportFile") : QString(),
                 box.isNull()
                     ? QString()
                     : "The address records were written to:\n" + QString::fromStdString(output));
        // These contacts needed no change: nothing for Details to show.
        QCOMPARE(rig.visible("lblChanges") && rig.visible("cmdDetails"), records > 0);
        QVERIFY(!rig.enabled("cmdDetails"));
        QCOMPARE(rig.text("lblChanges")
                     .endsWith(QString::fromStdString(
                         "\n2 contacts read before the failure were kept in " + kept + ".")),
                 failed);
        // Close on the last page saves the settings and ends the program.
        QVERIFY(rig.click("cmdCancel") && rig.endProgramCalls == 1 && !w.isVisible());
        QCOMPARE(rig.saved("GalderEmail") + rig.saved("LaunchDataPlug"),
                 variant == "no launch" ? "20" : "21");
    }

    // Choose Contacts... lists the backup's contacts, a duplicate beside its
    // group's first; the check boxes, the filter and Merge work on them, the
    // counter weighs the choice against the limit, and OK keeps it for the
    // export, which writes it from the list.
    void contactsWindow() {
        WizardRig& rig = *m_rig;
        rig.writeSettings("MaxDeviceRecords=2\r\n");
        frmWelcome& w = rig.start();
        rig.find<QCheckBox>("chkAutoDataPlug")->setChecked(false);
        rig.setText("txtIvroFile",
                    rig.programDir.write("book.adr", "#Record\tAddress\r\n" +
                                                         IvroEntry("Ann", "Lee", "555-1", "") +
                                                         IvroEntry("Bo", "Roe", "555 2", "") +
                                                         IvroEntry("ann", "lee", "5551", "a@x") +
                                                         IvroEntry("Cy", "Poe", "", "")));
        QVERIFY(rig.walkToConfirmation("OptGetFromIvro"));
        WithWindow(w, "cmdChooseContacts", "Contacts", [&](QWidget& contacts) {
            QCOMPARE(ContactRows(contacts),
                     (QStringList{"x|2|Ann Lee||555-1||2", "x|4|ann lee||5551|a@x|2",
                                  "x|3|Bo Roe||5552||", "x|5|Cy Poe||||"}));
            QCOMPARE(Counter(contacts), QString("4 of 2 chosen red"));
            contacts.findChild<QLineEdit*>("txtFilter")->setText("LEE");
            QCOMPARE(ContactRows(contacts).size(), 2);
            contacts.findChild<QLineEdit*>("txtFilter")->clear();
            ToggleContact(contacts, 3);
            QCOMPARE(Counter(contacts), QString("3 of 2 chosen red"));
            // Merge works on the group of the current row.
            QVERIFY(!contacts.findChild<QPushButton*>("cmdMerge")->isEnabled());
            ToggleContact(contacts, 1);
            ToggleContact(contacts, 1);
            QTest::mouseClick(contacts.findChild<QPushButton*>("cmdMerge"), Qt::LeftButton);
            QCOMPARE(ContactRows(contacts), (QStringList{"x|2|Ann Lee||555-1|a@x|",
                                                         "x|3|Bo Roe||5552||", "-|5|Cy Poe||||"}));
            QCOMPARE(Counter(contacts), QString("2 of 2 chosen OK"));
            QVERIFY(!contacts.findChild<QPushButton*>("cmdMergeAll")->isEnabled());
            QTest::mouseClick(contacts.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        });
        QVERIFY(rig.visible("lblContactsChosen"));
        QCOMPARE(rig.text("lblContactsChosen"), QString("2 of 2 chosen"));
        // The export writes the list, not the backup as it is now.
        rig.programDir.write("book.adr", test::IvroBackup(5));
        QVERIFY(rig.click("cmdNext"));
        QCOMPARE(Boxes(rig), QStringList{"Records Exported: 2 records exported."});
        QCOMPARE(WrittenContacts(rig), (QStringList{"1,0,0,Ann,Lee,,a@x,,2,;,;,;,,,555-1,,,,,,,",
                                                    "2,1,0,Bo,Roe,,,,1,;,;,;,,,5552,,,,,,,"}));
    }

    // A Galder is downloaded once for the window; OK's choice is written
    // without a second download. Cancel, or Back to the source's page after
    // OK, keeps no choice: the export downloads and writes as it always did.
    void contactsChoiceKept_data() {
        QTest::addColumn<QString>("answer");
        QTest::newRow("OK") << "cmdOK";
        QTest::newRow("Cancel") << "cmdCancel";
        QTest::newRow("OK, then Back") << "cmdOK cmdBack";
    }

    void contactsChoiceKept() {
        QFETCH(QString, answer);
        WizardRig& rig = *m_rig;
        rig.galder.contacts = {"Ann,Lee", "Bo,Roe", "Cy,Poe"};
        frmWelcome& w = rig.start();
        rig.find<QCheckBox>("chkAutoDataPlug")->setChecked(false);
        QVERIFY(rig.walkToConfirmation("OptGetFromGalder"));
        WithWindow(w, "cmdChooseContacts", "Contacts", [&](QWidget& contacts) {
            QCOMPARE(Counter(contacts), QString("3 of 250 chosen OK"));
            ToggleContact(contacts, 1);
            QCOMPARE(Counter(contacts), QString("2 of 250 chosen OK"));
            QTest::mouseClick(contacts.findChild<QPushButton*>(answer.section(' ', 0, 0)),
                              Qt::LeftButton);
        });
        if (answer.endsWith("cmdBack"))
            QVERIFY(rig.click("cmdBack") && rig.click("cmdNext"));
        const bool kept = answer == "cmdOK";
        QCOMPARE(rig.visible("lblContactsChosen"), kept);
        QVERIFY(rig.click("cmdNext"));
        QCOMPARE(rig.galder.asked.size(), std::size_t(kept ? 1 : 2));
        const QStringList written = kept ? QStringList{"1,0,0,Ann,Lee,,,,1,;,;,;,,,,,,,,,,",
                                                       "2,1,0,Cy,Poe,,,,1,;,;,;,,,,,,,,,,"}
                                         : QStringList{"Ann,Lee", "Bo,Roe", "Cy,Poe"};
        QCOMPARE(WrittenContacts(rig), written);
    }

    void browseHelpAndMenu() {
        WizardRig& rig = *m_rig;
        frmWelcome& w = rig.start();
        // Each source's document beside the program, from button and menu.
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

        // The general Help button follows the source taken at the last Next;
        // each Browse button fills its own boxes.
        rig.shell.opened.clear();
        const std::string out = rig.programDir.file("out");
        std::filesystem::create_directory(out);
        rig.dialog.answers = {OutputPath(out, "list.csv"), rig.programDir.file("other.adr")};
        QVERIFY(rig.click("OptGetFromGalder") && rig.click("cmdNext") && rig.click("cmdNext"));
        QVERIFY(rig.click("cmdHelp") && rig.click("cmdBack") && rig.click("cmdBack"));
        QVERIFY(rig.click("OptGetFromIvro") && rig.click("cmdNext") && rig.click("cmdBrowse"));
        QVERIFY(rig.click("cmdNext") && rig.click("cmdHelp") && rig.click("cmdIvroBrowse"));
        QCOMPARE(rig.shell.opened, (std::vector<std::string>{galder, ivro}));
        QCOMPARE(ChoiceTexts(rig).mid(0, 3),
                 (QStringList{QString::fromStdString(WithTrailingSeparator(out)), "list.csv",
                              QString::fromStdString(rig.programDir.file("other.adr"))}));

        // About is not modal and opened once; OK unloads it.
        rig.find<QAction>("mnuAbout")->trigger();
        rig.find<QAction>("mnuAbout")->trigger();
        const QList<QDialog*> about = w.findChildren<QDialog*>("frmAbout");
        QVERIFY(about.size() == 1 && about[0]->isVisible() && !about[0]->isModal());
        QCOMPARE(about[0]->findChild<QLabel*>("lblVersion")->text(),
                 QString("Version 2.0.0    14-Sep-2016"));
        QTest::mouseClick(about[0]->findChild<QAbstractButton*>("cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(w.findChildren<QDialog*>("frmAbout").isEmpty());

        // The agreement is modal.
        QString shown;
        QTimer::singleShot(0, &w, [&shown] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                shown = modal->objectName();
                modal->close();
            }
        });
        rig.find<QAction>("mnuSLA")->trigger();
        QCOMPARE(shown, QString("frmSLA"));
    }
};

QTEST_MAIN(frmWelcomeTest)
#include "frmWelcomeTest.moc"
