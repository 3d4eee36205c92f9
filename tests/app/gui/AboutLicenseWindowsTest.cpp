#include "app/gui/Twips.h"
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

    // The box keeps 200 twips of the outer width and 600 of the outer height
    // uncovered; a size that would come out negative is not applied.
    void agreementBoxFollowsTheWindow() {
        frmSLA agreement;
        agreement.setMinimumSize(1, 1);
        agreement.show();
        QVERIFY(QTest::qWaitForWindowExposed(&agreement));
        auto* box = agreement.findChild<QPlainTextEdit*>("txtLicense");
        const auto fitted = [&] {
            const QSize outer = agreement.frameGeometry().size();
            return QSize(Twips(PixelsToTwips(outer.width()) - 200),
                         Twips(PixelsToTwips(outer.height()) - 600));
        };
        QCOMPARE(box->size(), fitted());
        const struct {
            QSize size;
            bool keepsWidth, keepsHeight;
        } steps[] = {{{800, 700}, false, false},
                     {{8, 500}, true, false},
                     {{500, 30}, false, true},
                     {{8, 30}, true, true}};
        for (const auto& step : steps) {
            const QSize before = box->size();
            agreement.resize(step.size);
            QTRY_COMPARE(agreement.size(), step.size);
            QCOMPARE(box->size(), QSize(step.keepsWidth ? before.width() : fitted().width(),
                                        step.keepsHeight ? before.height() : fitted().height()));
        }
    }
};

QTEST_MAIN(AboutLicenseWindowsTest)
#include "AboutLicenseWindowsTest.moc"
