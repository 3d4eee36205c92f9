#include "app/gui/frmAbout.h"

#include "app/gui/Twips.h"
#include "platform/qt/QtServices.h"
#include "wizard/AboutText.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

// The logo lives in the wizard's resources, built into a static library that
// the program must register itself; the macro only works outside a namespace.
static void InitAboutResources() {
    Q_INIT_RESOURCE(wizard);
}

namespace addrix {

namespace {

constexpr const char* kLogoResource = ":/addrix/logo.png";

} // namespace

frmAbout::frmAbout(QWidget* owner)
    : QDialog(owner), m_lblTitle(new QLabel(this)), m_lblVersion(new QLabel(this)),
      m_Text1(new QPlainTextEdit(this)), m_Image1(new QLabel(this)),
      m_lblDisclaimer(new QLabel(this)), m_cmdOK(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(TwipsSize(5715, 2985));

    BuildLogo();
    BuildTitleAndVersion();
    BuildBlurb();
    BuildSeparator();
    BuildDisclaimer();
    BuildOKButton();
    Form_Load();
}

void frmAbout::BuildLogo() {
    m_Image1->setObjectName(QStringLiteral("Image1"));
    m_Image1->setGeometry(TwipsRect(240, 240, 1440, 600));
    InitAboutResources();
    const QPixmap logo(QString::fromLatin1(kLogoResource));
    if (!logo.isNull())
        m_Image1->setPixmap(
            logo.scaled(m_Image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void frmAbout::BuildTitleAndVersion() {
    m_lblTitle->setObjectName(QStringLiteral("lblTitle"));
    m_lblTitle->setGeometry(TwipsRect(1800, 240, 3645, 480));
    QFont titleFont = m_lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    m_lblTitle->setFont(titleFont);

    m_lblVersion->setObjectName(QStringLiteral("lblVersion"));
    m_lblVersion->setGeometry(TwipsRect(1800, 780, 3645, 225));
    m_lblVersion->setText(QStringLiteral("Version"));
}

// A borderless box in the window's own colour: it reads as a label but lets
// the user copy the text.
void frmAbout::BuildBlurb() {
    m_Text1->setObjectName(QStringLiteral("Text1"));
    m_Text1->setGeometry(TwipsRect(1800, 1080, 3645, 600));
    m_Text1->setFrameShape(QFrame::NoFrame);
    m_Text1->setReadOnly(true);
    m_Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette textPalette = m_Text1->palette();
    textPalette.setColor(QPalette::Base, palette().color(QPalette::Window));
    m_Text1->setPalette(textPalette);
    m_Text1->document()->setDocumentMargin(0);
    m_Text1->setPlainText(ToDisplayText(kAboutBlurb));
}

// Two lines, dark over light, make one etched separator.
void frmAbout::BuildSeparator() {
    const QPalette::ColorRole shades[] = {QPalette::Dark, QPalette::Light};
    int top = 1875;
    for (const QPalette::ColorRole shade : shades) {
        auto* line = new QFrame(this);
        line->setObjectName(QStringLiteral("Line1"));
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Plain);
        QPalette linePalette = line->palette();
        linePalette.setColor(QPalette::WindowText, palette().color(shade));
        line->setPalette(linePalette);
        line->setGeometry(TwipsRect(225, top, 5270, 15));
        top += 15;
    }
}

void frmAbout::BuildDisclaimer() {
    m_lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    m_lblDisclaimer->setGeometry(TwipsRect(255, 2040, 3870, 825));
    m_lblDisclaimer->setWordWrap(true);
}

void frmAbout::BuildOKButton() {
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setGeometry(TwipsRect(4245, 2475, 1260, 345));
    m_cmdOK->setDefault(true);
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::close);
}

void frmAbout::Form_Load() {
    setWindowTitle(ToQString(AboutCaption()));
    m_lblVersion->setText(ToQString(AboutVersionLine()));
    m_lblTitle->setText(ToQString(kProgramTitle));
}

frmAbout* ShowAboutWindow(QWidget* owner) {
    frmAbout* about =
        owner ? owner->findChild<frmAbout*>(QStringLiteral("frmAbout"), Qt::FindDirectChildrenOnly)
              : nullptr;
    if (!about) {
        about = new frmAbout(owner);
        about->setAttribute(Qt::WA_DeleteOnClose);
    }
    about->show();
    about->raise();
    about->activateWindow();
    return about;
}

} // namespace addrix
