#include "app/gui/frmSLA.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

using namespace addrix;

class AboutLicenseWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void agreementShowsTheLockedText() {
        frmSLA agreement;
        QCOMPARE(agreement.windowTitle(), QString("Software License Agreement"));
        auto* box = agreement.findChild<QPlainTextEdit*>("txtLicense");
        const QString shown = box->toPlainText();
        // Its lines as the user sees them, ending in an empty line; ".+" is a
        // paragraph, so a stray line break inside one fails the match.
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
};

QTEST_MAIN(AboutLicenseWindowsTest)
#include "AboutLicenseWindowsTest.moc"
