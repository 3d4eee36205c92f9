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
        // Sections 2 to 10, each after an empty line, numbers aligned.
        for (int n = 2; n <= 10; ++n)
            layout += QString("\n%1\\.%2[A-Z].*\n").arg(n).arg(n < 10 ? "  " : " ");
        QVERIFY(QRegularExpression("\\A" + layout + "\n.*rights reserved.*\n\n\\z")
                    .match(shown)
                    .hasMatch());

        // Locked against editing; the long text wraps and scrolls vertically.
        agreement.show();
        box->setFocus();
        QTest::keyClicks(box, "xyz");
        QCOMPARE(box->toPlainText(), shown);
        QVERIFY(box->verticalScrollBar()->isVisible() && box->verticalScrollBar()->maximum() > 0);
        QCOMPARE(box->horizontalScrollBar()->maximum(), 0);
    }
};

QTEST_MAIN(AboutLicenseWindowsTest)
#include "AboutLicenseWindowsTest.moc"
