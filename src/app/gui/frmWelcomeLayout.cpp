#include "app/gui/frmWelcome.h"

#include "app/gui/Twips.h"
#include "platform/qt/QtServices.h"
#include "wizard/WizardTexts.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QWindow>

#include <algorithm>

// The logo is built into a static library, whose resources the program must
// register itself; the macro only works outside a namespace.
static void InitWizardResources() {
    Q_INIT_RESOURCE(wizard);
}

namespace addrix {

namespace {

// The window's outer size and the places every page shares, in twips.
constexpr int kOuterWidth = 9570;
constexpr int kOuterHeight = 8500;
constexpr int kPageLeft = 120;
constexpr int kPageTop = 1800;
constexpr int kHeaderMargin = 120;
constexpr int kButtonTop = 7200;
constexpr int kButtonHeight = 495;

// Type sizes of the design, in points.
constexpr double kBaseType = 8;
constexpr double kSmallType = 7;
constexpr double kLargeType = 12;
constexpr double kTitleType = 13.5;

template <typename Widget>
Widget* Place(Widget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(TwipsRect(left, top, width, height));
    return widget;
}

// Labels designed two lines high or more wrap their words; the others hold
// one line.
constexpr int kWrappedLabelHeight = 600;

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, int left, int top, int width,
                  int height) {
    auto* label = Place(new QLabel(ToDisplayText(text), parent), name, left, top, width, height);
    label->setWordWrap(height >= kWrappedLabelHeight);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// A caption on the same row as a text box or list: as high as the box, its
// text centred on the box's text.
constexpr int kBoxHeight = 315;

QLabel* MakeRowLabel(QWidget* parent, const char* name, const char* text, int left, int top,
                     int width) {
    QLabel* label = MakeLabel(parent, name, text, left, top, width, kBoxHeight);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int left, int top,
                        int width, int height) {
    return Place(new QPushButton(QString::fromLatin1(caption), parent), name, left, top, width,
                 height);
}

QGroupBox* MakePage(QWidget* parent, const char* name, const char* caption, int width, int height) {
    auto* page = Place(new QGroupBox(QString::fromLatin1(caption), parent), name, kPageLeft,
                       kPageTop, width, height);
    page->hide();
    return page;
}

void SetPointSize(QWidget* widget, double points, bool bold = false) {
    QFont font = widget->font();
    font.setPointSizeF(points);
    font.setBold(bold);
    widget->setFont(font);
}

// The header's notices: dark red, bold, small type.
void MakeNotice(QLabel* label) {
    SetPointSize(label, kSmallType, true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0x80, 0x00, 0x00));
    label->setPalette(palette);
}

} // namespace

// ---------------------------------------------------------------------------
// The window as designed: every page hidden, the lists empty.

void frmWelcome::BuildWindow() {
    InitWizardResources();
    setObjectName(QStringLiteral("frmWelcome"));
    setWindowTitle(QStringLiteral("Halvern - Norvik Addrix"));
    // The design's type first, then faces of like width, so that the texts
    // fit their places wherever the program runs.
    QFont font = this->font();
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans Condensed")});
    font.setPointSizeF(kBaseType);
    setFont(font);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("frmWelcomeClient"));
    setCentralWidget(client);

    BuildHeader(client);
    BuildWelcomePage(client);
    BuildFileLocationPage(client);
    BuildGalderPage(client);
    BuildIvroPage(client);
    BuildExportPage(client);
    BuildCompletePage(client);
    BuildButtons(client);
    BuildMenu();
    SetTabOrder();
}

void frmWelcome::BuildHeader(QWidget* client) {
    m_lblMaxRecords = MakeLabel(client, "lblMaxRecords", "Max records", 120, 120, 2775, 1215);
    MakeNotice(m_lblMaxRecords);

    m_ImgLogo = Place(new QLabel(client), "ImgLogo", 2880, 120, 3135, 1305);
    m_ImgLogo->setPixmap(QPixmap(QStringLiteral(":/addrix/logo.png")));
    m_ImgLogo->setScaledContents(true);

    m_lblDeleteWarning =
        MakeLabel(client, "lblDeleteWarning", "Max records", 6675, 120, 2775, 1215);
    MakeNotice(m_lblDeleteWarning);
}

