// A Galder export through the whole wizard: galder-sim on a pseudo-terminal
// as COM1, the real serial port and download window, the wizard on the
// offscreen platform.

#include "WizardRig.h"
#include "app/gui/GalderDownloadWindow.h"
#include "export/ContactRecord.h"
#include "export/ExportDriver.h"
#include "platform/qt/QtSerialPort.h"
#include "support/SimulatorProcess.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>

using namespace addrix;
using addrix::test::WizardRig;

class WizardGalderSimTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        QVERIFY2(QApplication::topLevelWidgets().isEmpty(), "a window outlived its test");
    }

    void exportsTheDevicesAddressBook_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("box");
        QTest::newRow("one") << 1 << "1 record exported.";
        QTest::newRow("three") << 3 << "3 records exported.";
    }

    void exportsTheDevicesAddressBook() {
        QFETCH(int, count);
        QFETCH(QString, box);
        test::SimulatorProcess sim(GALDER_SIM, {"--count", std::to_string(count)});
        QVERIFY(!sim.device().empty());
        const std::string device = sim.device();
        const PortLocator locate = [device](int n) {
            return n == 1 ? device : std::string();
        };

        WizardRig rig;
        rig.settings.MaxDeviceRecords = 250;
        QtSerialPort probe(locate);
        GalderDownloadWindow download(rig.settings, rig.programDir.path(), locate);
        rig.probePort = &probe;
        rig.galderWindow = &download;
        frmWelcome& w = rig.start();
        download.setOwner(&w);
        w.setChkAutoDataPlug(0);

        auto* ports = rig.find<QComboBox>("lstGalderCommPort");
        QCOMPARE(ports->count(), 1);
        QCOMPARE(ports->itemText(0), QString("COM1"));
        QVERIFY(!probe.isOpen());

        QVERIFY(rig.walkToConfirmation("OptGetFromGalder"));
        QVERIFY(rig.click("cmdNext"));

        QCOMPARE(int(w.CurrentStage()), 5);
        QCOMPARE(rig.messages.shown.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(rig.messages.shown[0].text), box);
        const auto lines = test::SplitCrLf(
            test::ReadFile(OutputPath(rig.programDir.path(), "NorvikaddressBook.csv")));
        QCOMPARE(int(lines.size()), count + 1);
        QCOMPARE(lines[0], std::string(kNorvikCsvHeader));
    }

    // A device that never answers: Cancel in the download window ends the
    // export with nothing written, and the wizard shows its bad page.
    void cancelledDownloadShowsTheBadPage() {
        test::SimulatorProcess sim(GALDER_SIM, {"--silent"});
        QVERIFY(!sim.device().empty());
        const std::string device = sim.device();
        const PortLocator locate = [device](int n) {
            return n == 1 ? device : std::string();
        };

        WizardRig rig;
        QtSerialPort probe(locate);
        GalderDownloadWindow download(rig.settings, rig.programDir.path(), locate);
        rig.probePort = &probe;
        rig.galderWindow = &download;
        frmWelcome& w = rig.start();
        download.setOwner(&w);

        QTimer cancel;
        QObject::connect(&cancel, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                if (auto* button = modal->findChild<QAbstractButton*>("cmdCancel"))
                    QTest::mouseClick(button, Qt::LeftButton);
            }
        });
        cancel.start(50);
        QVERIFY(rig.walkToConfirmation("OptGetFromGalder"));
        QVERIFY(rig.click("cmdNext"));
        cancel.stop();

        QCOMPARE(int(w.CurrentStage()), 6);
        QVERIFY(rig.messages.shown.empty());
        QVERIFY(rig.visible("lblCompleteBad"));
    }
};

QTEST_MAIN(WizardGalderSimTest)
#include "WizardGalderSimTest.moc"
