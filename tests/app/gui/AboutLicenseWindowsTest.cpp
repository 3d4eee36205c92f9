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
        frmSLA agreement;
        QCOMPARE(agreement.windowTitle(), QString("Software License Agreement"));
        auto* box = agreement.findChild<QPlainTextEdit*>("txtLicense");
        const QString shown = box->toPlainText();
        // Its lines as the user sees them; ".+" is a paragraph.
        QString layout = "SOFTWARE LICENSE AGREEMENT\n\n.+\n\n.+\n\n1\\.  Definitions\\.\n";
        for (int n = 1; n <= 7; ++n)
            layout += QString("    1\\.%1 .+\n").arg(n);
        for (const char* heading :
             {"2.  Software License.", "3.  Intellectual Property Ownership.",
              "4.  Restrictions/No Modifications.", "5.  Updates.", "6.  No Warranty.",
              "7.  Limitation of Liability.", "8.  Export Rules.", "9.  Governing Law.",
              "10. General Provisions."})
            layout += "\n" + QRegularExpression::escape(heading) + ".*\n";
        QVERIFY(QRegularExpression("\\A" + layout + "\n.*rights reserved.*\n\n\\z")
                    .match(shown)
                    .hasMatch());

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
