#pragma once

#include "platform/IClock.h"
#include "platform/IFileSystem.h"
#include "platform/IMessageBox.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <string>

class QWidget;

namespace addrix {

// Program bytes to and from Qt text, at the GUI edge only.
QString ToQString(const std::string& bytes);
std::string FromQString(const QString& text);

// The running executable's folder and name, as Qt reports them.
class QtProgramLocation final : public IProgramLocation {
public:
    std::string programDir() const override;
    std::string exeName() const override;
};

// The monotonic clock of the standard library.
class SteadyClock final : public IClock {
public:
    Clock::time_point now() const override { return Clock::now(); }
};

// A QTimer that calls `onTick` on the thread that owns it.
class QtTickTimer final : public ITickTimer {
public:
    explicit QtTickTimer(std::function<void()> onTick);
    void start(std::chrono::milliseconds interval) override;
    void stop() override;
    bool isActive() const override;

private:
    QTimer m_timer;
};

// Modal QMessageBox owned by `parent` (may be null).
class QtMessageBox final : public IMessageBox {
public:
    explicit QtMessageBox(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    MsgAnswer show(const std::string& caption, const std::string& text, MsgButtons buttons,
                   MsgIcon icon) override;

private:
    QWidget* m_parent;
};

} // namespace addrix
