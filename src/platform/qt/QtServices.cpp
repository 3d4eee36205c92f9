#include "platform/qt/QtServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace addrix {

QString ToQString(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string FromQString(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString ToDisplayText(const std::string& bytes) {
    QString text = ToQString(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string QtProgramLocation::programDir() const {
    return FromQString(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
}

std::string QtProgramLocation::exeName() const {
    return FromQString(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
}

QtTickTimer::QtTickTimer(std::function<void()> onTick) {
    QObject::connect(&m_timer, &QTimer::timeout, [tick = std::move(onTick)] { tick(); });
}

void QtTickTimer::start(std::chrono::milliseconds interval) {
    m_timer.start(static_cast<int>(interval.count()));
}

void QtTickTimer::stop() {
    m_timer.stop();
}

bool QtTickTimer::isActive() const {
    return m_timer.isActive();
}

} // namespace addrix
