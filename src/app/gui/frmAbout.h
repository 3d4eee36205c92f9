#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace addrix {

// The About window: program title, version line and the maker's logo. A fixed
// dialog, centred on its owner; OK closes and unloads it.
class frmAbout final : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* owner = nullptr);

private:
    void BuildLogo();
    void BuildTitleAndVersion();
    void BuildBlurb();
    void BuildSeparator();
    void BuildDisclaimer();
    void BuildOKButton();
    void Form_Load();

    QLabel* m_lblTitle;
    QLabel* m_lblVersion;
    QPlainTextEdit* m_Text1;
    QLabel* m_Image1;
    QLabel* m_lblDisclaimer;
    QPushButton* m_cmdOK;
};

// mnuAbout: shows the About window of `owner` without making it modal; a
// window already open is brought to the front instead of opening a second.
frmAbout* ShowAboutWindow(QWidget* owner);

} // namespace addrix
