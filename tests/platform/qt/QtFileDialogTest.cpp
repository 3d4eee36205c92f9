#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtServices.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>

using namespace addrix;

namespace {

// Plays the user: at every tick the next step gets the modal window on top,
// and is done with it when it returns true. A window that no step expects is
// closed after a few seconds, so a fault fails the test instead of hanging it.
class ScriptedUser {
public:
    using Step = std::function<bool(QWidget*)>;
    explicit ScriptedUser(std::deque<Step> steps) : m_steps(std::move(steps)) {
        m_sinceLastStep.start();
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            if (!m_steps.empty() && m_steps.front()(modal)) {
                m_steps.pop_front();
                m_sinceLastStep.restart();
            } else if (m_sinceLastStep.elapsed() > 5000) {
                modal->close();
            }
        });
        m_timer.start(10);
    }
    bool finished() const { return m_steps.empty(); }

private:
    std::deque<Step> m_steps;
    QTimer m_timer;
    QElapsedTimer m_sinceLastStep;
};

// Types `text` into the file dialog's name box and presses its OK button.
ScriptedUser::Step Choose(const QString& text) {
    return [text](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog)
            return false;
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!edit)
            return false;
        edit->setText(text);
        static_cast<QDialog*>(dialog)->accept(); // the OK button
        return true;
    };
}

ScriptedUser::Step Cancel() {
    return [](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog)
            dialog->reject();
        return dialog != nullptr;
    };
}

struct SeenDialog {
    QString title;
    QString directory;
    QString nameBox;
    QStringList filters;
    QString suffix;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
};

ScriptedUser::Step Look(SeenDialog& seen) {
    return [&seen](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog)
            return false;
        seen.title = dialog->windowTitle();
        seen.directory = dialog->directory().absolutePath();
        if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            seen.nameBox = edit->text();
        seen.filters = dialog->nameFilters();
        seen.suffix = dialog->defaultSuffix();
        seen.mode = dialog->acceptMode();
        return true;
    };
}

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

class QtFileDialogTest : public QObject {
    Q_OBJECT

private slots:
    void nameFilters_data();
    void nameFilters();
    void chosenPathAcceptable();
    void saveDialogAddsTheDefaultExtension();
    void presetFullPathGivesFolderAndName();
    void initialFileOpensInItsFolder();
    void cancelGivesNothing();
    void missingFolderIsRefusedAndShownAgain();
};

void QtFileDialogTest::nameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("csv") << "Address File (*.csv)|*.csv" << QStringList{"Address File (*.csv)"};
    QTest::newRow("no patterns shown") << "Text|*.txt;*.log" << QStringList{"Text (*.txt *.log)"};
    QTest::newRow("two pairs") << "A (*.a)|*.a|B|*.b" << QStringList{"A (*.a)", "B (*.b)"};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("description only") << "Address File" << QStringList{};
}

void QtFileDialogTest::nameFilters() {
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(QtNameFilters(FromQString(filter)), expected);
}

void QtFileDialogTest::chosenPathAcceptable() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString newFile = dir.filePath(QStringLiteral("new.csv"));
    const QString inMissing = dir.filePath(QStringLiteral("missing/new.csv"));
    QVERIFY(ChosenPathAcceptable(newFile, true));
    QVERIFY(!ChosenPathAcceptable(inMissing, true));
    QVERIFY(ChosenPathAcceptable(inMissing, false));
    QVERIFY(!ChosenPathAcceptable(QString(), false));
}

