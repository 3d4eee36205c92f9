#include "platform/qt/QtShell.h"
#include "platform/qt/QtServices.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace addrix;

// What the shell refuses to start; a program that starts, in its own folder
// and without arguments, is the wizard's launch test.
class QtShellTest : public QObject {
    Q_OBJECT

private slots:
    void refusesWhatIsNoProgram_data() {
        QTest::addColumn<QString>("name");       // below a fresh folder; "@" marks a bare name
        QTest::addColumn<QByteArray>("content"); // written as an executable file
        QTest::newRow("empty path") << "@" << QByteArray();
        QTest::newRow("missing file") << "missing" << QByteArray();
        QTest::newRow("folder") << "folder/" << QByteArray();
        QTest::newRow("executable junk") << "junk" << QByteArray("\x01\x02junk\xff", 7);
        // A bare name must not be looked up on the PATH.
        QTest::newRow("bare name on PATH") << "@sh" << QByteArray();
        // A Windows program needs wine, even when it is marked executable.
        if (QStandardPaths::findExecutable("wine").isEmpty())
            QTest::newRow("windows program")
                << "NorvikMgr.exe" << QByteArray("#!/bin/sh\ntouch x\n");
    }

    void refusesWhatIsNoProgram() {
#ifdef Q_OS_WIN
        QSKIP("POSIX programs and permissions");
#endif
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = name.startsWith('@') ? name.mid(1) : dir.filePath(name);
        QFile file(path);
        QVERIFY(name.endsWith('/') ? QDir().mkpath(path)
                                   : content.isEmpty() || (file.open(QIODevice::WriteOnly) &&
                                                           file.write(content) == content.size()));
        file.close();
        QVERIFY(content.isEmpty() || file.setPermissions(QFile::ReadOwner | QFile::ExeOwner));

        std::string error;
        QVERIFY(!QtShell().startProgram(FromQString(path), error) && !error.empty());
        QTest::qWait(content.contains("touch") ? 200 : 0);
        QVERIFY(!QFile::exists(dir.filePath("x")));
    }
};

QTEST_MAIN(QtShellTest)
#include "QtShellTest.moc"
