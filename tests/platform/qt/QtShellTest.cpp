#include "platform/qt/QtShell.h"
#include "platform/qt/QtServices.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <string>

using namespace addrix;

namespace {

QString WriteFile(const QString& path, const QByteArray& bytes, QFile::Permissions permissions) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    file.close();
    file.setPermissions(permissions);
    return path;
}

const QFile::Permissions kReadable = QFile::ReadOwner | QFile::WriteOwner;
const QFile::Permissions kExecutable = kReadable | QFile::ExeOwner;

} // namespace

class QtShellTest : public QObject {
    Q_OBJECT

private slots:
    void refusesWhatIsNoProgram_data();
    void refusesWhatIsNoProgram();
    void startsAProgramDetachedWithoutArguments();
    void windowsProgramNeedsWine();
    void emptyDocumentPathOpensNothing();
};

void QtShellTest::refusesWhatIsNoProgram_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<bool>("create");

    QTest::newRow("empty path") << QString() << QByteArray() << false << false;
    QTest::newRow("missing file") << "missing" << QByteArray() << false << false;
    QTest::newRow("not executable")
        << "plain.sh" << QByteArray("#!/bin/sh\nexit 0\n") << false << true;
    QTest::newRow("executable junk")
        << "junk" << QByteArray("\x01\x02garbage\xff", 11) << true << true;
    QTest::newRow("folder") << "folder" << QByteArray() << false << false;
    // A bare name must not be looked up on the PATH.
    QTest::newRow("bare name on PATH") << "@sh" << QByteArray() << false << false;
}

void QtShellTest::refusesWhatIsNoProgram() {
#ifdef Q_OS_WIN
    QSKIP("POSIX permissions");
#endif
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, executable);
    QFETCH(bool, create);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path;
    if (name.startsWith(QLatin1Char('@')))
        path = name.mid(1);
    else if (!name.isEmpty())
        path = dir.filePath(name);
    if (create)
        QVERIFY(!WriteFile(path, content, executable ? kExecutable : kReadable).isEmpty());
    if (name == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).mkdir(name));

    QtShell shell;
    std::string error;
    QVERIFY(!shell.startProgram(FromQString(path), error));
    QVERIFY(!error.empty());
}

void QtShellTest::startsAProgramDetachedWithoutArguments() {
#ifdef Q_OS_WIN
    QSKIP("shell script");
#endif
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The script reports its argument count and working folder, then stays
    // alive a moment: the start must not wait for it. It lets go of the test's
    // output first, so the test runner does not wait for it either.
    const QString marker = dir.filePath(QStringLiteral("marker"));
    const QString script =
        WriteFile(dir.filePath(QStringLiteral("NorvikMgr")),
                  QByteArray("#!/bin/sh\nexec >/dev/null 2>&1\necho \"$# $(pwd)\" > marker.tmp\nmv "
                             "marker.tmp marker\nsleep 2\n"),
                  kExecutable);
    QVERIFY(!script.isEmpty());

    QtShell shell;
    std::string error;
    QElapsedTimer timer;
    timer.start();
    QVERIFY2(shell.startProgram(FromQString(script), error), error.c_str());
    QVERIFY(timer.elapsed() < 1500);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 5000);

    QFile file(marker);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString report = QString::fromLocal8Bit(file.readAll()).trimmed();
    QCOMPARE(report, QStringLiteral("0 ") + QDir(dir.path()).canonicalPath());
}

void QtShellTest::windowsProgramNeedsWine() {
#ifdef Q_OS_WIN
    QSKIP("runs by itself on Windows");
#endif
    if (!QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty())
        QSKIP("wine is installed here");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // Even an executable file is not started when it is a Windows program.
    const QString exe = WriteFile(dir.filePath(QStringLiteral("NorvikMgr.exe")),
                                  QByteArray("#!/bin/sh\ntouch started\n"), kExecutable);
    QtShell shell;
    std::string error;
    QVERIFY(!shell.startProgram(FromQString(exe), error));
    QVERIFY(QString::fromStdString(error).contains(QLatin1String("wine")));
    QTest::qWait(200);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("started"))));
}

void QtShellTest::emptyDocumentPathOpensNothing() {
    QtShell shell;
    QVERIFY(!shell.openDocument(std::string()));
}

QTEST_MAIN(QtShellTest)
#include "QtShellTest.moc"
