#include "app/cli/ConsoleDownload.h"

#include "app/cli/ConsoleMessageBox.h"
#include "galder/GalderProcess.h"
#include "platform/qt/QtServices.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <atomic>
#include <csignal>
#include <functional>
#include <ostream>

#ifdef _WIN32
#include <QTimer>
#include <io.h>
#include <stdio.h>
#else
#include <QSocketNotifier>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace addrix {

namespace {

// The one status line on the error stream.
class StatusLine {
public:
    StatusLine(std::ostream& err, bool terminal) : m_err(err), m_terminal(terminal) {}
    ~StatusLine() { finish(); }

    void show(const std::string& text) {
        if (text == m_text)
            return;
        if (m_terminal) {
            std::string line = "\r" + text;
            if (text.size() < m_text.size())
                line.append(m_text.size() - text.size(), ' ');
            m_err << line << std::flush;
            m_open = true;
        } else {
            m_err << text << '\n' << std::flush;
        }
        m_text = text;
    }
    // Ends a line rewritten in place, so that what follows starts afresh.
    void finish() {
        if (m_open)
            m_err << '\n' << std::flush;
        m_open = false;
        m_text.clear();
    }

private:
    std::ostream& m_err;
    bool m_terminal;
    bool m_open = false;
    std::string m_text;
};

// Message boxes below the status line.
class ConsoleMessages final : public IMessageBox {
public:
    ConsoleMessages(std::ostream& err, StatusLine& status) : m_box(err), m_status(status) {}
    MsgAnswer show(const std::string& caption, const std::string& text, MsgButtons buttons,
                   MsgIcon icon) override {
        m_status.finish();
        return m_box.show(caption, text, buttons, icon);
    }

private:
    ConsoleMessageBox m_box;
    StatusLine& m_status;
};

class ConsoleView final : public IGalderView {
public:
    ConsoleView(StatusLine& status, QEventLoop& loop) : m_status(status), m_loop(loop) {}
    void setStatus(const std::string& text) override { m_status.show(text); }
    void setProgress(int) override {}
    void closeWindow() override { m_loop.quit(); }
    void processEvents() override { QCoreApplication::processEvents(); }

private:
    StatusLine& m_status;
    QEventLoop& m_loop;
};

// Ctrl-C (and a polite kill) while the download runs: delivered on the event
// loop, never inside the signal handler.
class InterruptWatch {
public:
    explicit InterruptWatch(std::function<void()> onInterrupt)
        : m_onInterrupt(std::move(onInterrupt)) {
#ifdef _WIN32
        s_flag = 0;
        m_previousInt = std::signal(SIGINT, &Handler);
        m_previousTerm = std::signal(SIGTERM, &Handler);
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            if (s_flag) {
                s_flag = 0;
                m_onInterrupt();
            }
        });
        m_poll.start(100);
#else
        if (::pipe(s_pipe) != 0)
            return;
        for (int fd : s_pipe) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
        m_notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read);
        QObject::connect(m_notifier, &QSocketNotifier::activated, [this] {
            char drained[16];
            while (::read(s_pipe[0], drained, sizeof drained) > 0) {
            }
            m_onInterrupt();
        });
        struct sigaction action {};
        action.sa_handler = &Handler;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGINT, &action, &m_previousInt);
        sigaction(SIGTERM, &action, &m_previousTerm);
        m_installed = true;
#endif
    }

    ~InterruptWatch() {
#ifdef _WIN32
        std::signal(SIGINT, m_previousInt);
        std::signal(SIGTERM, m_previousTerm);
#else
        if (m_installed) {
            sigaction(SIGINT, &m_previousInt, nullptr);
            sigaction(SIGTERM, &m_previousTerm, nullptr);
        }
        delete m_notifier;
        if (s_pipe[0] >= 0) {
            ::close(s_pipe[0]);
            ::close(s_pipe[1]);
        }
        s_pipe[0] = s_pipe[1] = -1;
#endif
    }
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

private:
    static void Handler(int) {
#ifdef _WIN32
        s_flag = 1;
#else
        if (s_pipe[1] >= 0) {
            const char byte = 1;
            [[maybe_unused]] const auto written = ::write(s_pipe[1], &byte, 1);
        }
#endif
    }

    std::function<void()> m_onInterrupt;
#ifdef _WIN32
    using SignalHandler = void (*)(int);
    static inline volatile std::sig_atomic_t s_flag = 0;
    SignalHandler m_previousInt = SIG_DFL;
    SignalHandler m_previousTerm = SIG_DFL;
    QTimer m_poll;
#else
    static inline int s_pipe[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
    struct sigaction m_previousInt {};
    struct sigaction m_previousTerm {};
    bool m_installed = false;
#endif
};

} // namespace

ConsoleDownload::ConsoleDownload(std::ostream& err, bool errIsTerminal, const Settings& settings,
                                 std::string programDir, PortLocator locate)
    : m_err(err), m_terminal(errIsTerminal), m_settings(settings),
      m_programDir(std::move(programDir)), m_locate(std::move(locate)) {}

bool ConsoleDownload::StandardErrorIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) != 0;
#endif
}

RecordCount ConsoleDownload::runDownload(ILineSink& file, std::int16_t portNumber,
                                         std::int16_t emailOption) {
    StatusLine status(m_err, m_terminal);
    ConsoleMessages messages(m_err, status);
    QEventLoop loop;
    ConsoleView view(status, loop);
    QtSerialPort port(m_locate);
    SteadyClock clock;
    GalderProcess* engine = nullptr;
    QtTickTimer timer([&engine] {
        if (engine)
            engine->OnTick();
    });
    GalderProcess process(GalderServices{port, clock, timer, messages, view}, m_settings,
                          m_programDir);
    engine = &process;
    port.setDataReceivedHandler([&process] { process.OnDataReceived(); });
    process.Galderfhandle = &file;
    process.GalderCommPortNumber = portNumber;
    process.GalderEmailOption = emailOption;

    bool interrupted = false;
    InterruptWatch interrupt([&] {
        interrupted = true;
        process.OnCancel();
    });
    struct Unload {
        GalderProcess& process;
        ~Unload() { process.Unload(); }
    } unload{process};

    process.Load();
    if (!process.finished())
        loop.exec();
    status.finish();
    if (interrupted && process.GalderCount < 0)
        m_err << "Galder: The download was cancelled.\n" << std::flush;
    return process.GalderCount;
}

} // namespace addrix
