#include "app/gui/Twips.h"
#include "app/gui/frmAbout.h"
#include "app/gui/frmSLA.h"
#include "app/logic/LicenseAgreement.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using namespace addrix;

class AboutLicenseWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void aboutWindow() {
        QWidget owner;
        owner.setGeometry(100, 80, 700, 500);
        owner.show();
        QPointer<frmAbout> about = ShowAboutWindow(&owner);
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QCOMPARE(about->windowTitle(), QString("About Addrix"));
        QCOMPARE(about->findChild<QLabel*>("lblTitle")->text(), QString("Addrix"));
        QCOMPARE(about->findChild<QLabel*>("lblVersion")->text(),
                 QString("Version 2.0.0    14-Sep-2016"));
        auto* text = about->findChild<QPlainTextEdit*>("Text1");
        QCOMPARE(text->toPlainText(),
                 QString("Halvern Inc. Addrix Program \nfor the Wexley Norvik Device.\n"));
        QVERIFY(text->isReadOnly() && text->frameShape() == QFrame::NoFrame);
        QCOMPARE(text->palette().color(QPalette::Base), about->palette().color(QPalette::Window));
        QVERIFY(!about->findChild<QLabel*>("Image1")->pixmap().isNull());

        // A fixed window, not modal, centred on its owner.
        QVERIFY(!about->isModal());
        QCOMPARE(about->size(), TwipsSize(5715, 2985));
        QCOMPARE(about->minimumSize(), about->maximumSize());
        const QPoint offset = about->frameGeometry().center() - owner.frameGeometry().center();
        QVERIFY(offset.manhattanLength() <= 4);

        // Opened once; OK unloads it, and the next selection makes a fresh one.
        QCOMPARE(ShowAboutWindow(&owner), about.data());
        QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(about.isNull());
        QVERIFY(owner.findChildren<frmAbout*>().isEmpty());
        const QPointer<frmAbout> fresh = ShowAboutWindow(&owner);
        QVERIFY(fresh && fresh->isVisible());
        delete fresh;
    }

    void agreementShowsTheLockedText() {
        frmSLA agreement;
        QCOMPARE(agreement.windowTitle(), QString("Software License Agreement"));
        QCOMPARE(agreement.size(), TwipsSize(5460, 5640));
        auto* box = agreement.findChild<QPlainTextEdit*>("txtLicense");
        QString expected = QString::fromStdString(LicenseAgreementText());
        expected.replace("\r\n", "\n");
        QCOMPARE(box->toPlainText(), expected);
        QCOMPARE(box->pos(), QPoint(0, 0));
        agreement.show();
        QVERIFY(QTest::qWaitForWindowExposed(&agreement));
        box->setFocus();
        QTest::keyClicks(box, "xyz");
        QCOMPARE(box->toPlainText(), expected);
        // The long text wraps and scrolls vertically, never sideways.
        QVERIFY(box->verticalScrollBar()->isVisible());
        QVERIFY(box->verticalScrollBar()->maximum() > 0);
        QCOMPARE(box->horizontalScrollBar()->maximum(), 0);
    }

    // The box keeps 200 twips of the outer width and 600 of the outer height
    // uncovered; a size that would come out negative is not applied.
    void agreementBoxFollowsTheWindow_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("keepsWidth");
        QTest::addColumn<bool>("keepsHeight");
        QTest::newRow("enlarged") << QSize(800, 700) << false << false;
        QTest::newRow("narrow") << QSize(8, 500) << true << false;
        QTest::newRow("low") << QSize(500, 30) << false << true;
        QTest::newRow("tiny") << QSize(8, 30) << true << true;
    }

    void agreementBoxFollowsTheWindow() {
        QFETCH(QSize, size);
        QFETCH(bool, keepsWidth);
        QFETCH(bool, keepsHeight);
        frmSLA agreement;
        agreement.setMinimumSize(1, 1);
        agreement.show();
        QVERIFY(QTest::qWaitForWindowExposed(&agreement));
        auto* box = agreement.findChild<QPlainTextEdit*>("txtLicense");
        const auto fitted = [&](int outer, int margin) {
            return Twips(PixelsToTwips(outer) - margin);
        };
        QSize outer = agreement.frameGeometry().size();
        const QSize before = box->size();
        QCOMPARE(before, QSize(fitted(outer.width(), 200), fitted(outer.height(), 600)));

        agreement.resize(size);
        QTRY_COMPARE(agreement.size(), size);
        outer = agreement.frameGeometry().size();
        QCOMPARE(PixelsToTwips(outer.width()) < 200, keepsWidth);
        QCOMPARE(PixelsToTwips(outer.height()) < 600, keepsHeight);
        QCOMPARE(box->size(), QSize(keepsWidth ? before.width() : fitted(outer.width(), 200),
                                    keepsHeight ? before.height() : fitted(outer.height(), 600)));
    }
};

QTEST_MAIN(AboutLicenseWindowsTest)
#include "AboutLicenseWindowsTest.moc"