void frmWelcome::BuildWelcomePage(QWidget* client) {
    m_FrameWelcome = MakePage(client, "FrameWelcome", "Welcome", 9135, 4335);
    QWidget* page = m_FrameWelcome;
    m_lblWelcome = MakeLabel(page, "lblWelcome", "", 240, 360, 8055, 1695);
    QLabel* obtain =
        MakeLabel(page, "lblObtainFrom", "Obtain the Data From:", 3338, 2400, 2775, 375);
    SetPointSize(obtain, kTitleType);

    m_OptGetFrom = new QButtonGroup(this);
    m_OptGetFrom->setObjectName(QStringLiteral("OptGetFrom"));
    m_OptGetFromGalder = Place(new QRadioButton(QStringLiteral("Galder"), page), "OptGetFromGalder",
                               3375, 2760, 1215, 375);
    m_OptGetFromIvro = Place(new QRadioButton(QStringLiteral("Ivro"), page), "OptGetFromIvro", 3360,
                             3120, 1215, 375);
    // The Kestle row stands above the others until the load moves it into place.
    m_OptGetFromKestle = Place(new QRadioButton(QStringLiteral("Kestle"), page), "OptGetFromKestle",
                               3360, 2040, 1695, 375);
    m_OptGetFromKestle->setEnabled(false);
    m_OptGetFrom->addButton(m_OptGetFromGalder, 0);
    m_OptGetFrom->addButton(m_OptGetFromIvro, 1);
    m_OptGetFrom->addButton(m_OptGetFromKestle, 2);
    for (QAbstractButton* option : m_OptGetFrom->buttons())
        connect(option, &QAbstractButton::clicked, this, &frmWelcome::OptGetFrom_Click);

    m_cmdGalderHelp = MakeButton(page, "cmdGalderHelp", "Help", 5205, 2835, 1095, 255);
    m_cmdIvroHelp = MakeButton(page, "cmdIvroHelp", "Help", 5190, 3195, 1095, 255);
    m_cmdKestleHelp = MakeButton(page, "cmdKestleHelp", "Help", 5190, 2115, 1095, 255);
    connect(m_cmdGalderHelp, &QPushButton::clicked, this, &frmWelcome::galderHelpRequested);
    connect(m_cmdIvroHelp, &QPushButton::clicked, this, &frmWelcome::ivroHelpRequested);
    connect(m_cmdKestleHelp, &QPushButton::clicked, this, &frmWelcome::kestleHelpRequested);
}

void frmWelcome::BuildFileLocationPage(QWidget* client) {
    m_FrameFileLocation = MakePage(client, "FrameFileLocation", "File Location", 7815, 3015);
    QWidget* page = m_FrameFileLocation;
    QLabel* prompt =
        MakeLabel(page, "lblFileLocationPrompt",
                  "Tell me where you want the Norvik address file saved.", 1080, 480, 6615, 375);
    SetPointSize(prompt, kLargeType);
    MakeRowLabel(page, "lblFileDirectory", "File Directory", 240, 1080, 1155);
    m_txtDir = Place(new QLineEdit(page), "txtDir", 1440, 1080, 6255, kBoxHeight);
    MakeRowLabel(page, "lblFileName", "File Name", 240, 1560, 1155);
    m_txtFileName = Place(new QLineEdit(page), "txtFileName", 1440, 1560, 4215, kBoxHeight);
    m_cmdBrowse = MakeButton(page, "cmdBrowse", "&Browse", 6000, 1560, 1215, 375);
    connect(m_cmdBrowse, &QPushButton::clicked, this, &frmWelcome::cmdBrowseClicked);
}

void frmWelcome::BuildGalderPage(QWidget* client) {
    m_frameGalderMappings =
        MakePage(client, "frameGalderMappings", "Galder to Norvik Settings", 9135, 4455);
    QWidget* page = m_frameGalderMappings;
    QLabel* serialPort = MakeLabel(page, "lblSerialPort", "Serial Port", 240, 360, 1215, 255);
    SetPointSize(serialPort, kBaseType, true);
    m_lstGalderCommPort =
        Place(new QComboBox(page), "lstGalderCommPort", 120, 600, 1335, kBoxHeight);
    MakeRowLabel(page, "lblSerialPortPrompt", "What Serial Port is the Galder connected to?", 1680,
                 600, 5415);

    auto* mapping = Place(new QGroupBox(QStringLiteral("Galder to Norvik Field Mapping"), page),
                          "frameGalderFieldMapping", 120, 1080, 8895, 3135);
    m_lblGalderExpl = MakeLabel(mapping, "lblGalderExpl", "", 240, 480, 7935, 975);
    const struct {
        const char* name;
        const char* text;
        int left;
        int top;
        int width;
        bool bold;
    } labels[] = {
        {"lblGalderFieldHeading", "Galder Field", 240, 1680, 915, true},
        {"lblArrowHeading", "---->", 1200, 1680, 675, true},
        {"lblNorvikFieldHeading", "Norvik Field", 1920, 1680, 1455, true},
        {"lblEmailField", "Email", 240, 1920, 915, false},
        {"lblEmailArrow", "---->", 1200, 1920, 675, false},
    };
    for (const auto& l : labels) {
        // The mapping row stands beside its list, the headings above it.
        QLabel* label = l.bold ? MakeLabel(mapping, l.name, l.text, l.left, l.top, l.width, 255)
                               : MakeRowLabel(mapping, l.name, l.text, l.left, l.top, l.width);
        SetPointSize(label, kBaseType, l.bold);
        // The arrows stand clear of the field names on either side.
        if (std::string_view(l.text) == "---->")
            label->setAlignment(Qt::AlignHCenter | (label->alignment() & Qt::AlignVertical_Mask));
    }
    m_lstGalderEmail =
        Place(new QComboBox(mapping), "lstGalderEmail", 1920, 1920, 1455, kBoxHeight);
}

