#include "platform/qt/QtShell.h"
#include "platform/qt/QtServices.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace addrix;

// Notes its arguments and working folder in x, then stays a while (the PATH is the test's folder).
const QByteArray kScript = "#!/bin/sh\nexec >/dev/null 2>&1\necho \"$# $(pwd)\" > x.tmp\n"
                           "/bin/mv x.tmp x\n/bin/sleep 2\n";

class QtShellTest : public QObject {
    Q_OBJECT

private slots:
    void startProgram_data() {
        QTest::addColumn<QString>("name"); // in a fresh folder, the only one on the PATH; "@": bare
        QTest::addColumn<QByteArray>("content"); // written as an executable file
        QTest::addColumn<bool>("starts");
        // In its own folder, without arguments, and not waited for.
        QTest::newRow("program") << "NorvikMgr" << kScript << true;
        QTest::newRow("missing file") << "missing" << QByteArray() << false;
        QTest::newRow("executable junk") << "junk" << QByteArray("\x01\x02junk\xff", 7) << false;
        // A bare name must not be looked up on the PATH.
        QTest::newRow("bare name on PATH") << "@NorvikMgr" << kScript << false;
        // A Windows program needs wine, even when it is marked executable.
        QTest::newRow("windows program without wine") << "NorvikMgr.exe" << kScript << false;
    }

    void startProgram() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, starts);
        QTemporaryDir dir;
        qputenv("PATH", QFile::encodeName(dir.path()));
        const QString path = name.startsWith('@') ? name.mid(1) : dir.filePath(name);
        if (!content.isEmpty()) {
            QFile file(QDir(dir.path()).filePath(path));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
            QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        }

        std::string error;
        const QDeadlineTimer notWaitedFor(1500);
        QCOMPARE(QtShell().startProgram(FromQString(path), error), starts);
        QVERIFY(!notWaitedFor.hasExpired() && error.empty() == starts);
        if (!starts)
            return;
        QFile notes(dir.filePath("x"));
        QTRY_VERIFY_WITH_TIMEOUT(notes.exists(), 5000);
        QVERIFY(notes.open(QIODevice::ReadOnly));
        QCOMPARE(notes.readAll().trimmed(),
                 "0 " + QFile::encodeName(QDir(dir.path()).canonicalPath()));
    }
};

QTEST_MAIN(QtShellTest)
#include "QtShellTest.moc"
