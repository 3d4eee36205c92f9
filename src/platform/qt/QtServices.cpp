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

QString FromWindows1252(const std::string& bytes) {
    // 0x80 to 0x9F differ from Latin-1; 0 marks the five unassigned ones.
    static const char16_t kHigh[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const char16_t high = byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : 0;
        text += QChar(high ? high : byte);
    }
    return text;
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
