#include "app/gui/frmSLA.h"
#include "wizard/LicenseAgreement.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

using namespace addrix;

class AboutLicenseWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void agreementShowsTheLockedText() {
        // Paragraphs joined by CR LF, with no line break of another kind, and
        // the text ending in an empty line.
        const QString text = QString::fromStdString(LicenseAgreementText());
        QVERIFY(text.endsWith(".\r\n\r\n"));
        QCOMPARE(QString(text).remove("\r\n").indexOf(QRegularExpression("[\r\n]")), -1);
        // How each line begins: "" an empty line, "*" any text.
        const QStringList starts =
            QString("SOFTWARE LICENSE AGREEMENT\n\n*\n\n*\n\n1.  Definitions.\n    1.1 \n    1.2 \n"
                    "    1.3 \n    1.4 \n    1.5 \n    1.6 \n    1.7 \n\n2.  Software License.\n\n"
                    "3.  Intellectual Property Ownership.\n\n4.  Restrictions/No Modifications.\n\n"
                    "5.  Updates.\n\n6.  No Warranty.\n\n7.  Limitation of Liability.\n\n"
                    "8.  Export Rules.\n\n9.  Governing Law.\n\n10. General Provisions.\n\n*\n\n")
                .split('\n');

        frmSLA agreement;
        QCOMPARE(agreement.windowTitle(), QString("Software License Agreement"));
        auto* box = agreement.findChild<QPlainTextEdit*>("txtLicense");
        const QString shown = box->toPlainText();
        QStringList lines;
        for (const QString& line : shown.split('\n')) {
            const QString& start = starts.value(lines.size(), "?");
            lines << (line.isEmpty() ? "" : start == "*" ? "*" : line.left(qMax(1, start.size())));
        }
        QCOMPARE(lines, starts);
        QVERIFY(shown.contains("rights reserved"));

        // Locked against editing; the long text wraps and scrolls vertically.
        agreement.show();
        QVERIFY(QTest::qWaitForWindowExposed(&agreement));
        box->setFocus();
        QTest::keyClicks(box, "xyz");
        QCOMPARE(box->toPlainText(), shown);
        QVERIFY(box->verticalScrollBar()->isVisible() && box->verticalScrollBar()->maximum() > 0);
        QCOMPARE(box->horizontalScrollBar()->maximum(), 0);
    }

    // The box follows the window inside its margins; a window too small for
    // them leaves the box as it was rather than giving it a negative size.
    void agreementBoxFollowsTheWindow() {
        frmSLA agreement;
        agreement.setMinimumSize(1, 1);
        agreement.show();
        QVERIFY(QTest::qWaitForWindowExposed(&agreement));
        auto* box = agreement.findChild<QPlainTextEdit*>("txtLicense");
        agreement.resize(800, 700);
        QTRY_COMPARE(agreement.size(), QSize(800, 700));
        const QSize large = box->size();
        QVERIFY(agreement.rect().contains(box->geometry()) && large.width() > 700);
        agreement.resize(8, 30);
        QTRY_COMPARE(agreement.size(), QSize(8, 30));
        QCOMPARE(box->size(), large);
    }
};

QTEST_MAIN(AboutLicenseWindowsTest)
#include "AboutLicenseWindowsTest.moc"
