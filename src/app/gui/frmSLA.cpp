#include "app/gui/frmSLA.h"

#include "app/gui/Twips.h"
#include "platform/qt/QtServices.h"
#include "wizard/LicenseAgreement.h"

#include <QPlainTextEdit>
#include <QResizeEvent>

namespace addrix {

frmSLA::frmSLA(QWidget* owner) : QDialog(owner), m_txtLicense(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("frmSLA"));
    setWindowTitle(QStringLiteral("Software License Agreement"));
    setSizeGripEnabled(true);

    m_txtLicense->setObjectName(QStringLiteral("txtLicense"));
    m_txtLicense->setReadOnly(true);
    m_txtLicense->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_txtLicense->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_txtLicense->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_txtLicense->setGeometry(TwipsRect(0, 0, 5460, 5640));

    resize(TwipsSize(5460, 5640));
    Form_Load();
}

void frmSLA::Form_Load() {
    m_txtLicense->setPlainText(ToDisplayText(LicenseAgreementText()));
}

void frmSLA::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmSLA::Form_Resize() {
    // Measured on the outer window, frame included, as the margins were
    // designed that way.
    const QRect outer = frameGeometry();
    const LicenseBoxSize current{PixelsToTwips(m_txtLicense->width()),
                                 PixelsToTwips(m_txtLicense->height())};
    const LicenseBoxSize fitted =
        FitLicenseBox(PixelsToTwips(outer.width()), PixelsToTwips(outer.height()), current);
    m_txtLicense->setGeometry(0, 0, Twips(fitted.width), Twips(fitted.height));
}

void ShowLicenseAgreement(QWidget* owner) {
    frmSLA agreement(owner);
    agreement.exec();
}

} // namespace addrix
