#pragma once

#include "galder/GalderProcess.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtServices.h"

#include <QDialog>

#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

namespace addrix {

struct Settings;

// The download window "Galder": status line, progress bar and Cancel button
// around the download engine, which owns the serial link and its time-outs.
class frmGalderProcess final : public QDialog, public IGalderView {
    Q_OBJECT

public:
    frmGalderProcess(QWidget* owner, const Settings& settings, const std::string& programDir,
                     PortLocator locate);
    ~frmGalderProcess() override;

    GalderProcess& process() { return m_process; }
    // True when the user closed the window with its title-bar button.
    bool closedByUser() const { return m_closedByUser; }

    void setStatus(const std::string& text) override;
    void setProgress(int value) override;
    void closeWindow() override;
    void processEvents() override;

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
    QtSerialPort MSComm1;
    SteadyClock m_clock;
    QtTickTimer Timer1;
    QtMessageBox m_messages;
    GalderProcess m_process;
    bool m_closedByUser = false;
};

} // namespace addrix
