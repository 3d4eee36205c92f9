// The download window against galder-sim on a pseudo-terminal.

#include "app/gui/GalderDownloadWindow.h"
#include "app/gui/frmGalderProcess.h"
#include "support/TestSupport.h"
#ifndef _WIN32
#include "support/SimulatorProcess.h"
#endif

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include <functional>
#include <utility>

namespace addrix {
namespace {

#ifdef _WIN32
// Under Wine the script that runs the test starts galder-sim with the
// test's arguments on COM<ADDRIX_GALDER_COM> (see CMakeLists.txt).
struct Simulator {
    Simulator(const char*, const std::vector<std::string>&) {}
    std::string device() const {
        return "COM" + qEnvironmentVariable("ADDRIX_GALDER_COM").toStdString();
    }
};
#else
using Simulator = test::SimulatorProcess;
#endif

// Downloads from galder-sim into `sink`; `act` is done to the window once it shows.
RecordCount Download(const std::vector<std::string>& simArgs, test::MemorySink& sink,
                     std::function<void(frmGalderProcess&)> act) {
    Simulator sim(GALDER_SIM, simArgs);
    QWidget owner; // the wizard window, centred on (419, 339)
    owner.setGeometry(100, 100, 640, 480);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            box->reject(); // none is expected: fail rather than wait
        if (auto* window = qobject_cast<frmGalderProcess*>(modal); window && act)
            std::exchange(act, nullptr)(*window);
    });
    poll.start(20);
    GalderDownloadWindow window([&sim](int n) { return n == 1 ? sim.device() : std::string(); },
                                std::string(), &owner); // Debug is off: no trace
    return window.runDownload(sink, GalderDownload{1}); // from COM1
}

TEST(GalderWindowTest, LooksAsDesignedAndTheCancelButtonEndsOnTheNextTick) {
    test::MemorySink sink;
    // -2 comes only from the click, so the checks before it have run.
    const RecordCount result = Download({"--silent"}, sink, [](frmGalderProcess& w) {
        EXPECT_EQ(w.windowTitle(), "Galder");
        EXPECT_EQ(w.findChild<QLabel*>("lblStatus")->text(), "Connecting to device...");
        const QPoint offset = w.frameGeometry().center() - QPoint(419, 339);
        EXPECT_LE(offset.manhattanLength(), 4) << "not centred on the wizard window";
        QTest::mouseClick(w.findChild<QWidget*>("cmdCancel"), Qt::LeftButton);
    });
    EXPECT_EQ(result, -2);
}

// The close (as by the title bar) comes with the bar's first step, while the
// first record is still on the line: a line four times slower than 9600 bit/s
// leaves it about a second, enough for a loaded machine to act on the close.
TEST(GalderWindowTest, ClosedWhileARecordArrivesItWritesNothingMore) {
    test::MemorySink sink;
    const RecordCount result =
        Download({"--count", "3", "--slow", "4"}, sink, [](frmGalderProcess& w) {
            QObject::connect(w.ProgressBar1, &QProgressBar::valueChanged, &w, &QWidget::close,
                             Qt::QueuedConnection);
        });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(sink.lines.empty());
}

} // namespace
} // namespace addrix

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
