#include "app/cli/ConsoleDownload.h"

#include "app/cli/ConsoleMessageBox.h"
#include "app/galder/GalderRun.h"
#include "platform/InterruptSignal.h"

#include <QEventLoop>

#include <functional>
#include <ostream>

#include <QSocketNotifier>
#include <QTimer>

#include <optional>

#ifdef _WIN32
#include <io.h>
#include <stdio.h>
#else
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
        const auto deliver = [this] {
            if (m_signal.takePending())
                m_onInterrupt();
        };
        if (m_signal.readableDescriptor() >= 0) {
            m_notifier.emplace(m_signal.readableDescriptor(), QSocketNotifier::Read);
            QObject::connect(&*m_notifier, &QSocketNotifier::activated, deliver);
        } else {
            QObject::connect(&m_poll, &QTimer::timeout, deliver);
            m_poll.start(100);
        }
    }

private:
    std::function<void()> m_onInterrupt;
    InterruptSignal m_signal;
    std::optional<QSocketNotifier> m_notifier;
    QTimer m_poll;
};

} // namespace

ConsoleDownload::ConsoleDownload(std::ostream& err, bool errIsTerminal, PortLocator locate,
                                 std::string traceFile)
    : m_err(err), m_terminal(errIsTerminal), m_locate(std::move(locate)),
      m_traceFile(std::move(traceFile)) {}

bool ConsoleDownload::StandardErrorIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) != 0;
#endif
}

RecordCount ConsoleDownload::runDownload(ILineSink& file, const GalderDownload& download) {
    StatusLine status(m_err, m_terminal);
    ConsoleMessages messages(m_err, status);
    QEventLoop loop;
    ConsoleView view(status, loop);
    GalderRun run(messages, view, m_locate, m_traceFile);

    bool interrupted = false;
    InterruptWatch interrupt([&] {
        interrupted = true;
        run.process().OnCancel();
    });
    const std::int16_t count = run.run(file, download, [&loop] { loop.exec(); });
    status.finish();
    if (interrupted && count < 0)
        m_err << "Galder: The download was cancelled.\n" << std::flush;
    return count;
}

} // namespace addrix
