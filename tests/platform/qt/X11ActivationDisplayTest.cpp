// Runs on a private X server of its own (see CMakeLists.txt): real windows
// are activated there, with no window manager and with a stand-in for one.
#include "platform/x11/X11WindowActivator.h"

#include <QTest>
#include <QWidget>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <memory>
#include <vector>

using namespace addrix;

namespace {

std::unique_ptr<QWidget> ShowWindow(const QString& title) {
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle(title);
    window->resize(200, 100);
    window->show();
    return window;
}

} // namespace

class X11ActivationDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server");
    }

    void activatesByTitle_data() {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<int>("expected"); // -1: none
        QTest::newRow("exact") << QStringList{"Norvik Manager", "Other"} << 0;
        QTest::newRow("prefix") << QStringList{"Other", "Norvik Manager - contacts.csv"} << 1;
        QTest::newRow("exact before prefix")
            << QStringList{"Norvik Manager Setup", "Norvik Manager", "Other"} << 1;
        QTest::newRow("none") << QStringList{"Other", "Norvik"} << -1;
    }

    void activatesByTitle() {
        QFETCH(QStringList, titles);
        QFETCH(int, expected);
        std::vector<std::unique_ptr<QWidget>> windows;
        for (const QString& title : titles)
            windows.push_back(ShowWindow(title));
        for (const auto& window : windows)
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        // Something else has the focus first.
        QWidget* other = windows[expected == 0 ? 1 : 0].get();
        other->activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(other->isActiveWindow(), 3000);

        QCOMPARE(X11WindowActivator().activate("Norvik Manager"), expected >= 0);
        if (expected >= 0)
            QTRY_VERIFY_WITH_TIMEOUT(windows[expected]->isActiveWindow(), 3000);
        QVERIFY(!X11WindowActivator().activate(""));
    }

    // A stand-in window manager on a connection of its own: it announces
    // itself, lists the window and takes the requests sent to the root.
    void asksTheWindowManagerWhenOneRuns() {
        const auto target = ShowWindow("Norvik Manager");
        QVERIFY(QTest::qWaitForWindowExposed(target.get()));
        const Window targetId = static_cast<Window>(target->winId());
        Display* wm = XOpenDisplay(nullptr);
        QVERIFY(wm);
        const Window root = DefaultRootWindow(wm);
        const Atom check = XInternAtom(wm, "_NET_SUPPORTING_WM_CHECK", False);
        const Atom clientList = XInternAtom(wm, "_NET_CLIENT_LIST", False);
        const Window self = XCreateSimpleWindow(wm, root, 0, 0, 1, 1, 0, 0, 0);
        const auto setWindow = [&](Window on, Atom property, const Window& value) {
            XChangeProperty(wm, on, property, XA_WINDOW, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&value), 1);
        };
        setWindow(root, check, self);
        setWindow(self, check, self);
        setWindow(root, clientList, targetId);
        XSelectInput(wm, root, SubstructureRedirectMask);
        XSync(wm, False);

        const bool activated = X11WindowActivator().activate("Norvik Manager");
        XEvent event{};
        bool received = false;
        for (int i = 0; i < 100 && !received; ++i) {
            XSync(wm, False);
            received = XCheckTypedEvent(wm, ClientMessage, &event);
            if (!received)
                QTest::qWait(20);
        }
        const Atom activeWindow = XInternAtom(wm, "_NET_ACTIVE_WINDOW", False);
        XDeleteProperty(wm, root, check);
        XDeleteProperty(wm, root, clientList);
        XDestroyWindow(wm, self);
        XCloseDisplay(wm);

        QVERIFY(activated && received);
        QCOMPARE(event.xclient.message_type, activeWindow);
        QCOMPARE(event.xclient.window, targetId);
    }
};

QTEST_MAIN(X11ActivationDisplayTest)
#include "X11ActivationDisplayTest.moc"
