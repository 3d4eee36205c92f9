// The download window driven for real: galder-sim on a pseudo-terminal, the
// window on the offscreen platform, message boxes answered as they appear.

#include "app/gui/GalderDownloadWindow.h"
#include "app/gui/frmGalderProcess.h"
#include "galder/GalderProcess.h"
#include "settings/Settings.h"
#include "support/SimulatorProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace addrix {
namespace {

// Calls `act` once with the download window as soon as it is shown.
class WhenShown {
public:
    explicit WhenShown(std::function<void(frmGalderProcess&)> act) : m_act(std::move(act)) {
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* window = qobject_cast<frmGalderProcess*>(w);
                if (window && window->isVisible() && m_act) {
                    auto act = std::move(m_act);
                    m_act = nullptr;
                    act(*window);
                    return;
                }
            }
        });
        m_poll.start(20);
    }

private:
    std::function<void(frmGalderProcess&)> m_act;
    QTimer m_poll;
};

// Notes every message box shown and presses its OK button.
class MessageCatcher {
public:
    std::vector<std::string> shown; // "title: text"

    MessageCatcher() {
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (box && box->isVisible()) {
                    shown.push_back(box->windowTitle().toStdString() + ": " +
                                    box->text().toStdString());
                    box->accept();
                }
            }
        });
        m_poll.start(20);
    }

private:
    QTimer m_poll;
};

class GalderWindowTest : public ::testing::Test {
protected:
    Settings settings;
    test::MemorySink sink;
    QWidget owner;
    MessageCatcher messages;

    void SetUp() override {
        settings.MaxDeviceRecords = 250;
        owner.setGeometry(100, 100, 640, 480);
        owner.show();
    }

    std::unique_ptr<test::SimulatorProcess> startSim(std::vector<std::string> args) {
        auto sim = std::make_unique<test::SimulatorProcess>(GALDER_SIM, args);
        EXPECT_FALSE(sim->device().empty());
        return sim;
    }
    RecordCount download(const std::string& device, std::int16_t email = 0) {
        test::TempDir programDir;
        GalderDownloadWindow window(
            settings, programDir.path(),
            [device](int n) { return n == 1 ? device : std::string(); }, &owner);
        return window.runDownload(sink, 1, email);
    }
};

struct WindowCase {
    const char* name;
    std::vector<std::string> simArgs;
    std::function<void(frmGalderProcess&)> act; // done to the window once shown
    RecordCount result;
    std::size_t lines;
    std::vector<std::string> messages;
};

// Cases print as their names.
void PrintTo(const WindowCase& c, std::ostream* os) {
    *os << c.name;
}

class GalderWindowEndings : public GalderWindowTest,
                            public ::testing::WithParamInterface<WindowCase> {};

TEST_P(GalderWindowEndings, EndsWithItsResult) {
    const WindowCase& c = GetParam();
    auto sim = startSim(c.simArgs);
    WhenShown act(c.act ? c.act : [](frmGalderProcess&) {});
    EXPECT_EQ(download(sim->device()), c.result);
    EXPECT_EQ(sink.lines.size(), c.lines);
    EXPECT_EQ(messages.shown, c.messages);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<frmGalderProcess*>(w), nullptr) << "the window outlives the job";
}

const WindowCase kEndings[] = {
    {"Complete", {"--count", "3"}, nullptr, 3, 3, {}},
    {"DisabledDevice",
     {"--disabled"},
     nullptr,
     -1,
     0,
     {"Disabled Device: The device is permanently disabled and the address book cannot be "
      "accessed."}},
    {"CancelButton",
     {"--silent"},
     [](frmGalderProcess& w) { QTest::mouseClick(w.cmdCancel, Qt::LeftButton); },
     -2,
     0,
     {}},
    {"EscapeKeyCancels",
     {"--silent"},
     [](frmGalderProcess& w) { QTest::keyClick(&w, Qt::Key_Escape); },
     -2,
     0,
     {}},
    // The title-bar close button stops at once, with what was written so far.
    {"TitleBarClose", {"--silent"}, [](frmGalderProcess& w) { w.close(); }, 0, 0, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, GalderWindowEndings, ::testing::ValuesIn(kEndings),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GalderWindowTest, LooksAsDesigned) {
    auto sim = startSim({"--silent"});
    bool checked = false;
    WhenShown look([&](frmGalderProcess& w) {
        checked = true;
        EXPECT_EQ(w.objectName(), "frmGalderProcess");
        EXPECT_EQ(w.windowTitle(), "Galder");
        EXPECT_TRUE(w.isModal());
        EXPECT_EQ(w.parentWidget(), &owner);
        EXPECT_EQ(w.findChild<QLabel*>("lblStatus"), w.lblStatus);
        EXPECT_EQ(w.lblStatus->text(), "Connecting to device...");
        EXPECT_EQ(w.findChild<QProgressBar*>("ProgressBar1"), w.ProgressBar1);
        EXPECT_EQ(w.ProgressBar1->minimum(), 0);
        EXPECT_EQ(w.ProgressBar1->maximum(), 100);
        EXPECT_EQ(w.ProgressBar1->value(), 0);
        EXPECT_EQ(w.findChild<QPushButton*>("cmdCancel"), w.cmdCancel);
        EXPECT_EQ(w.cmdCancel->text(), "&Cancel");
        EXPECT_EQ(w.minimumSize(), w.maximumSize()) << "the border is not fixed";
        const QPoint offset = w.frameGeometry().center() - owner.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 4) << "not centred on its owner";
        w.close();
    });
    EXPECT_EQ(download(sim->device()), 0);
    EXPECT_TRUE(checked);
}

TEST_F(GalderWindowTest, AMissingPortGoesToTheExportDriver) {
    test::TempDir dir;
    try {
        download(dir.file("ttyUSB9"));
        ADD_FAILURE() << "no SerialPortError";
    } catch (const SerialPortError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "COM1 (" + dir.file("ttyUSB9") + "): the device does not exist");
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<frmGalderProcess*>(w), nullptr);
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