void frmWelcome::BuildIvroPage(QWidget* client) {
    m_frameIvroMappings =
        MakePage(client, "frameIvroMappings", "Ivro to Norvik Field Mapping", 9135, 4455);
    QWidget* page = m_frameIvroMappings;
    QLabel* prompt =
        MakeLabel(page, "lblIvroPrompt", "Tell me where your Ivro Import file is located.", 240,
                  480, 7935, 375);
    SetPointSize(prompt, kLargeType);
    MakeRowLabel(page, "lblIvroFileCaption", "Ivro Import File", 240, 1080, 1155);
    m_txtIvroFile = Place(new QLineEdit(page), "txtIvroFile", 1440, 1080, 7335, kBoxHeight);
    m_cmdIvroBrowse = MakeButton(page, "cmdIvroBrowse", "&Browse", 120, 1440, 1215, 375);
    connect(m_cmdIvroBrowse, &QPushButton::clicked, this, &frmWelcome::cmdIvroBrowseClicked);
}

void frmWelcome::BuildExportPage(QWidget* client) {
    m_frameExport = MakePage(client, "frameExport", "Perform the Export", 9135, 3615);
    QWidget* page = m_frameExport;
    QLabel* prompt = MakeLabel(page, "lblExportPrompt", kExportPrompt, 1080, 480, 6855, 1215);
    SetPointSize(prompt, kLargeType);
    m_lblConfirmGalder = MakeLabel(page, "lblConfirmGalder", kConfirmGalder, 1080, 1680, 6975, 615);
    m_chkAutoDataPlug =
        Place(new QCheckBox(QStringLiteral("Launch Norvik Manager Program After Export"), page),
              "chkAutoDataPlug", 1920, 2400, 3975, 495);
    // What fills the Norvik, when not the first contacts of the source.
    m_cmdChooseContacts =
        MakeButton(page, "cmdChooseContacts", "Choose Contacts...", 1920, 3000, 1815, 375);
    m_cmdChooseContacts->setAutoDefault(false);
    m_lblContactsChosen = MakeRowLabel(page, "lblContactsChosen", "", 3855, 3030, 3975);
    m_lblContactsChosen->hide();
    connect(m_cmdChooseContacts, &QPushButton::clicked, this,
            [this] { cmdChooseContacts_Click(); });
}

void frmWelcome::BuildCompletePage(QWidget* client) {
    m_frameComplete = MakePage(client, "frameComplete", "Export Complete", 9135, 3615);
    QWidget* page = m_frameComplete;
    m_lblCompleteGood = MakeLabel(page, "lblCompleteGood", kCompleteGood, 1080, 480, 6855, 1215);
    m_lblCompleteBad = MakeLabel(page, "lblCompleteBad", kCompleteBad, 1080, 1080, 6855, 1215);
    SetPointSize(m_lblCompleteGood, kLargeType);
    SetPointSize(m_lblCompleteBad, kLargeType);
    // The file written, under the good text; its path wraps at the folders.
    m_lblExportFile = MakeLabel(page, "lblExportFile", "", 1080, 1740, 6855, 690);
    m_lblExportFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lblExportFile->hide();
    // What the export changed, under the texts; shown when contacts were written.
    m_lblChanges = MakeLabel(page, "lblChanges", "", 1080, 2460, 6855, 315);
    m_cmdDetails = MakeButton(page, "cmdDetails", "&Details...", 1080, 2880, 1215, 375);
    m_cmdDetails->setFocusPolicy(Qt::TabFocus);
    m_cmdDetails->setAutoDefault(false);
    m_lblChanges->hide();
    m_cmdDetails->hide();
    connect(m_cmdDetails, &QPushButton::clicked, this, [this] { cmdDetails_Click(); });
}

