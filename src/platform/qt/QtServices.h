#pragma once

#include "platform/IClock.h"
#include "platform/IFileSystem.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <string>

namespace addrix {

// Program bytes to and from Qt text, at the GUI edge only.
QString ToQString(const std::string& bytes);
std::string FromQString(const QString& text);
// Bytes in the Windows-1252 code page, the one the address books come from.
QString FromWindows1252(const std::string& bytes);
// Text for a label or a box: the program's bytes, its CR LF breaks as line feeds.
QString ToDisplayText(const std::string& bytes);

// The running executable's folder and name, as Qt reports them.
class QtProgramLocation final : public IProgramLocation {
public:
    std::string programDir() const override;
    std::string exeName() const override;
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

} // namespace addrix