void QtFileDialogTest::saveDialogAddsTheDefaultExtension() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.title = "Select File Name";
    request.filter = "Address File (*.csv)|*.csv";
    request.defaultExtension = "csv";
    request.initialDir = FromQString(Native(dir.path()));
    request.pathMustExist = true;
    SeenDialog seen;
    ScriptedUser user({Look(seen), Choose(QStringLiteral("NorvikaddressBook"))});

    QtFileDialog dialogs;
    const auto chosen = dialogs.show(request);

    QVERIFY(user.finished());
    QCOMPARE(seen.title, QStringLiteral("Select File Name"));
    QCOMPARE(seen.mode, QFileDialog::AcceptSave);
    QCOMPARE(seen.filters, QStringList{QStringLiteral("Address File (*.csv)")});
    QCOMPARE(seen.suffix, QStringLiteral("csv"));
    QCOMPARE(seen.directory, QDir(dir.path()).absolutePath());
    QVERIFY(chosen.has_value());
    QCOMPARE(ToQString(*chosen), Native(dir.filePath(QStringLiteral("NorvikaddressBook.csv"))));
}

void QtFileDialogTest::presetFullPathGivesFolderAndName() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("backup")));
    // The backup file itself need not exist.
    const QString preset = dir.filePath(QStringLiteral("backup/addressBook.adr"));
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = "Select Ivro File";
    request.filter = "Address File (*.adr)|*.adr";
    request.defaultExtension = "adr";
    request.fileName = FromQString(Native(preset));
    request.pathMustExist = true;
    SeenDialog seen;
    ScriptedUser user({Look(seen), [](QWidget* modal) {
                           auto* dialog = qobject_cast<QFileDialog*>(modal);
                           if (dialog)
                               static_cast<QDialog*>(dialog)->accept(); // the OK button
                           return dialog != nullptr;
                       }});

    QtFileDialog dialogs;
    const auto chosen = dialogs.show(request);

    QCOMPARE(seen.mode, QFileDialog::AcceptOpen);
    QCOMPARE(seen.directory, QDir(dir.filePath(QStringLiteral("backup"))).absolutePath());
    QCOMPARE(seen.nameBox, QStringLiteral("addressBook.adr"));
    QVERIFY(chosen.has_value());
    QCOMPARE(ToQString(*chosen), Native(preset));
}

void QtFileDialogTest::initialFileOpensInItsFolder() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString program = dir.filePath(QStringLiteral("NorvikMgr.exe"));
    QFile file(program);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    FileDialogRequest request;
    request.title = "Locate NorvikMgr.exe";
    request.filter = "Program File (*.exe)|*.exe";
    request.defaultExtension = "exe";
    request.initialDir = FromQString(Native(program));
    SeenDialog seen;
    ScriptedUser user({Look(seen), Cancel()});

    QtFileDialog dialogs;
    QVERIFY(!dialogs.show(request).has_value());
    QCOMPARE(seen.directory, QDir(dir.path()).absolutePath());
    QCOMPARE(seen.nameBox, QStringLiteral("NorvikMgr.exe"));
}

void QtFileDialogTest::cancelGivesNothing() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    ScriptedUser user({Cancel()});
    QtFileDialog dialogs;
    QVERIFY(!dialogs.show(request).has_value());
    QVERIFY(user.finished());
}

void QtFileDialogTest::missingFolderIsRefusedAndShownAgain() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.defaultExtension = "csv";
    request.initialDir = FromQString(Native(dir.path()));
    request.pathMustExist = true;
    bool warned = false;
    ScriptedUser user({Choose(dir.filePath(QStringLiteral("missing/list.csv"))),
                       [&warned](QWidget* modal) {
                           auto* box = qobject_cast<QMessageBox*>(modal);
                           if (box) {
                               warned = true;
                               box->accept();
                           }
                           return box != nullptr;
                       },
                       Choose(dir.filePath(QStringLiteral("list.csv")))});

    QtFileDialog dialogs;
    const auto chosen = dialogs.show(request);

    QVERIFY(warned);
    QVERIFY(chosen.has_value());
    QCOMPARE(ToQString(*chosen), Native(dir.filePath(QStringLiteral("list.csv"))));
}

QTEST_MAIN(QtFileDialogTest)
#include "QtFileDialogTest.moc"
