#include "app/gui/frmGalderProcess.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace addrix {

frmGalderProcess::frmGalderProcess(QWidget* owner, PortLocator locate, std::string traceFile)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_messages(this), m_run(m_messages, *this, std::move(locate), std::move(traceFile)) {
    setObjectName(QStringLiteral("frmGalderProcess"));
    setWindowTitle(QStringLiteral("Galder"));

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setMinimumWidth(320);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { m_run.process().OnCancel(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblStatus);
    layout->addWidget(ProgressBar1);
    layout->addWidget(cmdCancel, 0, Qt::AlignHCenter);
    // A fixed, non-sizable border.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

frmGalderProcess::~frmGalderProcess() = default;

std::int16_t frmGalderProcess::runDownload(ILineSink& file, const GalderDownload& download) {
    return m_run.run(file, download, [this] { exec(); });
}

void frmGalderProcess::setStatus(const std::string& text) {
    lblStatus->setText(ToQString(text));
}

void frmGalderProcess::setProgress(int value) {
    ProgressBar1->setValue(value);
}

void frmGalderProcess::closeWindow() {
    done(QDialog::Accepted);
}

void frmGalderProcess::closeEvent(QCloseEvent* event) {
    // The download stops where it is: nothing more is written or shown.
    m_run.process().Unload();
    event->accept();
    done(QDialog::Rejected);
}

void frmGalderProcess::reject() {
    m_run.process().OnCancel();
}

} // namespace addrix
