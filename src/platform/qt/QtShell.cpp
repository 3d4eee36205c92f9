#include "platform/qt/QtShell.h"

#include "platform/qt/QtServices.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace addrix {

bool QtShell::openDocument(const std::string& path) {
    if (path.empty())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(path)));
}

bool QtShell::startProgram(const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "No program named.";
        return false;
    }
    const QString program = ToQString(path);
    const QFileInfo info(program);
    if (!info.exists()) {
        error = "No such file: " + path;
        return false;
    }
    if (!info.isFile()) {
        error = "Not a program file: " + path;
        return false;
    }

    // Always the absolute path: a bare name would be looked up on the PATH.
    QString command = info.absoluteFilePath();
    QStringList arguments;
#ifdef _WIN32
    const bool windowsProgram = false; // runs by itself
#else
    const bool windowsProgram = program.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive);
#endif
    if (windowsProgram) {
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty()) {
            error = "Windows programs cannot run here: wine is not installed.";
            return false;
        }
        arguments << command;
        command = wine;
    } else if (!info.isExecutable()) {
        error = "Not a program: " + path;
        return false;
    }

    // The program's own folder is its working folder, as it may look for its
    // files beside itself.
    if (!QProcess::startDetached(command, arguments, info.absolutePath())) {
        error = "The program could not be started: " + path;
        return false;
    }
    return true;
}

} // namespace addrix
