#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace addrix {

// The licence agreement window: the agreement in a locked, scrolling text
// box that follows the window's size.
class frmSLA final : public QDialog {
    Q_OBJECT

public:
    explicit frmSLA(QWidget* owner = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();

    QPlainTextEdit* m_txtLicense;
};

// mnuSLA: shows the agreement modally, owned by `owner`, until the user
// closes it.
void ShowLicenseAgreement(QWidget* owner);

} // namespace addrix
