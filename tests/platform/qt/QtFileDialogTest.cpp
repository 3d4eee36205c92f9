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
    // Paths below a fresh folder, which holds backup/ and NorvikMgr.exe.
    // `request`: kind, initial folder, preset name; `typed`: what the user
    // types before OK, in turn ("cancel": Cancel); `shown`: the folder and
    // name box the dialog opens with; `chosen`: the result (null: none).
    void showsTheRequestAndReturnsTheChoice_data() {
        QTest::addColumn<QStringList>("request");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("chosen");
        // A missing folder is refused and the dialog shown again; the folder the
        // user typed in the window comes before the last choice's.
        QTest::newRow("missing folder refused, extension added, initial folder first")
            << QStringList{"save", ".", "backup/list.csv"}
            << QStringList{"missing/list.csv", "book"} << ".|list.csv"
            << "book.csv";
        QTest::newRow("preset path gives folder and name")
            << QStringList{"open", "", "backup/book.adr"} << QStringList{""} << "backup|book.adr"
            << "backup/book.adr";
        QTest::newRow("initial file opens in its folder, cancelled")
            << QStringList{"open", "NorvikMgr.exe", ""} << QStringList{"cancel"}
            << ".|NorvikMgr.exe" << QString();
    }

    void showsTheRequestAndReturnsTheChoice() {
        QFETCH(QStringList, request);
        QFETCH(QStringList, typed);
        QFETCH(QString, shown);
        QFETCH(QString, chosen);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("backup") &&
                QFile(dir.filePath("NorvikMgr.exe")).open(QIODevice::WriteOnly));
        const auto native = [&dir](const QString& path) {
            return path.isEmpty() ? std::string()
                                  : FromQString(QDir::toNativeSeparators(dir.filePath(path)));
        };
        // The user: accepts each warning, notes what the first dialog offers.
        QString seen;
        const int warningsDue = int(typed.size()) - 1;
        int warnings = 0;
        QTimer user;
        connect(&user, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                ++warnings;
                return box->accept();
            }
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog)
                return;
            auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
            if (seen.isNull())
                seen = dialog->directory().absolutePath() + "|" + edit->text() + "|" +
                       dialog->nameFilters().join(';') +
                       (dialog->acceptMode() == QFileDialog::AcceptSave ? "|save" : "|open");
            const QString text = typed.isEmpty() ? "cancel" : typed.takeFirst();
            if (text == "cancel")
                return dialog->reject();
            if (!text.isEmpty())
                edit->setText(text);
            static_cast<QDialog*>(dialog)->accept(); // the OK button
        });
        user.start(10);

        using Kind = FileDialogRequest::Kind;
        const std::optional<std::string> result = QtFileDialog().show(
            {request[0] == "save" ? Kind::Save : Kind::Open, "Select File Name",
             "Address File (*.csv)|*.csv", "csv", native(request[1]), native(request[2]), true});
        QCOMPARE(warnings, warningsDue);
        QCOMPARE(seen, QDir::cleanPath(dir.filePath(shown.section('|', 0, 0))) + "|" +
                           shown.section('|', 1) + "|Address File (*.csv)|" + request[0]);
        QCOMPARE(result.value_or("<none>"), chosen.isNull() ? "<none>" : native(chosen));
    }
};

QTEST_MAIN(QtFileDialogTest)
#include "QtFileDialogTest.moc"