void frmWelcome::BuildButtons(QWidget* client) {
    m_cmdNext = MakeButton(client, "cmdNext", "&Next", 2678, kButtonTop, 1215, kButtonHeight);
    m_cmdBack = MakeButton(client, "cmdBack", "&Back", 4118, kButtonTop, 1215, kButtonHeight);
    m_cmdCancel = MakeButton(client, "cmdCancel", "&Cancel", 5520, kButtonTop, 1215, kButtonHeight);
    m_cmdHelp = MakeButton(client, "cmdHelp", "H&elp", 6960, kButtonTop, 1215, kButtonHeight);
    connect(m_cmdNext, &QPushButton::clicked, this, &frmWelcome::cmdNext_Click);
    connect(m_cmdBack, &QPushButton::clicked, this, &frmWelcome::cmdBack_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmWelcome::cmdCancel_Click);
    connect(m_cmdHelp, &QPushButton::clicked, this, &frmWelcome::cmdHelp_Click);
}

void frmWelcome::BuildMenu() {
    m_mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    m_mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    const auto entry = [this](const char* name, const char* caption) {
        QAction* action = m_mnuHelp->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    m_mnuGalder = entry("mnuGalder", "&Galder Usage");
    m_mnuIvro = entry("mnuIvro", "&Ivro Usage");
    m_mnuKestle = entry("mnuKestle", "&Kestle Usage");
    m_mnuSLA = entry("mnuSLA", "&License Agreement");
    m_mnuAbout = entry("mnuAbout", "&About");
    connect(m_mnuGalder, &QAction::triggered, this, &frmWelcome::galderHelpRequested);
    connect(m_mnuIvro, &QAction::triggered, this, &frmWelcome::ivroHelpRequested);
    connect(m_mnuKestle, &QAction::triggered, this, &frmWelcome::kestleHelpRequested);
    connect(m_mnuSLA, &QAction::triggered, this, &frmWelcome::mnuSLAClicked);
    connect(m_mnuAbout, &QAction::triggered, this, &frmWelcome::mnuAboutClicked);
}

void frmWelcome::SetTabOrder() {
    // The button row comes first, then the controls of the pages.
    QWidget* const order[] = {
        m_cmdNext,          m_cmdBack,           m_cmdCancel,        m_cmdHelp,
        m_OptGetFromGalder, m_cmdGalderHelp,     m_OptGetFromIvro,   m_cmdIvroHelp,
        m_OptGetFromKestle, m_cmdKestleHelp,     m_txtDir,           m_txtFileName,
        m_cmdBrowse,        m_lstGalderCommPort, m_lstGalderEmail,   m_txtIvroFile,
        m_cmdIvroBrowse,    m_chkAutoDataPlug,   m_cmdChooseContacts};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// The outer size counts the frame the window system draws; what is left of it
// is the window's own area, but never so little that the buttons are cut.
void frmWelcome::FitOuterSize() {
    QMargins frame;
    if (const QWindow* handle = windowHandle())
        frame = handle->frameMargins();
    m_fittedFrame = frame;
    QSize inner = TwipsSize(kOuterWidth, kOuterHeight) -
                  QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    const int needed =
        menuBar()->sizeHint().height() + Twips(kButtonTop + kButtonHeight + kHeaderMargin);
    inner.setHeight(std::max(inner.height(), needed));
    setFixedSize(inner);
    PlaceHeader();
}

// Where the system's type is wider than the design's, a text grows out of its
// place to the right or downwards rather than being cut off.
void frmWelcome::FitTexts() {
    for (QLabel* label : findChildren<QLabel*>()) {
        if (label->pixmap().isNull() && label->wordWrap()) {
            label->resize(label->width(),
                          std::max(label->height(), label->heightForWidth(label->width())));
        } else if (label->pixmap().isNull()) {
            label->resize(label->size().expandedTo(label->sizeHint()));
        }
    }
    for (QAbstractButton* option : findChildren<QAbstractButton*>()) {
        if (qobject_cast<QCheckBox*>(option) || qobject_cast<QRadioButton*>(option))
            option->resize(option->size().expandedTo(option->sizeHint()));
    }
    PlaceHeader();
}

void frmWelcome::PlaceHeader() {
    m_lblMaxRecords->move(Twips(kHeaderMargin), m_lblMaxRecords->y());
    m_lblDeleteWarning->move(width() - Twips(kHeaderMargin) - m_lblDeleteWarning->width(),
                             m_lblDeleteWarning->y());
}

void frmWelcome::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FitOuterSize();
}

void frmWelcome::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // The window system may tell the frame only once it has placed the window.
    if (const QWindow* handle = windowHandle(); handle && handle->frameMargins() != m_fittedFrame)
        FitOuterSize();
}

// ---------------------------------------------------------------------------
// Pages.

void frmWelcome::ShowPage(QGroupBox* page) {
    page->move(Twips(kPageLeft), Twips(kPageTop));
    page->show();
}

} // namespace addrix
