#include "platform/qt/QtShell.h"
#include "platform/qt/QtServices.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <string>

using namespace addrix;

namespace {

QString WriteFile(const QString& path, const QByteArray& bytes, bool executable) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner |
                        (executable ? QFile::ExeOwner : QFile::Permissions()));
    return path;
}

} // namespace

class QtShellTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
#ifdef Q_OS_WIN
        QSKIP("POSIX programs and permissions");
#endif
    }

    void refusesWhatIsNoProgram_data() {
        QTest::addColumn<QString>("name"); // below a fresh folder; "@" marks a bare name
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("executable");
        QTest::newRow("empty path") << QString() << QByteArray() << false;
        QTest::newRow("missing file") << "missing" << QByteArray() << false;
        QTest::newRow("not executable") << "plain.sh" << QByteArray("#!/bin/sh\n") << false;
        QTest::newRow("executable junk") << "junk" << QByteArray("\x01\x02junk\xff", 7) << true;
        QTest::newRow("folder") << "folder/" << QByteArray() << false;
        // A bare name must not be looked up on the PATH.
        QTest::newRow("bare name on PATH") << "@sh" << QByteArray() << false;
        // A Windows program needs wine, even when it is marked executable.
        if (QStandardPaths::findExecutable("wine").isEmpty())
            QTest::newRow("windows program")
                << "NorvikMgr.exe" << QByteArray("#!/bin/sh\ntouch started\n") << true;
    }

    void refusesWhatIsNoProgram() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, executable);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString path = name.startsWith('@') || name.isEmpty() ? name.mid(1) : dir.filePath(name);
        if (name.endsWith('/'))
            QVERIFY(QDir().mkpath(path));
        else if (!content.isEmpty())
            QVERIFY(!WriteFile(path, content, executable).isEmpty());

        std::string error;
        QVERIFY(!QtShell().startProgram(FromQString(path), error));
        QVERIFY(!error.empty());
        QTest::qWait(content.contains("touch") ? 200 : 0);
        QVERIFY(!QFile::exists(dir.filePath("started")));
    }
};

QTEST_MAIN(QtShellTest)
#include "QtShellTest.moc"
