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
#include <QTimer>

using namespace addrix;

class AboutLicenseWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void aboutShowsTitleVersionAndText();
    void aboutIsFixedModelessAndCentred();
    void aboutOpensOnceAndOkUnloadsIt();
    void agreementShowsTheLockedText();
    void agreementBoxFollowsTheWindow_data();
    void agreementBoxFollowsTheWindow();
    void agreementIsModalAndOwned();
};

void AboutLicenseWindowsTest::cleanup() {
    // No window may outlive its test.
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void AboutLicenseWindowsTest::aboutShowsTitleVersionAndText() {
    frmAbout about;
    QCOMPARE(about.objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(about.windowTitle(), QStringLiteral("About Addrix"));
    QCOMPARE(about.findChild<QLabel*>("lblTitle")->text(), QStringLiteral("Addrix"));
    QCOMPARE(about.findChild<QLabel*>("lblVersion")->text(),
             QStringLiteral("Version 2.0.0    14-Sep-2016"));
    auto* text = about.findChild<QPlainTextEdit*>("Text1");
    QVERIFY(text);
    QCOMPARE(text->toPlainText(),
             QStringLiteral("Halvern Inc. Addrix Program \nfor the Wexley Norvik Device.\n"));
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->frameShape(), QFrame::NoFrame);
    QCOMPARE(text->palette().color(QPalette::Base), about.palette().color(QPalette::Window));
    QCOMPARE(about.findChildren<QFrame*>("Line1").size(), 2);
    QVERIFY(about.findChild<QLabel*>("lblDisclaimer")->text().isEmpty());
    QVERIFY(about.findChild<QLabel*>("Image1"));
    QVERIFY(!about.findChild<QLabel*>("Image1")->pixmap().isNull());
    QCOMPARE(about.findChild<QPushButton*>("cmdOK")->text(), QStringLiteral("OK"));
}

void AboutLicenseWindowsTest::aboutIsFixedModelessAndCentred() {
    QWidget owner;
    owner.setGeometry(100, 80, 700, 500);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));

    QPointer<frmAbout> about = ShowAboutWindow(&owner);
    QVERIFY(about);
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QVERIFY(!about->isModal());
    QCOMPARE(about->size(), QSize(Twips(5715), Twips(2985)));
    QCOMPARE(about->minimumSize(), about->maximumSize());
    const QPoint offset = about->frameGeometry().center() - owner.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 4,
             qPrintable(QStringLiteral("off centre by %1,%2").arg(offset.x()).arg(offset.y())));
    delete about;
}

void AboutLicenseWindowsTest::aboutOpensOnceAndOkUnloadsIt() {
    QWidget owner;
    owner.show();
    QPointer<frmAbout> first = ShowAboutWindow(&owner);
    QPointer<frmAbout> second = ShowAboutWindow(&owner);
    QCOMPARE(first.data(), second.data());
    QCOMPARE(owner.findChildren<frmAbout*>().size(), 1);

    QTest::mouseClick(first->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(first.isNull());

    // The next selection makes a fresh window.
    QPointer<frmAbout> third = ShowAboutWindow(&owner);
    QVERIFY(third);
    QVERIFY(third->isVisible());
    delete third;
}

void AboutLicenseWindowsTest::agreementShowsTheLockedText() {
    frmSLA agreement;
    QCOMPARE(agreement.objectName(), QStringLiteral("frmSLA"));
    QCOMPARE(agreement.windowTitle(), QStringLiteral("Software License Agreement"));
    auto* box = agreement.findChild<QPlainTextEdit*>("txtLicense");
    QVERIFY(box);
    QString expected = QString::fromStdString(LicenseAgreementText());
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QCOMPARE(box->toPlainText(), expected);
    QVERIFY(box->isReadOnly());
    QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(box->pos(), QPoint(0, 0));

    // Typing changes nothing.
    agreement.show();
    QVERIFY(QTest::qWaitForWindowExposed(&agreement));
    box->setFocus();
    QTest::keyClicks(box, "xyz");
    QCOMPARE(box->toPlainText(), expected);
    // The long text scrolls vertically and never sideways.
    QVERIFY(box->verticalScrollBar()->maximum() > 0);
    QCOMPARE(box->horizontalScrollBar()->maximum(), 0);
}

void AboutLicenseWindowsTest::agreementBoxFollowsTheWindow_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("keepsWidth");
    QTest::addColumn<bool>("keepsHeight");
    QTest::newRow("enlarged") << QSize(800, 700) << false << false;
    QTest::newRow("narrow") << QSize(8, 500) << true << false;
    QTest::newRow("low") << QSize(500, 30) << false << true;
    QTest::newRow("tiny") << QSize(8, 30) << true << true;
}

void AboutLicenseWindowsTest::agreementBoxFollowsTheWindow() {
    QFETCH(QSize, size);
    QFETCH(bool, keepsWidth);
    QFETCH(bool, keepsHeight);
    frmSLA agreement;
    agreement.setMinimumSize(1, 1);
    agreement.show();
    QVERIFY(QTest::qWaitForWindowExposed(&agreement));
    auto* box = agreement.findChild<QPlainTextEdit*>("txtLicense");
    const QSize before = box->size();
    // Shown at its designed size, the box already keeps the margins.
    QCOMPARE(before.width(), Twips(PixelsToTwips(agreement.frameGeometry().width()) - 200));
    QCOMPARE(before.height(), Twips(PixelsToTwips(agreement.frameGeometry().height()) - 600));

    agreement.resize(size);
    QTRY_COMPARE(agreement.size(), size);
    const QSize outer = agreement.frameGeometry().size();
    // The rows are meant to go below the margins where they say so.
    QCOMPARE(PixelsToTwips(outer.width()) < 200, keepsWidth);
    QCOMPARE(PixelsToTwips(outer.height()) < 600, keepsHeight);
    const int width = keepsWidth ? before.width() : Twips(PixelsToTwips(outer.width()) - 200);
    const int height = keepsHeight ? before.height() : Twips(PixelsToTwips(outer.height()) - 600);
    QCOMPARE(box->size(), QSize(width, height));
}

void AboutLicenseWindowsTest::agreementIsModalAndOwned() {
    QWidget owner;
    owner.show();
    bool sawIt = false;
    QTimer::singleShot(0, [&] {
        auto* agreement = qobject_cast<frmSLA*>(QApplication::activeModalWidget());
        if (agreement) {
            sawIt = true;
            QCOMPARE(agreement->parentWidget(), &owner);
            agreement->close();
        }
    });
    QTimer::singleShot(5000, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    ShowLicenseAgreement(&owner);
    QVERIFY(sawIt);
    QVERIFY(owner.findChildren<frmSLA*>().isEmpty());
}

QTEST_MAIN(AboutLicenseWindowsTest)
#include "AboutLicenseWindowsTest.moc"
