#pragma once

#include "app/galder/GalderRun.h"
#include "platform/qt/QtMessageBox.h"

#include <QDialog>

#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

namespace addrix {

// The download window "Galder": status line, progress bar and Cancel button
// around one Galder run, whose engine owns the serial link and its time-outs.
class frmGalderProcess final : public QDialog, public IGalderView {
    Q_OBJECT

public:
    frmGalderProcess(QWidget* owner, PortLocator locate, std::string traceFile);
    ~frmGalderProcess() override;

    // Runs one download in this window, shown modally until it ends or the
    // user closes the window; returns GalderCount.
    std::int16_t runDownload(ILineSink& file, const GalderDownload& download);

    void setStatus(const std::string& text) override;
    void setProgress(int value) override;
    void closeWindow() override;

    QLabel* lblStatus = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    // The title-bar close button stops the download where it is; the result
    // is the count written so far.
    void closeEvent(QCloseEvent* event) override;
    // Esc works as the Cancel button.
    void reject() override;

private:
    QtMessageBox m_messages;
    GalderRun m_run;
};

} // namespace addrix
