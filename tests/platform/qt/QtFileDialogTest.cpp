#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtServices.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace addrix;

class QtFileDialogTest : public QObject {
    Q_OBJECT

private slots:
    // Qt's own dialog, which the test drives, also where the system has one.
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    // Paths below a fresh folder that holds backup/ and NorvikMgr.exe.
    void showsTheRequestAndReturnsTheChoice_data() {
        QTest::addColumn<QStringList>("request"); // kind, initial folder, preset name
        QTest::addColumn<QString>("shown");       // the first folder and name box, each warning
        QTest::addColumn<QStringList>("typed");   // before each OK, in turn; then Cancel
        QTest::addColumn<QString>("chosen");      // the result (null: none)
        QTest::newRow("missing folder refused, extension added, initial folder first")
            << QStringList{"save", ".", "backup/list.csv"} << ".|list.csv|warned"
            << QStringList{"missing/list.csv", "book"} << "book.csv";
        QTest::newRow("preset path gives folder and name")
            << QStringList{"open", "", "backup/book.adr"} << "backup|book.adr"
            << QStringList{"book.adr"} << "backup/book.adr";
        QTest::newRow("initial file opens in its folder, cancelled")
            << QStringList{"open", "NorvikMgr.exe", ""} << ".|NorvikMgr.exe" << QStringList()
            << QString();
    }

    void showsTheRequestAndReturnsTheChoice() {
        QFETCH(QStringList, request);
        QFETCH(QString, shown);
        QFETCH(QStringList, typed);
        QFETCH(QString, chosen);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("backup") &&
                QFile(dir.filePath("NorvikMgr.exe")).open(QIODevice::WriteOnly));
        const auto native = [&dir](const QString& path) {
            return path.isEmpty() ? "" : FromQString(QDir::toNativeSeparators(dir.filePath(path)));
        };
        // The user: notes what the first dialog offers and each warning it accepts.
        QString seen;
        QTimer user;
        connect(&user, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                seen += "|warned";
                return box->accept();
            }
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog)
                return;
            auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
            if (seen.isNull())
                seen = (dialog->acceptMode() == QFileDialog::AcceptSave ? "save|" : "open|") +
                       dialog->nameFilters().join(';') + "|" +
                       QDir(dir.path()).relativeFilePath(dialog->directory().absolutePath()) + "|" +
                       edit->text();
            if (typed.isEmpty())
                return dialog->reject(); // Cancel
            edit->setText(typed.takeFirst());
            static_cast<QDialog*>(dialog)->accept(); // the OK button
        });
        user.start(10);

        const std::optional<std::string> result = QtFileDialog().show(
            {request[0] == "save" ? FileDialogRequest::Kind::Save : FileDialogRequest::Kind::Open,
             "Select File Name", "Address File (*.csv)|*.csv", "csv", native(request[1]),
             native(request[2]), true});
        QCOMPARE(seen, request[0] + "|Address File (*.csv)|" + shown);
        QCOMPARE(result.value_or("<none>"), chosen.isNull() ? "<none>" : native(chosen));
    }
};

QTEST_MAIN(QtFileDialogTest)
#include "QtFileDialogTest.moc"
