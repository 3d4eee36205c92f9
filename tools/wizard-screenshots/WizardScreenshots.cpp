// Pictures of every wizard page, for the documentation. Runs only when
// ADDRIX_SCREENSHOT_DIR names the folder to save them in (see
// scripts/screenshots.sh); it needs a real display, such as Xvfb.

#include "WizardRig.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

using namespace addrix;
using addrix::test::WizardRig;

class WizardScreenshots : public QObject {
    Q_OBJECT

    QDir m_dir;
#ifdef _WIN32
    const QString m_documents = QStringLiteral("C:\\Users\\user\\Documents");
#else
    const QString m_documents = QStringLiteral("/home/user/Documents");
#endif

    // Lets the window paint, then saves it as `name`.png; the control
    // `shows` holds `text` for the picture only.
    void shoot(QWidget& window, const char* name, const char* shows = nullptr,
               const QString& text = {}) {
        QWidget* control = shows ? window.findChild<QWidget*>(shows) : nullptr;
        const QVariant real = control ? control->property("text") : QVariant();
        if (control)
            control->setProperty("text", text);
        QApplication::processEvents();
        QTest::qWait(50);
        const QString path = m_dir.filePath(QString::fromLatin1(name) + ".png");
        QVERIFY2(window.grab().save(path), qPrintable(path));
        if (control)
            control->setProperty("text", real);
    }

    // The completion page as it would name a file in the user's documents.
    void shootComplete(WizardRig& rig, const char* name) {
        const QString folder = QString::fromStdString(rig.programDir.path());
        shoot(*rig.window, name, "lblExportFile",
              rig.text("lblExportFile").replace(folder, m_documents));
    }

private slots:
    void initTestCase() {
        const QByteArray dir = qgetenv("ADDRIX_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("ADDRIX_SCREENSHOT_DIR names no folder");
        m_dir = QDir(QString::fromLocal8Bit(dir));
        QVERIFY(m_dir.mkpath("."));
    }

    void galderPages() {
        WizardRig rig;
        rig.galder.contacts = {"one", "two", "three"};
        frmWelcome& w = rig.start();
        rig.find<QCheckBox>("chkAutoDataPlug")->setChecked(false);
        shoot(w, "0-welcome");
        QVERIFY(rig.click("OptGetFromGalder") && rig.click("cmdNext"));
        shoot(w, "1-file-location", "txtDir", m_documents);
        QVERIFY(rig.click("cmdNext"));
        shoot(w, "2-galder-settings");
        QVERIFY(rig.click("cmdNext"));
        shoot(w, "3-export-galder");
        QVERIFY(rig.click("cmdNext"));
        shootComplete(rig, "5-complete");
    }

    void ivroPages() {
        WizardRig rig;
        frmWelcome& w = rig.start();
        rig.useIvroBackup(0);
        QVERIFY(rig.click("OptGetFromIvro") && rig.click("cmdNext") && rig.click("cmdNext"));
        shoot(w, "2-ivro-settings", "txtIvroFile", m_documents + "/addressBook.adr");
        QVERIFY(rig.click("cmdNext"));
        shoot(w, "3-export-ivro");
        QVERIFY(rig.click("cmdNext"));
        shoot(w, "6-not-complete");
    }

    // The completion page of an export that changed contacts, and its Changes window.
    void changes() {
        WizardRig rig;
        frmWelcome& w = rig.start();
        rig.find<QCheckBox>("chkAutoDataPlug")->setChecked(false);
        rig.setText("txtIvroFile",
                    rig.programDir.write("book.adr", "#Record\tAddress\r\n"
                                                     "1\t\t0\tAlexandrina-Maximiliane\tLee, Jr"
                                                     "\t\t555 0199\t\t\t\t\t(555) 123.4567"
                                                     "\t\t\tAcme, Inc.\t\t\t\tM5V 2T6\t\t\t\t\t\r\n"
                                                     "2\t\t0\t\t\t\t\t\t\t\t\t\t\t\tNorth Star"
                                                     "\t\t\t\t\t\t\t\t\t\r\n"));
        QVERIFY(rig.walkToConfirmation("OptGetFromIvro") && rig.click("cmdNext"));
        shootComplete(rig, "5-complete-changes");
        QTimer::singleShot(100, &w, [this] {
            if (QWidget* changes = QApplication::activeModalWidget()) {
                shoot(*changes, "7-changes");
                changes->close();
            }
        });
        QVERIFY(rig.click("cmdDetails"));
    }

    // The Contacts window of a download with a duplicate, the counter above the limit.
    void contacts() {
        WizardRig rig;
        rig.writeSettings("MaxDeviceRecords=4\r\n");
        rig.galder.contacts = {"Ann,Lee,,ann@lee.example,,,,555-0101",
                               "Bo,Roe,,,,Roe & Sons,,555-0188",
                               "Ann,Lee,,,ann@home.example,,555-0144,5550101",
                               "Cy,Poe,,cy@poe.example", "Dee,Ng,,,,North Star,,555-0123,555-0199"};
        frmWelcome& w = rig.start();
        QVERIFY(rig.walkToConfirmation("OptGetFromGalder"));
        QTimer::singleShot(100, &w, [this] {
            if (QWidget* contacts = QApplication::activeModalWidget()) {
                shoot(*contacts, "8-contacts");
                contacts->close();
            }
        });
        QVERIFY(rig.click("cmdChooseContacts"));
    }

    void ivroOnlyWelcomeAndMenu() {
        WizardRig rig;
        rig.writeSettings("DisplayGalder=0\r\n");
        frmWelcome& w = rig.start();
        shoot(w, "0-welcome-ivro-only");
        auto* menu = rig.find<QMenu>("mnuHelp");
        menu->popup(w.mapToGlobal(w.menuBar()->geometry().bottomLeft()));
        shoot(*menu, "menu-help");
        menu->hide();
    }
};

QTEST_MAIN(WizardScreenshots)
#include "WizardScreenshots.moc"
