// Runs on a private X server of its own (see CMakeLists.txt): real windows
// are activated there, with no window manager and with a stand-in for one.
#include "platform/x11/X11WindowActivator.h"

#include <QTest>
#include <QWidget>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <vector>

using namespace addrix;

class X11ActivationDisplayTest : public QObject {
    Q_OBJECT

private slots:
    // The first window has the focus before the activation.
    void activatesByTitle_data() {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<int>("expected"); // -1: none
        QTest::newRow("prefix") << QStringList{"Other", "Norvik Manager - contacts.csv"} << 1;
        QTest::newRow("exact before prefix")
            << QStringList{"Norvik Manager Setup", "Norvik Manager", "Other"} << 1;
        QTest::newRow("none") << QStringList{"Other", "Norvik"} << -1;
    }

    void activatesByTitle() {
        QFETCH(QStringList, titles);
        QFETCH(int, expected);
        std::vector<QWidget> windows(titles.size());
        for (qsizetype i = 0; i < titles.size(); ++i) {
            windows[i].setWindowTitle(titles[i]);
            windows[i].show();
            QVERIFY(QTest::qWaitForWindowExposed(&windows[i]));
        }
        windows[0].activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(windows[0].isActiveWindow(), 3000);

        QCOMPARE(X11WindowActivator().activate("Norvik Manager"), expected >= 0);
        if (expected >= 0)
            QTRY_VERIFY_WITH_TIMEOUT(windows[expected].isActiveWindow(), 3000);
    }

    // A stand-in window manager on a connection of its own announces itself
    // (the root as its check window), lists the window and takes the requests
    // sent to the root; the private server ends with the test.
    void asksTheWindowManagerWhenOneRuns() {
        QWidget target;
        target.setWindowTitle("Norvik Manager");
        target.show();
        QVERIFY(QTest::qWaitForWindowExposed(&target));
        Display* wm = XOpenDisplay(nullptr);
        QVERIFY(wm);
        const Window root = DefaultRootWindow(wm);
        const auto setWindow = [&](const char* property, const Window& value) {
            XChangeProperty(wm, root, XInternAtom(wm, property, False), XA_WINDOW, 32,
                            PropModeReplace, reinterpret_cast<const unsigned char*>(&value), 1);
        };
        setWindow("_NET_SUPPORTING_WM_CHECK", root);
        setWindow("_NET_CLIENT_LIST", target.winId());
        XSelectInput(wm, root, SubstructureRedirectMask);
        XSync(wm, False);

        QVERIFY(X11WindowActivator().activate("Norvik Manager"));
        XEvent event{};
        // Taken from the queue at the first match, seen in `event` after.
        QTRY_VERIFY(XCheckTypedEvent(wm, ClientMessage, &event) || event.type == ClientMessage);
        QCOMPARE(event.xclient.message_type, XInternAtom(wm, "_NET_ACTIVE_WINDOW", False));
        QCOMPARE(event.xclient.window, static_cast<Window>(target.winId()));
        XCloseDisplay(wm);
    }
};

QTEST_MAIN(X11ActivationDisplayTest)
#include "X11ActivationDisplayTest.moc"
