// A Galder export through the whole wizard: galder-sim on a pseudo-terminal
// as COM1, the real serial port and download window, the wizard on the
// offscreen platform.

#include "WizardRig.h"
#include "app/gui/GalderDownloadWindow.h"
#include "contact/ContactRecord.h"
#include "export/ExportDriver.h"
#include "platform/qt/QtSerialPort.h"
#include "support/SimulatorProcess.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>

using namespace addrix;
using addrix::test::WizardRig;

class WizardGalderSimTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        QVERIFY2(QApplication::topLevelWidgets().isEmpty(), "a window outlived its test");
    }

    void exportsTheDevicesAddressBook() {
        test::SimulatorProcess sim(GALDER_SIM, {"--count", "3", "--layout", "4"});
        QVERIFY(!sim.device().empty());
        const std::string device = sim.device();
        const PortLocator locate = [device](int n) {
            return n == 1 ? device : std::string();
        };

        WizardRig rig;
        rig.settings.MaxDeviceRecords = 250;
        QtSerialPort probe(locate);
        GalderDownloadWindow download(locate, rig.programDir.file("debug.log"));
        rig.probePort = &probe;
        rig.galderWindow = &download;
        frmWelcome& w = rig.start();
        download.setOwner(&w);
        rig.find<QCheckBox>("chkAutoDataPlug")->setChecked(false);

        auto* ports = rig.find<QComboBox>("lstGalderCommPort");
        QCOMPARE(ports->count(), 1);
        QCOMPARE(ports->itemText(0), QString("COM1"));
        QVERIFY(!probe.isOpen());

        QVERIFY(rig.walkToConfirmation("OptGetFromGalder"));
        QVERIFY(rig.click("cmdNext"));

        QCOMPARE(int(w.CurrentStage()), 5);
        QCOMPARE(rig.messages.shown.size(), std::size_t(1));
        QCOMPARE(rig.messages.shown[0].caption, std::string("Records Exported"));
        QCOMPARE(rig.messages.shown[0].text, std::string("3 records exported."));
        const auto lines = test::SplitCrLf(
            test::ReadFile(OutputPath(rig.programDir.path(), "NorvikaddressBook.csv")));
        QCOMPARE(int(lines.size()), 4);
        QCOMPARE(lines[0], test::kNorvikHeader);
        QCOMPARE(test::SplitCommas(lines[3]).size(), std::size_t(22));
    }
};

QTEST_MAIN(WizardGalderSimTest)
#include "WizardGalderSimTest.moc"
