#include "platform/qt/QtServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

namespace addrix {

QString ToQString(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string FromQString(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
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

MsgAnswer QtMessageBox::show(const std::string& caption, const std::string& text,
                             MsgButtons buttons, MsgIcon icon) {
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
    case MsgIcon::None:
        break;
    case MsgIcon::Critical:
        qicon = QMessageBox::Critical;
        break;
    case MsgIcon::Question:
        qicon = QMessageBox::Question;
        break;
    case MsgIcon::Warning:
        qicon = QMessageBox::Warning;
        break;
    case MsgIcon::Information:
        qicon = QMessageBox::Information;
        break;
    }
    QString body = ToQString(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(qicon, ToQString(caption), body,
                    buttons == MsgButtons::YesNo ? (QMessageBox::Yes | QMessageBox::No)
                                                 : QMessageBox::Ok,
                    m_parent);
    const int answer = box.exec();
    if (buttons == MsgButtons::YesNo)
        return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
    return MsgAnswer::Ok;
}

} // namespace addrix
