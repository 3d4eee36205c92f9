// The download window on the offscreen platform against galder-sim on a
// pseudo-terminal.

#include "app/gui/GalderDownloadWindow.h"
#include "app/gui/frmGalderProcess.h"
#include "support/SimulatorProcess.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <utility>

namespace addrix {
namespace {

// Downloads from galder-sim into `sink` for a window of `owner`; `act` is
// done to the window once it shows.
RecordCount Download(const std::vector<std::string>& simArgs, test::MemorySink& sink,
                     QWidget& owner, std::function<void(frmGalderProcess&)> act) {
    test::SimulatorProcess sim(GALDER_SIM, simArgs);
    test::TempDir programDir;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            box->reject(); // none is expected: fail rather than wait
        if (auto* window = qobject_cast<frmGalderProcess*>(modal); window && act)
            std::exchange(act, nullptr)(*window);
    });
    poll.start(20);
    const std::string device = sim.device();
    GalderDownloadWindow window([device](int n) { return n == 1 ? device : std::string(); },
                                programDir.file("debug.log"), &owner);
    GalderDownload job;
    job.portNumber = 1;
    return window.runDownload(sink, job);
}

TEST(GalderWindowTest, LooksAsDesignedAndTheCancelButtonEndsOnTheNextTick) {
    QWidget owner;
    owner.setGeometry(100, 100, 640, 480);
    owner.show();
    test::MemorySink sink;
    // -2 comes only from the click, so the checks below have run.
    const RecordCount result = Download({"--silent"}, sink, owner, [&](frmGalderProcess& w) {
        EXPECT_EQ(w.windowTitle(), "Galder");
        EXPECT_EQ(w.parentWidget(), &owner);
        EXPECT_EQ(w.findChild<QLabel*>("lblStatus")->text(), "Connecting to device...");
        EXPECT_EQ(w.findChild<QProgressBar*>("ProgressBar1")->maximum(), 100);
        EXPECT_EQ(w.findChild<QPushButton*>("cmdCancel")->text(), "&Cancel");
        EXPECT_EQ(w.minimumSize(), w.maximumSize()) << "the border is not fixed";
        const QPoint offset = w.frameGeometry().center() - owner.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 4) << "not centred on its owner";
        QTest::mouseClick(w.cmdCancel, Qt::LeftButton);
    });
    EXPECT_EQ(result, -2);
}

// The first step of the bar comes with the first record; the close (as by the
// title bar) then waits until that record's pass lets window events run.
TEST(GalderWindowTest, ClosedWhileARecordIsHandledItWritesNothingMore) {
    QWidget owner;
    test::MemorySink sink;
    const RecordCount result = Download({"--count", "3"}, sink, owner, [](frmGalderProcess& w) {
        QObject::connect(w.ProgressBar1, &QProgressBar::valueChanged, &w, [&w] {
            QMetaObject::invokeMethod(
                &w, [&w] { w.close(); }, Qt::QueuedConnection);
        });
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(sink.lines.empty());
}

} // namespace
} // namespace addrix

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
