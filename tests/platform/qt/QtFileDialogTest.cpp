#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtServices.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace addrix;

namespace {

// Plays the user of the file dialog: notes what the first showing offers,
// then at each showing types the next of `typed` into the name box and
// presses OK ("" OK as it is, "cancel" Cancel); message boxes are counted
// and closed. A dialog left with nothing to type is closed after a few
// seconds, so a fault fails the test instead of hanging it.
class FileDialogUser {
public:
    explicit FileDialogUser(QStringList typed) : m_typed(std::move(typed)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { act(); });
        m_timer.start(10);
    }
    QStringList seen; // folder, name box, and title, filter, suffix and kind
    int warnings = 0;
    bool finished() const { return m_typed.isEmpty(); }

private:
    void act() {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        auto* edit = modal ? modal->findChild<QLineEdit*>("fileNameEdit") : nullptr;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            ++warnings;
            box->accept();
        } else if (dialog && edit && !m_typed.isEmpty()) {
            if (seen.isEmpty())
                seen = {dialog->directory().absolutePath(), edit->text(),
                        dialog->windowTitle() + " " + dialog->nameFilters().join(';') + " " +
                            dialog->defaultSuffix() +
                            (dialog->acceptMode() == QFileDialog::AcceptSave ? " save" : " open")};
            const QString text = m_typed.takeFirst();
            if (text == "cancel") {
                dialog->reject();
                return;
            }
            if (!text.isEmpty())
                edit->setText(text);
            static_cast<QDialog*>(dialog)->accept(); // the OK button
        } else if (modal && ++m_idleTicks > 500) {
            modal->close();
        }
    }

    QStringList m_typed;
    QTimer m_timer;
    int m_idleTicks = 0;
};

} // namespace

class QtFileDialogTest : public QObject {
    Q_OBJECT

private slots:
    void nameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("csv") << "Address File (*.csv)|*.csv" << QStringList{"Address File (*.csv)"};
        QTest::newRow("no patterns shown")
            << "Text|*.txt;*.log" << QStringList{"Text (*.txt *.log)"};
        QTest::newRow("two pairs") << "A (*.a)|*.a|B|*.b" << QStringList{"A (*.a)", "B (*.b)"};
        QTest::newRow("description only") << "Address File" << QStringList{};
    }

    void nameFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(QtNameFilters(FromQString(filter)), expected);
    }

    // Paths below a fresh folder, which holds backup/ and NorvikMgr.exe.
    void showsTheRequestAndReturnsTheChoice_data() {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("initialDir");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("folderShown");
        QTest::addColumn<QString>("nameShown");
        QTest::addColumn<QString>("chosen"); // null: nothing
        QTest::newRow("save adds the extension") << true << "."
                                                 << "" << QStringList{"book"} << "."
                                                 << ""
                                                 << "book.csv";
        QTest::newRow("preset path gives folder and name")
            << false << ""
            << "backup/book.adr" << QStringList{""} << "backup"
            << "book.adr"
            << "backup/book.adr";
        QTest::newRow("initial file opens in its folder, cancelled")
            << false << "NorvikMgr.exe"
            << "" << QStringList{"cancel"} << "."
            << "NorvikMgr.exe" << QString();
        QTest::newRow("initial folder before the preset's")
            << false << "."
            << "backup/list.csv" << QStringList{""} << "."
            << "list.csv"
            << "list.csv";
        // The path must exist: a missing folder is refused and the dialog shown again.
        QTest::newRow("missing folder refused")
            << true << "."
            << "" << QStringList{"missing/list.csv", "list.csv"} << "."
            << ""
            << "list.csv";
    }

    void showsTheRequestAndReturnsTheChoice() {
        QFETCH(bool, save);
        QFETCH(QString, initialDir);
        QFETCH(QString, fileName);
        QFETCH(QStringList, typed);
        QFETCH(QString, folderShown);
        QFETCH(QString, nameShown);
        QFETCH(QString, chosen);
        QTemporaryDir dir;
        QVERIFY(dir.isValid() && QDir(dir.path()).mkdir("backup"));
        QFile program(dir.filePath("NorvikMgr.exe"));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.close();
        const auto native = [&dir](const QString& path) {
            return path.isEmpty() ? std::string()
                                  : FromQString(QDir::toNativeSeparators(dir.filePath(path)));
        };
        FileDialogRequest request;
        request.kind = save ? FileDialogRequest::Kind::Save : FileDialogRequest::Kind::Open;
        request.title = "Select File Name";
        request.filter = "Address File (*.csv)|*.csv";
        request.defaultExtension = "csv";
        request.initialDir = native(initialDir);
        request.fileName = native(fileName);
        request.pathMustExist = true;
        FileDialogUser user(typed);

        const std::optional<std::string> result = QtFileDialog().show(request);
        QVERIFY(user.finished());
        QCOMPARE(user.warnings, typed.size() - 1);
        QCOMPARE(user.seen, (QStringList{QDir::cleanPath(dir.filePath(folderShown)), nameShown,
                                         QString("Select File Name Address File (*.csv) csv ") +
                                             (save ? "save" : "open")}));
        QCOMPARE(result.value_or("<none>"), chosen.isNull() ? "<none>" : native(chosen));
    }
};

QTEST_MAIN(QtFileDialogTest)
#include "QtFileDialogTest.moc"
